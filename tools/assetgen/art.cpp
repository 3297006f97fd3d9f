#include "art.h"

#include "app/core/assetnames.h"
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
    int ok = writeJpeg(ivoryTexture(), d + ivoryTextureFile);
    ok &= writeJpeg(ebonyTexture(), d + ebonyTextureFile);
    ok &= writeJpeg(lightMarbleTexture(), d + lightMarbleTextureFile);
    ok &= writeJpeg(darkStoneTexture(), d + darkStoneTextureFile);
    ok &= writeJpeg(woodTexture(), d + woodTextureFile);
    ok &= writeJpeg(labelTexture(text), d + labelTextureFile);
    ok &= writeBmp(fontPicture(text), d + fontPictureFile);
    ok &= writeBmp(highlightPicture(), d + highlightPictureFile);
    ok &= writePictures(text, d);
    ok &= writeIcon(text, 64, d + iconFile);
    ok &= writeIcon(text, 128, d + largeIconFile);
    return ok && text.ok();
}
