#pragma once

#include <cstdint>

struct MoveTarget;

// The square the human has selected and the legal destinations of its piece.
struct Selection {
    std::int32_t selFile;
    std::int32_t selRank;
    MoveTarget* targets;
};

// What the move and promotion animations draw.
struct MoveAnim {
    std::int32_t fromFile, fromRank;
    std::int32_t toFile, toRank;
    std::int32_t captureFile, captureRank;
    std::int8_t movingPiece, newPiece, capturedPiece;
};

extern Selection selection;
extern MoveAnim moveAnim;

// The tick count (SDL milliseconds) the game has been advanced to. The loop sets it at the
// top of each frame, the advance of the frame sets it again; the phases start at it and the
// draw measures them at it, so a frame can be drawn twice and show the same picture.
extern std::uint32_t frameTicks;

// Progress of the running timed phase at frameTicks, 0..1; exactly 1 from 5000 ms on.
float phaseProgress();

// Seconds from the start of the running phase to frameTicks: the splash's clock.
float phaseSeconds();

// The phase starters: each sets its bits, restarts the clock and clears the selected square.
void startMoveAnim();
void startCameraTurn();
void startPromotionAnim();

// Passes the application's turn to the other side and marks who moves next.
void switchTurn();

// Passes the turn to the other side and starts the camera turn when the game board has
// passed the move but the application's turn bits have not yet followed.
void handOver();

// Fills moveAnim for a move from the game board as it stands before the move.
void recordMove(int fromFile, int fromRank, int toFile, int toRank);

// Fills moveAnim for the promotion to `type` of the pawn that has just reached its last rank.
void recordPromotion(int type);
