#pragma once

// The splash's timetable, in seconds from start-up: the asset loading starts at the latest
// at splashLoadSeconds, and the menu follows from splashEndSeconds once it has started.
constexpr float splashLoadSeconds = 14.0f;
constexpr float splashEndSeconds = 15.0f;

// Draws the splash picture of the current splash time, or the third picture in the frame
// in which the asset loading was asked for.
void drawSplash();
