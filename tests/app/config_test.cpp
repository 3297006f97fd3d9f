#include "app/config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

class ConfigFile : public ::testing::Test {
  protected:
    Config read(const std::string& contents) {
        std::ofstream(path, std::ios::binary) << contents;
        return readConfig(path.c_str());
    }
    void TearDown() override { std::remove(path.c_str()); }

    const std::string path = "config_test.cfg";
};

} // namespace

TEST_F(ConfigFile, ReadsWindowSizeAndModelNamesInAnyOrder) {
    const Config c = read("*PAWN p.ase *SCREEN_HEIGHT 600\n*KING\nk.ase\n\t*SCREEN_WIDTH 800 "
                          "*CHESSBOARD b.ase *QUEEN q.ase *BISHOP bi.ase *KNIGHT kn.ase "
                          "*ROOK r.ase");
    EXPECT_EQ(c.screenWidth, 800);
    EXPECT_EQ(c.screenHeight, 600);
    EXPECT_STREQ(c.kingModel, "k.ase");
    EXPECT_STREQ(c.queenModel, "q.ase");
    EXPECT_STREQ(c.bishopModel, "bi.ase");
    EXPECT_STREQ(c.knightModel, "kn.ase");
    EXPECT_STREQ(c.rookModel, "r.ase");
    EXPECT_STREQ(c.pawnModel, "p.ase");
    EXPECT_STREQ(c.boardModel, "b.ase");
}

TEST_F(ConfigFile, LastValueOfARepeatedKeyWins) {
    const Config c = read("*SCREEN_WIDTH 800 *KING a.ase *SCREEN_WIDTH 640 *KING b.ase");
    EXPECT_EQ(c.screenWidth, 640);
    EXPECT_STREQ(c.kingModel, "b.ase");
}

TEST_F(ConfigFile, StoresTheUnusedIntegerKeys) {
    const Config c = read("*SCREEN_BPP 32 *FULLSCREEN 1");
    EXPECT_EQ(c.screenBpp, 32);
    EXPECT_EQ(c.fullScreen, 1);
}

TEST_F(ConfigFile, UnknownKeyAndItsValueAreSkippedTokenByToken) {
    const Config c = read("*TITLE hello *SCREEN_WIDTH 900");
    EXPECT_EQ(c.screenWidth, 900);
}

TEST_F(ConfigFile, MissingFieldsKeepTheirDefaults) {
    const Config c = read("*SCREEN_WIDTH 800 *SCREEN_HEIGHT 600");
    EXPECT_STREQ(c.kingModel, "king.ase");
    EXPECT_STREQ(c.boardModel, "board.ase");
    EXPECT_STREQ(c.pawnModel, "pawn.ase");
}

TEST_F(ConfigFile, MissingFileGivesAllDefaults) {
    const Config c = readConfig("no-such-directory/chess.cfg");
    EXPECT_EQ(c.screenWidth, 1024);
    EXPECT_EQ(c.screenHeight, 768);
    EXPECT_STREQ(c.knightModel, "knight.ase");
    EXPECT_STREQ(c.rookModel, "rook.ase");
}

TEST_F(ConfigFile, IntegerStopsAtTheFirstCharacterThatCannotContinueIt) {
    const Config c = read("*SCREEN_WIDTH 800x *SCREEN_HEIGHT -0600");
    EXPECT_EQ(c.screenWidth, 800);
    EXPECT_EQ(c.screenHeight, defaultScreenHeight); // negative sizes are refused
    const Config d = read("*SCREEN_WIDTH +700*KING *SCREEN_HEIGHT 500");
    EXPECT_EQ(d.screenWidth, 700);
    // "*KING" follows at once and takes the next token as its value; "500" is then a key.
    EXPECT_STREQ(d.kingModel, "*SCREEN_HEIGHT");
    EXPECT_EQ(d.screenHeight, defaultScreenHeight);
}

TEST_F(ConfigFile, KeyFollowedByAWordStopsTheReading) {
    const Config c = read("*SCREEN_HEIGHT 500 *SCREEN_WIDTH wide *KING late.ase");
    EXPECT_EQ(c.screenHeight, 500);
    EXPECT_EQ(c.screenWidth, defaultScreenWidth);
    EXPECT_STREQ(c.kingModel, "king.ase");
}

TEST_F(ConfigFile, WindowSizeOutsideTheUsableRangeTakesTheDefault) {
    Config c = read("*SCREEN_WIDTH 0 *SCREEN_HEIGHT 99999999999");
    EXPECT_EQ(c.screenWidth, defaultScreenWidth);
    EXPECT_EQ(c.screenHeight, defaultScreenHeight);
    c = read("*SCREEN_WIDTH 16384 *SCREEN_HEIGHT 1");
    EXPECT_EQ(c.screenWidth, 16384);
    EXPECT_EQ(c.screenHeight, 1);
    c = read("*SCREEN_WIDTH 16385 *SCREEN_HEIGHT -1");
    EXPECT_EQ(c.screenWidth, defaultScreenWidth);
    EXPECT_EQ(c.screenHeight, defaultScreenHeight);
}

TEST_F(ConfigFile, LongTextValueIsCutToTheFieldAndItsRestDropped) {
    const std::string longName(400, 'n');
    const Config c = read("*KING " + longName + " *SCREEN_WIDTH 640");
    EXPECT_EQ(std::string(c.kingModel), std::string(255, 'n'));
    EXPECT_EQ(c.screenWidth, 640);
}

TEST_F(ConfigFile, LongKeyTokenIsCutAndItsRestNotReadAsAKey) {
    // The cut key is unknown; the tail "*SCREEN_WIDTH" glued to it must not count as a key.
    const std::string key = std::string(1023, 'k') + "*SCREEN_WIDTH";
    const Config c = read(key + " 640 *SCREEN_HEIGHT 480");
    EXPECT_EQ(c.screenWidth, defaultScreenWidth);
    EXPECT_EQ(c.screenHeight, 480);
}

TEST_F(ConfigFile, EmptyFileGivesDefaults) {
    const Config c = read("");
    EXPECT_EQ(c.screenWidth, 1024);
    EXPECT_STREQ(c.queenModel, "queen.ase");
}
