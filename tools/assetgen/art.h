// Textures, font and pictures of the game.
#pragma once

#include <string>

// Writes every texture and picture file into dir; returns 1 on success.
int writeArt(const std::string& dir);
