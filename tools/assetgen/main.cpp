// Makes every data file of the game into the directory given as the only argument.
#include <cstdio>
#include <string>

#include "app/core/assetnames.h"
#include "art.h"
#include "models.h"

// The game's own window size and every model by its key, in the order of the configuration.
static int writeConfig(const std::string& dir) {
    FILE* f = fopen((dir + "/" + configFile).c_str(), "w");
    if (!f) {
        return 0;
    }
    fprintf(f, "*SCREEN_WIDTH %d\n*SCREEN_HEIGHT %d\n", defaultScreenWidth, defaultScreenHeight);
    for (const ModelAsset& model : modelAssets) {
        fprintf(f, "%s %s\n", model.keyText, model.fileName);
    }
    return fclose(f) == 0 ? 1 : 0;
}

static int writeModels(const std::string& dir) {
    for (PieceType type : {King, Queen, Bishop, Knight, Rook, Pawn}) {
        const Model piece = buildPiece(type);
        if (!writeAse(piece, dir + "/" + piece.fileName)) {
            return 0;
        }
    }
    const Model board = buildBoard();
    return writeAse(board, dir + "/" + board.fileName);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: assetgen <output directory>\n");
        return 1;
    }
    const std::string dir = argv[1];
    if (!writeConfig(dir) || !writeModels(dir) || !writeArt(dir)) {
        fprintf(stderr, "assetgen: cannot write the data files into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
