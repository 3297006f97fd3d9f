#include "tools/chessprobe/searchcmd.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "chess/computer.h"
#include "chess/fen.h"

namespace {

struct BenchPosition {
    const char* phase;
    const char* fen;
};

// Fixed positions: their chosen moves and node counts are the search's signature.
const BenchPosition benchSuite[] = {
    {"opening", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"},
    {"opening", "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6 0 2"},
    {"opening", "rnbqkbnr/pp1ppppp/8/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2"},
    {"opening", "r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 3 3"},
    {"opening", "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq - 1 5"},
    {"middlegame", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"},
    {"middlegame", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10"},
    {"middlegame", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8"},
    {"middlegame", "r2q1rk1/ppp2ppp/2np1n2/2b1p1B1/2B1P1b1/2NP1N2/PPP2PPP/R2Q1RK1 w - - 0 8"},
    {"middlegame", "r1bq1rk1/pppn1pbp/3p1np1/4p3/2PPP3/2N2N2/PP2BPPP/R1BQ1RK1 b - - 0 8"},
    {"middlegame", "r1b2rk1/pp1nqppp/2pbpn2/3p4/2PP4/2NBPN2/PPQ2PPP/R1B2RK1 w - - 0 9"},
    {"middlegame", "2rq1rk1/pp1bppbp/3p1np1/4n3/3NP3/1BN1BP2/PPPQ2PP/2KR3R w - - 0 12"},
    {"middlegame", "r1bqk2r/ppp2ppp/2n5/2bpP3/3Pn3/5N2/PPP2PPP/RNBQKB1R w KQkq - 0 6"},
    {"middlegame", "r2qr1k1/1b1nbppp/p2p1n2/1pp1p3/4P3/2PP1N1P/PPB2PP1/RNBQR1K1 w - - 0 12"},
    {"middlegame", "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4"},
    {"endgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"},
    {"endgame", "8/8/8/4k3/8/8/4P3/4K3 w - - 0 1"},
    {"endgame", "8/5pk1/6p1/8/3R4/6P1/5PK1/r7 w - - 0 1"},
    {"endgame", "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1"},
    {"endgame", "8/8/4k3/8/2K5/8/8/3Q4 w - - 0 1"},
    {"endgame", "8/P7/8/8/8/8/k6K/8 w - - 0 1"},
    {"endgame", "r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1"},
};

void moveText(const Move& move, char (&text)[5]) {
    if (move.fromFile == 0) {
        std::strcpy(text, "0000");
        return;
    }
    text[0] = static_cast<char>('a' + move.fromFile - 1);
    text[1] = static_cast<char>('0' + move.fromRank);
    text[2] = static_cast<char>('a' + move.toFile - 1);
    text[3] = static_cast<char>('0' + move.toRank);
    text[4] = 0;
}

int chooseCommand(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: chessprobe choose \"<FEN>\"\n");
        return 2;
    }
    Board position;
    if (!readPosition(argv[2], position)) return 1;
    char text[5];
    moveText(computer.chooseMove(position), text);
    std::printf("%s\n", text);
    return 0;
}

// The engine colour as written on the command line: 1 or +1, or -1; 0 for anything else.
int colourArgument(const char* text) {
    if (std::strcmp(text, "1") == 0 || std::strcmp(text, "+1") == 0) return 1;
    if (std::strcmp(text, "-1") == 0) return -1;
    return 0;
}

int evalCommand(int argc, char** argv) {
    const int colour = argc == 4 ? colourArgument(argv[3]) : 0;
    if (colour == 0) {
        std::fprintf(stderr, "usage: chessprobe eval \"<FEN>\" 1|-1\n");
        return 2;
    }
    Board position;
    if (!readPosition(argv[2], position)) return 1;
    static_cast<Board&>(computer) = position;
    computer.engineColour = colour;
    std::printf("%d\n", computer.evaluate());
    return 0;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Times one chooseMove; with several runs the fastest counts, the others being disturbed
// by whatever else the machine does.
double timeChoice(const Board& position, int runs, Move& move) {
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        move = computer.chooseMove(position);
        const auto end = std::chrono::steady_clock::now();
        const double ms = std::chrono::duration<double, std::milli>(end - start).count();
        if (run == 0 || ms < best) best = ms;
    }
    return best;
}

void printSummary(const char* label, const std::vector<double>& times) {
    if (times.empty()) return;
    std::printf("%-11s median %8.2f ms  maximum %8.2f ms  over %zu positions\n", label,
                median(times), *std::max_element(times.begin(), times.end()), times.size());
}

int benchCommand(int argc, char** argv) {
    const int runs = argc >= 3 ? std::atoi(argv[2]) : 1;
    if (argc > 3 || runs < 1) {
        std::fprintf(stderr, "usage: chessprobe bench [runs]\n");
        return 2;
    }
    std::vector<double> all, middlegame;
    double totalMs = 0;
    std::uint64_t totalNodes = 0;
    int number = 0;
    for (const BenchPosition& entry : benchSuite) {
        Board position;
        if (!readPosition(entry.fen, position)) return 1;
        Move move;
        const double ms = timeChoice(position, runs, move);
        const std::uint64_t nodes = computer.movesMade + computer.positionsEvaluated;
        char text[5];
        moveText(move, text);
        std::printf("%2d %-10s %s %9.2f ms %10llu nodes (%llu moves, %llu evaluations)\n", ++number,
                    entry.phase, text, ms, static_cast<unsigned long long>(nodes),
                    static_cast<unsigned long long>(computer.movesMade),
                    static_cast<unsigned long long>(computer.positionsEvaluated));
        totalMs += ms;
        totalNodes += nodes;
        all.push_back(ms);
        if (std::strcmp(entry.phase, "middlegame") == 0) middlegame.push_back(ms);
    }
    std::printf("total %.2f ms %llu nodes\n", totalMs, static_cast<unsigned long long>(totalNodes));
    printSummary("all", all);
    printSummary("middlegame", middlegame);
    return 0;
}

} // namespace

int runSearchCommand(int argc, char** argv) {
    if (argc < 2) return -1;
    if (std::strcmp(argv[1], "choose") == 0) return chooseCommand(argc, argv);
    if (std::strcmp(argv[1], "eval") == 0) return evalCommand(argc, argv);
    if (std::strcmp(argv[1], "bench") == 0) return benchCommand(argc, argv);
    return -1;
}
