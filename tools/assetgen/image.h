// RGB pictures in floating point, procedural noise, text setting and the file writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Colour {
    float r = 0, g = 0, b = 0;
};

inline Colour mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour scaled(Colour a, float s) { return {a.r * s, a.g * s, a.b * s}; }

struct Image {
    int width = 0, height = 0;
    std::vector<Colour> pixels; // row 0 is the top row

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
    Colour& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    Colour at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Bilinear, wrapping sample at texture coordinates (u, v), v = 0 at the top row.
    Colour sample(double u, double v) const;
    void blend(int x, int y, Colour c, float alpha);
};

// Tileable fractal value noise in 0..1; `period` is the lattice size of the first octave.
float noise(double x, double y, int period, uint32_t seed);
float fractalNoise(double x, double y, int period, int octaves, uint32_t seed);

int writeJpeg(const Image& image, const std::string& path);
int writeBmp(const Image& image, const std::string& path);
// 8-bit RGBA rows, top row first, as a PNG of uncompressed deflate blocks.
int writePng(const std::vector<unsigned char>& rgba, int width, int height,
             const std::string& path);
// A colour channel in 0..1 as a byte, rounded.
unsigned char toByte(float v);

// Text set with FreeType from a DejaVu font, blended into an image.
class TextSetter {
  public:
    TextSetter();
    ~TextSetter();
    // 1 while FreeType runs and every font asked for has opened; a picture set without its
    // font would be silently blank.
    int ok() const { return library_ != nullptr && !fontMissing_; }
    // Width in pixels of `text` (UTF-8) at the given size in the given font file.
    int measure(const std::string& font, int size, const std::string& text);
    // Draws `text` with its baseline at y, starting at x.
    void draw(Image& image, const std::string& font, int size, const std::string& text, int x,
              int y, Colour colour, float opacity = 1.0f);
    // Draws one character's coverage into a cell, clipped to it.
    void drawGlyph(Image& image, const std::string& font, int size, uint32_t codepoint, int x,
                   int y, int clipX0, int clipY0, int clipX1, int clipY1);

  private:
    void* face(const std::string& font, int size);
    void* library_ = nullptr;
    bool fontMissing_ = false;
    std::vector<std::pair<std::string, void*>> faces_;
};

std::vector<uint32_t> utf8Decode(const std::string& text);

extern const char* const serifBold;
extern const char* const sansBold;
extern const char* const monoBold;
