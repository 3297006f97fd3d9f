// Opening the test display. A virtual X server can refuse a connection for a moment (while it
// starts or resets between test programs), so a failed SDL_Init is retried for about two seconds
// before the test gives up.
#pragma once

#include <SDL/SDL.h>

inline int initVideoRetrying() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (SDL_Init(SDL_INIT_VIDEO) == 0)
            return 0;
        SDL_Delay(100);
    }
    return -1;
}
