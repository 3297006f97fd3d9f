#include <SDL.h>

#include <cstdio>

#include "app/core/assetnames.h"
#include "app/core/config.h"
#include "app/loop.h"
#include "app/core/state.h"
#include "app/core/turn.h"
#include "assets/texture.h"
#include "scene/glsetup.h"

namespace {

void failStartup(const char* format) {
    std::fprintf(stderr, format, SDL_GetError());
    quitProgram(1);
}

Uint32 videoFlags(const SDL_VideoInfo* info) {
    Uint32 flags = SDL_OPENGL | SDL_HWPALETTE | SDL_HWSURFACE | SDL_ASYNCBLIT;
    if (info->blit_hw) flags |= SDL_HWACCEL;
    return flags;
}

} // namespace

int main(int, char**) {
    config = readConfig(configFile);
    textureRegistry = new TextureRegistry;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) failStartup("Video initialization failed: %s\n");
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info) failStartup("Video query failed: %s\n");

    const int depth = info->vfmt->BitsPerPixel;
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth >= 24 ? 24 : 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // On a real display the buffer swap then bounds the loop at the refresh rate.
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
    SDL_Surface* screen =
        SDL_SetVideoMode(config.screenWidth, config.screenHeight, depth, videoFlags(info));
    menuOptions = menuStartOptions;
    if (!screen) failStartup("Video mode set failed: %s\n");
    if (!initGL()) {
        std::fprintf(stderr, "Could not initialize OpenGL.\n");
        quitProgram(1);
    }
    resizeGL(config.screenWidth, config.screenHeight);
    appState = AppSplash;
    phaseStart = SDL_GetTicks();
    frameTicks = phaseStart;
    SDL_WM_SetCaption("Kavrin chess", nullptr);
    runEventLoop();
    shutDown();
}
