#include "scene/pieces.h"

#include <algorithm>
#include <cmath>

#include "scene_fixture.h"

namespace {

const testing::Environment* const window = testing::AddGlobalTestEnvironment(new SceneWindow);

class Pieces : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
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
    // Mean colour of the pixels where `frame` differs from `empty`.
    static double meanOfChange(const Frame& frame, const Frame& empty) {
        double sum = 0;
        int count = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x)
                if (std::abs(frame.brightness(x, y) - empty.brightness(x, y)) > 60) {
                    sum += frame.brightness(x, y) / 3.0;
                    ++count;
                }
        return count ? sum / count : -1;
    }
};

} // namespace

TEST_F(Pieces, BoardIsDrawnWithoutAnyPiece) {
    const Frame frame = sceneFrame();
    for (int file = 1; file <= 8; ++file)
        for (int rank = 1; rank <= 8; ++rank) {
            const WindowPixel centre = squareCentreOnScreen(file, rank);
            EXPECT_TRUE(frame.lit(static_cast<int>(centre.x), static_cast<int>(centre.y)))
                << "square " << file << ", " << rank;
        }
    EXPECT_FALSE(frame.lit(5, 5));
}

TEST_F(Pieces, EveryPieceOfTheStartingPositionStandsOnItsOwnSquare) {
    for (std::uint32_t side : {AppWhiteTurn, AppBlackTurn}) {
        appState = AppGame | side;
        board.reset();
        const Frame full = sceneFrame();
        int drawn = 0;
        for (int file = 1; file <= 8; ++file)
            for (int rank : {1, 2, 7, 8}) {
                const int code = board.squares[squareIndex(file, rank)].piece;
                putPiece(0, file, rank);
                const Frame without = sceneFrame();
                putPiece(code, file, rank);
                const Box changed = changedBox(full, without);
                const WindowPixel centre = squareCentreOnScreen(file, rank);
                const WindowPixel nextFile =
                    squareCentreOnScreen(file < 8 ? file + 1 : file - 1, rank);
                const double squareWidth = std::fabs(nextFile.x - centre.x);
                // Centred across its square, its foot between the square's near edge and centre.
                const double nearEdgeY = std::min(squarePointOnScreen(file, rank, 0.5, 0).y,
                                                  squarePointOnScreen(file, rank, 0.5, 1).y);
                EXPECT_NEAR((changed.x0 + changed.x1) / 2.0, centre.x, squareWidth / 3)
                    << "piece on " << file << ", " << rank;
                EXPECT_LE(changed.y0, centre.y) << "piece on " << file << ", " << rank;
                EXPECT_GE(changed.y0, nearEdgeY - 3) << "piece on " << file << ", " << rank;
                drawn += !changed.empty();
            }
        EXPECT_EQ(drawn, 32);
    }
}

TEST_F(Pieces, WhiteAndBlackPiecesAreDrawnInDifferentMaterials) {
    const Frame empty = sceneFrame();
    for (int type = 1; type <= 6; ++type) {
        const double white = meanOfChange(pieceAloneFrame(type, 4, 4), empty);
        const double black = meanOfChange(pieceAloneFrame(-type, 4, 4), empty);
        EXPECT_GT(white, black + 40) << "piece type " << type;
    }
}

TEST_F(Pieces, BlackPieceIsTurnedAboutItsSquareCentreAndKeepsTheFootprint) {
    const Frame empty = sceneFrame();
    for (int type : {1, 2, 6}) {
        const Box white = changedBox(pieceAloneFrame(type, 3, 5), empty);
        const Box black = changedBox(pieceAloneFrame(-type, 3, 5), empty);
        EXPECT_NEAR(white.x0, black.x0, 3) << "piece type " << type;
        EXPECT_NEAR(white.x1, black.x1, 3) << "piece type " << type;
        EXPECT_NEAR(white.y0, black.y0, 3) << "piece type " << type;
        EXPECT_NEAR(white.y1, black.y1, 3) << "piece type " << type;
    }
}

TEST_F(Pieces, SquareQuadCoversItsSquare) {
    for (int square : {0, 1}) {
        const int file = square ? 8 : 1, rank = square ? 8 : 1;
        clearFrame();
        glLoadIdentity();
        setRestingCamera();
        glColor3f(1, 1, 1);
        glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureHighlight]);
        drawSquareQuad(file, rank);
        const Box box = litBox(Frame::read());
        // a1 at x 7..8, z -8..-7; h8 at x 0..1, z -1..0.
        const double x0 = square ? 0 : 7, z0 = square ? -1 : -8;
        Box expected;
        for (const auto& corner : {std::pair{x0, z0}, std::pair{x0 + 1, z0}, std::pair{x0, z0 + 1},
                                   std::pair{x0 + 1, z0 + 1}}) {
            const WindowPixel p = projectPoint(corner.first, 0, corner.second);
            expected.add(static_cast<int>(p.x), static_cast<int>(p.y));
        }
        EXPECT_NEAR(box.x0, expected.x0, 1.5);
        EXPECT_NEAR(box.x1, expected.x1, 1.5);
        EXPECT_NEAR(box.y0, expected.y0, 1.5);
        EXPECT_NEAR(box.y1, expected.y1, 1.5);
    }
}

TEST_F(Pieces, SelectedSquareAndItsTargetsAreHighlighted) {
    putPiece(3, 2, 1);
    const Frame plain = sceneFrame();
    MoveTarget c3 = {3, 3, 0, 0, nullptr};
    MoveTarget a3 = {1, 3, 0, 0, &c3};
    selection = {2, 1, &a3};
    const Frame highlighted = sceneFrame();
    selection = {-1, -1, nullptr};
    for (const auto& square : {std::pair{2, 1}, std::pair{1, 3}, std::pair{3, 3}}) {
        // Near the square's corner, beside the piece standing on it.
        glLoadIdentity();
        setRestingCamera();
        const WindowPixel corner = projectPoint(8.9 - square.first, 0, square.second - 8.9);
        const int x = static_cast<int>(corner.x), y = static_cast<int>(corner.y);
        EXPECT_GT(highlighted.difference(plain, x - 4, y - 4, x + 4, y + 4), 20)
            << "square " << square.first << ", " << square.second;
    }
    const WindowPixel b3 = squareCentreOnScreen(2, 3);
    EXPECT_EQ(highlighted.difference(plain, b3.x - 10, b3.y - 10, b3.x + 10, b3.y + 10), 0);
}

TEST_F(Pieces, EmptySquareCanBeSelected) {
    const Frame plain = sceneFrame();
    selection = {5, 5, nullptr};
    const Frame highlighted = sceneFrame();
    const WindowPixel e5 = squareCentreOnScreen(5, 5);
    EXPECT_GT(highlighted.difference(plain, e5.x - 5, e5.y - 5, e5.x + 5, e5.y + 5), 20);
}

TEST_F(Pieces, NoSquareIsHighlightedAfterAClickOffTheBoard) {
    const Frame plain = sceneFrame();
    selection = {-1, -1, nullptr};
    EXPECT_EQ(sceneFrame().difference(plain), 0);
    selection = {9, 9, nullptr};
    EXPECT_EQ(sceneFrame().difference(plain), 0);
}
