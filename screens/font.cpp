#include "screens/font.h"

unsigned int fontBase = 0;
