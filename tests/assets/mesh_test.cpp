#include <gtest/gtest.h>

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

// A corner's shade is 0.625 plus 0.375 times the cosine between its normal and the light from
// (2, 3, 2): 1 facing the light, 0.25 facing away, 0.625 + 0.375 * 2 / sqrt(17) along x. The
// light marble named in capitals is shaded flat at 0.6, and a part keeps the shade baked with
// the material the file named.
TEST(MeshPrepare, CornersAreShadedByTheirNormalsAndOnlyTheLightMarbleInCapitalsIsFlat) {
    const struct {
        int material;
        const char* normal;
        float shade;
    } parts[] = {{1, "0.485071 0.727607 0.485071", 1.0f},
                 {1, "-0.485071 -0.727607 -0.485071", 0.25f},
                 {1, "1 0 0", 0.80690f},
                 {0, "1 0 0", 0.6f}};
    std::string text = materialsText({"LIGHTMARBLE.JPG", "lightmarble.jpg"});
    for (const auto& p : parts)
        text += triangleText(p.material, p.normal);
    Mesh m = meshFrom(text);
    m.setPartMaterial(0, 2);
    ASSERT_EQ(m.parts.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        ASSERT_EQ(m.parts[i].cornerColours.size(), 9u) << i;
        for (float shade : m.parts[i].cornerColours)
            EXPECT_NEAR(shade, parts[i].shade, 1e-4f) << i;
    }
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
