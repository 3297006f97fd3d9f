#include "tools/assetgen/image.h"

#include <gtest/gtest.h>

namespace {

TEST(TextSetter, SetsTextWithADejaVuFont) {
    TextSetter text;
    EXPECT_GT(text.measure(sansBold, 20, "Kavrin"), 40);
    Image image(64, 32);
    text.draw(image, serifBold, 24, "Š", 4, 26, Colour{1, 1, 1});
    float ink = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            ink += image.at(x, y).r;
    EXPECT_GT(ink, 20.0f);
    EXPECT_EQ(text.ok(), 1);
}

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
