#include "chess/computer.h"

ComputerPlayer computer;

namespace {

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

Bitboard piecesToMove(const Position& position) {
    return position.byColour[position.sideToMove > 0 ? 0 : 1];
}

} // namespace

ComputerPlayer::ComputerPlayer() : engineColour(1), movesMade(0), positionsEvaluated(0) {}

Move ComputerPlayer::chooseMove(const Board& position) {
    static_cast<Board&>(*this) = position;
    engineColour = position.sideToMove;
    movesMade = 0;
    positionsEvaluated = 0;

    Move result = {0, 0, 0, 0, nullptr}, first = result;
    int best = -SearchMax;
    const Position root(*this);
    for (Bitboard pieces = piecesToMove(root); pieces; pieces &= pieces - 1) {
        const int from = lowestCell(pieces);
        Destination targets[MaxPieceTargets];
        const int count = root.destinations(from, targets);
        for (int i = 0; i < count; ++i) {
            Position child = root;
            child.play(from, targets[i]);
            ++movesMade;
            const int score = -search(child, 2, -SearchMax, SearchMax);
            const int fromIndex = indexOfCell(from), toIndex = indexOfCell(targets[i].cell);
            const Move move = {fileOf(fromIndex), rankOf(fromIndex), fileOf(toIndex),
                               rankOf(toIndex), nullptr};
            if (first.fromFile == 0) first = move;
            if (score > best) {
                best = score;
                result = move;
            }
        }
    }
    // Every move loses to a forced mate: still play one rather than none, so that the game
    // goes on to its end.
    return result.fromFile == 0 ? first : result;
}

Move* ComputerPlayer::allMoves() const {
    const Position position(*this);
    Move* list = nullptr;
    for (Bitboard pieces = piecesToMove(position); pieces; pieces &= pieces - 1) {
        const int from = lowestCell(pieces);
        Destination targets[MaxPieceTargets];
        const int count = position.destinations(from, targets);
        const int fromIndex = indexOfCell(from);
        for (int i = 0; i < count; ++i) {
            const int to = indexOfCell(targets[i].cell);
            list = appendMove(list, fileOf(fromIndex), rankOf(fromIndex), fileOf(to), rankOf(to));
        }
    }
    return list;
}

Move* ComputerPlayer::appendMove(Move* list, int fromFile, int fromRank, int toFile, int toRank) {
    return linkAtTail(list, new Move{fromFile, fromRank, toFile, toRank, nullptr});
}

int ComputerPlayer::search(int depth, int alpha, int beta) {
    return search(Position(*this), depth, alpha, beta);
}

int ComputerPlayer::evaluate() const { return evaluate(Position(*this)); }

// Scores travel up the tree from the point of view of the side to move at each level; the
// evaluation and the mate scores, which are the engine colour's, are turned at the leaves.
// Each move is played on a copy of the position, so nothing needs taking back.
int ComputerPlayer::search(const Position& position, int depth, int alpha, int beta) {
    const int forSideToMove = position.sideToMove * engineColour;
    if (position.status & BlackMated) return forSideToMove * engineColour * SearchMax;
    if (position.status & WhiteMated) return -forSideToMove * engineColour * SearchMax;
    if (position.status & Stalemate) return 0;
    if (depth == 0) {
        ++positionsEvaluated;
        return forSideToMove * evaluate(position);
    }
    // The moves are taken piece by piece in the order of allMoves, so that a cut-off leaves
    // the remaining pieces' moves ungenerated.
    for (Bitboard pieces = piecesToMove(position); pieces; pieces &= pieces - 1) {
        const int from = lowestCell(pieces);
        Destination targets[MaxPieceTargets];
        const int count = position.destinations(from, targets);
        for (int i = 0; i < count; ++i) {
            Position child = position;
            child.play(from, targets[i]);
            ++movesMade;
            const int value = -search(child, depth - 1, -beta, -alpha);
            if (value > alpha) {
                if (value >= beta) return beta;
                alpha = value;
            }
        }
    }
    return alpha;
}

// Material, a check term of 50 for each of the board's 144 squares (so 7200 for a check), and
// 25 for each legal move of the side to move, counted for the engine colour.
int ComputerPlayer::evaluate(const Position& position) const {
    int checkSign = 0;
    if (position.status & WhiteInCheck)
        checkSign = 1;
    else if (position.status & BlackInCheck)
        checkSign = -1;
    int material = 0;
    for (Bitboard pieces = position.byColour[0] | position.byColour[1]; pieces;
         pieces &= pieces - 1)
        material += signedMaterial[position.piece[lowestCell(pieces)]];
    const int mobility = position.sideToMove * position.countMoves();
    return engineColour * (material + BoardSquares * 50 * checkSign + 25 * mobility);
}
