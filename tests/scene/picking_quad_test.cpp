#include "scene/picking.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// A quad as picking projects a square: corners in order round its edge.
const WindowPoint q0 = {10, 10}, q1 = {10, 50}, q2 = {60, 50}, q3 = {60, 10};

int inQuad(int x, int y) { return pointInQuad(q0, q1, q2, q3, {x, y}); }

} // namespace

TEST(SideOfLine, TellsTheTwoSidesAndTheLineApart) {
    const WindowPoint a = {0, 0}, b = {10, 0};
    const int up = sideOfLine(a, b, {5, 3});
    const int down = sideOfLine(a, b, {5, -3});
    EXPECT_NE(up, 0);
    EXPECT_EQ(down, -up);
    EXPECT_EQ(sideOfLine(a, b, {5, 0}), 0);
    EXPECT_EQ(sideOfLine(a, b, {-40, 0}), 0);
    EXPECT_EQ(sideOfLine(a, b, {100, 7}), up);
}

TEST(SideOfLine, HandlesCoordinatesFarOutsideAnyWindow) {
    const WindowPoint a = {-(1 << 24), -(1 << 24)}, b = {1 << 24, 1 << 24};
    EXPECT_EQ(sideOfLine(a, b, {INT_MAX, INT_MIN}), -sideOfLine(a, b, {INT_MIN, INT_MAX}));
    EXPECT_EQ(sideOfLine(a, b, {1 << 30, 1 << 30}), 0);
}

TEST(PointInQuad, InsidePointsAreInAndOutsidePointsAreOut) {
    EXPECT_EQ(inQuad(35, 30), 1);
    EXPECT_EQ(inQuad(11, 11), 1);
    EXPECT_EQ(inQuad(59, 49), 1);
    EXPECT_EQ(inQuad(5, 30), 0);
    EXPECT_EQ(inQuad(35, 55), 0);
    EXPECT_EQ(inQuad(65, 30), 0);
    EXPECT_EQ(inQuad(35, 5), 0);
}

TEST(PointInQuad, PointsOnAnEdgeOrCornerAreOutside) {
    EXPECT_EQ(inQuad(10, 30), 0);
    EXPECT_EQ(inQuad(35, 50), 0);
    EXPECT_EQ(inQuad(60, 30), 0);
    EXPECT_EQ(inQuad(35, 10), 0);
    EXPECT_EQ(inQuad(10, 10), 0);
    EXPECT_EQ(inQuad(60, 50), 0);
}

TEST(PointInQuad, EitherWindingAndPerspectiveShapesWork) {
    // A trapezoid as a square far from the eye projects, corners in both orders.
    const WindowPoint a = {100, 100}, b = {130, 140}, c = {170, 140}, d = {200, 100};
    EXPECT_EQ(pointInQuad(a, b, c, d, {150, 120}), 1);
    EXPECT_EQ(pointInQuad(d, c, b, a, {150, 120}), 1);
    EXPECT_EQ(pointInQuad(a, b, c, d, {105, 130}), 0);
    EXPECT_EQ(pointInQuad(d, c, b, a, {195, 130}), 0);
}

TEST(PointInQuad, NeighboursSharingAnEdgeNeverBothContainAPoint) {
    const WindowPoint r0 = {60, 10}, r1 = {60, 50}, r2 = {110, 50}, r3 = {110, 10};
    for (int y = 5; y <= 55; ++y)
        for (int x = 5; x <= 115; ++x) {
            const int left = inQuad(x, y);
            const int right = pointInQuad(r0, r1, r2, r3, {x, y});
            EXPECT_FALSE(left && right) << x << ", " << y;
            if (x == 60) {
                EXPECT_EQ(left + right, 0) << "on the shared edge at y " << y;
            }
        }
}
