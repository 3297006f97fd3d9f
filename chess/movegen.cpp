#include "chess/board.h"

#include <initializer_list>

namespace {

bool isPiece(int code) { return code >= -6 && code <= 6 && code != 0; }

// A line from (file, rank) to (toFile, toRank) that a slider can run along, with its unit step.
bool usableLine(int dx, int dy, int& fx, int& fy) {
    const int ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    if (!(ax == ay || (dx == 0) != (dy == 0))) return false;
    fx = signOf(dx);
    fy = signOf(dy);
    return fx != 0 || fy != 0;
}

// Whether a slider of `type` moves along a line with steps (fx, fy).
bool sliderUsesLine(int type, int fx, int fy) {
    const bool diagonal = fx != 0 && fy != 0;
    if (type == 5) return true;
    if (type == 4) return diagonal;
    return type == 2 && !diagonal;
}

int stepOf(int fromFile, int fromRank, int file, int rank) {
    return squareIndex(file, rank) - squareIndex(fromFile, fromRank);
}

} // namespace

MoveTarget* Board::attackedSquares(int index) const {
    const int code = squares[index].piece;
    if (!isPiece(code)) return nullptr;
    const int s = signOf(code);
    MoveTarget* list = nullptr;
    if (typeOf(code) == 1) {
        for (const int delta : {-11 * s, -13 * s}) {
            const int target = index + delta;
            list = appendTarget(list, fileOf(target), rankOf(target), 0, 0);
        }
        return list;
    }
    const PieceType& type = pieceTypes[typeOf(code)];
    for (const std::uint8_t dir : type.dirs) {
        if (dir == NoDirection) continue;
        const int delta = directions[dir] * s;
        for (int target = index + delta;; target += delta) {
            list = appendTarget(list, fileOf(target), rankOf(target), 0, 0);
            const int held = squares[target].piece;
            if (held != 0 && held != -6 * s) break;
            if (type.stepOnce) break;
        }
    }
    return list;
}

int Board::countAttacks() {
    int indicator = 0;
    for (int index = 0; index < BoardSquares; ++index) {
        const int code = squares[index].piece;
        if (!isPiece(code)) continue;
        MoveTarget* list = attackedSquares(index);
        for (const MoveTarget* node = list; node; node = node->next) {
            Square& target = squares[squareIndex(node->file, node->rank)];
            if (code > 0) {
                ++target.whiteAttackers;
                target.whiteAttacker = index;
                if (target.piece == -6) indicator = -1;
            } else {
                ++target.blackAttackers;
                target.blackAttacker = index;
                if (target.piece == 6) indicator = 1;
            }
        }
        freeTargets(list);
    }
    return indicator;
}

void Board::markPin(int index, int kingFile, int kingRank) {
    const int code = squares[index].piece;
    const int type = typeOf(code);
    if (type != 2 && type != 4 && type != 5) return;
    int fx, fy;
    if (!usableLine(kingFile - fileOf(index), kingRank - rankOf(index), fx, fy)) return;
    if (!sliderUsesLine(type, fx, fy)) return;
    const int kingSquare = squareIndex(kingFile, kingRank);
    const int delta = stepOf(0, 0, fx, fy);
    int between = -1;
    for (int square = index + delta;; square += delta) {
        if (square == kingSquare) break;
        const int held = squares[square].piece;
        if (held == 0) continue;
        if (held == BorderCode || signOf(held) == signOf(code)) return;
        if (between != -1) return;
        between = square;
    }
    if (between == -1) return;
    squares[between].pinned = 1;
    squares[between].pinFile = fx;
    squares[between].pinRank = fy;
}

int Board::refreshAttackMap() {
    clearDerivedFields();
    int whiteKingFile, whiteKingRank, blackKingFile, blackKingRank;
    findKing(1, whiteKingFile, whiteKingRank);
    findKing(-1, blackKingFile, blackKingRank);
    const int indicator = countAttacks();
    for (int index = 0; index < BoardSquares; ++index) {
        const int code = squares[index].piece;
        if (!isPiece(code)) continue;
        if (code > 0 && blackKingFile != -1) markPin(index, blackKingFile, blackKingRank);
        if (code < 0 && whiteKingFile != -1) markPin(index, whiteKingFile, whiteKingRank);
    }
    return indicator;
}

MoveTarget* Board::evasionSquares(int checker) const {
    const int code = squares[checker].piece;
    const int type = typeOf(code);
    MoveTarget* list = nullptr;
    if (type == 2 || type == 4 || type == 5) {
        int kingFile, kingRank, fx, fy;
        findKing(-signOf(code), kingFile, kingRank);
        if (kingFile != -1 &&
            usableLine(kingFile - fileOf(checker), kingRank - rankOf(checker), fx, fy)) {
            const int kingSquare = squareIndex(kingFile, kingRank);
            const int delta = stepOf(0, 0, fx, fy);
            for (int square = checker + delta; square != kingSquare; square += delta) {
                if (squares[square].piece == BorderCode) break;
                list = appendTarget(list, fileOf(square), rankOf(square), 0, 0);
            }
        }
    }
    return appendTarget(list, fileOf(checker), rankOf(checker), 0, 0);
}

bool Board::pinAllows(int index, int fx, int fy) const {
    const Square& square = squares[index];
    if (!square.pinned) return true;
    return (square.pinFile == fx && square.pinRank == fy) ||
           (square.pinFile == -fx && square.pinRank == -fy);
}

// The opponent's attack count of a square, seen from the mover's colour.
int Board::opponentAttacks(int index, int mover) const {
    return mover > 0 ? squares[index].blackAttackers : squares[index].whiteAttackers;
}

// An en passant capture empties two squares of one rank at once, which can open a line onto
// the mover's own king that no pin describes; it is tried on a copy of the placement.
bool Board::enPassantIsSafe(int from, int to) const {
    const int code = squares[from].piece;
    const int s = signOf(code);
    std::int8_t pieces[BoardSquares];
    for (int i = 0; i < BoardSquares; ++i)
        pieces[i] = squares[i].piece;
    pieces[to] = pieces[from];
    pieces[from] = 0;
    pieces[to + 12 * s] = 0;
    int king = -1;
    for (int i = 0; i < BoardSquares; ++i)
        if (pieces[i] == 6 * s) king = i;
    if (king == -1) return true;
    for (int dir = 0; dir < 8; ++dir) {
        const int delta = directions[dir];
        const bool diagonal = dir < 4;
        for (int square = king + delta;; square += delta) {
            const int held = pieces[square];
            if (held == 0) continue;
            if (held != BorderCode && signOf(held) == -s) {
                const int type = typeOf(held);
                if (type == 5 || (diagonal ? type == 4 : type == 2)) return false;
                if (square == king + delta && type == 6) return false;
            }
            break;
        }
    }
    for (int dir = 8; dir < 16; ++dir)
        if (pieces[king + directions[dir]] == -3 * s) return false;
    for (const int delta : {-11 * s, -13 * s})
        if (pieces[king + delta] == -s) return false;
    return true;
}

// One direction of a piece: adds the squares its walk allows and `inTargets` accepts.
MoveTarget* Board::walk(MoveTarget* list, int index, int delta, const MoveTarget* only) const {
    const int code = squares[index].piece;
    const PieceType& type = pieceTypes[typeOf(code)];
    for (int target = index + delta;; target += delta) {
        const int held = squares[target].piece;
        if (held == BorderCode || (held != 0 && signOf(held) == signOf(code))) break;
        const bool enemy = held != 0;
        bool add = true;
        if (type.isPawn && enemy) add = false;
        if (type.isKing && opponentAttacks(target, code) != 0) add = false;
        if (add && only && !type.isKing &&
            !targetListContains(fileOf(target), rankOf(target), only))
            add = false;
        if (add) list = appendTarget(list, fileOf(target), rankOf(target), 0, 0);
        if (enemy || type.stepOnce) break;
    }
    return list;
}

MoveTarget* Board::pawnExtras(MoveTarget* list, int index, const MoveTarget* only) const {
    const int s = signOf(squares[index].piece);
    const auto allowed = [&](int target) {
        return !only || targetListContains(fileOf(target), rankOf(target), only);
    };
    const int right = index - 11 * s, left = index - 13 * s;
    if (isEnemy(s, squares[right].piece) && pinAllows(index, s, s) && allowed(right))
        list = appendTarget(list, fileOf(right), rankOf(right), 0, 0);
    if (isEnemy(s, squares[left].piece) && pinAllows(index, -s, s) && allowed(left))
        list = appendTarget(list, fileOf(left), rankOf(left), 0, 0);
    const int homeRank = s > 0 ? 2 : 7;
    const int two = index - 24 * s;
    if (squares[index].untouched && rankOf(index) == homeRank && sideToMove == s &&
        pinAllows(index, 0, s) && squares[index - 12 * s].piece == 0 && squares[two].piece == 0 &&
        allowed(two))
        list = appendTarget(list, fileOf(two), rankOf(two), 0, 1);
    if (enPassant != -1) {
        const bool viaRight = enPassant == right && pinAllows(index, s, s);
        const bool viaLeft = !viaRight && enPassant == left && pinAllows(index, -s, s);
        // In check the capture must take the checking pawn or block the checking line.
        const int captured = enPassant + 12 * s;
        const bool answersCheck = !only ||
                                  targetListContains(fileOf(captured), rankOf(captured), only) ||
                                  targetListContains(fileOf(enPassant), rankOf(enPassant), only);
        if ((viaRight || viaLeft) && answersCheck && enPassantIsSafe(index, enPassant))
            list = appendTarget(list, fileOf(enPassant), rankOf(enPassant), 0, 0);
    }
    return list;
}

MoveTarget* Board::castlingTargets(MoveTarget* list, int index) const {
    if ((index != 114 && index != 30) || !squares[index].untouched) return list;
    const int king = squares[index].piece;
    const auto safe = [&](int square) {
        return squares[square].piece == 0 && opponentAttacks(square, king) == 0;
    };
    const Square& kingRook = squares[index + 3];
    if (typeOf(kingRook.piece) == 2 && kingRook.untouched && safe(index + 1) && safe(index + 2))
        list = appendTarget(list, fileOf(index + 2), rankOf(index), 1, 0);
    const Square& queenRook = squares[index - 4];
    if (typeOf(queenRook.piece) == 2 && queenRook.untouched && safe(index - 1) && safe(index - 2) &&
        squares[index - 3].piece == 0)
        list = appendTarget(list, fileOf(index - 2), rankOf(index), 2, 0);
    return list;
}

MoveTarget* Board::legalTargets(int index) const {
    if (index < 0 || index >= BoardSquares) return nullptr;
    if (!isSideToMovePiece(index) && !(status & ProbeEitherSide)) return nullptr;
    const int code = squares[index].piece;
    if (!isPiece(code)) return nullptr;
    const int s = signOf(code);
    const PieceType& type = pieceTypes[typeOf(code)];
    const bool inCheck = (sideToMove == -1 && (status & BlackInCheck)) ||
                         (sideToMove == 1 && (status & WhiteInCheck));
    MoveTarget* list = nullptr;

    if (!inCheck) {
        for (const std::uint8_t dir : type.dirs) {
            if (dir == NoDirection) continue;
            const int delta = directions[dir] * s;
            const int target = index + delta;
            if (pinAllows(index, fileOf(target) - fileOf(index), rankOf(target) - rankOf(index)))
                list = walk(list, index, delta, nullptr);
        }
        if (type.isKing) list = castlingTargets(list, index);
        if (type.isPawn) list = pawnExtras(list, index, nullptr);
        return list;
    }

    int kingFile, kingRank;
    findKing((status & BlackInCheck) ? -1 : 1, kingFile, kingRank);
    if (kingFile == -1) return nullptr;
    const int kingSquare = squareIndex(kingFile, kingRank);
    const int kingCode = squares[kingSquare].piece;
    if (opponentAttacks(kingSquare, kingCode) > 1) {
        if (!type.isKing || code != 6 * sideToMove) return nullptr;
        for (const std::uint8_t dir : type.dirs) {
            if (dir == NoDirection) continue;
            const int target = index + directions[dir] * s;
            const int held = squares[target].piece;
            if ((held == 0 || isEnemy(code, held)) && opponentAttacks(target, code) == 0)
                list = appendTarget(list, fileOf(target), rankOf(target), 0, 0);
        }
        return list;
    }
    const int checker =
        kingCode > 0 ? squares[kingSquare].blackAttacker : squares[kingSquare].whiteAttacker;
    if (checker < 0) return nullptr;
    MoveTarget* evasions = evasionSquares(checker);
    for (const std::uint8_t dir : type.dirs) {
        if (dir == NoDirection) continue;
        const int delta = directions[dir] * s;
        const int target = index + delta;
        if (type.isKing ||
            pinAllows(index, fileOf(target) - fileOf(index), rankOf(target) - rankOf(index)))
            list = walk(list, index, delta, evasions);
    }
    if (type.isPawn) list = pawnExtras(list, index, evasions);
    freeTargets(evasions);
    return list;
}

MoveTarget* Board::legalTargetsAt(int file, int rank) const {
    return legalTargets(squareIndex(file, rank));
}

int Board::hasNoLegalMove(int colour) {
    for (int index = 0; index < BoardSquares; ++index) {
        const int code = squares[index].piece;
        if (!isPiece(code) || signOf(code) != colour) continue;
        status |= ProbeEitherSide;
        MoveTarget* list = legalTargets(index);
        status &= ~ProbeEitherSide;
        if (list) {
            freeTargets(list);
            return 0;
        }
    }
    return 1;
}
