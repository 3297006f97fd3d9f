#include "scene/animation.h"

#include "scene/pieces.h"
#include "scene_fixture.h"

namespace {

constexpr Uint32 phaseBegan = 1000000;
const SkippedSquares noSquares = {{-1, -1, -1}, {-1, -1, -1}};

class Animation : public testing::Test {
  protected:
    void SetUp() override {
        startGameState();
        emptyBoard();
    }
    void TearDown() override {
        glEnable(GL_DEPTH_TEST);
        board.reset();
    }
    // White's resting view: the camera stays there, whichever side the animation has just
    // handed the turn to.
    static void lookFromWhitesSide() {
        menuOptions.rotate = 0;
        clearFrame();
        glLoadIdentity();
        setRestingCamera();
    }
    // White's move as the game records and plays it: the board already holds the position
    // after the move and passes the move to Black.
    static void whiteMoves(int code, int fromFile, int fromRank, int toFile, int toRank) {
        const std::int8_t captured = board.squares[squareIndex(toFile, toRank)].piece;
        moveAnim = {
            fromFile, fromRank, toFile, toRank, toFile, toRank, static_cast<std::int8_t>(code),
            captured, captured};
        putPiece(0, fromFile, fromRank);
        putPiece(code, toFile, toRank);
        board.sideToMove = -1;
        testTicks = phaseBegan;
        startMoveAnim();
    }
    // A frame of the move (or with `promotion`, the promotion) `ms` after it began.
    static Frame frameAt(Uint32 ms, bool promotion = false) {
        testTicks = phaseBegan + ms;
        lookFromWhitesSide();
        promotion ? drawPromotionAnim() : drawMoveAnim();
        return Frame::read();
    }
    // The still pieces, then `code` standing on (file, rank) lifted by `lift`, and with
    // `sunk` a piece sunk by `depth` on its square.
    static Frame referenceFrame(const SkippedSquares& skipped, int code, int file, int rank,
                                float lift = 0, int sunk = 0, int sunkRank = 0, float depth = 0) {
        lookFromWhitesSide();
        drawPiecesExcept(skipped);
        glPushMatrix();
        glTranslatef(0, lift, 0);
        placePiece(code, file, rank);
        glPopMatrix();
        if (sunk) {
            glTranslatef(0, -depth, 0);
            placePiece(sunk, file, sunkRank);
        }
        return Frame::read();
    }
};

} // namespace

TEST_F(Animation, MoverRisesTwoUnitsHalfwayAndArrivesWhenTheTurnPassesAtFiveSeconds) {
    putPiece(-6, 5, 8);
    whiteMoves(2, 1, 1, 1, 5);
    putPiece(0, 1, 5);
    const Frame start = referenceFrame(noSquares, 2, 1, 1);
    const Frame halfwayUp = referenceFrame(noSquares, 2, 1, 3, 2);
    const Frame halfwayDown = referenceFrame(noSquares, 2, 1, 3);
    const Frame end = referenceFrame(noSquares, 2, 1, 5);
    putPiece(2, 1, 5);
    EXPECT_LT(frameAt(0).difference(start), 0.05);
    const Frame halfway = frameAt(2500);
    EXPECT_LT(halfway.difference(halfwayUp), 0.05);
    EXPECT_GT(halfway.difference(halfwayDown), 0.5);
    frameAt(4999);
    EXPECT_EQ(appState, AppGame | AppWhiteTurn | AppHumanToMove | AppMoveAnim);
    EXPECT_LT(frameAt(5000).difference(end), 0.05);
    EXPECT_EQ(appState, AppGame | AppBlackTurn | AppHumanToMove | AppCameraTurn);
    EXPECT_EQ(phaseStart, phaseBegan + 5000);
}

TEST_F(Animation, CapturedPieceSinksTwoUnitsAndIsGoneAtTheEnd) {
    putPiece(-5, 4, 7);
    whiteMoves(2, 4, 1, 4, 7);
    const SkippedSquares moveSquares = {{4, 4, 4}, {1, 7, 7}};
    // Drawn in order without the depth test, the sunken queen shows where it is.
    glDisable(GL_DEPTH_TEST);
    const Frame halfway = frameAt(2500);
    EXPECT_LT(halfway.difference(referenceFrame(moveSquares, 2, 4, 4, 2, -5, 7, 1)), 0.05);
    EXPECT_LT(frameAt(5000).difference(referenceFrame(moveSquares, 2, 4, 7, 0, -5, 7, 2)), 0.05);
}

TEST_F(Animation, WithoutAMoverOrWithAnimationsOffTheMoveShowsCompleteInItsFirstFrame) {
    whiteMoves(0, 2, 2, 2, 4);
    putPiece(1, 2, 4);
    EXPECT_LT(frameAt(0).difference(referenceFrame({{2, 2, 2}, {2, 4, 4}}, 0, 2, 4)), 0.01);
    EXPECT_EQ(appState, AppGame | AppBlackTurn | AppHumanToMove | AppCameraTurn);

    startGameState();
    menuOptions.animations = 0;
    putPiece(-3, 5, 5);
    whiteMoves(1, 4, 4, 5, 5);
    EXPECT_EQ(phaseStart, phaseBegan + 30000);
    EXPECT_LT(frameAt(16).difference(referenceFrame({{4, 5, 5}, {4, 5, 5}}, 1, 5, 5)), 0.05);
    EXPECT_FALSE(anyAppBit(AppMoveAnim));
    EXPECT_TRUE(allAppBits(AppCameraTurn | AppBlackTurn));
}

// The chosen piece's animation hands the turn over, here to the computer, and clears the
// selection.
TEST_F(Animation, PromotedPawnRisesSpinsAndChangesHalfway) {
    // The pawn stands on g8, the board has passed the move, and the key chose a queen.
    menuOptions.players = 1;
    putPiece(1, 7, 8);
    board.sideToMove = -1;
    appState = AppGame | AppWhiteTurn | AppHumanToMove | AppPromotionPrompt;
    moveAnim = {7, 8, 7, 8, 7, 8, 1, 5, 0};
    selection.selFile = selection.selRank = 3;
    testTicks = phaseBegan;
    startPromotionAnim();
    putPiece(5, 7, 8);
    const SkippedSquares g8 = {{7, 7, 7}, {8, 8, 8}};
    const Frame rest = referenceFrame(g8, 0, 7, 8);
    EXPECT_LT(frameAt(0, true).difference(referenceFrame(g8, 1, 7, 8)), 0.05);
    const Box pawn = changedBox(frameAt(2499, true), rest);
    const Box queen = changedBox(frameAt(2500, true), rest);
    const Box queenLater = changedBox(frameAt(2510, true), rest);
    EXPECT_GT(queen.y1 - queen.y0, pawn.y1 - pawn.y0 + 20);
    EXPECT_NEAR(queen.y1 - queen.y0, queenLater.y1 - queenLater.y0, 2);
    // Lifted two units at the top of the arc: higher on the screen than at rest.
    EXPECT_GT(queen.y0, squareCentreOnScreen(7, 8).y + 20);
    frameAt(4999, true);
    EXPECT_EQ(appState, AppGame | AppWhiteTurn | AppHumanToMove | AppPromotionAnim);
    EXPECT_LT(frameAt(5000, true).difference(referenceFrame(noSquares, 5, 7, 8)), 0.05);
    EXPECT_EQ(appState, AppGame | AppBlackTurn | AppComputerToMove | AppCameraTurn);
    EXPECT_EQ(phaseStart, phaseBegan + 5000);
    EXPECT_EQ(selection.selFile, -1);
    EXPECT_EQ(selection.selRank, -1);
}

TEST_F(Animation, BlacksPromotedPieceTakesBlacksMaterial) {
    putPiece(-2, 1, 1);
    board.sideToMove = 1;
    appState = AppGame | AppBlackTurn | AppHumanToMove;
    moveAnim = {1, 1, 1, 1, 1, 1, -1, -2, 0};
    testTicks = phaseBegan;
    startPromotionAnim();
    const Frame landed = frameAt(5000, true);
    EXPECT_LT(landed.difference(referenceFrame(noSquares, -2, 1, 1)), 0.05);
    EXPECT_GT(landed.difference(referenceFrame({{1, 1, 1}, {1, 1, 1}}, 2, 1, 1)), 0.2);
}

TEST_F(Animation, TurnPassesOnlyWhenTheBoardHasPassedItAndAPawnOnTheLastRankAwaitsItsPiece) {
    phaseStart = 5;
    handOver();
    EXPECT_EQ(appState, AppGame | AppWhiteTurn | AppHumanToMove);
    EXPECT_EQ(phaseStart, 5u);
    board.status = PromotionPending;
    whiteMoves(1, 1, 7, 1, 8);
    frameAt(5000);
    EXPECT_EQ(appState, AppGame | AppWhiteTurn | AppHumanToMove | AppPromotionPrompt);
}
