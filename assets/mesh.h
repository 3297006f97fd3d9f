#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TextureRegistry;

struct Vec3 {
    float x, y, z;
};

struct Int3 {
    std::int32_t a, b, c;
};

struct MeshMaterial {
    std::string k918;
    std::string k2630;
    Vec3 k3841 = {}, k2655 = {}, k1238 = {};
    float k2030 = 0, k2306 = 0, k285 = 0, k1478 = 0;
    std::string k32;
    float k693 = 0, k1240 = 0;
    std::string k2144;
    std::string k3809;
    std::string k3306;
    std::string k2390;
    std::int32_t k3168 = 0;
    float k1467 = 0;
    // The picture file of this material.
    std::string textureFile;
    // Filled in by the texture registry when the model textures are made.
    std::uint32_t textureName = 0;
    std::string k2821;
    float k1855 = 0, k1171 = 0, k1351 = 0, k3253 = 0, k3568 = 0, k3923 = 0, k202 = 0, k1809 = 0,
          k4089 = 0, k1887 = 0, k2833 = 0;
    std::string k2585;
};

struct MeshFace {
    std::int32_t a = 0, b = 0, c = 0;
    std::int32_t k663 = 0, k303 = 0, k2927 = 0;
    std::string k641;
    std::int32_t k483 = 0;
};

struct CornerNormal {
    std::int32_t index = 0;
    Vec3 normal = {};
};

struct FaceNormals {
    Vec3 faceNormal = {};
    CornerNormal corners[3];
};

// One corner of a part as it is drawn.
struct DrawVertex {
    Vec3 position;
    Vec3 colour;
    Vec3 texCoord;
};

struct MeshPart {
    std::string k1156;
    std::string t1156;
    Int3 t4043 = {}, t2766 = {}, t3193 = {};
    Vec3 t2612 = {}, t1335 = {}, t2826 = {}, t1812 = {}, t1902 = {}, t559 = {};
    float t3718 = 0;
    Vec3 t3685 = {}, t2793 = {};
    float t3786 = 0;
    std::int32_t k3001 = 0;
    std::int32_t vertexCount = 0;
    std::int32_t faceCount = 0;
    std::int32_t texVertexCount = 0;
    std::int32_t texFaceCount = 0;
    std::int32_t count2169 = 0;
    std::int32_t count2682 = 0;
    std::vector<Vec3> vertices;
    std::vector<Vec3> texVertices;
    std::vector<Vec3> list3649;
    std::vector<MeshFace> faces;
    std::vector<Int3> texFaces;
    std::vector<Int3> list1794;
    std::vector<FaceNormals> faceNormals;
    // faceCount x 3 corners of 3 floats each, face by face, corners A, B, C.
    std::vector<float> cornerPositions, cornerColours, cornerNormals, cornerTexCoords;
    // What draw sends: the corners with all three of position, colour and texture coordinate
    // alike stored once, in the order they first occur, and the faces as three indexes each
    // into them, in face and corner order.
    std::vector<DrawVertex> drawVertices;
    std::vector<std::uint32_t> drawIndices;
    Vec3 k1462 = {-1.0f, -1.0f, -1.0f};
    std::int32_t k3177 = 0;
    std::int32_t k3472 = 0;
    std::int32_t k1516 = 0;
    // Index into the mesh's materials.
    std::int32_t materialIndex = 0;
};

// Something the scene can draw and colour part by part.
class Drawable {
  public:
    virtual int draw() = 0;
    virtual void setPartMaterial(int material, int part) = 0;

  protected:
    Drawable() = default;
    ~Drawable() = default;
};

// One loaded model: header values, materials and parts with their prebuilt per-corner arrays.
class Mesh final : public Drawable {
  public:
    // Reads the model file, prepares every part and registers the materials' textures.
    // A file that cannot be opened gives a mesh without materials and parts.
    Mesh(const char* fileName, TextureRegistry* registry);

    // Draws every part with texturing and client vertex arrays, which it switches on and off
    // again itself; returns 0.
    int draw() override;
    // Draws like draw(), with part 0 in the material that setPartMaterial(material, 0) would
    // give it, but without giving it: the mesh is left as it was. Returns 0.
    int drawInMaterial(int material) const;
    // Gives part (part mod parts) the material (material mod materials); does nothing when
    // the mesh has no parts or no materials.
    void setPartMaterial(int material, int part) override;

    std::int32_t k1474 = 0;
    std::string k2649;
    std::string k3723;
    std::int32_t k2373 = 0, k1200 = 0, k1845 = 0, k632 = 0;
    Vec3 k352 = {}, k2448 = {};
    std::int32_t materialCount = 0;
    std::vector<MeshMaterial> materials;
    std::vector<MeshPart> parts;
    // The registry the constructor handed its texture requests to. The loading deletes it
    // once every texture is made, so after that this pointer dangles and is never read.
    TextureRegistry* textures = nullptr;
};

// Reads a model file into the mesh's header, materials and parts. Silent; stops at the end
// of the file whatever state the reading is in.
void readModelFile(const char* fileName, Mesh& mesh);

// Reads model text held in memory, the same way.
void readModelText(const std::string& text, Mesh& mesh);

// Builds the four per-corner arrays of a part, the material deciding the baked shade, and from
// them the part's drawVertices and drawIndices.
void preparePart(MeshPart& part, const std::vector<MeshMaterial>& materials);

// The baked grey of a corner with normal n.
float shadeOf(const Vec3& n);
