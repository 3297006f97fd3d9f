#pragma once

// Collects the texture files that the models' materials name, one texture per file name.
class TextureRegistry {};

extern TextureRegistry* textureRegistry;
