#pragma once

// Draws the splash on its timetable and starts the asset loading once.
void drawSplash();
