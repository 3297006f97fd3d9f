#include "app/core/state.h"

#include <SDL.h>

#include <cstdlib>

#include "app/core/turn.h"
#include "chess/board.h"

std::uint32_t appState = 0;
MenuOptions menuOptions = menuStartOptions;
std::uint32_t phaseStart = 0;
FrameNotices frameNotices = {false, false};

void quitProgram(int status) {
    freeTargets(selection.targets);
    selection.targets = nullptr;
    SDL_Quit();
    std::exit(status);
}
