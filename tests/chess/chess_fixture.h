#pragma once

// Positions from FEN records and readable views of the generated lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chess/board.h"
#include "chess/fen.h"

inline Board fromFen(const char* fen) {
    Board b;
    EXPECT_EQ(setFromFen(b, fen), 1) << fen;
    return b;
}

inline std::string squareName(int file, int rank) {
    if (file < 1 || file > 8 || rank < 1 || rank > 8) return "??";
    return std::string(1, static_cast<char>('a' + file - 1)) + static_cast<char>('0' + rank);
}

// Takes a list, names its squares in order and frees it.
inline std::vector<std::string> names(MoveTarget* list) {
    std::vector<std::string> out;
    for (const MoveTarget* node = list; node; node = node->next)
        out.push_back(squareName(node->file, node->rank));
    freeTargets(list);
    return out;
}

inline std::vector<std::string> targetsOf(const Board& b, const char* square) {
    return names(b.legalTargets(squareFromText(square)));
}

// Every legal move of the side to move as "e2e4", in from-square index order.
inline std::vector<std::string> allMovesOf(const Board& b) {
    std::vector<std::string> out;
    for (int from = 0; from < BoardSquares; ++from)
        for (const std::string& to : names(b.legalTargets(from)))
            out.push_back(squareName(fileOf(from), rankOf(from)) + to);
    return out;
}

inline int playMoves(Board& b, std::initializer_list<const char*> moves) {
    int played = 0;
    for (const char* move : moves) {
        const std::string text(move);
        if (!b.makeMove(squareFromText(text.substr(0, 2).c_str()),
                        squareFromText(text.substr(2, 2).c_str())))
            break;
        ++played;
    }
    return played;
}

using Names = std::vector<std::string>;
