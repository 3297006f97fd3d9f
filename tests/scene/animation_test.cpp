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

// Drawn in order without the depth test, the sunken queen shows where it is.
TEST_F(Animation, MoverArcsOverTheSinkingCaptureAndLandsAtFiveSeconds) {
    putPiece(-6, 5, 8);
    putPiece(-5, 1, 5);
    whiteMoves(2, 1, 1, 1, 5);
    const SkippedSquares moveSquares = {{1, 1, 1}, {1, 5, 5}};
    glDisable(GL_DEPTH_TEST);
    EXPECT_LT(frameAt(0).difference(referenceFrame(moveSquares, 2, 1, 1, 0, -5, 5, 0)), 0.05);
    const Frame halfway = frameAt(2500);
    EXPECT_LT(halfway.difference(referenceFrame(moveSquares, 2, 1, 3, 2, -5, 5, 1)), 0.05);
    EXPECT_GT(halfway.difference(referenceFrame(moveSquares, 2, 1, 3, 0, -5, 5, 1)), 0.5);
    EXPECT_LT(frameAt(5000).difference(referenceFrame(moveSquares, 2, 1, 5, 0, -5, 5, 2)), 0.05);
}

TEST_F(Animation, WithoutAMoverOrWithAnimationsOffTheMoveShowsCompleteInItsFirstFrame) {
    whiteMoves(0, 2, 2, 2, 4);
    putPiece(1, 2, 4);
    EXPECT_LT(frameAt(0).difference(referenceFrame({{2, 2, 2}, {2, 4, 4}}, 0, 2, 4)), 0.01);

    startGameState();
    menuOptions.animations = 0;
    putPiece(-3, 5, 5);
    whiteMoves(1, 4, 4, 5, 5);
    EXPECT_LT(frameAt(16).difference(referenceFrame({{4, 5, 5}, {4, 5, 5}}, 1, 5, 5)), 0.05);
}

// The key chose a queen: the pawn on its last rank rises, spins, becomes the queen halfway
// and lands in its side's colours; the key cleared the selection.
TEST_F(Animation, PromotedPawnRisesSpinsAndChangesHalfway) {
    const struct {
        std::int8_t pawn, queen, file, rank;
        std::uint32_t side;
    } promotions[] = {{1, 5, 7, 8, AppWhiteTurn}, {-1, -5, 1, 1, AppBlackTurn}};
    for (const auto& p : promotions) {
        emptyBoard();
        putPiece(p.pawn, p.file, p.rank);
        board.sideToMove = static_cast<std::int8_t>(-p.pawn); // the board has passed the move
        appState = AppGame | p.side | AppHumanToMove | AppPromotionPrompt;
        moveAnim = {p.file, p.rank, p.file, p.rank, p.file, p.rank, p.pawn, p.queen, 0};
        selection.selFile = selection.selRank = 3;
        testTicks = phaseBegan;
        startPromotionAnim();
        putPiece(p.queen, p.file, p.rank);
        const SkippedSquares square = {{p.file, p.file, p.file}, {p.rank, p.rank, p.rank}};
        const Frame rest = referenceFrame(square, 0, p.file, p.rank);
        EXPECT_LT(frameAt(0, true).difference(referenceFrame(square, p.pawn, p.file, p.rank)),
                  0.05);
        const Box pawn = changedBox(frameAt(2499, true), rest);
        const Box queen = changedBox(frameAt(2500, true), rest);
        const Box queenLater = changedBox(frameAt(2510, true), rest);
        EXPECT_GT(queen.y1 - queen.y0, pawn.y1 - pawn.y0 + 20);
        EXPECT_NEAR(queen.y1 - queen.y0, queenLater.y1 - queenLater.y0, 2);
        // Lifted two units at the top of the arc: higher on the screen than at rest.
        EXPECT_GT(queen.y0, squareCentreOnScreen(p.file, p.rank).y + 20);
        EXPECT_LT(
            frameAt(5000, true).difference(referenceFrame(noSquares, p.queen, p.file, p.rank)),
            0.05);
        EXPECT_EQ(selection.selFile, -1);
        EXPECT_EQ(selection.selRank, -1);
    }
}
