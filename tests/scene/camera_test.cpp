#include "scene/camera.h"

#include "scene_fixture.h"

// The camera runs the computer-move hook when a turn ends with the computer to move; the test's
// hook counts the calls.
static int computerMoves = 0;
static void countComputerMove() { ++computerMoves; }

namespace {

constexpr Uint32 turnStarted = 1000000;

const testing::Environment* const window = testing::AddGlobalTestEnvironment(new SceneWindow);

class Camera : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
        startGameState();
        testTicks = turnStarted;
        computerMoves = 0;
        setComputerMoveHook(countComputerMove);
    }
    static Eye restingEye() {
        glLoadIdentity();
        setRestingCamera();
        return eyeOfModelView();
    }
    // The eye of the turning camera `ms` milliseconds after the camera turn was started.
    static Eye turningEyeAt(Uint32 ms) {
        testTicks = turnStarted + ms;
        glLoadIdentity();
        setTurningCamera();
        return eyeOfModelView();
    }
    static void beginCameraTurn(std::uint32_t turnBits) {
        appState = AppGame | turnBits | AppHumanToMove;
        startCameraTurn();
    }
};

void expectEye(const Eye& eye, double x, double y, double z) {
    EXPECT_NEAR(eye.x, x, 1e-4);
    EXPECT_NEAR(eye.y, y, 1e-4);
    EXPECT_NEAR(eye.z, z, 1e-4);
}

} // namespace

TEST_F(Camera, RestingCameraStandsBehindTheSideToMove) {
    appState = AppGame | AppWhiteTurn;
    expectEye(restingEye(), 4, 10, -13);
    appState = AppGame | AppBlackTurn;
    expectEye(restingEye(), 4, 10, 5);
}

TEST_F(Camera, FixedCameraAlwaysShowsWhitesView) {
    menuOptions.rotate = 0;
    appState = AppGame | AppBlackTurn;
    expectEye(restingEye(), 4, 10, -13);
}

TEST_F(Camera, WithoutTurnBitsTheBoardIsSeenFromWhitesSide) {
    appState = AppGame;
    expectEye(restingEye(), 4, 10, -13);
}

TEST_F(Camera, EachSideSeesFileAOnItsLeftAndItsOwnRankInFront) {
    appState = AppGame | AppWhiteTurn;
    EXPECT_LT(squareCentreOnScreen(1, 4).x, squareCentreOnScreen(8, 4).x);
    EXPECT_LT(squareCentreOnScreen(4, 1).y, squareCentreOnScreen(4, 8).y);
    appState = AppGame | AppBlackTurn;
    EXPECT_GT(squareCentreOnScreen(1, 4).x, squareCentreOnScreen(8, 4).x);
    EXPECT_GT(squareCentreOnScreen(4, 1).y, squareCentreOnScreen(4, 8).y);
}

TEST_F(Camera, BoardCentreIsInTheMiddleOfTheWindow) {
    glLoadIdentity();
    setRestingCamera();
    const WindowPixel centre = projectPoint(4, 0, -4);
    EXPECT_NEAR(centre.x, 512, 0.01);
    EXPECT_NEAR(centre.y, 384, 0.01);
}

TEST_F(Camera, TurnToWhiteSwingsFromBlacksEyeThroughTheLeftSide) {
    beginCameraTurn(AppWhiteTurn);
    expectEye(turningEyeAt(0), 4, 10, 5);
    expectEye(turningEyeAt(2500), -5, 10, -4);
    expectEye(turningEyeAt(5000), 4, 10, -13);
}

TEST_F(Camera, TurnToBlackSwingsFromWhitesEyeThroughTheRightSide) {
    beginCameraTurn(AppBlackTurn);
    expectEye(turningEyeAt(0), 4, 10, -13);
    expectEye(turningEyeAt(2500), 13, 10, -4);
    expectEye(turningEyeAt(5000), 4, 10, 5);
}

TEST_F(Camera, TurnEndsInTheFirstFrameAtFiveSeconds) {
    beginCameraTurn(AppBlackTurn);
    turningEyeAt(4999);
    EXPECT_TRUE(anyAppBit(AppCameraTurn));
    turningEyeAt(5000);
    EXPECT_FALSE(anyAppBit(AppCameraTurn));
    EXPECT_EQ(computerMoves, 0);
}

TEST_F(Camera, FixedCameraStillTakesFiveSecondsToTurn) {
    menuOptions.rotate = 0;
    beginCameraTurn(AppBlackTurn);
    expectEye(turningEyeAt(0), 4, 10, -13);
    expectEye(turningEyeAt(2500), 4, 10, -13);
    EXPECT_TRUE(anyAppBit(AppCameraTurn));
    expectEye(turningEyeAt(5000), 4, 10, -13);
    EXPECT_FALSE(anyAppBit(AppCameraTurn));
}

TEST_F(Camera, ComputerMovesOnceWhenItsTurnEnds) {
    appState = AppGame | AppBlackTurn | AppComputerToMove;
    startCameraTurn();
    turningEyeAt(4999);
    EXPECT_EQ(computerMoves, 0);
    turningEyeAt(5000);
    EXPECT_EQ(computerMoves, 1);
    EXPECT_FALSE(anyAppBit(AppCameraTurn));
}

TEST_F(Camera, WithAnimationsOffTheTurnEndsInItsFirstFrame) {
    menuOptions.animations = 0;
    appState = AppGame | AppWhiteTurn | AppComputerToMove;
    startCameraTurn();
    expectEye(turningEyeAt(16), 4, 10, -13);
    EXPECT_FALSE(anyAppBit(AppCameraTurn));
    EXPECT_EQ(computerMoves, 1);
}
