#include "scene/camera.h"

#include "scene_fixture.h"

namespace {

// The eye position of the current model-view matrix (a rotation and a translation).
struct Eye {
    double x, y, z;
};
Eye eyeOfModelView() {
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    // Column-major: rotation R in m[0..10], translation t in m[12..14]; eye = -R^T t.
    return {-(m[0] * m[12] + m[1] * m[13] + m[2] * m[14]),
            -(m[4] * m[12] + m[5] * m[13] + m[6] * m[14]),
            -(m[8] * m[12] + m[9] * m[13] + m[10] * m[14])};
}

constexpr Uint32 turnStarted = 1000000;

class Camera : public testing::Test {
  protected:
    void SetUp() override { startGameState(); }
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
};

void expectEye(const Eye& eye, double x, double z, const char* where = "") {
    EXPECT_NEAR(eye.x, x, 1e-4) << where;
    EXPECT_NEAR(eye.y, 10, 1e-4) << where;
    EXPECT_NEAR(eye.z, z, 1e-4) << where;
}

} // namespace

TEST_F(Camera, RestingCameraLooksAtTheBoardCentreFromWhitesSideWithNoTurnBits) {
    expectEye(restingEye(AppGame), 4, -13);
    const WindowPixel centre = projectPoint(4, 0, -4);
    EXPECT_NEAR(centre.x, 512, 0.01);
    EXPECT_NEAR(centre.y, 384, 0.01);
}

// The camera reaches the side to move after five seconds, at once with animations off, and
// rests there after the turn.
TEST_F(Camera, TurnSwingsRoundTheBoardInFiveSecondsToTheSideToMove) {
    const struct {
        std::uint32_t bits;
        int rotate, animations;
        double x0, z0, xHalf, zHalf, x1, z1;
    } turns[] = {{AppWhiteTurn | AppHumanToMove, 1, 1, 4, 5, -5, -4, 4, -13},
                 {AppBlackTurn | AppComputerToMove, 1, 1, 4, -13, 13, -4, 4, 5},
                 {AppBlackTurn | AppHumanToMove, 0, 1, 4, -13, 4, -13, 4, -13},
                 {AppWhiteTurn | AppComputerToMove, 1, 0, 4, -13, 4, -13, 4, -13}};
    for (const auto& t : turns) {
        menuOptions.rotate = static_cast<std::int8_t>(t.rotate);
        menuOptions.animations = static_cast<std::int8_t>(t.animations);
        appState = AppGame | t.bits;
        testTicks = turnStarted;
        startCameraTurn();
        if (t.animations) {
            expectEye(turningEyeAt(0), t.x0, t.z0, "start");
            expectEye(turningEyeAt(2500), t.xHalf, t.zHalf, "halfway");
        }
        expectEye(turningEyeAt(t.animations ? 5000 : 16), t.x1, t.z1, "end");
        expectEye(restingEye(appState & ~AppCameraTurn), t.x1, t.z1, "resting");
    }
}
