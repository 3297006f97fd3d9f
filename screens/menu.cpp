#include "screens/menu.h"

void drawMenu() {}
