#include "scene/pieces.h"

#include <cmath>

#include "scene_fixture.h"

namespace {

class Pieces : public testing::Test {
  protected:
    void SetUp() override {
        startGameState();
        emptyBoard();
    }
    void TearDown() override { board.reset(); }
    // One frame from the resting camera: the highlights, then the board and pieces.
    static Frame sceneFrame() {
        clearFrame();
        glLoadIdentity();
        setRestingCamera();
        drawHighlights();
        drawPieces();
        return Frame::read();
    }
    static Frame pieceAloneFrame(int code, int file, int rank) {
        emptyBoard();
        putPiece(code, file, rank);
        return sceneFrame();
    }
};

} // namespace

// Each piece of the starting position on its own square; a slot outside the table of models
// has none.
TEST_F(Pieces, EveryPieceStandsOnItsOwnSquareAndNoSlotOutsideTheTableHasAModel) {
    for (int slot : {-1, 0, 8})
        EXPECT_EQ(meshOf(slot), nullptr) << slot;
    board.reset();
    const Frame full = sceneFrame();
    for (int file = 1; file <= 8; ++file)
        for (int rank = 1; rank <= 8; ++rank) {
            SCOPED_TRACE(testing::Message() << "square " << file << ", " << rank);
            const WindowPixel centre = squareCentreOnScreen(file, rank);
            const int code = board.squares[squareIndex(file, rank)].piece;
            if (code == 0) { // the board shows through
                EXPECT_TRUE(full.lit(static_cast<int>(centre.x), static_cast<int>(centre.y)));
                continue;
            }
            putPiece(0, file, rank);
            const Box changed = changedBox(full, sceneFrame());
            putPiece(code, file, rank);
            // Centred across its square, its foot between the square's centre and the near
            // edge.
            const double squareWidth =
                std::fabs(squareCentreOnScreen(file < 8 ? file + 1 : file - 1, rank).x - centre.x);
            const double nearEdgeY = projectPoint(8.5 - file, 0, rank - 9).y;
            ASSERT_FALSE(changed.empty());
            EXPECT_NEAR((changed.x0 + changed.x1) / 2.0, centre.x, squareWidth / 3);
            EXPECT_LE(changed.y0, centre.y);
            EXPECT_GE(changed.y0, nearEdgeY - 3);
        }
}

TEST_F(Pieces, BlackPiecesAreDarkerAndTurnedAboutTheirSquareCentre) {
    const Frame empty = sceneFrame();
    for (int type = 1; type <= 6; ++type) {
        const Frame white = pieceAloneFrame(type, 3, 5), black = pieceAloneFrame(-type, 3, 5);
        const Box w = changedBox(white, empty), b = changedBox(black, empty);
        EXPECT_GT(white.mean(w.x0, w.y0, w.x1, w.y1), black.mean(b.x0, b.y0, b.x1, b.y1) + 40)
            << type;
        if (type == 3 || type == 4 || type == 5) continue; // not symmetric about their axis
        EXPECT_NEAR(w.x0, b.x0, 3) << type;
        EXPECT_NEAR(w.x1, b.x1, 3) << type;
        EXPECT_NEAR(w.y0, b.y0, 3) << type;
        EXPECT_NEAR(w.y1, b.y1, 3) << type;
    }
}

TEST_F(Pieces, SelectedSquareAndItsTargetsAreHighlightedAndNothingOffTheBoard) {
    putPiece(3, 2, 1);
    const Frame plain = sceneFrame();
    MoveTarget c3 = {3, 3, 0, 0, nullptr};
    MoveTarget a3 = {1, 3, 0, 0, &c3};
    selection = {2, 1, &a3};
    const Frame highlighted = sceneFrame();
    for (const auto& [file, rank] : {std::pair{2, 1}, std::pair{1, 3}, std::pair{3, 3}}) {
        // Near the square's corner, beside the piece standing on it.
        glLoadIdentity();
        setRestingCamera();
        const WindowPixel corner = projectPoint(8.9 - file, 0, rank - 8.9);
        const int x = static_cast<int>(corner.x), y = static_cast<int>(corner.y);
        EXPECT_GT(highlighted.difference(plain, x - 4, y - 4, x + 4, y + 4), 20)
            << file << ", " << rank;
    }
    const WindowPixel b3 = squareCentreOnScreen(2, 3);
    EXPECT_EQ(highlighted.difference(plain, b3.x - 10, b3.y - 10, b3.x + 10, b3.y + 10), 0);
    // A selection or a target off the board shows nothing.
    for (const auto& [file, rank] : {std::pair{-1, -1}, std::pair{9, 9}, std::pair{0, 4}}) {
        MoveTarget offBoard = {file, rank, 0, 0, nullptr};
        selection = {file, rank, &offBoard};
        EXPECT_EQ(sceneFrame().difference(plain), 0) << file << ", " << rank;
    }
    selection = {-1, -1, nullptr};
}
