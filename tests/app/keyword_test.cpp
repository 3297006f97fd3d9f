#include "app/keyword.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string hexOf(Md5& md5) {
    unsigned char digest[16];
    md5.finish(digest);
    std::string text;
    char pair[3];
    for (unsigned char byte : digest) {
        std::snprintf(pair, sizeof pair, "%02X", byte);
        text += pair;
    }
    return text;
}

} // namespace

TEST(Md5Digest, MatchesThePublishedTestVectorsAndBytesAboveSevenBits) {
    const std::pair<std::string, const char*> vectors[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
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

TEST(Md5Digest, GivesTheSameDigestWhenFedInPiecesOfOddSizes) {
    std::vector<unsigned char> message(100000);
    for (std::size_t i = 0; i < message.size(); ++i)
        message[i] = static_cast<unsigned char>((i * 7919u) >> 3);
    Md5 whole;
    whole.init();
    whole.update(message.data(), static_cast<std::uint32_t>(message.size()));
    Md5 pieces;
    pieces.init();
    const std::size_t sizes[] = {1, 3, 63, 64, 65, 127, 7, 200, 13};
    for (std::size_t i = 0, done = 0; done < message.size(); done += sizes[i++ % 9]) {
        const std::size_t size = std::min(sizes[i % 9], message.size() - done);
        pieces.update(message.data() + done, static_cast<std::uint32_t>(size));
    }
    EXPECT_EQ(hexOf(whole), hexOf(pieces));
}

TEST(KeywordCode, IsTheFirstThreeHexDigitsOfTheDigestCaseAndAll) {
    const std::pair<const char*, unsigned> codes[] = {{"abc", 2304},
                                                      {"", 3393},
                                                      {"*KING", 3111},
                                                      {"*SCREEN_WIDTH", 2469},
                                                      {"*SCREEN_HEIGHT", 1897},
                                                      {"*CHESSBOARD", 3360},
                                                      {"*MESH_FACE", 3426},
                                                      {"{", 3989},
                                                      {"}", 3259}};
    for (const auto& [word, code] : codes)
        EXPECT_EQ(keywordCode(word), code) << word;
    EXPECT_NE(keywordCode("ABC"), keywordCode("abc"));
}

TEST(HexToInt, ReadsCountDigitsAndANonDigitTakesTheNextDigitsValue) {
    const struct {
        const char* text;
        int count;
        unsigned value;
    } cases[] = {{"d41", 3, 3393}, {"FFF", 3, 4095}, {"1g", 2, 16}, {"123456", 2, 0x12}};
    for (const auto& c : cases)
        EXPECT_EQ(hexToInt(c.text, c.count), c.value) << c.text << ", " << c.count;
}
