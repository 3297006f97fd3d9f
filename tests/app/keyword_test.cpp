#include "app/core/keyword.h"

#include <gtest/gtest.h>

#include <string>

// The published vectors cover the padding into a second block (62 bytes), several blocks in
// one update (a million bytes) and bytes above seven bits.
TEST(Md5Digest, MatchesThePublishedTestVectorsAndBytesAboveSevenBits) {
    const std::pair<std::string, const char*> vectors[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
        {std::string(1000000, 'a'), "7707D6AE4E027C70EEA2A935C2296F21"},
        {"\xE8\xF8\x9A\x9E", "5267BF7F88B0DBF31B0E9FA0773AC356"},
    };
    Md5 md5;
    for (const auto& [text, digest] : vectors)
        EXPECT_STREQ(md5.hexDigest(text.c_str()), digest) << text.substr(0, 80);
}

TEST(KeywordCode, IsTheFirstThreeHexDigitsOfTheDigest) { EXPECT_EQ(keywordCode("abc"), 0x900u); }

TEST(HexToInt, ReadsCountDigitsAndANonDigitTakesTheNextDigitsValue) {
    const struct {
        const char* text;
        int count;
        unsigned value;
    } cases[] = {{"d41", 3, 3393}, {"1g", 2, 16}, {"g1", 2, 17}, {"123456", 2, 0x12}, {"5", 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(hexToInt(c.text, c.count), c.value) << c.text << ", " << c.count;
}
