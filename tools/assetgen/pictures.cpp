#include "pictures.h"

int writePictures(TextSetter&, const std::string&) { return 1; }
