#pragma once

// A real OpenGL window with the generated game data loaded (pictures, font and the seven
// models), a test clock, frame read-back and helpers for placing positions on the game board.

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "app/core/config.h"
#include "app/core/state.h"
#include "app/core/turn.h"
#include "assets/loading.h"
#include "assets/texture.h"
#include "chess/board.h"
#include "scene/camera.h"
#include "scene/glsetup.h"
#include "tests/display.h"

// The tick the game has been advanced to, which every draw reads: the tests' clock.
inline std::uint32_t& testTicks = frameTicks;

// The window stays 1024 x 768; a smaller size uses its lower-left part, as the game does
// with the size of a resize event.
inline void resizeTo(int width, int height) {
    config.screenWidth = width;
    config.screenHeight = height;
    resizeGL(width, height);
}

class SceneWindow : public testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(chdir(KAVRIN_DATA_DIR), 0);
        config = readConfig("chess.cfg");
        ASSERT_EQ(initVideoRetrying(), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        ASSERT_NE(SDL_SetVideoMode(1024, 768, 0, SDL_OPENGL), nullptr) << SDL_GetError();
        resizeTo(1024, 768);
        ASSERT_EQ(initGL(), 1);
        glEnable(GL_TEXTURE_2D);
        textureRegistry = new TextureRegistry;
        loadModels(config, meshTable);
        ASSERT_NE(meshTable, nullptr);
    }
    void TearDown() override {
        freeModels();
        SDL_Quit();
    }
};

// The colour buffer as RGB rows from the bottom of the window up.
struct Frame {
    int width = config.screenWidth, height = config.screenHeight;
    std::vector<unsigned char> rgb = std::vector<unsigned char>(width * height * 3);

    static Frame read() {
        Frame frame;
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
        return frame;
    }
    const unsigned char* at(int x, int y) const { return &rgb[(y * width + x) * 3]; }
    bool lit(int x, int y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2] > 24; }
    // Mean absolute difference per channel from another frame over a rectangle, the whole
    // frame by default.
    double difference(const Frame& other, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) const {
        x1 = x1 < 0 ? width : x1;
        y1 = y1 < 0 ? height : y1;
        double sum = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                for (int c = 0; c < 3; ++c)
                    sum += std::abs(at(x, y)[c] - other.at(x, y)[c]);
        return sum / (3.0 * (x1 - x0) * (y1 - y0));
    }
    // Mean brightness per channel over a rectangle: the difference from a black frame.
    double mean(int x0, int y0, int x1, int y1) const {
        Frame black = *this;
        std::fill(black.rgb.begin(), black.rgb.end(), 0);
        return difference(black, x0, y0, x1, y1);
    }
};

// The bounding box of the pixels of a rectangle (the whole frame by default) for which
// `inside(x, y)` holds; x1, y1 one past the last pixel, and x1 < 0 when there is none.
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    bool empty() const { return x1 < 0; }
    void add(int x, int y) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x + 1);
        y1 = std::max(y1, y + 1);
    }
};

template <typename Inside>
Box boxWhere(const Frame& frame, Inside inside, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
    Box box;
    for (int y = y0; y < (y1 < 0 ? frame.height : y1); ++y)
        for (int x = x0; x < (x1 < 0 ? frame.width : x1); ++x)
            if (inside(x, y)) box.add(x, y);
    return box;
}

inline Box litBox(const Frame& frame, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1) {
    return boxWhere(
        frame, [&](int x, int y) { return frame.lit(x, y); }, x0, y0, x1, y1);
}

// The pixels where two frames differ by more than 24 in some channel.
inline Box changedBox(const Frame& a, const Frame& b) {
    return boxWhere(a, [&](int x, int y) {
        for (int c = 0; c < 3; ++c)
            if (std::abs(a.at(x, y)[c] - b.at(x, y)[c]) > 24) return true;
        return false;
    });
}

inline void clearFrame() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

struct WindowPixel {
    double x, y; // from the lower-left corner
};

// Where a world point appears under the current projection and model-view matrices.
inline WindowPixel projectPoint(double x, double y, double z) {
    GLdouble projection[16], modelView[16];
    GLint viewport[4];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble wx = 0, wy = 0, wz = 0;
    gluProject(x, y, z, modelView, projection, viewport, &wx, &wy, &wz);
    return {wx, wy};
}

// The centre of square (file, rank), `height` above the board surface.
inline WindowPixel squareCentreOnScreen(int file, int rank, double height = 0) {
    glLoadIdentity();
    setRestingCamera();
    return projectPoint(8.5 - file, height, rank - 8.5);
}

inline void emptyBoard() {
    for (int file = 1; file <= 8; ++file)
        for (int rank = 1; rank <= 8; ++rank)
            board.squares[squareIndex(file, rank)].piece = 0;
    board.status = 0;
    board.sideToMove = 1;
}

inline void putPiece(int code, int file, int rank) {
    board.squares[squareIndex(file, rank)].piece = static_cast<std::int8_t>(code);
}

// A game in progress with White to move and no phase running.
inline void startGameState() {
    appState = AppGame | AppWhiteTurn | AppHumanToMove;
    menuOptions = menuStartOptions;
    selection = {-1, -1, nullptr};
    moveAnim = {-1, -1, -1, -1, -1, -1, 0, 0, 0};
    testTicks = 1000000;
    phaseStart = testTicks;
}
