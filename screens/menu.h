#pragma once

// Draws the menu with its option lines in the chosen language.
void drawMenu();
