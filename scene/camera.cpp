#include "scene/camera.h"
#include "scene/world.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

#include "app/core/state.h"
#include "app/core/turn.h"

namespace {

constexpr float whiteRestingAngle = 4.712389f; // 3 pi / 2: behind rank 1
constexpr double centreX = 4.0, centreZ = -4.0;
constexpr double eyeHeight = 10.0, orbitRadius = 9.0;

struct EyePosition {
    double x, y, z;
};

// The eye on the orbit round the board centre at `angle` radians, 9 units out and 10 up.
EyePosition orbitEye(float angle) {
    return {centreX + orbitRadius * std::cos(angle), eyeHeight,
            centreZ + orbitRadius * std::sin(angle)};
}

void lookFrom(const EyePosition& eye) {
    gluLookAt(eye.x, eye.y, eye.z, centreX, 0.0, centreZ, 0.0, 1.0, 0.0);
}

ComputerMoveHook computerMoveHook = nullptr;

} // namespace

void setComputerMoveHook(ComputerMoveHook hook) { computerMoveHook = hook; }

// With neither turn bit set (no game running yet) the board is seen from White's side.
void setRestingCamera() {
    const bool blackView =
        !anyAppBit(AppWhiteTurn) && menuOptions.rotate != 0 && anyAppBit(AppBlackTurn);
    if (blackView) {
        lookFrom({4.0, eyeHeight, 5.0});
    } else {
        lookFrom({4.0, eyeHeight, -13.0});
    }
}

// The turn bits already name the side now to move, so the eye leaves the other side's
// resting angle and reaches this side's after the whole phase.
void setTurningCamera() {
    const float t = phaseProgress();
    float angle = whiteRestingAngle;
    if (menuOptions.rotate == 1) angle = (anyAppBit(AppWhiteTurn) ? pi / 2 : -pi / 2) + t * pi;
    lookFrom(orbitEye(angle));
    if (t < 1.0f) return;
    clearAppBits(AppCameraTurn);
    if (anyAppBit(AppComputerToMove) && computerMoveHook) computerMoveHook();
}
