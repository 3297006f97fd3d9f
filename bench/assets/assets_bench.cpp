// Load times of the generated data: the seven models with their textures as the splash
// screen loads them, each model alone, the pictures, and one run of the generator. Run under
// a display (xvfb-run) from any directory; it works in the build's data folder.

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/core/config.h"
#include "assets/loading.h"
#include "assets/mesh.h"
#include "assets/texture.h"

namespace {

Config settings;

bool openContext() {
    if (chdir(KAVRIN_DATA_DIR) != 0) return false;
    settings = readConfig("chess.cfg");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    return SDL_SetVideoMode(64, 64, 0, SDL_OPENGL) != nullptr;
}

void deleteModelTextures() {
    for (int slot = 1; slot <= 7; ++slot) {
        for (const MeshMaterial& m : meshTable[slot]->materials)
            glDeleteTextures(1, &m.textureName);
    }
}

void LoadSevenModelsWithTextures(benchmark::State& state) {
    long triangles = 0;
    for (auto _ : state) {
        textureRegistry = new TextureRegistry;
        loadModels(settings, meshTable);
        glFinish();
        state.PauseTiming();
        triangles = 0;
        for (int slot = 1; slot <= 7; ++slot) {
            for (const MeshPart& part : meshTable[slot]->parts)
                triangles += part.faceCount;
        }
        deleteModelTextures();
        freeModels();
        state.ResumeTiming();
    }
    state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(LoadSevenModelsWithTextures)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ReadOneModel(benchmark::State& state) {
    const char* names[8] = {nullptr,
                            settings.pawnModel,
                            settings.rookModel,
                            settings.knightModel,
                            settings.bishopModel,
                            settings.queenModel,
                            settings.kingModel,
                            settings.boardModel};
    const char* name = names[state.range(0)];
    for (auto _ : state) {
        const Mesh mesh(name, nullptr);
        benchmark::DoNotOptimize(mesh.parts.data());
    }
    state.SetLabel(name);
}
BENCHMARK(ReadOneModel)->DenseRange(1, 7)->Unit(benchmark::kMillisecond);

void DecodeJpeg(benchmark::State& state, const char* file) {
    for (auto _ : state) {
        RgbImage image;
        if (!loadJpeg(file, image)) state.SkipWithError("decoding failed");
        std::free(image.pixels);
    }
}
BENCHMARK_CAPTURE(DecodeJpeg, splash_512x1024, "splash.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodeJpeg, marble_512x512, "LIGHTMARBLE.JPG")->Unit(benchmark::kMillisecond);

void DecodeFontBmp(benchmark::State& state) {
    for (auto _ : state)
        freeDib(loadDib("Font.bmp"));
}
BENCHMARK(DecodeFontBmp)->Unit(benchmark::kMillisecond);

void LoadFivePictures(benchmark::State& state) {
    for (auto _ : state) {
        if (!loadPictures()) state.SkipWithError("loading failed");
        glFinish();
        state.PauseTiming();
        glDeleteTextures(5, pictureTextures);
        state.ResumeTiming();
    }
}
BENCHMARK(LoadFivePictures)->Unit(benchmark::kMillisecond);

void RunGenerator(benchmark::State& state) {
    const std::string dir = "/tmp/kavrin-assetgen-bench-" + std::to_string(getpid());
    const std::string command = "mkdir -p " + dir + " && " + ASSETGEN_PATH + " " + dir;
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("generator failed");
    }
    std::system(("rm -rf " + dir).c_str());
}
BENCHMARK(RunGenerator)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (!openContext()) {
        std::fprintf(stderr, "assets_bench: no data folder or no OpenGL window: %s\n",
                     SDL_GetError());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    SDL_Quit();
    return 0;
}
