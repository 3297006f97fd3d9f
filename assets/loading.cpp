#include "assets/loading.h"

#include "app/core/assetnames.h"
#include "assets/mesh.h"
#include "assets/texture.h"

Mesh** meshTable = nullptr;

void loadModels(Config settings, Mesh**& table) {
    table = new Mesh*[8]();
    const auto load = [&](const ModelAsset& model) {
        table[model.slot] = new Mesh(settings.*model.field, textureRegistry);
    };
    // The board first, then the king down to the pawn: the texture files are made in the order
    // in which the models first name them.
    load(modelAssets[BoardModel]);
    for (int model = KingModel; model <= PawnModel; ++model)
        load(modelAssets[model]);
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
