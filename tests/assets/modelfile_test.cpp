#include "assets/mesh.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Mesh read(const std::string& text) {
    Mesh mesh("no-such-model.ase", nullptr);
    readModelText(text, mesh);
    return mesh;
}

const char* const onePart = R"(*3DSMAX_ASCIIEXPORT 200
*COMMENT "AsciiExport Version  2,00 - Mon Dec 07 2026"
*SCENE {
    *SCENE_FILENAME "pawn.max"
    *SCENE_FIRSTFRAME 0
    *SCENE_LASTFRAME 100
    *SCENE_FRAMESPEED 30
    *SCENE_TICKSPERFRAME 160
    *SCENE_BACKGROUND_STATIC 0.1 0.2 0.3
    *SCENE_AMBIENT_STATIC 0.4 0.5 0.6
}
*MATERIAL_LIST {
    *MATERIAL_COUNT 2
    *MATERIAL 0 {
        *MATERIAL_NAME "Dark wood"
        *MATERIAL_DIFFUSE 0.5 0.25 0.125
        *MATERIAL_SHINE 0.75
        *MAP_DIFFUSE {
            *MAP_NAME "Map #1"
            *MAP_SUBNO 1
            *BITMAP "dark.jpg"
            *UVW_U_TILING 2.0
        }
    }
    *MATERIAL 1 {
        *MATERIAL_NAME "Light"
        *MAP_DIFFUSE {
            *BITMAP "light.jpg"
        }
    }
}
*GEOMOBJECT {
    *NODE_NAME "Pawn"
    *NODE_TM {
        *NODE_NAME "Pawn"
        *INHERIT_POS 0 1 0
        *TM_ROW3 1.5 2.5 3.5
        *TM_ROTANGLE 0.25
    }
    *MESH {
        *TIMEVALUE 7
        *MESH_NUMVERTEX 3
        *MESH_NUMFACES 1
        *MESH_VERTEX_LIST {
            *MESH_VERTEX    0	0.0000	0.0000	0.0000
            *MESH_VERTEX    1	1.0000	0.0000	0.0000
            *MESH_VERTEX    2	0.0000	1.0000	0.0000
        }
        *MESH_FACE_LIST {
            *MESH_FACE    0:    A:    0 B:    1 C:    2 AB:    1 BC:    1 CA:    0	 *MESH_SMOOTHING 1 	*MESH_MTLID 4
        }
        *MESH_NUMTVERTEX 2
        *MESH_TVERTLIST {
            *MESH_TVERT 0	0.5	0.25	0.0
            *MESH_TVERT 1	1.0	0.75	0.0
        }
        *MESH_NUMTVFACES 1
        *MESH_TFACELIST {
            *MESH_TFACE 0	1	0	1
        }
        *MESH_NORMALS {
            *MESH_FACENORMAL 0	0.0000	0.0000	1.0000
                *MESH_VERTEXNORMAL 0	0.0000	1.0000	0.0000
                *MESH_VERTEXNORMAL 1	1.0000	0.0000	0.0000
                *MESH_VERTEXNORMAL 2	0.0000	0.0000	1.0000
        }
    }
    *PROP_MOTIONBLUR 1
    *PROP_CASTSHADOW 1
    *PROP_RECVSHADOW 0
    *MATERIAL_REF 1
}
)";

TEST(ModelFile, ReadsHeaderMaterialsAndPart) {
    const Mesh m = read(onePart);
    EXPECT_EQ(m.k1474, 200);
    EXPECT_EQ(m.k2649, "AsciiExport Version 2,00 - Mon Dec 07 2026");
    EXPECT_EQ(m.k3723, "pawn.max");
    EXPECT_EQ(m.k1200, 100);
    EXPECT_EQ(m.k632, 160);
    EXPECT_FLOAT_EQ(m.k352.z, 0.3f);
    EXPECT_FLOAT_EQ(m.k2448.x, 0.4f);
    ASSERT_EQ(m.materialCount, 2);
    ASSERT_EQ(m.materials.size(), 2u);
    EXPECT_EQ(m.materials[0].k918, "Dark wood");
    EXPECT_FLOAT_EQ(m.materials[0].k2655.y, 0.25f);
    EXPECT_FLOAT_EQ(m.materials[0].k2030, 0.75f);
    EXPECT_EQ(m.materials[0].k3306, "Map #1");
    EXPECT_EQ(m.materials[0].k3168, 1);
    EXPECT_EQ(m.materials[0].textureFile, "dark.jpg");
    EXPECT_FLOAT_EQ(m.materials[0].k1351, 2.0f);
    EXPECT_EQ(m.materials[1].textureFile, "light.jpg");

    ASSERT_EQ(m.parts.size(), 1u);
    const MeshPart& p = m.parts[0];
    EXPECT_EQ(p.k1156, "Pawn");
    EXPECT_EQ(p.t1156, "Pawn");
    EXPECT_EQ(p.t4043.b, 1);
    EXPECT_FLOAT_EQ(p.t1812.y, 2.5f);
    EXPECT_FLOAT_EQ(p.t3718, 0.25f);
    EXPECT_EQ(p.k3001, 7);
    EXPECT_EQ(p.vertexCount, 3);
    EXPECT_FLOAT_EQ(p.vertices[1].x, 1.0f);
    EXPECT_FLOAT_EQ(p.vertices[2].y, 1.0f);
    ASSERT_EQ(p.faceCount, 1);
    EXPECT_EQ(p.faces[0].a, 0);
    EXPECT_EQ(p.faces[0].b, 1);
    EXPECT_EQ(p.faces[0].c, 2);
    EXPECT_EQ(p.faces[0].k663, 1);
    EXPECT_EQ(p.faces[0].k303, 1);
    EXPECT_EQ(p.faces[0].k2927, 0);
    EXPECT_EQ(p.faces[0].k641, "1");
    EXPECT_EQ(p.faces[0].k483, 4);
    EXPECT_FLOAT_EQ(p.texVertices[1].y, 0.75f);
    EXPECT_EQ(p.texFaces[0].a, 1);
    EXPECT_EQ(p.texFaces[0].c, 1);
    EXPECT_FLOAT_EQ(p.faceNormals[0].faceNormal.z, 1.0f);
    EXPECT_EQ(p.faceNormals[0].corners[2].index, 2);
    EXPECT_FLOAT_EQ(p.faceNormals[0].corners[0].normal.y, 1.0f);
    EXPECT_FLOAT_EQ(p.k1462.x, -1.0f);
    EXPECT_EQ(p.k3177, 1);
    EXPECT_EQ(p.k1516, 0);
    EXPECT_EQ(p.materialIndex, 1);
}

TEST(ModelFile, FileWithoutTopLevelKeywordsGivesEmptyMesh) {
    const Mesh m = read("hello { *MESH_NUMVERTEX 3 } *MATERIAL_COUNT 4 }");
    EXPECT_EQ(m.materialCount, 0);
    EXPECT_TRUE(m.materials.empty());
    EXPECT_TRUE(m.parts.empty());
}

TEST(ModelFile, MissingFileGivesEmptyMesh) {
    const Mesh m("no-such-model.ase", nullptr);
    EXPECT_TRUE(m.parts.empty());
    EXPECT_TRUE(m.materials.empty());
}

TEST(ModelFile, NestedBlockInPartIsSkippedWhole) {
    const Mesh m = read("*GEOMOBJECT { *NODE_NAME a { *NODE_NAME b { *MATERIAL_REF 5 } "
                        "*MATERIAL_REF 6 } *PROP_CASTSHADOW 3 }");
    ASSERT_EQ(m.parts.size(), 1u);
    EXPECT_EQ(m.parts[0].k1156, "a");
    EXPECT_EQ(m.parts[0].materialIndex, 0);
    EXPECT_EQ(m.parts[0].k3472, 3);
}

TEST(ModelFile, KeywordInWrongBlockChangesNothing) {
    const Mesh m = read("*GEOMOBJECT { *MESH_NUMVERTEX 3 *MESH { *MATERIAL_REF 2 } }");
    ASSERT_EQ(m.parts.size(), 1u);
    EXPECT_EQ(m.parts[0].vertexCount, 0);
    EXPECT_TRUE(m.parts[0].vertices.empty());
    EXPECT_EQ(m.parts[0].materialIndex, 0);
}

TEST(ModelFile, TokensActByCodeNotText) {
    // *CAMERAOBJECT shares its code with *MESH_FACE.
    const Mesh m = read("*GEOMOBJECT { *MESH { *MESH_NUMFACES 1 *MESH_FACE_LIST { "
                        "*CAMERAOBJECT 0: A: 4 B: 5 C: 6 AB: 1 BC: 1 CA: 1 x x } } }");
    ASSERT_EQ(m.parts.size(), 1u);
    ASSERT_EQ(m.parts[0].faceCount, 1);
    EXPECT_EQ(m.parts[0].faces[0].a, 4);
    EXPECT_EQ(m.parts[0].faces[0].c, 6);
}

TEST(ModelFile, StringsWithQuotes) {
    const Mesh m = read("*COMMENT \"two    words\" *SCENE { *SCENE_FILENAME \"\" } "
                        "*MATERIAL_LIST { *MATERIAL_COUNT 1 *MATERIAL 0 { *MATERIAL_NAME "
                        "ab\"cd *MATERIAL_CLASS \"one\" } }");
    EXPECT_EQ(m.k2649, "two words");
    EXPECT_EQ(m.k3723, "");
    ASSERT_EQ(m.materials.size(), 1u);
    EXPECT_EQ(m.materials[0].k918, "ab\"cd");
    EXPECT_EQ(m.materials[0].k2630, "one");
}

TEST(ModelFile, LowerCaseCornerLabelReadsNoNumber) {
    // "a:" reads nothing, so 7 becomes the second corner's label and "B:" the third's.
    const Mesh m = read("*GEOMOBJECT { *MESH { *MESH_NUMFACES 1 *MESH_FACE_LIST { "
                        "*MESH_FACE 0: a: 7 B: 8 C: 9 AB: 2 BC: 3 CA: 4 *MESH_MTLID 5 } } }");
    const MeshFace& f = m.parts.at(0).faces.at(0);
    EXPECT_EQ(f.a, 0);
    EXPECT_EQ(f.b, 0);
    EXPECT_EQ(f.c, 0);
    // The five attribute slots are then "9", "AB:", "BC:", "CA:" and "*MESH_MTLID".
    EXPECT_EQ(f.k663, 2);
    EXPECT_EQ(f.k303, 3);
    EXPECT_EQ(f.k2927, 4);
    EXPECT_EQ(f.k483, 5);
}

TEST(ModelFile, FaceWithTooFewAttributesSwallowsNextEntry) {
    const Mesh m = read("*GEOMOBJECT { *MESH { *MESH_NUMFACES 2 *MESH_FACE_LIST { "
                        "*MESH_FACE 0: A: 1 B: 2 C: 3 AB: 1 "
                        "*MESH_FACE 1: A: 4 B: 5 C: 6 AB: 1 BC: 1 CA: 1 x x } } }");
    const MeshPart& p = m.parts.at(0);
    EXPECT_EQ(p.faces[0].a, 1);
    EXPECT_EQ(p.faces[1].a, 0);
    EXPECT_EQ(p.faces[1].c, 0);
}

TEST(ModelFile, MaterialCountGivenAgainReplacesMaterials) {
    const Mesh m = read("*MATERIAL_LIST { *MATERIAL_COUNT 2 *MATERIAL 1 { *MATERIAL_NAME x } "
                        "*MATERIAL_COUNT 3 *MATERIAL 2 { *MATERIAL_NAME y } }");
    ASSERT_EQ(m.materialCount, 3);
    EXPECT_EQ(m.materials[1].k918, "");
    EXPECT_EQ(m.materials[2].k918, "y");
}

TEST(ModelFile, PartsAndMaterialsKeepFileOrder) {
    const Mesh m = read("*MATERIAL_LIST { *MATERIAL_COUNT 2 *MATERIAL 1 { *MATERIAL_NAME b } "
                        "*MATERIAL 0 { *MATERIAL_NAME a } } *GEOMOBJECT { *NODE_NAME first } "
                        "*GEOMOBJECT { *NODE_NAME second } *GEOMOBJECT { *NODE_NAME third }");
    EXPECT_EQ(m.materials[0].k918, "a");
    EXPECT_EQ(m.materials[1].k918, "b");
    ASSERT_EQ(m.parts.size(), 3u);
    EXPECT_EQ(m.parts[1].k1156, "second");
    EXPECT_EQ(m.parts[2].k1156, "third");
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
    EXPECT_EQ(p.faces[0].a, 0);
    EXPECT_FLOAT_EQ(p.faceNormals[0].faceNormal.x, 0.0f);
}

TEST(ModelFileFaults, HugeAndNegativeCountsAreTreatedAsZero) {
    const Mesh m = read("*MATERIAL_LIST { *MATERIAL_COUNT 2000000000 } *GEOMOBJECT { *MESH { "
                        "*MESH_NUMVERTEX 2000000000 *MESH_NUMFACES 1000000 "
                        "*MESH_NUMTVERTEX -5 *MESH_NUMTVFACES 2 *COMMENT room_for_two_entries } }");
    EXPECT_EQ(m.materialCount, 0);
    const MeshPart& p = m.parts.at(0);
    EXPECT_EQ(p.vertexCount, 0);
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

TEST(ModelFileFaults, EndOfFileAnywhereEndsTheReading) {
    const char* const truncated[] = {
        "*GEOMOBJECT { *NODE_NAME a { { {",
        "*GEOMOBJECT *NODE_NAME a",
        "*COMMENT \"never closed",
        "*GEOMOBJECT { *MESH { *MESH_NUMFACES 1 *MESH_FACE_LIST { *MESH_FACE 0: A:",
        "*GEOMOBJECT { *MESH { *MESH_NUMFACES 1 *MESH_NORMALS { *MESH_FACENORMAL 0 1",
        "*MATERIAL_LIST { *MATERIAL_COUNT 1 *MATERIAL 0",
        "*3DSMAX_ASCIIEXPORT",
    };
    for (const char* text : truncated) {
        const Mesh m = read(text);
        EXPECT_LE(m.parts.size(), 1u) << text;
    }
    EXPECT_EQ(read("*COMMENT \"never closed").k2649, "never closed");
}

TEST(ModelFileFaults, UnreadableNumbersAreSkipped) {
    const Mesh m = read("*3DSMAX_ASCIIEXPORT abc *GEOMOBJECT { *MATERIAL_REF x1 *PROP_CASTSHADOW "
                        "4 *MESH { *MESH_NUMVERTEX 1 *MESH_VERTEX_LIST { *MESH_VERTEX 0 nan 2 "
                        "zz 3 } } *PROP_RECVSHADOW 99999999999 *PROP_MOTIONBLUR 5 }");
    EXPECT_EQ(m.k1474, 0);
    ASSERT_EQ(m.parts.size(), 1u);
    const MeshPart& p = m.parts[0];
    EXPECT_EQ(p.materialIndex, 0);
    EXPECT_EQ(p.k3472, 4);
    EXPECT_FLOAT_EQ(p.vertices.at(0).x, 0.0f);
    EXPECT_FLOAT_EQ(p.vertices.at(0).y, 2.0f);
    EXPECT_EQ(p.k1516, 0);
    EXPECT_EQ(p.k3177, 5);
}

TEST(ModelFileFaults, LongTokensAndStringsAreCutTo255) {
    const std::string longWord(400, 'x');
    const Mesh m = read("*COMMENT " + longWord + " *SCENE { *SCENE_FILENAME \"" + longWord + " " +
                        longWord + "\" }");
    EXPECT_EQ(m.k2649.size(), 255u);
    EXPECT_EQ(m.k3723.size(), 255u);
}

} // namespace
