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

TEST(Md5Digest, MatchesTheSevenPublishedTestVectors) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    Md5 md5;
    for (const auto& [text, digest] : vectors)
        EXPECT_STREQ(md5.hexDigest(text), digest) << text;
}

TEST(Md5Digest, GivesTheSameDigestWhenFedInPiecesOfOddSizes) {
    std::vector<unsigned char> message(1000000);
    for (std::size_t i = 0; i < message.size(); ++i)
        message[i] = static_cast<unsigned char>((i * 7919u) >> 3);

    Md5 whole;
    whole.init();
    whole.update(message.data(), static_cast<std::uint32_t>(message.size()));

    Md5 pieces;
    pieces.init();
    const std::size_t sizes[] = {1, 3, 63, 64, 65, 127, 7, 200, 13};
    std::size_t done = 0;
    for (int i = 0; done < message.size(); ++i) {
        std::size_t size = sizes[i % 9];
        if (size > message.size() - done) size = message.size() - done;
        pieces.update(message.data() + done, static_cast<std::uint32_t>(size));
        done += size;
    }
    EXPECT_EQ(hexOf(whole), hexOf(pieces));
}

TEST(Md5Digest, MillionLettersAMatchesThePublishedDigest) {
    const std::string message(1000000, 'a');
    Md5 md5;
    EXPECT_STREQ(md5.hexDigest(message.c_str()), "7707D6AE4E027C70EEA2A935C2296F21");
}

TEST(Md5Digest, DigestsBytesAboveSevenBitAsTheyAre) {
    Md5 md5;
    EXPECT_STREQ(md5.hexDigest("\xE8"), "785D512BE4316D578E6650613B45E934");
    EXPECT_STREQ(md5.hexDigest("\xE8\xF8\x9A\x9E"), "5267BF7F88B0DBF31B0E9FA0773AC356"); // "čřšž"
}

TEST(KeywordCode, IsTheFirstThreeDigitsOfTheDigest) {
    EXPECT_EQ(keywordCode("abc"), 2304u);
    EXPECT_EQ(keywordCode(""), 3393u);
}

TEST(KeywordCode, MatchesTheCodesOfTheFileKeywords) {
    EXPECT_EQ(keywordCode("*KING"), 3111u);
    EXPECT_EQ(keywordCode("*SCREEN_WIDTH"), 2469u);
    EXPECT_EQ(keywordCode("*SCREEN_HEIGHT"), 1897u);
    EXPECT_EQ(keywordCode("*CHESSBOARD"), 3360u);
    EXPECT_EQ(keywordCode("*MESH_FACE"), 3426u);
    EXPECT_EQ(keywordCode("{"), 3989u);
    EXPECT_EQ(keywordCode("}"), 3259u);
}

TEST(KeywordCode, DoesNotFoldCase) { EXPECT_NE(keywordCode("ABC"), keywordCode("abc")); }

TEST(HexToInt, ReadsBothLetterCases) {
    EXPECT_EQ(hexToInt("D41", 3), 3393u);
    EXPECT_EQ(hexToInt("d41", 3), 3393u);
    EXPECT_EQ(hexToInt("FFF", 3), 4095u);
}

TEST(HexToInt, NonDigitTakesTheValueOfTheNearestDigitToItsRight) {
    EXPECT_EQ(hexToInt("1g", 2), 16u);
    EXPECT_EQ(hexToInt("g1", 2), 17u);
    EXPECT_EQ(hexToInt("zz", 2), 0u);
}

TEST(HexToInt, ReadsOnlyCountCharacters) {
    EXPECT_EQ(hexToInt("123456", 2), 0x12u);
    EXPECT_EQ(hexToInt("123", 0), 0u);
    EXPECT_EQ(hexToInt("123", -4), 0u);
}
