#include "scene/pieces.h"

#include "assets/loading.h"
#include "assets/mesh.h"
#include "scene_fixture.h"

namespace {

class Pieces : public testing::Test {
  protected:
    void SetUp() override { startGameState(); }
    void TearDown() override { board.reset(); }
    // The board and its pieces seen from `eye`.
    static Frame sceneFrame(const Point& eye = whiteEye, const Point& centre = boardCentre) {
        clearFrame();
        lookFrom(eye, centre);
        drawPieces();
        return Frame::read();
    }
};

} // namespace

// Each piece of the starting position on its own square, and the board showing through the
// empty ones.
TEST_F(Pieces, EveryPieceStandsOnItsOwnSquare) {
    board.reset();
    const Frame full = sceneFrame();
    for (int file = 1; file <= 8; ++file)
        for (int rank = 1; rank <= 8; ++rank) {
            SCOPED_TRACE(testing::Message() << "square " << file << ", " << rank);
            const int code = board.squares[squareIndex(file, rank)].piece;
            if (code == 0) {
                const WindowPixel centre = seenFrom(whiteEye, 8.5 - file, 0, rank - 8.5);
                EXPECT_TRUE(full.lit(static_cast<int>(centre.x), static_cast<int>(centre.y)));
                continue;
            }
            putPiece(0, file, rank);
            expectPieceAt(changedBox(full, sceneFrame()), whiteEye, file, rank, 0);
            putPiece(code, file, rank);
        }
}

// Alone on d4, each piece's lowest pixel is where the lowest of its model's points seen from
// White's eye falls: the model's corner (0, 0, 0) lies at the square's corner (4, 0, -4).
TEST_F(Pieces, EachPieceRestsOnTheBoard) {
    emptyBoard();
    const Frame empty = sceneFrame();
    for (int type = 1; type <= 6; ++type) {
        double lowest = 1e9;
        for (const MeshPart& part : meshTable[type]->parts)
            for (const Vec3& v : part.vertices)
                lowest = std::min(lowest, seenFrom(whiteEye, 4 + v.x, v.y, -4 + v.z).y);
        putPiece(type, 4, 4);
        EXPECT_NEAR(changedBox(empty, sceneFrame()).y0, lowest, 2) << type;
    }
}

// Half a turn of the piece about its square's centre shows the eye what it would see from the
// far side of that centre: a black piece seen from White's eye covers the pixels the white one
// covers seen from the mirrored eye (the knight's head on the other side), in darker colours.
TEST_F(Pieces, BlackPiecesAreDarkerAndTurnedHalfAboutTheirSquareCentre) {
    const double x = 8.5 - 3, z = 5 - 8.5; // c5
    const Point turnedEye = {2 * x - whiteEye.x, whiteEye.y, 2 * z - whiteEye.z};
    const Point turnedCentre = {2 * x - boardCentre.x, 0, 2 * z - boardCentre.z};
    emptyBoard();
    const Frame empty = sceneFrame(), emptyTurned = sceneFrame(turnedEye, turnedCentre);
    for (int type = 1; type <= 6; ++type) {
        putPiece(-type, 3, 5);
        const Frame black = sceneFrame();
        putPiece(type, 3, 5);
        const Frame white = sceneFrame(turnedEye, turnedCentre);
        int covered = 0, apart = 0;
        for (int y = 0; y < black.height; ++y)
            for (int x = 0; x < black.width; ++x) {
                const bool b = black.differs(empty, x, y), w = white.differs(emptyTurned, x, y);
                covered += b;
                apart += b != w;
            }
        EXPECT_LT(apart, covered / 20) << type;
        EXPECT_GT(white.mean(changedBox(white, emptyTurned)),
                  black.mean(changedBox(black, empty)) + 40)
            << type;
    }
}
