#include "app/keyword.h"
#include "assets/mesh.h"

#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <unordered_map>

namespace {

constexpr std::size_t maxText = 255;
// No list entry can be written in fewer bytes than this, so a count that the rest of the
// file cannot hold is a broken count, not a reason to allocate. The counts of the whole file
// share that room too: many parts, each claiming the rest of the file, must not add up to
// more entries than the file could describe.
constexpr long long minEntryBytes = 8;

enum : KeywordCode {
    Opener = 3989,
    Closer = 3259,
};

class ModelReader {
  public:
    ModelReader(const std::string& text, Mesh& mesh) : in(text), size(text.size()), mesh(mesh) {}

    void readTopLevel();

  private:
    bool atEnd();
    bool readToken(std::string& token);
    KeywordCode codeOf(const std::string& token);
    KeywordCode nextCode();
    std::int32_t readInt();
    float readFloat();
    Vec3 readVec3();
    Int3 readInt3();
    std::string readString();
    std::int32_t readCount();
    bool skipToOpener();
    void skipNestedBlock();

    // Reads the block after its keyword; `entry` handles each code, returning false for
    // codes it does not know.
    template <typename Handler> void readBlock(Handler entry);

    void readHeader();
    void readMaterialList();
    void readMaterial(MeshMaterial& material);
    void readMap(MeshMaterial& material);
    void readPart(MeshPart& part);
    void readTransform(MeshPart& part);
    void readMeshBlock(MeshPart& part);
    void readFace(MeshPart& part);
    void readFaceNormals(MeshPart& part);
    template <typename T, typename ReadValue>
    void readIndexedList(KeywordCode entryCode, std::vector<T>& list, ReadValue readValue);

    std::istringstream in;
    std::size_t size;
    // A model repeats a few dozen keywords many thousand times; each digest is taken once.
    std::unordered_map<std::string, KeywordCode> codes;
    Mesh& mesh;
    long long claimedEntries = 0;
    bool ended = false;
};

bool ModelReader::atEnd() {
    if (ended) return true;
    in >> std::ws;
    if (!in || in.peek() == std::char_traits<char>::eof()) ended = true;
    return ended;
}

bool ModelReader::readToken(std::string& token) {
    token.clear();
    if (atEnd()) return false;
    in >> token;
    if (token.size() > maxText) token.resize(maxText);
    return !token.empty();
}

KeywordCode ModelReader::codeOf(const std::string& token) {
    const auto known = codes.find(token);
    if (known != codes.end()) return known->second;
    const KeywordCode code = keywordCode(token.c_str());
    codes.emplace(token, code);
    return code;
}

KeywordCode ModelReader::nextCode() {
    std::string token;
    readToken(token);
    return codeOf(token);
}

// A number that cannot be read leaves the value 0 and drops the offending token, so the
// reading always moves forward. An out-of-range number has been consumed already.
std::int32_t ModelReader::readInt() {
    if (atEnd()) return 0;
    std::int32_t value = 0;
    in >> value;
    if (in.fail()) {
        in.clear();
        if (value == 0) {
            std::string dropped;
            readToken(dropped);
        }
        return 0;
    }
    return value;
}

float ModelReader::readFloat() {
    if (atEnd()) return 0;
    float value = 0;
    in >> value;
    if (in.fail()) {
        in.clear();
        if (value == 0) {
            std::string dropped;
            readToken(dropped);
        }
        return 0;
    }
    return value;
}

Vec3 ModelReader::readVec3() {
    Vec3 v;
    v.x = readFloat();
    v.y = readFloat();
    v.z = readFloat();
    return v;
}

Int3 ModelReader::readInt3() {
    Int3 v;
    v.a = readInt();
    v.b = readInt();
    v.c = readInt();
    return v;
}

std::string ModelReader::readString() {
    std::string token;
    readToken(token);
    if (token.empty() || token[0] != '"') return token;
    std::string value = token.substr(1);
    bool closed = token.size() > 1 && token.back() == '"';
    while (!closed && readToken(token)) {
        value += ' ';
        value += token;
        closed = token.back() == '"';
    }
    if (closed && !value.empty()) value.pop_back();
    if (value.size() > maxText) value.resize(maxText);
    return value;
}

std::int32_t ModelReader::readCount() {
    const std::int32_t n = readInt();
    const std::streamoff at = in.tellg();
    const long long left = at < 0 ? 0 : static_cast<long long>(size) - at;
    const long long room = static_cast<long long>(size) / minEntryBytes - claimedEntries;
    if (n < 0 || n > left / minEntryBytes || n > room) return 0;
    claimedEntries += n;
    return n;
}

bool ModelReader::skipToOpener() {
    std::string token;
    while (readToken(token)) {
        if (codeOf(token) == Opener) return true;
    }
    return false;
}

void ModelReader::skipNestedBlock() {
    int depth = 1;
    std::string token;
    while (depth > 0 && readToken(token)) {
        if (token == "{")
            ++depth;
        else if (token == "}")
            --depth;
    }
}

template <typename Handler> void ModelReader::readBlock(Handler entry) {
    if (!skipToOpener()) return;
    while (!atEnd()) {
        const KeywordCode code = nextCode();
        if (code == Closer) return;
        if (code == Opener)
            skipNestedBlock();
        else
            entry(code);
    }
}

void ModelReader::readTopLevel() {
    while (!atEnd()) {
        switch (nextCode()) {
        case 1474: mesh.k1474 = readInt(); break;
        case 2649: mesh.k2649 = readString(); break;
        case 1906: readHeader(); break;
        case 1071: readMaterialList(); break;
        case 1631:
            mesh.parts.emplace_back();
            readPart(mesh.parts.back());
            break;
        default: break;
        }
    }
}

void ModelReader::readHeader() {
    readBlock([this](KeywordCode code) {
        switch (code) {
        case 3723: mesh.k3723 = readString(); break;
        case 2373: mesh.k2373 = readInt(); break;
        case 1200: mesh.k1200 = readInt(); break;
        case 1845: mesh.k1845 = readInt(); break;
        case 632: mesh.k632 = readInt(); break;
        case 352: mesh.k352 = readVec3(); break;
        case 2448: mesh.k2448 = readVec3(); break;
        default: break;
        }
    });
}

void ModelReader::readMaterialList() {
    readBlock([this](KeywordCode code) {
        if (code == 3581) {
            mesh.materialCount = readCount();
            mesh.materials.assign(mesh.materialCount, MeshMaterial());
        } else if (code == 3898) {
            const std::int32_t i = readInt();
            // A material outside the table is read into scratch, so the file stays in step.
            MeshMaterial scratch;
            const bool inTable = i >= 0 && i < mesh.materialCount;
            readMaterial(inTable ? mesh.materials[i] : scratch);
        }
    });
}

void ModelReader::readMaterial(MeshMaterial& m) {
    readBlock([this, &m](KeywordCode code) {
        switch (code) {
        case 918: m.k918 = readString(); break;
        case 2630: m.k2630 = readString(); break;
        case 3841: m.k3841 = readVec3(); break;
        case 2655: m.k2655 = readVec3(); break;
        case 1238: m.k1238 = readVec3(); break;
        case 2030: m.k2030 = readFloat(); break;
        case 2306: m.k2306 = readFloat(); break;
        case 285: m.k285 = readFloat(); break;
        case 1478: m.k1478 = readFloat(); break;
        case 32: m.k32 = readString(); break;
        case 693: m.k693 = readFloat(); break;
        case 1240: m.k1240 = readFloat(); break;
        case 2144: m.k2144 = readString(); break;
        case 3809: m.k3809 = readString(); break;
        case 3125: readMap(m); break;
        default: break;
        }
    });
}

void ModelReader::readMap(MeshMaterial& m) {
    readBlock([this, &m](KeywordCode code) {
        switch (code) {
        case 3306: m.k3306 = readString(); break;
        case 2390: m.k2390 = readString(); break;
        case 3168: m.k3168 = readInt(); break;
        case 1467: m.k1467 = readFloat(); break;
        case 2754: m.textureFile = readString(); break;
        case 2821: m.k2821 = readString(); break;
        case 1855: m.k1855 = readFloat(); break;
        case 1171: m.k1171 = readFloat(); break;
        case 1351: m.k1351 = readFloat(); break;
        case 3253: m.k3253 = readFloat(); break;
        case 3568: m.k3568 = readFloat(); break;
        case 3923: m.k3923 = readFloat(); break;
        case 202: m.k202 = readFloat(); break;
        case 1809: m.k1809 = readFloat(); break;
        case 4089: m.k4089 = readFloat(); break;
        case 1887: m.k1887 = readFloat(); break;
        case 2833: m.k2833 = readFloat(); break;
        case 2585: m.k2585 = readString(); break;
        default: break;
        }
    });
}

void ModelReader::readPart(MeshPart& part) {
    readBlock([this, &part](KeywordCode code) {
        switch (code) {
        case 1156: part.k1156 = readString(); break;
        case 1221: part.materialIndex = readInt(); break;
        case 1462: part.k1462 = readVec3(); break;
        case 1516: part.k1516 = readInt(); break;
        case 3177: part.k3177 = readInt(); break;
        case 3472: part.k3472 = readInt(); break;
        case 2542: readTransform(part); break;
        case 2163: readMeshBlock(part); break;
        default: break;
        }
    });
}

void ModelReader::readTransform(MeshPart& p) {
    readBlock([this, &p](KeywordCode code) {
        switch (code) {
        case 1156: p.t1156 = readString(); break;
        case 4043: p.t4043 = readInt3(); break;
        case 2766: p.t2766 = readInt3(); break;
        case 3193: p.t3193 = readInt3(); break;
        case 2612: p.t2612 = readVec3(); break;
        case 1335: p.t1335 = readVec3(); break;
        case 2826: p.t2826 = readVec3(); break;
        case 1812: p.t1812 = readVec3(); break;
        case 1902: p.t1902 = readVec3(); break;
        case 559: p.t559 = readVec3(); break;
        case 3685: p.t3685 = readVec3(); break;
        case 2793: p.t2793 = readVec3(); break;
        case 3718: p.t3718 = readFloat(); break;
        case 3786: p.t3786 = readFloat(); break;
        default: break;
        }
    });
}

template <typename T, typename ReadValue>
void ModelReader::readIndexedList(KeywordCode entryCode, std::vector<T>& list,
                                  ReadValue readValue) {
    readBlock([&](KeywordCode code) {
        if (code != entryCode) return;
        const std::int32_t i = readInt();
        const T value = readValue();
        if (i >= 0 && static_cast<std::size_t>(i) < list.size()) list[i] = value;
    });
}

void ModelReader::readMeshBlock(MeshPart& p) {
    auto vec3 = [this] { return readVec3(); };
    auto int3 = [this] { return readInt3(); };
    readBlock([&](KeywordCode code) {
        switch (code) {
        case 3001: p.k3001 = readInt(); break;
        case 2850:
            p.vertexCount = readCount();
            p.vertices.assign(p.vertexCount, Vec3{});
            break;
        case 2723:
            p.texVertexCount = readCount();
            p.texVertices.assign(p.texVertexCount, Vec3{});
            break;
        case 2169:
            p.count2169 = readCount();
            p.list3649.assign(p.count2169, Vec3{});
            break;
        case 2004:
            p.faceCount = readCount();
            p.faces.assign(p.faceCount, MeshFace());
            p.faceNormals.assign(p.faceCount, FaceNormals());
            break;
        case 3210:
            p.texFaceCount = readCount();
            p.texFaces.assign(p.texFaceCount, Int3{});
            break;
        case 2682:
            p.count2682 = readCount();
            p.list1794.assign(p.count2682, Int3{});
            break;
        case 848: readIndexedList(279, p.vertices, vec3); break;
        case 2412: readIndexedList(761, p.texVertices, vec3); break;
        case 3649: readIndexedList(446, p.list3649, vec3); break;
        case 2302: readIndexedList(2865, p.texFaces, int3); break;
        case 1794: readIndexedList(1314, p.list1794, int3); break;
        case 1089:
            readBlock([this, &p](KeywordCode entry) {
                if (entry == 3426) readFace(p);
            });
            break;
        case 3844:
            readBlock([this, &p](KeywordCode entry) {
                if (entry == 1852) readFaceNormals(p);
            });
            break;
        default: break;
        }
    });
}

// A face entry: index, a dropped word, three corner slots and five attribute slots.
void ModelReader::readFace(MeshPart& p) {
    const std::int32_t i = readInt();
    MeshFace scratch;
    MeshFace& face = i >= 0 && i < static_cast<std::int32_t>(p.faces.size()) ? p.faces[i] : scratch;
    std::string word;
    // The rest of the index's word when it ends in a colon, else the next token.
    readToken(word);
    for (int slot = 0; slot < 3; ++slot) {
        if (atEnd()) return;
        char label = 0;
        in >> label;
        readToken(word);
        if (label == 'A')
            face.a = readInt();
        else if (label == 'B')
            face.b = readInt();
        else if (label == 'C')
            face.c = readInt();
    }
    for (int slot = 0; slot < 5; ++slot) {
        switch (nextCode()) {
        case 641: face.k641 = readString(); break;
        case 303: face.k303 = readInt(); break;
        case 483: face.k483 = readInt(); break;
        case 663: face.k663 = readInt(); break;
        case 2927: face.k2927 = readInt(); break;
        default: break;
        }
    }
}

void ModelReader::readFaceNormals(MeshPart& p) {
    const std::int32_t i = readInt();
    FaceNormals scratch;
    FaceNormals& entry =
        i >= 0 && i < static_cast<std::int32_t>(p.faceNormals.size()) ? p.faceNormals[i] : scratch;
    entry.faceNormal = readVec3();
    std::string word;
    for (CornerNormal& corner : entry.corners) {
        readToken(word);
        corner.index = readInt();
        corner.normal = readVec3();
    }
}

} // namespace

void readModelText(const std::string& text, Mesh& mesh) {
    ModelReader reader(text, mesh);
    reader.readTopLevel();
}

void readModelFile(const char* fileName, Mesh& mesh) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return;
    std::ostringstream contents;
    contents << file.rdbuf();
    readModelText(contents.str(), mesh);
}
