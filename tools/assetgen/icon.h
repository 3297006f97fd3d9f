// The desktop icon: a gold knight on a dark rounded tile, as a 64 x 64 PNG with transparency.
#pragma once

#include <string>

#include "image.h"

int writeIcon(TextSetter& text, const std::string& path);
