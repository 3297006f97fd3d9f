#include "app/core/config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

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
    const int w0 = defaultScreenWidth, h0 = defaultScreenHeight;
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
        {"the extreme sizes", "*SCREEN_WIDTH 16384 *SCREEN_HEIGHT 1", 16384, 1, "king.ase"},
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

TEST(ConfigFile, ReadsEveryKeyInAnyOrderAndAMissingFileGivesTheDefaults) {
    const Config c = readText("*PAWN p *SCREEN_HEIGHT 600\n*KING\nk\n\t*SCREEN_WIDTH 800 "
                              "*CHESSBOARD b *QUEEN q *BISHOP bi *KNIGHT kn *ROOK r "
                              "*SCREEN_BPP 32 *FULLSCREEN 1");
    EXPECT_EQ(c.screenWidth, 800);
    EXPECT_EQ(c.screenBpp, 32);
    EXPECT_EQ(c.fullScreen, 1);
    const std::pair<const char*, const char*> models[] = {
        {c.kingModel, "k"}, {c.queenModel, "q"}, {c.bishopModel, "bi"}, {c.knightModel, "kn"},
        {c.rookModel, "r"}, {c.pawnModel, "p"},  {c.boardModel, "b"}};
    for (const auto& [read, name] : models)
        EXPECT_STREQ(read, name);
    EXPECT_EQ(readConfig("no-such-directory/chess.cfg").screenWidth, defaultScreenWidth);
}
