#include "chess/board.h"

#include <cstring>

#include "chess/steps.h"

Board board;

int squareFromText(const char* text) {
    const char f = text[0];
    const char r = f ? text[1] : 0;
    const int file = (f >= 'a' && f <= 'h') ? f - 'a' + 1 : 0;
    const int rank = (r >= '1' && r <= '8') ? r - '0' : 0;
    return squareIndex(file, rank);
}

// Freed nodes wait here for reuse, so that generating and freeing lists costs no heap traffic
// once the pool has grown. The address sanitizer cannot tell a pooled node from a live one, so
// its builds take every node from the heap and give it back, and a read through a freed list
// is reported there.
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool poolNodes = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool poolNodes = false;
#else
constexpr bool poolNodes = true;
#endif
#else
constexpr bool poolNodes = true;
#endif

MoveTarget* freeTargetNodes = nullptr;

MoveTarget* newTarget() {
    if (poolNodes && freeTargetNodes) {
        MoveTarget* node = freeTargetNodes;
        freeTargetNodes = node->next;
        return node;
    }
    return new MoveTarget;
}

void freeTarget(MoveTarget* node) {
    if (!poolNodes) {
        delete node;
        return;
    }
    node->next = freeTargetNodes;
    freeTargetNodes = node;
}

} // namespace

MoveTarget* appendTarget(MoveTarget* list, int file, int rank, int castle, int doubleStep) {
    MoveTarget* node = newTarget();
    *node = {file, rank, castle, doubleStep, nullptr};
    return linkAtTail(list, node);
}

int targetListContains(int file, int rank, const MoveTarget* list) {
    for (; list; list = list->next)
        if (list->file == file && list->rank == rank) return 1;
    return 0;
}

void freeTargets(MoveTarget* list) {
    while (list) {
        MoveTarget* next = list->next;
        freeTarget(list);
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

namespace {

// Squares with every derived field cleared, copied over the board in one block; the pieces and
// untouched flags are put back afterwards. Static storage zeroes the padding, so boards in the
// same position compare equal byte for byte.
struct ClearedSquares {
    Square squares[BoardSquares];
    constexpr ClearedSquares() : squares() {
        for (Square& square : squares)
            square = {0, 0, 0, 0, NoSquare, NoSquare, 0, -1, -1};
    }
};
constexpr ClearedSquares clearedSquares;

} // namespace

void Board::clearDerivedFields() {
    std::uint16_t kept[BoardSquares];
    for (int i = 0; i < BoardSquares; ++i)
        std::memcpy(&kept[i], &squares[i], sizeof kept[i]);
    std::memcpy(squares, clearedSquares.squares, sizeof squares);
    for (int i = 0; i < BoardSquares; ++i)
        std::memcpy(&squares[i], &kept[i], sizeof kept[i]);
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

    for (int i = 0; i < 16; ++i)
        directions[i] = DirectionDeltas[i];
    pieceTypes[0] = {};
    for (int type = Pawn; type <= King; ++type) {
        const PieceDirections& moves = pieceDirections[type];
        buildPieceType(pieceTypes[type], moves.stepOnce, type == King, type == Pawn, moves.count,
                       moves.dirs);
    }

    static const char* const backRank[8] = {"a", "b", "c", "d", "e", "f", "g", "h"};
    static constexpr std::int8_t backPieces[8] = {Rook, Knight, Bishop, Queen,
                                                  King, Bishop, Knight, Rook};
    for (int i = 0; i < 8; ++i) {
        const char white[3] = {backRank[i][0], '1', 0};
        const char whitePawn[3] = {backRank[i][0], '2', 0};
        const char black[3] = {backRank[i][0], '8', 0};
        const char blackPawn[3] = {backRank[i][0], '7', 0};
        squares[squareFromText(white)].piece = backPieces[i];
        squares[squareFromText(whitePawn)].piece = Pawn;
        squares[squareFromText(black)].piece = static_cast<std::int8_t>(-backPieces[i]);
        squares[squareFromText(blackPawn)].piece = -Pawn;
    }

    sideToMove = 1;
    status = 0;
    clearDerivedFields();
    // Only the attack counts: pins and the check bits wait for the first move's status update.
    int whiteKing, blackKing, sliderCount;
    int sliders[BoardSquares];
    countAttacks(whiteKing, blackKing, sliders, sliderCount);
}

Square Board::squareAt(int file, int rank) const { return squares[squareIndex(file, rank)]; }

void Board::findKing(int colour, int& file, int& rank) const {
    for (rank = 1; rank <= 8; ++rank)
        for (file = 1; file <= 8; ++file)
            if (squares[squareIndex(file, rank)].piece == King * colour) return;
    file = rank = NoSquare;
}
