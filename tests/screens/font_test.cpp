#include "screens/font.h"

#include <string>

#include "assets/texture.h"
#include "tests/scene/scene_fixture.h"

namespace {

class FontText : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
        glColor3f(1, 1, 1);
        glEnable(GL_BLEND);
        clearFrame();
    }
    void TearDown() override { glDisable(GL_BLEND); }
    static Box textBox(int x, int y, const std::string& text) {
        clearFrame();
        printText(x, y, "%s", text.c_str());
        return litBox(Frame::read());
    }
};

// Mean difference between the 16 x 16 window block at (x, y) and the font picture's glyph
// cell of byte b, grey levels of the picture against the red channel of the window.
double cellDifference(const Frame& frame, const RgbImage& font, int x, int y, int b) {
    const int column = b % 16, row = b / 16;
    double sum = 0;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
            const int bmpRow = font.height - 16 * (row + 1) + j;
            const unsigned char* texel = &font.pixels[(bmpRow * font.width + 16 * column + i) * 3];
            sum += std::abs(frame.at(x + i, y + j)[0] - texel[0]);
        }
    return sum / 256.0;
}

} // namespace

TEST_F(FontText, EachByteDrawsItsOwnGlyphCell) {
    RgbImage* font = loadDib("Font.bmp");
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->width, 256);
    for (int b : {0xE8, int('A'), int('g'), int('%'), 0x9A}) {
        clearFrame();
        const char text[2] = {static_cast<char>(b), 0};
        printText(100, 100, "%s", text);
        const Frame frame = Frame::read();
        int best = -1;
        double bestDifference = 1e9;
        for (int cell = 0; cell < 256; ++cell) {
            const double d = cellDifference(frame, *font, 100, 100, cell);
            if (d < bestDifference) bestDifference = d, best = cell;
        }
        EXPECT_EQ(best, b) << "byte " << b;
        EXPECT_LT(bestDifference, 8.0) << "byte " << b;
    }
    freeDib(font);
}

TEST_F(FontText, TextAdvancesEightPixelsPerByteUpTo255Bytes) {
    const Box box = textBox(40, 300, std::string(20, 'M'));
    EXPECT_GE(box.x0, 40);
    EXPECT_LE(box.x0, 44);
    // The last glyph cell starts at 8 (n - 1) and reaches 8 pixels past 8 n.
    EXPECT_GT(box.x1, 40 + 8 * 19 + 4);
    EXPECT_LE(box.x1, 40 + 8 * 20 + 8);
    EXPECT_GE(box.y0, 300);
    EXPECT_LE(box.y1, 316);
    // 255 of 1000 glyphs from x = -1600 end near x = 440.
    const Box cut = textBox(-8 * 200, 400, std::string(1000, 'M'));
    EXPECT_LE(cut.x1, -8 * 200 + 8 * 255 + 8);
    EXPECT_GT(cut.x1, -8 * 200 + 8 * 254);
    EXPECT_TRUE(textBox(100, 100, "   ").empty());
}

TEST_F(FontText, FormatsItsArgumentsAndANullFormatDrawsNothing) {
    printText(10, 10, "%d%s", 1234, "MM");
    const Box formatted = litBox(Frame::read());
    const Box literal = textBox(10, 10, "1234MM");
    EXPECT_EQ(formatted.x0, literal.x0);
    EXPECT_EQ(formatted.x1, literal.x1);
    clearFrame();
    printText(10, 10, nullptr);
    EXPECT_TRUE(litBox(Frame::read()).empty());
}

TEST_F(FontText, TextCoversTheSceneAndLeavesDepthTestingOn) {
    // The depth buffer holds the nearest depth everywhere, so that no scene could be drawn.
    glClearDepth(0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1);
    glColor3f(1, 0, 0);
    printText(500, 380, "MMMM");
    const Frame frame = Frame::read();
    int red = 0;
    for (int x = 500; x < 540; ++x)
        for (int y = 380; y < 396; ++y)
            red += frame.at(x, y)[0] > 128;
    EXPECT_GT(red, 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(FontText, PositionsFollowTheWindowSizeAfterAResize) {
    resizeTo(640, 480);
    const Box box = textBox(5, 480 - 20, "MMM");
    EXPECT_GE(box.y0, 460);
    EXPECT_LE(box.y1, 476);
    EXPECT_LE(box.x1, 5 + 32);
}
