#include "chess/board.h"

#include <cstdint>
#include <initializer_list>

#include "chess/steps.h"

namespace {

// Whether offsets (dx, dy) lie on a line a slider can run along; if so, its unit step.
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
    if (type == Queen) return true;
    if (type == Bishop) return diagonal;
    return type == Rook && !diagonal;
}

constexpr int deltaOf(int fx, int fy) { return fx * FileStep + fy * RankStep; }

// Whether a piece of colour s may end a step on a square holding `held`: an empty square or
// an enemy piece, never its own piece or the border.
constexpr bool landable(int held, int s) { return held * s <= 0 && held != BorderCode; }

// Where the destination walk puts what it finds: into an array, or only into a count.
struct TargetArray {
    MoveTarget* out;
    int count = 0;
    void add(int square, int castle, int doubleStep) {
        out[count++] = {fileOf(square), rankOf(square), castle, doubleStep, nullptr};
    }
};

struct TargetCount {
    int count = 0;
    void add(int, int, int) { ++count; }
};

} // namespace

struct Board::CheckState {
    bool inCheck = false;
    bool doubleCheck = false;
    int kingSquare = NoSquare;
    int checker = NoSquare;
    // The squares on which a single check ends, one bit per square index.
    std::uint64_t evasions[3] = {};

    void addEvasion(int square) { evasions[square >> 6] |= std::uint64_t{1} << (square & 63); }
    bool answers(int square) const { return (evasions[square >> 6] >> (square & 63)) & 1; }
};

// A pawn attacks its two forward diagonals whatever they hold; any other piece walks its
// directions, and a slider's ray runs on through the enemy king.
template <class Visit>
void Board::forEachAttackedSquare(int index, int s, int type, Visit&& visit) const {
    if (type == Pawn) {
        visit(index + PawnCaptureRight * s);
        visit(index + PawnCaptureLeft * s);
        return;
    }
    const PieceSteps& steps = pieceSteps[type];
    if (steps.stepOnce) {
        for (int i = 0; i < steps.count; ++i)
            visit(index + steps.steps[i].delta * s);
        return;
    }
    const int enemyKing = -King * s;
    for (int i = 0; i < steps.count; ++i) {
        const int delta = steps.steps[i].delta * s;
        for (int target = index + delta;; target += delta) {
            visit(target);
            const int held = squares[target].piece;
            if (held != 0 && held != enemyKing) break;
        }
    }
}

MoveTarget* Board::attackedSquares(int index) const {
    const int code = squares[index].piece;
    if (!isPieceCode(code)) return nullptr;
    MoveTarget* list = nullptr;
    forEachAttackedSquare(index, signOf(code), typeOf(code), [&](int target) {
        list = appendTarget(list, fileOf(target), rankOf(target), 0, 0);
    });
    return list;
}

// Adds the attacks of the piece of colour S on index to that colour's counts.
template <int S> void Board::countAttacksOf(int index, int type) {
    forEachAttackedSquare(index, S, type, [this, index](int target) {
        Square& square = squares[target];
        if (S > 0) {
            ++square.whiteAttackers;
            square.whiteAttacker = index;
        } else {
            ++square.blackAttackers;
            square.blackAttacker = index;
        }
    });
}

int Board::countAttacks(int& whiteKing, int& blackKing, int* sliders, int& sliderCount) {
    whiteKing = blackKing = NoSquare;
    sliderCount = 0;
    for (int row = FirstSquare; row <= LastSquare; row -= RankStep) {
        for (int index = row; index < row + 8; ++index) {
            const int code = squares[index].piece;
            if (code == 0) continue;
            const int type = typeOf(code);
            if (code > 0)
                countAttacksOf<1>(index, type);
            else
                countAttacksOf<-1>(index, type);
            // The king findKing would find: the lowest rank, then the lowest file.
            int& king = code > 0 ? whiteKing : blackKing;
            if (type == King && (king == NoSquare || rankOf(index) < rankOf(king))) king = index;
            if (isSlider(type)) sliders[sliderCount++] = index;
        }
    }
    // The check found last in index order: the later of the last attackers of the two kings.
    const int onBlack = blackKing != NoSquare ? squares[blackKing].whiteAttacker : NoSquare;
    const int onWhite = whiteKing != NoSquare ? squares[whiteKing].blackAttacker : NoSquare;
    if (onBlack == NoSquare && onWhite == NoSquare) return 0;
    return onBlack > onWhite ? -1 : 1;
}

void Board::markPin(int index, int kingSquare) {
    const int code = squares[index].piece;
    int fx, fy;
    if (!usableLine(fileOf(kingSquare) - fileOf(index), rankOf(kingSquare) - rankOf(index), fx, fy))
        return;
    if (!sliderUsesLine(typeOf(code), fx, fy)) return;
    const int delta = deltaOf(fx, fy);
    int between = NoSquare;
    for (int square = index + delta; square != kingSquare; square += delta) {
        const int held = squares[square].piece;
        if (held == 0) continue;
        if (held == BorderCode || signOf(held) == signOf(code) || between != NoSquare) return;
        between = square;
    }
    if (between == NoSquare) return;
    squares[between].pinned = 1;
    squares[between].pinFile = fx;
    squares[between].pinRank = fy;
}

int Board::refreshAttackMap() {
    clearDerivedFields();
    int whiteKing, blackKing, sliderCount;
    int sliders[BoardSquares];
    const int indicator = countAttacks(whiteKing, blackKing, sliders, sliderCount);
    for (int i = 0; i < sliderCount; ++i) {
        const int king = squares[sliders[i]].piece > 0 ? blackKing : whiteKing;
        if (king != NoSquare) markPin(sliders[i], king);
    }
    return indicator;
}

template <class Visit> void Board::forEachEvasionSquare(int checker, Visit&& visit) const {
    const int code = squares[checker].piece;
    if (isSlider(typeOf(code))) {
        int kingFile, kingRank, fx, fy;
        findKing(-signOf(code), kingFile, kingRank);
        if (kingFile != NoSquare &&
            usableLine(kingFile - fileOf(checker), kingRank - rankOf(checker), fx, fy)) {
            const int kingSquare = squareIndex(kingFile, kingRank);
            const int delta = deltaOf(fx, fy);
            for (int square = checker + delta; square != kingSquare; square += delta) {
                if (squares[square].piece == BorderCode) break;
                visit(square);
            }
        }
    }
    visit(checker);
}

MoveTarget* Board::evasionSquares(int checker) const {
    MoveTarget* list = nullptr;
    forEachEvasionSquare(checker, [&](int square) {
        list = appendTarget(list, fileOf(square), rankOf(square), 0, 0);
    });
    return list;
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
    const int s = signOf(squares[from].piece);
    std::int8_t pieces[BoardSquares];
    for (int i = 0; i < BoardSquares; ++i)
        pieces[i] = squares[i].piece;
    pieces[to] = pieces[from];
    pieces[from] = 0;
    pieces[to - PawnPush * s] = 0;
    int king = NoSquare;
    for (int i = 0; i < BoardSquares; ++i)
        if (pieces[i] == King * s) king = i;
    if (king == NoSquare) return true;
    for (const Step& step : pieceSteps[Queen].steps) {
        const int delta = step.delta;
        const bool diagonal = step.file != 0 && step.rank != 0;
        for (int square = king + delta;; square += delta) {
            const int held = pieces[square];
            if (held == 0) continue;
            if (held != BorderCode && signOf(held) == -s) {
                const int type = typeOf(held);
                if (type == Queen || type == (diagonal ? Bishop : Rook)) return false;
                if (square == king + delta && type == King) return false;
            }
            break;
        }
    }
    for (const Step& step : pieceSteps[Knight].steps)
        if (pieces[king + step.delta] == -Knight * s) return false;
    for (const int delta : {PawnCaptureRight * s, PawnCaptureLeft * s})
        if (pieces[king + delta] == -Pawn * s) return false;
    return true;
}

Board::CheckState Board::checkState() const {
    CheckState check;
    check.inCheck = (sideToMove == -1 && (status & BlackInCheck)) ||
                    (sideToMove == 1 && (status & WhiteInCheck));
    if (!check.inCheck) return check;
    int kingFile, kingRank;
    findKing((status & BlackInCheck) ? -1 : 1, kingFile, kingRank);
    if (kingFile == NoSquare) return check;
    check.kingSquare = squareIndex(kingFile, kingRank);
    const int kingCode = squares[check.kingSquare].piece;
    if (opponentAttacks(check.kingSquare, kingCode) > 1) {
        check.doubleCheck = true;
        return check;
    }
    const Square& king = squares[check.kingSquare];
    check.checker = kingCode > 0 ? king.blackAttacker : king.whiteAttacker;
    if (check.checker != NoSquare)
        forEachEvasionSquare(check.checker, [&](int square) { check.addEvasion(square); });
    return check;
}

// The destinations of one piece, each direction walked until blocked. In check a piece other
// than the king adds only squares that end the check, and the king skips the pin filter.
template <bool InCheck, int S, class Sink>
void Board::pieceTargets(int index, const CheckState& check, Sink& sink) const {
    constexpr int s = S;
    const Square& from = squares[index];
    const int code = from.piece;
    const int type = code * s;
    const PieceSteps& steps = pieceSteps[type];
    const auto open = [&](const Step& step) {
        return !from.pinned || (InCheck && type == King) ||
               pinAllows(index, step.file * s, step.rank * s);
    };
    const auto answers = [&](int target) { return !InCheck || check.answers(target); };
    if (type == Pawn) {
        // Forward only, and never onto a piece: captures are the pawn's extras.
        const int one = index + PawnPush * s;
        if (open(steps.steps[0]) && squares[one].piece == 0 && answers(one))
            sink.add(one, NoCastle, 0);
        pawnExtras(index, InCheck ? &check : nullptr, sink);
        return;
    }
    if (type == King) {
        for (int i = 0; i < steps.count; ++i) {
            const int target = index + steps.steps[i].delta * s;
            if (open(steps.steps[i]) && landable(squares[target].piece, s) &&
                opponentAttacks(target, code) == 0)
                sink.add(target, NoCastle, 0);
        }
        if (!InCheck) castlingTargets(index, sink);
        return;
    }
    for (int i = 0; i < steps.count; ++i) {
        if (!open(steps.steps[i])) continue;
        const int delta = steps.steps[i].delta * s;
        for (int target = index + delta;; target += delta) {
            const int held = squares[target].piece;
            if (!landable(held, s)) break;
            if (answers(target)) sink.add(target, NoCastle, 0);
            if (held != 0 || steps.stepOnce) break;
        }
    }
}

template <class Sink> void Board::pawnExtras(int index, const CheckState* only, Sink& sink) const {
    const int s = signOf(squares[index].piece);
    const auto answers = [&](int target) { return !only || only->answers(target); };
    const int right = index + PawnCaptureRight * s, left = index + PawnCaptureLeft * s;
    if (isEnemy(s, squares[right].piece) && pinAllows(index, s, s) && answers(right))
        sink.add(right, NoCastle, 0);
    if (isEnemy(s, squares[left].piece) && pinAllows(index, -s, s) && answers(left))
        sink.add(left, NoCastle, 0);
    const int one = index + PawnPush * s, two = one + PawnPush * s;
    if (squares[index].untouched && rankOf(index) == pawnHomeRank(s) && sideToMove == s &&
        pinAllows(index, 0, s) && squares[one].piece == 0 && squares[two].piece == 0 &&
        answers(two))
        sink.add(two, NoCastle, 1);
    if (enPassant != NoSquare) {
        const bool viaRight = enPassant == right && pinAllows(index, s, s);
        const bool viaLeft = !viaRight && enPassant == left && pinAllows(index, -s, s);
        // In check the capture must take the checking pawn or block the checking line.
        const int captured = enPassant - PawnPush * s;
        const bool answersCheck = answers(captured) || answers(enPassant);
        if ((viaRight || viaLeft) && answersCheck && enPassantIsSafe(index, enPassant))
            sink.add(enPassant, NoCastle, 0);
    }
}

template <class Sink> void Board::castlingTargets(int index, Sink& sink) const {
    if ((index != WhiteKingHome && index != BlackKingHome) || !squares[index].untouched) return;
    const int king = squares[index].piece;
    const auto safe = [&](int square) {
        return squares[square].piece == 0 && opponentAttacks(square, king) == 0;
    };
    const Square& kingRook = squares[index + KingSideRookOffset];
    if (typeOf(kingRook.piece) == Rook && kingRook.untouched && safe(index + FileStep) &&
        safe(index + 2 * FileStep))
        sink.add(index + 2 * FileStep, KingSide, 0);
    const Square& queenRook = squares[index + QueenSideRookOffset];
    if (typeOf(queenRook.piece) == Rook && queenRook.untouched && safe(index - FileStep) &&
        safe(index - 2 * FileStep) && squares[index - 3 * FileStep].piece == 0)
        sink.add(index - 2 * FileStep, QueenSide, 0);
}

// The legal destinations of the piece on index, in generation order, whatever the sink.
template <class Sink> void Board::generate(int index, const CheckState& check, Sink& sink) const {
    const bool white = squares[index].piece > 0;
    if (!check.inCheck) {
        if (white)
            pieceTargets<false, 1>(index, check, sink);
        else
            pieceTargets<false, -1>(index, check, sink);
        return;
    }
    if (check.kingSquare == NoSquare) return;
    // In double check only the king of the side to move steps out.
    if (check.doubleCheck && squares[index].piece != King * sideToMove) return;
    if (!check.doubleCheck && check.checker == NoSquare) return;
    if (white)
        pieceTargets<true, 1>(index, check, sink);
    else
        pieceTargets<true, -1>(index, check, sink);
}

// Whether legal destinations are generated for index at all: a piece of the side to move, or
// of either side while ProbeEitherSide is set.
bool Board::generates(int index) const {
    if (index < 0 || index >= BoardSquares || !isPieceCode(squares[index].piece)) return false;
    return isSideToMovePiece(index) || (status & ProbeEitherSide);
}

int Board::collectLegalTargets(int index, MoveTarget* out) const {
    if (!generates(index)) return 0;
    TargetArray sink{out};
    generate(index, checkState(), sink);
    return sink.count;
}

int Board::countLegalTargets(int index) const {
    if (!generates(index)) return 0;
    TargetCount sink;
    generate(index, checkState(), sink);
    return sink.count;
}

MoveTarget* Board::legalTargets(int index) const {
    MoveTarget found[MaxPieceTargets];
    const int count = collectLegalTargets(index, found);
    MoveTarget* list = nullptr;
    for (int i = 0; i < count; ++i)
        list =
            appendTarget(list, found[i].file, found[i].rank, found[i].castle, found[i].doubleStep);
    return list;
}

MoveTarget* Board::legalTargetsAt(int file, int rank) const {
    return legalTargets(squareIndex(file, rank));
}

int Board::mobility() const {
    const CheckState check = checkState();
    int sum = 0;
    for (int row = FirstSquare; row <= LastSquare; row -= RankStep) {
        for (int index = row; index < row + 8; ++index) {
            if (squares[index].piece == 0 || !generates(index)) continue;
            TargetCount sink;
            generate(index, check, sink);
            sum += signOf(squares[index].piece) * sink.count;
        }
    }
    return sum;
}

int Board::hasNoLegalMove(int colour) {
    status |= ProbeEitherSide;
    const CheckState check = checkState();
    int none = 1;
    for (int index = FirstSquare; index <= LastSquare && none; ++index) {
        const int code = squares[index].piece;
        if (!isPieceCode(code) || signOf(code) != colour) continue;
        TargetCount sink;
        generate(index, check, sink);
        if (sink.count) none = 0;
    }
    status &= ~ProbeEitherSide;
    return none;
}
