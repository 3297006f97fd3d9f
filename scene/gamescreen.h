#pragma once

// One frame of a running game: the camera, the highlights, the board and pieces or the
// running animation, then at most one status message and the logo in the top-right corner.
void drawGameScreen();
