// The game flow as a player meets it: key presses and clicks at the centres of squares as the
// resting camera shows them, and frames drawn at chosen instants of the test's clock.
#include <malloc.h>
#include <tuple>

#include "app/input.h"
#include "app/loop.h"
#include "chess/fen.h"
#include "tests/scene/scene_fixture.h"

namespace {

const char* const foolsMate = "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3";

void press(SDLKey key) { onKey({0, key, KMOD_NONE, 0}); }

void clickAt(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    onMouseButton({SDL_MOUSEBUTTONDOWN, 0, button, SDL_PRESSED, static_cast<Uint16>(x),
                   static_cast<Uint16>(y)});
}

void click(const char* square, Uint8 button = SDL_BUTTON_LEFT) {
    const WindowPixel p = squareCentreOnScreen(square[0] - 'a' + 1, square[1] - '0');
    clickAt(static_cast<int>(p.x), config.screenHeight - static_cast<int>(p.y), button);
}

int pieceOn(const char* square) {
    return board.squareAt(square[0] - 'a' + 1, square[1] - '0').piece;
}

// The next frame, 16 ms after the last one.
void nextFrame() {
    testTicks += 16;
    drawFrame();
}

// The selected square and the number of its targets.
std::tuple<int, int, int> selected() {
    int count = 0;
    for (const MoveTarget* node = selection.targets; node; node = node->next)
        ++count;
    return {selection.selFile, selection.selRank, count};
}

class GameFlow : public testing::Test {
  protected:
    void SetUp() override {
        freeTargets(selection.targets);
        selection = {-1, -1, nullptr};
        appState = AppMenu | AppModelsLoaded;
        menuOptions = menuStartOptions;
        testTicks = 100000;
        board.reset();
        setComputerMoveHook(computerMove);
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

// As after F1 in the middle of a move: S starts the new game from none of the old state.
TEST_F(GameFlow, StartsAGameForWhiteFromAClearState) {
    appState |= AppBlackTurn | AppMoveAnim | AppCameraTurn | AppPromotionPrompt | AppPromotionAnim |
                AppComputerToMove;
    board.makeMoveAt(5, 2, 5, 4);
    selection = {3, 3, board.legalTargetsAt(5, 7)};
    press(SDLK_s);
    EXPECT_EQ(appState, AppGame | AppWhiteTurn | AppHumanToMove | AppModelsLoaded);
    EXPECT_EQ(pieceOn("e2"), 1);
    EXPECT_EQ(selected(), std::tuple(-1, -1, 0));
    EXPECT_EQ(moveAnim.fromFile, -1);
    EXPECT_EQ(moveAnim.toRank, -1);
}

// A left click selects a square, a second one on a target moves; other buttons do nothing. No
// click counts in the menu, while the move or the promotion prompt is shown, or after the end.
TEST_F(GameFlow, LeftClicksSelectAndMoveOnlyWhileThePlayerMayMove) {
    startWith(nullptr);
    press(SDLK_F1); // the menu over the game, which keeps its turn bits
    click("e2");
    EXPECT_EQ(selected(), std::tuple(-1, -1, 0));
    startWith(nullptr);
    click("e2", SDL_BUTTON_RIGHT);
    EXPECT_EQ(selected(), std::tuple(-1, -1, 0));
    click("e2");
    click("g1");
    EXPECT_EQ(selected(), std::tuple(7, 1, 2));
    click("e7");
    EXPECT_EQ(selected(), std::tuple(5, 7, 0));
    clickAt(5, 5);
    EXPECT_EQ(selected(), std::tuple(-1, -1, 0));
    setAppBits(AppCameraTurn); // the camera may still be turning
    click("e2");
    EXPECT_EQ(selected(), std::tuple(5, 2, 2));
    click("e4");
    EXPECT_EQ(pieceOn("e4"), 1);
    ASSERT_TRUE(anyAppBit(AppMoveAnim));
    EXPECT_EQ(moveAnim.toRank, 4);
    // The board is Black's already, but White is still the one at the mouse.
    click("e7");
    EXPECT_EQ(selected(), std::tuple(-1, -1, 0));
    clearAppBits(AppMoveAnim);
    setAppBits(AppPromotionPrompt);
    click("e7");
    EXPECT_EQ(selection.selFile, -1);
    startWith(foolsMate);
    click("e2");
    EXPECT_EQ(selection.selFile, -1);
}

TEST_F(GameFlow, TheComputerAnswersAfterTheAnimationAndTheCameraTurn) {
    menuOptions.players = 1;
    startWith(nullptr);
    click("e2");
    click("e4");
    testTicks += 5000;
    drawFrame();
    EXPECT_EQ(appState,
              AppGame | AppBlackTurn | AppCameraTurn | AppComputerToMove | AppModelsLoaded);
    click("e7"); // not the player's turn
    EXPECT_EQ(selection.selFile, -1);
    testTicks += 5000;
    drawFrame();
    EXPECT_EQ(appState, AppGame | AppBlackTurn | AppMoveAnim | AppComputerToMove | AppModelsLoaded)
        << "the computer has not answered";
}

// Game after game between two computers, with a bishop at every promotion prompt and S after
// every end: the heap the game holds stays where it was after the first hundred plies.
TEST_F(GameFlow, TwoComputersPlayFiveHundredPliesInFlatMemory) {
    menuOptions.players = 2;
    menuOptions.animations = 0;
    press(SDLK_s);
    EXPECT_EQ(board.sideToMove, -1) << "the first computer moves at once";
    EXPECT_TRUE(allAppBits(AppMoveAnim | AppComputerToMove));
    int plies = 0, games = 1, side = board.sideToMove;
    size_t heapAtHundred = 0;
    for (int frame = 0; plies < 500 && frame < 5000; ++frame) {
        nextFrame();
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
    EXPECT_LT(heap, heapAtHundred + 64 * 1024) << "heap " << heapAtHundred << " B after 100 plies, "
                                               << heap << " B after 500, " << games << " games";
}

// The pawn waits on a8 in a position where Black has no move, which is not yet the end: a rook
// or a queen mates, a knight or a bishop stalemates, and other keys leave it waiting.
TEST_F(GameFlow, EachPromotionKeyChoosesItsPieceAndThePieceDecidesTheEnd) {
    const std::tuple<SDLKey, int, std::uint32_t> keys[] = {{SDLK_v, 2, BlackInCheck | BlackMated},
                                                           {SDLK_j, 3, Stalemate},
                                                           {SDLK_s, 4, Stalemate},
                                                           {SDLK_d, 5, BlackInCheck | BlackMated}};
    for (const auto& [key, type, status] : keys) {
        menuOptions.animations = 0;
        appState = AppMenu | AppModelsLoaded;
        startWith("2k5/P7/2K1N3/8/5B2/8/8/8 w - -");
        click("a7");
        click("a8");
        nextFrame();
        ASSERT_TRUE(anyAppBit(AppPromotionPrompt));
        press(SDLK_x);
        press(SDLK_h);
        EXPECT_TRUE(anyAppBit(AppPromotionPrompt));
        EXPECT_EQ(pieceOn("a8"), 1);
        press(key);
        EXPECT_EQ(pieceOn("a8"), type);
        EXPECT_EQ(appState & (AppGame | AppPromotionPrompt | AppPromotionAnim),
                  AppGame | AppPromotionAnim);
        EXPECT_EQ(moveAnim.newPiece, type);
        EXPECT_EQ(board.status, status);
        nextFrame();
        EXPECT_TRUE(allAppBits(AppBlackTurn | AppHumanToMove));
    }
    EXPECT_EQ(menuOptions.players, 0);
}

TEST_F(GameFlow, AComputersPromotionWaitsForAKey) {
    menuOptions.players = 2;
    menuOptions.animations = 0;
    startWith("7k/P7/8/8/8/8/5q2/7K w - -");
    clearAppBits(AppMoveAnim);
    computerMove();
    EXPECT_EQ(pieceOn("a8"), 1);
    nextFrame();
    nextFrame();
    EXPECT_TRUE(anyAppBit(AppPromotionPrompt));
    press(SDLK_d);
    EXPECT_EQ(pieceOn("a8"), 5);
}
