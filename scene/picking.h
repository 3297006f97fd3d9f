#pragma once

// Turning a mouse position into the board square under it, in integer window pixels.

// A window point, x to the right and y upwards from the lower-left corner.
struct WindowPoint {
    int x, y;
};

// A board square, file and rank 1..8, or (-1, -1) for none.
struct PickedSquare {
    int file, rank;
};

// The square under the mouse at (x, y), counted from the window's top-left corner, as seen
// by the resting camera of the side to move; (-1, -1) when no square is under it. Leaves
// the resting camera in the model-view matrix.
PickedSquare pickSquare(int x, int y);

// 1 if p lies strictly inside the quadrilateral q0 q1 q2 q3, else 0.
int pointInQuad(WindowPoint q0, WindowPoint q1, WindowPoint q2, WindowPoint q3, WindowPoint p);

// -1, 0 or +1: on which side of the line through a and b the point p lies.
int sideOfLine(WindowPoint a, WindowPoint b, WindowPoint p);
