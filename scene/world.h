#pragma once

// The world frame the scene is drawn in: one unit per square, y up, the board surface on
// y = 0, White's back rank towards -z. Square (file, rank) covers x squareX(file) ..
// squareX(file) + 1 and z squareZ(rank) - 1 .. squareZ(rank); a fractional file or rank
// gives the point between squares, as a flying piece needs.

constexpr float pi = 3.14159265f;

constexpr float squareX(float file) { return 8.0f - file; }
constexpr float squareZ(float rank) { return rank - 8.0f; }
