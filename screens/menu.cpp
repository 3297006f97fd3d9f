#include "screens/menu.h"

#include <GL/gl.h>

#include "app/core/config.h"
#include "app/core/state.h"
#include "assets/texture.h"
#include "screens/font.h"
#include "screens/layout.h"

namespace {

// The menu texts in Windows-1250; the readable Czech stands beside each.
struct MenuTexts {
    const char* lines[8];
    const char* players[3];
    const char* animations[2]; // off, on
    const char* rotateOff;
};

const MenuTexts czechTexts = {
    {
        "S - start hry",
        "H - hr\xE1\xE8i - %s", // H - hráči - %s
        "A - animace - %s",
        "O - %sot\xE1\xE8"
        "et sachovnic\xED", // O - %sotáčet sachovnicí
        "L - english language",
        "F1 - n\xE1vrat do menu", // F1 - návrat do menu
        "     (ze hry)",
        "Esc - konec hry",
    },
    {
        "2 hr\xE1\xE8i",                   // 2 hráči
        "\xE8lov\xECk + po\xE8\xEDta\xE8", // člověk + počítač
        "2 po\xE8\xEDta\xE8"
        "e", // 2 počítače
    },
    {"vypnuty", "zapnuty"},
    "ne",
};

const MenuTexts englishTexts = {
    {
        "S - start game",
        "H - players - %s",
        "A - animations - %s",
        "O - %srotate the checkboard",
        "L - \xE8"
        "esk\xFD jazyk", // L - český jazyk
        "F1 - return to menu",
        "     (from game)",
        "Esc - quit game",
    },
    {"2 players", "human + computer", "2 computers"},
    {"off", "on"},
    "don't ",
};

// The splash picture's banner centred at the top, the menu picture in the lower-right corner,
// both opaque and at their own size.
void drawPictures(int w, int h) {
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    beginWindowPixels();
    glTranslatef((w - splashWidth) * 0.5f,
                 static_cast<float>(h - splashBannerPixels - menuBannerGap), 0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureSplash]);
    glColor3f(1, 1, 1);
    drawPictureQuad(1, splashBannerTop, splashWidth, splashBannerPixels);

    glLoadIdentity();
    glTranslatef(static_cast<float>(w - menuPicturePixels), 0, 0);
    glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureMenu]);
    drawPictureQuad(1, 0, menuPicturePixels, menuPicturePixels);

    endWindowPixels();
    glEnable(GL_DEPTH_TEST);
}

// The eight lines in green, added to what lies behind them so that the font picture's black
// leaves the pictures unchanged.
void drawLines(int h) {
    const MenuTexts& texts = menuOptions.language == 1 ? englishTexts : czechTexts;
    const int players =
        menuOptions.players == 0 || menuOptions.players == 1 ? menuOptions.players : 2;
    const char* arguments[8] = {
        nullptr,
        texts.players[players],
        texts.animations[menuOptions.animations != 0 ? 1 : 0],
        menuOptions.rotate != 0 ? "" : texts.rotateOff,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
    };
    glEnable(GL_BLEND);
    glColor3f(0, 1, 0);
    for (int line = 0; line < 8; ++line) {
        const int y = h - menuFirstLineBelow - menuLineStep * line;
        if (arguments[line])
            printText(menuTextX, y, texts.lines[line], arguments[line]);
        else
            printText(menuTextX, y, "%s", texts.lines[line]);
    }
    glDisable(GL_BLEND);
}

} // namespace

void drawMenu() {
    drawPictures(config.screenWidth, config.screenHeight);
    drawLines(config.screenHeight);
}
