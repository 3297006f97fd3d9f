#pragma once

// Builders of model text: a material list naming one texture file per material, and parts of
// one triangle each.

#include <string>
#include <vector>

inline std::string materialsText(const std::vector<std::string>& files) {
    std::string text = "*MATERIAL_LIST { *MATERIAL_COUNT " + std::to_string(files.size());
    for (std::size_t i = 0; i < files.size(); ++i)
        text += " *MATERIAL " + std::to_string(i) + " { *MAP_DIFFUSE { *BITMAP \"" + files[i] +
                "\" } }";
    return text + " }\n";
}

// One triangle using `material`, every corner with the same normal; `vertices` lists the three
// vertices' coordinates, and the face names them in the order 2, 0, 1.
inline std::string triangleText(int material, const std::string& normal,
                                const std::string& vertices = "1 2 3  4 5 6  7 8 9") {
    std::string text = "*GEOMOBJECT { *MESH { *MESH_NUMVERTEX 3 *MESH_NUMFACES 1 "
                       "*MESH_VERTEX_LIST {";
    for (std::size_t i = 0, at = 0; i < 3; ++i, at += 2) {
        const std::size_t end = vertices.find("  ", at);
        text += " *MESH_VERTEX " + std::to_string(i) + " " + vertices.substr(at, end - at);
        at = end;
    }
    text += " } *MESH_FACE_LIST { *MESH_FACE 0: A: 2 B: 0 C: 1 AB: 1 BC: 1 CA: 1 "
            "*MESH_SMOOTHING 1 *MESH_MTLID 0 } *MESH_NUMTVERTEX 2 *MESH_TVERTLIST { "
            "*MESH_TVERT 0 0.5 0.25 0 *MESH_TVERT 1 1 0.75 0 } *MESH_NUMTVFACES 1 "
            "*MESH_TFACELIST { *MESH_TFACE 0 1 0 1 } *MESH_NORMALS { *MESH_FACENORMAL 0 0 0 1";
    for (int i = 0; i < 3; ++i)
        text += " *MESH_VERTEXNORMAL " + std::to_string(i) + " " + normal;
    return text + " } } *MATERIAL_REF " + std::to_string(material) + " }\n";
}
