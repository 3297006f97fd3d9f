#include "chess/geometry.h"
#include "chess/position.h"

namespace {

// Where the generator puts the destinations it finds: into an array in generation order, or
// only into a count.
struct TargetArray {
    Destination* out;
    int count = 0;
    void add(int cell, int castle, int doubleStep) {
        out[count++] = {static_cast<std::int8_t>(cell), static_cast<std::int8_t>(castle),
                        static_cast<std::int8_t>(doubleStep)};
    }
    // The cells of targets in generation order: the piece's steps in the order of its step
    // table, and along each of a slider's rays outwards from the piece.
    void addSteps(Bitboard targets, int from, int type, int s) {
        const PieceDirections& moves = pieceDirections[type];
        for (int i = 0; i < moves.count && targets; ++i) {
            const int entry = s > 0 ? moves.dirs[i] : mirroredEntry(moves.dirs[i]);
            if (moves.stepOnce) {
                const int at = geometry.stepCells[entry][from];
                if (at != NoSquare && (targets & bitOf(at))) add(at, NoCastle, 0);
                continue;
            }
            for (Bitboard line = geometry.rays[entry][from] & targets; line;) {
                const int at = nearestOnRay(entry, line);
                add(at, NoCastle, 0);
                line &= ~bitOf(at);
            }
        }
    }
};

struct TargetCount {
    int count = 0;
    void add(int, int, int) { ++count; }
    void addSteps(Bitboard targets, int, int, int) { count += countCells(targets); }
};

constexpr Bitboard Everywhere = ~Bitboard{0};
constexpr int ForwardEntry = 5, CaptureRightEntry = 3, CaptureLeftEntry = 2;
static_assert(DirectionDeltas[ForwardEntry] == PawnPush &&
              DirectionDeltas[CaptureRightEntry] == PawnCaptureRight &&
              DirectionDeltas[CaptureLeftEntry] == PawnCaptureLeft);

} // namespace

// The legal destinations of the side to move's piece on cell, in generation order, whatever the
// sink. In check a piece other than the king goes only where the check ends; in double check
// only the king moves.
template <class Sink> void Position::generate(int cell, Sink& sink) const {
    const int code = piece[cell];
    const int s = sideToMove;
    if (code == 0 || (code > 0) != (s > 0) || noMoves) return;
    const int type = code * s;
    const Bitboard own = byColour[s > 0 ? 0 : 1];
    if (type == King) {
        sink.addSteps(geometry.kingAttacks[cell] & ~own & ~enemyAttacks, cell, King, s);
        if (!inCheck) castlingTargets(cell, sink);
        return;
    }
    if (kingOnly) return;
    const Bitboard pinLine = (pinned & bitOf(cell)) ? pinLineOf(cell) : Everywhere;
    if (type == Pawn) {
        pawnTargets(cell, pinLine, sink);
        return;
    }
    const Bitboard reach = type == Knight ? geometry.knightAttacks[cell]
                                          : sliderAttacks(cell, type, byColour[0] | byColour[1]);
    sink.addSteps(reach & ~own & evasions & pinLine, cell, type, s);
}

// Forward only and never onto a piece, the two diagonal captures, the double step from the
// pawn's first square, and en passant.
template <class Sink> void Position::pawnTargets(int cell, Bitboard pinLine, Sink& sink) const {
    const int s = sideToMove;
    const Bitboard occupied = byColour[0] | byColour[1];
    const Bitboard enemy = byColour[s > 0 ? 1 : 0];
    const Bitboard open = pinLine & evasions;
    const auto entry = [s](int white) { return s > 0 ? white : mirroredEntry(white); };
    const int one = geometry.stepCells[entry(ForwardEntry)][cell];
    const int right = geometry.stepCells[entry(CaptureRightEntry)][cell];
    const int left = geometry.stepCells[entry(CaptureLeftEntry)][cell];
    if (one != NoSquare && !(occupied & bitOf(one)) && (open & bitOf(one)))
        sink.add(one, NoCastle, 0);
    if (right != NoSquare && (enemy & bitOf(right)) && (open & bitOf(right)))
        sink.add(right, NoCastle, 0);
    if (left != NoSquare && (enemy & bitOf(left)) && (open & bitOf(left)))
        sink.add(left, NoCastle, 0);
    if ((untouched & bitOf(cell)) && 8 - cell / 8 == pawnHomeRank(s)) {
        const int two = one + pawnPushOf(s);
        if (!(occupied & (bitOf(one) | bitOf(two))) && (open & bitOf(two)))
            sink.add(two, NoCastle, 1);
    }
    if (enPassant != NoSquare) {
        const bool viaRight = enPassant == right && (pinLine & bitOf(right));
        const bool viaLeft = !viaRight && enPassant == left && (pinLine & bitOf(left));
        // In check the capture must take the checking pawn or block the checking line.
        const int captured = enPassant - pawnPushOf(s);
        const bool answersCheck = evasions & (bitOf(captured) | bitOf(enPassant));
        if ((viaRight || viaLeft) && answersCheck && enPassantIsSafe(cell, enPassant))
            sink.add(enPassant, NoCastle, 0);
    }
}

// The king two files towards an untouched rook over empty cells that the other side does not
// attack (on the queen's side the b-file cell need only be empty).
template <class Sink> void Position::castlingTargets(int cell, Sink& sink) const {
    if ((cell != cellOf(WhiteKingHome) && cell != cellOf(BlackKingHome)) ||
        !(untouched & bitOf(cell)))
        return;
    const auto safe = [&](int at) { return piece[at] == 0 && !(enemyAttacks & bitOf(at)); };
    const auto rookAt = [&](int at) {
        return typeOf(piece[at]) == Rook && (untouched & bitOf(at));
    };
    if (rookAt(cell + KingSideRookOffset) && safe(cell + 1) && safe(cell + 2))
        sink.add(cell + 2, KingSide, 0);
    if (rookAt(cell + QueenSideRookOffset) && safe(cell - 1) && safe(cell - 2) &&
        piece[cell - 3] == 0)
        sink.add(cell - 2, QueenSide, 0);
}

int Position::destinations(int cell, Destination* out) const {
    TargetArray sink{out};
    generate(cell, sink);
    return sink.count;
}

int Position::countDestinations(int cell) const {
    TargetCount sink;
    generate(cell, sink);
    return sink.count;
}

int Position::countMoves() const {
    TargetCount sink;
    for (Bitboard own = byColour[sideToMove > 0 ? 0 : 1]; own; own &= own - 1)
        generate(lowestCell(own), sink);
    return sink.count;
}

bool Position::hasLegalMove(int colour) const {
    if (colour != sideToMove) {
        Position turned = *this;
        turned.sideToMove = colour;
        turned.refreshMaps();
        return turned.hasLegalMove(colour);
    }
    for (Bitboard own = byColour[colour > 0 ? 0 : 1]; own; own &= own - 1) {
        TargetCount sink;
        generate(lowestCell(own), sink);
        if (sink.count) return true;
    }
    return false;
}
