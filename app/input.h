#pragma once

#include <SDL.h>

// Handles a key press; only the key symbol is read.
void onKey(const SDL_keysym& keysym);

// Handles a mouse-button press at window pixels (x, y) from the top-left corner.
void onMouseButton(const SDL_MouseButtonEvent& event);

// Lets the computer choose and play its move on the game board, starting the move animation.
void computerMove();
