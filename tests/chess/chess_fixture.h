#pragma once

// Positions from FEN records and readable views of boards and of the generated lists.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
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

// The records of a data file beside the tests, one a line; lines starting with # are comments.
inline Names recordsIn(const char* file) {
    std::ifstream in(std::string(CHESS_TEST_DATA) + "/" + file);
    Names records;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') records.push_back(line);
    EXPECT_FALSE(records.empty()) << file;
    return records;
}

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
inline Names names(MoveTarget* list) {
    Names out;
    for (const MoveTarget* node = list; node; node = node->next)
        out.push_back(squareName(node->file, node->rank));
    freeTargets(list);
    return out;
}

inline Names targetsOf(const Board& b, const char* square) {
    return names(b.legalTargets(squareFromText(square)));
}

// Every legal move of the side to move as "e2e4", in from-square index order.
inline Names allMovesOf(const Board& b) {
    Names out;
    for (int from = 0; from < BoardSquares; ++from)
        for (const std::string& to : names(b.legalTargets(from)))
            out.push_back(squareName(fileOf(from), rankOf(from)) + to);
    return out;
}

// Plays moves written like "e2e4 e7e5 a7a8q", a fifth letter naming the promoted piece;
// false as soon as one is refused.
inline bool playAll(Board& b, const char* moves) {
    std::istringstream in(moves);
    for (std::string move; in >> move;) {
        if (b.makeMove(squareFromText(move.substr(0, 2).c_str()),
                       squareFromText(move.substr(2, 2).c_str())) != 1)
            return false;
        if (move.size() == 5) b.promote(static_cast<int>(std::string(" prnbqk").find(move[4])));
    }
    return true;
}

// The piece placement of a FEN record, rank 8 first.
inline std::string placementOf(const Board& b) {
    std::string out;
    for (int rank = 8; rank >= 1; --rank) {
        int empty = 0;
        for (int file = 1; file <= 8; ++file) {
            const int code = b.squareAt(file, rank).piece;
            if (code == 0) {
                ++empty;
                continue;
            }
            if (empty) out += static_cast<char>('0' + empty);
            empty = 0;
            const char letter = " prnbqk"[typeOf(code)];
            out += code > 0 ? static_cast<char>(letter - 'a' + 'A') : letter;
        }
        if (empty) out += static_cast<char>('0' + empty);
        if (rank > 1) out += '/';
    }
    return out;
}
