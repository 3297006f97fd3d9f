#include "geometry.h"

#include <cstdio>

int Part::addPosition(Vec3 p) {
    positions.push_back(p);
    return static_cast<int>(positions.size()) - 1;
}

int Part::addTexVert(double u, double v) {
    texVerts.push_back({u, v});
    return static_cast<int>(texVerts.size()) - 1;
}

void Part::addTriangle(int a, int b, int c, int ta, int tb, int tc) {
    faces.push_back({{a, b, c}, {ta, tb, tc}});
}

void Part::append(const Part& other) {
    const int vBase = static_cast<int>(positions.size());
    const int tBase = static_cast<int>(texVerts.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    texVerts.insert(texVerts.end(), other.texVerts.begin(), other.texVerts.end());
    for (const Face& f : other.faces) {
        faces.push_back({{f.v[0] + vBase, f.v[1] + vBase, f.v[2] + vBase},
                         {f.t[0] + tBase, f.t[1] + tBase, f.t[2] + tBase}});
    }
}

void Part::orientOutwards() {
    double volume = 0;
    for (const Face& f : faces) {
        volume += dot(positions[f.v[0]], cross(positions[f.v[1]], positions[f.v[2]]));
    }
    if (volume >= 0) {
        return;
    }
    for (Face& f : faces) {
        std::swap(f.v[1], f.v[2]);
        std::swap(f.t[1], f.t[2]);
    }
}

static Vec3 faceCross(const Part& part, const Face& f) {
    const Vec3 a = part.positions[f.v[0]];
    return cross(part.positions[f.v[1]] - a, part.positions[f.v[2]] - a);
}

std::vector<Vec3> cornerNormals(const Part& part, double creaseDegrees) {
    const double cosCrease = std::cos(creaseDegrees * M_PI / 180.0);
    std::vector<std::vector<int>> facesAt(part.positions.size());
    std::vector<Vec3> weighted(part.faces.size());
    for (size_t i = 0; i < part.faces.size(); ++i) {
        weighted[i] = faceCross(part, part.faces[i]);
        for (int k = 0; k < 3; ++k) {
            facesAt[part.faces[i].v[k]].push_back(static_cast<int>(i));
        }
    }
    std::vector<Vec3> normals(part.faces.size() * 3);
    for (size_t i = 0; i < part.faces.size(); ++i) {
        const Vec3 own = normalized(weighted[i]);
        for (int k = 0; k < 3; ++k) {
            Vec3 sum;
            for (int j : facesAt[part.faces[i].v[k]]) {
                if (dot(normalized(weighted[j]), own) >= cosCrease) {
                    sum = sum + weighted[j];
                }
            }
            normals[i * 3 + k] = length(sum) > 1e-12 ? normalized(sum) : own;
        }
    }
    return normals;
}

int countTriangles(const Model& model) {
    int n = 0;
    for (const Part& p : model.parts) {
        n += static_cast<int>(p.faces.size());
    }
    return n;
}

static void writeMaterial(FILE* f, int index, const Material& m) {
    fprintf(f, "\t*MATERIAL %d {\n", index);
    fprintf(f, "\t\t*MATERIAL_NAME \"%s\"\n", m.name.c_str());
    fprintf(f, "\t\t*MATERIAL_CLASS \"Standard\"\n");
    fprintf(f, "\t\t*MATERIAL_AMBIENT %.4f\t%.4f\t%.4f\n", m.diffuse[0] * 0.3, m.diffuse[1] * 0.3,
            m.diffuse[2] * 0.3);
    fprintf(f, "\t\t*MATERIAL_DIFFUSE %.4f\t%.4f\t%.4f\n", m.diffuse[0], m.diffuse[1],
            m.diffuse[2]);
    fprintf(f, "\t\t*MATERIAL_SPECULAR 0.9000\t0.9000\t0.9000\n");
    fprintf(f, "\t\t*MATERIAL_SHINE 0.2500\n");
    fprintf(f, "\t\t*MATERIAL_SHINESTRENGTH 0.0500\n");
    fprintf(f, "\t\t*MATERIAL_TRANSPARENCY 0.0000\n");
    fprintf(f, "\t\t*MATERIAL_WIRESIZE 1.0000\n");
    fprintf(f, "\t\t*MATERIAL_SHADING Blinn\n");
    fprintf(f, "\t\t*MATERIAL_XP_FALLOFF 0.0000\n");
    fprintf(f, "\t\t*MATERIAL_SELFILLUM 0.0000\n");
    fprintf(f, "\t\t*MATERIAL_FALLOFF In\n");
    fprintf(f, "\t\t*MATERIAL_XP_TYPE Filter\n");
    fprintf(f, "\t\t*MAP_DIFFUSE {\n");
    fprintf(f, "\t\t\t*MAP_NAME \"%s map\"\n", m.name.c_str());
    fprintf(f, "\t\t\t*MAP_CLASS \"Bitmap\"\n");
    fprintf(f, "\t\t\t*MAP_SUBNO 1\n");
    fprintf(f, "\t\t\t*MAP_AMOUNT 1.0000\n");
    fprintf(f, "\t\t\t*BITMAP \"%s\"\n", m.bitmap.c_str());
    fprintf(f, "\t\t\t*MAP_TYPE Screen\n");
    fprintf(f, "\t\t\t*UVW_U_OFFSET 0.0000\n");
    fprintf(f, "\t\t\t*UVW_V_OFFSET 0.0000\n");
    fprintf(f, "\t\t\t*UVW_U_TILING 1.0000\n");
    fprintf(f, "\t\t\t*UVW_V_TILING 1.0000\n");
    fprintf(f, "\t\t\t*UVW_ANGLE 0.0000\n");
    fprintf(f, "\t\t\t*UVW_BLUR 1.0000\n");
    fprintf(f, "\t\t\t*UVW_BLUR_OFFSET 0.0000\n");
    fprintf(f, "\t\t\t*UVW_NOUSE_AMT 1.0000\n");
    fprintf(f, "\t\t\t*UVW_NOISE_SIZE 1.0000\n");
    fprintf(f, "\t\t\t*UVW_NOISE_LEVEL 1\n");
    fprintf(f, "\t\t\t*UVW_NOISE_PHASE 0.0000\n");
    fprintf(f, "\t\t\t*BITMAP_FILTER Pyramidal\n");
    fprintf(f, "\t\t}\n");
    fprintf(f, "\t}\n");
}

static void writeNodeTm(FILE* f, const std::string& name) {
    fprintf(f, "\t*NODE_TM {\n");
    fprintf(f, "\t\t*NODE_NAME \"%s\"\n", name.c_str());
    fprintf(f, "\t\t*INHERIT_POS 0 0 0\n");
    fprintf(f, "\t\t*INHERIT_ROT 0 0 0\n");
    fprintf(f, "\t\t*INHERIT_SCL 0 0 0\n");
    fprintf(f, "\t\t*TM_ROW0 1.0000\t0.0000\t0.0000\n");
    fprintf(f, "\t\t*TM_ROW1 0.0000\t1.0000\t0.0000\n");
    fprintf(f, "\t\t*TM_ROW2 0.0000\t0.0000\t1.0000\n");
    fprintf(f, "\t\t*TM_ROW3 0.0000\t0.0000\t0.0000\n");
    fprintf(f, "\t\t*TM_POS 0.0000\t0.0000\t0.0000\n");
    fprintf(f, "\t\t*TM_ROTAXIS 0.0000\t0.0000\t0.0000\n");
    fprintf(f, "\t\t*TM_ROTANGLE 0.0000\n");
    fprintf(f, "\t\t*TM_SCALE 1.0000\t1.0000\t1.0000\n");
    fprintf(f, "\t\t*TM_SCALEAXIS 0.0000\t0.0000\t0.0000\n");
    fprintf(f, "\t\t*TM_SCALEAXISANG 0.0000\n");
    fprintf(f, "\t}\n");
}

static void writeMesh(FILE* f, const Part& part) {
    const std::vector<Vec3> normals = cornerNormals(part, 40.0);
    fprintf(f, "\t*MESH {\n");
    fprintf(f, "\t\t*TIMEVALUE 0\n");
    fprintf(f, "\t\t*MESH_NUMVERTEX %zu\n", part.positions.size());
    fprintf(f, "\t\t*MESH_NUMFACES %zu\n", part.faces.size());
    fprintf(f, "\t\t*MESH_VERTEX_LIST {\n");
    for (size_t i = 0; i < part.positions.size(); ++i) {
        const Vec3& p = part.positions[i];
        fprintf(f, "\t\t\t*MESH_VERTEX %5zu\t%.4f\t%.4f\t%.4f\n", i, p.x, p.y, p.z);
    }
    fprintf(f, "\t\t}\n");
    fprintf(f, "\t\t*MESH_FACE_LIST {\n");
    for (size_t i = 0; i < part.faces.size(); ++i) {
        const Face& fc = part.faces[i];
        fprintf(f,
                "\t\t\t*MESH_FACE %5zu:    A: %5d B: %5d C: %5d AB:    1 BC:    1 CA:    1"
                "\t *MESH_SMOOTHING 1 \t*MESH_MTLID 0\n",
                i, fc.v[0], fc.v[1], fc.v[2]);
    }
    fprintf(f, "\t\t}\n");
    fprintf(f, "\t\t*MESH_NUMTVERTEX %zu\n", part.texVerts.size());
    fprintf(f, "\t\t*MESH_TVERTLIST {\n");
    for (size_t i = 0; i < part.texVerts.size(); ++i) {
        fprintf(f, "\t\t\t*MESH_TVERT %zu\t%.4f\t%.4f\t0.0000\n", i, part.texVerts[i].u,
                part.texVerts[i].v);
    }
    fprintf(f, "\t\t}\n");
    fprintf(f, "\t\t*MESH_NUMTVFACES %zu\n", part.faces.size());
    fprintf(f, "\t\t*MESH_TFACELIST {\n");
    for (size_t i = 0; i < part.faces.size(); ++i) {
        const Face& fc = part.faces[i];
        fprintf(f, "\t\t\t*MESH_TFACE %zu\t%d\t%d\t%d\n", i, fc.t[0], fc.t[1], fc.t[2]);
    }
    fprintf(f, "\t\t}\n");
    fprintf(f, "\t\t*MESH_NORMALS {\n");
    for (size_t i = 0; i < part.faces.size(); ++i) {
        const Face& fc = part.faces[i];
        const Vec3 a = part.positions[fc.v[0]];
        const Vec3 fn = normalized(cross(part.positions[fc.v[1]] - a, part.positions[fc.v[2]] - a));
        fprintf(f, "\t\t\t*MESH_FACENORMAL %zu\t%.4f\t%.4f\t%.4f\n", i, fn.x, fn.y, fn.z);
        for (int k = 0; k < 3; ++k) {
            const Vec3 n = normals[i * 3 + k];
            fprintf(f, "\t\t\t\t*MESH_VERTEXNORMAL %d\t%.4f\t%.4f\t%.4f\n", fc.v[k], n.x, n.y, n.z);
        }
    }
    fprintf(f, "\t\t}\n");
    fprintf(f, "\t}\n");
}

int writeAse(const Model& model, const std::string& path) {
    FILE* f = fopen(path.c_str(), "w");
    if (!f) {
        return 0;
    }
    fprintf(f, "*3DSMAX_ASCIIEXPORT\t200\n");
    fprintf(f, "*COMMENT \"Kavrin chess asset generator: %s\"\n", model.fileName.c_str());
    fprintf(f, "*SCENE {\n");
    fprintf(f, "\t*SCENE_FILENAME \"%s\"\n", model.fileName.c_str());
    fprintf(f, "\t*SCENE_FIRSTFRAME 0\n");
    fprintf(f, "\t*SCENE_LASTFRAME 100\n");
    fprintf(f, "\t*SCENE_FRAMESPEED 30\n");
    fprintf(f, "\t*SCENE_TICKSPERFRAME 160\n");
    fprintf(f, "\t*SCENE_BACKGROUND_STATIC 0.0000\t0.0000\t0.0000\n");
    fprintf(f, "\t*SCENE_AMBIENT_STATIC 0.0000\t0.0000\t0.0000\n");
    fprintf(f, "}\n");
    fprintf(f, "*MATERIAL_LIST {\n");
    fprintf(f, "\t*MATERIAL_COUNT %zu\n", model.materials.size());
    for (size_t i = 0; i < model.materials.size(); ++i) {
        writeMaterial(f, static_cast<int>(i), model.materials[i]);
    }
    fprintf(f, "}\n");
    for (const Part& part : model.parts) {
        fprintf(f, "*GEOMOBJECT {\n");
        fprintf(f, "\t*NODE_NAME \"%s\"\n", part.name.c_str());
        writeNodeTm(f, part.name);
        writeMesh(f, part);
        fprintf(f, "\t*PROP_MOTIONBLUR 0\n");
        fprintf(f, "\t*PROP_CASTSHADOW 1\n");
        fprintf(f, "\t*PROP_RECVSHADOW 1\n");
        fprintf(f, "\t*MATERIAL_REF %d\n", part.materialRef);
        fprintf(f, "}\n");
    }
    return fclose(f) == 0 ? 1 : 0;
}
