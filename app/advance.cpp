#include "app/advance.h"

#include "app/core/config.h"
#include "app/core/state.h"
#include "app/core/turn.h"
#include "app/input.h"
#include "assets/loading.h"
#include "chess/board.h"
#include "screens/splash.h"

namespace {

// The loading starts once, at a key or at the timetable's mark; a first frame after the end
// of the splash (a stalled machine) asks for it too, or the splash would never end. The menu
// follows once the loading had started before this frame.
void advanceSplash() {
    const float s = phaseSeconds();
    const bool loaded = anyAppBit(AppModelsLoaded);
    if (s >= splashEndSeconds && loaded) {
        clearAppBits(AppSplash);
        setAppBits(AppMenu);
    } else if (s >= splashLoadSeconds && !loaded) {
        setAppBits(AppLoadRequest);
    }
    if (!anyAppBit(AppLoadRequest)) return;
    clearAppBits(AppLoadRequest);
    frameNotices.loadingPicture = true;
    if (loaded) return;
    setAppBits(AppModelsLoaded);
    loadModels(config, meshTable);
}

// The computer thinks as soon as the camera faces it.
void endCameraTurn() {
    clearAppBits(AppCameraTurn);
    if (!anyAppBit(AppComputerToMove)) return;
    frameNotices.computerThought = true;
    computerMove();
}

void endMoveAnim() {
    clearAppBits(AppMoveAnim);
    if (board.status & PromotionPending) {
        setAppBits(AppPromotionPrompt);
        return;
    }
    handOver();
}

void endPromotionAnim() {
    clearAppBits(AppPromotionAnim);
    handOver();
}

// A move the animation could not show (no piece recorded) ends at once. The move animation
// comes first: while it runs a promotion animation waits.
void advanceTurn() {
    if (anyAppBit(AppCameraTurn) && phaseProgress() >= 1.0f) endCameraTurn();
    if (anyAppBit(AppMoveAnim)) {
        if (phaseProgress() >= 1.0f || !isPieceCode(moveAnim.movingPiece)) endMoveAnim();
    } else if (anyAppBit(AppPromotionAnim) && phaseProgress() >= 1.0f) {
        endPromotionAnim();
    }
}

} // namespace

void advanceGame(std::uint32_t now) {
    frameTicks = now;
    frameNotices = {false, false};
    if (anyAppBit(AppSplash)) {
        advanceSplash();
    } else if (!anyAppBit(AppMenu) && anyAppBit(AppGame)) {
        advanceTurn();
    }
}
