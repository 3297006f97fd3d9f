#include "icon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const int IconSize = 64;
const int Supersample = 4;
const int Canvas = IconSize * Supersample;

// Coverage of the knight glyph on the canvas, scaled to `height` pixels and centred.
std::vector<float> knightMask(TextSetter& text, int height) {
    const std::string knight = "\xE2\x99\x9E"; // U+265E, the filled chess knight
    int size = height;
    for (int attempt = 0; attempt < 3; ++attempt) {
        Image probe(Canvas * 2, Canvas * 2);
        text.draw(probe, sansBold, size, knight, Canvas / 2, Canvas * 3 / 2, {1, 1, 1});
        int x0 = probe.width, y0 = probe.height, x1 = -1, y1 = -1;
        for (int y = 0; y < probe.height; ++y)
            for (int x = 0; x < probe.width; ++x)
                if (probe.at(x, y).r > 0.0f) {
                    x0 = std::min(x0, x);
                    x1 = std::max(x1, x);
                    y0 = std::min(y0, y);
                    y1 = std::max(y1, y);
                }
        if (x1 < 0) return {};
        const int glyphHeight = y1 - y0 + 1;
        if (std::abs(glyphHeight - height) > 2 && attempt < 2) {
            size = size * height / glyphHeight;
            continue;
        }
        const int dx = (Canvas - (x1 - x0 + 1)) / 2 - x0;
        const int dy = (Canvas - glyphHeight) / 2 - y0;
        std::vector<float> mask(static_cast<size_t>(Canvas) * Canvas, 0.0f);
        for (int y = 0; y < Canvas; ++y)
            for (int x = 0; x < Canvas; ++x) {
                const int sx = x - dx, sy = y - dy;
                if (sx >= 0 && sy >= 0 && sx < probe.width && sy < probe.height)
                    mask[static_cast<size_t>(y) * Canvas + x] = probe.at(sx, sy).r;
            }
        return mask;
    }
    return {};
}

// Distance from (x, y) to the inside of a rounded square [inset, Canvas - inset] with
// corner radius r; 0 inside.
double outsideRoundedSquare(double x, double y, double inset, double r) {
    const double lo = inset + r, hi = Canvas - inset - r;
    const double cx = std::clamp(x, lo, hi), cy = std::clamp(y, lo, hi);
    return std::max(0.0, std::hypot(x - cx, y - cy) - r);
}

uint32_t crcTable[256];

uint32_t crc32(const unsigned char* data, size_t size, uint32_t crc = 0) {
    if (crcTable[1] == 0)
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            crcTable[n] = c;
        }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = crcTable[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}

void putBig32(std::vector<unsigned char>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

void putChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    putBig32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) blocks: an icon is small, and this keeps the
// writer free of a compression library.
std::vector<unsigned char> zlibStored(const std::vector<unsigned char>& raw) {
    std::vector<unsigned char> out = {0x78, 0x01};
    size_t pos = 0;
    do {
        const size_t length = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<unsigned char>(length & 0xff));
        out.push_back(static_cast<unsigned char>(length >> 8));
        out.push_back(static_cast<unsigned char>(~length & 0xff));
        out.push_back(static_cast<unsigned char>((~length >> 8) & 0xff));
        out.insert(out.end(), raw.begin() + pos, raw.begin() + pos + length);
        pos += length;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBig32(out, (b << 16) | a);
    return out;
}

// Writes 8-bit RGBA rows, top row first.
int writePng(const std::vector<unsigned char>& rgba, int width, int height,
             const std::string& path) {
    std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<unsigned char> header;
    putBig32(header, static_cast<uint32_t>(width));
    putBig32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace
    putChunk(out, "IHDR", header);
    std::vector<unsigned char> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // filter type: none
        const auto row = rgba.begin() + static_cast<size_t>(y) * width * 4;
        raw.insert(raw.end(), row, row + width * 4);
    }
    putChunk(out, "IDAT", zlibStored(raw));
    putChunk(out, "IEND", {});
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return 0;
    const size_t written = fwrite(out.data(), 1, out.size(), f);
    return fclose(f) == 0 && written == out.size() ? 1 : 0;
}

unsigned char toByte(double v) {
    return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0));
}

} // namespace

int writeIcon(TextSetter& text, const std::string& path) {
    const std::vector<float> knight = knightMask(text, Canvas * 72 / 100);
    if (knight.empty()) return 0;
    const auto maskAt = [&](int x, int y) {
        return x < 0 || y < 0 || x >= Canvas || y >= Canvas
                   ? 0.0f
                   : knight[static_cast<size_t>(y) * Canvas + x];
    };
    const double inset = 2.0 * Supersample, radius = 12.0 * Supersample, rim = 1.5 * Supersample;
    const Colour tileTop{0.24f, 0.14f, 0.08f}, tileBottom{0.07f, 0.04f, 0.03f};
    const Colour rimColour{0.62f, 0.44f, 0.20f};
    const Colour goldTop{1.0f, 0.88f, 0.52f}, goldBottom{0.76f, 0.52f, 0.18f};
    // The shadow falls down and to the right, as from a light above the board.
    const int shadowX = Supersample, shadowY = Supersample * 3 / 2; // 1 and 1.5 icon pixels

    std::vector<double> sums(static_cast<size_t>(IconSize) * IconSize * 4, 0.0);
    for (int y = 0; y < Canvas; ++y)
        for (int x = 0; x < Canvas; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            if (outsideRoundedSquare(cx, cy, inset, radius) > 0.0) continue;
            const float t = static_cast<float>(cy / Canvas);
            Colour c = mix(tileTop, tileBottom, t);
            // A soft glow behind the piece lifts it off the tile.
            const double glow = std::exp(-std::pow(
                std::hypot(cx - Canvas * 0.45, cy - Canvas * 0.4) / (Canvas * 0.35), 2.0));
            c = mix(c, {0.42f, 0.27f, 0.13f}, static_cast<float>(0.55 * glow));
            if (outsideRoundedSquare(cx, cy, inset + rim, radius - rim) > 0.0)
                c = mix(rimColour, c, t * 0.6f);
            c = mix(c, {0, 0, 0}, 0.6f * maskAt(x - shadowX, y - shadowY));
            const float cover = maskAt(x, y);
            if (cover > 0.0f) {
                // The gold is lit from the top left.
                const float shade =
                    std::clamp(t * 0.8f + static_cast<float>(x) / Canvas * 0.3f, 0.0f, 1.0f);
                c = mix(c, mix(goldTop, goldBottom, shade), cover);
            }
            const size_t i =
                (static_cast<size_t>(y / Supersample) * IconSize + x / Supersample) * 4;
            sums[i] += c.r;
            sums[i + 1] += c.g;
            sums[i + 2] += c.b;
            sums[i + 3] += 1.0;
        }

    std::vector<unsigned char> rgba(sums.size());
    for (size_t i = 0; i < sums.size(); i += 4) {
        const double covered = sums[i + 3];
        for (int k = 0; k < 3; ++k)
            rgba[i + k] = covered > 0 ? toByte(sums[i + k] / covered) : 0;
        rgba[i + 3] = toByte(covered / (Supersample * Supersample));
    }
    return writePng(rgba, IconSize, IconSize, path);
}
