#include "scene/gamescreen.h"

void drawGameScreen() {}
