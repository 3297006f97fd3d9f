#include "scene/glsetup.h"

#include <GL/gl.h>

int initGL() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    return 1;
}

void resizeGL(int width, int height) { glViewport(0, 0, width, height); }
