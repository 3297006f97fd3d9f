// The generator gives the same bytes on every run, and they are the build's data folder: the
// build made that folder with a run of its own. What the files hold is read back through the
// game's own readers in the generated-data test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

int run(const std::string& command) { return std::system(command.c_str()); }

TEST(Generator, ARunGivesTheBytesOfTheBuildsDataFolder) {
    ASSERT_EQ(run("rm -rf run && mkdir run && " ASSETGEN_PATH " run"), 0);
    EXPECT_EQ(run("diff -r run " KAVRIN_DATA_DIR), 0) << "the run differs from the build's";
}

} // namespace
