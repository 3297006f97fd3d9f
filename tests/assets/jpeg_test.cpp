#include <gtest/gtest.h>

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
    const unsigned char* at(int x, int y) const { return image.pixels + (y * image.width + x) * 3; }
    RgbImage image;
    int status = 0;
    std::string error;
};

TEST(JpegDecode, RgbPictureComesTopRowFirstWithItsQuadrantsInPlace) {
    // Red top left, green top right, blue below; each quadrant whole 8 x 8 blocks.
    writeJpeg("rgb.jpg", 32, 16, 3, [](int x, int y, int c) {
        const int colour = y >= 8 ? 2 : x >= 16 ? 1 : 0;
        return static_cast<unsigned char>(c == colour ? 255 : 0);
    });
    const Loaded jpeg("rgb.jpg");
    ASSERT_EQ(jpeg.status, 1);
    EXPECT_EQ(jpeg.image.width, 32);
    EXPECT_EQ(jpeg.image.height, 16);
    const struct {
        int x, y, colour;
    } points[] = {{1, 1, 0}, {14, 6, 0}, {17, 1, 1}, {30, 6, 1}, {1, 9, 2}, {30, 14, 2}};
    for (const auto& p : points)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(jpeg.at(p.x, p.y)[c], c == p.colour ? 255 : 0, 25)
                << p.x << ", " << p.y << " channel " << c;
}

TEST(JpegDecode, GreyAndFourComponentPicturesBecomeEqualRgb) {
    writeJpeg("grey.jpg", 5, 3, 1, [](int x, int, int) { return x < 3 ? 40 : 200; });
    writeJpeg("cmyk.jpg", 8, 8, 4, [](int, int, int c) { return c == 0 ? 200 : 40; });
    for (const char* name : {"grey.jpg", "cmyk.jpg"}) {
        const Loaded jpeg(name);
        ASSERT_EQ(jpeg.status, 1) << name;
        for (int i = 0; i < jpeg.image.width * jpeg.image.height; ++i) {
            const unsigned char* p = jpeg.image.pixels + 3 * i;
            EXPECT_EQ(p[0], p[1]) << name;
            EXPECT_EQ(p[1], p[2]) << name;
        }
        // The four-component picture takes its grey from the first component.
        EXPECT_NEAR(jpeg.image.pixels[0], name[0] == 'g' ? 40 : 200, 12) << name;
    }
}

TEST(JpegDecode, FailuresLeaveNoPixelsAndPrintTheirReason) {
    writeFile("corrupt.jpg", Bytes(100, 'x'));
    // Claims 30000 x 30000 pixels in the frame header of a small picture.
    writeGreyJpeg("small.jpg", 8, 8, 90);
    Bytes huge = readFile("small.jpg");
    std::size_t frame = 0;
    while (frame + 9 < huge.size() && !(huge[frame] == 0xFF && huge[frame + 1] == 0xC0))
        ++frame;
    ASSERT_LT(frame + 9, huge.size());
    for (std::size_t at : {frame + 5, frame + 7}) {
        huge[at] = 30000 >> 8;
        huge[at + 1] = 30000 & 0xFF;
    }
    writeFile("huge.jpg", huge);
    const struct {
        const char* file;
        const char* error;
    } cases[] = {{"no-such-picture.jpg", "can't open no-such-picture.jpg\n"},
                 {"corrupt.jpg", nullptr},
                 {"huge.jpg", "Insufficient memory (case 0)\n"}};
    for (const auto& c : cases) {
        const Loaded jpeg(c.file);
        EXPECT_EQ(jpeg.status, 0) << c.file;
        EXPECT_EQ(jpeg.image.pixels, nullptr) << c.file;
        if (c.error)
            EXPECT_EQ(jpeg.error, c.error);
        else
            EXPECT_FALSE(jpeg.error.empty());
    }
}

} // namespace
