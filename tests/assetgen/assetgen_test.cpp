// The generator gives the same bytes on every run, and they are the build's data folder. What
// the files hold is read back through the game's own readers in the generated-data test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

const std::string dataDir = KAVRIN_DATA_DIR;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::set<std::string> filesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(Generator, TwoRunsGiveTheSameBytesInEveryFile) {
    const std::string a = "run_a", b = "run_b";
    ASSERT_EQ(std::system(("rm -rf " + a + " " + b + " && mkdir " + a + " " + b).c_str()), 0);
    ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " " + a).c_str()), 0);
    ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " " + b).c_str()), 0);
    const std::set<std::string> files = filesIn(a);
    EXPECT_EQ(files, filesIn(b));
    EXPECT_EQ(files, filesIn(dataDir)) << "the build's data folder comes from the same runs";
    EXPECT_GE(files.size(), 19u);
    for (const std::string& f : files) {
        const std::string first = readFile(a + "/" + f);
        EXPECT_FALSE(first.empty()) << f;
        EXPECT_EQ(first, readFile(b + "/" + f)) << f;
        EXPECT_EQ(first, readFile(dataDir + "/" + f)) << f;
    }
}

} // namespace
