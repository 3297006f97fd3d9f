#pragma once

// The cells each piece reaches from each cell of an empty board, worked out from the step
// table when the program is compiled. A ray is numbered by its entry 0..7 of the step table,
// in the direction a white piece steps.

#include "chess/position.h"
#include "chess/steps.h"

constexpr bool isPlayingSquare(int index) {
    return fileOf(index) >= 1 && fileOf(index) <= 8 && rankOf(index) >= 1 && rankOf(index) <= 8;
}

// The cell one step from cell, or NoSquare off the board.
constexpr int cellAfter(int cell, const Step& step) {
    const int file = cell % 8 + step.file, row = cell / 8 - step.rank;
    return file >= 0 && file < 8 && row >= 0 && row < 8 ? row * 8 + file : NoSquare;
}

// A pawn of colour s steps this many cells forward: rank 8 is row 0.
constexpr int pawnPushOf(int s) { return -8 * s; }

// Rays 0..3 run along diagonals, 4..7 along files and ranks.
constexpr bool isDiagonalRay(int ray) { return ray < 4; }

// The entry a black piece uses in place of entry: the same step negated.
constexpr int mirroredEntry(int entry) { return entry < 8 ? entry ^ 2 : entry ^ 4; }
static_assert(DirectionDeltas[mirroredEntry(0)] == -DirectionDeltas[0] &&
              DirectionDeltas[mirroredEntry(5)] == -DirectionDeltas[5] &&
              DirectionDeltas[mirroredEntry(9)] == -DirectionDeltas[9]);

struct Geometry {
    // For each entry, the cell one step away (white's direction), NoSquare off the board.
    std::int8_t stepCells[16][64];
    // The cells from a cell outwards along a ray, to the edge.
    Bitboard rays[8][64];
    // Whether a ray runs towards higher cells, so that its nearest cell is the lowest.
    bool rising[8];
    Bitboard knightAttacks[64];
    Bitboard kingAttacks[64];
    Bitboard pawnAttacks[2][64]; // by colour: white, black
    // The ray from one cell through another, NoSquare when they share no line.
    std::int8_t rayTowards[64][64];

    constexpr Geometry()
        : stepCells(), rays(), rising(), knightAttacks(), kingAttacks(), pawnAttacks(),
          rayTowards() {
        for (int entry = 0; entry < 16; ++entry)
            for (int cell = 0; cell < 64; ++cell)
                stepCells[entry][cell] =
                    static_cast<std::int8_t>(cellAfter(cell, stepOf(DirectionDeltas[entry])));
        for (int ray = 0; ray < 8; ++ray) {
            const Step step = stepOf(DirectionDeltas[ray]);
            rising[ray] = step.file - 8 * step.rank > 0;
            for (int cell = 0; cell < 64; ++cell)
                for (int at = cellAfter(cell, step); at != NoSquare; at = cellAfter(at, step))
                    rays[ray][cell] |= Bitboard{1} << at;
        }
        for (int from = 0; from < 64; ++from)
            for (int to = 0; to < 64; ++to) {
                rayTowards[from][to] = NoSquare;
                for (int ray = 0; ray < 8; ++ray)
                    if ((rays[ray][from] >> to) & 1)
                        rayTowards[from][to] = static_cast<std::int8_t>(ray);
            }
        for (int cell = 0; cell < 64; ++cell) {
            for (int entry = 0; entry < 8; ++entry) {
                const int knight = stepCells[entry + 8][cell], king = stepCells[entry][cell];
                if (knight != NoSquare) knightAttacks[cell] |= Bitboard{1} << knight;
                if (king != NoSquare) kingAttacks[cell] |= Bitboard{1} << king;
            }
            for (int s = 1; s >= -1; s -= 2)
                for (int df = -1; df <= 1; df += 2) {
                    const int at = cellAfter(cell, {0, df, s});
                    if (at != NoSquare) pawnAttacks[s > 0 ? 0 : 1][cell] |= Bitboard{1} << at;
                }
        }
    }
};

inline constexpr Geometry geometry;

// The occupied cell nearest to the ray's start among cells, which lie on the ray.
inline int nearestOnRay(int ray, Bitboard cells) {
    return geometry.rising[ray] ? lowestCell(cells) : highestCell(cells);
}

// The cells a slider reaches along a ray: up to and including the first occupied one.
inline Bitboard rayAttacks(int ray, int cell, Bitboard occupied) {
    const Bitboard line = geometry.rays[ray][cell];
    const Bitboard blockers = line & occupied;
    if (!blockers) return line;
    return line & ~geometry.rays[ray][nearestOnRay(ray, blockers)];
}
