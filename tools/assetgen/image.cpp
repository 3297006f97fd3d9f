#include "image.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <ft2build.h>
#include FT_FREETYPE_H
#include <jpeglib.h>

const char* const serifBold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
const char* const sansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char* const monoBold = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

Colour Image::sample(double u, double v) const {
    const double fx = u * width - 0.5, fy = v * height - 0.5;
    const double x0 = std::floor(fx), y0 = std::floor(fy);
    const float tx = static_cast<float>(fx - x0), ty = static_cast<float>(fy - y0);
    auto wrap = [](long a, int n) { return static_cast<int>(((a % n) + n) % n); };
    const int ax = wrap(static_cast<long>(x0), width), bx = wrap(static_cast<long>(x0) + 1, width);
    const int ay = wrap(static_cast<long>(y0), height);
    const int by = wrap(static_cast<long>(y0) + 1, height);
    return mix(mix(at(ax, ay), at(bx, ay), tx), mix(at(ax, by), at(bx, by), tx), ty);
}

void Image::blend(int x, int y, Colour c, float alpha) {
    if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0) {
        return;
    }
    at(x, y) = mix(at(x, y), c, std::min(alpha, 1.0f));
}

static uint32_t hash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

float noise(double x, double y, int period, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = x - fx, ty = y - fy;
    const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
    auto value = [&](int a, int b) {
        const int p = std::max(period, 1);
        return (hash(((a % p) + p) % p, ((b % p) + p) % p, seed) & 0xffff) / 65535.0;
    };
    const double top = value(ix, iy) + (value(ix + 1, iy) - value(ix, iy)) * sx;
    const double bottom = value(ix, iy + 1) + (value(ix + 1, iy + 1) - value(ix, iy + 1)) * sx;
    return static_cast<float>(top + (bottom - top) * sy);
}

float fractalNoise(double x, double y, int period, int octaves, uint32_t seed) {
    double sum = 0, amplitude = 0.5, total = 0;
    for (int o = 0; o < octaves; ++o) {
        const int scale = 1 << o;
        sum += amplitude * noise(x * scale, y * scale, period * scale, seed + o * 17);
        total += amplitude;
        amplitude *= 0.5;
    }
    return static_cast<float>(sum / total);
}

unsigned char toByte(float v) {
    return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

int writeJpeg(const Image& image, const std::string& path) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        return 0;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = image.width;
    info.image_height = image.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 92, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Colour c = image.at(x, y);
            row[x * 3] = toByte(c.r);
            row[x * 3 + 1] = toByte(c.g);
            row[x * 3 + 2] = toByte(c.b);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return fclose(f) == 0 ? 1 : 0;
}

static void put16(std::vector<unsigned char>& out, unsigned v) {
    out.push_back(v & 0xff);
    out.push_back((v >> 8) & 0xff);
}

static void put32(std::vector<unsigned char>& out, uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

static int writeBytes(const std::vector<unsigned char>& bytes, const std::string& path) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        return 0;
    }
    const size_t written = fwrite(bytes.data(), 1, bytes.size(), f);
    return fclose(f) == 0 && written == bytes.size() ? 1 : 0;
}

int writeBmp(const Image& image, const std::string& path) {
    const int stride = (image.width * 3 + 3) / 4 * 4;
    const uint32_t bitsSize = static_cast<uint32_t>(stride) * image.height;
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + 40 + bitsSize);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, image.width);
    put32(out, image.height);
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, bitsSize);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Colour c = image.at(x, y);
            out.push_back(toByte(c.b));
            out.push_back(toByte(c.g));
            out.push_back(toByte(c.r));
        }
        for (int p = image.width * 3; p < stride; ++p) {
            out.push_back(0);
        }
    }
    return writeBytes(out, path);
}

static uint32_t crcTable[256];

static uint32_t crc32(const unsigned char* data, size_t size, uint32_t crc = 0) {
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

static void putBig32(std::vector<unsigned char>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

static void putChunk(std::vector<unsigned char>& out, const char* type,
                     const std::vector<unsigned char>& data) {
    putBig32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) blocks: an icon is small, and this keeps the
// writer free of a compression library.
static std::vector<unsigned char> zlibStored(const std::vector<unsigned char>& raw) {
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
    return writeBytes(out, path);
}

std::vector<uint32_t> utf8Decode(const std::string& text) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = text[i];
        int extra = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : c >= 0xc0 ? 1 : 0;
        uint32_t cp = extra == 0 ? c : c & (0x3f >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

TextSetter::TextSetter() {
    FT_Library library;
    if (FT_Init_FreeType(&library) == 0) {
        library_ = library;
    }
}

TextSetter::~TextSetter() {
    for (auto& entry : faces_) {
        FT_Done_Face(static_cast<FT_Face>(entry.second));
    }
    if (library_) {
        FT_Done_FreeType(static_cast<FT_Library>(library_));
    }
}

void* TextSetter::face(const std::string& font, int size) {
    FT_Face result = nullptr;
    for (auto& entry : faces_) {
        if (entry.first == font) {
            result = static_cast<FT_Face>(entry.second);
        }
    }
    if (!result) {
        if (!library_ ||
            FT_New_Face(static_cast<FT_Library>(library_), font.c_str(), 0, &result) != 0) {
            if (!fontMissing_) fprintf(stderr, "assetgen: cannot open the font %s\n", font.c_str());
            fontMissing_ = true;
            return nullptr;
        }
        faces_.push_back({font, result});
    }
    FT_Set_Pixel_Sizes(result, 0, size);
    return result;
}

int TextSetter::measure(const std::string& font, int size, const std::string& text) {
    FT_Face f = static_cast<FT_Face>(face(font, size));
    if (!f) {
        return 0;
    }
    long width = 0;
    for (uint32_t cp : utf8Decode(text)) {
        if (FT_Load_Char(f, cp, FT_LOAD_DEFAULT) == 0) {
            width += f->glyph->advance.x;
        }
    }
    return static_cast<int>(width >> 6);
}

void TextSetter::drawGlyph(Image& image, const std::string& font, int size, uint32_t codepoint,
                           int x, int y, int clipX0, int clipY0, int clipX1, int clipY1) {
    FT_Face f = static_cast<FT_Face>(face(font, size));
    if (!f || FT_Load_Char(f, codepoint, FT_LOAD_RENDER) != 0) {
        return;
    }
    const FT_Bitmap& bm = f->glyph->bitmap;
    for (unsigned row = 0; row < bm.rows; ++row) {
        for (unsigned col = 0; col < bm.width; ++col) {
            const int px = x + f->glyph->bitmap_left + static_cast<int>(col);
            const int py = y - f->glyph->bitmap_top + static_cast<int>(row);
            if (px < clipX0 || py < clipY0 || px >= clipX1 || py >= clipY1) {
                continue;
            }
            const float a = bm.buffer[row * bm.pitch + col] / 255.0f;
            Colour& c = image.at(px, py);
            c = {std::max(c.r, a), std::max(c.g, a), std::max(c.b, a)};
        }
    }
}

void TextSetter::draw(Image& image, const std::string& font, int size, const std::string& text,
                      int x, int y, Colour colour, float opacity) {
    FT_Face f = static_cast<FT_Face>(face(font, size));
    if (!f) {
        return;
    }
    long pen = static_cast<long>(x) << 6;
    for (uint32_t cp : utf8Decode(text)) {
        if (FT_Load_Char(f, cp, FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_Bitmap& bm = f->glyph->bitmap;
        for (unsigned row = 0; row < bm.rows; ++row) {
            for (unsigned col = 0; col < bm.width; ++col) {
                const int px = static_cast<int>(pen >> 6) + f->glyph->bitmap_left + col;
                const int py = y - f->glyph->bitmap_top + static_cast<int>(row);
                image.blend(px, py, colour, opacity * bm.buffer[row * bm.pitch + col] / 255.0f);
            }
        }
        pen += f->glyph->advance.x;
    }
}
