#include <gtest/gtest.h>

#include <climits>

#include "scene/picking.h"

namespace {

// A quad as picking projects a square: corners in order round its edge.
const WindowPoint q0 = {10, 10}, q1 = {10, 50}, q2 = {60, 50}, q3 = {60, 10};

int inQuad(int x, int y) { return pointInQuad(q0, q1, q2, q3, {x, y}); }

} // namespace

TEST(SideOfLine, TellsTheTwoSidesAndTheLineApartEvenFarOutsideAnyWindow) {
    const WindowPoint a = {0, 0}, b = {10, 0};
    const int up = sideOfLine(a, b, {5, 3});
    EXPECT_NE(up, 0);
    EXPECT_EQ(sideOfLine(a, b, {5, -3}), -up);
    EXPECT_EQ(sideOfLine(a, b, {-40, 0}), 0);
    EXPECT_EQ(sideOfLine(a, b, {100, 7}), up);
    // Products of such coordinates need 64 bits.
    const WindowPoint c = {-(1 << 24), -(1 << 24)}, d = {1 << 24, 1 << 24};
    const int far = sideOfLine(c, d, {INT_MAX, INT_MIN});
    EXPECT_NE(far, 0);
    EXPECT_EQ(far, -sideOfLine(c, d, {INT_MIN, INT_MAX}));
    EXPECT_EQ(sideOfLine(c, d, {1 << 30, 1 << 30}), 0);
}

TEST(PointInQuad, InsidePointsAreInAndPointsOutsideOrOnTheEdgeAreOut) {
    const struct {
        int x, y, in;
    } points[] = {{35, 30, 1}, {11, 11, 1}, {59, 49, 1}, {5, 30, 0},  {35, 55, 0},
                  {65, 30, 0}, {35, 5, 0},  {10, 30, 0}, {35, 50, 0}, {60, 30, 0},
                  {35, 10, 0}, {10, 10, 0}, {60, 50, 0}};
    for (const auto& p : points)
        EXPECT_EQ(inQuad(p.x, p.y), p.in) << p.x << ", " << p.y;
}

TEST(PointInQuad, EitherWindingOfAPerspectiveShapeWorks) {
    const WindowPoint a = {100, 100}, b = {130, 140}, c = {170, 140}, d = {200, 100};
    EXPECT_EQ(pointInQuad(a, b, c, d, {150, 120}), 1);
    EXPECT_EQ(pointInQuad(d, c, b, a, {150, 120}), 1);
    EXPECT_EQ(pointInQuad(a, b, c, d, {105, 130}), 0);
    EXPECT_EQ(pointInQuad(d, c, b, a, {195, 130}), 0);
}
