// Drawing reads the game and changes none of it: every screen in every phase, drawn through
// the frame dispatch, leaves every record of the program as it found it, and the same state
// drawn twice gives the same picture.
#include <map>
#include <string>

#include "app/loop.h"
#include "assets/mesh.h"
#include "chess/fen.h"
#include "tests/scene/scene_fixture.h"

namespace {

template <typename T>
std::string bytesOf(const T& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

// Everything a draw could change, record by record: the state bits and options, the clock,
// the notices, the selection, the animation record, the board, the configuration and the
// meshes' materials.
std::map<std::string, std::string> snapshot() {
    std::map<std::string, std::string> records = {
        {"state bits", bytesOf(appState)},     {"options", bytesOf(menuOptions)},
        {"phase start", bytesOf(phaseStart)},  {"frame ticks", bytesOf(frameTicks)},
        {"notices", bytesOf(frameNotices)},    {"selection", bytesOf(selection)},
        {"move record", bytesOf(moveAnim)},    {"board", bytesOf(board)},
        {"configuration", bytesOf(config)},    {"mesh table", bytesOf(meshTable)}};
    for (const MoveTarget* node = selection.targets; node; node = node->next)
        records["targets"] += bytesOf(node->file) + bytesOf(node->rank);
    for (int slot = 1; slot <= 7; ++slot)
        for (const MeshPart& part : meshTable[slot]->parts)
            records["mesh materials"] += bytesOf(part.materialIndex);
    return records;
}

// The names of the records that differ.
std::string changed(const std::map<std::string, std::string>& before) {
    std::string names;
    for (const auto& [name, bytes] : snapshot())
        if (before.at(name) != bytes) names += name + "; ";
    return names;
}

Frame shownFrame() {
    drawFrame();
    glReadBuffer(GL_FRONT);
    Frame frame = Frame::read();
    glReadBuffer(GL_BACK);
    return frame;
}

} // namespace

TEST(Frame, DrawingChangesNothingAndTheSameStateShowsTheSamePicture) {
    startGameState();
    ASSERT_EQ(setFromFen(board, "r3k2r/1P6/8/3pP3/8/8/6p1/R3K2R w KQkq d6"), 1);
    selection = {5, 5, board.legalTargetsAt(5, 5)};
    const struct {
        const char* name;
        std::uint32_t bits;
        int ms; // since the phase began
        FrameNotices notices;
    } screens[] = {
        {"splash", AppSplash, 3000, {false, false}},
        {"splash, loading", AppSplash | AppLoadRequest, 3000, {true, false}},
        {"splash, late", AppSplash, 16000, {false, false}},
        {"menu", AppMenu | AppModelsLoaded, 0, {false, false}},
        {"game at rest", AppGame | AppWhiteTurn | AppHumanToMove, 0, {false, false}},
        {"camera turn", AppGame | AppBlackTurn | AppCameraTurn, 2500, {false, false}},
        {"computer's move", AppGame | AppBlackTurn | AppMoveAnim, 0, {false, true}},
        {"move", AppGame | AppWhiteTurn | AppMoveAnim, 2500, {false, false}},
        {"prompt", AppGame | AppWhiteTurn | AppPromotionPrompt, 0, {false, false}},
        {"promotion", AppGame | AppWhiteTurn | AppPromotionAnim, 2500, {false, false}},
        {"promotion, Black", AppGame | AppBlackTurn | AppPromotionAnim, 4000, {false, false}},
    };
    moveAnim = {2, 7, 2, 8, 2, 8, 1, 5, 0};
    for (const auto& screen : screens) {
        appState = screen.bits | AppModelsLoaded;
        phaseStart = testTicks - screen.ms;
        frameNotices = screen.notices;
        const auto before = snapshot();
        const Frame first = shownFrame();
        EXPECT_EQ(changed(before), "") << screen.name;
        EXPECT_LT(shownFrame().difference(first), 1e-9) << screen.name;
    }
    freeTargets(selection.targets);
    selection = {-1, -1, nullptr};
    frameNotices = {false, false};
}
