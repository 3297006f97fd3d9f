// The desktop icon: a gold knight on a dark rounded tile, as a square PNG of `size` pixels
// with transparency.
#pragma once

#include <string>

#include "image.h"

int writeIcon(TextSetter& text, int size, const std::string& path);
