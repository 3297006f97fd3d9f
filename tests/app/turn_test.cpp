// The state of the application between frames: the timed phases, whose turn it is, the move
// the animation shows, and the keys of the menu.
#include "app/turn.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "app/input.h"
#include "app/state.h"
#include "chess/board.h"

// The test program links with --wrap=SDL_GetTicks, so the game's code reads this clock.
static Uint32 testTicks = 0;
extern "C" Uint32 __wrap_SDL_GetTicks() { return testTicks; }

namespace {

class TurnState : public ::testing::Test {
  protected:
    void SetUp() override {
        appState = AppGame;
        menuOptions = menuStartOptions;
        testTicks = 100000;
        selection = {3, 4, nullptr};
        board.reset();
    }
};

auto fieldsOf(const MoveAnim& m) {
    return std::tuple(m.fromFile, m.fromRank, m.toFile, m.toRank, m.captureFile, m.captureRank,
                      m.movingPiece, m.newPiece, m.capturedPiece);
}

void press(SDLKey key, SDLMod mod = KMOD_NONE) { onKey({0, key, mod, 0}); }

} // namespace

TEST_F(TurnState, PhaseProgressReachesExactlyOneAtFiveSecondsOrAtOnceWithAnimationsOff) {
    phaseStart = 100000;
    const std::pair<Uint32, float> instants[] = {
        {100000, 0.0f}, {102500, 0.5f}, {104999, 0.9998f}, {105000, 1.0f}, {500000, 1.0f}};
    for (const auto& [ticks, progress] : instants) {
        testTicks = ticks;
        EXPECT_FLOAT_EQ(phaseProgress(), progress) << ticks;
    }
    menuOptions.animations = 0;
    startMoveAnim();
    testTicks += 16;
    EXPECT_EQ(phaseProgress(), 1.0f);
}

TEST_F(TurnState, SwitchTurnGivesTheNextSideToItsPlayer) {
    const struct {
        int players;
        std::uint32_t white, black;
    } modes[] = {{0, AppHumanToMove, AppHumanToMove},
                 {1, AppHumanToMove, AppComputerToMove},
                 {2, AppComputerToMove, AppComputerToMove}};
    for (const auto& m : modes) {
        menuOptions.players = static_cast<std::int8_t>(m.players);
        appState = AppGame | AppWhiteTurn | AppHumanToMove;
        switchTurn();
        EXPECT_EQ(appState, AppGame | AppBlackTurn | m.black) << m.players;
        switchTurn();
        EXPECT_EQ(appState, AppGame | AppWhiteTurn | m.white) << m.players;
    }
}

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

TEST_F(TurnState, MenuKeysAdvanceTheirOptionsAndWrapRound) {
    appState = AppMenu;
    const struct {
        SDLKey key;
        MenuOptions after;
    } presses[] = {{SDLK_a, {0, 0, 1, 0}},  {SDLK_a, {1, 0, 1, 0}}, {SDLK_h, {1, 1, 1, 0}},
                   {SDLK_h, {1, 2, 1, 0}},  {SDLK_h, {1, 0, 1, 0}}, {SDLK_l, {1, 0, 1, 1}},
                   {SDLK_o, {1, 0, 0, 1}},  {SDLK_o, {1, 0, 1, 1}}, {SDLK_x, {1, 0, 1, 1}},
                   {SDLK_F1, {1, 0, 1, 1}}, {SDLK_v, {1, 0, 1, 1}}};
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
    press(SDLK_h);
    press(SDLK_a);
    EXPECT_EQ(menuOptions.players, 0);
    EXPECT_EQ(menuOptions.animations, 1);
    press(SDLK_F1);
    EXPECT_EQ(appState, AppMenu | AppWhiteTurn | AppHumanToMove);
    appState = AppGame;
    EXPECT_EXIT(press(SDLK_ESCAPE), ::testing::ExitedWithCode(0), "");
}
