#pragma once

// A real OpenGL window with the generated game data loaded (pictures, font and the seven
// models), a test clock, frame read-back and helpers for placing positions on the game board.

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
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

// The game's window at 1024 x 768 in the data directory, with the game's settings, OpenGL
// state, pictures and models.
class SceneWindow : public GlWindow {
  public:
    SceneWindow() : GlWindow(1024, 768, KAVRIN_DATA_DIR) {}
    void SetUp() override {
        GlWindow::SetUp();
        ASSERT_FALSE(testing::Test::HasFatalFailure());
        config = readConfig("chess.cfg");
        resizeTo(1024, 768);
        ASSERT_EQ(initGL(), 1);
        glEnable(GL_TEXTURE_2D);
        textureRegistry = new TextureRegistry;
        loadModels(config, meshTable);
        ASSERT_NE(meshTable, nullptr);
    }
    void TearDown() override {
        freeModels();
        GlWindow::TearDown();
    }
};

// A rectangle of window pixels from (x0, y0) up to, not including, (x1, y1): the whole window
// by default.
struct Rect {
    int x0 = 0, y0 = 0, x1 = 1 << 30, y1 = 1 << 30;
    bool empty() const { return x1 <= x0; }
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
    // Whether the pixel differs from the other frame's by more than 24 in some channel.
    bool differs(const Frame& other, int x, int y) const {
        for (int c = 0; c < 3; ++c)
            if (std::abs(at(x, y)[c] - other.at(x, y)[c]) > 24) return true;
        return false;
    }
    // Mean absolute difference per channel from another frame over an area.
    double difference(const Frame& other, Rect area = {}) const {
        area.x1 = std::min(area.x1, width);
        area.y1 = std::min(area.y1, height);
        double sum = 0;
        for (int y = area.y0; y < area.y1; ++y)
            for (int x = area.x0; x < area.x1; ++x)
                for (int c = 0; c < 3; ++c)
                    sum += std::abs(at(x, y)[c] - other.at(x, y)[c]);
        return sum / (3.0 * (area.x1 - area.x0) * (area.y1 - area.y0));
    }
    // Mean brightness per channel over an area: the difference from a black frame.
    double mean(Rect area) const {
        Frame black = *this;
        std::fill(black.rgb.begin(), black.rgb.end(), 0);
        return difference(black, area);
    }
};

// Mean difference per channel between the frame and `rows` rows of a JPEG file, from its row
// `firstRow` down, shown at its own size with its top-left pixel at window pixel (x, yTop);
// 255 when the file does not load.
inline double differenceFromPicture(const Frame& frame, const char* file, int firstRow, int rows,
                                    int x, int yTop) {
    RgbImage picture;
    if (!loadJpeg(file, picture)) return 255;
    double sum = 0;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < picture.width; ++i)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(frame.at(x + i, yTop - j)[c] -
                                picture.pixels[((firstRow + j) * picture.width + i) * 3 + c]);
    std::free(picture.pixels);
    return sum / (3.0 * picture.width * rows);
}

// The bounding box of the pixels of an area for which `inside(x, y)` holds; empty when none.
template <typename Inside> Rect boxWhere(const Frame& frame, Inside inside, Rect area = {}) {
    Rect box = {1 << 30, 1 << 30, -1, -1};
    for (int y = area.y0; y < std::min(area.y1, frame.height); ++y)
        for (int x = area.x0; x < std::min(area.x1, frame.width); ++x)
            if (inside(x, y))
                box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x + 1),
                       std::max(box.y1, y + 1)};
    return box;
}

inline Rect litBox(const Frame& frame, Rect area = {}) {
    return boxWhere(
        frame, [&](int x, int y) { return frame.lit(x, y); }, area);
}

// The box of the pixels of an area where two frames differ.
inline Rect changedBox(const Frame& a, const Frame& b, Rect area = {}) {
    return boxWhere(
        a, [&](int x, int y) { return a.differs(b, x, y); }, area);
}

inline void clearFrame() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

struct WindowPixel {
    double x, y; // from the lower-left corner
};

// The eyes of White's and Black's resting cameras and the point they look at.
struct Point {
    double x, y, z;
};
constexpr Point whiteEye = {4, 10, -13}, blackEye = {4, 10, 5}, boardCentre = {4, 0, -4};

// The model-view matrix of an eye at `eye` looking at `centre` with y up.
inline void lookFrom(const Point& eye, const Point& centre = boardCentre) {
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, 0, 1, 0);
}

// Where a world point appears from `eye` looking at the board centre with y up, through a
// 45-degree perspective over the whole window, worked out by hand.
inline WindowPixel seenFrom(const Point& eye, double x, double y, double z) {
    const double fx = boardCentre.x - eye.x, fy = -eye.y, fz = boardCentre.z - eye.z;
    const double fn = std::sqrt(fx * fx + fy * fy + fz * fz), sn = std::sqrt(fx * fx + fz * fz);
    const double f[3] = {fx / fn, fy / fn, fz / fn}, s[3] = {-fz / sn, 0, fx / sn};
    const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2],
                         s[0] * f[1] - s[1] * f[0]};
    const double d[3] = {x - eye.x, y - eye.y, z - eye.z};
    const double depth = d[0] * f[0] + d[1] * f[1] + d[2] * f[2];
    const double focal = 1 / std::tan(22.5 * 3.14159265358979 / 180);
    const double w = config.screenWidth, h = config.screenHeight;
    return {w / 2 * (1 + focal * (d[0] * s[0] + d[2] * s[2]) / depth / (w / h)),
            h / 2 * (1 + focal * (d[0] * u[0] + d[1] * u[1] + d[2] * u[2]) / depth)};
}

// Expects the pixels of `box` to show a piece standing on (file, rank), fractional between
// squares, `lift` above the board as seen from `eye`: centred across the square, its foot
// between the square's centre and the edge nearest the eye.
inline void expectPieceAt(const Rect& box, const Point& eye, double file, double rank,
                          double lift) {
    const double x = 8.5 - file, z = rank - 8.5;
    const double toEye = std::hypot(eye.x - x, eye.z - z);
    const WindowPixel centre = seenFrom(eye, x, lift, z);
    const WindowPixel near =
        seenFrom(eye, x + (eye.x - x) / toEye / 2, lift, z + (eye.z - z) / toEye / 2);
    const double side = (eye.z - z) / toEye / 2, across = (x - eye.x) / toEye / 2;
    const double width = std::fabs(seenFrom(eye, x + side, lift, z + across).x -
                                   seenFrom(eye, x - side, lift, z - across).x);
    ASSERT_FALSE(box.empty());
    EXPECT_NEAR((box.x0 + box.x1) / 2.0, centre.x, width / 3);
    EXPECT_LE(box.y0, centre.y + 1);
    EXPECT_GE(box.y0, near.y - 3);
}

// Adds `text` printed at window pixel (x, y) in colour `rgb` with additive blending, composed
// by hand from the font picture: byte b is the 16 x 16 cell in column b % 16 and row b / 16
// from the top, and each byte moves 8 pixels to the right.
inline void addText(Frame& frame, int x, int y, const std::string& text, const float (&rgb)[3]) {
    static RgbImage* const font = loadDib("Font.bmp");
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int b = static_cast<unsigned char>(text[i]);
        for (int cy = 0; cy < 16; ++cy)
            for (int cx = 0; cx < 16; ++cx) {
                const int wx = x + 8 * static_cast<int>(i) + cx, wy = y + cy;
                if (wx < 0 || wx >= frame.width || wy < 0 || wy >= frame.height) continue;
                const int row = font->height - 16 * (b / 16 + 1) + cy, col = 16 * (b % 16) + cx;
                unsigned char* out = &frame.rgb[(wy * frame.width + wx) * 3];
                for (int c = 0; c < 3; ++c)
                    out[c] = static_cast<unsigned char>(std::min(
                        255.0,
                        out[c] + double(rgb[c]) * font->pixels[(row * font->width + col) * 3 + c]));
            }
    }
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
