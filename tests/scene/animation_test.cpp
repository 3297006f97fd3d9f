#include "scene/animation.h"

#include "scene_fixture.h"

namespace {

constexpr Uint32 phaseBegan = 1000000;

class Animation : public testing::Test {
  protected:
    void SetUp() override {
        startGameState();
        emptyBoard();
        testTicks = phaseBegan;
    }
    void TearDown() override { board.reset(); }
    // A frame of the move (or the promotion) `ms` after it began, seen from White's eye.
    static Frame frameAt(Uint32 ms, bool promotion = false) {
        testTicks = phaseBegan + ms;
        clearFrame();
        lookFrom(whiteEye);
        promotion ? drawPromotionAnim() : drawMoveAnim();
        return Frame::read();
    }
    // The pixels a change of the board or of the animation's record makes at `ms`.
    template <typename Change>
    static Rect changedBy(Uint32 ms, Change change, bool promotion = false) {
        const Frame before = frameAt(ms, promotion);
        const auto savedBoard = board;
        const MoveAnim savedAnim = moveAnim;
        change();
        const Frame after = frameAt(ms, promotion);
        board = savedBoard;
        moveAnim = savedAnim;
        return changedBox(before, after);
    }
};

} // namespace

// The bishop takes the queen a3 to e7, as the game records it: the board already holds the position
// after the move. Pieces on the mover's files and ranks stand still in every frame.
TEST_F(Animation, MoverArcsToItsSquareWhileTheCaptureSinksAndTheOtherPiecesStay) {
    const struct {
        int animations;
        Uint32 ms;
        double file, rank, lift;
    } frames[] = {{1, 0, 1, 3, 0}, {1, 2500, 3, 5, 2}, {1, 5000, 5, 7, 0}, {0, 16, 5, 7, 0}};
    const struct { int code, file, rank; } still[] = {{-1, 1, 6}, {6, 8, 3}, {2, 5, 1}, {-6, 8, 7}};
    for (const auto& f : frames) {
        SCOPED_TRACE(testing::Message() << f.ms << " ms, animations " << f.animations);
        emptyBoard();
        for (const auto& s : still)
            putPiece(s.code, s.file, s.rank);
        putPiece(4, 5, 7);
        moveAnim = {1, 3, 5, 7, 5, 7, 4, 0, -5};
        menuOptions.animations = static_cast<std::int8_t>(f.animations);
        testTicks = phaseBegan;
        startMoveAnim();
        moveAnim.capturedPiece = 0;
        expectPieceAt(changedBy(f.ms, [] { moveAnim.movingPiece = 0; }), whiteEye, f.file, f.rank,
                      f.lift);
        moveAnim.capturedPiece = -5;
        for (const auto& s : still)
            expectPieceAt(changedBy(f.ms, [&] { putPiece(0, s.file, s.rank); }), whiteEye, s.file,
                          s.rank, 0);
        // The queen's top goes down with it, and it is under the board at the end.
        const Rect queen = changedBy(f.ms, [] { moveAnim.capturedPiece = 0; });
        if (f.lift == 2) {
            const Rect standing = changedBy(0, [] { moveAnim.capturedPiece = 0; });
            double top = 0;
            while (seenFrom(whiteEye, 3.5, top, -1.5).y < standing.y1)
                top += 0.001;
            EXPECT_NEAR(queen.y1, seenFrom(whiteEye, 3.5, top - 1, -1.5).y, 2);
        } else if (f.file == 5) {
            EXPECT_TRUE(queen.empty());
        }
    }
}

// The key chose a queen: the pawn on its last rank rises, spins about its square's centre,
// becomes the queen halfway and lands, in its side's colours.
TEST_F(Animation, PromotedPawnRisesSpinsAndChangesHalfway) {
    const struct {
        std::int8_t pawn, queen, file, rank;
        std::uint32_t side;
    } promotions[] = {{1, 5, 4, 8, AppWhiteTurn}, {-1, -5, 4, 1, AppBlackTurn}};
    double brightness[2] = {};
    for (const auto& p : promotions) {
        emptyBoard();
        putPiece(p.queen, p.file, p.rank);
        appState = AppGame | p.side | AppHumanToMove;
        moveAnim = {p.file, p.rank, p.file, p.rank, p.file, p.rank, p.pawn, p.queen, 0};
        testTicks = phaseBegan;
        startPromotionAnim();
        Rect boxes[5];
        const Uint32 instants[] = {0, 1250, 2499, 2500, 5000};
        for (int i = 0; i < 5; ++i) {
            boxes[i] = changedBy(
                instants[i], [] { moveAnim.movingPiece = 0; }, true);
            SCOPED_TRACE(testing::Message() << p.pawn << " at " << instants[i] << " ms");
            expectPieceAt(boxes[i], whiteEye, p.file, p.rank,
                          2 * std::sin(3.14159265 * instants[i] / 5000));
        }
        EXPECT_GT(boxes[3].y1 - boxes[3].y0, boxes[2].y1 - boxes[2].y0 + 20);
        brightness[p.pawn < 0] = frameAt(5000, true).mean(boxes[4]);
    }
    EXPECT_GT(brightness[0], brightness[1] + 40);
}
