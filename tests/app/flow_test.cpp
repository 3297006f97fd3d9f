// The game flow without a window: the scenarios of flows.txt, played step by step against a
// clock the test steps itself, and the runs that watch the heap. Nothing here draws, so it runs
// with no display.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/advance.h"
#include "app/core/state.h"
#include "app/core/turn.h"
#include "app/input.h"
#include "assets/loading.h"
#include "chess/board.h"
#include "chess/fen.h"

namespace {

using Words = std::vector<std::string>;

struct Scenario {
    std::string name;
    std::vector<std::pair<int, std::string>> steps; // line number and text
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

std::vector<Scenario> scenarios() {
    std::ifstream in(APP_TEST_DATA "/flows.txt");
    std::vector<Scenario> all;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.rfind("== ", 0) == 0)
            all.push_back({line.substr(3), {}});
        else if (!line.empty() && line[0] != '#' && !all.empty())
            all.back().steps.emplace_back(number, line);
    }
    return all;
}

Words wordsOf(const std::string& text) {
    std::istringstream in(text);
    Words words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

// The text after the first `count` words.
std::string after(const Words& words, std::size_t count) {
    std::string rest;
    for (std::size_t i = count; i < words.size(); ++i)
        rest += (i > count ? " " : "") + words[i];
    return rest;
}

std::uint32_t bitsOf(const Words& words, std::size_t first) {
    static const std::string names[] = {
        "Menu",       "Game",         "WhiteTurn",      "BlackTurn",       "MoveAnim",
        "CameraTurn", "HumanToMove",  "ComputerToMove", "PromotionPrompt", "PromotionAnim",
        "Splash",     "ModelsLoaded", "LoadRequest"};
    static const std::uint32_t values[] = {
        AppMenu,       AppGame,         AppWhiteTurn,      AppBlackTurn,       AppMoveAnim,
        AppCameraTurn, AppHumanToMove,  AppComputerToMove, AppPromotionPrompt, AppPromotionAnim,
        AppSplash,     AppModelsLoaded, AppLoadRequest};
    std::uint32_t bits = 0;
    for (std::size_t i = first; i < words.size(); ++i) {
        const auto at = std::find(std::begin(names), std::end(names), words[i]) - names;
        EXPECT_LT(at, 13) << words[i];
        bits |= at < 13 ? values[at] : 0;
    }
    return bits;
}

void press(SDLKey key, SDLMod mod = KMOD_NONE) { onKey({0, key, mod, 0}); }

SDLKey keyNamed(const std::string& name) {
    if (name == "F1") return SDLK_F1;
    if (name == "space") return SDLK_SPACE;
    return static_cast<SDLKey>(name.at(0));
}

int fileOf(const std::string& square) { return square.at(0) - 'a' + 1; }
int rankOf(const std::string& square) { return square.at(1) - '0'; }

void click(const std::string& square) { onSquareClick(fileOf(square), rankOf(square)); }

// The selected square and the number of its targets, "- 0" for none (file and rank -1).
std::string selected() {
    int count = 0;
    for (const MoveTarget* node = selection.targets; node; node = node->next)
        ++count;
    if (selection.selFile == -1 && selection.selRank == -1) return "- " + std::to_string(count);
    return std::string{static_cast<char>('a' + selection.selFile - 1),
                       static_cast<char>('0' + selection.selRank)} +
           " " + std::to_string(count);
}

// Numbers as a line of words: the first `count` of them.
std::string textOf(const std::vector<int>& numbers, std::size_t count = 9) {
    std::string text;
    for (std::size_t i = 0; i < count && i < numbers.size(); ++i)
        text += (i ? " " : "") + std::to_string(numbers[i]);
    return text;
}

class GameFlow : public testing::Test {
  protected:
    std::uint32_t clock = 100000;

    void SetUp() override {
        freeTargets(selection.targets);
        selection = {-1, -1, nullptr};
        appState = AppMenu | AppModelsLoaded;
        menuOptions = menuStartOptions;
        board.reset();
        advanceGame(clock);
    }
    // The next frame, `ms` after the last one.
    void frame(std::uint32_t ms = 16) {
        clock += ms;
        advanceGame(clock);
    }
    void step(const Words& w);
    void expect(const Words& w);
};

void GameFlow::step(const Words& w) {
    const std::string& op = w.at(0);
    const auto number = [&w](std::size_t i) { return std::stoi(w.at(i)); };
    if (op == "press") {
        press(keyNamed(w.back()), w.size() > 2 ? KMOD_LSHIFT : KMOD_NONE);
    } else if (op == "click") {
        w.at(1) == "off" ? onSquareClick(-1, -1) : click(w[1]);
    } else if (op == "rightclick") {
        onMouseButton({SDL_MOUSEBUTTONDOWN, 0, SDL_BUTTON_RIGHT, SDL_PRESSED, 500, 500});
    } else if (op == "frame") {
        frame(w.size() > 1 ? number(1) : 16);
    } else if (op == "frames") {
        for (int t = 0; t < number(1); t += 100)
            frame(100);
    } else if (op == "set") {
        appState = bitsOf(w, 1);
        phaseStart = clock;
    } else if (op == "add") {
        appState |= bitsOf(w, 1);
    } else if (op == "clear") {
        appState &= ~bitsOf(w, 1);
    } else if (op == "options") {
        menuOptions = {static_cast<std::int8_t>(number(1)), static_cast<std::int8_t>(number(2)),
                       static_cast<std::int8_t>(number(3)), static_cast<std::int8_t>(number(4))};
    } else if (op == "fen") {
        ASSERT_EQ(setFromFen(board, after(w, 1).c_str()), 1);
    } else if (op == "move") {
        const std::string& m = w.at(1);
        ASSERT_EQ(board.makeMoveAt(fileOf(m), rankOf(m), fileOf(m.substr(2)), rankOf(m.substr(2))),
                  1);
    } else if (op == "record" && w.at(1).size() == 4) {
        const std::string& m = w[1];
        recordMove(fileOf(m), rankOf(m), fileOf(m.substr(2)), rankOf(m.substr(2)));
    } else if (op == "record") {
        recordPromotion(number(1));
    } else if (op == "side") {
        board.sideToMove = number(1);
    } else if (op == "handover") {
        handOver();
    } else if (op == "freemodels") {
        freeModels();
    } else if (op == "expect") {
        expect(w);
    } else {
        ADD_FAILURE() << "no such step";
    }
}

void GameFlow::expect(const Words& w) {
    const std::string& what = w.at(1);
    if (what == "state") {
        EXPECT_EQ(appState, bitsOf(w, 2));
    } else if (what == "bits") {
        EXPECT_TRUE(allAppBits(bitsOf(w, 2)));
    } else if (what == "nobits") {
        EXPECT_FALSE(anyAppBit(bitsOf(w, 2)));
    } else if (what == "piece") {
        EXPECT_EQ(board.squareAt(fileOf(w.at(2)), rankOf(w[2])).piece, std::stoi(w.at(3)));
    } else if (what == "status") {
        EXPECT_EQ(board.status, std::stoul(w.at(2)));
    } else if (what == "side") {
        EXPECT_EQ(board.sideToMove, std::stoi(w.at(2)));
    } else if (what == "selected") {
        EXPECT_EQ(selected(), after(w, 2));
    } else if (what == "options") {
        const MenuOptions& o = menuOptions;
        EXPECT_EQ(textOf({o.animations, o.players, o.rotate, o.language}), after(w, 2));
    } else if (what == "thought") {
        EXPECT_EQ(frameNotices.computerThought, w.at(2) == "1");
    } else if (what == "loading") {
        EXPECT_EQ(frameNotices.loadingPicture, w.at(2) == "1");
    } else if (what == "anim") {
        const MoveAnim& m = moveAnim;
        EXPECT_EQ(textOf({m.fromFile, m.fromRank, m.toFile, m.toRank, m.captureFile, m.captureRank,
                          m.movingPiece, m.newPiece, m.capturedPiece},
                         w.size() - 2),
                  after(w, 2));
    } else {
        ADD_FAILURE() << "no such expectation";
    }
}

class Scenarios : public GameFlow, public testing::WithParamInterface<Scenario> {};

TEST_P(Scenarios, PlayAsWritten) {
    for (const auto& [line, text] : GetParam().steps) {
        SCOPED_TRACE("flows.txt:" + std::to_string(line) + ": " + text);
        step(wordsOf(text));
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(GameFlow, Scenarios, testing::ValuesIn(scenarios()),
                         [](const testing::TestParamInfo<Scenario>& info) {
                             return info.param.name;
                         });

} // namespace

TEST_F(GameFlow, ANewSelectionFreesTheTargetsOfTheLast) {
    press(SDLK_s);
    click("e2");
    click("g1");
    const size_t held = mallinfo2().uordblks;
    for (int i = 0; i < 50; ++i) {
        click("e2");
        click("g1");
    }
    EXPECT_EQ(mallinfo2().uordblks, held);
}

TEST_F(GameFlow, EscapeOutsideTheMenuEndsTheProgram) {
    appState = AppGame;
    EXPECT_EXIT(press(SDLK_ESCAPE), ::testing::ExitedWithCode(0), "");
}

// Two computers, animations off, a bishop at every promotion and S after every end: the heap
// the game holds stays where it was after the first hundred plies.
TEST_F(GameFlow, TwoComputersPlayFiveHundredPliesInFlatMemory) {
    menuOptions.players = 2;
    menuOptions.animations = 0;
    press(SDLK_s);
    EXPECT_EQ(board.sideToMove, -1) << "the first computer moves at once";
    int plies = 1;
    size_t heapAtHundred = 0;
    for (int n = 0; plies < 500 && n < 5000; ++n) {
        const int side = board.sideToMove;
        frame();
        if (anyAppBit(AppPromotionPrompt)) press(SDLK_s);
        if (board.sideToMove != side) ++plies;
        if (gameIsOver(board.status)) {
            press(SDLK_s); // back to the menu, where S starts the next game and its first move
            ASSERT_EQ(board.sideToMove, -1);
            ++plies;
        }
        if (plies >= 100 && heapAtHundred == 0) heapAtHundred = mallinfo2().uordblks;
    }
    ASSERT_EQ(plies, 500);
    const size_t heap = mallinfo2().uordblks;
    EXPECT_LT(heap, heapAtHundred + 4096)
        << "heap " << heapAtHundred << " B after 100 plies, " << heap << " B after 500";
}
