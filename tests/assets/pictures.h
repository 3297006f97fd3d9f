#pragma once

// Builder of the BMP pictures the tests decode, in any header form. The JPEG pictures are files
// beside the tests.

#include <cstdint>
#include <fstream>
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
