#pragma once

#include <cstdint>

#include "chess/board.h"

// The position the rules work on: the 64 playing squares as cells 0..63 (a8, b8, ... h1, the
// board's index order without the border), the placement as bit sets, and the maps that decide
// legality for the side to move, rebuilt after every move. The board's operations and the
// search both run on it, so the rules exist once.

using Bitboard = std::uint64_t;

constexpr int cellOf(int index) { return (8 - rankOf(index)) * 8 + fileOf(index) - 1; }
constexpr int indexOfCell(int cell) { return squareIndex(cell % 8 + 1, 8 - cell / 8); }
constexpr Bitboard bitOf(int cell) { return Bitboard{1} << cell; }
static_assert(cellOf(FirstSquare) == 0 && cellOf(LastSquare) == 63 && indexOfCell(60) == 114);

inline int lowestCell(Bitboard set) { return __builtin_ctzll(set); }
inline int highestCell(Bitboard set) { return 63 - __builtin_clzll(set); }
inline int countCells(Bitboard set) { return __builtin_popcountll(set); }

// One legal destination of a piece.
struct Destination {
    std::int8_t cell;
    std::int8_t castle; // a CastleKind
    std::int8_t doubleStep;
};

class Position {
  public:
    // The board's placement, side, status and en passant square, with the maps of its side to
    // move.
    explicit Position(const Board& board);
    // Puts the placement, side, status and en passant square into board.
    void copyTo(Board& board) const;

    // Legal destinations of the piece on cell, in generation order, written into out (room for
    // MaxPieceTargets); how many there are. None unless the piece is the side to move's.
    int destinations(int cell, Destination* out) const;
    int countDestinations(int cell) const;
    // How many legal moves the side to move has.
    int countMoves() const;
    // Whether that colour has a legal move, judged as if it were its turn.
    bool hasLegalMove(int colour) const;

    // Plays a destination that destinations(from) gave, turns the side and updates the status.
    void play(int from, const Destination& to);
    // Rejudges check, mate and stalemate for the side to move, and rebuilds the maps.
    void updateStatus();
    // Replaces the pawn waiting on its last rank with type 2..5; the side is kept.
    void promote(int type);

    // The pieces of that colour that attack cell.
    Bitboard attackersOf(int cell, int colour) const;
    // The king of that colour where findKing finds it; NoSquare if none.
    int kingCell(int colour) const;

    std::int8_t piece[64];
    Bitboard byColour[2]; // white, black
    Bitboard byType[7];   // slot 0 unused
    Bitboard untouched;
    std::int32_t sideToMove;
    std::uint32_t status;
    std::int32_t enPassant; // a cell, or NoSquare

  private:
    // +1 if the white king is attacked, -1 if the black king is, 0 if neither; if both, the
    // king whose last attacker in index order comes later.
    int checkIndicator() const;
    template <class Sink> void generate(int cell, Sink& sink) const;
    template <class Sink> void pawnTargets(int cell, Bitboard pinLine, Sink& sink) const;
    template <class Sink> void castlingTargets(int cell, Sink& sink) const;
    void refreshMaps();
    void place(int cell, int code);
    void remove(int cell);
    Bitboard sliderAttacks(int cell, int type, Bitboard occupied) const;
    Bitboard pinnedPieces(int king, int colour) const;
    Bitboard pinLineOf(int cell) const;
    bool enPassantIsSafe(int from, int to) const;

    // The maps of the side to move.
    Bitboard enemyAttacks; // with the mover's own king taken off, so rays run on through it
    Bitboard pinned;
    Bitboard evasions; // where a piece other than the king may go: every cell out of check
    std::int8_t king;
    bool inCheck;  // by the status bits
    bool kingOnly; // double check
    bool noMoves;  // in check, but no king or no checker is found
};
