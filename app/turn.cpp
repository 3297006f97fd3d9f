#include "app/turn.h"

#include <SDL.h>

#include "app/state.h"

Selection selection = {-1, -1, nullptr};
MoveAnim moveAnim = {-1, -1, -1, -1, -1, -1, 0, 0, 0};

float phaseProgress() {
    const std::uint32_t elapsed = SDL_GetTicks() - phaseStart;
    const float progress = static_cast<float>(elapsed) * 0.0002f;
    return progress > 1.0f ? 1.0f : progress;
}

// With animations off the clock starts far in the future, so that the unsigned difference of
// the next frame wraps round to nearly 2^32 and the phase is complete at once.
static void restartPhaseClock() {
    phaseStart = SDL_GetTicks();
    if (menuOptions.animations == 0) phaseStart = SDL_GetTicks() + 30000;
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
    if (appBitsSet(AppWhiteTurn)) {
        clearAppBits(AppWhiteTurn);
        setAppBits(AppBlackTurn);
        setAppBits(menuOptions.players >= 1 ? AppComputerToMove : AppHumanToMove);
    } else {
        clearAppBits(AppBlackTurn);
        setAppBits(AppWhiteTurn);
        setAppBits(menuOptions.players == 2 ? AppComputerToMove : AppHumanToMove);
    }
}
