#include "app/core/keyword.h"
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

// The keyword codes the reader steers by, named after the keyword text each stands for.
// Block delimiters
constexpr KeywordCode BlockOpen = 3989;  // {
constexpr KeywordCode BlockClose = 3259; // }
// Top level
constexpr KeywordCode AsciiExport = 1474;  // *3DSMAX_ASCIIEXPORT
constexpr KeywordCode Comment = 2649;      // *COMMENT
constexpr KeywordCode Scene = 1906;        // *SCENE
constexpr KeywordCode MaterialList = 1071; // *MATERIAL_LIST
constexpr KeywordCode Geomobject = 1631;   // *GEOMOBJECT
// Scene block
constexpr KeywordCode SceneFilename = 3723;        // *SCENE_FILENAME
constexpr KeywordCode SceneFirstframe = 2373;      // *SCENE_FIRSTFRAME
constexpr KeywordCode SceneLastframe = 1200;       // *SCENE_LASTFRAME
constexpr KeywordCode SceneFramespeed = 1845;      // *SCENE_FRAMESPEED
constexpr KeywordCode SceneTicksperframe = 632;    // *SCENE_TICKSPERFRAME
constexpr KeywordCode SceneBackgroundStatic = 352; // *SCENE_BACKGROUND_STATIC
constexpr KeywordCode SceneAmbientStatic = 2448;   // *SCENE_AMBIENT_STATIC
// Material list block
constexpr KeywordCode MaterialCount = 3581; // *MATERIAL_COUNT
constexpr KeywordCode Material = 3898;      // *MATERIAL
// Material block
constexpr KeywordCode MaterialName = 918;           // *MATERIAL_NAME
constexpr KeywordCode MaterialClass = 2630;         // *MATERIAL_CLASS
constexpr KeywordCode MaterialAmbient = 3841;       // *MATERIAL_AMBIENT
constexpr KeywordCode MaterialDiffuse = 2655;       // *MATERIAL_DIFFUSE
constexpr KeywordCode MaterialSpecular = 1238;      // *MATERIAL_SPECULAR
constexpr KeywordCode MaterialShine = 2030;         // *MATERIAL_SHINE
constexpr KeywordCode MaterialShinestrength = 2306; // *MATERIAL_SHINESTRENGTH
constexpr KeywordCode MaterialTransparency = 285;   // *MATERIAL_TRANSPARENCY
constexpr KeywordCode MaterialWiresize = 1478;      // *MATERIAL_WIRESIZE
constexpr KeywordCode MaterialShading = 32;         // *MATERIAL_SHADING
constexpr KeywordCode MaterialXpFalloff = 693;      // *MATERIAL_XP_FALLOFF
constexpr KeywordCode MaterialSelfillum = 1240;     // *MATERIAL_SELFILLUM
constexpr KeywordCode MaterialFalloff = 2144;       // *MATERIAL_FALLOFF
constexpr KeywordCode MaterialXpType = 3809;        // *MATERIAL_XP_TYPE
constexpr KeywordCode MapDiffuse = 3125;            // *MAP_DIFFUSE
// Map block
constexpr KeywordCode MapName = 3306;       // *MAP_NAME
constexpr KeywordCode MapClass = 2390;      // *MAP_CLASS
constexpr KeywordCode MapSubno = 3168;      // *MAP_SUBNO
constexpr KeywordCode MapAmount = 1467;     // *MAP_AMOUNT
constexpr KeywordCode Bitmap = 2754;        // *BITMAP
constexpr KeywordCode MapType = 2821;       // *MAP_TYPE
constexpr KeywordCode UvwUOffset = 1855;    // *UVW_U_OFFSET
constexpr KeywordCode UvwVOffset = 1171;    // *UVW_V_OFFSET
constexpr KeywordCode UvwUTiling = 1351;    // *UVW_U_TILING
constexpr KeywordCode UvwVTiling = 3253;    // *UVW_V_TILING
constexpr KeywordCode UvwAngle = 3568;      // *UVW_ANGLE
constexpr KeywordCode UvwBlur = 3923;       // *UVW_BLUR
constexpr KeywordCode UvwBlurOffset = 202;  // *UVW_BLUR_OFFSET
constexpr KeywordCode UvwNouseAmt = 1809;   // *UVW_NOUSE_AMT
constexpr KeywordCode UvwNoiseSize = 4089;  // *UVW_NOISE_SIZE
constexpr KeywordCode UvwNoiseLevel = 1887; // *UVW_NOISE_LEVEL
constexpr KeywordCode UvwNoisePhase = 2833; // *UVW_NOISE_PHASE
constexpr KeywordCode BitmapFilter = 2585;  // *BITMAP_FILTER
// Part (geometry object) block
constexpr KeywordCode NodeName = 1156;       // *NODE_NAME
constexpr KeywordCode NodeTm = 2542;         // *NODE_TM
constexpr KeywordCode MeshBlock = 2163;      // *MESH
constexpr KeywordCode PropMotionblur = 3177; // *PROP_MOTIONBLUR
constexpr KeywordCode PropCastshadow = 3472; // *PROP_CASTSHADOW
constexpr KeywordCode PropRecvshadow = 1516; // *PROP_RECVSHADOW
constexpr KeywordCode MaterialRef = 1221;    // *MATERIAL_REF
constexpr KeywordCode PartVector1462 = 1462; // (no keyword text: three floats, stored, unused)
// Transform block
constexpr KeywordCode InheritPos = 4043;     // *INHERIT_POS
constexpr KeywordCode InheritRot = 2766;     // *INHERIT_ROT
constexpr KeywordCode InheritScl = 3193;     // *INHERIT_SCL
constexpr KeywordCode TmRow0 = 2612;         // *TM_ROW0
constexpr KeywordCode TmRow1 = 1335;         // *TM_ROW1
constexpr KeywordCode TmRow2 = 2826;         // *TM_ROW2
constexpr KeywordCode TmRow3 = 1812;         // *TM_ROW3
constexpr KeywordCode TmPos = 1902;          // *TM_POS
constexpr KeywordCode TmRotaxis = 559;       // *TM_ROTAXIS
constexpr KeywordCode TmRotangle = 3718;     // *TM_ROTANGLE
constexpr KeywordCode TmScale = 3685;        // *TM_SCALE
constexpr KeywordCode TmScaleaxis = 2793;    // *TM_SCALEAXIS
constexpr KeywordCode TmScaleaxisang = 3786; // *TM_SCALEAXISANG
// Mesh block
constexpr KeywordCode Timevalue = 3001;      // *TIMEVALUE
constexpr KeywordCode MeshNumvertex = 2850;  // *MESH_NUMVERTEX
constexpr KeywordCode MeshNumfaces = 2004;   // *MESH_NUMFACES
constexpr KeywordCode MeshVertexList = 848;  // *MESH_VERTEX_LIST
constexpr KeywordCode MeshFaceList = 1089;   // *MESH_FACE_LIST
constexpr KeywordCode MeshNumtvertex = 2723; // *MESH_NUMTVERTEX
constexpr KeywordCode MeshTvertlist = 2412;  // *MESH_TVERTLIST
constexpr KeywordCode MeshNumtvfaces = 3210; // *MESH_NUMTVFACES
constexpr KeywordCode MeshTfacelist = 2302;  // *MESH_TFACELIST
constexpr KeywordCode MeshNumcvertex = 2169; // *MESH_NUMCVERTEX
constexpr KeywordCode MeshCvertlist = 3649;  // *MESH_CVERTLIST
constexpr KeywordCode MeshNumcvfaces = 2682; // *MESH_NUMCVFACES
constexpr KeywordCode MeshCfacelist = 1794;  // *MESH_CFACELIST
constexpr KeywordCode MeshNormals = 3844;    // *MESH_NORMALS
// List entries
constexpr KeywordCode MeshVertex = 279;      // *MESH_VERTEX
constexpr KeywordCode MeshTvert = 761;       // *MESH_TVERT
constexpr KeywordCode MeshVertcol = 446;     // *MESH_VERTCOL
constexpr KeywordCode MeshTface = 2865;      // *MESH_TFACE
constexpr KeywordCode MeshCface = 1314;      // *MESH_CFACE
constexpr KeywordCode MeshFaceEntry = 3426;       // *MESH_FACE
constexpr KeywordCode MeshFacenormal = 1852; // *MESH_FACENORMAL
// Face entry attributes
constexpr KeywordCode EdgeAb = 663;        // AB:
constexpr KeywordCode EdgeBc = 303;        // BC:
constexpr KeywordCode EdgeCa = 2927;       // CA:
constexpr KeywordCode MeshSmoothing = 641; // *MESH_SMOOTHING
constexpr KeywordCode MeshMtlid = 483;     // *MESH_MTLID

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
        if (codeOf(token) == BlockOpen) return true;
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
        if (code == BlockClose) return;
        if (code == BlockOpen)
            skipNestedBlock();
        else
            entry(code);
    }
}

void ModelReader::readTopLevel() {
    while (!atEnd()) {
        switch (nextCode()) {
        case AsciiExport: mesh.k1474 = readInt(); break;
        case Comment: mesh.k2649 = readString(); break;
        case Scene: readHeader(); break;
        case MaterialList: readMaterialList(); break;
        case Geomobject:
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
        case SceneFilename: mesh.k3723 = readString(); break;
        case SceneFirstframe: mesh.k2373 = readInt(); break;
        case SceneLastframe: mesh.k1200 = readInt(); break;
        case SceneFramespeed: mesh.k1845 = readInt(); break;
        case SceneTicksperframe: mesh.k632 = readInt(); break;
        case SceneBackgroundStatic: mesh.k352 = readVec3(); break;
        case SceneAmbientStatic: mesh.k2448 = readVec3(); break;
        default: break;
        }
    });
}

void ModelReader::readMaterialList() {
    readBlock([this](KeywordCode code) {
        if (code == MaterialCount) {
            mesh.materialCount = readCount();
            mesh.materials.assign(mesh.materialCount, MeshMaterial());
        } else if (code == Material) {
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
        case MaterialName: m.k918 = readString(); break;
        case MaterialClass: m.k2630 = readString(); break;
        case MaterialAmbient: m.k3841 = readVec3(); break;
        case MaterialDiffuse: m.k2655 = readVec3(); break;
        case MaterialSpecular: m.k1238 = readVec3(); break;
        case MaterialShine: m.k2030 = readFloat(); break;
        case MaterialShinestrength: m.k2306 = readFloat(); break;
        case MaterialTransparency: m.k285 = readFloat(); break;
        case MaterialWiresize: m.k1478 = readFloat(); break;
        case MaterialShading: m.k32 = readString(); break;
        case MaterialXpFalloff: m.k693 = readFloat(); break;
        case MaterialSelfillum: m.k1240 = readFloat(); break;
        case MaterialFalloff: m.k2144 = readString(); break;
        case MaterialXpType: m.k3809 = readString(); break;
        case MapDiffuse: readMap(m); break;
        default: break;
        }
    });
}

void ModelReader::readMap(MeshMaterial& m) {
    readBlock([this, &m](KeywordCode code) {
        switch (code) {
        case MapName: m.k3306 = readString(); break;
        case MapClass: m.k2390 = readString(); break;
        case MapSubno: m.k3168 = readInt(); break;
        case MapAmount: m.k1467 = readFloat(); break;
        case Bitmap: m.textureFile = readString(); break;
        case MapType: m.k2821 = readString(); break;
        case UvwUOffset: m.k1855 = readFloat(); break;
        case UvwVOffset: m.k1171 = readFloat(); break;
        case UvwUTiling: m.k1351 = readFloat(); break;
        case UvwVTiling: m.k3253 = readFloat(); break;
        case UvwAngle: m.k3568 = readFloat(); break;
        case UvwBlur: m.k3923 = readFloat(); break;
        case UvwBlurOffset: m.k202 = readFloat(); break;
        case UvwNouseAmt: m.k1809 = readFloat(); break;
        case UvwNoiseSize: m.k4089 = readFloat(); break;
        case UvwNoiseLevel: m.k1887 = readFloat(); break;
        case UvwNoisePhase: m.k2833 = readFloat(); break;
        case BitmapFilter: m.k2585 = readString(); break;
        default: break;
        }
    });
}

void ModelReader::readPart(MeshPart& part) {
    readBlock([this, &part](KeywordCode code) {
        switch (code) {
        case NodeName: part.k1156 = readString(); break;
        case MaterialRef: part.materialIndex = readInt(); break;
        case PartVector1462: part.k1462 = readVec3(); break;
        case PropRecvshadow: part.k1516 = readInt(); break;
        case PropMotionblur: part.k3177 = readInt(); break;
        case PropCastshadow: part.k3472 = readInt(); break;
        case NodeTm: readTransform(part); break;
        case MeshBlock: readMeshBlock(part); break;
        default: break;
        }
    });
}

void ModelReader::readTransform(MeshPart& p) {
    readBlock([this, &p](KeywordCode code) {
        switch (code) {
        case NodeName: p.t1156 = readString(); break;
        case InheritPos: p.t4043 = readInt3(); break;
        case InheritRot: p.t2766 = readInt3(); break;
        case InheritScl: p.t3193 = readInt3(); break;
        case TmRow0: p.t2612 = readVec3(); break;
        case TmRow1: p.t1335 = readVec3(); break;
        case TmRow2: p.t2826 = readVec3(); break;
        case TmRow3: p.t1812 = readVec3(); break;
        case TmPos: p.t1902 = readVec3(); break;
        case TmRotaxis: p.t559 = readVec3(); break;
        case TmScale: p.t3685 = readVec3(); break;
        case TmScaleaxis: p.t2793 = readVec3(); break;
        case TmRotangle: p.t3718 = readFloat(); break;
        case TmScaleaxisang: p.t3786 = readFloat(); break;
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
        case Timevalue: p.k3001 = readInt(); break;
        case MeshNumvertex:
            p.vertexCount = readCount();
            p.vertices.assign(p.vertexCount, Vec3{});
            break;
        case MeshNumtvertex:
            p.texVertexCount = readCount();
            p.texVertices.assign(p.texVertexCount, Vec3{});
            break;
        case MeshNumcvertex:
            p.count2169 = readCount();
            p.list3649.assign(p.count2169, Vec3{});
            break;
        case MeshNumfaces:
            p.faceCount = readCount();
            p.faces.assign(p.faceCount, MeshFace());
            p.faceNormals.assign(p.faceCount, FaceNormals());
            break;
        case MeshNumtvfaces:
            p.texFaceCount = readCount();
            p.texFaces.assign(p.texFaceCount, Int3{});
            break;
        case MeshNumcvfaces:
            p.count2682 = readCount();
            p.list1794.assign(p.count2682, Int3{});
            break;
        case MeshVertexList: readIndexedList(MeshVertex, p.vertices, vec3); break;
        case MeshTvertlist: readIndexedList(MeshTvert, p.texVertices, vec3); break;
        case MeshCvertlist: readIndexedList(MeshVertcol, p.list3649, vec3); break;
        case MeshTfacelist: readIndexedList(MeshTface, p.texFaces, int3); break;
        case MeshCfacelist: readIndexedList(MeshCface, p.list1794, int3); break;
        case MeshFaceList:
            readBlock([this, &p](KeywordCode entry) {
                if (entry == MeshFaceEntry) readFace(p);
            });
            break;
        case MeshNormals:
            readBlock([this, &p](KeywordCode entry) {
                if (entry == MeshFacenormal) readFaceNormals(p);
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
        case MeshSmoothing: face.k641 = readString(); break;
        case EdgeBc: face.k303 = readInt(); break;
        case MeshMtlid: face.k483 = readInt(); break;
        case EdgeAb: face.k663 = readInt(); break;
        case EdgeCa: face.k2927 = readInt(); break;
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
