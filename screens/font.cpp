#include "screens/font.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/core/config.h"
#include "assets/texture.h"
#include "screens/layout.h"

unsigned int fontBase = 0;

void buildFont() {
    fontBase = glGenLists(fontGlyphs);
    glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureFont]);
    for (int b = 0; b < fontGlyphs; ++b) {
        const float s0 = static_cast<float>(b % fontCellsPerRow) * fontCellSpan;
        const float tTop = 1.0f - static_cast<float>(b / fontCellsPerRow) * fontCellSpan;
        const float tBottom = tTop - fontCellSpan;
        glNewList(fontBase + b, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(s0, tBottom);
        glVertex2i(0, 0);
        glTexCoord2f(s0 + fontCellSpan, tBottom);
        glVertex2i(fontCellPixels, 0);
        glTexCoord2f(s0 + fontCellSpan, tTop);
        glVertex2i(fontCellPixels, fontCellPixels);
        glTexCoord2f(s0, tTop);
        glVertex2i(0, fontCellPixels);
        glEnd();
        glTranslated(fontAdvance, 0, 0);
        glEndList();
    }
}

void beginWindowPixels() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, config.screenWidth, 0, config.screenHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void endWindowPixels() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void drawPictureQuad(float tBottom, float tTop, int width, int height) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, tBottom);
    glVertex2i(0, 0);
    glTexCoord2f(1, tBottom);
    glVertex2i(width, 0);
    glTexCoord2f(1, tTop);
    glVertex2i(width, height);
    glTexCoord2f(0, tTop);
    glVertex2i(0, height);
    glEnd();
}

void printText(int x, int y, const char* format, ...) {
    if (!format) return;
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, pictureTextures[PictureFont]);
    glDisable(GL_DEPTH_TEST);
    beginWindowPixels();
    glTranslated(x, y, 0);
    glListBase(fontBase);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    endWindowPixels();
    glEnable(GL_DEPTH_TEST);
}
