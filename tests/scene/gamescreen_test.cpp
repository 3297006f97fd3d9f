#include "scene/gamescreen.h"

#include <fstream>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

#include "scene_fixture.h"

namespace {

// The rows of status_messages.txt by state (status bits, prompt, language): each printed line's
// distance below the window's top and its text, with \xNN escapes turned into bytes.
using StatusLines = std::vector<std::pair<int, std::string>>;
std::map<std::tuple<std::uint32_t, int, int>, StatusLines> statusCases() {
    std::map<std::tuple<std::uint32_t, int, int>, StatusLines> cases;
    std::ifstream file(TEST_DATA_DIR "/status_messages.txt");
    for (std::string row; std::getline(file, row);) {
        if (row.empty() || row[0] == '#') continue;
        std::istringstream in(row);
        std::uint32_t status = 0;
        int prompt = 0, language = 0, below = 0;
        in >> status >> prompt >> language;
        StatusLines& lines = cases[{status, prompt, language}];
        std::string raw, text;
        if (!(in >> below >> std::ws) || !std::getline(in, raw)) continue;
        for (std::size_t k = 0; k < raw.size(); ++k) {
            const bool escape = raw.compare(k, 2, "\\x") == 0;
            text +=
                escape ? static_cast<char>(std::stoi(raw.substr(k + 2, 2), nullptr, 16)) : raw[k];
            k += escape ? 3 : 0;
        }
        lines.push_back({below, text});
    }
    return cases;
}

class GameScreen : public testing::Test {
  protected:
    void SetUp() override {
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
};

} // namespace

// In a window smaller than the display, as after a resize: the message keeps to the window's
// top-left corner and the logo to its top-right corner, 7 pixels in.
TEST_F(GameScreen, EachStatusShowsItsMessageAndTheLogoAtTheTopOfAResizedWindow) {
    resizeTo(640, 480);
    const auto cases = statusCases();
    ASSERT_EQ(cases.size(), 14u);
    for (const auto& [state, lines] : cases) {
        const auto& [status, prompt, language] = state;
        SCOPED_TRACE(testing::Message() << status << " " << prompt << " " << language);
        menuOptions.language = static_cast<std::int8_t>(language);
        board.status = status;
        appState = AppGame | AppWhiteTurn | AppHumanToMove | (prompt ? AppPromotionPrompt : 0u);
        const Frame screen = screenFrame();
        Frame text;
        for (const auto& [below, line] : lines)
            addText(text, 5, 480 - below, line, {0.0039f, 0.7226f, 0});
        EXPECT_TRUE(changedBox(screen, text, {0, 480 - 48, 640 - 140, 480}).empty());
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    }
    const Frame screen = screenFrame();
    EXPECT_LT(differenceFromPicture(screen, "kavrin.jpg", 0, 32, 640 - 135, 480 - 8), 4);
}

// A piece shows where the eye of the side to move, or of the turning camera, sees its square;
// halfway through a move the knight flies over c2, and a move animation is drawn even when a
// promotion animation is also marked.
TEST_F(GameScreen, TheSceneIsSeenFromTheSideToMoveTheTurningCameraAndTheMoveInFlight) {
    const struct {
        std::uint32_t bits;
        int rotate;
        Point eye;
        double file, rank, lift;
    } views[] = {
        {AppWhiteTurn, 1, whiteEye, 3, 3, 0},
        {AppBlackTurn, 1, blackEye, 3, 3, 0},
        {AppBlackTurn, 0, whiteEye, 3, 3, 0},
        {AppWhiteTurn | AppCameraTurn, 1, {-5, 10, -4}, 3, 3, 0},
        {AppWhiteTurn | AppMoveAnim, 1, whiteEye, 2.5, 2, 2},
        {AppWhiteTurn | AppMoveAnim | AppPromotionAnim, 1, whiteEye, 2.5, 2, 2},
        {AppWhiteTurn | AppPromotionAnim, 1, whiteEye, 2, 1, 2},
    };
    for (const auto& v : views) {
        SCOPED_TRACE(testing::Message() << "bits " << v.bits << ", rotate " << v.rotate);
        emptyBoard();
        putPiece(3, 3, 3);
        moveAnim = {2, 1, 3, 3, 3, 3, 3, 3, 0};
        appState = AppGame | AppHumanToMove | v.bits;
        menuOptions.rotate = static_cast<std::int8_t>(v.rotate);
        phaseStart = testTicks - 2500;
        const Frame with = screenFrame();
        putPiece(0, 3, 3);
        moveAnim.movingPiece = 0;
        expectPieceAt(changedBox(with, screenFrame()), v.eye, v.file, v.rank, v.lift);
    }
}

// The selected square and its targets show the highlight picture, whatever texture the frame
// before left bound: its texture's s runs along the rank towards file a, t from the far edge
// (seen from White) to the near one, t = 0 being the picture's bottom row. Other squares stay
// as they were, and a selection or a target off the board shows nothing.
TEST_F(GameScreen, SelectedSquareAndItsTargetsShowTheHighlightPictureAndNothingOffTheBoard) {
    emptyBoard();
    const Frame plain = screenFrame();
    MoveTarget f6 = {6, 6, 0, 0, nullptr};
    MoveTarget c2 = {3, 2, 0, 0, &f6};
    selection = {4, 4, &c2};
    glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureLogo]);
    const Frame screen = screenFrame();
    const RgbImage& pole = *loadDib("Pole.bmp");
    for (const auto& [file, rank] : {std::pair{4, 4}, std::pair{3, 2}, std::pair{6, 6}}) {
        double sum = 0;
        int n = 0;
        for (double s = 0.05; s < 1; s += 0.1)
            for (double t = 0.05; t < 1; t += 0.1) {
                const WindowPixel p = seenFrom(whiteEye, 8 - file + s, 0, rank - 8 - t);
                const int texel = static_cast<int>(t * pole.height) * pole.width +
                                  static_cast<int>(s * pole.width);
                for (int c = 0; c < 3; ++c, ++n)
                    sum += std::abs(screen.at(static_cast<int>(p.x), static_cast<int>(p.y))[c] -
                                    pole.pixels[texel * 3 + c]);
            }
        EXPECT_LT(sum / n, 3) << file << ", " << rank;
    }
    freeDib(const_cast<RgbImage*>(&pole));
    const WindowPixel b3 = seenFrom(whiteEye, 6.5, 0, -5.5);
    const int x = static_cast<int>(b3.x), y = static_cast<int>(b3.y);
    EXPECT_EQ(screen.difference(plain, {x - 10, y - 10, x + 10, y + 10}), 0);
    for (const auto& [file, rank] : {std::pair{0, 4}, {9, 4}, {4, 0}, {4, 9}}) {
        MoveTarget offBoard = {file, rank, 0, 0, nullptr};
        selection = {file, rank, &offBoard};
        EXPECT_EQ(screenFrame().difference(plain), 0) << file << ", " << rank;
    }
    selection = {-1, -1, nullptr};
}

// In the frame whose advance ran the computer's search, "Premyslim..." stands in red in the
// top-left corner.
TEST_F(GameScreen, TheComputersNoticeShowsInTheFrameOfItsSearch) {
    Frame expected = screenFrame();
    addText(expected, 5, 768 - 31, "Premyslim...", {1, 0, 0});
    frameNotices.computerThought = true;
    const Frame notice = screenFrame();
    frameNotices.computerThought = false;
    EXPECT_TRUE(changedBox(notice, expected).empty());
}
