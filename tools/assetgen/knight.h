// The knight's carved horse head and neck, which stands on the common turned base.
#pragma once

#include "geometry.h"

// A closed, rounded head and neck of at most `maxFaces` triangles in the frame of the square
// (centre x 0.5, z -0.5), looking towards +z, its foot sunk into the base below y = 0.18.
Part horseHead(size_t maxFaces);
