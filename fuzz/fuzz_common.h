#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

// The readers under test take file names, so each input goes through a scratch file.
inline const char* writeScratchFile(const std::uint8_t* data, std::size_t size) {
    static const std::string name = "/tmp/kavrin-fuzz-" + std::to_string(getpid());
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return nullptr;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    return name.c_str();
}
