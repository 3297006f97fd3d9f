#include "icon.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const int Supersample = 4;

// Coverage of the knight glyph on the canvas, scaled to `height` pixels and centred.
std::vector<float> knightMask(TextSetter& text, int height, int canvas) {
    const std::string knight = "\xE2\x99\x9E"; // U+265E, the filled chess knight
    int size = height;
    for (int attempt = 0; attempt < 3; ++attempt) {
        Image probe(canvas * 2, canvas * 2);
        text.draw(probe, sansBold, size, knight, canvas / 2, canvas * 3 / 2, {1, 1, 1});
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
        const int dx = (canvas - (x1 - x0 + 1)) / 2 - x0;
        const int dy = (canvas - glyphHeight) / 2 - y0;
        std::vector<float> mask(static_cast<size_t>(canvas) * canvas, 0.0f);
        for (int y = 0; y < canvas; ++y)
            for (int x = 0; x < canvas; ++x) {
                const int sx = x - dx, sy = y - dy;
                if (sx >= 0 && sy >= 0 && sx < probe.width && sy < probe.height)
                    mask[static_cast<size_t>(y) * canvas + x] = probe.at(sx, sy).r;
            }
        return mask;
    }
    return {};
}

// Distance from (x, y) to the inside of a rounded square [inset, canvas - inset] with
// corner radius r; 0 inside.
double outsideRoundedSquare(double x, double y, double inset, double r, int canvas) {
    const double lo = inset + r, hi = canvas - inset - r;
    const double cx = std::clamp(x, lo, hi), cy = std::clamp(y, lo, hi);
    return std::max(0.0, std::hypot(x - cx, y - cy) - r);
}

} // namespace

int writeIcon(TextSetter& text, int iconSize, const std::string& path) {
    const int canvas = iconSize * Supersample;
    // The design is drawn for 64 pixels and scaled with the icon.
    const double scale = iconSize / 64.0;
    const std::vector<float> knight = knightMask(text, canvas * 72 / 100, canvas);
    if (knight.empty()) return 0;
    const auto maskAt = [&](int x, int y) {
        return x < 0 || y < 0 || x >= canvas || y >= canvas
                   ? 0.0f
                   : knight[static_cast<size_t>(y) * canvas + x];
    };
    const double inset = 2.0 * Supersample * scale, radius = 12.0 * Supersample * scale,
                 rim = 1.5 * Supersample * scale;
    const Colour tileTop{0.24f, 0.14f, 0.08f}, tileBottom{0.07f, 0.04f, 0.03f};
    const Colour rimColour{0.62f, 0.44f, 0.20f};
    const Colour goldTop{1.0f, 0.88f, 0.52f}, goldBottom{0.76f, 0.52f, 0.18f};
    // The shadow falls down and to the right, as from a light above the board.
    const int shadowX = Supersample * iconSize / 64, shadowY = Supersample * 3 * iconSize / 128;

    std::vector<double> sums(static_cast<size_t>(iconSize) * iconSize * 4, 0.0);
    for (int y = 0; y < canvas; ++y)
        for (int x = 0; x < canvas; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            if (outsideRoundedSquare(cx, cy, inset, radius, canvas) > 0.0) continue;
            const float t = static_cast<float>(cy / canvas);
            Colour c = mix(tileTop, tileBottom, t);
            // A soft glow behind the piece lifts it off the tile.
            const double glow = std::exp(-std::pow(
                std::hypot(cx - canvas * 0.45, cy - canvas * 0.4) / (canvas * 0.35), 2.0));
            c = mix(c, {0.42f, 0.27f, 0.13f}, static_cast<float>(0.55 * glow));
            if (outsideRoundedSquare(cx, cy, inset + rim, radius - rim, canvas) > 0.0)
                c = mix(rimColour, c, t * 0.6f);
            c = mix(c, {0, 0, 0}, 0.6f * maskAt(x - shadowX, y - shadowY));
            const float cover = maskAt(x, y);
            if (cover > 0.0f) {
                // The gold is lit from the top left.
                const float shade =
                    std::clamp(t * 0.8f + static_cast<float>(x) / canvas * 0.3f, 0.0f, 1.0f);
                c = mix(c, mix(goldTop, goldBottom, shade), cover);
            }
            const size_t i =
                (static_cast<size_t>(y / Supersample) * iconSize + x / Supersample) * 4;
            sums[i] += c.r;
            sums[i + 1] += c.g;
            sums[i + 2] += c.b;
            sums[i + 3] += 1.0;
        }

    std::vector<unsigned char> rgba(sums.size());
    for (size_t i = 0; i < sums.size(); i += 4) {
        const double covered = sums[i + 3];
        for (int k = 0; k < 3; ++k)
            rgba[i + k] = covered > 0 ? toByte(static_cast<float>(sums[i + k] / covered)) : 0;
        rgba[i + 3] = toByte(static_cast<float>(covered / (Supersample * Supersample)));
    }
    return writePng(rgba, iconSize, iconSize, path);
}
