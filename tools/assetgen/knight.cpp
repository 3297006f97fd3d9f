#include "knight.h"

#include <algorithm>
#include <cmath>

#include "solid.h"

namespace {

struct Point2 {
    double z, y;
};

// The side outline, in (forward, up) from the square's centre: the chest, the front of the
// neck, the throat and the round of the jaw, the chin and lips, the nose, the face and the
// forehead up to the poll, then down the arched back of the neck.
const Point2 outlineKeys[] = {{0.165, 0.10},   {0.190, 0.20},   {0.175, 0.30},   {0.120, 0.39},
                              {0.078, 0.465},  {0.105, 0.452},  {0.170, 0.450},  {0.222, 0.450},
                              {0.262, 0.466},  {0.281, 0.490},  {0.300, 0.515},  {0.322, 0.545},
                              {0.325, 0.585},  {0.305, 0.630},  {0.265, 0.690},  {0.205, 0.775},
                              {0.140, 0.860},  {0.070, 0.925},  {0.000, 0.950},  {-0.065, 0.925},
                              {-0.115, 0.850}, {-0.165, 0.730}, {-0.198, 0.590}, {-0.213, 0.440},
                              {-0.212, 0.300}, {-0.200, 0.180}, {-0.190, 0.10}};

constexpr int keyCount = sizeof(outlineKeys) / sizeof(outlineKeys[0]);

// The closed Catmull-Rom curve through the keys, as a fine polygon.
std::vector<Point2> outline() {
    const int perSpan = 8;
    std::vector<Point2> points;
    for (int i = 0; i < keyCount; ++i) {
        const Point2& p0 = outlineKeys[(i + keyCount - 1) % keyCount];
        const Point2& p1 = outlineKeys[i];
        const Point2& p2 = outlineKeys[(i + 1) % keyCount];
        const Point2& p3 = outlineKeys[(i + 2) % keyCount];
        for (int s = 0; s < perSpan; ++s) {
            const double t = static_cast<double>(s) / perSpan;
            auto cr = [t](double a, double b, double c, double d) {
                return 0.5 * (2 * b + (c - a) * t + (2 * a - 5 * b + 4 * c - d) * t * t +
                              (3 * b - a - 3 * c + d) * t * t * t);
            };
            points.push_back({cr(p0.z, p1.z, p2.z, p3.z), cr(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    return points;
}

// Signed distance to the closed polygon, negative inside.
double outlineDistance(const std::vector<Point2>& poly, double z, double y) {
    double best = 1e9;
    bool inside = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Point2 a = poly[j], b = poly[i];
        const double ez = b.z - a.z, ey = b.y - a.y;
        const double t =
            std::clamp(((z - a.z) * ez + (y - a.y) * ey) / (ez * ez + ey * ey), 0.0, 1.0);
        best = std::min(best, std::hypot(z - a.z - ez * t, y - a.y - ey * t));
        if ((a.y > y) != (b.y > y) && z < a.z + (y - a.y) / (b.y - a.y) * ez) {
            inside = !inside;
        }
    }
    return inside ? -best : best;
}

double smoothstep(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double smoothMin(double a, double b, double k) {
    const double h = std::clamp(0.5 + 0.5 * (b - a) / k, 0.0, 1.0);
    return b + (a - b) * h - k * h * (1 - h);
}

double smoothMax(double a, double b, double k) { return -smoothMin(-a, -b, k); }

double ellipsoid(Vec3 p, Vec3 centre, Vec3 radii) {
    const Vec3 d = p - centre;
    const double k = length({d.x / radii.x, d.y / radii.y, d.z / radii.z});
    return (k - 1) * std::min({radii.x, radii.y, radii.z});
}

// A cone with round ends: radius ra at a, rb at b.
double roundCone(Vec3 p, Vec3 a, Vec3 b, double ra, double rb) {
    const Vec3 ab = b - a;
    const double t = std::clamp(dot(p - a, ab) / dot(ab, ab), 0.0, 1.0);
    return length(p - (a + ab * t)) - (ra + (rb - ra) * t);
}

// Half the thickness across the head: broad at the chest, narrower up the neck and towards
// the muzzle.
double halfThickness(double y, double z) {
    const double neck = 0.102 + 0.05 * (1 - smoothstep(0.10, 0.80, y));
    return neck * (1 - 0.22 * smoothstep(0.12, 0.32, z) * smoothstep(0.40, 0.55, y));
}

class HorseField {
  public:
    HorseField() : poly_(outline()) {
        // Tufts of mane along the back of the neck, each standing out past the outline.
        for (int i = 0; i < 8; ++i) {
            const double y = 0.86 - i * 0.075;
            double z = -0.3;
            while (outlineDistance(poly_, z, y) > 0) {
                z += 0.002;
            }
            tufts_.push_back({0.0, y, z - 0.008});
        }
    }

    double operator()(Vec3 world) const {
        const Vec3 p{world.x - 0.5, world.y, world.z + 0.5};
        const double x = std::fabs(p.x);
        double f = body(x, p.y, p.z);
        for (const Vec3& t : tufts_) {
            f = smoothMin(f, ellipsoid({x, p.y, p.z}, t, {0.06, 0.055, 0.045}), 0.012);
        }
        f = smoothMin(f, ellipsoid({x, p.y, p.z}, {0, 0.58, 0.06}, {0.125, 0.09, 0.105}), 0.03);
        f = smoothMin(f, ears(x, p.y, p.z), 0.02);
        f = carveFace(f, x, p.y, p.z);
        return f;
    }

  private:
    // The outline swollen into a rounded solid: full thickness inside, easing to nothing at
    // the outline over a depth that keeps the cross-section round.
    double body(double x, double y, double z) const {
        const double d = outlineDistance(poly_, z, y);
        if (d >= 0) {
            return std::hypot(d, x);
        }
        const double t = halfThickness(y, z);
        const double depth = 0.75 * t;
        const double e = 1 - std::min(-d / depth, 1.0);
        return x - t * std::sqrt(1 - e * e);
    }

    static double ears(double x, double y, double z) {
        const Vec3 p{x, y, z};
        const double ear =
            roundCone(p, {0.055, 0.885, -0.005}, {0.074, 1.043, -0.048}, 0.034, 0.016);
        const double hollow =
            roundCone(p, {0.059, 0.925, 0.022}, {0.074, 1.04, -0.022}, 0.016, 0.006);
        return smoothMax(ear, -hollow, 0.006);
    }

    // The eye under its brow, the nostril, and the line of the mouth.
    static double carveFace(double f, double x, double y, double z) {
        const Vec3 p{x, y, z};
        f = smoothMin(f, ellipsoid(p, {0.092, 0.795, 0.112}, {0.022, 0.019, 0.026}), 0.006);
        f = smoothMin(f, ellipsoid(p, {0.094, 0.830, 0.098}, {0.018, 0.012, 0.045}), 0.01);
        f = smoothMax(f, -ellipsoid(p, {0.082, 0.572, 0.292}, {0.024, 0.02, 0.026}), 0.006);
        const double mouthAlong = std::clamp((z - 0.215) / 0.14, 0.0, 1.0);
        const double mouth =
            std::hypot(z - (0.215 + 0.14 * mouthAlong), y - (0.505 - 0.004 * mouthAlong)) - 0.011;
        return smoothMax(f, -mouth, 0.004);
    }

    std::vector<Point2> poly_;
    std::vector<Vec3> tufts_;
};

} // namespace

Part horseHead(size_t maxFaces) {
    const HorseField field;
    Surface s = extractSurface([&field](Vec3 p) { return field(p); }, {0.32, 0.06, -0.80},
                               {0.68, 1.10, -0.14}, 0.012);
    simplify(s, maxFaces);
    Part part;
    for (const Vec3& p : s.positions) {
        part.addPosition(p);
        part.addTexVert(2.0 * (p.z + 0.5) + 1.2 * (p.x - 0.5), 2.0 * p.y);
    }
    for (const auto& f : s.faces) {
        part.addTriangle(f[0], f[1], f[2], f[0], f[1], f[2]);
    }
    part.orientOutwards();
    return part;
}
