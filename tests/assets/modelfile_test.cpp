#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "assets/mesh.h"

namespace {

Mesh read(const std::string& text) {
    Mesh mesh("no-such-model.ase", nullptr);
    readModelText(text, mesh);
    return mesh;
}

// The mesh in one line: its comment, the material count and names, then each part's name,
// material, counts of faces and texture vertices and faces, vertices, corners and face normals.
std::string describe(const Mesh& m) {
    std::ostringstream out;
    out << "'" << m.k2649 << "' " << m.materialCount << " materials";
    for (const MeshMaterial& material : m.materials)
        out << " '" << material.k918 << "'";
    for (const MeshPart& p : m.parts) {
        out << "; part '" << p.k1156 << "' material " << p.materialIndex << " counts "
            << p.faceCount << " " << p.texVertexCount << " " << p.texFaceCount << ":";
        for (const Vec3& v : p.vertices)
            out << " (" << v.x << " " << v.y << " " << v.z << ")";
        for (const MeshFace& f : p.faces)
            out << " " << f.a << "-" << f.b << "-" << f.c;
        for (const FaceNormals& n : p.faceNormals)
            out << " n" << n.faceNormal.x << n.faceNormal.y << n.faceNormal.z;
    }
    return out.str();
}

// What the game draws from a model: materials with their pictures, and each face's corners.
TEST(ModelFile, ReadsMaterialsAndTheGeometryOfAPart) {
    const Mesh m(TEST_DATA_DIR "/one_part.ase", nullptr);
    EXPECT_EQ(describe(m), "'AsciiExport Version 2,00 - Mon Dec 07 2026' 2 materials 'Dark wood' "
                           "'Light'; part 'Pawn' material 1 counts 1 2 1: (0 0 0) (1 0 0) "
                           "(0 1 0) 0-1-2 n001");
    EXPECT_EQ(m.materials.at(0).textureFile, "dark.jpg");
    EXPECT_EQ(m.materials.at(1).textureFile, "light.jpg");
    const MeshPart& p = m.parts.at(0);
    EXPECT_EQ(p.faces.at(0).k483, 4);
    EXPECT_EQ(p.cornerTexCoords, (std::vector<float>{1, 0.75f, 0, 0.5f, 0.25f, 0, 1, 0.75f, 0}));
    EXPECT_EQ(p.cornerNormals, (std::vector<float>{0, 1, 0, 1, 0, 0, 0, 0, 1}));
}

TEST(ModelFile, EachTextReadsAsTheMeshItDescribes) {
    EXPECT_EQ(describe(Mesh("no-such-model.ase", nullptr)), "'' 0 materials");
    const std::string word(400, 'x');
    EXPECT_EQ(read("*COMMENT \"" + word + " " + word + "\"").k2649.size(), 255u);
    // Three lines a case: why, the model text, and the description of the mesh it gives.
    std::ifstream cases(TEST_DATA_DIR "/model_texts.txt");
    std::string why, text, expected;
    int count = 0;
    for (; std::getline(cases, why) && std::getline(cases, text) && std::getline(cases, expected);
         ++count)
        EXPECT_EQ(describe(read(text)), expected) << why;
    EXPECT_EQ(count, 13);
}

TEST(ModelFileFaults, CountsOfManyPartsShareTheRoomOfTheFile) {
    // Each count alone fits in the padding after it; together they would need gigabytes.
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "*GEOMOBJECT { *MESH { *MESH_NUMFACES 100000 *MESH_NUMVERTEX 100000 } }\n";
    text += std::string(1000000, ' ');
    const Mesh m = read(text);
    ASSERT_EQ(m.parts.size(), 300u);
    long long entries = 0;
    for (const MeshPart& p : m.parts)
        entries += static_cast<long long>(p.faces.size()) + p.vertices.size();
    EXPECT_EQ(m.parts[0].faceCount, 100000);
    EXPECT_LE(entries, static_cast<long long>(text.size()) / 8);
    EXPECT_EQ(m.parts.back().faceCount, 0);
}

} // namespace
