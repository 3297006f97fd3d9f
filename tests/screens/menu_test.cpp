#include "screens/menu.h"

#include <cstring>
#include <string>

#include "app/state.h"
#include "assets/texture.h"
#include "screens/font.h"
#include "tests/scene/scene_fixture.h"

namespace {

const testing::Environment* const window = testing::AddGlobalTestEnvironment(new SceneWindow);

class Menu : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
        appState = AppMenu;
        menuOptions = menuStartOptions;
    }
    static Frame menuFrame() {
        clearFrame();
        drawMenu();
        return Frame::read();
    }
    // The text drawn alone in green, as the menu draws its lines.
    static Frame textFrame(int y, const char* text) {
        clearFrame();
        glEnable(GL_BLEND);
        glColor3f(0, 1, 0);
        printText(50, y, "%s", text);
        glDisable(GL_BLEND);
        return Frame::read();
    }
    // Expects the menu line at y to read `text`, and nothing further right on that row.
    static void expectLine(const Frame& menu, int y, const char* text) {
        const Frame expected = textFrame(y, text);
        const int x1 = 50 + 8 * static_cast<int>(std::strlen(text)) + 8;
        EXPECT_LT(menu.difference(expected, 40, y, 500, y + 16), 0.01)
            << "line at y = " << y << " should read \"" << text << "\"";
        EXPECT_TRUE(litBox(menu, x1, y, 500, y + 16).empty());
    }
    static void expectLines(const char* const (&lines)[8]) {
        const Frame menu = menuFrame();
        for (int i = 0; i < 8; ++i)
            expectLine(menu, 768 - 200 - 20 * i, lines[i]);
    }
};

} // namespace

TEST_F(Menu, CzechLinesWithTheStartOptions) {
    const char* const lines[8] = {
        "S - start hry",
        "H - hr\xE1\xE8i - 2 hr\xE1\xE8i",
        "A - animace - zapnuty",
        "O - ot\xE1\xE8"
        "et sachovnic\xED",
        "L - english language",
        "F1 - n\xE1vrat do menu",
        "     (ze hry)",
        "Esc - konec hry",
    };
    expectLines(lines);
}

TEST_F(Menu, EnglishLinesWithEveryOptionChanged) {
    menuOptions = {0, 1, 0, 1};
    const char* const lines[8] = {
        "S - start game",
        "H - players - human + computer",
        "A - animations - off",
        "O - don't rotate the checkboard",
        "L - \xE8"
        "esk\xFD jazyk",
        "F1 - return to menu",
        "     (from game)",
        "Esc - quit game",
    };
    expectLines(lines);
}

TEST_F(Menu, OptionTextsInBothLanguages) {
    const int playersY = 768 - 220, rotateY = 768 - 260;
    menuOptions = {1, 2, 0, 0};
    Frame menu = menuFrame();
    expectLine(menu, playersY,
               "H - hr\xE1\xE8i - 2 po\xE8\xEDta\xE8"
               "e");
    expectLine(menu, rotateY,
               "O - neot\xE1\xE8"
               "et sachovnic\xED");
    menuOptions.players = 1;
    expectLine(menuFrame(), playersY, "H - hr\xE1\xE8i - \xE8lov\xECk + po\xE8\xEDta\xE8");
    menuOptions.animations = 0;
    expectLine(menuFrame(), 768 - 240, "A - animace - vypnuty");
    menuOptions = {1, 2, 1, 1};
    menu = menuFrame();
    expectLine(menu, playersY, "H - players - 2 computers");
    expectLine(menu, rotateY, "O - rotate the checkboard");
    expectLine(menu, 768 - 240, "A - animations - on");
    menuOptions.players = 0;
    expectLine(menuFrame(), playersY, "H - players - 2 players");
    // A players value beyond the three modes reads as two computers.
    menuOptions.players = 7;
    expectLine(menuFrame(), playersY, "H - players - 2 computers");
}

TEST_F(Menu, LinesAreGreen) {
    const Frame menu = menuFrame();
    int green = 0;
    for (int x = 50; x < 150; ++x)
        for (int y = 568; y < 584; ++y) {
            const unsigned char* p = menu.at(x, y);
            EXPECT_EQ(p[0], 0);
            EXPECT_EQ(p[2], 0);
            green += p[1] > 100;
        }
    EXPECT_GT(green, 50);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

// Swaps the menu's two pictures for plain white ones, so that their edges are exact.
class MenuPlacement : public Menu {
  protected:
    void SetUp() override {
        Menu::SetUp();
        saved[0] = pictureTextures[PictureSplash];
        saved[1] = pictureTextures[PictureMenu];
        glGenTextures(1, &white);
        unsigned char pixels[4 * 4 * 3];
        std::memset(pixels, 255, sizeof pixels);
        RgbImage image;
        image.width = 4;
        image.height = 4;
        image.pixels = pixels;
        makeTexture(white, image);
        pictureTextures[PictureSplash] = pictureTextures[PictureMenu] = white;
    }
    void TearDown() override {
        pictureTextures[PictureSplash] = saved[0];
        pictureTextures[PictureMenu] = saved[1];
        glDeleteTextures(1, &white);
    }
    GLuint white = 0;
    std::uint32_t saved[2] = {};
};

TEST_F(MenuPlacement, BannerAtTheTopAndPictureInTheLowerRightCorner) {
    const Frame menu = menuFrame();
    // The banner spans (256, 694) to (768, 758).
    const Box banner = litBox(menu, 0, 600, 1024, 768);
    ASSERT_FALSE(banner.empty());
    EXPECT_NEAR(banner.x0, 256, 2);
    EXPECT_NEAR(banner.y0, 694, 2);
    EXPECT_NEAR(banner.x1, 768, 2);
    EXPECT_NEAR(banner.y1, 758, 2);
    const Box picture = litBox(menu, 400, 0, 1024, 600);
    ASSERT_FALSE(picture.empty());
    EXPECT_NEAR(picture.x0, 512, 2);
    EXPECT_EQ(picture.y0, 0);
    EXPECT_EQ(picture.x1, 1024);
    EXPECT_NEAR(picture.y1, 512, 2);
}

TEST_F(MenuPlacement, FollowsTheWindowSize) {
    resizeTo(640, 480);
    const Frame menu = menuFrame();
    // Left of the menu picture, which is taller than this window, only the banner shows.
    const Box banner = litBox(menu, 0, 380, 128, 480);
    ASSERT_FALSE(banner.empty());
    EXPECT_NEAR(banner.x0, 64, 2);
    EXPECT_NEAR(banner.y0, 406, 2);
    EXPECT_NEAR(banner.y1, 470, 2);
    // The picture keeps to the lower-right corner and the lines to the new top.
    const Box picture = litBox(menu, 0, 0, 640, 100);
    EXPECT_NEAR(picture.x0, 128, 2);
    EXPECT_EQ(picture.x1, 640);
    const Frame line = textFrame(480 - 200, "S - start");
    EXPECT_LT(menu.difference(line, 40, 280, 120, 296), 0.01);
}

TEST_F(MenuPlacement, NarrowWindowCutsThePictureAtItsLeftEdge) {
    resizeTo(400, 300);
    const Frame menu = menuFrame();
    const Box picture = litBox(menu, 0, 0, 400, 220);
    EXPECT_EQ(picture.x0, 0);
    EXPECT_EQ(picture.x1, 400);
}
