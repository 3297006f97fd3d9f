#include "screens/menu.h"

#include <cstring>

#include "app/core/state.h"
#include "assets/texture.h"
#include "screens/splash.h"
#include "tests/scene/scene_fixture.h"

namespace {

// The menu drawn with `options`; it leaves the blending for its lines off.
Frame menuFrame(const MenuOptions& options) {
    menuOptions = options;
    clearFrame();
    drawMenu();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    return Frame::read();
}

// Expects menu line `line` to read `text` in green, left of column `right`.
void expectLine(const Frame& menu, int line, const char* text, int right = 500) {
    const int y = config.screenHeight - 200 - 20 * line;
    Frame expected;
    addText(expected, 50, y, text, {0, 1, 0});
    EXPECT_TRUE(changedBox(menu, expected, {40, y, right, y + 16}).empty()) << text;
}

} // namespace

// Lines 1 to 3 show the options, in either language.
TEST(Menu, LinesShowTheOptionsInEitherLanguage) {
    const struct {
        MenuOptions options; // animations, players, rotate, language
        int line;
        const char* text;
    } cases[] = {
        {menuStartOptions, 1, "H - hr\xE1\xE8i - 2 hr\xE1\xE8i"},
        {{0, 1, 0, 1}, 1, "H - players - human + computer"},
        {{0, 1, 0, 1}, 2, "A - animations - off"},
        {{0, 1, 0, 1}, 3, "O - don't rotate the checkboard"},
        // A players value beyond the three modes reads as two computers.
        {{1, 7, 1, 1}, 1, "H - players - 2 computers"},
        {{1, 7, 1, 1}, 2, "A - animations - on"},
        {{1, 7, 1, 1}, 3, "O - rotate the checkboard"},
    };
    resizeTo(1024, 768);
    for (const auto& c : cases)
        expectLine(menuFrame(c.options), c.line, c.text);
}

// At 1024 x 768 the banner is the splash picture's bottom 64 rows at their own size centred at
// the top, the picture menu.jpg at its own size in the lower-right corner, and the lines run
// down to the last. In a smaller window, with the two pictures swapped for plain white ones so
// that their edges are exact, only the banner shows left of the picture, the lines follow the
// top and the picture shows through the black around their letters.
TEST(Menu, BannerAtTheTopAndPictureInTheLowerRightCornerOfAnyWindow) {
    resizeTo(1024, 768);
    const Frame menu = menuFrame(menuStartOptions);
    EXPECT_LT(differenceFromPicture(menu, "splash.jpg", 960, 64, 256, 757), 4);
    EXPECT_LT(differenceFromPicture(menu, "menu.jpg", 0, 512, 512, 511), 4);
    expectLine(menu, 7, "Esc - konec hry");
    const std::uint32_t saved[2] = {pictureTextures[PictureSplash], pictureTextures[PictureMenu]};
    GLuint white = 0;
    glGenTextures(1, &white);
    unsigned char pixels[4 * 4 * 3];
    std::memset(pixels, 255, sizeof pixels);
    makeTexture(white, RgbImage{4, 4, pixels});
    pictureTextures[PictureSplash] = pictureTextures[PictureMenu] = white;
    resizeTo(640, 480);
    const Frame small = menuFrame(menuStartOptions);
    pictureTextures[PictureSplash] = saved[0];
    pictureTextures[PictureMenu] = saved[1];
    glDeleteTextures(1, &white);
    EXPECT_NEAR(litBox(small, {0, 380, 128, 480}).x0, 64, 2);
    EXPECT_NEAR(litBox(small, {0, 0, 640, 100}).x0, 128, 2);
    expectLine(small, 0, "S - start hry", 120);
    EXPECT_TRUE(
        boxWhere(small, [&](int x, int y) { return !small.lit(x, y); }, {128, 280, 150, 296})
            .empty());
}

TEST(ScreenDrawing, MenuAndSplashLeaveTheMatricesAndDepthTestAsTheyFoundThem) {
    testTicks = phaseStart = 50000;
    glTranslatef(1, 2, 3);
    glEnable(GL_DEPTH_TEST); // the state every 3D frame draws in
    const GLboolean depthBefore = glIsEnabled(GL_DEPTH_TEST);
    GLfloat before[2][16], after[2][16];
    glGetFloatv(GL_PROJECTION_MATRIX, before[0]);
    glGetFloatv(GL_MODELVIEW_MATRIX, before[1]);
    for (void (*draw)() : {drawMenu, drawSplash}) {
        draw();
        glGetFloatv(GL_PROJECTION_MATRIX, after[0]);
        glGetFloatv(GL_MODELVIEW_MATRIX, after[1]);
        EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), depthBefore);
    }
}
