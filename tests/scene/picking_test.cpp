#include "scene/picking.h"

#include "scene_fixture.h"

namespace {

class Picking : public testing::Test {
  protected:
    void SetUp() override { startGameState(); }
    void TearDown() override { resizeTo(1024, 768); }
    // The square under the mouse at a window pixel seen from `eye` (mouse y from the top).
    static PickedSquare pickAt(const Point& eye, double x, double z) {
        const WindowPixel p = seenFrom(eye, x, 0, z);
        return pickSquare(static_cast<int>(p.x), config.screenHeight - static_cast<int>(p.y));
    }
    static void expectSquare(const PickedSquare& picked, int file, int rank) {
        EXPECT_EQ(picked.file, file);
        EXPECT_EQ(picked.rank, rank);
    }
};

} // namespace

// Clicks during the camera turn pick from the view the turn is heading for.
TEST_F(Picking, EveryPointInsideASquarePicksItFromTheViewOfTheSideToMoveInAnyWindow) {
    const struct {
        std::uint32_t bits;
        int width;
        Point eye;
    } views[] = {{AppWhiteTurn, 1024, whiteEye},
                 {AppBlackTurn, 1024, blackEye},
                 {AppWhiteTurn, 640, whiteEye},
                 {AppBlackTurn | AppCameraTurn, 640, blackEye}};
    for (const auto& v : views) {
        appState = AppGame | AppHumanToMove | v.bits;
        testTicks = phaseStart + 2500;
        resizeTo(v.width, v.width * 3 / 4);
        // The four points a quarter in from the corners.
        for (int rank = 1; rank <= 8; ++rank)
            for (int file = 1; file <= 8; ++file)
                for (const auto& [u, w] :
                     {std::pair{0.25, 0.25}, {0.25, 0.75}, {0.75, 0.25}, {0.75, 0.75}}) {
                    SCOPED_TRACE(testing::Message() << file << ", " << rank << " at " << u << ", "
                                                    << w << ", " << v.width << ", " << v.bits);
                    expectSquare(pickAt(v.eye, 9 - file - u, rank - 9 + w), file, rank);
                }
    }
}

TEST_F(Picking, PointsOffTheBoardAndOnASharedEdgePickNoSquare) {
    for (const WindowPoint p :
         {WindowPoint{0, 0}, {1023, 767}, {512, 20}, {-5, 400}, {1 << 30, -(1 << 30)}})
        expectSquare(pickSquare(p.x, p.y), -1, -1);
    // Just outside a1, and on the frame beside a4, beyond e8 and beside h4.
    expectSquare(pickAt(whiteEye, 8.1, -8.1), -1, -1);
    expectSquare(pickAt(whiteEye, 8.2, -4.8), -1, -1);
    expectSquare(pickAt(whiteEye, 3.5, 0.2), -1, -1);
    expectSquare(pickAt(whiteEye, -0.2, -4.5), -1, -1);
    // The edge between d4 and d5 runs through the board's centre, the window's centre row:
    // it belongs to neither square, and one pixel either side lies in one of them.
    expectSquare(pickSquare(500, 384), -1, -1);
    expectSquare(pickSquare(500, 383), 4, 5);
    expectSquare(pickSquare(500, 385), 4, 4);
}
