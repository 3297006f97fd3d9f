#include "app/core/config.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <istream>

#include "app/core/assetnames.h"
#include "app/core/keyword.h"

Config config = {};

namespace {

// The integer keys' codes, named after the key text each stands for (the model keys are listed
// with their models in assetnames.h). Three integer keys have no chosen text: they are read
// and stored, and nothing uses them.
constexpr KeywordCode ScreenWidthKey = 2469;  // *SCREEN_WIDTH
constexpr KeywordCode ScreenHeightKey = 1897; // *SCREEN_HEIGHT
constexpr KeywordCode ScreenBppKey = 3583;    // *SCREEN_BPP
constexpr KeywordCode FullscreenKey = 3881;   // *FULLSCREEN
constexpr KeywordCode UnusedKey581 = 581;
constexpr KeywordCode UnusedKey1363 = 1363;
constexpr KeywordCode UnusedKey1285 = 1285;

enum class ValueKind { None, Text, Integer };

struct Field {
    ValueKind kind;
    char* text;
    std::int32_t* integer;
};

Field fieldFor(Config& record, KeywordCode code) {
    for (const ModelAsset& model : modelAssets)
        if (code == model.keyCode) return {ValueKind::Text, record.*model.field, nullptr};
    switch (code) {
    case ScreenWidthKey: return {ValueKind::Integer, nullptr, &record.screenWidth};
    case ScreenHeightKey: return {ValueKind::Integer, nullptr, &record.screenHeight};
    case ScreenBppKey: return {ValueKind::Integer, nullptr, &record.screenBpp};
    case UnusedKey581: return {ValueKind::Integer, nullptr, &record.unused581};
    case FullscreenKey: return {ValueKind::Integer, nullptr, &record.fullScreen};
    case UnusedKey1363: return {ValueKind::Integer, nullptr, &record.unused1363};
    case UnusedKey1285: return {ValueKind::Integer, nullptr, &record.unused1285};
    default: return {ValueKind::None, nullptr, nullptr};
    }
}

// Reads one white-space separated token into `out` (at most size - 1 bytes); the rest of a
// longer token is consumed and dropped. At the end of the stream the token is empty.
void readToken(std::istream& in, char* out, std::size_t size) {
    std::size_t length = 0;
    in >> std::ws;
    for (int ch = in.peek(); ch != std::char_traits<char>::eof() && !std::isspace(ch);
         ch = in.peek()) {
        in.get();
        if (length + 1 < size) out[length++] = static_cast<char>(ch);
    }
    out[length] = '\0';
}

void setDefaults(Config& record) {
    std::memset(&record, 0, sizeof record);
    for (const ModelAsset& model : modelAssets)
        std::strcpy(record.*model.field, model.fileName);
    record.screenWidth = defaultScreenWidth;
    record.screenHeight = defaultScreenHeight;
}

// A window size outside 1..maxScreenSize would reach the video mode call; the default
// stands in for it.
void boundWindowSize(Config& record) {
    if (record.screenWidth < 1 || record.screenWidth > maxScreenSize)
        record.screenWidth = defaultScreenWidth;
    if (record.screenHeight < 1 || record.screenHeight > maxScreenSize)
        record.screenHeight = defaultScreenHeight;
}

} // namespace

Config readConfig(const char* fileName) {
    Config record;
    setDefaults(record);
    std::ifstream in(fileName);
    char key[1024];
    while (in && !in.eof()) {
        readToken(in, key, sizeof key);
        const Field field = fieldFor(record, keywordCode(key));
        if (field.kind == ValueKind::Text) {
            readToken(in, field.text, 256);
        } else if (field.kind == ValueKind::Integer) {
            long long value = 0;
            if (!(in >> value)) break;
            if (value > INT32_MAX) value = INT32_MAX;
            if (value < INT32_MIN) value = INT32_MIN;
            *field.integer = static_cast<std::int32_t>(value);
        }
    }
    boundWindowSize(record);
    return record;
}
