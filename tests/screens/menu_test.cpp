#include "screens/menu.h"

#include <cstring>
#include <vector>

#include "app/state.h"
#include "assets/texture.h"
#include "screens/font.h"
#include "screens/splash.h"
#include "tests/scene/scene_fixture.h"

namespace {

class Menu : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
        menuOptions = menuStartOptions;
    }
    static Frame menuFrame() {
        clearFrame();
        drawMenu();
        return Frame::read();
    }
    // Expects menu line `line` to read `text` in green, left of column `right`.
    static void expectLine(const Frame& menu, int line, const char* text, int right = 500) {
        const int y = config.screenHeight - 200 - 20 * line;
        clearFrame();
        glEnable(GL_BLEND);
        glColor3f(0, 1, 0);
        printText(50, y, "%s", text);
        glDisable(GL_BLEND);
        EXPECT_LT(menu.difference(Frame::read(), 40, y, right, y + 16), 0.01)
            << "line " << line << " should read \"" << text << "\"";
    }
};

// Lines 1 to 3 show the options, in either language.
const struct {
    MenuOptions options; // animations, players, rotate, language
    const char* lines[3];
} optionLines[] = {
    {menuStartOptions,
     {"H - hr\xE1\xE8i - 2 hr\xE1\xE8i", "A - animace - zapnuty",
      "O - ot\xE1\xE8"
      "et sachovnic\xED"}},
    {{0, 1, 0, 1},
     {"H - players - human + computer", "A - animations - off", "O - don't rotate the checkboard"}},
    // A players value beyond the three modes reads as two computers.
    {{1, 7, 1, 1},
     {"H - players - 2 computers", "A - animations - on", "O - rotate the checkboard"}},
};

} // namespace

TEST_F(Menu, LinesShowTheOptionsInEitherLanguage) {
    for (const auto& c : optionLines) {
        menuOptions = c.options;
        const Frame menu = menuFrame();
        for (int i = 0; i < 3; ++i)
            expectLine(menu, i + 1, c.lines[i]);
    }
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

// With the menu's two pictures swapped for plain white ones, their edges are exact: the banner
// sits centred at the top, the picture in the lower-right corner, and the lines follow the top
// down to the last.
TEST_F(Menu, BannerAtTheTopAndPictureInTheLowerRightCornerOfAnyWindow) {
    const std::uint32_t saved[2] = {pictureTextures[PictureSplash], pictureTextures[PictureMenu]};
    GLuint white = 0;
    glGenTextures(1, &white);
    std::vector<unsigned char> pixels(4 * 4 * 3, 255);
    makeTexture(white, RgbImage{4, 4, pixels.data()});
    pictureTextures[PictureSplash] = pictureTextures[PictureMenu] = white;
    const Frame menu = menuFrame();
    expectLine(menu, 7, "Esc - konec hry");
    resizeTo(640, 480);
    const Frame small = menuFrame();
    pictureTextures[PictureSplash] = saved[0];
    pictureTextures[PictureMenu] = saved[1];
    glDeleteTextures(1, &white);
    const Box banner = litBox(menu, 0, 600, 1024, 768), picture = litBox(menu, 400, 0, 1024, 600);
    EXPECT_NEAR(banner.x0, 256, 2);
    EXPECT_NEAR(banner.y1, 758, 2);
    EXPECT_NEAR(picture.x0, 512, 2);
    EXPECT_EQ(picture.y0, 0);
    // In a smaller window only the banner shows left of the picture.
    EXPECT_NEAR(litBox(small, 0, 380, 128, 480).x0, 64, 2);
    EXPECT_NEAR(litBox(small, 0, 0, 640, 100).x0, 128, 2);
    expectLine(small, 0, "S - start hry", 120);
}

TEST(ScreenDrawing, MenuAndSplashLeaveTheMatricesAndDepthTestAsTheyFoundThem) {
    // At the splash's first instant, so that it does not load the models.
    testTicks = phaseStart = 50000;
    for (void (*draw)() : {drawMenu, drawSplash}) {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1, 2, 3);
        GLfloat before[2][16], after[2][16];
        glGetFloatv(GL_PROJECTION_MATRIX, before[0]);
        glGetFloatv(GL_MODELVIEW_MATRIX, before[1]);
        draw();
        glGetFloatv(GL_PROJECTION_MATRIX, after[0]);
        glGetFloatv(GL_MODELVIEW_MATRIX, after[1]);
        EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    }
}
