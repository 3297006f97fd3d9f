#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "assets/mesh.h"
#include "assets/texture.h"
#include "models.h"

namespace {

Mesh meshFrom(const std::string& text, TextureRegistry* registry = nullptr,
              const char* fileName = "mesh_test.ase") {
    std::ofstream(fileName) << text;
    return Mesh(fileName, registry);
}

TEST(MeshShade, IsFullFacingTheLightAndAQuarterFacingAway) {
    const float l = 1.0f / std::sqrt(17.0f);
    EXPECT_NEAR(shadeOf(Vec3{2 * l, 3 * l, 2 * l}), 1.0f, 1e-5f);
    EXPECT_NEAR(shadeOf(Vec3{-2 * l, -3 * l, -2 * l}), 0.25f, 1e-5f);
}

TEST(MeshPrepare, CornerArraysFollowTheFacesCorners) {
    const Mesh m = meshFrom(materialsText({"a.jpg"}) + triangleText(0, "0 1 0"));
    ASSERT_EQ(m.parts.size(), 1u);
    const MeshPart& p = m.parts[0];
    EXPECT_EQ(p.cornerPositions, (std::vector<float>{7, 8, 9, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(p.cornerTexCoords, (std::vector<float>{1, 0.75f, 0, 0.5f, 0.25f, 0, 1, 0.75f, 0}));
    EXPECT_EQ(p.cornerNormals, (std::vector<float>{0, 1, 0, 0, 1, 0, 0, 1, 0}));
    ASSERT_EQ(p.cornerColours.size(), 9u);
    for (float c : p.cornerColours)
        EXPECT_FLOAT_EQ(c, shadeOf(Vec3{0, 1, 0}));
}

TEST(MeshPrepare, OnlyTheLightMarbleNamedInCapitalsIsShadedFlat) {
    Mesh m = meshFrom(materialsText({"LIGHTMARBLE.JPG", "lightmarble.jpg"}) +
                      triangleText(0, "1 0 0") + triangleText(1, "1 0 0"));
    ASSERT_EQ(m.parts.size(), 2u);
    for (float c : m.parts[0].cornerColours)
        EXPECT_FLOAT_EQ(c, 0.6f);
    for (float c : m.parts[1].cornerColours)
        EXPECT_FLOAT_EQ(c, shadeOf(Vec3{1, 0, 0}));
    // The shade stays as baked with the material the file named.
    m.setPartMaterial(0, 1);
    EXPECT_EQ(m.parts[1].materialIndex, 0);
    EXPECT_FLOAT_EQ(m.parts[1].cornerColours[0], shadeOf(Vec3{1, 0, 0}));
}

TEST(MeshPrepareFaults, BadIndexesGiveZerosNotStrayReads) {
    // Corner indexes 5 and -1 name no vertex; no texture faces at all; material 7 of none.
    const Mesh m = meshFrom("*GEOMOBJECT { *MESH { *MESH_NUMVERTEX 1 *MESH_NUMFACES 2 "
                            "*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 3 } *MESH_FACE_LIST { "
                            "*MESH_FACE 0: A: 0 B: 5 C: -1 AB: 1 BC: 1 CA: 1 x x } } "
                            "*MATERIAL_REF 7 }");
    const MeshPart& p = m.parts.at(0);
    // Face 1 was never given, so all its corners name vertex 0.
    EXPECT_EQ(p.cornerPositions,
              (std::vector<float>{1, 2, 3, 0, 0, 0, 0, 0, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(p.cornerTexCoords, std::vector<float>(18, 0.0f));
    ASSERT_EQ(p.cornerColours.size(), 18u);
    EXPECT_NEAR(p.cornerColours[0], 0.625f, 1e-6f); // a zero normal
}

TEST(MeshMaterial, SetPartMaterialWrapsBothNumbers) {
    Mesh m = meshFrom(materialsText({"a.jpg", "b.jpg"}) + triangleText(0, "0 1 0") +
                      triangleText(0, "0 1 0") + triangleText(0, "0 1 0"));
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
    // With no parts or no materials nothing changes.
    Mesh noMaterials = meshFrom(triangleText(4, "0 1 0"));
    noMaterials.setPartMaterial(1, 0);
    EXPECT_EQ(noMaterials.parts[0].materialIndex, 4);
    Mesh noParts = meshFrom(materialsText({"a.jpg"}));
    noParts.setPartMaterial(1, 0);
    EXPECT_TRUE(noParts.parts.empty());
}

TEST(MeshTextures, RegistryGetsOneRequestPerFileNameInOrder) {
    TextureRegistry registry;
    Mesh board = meshFrom(materialsText({"board.jpg", "wood.jpg"}), &registry, "board.ase");
    Mesh king =
        meshFrom(materialsText({"wood.jpg", "WOOD.jpg", "board.jpg"}), &registry, "king.ase");
    EXPECT_EQ(board.textures, &registry);
    ASSERT_EQ(registry.count, 3);
    const struct {
        const char* file;
        int slots;
    } expected[] = {{"board.jpg", 2}, {"wood.jpg", 2}, {"WOOD.jpg", 1}};
    const TextureRequest* r = registry.requests;
    for (const auto& e : expected) {
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->fileName, e.file);
        EXPECT_EQ(r->slotCount, e.slots);
        r = r->next;
    }
    EXPECT_EQ(r, nullptr);
    EXPECT_EQ(registry.requests->slots[0], &board.materials[0].textureName);
    EXPECT_EQ(registry.requests->slots[1], &king.materials[2].textureName);
}

} // namespace
