#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "assets/mesh.h"
#include "models.h"

namespace {

Mesh meshFrom(const std::string& text) {
    std::ofstream("mesh_test.ase") << text;
    return Mesh("mesh_test.ase", nullptr);
}

TEST(MeshShade, IsFullFacingTheLightAndAQuarterFacingAway) {
    const float l = 1.0f / std::sqrt(17.0f);
    EXPECT_NEAR(shadeOf(Vec3{2 * l, 3 * l, 2 * l}), 1.0f, 1e-5f);
    EXPECT_NEAR(shadeOf(Vec3{-2 * l, -3 * l, -2 * l}), 0.25f, 1e-5f);
}

TEST(MeshPrepare, OnlyTheLightMarbleNamedInCapitalsIsShadedFlat) {
    Mesh m = meshFrom(materialsText({"LIGHTMARBLE.JPG", "lightmarble.jpg"}) +
                      triangleText(0, "1 0 0") + triangleText(1, "1 0 0"));
    ASSERT_EQ(m.parts.size(), 2u);
    EXPECT_EQ(m.parts[0].cornerColours, std::vector<float>(9, 0.6f));
    EXPECT_EQ(m.parts[1].cornerColours, std::vector<float>(9, shadeOf(Vec3{1, 0, 0})));
    // The shade stays as baked with the material the file named.
    m.setPartMaterial(0, 1);
    EXPECT_FLOAT_EQ(m.parts[1].cornerColours[0], shadeOf(Vec3{1, 0, 0}));
}

TEST(MeshPrepareFaults, BadIndexesGiveZerosNotStrayReads) {
    // Corner indexes 1 and -1 name no vertex; no texture faces at all; material 7 of none.
    const Mesh m = meshFrom("*GEOMOBJECT { *MESH { *MESH_NUMVERTEX 1 *MESH_NUMFACES 2 "
                            "*MESH_VERTEX_LIST { *MESH_VERTEX 0 1 2 3 } *MESH_FACE_LIST { "
                            "*MESH_FACE 0: A: 0 B: 1 C: -1 AB: 1 BC: 1 CA: 1 x x } } "
                            "*MATERIAL_REF 7 }");
    const MeshPart& p = m.parts.at(0);
    // Face 1 was never given, so all its corners name vertex 0.
    EXPECT_EQ(p.cornerPositions,
              (std::vector<float>{1, 2, 3, 0, 0, 0, 0, 0, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(p.cornerTexCoords, std::vector<float>(18, 0.0f));
    ASSERT_EQ(p.cornerColours.size(), 18u);
    EXPECT_NEAR(p.cornerColours[0], 0.625f, 1e-6f); // a zero normal
}

TEST(MeshMaterial, SetPartMaterialWrapsBothNumbersAndANegativePartNamesNone) {
    Mesh m = meshFrom(materialsText({"a.jpg", "b.jpg"}) + triangleText(0, "0 1 0") +
                      triangleText(0, "0 1 0") + triangleText(0, "0 1 0"));
    const struct {
        int material, part;
        std::vector<int> after; // every part's material after the call
    } calls[] = {{3, 4, {0, 1, 0}}, {1, 2, {0, 1, 1}}, {-3, 0, {-1, 1, 1}}, {0, -1, {-1, 1, 1}}};
    for (const auto& c : calls) {
        m.setPartMaterial(c.material, c.part);
        std::vector<int> after;
        for (const MeshPart& p : m.parts)
            after.push_back(p.materialIndex);
        EXPECT_EQ(after, c.after) << c.material << ", " << c.part;
    }
    // With no parts or no materials nothing changes.
    Mesh noMaterials = meshFrom(triangleText(4, "0 1 0"));
    noMaterials.setPartMaterial(1, 0);
    EXPECT_EQ(noMaterials.parts[0].materialIndex, 4);
    Mesh noParts = meshFrom(materialsText({"a.jpg"}));
    noParts.setPartMaterial(1, 0);
    EXPECT_TRUE(noParts.parts.empty());
}

} // namespace
