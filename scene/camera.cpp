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

// The orbit's points straight behind rank 1 and rank 8, exactly: the resting eyes.
constexpr EyePosition whiteEye = {centreX, eyeHeight, centreZ - orbitRadius};
constexpr EyePosition blackEye = {centreX, eyeHeight, centreZ + orbitRadius};

// The eye on the orbit round the board centre at `angle` radians, 9 units out and 10 up.
EyePosition orbitEye(float angle) {
    return {centreX + orbitRadius * std::cos(angle), eyeHeight,
            centreZ + orbitRadius * std::sin(angle)};
}

void lookFrom(const EyePosition& eye) {
    gluLookAt(eye.x, eye.y, eye.z, centreX, 0.0, centreZ, 0.0, 1.0, 0.0);
}

} // namespace

// With neither turn bit set (no game running yet) the board is seen from White's side.
void setRestingCamera() {
    const bool blackView =
        !anyAppBit(AppWhiteTurn) && menuOptions.rotate != 0 && anyAppBit(AppBlackTurn);
    lookFrom(blackView ? blackEye : whiteEye);
}

// The turn bits already name the side now to move, so the eye leaves the other side's
// resting angle and reaches this side's after the whole phase.
void setTurningCamera() {
    const float t = phaseProgress();
    float angle = whiteRestingAngle;
    if (menuOptions.rotate == 1) angle = (anyAppBit(AppWhiteTurn) ? pi / 2 : -pi / 2) + t * pi;
    lookFrom(orbitEye(angle));
}
