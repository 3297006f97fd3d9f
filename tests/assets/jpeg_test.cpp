#include "assets/texture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <jpeglib.h>

namespace {

// Writes a JPEG of uniform-ish content: each pixel's samples come from `sample`.
template <typename Sample>
void writeJpeg(const char* fileName, int width, int height, int components, Sample sample) {
    std::FILE* file = std::fopen(fileName, "wb");
    ASSERT_NE(file, nullptr);
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : components == 4 ? JCS_CMYK : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(width * components);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                row[x * components + c] = sample(x, info.next_scanline, c);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

TEST(JpegDecode, RgbPictureTopRowFirst) {
    // Top half red, bottom half blue, 16 pixels square so each half is whole blocks.
    writeJpeg("rgb.jpg", 24, 16, 3, [](int, int y, int c) {
        return static_cast<unsigned char>(y < 8 ? (c == 0 ? 255 : 0) : (c == 2 ? 255 : 0));
    });
    RgbImage image;
    ASSERT_EQ(loadJpeg("rgb.jpg", image), 1);
    EXPECT_EQ(image.width, 24);
    EXPECT_EQ(image.height, 16);
    ASSERT_NE(image.pixels, nullptr);
    const unsigned char* top = image.pixels + (2 * 24 + 5) * 3;
    EXPECT_GT(top[0], 230);
    EXPECT_LT(top[2], 25);
    const unsigned char* bottom = image.pixels + (13 * 24 + 20) * 3;
    EXPECT_LT(bottom[0], 25);
    EXPECT_GT(bottom[2], 230);
    std::free(image.pixels);
}

TEST(JpegDecode, GreyPictureBecomesEqualRgb) {
    writeJpeg("grey.jpg", 5, 3, 1,
              [](int x, int, int) { return static_cast<unsigned char>(x < 3 ? 40 : 200); });
    RgbImage image;
    ASSERT_EQ(loadJpeg("grey.jpg", image), 1);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    for (int i = 0; i < 15; ++i) {
        const unsigned char* p = image.pixels + 3 * i;
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[1], p[2]);
    }
    EXPECT_NEAR(image.pixels[0], 40, 12);
    std::free(image.pixels);
}

TEST(JpegDecode, FourComponentPictureIsGreyFromItsFirstComponent) {
    writeJpeg("cmyk.jpg", 8, 8, 4,
              [](int, int, int c) { return static_cast<unsigned char>(c == 0 ? 200 : 40); });
    RgbImage image;
    ASSERT_EQ(loadJpeg("cmyk.jpg", image), 1);
    ASSERT_EQ(image.width, 8);
    for (int i = 0; i < 64; ++i) {
        EXPECT_NEAR(image.pixels[3 * i], 200, 2);
        EXPECT_EQ(image.pixels[3 * i + 1], image.pixels[3 * i]);
        EXPECT_EQ(image.pixels[3 * i + 2], image.pixels[3 * i]);
    }
    std::free(image.pixels);
}

TEST(JpegErrors, MissingFileIsReported) {
    RgbImage image;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadJpeg("no-such-picture.jpg", image), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open no-such-picture.jpg\n");
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(JpegErrors, CorruptDataFailsWithoutPixels) {
    std::ofstream("corrupt.jpg", std::ios::binary) << "this is not a picture at all";
    RgbImage image;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadJpeg("corrupt.jpg", image), 0);
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(JpegErrors, PictureTooLargeToHoldFailsWithLibjpegsMessage) {
    writeJpeg("small.jpg", 8, 8, 1, [](int, int, int) { return 90; });
    std::ifstream in("small.jpg", std::ios::binary);
    std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Claim 30000 x 30000 pixels in the frame header.
    std::size_t frame = 0;
    while (frame + 9 < data.size() && !(static_cast<unsigned char>(data[frame]) == 0xFF &&
                                        static_cast<unsigned char>(data[frame + 1]) == 0xC0))
        ++frame;
    ASSERT_LT(frame + 9, data.size());
    for (std::size_t at : {frame + 5, frame + 7}) {
        data[at] = static_cast<char>(30000 >> 8);
        data[at + 1] = static_cast<char>(30000 & 0xFF);
    }
    std::ofstream("huge.jpg", std::ios::binary).write(data.data(), data.size());
    RgbImage image;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadJpeg("huge.jpg", image), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Insufficient memory (case 0)\n");
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(JpegErrors, TruncatedFilesNeverCrash) {
    writeJpeg("whole.jpg", 16, 16, 3, [](int x, int y, int c) {
        return static_cast<unsigned char>(x * 13 + y * 7 + c * 50);
    });
    std::ifstream in("whole.jpg", std::ios::binary);
    const std::vector<char> data((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    testing::internal::CaptureStderr();
    for (std::size_t size = 0; size < data.size(); size += 7) {
        std::ofstream("cut.jpg", std::ios::binary).write(data.data(), size);
        RgbImage image;
        if (loadJpeg("cut.jpg", image) == 1) {
            EXPECT_EQ(image.width, 16);
            EXPECT_NE(image.pixels, nullptr);
        } else {
            EXPECT_EQ(image.pixels, nullptr);
        }
        std::free(image.pixels);
    }
    testing::internal::GetCapturedStderr();
}

} // namespace
