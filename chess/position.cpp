#include "chess/position.h"

#include "chess/geometry.h"
#include "chess/steps.h"

Position::Position(const Board& board) {
    byColour[0] = byColour[1] = untouched = 0;
    for (Bitboard& set : byType)
        set = 0;
    for (int cell = 0; cell < 64; ++cell) {
        const Square& square = board.squares[indexOfCell(cell)];
        piece[cell] = 0;
        if (isPieceCode(square.piece)) place(cell, square.piece);
        if (square.untouched) untouched |= bitOf(cell);
    }
    sideToMove = board.sideToMove;
    status = board.status;
    const int ep = board.enPassant;
    enPassant = ep >= 0 && ep < BoardSquares && isPlayingSquare(ep) ? cellOf(ep) : NoSquare;
    refreshMaps();
}

void Position::copyTo(Board& board) const {
    for (int cell = 0; cell < 64; ++cell) {
        Square& square = board.squares[indexOfCell(cell)];
        square.piece = piece[cell];
        square.untouched = (untouched >> cell) & 1;
    }
    board.sideToMove = sideToMove;
    board.status = status;
    board.enPassant = enPassant == NoSquare ? NoSquare : indexOfCell(enPassant);
}

void Position::place(int cell, int code) {
    piece[cell] = static_cast<std::int8_t>(code);
    byColour[code > 0 ? 0 : 1] |= bitOf(cell);
    byType[typeOf(code)] |= bitOf(cell);
}

void Position::remove(int cell) {
    const int code = piece[cell];
    if (code == 0) return;
    byColour[code > 0 ? 0 : 1] &= ~bitOf(cell);
    byType[typeOf(code)] &= ~bitOf(cell);
    piece[cell] = 0;
}

Bitboard Position::sliderAttacks(int cell, int type, Bitboard occupied) const {
    Bitboard attacks = 0;
    const int first = type == Rook ? 4 : 0, last = type == Bishop ? 4 : 8;
    for (int ray = first; ray < last; ++ray)
        attacks |= rayAttacks(ray, cell, occupied);
    return attacks;
}

Bitboard Position::attackersOf(int cell, int colour) const {
    const Bitboard theirs = byColour[colour > 0 ? 0 : 1];
    const Bitboard occupied = byColour[0] | byColour[1];
    const Bitboard straight = (byType[Rook] | byType[Queen]) & theirs;
    const Bitboard diagonal = (byType[Bishop] | byType[Queen]) & theirs;
    // A pawn of that colour attacks cell from where a pawn of the other colour on cell would.
    Bitboard found = geometry.pawnAttacks[colour > 0 ? 1 : 0][cell] & byType[Pawn] & theirs;
    found |= geometry.knightAttacks[cell] & byType[Knight] & theirs;
    found |= geometry.kingAttacks[cell] & byType[King] & theirs;
    if (straight) found |= sliderAttacks(cell, Rook, occupied) & straight;
    if (diagonal) found |= sliderAttacks(cell, Bishop, occupied) & diagonal;
    return found;
}

int Position::kingCell(int colour) const {
    const Bitboard kings = byType[King] & byColour[colour > 0 ? 0 : 1];
    if (!kings) return NoSquare;
    // The lowest rank, then the lowest file: the last row of cells, its first cell.
    const int row = highestCell(kings) / 8;
    return lowestCell(kings & (Bitboard{0xFF} << (8 * row)));
}

int Position::checkIndicator() const {
    const int white = kingCell(1), black = kingCell(-1);
    const Bitboard onWhite = white != NoSquare ? attackersOf(white, -1) : 0;
    const Bitboard onBlack = black != NoSquare ? attackersOf(black, 1) : 0;
    if (!onWhite && !onBlack) return 0;
    const int lastOnWhite = onWhite ? highestCell(onWhite) : NoSquare;
    const int lastOnBlack = onBlack ? highestCell(onBlack) : NoSquare;
    return lastOnBlack > lastOnWhite ? -1 : 1;
}

// The pieces of that colour standing alone between its king and an enemy rook, bishop or
// queen whose line runs through them to the king.
Bitboard Position::pinnedPieces(int kingAt, int colour) const {
    const Bitboard own = byColour[colour > 0 ? 0 : 1], enemy = byColour[colour > 0 ? 1 : 0];
    const Bitboard occupied = own | enemy;
    Bitboard found = 0;
    for (int ray = 0; ray < 8; ++ray) {
        const Bitboard line = geometry.rays[ray][kingAt] & occupied;
        if (!line) continue;
        const int first = nearestOnRay(ray, line);
        if (!(own & bitOf(first))) continue;
        const Bitboard beyond = geometry.rays[ray][first] & occupied;
        if (!beyond) continue;
        const int second = nearestOnRay(ray, beyond);
        const int type = typeOf(piece[second]);
        const bool lines = type == Queen || type == (isDiagonalRay(ray) ? Bishop : Rook);
        if ((enemy & bitOf(second)) && lines) found |= bitOf(first);
    }
    return found;
}

// The cells a pinned piece may still reach: its line from the king outwards.
Bitboard Position::pinLineOf(int cell) const {
    return geometry.rays[geometry.rayTowards[king][cell]][king];
}

void Position::refreshMaps() {
    const int us = sideToMove > 0 ? 0 : 1;
    const Bitboard own = byColour[us], enemy = byColour[1 - us];
    king = static_cast<std::int8_t>(kingCell(sideToMove));
    const Bitboard occupied = (own | enemy) & ~(king != NoSquare ? bitOf(king) : 0);
    enemyAttacks = 0;
    for (Bitboard rest = enemy; rest; rest &= rest - 1) {
        const int cell = lowestCell(rest);
        const int type = typeOf(piece[cell]);
        if (type == Pawn)
            enemyAttacks |= geometry.pawnAttacks[1 - us][cell];
        else if (type == Knight)
            enemyAttacks |= geometry.knightAttacks[cell];
        else if (type == King)
            enemyAttacks |= geometry.kingAttacks[cell];
        else
            enemyAttacks |= sliderAttacks(cell, type, occupied);
    }
    pinned = king != NoSquare ? pinnedPieces(king, sideToMove) : 0;
    evasions = ~Bitboard{0};
    kingOnly = noMoves = false;
    inCheck = (status & (sideToMove > 0 ? WhiteInCheck : BlackInCheck)) != 0;
    if (!inCheck) return;
    const Bitboard checkers = king != NoSquare ? attackersOf(king, -sideToMove) : 0;
    if (!checkers) {
        noMoves = true;
        return;
    }
    if (checkers & (checkers - 1)) {
        kingOnly = true;
        return;
    }
    // A single check ends on the checker's cell or, for a slider, on a cell between.
    const int checker = lowestCell(checkers);
    evasions = bitOf(checker);
    if (!isSlider(typeOf(piece[checker]))) return;
    const int ray = geometry.rayTowards[checker][king];
    evasions |= geometry.rays[ray][checker] & ~geometry.rays[ray][king] & ~bitOf(king);
}

// An en passant capture empties two cells of one rank at once, which can open a line onto the
// mover's own king that no pin describes; the placement after it is looked at directly.
bool Position::enPassantIsSafe(int from, int to) const {
    const int s = piece[from] > 0 ? 1 : -1;
    const int own = s > 0 ? 0 : 1;
    const int kingAt = kingCell(s);
    if (kingAt == NoSquare) return true;
    const int captured = to - pawnPushOf(s);
    const Bitboard occupied =
        ((byColour[0] | byColour[1]) & ~bitOf(from) & ~bitOf(captured)) | bitOf(to);
    const Bitboard enemy = byColour[1 - own] & ~bitOf(captured);
    const Bitboard straight = (byType[Rook] | byType[Queen]) & enemy;
    const Bitboard diagonal = (byType[Bishop] | byType[Queen]) & enemy;
    if (sliderAttacks(kingAt, Rook, occupied) & straight) return false;
    if (sliderAttacks(kingAt, Bishop, occupied) & diagonal) return false;
    if (geometry.knightAttacks[kingAt] & byType[Knight] & enemy) return false;
    if (geometry.kingAttacks[kingAt] & byType[King] & enemy) return false;
    return !(geometry.pawnAttacks[own][kingAt] & byType[Pawn] & enemy);
}

void Position::play(int from, const Destination& target) {
    const int to = target.cell;
    const int code = piece[from];
    const int s = code > 0 ? 1 : -1;
    const bool pawn = code == Pawn * s;
    if (pawn && enPassant == to) remove(to - pawnPushOf(s));
    enPassant = target.doubleStep ? from + pawnPushOf(s) : NoSquare;
    remove(to);
    remove(from);
    place(to, code);
    if (pawn && (to < 8 || to >= 56)) status |= PromotionPending;
    const auto moveRook = [&](int corner, int cell) {
        place(cell, piece[corner]);
        remove(corner);
        untouched &= ~(bitOf(corner) | bitOf(cell));
    };
    if (target.castle == KingSide) moveRook(from + 3, from + 1);
    if (target.castle == QueenSide) moveRook(from - 4, from - 1);
    untouched &= ~(bitOf(from) | bitOf(to));
    sideToMove = -sideToMove;
    updateStatus();
}

void Position::updateStatus() {
    status &= ~(WhiteInCheck | BlackInCheck);
    const int indicator = checkIndicator();
    if (indicator == 1) status |= WhiteInCheck;
    if (indicator == -1) status |= BlackInCheck;
    refreshMaps();
    if (indicator == 1) {
        if (!hasLegalMove(1)) status |= WhiteMated;
    } else if (indicator == -1) {
        if (!hasLegalMove(-1)) status |= BlackMated;
    } else if (!hasLegalMove(sideToMove)) {
        status |= Stalemate;
    }
}

void Position::promote(int type) {
    if (!(status & PromotionPending) || !isPromotionType(type)) return;
    // The pawn belongs to the side that has just moved.
    const int colour = -sideToMove;
    const int row = colour > 0 ? 0 : 56;
    for (int cell = row; cell < row + 8; ++cell) {
        if (piece[cell] != Pawn * colour) continue;
        remove(cell);
        place(cell, colour * type);
    }
    // The end-of-game bits of the move's own status update judged the pawn still standing on
    // its last rank; the new piece may turn that stalemate into mate, so they are judged again.
    status &= ~(PromotionPending | WhiteMated | BlackMated | Stalemate);
    updateStatus();
}
