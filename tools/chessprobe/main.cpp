// The command-line probe of the rules: perft, divide and the legal moves of a position.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "chess/board.h"
#include "chess/fen.h"
#include "chess/position.h"
#include "tools/chessprobe/searchcmd.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: chessprobe perft|divide \"<FEN>\" <depth> | moves \"<FEN>\" | "
                         "choose \"<FEN>\" | eval \"<FEN>\" 1|-1 | bench [runs]\n");
    return 2;
}

// Leaf positions `depth` plies below the position; a move that waits for its promotion piece
// counts once per piece, each played out on its own copy.
std::uint64_t perft(const Position& position, int depth);

std::uint64_t perftAfterMove(const Position& after, int depth) {
    if (!(after.status & PromotionPending)) return depth == 0 ? 1 : perft(after, depth);
    std::uint64_t nodes = 0;
    for (int type = Rook; type <= Queen; ++type) {
        Position promoted = after;
        promoted.promote(type);
        nodes += depth == 0 ? 1 : perft(promoted, depth);
    }
    return nodes;
}

// Counts the destinations one ply above the leaves without playing them; a pawn one step
// from its last rank promotes with every move it has, each of which stands for four.
std::uint64_t countLeaves(const Position& position, int from) {
    const int code = position.piece[from];
    const int s = signOf(code);
    const bool promoting = code == Pawn * s && rankOf(indexOfCell(from)) + s == promotionRank(s);
    const auto count = static_cast<std::uint64_t>(position.countDestinations(from));
    return promoting ? 4 * count : count;
}

std::uint64_t perft(const Position& position, int depth) {
    std::uint64_t nodes = 0;
    for (Bitboard pieces = position.byColour[position.sideToMove > 0 ? 0 : 1]; pieces;
         pieces &= pieces - 1) {
        const int from = lowestCell(pieces);
        if (depth == 1) {
            nodes += countLeaves(position, from);
            continue;
        }
        Destination targets[MaxPieceTargets];
        const int count = position.destinations(from, targets);
        for (int i = 0; i < count; ++i) {
            Position after = position;
            after.play(from, targets[i]);
            nodes += perftAfterMove(after, depth - 1);
        }
    }
    return nodes;
}

void squareName(int file, int rank, char* out) {
    out[0] = static_cast<char>('a' + file - 1);
    out[1] = static_cast<char>('0' + rank);
    out[2] = 0;
}

int divide(const Board& b, int depth) {
    static const char promotionLetters[] = "??rnbq";
    std::uint64_t total = 0;
    for (int from = 0; from < BoardSquares; ++from) {
        if (!b.isSideToMovePiece(from)) continue;
        MoveTarget* list = b.legalTargets(from);
        for (const MoveTarget* node = list; node; node = node->next) {
            Board after = b;
            after.makeMoveAt(fileOf(from), rankOf(from), node->file, node->rank);
            char fromName[3], toName[3];
            squareName(fileOf(from), rankOf(from), fromName);
            squareName(node->file, node->rank, toName);
            if (after.status & PromotionPending) {
                for (int type = Rook; type <= Queen; ++type) {
                    Board promoted = after;
                    promoted.promote(type);
                    const std::uint64_t n = depth <= 1 ? 1 : perft(Position(promoted), depth - 1);
                    std::printf("%s%s%c: %llu\n", fromName, toName, promotionLetters[type],
                                static_cast<unsigned long long>(n));
                    total += n;
                }
            } else {
                const std::uint64_t n = depth <= 1 ? 1 : perft(Position(after), depth - 1);
                std::printf("%s%s: %llu\n", fromName, toName, static_cast<unsigned long long>(n));
                total += n;
            }
        }
        freeTargets(list);
    }
    std::printf("%llu\n", static_cast<unsigned long long>(total));
    return 0;
}

int moves(const Board& b) {
    bool first = true;
    for (int from = 0; from < BoardSquares; ++from) {
        if (!b.isSideToMovePiece(from)) continue;
        MoveTarget* list = b.legalTargets(from);
        for (const MoveTarget* node = list; node; node = node->next) {
            char fromName[3], toName[3];
            squareName(fileOf(from), rankOf(from), fromName);
            squareName(node->file, node->rank, toName);
            std::printf("%s%s%s", first ? "" : " ", fromName, toName);
            first = false;
        }
        freeTargets(list);
    }
    std::printf("\n");
    return 0;
}

bool readDepth(const char* text, int& depth) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end || value < 1 || value > 12) return false;
    depth = static_cast<int>(value);
    return true;
}

} // namespace

int readPosition(const char* fen, Board& position) {
    const char* fault = "";
    if (setFromFen(position, fen, &fault)) return 1;
    std::fprintf(stderr, "chessprobe: not a position (%s): \"%s\"\n", fault, fen);
    return 0;
}

int main(int argc, char** argv) {
    const int searchStatus = runSearchCommand(argc, argv);
    if (searchStatus >= 0) return searchStatus;
    if (argc < 3) return usage();
    const char* command = argv[1];
    Board b;
    const bool counting = !std::strcmp(command, "perft") || !std::strcmp(command, "divide");
    if (!counting && std::strcmp(command, "moves")) return usage();
    if ((counting && argc != 4) || (!counting && argc != 3)) return usage();
    if (!readPosition(argv[2], b)) return 1;
    if (!counting) return moves(b);
    int depth = 0;
    if (!readDepth(argv[3], depth)) {
        std::fprintf(stderr, "chessprobe: bad depth: %s\n", argv[3]);
        return 2;
    }
    if (!std::strcmp(command, "divide")) return divide(b, depth);
    std::printf("%llu\n", static_cast<unsigned long long>(perft(Position(b), depth)));
    return 0;
}
