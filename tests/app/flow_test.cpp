// The game flow as a player meets it: key presses and clicks at the projected centres of
// squares, frames drawn at chosen instants of the test's own clock, on the real board.
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include "app/config.h"
#include "app/input.h"
#include "app/loop.h"
#include "app/state.h"
#include "scene/camera.h"
#include "app/turn.h"
#include "assets/loading.h"
#include "chess/board.h"
#include "chess/fen.h"
#include "scene/glsetup.h"
#include "tests/scene/scene_fixture.h"

namespace {

const testing::Environment* const window = testing::AddGlobalTestEnvironment(new SceneWindow);

void press(SDLKey key, SDLMod mod = KMOD_NONE) {
    SDL_keysym keysym = {};
    keysym.sym = key;
    keysym.mod = mod;
    onKey(keysym);
}

// The window pixel (from the top-left corner) of a square's centre as seen from a side's
// resting eye.
void squarePixel(const char* square, bool blackView, int& x, int& y) {
    const int file = square[0] - 'a' + 1, rank = square[1] - '0';
    GLdouble projection[16], modelView[16];
    GLint viewport[4];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(4, 10, blackView ? 5 : -13, 4, 0, -4, 0, 1, 0);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glPopMatrix();
    GLdouble wx, wy, wz;
    gluProject(8.5 - file, 0, rank - 8.5, modelView, projection, viewport, &wx, &wy, &wz);
    x = static_cast<int>(wx);
    y = config.screenHeight - static_cast<int>(wy);
}

void clickAt(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_MouseButtonEvent event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button = button;
    event.x = static_cast<Uint16>(x);
    event.y = static_cast<Uint16>(y);
    onMouseButton(event);
}

void click(const char* square, Uint8 button = SDL_BUTTON_LEFT) {
    int x, y;
    squarePixel(square, anyAppBit(AppBlackTurn) && menuOptions.rotate != 0, x, y);
    clickAt(x, y, button);
}

void frameAt(Uint32 ticks) {
    testTicks = ticks;
    drawFrame();
}

int targetCount() {
    int count = 0;
    for (const MoveTarget* node = selection.targets; node; node = node->next)
        ++count;
    return count;
}

class GameFlow : public testing::Test {
  protected:
    void SetUp() override {
        appState = AppMenu | AppModelsLoaded;
        menuOptions = menuStartOptions;
        testTicks = 100000;
        board.reset();
        setComputerMoveHook(computerMove);
    }
    void TearDown() override {
        freeTargets(selection.targets);
        selection = {-1, -1, nullptr};
    }
    // Starts a game with the current options and puts a position on the board.
    static void startWith(const char* fen) {
        press(SDLK_s);
        if (fen) {
            ASSERT_EQ(setFromFen(board, fen), 1);
        }
    }
};

} // namespace

TEST_F(GameFlow, StartsAGameForWhiteFromAClearState) {
    appState |= AppBlackTurn | AppMoveAnim | AppCameraTurn | AppPromotionPrompt | AppPromotionAnim |
                AppComputerToMove;
    board.makeMoveAt(5, 2, 5, 4);
    selection = {3, 3, board.legalTargetsAt(5, 7)};
    press(SDLK_s);
    EXPECT_EQ(appState, AppGame | AppWhiteTurn | AppHumanToMove | AppModelsLoaded);
    EXPECT_EQ(board.sideToMove, 1);
    EXPECT_EQ(board.squareAt(5, 2).piece, 1);
    EXPECT_EQ(selection.selFile, -1);
    EXPECT_EQ(selection.targets, nullptr);
    EXPECT_EQ(moveAnim.fromFile, -1);
    EXPECT_EQ(moveAnim.toRank, -1);
}

TEST_F(GameFlow, TwoClicksMakeAMove) {
    startWith(nullptr);
    click("e2");
    EXPECT_EQ(selection.selFile, 5);
    EXPECT_EQ(selection.selRank, 2);
    EXPECT_EQ(targetCount(), 2);
    click("e4");
    EXPECT_EQ(board.squareAt(5, 4).piece, 1);
    EXPECT_EQ(board.sideToMove, -1);
    EXPECT_TRUE(anyAppBit(AppMoveAnim));
    EXPECT_EQ(selection.selFile, -1);
    EXPECT_EQ(selection.targets, nullptr);
    EXPECT_EQ(moveAnim.fromFile, 5);
    EXPECT_EQ(moveAnim.toRank, 4);
    EXPECT_EQ(moveAnim.movingPiece, 1);
}

TEST_F(GameFlow, ASecondClickElsewhereSelectsAgain) {
    startWith(nullptr);
    click("e2");
    click("g1");
    EXPECT_EQ(selection.selFile, 7);
    EXPECT_EQ(targetCount(), 2);
    click("g1");
    EXPECT_EQ(selection.selFile, 7);
    EXPECT_EQ(targetCount(), 2);
    click("e7");
    EXPECT_EQ(selection.selFile, 5);
    EXPECT_EQ(selection.selRank, 7);
    EXPECT_EQ(selection.targets, nullptr);
    click("e5");
    EXPECT_EQ(selection.selRank, 5);
    clickAt(5, 5);
    EXPECT_EQ(selection.selFile, -1);
    EXPECT_EQ(selection.selRank, -1);
    EXPECT_EQ(selection.targets, nullptr);
    EXPECT_EQ(board.sideToMove, 1);
}

TEST_F(GameFlow, OnlyTheLeftButtonActs) {
    startWith(nullptr);
    click("e2", SDL_BUTTON_RIGHT);
    click("e2", SDL_BUTTON_MIDDLE);
    EXPECT_EQ(selection.selFile, -1);
    click("e2");
    click("e4", SDL_BUTTON_RIGHT);
    EXPECT_EQ(board.squareAt(5, 4).piece, 0);
    EXPECT_EQ(selection.selFile, 5);
}

TEST_F(GameFlow, ClicksWaitWhileTheMoveIsShown) {
    startWith(nullptr);
    click("e2");
    click("e4");
    ASSERT_TRUE(anyAppBit(AppMoveAnim));
    // The board is Black's already, but White is still the one at the mouse.
    click("e7");
    click("e5");
    EXPECT_EQ(board.squareAt(5, 7).piece, -1);
    EXPECT_EQ(selection.selFile, -1);
    clearAppBits(AppMoveAnim);
    setAppBits(AppPromotionPrompt);
    click("e7");
    EXPECT_EQ(selection.selFile, -1);
}

TEST_F(GameFlow, ClicksAreIgnoredForTheComputerAndAfterTheEnd) {
    menuOptions.players = 1;
    startWith("4k3/8/8/8/8/8/8/R3K3 b - -");
    clearAppBits(AppWhiteTurn | AppHumanToMove);
    setAppBits(AppBlackTurn | AppComputerToMove);
    click("e8");
    EXPECT_EQ(selection.selFile, -1);
    startWith("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    click("e2");
    EXPECT_EQ(selection.selFile, -1);
}

TEST_F(GameFlow, ClicksAreAllowedDuringTheCameraTurn) {
    startWith(nullptr);
    setAppBits(AppCameraTurn);
    click("e2");
    EXPECT_EQ(selection.selFile, 5);
}

TEST_F(GameFlow, TheComputerAnswersAfterTheAnimationAndTheCameraTurn) {
    menuOptions.players = 1;
    startWith(nullptr);
    const Uint32 t = testTicks;
    click("e2");
    click("e4");
    frameAt(t + 4999);
    EXPECT_TRUE(anyAppBit(AppMoveAnim));
    frameAt(t + 5000);
    EXPECT_FALSE(anyAppBit(AppMoveAnim));
    EXPECT_TRUE(anyAppBit(AppCameraTurn | AppComputerToMove | AppBlackTurn));
    frameAt(t + 9999);
    EXPECT_EQ(board.sideToMove, -1);
    frameAt(t + 10000);
    EXPECT_EQ(board.sideToMove, 1) << "the computer has not answered";
    EXPECT_TRUE(anyAppBit(AppMoveAnim));
    EXPECT_FALSE(anyAppBit(AppCameraTurn));
}

TEST_F(GameFlow, WithoutAnimationsTheAnswerComesTwoFramesLater) {
    menuOptions.players = 1;
    menuOptions.animations = 0;
    startWith(nullptr);
    click("e2");
    click("e4");
    frameAt(testTicks + 16);
    EXPECT_EQ(board.sideToMove, -1);
    frameAt(testTicks + 16);
    EXPECT_EQ(board.sideToMove, 1);
    EXPECT_EQ(moveAnim.movingPiece < 0, true);
}

TEST_F(GameFlow, TwoComputersStartFromTheKey) {
    menuOptions.players = 2;
    press(SDLK_s);
    EXPECT_EQ(board.sideToMove, -1);
    EXPECT_TRUE(anyAppBit(AppMoveAnim | AppComputerToMove));
}

// Game after game between two computers, with a bishop at every promotion prompt and S after
// every end: the heap the game holds stays where it was after the first hundred plies.
TEST_F(GameFlow, TwoComputersPlayFiveHundredPliesInFlatMemory) {
    menuOptions.players = 2;
    menuOptions.animations = 0;
    press(SDLK_s);
    int plies = 0, games = 1, side = board.sideToMove;
    size_t heapAtHundred = 0;
    for (int frame = 0; plies < 500 && frame < 5000; ++frame) {
        frameAt(testTicks + 16);
        if (anyAppBit(AppPromotionPrompt)) press(SDLK_s);
        if (board.sideToMove != side) ++plies;
        side = board.sideToMove;
        if (gameIsOver(board.status)) {
            press(SDLK_s); // back to the menu, where S starts the next game and its first move
            ASSERT_TRUE(anyAppBit(AppGame));
            ASSERT_EQ(board.sideToMove, -1);
            ++games;
            ++plies;
            side = board.sideToMove;
        }
        if (plies == 100 && heapAtHundred == 0) heapAtHundred = mallinfo2().uordblks;
    }
    ASSERT_EQ(plies, 500);
    const size_t heap = mallinfo2().uordblks;
    EXPECT_LT(heap, heapAtHundred + 64 * 1024)
        << "heap " << heapAtHundred << " B after 100 plies, " << heap << " B after 500, "
        << games << " games";
}

TEST_F(GameFlow, EachPromotionKeyChoosesItsPiece) {
    const struct {
        SDLKey key;
        int type;
    } keys[] = {{SDLK_v, 2}, {SDLK_j, 3}, {SDLK_s, 4}, {SDLK_d, 5}};
    for (const auto& k : keys) {
        menuOptions.animations = 0;
        appState = AppMenu | AppModelsLoaded;
        startWith("4k3/1P6/8/8/8/8/8/4K3 w - -");
        click("b7");
        click("b8");
        frameAt(testTicks + 16);
        ASSERT_TRUE(anyAppBit(AppPromotionPrompt));
        press(SDLK_x);
        press(SDLK_h);
        EXPECT_TRUE(anyAppBit(AppPromotionPrompt));
        EXPECT_EQ(board.squareAt(2, 8).piece, 1);
        press(k.key);
        EXPECT_EQ(board.squareAt(2, 8).piece, k.type);
        EXPECT_TRUE(anyAppBit(AppGame));
        EXPECT_FALSE(anyAppBit(AppPromotionPrompt));
        EXPECT_EQ(moveAnim.newPiece, k.type);
        frameAt(testTicks + 16);
        EXPECT_TRUE(anyAppBit(AppBlackTurn | AppHumanToMove));
    }
    EXPECT_EQ(menuOptions.players, 0);
}

TEST_F(GameFlow, AComputersPromotionWaitsForAKey) {
    menuOptions.players = 2;
    menuOptions.animations = 0;
    press(SDLK_s);
    ASSERT_EQ(setFromFen(board, "7k/P7/8/8/8/8/5q2/7K w - -"), 1);
    clearAppBits(AppMoveAnim);
    computerMove();
    EXPECT_EQ(board.squareAt(1, 8).piece, 1);
    frameAt(testTicks + 16);
    EXPECT_TRUE(anyAppBit(AppPromotionPrompt));
    frameAt(testTicks + 16);
    EXPECT_TRUE(anyAppBit(AppPromotionPrompt));
    press(SDLK_d);
    EXPECT_EQ(board.squareAt(1, 8).piece, 5);
}

// Black has no move while the pawn waits on a8, which is not yet the end: the queen mates.
TEST_F(GameFlow, APawnWaitingInAStalematedPositionStillPromotes) {
    menuOptions.animations = 0;
    startWith("2k5/P7/2K1N3/8/5B2/8/8/8 w - -");
    click("a7");
    click("a8");
    press(SDLK_x);
    EXPECT_TRUE(anyAppBit(AppGame));
    frameAt(testTicks + 16);
    ASSERT_TRUE(anyAppBit(AppPromotionPrompt));
    press(SDLK_d);
    EXPECT_TRUE(anyAppBit(AppGame));
    EXPECT_EQ(board.squareAt(1, 8).piece, 5);
    EXPECT_EQ(board.status, static_cast<std::uint32_t>(BlackInCheck | BlackMated));
    press(SDLK_x);
    EXPECT_TRUE(anyAppBit(AppMenu));
}

TEST_F(GameFlow, AKeyAfterTheEndReturnsToTheMenuAndActsThere) {
    startWith("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    press(SDLK_h);
    EXPECT_TRUE(anyAppBit(AppMenu));
    EXPECT_FALSE(anyAppBit(AppGame));
    EXPECT_EQ(menuOptions.players, 1);
    EXPECT_EQ(board.status, 0u);
    press(SDLK_s);
    startWith("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    press(SDLK_s);
    EXPECT_TRUE(anyAppBit(AppGame | AppWhiteTurn));
    EXPECT_FALSE(anyAppBit(AppMenu));
    EXPECT_EQ(board.status, 0u);
}

TEST_F(GameFlow, F1KeepsTheGameAndShiftChangesNothing) {
    startWith(nullptr);
    click("e2");
    click("e4");
    press(SDLK_F1);
    EXPECT_TRUE(anyAppBit(AppMenu));
    EXPECT_EQ(board.squareAt(5, 4).piece, 1);
    press(SDLK_a, KMOD_LSHIFT);
    press(SDLK_l, KMOD_RSHIFT);
    EXPECT_EQ(menuOptions.animations, 0);
    EXPECT_EQ(menuOptions.language, 1);
}

TEST_F(GameFlow, TheFoolsMatePlayedByClicks) {
    menuOptions.animations = 0;
    startWith(nullptr);
    const char* const moves[][2] = {{"f2", "f3"}, {"e7", "e5"}, {"g2", "g4"}, {"d8", "h4"}};
    for (const auto& move : moves) {
        ASSERT_TRUE(anyAppBit(AppHumanToMove));
        click(move[0]);
        click(move[1]);
        frameAt(testTicks + 16);
        frameAt(testTicks + 16);
    }
    EXPECT_TRUE(board.status & WhiteMated);
    click("e2");
    EXPECT_EQ(selection.selFile, -1);
}
