#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "assets/texture.h"
#include "pictures.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

const std::string conversionError = "Error: Image file conversion error.\n";

const struct DecodeCase {
    const char* name;
    BmpForm form;
    Pixels expected;
    std::size_t cut = 0; // bytes cut off the end of the file
    std::string error = "";
} decodeCases[] = {
    // Bottom row, then top row; B, G, R per pixel and 2 padding bytes per row.
    {"24 bits, rows padded",
     {2, 2, 24, {3, 2, 1, 6, 5, 4, 0xEE, 0xEE, 0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0xEE, 0xEE}},
     {0x010203, 0x040506, 0x102030, 0x405060}},
    {"top-down rows",
     {1, -2, 24, {0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0}},
     {0x445566, 0x112233}},
    {"32 bits", {2, 1, 32, {3, 2, 1, 0xFF, 0x30, 0x20, 0x10, 0}}, {0x010203, 0x102030}},
    {"16 bits 5-5-5", {2, 1, 16, {0x00, 0x7C, 0x1F, 0x00}}, {0xFF0000, 0x0000FF}},
    // A channel whose mask is empty reads as 0.
    {"16 bits with bit fields, blue left out",
     {2, 1, 16, {0xE0, 0x07, 0xFF, 0xFF}, {0xF800, 0x07E0, 0}, 3},
     {0x00FF00, 0xFFFF00}},
    {"1 bit",
     {9, 1, 1, {0xA0, 0x80, 0, 0}, {0, 0xFFFF00}},
     {0xFFFF00, 0, 0xFFFF00, 0, 0, 0, 0, 0, 0xFFFF00}},
    {"4 bits",
     {3, 1, 4, {0x1F, 0x10, 0, 0}, paletteOf(16, {{1, 0x112233}, {15, 0xABCDEF}})},
     {0x112233, 0xABCDEF, 0x112233}},
    {"8 bits, short colour table",
     {3, 1, 8, {1, 0, 1, 0}, {0x102030, 0x405060}, 0, 2},
     {0x405060, 0x102030, 0x405060}},
    {"colour table longer than 256 entries",
     {1, 1, 8, {2, 0, 0, 0}, paletteOf(300, {{2, 0x203040}}, 0x0F0F0F), 0, 300, 40, false},
     {0x203040}},
    {"core header without file header, three-byte colours",
     {2, 1, 8, {7, 0, 0, 0}, paletteOf(256, {{7, 0x0A0B0C}}), 0, 0, 12, false},
     {0x0A0B0C, 0}},
    // Row 0: a run of three 1s, end of line; row 1: literal 2 1 2, end of bitmap.
    {"run length, 8 bits",
     {4, 2, 8, {3, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 1}, {0, 0x0000FF, 0xFF0000}, 1, 3},
     {0xFF, 0xFF, 0xFF, 0, 0xFF0000, 0xFF, 0xFF0000, 0}},
    // Run of 3 alternating 1, 2, end of line; delta right 2; literal 2, 1, 1 whose last
    // pixel falls outside the row.
    {"run length, 4 bits, with a delta",
     {4, 2, 4, {3, 0x12, 0, 0, 0, 2, 2, 0, 0, 3, 0x21, 0x10, 0, 1}, {0, 0x111, 0x222}, 2, 3},
     {0x111, 0x222, 0x111, 0, 0, 0, 0x222, 0x111}},
    // Cut inside the literal run: the byte after the end (index 2, red) is not read.
    {"cut in a literal run",
     {3, 1, 8, {0, 3, 1, 1, 2, 0, 0, 1}, paletteOf(256, {{1, 0x010101}, {2, 0xFF0000}}), 1},
     {0x010101, 0x010101, 0},
     4},
    // Cut between a run's count and its index: the run of index 2 after the end is not read.
    {"cut in a pair", {4, 1, 8, {2, 1, 3, 2}, {0, 0x111, 0x222}, 1, 3}, {0x111, 0x111, 0, 0}, 1},
    {"a run in the last two bytes",
     {4, 1, 8, {2, 1, 2, 2}, {0, 0x111, 0x222}, 1, 3},
     {0x111, 0x111, 0x222, 0x222}},
    // A signed height would read as 32767 rows from the top.
    {"core header heights are unsigned",
     {1, 0x8001, 24, Bytes(4 * 0x8001, 0), {}, 0, 0, 12},
     Pixels(0x8001, 0)},
    {"unknown header size",
     {1, 1, 24, {1, 2, 3, 0}, {}, 0, 0, 108},
     {},
     0,
     "Error: Unknown DIB file format.\n"},
    {"pixels cut short", {2, 2, 24, {1, 2, 3, 4, 5, 6, 0, 0, 1, 2}}, {}, 0, conversionError},
    {"unknown depth", {1, 1, 7, {0, 0, 0, 0}}, {}, 0, conversionError},
    {"no width", {0, 1, 24, {}}, {}, 0, conversionError},
    {"run length on 24 bits", {1, 1, 24, {0, 1}, {}, 1}, {}, 0, conversionError},
    {"too big", {1 << 20, 1 << 20, 24, {}}, {}, 0, "Error: Out of memory.\n"},
};

// Each form's pixels as 0xRRGGBB, bottom row first, or none and the error printed.
TEST(DibDecode, EachFormDecodesToItsPixelsBottomRowFirstOrPrintsItsError) {
    for (const DecodeCase& c : decodeCases) {
        const Bytes file = makeBmp(c.form);
        testing::internal::CaptureStderr();
        RgbImage* image = decodeDib(file.data(), file.size() - c.cut);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.error) << c.name;
        Pixels pixels;
        for (int i = 0; image && i < image->width * image->height; ++i) {
            const unsigned char* p = image->pixels + 3 * i;
            pixels.push_back((p[0] << 16) | (p[1] << 8) | p[2]);
        }
        freeDib(image);
        EXPECT_EQ(pixels, c.expected) << c.name;
    }
}

TEST(DibFile, AMissingFileIsReported) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadDib("no-such-picture.bmp"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error: Failed to open DIB file no-such-picture.bmp.\n");
}

} // namespace
