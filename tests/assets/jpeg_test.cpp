#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "assets/texture.h"
#include "pictures.h"

namespace {

// Loads `fileName`, keeping what it printed; the pixels are freed by the destructor.
struct Loaded {
    explicit Loaded(const char* fileName) {
        testing::internal::CaptureStderr();
        status = loadJpeg(fileName, image);
        error = testing::internal::GetCapturedStderr();
    }
    ~Loaded() { std::free(image.pixels); }
    RgbImage image;
    int status = 0;
    std::string error;
};

TEST(JpegDecode, PicturesComeTopRowFirstAsRgb) {
    // quadrants.jpg: red top left, green top right, blue below, each quadrant whole 8 x 8
    // blocks; grey5x3.jpg: three columns of grey 40, two of 200; cmyk.jpg: four components of
    // 200, 40, 40, 40, whose grey is taken from the first.
    const struct {
        const char* file;
        int x, y;
        std::uint32_t rgb;
    } points[] = {{"quadrants.jpg", 14, 6, 0xFF0000}, {"quadrants.jpg", 17, 1, 0x00FF00},
                  {"quadrants.jpg", 1, 9, 0x0000FF},  {"quadrants.jpg", 30, 15, 0x0000FF},
                  {"grey5x3.jpg", 0, 0, 0x282828},    {"grey5x3.jpg", 4, 2, 0xC8C8C8},
                  {"cmyk.jpg", 0, 0, 0xC8C8C8},       {"cmyk.jpg", 7, 7, 0xC8C8C8}};
    for (const auto& p : points) {
        const Loaded jpeg((TEST_DATA_DIR "/" + std::string(p.file)).c_str());
        ASSERT_EQ(jpeg.status, 1) << p.file;
        ASSERT_LT(p.y, jpeg.image.height) << p.file;
        const unsigned char* pixel = jpeg.image.pixels + (p.y * jpeg.image.width + p.x) * 3;
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(pixel[c], (p.rgb >> (16 - 8 * c)) & 0xFF, 25)
                << p.file << " " << p.x << ", " << p.y << " channel " << c;
    }
}

TEST(JpegDecode, FailuresLeaveNoPixelsAndPrintTheirReason) {
    writeFile("corrupt.jpg", Bytes(100, 'x'));
    const struct {
        const char* file;
        const char* error;
    } cases[] = {{"no-such-picture.jpg", "can't open no-such-picture.jpg\n"},
                 {"corrupt.jpg", "Not a JPEG file: starts with 0x78 0x78\n"},
                 // A small picture whose frame header claims 30000 x 30000 pixels.
                 {TEST_DATA_DIR "/huge.jpg", "Insufficient memory (case 0)\n"}};
    for (const auto& c : cases) {
        const Loaded jpeg(c.file);
        EXPECT_EQ(jpeg.status, 0) << c.file;
        EXPECT_EQ(jpeg.image.pixels, nullptr) << c.file;
        EXPECT_EQ(jpeg.error, c.error);
    }
}

} // namespace
