#include "app/loop.h"

#include <GL/gl.h>
#include <SDL.h>

#include "app/advance.h"
#include "app/core/config.h"
#include "app/input.h"
#include "app/core/state.h"
#include "app/core/turn.h"
#include "assets/loading.h"
#include "scene/gamescreen.h"
#include "scene/glsetup.h"
#include "screens/font.h"
#include "screens/layout.h"
#include "screens/menu.h"
#include "screens/splash.h"

int drawFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (anyAppBit(AppSplash))
        drawSplash();
    else if (anyAppBit(AppMenu))
        drawMenu();
    else if (anyAppBit(AppGame))
        drawGameScreen();
    SDL_GL_SwapBuffers();
    return 1;
}

static bool dispatchEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN: onKey(event.key.keysym); break;
    case SDL_MOUSEBUTTONDOWN: onMouseButton(event.button); break;
    case SDL_QUIT: return true;
    case SDL_VIDEORESIZE:
        config.screenWidth = event.resize.w;
        config.screenHeight = event.resize.h;
        resizeGL(event.resize.w, event.resize.h);
        break;
    default: break;
    }
    return false;
}

// The events of a frame act at its tick, so a phase they start runs from there.
void runEventLoop() {
    bool quit = false;
    while (!quit) {
        frameTicks = SDL_GetTicks();
        SDL_Event event;
        while (SDL_PollEvent(&event))
            quit = dispatchEvent(event) || quit;
        advanceGame(SDL_GetTicks());
        drawFrame();
    }
}

void shutDown() {
    if (anyAppBit(AppModelsLoaded)) freeModels();
    glDeleteLists(fontBase, fontGlyphs);
    quitProgram(0);
}
