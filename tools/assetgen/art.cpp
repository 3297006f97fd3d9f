#include "art.h"

int writeArt(const std::string&) { return 1; }
