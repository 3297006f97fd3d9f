#include "screens/splash.h"

void drawSplash() {}
