#include "app/input.h"

#include "app/state.h"

void onKey(const SDL_keysym& keysym) {
    if (keysym.sym == SDLK_ESCAPE) quitProgram(0);
    if (appBitsSet(AppSplash)) setAppBits(AppLoadRequest);
}

void onMouseButton(const SDL_MouseButtonEvent&) {}
