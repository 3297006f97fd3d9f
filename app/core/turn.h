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

// Progress of the running timed phase, 0..1; exactly 1 from 5000 ms on.
float phaseProgress();

// The phase starters: each sets its bits, restarts the clock and clears the selected square.
void startMoveAnim();
void startCameraTurn();
void startPromotionAnim();

// Passes the application's turn to the other side and marks who moves next.
void switchTurn();

// Fills moveAnim for a move from the game board as it stands before the move.
void recordMove(int fromFile, int fromRank, int toFile, int toRank);

// Fills moveAnim for the promotion to `type` of the pawn that has just reached its last rank.
void recordPromotion(int type);
