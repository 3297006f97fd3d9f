#include <gtest/gtest.h>

#include <climits>

#include "scene/picking.h"

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

// A square as picking projects it, corners in order round its edge, wound either way.
TEST(PointInQuad, InsidePointsAreInAndPointsOutsideOrOnTheEdgeAreOut) {
    const WindowPoint a = {100, 100}, b = {130, 140}, c = {170, 140}, d = {200, 100};
    const struct {
        int x, y, in;
    } points[] = {{150, 120, 1}, {101, 101, 1}, {131, 139, 1}, {169, 139, 1}, {199, 101, 1},
                  {150, 99, 0},  {150, 141, 0}, {105, 130, 0}, {195, 130, 0}, {150, 100, 0},
                  {150, 140, 0}, {115, 120, 0}, {185, 120, 0}, {100, 100, 0}, {170, 140, 0}};
    for (const auto& p : points) {
        EXPECT_EQ(pointInQuad(a, b, c, d, {p.x, p.y}), p.in) << p.x << ", " << p.y;
        EXPECT_EQ(pointInQuad(d, c, b, a, {p.x, p.y}), p.in) << p.x << ", " << p.y << " reversed";
    }
}
