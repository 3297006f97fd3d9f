#include "scene/gamescreen.h"

#include <GL/gl.h>

#include "app/core/config.h"
#include "app/core/state.h"
#include "assets/texture.h"
#include "chess/board.h"
#include "scene/animation.h"
#include "scene/camera.h"
#include "scene/pieces.h"
#include "screens/font.h"
#include "screens/layout.h"

namespace {

// A status message: up to two lines, each printed at x = 5 and the given distance below the
// window's top edge.
struct StatusLine {
    const char* text;
    int below;
};
struct StatusMessage {
    StatusLine lines[2];
};

enum StatusRow {
    PromptRow,
    BlackMatedRow,
    WhiteMatedRow,
    WhiteCheckRow,
    BlackCheckRow,
    StalemateRow
};

// Czech texts in Windows-1250 bytes, one line each (the prompt has two).
const StatusMessage czechMessages[] = {
    // "Výměna figury - stiskni klávesu", "V - věž, J - jezdec, S - střelec, D - dáma"
    {{{"V\xFDm\xECna figury - stiskni kl\xE1vesu", 20},
      {"V - v\xEC\x9E, J - jezdec, S - st\xF8"
       "elec, D - d\xE1ma",
       38}}},
    // "Bílý dal šachmat a vyhrál - KONEC HRY (stiskněte cokoliv pro návrat do menu)"
    {{{"B\xEDl\xFD dal \x9A"
       "achmat a vyhr\xE1l - KONEC HRY (stiskn\xECte cokoliv pro n\xE1vrat do menu)",
       20},
      {nullptr, 0}}},
    // "Černý dal šachmat a vyhrál - KONEC HRY (stiskněte cokoliv pro návrat do menu)"
    {{{"\xC8"
       "ern\xFD dal \x9A"
       "achmat a vyhr\xE1l - KONEC HRY (stiskn\xECte cokoliv pro n\xE1vrat do menu)",
       20},
      {nullptr, 0}}},
    // "Bílý - šach"
    {{{"B\xEDl\xFD - \x9A"
       "ach",
       20},
      {nullptr, 0}}},
    // "Černý - šach"
    {{{"\xC8"
       "ern\xFD - \x9A"
       "ach",
       20},
      {nullptr, 0}}},
    // "Pat! KONEC HRY (stiskněte cokoliv pro návrat do menu)"
    {{{"Pat! KONEC HRY (stiskn\xECte cokoliv pro n\xE1vrat do menu)", 20}, {nullptr, 0}}},
};

const StatusMessage englishMessages[] = {
    {{{"Vymena figury - press the key", 15}, {"V - rook, J - knight, S - bishop, D - queen", 31}}},
    {{{"Checkmate, white won - END GAME", 15}, {"(press any key to return to menu)", 33}}},
    {{{"Checkmate, black won - END GAME", 15}, {"(press any key to return to menu)", 33}}},
    {{{"White - check", 15}, {nullptr, 0}}},
    {{{"Black - check", 15}, {nullptr, 0}}},
    {{{"Stalemate! END GAME", 15}, {"(press any key to return to menu)", 33}}},
};

// The first condition that holds decides; -1 when no message is due.
int statusRow() {
    if (anyAppBit(AppPromotionPrompt)) return PromptRow;
    if (board.status & BlackMated) return BlackMatedRow;
    if (board.status & WhiteMated) return WhiteMatedRow;
    if (board.status & WhiteInCheck) return WhiteCheckRow;
    if (board.status & BlackInCheck) return BlackCheckRow;
    if ((board.status & Stalemate) && gameIsOver(board.status)) return StalemateRow;
    return -1;
}

void placeCamera() {
    glLoadIdentity();
    if (anyAppBit(AppCameraTurn)) {
        setTurningCamera();
    } else {
        setRestingCamera();
    }
}

// The computer searched for its move in this frame's advance. The notice goes in before the
// scene, which may cover it, as it did when the search ran inside the frame.
void drawThinkingNotice() {
    glEnable(GL_BLEND);
    glColor3f(1.0f, 0.0f, 0.0f);
    printText(5, config.screenHeight - 31, "Premyslim...");
    glDisable(GL_BLEND);
}

void drawBoardAndPieces() {
    if (anyAppBit(AppMoveAnim)) {
        drawMoveAnim();
    } else if (anyAppBit(AppPromotionAnim)) {
        drawPromotionAnim();
    } else {
        drawPieces();
    }
}

// Additive blending lets the scene show through the black of the font picture.
void drawStatusMessage() {
    const int row = statusRow();
    if (row < 0) return;
    const StatusMessage& message =
        menuOptions.language == 0 ? czechMessages[row] : englishMessages[row];
    glEnable(GL_BLEND);
    glColor3f(0.0039f, 0.7226f, 0.0f);
    for (const StatusLine& line : message.lines)
        if (line.text) printText(5, config.screenHeight - line.below, "%s", line.text);
    glDisable(GL_BLEND);
}

// The logo in the window's top-right corner.
void drawLogo() {
    beginWindowPixels();
    glTranslatef(static_cast<float>(config.screenWidth - logoWidth - logoMargin),
                 static_cast<float>(config.screenHeight - logoHeight - logoMargin), 0.0f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureLogo]);
    glColor3f(1.0f, 1.0f, 1.0f);
    drawPictureQuad(1.0f, 0.0f, logoWidth, logoHeight);
    endWindowPixels();
}

} // namespace

void drawGameScreen() {
    placeCamera();
    if (frameNotices.computerThought) drawThinkingNotice();
    drawHighlights();
    drawBoardAndPieces();
    glDisable(GL_LIGHTING);
    drawStatusMessage();
    glDisable(GL_DEPTH_TEST);
    drawLogo();
    glEnable(GL_DEPTH_TEST);
}
