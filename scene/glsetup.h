#pragma once

// Sets the fixed OpenGL state, loads the 2D pictures and builds the font; 0 when a picture
// cannot be loaded.
int initGL();

// Sets the viewport and the perspective projection for a window of width x height pixels.
int resizeGL(int width, int height);
