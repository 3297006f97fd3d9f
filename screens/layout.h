#pragma once

// Where the 2D screens find things in the generated pictures and where they put them in the
// window. The generator paints the pictures by the same numbers, so a change here moves both.

// The splash picture: three 512 x 320 pictures one above the other, then the menu's 512 x 64
// banner, 512 x 1024 in all. Texture t runs from 0 at the picture's top row to 1 at its bottom.
constexpr int splashWidth = 512;
constexpr int splashBandPixels = 320;
constexpr int splashBands = 3;
constexpr int splashBannerPixels = 64;
constexpr int splashBannerRow = splashBands * splashBandPixels;                         // 960
constexpr int splashHeight = splashBannerRow + splashBannerPixels;                      // 1024
constexpr float splashBandHeight = static_cast<float>(splashBandPixels) / splashHeight; // 0.3125
constexpr float splashBannerTop = static_cast<float>(splashBannerRow) / splashHeight;   // 0.9375

// The menu: the banner's top 10 pixels below the window's top, the 512 x 512 menu picture in
// the lower-right corner, the eight text lines from 200 pixels below the top, 20 apart.
constexpr int menuBannerGap = 10;
constexpr int menuPicturePixels = 512;
constexpr int menuTextX = 50;
constexpr int menuFirstLineBelow = 200;
constexpr int menuLineStep = 20;

// The logo: a 128 x 32 picture 7 pixels from the window's top and right edges.
constexpr int logoWidth = 128;
constexpr int logoHeight = 32;
constexpr int logoMargin = 7;

// The font picture: 16 x 16 cells of 16 x 16 pixels, one per byte, row 0 at the top; a text
// advances 8 pixels per byte, so neighbouring cells overlap by half.
constexpr int fontCellsPerRow = 16;
constexpr int fontCellPixels = 16;
constexpr int fontGlyphs = fontCellsPerRow * fontCellsPerRow;              // 256
constexpr int fontPicturePixels = fontCellsPerRow * fontCellPixels;        // 256
constexpr float fontCellSpan = 1.0f / static_cast<float>(fontCellsPerRow); // 0.0625
constexpr int fontAdvance = 8;
