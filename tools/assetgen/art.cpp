#include "art.h"

#include "icon.h"
#include "image.h"
#include "pictures.h"
#include "textures.h"

int writeArt(const std::string& dir) {
    TextSetter text;
    if (!text.ok()) {
        return 0;
    }
    const std::string d = dir + "/";
    int ok = writeJpeg(ivoryTexture(), d + "ivory.jpg");
    ok &= writeJpeg(ebonyTexture(), d + "ebony.jpg");
    ok &= writeJpeg(lightMarbleTexture(), d + "LIGHTMARBLE.JPG");
    ok &= writeJpeg(darkStoneTexture(), d + "darkstone.jpg");
    ok &= writeJpeg(woodTexture(), d + "wood.jpg");
    ok &= writeJpeg(labelTexture(text), d + "labels.jpg");
    ok &= writeBmp(fontPicture(text), d + "Font.bmp");
    ok &= writeBmp(highlightPicture(), d + "Pole.bmp");
    ok &= writePictures(text, d);
    ok &= writeIcon(text, 64, d + "kavrin-chess.png");
    ok &= writeIcon(text, 128, d + "kavrin-chess-128.png");
    return ok && text.ok();
}
