#include "assets/texture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

struct BmpForm {
    int headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks;   // written after a 40-byte header
    std::vector<std::uint32_t> palette; // 0xRRGGBB
    Bytes bits;
    bool fileHeader = true;
};

Bytes makeBmp(const BmpForm& s) {
    Bytes info;
    put32(info, s.headerSize);
    if (s.headerSize == 12) {
        put16(info, s.width);
        put16(info, s.height);
        put16(info, 1);
        put16(info, s.bitCount);
    } else {
        put32(info, s.width);
        put32(info, s.height);
        put16(info, 1);
        put16(info, s.bitCount);
        put32(info, s.compression);
        put32(info, s.bits.size());
        put32(info, 2835);
        put32(info, 2835);
        put32(info, s.coloursUsed);
        put32(info, 0);
        while (info.size() < static_cast<std::size_t>(s.headerSize))
            info.push_back(0);
    }
    for (std::uint32_t m : s.masks)
        put32(info, m);
    for (std::uint32_t c : s.palette) {
        info.push_back(c & 0xFF);
        info.push_back((c >> 8) & 0xFF);
        info.push_back((c >> 16) & 0xFF);
        if (s.headerSize != 12) info.push_back(0);
    }
    Bytes file;
    if (s.fileHeader) {
        file = {'B', 'M'};
        put32(file, 14 + info.size() + s.bits.size());
        put32(file, 0);
        put32(file, 14 + info.size());
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.bits.begin(), s.bits.end());
    return file;
}

// The decoded pixels as 0xRRGGBB values, bottom row first; empty when decoding failed.
std::vector<std::uint32_t> decode(const BmpForm& form, int* width = nullptr,
                                  int* height = nullptr) {
    const Bytes file = makeBmp(form);
    RgbImage* image = decodeDib(file.data(), file.size(), "test.bmp");
    std::vector<std::uint32_t> out;
    if (!image) return out;
    for (int i = 0; i < image->width * image->height; ++i) {
        const unsigned char* p = image->pixels + 3 * i;
        out.push_back((p[0] << 16) | (p[1] << 8) | p[2]);
    }
    if (width) *width = image->width;
    if (height) *height = image->height;
    freeDib(image);
    return out;
}

using Pixels = std::vector<std::uint32_t>;

TEST(DibDecode, TwentyFourBitsThreeWideSkipsThreePaddingBytes) {
    BmpForm s;
    s.width = 3;
    s.height = 2;
    // Bottom row, then top row; B, G, R per pixel and 3 padding bytes per row.
    s.bits = {3,    2,    1,    6,    5,    4,    9,    8,    7,    0xEE, 0xEE, 0xEE,
              0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0x90, 0x80, 0x70, 0xEE, 0xEE, 0xEE};
    int w = 0, h = 0;
    EXPECT_EQ(decode(s, &w, &h),
              (Pixels{0x010203, 0x040506, 0x070809, 0x102030, 0x405060, 0x708090}));
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
}

TEST(DibDecode, TwentyFourBitsFourWideHasNoPadding) {
    BmpForm s;
    s.width = 4;
    s.height = 2;
    for (int i = 0; i < 24; ++i)
        s.bits.push_back(static_cast<unsigned char>(i));
    const Pixels p = decode(s);
    ASSERT_EQ(p.size(), 8u);
    EXPECT_EQ(p[3], 0x0B0A09u);
    EXPECT_EQ(p[4], 0x0E0D0Cu);
}

TEST(DibDecode, TopDownBitmapIsFlippedToBottomFirst) {
    BmpForm s;
    s.width = 1;
    s.height = -2;
    s.bits = {0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0};
    EXPECT_EQ(decode(s), (Pixels{0x445566, 0x112233}));
}

TEST(DibDecode, ThirtyTwoBits) {
    BmpForm s;
    s.width = 2;
    s.bitCount = 32;
    s.bits = {0x03, 0x02, 0x01, 0xFF, 0x30, 0x20, 0x10, 0x00};
    EXPECT_EQ(decode(s), (Pixels{0x010203, 0x102030}));
}

TEST(DibDecode, SixteenBitsFiveFiveFive) {
    BmpForm s;
    s.width = 2;
    s.bitCount = 16;
    // Pure red (0x7C00) and pure blue (0x001F).
    s.bits = {0x00, 0x7C, 0x1F, 0x00};
    EXPECT_EQ(decode(s), (Pixels{0xFF0000, 0x0000FF}));
}

TEST(DibDecode, SixteenBitsWithBitFields) {
    BmpForm s;
    s.width = 2;
    s.bitCount = 16;
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    // Pure green in 5-6-5 and white.
    s.bits = {0xE0, 0x07, 0xFF, 0xFF};
    EXPECT_EQ(decode(s), (Pixels{0x00FF00, 0xFFFFFF}));
}

TEST(DibDecode, ThirtyTwoBitsWithBitFields) {
    BmpForm s;
    s.width = 1;
    s.bitCount = 32;
    s.compression = 3;
    s.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    s.bits = {0x11, 0x22, 0x33, 0x00};
    EXPECT_EQ(decode(s), (Pixels{0x112233}));
}

TEST(DibDecode, OneBitWithColourTable) {
    BmpForm s;
    s.width = 9;
    s.height = 1;
    s.bitCount = 1;
    s.palette = {0x000000, 0xFFFF00};
    s.bits = {0xA0, 0x80, 0, 0};
    EXPECT_EQ(decode(s), (Pixels{0xFFFF00, 0, 0xFFFF00, 0, 0, 0, 0, 0, 0xFFFF00}));
}

TEST(DibDecode, FourBitsWithColourTable) {
    BmpForm s;
    s.width = 3;
    s.bitCount = 4;
    s.palette.assign(16, 0);
    s.palette[1] = 0x112233;
    s.palette[15] = 0xABCDEF;
    s.bits = {0x1F, 0x10, 0, 0};
    EXPECT_EQ(decode(s), (Pixels{0x112233, 0xABCDEF, 0x112233}));
}

TEST(DibDecode, EightBitsWithShortColourTable) {
    BmpForm s;
    s.width = 3;
    s.bitCount = 8;
    s.coloursUsed = 2;
    s.palette = {0x102030, 0x405060};
    s.bits = {1, 0, 1, 0};
    EXPECT_EQ(decode(s), (Pixels{0x405060, 0x102030, 0x405060}));
}

TEST(DibDecode, BitsFollowALongerColourTableThanTheDepthCanIndex) {
    BmpForm s;
    s.fileHeader = false;
    s.width = 1;
    s.bitCount = 8;
    s.coloursUsed = 300;
    s.palette.assign(300, 0x0F0F0F);
    s.palette[2] = 0x203040;
    s.bits = {2, 0, 0, 0};
    EXPECT_EQ(decode(s), (Pixels{0x203040}));
}

TEST(DibDecode, CoreHeaderSizesAreUnsigned) {
    BmpForm s;
    s.headerSize = 12;
    s.width = 1;
    s.height = 0x8001;
    s.bits.assign(4 * 0x8001, 0);
    s.bits[2] = 0x77; // red of the first row in the file, the bottom one
    int w = 0, h = 0;
    const Pixels p = decode(s, &w, &h);
    ASSERT_EQ(h, 0x8001);
    EXPECT_EQ(p.front(), 0x770000u);
    EXPECT_EQ(p.back(), 0u);
}

TEST(DibDecode, RunLengthEightBits) {
    BmpForm s;
    s.width = 4;
    s.height = 2;
    s.bitCount = 8;
    s.compression = 1;
    s.coloursUsed = 3;
    s.palette = {0x000000, 0x0000FF, 0xFF0000};
    // Row 0: a run of three 1s, end of line; row 1: literal 2 1 2, end of bitmap.
    s.bits = {3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 1};
    EXPECT_EQ(decode(s), (Pixels{0xFF, 0xFF, 0xFF, 0, 0xFF0000, 0xFF, 0xFF0000, 0}));
}

TEST(DibDecode, RunLengthFourBitsWithDelta) {
    BmpForm s;
    s.width = 4;
    s.height = 2;
    s.bitCount = 4;
    s.compression = 2;
    s.palette.assign(16, 0);
    s.palette[1] = 0x111111;
    s.palette[2] = 0x222222;
    // Row 0: run of 3 alternating 1, 2, end of line; delta right 2; literal 2, 1, 1 whose
    // last pixel falls outside the row.
    s.bits = {3, 0x12, 0, 0, 0, 2, 2, 0, 0, 3, 0x21, 0x10, 0, 1};
    EXPECT_EQ(decode(s), (Pixels{0x111111, 0x222222, 0x111111, 0, 0, 0, 0x222222, 0x111111}));
}

TEST(DibDecode, CoreHeaderWithThreeByteColours) {
    BmpForm s;
    s.headerSize = 12;
    s.width = 2;
    s.bitCount = 8;
    s.palette.assign(256, 0);
    s.palette[7] = 0x0A0B0C;
    s.bits = {7, 0, 0, 0};
    EXPECT_EQ(decode(s), (Pixels{0x0A0B0C, 0}));
    s.fileHeader = false;
    EXPECT_EQ(decode(s), (Pixels{0x0A0B0C, 0}));
}

TEST(DibDecode, InfoHeaderWithoutFileHeaderLoads) {
    BmpForm s;
    s.fileHeader = false;
    s.width = 1;
    s.bitCount = 8;
    s.palette.assign(256, 0);
    s.palette[255] = 0x123456;
    s.bits = {255, 0, 0, 0};
    EXPECT_EQ(decode(s), (Pixels{0x123456}));
}

TEST(DibErrors, OtherHeaderSizeIsUnknownFormat) {
    BmpForm s;
    s.headerSize = 108;
    s.bits = {1, 2, 3, 0};
    testing::internal::CaptureStderr();
    EXPECT_TRUE(decode(s).empty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Unknown DIB file format.\n");
}

TEST(DibErrors, ShortOrStrangeBitsAreConversionErrors) {
    BmpForm shortBits;
    shortBits.width = 2;
    shortBits.height = 2;
    shortBits.bits = {1, 2, 3, 4, 5, 6, 0, 0, 1, 2};
    BmpForm badDepth;
    badDepth.bitCount = 7;
    badDepth.bits = {0, 0, 0, 0};
    BmpForm zeroWidth;
    zeroWidth.width = 0;
    BmpForm rleTwentyFour;
    rleTwentyFour.compression = 1;
    rleTwentyFour.bits = {0, 1};
    for (const BmpForm& s : {shortBits, badDepth, zeroWidth, rleTwentyFour}) {
        testing::internal::CaptureStderr();
        EXPECT_TRUE(decode(s).empty());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Image file conversion error.\n");
    }
}

TEST(DibErrors, HugeSizeIsOutOfMemory) {
    BmpForm s;
    s.width = 1 << 20;
    s.height = 1 << 20;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(decode(s).empty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Out of memory.\n");
}

TEST(DibErrors, TruncatedFilesNeverReadPastTheData) {
    BmpForm s;
    s.width = 3;
    s.height = 3;
    s.bitCount = 8;
    s.compression = 1;
    s.palette.assign(256, 0x010101);
    s.bits = {0, 5, 1, 2, 3, 4, 5, 0, 0, 2, 9, 9, 0, 3, 1};
    const Bytes file = makeBmp(s);
    testing::internal::CaptureStderr();
    for (std::size_t size = 0; size <= file.size(); ++size) {
        // A copy of exactly `size` bytes, so the sanitizers see any read past its end.
        const Bytes part(file.begin(), file.begin() + size);
        freeDib(decodeDib(part.data(), part.size(), "cut.bmp"));
    }
    testing::internal::GetCapturedStderr();
}

TEST(DibFile, LoadsFromFileAndReportsMissingFile) {
    BmpForm s;
    s.bits = {3, 2, 1, 0};
    const Bytes file = makeBmp(s);
    std::ofstream("dib_test.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), file.size());
    RgbImage* image = loadDib("dib_test.bmp");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels[0], 1);
    EXPECT_EQ(image->pixels[2], 3);
    freeDib(image);

    testing::internal::CaptureStderr();
    EXPECT_EQ(loadDib("no-such-picture.bmp"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Failed to open DIB file no-such-picture.bmp.\n");
}

} // namespace
