#include "app/core/turn.h"

#include "app/core/state.h"
#include "chess/board.h"

Selection selection = {-1, -1, nullptr};
MoveAnim moveAnim = {-1, -1, -1, -1, -1, -1, 0, 0, 0};
std::uint32_t frameTicks = 0;

float phaseProgress() {
    const std::uint32_t elapsed = frameTicks - phaseStart;
    const float progress = static_cast<float>(elapsed) * 0.0002f;
    return progress > 1.0f ? 1.0f : progress;
}

float phaseSeconds() {
    const std::uint32_t elapsed = frameTicks - phaseStart;
    return static_cast<float>(elapsed) * 0.001f;
}

// With animations off the clock starts far in the future, so that the unsigned difference of
// the next frame wraps round to nearly 2^32 and the phase is complete at once.
static void restartPhaseClock() {
    phaseStart = frameTicks;
    if (menuOptions.animations == 0) phaseStart = frameTicks + 30000;
    selection.selFile = -1;
    selection.selRank = -1;
}

void startMoveAnim() {
    setAppBits(AppMoveAnim);
    restartPhaseClock();
}

void startCameraTurn() {
    setAppBits(AppCameraTurn);
    restartPhaseClock();
}

void startPromotionAnim() {
    clearAppBits(AppPromotionPrompt);
    setAppBits(AppPromotionAnim);
    restartPhaseClock();
}

void switchTurn() {
    clearAppBits(AppHumanToMove | AppComputerToMove);
    if (anyAppBit(AppWhiteTurn)) {
        clearAppBits(AppWhiteTurn);
        setAppBits(AppBlackTurn);
        setAppBits(menuOptions.players >= 1 ? AppComputerToMove : AppHumanToMove);
    } else {
        clearAppBits(AppBlackTurn);
        setAppBits(AppWhiteTurn);
        setAppBits(menuOptions.players == 2 ? AppComputerToMove : AppHumanToMove);
    }
}

void handOver() {
    const bool boardHasPassed = (anyAppBit(AppBlackTurn) && board.sideToMove == 1) ||
                                (anyAppBit(AppWhiteTurn) && board.sideToMove == -1);
    if (!boardHasPassed) return;
    switchTurn();
    startCameraTurn();
}

void recordMove(int fromFile, int fromRank, int toFile, int toRank) {
    moveAnim.fromFile = fromFile;
    moveAnim.fromRank = fromRank;
    moveAnim.toFile = toFile;
    moveAnim.toRank = toRank;
    moveAnim.captureFile = toFile;
    moveAnim.captureRank = toRank;
    moveAnim.movingPiece = board.squareAt(fromFile, fromRank).piece;
    moveAnim.newPiece = board.squareAt(toFile, toRank).piece;
    moveAnim.capturedPiece = moveAnim.newPiece;
}

// The board has already passed the move on, so the promoting side is the one not to move.
void recordPromotion(int type) {
    moveAnim.fromFile = moveAnim.toFile;
    moveAnim.fromRank = moveAnim.toRank;
    moveAnim.movingPiece = static_cast<std::int8_t>(-board.sideToMove);
    moveAnim.newPiece = static_cast<std::int8_t>(-board.sideToMove * type);
}
