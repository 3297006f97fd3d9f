#pragma once

// Clears the buffers, draws the screen the state bits choose and swaps; returns 1. Reads the
// state and changes none of it.
int drawFrame();

// Polls and dispatches every pending event, advances the game to the current tick and draws
// a frame, until a quit event.
void runEventLoop();

// Frees the meshes (when loaded) and the font lists, then ends with status 0.
[[noreturn]] void shutDown();
