#pragma once

#include <cstdint>

// Brings the game up to tick `now` (SDL milliseconds), before the frame is drawn: the splash
// timetable with the asset loading, and in a game the ends of the camera turn (with the
// computer's move that follows it), the move animation (with the promotion prompt or the
// hand-over) and the promotion animation. Needs no window.
void advanceGame(std::uint32_t now);
