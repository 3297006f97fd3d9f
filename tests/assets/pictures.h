#pragma once

// Builders of the pictures the tests decode: BMP bytes in any header form, and JPEG files.

#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <utility>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Appends the low `size` bytes of `v`, least significant first, as a BMP stores its fields.
inline void put(Bytes& b, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

// A BMP as rows of a table give it: size and depth, the pixel bytes, then the rarer fields.
struct BmpForm {
    std::int32_t width = 1, height = 1;
    int bitCount = 24;
    Bytes bits = {};
    std::vector<std::uint32_t> palette = {}; // 0xRRGGBB, or the bit fields' masks
    std::uint32_t compression = 0, coloursUsed = 0;
    int headerSize = 40;
    bool fileHeader = true;
};

// `count` palette entries of `fill`, with the given (index, colour) pairs set.
inline std::vector<std::uint32_t>
paletteOf(std::size_t count, std::initializer_list<std::pair<int, std::uint32_t>> set,
          std::uint32_t fill = 0) {
    std::vector<std::uint32_t> palette(count, fill);
    for (const auto& [index, colour] : set)
        palette[index] = colour;
    return palette;
}

inline Bytes makeBmp(const BmpForm& s) {
    // The core header has 16-bit sizes, no further fields and three-byte colours.
    const bool core = s.headerSize == 12;
    Bytes info;
    put(info, s.headerSize, 4);
    put(info, s.width, core ? 2 : 4);
    put(info, s.height, core ? 2 : 4);
    put(info, 1, 2);
    put(info, s.bitCount, 2);
    if (!core) {
        for (std::uint32_t field :
             {s.compression, std::uint32_t(s.bits.size()), 2835u, 2835u, s.coloursUsed, 0u})
            put(info, field, 4);
        info.resize(s.headerSize, 0);
    }
    for (std::uint32_t c : s.palette)
        put(info, c, core ? 3 : 4);
    Bytes file;
    if (s.fileHeader) {
        file = {'B', 'M'};
        for (std::size_t field :
             {14 + info.size() + s.bits.size(), std::size_t(0), 14 + info.size()})
            put(file, field, 4);
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.bits.begin(), s.bits.end());
    return file;
}

inline void writeFile(const char* fileName, const Bytes& bytes) {
    std::ofstream(fileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

using Sample = std::function<unsigned char(int x, int y, int component)>;

// A JPEG at the best quality with 1 (grey), 3 (RGB) or 4 (CMYK) components from `sample`.
inline void writeJpeg(const char* fileName, int width, int height, int components,
                      const Sample& sample) {
    std::FILE* file = std::fopen(fileName, "wb");
    if (!file) return;
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

inline void writeGreyJpeg(const char* fileName, int width, int height, unsigned char grey) {
    writeJpeg(fileName, width, height, 1, [grey](int, int, int) { return grey; });
}
