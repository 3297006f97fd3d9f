#include "chess/fen.h"

#include <cstring>

#include "chess/position.h"

namespace {

int pieceCode(char c) {
    static const char letters[] = "prnbqk";
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    const char* found = std::strchr(letters, lower);
    if (!found || !*found) return 0;
    const int type = static_cast<int>(found - letters) + 1;
    // The letters run pawn, rook, knight, bishop, queen, king: the board's type codes.
    return c == lower ? -type : type;
}

const char* skipSpaces(const char* p) {
    while (*p == ' ')
        ++p;
    return p;
}

bool readPlacement(Board& b, const char*& p) {
    for (int rank = 8; rank >= 1; --rank) {
        int file = 1;
        while (file <= 8) {
            const char c = *p++;
            if (c >= '1' && c <= '8') {
                file += c - '0';
            } else if (const int code = pieceCode(c)) {
                if (typeOf(code) == Pawn && (rank == promotionRank(1) || rank == promotionRank(-1)))
                    return false;
                b.squares[squareIndex(file, rank)].piece = static_cast<std::int8_t>(code);
                ++file;
            } else {
                return false;
            }
        }
        if (file != 9) return false;
        if (rank > 1 && *p++ != '/') return false;
    }
    return true;
}

bool readCastling(Board& b, const char*& p) {
    bool rights[4] = {}; // K Q k q
    if (*p == '-') {
        ++p;
    } else {
        static const char letters[] = "KQkq";
        for (; *p && *p != ' '; ++p) {
            const char* found = std::strchr(letters, *p);
            if (!found) return false;
            rights[found - letters] = true;
        }
    }
    // A right is kept only with its king and rook on their home squares.
    const int home[4] = {WhiteKingHome, WhiteKingHome, BlackKingHome, BlackKingHome};
    const int offset[4] = {KingSideRookOffset, QueenSideRookOffset, KingSideRookOffset,
                           QueenSideRookOffset};
    for (int i = 0; i < 4; ++i) {
        const int colour = i < 2 ? 1 : -1;
        const bool kingHome = b.squares[home[i]].piece == King * colour;
        const bool rookHome = b.squares[home[i] + offset[i]].piece == Rook * colour;
        if (!kingHome || !rookHome) rights[i] = false;
    }
    for (int i = 0; i < 4; ++i)
        if (!rights[i]) b.squares[home[i] + offset[i]].untouched = 0;
    if (!rights[0] && !rights[1]) b.squares[WhiteKingHome].untouched = 0;
    if (!rights[2] && !rights[3]) b.squares[BlackKingHome].untouched = 0;
    return true;
}

bool readEnPassant(Board& b, const char*& p) {
    if (*p == '-') {
        ++p;
        b.enPassant = -1;
        return true;
    }
    const char square[3] = {p[0], p[0] ? p[1] : '\0', 0};
    const int expectedRank = b.sideToMove > 0 ? '6' : '3';
    if (square[0] < 'a' || square[0] > 'h' || square[1] != expectedRank) return false;
    // The square passed over and the one it started from are empty, and the pawn that made
    // the double step stands behind it.
    const int passed = squareFromText(square);
    const int s = b.sideToMove;
    if (b.squares[passed].piece != 0 || b.squares[passed + PawnPush * s].piece != 0 ||
        b.squares[passed - PawnPush * s].piece != -Pawn * s)
        return false;
    b.enPassant = passed;
    p += 2;
    return true;
}

int countPieces(const Board& b, int code) {
    int count = 0;
    for (const Square& square : b.squares)
        count += square.piece == code;
    return count;
}

// A record that the reader takes apart without a fault; the position it gives is judged after.
bool readRecord(Board& b, const char* fen) {
    const char* p = skipSpaces(fen);
    if (!readPlacement(b, p) || *p != ' ') return false;
    p = skipSpaces(p);
    if (*p != 'w' && *p != 'b') return false;
    b.sideToMove = *p++ == 'w' ? 1 : -1;
    if (*p != ' ') return false;
    p = skipSpaces(p);
    if (!readCastling(b, p) || *p != ' ') return false;
    p = skipSpaces(p);
    if (!readEnPassant(b, p)) return false;
    // Two optional move counters and nothing else may follow.
    for (int counters = 0; counters < 2; ++counters) {
        p = skipSpaces(p);
        if (!*p) break;
        while (*p >= '0' && *p <= '9')
            ++p;
        if (*p && *p != ' ') return false;
    }
    return !*skipSpaces(p);
}

} // namespace

int setFromFen(Board& target, const char* fen, const char** fault) {
    const char* ignored;
    const char*& why = fault ? *fault : ignored;
    Board b;
    for (int rank = 1; rank <= 8; ++rank)
        for (int file = 1; file <= 8; ++file)
            b.squares[squareIndex(file, rank)].piece = 0;
    b.status = 0;
    if (!fen || !readRecord(b, fen)) {
        why = "not a FEN record, or a pawn or an en passant square where none can stand";
        return 0;
    }
    if (countPieces(b, King) != 1 || countPieces(b, -King) != 1) {
        why = "each side needs exactly one king";
        return 0;
    }
    // The side that has just moved cannot have left its own king in check.
    const Position position(b);
    if (position.attackersOf(position.kingCell(-b.sideToMove), b.sideToMove)) {
        why = "the side not to move is in check";
        return 0;
    }
    b.updateStatus();
    target = b;
    return 1;
}
