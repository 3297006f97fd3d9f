#include "chess/board.h"

int Board::makeMove(int from, int to) {
    if (from < 0 || from >= BoardSquares || to < 0 || to >= BoardSquares) return 0;
    MoveTarget found[MaxPieceTargets];
    const int count = collectLegalTargets(from, found);
    for (int i = 0; i < count; ++i) {
        if (squareIndex(found[i].file, found[i].rank) != to) continue;
        playTarget(from, found[i]);
        return 1;
    }
    return 0;
}

int Board::makeMoveAt(int fromFile, int fromRank, int toFile, int toRank) {
    return makeMove(squareIndex(fromFile, fromRank), squareIndex(toFile, toRank));
}

void Board::playTarget(int from, const MoveTarget& target) {
    const int to = squareIndex(target.file, target.rank);
    const int code = squares[from].piece;
    const int s = signOf(code);
    const bool pawn = code == Pawn * s;
    if (pawn && enPassant == to) squares[to - PawnPush * s].piece = 0;
    enPassant = target.doubleStep ? from + PawnPush * s : NoSquare;
    squares[to].piece = static_cast<std::int8_t>(code);
    squares[from].piece = 0;
    if (pawn && rankOf(to) == promotionRank(s)) status |= PromotionPending;
    const auto moveRook = [&](int corner, int square) {
        squares[square].piece = squares[corner].piece;
        squares[corner].piece = 0;
        squares[corner].untouched = squares[square].untouched = 0;
    };
    if (target.castle == KingSide) moveRook(from + KingSideRookOffset, from + FileStep);
    if (target.castle == QueenSide) moveRook(from + QueenSideRookOffset, from - FileStep);
    squares[from].untouched = squares[to].untouched = 0;
    updateStatus();
    sideToMove = -sideToMove;
}

void Board::updateStatus() {
    // The checks below are judged for the side that moves next, while makeMove turns the side
    // only after this update: so the side is turned here for the judging and turned back at
    // the end. promote, which keeps the side, asks for neither turn.
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
    if (!(status & PromotionPending) || !isPromotionType(type)) return;
    // The pawn belongs to the side that has just moved.
    const int colour = -sideToMove;
    const int rank = promotionRank(colour);
    for (int file = 1; file <= 8; ++file) {
        Square& square = squares[squareIndex(file, rank)];
        if (square.piece == Pawn * colour) square.piece = static_cast<std::int8_t>(colour * type);
    }
    // The end-of-game bits of the move's own status update judged the pawn still standing on
    // its last rank; the new piece may turn that stalemate into mate, so they are judged again.
    status &= ~(PromotionPending | WhiteMated | BlackMated | Stalemate);
    status |= KeepSide;
    updateStatus();
    status &= ~KeepSide;
}
