#pragma once

#include <cstdint>

// The application state bits: which screen is shown, whose turn it is, which timed phase runs.
enum : std::uint32_t {
    AppMenu = 0x0001,
    AppGame = 0x0002,
    AppWhiteTurn = 0x0004,
    AppBlackTurn = 0x0008,
    AppMoveAnim = 0x0010,
    AppCameraTurn = 0x0020,
    AppHumanToMove = 0x0040,
    AppComputerToMove = 0x0080,
    AppPromotionPrompt = 0x0200,
    AppPromotionAnim = 0x0400,
    AppSplash = 0x0800,
    AppModelsLoaded = 0x1000,
    AppLoadRequest = 0x2000,
};

struct MenuOptions {
    std::int8_t animations; // 1 on, 0 off
    std::int8_t players;    // 0 two people, 1 person (White) and computer, 2 two computers
    std::int8_t rotate;     // 1 the camera turns to the side to move
    std::int8_t language;   // 0 Czech, 1 English
};

constexpr MenuOptions menuStartOptions = {1, 0, 1, 0};

extern std::uint32_t appState;
extern MenuOptions menuOptions;
// SDL tick count at which the running timed phase began.
extern std::uint32_t phaseStart;

// What the last advance of the game did that only the frame drawn right after it shows.
struct FrameNotices {
    bool loadingPicture;  // the splash's asset loading was asked for: its third picture
    bool computerThought; // the computer searched for its move: "Premyslim..."
};
extern FrameNotices frameNotices;

inline void setAppBits(std::uint32_t bits) { appState |= bits; }
inline void clearAppBits(std::uint32_t bits) { appState &= ~bits; }
// Whether at least one of `bits` is set.
inline bool anyAppBit(std::uint32_t bits) { return (appState & bits) != 0; }
// Whether every one of `bits` is set.
inline bool allAppBits(std::uint32_t bits) { return (appState & bits) == bits; }

// Frees the selection's target list, shuts SDL down and ends the process with `status`.
[[noreturn]] void quitProgram(int status);
