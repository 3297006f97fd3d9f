#include "app/input.h"

#include "app/state.h"

namespace {

void advance(std::int8_t& option, int values) {
    option = static_cast<std::int8_t>((option + 1) % values);
}

void onMenuKey(SDLKey key) {
    switch (key) {
    case SDLK_a: advance(menuOptions.animations, 2); break;
    case SDLK_h: advance(menuOptions.players, 3); break;
    case SDLK_l: advance(menuOptions.language, 2); break;
    case SDLK_o: advance(menuOptions.rotate, 2); break;
    default: break;
    }
}

} // namespace

void onKey(const SDL_keysym& keysym) {
    if (keysym.sym == SDLK_ESCAPE) quitProgram(0);
    if (appBitsSet(AppSplash)) setAppBits(AppLoadRequest);
    if (appBitsSet(AppGame) && keysym.sym == SDLK_F1) {
        clearAppBits(AppGame);
        setAppBits(AppMenu);
    }
    if (appBitsSet(AppMenu)) onMenuKey(keysym.sym);
}

void onMouseButton(const SDL_MouseButtonEvent&) {}
void computerMove() {}
