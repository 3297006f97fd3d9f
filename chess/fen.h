#pragma once

#include "chess/board.h"

// Sets `target` to the position of a FEN record (placement, side to move, castling rights,
// en passant square; the move counters may follow and are ignored), with its attack and pin
// fields and its status bits. Returns 1, or 0 for a malformed or impossible record, which
// leaves `target` unchanged and, given `fault`, points it at a sentence that says why.
int setFromFen(Board& target, const char* fen, const char** fault = nullptr);
