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

// Text starts at its window position in any window size and each byte draws the glyph cell
// in column b mod 16 and row b div 16 (from the top) of the font picture, 8 pixels after the
// one before, for at most 255 bytes. A null format draws nothing.
TEST(FontText, EachByteDrawsItsGlyphCellEightPixelsOnFromWhereAskedUpTo255Bytes) {
    const struct {
        int width, height, x, y;
        std::string text;
    } cases[] = {
        {640, 480, 5, 460, "MMM"},
        {1024, 768, 40, 300,
         "\xE8"
         "Ag%\x9A" +
             std::string(15, 'M')},
        {1024, 768, -1600, 400, std::string(1000, 'M')},
    };
    for (const auto& c : cases) {
        resizeTo(c.width, c.height);
        Frame expected;
        addText(expected, c.x, c.y, c.text.substr(0, 255), {1, 1, 1});
        EXPECT_TRUE(changedBox(textFrame(c.x, c.y, c.text), expected).empty()) << c.x;
    }
    clearFrame();
    printText(10, 10, nullptr);
    EXPECT_TRUE(litBox(Frame::read()).empty());
}
