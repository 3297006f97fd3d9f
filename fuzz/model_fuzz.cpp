#include "assets/mesh.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Mesh mesh("", nullptr);
    readModelText(std::string(reinterpret_cast<const char*>(data), size), mesh);
    for (MeshPart& part : mesh.parts)
        preparePart(part, mesh.materials);
    mesh.setPartMaterial(1, 0);
    mesh.setPartMaterial(-7, -3);
    return 0;
}
