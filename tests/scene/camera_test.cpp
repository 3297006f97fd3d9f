#include "scene/camera.h"

#include "scene_fixture.h"

namespace {

// Expects the camera `place` sets to stand at (x, 10, z) and look at the board's centre. The
// model-view matrix is a rotation R, whose third row is the direction from the centre to the
// eye, and a translation t: eye = -R^T t.
void expectEye(void (*place)(), double x, double z, const char* where) {
    glLoadIdentity();
    place();
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    const double eye[3] = {x, 10, z};
    const double back[3] = {x - boardCentre.x, 10, z - boardCentre.z};
    const double length = std::sqrt(back[0] * back[0] + back[1] * back[1] + back[2] * back[2]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(-(m[4 * i] * m[12] + m[4 * i + 1] * m[13] + m[4 * i + 2] * m[14]), eye[i], 1e-4)
            << where << ", eye " << i;
        EXPECT_NEAR(m[4 * i + 2], back[i] / length, 1e-4) << where << ", direction " << i;
    }
}

} // namespace

// With no turn bits (no game yet) the board is seen from White's side.
TEST(Camera, RestingCameraLooksAtTheBoardCentreFromWhitesSideWithNoTurnBits) {
    startGameState();
    appState = AppGame;
    expectEye(setRestingCamera, 4, -13, "resting");
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
