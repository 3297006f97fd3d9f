#include "assets/loading.h"

#include "assets/mesh.h"
#include "assets/texture.h"

Mesh** meshTable = nullptr;

void loadModels(Config settings, Mesh**& table) {
    table = new Mesh*[8]();
    table[7] = new Mesh(settings.boardModel, textureRegistry);
    table[6] = new Mesh(settings.kingModel, textureRegistry);
    table[5] = new Mesh(settings.queenModel, textureRegistry);
    table[4] = new Mesh(settings.bishopModel, textureRegistry);
    table[3] = new Mesh(settings.knightModel, textureRegistry);
    table[2] = new Mesh(settings.rookModel, textureRegistry);
    table[1] = new Mesh(settings.pawnModel, textureRegistry);
    table[0] = nullptr;
    if (textureRegistry) textureRegistry->loadAll();
    delete textureRegistry;
    textureRegistry = nullptr;
}

void freeModels() {
    if (!meshTable) return;
    for (int i = 1; i <= 7; ++i)
        delete meshTable[i];
    delete[] meshTable;
    meshTable = nullptr;
}
