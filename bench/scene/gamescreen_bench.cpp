// Frame time of the game screen on the generated data, at 1024 x 768 and 1920 x 1080: the
// start position, its selection highlights, a middlegame from Black's side, a knight in flight
// while a pawn sinks, a promotion mid-spin and the camera mid-turn. Run under a display
// (xvfb-run for software OpenGL) at least 1920 x 1080; reports frames per second, the median
// frame, the CPU time of all the process's threads per frame (the renderer's included), the
// triangles of the board and its pieces and the heap allocations per frame.
// With KAVRIN_BENCH_FRAMES set to a folder, the first frame of each case is also written
// there as a binary PPM picture, NAME-WIDTHxHEIGHT.ppm, to compare builds pixel by pixel.

#include <GL/gl.h>
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <new>
#include <string>
#include <vector>

#include "app/core/config.h"
#include "app/core/state.h"
#include "app/core/turn.h"
#include "assets/loading.h"
#include "assets/mesh.h"
#include "assets/texture.h"
#include "chess/board.h"
#include "chess/fen.h"
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

int windowWidth = 0, windowHeight = 0;

// A window of the size with the pictures, the font and the models loaded into its context;
// a window of another size is closed first, and everything is made anew for the new one.
bool openWindow(int width, int height) {
    if (width == windowWidth && height == windowHeight) return true;
    if (windowWidth != 0) {
        freeModels();
        SDL_Quit();
    }
    config = readConfig("chess.cfg");
    config.screenWidth = width;
    config.screenHeight = height;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    if (!SDL_SetVideoMode(width, height, 0, SDL_OPENGL)) return false;
    if (!initGL()) return false;
    resizeGL(width, height);
    textureRegistry = new TextureRegistry;
    loadModels(config, meshTable);
    windowWidth = width;
    windowHeight = height;
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

// A game with White to move and no phase running, the clock at a fixed tick.
void startPosition() {
    board.reset();
    appState = AppGame | AppWhiteTurn | AppHumanToMove;
    menuOptions = menuStartOptions;
    selection = {-1, -1, nullptr};
    frameTicks = 1000000;
    phaseStart = frameTicks;
}

// The running phase `elapsed` ms of its 5000 in.
void runningPhase(std::uint32_t bits, std::uint32_t elapsed) {
    setAppBits(bits);
    phaseStart = frameTicks - elapsed;
}

MoveTarget e3 = {5, 3, 0, 0, nullptr};
MoveTarget e4 = {5, 4, 0, 1, &e3};

void selectionHighlights() {
    startPosition();
    selection = {5, 2, &e4};
}

// Pieces of both colours on many squares, seen from Black's resting camera.
void middlegameFromBlack() {
    startPosition();
    setFromFen(board, "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R1BQ1RK1 b - - 0 9");
    appState = AppGame | AppBlackTurn | AppHumanToMove;
}

// The knight from g1 halfway to f3, where a black pawn sinks, and the opponent in check:
// the busiest frame.
void knightInFlight() {
    startPosition();
    board.squares[squareIndex(7, 1)].piece = 0;
    board.squares[squareIndex(6, 3)].piece = 3;
    board.sideToMove = -1;
    board.status = BlackInCheck;
    moveAnim = {7, 1, 6, 3, 6, 3, 3, -1, -1};
    runningPhase(AppMoveAnim, 2500);
}

// A pawn from d7 promoted to a queen on d8, at 0.7 of its spin: the queen shows.
void promotionSpin() {
    startPosition();
    setFromFen(board, "rnbQkbnr/ppp2ppp/8/8/8/8/PPP2PPP/RNBQKBNR b KQkq - 0 5");
    board.status = 0; // the check on the king shows no message while the piece spins
    moveAnim = {4, 8, 4, 8, 4, 8, 1, 5, 0};
    runningPhase(AppPromotionAnim, 3500);
}

// The camera a third of its way from White's side to Black's.
void cameraTurning() {
    startPosition();
    appState = AppGame | AppBlackTurn | AppHumanToMove;
    runningPhase(AppCameraTurn, 1700);
}

void drawOneFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawGameScreen();
}

// The back buffer as a binary PPM, top row first.
void writeFrame(const char* folder, const std::string& name) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(windowWidth) * windowHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowWidth, windowHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const std::string path = std::string(folder) + "/" + name + "-" + std::to_string(windowWidth) +
                             "x" + std::to_string(windowHeight) + ".ppm";
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return;
    std::fprintf(out, "P6\n%d %d\n255\n", windowWidth, windowHeight);
    for (int y = windowHeight - 1; y >= 0; --y)
        std::fwrite(&rgb[static_cast<std::size_t>(y) * windowWidth * 3], 1,
                    static_cast<std::size_t>(windowWidth) * 3, out);
    std::fclose(out);
}

// CPU time of every thread of the process, the renderer's own included, in milliseconds.
double processCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

void drawFrames(benchmark::State& state, void (*setScene)(), const char* name) {
    if (!openWindow(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)))) {
        state.SkipWithError("cannot open the game window");
        return;
    }
    setScene();
    drawOneFrame();
    if (const char* folder = std::getenv("KAVRIN_BENCH_FRAMES")) writeFrame(folder, name);
    SDL_GL_SwapBuffers();
    for (int i = 0; i < 4; ++i) { // warm up the driver's caches
        drawOneFrame();
        SDL_GL_SwapBuffers();
    }
    glFinish();
    std::vector<double> frameMs;
    frameMs.reserve(1 << 16);
    const long allocationsBefore = allocations;
    const double cpuBefore = processCpuMs();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        drawOneFrame();
        SDL_GL_SwapBuffers();
        glFinish();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - start;
        if (frameMs.size() < frameMs.capacity()) frameMs.push_back(spent.count());
    }
    const double cpuMs = processCpuMs() - cpuBefore;
    const long frameAllocations = allocations - allocationsBefore;
    std::sort(frameMs.begin(), frameMs.end());
    const double median = frameMs.empty() ? 0 : frameMs[frameMs.size() / 2];
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["median_ms"] = median;
    state.counters["cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
    state.counters["triangles"] = static_cast<double>(trianglesOnBoard());
    state.counters["allocs_per_frame"] =
        static_cast<double>(frameAllocations) / static_cast<double>(state.iterations());
    board.reset();
}

void BM_StartPosition(benchmark::State& state) { drawFrames(state, startPosition, "start"); }
void BM_SelectionHighlights(benchmark::State& state) {
    drawFrames(state, selectionHighlights, "selection");
}
void BM_MiddlegameFromBlack(benchmark::State& state) {
    drawFrames(state, middlegameFromBlack, "middlegame");
}
void BM_KnightInFlight(benchmark::State& state) { drawFrames(state, knightInFlight, "flight"); }
void BM_PromotionSpin(benchmark::State& state) { drawFrames(state, promotionSpin, "promotion"); }
void BM_CameraTurning(benchmark::State& state) { drawFrames(state, cameraTurning, "camera"); }

// Every case at one size, then every case at the next, so that the window is made twice.
void registerCases() {
    const struct {
        const char* name;
        void (*run)(benchmark::State&);
    } cases[] = {{"StartPosition", BM_StartPosition},
                 {"SelectionHighlights", BM_SelectionHighlights},
                 {"MiddlegameFromBlack", BM_MiddlegameFromBlack},
                 {"KnightInFlight", BM_KnightInFlight},
                 {"PromotionSpin", BM_PromotionSpin},
                 {"CameraTurning", BM_CameraTurning}};
    for (const auto& size : {std::pair{1024, 768}, std::pair{1920, 1080}})
        for (const auto& c : cases)
            benchmark::RegisterBenchmark(c.name, c.run)
                ->Args({size.first, size.second})
                ->ArgNames({"width", "height"})
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
}

} // namespace

int main(int argc, char** argv) {
    if (chdir(KAVRIN_DATA_DIR) != 0) {
        std::fprintf(stderr, "cannot enter the data folder %s\n", KAVRIN_DATA_DIR);
        return 1;
    }
    registerCases();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    freeModels();
    SDL_Quit();
    return 0;
}
