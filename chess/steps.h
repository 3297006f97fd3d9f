#pragma once

// The step table: the sixteen index deltas of the board, and for each piece type the directions
// it moves in, in generation order.

#include "chess/board.h"

constexpr int DirectionDeltas[16] = {13,  11,  -13, -11, -1, -12, 1,  12,
                                     -25, -23, -10, 14,  25, 23,  10, -14};

struct PieceDirections {
    int count;
    int dirs[8];
    bool stepOnce;
};

// Indexed by piece type; slot 0 holds no type.
constexpr PieceDirections pieceDirections[7] = {
    {0, {}, false},
    {1, {5}, true},                            // pawn: forward only
    {4, {4, 5, 6, 7}, false},                  // rook
    {8, {8, 9, 10, 11, 12, 13, 14, 15}, true}, // knight
    {4, {0, 1, 2, 3}, false},                  // bishop
    {8, {0, 1, 2, 3, 4, 5, 6, 7}, false},      // queen
    {8, {0, 1, 2, 3, 4, 5, 6, 7}, true},       // king
};

// One step of a white piece as an index delta and as a file and a rank step; a black piece
// steps by the negated values.
struct Step {
    int delta;
    int file;
    int rank;
};

constexpr Step stepOf(int delta) {
    const int file = ((delta % 12) + 12 + 2) % 12 - 2;
    return {delta, file, (file - delta) / 12};
}

static_assert(stepOf(-25).file == -1 && stepOf(-25).rank == 2);
static_assert(stepOf(14).file == 2 && stepOf(14).rank == -1);
