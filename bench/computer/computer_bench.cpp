// The computer player's costs: a whole move choice in three kinds of position, and the two
// operations every leaf of its tree runs, playing a move and counting the moves that follow.

#include <benchmark/benchmark.h>

#include "chess/computer.h"
#include "chess/fen.h"

namespace {

const char* const positions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "8/5pk1/6p1/8/3R4/6P1/5PK1/r7 w - - 0 1",
};

Board positionFrom(const char* fen) {
    Board position;
    setFromFen(position, fen);
    return position;
}

void ChooseMove(benchmark::State& state) {
    const Board position = positionFrom(positions[state.range(0)]);
    std::uint64_t nodes = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(computer.chooseMove(position));
        nodes += computer.movesMade + computer.positionsEvaluated;
    }
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}
BENCHMARK(ChooseMove)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void PlayMoveAndEvaluate(benchmark::State& state) {
    const Position root(positionFrom(positions[1]));
    const int from = cellOf(squareIndex(6, 3));
    Destination targets[MaxPieceTargets];
    root.destinations(from, targets);
    for (auto _ : state) {
        Position child = root;
        child.play(from, targets[0]);
        benchmark::DoNotOptimize(child.countMoves());
    }
}
BENCHMARK(PlayMoveAndEvaluate);

void Evaluate(benchmark::State& state) {
    ComputerPlayer player;
    static_cast<Board&>(player) = positionFrom(positions[1]);
    for (auto _ : state)
        benchmark::DoNotOptimize(player.evaluate());
}
BENCHMARK(Evaluate);

} // namespace

BENCHMARK_MAIN();
