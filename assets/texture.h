#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Decoded picture: width x height pixels of 8-bit R, G, B, rows tightly packed, row 0 the
// first row the decoder delivers (the top of a JPEG, the bottom of a BMP).
struct RgbImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    unsigned char* pixels = nullptr; // malloc'd
};

// Decodes a JPEG file into `image`, allocating its pixels; 1 on success, 0 on failure.
int loadJpeg(const char* fileName, RgbImage& image);

// Decodes a BMP file into a new image owned by the caller, or null after an error line on
// stderr.
RgbImage* loadDib(const char* fileName);

// Decodes BMP data held in memory, or gives null after an error line on stderr.
RgbImage* decodeDib(const unsigned char* data, std::size_t size);

// Frees an image from loadDib: its pixels and the record.
void freeDib(RgbImage* image);

// Uploads an image into the texture `name` with linear filters. An image without pixels
// gets a 1 x 1 mid-grey placeholder instead.
void makeTexture(std::uint32_t name, const RgbImage& image);

// The five 2D picture textures, by slot.
enum PictureSlot { PictureFont, PictureHighlight, PictureSplash, PictureMenu, PictureLogo };
extern std::uint32_t pictureTextures[5];

// Makes the five picture textures; 1 when both BMP pictures loaded, else 0 (and no texture
// names are made).
int loadPictures();

constexpr int maxTextureSlots = 256;

struct TextureRequest {
    std::string fileName;
    int slotCount = 0;
    std::uint32_t* slots[maxTextureSlots] = {};
    TextureRequest* next = nullptr;
};

// Collects the texture files that the models' materials name, one texture per file name.
class TextureRegistry {
  public:
    TextureRegistry() = default;
    ~TextureRegistry();
    TextureRegistry(const TextureRegistry&) = delete;
    TextureRegistry& operator=(const TextureRegistry&) = delete;

    // Registers `slot` to receive the texture name of `fileName` (compared byte for byte).
    void add(const char* fileName, std::uint32_t* slot);
    // Makes one texture per distinct file name, in the order the names were first added,
    // and writes its name into every registered slot.
    void loadAll();

    RgbImage image;
    std::uint32_t* ids = nullptr;
    int count = 0;
    TextureRequest* requests = nullptr;
};

extern TextureRegistry* textureRegistry;
