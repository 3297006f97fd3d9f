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

std::uint32_t bitsOf(const std::string& text) {
    static const std::string names[] = {
        "Menu",       "Game",         "WhiteTurn",      "BlackTurn",       "MoveAnim",
        "CameraTurn", "HumanToMove",  "ComputerToMove", "PromotionPrompt", "PromotionAnim",
        "Splash",     "ModelsLoaded", "LoadRequest"};
    static const std::uint32_t values[] = {
        AppMenu,       AppGame,         AppWhiteTurn,      AppBlackTurn,       AppMoveAnim,
        AppCameraTurn, AppHumanToMove,  AppComputerToMove, AppPromotionPrompt, AppPromotionAnim,
        AppSplash,     AppModelsLoaded, AppLoadRequest};
    std::istringstream in(text);
    std::uint32_t bits = 0;
    for (std::string name; in >> name;) {
        const auto at = std::find(std::begin(names), std::end(names), name) - names;
        EXPECT_LT(at, 13) << name;
        bits |= at < 13 ? values[at] : 0;
    }
    return bits;
}

// Numbers as a line of words, the first `count` of them.
std::string textOf(const std::vector<int>& numbers, std::size_t count = 9) {
    std::string text;
    for (std::size_t i = 0; i < count && i < numbers.size(); ++i)
        text += (i ? " " : "") + std::to_string(numbers[i]);
    return text;
}

void press(SDLKey key, SDLMod mod = KMOD_NONE) { onKey({0, key, mod, 0}); }

SDLKey keyNamed(const std::string& name) {
    if (name == "F1") return SDLK_F1;
    if (name == "space") return SDLK_SPACE;
    return static_cast<SDLKey>(name.at(0));
}

void click(const std::string& square) {
    const int index = squareFromText(square.c_str());
    onSquareClick(fileOf(index), rankOf(index));
}

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

class GameFlow : public testing::Test {
  protected:
    std::uint32_t clock = 100000;
    size_t heldBytes = 0;

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
    void step(const std::string& op, const std::string& arg, const std::string& rest);
    void expect(const std::string& what, const std::string& value);
};

// A step is an operation, its first argument and the rest of the line.
void GameFlow::step(const std::string& op, const std::string& arg, const std::string& rest) {
    if (op == "press") {
        press(keyNamed(rest.empty() ? arg : rest), rest.empty() ? KMOD_NONE : KMOD_LSHIFT);
    } else if (op == "click") {
        arg == "off" ? onSquareClick(-1, -1) : click(arg);
    } else if (op == "rightclick") {
        onMouseButton({SDL_MOUSEBUTTONDOWN, 0, SDL_BUTTON_RIGHT, SDL_PRESSED, 500, 500});
    } else if (op == "frame") {
        frame(arg.empty() ? 16 : std::stoi(arg));
    } else if (op == "frames") {
        for (int t = 0; t < std::stoi(arg); t += 100)
            frame(100);
    } else if (op == "set") {
        appState = bitsOf(arg + " " + rest);
        phaseStart = clock;
    } else if (op == "add") {
        appState |= bitsOf(arg + " " + rest);
    } else if (op == "clear") {
        appState &= ~bitsOf(arg + " " + rest);
    } else if (op == "fen") {
        ASSERT_EQ(setFromFen(board, (arg + " " + rest).c_str()), 1);
    } else if (op == "record") {
        recordPromotion(std::stoi(arg));
    } else if (op == "side") {
        board.sideToMove = std::stoi(arg);
    } else if (op == "handover") {
        handOver();
    } else if (op == "heap") {
        heldBytes = mallinfo2().uordblks;
    } else if (op == "freemodels") {
        freeModels();
    } else if (op == "expect") {
        expect(arg, rest);
    } else {
        ADD_FAILURE() << "no such step";
    }
}

void GameFlow::expect(const std::string& what, const std::string& all) {
    const MenuOptions& o = menuOptions;
    const MoveAnim& m = moveAnim;
    if (what == "state") {
        EXPECT_EQ(appState, bitsOf(all));
    } else if (what == "bits") {
        EXPECT_TRUE(allAppBits(bitsOf(all)));
    } else if (what == "nobits") {
        EXPECT_FALSE(anyAppBit(bitsOf(all)));
    } else if (what == "piece") {
        EXPECT_EQ(std::to_string(board.squares[squareFromText(all.c_str())].piece), all.substr(3));
    } else if (what == "status") {
        EXPECT_EQ(std::to_string(board.status), all);
    } else if (what == "side") {
        EXPECT_EQ(std::to_string(board.sideToMove), all);
    } else if (what == "selected") {
        EXPECT_EQ(selected(), all);
    } else if (what == "options") {
        EXPECT_EQ(textOf({o.animations, o.players, o.rotate, o.language}), all);
    } else if (what == "thought") {
        EXPECT_EQ(frameNotices.computerThought, all == "1");
    } else if (what == "loading") {
        EXPECT_EQ(frameNotices.loadingPicture, all == "1");
    } else if (what == "heap") {
        EXPECT_EQ(mallinfo2().uordblks, heldBytes);
    } else if (what == "anim") {
        const std::vector<int> fields = {m.fromFile,    m.fromRank,    m.toFile,
                                         m.toRank,      m.captureFile, m.captureRank,
                                         m.movingPiece, m.newPiece,    m.capturedPiece};
        EXPECT_EQ(textOf(fields, std::count(all.begin(), all.end(), ' ') + 1), all);
    } else {
        ADD_FAILURE() << "no such expectation";
    }
}

class Scenarios : public GameFlow, public testing::WithParamInterface<Scenario> {};

TEST_P(Scenarios, PlayAsWritten) {
    for (const auto& [line, text] : GetParam().steps) {
        SCOPED_TRACE("flows.txt:" + std::to_string(line) + ": " + text);
        std::istringstream in(text);
        std::string op, arg, rest;
        in >> op >> arg >> std::ws;
        std::getline(in, rest);
        step(op, arg, rest);
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(GameFlow, Scenarios, testing::ValuesIn(scenarios()),
                         [](const testing::TestParamInfo<Scenario>& info) {
                             return info.param.name;
                         });

} // namespace

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
