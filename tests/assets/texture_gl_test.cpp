#include "assets/loading.h"
#include "assets/mesh.h"
#include "assets/texture.h"
#include "tests/display.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

const testing::Environment* const context = testing::AddGlobalTestEnvironment(new SmallGlWindow);

void writeJpeg(const char* fileName, int width, int height, unsigned char grey) {
    std::FILE* file = std::fopen(fileName, "wb");
    ASSERT_NE(file, nullptr);
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(width, grey);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

// A 24-bit BMP of one colour.
void writeBmp(const char* fileName, int width, int height) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> file(54 + stride * height, 0);
    auto put32 = [&](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = (v >> (8 * i)) & 0xFF;
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, file.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            file[54 + y * stride + 3 * x + 2] = 200;
    std::ofstream(fileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), file.size());
}

struct TextureInfo {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
};

TextureInfo readTexture(std::uint32_t name) {
    TextureInfo t;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &t.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &t.height);
    t.pixels.assign(static_cast<std::size_t>(t.width) * t.height * 3, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!t.pixels.empty())
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, t.pixels.data());
    return t;
}

TEST(TextureUpload, RowsOfAnyWidthArriveUnskewed) {
    unsigned char pixels[3 * 2 * 3];
    for (int i = 0; i < 18; ++i)
        pixels[i] = static_cast<unsigned char>(10 * i);
    RgbImage image;
    image.width = 3;
    image.height = 2;
    image.pixels = pixels;
    GLuint name;
    glGenTextures(1, &name);
    makeTexture(name, image);
    const TextureInfo t = readTexture(name);
    EXPECT_EQ(t.width, 3);
    EXPECT_EQ(t.height, 2);
    EXPECT_EQ(t.pixels, std::vector<unsigned char>(pixels, pixels + 18));
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
}

TEST(TextureUpload, FailedPictureGetsGreyPlaceholder) {
    GLuint name;
    glGenTextures(1, &name);
    makeTexture(name, RgbImage());
    const TextureInfo t = readTexture(name);
    EXPECT_EQ(t.width, 1);
    EXPECT_EQ(t.height, 1);
    EXPECT_EQ(t.pixels, (std::vector<unsigned char>{128, 128, 128}));
}

TEST(Pictures, LoadsAllFiveAndFailsWithoutTheHighlight) {
    writeJpeg("splash.jpg", 8, 4, 50);
    writeJpeg("menu.jpg", 16, 8, 100);
    writeBmp("Font.bmp", 3, 2);
    writeBmp("Pole.bmp", 4, 4);
    std::remove("kavrin.jpg");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPictures(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open kavrin.jpg\n");
    const int sizes[5][2] = {{3, 2}, {4, 4}, {8, 4}, {16, 8}, {1, 1}};
    for (int slot = 0; slot < 5; ++slot) {
        ASSERT_NE(pictureTextures[slot], 0u);
        const TextureInfo t = readTexture(pictureTextures[slot]);
        EXPECT_EQ(t.width, sizes[slot][0]) << slot;
        EXPECT_EQ(t.height, sizes[slot][1]) << slot;
    }
    EXPECT_EQ(readTexture(pictureTextures[PictureFont]).pixels[0], 200);

    std::memset(pictureTextures, 0, sizeof pictureTextures);
    std::remove("Pole.bmp");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPictures(), 0);
    testing::internal::GetCapturedStderr();
    for (std::uint32_t name : pictureTextures)
        EXPECT_EQ(name, 0u);
}

std::string modelText(const std::vector<std::string>& files) {
    std::string text = "*MATERIAL_LIST { *MATERIAL_COUNT " + std::to_string(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        text += " *MATERIAL " + std::to_string(i) + " { *MAP_DIFFUSE { *BITMAP \"" + files[i] +
                "\" } }";
    text += " }\n";
    // One triangle covering the whole viewport, facing straight up in the shading.
    text += "*GEOMOBJECT { *MESH { *MESH_NUMVERTEX 3 *MESH_NUMFACES 1 *MESH_VERTEX_LIST { "
            "*MESH_VERTEX 0 -1 -1 0 *MESH_VERTEX 1 3 -1 0 *MESH_VERTEX 2 -1 3 0 } "
            "*MESH_FACE_LIST { *MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 1 x x } "
            "*MESH_NORMALS { *MESH_FACENORMAL 0 0 1 0 *MESH_VERTEXNORMAL 0 0 1 0 "
            "*MESH_VERTEXNORMAL 1 0 1 0 *MESH_VERTEXNORMAL 2 0 1 0 } } *MATERIAL_REF 0 }\n";
    return text;
}

TEST(Loading, SevenModelsShareTexturesByFileName) {
    writeJpeg("board.jpg", 8, 8, 255);
    writeJpeg("wood.jpg", 16, 8, 255);
    Config settings = {};
    const char* names[7] = {"king.ase", "queen.ase", "bishop.ase", "knight.ase",
                            "rook.ase", "pawn.ase",  "board.ase"};
    char* fields[7] = {settings.kingModel,   settings.queenModel, settings.bishopModel,
                       settings.knightModel, settings.rookModel,  settings.pawnModel,
                       settings.boardModel};
    for (int i = 0; i < 7; ++i) {
        std::strcpy(fields[i], names[i]);
        std::ofstream(names[i]) << modelText(
            i == 6 ? std::vector<std::string>{"board.jpg"}
                   : std::vector<std::string>{"wood.jpg", "missing.jpg"});
    }
    textureRegistry = new TextureRegistry;
    testing::internal::CaptureStderr();
    loadModels(settings, meshTable);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open missing.jpg\n");
    EXPECT_EQ(textureRegistry, nullptr);
    ASSERT_NE(meshTable, nullptr);
    EXPECT_EQ(meshTable[0], nullptr);
    for (int i = 1; i <= 7; ++i)
        ASSERT_NE(meshTable[i], nullptr);
    EXPECT_EQ(meshTable[7]->materials.at(0).textureFile, "board.jpg");
    EXPECT_EQ(meshTable[6]->parts.size(), 1u);
    const std::uint32_t board = meshTable[7]->materials[0].textureName;
    const std::uint32_t wood = meshTable[6]->materials.at(0).textureName;
    const std::uint32_t missing = meshTable[6]->materials.at(1).textureName;
    EXPECT_NE(board, 0u);
    EXPECT_NE(board, wood);
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(meshTable[i]->materials.at(0).textureName, wood);
        EXPECT_EQ(meshTable[i]->materials.at(1).textureName, missing);
    }
    EXPECT_EQ(readTexture(board).width, 8);
    EXPECT_EQ(readTexture(wood).width, 16);
    EXPECT_EQ(readTexture(missing).width, 1);

    // Drawing: the white texture modulated by the baked grey of an upward normal.
    glViewport(0, 0, 64, 64);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(meshTable[7]->draw(), 0);
    unsigned char pixel[4] = {};
    glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_NEAR(pixel[0], 229, 3);
    EXPECT_EQ(pixel[0], pixel[1]);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<std::uint32_t>(bound), board);

    // An index outside the material table draws with material 0's texture.
    meshTable[6]->parts[0].materialIndex = 9;
    meshTable[6]->draw();
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<std::uint32_t>(bound), wood);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    freeModels();
    EXPECT_EQ(meshTable, nullptr);
}

} // namespace
