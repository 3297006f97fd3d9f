#include "app/core/config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

Config readText(const std::string& contents) {
    const char* const path = "config_test.cfg";
    std::ofstream(path, std::ios::binary) << contents;
    const Config config = readConfig(path);
    std::remove(path);
    return config;
}

} // namespace

TEST(ConfigFile, EachFileGivesItsWindowSizeAndKingModel) {
    const int w0 = 1024, h0 = 768; // the window of a file that sets no size
    const struct {
        const char* name;
        std::string text;
        int width, height;
        std::string king;
    } cases[] = {
        {"empty", "", w0, h0, "king.ase"},
        {"the last of a repeated key wins", "*SCREEN_WIDTH 800 *KING a *SCREEN_WIDTH 640 *KING b",
         640, h0, "b"},
        {"an unknown key and its value are skipped", "*TITLE hello *SCREEN_WIDTH 900", 900, h0,
         "king.ase"},
        {"an integer stops where it cannot go on", "*SCREEN_WIDTH 800x *SCREEN_HEIGHT -0600", 800,
         h0, "king.ase"},
        // "*KING" follows at once and takes the next token as its value; "500" is then a key.
        {"a value glued to the next key", "*SCREEN_WIDTH +700*KING *SCREEN_HEIGHT 500", 700, h0,
         "*SCREEN_HEIGHT"},
        {"a word for a number stops the reading", "*SCREEN_HEIGHT 500 *SCREEN_WIDTH wide *KING a",
         w0, 500, "king.ase"},
        {"sizes below 1", "*SCREEN_WIDTH 0 *SCREEN_HEIGHT -1", w0, h0, "king.ase"},
        {"sizes above 16384", "*SCREEN_WIDTH 16385 *SCREEN_HEIGHT 99999999999", w0, h0, "king.ase"},
        {"the smallest sizes", "*SCREEN_WIDTH 1 *SCREEN_HEIGHT 1", 1, 1, "king.ase"},
        {"the largest sizes", "*SCREEN_WIDTH 16384 *SCREEN_HEIGHT 16384", 16384, 16384, "king.ase"},
        {"a long value is cut to its field",
         "*KING " + std::string(400, 'n') + " *SCREEN_WIDTH 640", 640, h0, std::string(255, 'n')},
        // The cut key is unknown; the tail "*SCREEN_WIDTH" glued to it must not count as a key.
        {"a long key is cut and its rest is no key",
         std::string(1023, 'k') + "*SCREEN_WIDTH 640 *SCREEN_HEIGHT 480", w0, 480, "king.ase"},
    };
    for (const auto& c : cases) {
        const Config config = readText(c.text);
        EXPECT_EQ(config.screenWidth, c.width) << c.name;
        EXPECT_EQ(config.screenHeight, c.height) << c.name;
        EXPECT_EQ(config.kingModel, c.king) << c.name;
    }
}

// *K8766, *K265 and *K4464 are tokens whose MD5 digests start with 245, 553 and 505 hex: the
// codes of the three keys that are stored and never used.
TEST(ConfigFile, ReadsEveryKeyInAnyOrderAndAMissingFileGivesTheDefaults) {
    const Config c = readText("*PAWN p *SCREEN_HEIGHT 600\n*KING\nk\n\t*SCREEN_WIDTH 800 "
                              "*CHESSBOARD b *QUEEN q *BISHOP bi *KNIGHT kn *ROOK r "
                              "*SCREEN_BPP 32 *FULLSCREEN 1 *K8766 5 *K265 6 *K4464 7");
    const Config missing = readConfig("no-such-directory/chess.cfg");
    const struct {
        const Config& config;
        std::vector<std::string> models; // king, queen, bishop, knight, rook, pawn, board
        std::vector<int> integers;       // width, height, bpp, 581, full screen, 1363, 1285
    } cases[] = {
        {c, {"k", "q", "bi", "kn", "r", "p", "b"}, {800, 600, 32, 5, 1, 6, 7}},
        {missing,
         {"king.ase", "queen.ase", "bishop.ase", "knight.ase", "rook.ase", "pawn.ase", "board.ase"},
         {1024, 768, 0, 0, 0, 0, 0}},
    };
    for (const auto& [config, models, integers] : cases) {
        EXPECT_EQ(models,
                  (std::vector<std::string>{config.kingModel, config.queenModel, config.bishopModel,
                                            config.knightModel, config.rookModel, config.pawnModel,
                                            config.boardModel}));
        EXPECT_EQ(integers, (std::vector<int>{config.screenWidth, config.screenHeight,
                                              config.screenBpp, config.unused581, config.fullScreen,
                                              config.unused1363, config.unused1285}));
    }
}
