#include "screens/splash.h"

#include <GL/gl.h>
#include <SDL.h>

#include "app/core/config.h"
#include "app/core/state.h"
#include "assets/loading.h"
#include "assets/texture.h"
#include "screens/font.h"

namespace {

constexpr float bandHeight = 0.3125f;

struct SplashLook {
    float brightness;
    int band; // 0, 1 or 2: the first, second or third picture
};

float splashSeconds() {
    const std::uint32_t elapsed = SDL_GetTicks() - phaseStart;
    return static_cast<float>(elapsed) * 0.001f;
}

// Brightness and picture at splash time s; sets the load request at 14 s and leaves for the
// menu from 15 s once the loading has been started. A first frame after 15 s (a stalled
// machine) requests the loading itself, or the splash would never end.
SplashLook splashLookAt(float s) {
    if (s < 1) return {s, 0};
    if (s < 5) return {1, 0};
    if (s < 6) return {6 - s, 0};
    if (s < 7) return {0, 0};
    if (s < 8) return {s - 7, 1};
    if (s < 13) return {13 - s, 1};
    if (s < 14) return {0, 1};
    if (s < 15) {
        setAppBits(AppLoadRequest);
        return {1, 2};
    }
    if (!anyAppBit(AppModelsLoaded)) {
        setAppBits(AppLoadRequest);
        return {1, 2};
    }
    clearAppBits(AppSplash);
    setAppBits(AppMenu);
    return {1, 0};
}

// The three pictures lie one above the other in the splash texture, a band each.
void drawBand(int band) {
    const float v = static_cast<float>(band) * bandHeight;
    drawPictureQuad(v + bandHeight, v, 512, 320);
}

} // namespace

void drawSplash() {
    const int w = config.screenWidth;
    const int h = config.screenHeight;
    glDisable(GL_DEPTH_TEST);
    beginWindowPixels();
    glTranslatef((w - 512) * 0.5f, (h - 320) * 0.5f, 0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureSplash]);

    SplashLook look = splashLookAt(splashSeconds());
    if (anyAppBit(AppLoadRequest)) look = {1, 2};
    glColor3f(look.brightness, look.brightness, look.brightness);
    drawBand(look.band);

    endWindowPixels();
    glEnable(GL_DEPTH_TEST);

    if (anyAppBit(AppLoadRequest)) {
        clearAppBits(AppLoadRequest);
        if (!anyAppBit(AppModelsLoaded)) {
            setAppBits(AppModelsLoaded);
            loadModels(config, meshTable);
        }
    }
}
