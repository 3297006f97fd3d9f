#pragma once

#include "app/core/config.h"

class Mesh;

// Slot 0 empty, 1..6 the piece meshes by piece type, 7 the board; null until loaded.
extern Mesh** meshTable;

// Reads the seven models named by `settings` into a new table stored in `table`, board first,
// makes every model texture once through textureRegistry and then destroys the registry.
void loadModels(Config settings, Mesh**& table);

// Destroys the meshes and the table.
void freeModels();
