#include "app/core/keyword.h"
#include "assets/mesh.h"

#include <fstream>
#include <sstream>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <variant>

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
constexpr KeywordCode MeshFaceEntry = 3426;  // *MESH_FACE
constexpr KeywordCode MeshFacenormal = 1852; // *MESH_FACENORMAL
// Face entry attributes
constexpr KeywordCode EdgeAb = 663;        // AB:
constexpr KeywordCode EdgeBc = 303;        // BC:
constexpr KeywordCode EdgeCa = 2927;       // CA:
constexpr KeywordCode MeshSmoothing = 641; // *MESH_SMOOTHING
constexpr KeywordCode MeshMtlid = 483;     // *MESH_MTLID

// The tokens and plain values of a model text. Every read stops at the end of the text.
class TokenStream {
  public:
    explicit TokenStream(const std::string& text) : in(text), size(text.size()) {}

    bool atEnd();
    bool readToken(std::string& token);
    KeywordCode nextCode();
    template <typename Number> Number readNumber();
    std::string readString();
    char readChar();
    // A count of list entries, or 0 when the rest of the file has no room for them.
    std::int32_t readCount();
    bool skipToOpener();
    void skipNestedBlock();

  private:
    KeywordCode codeOf(const std::string& token);

    std::istringstream in;
    std::size_t size;
    // A model repeats a few dozen keywords many thousand times; each digest is taken once.
    std::unordered_map<std::string, KeywordCode> codes;
    long long claimedEntries = 0;
    bool ended = false;
};

bool TokenStream::atEnd() {
    if (ended) return true;
    in >> std::ws;
    if (!in || in.peek() == std::char_traits<char>::eof()) ended = true;
    return ended;
}

bool TokenStream::readToken(std::string& token) {
    token.clear();
    if (atEnd()) return false;
    in >> token;
    if (token.size() > maxText) token.resize(maxText);
    return !token.empty();
}

KeywordCode TokenStream::codeOf(const std::string& token) {
    const auto known = codes.find(token);
    if (known != codes.end()) return known->second;
    const KeywordCode code = keywordCode(token.c_str());
    codes.emplace(token, code);
    return code;
}

KeywordCode TokenStream::nextCode() {
    std::string token;
    readToken(token);
    return codeOf(token);
}

// A number that cannot be read leaves the value 0 and drops the offending token, so the
// reading always moves forward. An out-of-range number has been consumed already.
template <typename Number> Number TokenStream::readNumber() {
    if (atEnd()) return 0;
    Number value = 0;
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

std::string TokenStream::readString() {
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

char TokenStream::readChar() {
    char c = 0;
    in >> c;
    return c;
}

std::int32_t TokenStream::readCount() {
    const std::int32_t n = readNumber<std::int32_t>();
    const std::streamoff at = in.tellg();
    const long long left = at < 0 ? 0 : static_cast<long long>(size) - at;
    const long long room = static_cast<long long>(size) / minEntryBytes - claimedEntries;
    if (n < 0 || n > left / minEntryBytes || n > room) return 0;
    claimedEntries += n;
    return n;
}

bool TokenStream::skipToOpener() {
    std::string token;
    while (readToken(token)) {
        if (codeOf(token) == BlockOpen) return true;
    }
    return false;
}

void TokenStream::skipNestedBlock() {
    int depth = 1;
    std::string token;
    while (depth > 0 && readToken(token)) {
        if (token == "{")
            ++depth;
        else if (token == "}")
            --depth;
    }
}

void readValue(TokenStream& in, std::int32_t& value) { value = in.readNumber<std::int32_t>(); }
void readValue(TokenStream& in, float& value) { value = in.readNumber<float>(); }
void readValue(TokenStream& in, std::string& value) { value = in.readString(); }

void readValue(TokenStream& in, Vec3& v) {
    readValue(in, v.x);
    readValue(in, v.y);
    readValue(in, v.z);
}

void readValue(TokenStream& in, Int3& v) {
    readValue(in, v.a);
    readValue(in, v.b);
    readValue(in, v.c);
}

// The entries of lists and of the material table; each is read after its index.
void readValue(TokenStream& in, MeshFace& face);
void readValue(TokenStream& in, FaceNormals& entry);
void readValue(TokenStream& in, MeshMaterial& material);

// One keyword of a block: its code, and the field its value goes to or the reader of what
// follows it (a nested block, a count, a list).
template <typename Record> struct Row {
    using Reader = void (*)(TokenStream&, Record&);
    KeywordCode code;
    std::variant<std::int32_t Record::*, float Record::*, std::string Record::*, Vec3 Record::*,
                 Int3 Record::*, Reader>
        field;
};

template <typename Record, std::size_t N>
void readKeyword(TokenStream& in, const Row<Record> (&rows)[N], Record& record, KeywordCode code) {
    for (const Row<Record>& row : rows) {
        if (row.code != code) continue;
        std::visit(
            [&](auto field) {
                if constexpr (std::is_same_v<decltype(field), typename Row<Record>::Reader>)
                    field(in, record);
                else
                    readValue(in, record.*field);
            },
            row.field);
        return;
    }
}

// Reads the block that follows a keyword, handing each code inside to `entry`. A nested
// block where a keyword belongs is skipped whole.
template <typename Entry> void readBlock(TokenStream& in, Entry entry) {
    if (!in.skipToOpener()) return;
    while (!in.atEnd()) {
        const KeywordCode code = in.nextCode();
        if (code == BlockClose) return;
        if (code == BlockOpen)
            in.skipNestedBlock();
        else
            entry(code);
    }
}

template <typename Record, std::size_t N>
void readBlock(TokenStream& in, const Row<Record> (&rows)[N], Record& record) {
    readBlock(in, [&](KeywordCode code) { readKeyword(in, rows, record, code); });
}

// The record a member or a table belongs to, so that the reader of a row takes that record.
template <auto member> struct OwnerOf;
template <typename Owner, typename T, T Owner::*member> struct OwnerOf<member> {
    using Record = Owner;
};

template <const auto& rows> struct TableOf;
template <typename Owner, std::size_t N, const Row<Owner> (&rows)[N]> struct TableOf<rows> {
    using Record = Owner;
};

// A nested block of the same record, read by its own table.
template <const auto& rows> void block(TokenStream& in, typename TableOf<rows>::Record& record) {
    readBlock(in, rows, record);
}

// A count: the lists it sizes are made anew with that many empty entries.
template <auto count, auto... lists>
void counted(TokenStream& in, typename OwnerOf<count>::Record& record) {
    record.*count = in.readCount();
    ((record.*lists).assign(record.*count, {}), ...);
}

// Entry i of a list, or a scratch entry when i is outside it, so the text stays in step.
template <typename T> void readEntry(TokenStream& in, std::vector<T>& list) {
    const std::int32_t i = in.readNumber<std::int32_t>();
    T scratch{};
    readValue(in, i >= 0 && static_cast<std::size_t>(i) < list.size() ? list[i] : scratch);
}

template <auto list> void entryOf(TokenStream& in, typename OwnerOf<list>::Record& record) {
    readEntry(in, record.*list);
}

// A list block: each entry starts with the entry keyword; other codes are ignored.
template <KeywordCode entryCode, auto list>
void listOf(TokenStream& in, typename OwnerOf<list>::Record& record) {
    readBlock(in, [&](KeywordCode code) {
        if (code == entryCode) readEntry(in, record.*list);
    });
}

constexpr Row<MeshFace> faceAttributeRows[] = {
    {MeshSmoothing, &MeshFace::k641}, {EdgeBc, &MeshFace::k303},  {MeshMtlid, &MeshFace::k483},
    {EdgeAb, &MeshFace::k663},        {EdgeCa, &MeshFace::k2927},
};

// A face entry after its index: a dropped word, three corner slots and five attribute slots.
void readValue(TokenStream& in, MeshFace& face) {
    std::string word;
    // The rest of the index's word when it ends in a colon, else the next token.
    in.readToken(word);
    for (int slot = 0; slot < 3; ++slot) {
        if (in.atEnd()) return;
        const char label = in.readChar();
        in.readToken(word);
        if (label == 'A')
            readValue(in, face.a);
        else if (label == 'B')
            readValue(in, face.b);
        else if (label == 'C')
            readValue(in, face.c);
    }
    for (int slot = 0; slot < 5; ++slot)
        readKeyword(in, faceAttributeRows, face, in.nextCode());
}

void readValue(TokenStream& in, FaceNormals& entry) {
    readValue(in, entry.faceNormal);
    std::string word;
    for (CornerNormal& corner : entry.corners) {
        in.readToken(word);
        readValue(in, corner.index);
        readValue(in, corner.normal);
    }
}

constexpr Row<MeshPart> meshRows[] = {
    {Timevalue, &MeshPart::k3001},
    {MeshNumvertex, counted<&MeshPart::vertexCount, &MeshPart::vertices>},
    {MeshNumtvertex, counted<&MeshPart::texVertexCount, &MeshPart::texVertices>},
    {MeshNumcvertex, counted<&MeshPart::count2169, &MeshPart::list3649>},
    {MeshNumfaces, counted<&MeshPart::faceCount, &MeshPart::faces, &MeshPart::faceNormals>},
    {MeshNumtvfaces, counted<&MeshPart::texFaceCount, &MeshPart::texFaces>},
    {MeshNumcvfaces, counted<&MeshPart::count2682, &MeshPart::list1794>},
    {MeshVertexList, listOf<MeshVertex, &MeshPart::vertices>},
    {MeshTvertlist, listOf<MeshTvert, &MeshPart::texVertices>},
    {MeshCvertlist, listOf<MeshVertcol, &MeshPart::list3649>},
    {MeshTfacelist, listOf<MeshTface, &MeshPart::texFaces>},
    {MeshCfacelist, listOf<MeshCface, &MeshPart::list1794>},
    {MeshFaceList, listOf<MeshFaceEntry, &MeshPart::faces>},
    {MeshNormals, listOf<MeshFacenormal, &MeshPart::faceNormals>},
};

constexpr Row<MeshPart> transformRows[] = {
    {NodeName, &MeshPart::t1156},   {InheritPos, &MeshPart::t4043},
    {InheritRot, &MeshPart::t2766}, {InheritScl, &MeshPart::t3193},
    {TmRow0, &MeshPart::t2612},     {TmRow1, &MeshPart::t1335},
    {TmRow2, &MeshPart::t2826},     {TmRow3, &MeshPart::t1812},
    {TmPos, &MeshPart::t1902},      {TmRotaxis, &MeshPart::t559},
    {TmScale, &MeshPart::t3685},    {TmScaleaxis, &MeshPart::t2793},
    {TmRotangle, &MeshPart::t3718}, {TmScaleaxisang, &MeshPart::t3786},
};

constexpr Row<MeshPart> partRows[] = {
    {NodeName, &MeshPart::k1156},       {MaterialRef, &MeshPart::materialIndex},
    {PartVector1462, &MeshPart::k1462}, {PropRecvshadow, &MeshPart::k1516},
    {PropMotionblur, &MeshPart::k3177}, {PropCastshadow, &MeshPart::k3472},
    {NodeTm, block<transformRows>},     {MeshBlock, block<meshRows>},
};

constexpr Row<MeshMaterial> mapRows[] = {
    {MapName, &MeshMaterial::k3306},       {MapClass, &MeshMaterial::k2390},
    {MapSubno, &MeshMaterial::k3168},      {MapAmount, &MeshMaterial::k1467},
    {Bitmap, &MeshMaterial::textureFile},  {MapType, &MeshMaterial::k2821},
    {UvwUOffset, &MeshMaterial::k1855},    {UvwVOffset, &MeshMaterial::k1171},
    {UvwUTiling, &MeshMaterial::k1351},    {UvwVTiling, &MeshMaterial::k3253},
    {UvwAngle, &MeshMaterial::k3568},      {UvwBlur, &MeshMaterial::k3923},
    {UvwBlurOffset, &MeshMaterial::k202},  {UvwNouseAmt, &MeshMaterial::k1809},
    {UvwNoiseSize, &MeshMaterial::k4089},  {UvwNoiseLevel, &MeshMaterial::k1887},
    {UvwNoisePhase, &MeshMaterial::k2833}, {BitmapFilter, &MeshMaterial::k2585},
};

constexpr Row<MeshMaterial> materialRows[] = {
    {MaterialName, &MeshMaterial::k918},
    {MaterialClass, &MeshMaterial::k2630},
    {MaterialAmbient, &MeshMaterial::k3841},
    {MaterialDiffuse, &MeshMaterial::k2655},
    {MaterialSpecular, &MeshMaterial::k1238},
    {MaterialShine, &MeshMaterial::k2030},
    {MaterialShinestrength, &MeshMaterial::k2306},
    {MaterialTransparency, &MeshMaterial::k285},
    {MaterialWiresize, &MeshMaterial::k1478},
    {MaterialShading, &MeshMaterial::k32},
    {MaterialXpFalloff, &MeshMaterial::k693},
    {MaterialSelfillum, &MeshMaterial::k1240},
    {MaterialFalloff, &MeshMaterial::k2144},
    {MaterialXpType, &MeshMaterial::k3809},
    {MapDiffuse, block<mapRows>},
};

void readValue(TokenStream& in, MeshMaterial& material) { readBlock(in, materialRows, material); }

constexpr Row<Mesh> materialListRows[] = {
    {MaterialCount, counted<&Mesh::materialCount, &Mesh::materials>},
    {Material, entryOf<&Mesh::materials>},
};

constexpr Row<Mesh> sceneRows[] = {
    {SceneFilename, &Mesh::k3723},      {SceneFirstframe, &Mesh::k2373},
    {SceneLastframe, &Mesh::k1200},     {SceneFramespeed, &Mesh::k1845},
    {SceneTicksperframe, &Mesh::k632},  {SceneBackgroundStatic, &Mesh::k352},
    {SceneAmbientStatic, &Mesh::k2448},
};

void readPart(TokenStream& in, Mesh& mesh) {
    mesh.parts.emplace_back();
    readBlock(in, partRows, mesh.parts.back());
}

// The top level is no block: openers and closers mean nothing here.
constexpr Row<Mesh> topLevelRows[] = {
    {AsciiExport, &Mesh::k1474}, {Comment, &Mesh::k2649},
    {Scene, block<sceneRows>},   {MaterialList, block<materialListRows>},
    {Geomobject, readPart},
};

} // namespace

void readModelText(const std::string& text, Mesh& mesh) {
    TokenStream in(text);
    while (!in.atEnd())
        readKeyword(in, topLevelRows, mesh, in.nextCode());
}

void readModelFile(const char* fileName, Mesh& mesh) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return;
    std::ostringstream contents;
    contents << file.rdbuf();
    readModelText(contents.str(), mesh);
}
