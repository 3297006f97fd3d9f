#include "app/core/config.h"
#include "fuzz/fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* fileName = writeScratchFile(data, size);
    if (fileName) readConfig(fileName);
    return 0;
}
