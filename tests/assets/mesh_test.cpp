#include "assets/mesh.h"
#include "assets/texture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

namespace {

// One triangle per part, every corner with the same normal; the part uses `material`.
std::string partText(int material, const char* normal) {
    return std::string("*GEOMOBJECT { *MESH { *MESH_NUMVERTEX 3 *MESH_NUMFACES 1 "
                       "*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 3 *MESH_VERTEX 1 4 5 6 "
                       "*MESH_VERTEX 2 7 8 9 } "
                       "*MESH_FACE_LIST { *MESH_FACE 0: A: 2 B: 0 C: 1 AB: 1 BC: 1 CA: 1 "
                       "*MESH_SMOOTHING 1 *MESH_MTLID 0 } "
                       "*MESH_NUMTVERTEX 2 *MESH_TVERTLIST { *MESH_TVERT 0 0.5 0.25 0 "
                       "*MESH_TVERT 1 1 0.75 0 } *MESH_NUMTVFACES 1 *MESH_TFACELIST { "
                       "*MESH_TFACE 0 1 0 1 } *MESH_NORMALS { *MESH_FACENORMAL 0 0 0 1 "
                       "*MESH_VERTEXNORMAL 0 ") +
           normal + " *MESH_VERTEXNORMAL 1 " + normal + " *MESH_VERTEXNORMAL 2 " + normal +
           " } } *MATERIAL_REF " + std::to_string(material) + " }\n";
}

std::string materialsText(std::initializer_list<const char*> files) {
    std::string text = "*MATERIAL_LIST { *MATERIAL_COUNT " + std::to_string(files.size());
    int i = 0;
    for (const char* file : files)
        text +=
            " *MATERIAL " + std::to_string(i++) + " { *MAP_DIFFUSE { *BITMAP \"" + file + "\" } }";
    return text + " }\n";
}

Mesh meshFrom(const std::string& text, TextureRegistry* registry = nullptr,
              const char* fileName = "mesh_test.ase") {
    std::ofstream(fileName) << text;
    return Mesh(fileName, registry);
}

float shadeFor(float x, float y, float z) { return shadeOf(Vec3{x, y, z}); }

TEST(MeshShade, ShadeFollowsTheLight) {
    EXPECT_NEAR(shadeFor(0, 1, 0), 0.8979f, 5e-5f);
    EXPECT_NEAR(shadeFor(1, 0, 0), 0.8069f, 5e-5f);
    EXPECT_NEAR(shadeFor(0, 0, 1), 0.8069f, 5e-5f);
    const float l = 1.0f / std::sqrt(17.0f);
    EXPECT_NEAR(shadeFor(2 * l, 3 * l, 2 * l), 1.0f, 1e-5f);
    EXPECT_NEAR(shadeFor(-2 * l, -3 * l, -2 * l), 0.25f, 1e-5f);
}

TEST(MeshPrepare, CornerArraysFollowFacesAndCorners) {
    const Mesh m = meshFrom(materialsText({"a.jpg"}) + partText(0, "0 1 0"));
    ASSERT_EQ(m.parts.size(), 1u);
    const MeshPart& p = m.parts[0];
    const std::vector<float> positions = {7, 8, 9, 1, 2, 3, 4, 5, 6};
    EXPECT_EQ(p.cornerPositions, positions);
    const std::vector<float> texCoords = {1, 0.75f, 0, 0.5f, 0.25f, 0, 1, 0.75f, 0};
    EXPECT_EQ(p.cornerTexCoords, texCoords);
    const std::vector<float> normals = {0, 1, 0, 0, 1, 0, 0, 1, 0};
    EXPECT_EQ(p.cornerNormals, normals);
    ASSERT_EQ(p.cornerColours.size(), 9u);
    for (float c : p.cornerColours)
        EXPECT_NEAR(c, 0.8979f, 5e-5f);
}

TEST(MeshPrepare, LightMarbleIsShadedFlatAndOnlyInThatCase) {
    const Mesh m = meshFrom(materialsText({"LIGHTMARBLE.JPG", "lightmarble.jpg"}) +
                            partText(0, "1 0 0") + partText(1, "1 0 0"));
    ASSERT_EQ(m.parts.size(), 2u);
    for (float c : m.parts[0].cornerColours)
        EXPECT_FLOAT_EQ(c, 0.6f);
    for (float c : m.parts[1].cornerColours)
        EXPECT_NEAR(c, 0.8069f, 5e-5f);
}

TEST(MeshPrepare, ShadeIsBakedWithTheMaterialReadFromTheFile) {
    Mesh m = meshFrom(materialsText({"LIGHTMARBLE.JPG", "b.jpg"}) + partText(1, "0 1 0"));
    m.setPartMaterial(0, 0);
    EXPECT_EQ(m.parts[0].materialIndex, 0);
    EXPECT_NEAR(m.parts[0].cornerColours[0], 0.8979f, 5e-5f);
}

TEST(MeshPrepareFaults, BadIndexesGiveZerosNotStrayReads) {
    // Corner indexes 5 and -1 name no vertex; no texture faces at all; material 7 of none.
    const Mesh m = meshFrom("*GEOMOBJECT { *MESH { *MESH_NUMVERTEX 1 *MESH_NUMFACES 2 "
                            "*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 3 } *MESH_FACE_LIST { "
                            "*MESH_FACE 0: A: 0 B: 5 C: -1 AB: 1 BC: 1 CA: 1 x x } } "
                            "*MATERIAL_REF 7 }");
    const MeshPart& p = m.parts.at(0);
    ASSERT_EQ(p.cornerPositions.size(), 18u);
    // Face 1 was never given, so all its corners name vertex 0.
    const std::vector<float> positions = {1, 2, 3, 0, 0, 0, 0, 0, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3};
    EXPECT_EQ(p.cornerPositions, positions);
    ASSERT_EQ(p.cornerTexCoords.size(), 18u);
    for (float t : p.cornerTexCoords)
        EXPECT_FLOAT_EQ(t, 0.0f);
    ASSERT_EQ(p.cornerColours.size(), 18u);
    EXPECT_NEAR(p.cornerColours[0], 0.625f, 1e-6f); // a zero normal
}

TEST(MeshMaterial, SetPartMaterialWrapsBothNumbers) {
    Mesh m = meshFrom(materialsText({"a.jpg", "b.jpg"}) + partText(0, "0 1 0") +
                      partText(0, "0 1 0") + partText(0, "0 1 0"));
    m.setPartMaterial(3, 4);
    EXPECT_EQ(m.parts[0].materialIndex, 0);
    EXPECT_EQ(m.parts[1].materialIndex, 1);
    EXPECT_EQ(m.parts[2].materialIndex, 0);
    m.setPartMaterial(1, 2);
    EXPECT_EQ(m.parts[2].materialIndex, 1);
    m.setPartMaterial(-3, 0);
    EXPECT_EQ(m.parts[0].materialIndex, -1);
    // A negative part number names no part.
    m.setPartMaterial(0, -1);
    EXPECT_EQ(m.parts[2].materialIndex, 1);
}

TEST(MeshMaterial, OneMaterialServesBothColours) {
    Mesh m = meshFrom(materialsText({"a.jpg"}) + partText(0, "0 1 0"));
    m.setPartMaterial(1, 0);
    EXPECT_EQ(m.parts[0].materialIndex, 0);
}

TEST(MeshMaterial, SetPartMaterialWithoutPartsOrMaterialsDoesNothing) {
    Mesh noParts = meshFrom(materialsText({"a.jpg"}));
    noParts.setPartMaterial(1, 0);
    EXPECT_TRUE(noParts.parts.empty());
    Mesh noMaterials = meshFrom(partText(4, "0 1 0"));
    noMaterials.setPartMaterial(1, 0);
    EXPECT_EQ(noMaterials.parts[0].materialIndex, 4);
}

TEST(MeshTextures, RegistryGetsOneRequestPerFileNameInOrder) {
    TextureRegistry registry;
    Mesh board = meshFrom(materialsText({"board.jpg", "wood.jpg"}), &registry, "board.ase");
    Mesh king =
        meshFrom(materialsText({"wood.jpg", "WOOD.jpg", "board.jpg"}), &registry, "king.ase");
    EXPECT_EQ(board.textures, &registry);
    ASSERT_EQ(registry.count, 3);
    const TextureRequest* r = registry.requests;
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->fileName, "board.jpg");
    ASSERT_EQ(r->slotCount, 2);
    EXPECT_EQ(r->slots[0], &board.materials[0].textureName);
    EXPECT_EQ(r->slots[1], &king.materials[2].textureName);
    r = r->next;
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->fileName, "wood.jpg");
    EXPECT_EQ(r->slotCount, 2);
    r = r->next;
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->fileName, "WOOD.jpg");
    EXPECT_EQ(r->slotCount, 1);
    EXPECT_EQ(r->next, nullptr);
}

} // namespace
