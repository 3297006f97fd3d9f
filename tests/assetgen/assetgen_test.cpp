// Reads back the generated data files and checks their forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string dataDir = KAVRIN_DATA_DIR;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct AseFace {
    int v[3];
};

struct AsePart {
    int numVertex = -1, numFaces = -1, numTVertex = -1, numTVFaces = -1, materialRef = -1;
    std::vector<double> vertices;
    std::vector<AseFace> faces, texFaces;
    std::vector<double> normals;
    std::vector<int> normalVertex;
};

struct AseModel {
    int materialCount = -1;
    std::vector<std::string> bitmaps;
    std::vector<AsePart> parts;
};

AseModel readAse(const std::string& path) {
    std::istringstream in(readFile(path));
    AseModel m;
    std::string tok;
    AsePart* part = nullptr;
    while (in >> tok) {
        if (tok == "*MATERIAL_COUNT") {
            in >> m.materialCount;
        } else if (tok == "*BITMAP") {
            std::string name;
            in >> name;
            m.bitmaps.push_back(name.substr(1, name.size() - 2));
        } else if (tok == "*GEOMOBJECT") {
            m.parts.emplace_back();
            part = &m.parts.back();
        } else if (!part) {
            continue;
        } else if (tok == "*MESH_NUMVERTEX") {
            in >> part->numVertex;
        } else if (tok == "*MESH_NUMFACES") {
            in >> part->numFaces;
        } else if (tok == "*MESH_NUMTVERTEX") {
            in >> part->numTVertex;
        } else if (tok == "*MESH_NUMTVFACES") {
            in >> part->numTVFaces;
        } else if (tok == "*MATERIAL_REF") {
            in >> part->materialRef;
        } else if (tok == "*MESH_VERTEX") {
            int i;
            double x, y, z;
            in >> i >> x >> y >> z;
            part->vertices.insert(part->vertices.end(), {x, y, z});
        } else if (tok == "*MESH_FACE") {
            std::string index, label;
            AseFace f;
            in >> index >> label >> f.v[0] >> label >> f.v[1] >> label >> f.v[2];
            part->faces.push_back(f);
        } else if (tok == "*MESH_TFACE") {
            int i;
            AseFace f;
            in >> i >> f.v[0] >> f.v[1] >> f.v[2];
            part->texFaces.push_back(f);
        } else if (tok == "*MESH_VERTEXNORMAL") {
            int i;
            double x, y, z;
            in >> i >> x >> y >> z;
            part->normalVertex.push_back(i);
            part->normals.insert(part->normals.end(), {x, y, z});
        }
    }
    return m;
}

void expectWellFormed(const AseModel& m, const std::string& name) {
    ASSERT_FALSE(m.parts.empty()) << name;
    EXPECT_EQ(m.materialCount, static_cast<int>(m.bitmaps.size())) << name;
    for (const AsePart& p : m.parts) {
        EXPECT_EQ(p.numVertex * 3, static_cast<int>(p.vertices.size())) << name;
        EXPECT_EQ(p.numFaces, static_cast<int>(p.faces.size())) << name;
        EXPECT_EQ(p.numTVFaces, p.numFaces) << name << ": every face has a texture face";
        EXPECT_EQ(p.numTVFaces, static_cast<int>(p.texFaces.size())) << name;
        EXPECT_EQ(p.numFaces * 3, static_cast<int>(p.normalVertex.size())) << name;
        EXPECT_GE(p.materialRef, 0) << name;
        EXPECT_LT(p.materialRef, m.materialCount) << name;
        int badIndex = 0, badNormal = 0;
        for (size_t i = 0; i < p.faces.size(); ++i) {
            for (int k = 0; k < 3; ++k) {
                badIndex += p.faces[i].v[k] < 0 || p.faces[i].v[k] >= p.numVertex;
                badIndex += p.texFaces[i].v[k] < 0 || p.texFaces[i].v[k] >= p.numTVertex;
                badIndex += p.normalVertex[i * 3 + k] != p.faces[i].v[k];
            }
        }
        for (size_t i = 0; i + 2 < p.normals.size(); i += 3) {
            const double len =
                std::sqrt(p.normals[i] * p.normals[i] + p.normals[i + 1] * p.normals[i + 1] +
                          p.normals[i + 2] * p.normals[i + 2]);
            badNormal += std::fabs(len - 1.0) > 2e-3;
        }
        EXPECT_EQ(badIndex, 0) << name;
        EXPECT_EQ(badNormal, 0) << name;
    }
}

struct PieceSpec {
    const char* file;
    double height;
};

const PieceSpec pieces[] = {{"pawn.ase", 0.75},   {"rook.ase", 0.95},  {"knight.ase", 1.05},
                            {"bishop.ase", 1.15}, {"queen.ase", 1.35}, {"king.ase", 1.5}};

TEST(Models, EveryModelIsWellFormed) {
    for (const PieceSpec& p : pieces) {
        expectWellFormed(readAse(dataDir + "/" + p.file), p.file);
    }
    expectWellFormed(readAse(dataDir + "/board.ase"), "board.ase");
}

TEST(Models, PiecesStandOnTheirSquareAtTheirHeight) {
    for (const PieceSpec& p : pieces) {
        const AseModel m = readAse(dataDir + "/" + p.file);
        double minY = 1e9, maxY = -1e9, maxR = 0;
        int triangles = 0;
        for (const AsePart& part : m.parts) {
            triangles += part.numFaces;
            for (size_t i = 0; i < part.vertices.size(); i += 3) {
                const double dx = part.vertices[i] - 0.5, dz = part.vertices[i + 2] + 0.5;
                maxR = std::max(maxR, std::sqrt(dx * dx + dz * dz));
                minY = std::min(minY, part.vertices[i + 1]);
                maxY = std::max(maxY, part.vertices[i + 1]);
            }
        }
        EXPECT_NEAR(minY, 0.0, 1e-4) << p.file;
        EXPECT_NEAR(maxY, p.height, 0.03) << p.file;
        EXPECT_LE(maxR, 0.42) << p.file;
        EXPECT_GE(triangles, 500) << p.file;
        EXPECT_LE(triangles, 8000) << p.file;
    }
}

TEST(Models, CornerNormalsLeanWithTheirFaceAndTheBoardFacesUp) {
    for (const PieceSpec& p : pieces) {
        const AseModel m = readAse(dataDir + "/" + p.file);
        const AsePart& body = m.parts[0];
        int disagreeing = 0;
        for (size_t i = 0; i < body.faces.size(); ++i) {
            const double* a = &body.vertices[body.faces[i].v[0] * 3];
            const double* b = &body.vertices[body.faces[i].v[1] * 3];
            const double* c = &body.vertices[body.faces[i].v[2] * 3];
            const double e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
            const double e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
            const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                                 e1[0] * e2[1] - e1[1] * e2[0]};
            for (int k = 0; k < 3; ++k) {
                const double* cn = &body.normals[(i * 3 + k) * 3];
                disagreeing += cn[0] * n[0] + cn[1] * n[1] + cn[2] * n[2] < 0;
            }
        }
        EXPECT_EQ(disagreeing, 0) << p.file << ": corner normals lean the way their face does";
    }
    const AseModel board = readAse(dataDir + "/board.ase");
    for (const AsePart& part : board.parts) {
        if (part.materialRef == 2) {
            continue;
        }
        for (size_t k = 1; k < part.normals.size(); k += 3) {
            EXPECT_GT(part.normals[k], 0.99) << "squares and labels face up";
        }
    }
}

TEST(Models, BoardCoversTheSquaresWithLightMarbleBelowTheHighlightPlane) {
    const AseModel m = readAse(dataDir + "/board.ase");
    int marble = -1;
    for (size_t i = 0; i < m.bitmaps.size(); ++i) {
        if (m.bitmaps[i] == "LIGHTMARBLE.JPG") {
            marble = static_cast<int>(i);
        }
    }
    ASSERT_GE(marble, 0);
    double area = 0;
    for (const AsePart& part : m.parts) {
        if (part.materialRef != marble) {
            continue;
        }
        for (const AseFace& f : part.faces) {
            const double* a = &part.vertices[f.v[0] * 3];
            const double* b = &part.vertices[f.v[1] * 3];
            const double* c = &part.vertices[f.v[2] * 3];
            EXPECT_LT(a[1], 0.0);
            EXPECT_GT(a[1], -0.05);
            area += std::fabs((b[0] - a[0]) * (c[2] - a[2]) - (c[0] - a[0]) * (b[2] - a[2])) / 2;
        }
    }
    EXPECT_NEAR(area, 32.0, 1e-3);
}

bool powerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

struct Bmp {
    int headerSize = 0, width = 0, height = 0, bits = 0;
    std::string data;
    size_t offset = 0;
    // Brightest channel of pixel (x, y), y counted from the top row.
    int value(int x, int y) const {
        const size_t stride = (width * 3 + 3) / 4 * 4;
        const size_t row = static_cast<size_t>(height - 1 - y);
        const unsigned char* p =
            reinterpret_cast<const unsigned char*>(data.data()) + offset + row * stride + x * 3;
        return std::max({p[0], p[1], p[2]});
    }
};

int le32(const std::string& s, size_t at) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s.data()) + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (p[3] << 24);
}

Bmp readBmp(const std::string& path) {
    Bmp bmp;
    bmp.data = readFile(path);
    if (bmp.data.size() < 54 || bmp.data[0] != 'B' || bmp.data[1] != 'M') {
        return bmp;
    }
    bmp.offset = le32(bmp.data, 10);
    bmp.headerSize = le32(bmp.data, 14);
    bmp.width = le32(bmp.data, 18);
    bmp.height = le32(bmp.data, 22);
    bmp.bits = static_cast<unsigned char>(bmp.data[28]) | (bmp.data[29] << 8);
    return bmp;
}

int cellInk(const Bmp& font, int byte) {
    const int cx = (byte % 16) * 16, cy = (byte / 16) * 16;
    int ink = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            ink += font.value(cx + x, cy + y) > 64;
        }
    }
    return ink;
}

TEST(Font, IsA24BitBottomUpPictureOfGlyphCells) {
    const Bmp font = readBmp(dataDir + "/Font.bmp");
    ASSERT_EQ(font.headerSize, 40);
    ASSERT_EQ(font.width, 256);
    ASSERT_EQ(font.height, 256);
    ASSERT_EQ(font.bits, 24);
    ASSERT_GE(font.data.size(), font.offset + 256 * 256 * 3);
    EXPECT_GT(cellInk(font, 0xE8), 10) << "c with caron";
    EXPECT_GT(cellInk(font, 'A'), 10);
    EXPECT_EQ(cellInk(font, 0x20), 0) << "space";
    EXPECT_EQ(cellInk(font, 0x05), 0) << "control byte";
    EXPECT_EQ(cellInk(font, 0x81), 0) << "undefined byte";
}

TEST(Font, GlyphsStayInTheLeftOfTheirCellAndKeepTheirAccentsAndDescenders) {
    const Bmp font = readBmp(dataDir + "/Font.bmp");
    ASSERT_EQ(font.width, 256);
    int spill = 0;
    for (int b = 0x21; b < 256; ++b) {
        const int cx = (b % 16) * 16, cy = (b / 16) * 16;
        for (int y = 0; y < 16; ++y) {
            for (int x = 11; x < 16; ++x) {
                spill += font.value(cx + x, cy + y) > 64;
            }
        }
    }
    EXPECT_EQ(spill, 0);
    // The caron of capital C and the tail of g show inside their cells.
    auto inkRows = [&](int byte, int y0, int y1) {
        const int cx = (byte % 16) * 16, cy = (byte / 16) * 16;
        int ink = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = 0; x < 16; ++x) {
                ink += font.value(cx + x, cy + y) > 64;
            }
        }
        return ink;
    };
    EXPECT_GT(inkRows(0xC8, 0, 3), 0);
    EXPECT_GT(inkRows('g', 13, 16), 0);
}

TEST(Highlight, IsASmallBrightBitmap) {
    const Bmp pole = readBmp(dataDir + "/Pole.bmp");
    ASSERT_EQ(pole.headerSize, 40);
    EXPECT_EQ(pole.bits, 24);
    EXPECT_TRUE(powerOfTwo(pole.width));
    EXPECT_EQ(pole.width, pole.height);
    EXPECT_GT(pole.value(pole.width / 2, pole.height / 2), 200);
}

std::set<std::string> filesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(Generator, TwoRunsGiveTheSameBytesInEveryFile) {
    const std::string a = "run_a", b = "run_b";
    ASSERT_EQ(std::system(("rm -rf " + a + " " + b + " && mkdir " + a + " " + b).c_str()), 0);
    ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " " + a).c_str()), 0);
    ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " " + b).c_str()), 0);
    const std::set<std::string> files = filesIn(a);
    EXPECT_EQ(files, filesIn(b));
    EXPECT_EQ(files, filesIn(dataDir)) << "the build's data folder comes from the same runs";
    EXPECT_GE(files.size(), 19u);
    for (const std::string& f : files) {
        const std::string first = readFile(a + "/" + f);
        EXPECT_FALSE(first.empty()) << f;
        EXPECT_EQ(first, readFile(b + "/" + f)) << f;
        EXPECT_EQ(first, readFile(dataDir + "/" + f)) << f;
    }
}

} // namespace
