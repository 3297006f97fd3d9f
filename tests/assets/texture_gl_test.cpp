#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/loading.h"
#include "assets/mesh.h"
#include "assets/texture.h"
#include "models.h"
#include "pictures.h"
#include "tests/display.h"

// The window is 64 x 64 pixels and every drawing here keeps the identity matrices, so the
// window spans -1..1 and a pixel is 1/32 wide.
namespace {

const testing::Environment* const context = testing::AddGlobalTestEnvironment(new GlWindow(64, 64));

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

// The red of the first `width` pixels of the window's bottom row.
std::vector<int> bottomRow(int width) {
    std::vector<unsigned char> rgb(width * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<int> row;
    for (int x = 0; x < width; ++x)
        row.push_back(rgb[x * 3]);
    return row;
}

// The texture bound now, drawn untinted across the first `width` pixels of the bottom row.
std::vector<int> drawnRow(int width) {
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    for (const auto& [s, t] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
        glTexCoord2i(s, t);
        glVertex2f(s ? -1 + width / 32.0f : -1, t ? -1 + 1 / 32.0f : -1);
    }
    glEnd();
    return bottomRow(width);
}

// A black and a white texel drawn on one pixel blend half and half; drawn on four, the two
// middle pixels lie a quarter and three quarters of the way from black to white. Rows of any
// width arrive unskewed, and a picture without pixels becomes a mid-grey placeholder.
TEST(TextureUpload, KeepsEveryRowAndIsFilteredLinearlyWhenShrunkAndWhenStretched) {
    unsigned char pixels[18] = {0, 0, 0, 240, 240, 240};
    GLuint name;
    glGenTextures(1, &name);
    makeTexture(name, {2, 1, pixels});
    EXPECT_NEAR(drawnRow(1)[0], 120, 2);
    const std::vector<int> stretched = drawnRow(4);
    EXPECT_NEAR(stretched[1], 60, 2);
    EXPECT_NEAR(stretched[2], 180, 2);

    for (int i = 0; i < 18; ++i)
        pixels[i] = static_cast<unsigned char>(10 * i);
    const std::vector<unsigned char> grey = {128, 128, 128};
    const struct {
        RgbImage image;
        int width, height;
        std::vector<unsigned char> pixels;
    } cases[] = {{{3, 2, pixels}, 3, 2, {pixels, pixels + 18}},
                 {{}, 1, 1, grey},
                 {{1, 0, pixels}, 1, 1, grey},
                 {{0, 1, pixels}, 1, 1, grey}};
    for (const auto& c : cases) {
        makeTexture(name, c.image);
        const TextureInfo t = readTexture(name);
        EXPECT_EQ(std::vector<int>({t.width, t.height}), std::vector<int>({c.width, c.height}));
        EXPECT_EQ(t.pixels, c.pixels);
    }
}

TEST(Pictures, LoadsAllFiveAndFailsWithoutTheHighlight) {
    const auto overwrite = std::filesystem::copy_options::overwrite_existing;
    std::filesystem::copy_file(TEST_DATA_DIR "/grey8x4.jpg", "splash.jpg", overwrite);
    std::filesystem::copy_file(TEST_DATA_DIR "/grey16x8.jpg", "menu.jpg", overwrite);
    writeFile("Font.bmp", makeBmp({3, 2, 8, Bytes(8, 0), {0xC80000}, 0, 1}));
    writeFile("Pole.bmp", makeBmp({4, 4, 8, Bytes(16, 0), {0}, 0, 1}));
    std::remove("kavrin.jpg");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPictures(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open kavrin.jpg\n");
    // Each slot holds its own picture, told by its size; the missing logo is a placeholder.
    std::vector<int> sizes;
    for (std::uint32_t name : pictureTextures) {
        const TextureInfo t = readTexture(name);
        sizes.insert(sizes.end(), {t.width, t.height});
    }
    EXPECT_EQ(sizes, (std::vector<int>{3, 2, 4, 4, 8, 4, 16, 8, 1, 1}));
    EXPECT_EQ(readTexture(pictureTextures[0]).pixels[0], 200);

    std::memset(pictureTextures, 0, sizeof pictureTextures);
    std::remove("Pole.bmp");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPictures(), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::vector<std::uint32_t>(pictureTextures, pictureTextures + 5),
              std::vector<std::uint32_t>(5, 0));
}

// Past the 256 places a file name has room for, a further material keeps texture name 0.
TEST(TextureRegistry, FillsTheFirst256PlacesOfAFileNameAndNoMore) {
    std::vector<std::uint32_t> places(257, 0);
    TextureRegistry registry;
    for (std::uint32_t& place : places)
        registry.add("missing.jpg", &place);
    testing::internal::CaptureStderr();
    registry.loadAll();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "can't open missing.jpg\n");
    std::vector<std::uint32_t> expected(256, registry.ids[0]);
    expected.push_back(0);
    EXPECT_NE(registry.ids[0], 0u);
    EXPECT_EQ(places, expected);
}

TEST(Loading, SevenModelsShareOneTexturePerFileNameAndDrawWithThem) {
    const std::string triangle = triangleText(0, "0 1 0"), dir = TEST_DATA_DIR "/";
    std::ofstream("piece.ase") << materialsText({dir + "white16x8.jpg", "missing.jpg"}) + triangle;
    // File names are told apart byte for byte: WHITE16x8.jpg is another, missing, file.
    std::ofstream("board.ase") << materialsText({dir + "white8x8.jpg", dir + "WHITE16x8.jpg"}) +
                                      triangle;
    Config settings = {};
    for (char* field : {settings.kingModel, settings.queenModel, settings.bishopModel,
                        settings.knightModel, settings.rookModel, settings.pawnModel})
        std::strcpy(field, "piece.ase");
    std::strcpy(settings.boardModel, "board.ase");
    textureRegistry = new TextureRegistry;
    testing::internal::CaptureStderr();
    loadModels(settings, meshTable);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "can't open " + dir + "WHITE16x8.jpg\ncan't open missing.jpg\n");
    EXPECT_EQ(textureRegistry, nullptr);
    ASSERT_NE(meshTable, nullptr);
    for (int i = 1; i <= 7; ++i)
        ASSERT_NE(meshTable[i], nullptr);
    const std::uint32_t wood = meshTable[6]->materials.at(0).textureName;
    const std::uint32_t missing = meshTable[6]->materials.at(1).textureName;
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(meshTable[i]->materials.at(0).textureName, wood);
        EXPECT_EQ(meshTable[i]->materials.at(1).textureName, missing);
    }
    // The three textures, told apart by their widths.
    EXPECT_EQ(readTexture(meshTable[7]->materials.at(0).textureName).width, 8);
    EXPECT_EQ(readTexture(wood).width, 16);
    EXPECT_EQ(readTexture(missing).width, 1);
    EXPECT_NE(meshTable[7]->materials.at(1).textureName, wood);

    // The board's triangle covers the window: its white texture modulated by the grey of a
    // face turned straight up, (3 / sqrt(17) + 1) * 0.375 + 0.25 = 0.8979 of 255.
    glClear(GL_COLOR_BUFFER_BIT);
    meshTable[7]->draw();
    EXPECT_NEAR(bottomRow(1)[0], 229, 3);
    // A part whose material index is outside the table draws with material 0's texture, and
    // so does part 0 drawn in material 0 whatever its own.
    GLint bound = 0;
    meshTable[6]->parts[0].materialIndex = 9;
    meshTable[6]->draw();
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<std::uint32_t>(bound), wood);
    meshTable[6]->parts[0].materialIndex = 1;
    meshTable[6]->drawInMaterial(0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<std::uint32_t>(bound), wood);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    freeModels();
    EXPECT_EQ(meshTable, nullptr);
}

} // namespace
