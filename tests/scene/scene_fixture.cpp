#include <SDL.h>

// The clock the game's code reads in the test programs, which link with --wrap=SDL_GetTicks.
Uint32 testTicks = 0;
extern "C" Uint32 __wrap_SDL_GetTicks() { return testTicks; }

#include "scene_fixture.h"

// Every program that includes this file draws in the one window.
static const testing::Environment* const window =
    testing::AddGlobalTestEnvironment(new SceneWindow);
