#include "app/input.h"

#include <gtest/gtest.h>

#include "app/state.h"

namespace {

void press(SDLKey key) {
    SDL_keysym keysym = {};
    keysym.sym = key;
    onKey(keysym);
}

class MenuKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        appState = AppMenu;
        menuOptions = menuStartOptions;
    }
};

} // namespace

TEST_F(MenuKeys, EachOptionKeyAdvancesItsOptionAndWrapsRound) {
    press(SDLK_a);
    EXPECT_EQ(menuOptions.animations, 0);
    press(SDLK_a);
    EXPECT_EQ(menuOptions.animations, 1);
    press(SDLK_h);
    EXPECT_EQ(menuOptions.players, 1);
    press(SDLK_h);
    EXPECT_EQ(menuOptions.players, 2);
    press(SDLK_h);
    EXPECT_EQ(menuOptions.players, 0);
    press(SDLK_l);
    EXPECT_EQ(menuOptions.language, 1);
    press(SDLK_o);
    EXPECT_EQ(menuOptions.rotate, 0);
    EXPECT_EQ(appState, AppMenu);
}

TEST_F(MenuKeys, OtherKeysChangeNothing) {
    press(SDLK_x);
    press(SDLK_F1);
    press(SDLK_v);
    EXPECT_EQ(appState, AppMenu);
    EXPECT_EQ(menuOptions.animations, 1);
    EXPECT_EQ(menuOptions.players, 0);
    EXPECT_EQ(menuOptions.rotate, 1);
    EXPECT_EQ(menuOptions.language, 0);
}

TEST_F(MenuKeys, AnyKeyDuringTheSplashRequestsTheLoading) {
    appState = AppSplash;
    press(SDLK_SPACE);
    EXPECT_EQ(appState, AppSplash | AppLoadRequest);
}

TEST_F(MenuKeys, F1LeavesTheGameForTheMenuKeepingTheTurnBits) {
    appState = AppGame | AppWhiteTurn | AppHumanToMove;
    press(SDLK_F1);
    EXPECT_EQ(appState, AppMenu | AppWhiteTurn | AppHumanToMove);
}

TEST_F(MenuKeys, MenuKeysDoNothingInAGame) {
    appState = AppGame;
    press(SDLK_h);
    press(SDLK_a);
    EXPECT_EQ(menuOptions.players, 0);
    EXPECT_EQ(menuOptions.animations, 1);
}

TEST(EscapeKey, EndsTheProgramAtOnceWithStatusZero) {
    appState = AppGame;
    EXPECT_EXIT(press(SDLK_ESCAPE), ::testing::ExitedWithCode(0), "");
}
