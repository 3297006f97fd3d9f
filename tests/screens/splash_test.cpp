#include "screens/splash.h"

#include "app/state.h"
#include "assets/loading.h"
#include "tests/scene/scene_fixture.h"

namespace {

const testing::Environment* const window = testing::AddGlobalTestEnvironment(new SceneWindow);

constexpr Uint32 start = 50000;

// The splash picture sits centred: at 1024 x 768 from (256, 224) to (768, 544).
constexpr int left = 256, bottom = 224, right = 768, top = 544;

class Splash : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
        appState = AppSplash;
        phaseStart = start;
        freeModels();
    }
    static void TearDownTestSuite() { freeModels(); }
    // Draws the splash frame at `seconds` after its start (in milliseconds to be exact).
    static Frame frameAt(Uint32 milliseconds) {
        testTicks = start + milliseconds;
        clearFrame();
        drawSplash();
        return Frame::read();
    }
    static double brightnessAt(Uint32 milliseconds) {
        return frameAt(milliseconds).mean(left, bottom, right, top);
    }
};

} // namespace

TEST_F(Splash, PictureIsCentredAtItsOwnSize) {
    const Box box = litBox(frameAt(3000));
    ASSERT_FALSE(box.empty());
    EXPECT_NEAR(box.x0, left, 2);
    EXPECT_NEAR(box.y0, bottom, 2);
    EXPECT_NEAR(box.x1, right, 2);
    EXPECT_NEAR(box.y1, top, 2);
}

TEST_F(Splash, FirstPictureFadesInStaysAndFadesOut) {
    const double full = brightnessAt(3000);
    ASSERT_GT(full, 20);
    EXPECT_NEAR(brightnessAt(0), 0, 0.5);
    EXPECT_NEAR(brightnessAt(500) / full, 0.5, 0.05);
    EXPECT_NEAR(brightnessAt(1000), full, 0.5);
    EXPECT_NEAR(brightnessAt(4999), full, 0.5);
    EXPECT_NEAR(brightnessAt(5500) / full, 0.5, 0.05);
    EXPECT_NEAR(brightnessAt(6000), 0, 0.5);
    EXPECT_NEAR(brightnessAt(6999), 0, 0.5);
    EXPECT_EQ(appState, AppSplash);
}

TEST_F(Splash, SecondPictureShowsFromSevenToThirteenSeconds) {
    const Frame first = frameAt(3000);
    const Frame second = frameAt(10000);
    EXPECT_GT(second.difference(first, left, bottom, right, top), 5);
    EXPECT_NEAR(brightnessAt(7500) / second.mean(left, bottom, right, top), 0.5, 0.05);
    // 13 - s is above 1 until 12 s, so the picture stays at full brightness until then.
    EXPECT_LT(frameAt(8000).difference(second, left, bottom, right, top), 0.5);
    EXPECT_LT(frameAt(11999).difference(second, left, bottom, right, top), 0.5);
    EXPECT_NEAR(brightnessAt(12500) / second.mean(left, bottom, right, top), 0.5, 0.05);
    EXPECT_NEAR(brightnessAt(13000), 0, 0.5);
    EXPECT_NEAR(brightnessAt(13999), 0, 0.5);
}

TEST_F(Splash, ThirdPictureAtFourteenSecondsLoadsOnceAndTheMenuFollows) {
    const Frame first = frameAt(3000);
    const Frame second = frameAt(10000);
    const Frame third = frameAt(14000);
    EXPECT_GT(third.difference(first, left, bottom, right, top), 5);
    EXPECT_GT(third.difference(second, left, bottom, right, top), 5);
    ASSERT_TRUE(anyAppBit(AppModelsLoaded));
    EXPECT_FALSE(anyAppBit(AppLoadRequest));
    ASSERT_NE(meshTable, nullptr);
    Mesh** loaded = meshTable;

    frameAt(14999);
    EXPECT_EQ(meshTable, loaded) << "the models were loaded again";
    EXPECT_EQ(appState, AppSplash | AppModelsLoaded);

    const Frame last = frameAt(15000);
    EXPECT_LT(last.difference(first, left, bottom, right, top), 0.5);
    EXPECT_EQ(appState, AppMenu | AppModelsLoaded);
    EXPECT_EQ(meshTable, loaded);
}

TEST_F(Splash, KeyPressLoadsAtOnceWithoutShorteningTheSplash) {
    const Frame third = frameAt(14000);
    freeModels();
    appState = AppSplash;

    frameAt(2900);
    EXPECT_EQ(meshTable, nullptr);
    setAppBits(AppLoadRequest);
    const Frame keyFrame = frameAt(3000);
    EXPECT_LT(keyFrame.difference(third, left, bottom, right, top), 0.5);
    ASSERT_NE(meshTable, nullptr);
    Mesh** loaded = meshTable;

    EXPECT_NEAR(brightnessAt(6500), 0, 0.5);
    EXPECT_LT(frameAt(14200).difference(third, left, bottom, right, top), 0.5);
    EXPECT_EQ(meshTable, loaded);
    frameAt(15000);
    EXPECT_TRUE(anyAppBit(AppMenu));
    EXPECT_FALSE(anyAppBit(AppSplash));
    EXPECT_EQ(meshTable, loaded);
}

TEST_F(Splash, ALateFirstFrameStillLoadsBeforeTheMenu) {
    // No frame fell between 14 and 15 s, so the loading has not been requested yet.
    frameAt(13500);
    frameAt(16000);
    ASSERT_NE(meshTable, nullptr);
    EXPECT_TRUE(anyAppBit(AppSplash));
    frameAt(16020);
    EXPECT_EQ(appState, AppMenu | AppModelsLoaded);
}

TEST_F(Splash, LeavesTheMatricesAndDepthTestAsItFoundThem) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    frameAt(3000);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(before[i], after[i]);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glLoadIdentity();
}
