#include "screens/splash.h"

#include <GL/gl.h>

#include "app/core/config.h"
#include "app/core/state.h"
#include "app/core/turn.h"
#include "assets/texture.h"
#include "screens/font.h"
#include "screens/layout.h"

namespace {

struct SplashLook {
    float brightness;
    int band; // 0, 1 or 2: the first, second or third picture
};

// Brightness and picture at splash time s. From 15 s the splash is either leaving for the
// menu (the first picture) or still waiting for its loading to start (the third).
SplashLook splashLookAt(float s) {
    if (s < 1) return {s, 0};
    if (s < 5) return {1, 0};
    if (s < 6) return {6 - s, 0};
    if (s < 7) return {0, 0};
    if (s < 8) return {s - 7, 1};
    if (s < 13) return {13 - s, 1};
    if (s < splashLoadSeconds) return {0, 1};
    if (s < splashEndSeconds || !anyAppBit(AppModelsLoaded)) return {1, 2};
    return {1, 0};
}

// The three pictures lie one above the other in the splash texture, a band each.
void drawBand(int band) {
    const float v = static_cast<float>(band) * splashBandHeight;
    drawPictureQuad(v + splashBandHeight, v, splashWidth, splashBandPixels);
}

} // namespace

void drawSplash() {
    const int w = config.screenWidth;
    const int h = config.screenHeight;
    glDisable(GL_DEPTH_TEST);
    beginWindowPixels();
    glTranslatef((w - splashWidth) * 0.5f, (h - splashBandPixels) * 0.5f, 0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureSplash]);

    SplashLook look = splashLookAt(phaseSeconds());
    if (frameNotices.loadingPicture) look = {1, 2};
    glColor3f(look.brightness, look.brightness, look.brightness);
    drawBand(look.band);

    endWindowPixels();
    glEnable(GL_DEPTH_TEST);
}
