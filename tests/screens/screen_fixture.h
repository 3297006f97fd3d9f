#pragma once

// A real OpenGL window on the generated game data, a test clock and frame read-back for the
// tests of the 2D screens.

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/config.h"
#include "scene/glsetup.h"

// The test binaries link with --wrap=SDL_GetTicks, so the game's code reads this clock.
// Each test binary is one source file, so these are defined once per binary.
Uint32 testTicks = 0;
extern "C" Uint32 __wrap_SDL_GetTicks() { return testTicks; }

// The window stays 1024 x 768; a smaller size uses its lower-left part, as the game's
// resize handling does with the new size.
inline void resizeTo(int width, int height) {
    config.screenWidth = width;
    config.screenHeight = height;
    resizeGL(width, height);
}

class ScreenWindow : public testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(chdir(KAVRIN_DATA_DIR), 0);
        config = readConfig("chess.cfg");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        ASSERT_NE(SDL_SetVideoMode(1024, 768, 0, SDL_OPENGL), nullptr) << SDL_GetError();
        resizeTo(1024, 768);
        ASSERT_EQ(initGL(), 1);
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override { SDL_Quit(); }
};

// The colour buffer as RGB rows from the bottom of the window up.
struct Frame {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    static Frame read() {
        Frame frame;
        frame.width = config.screenWidth;
        frame.height = config.screenHeight;
        frame.rgb.resize(static_cast<size_t>(frame.width) * frame.height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
        return frame;
    }
    const unsigned char* at(int x, int y) const {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }
    bool lit(int x, int y) const {
        const unsigned char* p = at(x, y);
        return p[0] + p[1] + p[2] > 24;
    }
    // Mean of the three channels over a rectangle.
    double mean(int x0, int y0, int x1, int y1) const {
        double sum = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const unsigned char* p = at(x, y);
                sum += p[0] + p[1] + p[2];
            }
        return sum / (3.0 * (x1 - x0) * (y1 - y0));
    }
    // Mean absolute difference from another frame over a rectangle.
    double difference(const Frame& other, int x0, int y0, int x1, int y1) const {
        double sum = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                for (int c = 0; c < 3; ++c)
                    sum += std::abs(at(x, y)[c] - other.at(x, y)[c]);
        return sum / (3.0 * (x1 - x0) * (y1 - y0));
    }
};

struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1; // x1, y1 one past the last lit pixel
    bool empty() const { return x1 < 0; }
};

inline Box litBox(const Frame& frame, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
    if (x1 < 0) x1 = frame.width;
    if (y1 < 0) y1 = frame.height;
    Box box;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (frame.lit(x, y)) {
                if (x < box.x0) box.x0 = x;
                if (y < box.y0) box.y0 = y;
                if (x + 1 > box.x1) box.x1 = x + 1;
                if (y + 1 > box.y1) box.y1 = y + 1;
            }
    return box;
}

inline void clearFrame() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
