#pragma once

#include <cstdint>

#include "chess/board.h"
#include "chess/position.h"

// The computer player: a three-ply alpha-beta search over the legal moves, played and taken
// back on a board of its own, with an evaluation of material, mobility and check.

// The best score; its negation is the worst, so every score can be negated.
constexpr std::int32_t SearchMax = 2147483647;

// Material by piece type 0..7 (empty, pawn, rook, knight, bishop, queen, king, border).
constexpr std::int32_t materialValues[8] = {0, 100, 500, 300, 300, 950, 5000, 0};

class ComputerPlayer : public Board {
  public:
    ComputerPlayer();

    // The move chosen for the side to move of position, or (0, 0, 0, 0) when it has none.
    // Leaves a copy of position on this board.
    Move chooseMove(const Board& position);
    // Moves of the side to move of this board, ordered by from-square index, then by the
    // order of legalTargets; the caller owns the list.
    Move* allMoves() const;
    // Appends a node at the tail; returns the head (the new node for an empty list).
    static Move* appendMove(Move* list, int fromFile, int fromRank, int toFile, int toRank);
    // Fail-hard alpha-beta value of this board, depth plies deep, for its side to move.
    int search(int depth, int alpha, int beta);
    // Static score of this board from engineColour's point of view.
    int evaluate() const;

    // The colour the current search plays for.
    std::int32_t engineColour;
    // Counted by the last chooseMove: moves played on this board and positions evaluated.
    std::uint64_t movesMade;
    std::uint64_t positionsEvaluated;

  private:
    int search(const Position& position, int depth, int alpha, int beta);
    int evaluate(const Position& position) const;
};

// The computer player, whose board is the search's scratch position.
extern ComputerPlayer computer;
