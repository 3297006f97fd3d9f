// The generator gives the same bytes on every run, and they are the build's data folder. What
// the files hold is read back through the game's own readers in the generated-data test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

int run(const std::string& command) { return std::system(command.c_str()); }

TEST(Generator, TwoRunsGiveTheBytesOfTheBuildsDataFolder) {
    ASSERT_EQ(run("rm -rf run_a run_b && mkdir run_a run_b"), 0);
    ASSERT_EQ(run(ASSETGEN_PATH " run_a"), 0);
    ASSERT_EQ(run(ASSETGEN_PATH " run_b"), 0);
    EXPECT_EQ(run("diff -r run_a run_b"), 0) << "two runs differ";
    EXPECT_EQ(run("diff -r run_a " KAVRIN_DATA_DIR), 0) << "the build's data folder differs";
}

} // namespace
