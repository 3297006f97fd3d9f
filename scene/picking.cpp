#include "scene/picking.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>

#include "app/core/config.h"
#include "scene/camera.h"
#include "scene/world.h"

namespace {

struct ViewTransform {
    GLdouble projection[16];
    GLdouble modelView[16];
    GLint viewport[4];
};

// Window pixel of the board point (x, 0, z), truncated toward zero. A point that does not
// project, or lands far outside any window, is reported as not projecting.
bool projectCorner(const ViewTransform& view, double x, double z, WindowPoint& corner) {
    GLdouble wx = 0, wy = 0, wz = 0;
    if (gluProject(x, 0.0, z, view.modelView, view.projection, view.viewport, &wx, &wy, &wz) !=
        GL_TRUE)
        return false;
    constexpr double limit = 1 << 24;
    if (!(std::fabs(wx) < limit && std::fabs(wy) < limit)) return false;
    corner = {static_cast<int>(wx), static_cast<int>(wy)};
    return true;
}

bool squareContains(const ViewTransform& view, int file, int rank, WindowPoint p) {
    WindowPoint q[4];
    const double x = squareX(file), z = squareZ(rank);
    const bool projected = projectCorner(view, x, z, q[0]) && projectCorner(view, x, z - 1, q[1]) &&
                           projectCorner(view, x + 1, z - 1, q[2]) &&
                           projectCorner(view, x + 1, z, q[3]);
    return projected && pointInQuad(q[0], q[1], q[2], q[3], p) == 1;
}

} // namespace

PickedSquare pickSquare(int x, int y) {
    glLoadIdentity();
    setRestingCamera();
    ViewTransform view;
    glGetDoublev(GL_PROJECTION_MATRIX, view.projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, view.modelView);
    glGetIntegerv(GL_VIEWPORT, view.viewport);
    const WindowPoint p = {x, config.screenHeight - y};
    for (int rank = 1; rank <= 8; ++rank)
        for (int file = 1; file <= 8; ++file)
            if (squareContains(view, file, rank, p)) return {file, rank};
    return {-1, -1};
}

// Computed in 64 bits: window coordinates of a few thousand pixels square to millions, and
// the mouse point of an event may be anywhere in the int range.
int sideOfLine(WindowPoint a, WindowPoint b, WindowPoint p) {
    const std::int64_t d =
        (static_cast<std::int64_t>(p.y) - a.y) * (static_cast<std::int64_t>(a.x) - b.x) +
        (static_cast<std::int64_t>(p.x) - a.x) * (static_cast<std::int64_t>(b.y) - a.y);
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

int pointInQuad(WindowPoint q0, WindowPoint q1, WindowPoint q2, WindowPoint q3, WindowPoint p) {
    if (sideOfLine(q0, q1, q2) != sideOfLine(q0, q1, p)) return 0;
    if (sideOfLine(q1, q2, q3) != sideOfLine(q1, q2, p)) return 0;
    if (sideOfLine(q2, q3, q0) != sideOfLine(q2, q3, p)) return 0;
    if (sideOfLine(q3, q0, q1) != sideOfLine(q3, q0, p)) return 0;
    return 1;
}
