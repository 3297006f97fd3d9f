#include "pictures.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "app/core/assetnames.h"
#include "models.h"
#include "screens/layout.h"
#include "textures.h"

namespace {

struct Instance {
    const Model* model;
    double dx, dz;
    double turn;  // radians about the square's vertical axis; Black's pieces face the other way
    int material; // material of the body, or -1 to keep each part's own
};

Vec3 turned(Vec3 p, double angle, Vec3 centre) {
    const double c = std::cos(angle), s = std::sin(angle);
    const Vec3 d = p - centre;
    return centre + Vec3{c * d.x + s * d.z, d.y, c * d.z - s * d.x};
}

struct Camera {
    Vec3 eye, target;
    double focal; // in output pixels
};

struct Layer {
    Image colour;
    std::vector<float> coverage;
};

using TextureSet = std::map<std::string, const Image*>;

struct Corner {
    Vec3 world, normal;
    double u, v;
    double sx, sy, depth;
};

class Renderer {
  public:
    Renderer(int w, int h, const Camera& camera, const TextureSet& textures)
        : width_(w * 2), height_(h * 2), camera_(camera), textures_(textures),
          colour_(width_, height_),
          depth_(static_cast<size_t>(width_) * height_, std::numeric_limits<double>::max()) {
        forward_ = normalized(camera.target - camera.eye);
        right_ = normalized(cross(forward_, {0, 1, 0}));
        up_ = cross(right_, forward_);
    }

    void draw(const Instance& inst) {
        for (size_t p = 0; p < inst.model->parts.size(); ++p) {
            const Part& part = inst.model->parts[p];
            const int material = p == 0 && inst.material >= 0 ? inst.material : part.materialRef;
            const Image* texture = textures_.at(inst.model->materials[material].bitmap);
            const std::vector<Vec3> normals = cornerNormals(part, 40.0);
            for (size_t i = 0; i < part.faces.size(); ++i) {
                Corner c[3];
                bool visible = true;
                for (int k = 0; k < 3; ++k) {
                    Vec3 pos = part.positions[part.faces[i].v[k]];
                    Vec3 n = normals[i * 3 + k];
                    pos = turned(pos, inst.turn, {0.5, 0, -0.5});
                    n = turned(n, inst.turn, {});
                    pos = pos + Vec3{inst.dx, 0, inst.dz};
                    const TexVert& t = part.texVerts[part.faces[i].t[k]];
                    visible &= project(pos, n, t, c[k]);
                }
                if (visible) {
                    fill(c, *texture);
                }
            }
        }
    }

    // Averages the supersampled picture down to the output size.
    Layer resolve() const {
        Layer layer{Image(width_ / 2, height_ / 2),
                    std::vector<float>(static_cast<size_t>(width_ / 2) * (height_ / 2))};
        for (int y = 0; y < height_ / 2; ++y) {
            for (int x = 0; x < width_ / 2; ++x) {
                Colour sum;
                int covered = 0;
                for (int k = 0; k < 4; ++k) {
                    const int sx = x * 2 + k % 2, sy = y * 2 + k / 2;
                    if (depth_[static_cast<size_t>(sy) * width_ + sx] <
                        std::numeric_limits<double>::max()) {
                        const Colour c = colour_.at(sx, sy);
                        sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
                        ++covered;
                    }
                }
                if (covered > 0) {
                    layer.colour.at(x, y) = scaled(sum, 1.0f / covered);
                }
                layer.coverage[static_cast<size_t>(y) * (width_ / 2) + x] = covered / 4.0f;
            }
        }
        return layer;
    }

  private:
    bool project(Vec3 pos, Vec3 n, const TexVert& t, Corner& c) const {
        const Vec3 rel = pos - camera_.eye;
        const double z = dot(rel, forward_);
        if (z < 0.05) {
            return false;
        }
        const double f = camera_.focal * 2;
        c = {pos,
             n,
             t.u,
             t.v,
             width_ / 2.0 + f * dot(rel, right_) / z,
             height_ / 2.0 - f * dot(rel, up_) / z,
             z};
        return true;
    }

    Colour shade(Vec3 pos, Vec3 n, Colour base) const {
        const Vec3 light = normalized({-0.5, 0.9, -0.6});
        const Vec3 view = normalized(camera_.eye - pos);
        if (dot(n, view) < 0) {
            n = n * -1.0;
        }
        const double diffuse = 0.32 + 0.78 * std::max(0.0, dot(n, light));
        const double specular =
            std::pow(std::max(0.0, dot(n, normalized(light + view))), 40) * 0.35;
        const double rim = std::pow(1.0 - std::max(0.0, dot(n, view)), 3) * 0.18;
        return {static_cast<float>(base.r * diffuse + specular + rim * 0.6),
                static_cast<float>(base.g * diffuse + specular + rim * 0.7),
                static_cast<float>(base.b * diffuse + specular + rim * 0.9)};
    }

    void fill(const Corner* c, const Image& texture) {
        const double area =
            (c[1].sx - c[0].sx) * (c[2].sy - c[0].sy) - (c[2].sx - c[0].sx) * (c[1].sy - c[0].sy);
        if (std::fabs(area) < 1e-9) {
            return;
        }
        const int x0 =
            std::max(0, static_cast<int>(std::floor(std::min({c[0].sx, c[1].sx, c[2].sx}))));
        const int x1 = std::min(width_ - 1,
                                static_cast<int>(std::ceil(std::max({c[0].sx, c[1].sx, c[2].sx}))));
        const int y0 =
            std::max(0, static_cast<int>(std::floor(std::min({c[0].sy, c[1].sy, c[2].sy}))));
        const int y1 = std::min(height_ - 1,
                                static_cast<int>(std::ceil(std::max({c[0].sy, c[1].sy, c[2].sy}))));
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                double w[3];
                for (int k = 0; k < 3; ++k) {
                    const Corner& a = c[(k + 1) % 3];
                    const Corner& b = c[(k + 2) % 3];
                    w[k] = ((b.sx - a.sx) * (py - a.sy) - (px - a.sx) * (b.sy - a.sy)) / area;
                }
                if (w[0] < 0 || w[1] < 0 || w[2] < 0) {
                    continue;
                }
                double inv = 0;
                for (int k = 0; k < 3; ++k) {
                    inv += w[k] / c[k].depth;
                }
                const double depth = 1.0 / inv;
                double& stored = depth_[static_cast<size_t>(y) * width_ + x];
                if (depth >= stored) {
                    continue;
                }
                stored = depth;
                Vec3 pos, n;
                double u = 0, v = 0;
                for (int k = 0; k < 3; ++k) {
                    const double b = w[k] / c[k].depth * depth;
                    pos = pos + c[k].world * b;
                    n = n + c[k].normal * b;
                    u += c[k].u * b;
                    v += c[k].v * b;
                }
                colour_.at(x, y) = shade(pos, normalized(n), texture.sample(u, v));
            }
        }
    }

    int width_, height_;
    Camera camera_;
    const TextureSet& textures_;
    Image colour_;
    std::vector<double> depth_;
    Vec3 forward_, right_, up_;
};

struct Assets {
    Model pieces[6];
    Model board;
    Image ivory, ebony, marble, stone, wood, labels;
    TextureSet textures;
};

Layer render(const Assets& assets, const std::vector<Instance>& scene, const Camera& camera, int w,
             int h) {
    Renderer renderer(w, h, camera, assets.textures);
    for (const Instance& inst : scene) {
        renderer.draw(inst);
    }
    return renderer.resolve();
}

void composite(Image& image, const Layer& layer, int x0, int y0) {
    for (int y = 0; y < layer.colour.height; ++y) {
        for (int x = 0; x < layer.colour.width; ++x) {
            image.blend(x0 + x, y0 + y, layer.colour.at(x, y),
                        layer.coverage[static_cast<size_t>(y) * layer.colour.width + x]);
        }
    }
}

// A dark backdrop: a vertical gradient with a soft glow at (gx, gy) and darkened corners.
void backdrop(Image& image, int y0, int h, Colour top, Colour bottom, Colour glow, double gx,
              double gy) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const double fx = static_cast<double>(x) / image.width;
            const double fy = static_cast<double>(y) / h;
            Colour c = mix(top, bottom, static_cast<float>(fy));
            const double d = std::hypot((fx - gx) * 1.6, fy - gy);
            c = mix(c, glow, static_cast<float>(std::max(0.0, 1.0 - d * 1.4) * 0.8));
            const double edge = std::hypot(fx - 0.5, (fy - 0.5) * 0.8);
            c = scaled(c, static_cast<float>(std::clamp(1.25 - edge * 1.3, 0.0, 1.0)));
            const float grain = (noise(x * 0.7, (y0 + y) * 0.7, 1 << 20, 77) - 0.5f) * 0.02f;
            image.at(x, y0 + y) = {c.r + grain, c.g + grain, c.b + grain};
        }
    }
}

void title(TextSetter& text, Image& image, const std::string& font, int size, const std::string& s,
           int x, int y, Colour colour) {
    for (int k = 4; k >= 1; --k) {
        text.draw(image, font, size, s, x + k, y + k, {0, 0, 0}, 0.25f);
    }
    text.draw(image, font, size, s, x, y, colour);
}

int centred(TextSetter& text, const std::string& font, int size, const std::string& s, int width) {
    return (width - text.measure(font, size, s)) / 2;
}

const Colour gold{1.0f, 0.82f, 0.38f};
const Colour pale{0.93f, 0.90f, 0.82f};

Instance piece(const Assets& a, PieceType type, double dx, double dz, bool white) {
    return {&a.pieces[type], dx, dz, white ? 0.0 : M_PI, white ? 1 : 0};
}

// The knight looks along the ranks on the board; the pictures turn it back by this much to
// show it as they were composed, looking towards +z.
constexpr double quarterTurn = M_PI / 2;

Instance turnedPiece(const Assets& a, PieceType type, double dx, double dz, bool white,
                     double turn) {
    Instance inst = piece(a, type, dx, dz, white);
    inst.turn += turn;
    return inst;
}

// The first row of splash band k (0, 1 or 2).
constexpr int bandTop(int k) { return k * splashBandPixels; }

// Band 1: the title over a row of our pieces, lit from above left.
void titleBand(const Assets& a, TextSetter& text, Image& image) {
    const int top = bandTop(0);
    backdrop(image, top, splashBandPixels, {0.05f, 0.06f, 0.14f}, {0.02f, 0.02f, 0.04f},
             {0.30f, 0.22f, 0.12f}, 0.5, 0.75);
    const std::vector<Instance> row = {piece(a, Rook, -2.3, -0.3, false),
                                       turnedPiece(a, Knight, -1.2, 0.2, true, 1.9 - quarterTurn),
                                       piece(a, King, 0.0, 0.0, true),
                                       piece(a, Queen, 1.15, 0.25, false),
                                       piece(a, Bishop, 2.25, -0.25, true),
                                       piece(a, Pawn, -0.6, 1.2, false),
                                       piece(a, Pawn, 0.65, 1.2, true)};
    composite(
        image,
        render(a, row, {{0.5, 1.5, 5.0}, {0.5, 0.5, -0.5}, 440}, splashWidth, splashBandPixels), 0,
        top + 52);
    const std::string name = "Kavrin chess";
    title(text, image, serifBold, 54, name, centred(text, serifBold, 54, name, splashWidth),
          top + 70, gold);
}

// The Ruy Lopez after 1. e4 e5 2. Nf3 Nc6 3. Bb5: files a..h, ranks 1..8.
void ruyLopez(const Assets& a, std::vector<Instance>& scene) {
    const struct {
        PieceType type;
        char file;
        int rank;
        bool white;
    } men[] = {{Rook, 'a', 1, true},   {Knight, 'b', 1, true},  {Bishop, 'c', 1, true},
               {Queen, 'd', 1, true},  {King, 'e', 1, true},    {Rook, 'h', 1, true},
               {Bishop, 'b', 5, true}, {Knight, 'f', 3, true},  {Pawn, 'e', 4, true},
               {Rook, 'a', 8, false},  {Bishop, 'c', 8, false}, {Queen, 'd', 8, false},
               {King, 'e', 8, false},  {Bishop, 'f', 8, false}, {Knight, 'g', 8, false},
               {Rook, 'h', 8, false},  {Knight, 'c', 6, false}, {Pawn, 'e', 5, false}};
    for (const auto& m : men) {
        scene.push_back(piece(a, m.type, 8 - (m.file - 'a' + 1), m.rank - 8, m.white));
    }
    for (char file : {'a', 'b', 'c', 'd', 'f', 'g', 'h'}) {
        scene.push_back(piece(a, Pawn, 8 - (file - 'a' + 1), 2 - 8, true));
        scene.push_back(piece(a, Pawn, 8 - (file - 'a' + 1), 7 - 8, false));
    }
}

// Band 2: the whole board in a well-known opening, seen from White's side under the title,
// on the backdrop and light of the first band.
void boardBand(const Assets& a, TextSetter& text, Image& image) {
    const int top = bandTop(1);
    backdrop(image, top, splashBandPixels, {0.05f, 0.06f, 0.14f}, {0.02f, 0.02f, 0.04f},
             {0.30f, 0.22f, 0.12f}, 0.5, 0.75);
    std::vector<Instance> scene = {{&a.board, 0, 0, 0.0, -1}};
    ruyLopez(a, scene);
    composite(image,
              render(a, scene, {{6.8, 9.4, -13.6}, {4.1, 0.45, -3.9}, 330}, splashWidth,
                     splashBandPixels),
              0, top);
    const std::string name = "3D šachy";
    title(text, image, serifBold, 44, name, centred(text, serifBold, 44, name, splashWidth),
          top + 54, gold);
}

// Band 3: shown while the models load.
void loadingBand(const Assets& a, TextSetter& text, Image& image) {
    const int top = bandTop(2);
    backdrop(image, top, splashBandPixels, {0.03f, 0.06f, 0.08f}, {0.01f, 0.02f, 0.03f},
             {0.10f, 0.22f, 0.24f}, 0.28, 0.55);
    const std::vector<Instance> scene = {turnedPiece(a, Knight, 0, 0, true, -quarterTurn),
                                         piece(a, Pawn, 0.9, -0.6, false)};
    composite(image,
              render(a, scene, {{-2.2, 1.3, 0.9}, {0.6, 0.58, -0.4}, 420}, splashWidth / 2,
                     splashBandPixels),
              0, top);
    title(text, image, serifBold, 24, "Nahrávám modely...", 226, top + 140, pale);
    title(text, image, sansBold, 20, "Loading models ...", 232, top + 180, {0.6f, 0.85f, 0.8f});
    for (int k = 0; k < 5; ++k) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                image.blend(236 + k * 22 + x, top + 214 + y, gold, 1.0f - k * 0.18f);
            }
        }
    }
}

// The menu banner: the title on a dark strip with gold rules.
void bannerBand(TextSetter& text, Image& image) {
    const int top = splashBannerRow, bottom = splashBannerRow + splashBannerPixels - 1;
    backdrop(image, top, splashBannerPixels, {0.12f, 0.05f, 0.04f}, {0.05f, 0.02f, 0.02f},
             {0.30f, 0.14f, 0.06f}, 0.5, 0.5);
    for (int x = 8; x < splashWidth - 8; ++x) {
        image.blend(x, top + 4, gold, 0.8f);
        image.blend(x, bottom - 4, gold, 0.8f);
    }
    const std::string name = "Kavrin chess";
    title(text, image, serifBold, 36, name, centred(text, serifBold, 36, name, splashWidth),
          top + 46, gold);
}

Image splash(const Assets& a, TextSetter& text) {
    Image image(splashWidth, splashHeight);
    titleBand(a, text, image);
    boardBand(a, text, image);
    loadingBand(a, text, image);
    bannerBand(text, image);
    return image;
}

// The menu decoration: a corner of the board with a few pieces in the lower right, fading to
// black towards the upper left where the menu text lies.
Image menuPicture(const Assets& a) {
    const int size = menuPicturePixels;
    Image image(size, size);
    backdrop(image, 0, size, {0.01f, 0.01f, 0.02f}, {0.03f, 0.03f, 0.05f}, {0.18f, 0.13f, 0.08f},
             0.85, 0.85);
    const std::vector<Instance> scene = {{&a.board, 0, 0, 0.0, -1},
                                         piece(a, King, 1, -1, true),
                                         piece(a, Queen, 2, -2, false),
                                         turnedPiece(a, Knight, 0, -3, true, -quarterTurn),
                                         piece(a, Pawn, 2, -1, true)};
    composite(image, render(a, scene, {{-2.6, 3.2, 1.8}, {1.6, 0.3, -2.0}, 380}, size, size), 120,
              130);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x / double(size), y / double(size));
            image.at(x, y) =
                scaled(image.at(x, y), static_cast<float>(std::clamp((d - 0.55) * 1.6, 0.0, 1.0)));
        }
    }
    return image;
}

// The logo: a knight in a square at the left, the name to its right.
Image logo(const Assets& a, TextSetter& text) {
    Image image(logoWidth, logoHeight);
    backdrop(image, 0, logoHeight, {0.14f, 0.06f, 0.04f}, {0.05f, 0.02f, 0.02f},
             {0.3f, 0.15f, 0.05f}, 0.3, 0.5);
    composite(image,
              render(a, {turnedPiece(a, Knight, 0, 0, true, -quarterTurn)},
                     {{-2.2, 0.8, -0.45}, {0.5, 0.56, -0.45}, 68}, logoHeight, logoHeight),
              0, 0);
    title(text, image, serifBold, 19, "Kavrin", logoHeight, 23, gold);
    return image;
}

} // namespace

int writePictures(TextSetter& text, const std::string& prefix) {
    Assets a;
    for (PieceType t : {King, Queen, Bishop, Knight, Rook, Pawn}) {
        a.pieces[t] = buildPiece(t);
    }
    a.board = buildBoard();
    a.ivory = ivoryTexture();
    a.ebony = ebonyTexture();
    a.marble = lightMarbleTexture();
    a.stone = darkStoneTexture();
    a.wood = woodTexture();
    a.labels = labelTexture(text);
    a.textures = {{ivoryTextureFile, &a.ivory},        {ebonyTextureFile, &a.ebony},
                  {lightMarbleTextureFile, &a.marble}, {darkStoneTextureFile, &a.stone},
                  {woodTextureFile, &a.wood},          {labelTextureFile, &a.labels}};
    int ok = writeJpeg(splash(a, text), prefix + splashPictureFile);
    ok &= writeJpeg(menuPicture(a), prefix + menuPictureFile);
    ok &= writeJpeg(logo(a, text), prefix + logoPictureFile);
    return ok;
}
