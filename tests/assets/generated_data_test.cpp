// Loads the data files that the build generates with the game's own readers: the
// configuration, every model through the model reader and part preparation, every picture
// through the JPEG and BMP decoders, and the model textures through the registry.
#include "app/config.h"
#include "assets/loading.h"
#include "assets/mesh.h"
#include "assets/texture.h"
#include "tests/display.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string dataDir = KAVRIN_DATA_DIR;

const testing::Environment* const context =
    testing::AddGlobalTestEnvironment(new SmallGlWindow(KAVRIN_DATA_DIR));

struct ModelFile {
    const char* name;
    int slot;
};

// The seven models in the order the loading sequence reads them.
std::vector<ModelFile> modelFiles(const Config& c) {
    return {{c.boardModel, 7},  {c.kingModel, 6}, {c.queenModel, 5}, {c.bishopModel, 4},
            {c.knightModel, 3}, {c.rookModel, 2}, {c.pawnModel, 1}};
}

double length(float x, float y, float z) { return std::sqrt(double(x) * x + y * y + z * z); }

double meanBrightness(const RgbImage& image) {
    const std::size_t bytes = static_cast<std::size_t>(image.width) * image.height * 3;
    double sum = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        sum += image.pixels[i];
    return bytes ? sum / bytes : 0;
}

struct DecodedJpeg {
    RgbImage image;
    int result = 0;
    explicit DecodedJpeg(const std::string& file) { result = loadJpeg(file.c_str(), image); }
    ~DecodedJpeg() { std::free(image.pixels); }
};

using DibPointer = std::unique_ptr<RgbImage, void (*)(RgbImage*)>;

DibPointer decodedDib(const char* file) { return DibPointer(loadDib(file), freeDib); }

Vec3 minus(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 crossOf(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The normal of the triangle whose three corners start at p, as x, y, z floats.
Vec3 faceNormal(const float* p) {
    const Vec3 a{p[0], p[1], p[2]}, b{p[3], p[4], p[5]}, c{p[6], p[7], p[8]};
    return crossOf(minus(b, a), minus(c, a));
}

// Every index in range, a texture face per face, unit corner normals that lean the way their
// face does, and shades inside the range the light gives.
void expectDrawablePart(const MeshPart& part, const Mesh& mesh, const std::string& where) {
    ASSERT_GT(part.faceCount, 0) << where;
    EXPECT_EQ(part.texFaceCount, part.faceCount) << where;
    EXPECT_GE(part.materialIndex, 0) << where;
    EXPECT_LT(part.materialIndex, mesh.materialCount) << where;
    int badIndexes = 0, badNormals = 0, badShades = 0;
    for (const MeshFace& f : part.faces) {
        for (int v : {f.a, f.b, f.c})
            badIndexes += v < 0 || v >= part.vertexCount;
    }
    for (const Int3& t : part.texFaces) {
        for (int v : {t.a, t.b, t.c})
            badIndexes += v < 0 || v >= part.texVertexCount;
    }
    const std::size_t floats = static_cast<std::size_t>(part.faceCount) * 9;
    ASSERT_EQ(part.cornerPositions.size(), floats) << where;
    ASSERT_EQ(part.cornerNormals.size(), floats) << where;
    ASSERT_EQ(part.cornerTexCoords.size(), floats) << where;
    ASSERT_EQ(part.cornerColours.size(), floats) << where;
    for (std::size_t i = 0; i < floats; i += 3) {
        const float* n = &part.cornerNormals[i];
        badNormals += std::fabs(length(n[0], n[1], n[2]) - 1.0) > 2e-3;
        const Vec3 face = faceNormal(&part.cornerPositions[i - i % 9]);
        badNormals += n[0] * face.x + n[1] * face.y + n[2] * face.z < 0;
        const float* c = &part.cornerColours[i];
        badShades += c[0] != c[1] || c[1] != c[2] || c[0] < 0.2499f || c[0] > 1.0001f;
    }
    EXPECT_EQ(badIndexes, 0) << where;
    EXPECT_EQ(badNormals, 0) << where;
    EXPECT_EQ(badShades, 0) << where;
}

TEST(GeneratedModels, EveryPartReadsAndPreparesForDrawing) {
    const Config c = readConfig("chess.cfg");
    for (const ModelFile& model : modelFiles(c)) {
        TextureRegistry registry;
        const Mesh mesh(model.name, &registry);
        ASSERT_FALSE(mesh.parts.empty()) << model.name;
        EXPECT_EQ(static_cast<std::size_t>(mesh.materialCount), mesh.materials.size());
        long triangles = 0;
        for (std::size_t i = 0; i < mesh.parts.size(); ++i) {
            expectDrawablePart(mesh.parts[i], mesh, model.name + (" part " + std::to_string(i)));
            triangles += mesh.parts[i].faceCount;
        }
        if (model.slot != 7) {
            EXPECT_GE(triangles, 500) << model.name;
            EXPECT_LE(triangles, 8000) << model.name;
        }
    }
}

// Each piece stands on the floor of its square, inside it, and is taller than the piece of
// the slot below: pawn, rook, knight, bishop, queen, king.
TEST(GeneratedModels, PiecesStandInsideTheirSquareAndGrowFromPawnToKing) {
    const Config c = readConfig("chess.cfg");
    const std::vector<ModelFile> models = modelFiles(c);
    float lowerTop = 0;
    for (auto model = models.rbegin(); model->slot != 7; ++model) {
        float bottom = 1e9f, top = -1e9f, reach = 0;
        const Mesh mesh(model->name, nullptr);
        for (const MeshPart& part : mesh.parts) {
            for (const Vec3& v : part.vertices) {
                bottom = std::min(bottom, v.y);
                top = std::max(top, v.y);
                reach = std::max(reach, static_cast<float>(length(v.x - 0.5f, 0, v.z + 0.5f)));
            }
        }
        EXPECT_NEAR(bottom, 0.0f, 1e-4f) << model->name;
        EXPECT_LE(reach, 0.42f) << model->name;
        EXPECT_GT(top, lowerTop + 0.05f) << model->name;
        lowerTop = top;
    }
}

TEST(GeneratedModels, PiecesHaveBlackThenWhiteAndTheBodyFirst) {
    const Config c = readConfig("chess.cfg");
    for (const ModelFile& model : modelFiles(c)) {
        if (model.slot == 7) continue;
        const Mesh mesh(model.name, nullptr);
        ASSERT_EQ(mesh.materialCount, 2) << model.name;
        EXPECT_EQ(mesh.parts[0].materialIndex, 0) << model.name;
        const DecodedJpeg black(mesh.materials[0].textureFile);
        const DecodedJpeg white(mesh.materials[1].textureFile);
        ASSERT_EQ(black.result, 1) << model.name;
        ASSERT_EQ(white.result, 1) << model.name;
        EXPECT_GT(meanBrightness(white.image) - meanBrightness(black.image), 100) << model.name;
    }
}

// Both resting cameras look along z, so a knight looking along x shows them its profile.
TEST(GeneratedModels, KnightLooksAlongTheRanksTowardsPlusX) {
    const Mesh knight(readConfig("chess.cfg").knightModel, nullptr);
    float front = 0.5f, back = 0.5f;
    for (const MeshPart& part : knight.parts) {
        for (const Vec3& v : part.vertices) {
            if (v.y < 0.45f) continue;
            front = std::max(front, v.x);
            back = std::min(back, v.x);
        }
    }
    EXPECT_GT(front - 0.5f, 0.25f) << "the muzzle reaches well forward, towards +x";
    EXPECT_GT(front - 0.5f, 0.5f - back) << "the head reaches further forward than the mane back";
}

// The triangles of a whole model with corners welded by the position the file gives them,
// the way a viewer that merges equal vertices sees the model.
struct WeldedSurface {
    std::vector<Vec3> points;
    std::vector<std::array<int, 3>> triangles;
};

WeldedSurface welded(const Mesh& mesh) {
    WeldedSurface s;
    std::map<std::array<float, 3>, int> ids;
    for (const MeshPart& part : mesh.parts) {
        for (const MeshFace& f : part.faces) {
            std::array<int, 3> t;
            const int corners[3] = {f.a, f.b, f.c};
            for (int k = 0; k < 3; ++k) {
                const Vec3 v = part.vertices[corners[k]];
                const auto found = ids.emplace(std::array<float, 3>{v.x, v.y, v.z}, ids.size());
                if (found.second) s.points.push_back(v);
                t[k] = found.first->second;
            }
            s.triangles.push_back(t);
        }
    }
    return s;
}

struct SurfaceFaults {
    int zeroArea = 0;
    int boundaryEdges = 0;  // run by one triangle only
    int sameWayEdges = 0;   // run twice in one direction, or by more than two triangles
    int inwardShells = 0;   // closed shells enclosing a negative volume
    int downwardSheets = 0; // open sheets whose faces on the whole look down
};

// Each edge must be run by two triangles in opposite directions; the triangles that share
// edges form shells, and a consistently wound closed shell faces outwards exactly when the
// volume it encloses is positive.
SurfaceFaults surfaceFaults(const WeldedSurface& s) {
    SurfaceFaults faults;
    std::map<std::pair<int, int>, std::vector<int>> edgeRuns;
    std::vector<Vec3> normals;
    for (std::size_t i = 0; i < s.triangles.size(); ++i) {
        const auto& t = s.triangles[i];
        const Vec3 a = s.points[t[0]];
        normals.push_back(crossOf(minus(s.points[t[1]], a), minus(s.points[t[2]], a)));
        faults.zeroArea += length(normals.back().x, normals.back().y, normals.back().z) < 1e-7;
        for (int k = 0; k < 3; ++k)
            edgeRuns[{t[k], t[(k + 1) % 3]}].push_back(static_cast<int>(i));
    }
    std::vector<int> shell(s.triangles.size());
    for (std::size_t i = 0; i < shell.size(); ++i)
        shell[i] = static_cast<int>(i);
    const auto root = [&](int i) {
        while (shell[i] != i)
            i = shell[i] = shell[shell[i]];
        return i;
    };
    std::set<int> openShells;
    for (const auto& [edge, runs] : edgeRuns) {
        const auto back = edgeRuns.find({edge.second, edge.first});
        const std::size_t against = back == edgeRuns.end() ? 0 : back->second.size();
        if (runs.size() > 1 || against > 1) {
            ++faults.sameWayEdges;
        } else if (against == 0) {
            ++faults.boundaryEdges;
            openShells.insert(runs[0]);
        } else {
            shell[root(runs[0])] = root(back->second[0]);
        }
    }
    std::map<int, double> volume, upward;
    for (std::size_t i = 0; i < s.triangles.size(); ++i) {
        const auto& t = s.triangles[i];
        const Vec3 a = s.points[t[0]], b = s.points[t[1]], c = s.points[t[2]];
        const Vec3 bc = crossOf(b, c);
        volume[root(static_cast<int>(i))] += double(a.x) * bc.x + double(a.y) * bc.y + a.z * bc.z;
        upward[root(static_cast<int>(i))] += normals[i].y;
    }
    std::set<int> open;
    for (int i : openShells)
        open.insert(root(i));
    for (const auto& [id, v] : volume) {
        if (open.count(id)) {
            faults.downwardSheets += upward[id] <= 0;
        } else {
            faults.inwardShells += v <= 0;
        }
    }
    return faults;
}

TEST(GeneratedModels, EveryModelIsAClosedOutwardSurfaceWithoutDegenerateTriangles) {
    const Config c = readConfig("chess.cfg");
    for (const ModelFile& model : modelFiles(c)) {
        const SurfaceFaults f = surfaceFaults(welded(Mesh(model.name, nullptr)));
        EXPECT_EQ(f.zeroArea, 0) << model.name;
        EXPECT_EQ(f.sameWayEdges, 0) << model.name;
        EXPECT_EQ(f.inwardShells, 0) << model.name;
        EXPECT_EQ(f.downwardSheets, 0) << model.name;
        // The board is deliberately open: it has no underside, which no camera sees, and its
        // file letters and rank numbers are single-sided decals lying on the frame.
        if (model.slot != 7) {
            EXPECT_EQ(f.boundaryEdges, 0) << model.name;
        }
    }
}

// The light squares lie just below the highlight plane, face up, shaded flat, and cover half
// of the 64 unit squares.
TEST(GeneratedModels, BoardLightSquaresLieFlatJustBelowTheHighlightsAndCoverHalfTheBoard) {
    const Mesh board(readConfig("chess.cfg").boardModel, nullptr);
    double area = 0;
    for (const MeshPart& part : board.parts) {
        if (board.materials.at(part.materialIndex).textureFile != "LIGHTMARBLE.JPG") continue;
        for (float shade : part.cornerColours)
            ASSERT_FLOAT_EQ(shade, 0.6f);
        for (std::size_t i = 0; i < part.cornerPositions.size(); i += 9) {
            const float* p = &part.cornerPositions[i];
            EXPECT_LT(p[1], 0.0f);
            EXPECT_GT(p[1], -0.05f);
            EXPECT_GT(part.cornerNormals[i + 1], 0.99f);
            area += length(faceNormal(p).x, faceNormal(p).y, faceNormal(p).z) / 2;
        }
    }
    EXPECT_NEAR(area, 32.0, 1e-3);
}

// The brightest channel of the pixel at (x, y), y counted from the top row.
int brightness(const RgbImage& image, int x, int y) {
    const unsigned char* p = image.pixels + ((image.height - 1 - y) * image.width + x) * 3;
    return std::max({p[0], p[1], p[2]});
}

// Lit pixels of the font's 16 x 16 cell for byte, in columns x0..x1 and rows y0..y1.
int ink(const RgbImage& font, int byte, int x0, int x1, int y0, int y1) {
    int lit = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            lit += brightness(font, byte % 16 * 16 + x, byte / 16 * 16 + y) > 64;
    return lit;
}

TEST(GeneratedPictures, DecodeAtTheirSizes) {
    const struct {
        const char* file;
        int width, height;
    } jpegs[] = {{"splash.jpg", 512, 1024}, {"menu.jpg", 512, 512}, {"kavrin.jpg", 128, 32}};
    for (const auto& p : jpegs) {
        const DecodedJpeg jpeg(p.file);
        ASSERT_EQ(jpeg.result, 1) << p.file;
        EXPECT_EQ(jpeg.image.width, p.width) << p.file;
        EXPECT_EQ(jpeg.image.height, p.height) << p.file;
    }
    testing::internal::CaptureStderr();
    const DibPointer font = decodedDib("Font.bmp");
    const DibPointer highlight = decodedDib("Pole.bmp");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_TRUE(font && highlight);
    ASSERT_EQ(font->width, 256);
    ASSERT_EQ(font->height, 256);
    EXPECT_GT(highlight->width, 0);
    EXPECT_EQ(highlight->width & (highlight->width - 1), 0);
    EXPECT_EQ(highlight->width, highlight->height);
    EXPECT_GT(brightness(*highlight, highlight->width / 2, highlight->height / 2), 200);
}

// Printable bytes have ink, blank and undefined ones none; glyphs keep to the left of their
// cell with their accents and descenders inside it.
TEST(GeneratedPictures, FontCellsHoldTheirGlyphs) {
    const DibPointer font = decodedDib("Font.bmp");
    ASSERT_TRUE(font && font->width == 256 && font->height == 256);
    EXPECT_GT(ink(*font, 'A', 0, 16, 0, 16), 10);
    EXPECT_GT(ink(*font, 0xE8, 0, 16, 0, 16), 10) << "c with caron";
    EXPECT_EQ(ink(*font, ' ', 0, 16, 0, 16), 0);
    EXPECT_EQ(ink(*font, 0x05, 0, 16, 0, 16), 0) << "control byte";
    EXPECT_EQ(ink(*font, 0x81, 0, 16, 0, 16), 0) << "undefined byte";
    EXPECT_GT(ink(*font, 0xC8, 0, 16, 0, 3), 0) << "the caron of capital C";
    EXPECT_GT(ink(*font, 'g', 0, 16, 13, 16), 0) << "the tail of g";
    int spill = 0;
    for (int byte = 0x21; byte < 256; ++byte)
        spill += ink(*font, byte, 11, 16, 0, 16);
    EXPECT_EQ(spill, 0);
}

TEST(GeneratedTextures, LoadingMakesEveryModelTextureFromItsFile) {
    const Config c = readConfig("chess.cfg");
    textureRegistry = new TextureRegistry;
    testing::internal::CaptureStderr();
    loadModels(c, meshTable);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "every texture file opens";
    ASSERT_NE(meshTable, nullptr);
    std::set<std::string> files;
    std::set<std::uint32_t> names;
    for (int slot = 1; slot <= 7; ++slot) {
        ASSERT_NE(meshTable[slot], nullptr);
        for (const MeshMaterial& m : meshTable[slot]->materials) {
            ASSERT_NE(m.textureName, 0u) << m.textureFile;
            files.insert(m.textureFile);
            names.insert(m.textureName);
            GLint width = 0, height = 0;
            glBindTexture(GL_TEXTURE_2D, m.textureName);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
            EXPECT_TRUE(width == 256 || width == 512) << m.textureFile << " " << width;
            EXPECT_EQ(width, height) << m.textureFile;
        }
    }
    EXPECT_EQ(names.size(), files.size()) << "one texture per file name";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    freeModels();
}

TEST(GeneratedData, HoldsExactlyTheFilesTheGameReads) {
    const Config c = readConfig("chess.cfg");
    EXPECT_EQ(c.screenWidth, 1024);
    EXPECT_EQ(c.screenHeight, 768);
    std::set<std::string> wanted = {"chess.cfg",  "Font.bmp", "Pole.bmp",
                                    "splash.jpg", "menu.jpg", "kavrin.jpg"};
    for (const ModelFile& model : modelFiles(c)) {
        wanted.insert(model.name);
        const Mesh mesh(model.name, nullptr);
        for (const MeshMaterial& m : mesh.materials)
            wanted.insert(m.textureFile);
    }
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::directory_iterator(dataDir)) {
        // The desktop's icon may share the folder; the game itself never reads a PNG.
        if (entry.path().extension() != ".png") present.insert(entry.path().filename().string());
    }
    EXPECT_EQ(present, wanted);
}

} // namespace
