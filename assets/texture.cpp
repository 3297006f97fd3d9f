#include "assets/texture.h"

TextureRegistry* textureRegistry = nullptr;
