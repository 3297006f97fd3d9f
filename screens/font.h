#pragma once

// The first of the 256 display lists of the bitmap font, one per byte.
extern unsigned int fontBase;
