// Makes every data file of the game into the directory given as the only argument.
#include <cstdio>
#include <string>

#include "art.h"
#include "models.h"

static int writeConfig(const std::string& dir) {
    FILE* f = fopen((dir + "/chess.cfg").c_str(), "w");
    if (!f) {
        return 0;
    }
    fprintf(f, "*SCREEN_WIDTH 1024\n*SCREEN_HEIGHT 768\n");
    fprintf(f, "*KING king.ase\n*QUEEN queen.ase\n*BISHOP bishop.ase\n*KNIGHT knight.ase\n");
    fprintf(f, "*ROOK rook.ase\n*PAWN pawn.ase\n*CHESSBOARD board.ase\n");
    return fclose(f) == 0 ? 1 : 0;
}

static int writeModels(const std::string& dir) {
    for (PieceType type : {King, Queen, Bishop, Knight, Rook, Pawn}) {
        const Model piece = buildPiece(type);
        if (!writeAse(piece, dir + "/" + piece.fileName)) {
            return 0;
        }
    }
    return writeAse(buildBoard(), dir + "/board.ase");
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
