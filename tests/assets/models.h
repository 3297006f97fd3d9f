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

// One triangle using `material`, every corner with the same normal, covering the whole
// viewport under identity matrices.
inline std::string triangleText(int material, const std::string& normal) {
    std::string text = "*GEOMOBJECT { *MESH { *MESH_NUMVERTEX 3 *MESH_NUMFACES 1 "
                       "*MESH_VERTEX_LIST { *MESH_VERTEX 0 -1 -1 0 *MESH_VERTEX 1 3 -1 0 "
                       "*MESH_VERTEX 2 -1 3 0 } *MESH_FACE_LIST { *MESH_FACE 0: A: 0 B: 1 C: 2 "
                       "AB: 1 BC: 1 CA: 1 *MESH_SMOOTHING 1 *MESH_MTLID 0 } *MESH_NORMALS { "
                       "*MESH_FACENORMAL 0 0 0 1";
    for (int i = 0; i < 3; ++i)
        text += " *MESH_VERTEXNORMAL " + std::to_string(i) + " " + normal;
    return text + " } } *MATERIAL_REF " + std::to_string(material) + " }\n";
}
