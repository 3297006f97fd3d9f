#include "tools/assetgen/image.h"

#include <gtest/gtest.h>

namespace {

// A font that cannot be opened is reported once and fails the run instead of leaving the
// pictures' text blank.
TEST(TextSetter, MissingFontIsAFailureNotBlankText) {
    TextSetter text;
    testing::internal::CaptureStderr();
    EXPECT_EQ(text.measure("/no/such/font.ttf", 20, "Kavrin"), 0);
    text.measure("/no/such/font.ttf", 20, "again");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "assetgen: cannot open the font /no/such/font.ttf\n");
    EXPECT_EQ(text.ok(), 0);
}

} // namespace
