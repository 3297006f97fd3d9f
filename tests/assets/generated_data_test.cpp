// Loads the data files that the build generates with the game's own readers: the
// configuration, every model through the model reader and part preparation, and every picture
// through the JPEG and BMP decoders.
#include "app/core/config.h"
#include "assets/mesh.h"
#include "assets/texture.h"
#include "tests/display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {

const testing::Environment* const context =
    testing::AddGlobalTestEnvironment(new GlWindow(64, 64, KAVRIN_DATA_DIR));

// The pieces from the pawn up to the king, then the board.
std::vector<std::string> modelFiles() {
    const Config c = readConfig("chess.cfg");
    return {c.pawnModel,  c.rookModel, c.knightModel, c.bishopModel,
            c.queenModel, c.kingModel, c.boardModel};
}

Vec3 minus(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 crossOf(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(Vec3 a, Vec3 b) { return double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z; }

// Each piece stands on the floor of its square and is taller than the piece of the slot below.
// Both resting cameras look along z, so a knight looking along x shows them its profile: its
// head reaches further towards +x than its mane reaches back.
TEST(GeneratedModels, PiecesStandOnTheFloorGrowFromPawnToKingAndTheKnightFacesPlusX) {
    const std::vector<std::string> files = modelFiles();
    float lowerTop = 0;
    for (std::size_t piece = 0; piece < 6; ++piece) {
        float bottom = 1e9f, top = -1e9f, front = 0.5f, back = 0.5f;
        for (const MeshPart& part : Mesh(files[piece].c_str(), nullptr).parts) {
            for (const Vec3& v : part.vertices) {
                bottom = std::min(bottom, v.y);
                top = std::max(top, v.y);
                front = std::max(front, v.y > 0.45f ? v.x : front);
                back = std::min(back, v.y > 0.45f ? v.x : back);
            }
        }
        EXPECT_NEAR(bottom, 0.0f, 1e-4f) << files[piece];
        EXPECT_GT(top, lowerTop + 0.05f) << files[piece];
        lowerTop = top;
        if (piece == 2) {
            EXPECT_GT(front - 0.5f, std::max(0.25f, 0.5f - back));
        }
    }
}

// The faults, counted by kind, of a model as a viewer that welds corners at equal positions sees
// it. Every face has a texture face, and corner normals are unit and lean the way their face
// does. Each edge must be run by two triangles in opposite directions; triangles sharing edges
// form shells, and a consistently wound closed shell faces outwards exactly when the volume it
// encloses is positive.
std::map<std::string, int> modelFaults(const Mesh& mesh) {
    std::map<std::string, int> faults;
    std::map<std::array<float, 3>, int> ids;
    std::vector<std::array<Vec3, 3>> triangles;
    std::map<std::pair<int, int>, std::vector<int>> runs;
    for (const MeshPart& part : mesh.parts) {
        const std::size_t floats = part.faceCount * 9u;
        if (part.faceCount <= 0 || part.texFaceCount != part.faceCount ||
            part.cornerPositions.size() != floats || part.cornerNormals.size() != floats) {
            ++faults["parts without faces, texture faces or corners"];
            continue;
        }
        for (std::size_t i = 0; i < floats; i += 9) {
            std::array<Vec3, 3> t;
            int id[3];
            for (int k = 0; k < 3; ++k) {
                const float* p = &part.cornerPositions[i + k * 3];
                t[k] = {p[0], p[1], p[2]};
                id[k] =
                    ids.emplace(std::array<float, 3>{p[0], p[1], p[2]}, ids.size()).first->second;
            }
            const Vec3 face = crossOf(minus(t[1], t[0]), minus(t[2], t[0]));
            for (int k = 0; k < 3; ++k) {
                const float* c = &part.cornerNormals[i + k * 3];
                const Vec3 n{c[0], c[1], c[2]};
                if (std::fabs(dot(n, n) - 1) > 4e-3 || dot(n, face) < 0)
                    ++faults["corner normals off unit length or against their face"];
                runs[{id[k], id[(k + 1) % 3]}].push_back(static_cast<int>(triangles.size()));
            }
            if (dot(face, face) < 1e-14) ++faults["degenerate triangles"];
            triangles.push_back(t);
        }
    }
    std::vector<int> shell(triangles.size());
    std::iota(shell.begin(), shell.end(), 0);
    const auto root = [&](int i) {
        while (shell[i] != i)
            i = shell[i] = shell[shell[i]];
        return i;
    };
    for (const auto& [edge, along] : runs) {
        const auto back = runs.find({edge.second, edge.first});
        if (along.size() > 1 || (back != runs.end() && back->second.size() > 1)) {
            ++faults["edges run twice one way or by three triangles"];
        } else if (back == runs.end()) {
            ++faults["open edges"];
        } else {
            shell[root(along[0])] = root(back->second[0]);
        }
    }
    std::map<int, double> volume;
    for (std::size_t i = 0; i < triangles.size(); ++i)
        volume[root(i)] += dot(triangles[i][0], crossOf(triangles[i][1], triangles[i][2]));
    for (const auto& shellVolume : volume)
        if (shellVolume.second <= 0) ++faults["shells facing inwards"];
    return faults;
}

// Only the pieces are drawn with their back faces culled; the board is open underneath.
TEST(GeneratedModels, EveryModelPreparesForDrawingAndEveryPieceIsAClosedOutwardSurface) {
    for (const std::string& file : modelFiles()) {
        std::map<std::string, int> faults = modelFaults(Mesh(file.c_str(), nullptr));
        if (file == modelFiles().back()) {
            faults.erase("open edges");
            faults.erase("shells facing inwards");
        }
        EXPECT_EQ(faults, (std::map<std::string, int>{})) << file;
    }
}

// Lit pixels of the font's 16 x 16 cell for byte, in columns x0..x1 and rows y0..y1 counted
// from the top.
int ink(const RgbImage& font, int byte, int x0, int x1, int y0, int y1) {
    int lit = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const int row = font.height - 1 - (byte / 16 * 16 + y), column = byte % 16 * 16 + x;
            const unsigned char* p = font.pixels + (row * font.width + column) * 3;
            lit += std::max({p[0], p[1], p[2]}) > 64;
        }
    }
    return lit;
}

using DibPointer = std::unique_ptr<RgbImage, void (*)(RgbImage*)>;

// Every picture decodes without a word on stderr: the screens' pictures at the sizes they are
// drawn at, every texture the models name, the highlight and the font.
// Printable bytes of the font have ink, blank and undefined ones none; glyphs keep to the left
// of their cell with their accents and descenders inside it.
TEST(GeneratedPictures, EveryPictureDecodesSilently) {
    // The screens' pictures with their sizes, then the textures at any size.
    std::map<std::string, std::pair<int, int>> jpegs = {
        {"splash.jpg", {512, 1024}}, {"menu.jpg", {512, 512}}, {"kavrin.jpg", {128, 32}}};
    for (const std::string& file : modelFiles()) {
        for (const MeshMaterial& m : Mesh(file.c_str(), nullptr).materials)
            jpegs.emplace(m.textureFile, std::pair(0, 0));
    }
    testing::internal::CaptureStderr();
    for (const auto& [file, size] : jpegs) {
        RgbImage image;
        EXPECT_EQ(loadJpeg(file.c_str(), image), 1) << file;
        if (size.first) {
            EXPECT_EQ(std::pair(image.width, image.height), size) << file;
        }
        std::free(image.pixels);
    }
    const DibPointer highlight(loadDib("Pole.bmp"), freeDib), font(loadDib("Font.bmp"), freeDib);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(highlight && font && font->width == 256 && font->height == 256);
    const struct {
        int byte, top, bottom;
        bool inked;
    } cells[] = {{'A', 0, 16, true},  {0xE8, 0, 16, true}, {0xC8, 0, 3, true},
                 {'g', 13, 16, true}, {' ', 0, 16, false}, {0x05, 0, 16, false},
                 {0x81, 0, 16, false}};
    for (const auto& c : cells)
        EXPECT_EQ(ink(*font, c.byte, 0, 16, c.top, c.bottom) > 0, c.inked) << c.byte;
    int spill = 0;
    for (int byte = 0x21; byte < 256; ++byte)
        spill += ink(*font, byte, 11, 16, 0, 16);
    EXPECT_EQ(spill, 0);
}

} // namespace
