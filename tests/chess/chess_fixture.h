#pragma once

// Positions from FEN records, the tables of cases kept beside the tests, and readable views of
// boards and of their legal moves.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "chess/board.h"
#include "chess/fen.h"

using Names = std::vector<std::string>;

inline Names wordsOf(const std::string& text) {
    std::istringstream in(text);
    Names words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The rows of a data file beside the tests, each split at '|' into fields without their outer
// spaces; lines starting with # are comments.
inline std::vector<Names> rowsIn(const char* file) {
    std::ifstream in(std::string(CHESS_TEST_DATA) + "/" + file);
    std::vector<Names> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line + " "); // keeps an empty last field
        rows.emplace_back();
        for (std::string field; std::getline(row, field, '|');) {
            field.erase(0, field.find_first_not_of(' '));
            field.erase(field.find_last_not_of(' ') + 1);
            rows.back().push_back(field);
        }
    }
    EXPECT_FALSE(rows.empty()) << file;
    return rows;
}

inline Board fromFen(const std::string& fen) {
    Board b;
    EXPECT_EQ(setFromFen(b, fen.c_str()), 1) << fen;
    return b;
}

inline std::string squareName(int index) {
    return {static_cast<char>('a' + fileOf(index) - 1), static_cast<char>('0' + rankOf(index))};
}

// The legal moves of the side to move as (from, to) square indices, by from-square index and
// then in the order of each piece's target list.
inline std::vector<std::pair<int, int>> legalMoves(const Board& b) {
    std::vector<std::pair<int, int>> moves;
    for (int from = 0; from < BoardSquares; ++from) {
        MoveTarget* const targets = b.legalTargets(from);
        for (const MoveTarget* t = targets; t; t = t->next)
            moves.emplace_back(from, squareIndex(t->file, t->rank));
        freeTargets(targets);
    }
    return moves;
}

// Plays moves written like "e2e4 e7e5 a7a8q", a fifth letter naming the promoted piece and a
// letter alone asking for another promotion; false as soon as a move is refused.
inline bool playAll(Board& b, const std::string& moves) {
    for (const std::string& move : wordsOf(moves)) {
        if (move.size() >= 4 &&
            b.makeMove(squareFromText(move.c_str()), squareFromText(move.c_str() + 2)) != 1)
            return false;
        if (move.size() % 4 == 1)
            b.promote(static_cast<int>(std::string(" prnbqk").find(move.back())));
    }
    return true;
}

// The piece placement as a FEN record writes it, rank 8 first, then the side to move and the
// en passant square.
inline std::string positionOf(const Board& b) {
    std::string out;
    for (int rank = 8; rank >= 1; --rank) {
        for (int file = 1; file <= 8; ++file) {
            const int code = b.squares[squareIndex(file, rank)].piece;
            if (code == 0 && !out.empty() && out.back() >= '1' && out.back() <= '7')
                ++out.back();
            else
                out += code == 0 ? '1' : "kqbnrp?PRNBQK"[code + King];
        }
        out += rank > 1 ? "/" : b.sideToMove > 0 ? " w " : " b ";
    }
    return out + (b.enPassant < 0 ? "-" : squareName(b.enPassant));
}
