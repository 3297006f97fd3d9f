// Frame time of the game screen at 1024 x 768 with all 32 pieces, on the generated data.
// Run under a display (xvfb-run for software OpenGL); reports frames per second, the median
// frame, the triangles drawn per frame and the heap allocations per frame.

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "app/core/config.h"
#include "app/core/state.h"
#include "app/core/turn.h"
#include "assets/loading.h"
#include "assets/mesh.h"
#include "assets/texture.h"
#include "chess/board.h"
#include "scene/gamescreen.h"
#include "scene/glsetup.h"

static std::atomic<long> allocations{0};

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

bool openWindow() {
    if (chdir(KAVRIN_DATA_DIR) != 0) return false;
    config = readConfig("chess.cfg");
    config.screenWidth = 1024;
    config.screenHeight = 768;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    if (!SDL_SetVideoMode(1024, 768, 0, SDL_OPENGL)) return false;
    if (!initGL()) return false;
    resizeGL(1024, 768);
    textureRegistry = new TextureRegistry;
    loadModels(config, meshTable);
    return true;
}

long trianglesOf(int slot) {
    long count = 0;
    for (const MeshPart& part : meshTable[slot]->parts)
        count += part.faceCount;
    return count;
}

long trianglesOnBoard() {
    long count = trianglesOf(7);
    for (int file = 1; file <= 8; ++file)
        for (int rank = 1; rank <= 8; ++rank) {
            const int code = board.squares[squareIndex(file, rank)].piece;
            if (code != 0) count += trianglesOf(std::abs(code));
        }
    return count;
}

void startPosition() {
    board.reset();
    appState = AppGame | AppWhiteTurn | AppHumanToMove;
    menuOptions = menuStartOptions;
}

void drawFrames(benchmark::State& state, void (*beforeFrame)()) {
    std::vector<double> frameMs;
    frameMs.reserve(1 << 16);
    for (int i = 0; i < 5; ++i) { // warm up the driver's caches
        beforeFrame();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawGameScreen();
        SDL_GL_SwapBuffers();
    }
    glFinish();
    const long allocationsBefore = allocations;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        beforeFrame();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawGameScreen();
        SDL_GL_SwapBuffers();
        glFinish();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        if (frameMs.size() < frameMs.capacity()) frameMs.push_back(spent.count());
    }
    const long frameAllocations = allocations - allocationsBefore;
    std::sort(frameMs.begin(), frameMs.end());
    const double median = frameMs.empty() ? 0 : frameMs[frameMs.size() / 2];
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["median_ms"] = median;
    state.counters["triangles"] = static_cast<double>(trianglesOnBoard());
    state.counters["allocs_per_frame"] =
        static_cast<double>(frameAllocations) / static_cast<double>(state.iterations());
}

MoveTarget e3 = {5, 3, 0, 0, nullptr};
MoveTarget e4 = {5, 4, 0, 1, &e3};

void restingWithSelection() { selection = {5, 2, &e4}; }

// A knight halfway through its flight while the opponent is in check: the busiest frame.
void knightInFlight() {
    moveAnim = {7, 1, 6, 3, 6, 3, 3, 0, 0};
    setAppBits(AppMoveAnim);
    phaseStart = SDL_GetTicks() - 2500;
}

void BM_RestingFrame(benchmark::State& state) {
    startPosition();
    drawFrames(state, restingWithSelection);
}

void BM_MoveAnimationFrame(benchmark::State& state) {
    startPosition();
    board.squares[squareIndex(7, 1)].piece = 0;
    board.squares[squareIndex(6, 3)].piece = 3;
    board.sideToMove = -1;
    board.status = BlackInCheck;
    drawFrames(state, knightInFlight);
    board.reset();
}

} // namespace

BENCHMARK(BM_RestingFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_MoveAnimationFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

int main(int argc, char** argv) {
    if (!openWindow()) {
        std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    freeModels();
    SDL_Quit();
    return 0;
}
