#pragma once

#include <SDL.h>

// Handles a key press; only the key symbol is read.
void onKey(const SDL_keysym& keysym);

// Handles a mouse-button press at window pixels (x, y) from the top-left corner: a left
// click on the board acts on the square under the pointer.
void onMouseButton(const SDL_MouseButtonEvent& event);

// A left click on square (file, rank), or on (-1, -1) off the board: selects a piece or, on
// one of the selected piece's targets, plays the move. Ignored unless the player to move may
// click.
void onSquareClick(int file, int rank);

// Lets the computer choose and play its move on the game board, starting the move animation.
void computerMove();
