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

int countTargets(const MoveTarget* list) {
    int count = 0;
    for (; list; list = list->next)
        ++count;
    return count;
}


// The steps of one piece type for white, in its order of directions with the empty slots left
// out; a black piece steps by the negated values.
struct PieceSteps {
    int count;
    int deltas[16];
    int fileSteps[16];
    int rankSteps[16];
};

// Every board carries the same direction and piece-type tables from its reset, so the steps
// are worked out once from a fresh board.
const PieceSteps* pieceSteps() {
    static const struct Table {
        PieceSteps types[7];
        Table() : types() {
            const Board fresh;
            const int centre = squareIndex(4, 4);
            for (int type = 1; type <= 6; ++type) {
                PieceSteps& steps = types[type];
                for (const std::uint8_t dir : fresh.pieceTypes[type].dirs) {
                    if (dir == NoDirection) continue;
                    const int delta = fresh.directions[dir];
                    steps.deltas[steps.count] = delta;
                    steps.fileSteps[steps.count] = fileOf(centre + delta) - fileOf(centre);
                    steps.rankSteps[steps.count] = rankOf(centre + delta) - rankOf(centre);
                    ++steps.count;
                }
            }
        }
    } table;
    return table.types;
}

// isSideToMovePiece, here where the compiler can inline it into the per-square loops.
bool holdsSideToMovePiece(const Board& board, int index) {
    const int code = board.squares[index].piece;
    const int type = typeOf(code);
    return type >= 1 && type <= 6 && signOf(code) == signOf(board.sideToMove);
}

// The mobility count walks the pieces' destinations the way legalTargets does when the side
// to move is not in check, counting them instead of building their lists; whatever it does
// not cover (check, en passant) is counted from the lists themselves.

bool pinAllows(const Square& square, int fx, int fy) {
    if (!square.pinned) return true;
    return (square.pinFile == fx && square.pinRank == fy) ||
           (square.pinFile == -fx && square.pinRank == -fy);
}

int opponentAttacks(const Board& board, int index, int mover) {
    return mover > 0 ? board.squares[index].blackAttackers : board.squares[index].whiteAttackers;
}

int countWalk(const Board& board, int index, int delta, const PieceType& type) {
    const int s = signOf(board.squares[index].piece);
    int count = 0;
    for (int target = index + delta;; target += delta) {
        const int held = board.squares[target].piece;
        if (held == BorderCode || (held != 0 && signOf(held) == s)) break;
        const bool enemy = held != 0;
        if (!(type.isPawn && enemy) && !(type.isKing && opponentAttacks(board, target, s) != 0))
            ++count;
        if (enemy || type.stepOnce) break;
    }
    return count;
}

int countCastling(const Board& board, int index) {
    if ((index != 114 && index != 30) || !board.squares[index].untouched) return 0;
    const int king = board.squares[index].piece;
    const auto safe = [&](int square) {
        return board.squares[square].piece == 0 && opponentAttacks(board, square, king) == 0;
    };
    int count = 0;
    const Square& kingRook = board.squares[index + 3];
    if (typeOf(kingRook.piece) == 2 && kingRook.untouched && safe(index + 1) && safe(index + 2))
        ++count;
    const Square& queenRook = board.squares[index - 4];
    if (typeOf(queenRook.piece) == 2 && queenRook.untouched && safe(index - 1) && safe(index - 2) &&
        board.squares[index - 3].piece == 0)
        ++count;
    return count;
}

// The pawn's captures and double step; the caller has ruled out en passant.
int countPawnExtras(const Board& board, int index) {
    const Square& pawn = board.squares[index];
    const int s = signOf(pawn.piece);
    const int right = index - 11 * s, left = index - 13 * s;
    int count = 0;
    if (board.isEnemy(s, board.squares[right].piece) && pinAllows(pawn, s, s)) ++count;
    if (board.isEnemy(s, board.squares[left].piece) && pinAllows(pawn, -s, s)) ++count;
    const int homeRank = s > 0 ? 2 : 7;
    if (pawn.untouched && rankOf(index) == homeRank && board.sideToMove == s &&
        pinAllows(pawn, 0, s) && board.squares[index - 12 * s].piece == 0 &&
        board.squares[index - 24 * s].piece == 0)
        ++count;
    return count;
}

// Legal destinations of a piece of the side to move, which is not in check.
int countDestinations(const Board& board, int index) {
    const int code = board.squares[index].piece;
    const int s = signOf(code);
    const PieceType& type = board.pieceTypes[typeOf(code)];
    if (type.isPawn && board.enPassant != -1 &&
        (board.enPassant == index - 11 * s || board.enPassant == index - 13 * s)) {
        MoveTarget* const targets = board.legalTargets(index);
        const int count = countTargets(targets);
        freeTargets(targets);
        return count;
    }
    int count = 0;
    const PieceSteps& steps = pieceSteps()[typeOf(code)];
    for (int i = 0; i < steps.count; ++i)
        if (pinAllows(board.squares[index], steps.fileSteps[i] * s, steps.rankSteps[i] * s))
            count += countWalk(board, index, steps.deltas[i] * s, type);
    if (type.isKing) count += countCastling(board, index);
    if (type.isPawn) count += countPawnExtras(board, index);
    return count;
}

bool sideToMoveInCheck(const Board& board) {
    return (board.sideToMove == -1 && (board.status & BlackInCheck)) ||
           (board.sideToMove == 1 && (board.status & WhiteInCheck));
}

// The sum over all squares of the piece's sign times its number of legal destinations,
// taken from the lists themselves.
int listedMobility(const Board& board) {
    int mobility = 0;
    for (int index = 0; index < BoardSquares; ++index) {
        MoveTarget* const targets = board.legalTargets(index);
        mobility += signOf(board.squares[index].piece) * countTargets(targets);
        freeTargets(targets);
    }
    return mobility;
}

// The attack and pin maps rebuilt as refreshAttackMap does, with each piece's attacks walked
// and counted on the spot instead of collected in a list first.

void clearDerivedFields(Board& board) {
    for (Square& square : board.squares)
        square = {square.piece, square.untouched, 0, 0, -1, -1, 0, -1, -1};
}

// Adds the attacks of a piece of colour S on index to that colour's counts; returns the last
// check indicator they give (+1 the white king is attacked, -1 the black king), or 0.
template <int S> int countPieceAttacks(Board& board, int index, int type) {
    constexpr int enemyKing = -6 * S;
    int indicator = 0;
    const auto count = [&](int target) {
        Square& square = board.squares[target];
        if (S > 0) {
            ++square.whiteAttackers;
            square.whiteAttacker = index;
        } else {
            ++square.blackAttackers;
            square.blackAttacker = index;
        }
        if (square.piece == enemyKing) indicator = -S;
        return square.piece;
    };
    if (type == 1) {
        count(index - 11 * S);
        count(index - 13 * S);
        return indicator;
    }
    const PieceSteps& steps = pieceSteps()[type];
    if (board.pieceTypes[type].stepOnce) {
        for (int i = 0; i < steps.count; ++i)
            count(index + steps.deltas[i] * S);
        return indicator;
    }
    for (int i = 0; i < steps.count; ++i) {
        const int delta = steps.deltas[i] * S;
        for (int target = index + delta;; target += delta) {
            const int held = count(target);
            if (held != 0 && held != enemyKing) break;
        }
    }
    return indicator;
}

void markPin(Board& board, int index, int kingFile, int kingRank) {
    const int code = board.squares[index].piece;
    const int type = typeOf(code);
    if (type != 2 && type != 4 && type != 5) return;
    const int dx = kingFile - fileOf(index), dy = kingRank - rankOf(index);
    const int ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
    if (!(ax == ay || (dx == 0) != (dy == 0))) return;
    const int fx = signOf(dx), fy = signOf(dy);
    if (fx == 0 && fy == 0) return;
    const bool diagonal = fx != 0 && fy != 0;
    if ((type == 4 && !diagonal) || (type == 2 && diagonal)) return;
    const int kingSquare = squareIndex(kingFile, kingRank);
    const int delta = fx - 12 * fy;
    int between = -1;
    for (int square = index + delta; square != kingSquare; square += delta) {
        const int held = board.squares[square].piece;
        if (held == 0) continue;
        if (held == BorderCode || signOf(held) == signOf(code) || between != -1) return;
        between = square;
    }
    if (between == -1) return;
    board.squares[between].pinned = 1;
    board.squares[between].pinFile = fx;
    board.squares[between].pinRank = fy;
}

int refreshMapsByWalking(Board& board) {
    clearDerivedFields(board);
    // The kings as findKing finds them (lowest rank first, then lowest file), and the
    // sliders that may pin, both gathered in the one pass that counts the attacks.
    int whiteKing = -1, blackKing = -1;
    int sliders[64];
    int sliderCount = 0;
    int indicator = 0;
    for (int index = squareIndex(1, 8); index <= squareIndex(8, 1); ++index) {
        const int code = board.squares[index].piece;
        const int type = typeOf(code);
        if (code == 0 || type > 6) continue;
        const int check = code > 0 ? countPieceAttacks<1>(board, index, type)
                                   : countPieceAttacks<-1>(board, index, type);
        if (check) indicator = check;
        if (code == 6 && (whiteKing == -1 || rankOf(index) < rankOf(whiteKing))) whiteKing = index;
        if (code == -6 && (blackKing == -1 || rankOf(index) < rankOf(blackKing))) blackKing = index;
        if ((type == 2 || type == 4 || type == 5) && sliderCount < 64)
            sliders[sliderCount++] = index;
    }
    for (int i = 0; i < sliderCount; ++i) {
        const int index = sliders[i];
        const int king = board.squares[index].piece > 0 ? blackKing : whiteKing;
        if (king != -1) markPin(board, index, fileOf(king), rankOf(king));
    }
    return indicator;
}

// Whether some piece of the side to move, which is not in check, has a legal destination:
// hasNoLegalMove(sideToMove) turned round, counted by walking.
bool hasDestination(const Board& board) {
    for (int index = squareIndex(1, 8); index <= squareIndex(8, 1); ++index)
        if (holdsSideToMovePiece(board, index) && countDestinations(board, index) > 0) return true;
    return false;
}

// The status update of a played move, with the maps rebuilt by walking.
void updateStatusByWalking(Board& board) {
    if (!(board.status & KeepSide)) board.sideToMove = -board.sideToMove;
    board.status &= ~(WhiteInCheck | BlackInCheck);
    const int indicator = refreshMapsByWalking(board);
    if (indicator == 1) {
        board.status |= WhiteInCheck;
        if (board.hasNoLegalMove(1)) board.status |= WhiteMated;
    } else if (indicator == -1) {
        board.status |= BlackInCheck;
        if (board.hasNoLegalMove(-1)) board.status |= BlackMated;
    } else if (!hasDestination(board)) {
        board.status |= Stalemate;
    }
    if (!(board.status & KeepSide)) board.sideToMove = -board.sideToMove;
}

} // namespace

ComputerPlayer::ComputerPlayer() : engineColour(1), movesMade(0), positionsEvaluated(0) {}

Move ComputerPlayer::chooseMove(const Board& position) {
    Move result = {0, 0, 0, 0, nullptr};
    const int first = squareIndex(1, 8);
    const int last = squareIndex(8, 1);
    std::memmove(squares + first, position.squares + first, (last - first + 1) * sizeof(Square));
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
    for (int index = 0; index < BoardSquares; ++index) {
        if (!isSideToMovePiece(index)) continue;
        MoveTarget* const targets = legalTargets(index);
        for (const MoveTarget* target = targets; target; target = target->next)
            list = appendMove(list, fileOf(index), rankOf(index), target->file, target->rank);
        freeTargets(targets);
    }
    return list;
}

Move* ComputerPlayer::appendMove(Move* list, int fromFile, int fromRank, int toFile, int toRank) {
    Move* const node = new Move{fromFile, fromRank, toFile, toRank, nullptr};
    if (!list) return node;
    Move* tail = list;
    while (tail->next)
        tail = tail->next;
    tail->next = node;
    return list;
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
    for (int from = 0; from < BoardSquares; ++from) {
        if (!holdsSideToMovePiece(*this, from)) continue;
        MoveTarget* const targets = legalTargets(from);
        for (const MoveTarget* target = targets; target; target = target->next) {
            playTarget(from, *target);
            ++movesMade;
            const int value = -search(depth - 1, -beta, -alpha);
            restorePosition(*this, saved);
            if (value > alpha) {
                if (value >= beta) {
                    freeTargets(targets);
                    return beta;
                }
                alpha = value;
            }
        }
        freeTargets(targets);
    }
    return alpha;
}

void ComputerPlayer::playTarget(int from, const MoveTarget& target) {
    const int to = squareIndex(target.file, target.rank);
    const int code = squares[from].piece;
    const int s = signOf(code);
    if (code == s && enPassant == to) squares[to + 12 * s].piece = 0;
    enPassant = target.doubleStep ? from - 12 * s : -1;
    squares[to].piece = static_cast<std::int8_t>(code);
    squares[from].piece = 0;
    if ((code == 1 && rankOf(to) == 8) || (code == -1 && rankOf(to) == 1))
        status |= PromotionPending;
    if (target.castle == 1) {
        squares[from + 1].piece = squares[from + 3].piece;
        squares[from + 3].piece = 0;
        squares[from + 3].untouched = squares[from + 1].untouched = 0;
    } else if (target.castle == 2) {
        squares[from - 1].piece = squares[from - 4].piece;
        squares[from - 4].piece = 0;
        squares[from - 4].untouched = squares[from - 1].untouched = 0;
    }
    squares[from].untouched = squares[to].untouched = 0;
    updateStatusByWalking(*this);
    sideToMove = -sideToMove;
}

// The material and check terms of every square, summed before the engine colour's sign is
// applied; the check term is the same 50 on each of the 144 squares, and squares outside a8..h1
// are border squares, which add no material and have no destinations.
int ComputerPlayer::evaluate() const {
    int checkSign = 0;
    if (status & WhiteInCheck)
        checkSign = 1;
    else if (status & BlackInCheck)
        checkSign = -1;
    const bool walkable = !sideToMoveInCheck(*this) && !(status & ProbeEitherSide);
    int material = 0;
    int destinations = 0;
    for (int index = squareIndex(1, 8); index <= squareIndex(8, 1); ++index) {
        const int code = squares[index].piece;
        material += materialValues[typeOf(code)] * signOf(code);
        if (walkable && holdsSideToMovePiece(*this, index))
            destinations += countDestinations(*this, index);
    }
    const int mobility = walkable ? signOf(sideToMove) * destinations : listedMobility(*this);
    return engineColour * (material + BoardSquares * 50 * checkSign + 25 * mobility);
}
