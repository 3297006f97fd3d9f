#include "scene/camera.h"

#include "scene_fixture.h"

// The camera runs the computer-move hook when a turn ends with the computer to move; the
// test's hook counts the calls.
int computerMoves = 0;
static void countComputerMove() { ++computerMoves; }

namespace {

constexpr Uint32 turnStarted = 1000000;

class Camera : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
        startGameState();
        board.reset();
        computerMoves = 0;
        setComputerMoveHook(countComputerMove);
    }
    void TearDown() override { board.reset(); }
    static Eye restingEye(std::uint32_t state) {
        appState = state;
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
    static void beginCameraTurn(std::uint32_t bits) {
        appState = AppGame | bits;
        testTicks = turnStarted;
        startCameraTurn();
    }
};

void expectEye(const Eye& eye, double x, double y, double z, const char* where = "") {
    EXPECT_NEAR(eye.x, x, 1e-4) << where;
    EXPECT_NEAR(eye.y, y, 1e-4) << where;
    EXPECT_NEAR(eye.z, z, 1e-4) << where;
}

} // namespace

TEST_F(Camera, RestingCameraLooksAtTheBoardCentreFromWhitesSideUnlessItTurnsToBlack) {
    expectEye(restingEye(AppGame), 4, 10, -13, "no turn bits");
    expectEye(restingEye(AppGame | AppWhiteTurn), 4, 10, -13, "white");
    expectEye(restingEye(AppGame | AppBlackTurn), 4, 10, 5, "black");
    const WindowPixel centre = projectPoint(4, 0, -4);
    EXPECT_NEAR(centre.x, 512, 0.01);
    EXPECT_NEAR(centre.y, 384, 0.01);
    menuOptions.rotate = 0;
    expectEye(restingEye(AppGame | AppBlackTurn), 4, 10, -13, "fixed camera");
}

TEST_F(Camera, TurnSwingsRoundTheBoardInFiveSeconds) {
    const struct {
        std::uint32_t side;
        int rotate;
        double x0, z0, xHalf, zHalf, x1, z1;
    } turns[] = {{AppWhiteTurn, 1, 4, 5, -5, -4, 4, -13},
                 {AppBlackTurn, 1, 4, -13, 13, -4, 4, 5},
                 {AppBlackTurn, 0, 4, -13, 4, -13, 4, -13}};
    for (const auto& t : turns) {
        menuOptions.rotate = static_cast<std::int8_t>(t.rotate);
        beginCameraTurn(t.side | AppHumanToMove);
        expectEye(turningEyeAt(0), t.x0, 10, t.z0, "start");
        expectEye(turningEyeAt(2500), t.xHalf, 10, t.zHalf, "halfway");
        turningEyeAt(4999);
        EXPECT_TRUE(anyAppBit(AppCameraTurn));
        expectEye(turningEyeAt(5000), t.x1, 10, t.z1, "end");
        EXPECT_FALSE(anyAppBit(AppCameraTurn));
    }
    EXPECT_EQ(computerMoves, 0);
}

TEST_F(Camera, ComputerMovesOnceWhenItsTurnEnds) {
    beginCameraTurn(AppBlackTurn | AppComputerToMove);
    turningEyeAt(4999);
    EXPECT_EQ(computerMoves, 0);
    turningEyeAt(5000);
    EXPECT_EQ(computerMoves, 1);
    EXPECT_FALSE(anyAppBit(AppCameraTurn));
    // With animations off the turn ends in its first frame.
    menuOptions.animations = 0;
    beginCameraTurn(AppWhiteTurn | AppComputerToMove);
    expectEye(turningEyeAt(16), 4, 10, -13);
    EXPECT_FALSE(anyAppBit(AppCameraTurn));
    EXPECT_EQ(computerMoves, 2);
}
