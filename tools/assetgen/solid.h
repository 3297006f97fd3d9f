// Closed, rounded surfaces from signed-distance functions: extraction on a grid and
// simplification down to a triangle budget.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "geometry.h"

// A closed triangle surface: every edge lies in exactly two faces that run it in opposite
// directions, and every face winds counter-clockwise seen from outside.
struct Surface {
    std::vector<Vec3> positions;
    std::vector<std::array<int, 3>> faces;
};

// Negative inside the solid, positive outside, about the distance to its surface.
using DistanceField = std::function<double(Vec3)>;

// The surface of field < 0 inside the box lo..hi, sampled every `step` units; the solid is
// cut off where it reaches the box, so the box should hold it with a cell to spare.
Surface extractSurface(const DistanceField& field, Vec3 lo, Vec3 hi, double step);

// Collapses the edges whose removal changes the shape least until at most `maxFaces` faces
// remain; keeps the surface closed and refuses collapses that fold or crush a face.
void simplify(Surface& surface, size_t maxFaces);
