#include "scene/picking.h"

#include <cmath>

#include "scene_fixture.h"

namespace {

const testing::Environment* const window = testing::AddGlobalTestEnvironment(new SceneWindow);

class Picking : public testing::Test {
  protected:
    void SetUp() override { startGameState(); }
    void TearDown() override { resizeTo(1024, 768); }
    // The mouse position (from the top-left corner) of a window pixel.
    static PickedSquare pickAt(const WindowPixel& p) {
        return pickSquare(static_cast<int>(p.x), config.screenHeight - static_cast<int>(p.y));
    }
    static void expectEveryCentrePicksItsSquare() {
        for (int rank = 1; rank <= 8; ++rank)
            for (int file = 1; file <= 8; ++file) {
                const PickedSquare picked = pickAt(squareCentreOnScreen(file, rank));
                EXPECT_EQ(picked.file, file) << "square " << file << ", " << rank;
                EXPECT_EQ(picked.rank, rank) << "square " << file << ", " << rank;
            }
    }
    // Integer window corner of a board point, as picking truncates it.
    static WindowPoint cornerAt(double x, double z) {
        const WindowPixel p = projectPoint(x, 0, z);
        return {static_cast<int>(p.x), static_cast<int>(p.y)};
    }
};

void expectNoSquare(const PickedSquare& picked) {
    EXPECT_EQ(picked.file, -1);
    EXPECT_EQ(picked.rank, -1);
}

} // namespace

TEST_F(Picking, EveryCentrePicksItsSquareFromBothSides) {
    for (std::uint32_t side : {AppWhiteTurn, AppBlackTurn}) {
        appState = AppGame | side | AppHumanToMove;
        resizeTo(1024, 768);
        expectEveryCentrePicksItsSquare();
        resizeTo(640, 480);
        expectEveryCentrePicksItsSquare();
    }
}

TEST_F(Picking, PointsOffTheBoardPickNoSquare) {
    resizeTo(1024, 768);
    expectNoSquare(pickSquare(0, 0));
    expectNoSquare(pickSquare(1023, 767));
    expectNoSquare(pickSquare(512, 20));
    glLoadIdentity();
    setRestingCamera();
    // Just outside the a1 corner, on the frame.
    expectNoSquare(pickAt(projectPoint(8.1, 0, -8.1)));
    expectNoSquare(pickSquare(-5, 400));
    expectNoSquare(pickSquare(1 << 30, -(1 << 30)));
}

TEST_F(Picking, PointOnASharedEdgeBelongsToNeitherSquare) {
    resizeTo(1024, 768);
    glLoadIdentity();
    setRestingCamera();
    // The edge between ranks 4 and 5 is a horizontal pixel row from White's side; take an
    // integer point strictly between the shared corners of d4 and d5.
    const WindowPoint left = cornerAt(5, -4), right = cornerAt(4, -4);
    ASSERT_EQ(left.y, right.y);
    ASSERT_GT(right.x - left.x, 4);
    const int x = (left.x + right.x) / 2;
    expectNoSquare(pickSquare(x, config.screenHeight - left.y));
    // One pixel either side lies inside d4 or d5.
    const PickedSquare above = pickSquare(x, config.screenHeight - left.y - 1);
    const PickedSquare below = pickSquare(x, config.screenHeight - left.y + 1);
    EXPECT_EQ(above.file, 4);
    EXPECT_EQ(above.rank, 5);
    EXPECT_EQ(below.file, 4);
    EXPECT_EQ(below.rank, 4);
}

TEST_F(Picking, WhileTheCameraTurnsTheRestingViewOfTheSideToMoveIsUsed) {
    resizeTo(1024, 768);
    appState = AppGame | AppBlackTurn | AppHumanToMove;
    const WindowPixel b7 = squareCentreOnScreen(2, 7);
    setAppBits(AppCameraTurn);
    testTicks = phaseStart + 2500;
    const PickedSquare picked = pickAt(b7);
    EXPECT_EQ(picked.file, 2);
    EXPECT_EQ(picked.rank, 7);
    // The resting camera stays in the model-view matrix.
    const Eye eye = eyeOfModelView();
    EXPECT_NEAR(eye.x, 4, 1e-4);
    EXPECT_NEAR(eye.z, 5, 1e-4);
}

TEST_F(Picking, FixedCameraPicksFromWhitesView) {
    resizeTo(1024, 768);
    appState = AppGame | AppWhiteTurn;
    const WindowPixel c2 = squareCentreOnScreen(3, 2);
    menuOptions.rotate = 0;
    appState = AppGame | AppBlackTurn | AppHumanToMove;
    const PickedSquare picked = pickAt(c2);
    EXPECT_EQ(picked.file, 3);
    EXPECT_EQ(picked.rank, 2);
}

TEST_F(Picking, MouseRowsCountDownFromTheTopOfTheResizedWindow) {
    resizeTo(640, 480);
    appState = AppGame | AppWhiteTurn;
    const WindowPixel h1 = squareCentreOnScreen(8, 1);
    const PickedSquare picked = pickSquare(static_cast<int>(h1.x), 480 - static_cast<int>(h1.y));
    EXPECT_EQ(picked.file, 8);
    EXPECT_EQ(picked.rank, 1);
    // The same mouse row in the old window height names another square.
    const PickedSquare shifted = pickSquare(static_cast<int>(h1.x), 768 - static_cast<int>(h1.y));
    EXPECT_FALSE(shifted.file == 8 && shifted.rank == 1);
}
