#include "scene/picking.h"

#include "scene_fixture.h"

namespace {

class Picking : public testing::Test {
  protected:
    void SetUp() override { startGameState(); }
    void TearDown() override { resizeTo(1024, 768); }
    // The mouse position (from the top-left corner) of a window pixel.
    static PickedSquare pickAt(const WindowPixel& p) {
        return pickSquare(static_cast<int>(p.x), config.screenHeight - static_cast<int>(p.y));
    }
    static void expectSquare(const PickedSquare& picked, int file, int rank) {
        EXPECT_EQ(picked.file, file);
        EXPECT_EQ(picked.rank, rank);
    }
};

} // namespace

TEST_F(Picking, EveryPointInsideASquarePicksItFromBothSidesAndSizes) {
    for (std::uint32_t side : {AppWhiteTurn, AppBlackTurn})
        for (int width : {1024, 640}) {
            appState = AppGame | side | AppHumanToMove;
            resizeTo(width, width * 3 / 4);
            glLoadIdentity();
            setRestingCamera();
            // The four points a quarter in from the corners.
            for (int rank = 1; rank <= 8; ++rank)
                for (int file = 1; file <= 8; ++file)
                    for (const auto& [u, v] :
                         {std::pair{0.25, 0.25}, {0.25, 0.75}, {0.75, 0.25}, {0.75, 0.75}}) {
                        SCOPED_TRACE(testing::Message() << file << ", " << rank << " at " << u
                                                        << ", " << v << ", " << width);
                        expectSquare(pickAt(projectPoint(9 - file - u, 0, rank - 9 + v)), file,
                                     rank);
                    }
        }
}

TEST_F(Picking, PointsOffTheBoardAndOnASharedEdgePickNoSquare) {
    for (const WindowPoint p :
         {WindowPoint{0, 0}, {1023, 767}, {512, 20}, {-5, 400}, {1 << 30, -(1 << 30)}})
        expectSquare(pickSquare(p.x, p.y), -1, -1);
    glLoadIdentity();
    setRestingCamera();
    // Just outside a1, and on the frame beside a4.
    expectSquare(pickAt(projectPoint(8.1, 0, -8.1)), -1, -1);
    expectSquare(pickAt(projectPoint(8.2, 0, -4.8)), -1, -1);
    // The edge between d4 and d5 is a pixel row from White's side: it belongs to neither,
    // and one pixel either side lies in one of them.
    const WindowPixel left = projectPoint(5, 0, -4), right = projectPoint(4, 0, -4);
    ASSERT_EQ(static_cast<int>(left.y), static_cast<int>(right.y));
    const int x = static_cast<int>((left.x + right.x) / 2), y = 768 - static_cast<int>(left.y);
    expectSquare(pickSquare(x, y), -1, -1);
    expectSquare(pickSquare(x, y - 1), 4, 5);
    expectSquare(pickSquare(x, y + 1), 4, 4);
}

// Clicks during the camera turn pick from the view the turn is heading for.
TEST_F(Picking, TurningCameraPicksFromTheRestingView) {
    appState = AppGame | AppBlackTurn | AppHumanToMove;
    const WindowPixel b7 = squareCentreOnScreen(2, 7);
    setAppBits(AppCameraTurn);
    testTicks = phaseStart + 2500;
    expectSquare(pickAt(b7), 2, 7);
}
