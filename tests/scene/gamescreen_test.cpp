#include "scene/gamescreen.h"

#include <iconv.h>

#include <string>
#include <vector>

#include "scene/pieces.h"
#include "scene_fixture.h"
#include "screens/font.h"

namespace {

// The game's Czech texts are Windows-1250 bytes.
std::string windows1250(const std::string& utf8) {
    iconv_t convert = iconv_open("WINDOWS-1250", "UTF-8");
    EXPECT_NE(convert, reinterpret_cast<iconv_t>(-1));
    std::string in = utf8;
    std::vector<char> out(in.size() + 1);
    char* inPointer = in.data();
    char* outPointer = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    EXPECT_NE(iconv(convert, &inPointer, &inLeft, &outPointer, &outLeft), static_cast<size_t>(-1));
    iconv_close(convert);
    return std::string(out.data(), outPointer);
}

struct Line {
    const char* text;
    int below; // distance of the line's baseline below the window's top edge
};

struct StatusCase {
    const char* name;
    std::uint32_t status;
    bool prompt;
    std::vector<Line> czech;
    std::vector<Line> english;
};

const char* const pressAnyKey = "(press any key to return to menu)";

const std::vector<StatusCase> statusTable = {
    {"promotion prompt",
     0,
     true,
     {{"Výměna figury - stiskni klávesu", 20}, {"V - věž, J - jezdec, S - střelec, D - dáma", 38}},
     {{"Vymena figury - press the key", 15}, {"V - rook, J - knight, S - bishop, D - queen", 31}}},
    {"black mated",
     BlackMated,
     false,
     {{"Bílý dal šachmat a vyhrál - KONEC HRY (stiskněte cokoliv pro návrat do menu)", 20}},
     {{"Checkmate, white won - END GAME", 15}, {pressAnyKey, 33}}},
    {"white mated",
     WhiteMated,
     false,
     {{"Černý dal šachmat a vyhrál - KONEC HRY (stiskněte cokoliv pro návrat do menu)", 20}},
     {{"Checkmate, black won - END GAME", 15}, {pressAnyKey, 33}}},
    {"white in check", WhiteInCheck, false, {{"Bílý - šach", 20}}, {{"White - check", 15}}},
    {"black in check", BlackInCheck, false, {{"Černý - šach", 20}}, {{"Black - check", 15}}},
    {"stalemate",
     Stalemate,
     false,
     {{"Pat! KONEC HRY (stiskněte cokoliv pro návrat do menu)", 20}},
     {{"Stalemate! END GAME", 15}, {pressAnyKey, 33}}},
};

class GameScreen : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
        startGameState();
        board.reset();
    }
    void TearDown() override {
        resizeTo(1024, 768);
        board.reset();
    }
    static Frame screenFrame() {
        clearFrame();
        drawGameScreen();
        return Frame::read();
    }
    // The lines alone in the message green, as the game screen prints them.
    static Frame textFrame(const std::vector<Line>& lines, bool czech) {
        clearFrame();
        glEnable(GL_BLEND);
        glColor3f(0.0039f, 0.7226f, 0.0f);
        for (const Line& line : lines) {
            const std::string bytes = czech ? windows1250(line.text) : std::string(line.text);
            printText(5, config.screenHeight - line.below, "%s", bytes.c_str());
        }
        glDisable(GL_BLEND);
        return Frame::read();
    }
    // The message rows, left of the logo.
    static double messageDifference(const Frame& screen, const Frame& text) {
        return screen.difference(text, 0, screen.height - 48, screen.width - 140, screen.height);
    }
};

} // namespace

TEST_F(GameScreen, EachStatusShowsItsMessageInBothLanguages) {
    for (const StatusCase& row : statusTable)
        for (int language : {0, 1}) {
            menuOptions.language = static_cast<std::int8_t>(language);
            board.status = row.status;
            appState = AppGame | AppWhiteTurn | AppHumanToMove;
            if (row.prompt) setAppBits(AppPromotionPrompt);
            const Frame screen = screenFrame();
            const Frame text = textFrame(language == 0 ? row.czech : row.english, language == 0);
            EXPECT_LT(messageDifference(screen, text), 0.01)
                << row.name << ", language " << language;
            EXPECT_FALSE(glIsEnabled(GL_BLEND));
            EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        }
}

TEST_F(GameScreen, MateWinsOverCheckThePromptOverBothAndNoStatusShowsNothing) {
    menuOptions.language = 1;
    const struct {
        std::uint32_t status;
        bool prompt;
        int shows; // the row of the table, -1 for no message
    } cases[] = {{BlackMated | WhiteInCheck, false, 1},
                 {WhiteMated | BlackInCheck, false, 2},
                 {BlackInCheck, true, 0},
                 {0, false, -1},
                 // While a pawn waits for its piece, a stalemate is not yet the end of the game.
                 {Stalemate | PromotionPending, false, -1}};
    for (const auto& c : cases) {
        board.status = c.status;
        appState = AppGame | AppWhiteTurn | AppHumanToMove | (c.prompt ? AppPromotionPrompt : 0u);
        const Frame screen = screenFrame();
        const std::vector<Line> none;
        EXPECT_LT(messageDifference(
                      screen, textFrame(c.shows < 0 ? none : statusTable[c.shows].english, false)),
                  0.01)
            << c.status;
    }
}

TEST_F(GameScreen, LogoAndMessageKeepToTheTopCornersOfAnyWindowSize) {
    board.status = WhiteInCheck;
    menuOptions.language = 1;
    for (const auto& [w, h] : {std::pair{1024, 768}, std::pair{640, 480}}) {
        resizeTo(w, h);
        const Frame screen = screenFrame();
        const Box logo = litBox(screen, w - 136, h - 60, w, h);
        EXPECT_EQ(logo.x0, w - 135);
        EXPECT_EQ(logo.x1, w - 7);
        EXPECT_EQ(logo.y0, h - 39);
        EXPECT_EQ(logo.y1, h - 7);
        // The picture itself, its top row at the top, pixel for pixel.
        RgbImage picture;
        ASSERT_EQ(loadJpeg("kavrin.jpg", picture), 1);
        double sum = 0;
        for (int j = 0; j < 32; ++j)
            for (int i = 0; i < 128; ++i)
                for (int c = 0; c < 3; ++c)
                    sum += std::abs(screen.at(w - 135 + i, h - 8 - j)[c] -
                                    picture.pixels[(j * 128 + i) * 3 + c]);
        std::free(picture.pixels);
        EXPECT_LT(sum / (128 * 32 * 3), 4) << w << " x " << h;
        const Frame text = textFrame(statusTable[3].english, false);
        EXPECT_FALSE(litBox(text, 0, h - 48, 200, h).empty());
        EXPECT_LT(messageDifference(screen, text), 0.01) << w << " x " << h;
    }
}

TEST_F(GameScreen, DrawsTheBoardAndPiecesFromTheRestingCamera) {
    const Frame screen = screenFrame();
    clearFrame();
    glLoadIdentity();
    setRestingCamera();
    drawPieces();
    EXPECT_LT(screen.difference(Frame::read(), 0, 0, 1024, 768 - 48), 0.01);
}

TEST_F(GameScreen, MoveAnimationIsDrawnEvenWhenAPromotionAnimationIsMarked) {
    moveAnim = {2, 1, 3, 3, 3, 3, 3, 0, 0};
    putPiece(0, 2, 1);
    putPiece(3, 3, 3);
    board.sideToMove = -1;
    appState = AppGame | AppWhiteTurn | AppHumanToMove | AppPromotionAnim;
    startMoveAnim();
    testTicks = phaseStart + 5000;
    screenFrame();
    EXPECT_FALSE(anyAppBit(AppMoveAnim));
    EXPECT_TRUE(allAppBits(AppPromotionAnim | AppCameraTurn | AppBlackTurn));
}
