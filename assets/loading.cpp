#include "assets/loading.h"

Mesh** meshTable = nullptr;

void freeModels() {}
