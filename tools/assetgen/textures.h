// Procedural model textures, the font picture and the square highlight.
#pragma once

#include <string>

#include "image.h"

Image ivoryTexture();
Image ebonyTexture();
Image lightMarbleTexture();
Image darkStoneTexture();
Image woodTexture();
Image labelTexture(TextSetter& text);
Image fontPicture(TextSetter& text);
Image highlightPicture();
