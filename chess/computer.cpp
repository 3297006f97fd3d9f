#include "chess/computer.h"

#include <cstring>

ComputerPlayer computer;

namespace {

// The part of a board that a move changes, kept on the stack of each search level.
struct SavedPosition {
    Square squares[BoardSquares];
    std::int32_t sideToMove;
    std::uint32_t status;
    std::int32_t enPassant;
};

void savePosition(const Board& board, SavedPosition& saved) {
    std::memcpy(saved.squares, board.squares, sizeof saved.squares);
    saved.sideToMove = board.sideToMove;
    saved.status = board.status;
    saved.enPassant = board.enPassant;
}

void restorePosition(Board& board, const SavedPosition& saved) {
    std::memcpy(board.squares, saved.squares, sizeof saved.squares);
    board.sideToMove = saved.sideToMove;
    board.status = saved.status;
    board.enPassant = saved.enPassant;
}

// Material by piece code -7..7, white counted positive and black negative.
struct SignedMaterial {
    std::int32_t values[15];
    constexpr SignedMaterial() : values() {
        for (int code = -7; code <= 7; ++code)
            values[code + 7] = materialValues[typeOf(code)] * signOf(code);
    }
    constexpr std::int32_t operator[](int code) const { return values[code + 7]; }
};
constexpr SignedMaterial signedMaterial;

} // namespace

ComputerPlayer::ComputerPlayer() : engineColour(1), movesMade(0), positionsEvaluated(0) {}

Move ComputerPlayer::chooseMove(const Board& position) {
    Move result = {0, 0, 0, 0, nullptr};
    // Outside a8..h1 both boards hold border squares, whose attack counts no rule reads, so the
    // maps copied here are current without a refresh.
    std::memmove(squares + FirstSquare, position.squares + FirstSquare,
                 (LastSquare - FirstSquare + 1) * sizeof(Square));
    engineColour = position.sideToMove;
    sideToMove = position.sideToMove;
    status = position.status;
    enPassant = position.enPassant;
    movesMade = 0;
    positionsEvaluated = 0;

    Move* const list = allMoves();
    int best = -SearchMax;
    SavedPosition saved;
    savePosition(*this, saved);
    for (const Move* move = list; move; move = move->next) {
        makeMoveAt(move->fromFile, move->fromRank, move->toFile, move->toRank);
        ++movesMade;
        const int score = -search(2, -SearchMax, SearchMax);
        if (score > best) {
            best = score;
            result = {move->fromFile, move->fromRank, move->toFile, move->toRank, nullptr};
        }
        restorePosition(*this, saved);
    }
    // Every move loses to a forced mate: still play one rather than none, so that the game
    // goes on to its end.
    if (list && result.fromFile == 0)
        result = {list->fromFile, list->fromRank, list->toFile, list->toRank, nullptr};
    freeMoves(list);
    return result;
}

Move* ComputerPlayer::allMoves() const {
    Move* list = nullptr;
    for (int index = FirstSquare; index <= LastSquare; ++index) {
        if (!isSideToMovePiece(index)) continue;
        MoveTarget targets[MaxPieceTargets];
        const int count = collectLegalTargets(index, targets);
        for (int i = 0; i < count; ++i)
            list = appendMove(list, fileOf(index), rankOf(index), targets[i].file, targets[i].rank);
    }
    return list;
}

Move* ComputerPlayer::appendMove(Move* list, int fromFile, int fromRank, int toFile, int toRank) {
    return linkAtTail(list, new Move{fromFile, fromRank, toFile, toRank, nullptr});
}

// Scores travel up the tree from the point of view of the side to move at each level; the
// evaluation and the mate scores, which are the engine colour's, are turned at the leaves.
int ComputerPlayer::search(int depth, int alpha, int beta) {
    const int forSideToMove = sideToMove * engineColour;
    if (status & BlackMated) return forSideToMove * engineColour * SearchMax;
    if (status & WhiteMated) return -forSideToMove * engineColour * SearchMax;
    if (status & Stalemate) return 0;
    if (depth == 0) {
        ++positionsEvaluated;
        return forSideToMove * evaluate();
    }

    SavedPosition saved;
    savePosition(*this, saved);
    // The moves are taken piece by piece in the order of allMoves, so that a cut-off
    // leaves the remaining pieces' moves ungenerated.
    for (int from = FirstSquare; from <= LastSquare; ++from) {
        if (!isSideToMovePiece(from)) continue;
        MoveTarget targets[MaxPieceTargets];
        const int count = collectLegalTargets(from, targets);
        for (int i = 0; i < count; ++i) {
            playTarget(from, targets[i]);
            ++movesMade;
            const int value = -search(depth - 1, -beta, -alpha);
            restorePosition(*this, saved);
            if (value > alpha) {
                if (value >= beta) return beta;
                alpha = value;
            }
        }
    }
    return alpha;
}

// The check term is the same 50 on each of the 144 squares; squares outside a8..h1 are border
// squares, which add no material.
int ComputerPlayer::evaluate() const {
    int checkSign = 0;
    if (status & WhiteInCheck)
        checkSign = 1;
    else if (status & BlackInCheck)
        checkSign = -1;
    int material = 0;
    for (int index = FirstSquare; index <= LastSquare; ++index)
        material += signedMaterial[squares[index].piece];
    return engineColour * (material + BoardSquares * 50 * checkSign + 25 * mobility());
}
