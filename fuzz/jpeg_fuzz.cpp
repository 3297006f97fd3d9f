#include "assets/texture.h"
#include "fuzz/fuzz_common.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* fileName = writeScratchFile(data, size);
    if (!fileName) return 0;
    RgbImage image;
    loadJpeg(fileName, image);
    std::free(image.pixels);
    return 0;
}
