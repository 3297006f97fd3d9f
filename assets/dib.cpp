#include "assets/texture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Pictures larger than this are refused rather than allocated.
constexpr long long maxDibPixels = 1LL << 24;

void showError(const char* message) { std::fprintf(stderr, "Error: %s\n", message); }

std::uint32_t read16(const unsigned char* p) { return p[0] | (p[1] << 8); }

std::uint32_t read32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct Colour {
    unsigned char r, g, b;
};

// One colour channel described by a bit mask, scaled to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m) {
        if (!mask) return;
        while (!((mask >> shift) & 1))
            ++shift;
        while (bits < 32 - shift && ((mask >> (shift + bits)) & 1))
            ++bits;
    }

    unsigned char value(std::uint32_t pixel) const {
        if (!bits) return 0;
        const std::uint32_t v = (pixel & mask) >> shift;
        const std::uint32_t top = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
        return static_cast<unsigned char>(
            (static_cast<unsigned long long>(v & top) * 255 + top / 2) / top);
    }
};

struct DibHeader {
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::vector<Colour> palette;
    std::uint32_t masks[3] = {};
};

enum : std::uint32_t { Uncompressed = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

// Expands run-length encoded indexes into `indexes`, row 0 at the bottom; pixels the encoding
// skips keep index -1 (black).
void decodeRle(const unsigned char* data, std::size_t size, int bits, int width, int height,
               std::vector<std::int16_t>& indexes) {
    std::size_t at = 0;
    int x = 0, y = 0;
    auto put = [&](int index) {
        if (x < width && y < height)
            indexes[static_cast<std::size_t>(y) * width + x] = static_cast<std::int16_t>(index);
        ++x;
    };
    while (at + 1 < size && y < height) {
        const int count = data[at];
        const int value = data[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(bits == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 15));
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (at + 1 >= size) return;
            x += data[at];
            y += data[at + 1];
            at += 2;
        } else {
            const std::size_t bytes = bits == 8 ? value : (value + 1) / 2;
            for (int i = 0; i < value; ++i) {
                const std::size_t byte = at + (bits == 8 ? i : i / 2);
                if (byte >= size) return;
                put(bits == 8 ? data[byte] : (i % 2 == 0 ? data[byte] >> 4 : data[byte] & 15));
            }
            at += (bytes + 1) & ~static_cast<std::size_t>(1);
        }
    }
}

Colour paletteColour(const DibHeader& header, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= header.palette.size())
        return Colour{0, 0, 0};
    return header.palette[index];
}

// Converts the pixel bits into packed R, G, B rows, bottom row first; false when the bits
// are short or of a form this decoder does not know.
bool convertBits(const DibHeader& header, const unsigned char* bits, std::size_t size,
                 unsigned char* out) {
    const int width = header.width;
    const int rows = header.height < 0 ? -header.height : header.height;
    const bool topDown = header.height < 0;
    if (header.compression == Rle8 || header.compression == Rle4) {
        const int depth = header.compression == Rle8 ? 8 : 4;
        if (header.bitCount != depth || topDown) return false;
        std::vector<std::int16_t> indexes(static_cast<std::size_t>(width) * rows, -1);
        decodeRle(bits, size, depth, width, rows, indexes);
        for (std::size_t i = 0; i < indexes.size(); ++i) {
            const Colour c = paletteColour(header, indexes[i]);
            out[3 * i] = c.r;
            out[3 * i + 1] = c.g;
            out[3 * i + 2] = c.b;
        }
        return true;
    }
    const int depth = header.bitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return false;
    if (header.compression == BitFields ? depth != 16 && depth != 32
                                        : header.compression != Uncompressed)
        return false;
    const std::size_t stride = (static_cast<std::size_t>(width) * depth + 31) / 32 * 4;
    const std::size_t used = (static_cast<std::size_t>(width) * depth + 7) / 8;
    if (size < stride * (rows - 1) + used) return false;

    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (depth == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    if (header.compression == BitFields) std::memcpy(masks, header.masks, sizeof masks);
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

    for (int y = 0; y < rows; ++y) {
        const unsigned char* row = bits + stride * (topDown ? rows - 1 - y : y);
        unsigned char* o = out + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x, o += 3) {
            Colour c;
            if (depth <= 8) {
                const int perByte = 8 / depth;
                const int shift = 8 - depth * (x % perByte + 1);
                c = paletteColour(header, (row[x / perByte] >> shift) & ((1 << depth) - 1));
            } else if (depth == 24) {
                c = Colour{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
            } else {
                const std::uint32_t pixel = depth == 16 ? read16(row + 2 * x) : read32(row + 4 * x);
                c = Colour{red.value(pixel), green.value(pixel), blue.value(pixel)};
            }
            o[0] = c.r;
            o[1] = c.g;
            o[2] = c.b;
        }
    }
    return true;
}

// Whether uncompressed bits of this size hold every row; run-length data is checked as it
// is read.
bool bitsFit(const DibHeader& header, std::size_t size) {
    if (header.compression == Rle8 || header.compression == Rle4) return true;
    const std::size_t width = static_cast<std::size_t>(header.width);
    const std::size_t rows = header.height < 0 ? 0 - static_cast<std::size_t>(header.height)
                                               : static_cast<std::size_t>(header.height);
    const std::size_t depth = static_cast<std::size_t>(header.bitCount);
    const std::size_t stride = (width * depth + 31) / 32 * 4;
    return size >= stride * (rows - 1) + (width * depth + 7) / 8;
}

int tableEntries(int bitCount) {
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

} // namespace

RgbImage* decodeDib(const unsigned char* data, std::size_t size) {
    std::size_t at = 0;
    bool fileHeader = false;
    std::size_t bitsOffset = 0;
    if (size >= 14 && data[0] == 'B' && data[1] == 'M') {
        fileHeader = true;
        bitsOffset = read32(data + 10);
        at = 14;
    }
    if (size < at + 4) {
        showError("Unknown DIB file format.");
        return nullptr;
    }
    const std::uint32_t headerSize = read32(data + at);
    if ((headerSize != 12 && headerSize != 40) || size < at + headerSize) {
        showError("Unknown DIB file format.");
        return nullptr;
    }
    DibHeader header;
    const unsigned char* h = data + at;
    std::size_t entries = 0;
    std::size_t entrySize = 4;
    if (headerSize == 12) {
        // The core header's sizes are unsigned: it has no top-down form.
        header.width = static_cast<std::int32_t>(read16(h + 4));
        header.height = static_cast<std::int32_t>(read16(h + 6));
        header.bitCount = read16(h + 10);
        entries = tableEntries(header.bitCount);
        entrySize = 3;
    } else {
        header.width = static_cast<std::int32_t>(read32(h + 4));
        header.height = static_cast<std::int32_t>(read32(h + 8));
        header.bitCount = read16(h + 14);
        header.compression = read32(h + 16);
        const std::uint32_t used = read32(h + 32);
        entries = used ? used : tableEntries(header.bitCount);
    }
    at += headerSize;
    if (header.compression == BitFields) {
        if (size < at + 12) {
            showError("Image file conversion error.");
            return nullptr;
        }
        for (int i = 0; i < 3; ++i)
            header.masks[i] = read32(data + at + 4 * i);
        at += 12;
    }
    // No index reaches past 256 colours, but the bits follow the whole table.
    for (std::size_t i = 0; i < entries && at + entrySize <= size; ++i, at += entrySize) {
        if (i < 256) header.palette.push_back(Colour{data[at + 2], data[at + 1], data[at]});
    }
    if (!fileHeader) bitsOffset = at;

    const long long rows =
        header.height < 0 ? -static_cast<long long>(header.height) : header.height;
    const long long pixelCount = static_cast<long long>(header.width) * rows;
    if (header.width <= 0 || rows == 0 || bitsOffset > size) {
        showError("Image file conversion error.");
        return nullptr;
    }
    if (pixelCount > maxDibPixels) {
        showError("Out of memory.");
        return nullptr;
    }
    if (!bitsFit(header, size - bitsOffset)) {
        showError("Image file conversion error.");
        return nullptr;
    }
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(pixelCount * 3));
    if (!pixels) {
        showError("Out of memory.");
        return nullptr;
    }
    if (!convertBits(header, data + bitsOffset, size - bitsOffset, pixels)) {
        std::free(pixels);
        showError("Image file conversion error.");
        return nullptr;
    }
    RgbImage* image = new RgbImage;
    image->width = header.width;
    image->height = static_cast<std::int32_t>(rows);
    image->pixels = pixels;
    return image;
}

RgbImage* loadDib(const char* fileName) {
    std::FILE* file = std::fopen(fileName, "rb");
    std::vector<unsigned char> data;
    if (file) {
        unsigned char chunk[65536];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
            data.insert(data.end(), chunk, chunk + got);
        std::fclose(file);
    }
    if (!file || data.empty()) {
        std::fprintf(stderr, "Error: Failed to open DIB file %s.\n", fileName);
        return nullptr;
    }
    return decodeDib(data.data(), data.size());
}
