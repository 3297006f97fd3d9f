#include "scene/camera.h"

#include "scene_fixture.h"

namespace {

// The eye of the current model-view matrix, a rotation R and a translation t: eye = -R^T t.
Point eyeOfModelView() {
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    return {-(m[0] * m[12] + m[1] * m[13] + m[2] * m[14]),
            -(m[4] * m[12] + m[5] * m[13] + m[6] * m[14]),
            -(m[8] * m[12] + m[9] * m[13] + m[10] * m[14])};
}

void expectEye(void (*place)(), double x, double z, const char* where) {
    glLoadIdentity();
    place();
    const Point eye = eyeOfModelView();
    EXPECT_NEAR(eye.x, x, 1e-4) << where;
    EXPECT_NEAR(eye.y, 10, 1e-4) << where;
    EXPECT_NEAR(eye.z, z, 1e-4) << where;
}

} // namespace

// With no turn bits (no game yet) the board is seen from White's side, its centre in the
// middle of the window.
TEST(Camera, RestingCameraLooksAtTheBoardCentreFromWhitesSideWithNoTurnBits) {
    startGameState();
    appState = AppGame;
    expectEye(setRestingCamera, 4, -13, "resting");
    const WindowPixel centre = projectPoint(4, 0, -4);
    EXPECT_NEAR(centre.x, 512, 0.01);
    EXPECT_NEAR(centre.y, 384, 0.01);
}

// The camera reaches the side to move after five seconds, at once with animations off, and
// rests there after the turn.
TEST(Camera, TurnSwingsRoundTheBoardInFiveSecondsToTheSideToMove) {
    const struct {
        std::uint32_t bits;
        int rotate, animations;
        double x0, z0, xHalf, zHalf, x1, z1;
    } turns[] = {{AppWhiteTurn | AppHumanToMove, 1, 1, 4, 5, -5, -4, 4, -13},
                 {AppBlackTurn | AppComputerToMove, 1, 1, 4, -13, 13, -4, 4, 5},
                 {AppBlackTurn | AppHumanToMove, 0, 1, 4, -13, 4, -13, 4, -13},
                 {AppWhiteTurn | AppComputerToMove, 1, 0, 4, -13, 4, -13, 4, -13}};
    for (const auto& t : turns) {
        startGameState();
        menuOptions.rotate = static_cast<std::int8_t>(t.rotate);
        menuOptions.animations = static_cast<std::int8_t>(t.animations);
        appState = AppGame | t.bits;
        const std::uint32_t started = testTicks;
        startCameraTurn();
        if (t.animations) {
            expectEye(setTurningCamera, t.x0, t.z0, "start");
            testTicks = started + 2500;
            expectEye(setTurningCamera, t.xHalf, t.zHalf, "halfway");
        }
        testTicks = started + (t.animations ? 5000 : 16);
        expectEye(setTurningCamera, t.x1, t.z1, "end");
        appState &= ~AppCameraTurn;
        expectEye(setRestingCamera, t.x1, t.z1, "resting");
    }
}
