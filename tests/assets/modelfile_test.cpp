#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/mesh.h"

namespace {

Mesh read(const std::string& text) {
    Mesh mesh("no-such-model.ase", nullptr);
    readModelText(text, mesh);
    return mesh;
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

TEST(ModelFile, MissingFileOrNoTopLevelKeywordGivesAnEmptyMesh) {
    const Mesh missing("no-such-model.ase", nullptr);
    const Mesh stray = read("hello { *MESH_NUMVERTEX 3 } *MATERIAL_COUNT 4 }");
    for (const Mesh* m : {&missing, &stray}) {
        EXPECT_EQ(m->materialCount, 0);
        EXPECT_TRUE(m->materials.empty());
        EXPECT_TRUE(m->parts.empty());
    }
}

TEST(ModelFile, UnknownBlocksAreSkippedWholeAndKeywordsActOnlyInTheirBlock) {
    const Mesh nested = read("*GEOMOBJECT { *NODE_NAME a { *NODE_NAME b { *MATERIAL_REF 5 } "
                             "*MATERIAL_REF 6 } *PROP_CASTSHADOW 3 }");
    ASSERT_EQ(nested.parts.size(), 1u);
    EXPECT_EQ(nested.parts[0].k1156, "a");
    EXPECT_EQ(nested.parts[0].materialIndex, 0);
    EXPECT_EQ(nested.parts[0].k3472, 3);
    // *CAMERAOBJECT shares its code with *MESH_FACE, so it reads as a face.
    const Mesh misplaced = read("*GEOMOBJECT { *MESH_NUMVERTEX 3 *MESH { *MATERIAL_REF 2 "
                                "*MESH_NUMFACES 1 *MESH_FACE_LIST { *CAMERAOBJECT 0: A: 4 B: 5 "
                                "C: 6 AB: 1 BC: 1 CA: 1 x x } } }");
    ASSERT_EQ(misplaced.parts.size(), 1u);
    EXPECT_TRUE(misplaced.parts[0].vertices.empty());
    EXPECT_EQ(misplaced.parts[0].materialIndex, 0);
    EXPECT_EQ(misplaced.parts[0].faces.at(0).c, 6);
}

TEST(ModelFile, StringsKeepWhatTheirQuotesHold) {
    const Mesh m = read("*COMMENT \"two    words\" *SCENE { *SCENE_FILENAME \"\" } "
                        "*MATERIAL_LIST { *MATERIAL_COUNT 1 *MATERIAL 0 { *MATERIAL_NAME "
                        "ab\"cd } }");
    EXPECT_EQ(m.k2649, "two words");
    EXPECT_EQ(read("*COMMENT \"never closed").k2649, "never closed");
    EXPECT_EQ(m.k3723, "");
    ASSERT_EQ(m.materials.size(), 1u);
    EXPECT_EQ(m.materials[0].k918, "ab\"cd");
}

TEST(ModelFile, MaterialsAndPartsKeepTheirOrderAndALaterCountReplacesTheList) {
    const Mesh m = read("*MATERIAL_LIST { *MATERIAL_COUNT 2 *MATERIAL 1 { *MATERIAL_NAME b } "
                        "*MATERIAL 0 { *MATERIAL_NAME a } } *GEOMOBJECT { *NODE_NAME first } "
                        "*GEOMOBJECT { *NODE_NAME second }");
    EXPECT_EQ(m.materials.at(0).k918, "a");
    EXPECT_EQ(m.materials.at(1).k918, "b");
    ASSERT_EQ(m.parts.size(), 2u);
    EXPECT_EQ(m.parts[1].k1156, "second");
    const Mesh again = read("*MATERIAL_LIST { *MATERIAL_COUNT 2 *MATERIAL 1 { *MATERIAL_NAME x "
                            "} *MATERIAL_COUNT 3 *MATERIAL 2 { *MATERIAL_NAME y } }");
    ASSERT_EQ(again.materialCount, 3);
    EXPECT_EQ(again.materials[1].k918, "");
    EXPECT_EQ(again.materials[2].k918, "y");
}

TEST(ModelFileFaults, IndexesOutsideTheirArraysAreIgnored) {
    const Mesh m = read("*MATERIAL_LIST { *MATERIAL 0 { *MATERIAL_NAME early } "
                        "*MATERIAL_COUNT 1 *MATERIAL 5 { *MATERIAL_NAME x } *MATERIAL -1 { "
                        "*MATERIAL_NAME y } } *GEOMOBJECT { *MESH { "
                        "*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 3 } *MESH_NUMVERTEX 2 "
                        "*MESH_VERTEX_LIST { *MESH_VERTEX 2 9 9 9 *MESH_VERTEX -1 8 8 8 "
                        "*MESH_VERTEX 1 4 5 6 } *MESH_NUMFACES 1 *MESH_FACE_LIST { *MESH_FACE 3: "
                        "A: 1 B: 1 C: 1 AB: 0 BC: 0 CA: 0 x x } *MESH_NORMALS { "
                        "*MESH_FACENORMAL 9 1 1 1 *MESH_VERTEXNORMAL 0 1 1 1 } } }");
    ASSERT_EQ(m.materials.size(), 1u);
    EXPECT_EQ(m.materials[0].k918, "");
    const MeshPart& p = m.parts.at(0);
    ASSERT_EQ(p.vertices.size(), 2u);
    EXPECT_FLOAT_EQ(p.vertices[0].x, 0.0f);
    EXPECT_FLOAT_EQ(p.vertices[1].x, 4.0f);
    EXPECT_EQ(p.faces.at(0).a, 0);
    EXPECT_FLOAT_EQ(p.faceNormals.at(0).faceNormal.x, 0.0f);
}

TEST(ModelFileFaults, CountsTheFileHasNoRoomForAreZero) {
    const Mesh m = read("*MATERIAL_LIST { *MATERIAL_COUNT 2000000000 } *GEOMOBJECT { *MESH { "
                        "*MESH_NUMVERTEX 2000000000 *MESH_NUMFACES 1000000 "
                        "*MESH_NUMTVERTEX -5 *MESH_NUMTVFACES 2 *COMMENT room_for_two_entries } }");
    EXPECT_EQ(m.materialCount, 0);
    const MeshPart& p = m.parts.at(0);
    EXPECT_TRUE(p.vertices.empty());
    EXPECT_EQ(p.faceCount, 0);
    EXPECT_EQ(p.texVertexCount, 0);
    EXPECT_EQ(p.texFaceCount, 2);
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

TEST(ModelFileFaults, UnreadableNumbersAreSkippedAndLongTextIsCut) {
    const Mesh m = read("*3DSMAX_ASCIIEXPORT abc *GEOMOBJECT { *MATERIAL_REF x1 *PROP_CASTSHADOW "
                        "4 *MESH { *MESH_NUMVERTEX 1 *MESH_VERTEX_LIST { *MESH_VERTEX 0 nan 2 "
                        "zz 3 } } *PROP_RECVSHADOW 99999999999 *PROP_MOTIONBLUR 5 }");
    const MeshPart& p = m.parts.at(0);
    EXPECT_EQ(p.materialIndex, 0);
    EXPECT_FLOAT_EQ(p.vertices.at(0).x, 0.0f);
    EXPECT_FLOAT_EQ(p.vertices.at(0).y, 2.0f);
    EXPECT_EQ(p.k1516, 0);
    EXPECT_EQ(p.k3177, 5);
    const std::string word(400, 'x');
    const Mesh cut =
        read("*COMMENT " + word + " *SCENE { *SCENE_FILENAME \"" + word + " " + word + "\" }");
    EXPECT_EQ(cut.k2649.size(), 255u);
    EXPECT_EQ(cut.k3723.size(), 255u);
}

} // namespace
