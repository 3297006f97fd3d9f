#include "scene/animation.h"

#include "scene/pieces.h"
#include "scene_fixture.h"

namespace {

const testing::Environment* const window = testing::AddGlobalTestEnvironment(new SceneWindow);

constexpr Uint32 phaseBegan = 1000000;

// White's resting view, whichever side the animation has just handed the turn to.
void lookFromWhitesSide() {
    const std::uint32_t state = appState;
    appState = AppGame | AppWhiteTurn;
    glLoadIdentity();
    setRestingCamera();
    appState = state;
}

class Animation : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
        startGameState();
        emptyBoard();
    }
    void TearDown() override {
        glEnable(GL_DEPTH_TEST);
        board.reset();
    }
    // White's move from (fromFile, fromRank) as the game records and plays it: the board
    // already holds the position after the move and passes the move to Black.
    static void whiteMoves(int code, int fromFile, int fromRank, int toFile, int toRank) {
        moveAnim = {fromFile,
                    fromRank,
                    toFile,
                    toRank,
                    toFile,
                    toRank,
                    static_cast<std::int8_t>(code),
                    board.squares[squareIndex(toFile, toRank)].piece,
                    board.squares[squareIndex(toFile, toRank)].piece};
        putPiece(0, fromFile, fromRank);
        putPiece(code, toFile, toRank);
        board.sideToMove = -1;
        testTicks = phaseBegan;
        startMoveAnim();
    }
    static Frame moveFrameAt(Uint32 ms) {
        testTicks = phaseBegan + ms;
        clearFrame();
        lookFromWhitesSide();
        drawMoveAnim();
        return Frame::read();
    }
    static Frame promotionFrameAt(Uint32 ms) {
        testTicks = phaseBegan + ms;
        clearFrame();
        lookFromWhitesSide();
        drawPromotionAnim();
        return Frame::read();
    }
    // The board with the still pieces, then `code` standing on (file, rank) lifted by `lift`.
    static Frame referenceFrame(const SkippedSquares& skipped, int code, int file, int rank,
                                float lift) {
        clearFrame();
        lookFromWhitesSide();
        drawPiecesExcept(skipped);
        glPushMatrix();
        glTranslatef(0, lift, 0);
        placePiece(code, file, rank);
        glPopMatrix();
        return Frame::read();
    }
};

const SkippedSquares noSquares = {{-1, -1, -1}, {-1, -1, -1}};

} // namespace

TEST_F(Animation, MoverStartsOnItsSquareAndIsTwoUnitsUpHalfway) {
    putPiece(-6, 5, 8);
    whiteMoves(2, 1, 1, 1, 5);
    putPiece(0, 1, 5);
    const Frame start = referenceFrame(noSquares, 2, 1, 1, 0);
    const Frame halfwayUp = referenceFrame(noSquares, 2, 1, 3, 2);
    const Frame halfwayDown = referenceFrame(noSquares, 2, 1, 3, 0);
    putPiece(2, 1, 5);
    EXPECT_LT(moveFrameAt(0).difference(start), 0.05);
    const Frame halfway = moveFrameAt(2500);
    EXPECT_LT(halfway.difference(halfwayUp), 0.05);
    EXPECT_GT(halfway.difference(halfwayDown), 0.5);
    EXPECT_TRUE(anyAppBit(AppMoveAnim));
}

TEST_F(Animation, MoverArrivesAndTheTurnPassesAtFiveSeconds) {
    whiteMoves(4, 3, 1, 6, 4);
    moveFrameAt(4999);
    EXPECT_TRUE(anyAppBit(AppMoveAnim));
    EXPECT_FALSE(anyAppBit(AppCameraTurn));
    const Frame end = moveFrameAt(5000);
    EXPECT_LT(end.difference(referenceFrame(noSquares, 4, 6, 4, 0)), 0.05);
    EXPECT_EQ(appState, AppGame | AppBlackTurn | AppHumanToMove | AppCameraTurn);
    EXPECT_EQ(phaseStart, phaseBegan + 5000);
}

TEST_F(Animation, CapturedPieceSinksTwoUnitsAndIsGoneAtTheEnd) {
    putPiece(-5, 4, 7);
    whiteMoves(2, 4, 1, 4, 7);
    ASSERT_EQ(moveAnim.capturedPiece, -5);
    const SkippedSquares moveSquares = {{4, 4, 4}, {1, 7, 7}};
    // Drawn in order without the depth test, the sunken queen shows where it is.
    glDisable(GL_DEPTH_TEST);
    const Frame sunk = moveFrameAt(5000);
    clearFrame();
    lookFromWhitesSide();
    drawPiecesExcept(moveSquares);
    placePiece(2, 4, 7);
    glTranslatef(0, -2, 0);
    placePiece(-5, 4, 7);
    EXPECT_LT(sunk.difference(Frame::read()), 0.05);
    // Halfway it is one unit down.
    appState = AppGame | AppWhiteTurn | AppHumanToMove;
    testTicks = phaseBegan;
    startMoveAnim();
    const Frame halfway = moveFrameAt(2500);
    lookFromWhitesSide();
    clearFrame();
    drawPiecesExcept(moveSquares);
    glPushMatrix();
    glTranslatef(0, 2, 0);
    placePiece(2, 4, 4);
    glPopMatrix();
    glTranslatef(0, -1, 0);
    placePiece(-5, 4, 7);
    EXPECT_LT(halfway.difference(Frame::read()), 0.05);
}

TEST_F(Animation, CastlingRookStandsOnItsNewSquareFromTheFirstFrame) {
    putPiece(2, 6, 1); // the board has already moved the rook from h1 to f1
    whiteMoves(6, 5, 1, 7, 1);
    const Frame first = moveFrameAt(0);
    putPiece(0, 7, 1);
    EXPECT_LT(first.difference(referenceFrame(noSquares, 6, 5, 1, 0)), 0.05);
}

TEST_F(Animation, NoPieceRecordedEndsTheAnimationAtOnceWithoutAMover) {
    whiteMoves(0, 2, 2, 2, 4);
    putPiece(1, 2, 4);
    const Frame first = moveFrameAt(0);
    EXPECT_FALSE(anyAppBit(AppMoveAnim));
    EXPECT_TRUE(anyAppBit(AppCameraTurn));
    EXPECT_LT(first.difference(referenceFrame({{2, 2, 2}, {2, 4, 4}}, 0, 2, 4, 0)), 0.01);
}

TEST_F(Animation, WithAnimationsOffTheMoveIsShownCompleteInItsFirstFrame) {
    menuOptions.animations = 0;
    putPiece(-3, 5, 5);
    whiteMoves(1, 4, 4, 5, 5);
    EXPECT_EQ(phaseStart, phaseBegan + 30000);
    const Frame first = moveFrameAt(16);
    EXPECT_LT(first.difference(referenceFrame({{4, 5, 5}, {4, 5, 5}}, 1, 5, 5, 0)), 0.05);
    EXPECT_FALSE(anyAppBit(AppMoveAnim));
    EXPECT_TRUE(anyAppBit(AppCameraTurn | AppBlackTurn));
}

TEST_F(Animation, PromotedPawnRisesSpinsAndChangesHalfway) {
    // The pawn stands on g8, the board has passed the move, and the key chose a queen.
    putPiece(1, 7, 8);
    board.sideToMove = -1;
    appState = AppGame | AppWhiteTurn | AppHumanToMove | AppPromotionPrompt;
    moveAnim = {7, 8, 7, 8, 7, 8, 1, 5, 0};
    testTicks = phaseBegan;
    startPromotionAnim();
    putPiece(5, 7, 8);
    const Frame rest = referenceFrame({{7, 7, 7}, {8, 8, 8}}, 0, 7, 8, 0);
    const SkippedSquares g8 = {{7, 7, 7}, {8, 8, 8}};
    const Frame start = promotionFrameAt(0);
    EXPECT_LT(start.difference(referenceFrame(g8, 1, 7, 8, 0)), 0.05);
    const Box pawn = changedBox(promotionFrameAt(2499), rest);
    const Box queen = changedBox(promotionFrameAt(2500), rest);
    const Box queenLater = changedBox(promotionFrameAt(2510), rest);
    EXPECT_GT(queen.y1 - queen.y0, pawn.y1 - pawn.y0 + 20);
    EXPECT_NEAR(queen.y1 - queen.y0, queenLater.y1 - queenLater.y0, 2);
    // Lifted two units at the top of the arc: higher on the screen than at rest.
    EXPECT_GT(queen.y0, squareCentreOnScreen(7, 8).y + 20);
    EXPECT_TRUE(anyAppBit(AppPromotionAnim));
    const Frame landed = promotionFrameAt(5000);
    EXPECT_LT(landed.difference(referenceFrame(noSquares, 5, 7, 8, 0)), 0.05);
    EXPECT_EQ(appState, AppGame | AppBlackTurn | AppHumanToMove | AppCameraTurn);
}

TEST_F(Animation, BlacksPromotedPieceTakesBlacksMaterial) {
    putPiece(-2, 1, 1);
    board.sideToMove = 1;
    appState = AppGame | AppBlackTurn | AppHumanToMove;
    moveAnim = {1, 1, 1, 1, 1, 1, -1, -2, 0};
    testTicks = phaseBegan;
    startPromotionAnim();
    const Frame landed = promotionFrameAt(5000);
    EXPECT_LT(landed.difference(referenceFrame(noSquares, -2, 1, 1, 0)), 0.05);
    EXPECT_GT(landed.difference(referenceFrame({{1, 1, 1}, {1, 1, 1}}, 2, 1, 1, 0)), 0.2);
}

namespace {

struct TurnCase {
    int players;
    std::uint32_t sideMoved;
    std::uint32_t nextSide;
    std::uint32_t nextMover;
};

class HandOver : public Animation, public testing::WithParamInterface<TurnCase> {};

} // namespace

TEST_P(HandOver, PassesTheTurnToTheRightPlayerAndTurnsTheCamera) {
    const TurnCase c = GetParam();
    menuOptions.players = static_cast<std::int8_t>(c.players);
    appState = AppGame | c.sideMoved | AppHumanToMove;
    board.sideToMove = c.sideMoved == AppWhiteTurn ? -1 : 1;
    selection.selFile = 3;
    selection.selRank = 3;
    testTicks = 2000000;
    handOver();
    EXPECT_EQ(appState, AppGame | c.nextSide | c.nextMover | AppCameraTurn);
    EXPECT_EQ(phaseStart, 2000000u);
    EXPECT_EQ(selection.selFile, -1);
    EXPECT_EQ(selection.selRank, -1);
}

TEST_P(HandOver, DoesNothingWhileTheBoardStillAgreesWithTheTurn) {
    const TurnCase c = GetParam();
    menuOptions.players = static_cast<std::int8_t>(c.players);
    appState = AppGame | c.sideMoved | AppComputerToMove;
    board.sideToMove = c.sideMoved == AppWhiteTurn ? 1 : -1;
    phaseStart = 5;
    handOver();
    EXPECT_EQ(appState, AppGame | c.sideMoved | AppComputerToMove);
    EXPECT_EQ(phaseStart, 5u);
}

TEST_P(HandOver, PromotionPassesTheTurnOnlyAfterItsAnimation) {
    const TurnCase c = GetParam();
    menuOptions.players = static_cast<std::int8_t>(c.players);
    const bool white = c.sideMoved == AppWhiteTurn;
    const int rank = white ? 8 : 1;
    putPiece(white ? 1 : -1, 1, rank);
    appState = AppGame | c.sideMoved | AppHumanToMove;
    board.sideToMove = white ? -1 : 1;
    board.status = PromotionPending;
    moveAnim = {1, white ? 7 : 2, 1, rank, 1, rank, static_cast<std::int8_t>(white ? 1 : -1), 0, 0};
    testTicks = phaseBegan;
    startMoveAnim();
    moveFrameAt(5000);
    EXPECT_EQ(appState, AppGame | c.sideMoved | AppHumanToMove | AppPromotionPrompt);
    board.status = 0;
    moveAnim = {1,
                rank,
                1,
                rank,
                1,
                rank,
                static_cast<std::int8_t>(white ? 1 : -1),
                static_cast<std::int8_t>(white ? 3 : -3),
                0};
    testTicks = phaseBegan;
    startPromotionAnim();
    promotionFrameAt(4999);
    EXPECT_EQ(appState, AppGame | c.sideMoved | AppHumanToMove | AppPromotionAnim);
    promotionFrameAt(5000);
    EXPECT_EQ(appState, AppGame | c.nextSide | c.nextMover | AppCameraTurn);
}

INSTANTIATE_TEST_SUITE_P(EveryPlayersMode, HandOver,
                         testing::Values(TurnCase{0, AppWhiteTurn, AppBlackTurn, AppHumanToMove},
                                         TurnCase{0, AppBlackTurn, AppWhiteTurn, AppHumanToMove},
                                         TurnCase{1, AppWhiteTurn, AppBlackTurn, AppComputerToMove},
                                         TurnCase{1, AppBlackTurn, AppWhiteTurn, AppHumanToMove},
                                         TurnCase{2, AppWhiteTurn, AppBlackTurn, AppComputerToMove},
                                         TurnCase{2, AppBlackTurn, AppWhiteTurn,
                                                  AppComputerToMove}));
