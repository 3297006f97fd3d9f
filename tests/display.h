// Opening the test display. A virtual X server can refuse a connection for a moment (while it
// starts or resets between test programs), so a failed SDL_Init is retried for about two seconds
// before the test gives up.
#pragma once

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

inline int initVideoRetrying() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (SDL_Init(SDL_INIT_VIDEO) == 0) return 0;
        SDL_Delay(100);
    }
    return -1;
}

// A 64 x 64 OpenGL window for the tests that need a context but look at no picture; with a
// directory, the tests run in it.
class SmallGlWindow : public testing::Environment {
  public:
    explicit SmallGlWindow(const char* directory = nullptr) : directory_(directory) {}
    void SetUp() override {
        if (directory_) {
            ASSERT_EQ(chdir(directory_), 0);
        }
        ASSERT_EQ(initVideoRetrying(), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        ASSERT_NE(SDL_SetVideoMode(64, 64, 0, SDL_OPENGL), nullptr) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }

  private:
    const char* directory_;
};
