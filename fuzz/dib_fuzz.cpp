#include "assets/texture.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    freeDib(decodeDib(data, size));
    return 0;
}
