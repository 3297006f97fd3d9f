#include <gtest/gtest.h>

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

// The mesh in one line: the material count and names, then each part's name, material, counts
// of faces and texture vertices and faces, vertices, faces' corners and face normals.
std::string describe(const Mesh& m) {
    std::ostringstream out;
    out << m.materialCount << " materials";
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
    ASSERT_EQ(m.materialCount, 2);
    ASSERT_EQ(m.materials.size(), 2u);
    EXPECT_EQ(m.materials[0].textureFile, "dark.jpg");
    EXPECT_EQ(m.materials[1].textureFile, "light.jpg");
    ASSERT_EQ(m.parts.size(), 1u);
    const MeshPart& p = m.parts[0];
    EXPECT_EQ(p.materialIndex, 1);
    EXPECT_EQ(p.faces.at(0).k483, 4);
    EXPECT_EQ(p.cornerPositions, (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(p.cornerTexCoords, (std::vector<float>{1, 0.75f, 0, 0.5f, 0.25f, 0, 1, 0.75f, 0}));
    EXPECT_EQ(p.cornerNormals, (std::vector<float>{0, 1, 0, 1, 0, 0, 0, 0, 1}));
}

TEST(ModelFile, EachTextReadsAsTheMeshItDescribes) {
    EXPECT_EQ(describe(Mesh("no-such-model.ase", nullptr)), "0 materials");
    const struct {
        const char* why;
        std::string text, expected;
    } cases[] = {
        {"no top-level keyword", "hello { *MESH_NUMVERTEX 3 } *MATERIAL_COUNT 4 }", "0 materials"},
        {"an unknown block is skipped whole",
         "*GEOMOBJECT { *NODE_NAME a { *NODE_NAME b { *MATERIAL_REF 5 } *MATERIAL_REF 6 } "
         "*MATERIAL_REF 3 }",
         "0 materials; part 'a' material 3 counts 0 0 0:"},
        {"keywords act only in their block, and by their code (*CAMERAOBJECT is *MESH_FACE)",
         "*GEOMOBJECT { *MESH_NUMVERTEX 3 *MESH { *MATERIAL_REF 2 *MESH_NUMFACES 1 "
         "*MESH_FACE_LIST { *CAMERAOBJECT 0: A: 4 B: 5 C: 6 AB: 1 BC: 1 CA: 1 x x } } }",
         "0 materials; part '' material 0 counts 1 0 0: 4-5-6 n000"},
        {"a quote inside a word stays",
         "*MATERIAL_LIST { *MATERIAL_COUNT 1 *MATERIAL 0 { *MATERIAL_NAME ab\"cd } }",
         "1 materials 'ab\"cd'"},
        {"materials and parts keep their order",
         "*MATERIAL_LIST { *MATERIAL_COUNT 2 *MATERIAL 1 { *MATERIAL_NAME b } *MATERIAL 0 { "
         "*MATERIAL_NAME a } } *GEOMOBJECT { *NODE_NAME first } *GEOMOBJECT { *NODE_NAME second }",
         "2 materials 'a' 'b'; part 'first' material 0 counts 0 0 0:; part 'second' material 0 "
         "counts 0 0 0:"},
        {"a later count replaces the list",
         "*MATERIAL_LIST { *MATERIAL_COUNT 2 *MATERIAL 1 { *MATERIAL_NAME x } *MATERIAL_COUNT 3 "
         "*MATERIAL 2 { *MATERIAL_NAME y } }",
         "3 materials '' '' 'y'"},
        {"indexes outside their arrays are ignored",
         "*MATERIAL_LIST { *MATERIAL 0 { *MATERIAL_NAME early } *MATERIAL_COUNT 1 *MATERIAL 5 { "
         "*MATERIAL_NAME x } *MATERIAL -1 { *MATERIAL_NAME y } } *GEOMOBJECT { *MESH { "
         "*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 3 } *MESH_NUMVERTEX 2 *MESH_VERTEX_LIST { "
         "*MESH_VERTEX 2 9 9 9 *MESH_VERTEX -1 8 8 8 *MESH_VERTEX 1 4 5 6 } *MESH_NUMFACES 1 "
         "*MESH_FACE_LIST { *MESH_FACE 3: A: 1 B: 1 C: 1 AB: 0 BC: 0 CA: 0 x x } *MESH_NORMALS "
         "{ *MESH_FACENORMAL 9 1 1 1 *MESH_VERTEXNORMAL 0 1 1 1 } } }",
         "1 materials ''; part '' material 0 counts 1 0 0: (0 0 0) (4 5 6) 0-0-0 n000"},
        {"counts the file has no room for are zero",
         "*MATERIAL_LIST { *MATERIAL_COUNT 2000000000 } *GEOMOBJECT { *MESH { *MESH_NUMVERTEX "
         "2000000000 *MESH_NUMFACES 1000000 *MESH_NUMTVERTEX -5 *MESH_NUMTVFACES 2 *COMMENT "
         "room_for_two_entries } }",
         "0 materials; part '' material 0 counts 0 0 2:"},
        {"unreadable and overflowing numbers are skipped",
         "*GEOMOBJECT { *MATERIAL_REF x1 *MESH { *MESH_NUMVERTEX 1 *MESH_VERTEX_LIST { "
         "*MESH_VERTEX 0 nan 2 zz 3 } } *MATERIAL_REF 7 *MATERIAL_REF 99999999999 *NODE_NAME b }",
         "0 materials; part 'b' material 0 counts 0 0 0: (0 2 0)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(describe(read(c.text)), c.expected) << c.why;
}

TEST(ModelFile, StringsKeepWhatTheirQuotesHoldUpTo255Characters) {
    const std::string word(400, 'x');
    const struct {
        std::string text, expected;
    } cases[] = {{"\"two    words\"", "two words"},
                 {"\"never closed", "never closed"},
                 {"\"\" *SCENE { }", ""},
                 {word, word.substr(0, 255)}};
    for (const auto& c : cases)
        EXPECT_EQ(read("*COMMENT " + c.text).k2649, c.expected) << c.text;
    EXPECT_EQ(read("*COMMENT \"" + word + " " + word + "\"").k2649.size(), 255u);
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
