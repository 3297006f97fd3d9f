#include "chess/board.h"

#include <new>

Board board;

int squareFromText(const char* text) {
    const char f = text[0];
    const char r = f ? text[1] : 0;
    const int file = (f >= 'a' && f <= 'h') ? f - 'a' + 1 : 0;
    const int rank = (r >= '1' && r <= '8') ? r - '0' : 0;
    return squareIndex(file, rank);
}

// Freed nodes wait here for reuse, so that generating and freeing lists, which the search
// does at every node, costs no heap traffic once the pool has grown.
namespace {

MoveTarget* freeTargetNodes = nullptr;

MoveTarget* newTarget() {
    if (freeTargetNodes) {
        MoveTarget* node = freeTargetNodes;
        freeTargetNodes = node->next;
        return node;
    }
    return new (std::nothrow) MoveTarget;
}

} // namespace

MoveTarget* appendTarget(MoveTarget* list, int file, int rank, int castle, int doubleStep) {
    MoveTarget* node = newTarget();
    if (!node) return list;
    *node = {file, rank, castle, doubleStep, nullptr};
    if (!list) return node;
    MoveTarget* tail = list;
    while (tail->next)
        tail = tail->next;
    tail->next = node;
    return list;
}

int targetListContains(int file, int rank, const MoveTarget* list) {
    for (; list; list = list->next)
        if (list->file == file && list->rank == rank) return 1;
    return 0;
}

void freeTargets(MoveTarget* list) {
    while (list) {
        MoveTarget* next = list->next;
        list->next = freeTargetNodes;
        freeTargetNodes = list;
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

Board::Board() {
    for (Square& square : squares)
        square = {};
    reset();
}

static void buildPieceType(PieceType& type, int stepOnce, int isKing, int isPawn, int count,
                           const int* dirs) {
    type.stepOnce = static_cast<std::uint8_t>(stepOnce);
    type.isKing = static_cast<std::uint8_t>(isKing);
    type.isPawn = static_cast<std::uint8_t>(isPawn);
    for (int i = 0; i < 16; ++i)
        type.dirs[i] = i < count ? static_cast<std::uint8_t>(dirs[i]) : NoDirection;
}

void Board::clearDerivedFields() {
    for (Square& square : squares) {
        square.whiteAttackers = square.blackAttackers = 0;
        square.whiteAttacker = square.blackAttacker = -1;
        square.pinned = 0;
        square.pinFile = square.pinRank = -1;
    }
}

void Board::reset() {
    enPassant = -1;
    for (int rank = -1; rank <= 10; ++rank)
        for (int file = -1; file <= 10; ++file) {
            Square& square = squares[squareIndex(file, rank)];
            const bool border = file < 1 || file > 8 || rank < 1 || rank > 8;
            square.piece = border ? BorderCode : 0;
            square.untouched = 1;
            square.whiteAttackers = square.blackAttackers = 0;
        }

    static constexpr int deltas[16] = {13,  11,  -13, -11, -1, -12, 1,  12,
                                       -25, -23, -10, 14,  25, 23,  10, -14};
    for (int i = 0; i < 16; ++i)
        directions[i] = deltas[i];

    static constexpr int pawnDirs[] = {5};
    static constexpr int rookDirs[] = {4, 5, 6, 7};
    static constexpr int knightDirs[] = {8, 9, 10, 11, 12, 13, 14, 15};
    static constexpr int bishopDirs[] = {0, 1, 2, 3};
    static constexpr int royalDirs[] = {0, 1, 2, 3, 4, 5, 6, 7};
    pieceTypes[0] = {};
    buildPieceType(pieceTypes[1], 1, 0, 1, 1, pawnDirs);
    buildPieceType(pieceTypes[2], 0, 0, 0, 4, rookDirs);
    buildPieceType(pieceTypes[3], 1, 0, 0, 8, knightDirs);
    buildPieceType(pieceTypes[4], 0, 0, 0, 4, bishopDirs);
    buildPieceType(pieceTypes[5], 0, 0, 0, 8, royalDirs);
    buildPieceType(pieceTypes[6], 1, 1, 0, 8, royalDirs);

    static const char* const backRank[8] = {"a", "b", "c", "d", "e", "f", "g", "h"};
    static constexpr std::int8_t backPieces[8] = {2, 3, 4, 5, 6, 4, 3, 2};
    for (int i = 0; i < 8; ++i) {
        const char white[3] = {backRank[i][0], '1', 0};
        const char whitePawn[3] = {backRank[i][0], '2', 0};
        const char black[3] = {backRank[i][0], '8', 0};
        const char blackPawn[3] = {backRank[i][0], '7', 0};
        squares[squareFromText(white)].piece = backPieces[i];
        squares[squareFromText(whitePawn)].piece = 1;
        squares[squareFromText(black)].piece = static_cast<std::int8_t>(-backPieces[i]);
        squares[squareFromText(blackPawn)].piece = -1;
    }

    sideToMove = 1;
    status = 0;
    clearDerivedFields();
    countAttacks();
}

Square Board::squareAt(int file, int rank) const { return squares[squareIndex(file, rank)]; }

int Board::isEnemy(int mover, int target) const {
    const int type = target < 0 ? -target : target;
    return type >= 1 && type <= 6 && signOf(mover) == -signOf(target) ? 1 : 0;
}

int Board::isSideToMovePiece(int index) const {
    const int code = squares[index].piece;
    const int type = code < 0 ? -code : code;
    return type >= 1 && type <= 6 && signOf(code) == signOf(sideToMove) ? 1 : 0;
}

void Board::findKing(int colour, int& file, int& rank) const {
    for (rank = 1; rank <= 8; ++rank)
        for (file = 1; file <= 8; ++file)
            if (squares[squareIndex(file, rank)].piece == 6 * colour) return;
    file = rank = -1;
}
