#pragma once

// Draws the board, the pieces, the animations, the status messages and the logo.
void drawGameScreen();
