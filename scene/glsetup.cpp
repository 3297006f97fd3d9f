#include "scene/glsetup.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/texture.h"
#include "screens/font.h"

// Lighting stays off for good: the models carry their shading baked into vertex colours.
int initGL() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    if (!loadPictures()) return 0;
    buildFont();
    return 1;
}

int resizeGL(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 0.1, 20.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return 1;
}
