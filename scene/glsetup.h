#pragma once

// Sets the fixed OpenGL state and loads the 2D pictures and the font; 0 on failure.
int initGL();

// Sets the viewport and projection for a window of width x height pixels.
void resizeGL(int width, int height);
