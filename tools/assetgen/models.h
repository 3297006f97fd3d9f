// The seven models of the game: six pieces in the frame of one square, and the board.
#pragma once

#include "geometry.h"

enum PieceType { King, Queen, Bishop, Knight, Rook, Pawn };

Model buildPiece(PieceType type);
Model buildBoard();
