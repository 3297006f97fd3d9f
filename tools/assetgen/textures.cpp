#include "textures.h"

#include <algorithm>
#include <cmath>

#include "screens/layout.h"

namespace {

// Veined stone: a sine across the picture bent by turbulence.
Image marble(int size, Colour base, Colour vein, double veinFreq, double turbulence,
             uint32_t seed) {
    Image image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = static_cast<double>(x) / size, v = static_cast<double>(y) / size;
            const float turb = fractalNoise(u * 4, v * 4, 4, 6, seed);
            const double wave = std::sin((u + v) * 2 * M_PI * veinFreq + turb * turbulence);
            const float veinAmount = static_cast<float>(std::pow(1.0 - std::fabs(wave), 6.0));
            const float cloud = fractalNoise(u * 8, v * 8, 8, 4, seed + 99);
            Colour c = mix(base, scaled(base, 0.86f), cloud);
            image.at(x, y) = mix(c, vein, veinAmount * 0.8f);
        }
    }
    return image;
}

Colour woodAt(double u, double v, uint32_t seed) {
    const Colour light{0.66f, 0.45f, 0.26f}, dark{0.40f, 0.23f, 0.11f};
    const float warp = fractalNoise(u * 2, v * 8, 2, 5, seed);
    const double rings = v * 18.0 + warp * 3.0;
    const float band = static_cast<float>(std::pow(0.5 + 0.5 * std::sin(rings * 2 * M_PI), 3));
    const float fibre = noise(u * 128, v * 2, 128, seed + 5);
    return scaled(mix(light, dark, band * 0.8f), 0.9f + 0.15f * fibre);
}

// The Unicode character of each Windows-1250 byte from 0x80; 0 where the code page leaves
// the byte undefined.
const uint16_t cp1250High[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

uint32_t cp1250Character(int byte) {
    if (byte < 0x20 || byte == 0x7f) {
        return 0;
    }
    return byte < 0x80 ? static_cast<uint32_t>(byte) : cp1250High[byte - 0x80];
}

} // namespace

Image ivoryTexture() {
    Image image(256, 256);
    const Colour cream{0.96f, 0.91f, 0.80f}, grain{0.86f, 0.79f, 0.66f};
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const double u = x / 256.0, v = y / 256.0;
            const float streak = fractalNoise(u * 16, v * 2, 16, 4, 11);
            const float cloud = fractalNoise(u * 4, v * 4, 4, 4, 12);
            image.at(x, y) = mix(cream, grain, streak * 0.6f + cloud * 0.3f);
        }
    }
    return image;
}

Image ebonyTexture() {
    Image image(256, 256);
    const Colour dark{0.20f, 0.13f, 0.10f}, streak{0.34f, 0.22f, 0.15f};
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const double u = x / 256.0, v = y / 256.0;
            const float s = fractalNoise(u * 32, v * 2, 32, 4, 21);
            const float cloud = fractalNoise(u * 4, v * 4, 4, 3, 22);
            image.at(x, y) = mix(dark, streak, std::pow(s, 2.0f) * 1.4f * (0.5f + cloud));
        }
    }
    return image;
}

Image lightMarbleTexture() {
    return marble(512, {0.97f, 0.95f, 0.91f}, {0.66f, 0.64f, 0.62f}, 2.0, 9.0, 31);
}

Image darkStoneTexture() {
    return marble(512, {0.22f, 0.30f, 0.27f}, {0.55f, 0.62f, 0.58f}, 3.0, 7.0, 41);
}

Image woodTexture() {
    Image image(256, 256);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            image.at(x, y) = woodAt(x / 256.0, y / 256.0, 51);
        }
    }
    return image;
}

Image labelTexture(TextSetter& text) {
    Image image(512, 512);
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            image.at(x, y) = woodAt(x / 256.0, y / 256.0, 51);
        }
    }
    static const char* const names[16] = {"a", "b", "c", "d", "e", "f", "g", "h",
                                          "1", "2", "3", "4", "5", "6", "7", "8"};
    const Colour gilt{0.95f, 0.83f, 0.52f}, shadow{0.15f, 0.08f, 0.03f};
    for (int i = 0; i < 16; ++i) {
        const int cx = (i % 4) * 128, cy = (i / 4) * 128;
        const int w = text.measure(serifBold, 84, names[i]);
        const int x = cx + (128 - w) / 2, base = cy + 96;
        text.draw(image, serifBold, 84, names[i], x + 3, base + 3, shadow, 0.7f);
        text.draw(image, serifBold, 84, names[i], x, base, gilt);
    }
    return image;
}

Image fontPicture(TextSetter& text) {
    Image image(fontPicturePixels, fontPicturePixels);
    for (int b = 0; b < fontGlyphs; ++b) {
        const uint32_t cp = cp1250Character(b);
        if (cp == 0 || cp == 0xA0 || cp == 0xAD) {
            continue;
        }
        const int cx = (b % fontCellsPerRow) * fontCellPixels;
        const int cy = (b / fontCellsPerRow) * fontCellPixels;
        // Baseline 12 pixels down the cell: room above for accented capitals, below for
        // descenders.
        text.drawGlyph(image, monoBold, 13, cp, cx, cy + 12, cx, cy, cx + fontCellPixels,
                       cy + fontCellPixels);
    }
    return image;
}

Image highlightPicture() {
    const int size = 64;
    Image image(size, size);
    const Colour rim{1.0f, 0.80f, 0.20f}, inner{1.0f, 0.93f, 0.62f}, edge{0.62f, 0.42f, 0.05f};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int d = std::min(std::min(x, y), std::min(size - 1 - x, size - 1 - y));
            Colour c;
            if (d < 2) {
                c = edge;
            } else if (d < 8) {
                c = mix(rim, inner, (d - 2) / 24.0f);
            } else {
                const float t = std::hypot(x - size / 2.0f, y - size / 2.0f) / (size / 2.0f);
                c = mix({1.0f, 0.98f, 0.86f}, inner, std::min(t, 1.0f));
            }
            image.at(x, y) = c;
        }
    }
    return image;
}
