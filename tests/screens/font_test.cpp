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
    }
    void TearDown() override { glDisable(GL_BLEND); }
    // The text drawn over a depth buffer that holds the nearest depth everywhere, where no
    // scene could be drawn: it shows only if text covers the scene.
    static Frame textFrame(int x, int y, const std::string& text) {
        clearFrame();
        glClearDepth(0);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1);
        printText(x, y, "%s", text.c_str());
        return Frame::read();
    }
};

} // namespace

// Byte b draws the glyph cell in column b mod 16 and row b div 16 (from the top) of the font
// picture: the window's red channel matches the picture's grey levels there.
TEST_F(FontText, EachByteDrawsItsOwnGlyphCell) {
    RgbImage* font = loadDib("Font.bmp");
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->width, 256);
    for (int b : {0xE8, int('A'), int('g'), int('%'), 0x9A}) {
        const Frame frame = textFrame(100, 100, std::string(1, static_cast<char>(b)));
        const int cellRow = font->height - 16 * (b / 16 + 1), cellColumn = 16 * (b % 16);
        double difference = 0;
        for (int j = 0; j < 16; ++j)
            for (int i = 0; i < 16; ++i) {
                const int texel = ((cellRow + j) * font->width + cellColumn + i) * 3;
                difference += std::abs(frame.at(100 + i, 100 + j)[0] - font->pixels[texel]);
            }
        EXPECT_LT(difference / 256, 8.0) << "byte " << b;
    }
    freeDib(font);
}

// Text starts at its window position in any window size and advances 8 pixels a byte, for at
// most 255 bytes; the last glyph's 16-pixel cell ends it.
TEST_F(FontText, TextStartsWhereAskedAndAdvancesEightPixelsPerByteUpTo255Bytes) {
    const struct {
        int width, height, x, y;
        std::string text;
        int firstLit, lastCell; // leftmost lit column, left edge of the last glyph cell
    } cases[] = {
        {1024, 768, 40, 300, std::string(20, 'M'), 40, 40 + 8 * 19},
        {640, 480, 5, 460, "MMM", 5, 5 + 8 * 2},
        {1024, 768, -1600, 400, std::string(1000, 'M'), 0, -1600 + 8 * 254},
    };
    for (const auto& c : cases) {
        resizeTo(c.width, c.height);
        const Box box = litBox(textFrame(c.x, c.y, c.text));
        EXPECT_GE(box.x0, c.firstLit) << c.x;
        EXPECT_LE(box.x0, c.firstLit + 4) << c.x;
        EXPECT_GT(box.x1, c.lastCell + 4) << c.x;
        EXPECT_LE(box.x1, c.lastCell + 16) << c.x;
        EXPECT_GE(box.y0, c.y) << c.x;
        EXPECT_LE(box.y1, c.y + 16) << c.x;
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(FontText, FormatsItsArgumentsAndANullFormatDrawsNothing) {
    clearFrame();
    printText(10, 10, "%d%s", 1234, "MM");
    const Frame formatted = Frame::read();
    EXPECT_LT(formatted.difference(textFrame(10, 10, "1234MM")), 0.01);
    clearFrame();
    printText(10, 10, nullptr);
    EXPECT_TRUE(litBox(Frame::read()).empty());
}
