#pragma once

// The first of the 256 display lists of the bitmap font, one per byte.
extern unsigned int fontBase;

// Compiles the 256 glyph lists from the font picture and sets fontBase.
void buildFont();

// Formats a text (at most 255 bytes) and draws it with its first glyph cell's lower-left
// corner at window pixel (x, y), y counted upwards; 8 pixels per byte. Null draws nothing.
// Switches texturing on and binds the font picture, and leaves both so; the caller chooses the
// colour and the blending. The text lies over everything drawn before it.
void printText(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));

// 2D drawing in window pixels from the lower-left corner: the projection and the camera are
// saved on their stacks and replaced; endWindowPixels gives them back.
void beginWindowPixels();
void endWindowPixels();

// A textured quad of width x height pixels from the current origin, over the full picture
// width, from t = tBottom at its foot to tTop at its head.
void drawPictureQuad(float tBottom, float tTop, int width, int height);
