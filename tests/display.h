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

// An OpenGL window with a depth buffer for a test program; with a directory, the tests run in
// it.
class GlWindow : public testing::Environment {
  public:
    GlWindow(int width, int height, const char* directory = nullptr)
        : width_(width), height_(height), directory_(directory) {}
    void SetUp() override {
        if (directory_) {
            ASSERT_EQ(chdir(directory_), 0);
        }
        ASSERT_EQ(initVideoRetrying(), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        ASSERT_NE(SDL_SetVideoMode(width_, height_, 0, SDL_OPENGL), nullptr) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }

  private:
    int width_, height_;
    const char* directory_;
};
