#pragma once

#include "chess/board.h"

// Runs a probe command of the computer player (argv[1] names it); returns the exit status,
// or -1 when argv[1] is not one of its commands.
int runSearchCommand(int argc, char** argv);

// Reads a FEN record into position; 0 after saying on stderr why it is not a position.
int readPosition(const char* fen, Board& position);
