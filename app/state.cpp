#include "app/state.h"

#include <SDL.h>

#include <cstdlib>

std::uint32_t appState = 0;
MenuOptions menuOptions = menuStartOptions;
std::uint32_t phaseStart = 0;

void quitProgram(int status) {
    SDL_Quit();
    std::exit(status);
}
