// The state of the application between frames: the move the animation shows and what the keys
// do in the menu and outside it.
#include "app/core/turn.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "app/input.h"
#include "app/core/state.h"
#include "chess/board.h"

namespace {

class TurnState : public ::testing::Test {
  protected:
    void SetUp() override {
        appState = AppGame;
        menuOptions = menuStartOptions;
        board.reset();
    }
};

auto fieldsOf(const MoveAnim& m) {
    return std::tuple(m.fromFile, m.fromRank, m.toFile, m.toRank, m.captureFile, m.captureRank,
                      m.movingPiece, m.newPiece, m.capturedPiece);
}

void press(SDLKey key, SDLMod mod = KMOD_NONE) { onKey({0, key, mod, 0}); }

} // namespace

// exd5, then the pawn promoting where it stands: the promotion keeps the record of the capture.
TEST_F(TurnState, AMoveIsRecordedFromTheBoardBeforeItAndAPromotionOnItsSquare) {
    board.makeMoveAt(5, 2, 5, 4);
    board.makeMoveAt(4, 7, 4, 5);
    recordMove(5, 4, 4, 5);
    const MoveAnim capture = {5, 4, 4, 5, 4, 5, 1, -1, -1};
    EXPECT_EQ(fieldsOf(moveAnim), fieldsOf(capture));
    board.sideToMove = -1; // the board has passed the move on after White's pawn move
    recordPromotion(5);
    const MoveAnim queen = {4, 5, 4, 5, 4, 5, 1, 5, -1};
    EXPECT_EQ(fieldsOf(moveAnim), fieldsOf(queen));
}

// The turn passes only once the board has passed the move: then the camera turn starts.
TEST_F(TurnState, TheTurnPassesWhenTheBoardHasPassedTheMove) {
    appState = AppGame | AppWhiteTurn | AppHumanToMove;
    handOver();
    EXPECT_EQ(appState, AppGame | AppWhiteTurn | AppHumanToMove);
    board.sideToMove = -1;
    handOver();
    EXPECT_EQ(appState, AppGame | AppBlackTurn | AppHumanToMove | AppCameraTurn);
    handOver();
    EXPECT_EQ(appState, AppGame | AppBlackTurn | AppHumanToMove | AppCameraTurn);
}

TEST_F(TurnState, MenuKeysAdvanceTheirOptionsAndWrapRound) {
    appState = AppMenu;
    const struct {
        SDLKey key;
        MenuOptions after;
    } presses[] = {{SDLK_a, {0, 0, 1, 0}}, {SDLK_a, {1, 0, 1, 0}}, {SDLK_h, {1, 1, 1, 0}},
                   {SDLK_h, {1, 2, 1, 0}}, {SDLK_h, {1, 0, 1, 0}}, {SDLK_l, {1, 0, 1, 1}},
                   {SDLK_o, {1, 0, 0, 1}}, {SDLK_o, {1, 0, 1, 1}}, {SDLK_F1, {1, 0, 1, 1}}};
    for (const auto& p : presses) {
        press(p.key, KMOD_LSHIFT); // a shift changes nothing
        EXPECT_EQ(std::memcmp(&menuOptions, &p.after, sizeof p.after), 0) << SDL_GetKeyName(p.key);
    }
    EXPECT_EQ(appState, AppMenu);
}

TEST_F(TurnState, KeysOutsideTheMenu) {
    appState = AppSplash;
    press(SDLK_SPACE);
    EXPECT_EQ(appState, AppSplash | AppLoadRequest);
    appState = AppGame | AppWhiteTurn | AppHumanToMove;
    press(SDLK_F1);
    EXPECT_EQ(appState, AppMenu | AppWhiteTurn | AppHumanToMove);
    appState = AppGame;
    EXPECT_EXIT(press(SDLK_ESCAPE), ::testing::ExitedWithCode(0), "");
}
