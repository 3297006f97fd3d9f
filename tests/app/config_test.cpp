#include "app/core/config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A row's text with \n, \t and <N c> written out.
std::string expanded(std::string text) {
    for (std::size_t at; (at = text.find('<')) != std::string::npos;) {
        const std::size_t end = text.find('>', at);
        const std::string repeat = text.substr(at + 1, end - at - 1);
        text.replace(at, end - at + 1, std::string(std::stoul(repeat), repeat.back()));
    }
    for (std::size_t at; (at = text.find('\\')) != std::string::npos;)
        text.replace(at, 2, text[at + 1] == 'n' ? "\n" : "\t");
    return text;
}

Config readText(const std::string& contents) {
    const char* const path = "config_test.cfg";
    std::ofstream(path, std::ios::binary) << contents;
    const Config config = readConfig(path);
    std::remove(path);
    return config;
}

} // namespace

TEST(ConfigFile, GivesEveryKeyItSetsAndTheDefaultsOfTheRest) {
    std::ifstream in(APP_TEST_DATA "/config_files.txt");
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::string text = line.substr(0, line.find(" | "));
        const Config c = text == "missing" ? readConfig("no-such-directory/chess.cfg")
                                           : readText(expanded(text));
        std::ostringstream got;
        got << c.screenWidth << ' ' << c.screenHeight << ' ' << c.screenBpp << ' ' << c.unused581
            << ' ' << c.fullScreen << ' ' << c.unused1363 << ' ' << c.unused1285 << " | "
            << c.kingModel << ' ' << c.queenModel << ' ' << c.bishopModel << ' ' << c.knightModel
            << ' ' << c.rookModel << ' ' << c.pawnModel << ' ' << c.boardModel;
        EXPECT_EQ(got.str(), expanded(line.substr(text.size() + 3))) << text.substr(0, 80);
        ++rows;
    }
    EXPECT_EQ(rows, 14);
}
