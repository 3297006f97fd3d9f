#include "chess/board.h"

int Board::makeMove(int from, int to) {
    if (from < 0 || from >= BoardSquares || to < 0 || to >= BoardSquares) return 0;
    MoveTarget* list = legalTargets(from);
    if (!list) return 0;
    int castle = 0, doubleStep = 0;
    bool found = false;
    for (const MoveTarget* node = list; node; node = node->next)
        if (!found && node->file == fileOf(to) && node->rank == rankOf(to)) {
            castle = node->castle;
            doubleStep = node->doubleStep;
            found = true;
        }
    freeTargets(list);
    if (!found) return 0;

    const int code = squares[from].piece;
    const int s = signOf(code);
    const bool pawn = code == s;
    if (pawn && enPassant == to) squares[to + 12 * s].piece = 0;
    enPassant = doubleStep ? from - 12 * s : -1;
    squares[to].piece = static_cast<std::int8_t>(code);
    squares[from].piece = 0;
    if ((code == 1 && rankOf(to) == 8) || (code == -1 && rankOf(to) == 1))
        status |= PromotionPending;
    if (castle == 1) {
        squares[from + 1].piece = squares[from + 3].piece;
        squares[from + 3].piece = 0;
        squares[from + 3].untouched = squares[from + 1].untouched = 0;
    } else if (castle == 2) {
        squares[from - 1].piece = squares[from - 4].piece;
        squares[from - 4].piece = 0;
        squares[from - 4].untouched = squares[from - 1].untouched = 0;
    }
    squares[from].untouched = squares[to].untouched = 0;
    updateStatus();
    sideToMove = -sideToMove;
    return 1;
}

int Board::makeMoveAt(int fromFile, int fromRank, int toFile, int toRank) {
    return makeMove(squareIndex(fromFile, fromRank), squareIndex(toFile, toRank));
}

void Board::updateStatus() {
    if (!(status & KeepSide)) sideToMove = -sideToMove;
    status &= ~(WhiteInCheck | BlackInCheck);
    const int indicator = refreshAttackMap();
    if (indicator == 1) {
        status |= WhiteInCheck;
        if (hasNoLegalMove(1)) status |= WhiteMated;
    } else if (indicator == -1) {
        status |= BlackInCheck;
        if (hasNoLegalMove(-1)) status |= BlackMated;
    } else if (hasNoLegalMove(sideToMove)) {
        status |= Stalemate;
    }
    if (!(status & KeepSide)) sideToMove = -sideToMove;
}

void Board::promote(int type) {
    if (!(status & PromotionPending) || type < 2 || type > 5) return;
    const int rank = sideToMove == -1 ? 8 : 1;
    const int pawn = sideToMove == -1 ? 1 : -1;
    for (int file = 1; file <= 8; ++file) {
        Square& square = squares[squareIndex(file, rank)];
        if (square.piece == pawn) square.piece = static_cast<std::int8_t>(pawn * type);
    }
    // The end-of-game bits of the move's own status update judged the pawn still standing on
    // its last rank; the new piece may turn that stalemate into mate, so they are judged again.
    status &= ~(PromotionPending | WhiteMated | BlackMated | Stalemate);
    status |= KeepSide;
    updateStatus();
    status &= ~KeepSide;
}
