// The seven models of the game: six pieces in the frame of one square, and the board.
#pragma once

#include "app/core/assetnames.h"
#include "geometry.h"

// Each piece indexes the list of the game's models.
enum PieceType {
    King = KingModel,
    Queen = QueenModel,
    Bishop = BishopModel,
    Knight = KnightModel,
    Rook = RookModel,
    Pawn = PawnModel
};

Model buildPiece(PieceType type);
Model buildBoard();
