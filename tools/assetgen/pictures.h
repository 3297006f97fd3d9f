// The splash, menu and logo pictures, drawn with a small renderer of our own models.
#pragma once

#include <string>

#include "image.h"

// Writes the splash, menu and logo pictures with the given path prefix; returns 1 on success.
int writePictures(TextSetter& text, const std::string& prefix);
