// The game flow without a window: key presses, clicks on squares and the game's advance at
// instants of a clock the test steps itself. Nothing here draws, so it runs with no display.
#include <gtest/gtest.h>
#include <malloc.h>

#include <tuple>

#include "app/advance.h"
#include "app/core/state.h"
#include "app/core/turn.h"
#include "app/input.h"
#include "assets/loading.h"
#include "chess/board.h"
#include "chess/fen.h"

namespace {

void press(SDLKey key) { onKey({0, key, KMOD_NONE, 0}); }

void click(const char* square) { onSquareClick(square[0] - 'a' + 1, square[1] - '0'); }

int pieceOn(const char* square) {
    return board.squareAt(square[0] - 'a' + 1, square[1] - '0').piece;
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
    std::uint32_t clock = 100000;

    void SetUp() override {
        freeTargets(selection.targets);
        selection = {-1, -1, nullptr};
        appState = AppMenu | AppModelsLoaded;
        menuOptions = menuStartOptions;
        board.reset();
        advanceGame(clock);
    }
    // The next frame, `ms` after the last one.
    void frame(std::uint32_t ms = 16) {
        clock += ms;
        advanceGame(clock);
    }
    // Frames of `step` ms until `ms` have passed since the last one.
    void frames(std::uint32_t ms, std::uint32_t step = 100) {
        for (std::uint32_t t = 0; t < ms; t += step)
            frame(step);
    }
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

// A click selects a square, a second one on a target moves; the right button does nothing. No
// click counts in the menu, while the move or the promotion prompt is shown, or after the end.
TEST_F(GameFlow, ClicksSelectAndMoveOnlyWhileThePlayerMayMove) {
    startWith(nullptr);
    press(SDLK_F1); // the menu over the game, which keeps its turn bits
    click("e2");
    EXPECT_EQ(selected(), std::tuple(-1, -1, 0));
    startWith(nullptr);
    onMouseButton({SDL_MOUSEBUTTONDOWN, 0, SDL_BUTTON_RIGHT, SDL_PRESSED, 500, 500});
    EXPECT_EQ(selected(), std::tuple(-1, -1, 0));
    click("e2");
    click("g1");
    EXPECT_EQ(selected(), std::tuple(7, 1, 2));
    const size_t held = mallinfo2().uordblks; // each new selection frees the last one's targets
    for (int i = 0; i < 50; ++i) {
        click("e2");
        click("g1");
    }
    EXPECT_EQ(mallinfo2().uordblks, held);
    click("e7");
    EXPECT_EQ(selected(), std::tuple(5, 7, 0));
    onSquareClick(-1, -1);
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
    startWith("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    click("e2");
    EXPECT_EQ(selection.selFile, -1);
}

// Black's only move is d7-d6: the computer plays it 10 s after the person's second click (5 s
// of flight, 5 s of camera), with the notice in that frame. Then a7-a8, the prompt, D for a
// queen, and the queen mates along the eighth rank.
TEST_F(GameFlow, APersonPromotesAndMatesTheComputerWithAnimationsOn) {
    menuOptions.players = 1;
    startWith("7k/P2p3p/7P/3P4/8/8/8/2K3R1 w - - 0 1");
    click("c1");
    click("b1");
    const std::uint32_t moved = clock;
    frames(5000);
    EXPECT_EQ(appState, AppGame | AppModelsLoaded | AppBlackTurn | AppComputerToMove |
                            AppCameraTurn);
    frames(4900);
    frame(99);
    ASSERT_EQ(clock - moved, 9999u);
    EXPECT_EQ(pieceOn("d7"), -1) << "no answer before 10 s";
    frame(1);
    EXPECT_EQ(pieceOn("d6"), -1) << "the answer at 10 s";
    EXPECT_TRUE(frameNotices.computerThought);
    EXPECT_EQ(appState, AppGame | AppModelsLoaded | AppBlackTurn | AppComputerToMove | AppMoveAnim);
    frame();
    EXPECT_FALSE(frameNotices.computerThought) << "the notice lasts one frame";

    frames(5000);
    EXPECT_EQ(appState, AppGame | AppModelsLoaded | AppWhiteTurn | AppHumanToMove | AppCameraTurn);
    click("a7");
    click("a8");
    frames(5000);
    EXPECT_EQ(appState, AppGame | AppModelsLoaded | AppWhiteTurn | AppHumanToMove |
                            AppPromotionPrompt);
    frames(20000);
    press(SDLK_h); // not a promotion key: the pawn waits
    EXPECT_EQ(pieceOn("a8"), 1);
    press(SDLK_d);
    EXPECT_EQ(pieceOn("a8"), 5);
    EXPECT_EQ(board.status, BlackInCheck | BlackMated);
    frames(4900);
    EXPECT_TRUE(anyAppBit(AppPromotionAnim));
    frames(100);
    EXPECT_EQ(appState, AppGame | AppModelsLoaded | AppBlackTurn | AppComputerToMove |
                            AppCameraTurn);
    frames(5000);
    EXPECT_EQ(appState, AppGame | AppModelsLoaded | AppBlackTurn | AppComputerToMove)
        << "the computer finds no move";
    press(SDLK_x);
    EXPECT_EQ(appState & (AppMenu | AppGame), AppMenu);
    EXPECT_EQ(pieceOn("e2"), 1) << "a new board";
}

// With animations off every phase ends in its first frame: the move in the frame after the
// click, the camera turn in the next, which brings the reply.
TEST_F(GameFlow, WithAnimationsOffTheReplyStartsTwoFramesLater) {
    menuOptions.players = 1;
    menuOptions.animations = 0;
    startWith(nullptr);
    click("e2");
    click("e4");
    frame();
    EXPECT_EQ(appState, AppGame | AppModelsLoaded | AppBlackTurn | AppComputerToMove |
                            AppCameraTurn);
    EXPECT_EQ(board.sideToMove, -1);
    frame();
    EXPECT_EQ(board.sideToMove, 1) << "the reply in the second frame";
    EXPECT_TRUE(frameNotices.computerThought);
}

// Two computers with animations on, from a camera turn before White's move: White mates
// at once with Qxf7, and the computer then to move finds no move, frame after frame.
TEST_F(GameFlow, TwoComputersPlayToTheEndOfAGame) {
    menuOptions.players = 2;
    appState = AppGame | AppModelsLoaded | AppWhiteTurn | AppComputerToMove | AppCameraTurn;
    phaseStart = clock;
    ASSERT_EQ(setFromFen(board, "r1bqkbnr/pppp1ppp/2n5/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq -"), 1);
    frames(5000);
    EXPECT_EQ(pieceOn("f7"), 5);
    EXPECT_EQ(board.status, BlackInCheck | BlackMated);
    frames(10000);
    EXPECT_EQ(appState, AppGame | AppModelsLoaded | AppBlackTurn | AppComputerToMove);
    frames(10000);
    EXPECT_EQ(appState, AppGame | AppModelsLoaded | AppBlackTurn | AppComputerToMove);
    EXPECT_EQ(pieceOn("f7"), 5);
}

// Two computers, animations off, a bishop at every promotion and S after every end: the heap
// the game holds stays where it was after the first hundred plies.
TEST_F(GameFlow, TwoComputersPlayFiveHundredPliesInFlatMemory) {
    menuOptions.players = 2;
    menuOptions.animations = 0;
    press(SDLK_s);
    EXPECT_EQ(board.sideToMove, -1) << "the first computer moves at once";
    int plies = 1;
    size_t heapAtHundred = 0;
    for (int n = 0; plies < 500 && n < 5000; ++n) {
        const int side = board.sideToMove;
        frame();
        if (anyAppBit(AppPromotionPrompt)) press(SDLK_s);
        if (board.sideToMove != side) ++plies;
        if (gameIsOver(board.status)) {
            press(SDLK_s); // back to the menu, where S starts the next game and its first move
            ASSERT_EQ(board.sideToMove, -1);
            ++plies;
        }
        if (plies >= 100 && heapAtHundred == 0) heapAtHundred = mallinfo2().uordblks;
    }
    ASSERT_EQ(plies, 500);
    const size_t heap = mallinfo2().uordblks;
    EXPECT_LT(heap, heapAtHundred + 4096)
        << "heap " << heapAtHundred << " B after 100 plies, " << heap << " B after 500";
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
        frame();
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
        frame();
        EXPECT_TRUE(allAppBits(AppBlackTurn | AppHumanToMove));
    }
    EXPECT_EQ(menuOptions.players, 0);
}

// The splash asks for the loading at 14 s and leaves for the menu at 15 s; a key asks for it
// at once, and it is never loaded twice. (The models are not there: the loading of missing
// files gives empty meshes.)
TEST_F(GameFlow, TheSplashLoadsOnceAndGivesWayToTheMenuAt15Seconds) {
    appState = AppSplash;
    phaseStart = clock;
    frame(3000);
    EXPECT_EQ(appState, AppSplash);
    press(SDLK_x);
    frame();
    EXPECT_EQ(appState, AppSplash | AppModelsLoaded);
    EXPECT_TRUE(frameNotices.loadingPicture);
    frame(10983);
    EXPECT_FALSE(frameNotices.loadingPicture) << "loaded already";
    EXPECT_EQ(appState, AppSplash | AppModelsLoaded);
    frame(1000);
    EXPECT_EQ(clock - phaseStart, 14999u);
    EXPECT_EQ(appState, AppSplash | AppModelsLoaded);
    frame(1);
    EXPECT_EQ(appState, AppMenu | AppModelsLoaded);

    // A stalled machine whose first frame after 13.5 s comes at 16 s loads then, and the menu
    // follows in the next frame.
    freeModels();
    appState = AppSplash;
    phaseStart = clock;
    frame(13500);
    EXPECT_EQ(appState, AppSplash);
    frame(2500);
    EXPECT_EQ(appState, AppSplash | AppModelsLoaded);
    frame();
    EXPECT_EQ(appState, AppMenu | AppModelsLoaded);
}
