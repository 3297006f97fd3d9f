#pragma once

// The names of the game's data files, each written once. The generator writes its files by
// these names and the game reads them by the same names; CMake takes the list of the
// generator's outputs from this header: every quoted name with an extension, outside the
// #include lines, is one generated file.

#include "app/core/config.h"
#include "app/core/keyword.h"

constexpr char configFile[] = "chess.cfg";

// The seven models, in the order of Config's text fields.
enum ModelIndex {
    KingModel,
    QueenModel,
    BishopModel,
    KnightModel,
    RookModel,
    PawnModel,
    BoardModel
};

struct ModelAsset {
    KeywordCode keyCode;        // the chess.cfg key that names the model's file
    const char* keyText;        // that key as the generated chess.cfg spells it
    char (Config::*field)[256]; // where the configuration keeps the file name
    int slot;                   // the meshTable slot: the piece's type code, 7 for the board
    const char* fileName;       // the file the generator writes; the default when none is named
};

constexpr ModelAsset modelAssets[7] = {
    {3111, "*KING", &Config::kingModel, 6, "king.ase"},
    {2250, "*QUEEN", &Config::queenModel, 5, "queen.ase"},
    {2282, "*BISHOP", &Config::bishopModel, 4, "bishop.ase"},
    {1847, "*KNIGHT", &Config::knightModel, 3, "knight.ase"},
    {1620, "*ROOK", &Config::rookModel, 2, "rook.ase"},
    {2567, "*PAWN", &Config::pawnModel, 1, "pawn.ase"},
    {3360, "*CHESSBOARD", &Config::boardModel, 7, "board.ase"},
};

// The textures the models' materials name; the game finds them through the models.
constexpr char ivoryTextureFile[] = "ivory.jpg";
constexpr char ebonyTextureFile[] = "ebony.jpg";
constexpr char lightMarbleTextureFile[] = "LIGHTMARBLE.JPG";
constexpr char darkStoneTextureFile[] = "darkstone.jpg";
constexpr char woodTextureFile[] = "wood.jpg";
constexpr char labelTextureFile[] = "labels.jpg";

// The 2D pictures, read by these fixed names.
constexpr char fontPictureFile[] = "Font.bmp";
constexpr char highlightPictureFile[] = "Pole.bmp";
constexpr char splashPictureFile[] = "splash.jpg";
constexpr char menuPictureFile[] = "menu.jpg";
constexpr char logoPictureFile[] = "kavrin.jpg";

// The desktop icons, 64 and 128 pixels square: installed with the game, never read by it.
constexpr char iconFile[] = "kavrin-chess.png";
constexpr char largeIconFile[] = "kavrin-chess-128.png";
