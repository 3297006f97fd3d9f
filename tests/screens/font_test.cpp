#include "screens/font.h"

#include <string>

#include "assets/texture.h"
#include "tests/scene/scene_fixture.h"

namespace {

// The text drawn in white over a depth buffer that holds the nearest depth everywhere, where
// no scene could be drawn: it shows only if text covers the scene. Texturing is off and no
// picture bound before, so the text must bring its own.
Frame textFrame(int x, int y, const std::string& text) {
    clearFrame();
    glClearDepth(0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1);
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor3f(1, 1, 1);
    printText(x, y, "%s", text.c_str());
    return Frame::read();
}

} // namespace

// Byte b draws the glyph cell in column b mod 16 and row b div 16 (from the top) of the font
// picture: drawn where that cell lies in the picture, the glyph matches the picture there.
TEST(FontText, EachByteDrawsItsOwnGlyphCell) {
    RgbImage* font = loadDib("Font.bmp");
    ASSERT_NE(font, nullptr);
    ASSERT_EQ(font->width, 256);
    // The picture's rows run from the bottom up, as the window's do.
    const Frame picture{256, font->height, {font->pixels, font->pixels + 256 * font->height * 3}};
    freeDib(font);
    for (int b : {0xE8, int('A'), int('g'), int('%'), 0x9A}) {
        const int x = 16 * (b % 16), y = picture.height - 16 * (b / 16 + 1);
        const Frame frame = textFrame(x, y, std::string(1, static_cast<char>(b)));
        EXPECT_LT(frame.difference(picture, {x, y, x + 16, y + 16}), 8.0) << "byte " << b;
    }
}

// Text starts at its window position in any window size and advances 8 pixels a byte, for at
// most 255 bytes; the last glyph's 16-pixel cell ends it. A null format draws nothing.
TEST(FontText, TextStartsWhereAskedAndAdvancesEightPixelsPerByteUpTo255Bytes) {
    const struct {
        int width, height, x, y;
        std::string text;
        int firstCell, lastCell; // left edges of the first and last glyph cells in the window
    } cases[] = {
        {640, 480, 5, 460, "MMM", 5, 5 + 8 * 2},
        {1024, 768, 40, 300, std::string(20, 'M'), 40, 40 + 8 * 19},
        {1024, 768, -1600, 400, std::string(1000, 'M'), 0, -1600 + 8 * 254},
    };
    for (const auto& c : cases) {
        resizeTo(c.width, c.height);
        const Rect box = litBox(textFrame(c.x, c.y, c.text));
        EXPECT_NEAR(box.x0, c.firstCell + 2, 2) << c.x;
        EXPECT_NEAR(box.x1, c.lastCell + 10, 6) << c.x;
        EXPECT_GE(box.y0, c.y) << c.x;
        EXPECT_LE(box.y1, c.y + 16) << c.x;
    }
    clearFrame();
    printText(10, 10, nullptr);
    EXPECT_TRUE(litBox(Frame::read()).empty());
}
