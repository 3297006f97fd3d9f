#include "assets/texture.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "app/core/assetnames.h"

TextureRegistry* textureRegistry = nullptr;
std::uint32_t pictureTextures[5] = {};

void makeTexture(std::uint32_t name, const RgbImage& image) {
    static const unsigned char grey[3] = {128, 128, 128};
    const bool usable = image.pixels && image.width > 0 && image.height > 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Rows are tightly packed, whatever their width.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, usable ? image.width : 1, usable ? image.height : 1, 0,
                 GL_RGB, GL_UNSIGNED_BYTE, usable ? image.pixels : grey);
}

void freeDib(RgbImage* image) {
    if (!image) return;
    std::free(image->pixels);
    delete image;
}

static bool fileExists(const char* fileName) {
    std::FILE* file = std::fopen(fileName, "r");
    if (!file) return false;
    std::fclose(file);
    return true;
}

int loadPictures() {
    RgbImage splash, menu, logo;
    loadJpeg(splashPictureFile, splash);
    loadJpeg(menuPictureFile, menu);
    loadJpeg(logoPictureFile, logo);
    RgbImage* font = fileExists(fontPictureFile) ? loadDib(fontPictureFile) : nullptr;
    RgbImage* highlight =
        font && fileExists(highlightPictureFile) ? loadDib(highlightPictureFile) : nullptr;
    int result = 0;
    if (font && highlight) {
        GLuint names[5];
        glGenTextures(5, names);
        const RgbImage* images[5] = {font, highlight, &splash, &menu, &logo};
        for (int slot = 0; slot < 5; ++slot) {
            pictureTextures[slot] = names[slot];
            makeTexture(names[slot], *images[slot]);
        }
        result = 1;
    }
    freeDib(font);
    freeDib(highlight);
    std::free(splash.pixels);
    std::free(menu.pixels);
    std::free(logo.pixels);
    return result;
}

TextureRegistry::~TextureRegistry() {
    while (requests) {
        TextureRequest* next = requests->next;
        delete requests;
        requests = next;
    }
    delete[] ids;
}

void TextureRegistry::add(const char* fileName, std::uint32_t* slot) {
    TextureRequest** link = &requests;
    for (; *link; link = &(*link)->next) {
        TextureRequest* request = *link;
        if (request->fileName == fileName) {
            // Past the slot list's room, further materials keep texture name 0.
            if (request->slotCount < maxTextureSlots) request->slots[request->slotCount++] = slot;
            return;
        }
    }
    TextureRequest* request = new TextureRequest;
    request->fileName = fileName;
    request->slots[0] = slot;
    request->slotCount = 1;
    *link = request;
    ++count;
}

void TextureRegistry::loadAll() {
    delete[] ids;
    ids = new std::uint32_t[count > 0 ? count : 1];
    if (count > 0) glGenTextures(count, ids);
    int i = 0;
    for (TextureRequest* request = requests; request; request = request->next, ++i) {
        image = RgbImage();
        loadJpeg(request->fileName.c_str(), image);
        makeTexture(ids[i], image);
        for (int s = 0; s < request->slotCount; ++s)
            *request->slots[s] = ids[i];
        std::free(image.pixels);
        image.pixels = nullptr;
    }
}
