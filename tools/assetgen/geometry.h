// Triangle meshes of the generator and their ASE export.
#pragma once

#include <cmath>
#include <string>
#include <vector>

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(Vec3 a) {
    const double l = length(a);
    return l > 1e-12 ? a * (1.0 / l) : Vec3{0, 1, 0};
}

struct TexVert {
    double u = 0, v = 0;
};

struct Face {
    int v[3];
    int t[3];
};

// One geometry object: positions are shared between faces so that corner normals can be
// smoothed across them; texture vertices are separate so seams can repeat a position.
struct Part {
    std::string name;
    int materialRef = 0;
    std::vector<Vec3> positions;
    std::vector<TexVert> texVerts;
    std::vector<Face> faces;

    int addPosition(Vec3 p);
    int addTexVert(double u, double v);
    void addTriangle(int a, int b, int c, int ta, int tb, int tc);
    // Appends another part's geometry (its material is ignored).
    void append(const Part& other);
    // Flips every face when the enclosed volume is negative, so that faces wind outwards.
    void orientOutwards();
};

struct Material {
    std::string name;
    std::string bitmap;
    double diffuse[3];
};

struct Model {
    std::string fileName;
    std::vector<Material> materials;
    std::vector<Part> parts;
};

// Corner normals: each corner averages the area-weighted normals of the faces around its
// position that lie within the crease angle of its own face.
std::vector<Vec3> cornerNormals(const Part& part, double creaseDegrees);

// Writes the model as an ASCII scene export file; returns 1 on success.
int writeAse(const Model& model, const std::string& path);

int countTriangles(const Model& model);
