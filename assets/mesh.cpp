#include "assets/mesh.h"

#include "assets/texture.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// The light that the grey shade is baked from, (2, 3, 2) / sqrt(17).
const float lightX = static_cast<float>(2.0 / std::sqrt(17.0));
const float lightY = static_cast<float>(3.0 / std::sqrt(17.0));
const float lightZ = lightX;
constexpr float shadeScale = 0.375f;
constexpr float shadeOffset = 0.25f;
// The marble of the board is already light enough; it gets an even grey instead.
constexpr float flatShade = 0.6f;

template <typename T> const T* entryAt(const std::vector<T>& list, std::int32_t i) {
    return i >= 0 && static_cast<std::size_t>(i) < list.size() ? &list[i] : nullptr;
}

void appendVec3(std::vector<float>& out, const Vec3* v) {
    out.push_back(v ? v->x : 0.0f);
    out.push_back(v ? v->y : 0.0f);
    out.push_back(v ? v->z : 0.0f);
}

} // namespace

float shadeOf(const Vec3& n) {
    return (lightZ * n.z + lightY * n.y + lightX * n.x + 1.0f) * shadeScale + shadeOffset;
}

void preparePart(MeshPart& part, const std::vector<MeshMaterial>& materials) {
    const std::size_t corners = static_cast<std::size_t>(part.faceCount) * 3;
    part.cornerPositions.clear();
    part.cornerNormals.clear();
    part.cornerTexCoords.clear();
    part.cornerColours.clear();
    part.cornerPositions.reserve(corners * 3);
    part.cornerNormals.reserve(corners * 3);
    part.cornerTexCoords.reserve(corners * 3);
    part.cornerColours.reserve(corners * 3);

    for (const MeshFace& face : part.faces) {
        appendVec3(part.cornerPositions, entryAt(part.vertices, face.a));
        appendVec3(part.cornerPositions, entryAt(part.vertices, face.b));
        appendVec3(part.cornerPositions, entryAt(part.vertices, face.c));
    }
    for (const FaceNormals& normals : part.faceNormals) {
        for (const CornerNormal& corner : normals.corners)
            appendVec3(part.cornerNormals, &corner.normal);
    }
    for (std::int32_t i = 0; i < part.faceCount; ++i) {
        const Int3* texFace = entryAt(part.texFaces, i);
        appendVec3(part.cornerTexCoords, texFace ? entryAt(part.texVertices, texFace->a) : nullptr);
        appendVec3(part.cornerTexCoords, texFace ? entryAt(part.texVertices, texFace->b) : nullptr);
        appendVec3(part.cornerTexCoords, texFace ? entryAt(part.texVertices, texFace->c) : nullptr);
    }

    const MeshMaterial* material = entryAt(materials, part.materialIndex);
    const bool flat = material && material->textureFile == "LIGHTMARBLE.JPG";
    for (std::size_t j = 0; j < corners; ++j) {
        const Vec3 n = {part.cornerNormals[3 * j], part.cornerNormals[3 * j + 1],
                        part.cornerNormals[3 * j + 2]};
        const float shade = flat ? flatShade : shadeOf(n);
        part.cornerColours.push_back(shade);
        part.cornerColours.push_back(shade);
        part.cornerColours.push_back(shade);
    }
}

Mesh::Mesh(const char* fileName, TextureRegistry* registry) {
    readModelFile(fileName, *this);
    textures = registry;
    for (MeshPart& part : parts)
        preparePart(part, materials);
    if (textures) {
        for (MeshMaterial& material : materials)
            textures->add(material.textureFile.c_str(), &material.textureName);
    }
}

int Mesh::draw() {
    for (const MeshPart& part : parts) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnable(GL_TEXTURE_2D);
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(3, GL_FLOAT, 0, part.cornerColours.data());
        // A material index outside the table draws with the first material's texture.
        const MeshMaterial* material = entryAt(materials, part.materialIndex);
        if (!material) material = entryAt(materials, 0);
        glBindTexture(GL_TEXTURE_2D, material ? material->textureName : 0);
        glTexCoordPointer(3, GL_FLOAT, 0, part.cornerTexCoords.data());
        glVertexPointer(3, GL_FLOAT, 0, part.cornerPositions.data());
        // The positions, not cornerNormals, on purpose: lighting is never switched on, so GL
        // reads no normal; the shading that the normals decide is baked into the colours.
        glNormalPointer(GL_FLOAT, 0, part.cornerPositions.data());
        glDrawArrays(GL_TRIANGLES, 0, part.faceCount * 3);
    }
    return 0;
}

void Mesh::setPartMaterial(int material, int part) {
    const int partCount = static_cast<int>(parts.size());
    if (partCount == 0 || materialCount == 0) return;
    // A negative part number has a negative remainder, which names no part.
    const int index = part % partCount;
    if (index < 0) return;
    parts[index].materialIndex = material % materialCount;
}
