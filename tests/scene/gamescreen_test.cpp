#include "scene/gamescreen.h"

#include <vector>

#include "scene/pieces.h"
#include "scene_fixture.h"
#include "screens/font.h"

namespace {

struct Line {
    const char* text;
    int below; // distance of the line's baseline below the window's top edge
};

const char* const pressAnyKey = "(press any key to return to menu)";

// The first row that applies decides: the prompt wins over a check, a mate over a check. The
// Czech texts are the Windows-1250 bytes the game prints, in octal escapes.
const struct StatusCase {
    const char* name;
    std::uint32_t status;
    bool prompt;
    int language;
    std::vector<Line> lines;
} statusTable[] = {
    {"prompt",
     BlackInCheck,
     true,
     1,
     {{"Vymena figury - press the key", 15}, {"V - rook, J - knight, S - bishop, D - queen", 31}}},
    {"prompt, Czech",
     0,
     true,
     0,
     {{"V\375m\354na figury - stiskni kl\341vesu", 20},
      {"V - v\354\236, J - jezdec, S - st\370elec, D - d\341ma", 38}}},
    {"black mated",
     BlackMated | WhiteInCheck,
     false,
     1,
     {{"Checkmate, white won - END GAME", 15}, {pressAnyKey, 33}}},
    {"white mated",
     WhiteMated | BlackInCheck,
     false,
     1,
     {{"Checkmate, black won - END GAME", 15}, {pressAnyKey, 33}}},
    {"white in check", WhiteInCheck, false, 1, {{"White - check", 15}}},
    {"white in check, Czech", WhiteInCheck, false, 0, {{"B\355l\375 - \232ach", 20}}},
    {"black in check", BlackInCheck, false, 1, {{"Black - check", 15}}},
    {"stalemate", Stalemate, false, 1, {{"Stalemate! END GAME", 15}, {pressAnyKey, 33}}},
    // While a pawn waits for its piece, a stalemate is not yet the end of the game.
    {"stalemate, promotion pending", Stalemate | PromotionPending, false, 1, {}},
    {"no status", 0, false, 1, {}},
};

class GameScreen : public testing::Test {
  protected:
    void SetUp() override {
        startGameState();
        board.reset();
    }
    void TearDown() override { resizeTo(1024, 768); }
    static Frame screenFrame() {
        clearFrame();
        drawGameScreen();
        return Frame::read();
    }
    // The lines alone in the message green, as the game screen prints them.
    static Frame textFrame(const StatusCase& row) {
        clearFrame();
        glEnable(GL_BLEND);
        glColor3f(0.0039f, 0.7226f, 0.0f);
        for (const Line& line : row.lines) {
            printText(5, config.screenHeight - line.below, "%s", line.text);
        }
        glDisable(GL_BLEND);
        return Frame::read();
    }
};

} // namespace

// In a window smaller than the display, as after a resize: the message keeps to the window's
// top-left corner and the logo to its top-right corner.
TEST_F(GameScreen, EachStatusShowsItsMessageAndTheLogoAtTheTopOfAResizedWindow) {
    resizeTo(640, 480);
    for (const StatusCase& row : statusTable) {
        menuOptions.language = static_cast<std::int8_t>(row.language);
        board.status = row.status;
        appState = AppGame | AppWhiteTurn | AppHumanToMove | (row.prompt ? AppPromotionPrompt : 0u);
        const Frame screen = screenFrame(), text = textFrame(row);
        // The message rows, left of the logo.
        EXPECT_LT(screen.difference(text, 0, 480 - 48, 640 - 140, 480), 0.01) << row.name;
        EXPECT_EQ(litBox(text, 0, 480 - 48, 200, 480).empty(), row.lines.empty()) << row.name;
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    }
    // The logo picture itself, its top row at the top, pixel for pixel.
    const Frame screen = screenFrame();
    RgbImage picture;
    ASSERT_EQ(loadJpeg("kavrin.jpg", picture), 1);
    double sum = 0;
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 128; ++i)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(screen.at(640 - 135 + i, 480 - 8 - j)[c] -
                                picture.pixels[(j * 128 + i) * 3 + c]);
    std::free(picture.pixels);
    EXPECT_LT(sum / (128 * 32 * 3), 4);
}

TEST_F(GameScreen, DrawsTheBoardAndPiecesFromTheRestingCamera) {
    const Frame screen = screenFrame();
    clearFrame();
    glLoadIdentity();
    setRestingCamera();
    drawPieces();
    EXPECT_LT(screen.difference(Frame::read(), 0, 0, 1024, 768 - 48), 0.01);
}

// Halfway through the flight the knight is in the air: the same picture whether or not a
// promotion animation is also marked, and not the promotion's picture.
TEST_F(GameScreen, MoveAnimationIsDrawnEvenWhenAPromotionAnimationIsMarked) {
    moveAnim = {2, 1, 3, 3, 3, 3, 3, 0, 0};
    putPiece(0, 2, 1);
    putPiece(3, 3, 3);
    board.sideToMove = -1;
    appState = AppGame | AppWhiteTurn | AppHumanToMove | AppMoveAnim;
    phaseStart = testTicks - 2500;
    const Frame flight = screenFrame();
    appState |= AppPromotionAnim;
    EXPECT_LT(screenFrame().difference(flight), 0.001);
    appState &= ~AppMoveAnim;
    EXPECT_GT(screenFrame().difference(flight), 0.05);
}

// In the frame whose advance ran the computer's search, "Premyslim..." stands in red in the
// top-left corner, under anything the scene draws there.
TEST_F(GameScreen, TheComputersNoticeShowsInTheFrameOfItsSearch) {
    const Frame plain = screenFrame();
    frameNotices.computerThought = true;
    const Frame notice = screenFrame();
    frameNotices.computerThought = false;
    const Box changed = changedBox(plain, notice);
    ASSERT_FALSE(changed.empty());
    EXPECT_GE(changed.x0, 5);
    EXPECT_LE(changed.x0, 8);
    EXPECT_GE(changed.y0, 768 - 31);
    EXPECT_LE(changed.y1, 768 - 31 + 16);
    EXPECT_LE(changed.x1, 5 + 12 * 8);
    for (int x = changed.x0; x < changed.x1; ++x)
        for (int y = changed.y0; y < changed.y1; ++y)
            EXPECT_EQ(notice.at(x, y)[1] + notice.at(x, y)[2],
                      plain.at(x, y)[1] + plain.at(x, y)[2]);
}
