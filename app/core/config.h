#pragma once

#include <cstdint>

// The settings of chess.cfg: the seven model file names, then seven integers.
struct Config {
    char kingModel[256];
    char queenModel[256];
    char bishopModel[256];
    char knightModel[256];
    char rookModel[256];
    char pawnModel[256];
    char boardModel[256];
    std::int32_t screenWidth;
    std::int32_t screenHeight;
    std::int32_t screenBpp;
    std::int32_t unused581;
    std::int32_t fullScreen;
    std::int32_t unused1363;
    std::int32_t unused1285;
};

constexpr std::int32_t defaultScreenWidth = 1024;
constexpr std::int32_t defaultScreenHeight = 768;
constexpr std::int32_t maxScreenSize = 16384;

// Reads the named file; fields it does not set keep their defaults. Silent on every failure.
Config readConfig(const char* fileName);

// The program-wide settings; screenWidth and screenHeight follow the window's size.
extern Config config;
