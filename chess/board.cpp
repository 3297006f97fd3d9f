#include "chess/board.h"

#include <initializer_list>

#include "chess/geometry.h"
#include "chess/position.h"
#include "chess/steps.h"

Board board;

int squareFromText(const char* text) {
    const char f = text[0];
    const char r = f ? text[1] : 0;
    const int file = (f >= 'a' && f <= 'h') ? f - 'a' + 1 : 0;
    const int rank = (r >= '1' && r <= '8') ? r - '0' : 0;
    return squareIndex(file, rank);
}

MoveTarget* appendTarget(MoveTarget* list, int file, int rank, int castle, int doubleStep) {
    return linkAtTail(list, new MoveTarget{file, rank, castle, doubleStep, nullptr});
}

int targetListContains(int file, int rank, const MoveTarget* list) {
    for (; list; list = list->next)
        if (list->file == file && list->rank == rank) return 1;
    return 0;
}

void freeTargets(MoveTarget* list) {
    while (list) {
        MoveTarget* next = list->next;
        delete list;
        list = next;
    }
}

void freeMoves(Move* list) {
    while (list) {
        Move* next = list->next;
        delete list;
        list = next;
    }
}

namespace {

// Calls visit for every square the piece of colour s and type on index attacks or defends,
// border squares included. A pawn attacks its two forward diagonals whatever they hold; any
// other piece walks its step table, a slider until the first piece or border square, except
// that its ray runs on through the enemy king: the square behind a king in check is attacked.
template <class Visit>
void forEachAttackedSquare(const Square* squares, int index, int s, int type, Visit&& visit) {
    if (type == Pawn) {
        visit(index + PawnCaptureRight * s);
        visit(index + PawnCaptureLeft * s);
        return;
    }
    const PieceDirections& moves = pieceDirections[type];
    const int enemyKing = -King * s;
    for (int i = 0; i < moves.count; ++i) {
        const int delta = DirectionDeltas[moves.dirs[i]] * s;
        for (int target = index + delta;; target += delta) {
            visit(target);
            const int held = squares[target].piece;
            if (moves.stepOnce || (held != 0 && held != enemyKing)) break;
        }
    }
}

// Marks the piece that stands alone between the slider on index and the enemy king on a line
// the slider moves along: pinned, with the line's step from the slider towards the king.
void markPin(Square* squares, int index, int king) {
    const int code = squares[index].piece;
    const int dx = fileOf(king) - fileOf(index), dy = rankOf(king) - rankOf(index);
    const bool diagonal = dx != 0 && (dx == dy || dx == -dy);
    const bool straight = (dx == 0) != (dy == 0);
    const int type = typeOf(code);
    if (!(type == Queen ? diagonal || straight : type == Bishop ? diagonal : straight)) return;
    const int fx = signOf(dx), fy = signOf(dy);
    const int delta = fx * FileStep + fy * RankStep;
    int between = NoSquare;
    for (int at = index + delta; at != king; at += delta) {
        const int held = squares[at].piece;
        if (held == 0) continue;
        if (signOf(held) == signOf(code) || between != NoSquare) return;
        between = at;
    }
    if (between == NoSquare) return;
    squares[between].pinned = 1;
    squares[between].pinFile = fx;
    squares[between].pinRank = fy;
}

} // namespace

Board::Board() {
    for (Square& square : squares)
        square = {};
    reset();
}

void Board::reset() {
    enPassant = NoSquare;
    for (int rank = -1; rank <= 10; ++rank)
        for (int file = -1; file <= 10; ++file) {
            Square& square = squares[squareIndex(file, rank)];
            const bool border = file < 1 || file > 8 || rank < 1 || rank > 8;
            square.piece = border ? BorderCode : 0;
            square.untouched = 1;
        }
    static constexpr std::int8_t backPieces[8] = {Rook, Knight, Bishop, Queen,
                                                  King, Bishop, Knight, Rook};
    for (int i = 0; i < 8; ++i) {
        const char file = static_cast<char>('a' + i);
        const char white[3] = {file, '1', 0}, whitePawn[3] = {file, '2', 0};
        const char black[3] = {file, '8', 0}, blackPawn[3] = {file, '7', 0};
        squares[squareFromText(white)].piece = backPieces[i];
        squares[squareFromText(whitePawn)].piece = Pawn;
        squares[squareFromText(black)].piece = static_cast<std::int8_t>(-backPieces[i]);
        squares[squareFromText(blackPawn)].piece = -Pawn;
    }
    sideToMove = 1;
    status = 0;
    // Pins and the check bits wait for the first move.
    refreshAttacks();
}

void Board::refreshAttacks() {
    for (Square& square : squares) {
        square.whiteAttackers = square.blackAttackers = 0;
        square.whiteAttacker = square.blackAttacker = NoSquare;
        square.pinned = 0;
        square.pinFile = square.pinRank = -1;
    }
    for (int index = FirstSquare; index <= LastSquare; ++index) {
        const int code = squares[index].piece;
        if (!isPieceCode(code)) continue;
        const int s = signOf(code);
        forEachAttackedSquare(squares, index, s, typeOf(code), [&](int target) {
            Square& square = squares[target];
            if (s > 0) {
                ++square.whiteAttackers;
                square.whiteAttacker = index;
            } else {
                ++square.blackAttackers;
                square.blackAttacker = index;
            }
        });
    }
}

void Board::refreshAttackMap() {
    refreshAttacks();
    int kings[2] = {NoSquare, NoSquare}; // white, black
    for (int colour : {1, -1}) {
        int file, rank;
        findKing(colour, file, rank);
        if (file != NoSquare) kings[colour > 0 ? 0 : 1] = squareIndex(file, rank);
    }
    for (int index = FirstSquare; index <= LastSquare; ++index) {
        const int code = squares[index].piece;
        if (!isPieceCode(code) || !isSlider(typeOf(code))) continue;
        const int enemyKing = kings[code > 0 ? 1 : 0];
        if (enemyKing != NoSquare) markPin(squares, index, enemyKing);
    }
}

Square Board::squareAt(int file, int rank) const { return squares[squareIndex(file, rank)]; }

void Board::findKing(int colour, int& file, int& rank) const {
    for (rank = 1; rank <= 8; ++rank)
        for (file = 1; file <= 8; ++file)
            if (squares[squareIndex(file, rank)].piece == King * colour) return;
    file = rank = NoSquare;
}

MoveTarget* Board::legalTargets(int index) const {
    if (index < 0 || index >= BoardSquares || !isSideToMovePiece(index)) return nullptr;
    Destination found[MaxPieceTargets];
    const int count = Position(*this).destinations(cellOf(index), found);
    MoveTarget* list = nullptr;
    for (int i = 0; i < count; ++i) {
        const int to = indexOfCell(found[i].cell);
        list = appendTarget(list, fileOf(to), rankOf(to), found[i].castle, found[i].doubleStep);
    }
    return list;
}

MoveTarget* Board::legalTargetsAt(int file, int rank) const {
    return legalTargets(squareIndex(file, rank));
}

int Board::hasNoLegalMove(int colour) const { return Position(*this).hasLegalMove(colour) ? 0 : 1; }

int Board::makeMove(int from, int to) {
    if (from < 0 || from >= BoardSquares || !isSideToMovePiece(from)) return 0;
    if (to < 0 || to >= BoardSquares || !isPlayingSquare(to)) return 0;
    Position position(*this);
    Destination found[MaxPieceTargets];
    const int count = position.destinations(cellOf(from), found);
    for (int i = 0; i < count; ++i) {
        if (found[i].cell != cellOf(to)) continue;
        position.play(cellOf(from), found[i]);
        position.copyTo(*this);
        refreshAttackMap();
        return 1;
    }
    return 0;
}

int Board::makeMoveAt(int fromFile, int fromRank, int toFile, int toRank) {
    return makeMove(squareIndex(fromFile, fromRank), squareIndex(toFile, toRank));
}

void Board::updateStatus() {
    Position position(*this);
    position.updateStatus();
    position.copyTo(*this);
    refreshAttackMap();
}

void Board::promote(int type) {
    if (!(status & PromotionPending) || !isPromotionType(type)) return;
    Position position(*this);
    position.promote(type);
    position.copyTo(*this);
    refreshAttackMap();
}
