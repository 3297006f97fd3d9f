#include "screens/splash.h"

#include "app/core/state.h"
#include "tests/scene/scene_fixture.h"

namespace {

constexpr Uint32 start = 50000;

// The splash picture sits centred at its own size: at 1024 x 768 from (256, 224) to (768, 544).
constexpr Rect shown = {256, 224, 768, 544};

class Splash : public testing::Test {
  protected:
    void SetUp() override {
        resizeTo(1024, 768);
        appState = AppSplash;
        phaseStart = start;
    }
    // Texturing off and the font bound before, as the start-up leaves them: the splash switches
    // texturing on and binds its own picture itself.
    static Frame frameAt(Uint32 milliseconds) {
        testTicks = start + milliseconds;
        clearFrame();
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, pictureTextures[0]);
        drawSplash();
        return Frame::read();
    }
    static double differenceAt(Uint32 milliseconds, const Frame& other) {
        return frameAt(milliseconds).difference(other, shown);
    }
};

} // namespace

// The loading itself and the way to the menu are the game's advance; here only the pictures.
TEST_F(Splash, PicturesFadeInAndOutInTurnAndTheThirdShowsFrom14Seconds) {
    const Frame first = frameAt(3000), second = frameAt(10000);
    // At full brightness the first picture is the top 320 rows of splash.jpg at its own size.
    EXPECT_LT(differenceFromPicture(first, "splash.jpg", 0, 320, shown.x0, shown.y1 - 1), 4);
    EXPECT_NEAR(litBox(first).x0, shown.x0, 2);
    EXPECT_NEAR(litBox(first).y0, shown.y0, 2);
    EXPECT_GT(second.difference(first, shown), 5);
    const double full[2] = {first.mean(shown), second.mean(shown)};
    // Brightness as a share of the full first or second picture at each instant.
    const struct {
        Uint32 ms, picture;
        double share;
    } instants[] = {{0, 0, 0},      {500, 0, 0.5}, {4999, 0, 1},  {5500, 0, 0.5},  {6999, 0, 0},
                    {7500, 1, 0.5}, {8000, 1, 1},  {11999, 1, 1}, {12500, 1, 0.5}, {13999, 1, 0}};
    for (const auto& i : instants)
        EXPECT_NEAR(frameAt(i.ms).mean(shown) / full[i.picture], i.share, 0.05) << i.ms << " ms";
    const Frame third = frameAt(14000);
    EXPECT_GT(third.difference(first, shown), 5);
    EXPECT_GT(third.difference(second, shown), 5);
    EXPECT_LT(differenceAt(14999, third), 0.5);
    EXPECT_LT(differenceAt(16000, third), 0.5) << "still waiting for the loading";
    appState |= AppModelsLoaded;
    EXPECT_LT(differenceAt(15000, first), 0.5) << "the frame that leaves for the menu";
    frameNotices.loadingPicture = true; // a key asked for the loading in this frame
    EXPECT_LT(differenceAt(3000, third), 0.5);
    frameNotices.loadingPicture = false;
}
