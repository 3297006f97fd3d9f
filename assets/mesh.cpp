#include "assets/mesh.h"

#include "assets/texture.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>

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

Vec3 cornerOf(const std::vector<float>& corners, std::size_t j) {
    return {corners[3 * j], corners[3 * j + 1], corners[3 * j + 2]};
}

// The nine floats of a vertex bit for bit: only corners that are alike in every bit are one.
using VertexBits = std::array<std::uint32_t, 9>;

VertexBits bitsOf(const DrawVertex& vertex) {
    static_assert(sizeof(DrawVertex) == sizeof(VertexBits));
    VertexBits bits;
    std::memcpy(bits.data(), &vertex, sizeof bits);
    return bits;
}

// A corner shared by several faces is sent once, so that the renderer transforms it once; a
// triangle drawn from the same values in the same order gives the same pixels.
void indexCorners(MeshPart& part) {
    const std::size_t floats = std::min(
        {part.cornerPositions.size(), part.cornerColours.size(), part.cornerTexCoords.size()});
    const std::size_t corners = floats / 3;
    part.drawVertices.clear();
    part.drawIndices.clear();
    part.drawIndices.reserve(corners);
    std::map<VertexBits, std::uint32_t> indexOf;
    for (std::size_t j = 0; j < corners; ++j) {
        const DrawVertex vertex = {cornerOf(part.cornerPositions, j),
                                   cornerOf(part.cornerColours, j),
                                   cornerOf(part.cornerTexCoords, j)};
        const auto next = static_cast<std::uint32_t>(part.drawVertices.size());
        const auto [entry, isNew] = indexOf.emplace(bitsOf(vertex), next);
        if (isNew) part.drawVertices.push_back(vertex);
        part.drawIndices.push_back(entry->second);
    }
}

// A material index outside the table draws with the first material's texture.
std::uint32_t textureOf(std::int32_t materialIndex, const std::vector<MeshMaterial>& materials) {
    const MeshMaterial* material = entryAt(materials, materialIndex);
    if (!material) material = entryAt(materials, 0);
    return material ? material->textureName : 0;
}

// Lighting is never on, so GL reads no normal and none is sent: the shading that the normals
// decide is baked into the colours.
void drawPart(const MeshPart& part) {
    if (part.drawIndices.empty()) return;
    const DrawVertex& first = part.drawVertices.front();
    glVertexPointer(3, GL_FLOAT, sizeof(DrawVertex), &first.position);
    glColorPointer(3, GL_FLOAT, sizeof(DrawVertex), &first.colour);
    glTexCoordPointer(3, GL_FLOAT, sizeof(DrawVertex), &first.texCoord);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(part.drawIndices.size()), GL_UNSIGNED_INT,
                   part.drawIndices.data());
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
        const float shade = flat ? flatShade : shadeOf(cornerOf(part.cornerNormals, j));
        part.cornerColours.push_back(shade);
        part.cornerColours.push_back(shade);
        part.cornerColours.push_back(shade);
    }
    indexCorners(part);
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

int Mesh::draw() { return drawInMaterial(-1); }

// A negative material leaves part 0 in its own.
int Mesh::drawInMaterial(int material) const {
    glEnable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::int32_t index = parts[i].materialIndex;
        if (i == 0 && material >= 0 && materialCount > 0) index = material % materialCount;
        glBindTexture(GL_TEXTURE_2D, textureOf(index, materials));
        drawPart(parts[i]);
    }
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_TEXTURE_2D);
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
