#pragma once

class Mesh;

// Slot 0 empty, 1..6 the piece meshes by piece type, 7 the board; null until loaded.
extern Mesh** meshTable;

// Destroys the meshes and the table.
void freeModels();
