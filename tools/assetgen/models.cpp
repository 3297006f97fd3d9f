#include "models.h"

#include <cmath>

#include "knight.h"

namespace {

constexpr double centreX = 0.5;
constexpr double centreZ = -0.5;
constexpr int sides = 40;

struct ProfilePoint {
    double r, y;
};

// Turns a profile, listed from the axis at the bottom up to the axis at the top, about the
// vertical axis through the square's centre. The radius of a vertex may be changed by
// `shape` (angle, height, radius) to carve details into the surface of revolution.
template <typename Shape> Part lathe(const std::vector<ProfilePoint>& profile, Shape shape) {
    Part part;
    std::vector<double> arc(profile.size(), 0.0);
    for (size_t i = 1; i < profile.size(); ++i) {
        arc[i] = arc[i - 1] +
                 std::hypot(profile[i].r - profile[i - 1].r, profile[i].y - profile[i - 1].y);
    }
    std::vector<int> ringStart(profile.size());
    for (size_t i = 0; i < profile.size(); ++i) {
        ringStart[i] = static_cast<int>(part.positions.size());
        const int count = profile[i].r == 0.0 ? 1 : sides;
        for (int j = 0; j < count; ++j) {
            const double a = 2.0 * M_PI * j / sides;
            const double r = shape(a, profile[i].y, profile[i].r);
            part.addPosition({centreX + r * std::cos(a), profile[i].y, centreZ + r * std::sin(a)});
        }
    }
    std::vector<int> texStart(profile.size());
    for (size_t i = 0; i < profile.size(); ++i) {
        texStart[i] = static_cast<int>(part.texVerts.size());
        for (int j = 0; j <= sides; ++j) {
            part.addTexVert(2.0 * j / sides, arc[i] * 2.0);
        }
    }
    auto vertexAt = [&](size_t i, int j) {
        return profile[i].r == 0.0 ? ringStart[i] : ringStart[i] + j % sides;
    };
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        for (int j = 0; j < sides; ++j) {
            const int a = vertexAt(i, j), b = vertexAt(i, j + 1);
            const int c = vertexAt(i + 1, j + 1), d = vertexAt(i + 1, j);
            const int ta = texStart[i] + j, tb = texStart[i] + j + 1;
            const int tc = texStart[i + 1] + j + 1, td = texStart[i + 1] + j;
            if (a != b) {
                part.addTriangle(a, c, b, ta, tc, tb);
            }
            if (c != d) {
                part.addTriangle(a, d, c, ta, td, tc);
            }
        }
    }
    part.orientOutwards();
    return part;
}

Part lathe(const std::vector<ProfilePoint>& profile) {
    return lathe(profile, [](double, double, double r) { return r; });
}

// The turned foot shared by every piece: a wide plinth, a cove and a bead.
std::vector<ProfilePoint> foot(double scale) {
    return {{0.0, 0.0},           {0.40 * scale, 0.0},   {0.41 * scale, 0.025},
            {0.40 * scale, 0.05}, {0.37 * scale, 0.065}, {0.34 * scale, 0.075},
            {0.33 * scale, 0.09}, {0.34 * scale, 0.105}, {0.33 * scale, 0.12},
            {0.29 * scale, 0.13}, {0.25 * scale, 0.14}};
}

std::vector<ProfilePoint> joined(std::vector<ProfilePoint> a, const std::vector<ProfilePoint>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A block standing on a ring of the surface: an annular sector from radius r0 to r1 and
// angle a0 to a1, between heights y0 and y1.
Part sectorBlock(double r0, double r1, double a0, double a1, double y0, double y1) {
    Part part;
    const int steps = 4;
    auto at = [&](double r, double a, double y) {
        return Vec3{centreX + r * std::cos(a), y, centreZ + r * std::sin(a)};
    };
    std::vector<int> ring[4];
    for (int s = 0; s <= steps; ++s) {
        const double a = a0 + (a1 - a0) * s / steps;
        ring[0].push_back(part.addPosition(at(r1, a, y0)));
        ring[1].push_back(part.addPosition(at(r1, a, y1)));
        ring[2].push_back(part.addPosition(at(r0, a, y1)));
        ring[3].push_back(part.addPosition(at(r0, a, y0)));
    }
    const int t0 = part.addTexVert(0, 0), t1 = part.addTexVert(1, 0);
    const int t2 = part.addTexVert(1, 0.3), t3 = part.addTexVert(0, 0.3);
    for (int k = 0; k < 4; ++k) {
        const std::vector<int>& p = ring[k];
        const std::vector<int>& q = ring[(k + 1) % 4];
        for (int s = 0; s < steps; ++s) {
            part.addTriangle(p[s], q[s], q[s + 1], t0, t3, t2);
            part.addTriangle(p[s], q[s + 1], p[s + 1], t0, t2, t1);
        }
    }
    for (int k : {0, steps}) {
        const bool first = k == 0;
        const int a = ring[0][k], b = ring[1][k], c = ring[2][k], d = ring[3][k];
        if (first) {
            part.addTriangle(a, c, b, t0, t2, t1);
            part.addTriangle(a, d, c, t0, t3, t2);
        } else {
            part.addTriangle(a, b, c, t0, t1, t2);
            part.addTriangle(a, c, d, t0, t2, t3);
        }
    }
    part.orientOutwards();
    return part;
}

// A box between two corners, for the arms of the king's cross.
Part box(Vec3 lo, Vec3 hi) {
    Part part;
    for (int i = 0; i < 8; ++i) {
        part.addPosition({i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z});
    }
    const int t0 = part.addTexVert(0, 0), t1 = part.addTexVert(0.25, 0);
    const int t2 = part.addTexVert(0.25, 0.25), t3 = part.addTexVert(0, 0.25);
    const int quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                             {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& q : quads) {
        part.addTriangle(q[0], q[1], q[2], t0, t1, t2);
        part.addTriangle(q[0], q[2], q[3], t0, t2, t3);
    }
    part.orientOutwards();
    return part;
}

Part pawnBody() {
    return lathe(joined(foot(0.82), {{0.15, 0.16},
                                     {0.12, 0.22},
                                     {0.10, 0.32},
                                     {0.085, 0.42},
                                     {0.15, 0.44},
                                     {0.16, 0.46},
                                     {0.15, 0.48},
                                     {0.09, 0.50},
                                     {0.13, 0.53},
                                     {0.155, 0.58},
                                     {0.16, 0.62},
                                     {0.15, 0.67},
                                     {0.12, 0.71},
                                     {0.07, 0.74},
                                     {0.0, 0.75}}));
}

Part rookBody() {
    Part body = lathe(joined(foot(0.95), {{0.21, 0.17},
                                          {0.19, 0.30},
                                          {0.175, 0.50},
                                          {0.175, 0.62},
                                          {0.20, 0.66},
                                          {0.23, 0.69},
                                          {0.23, 0.72},
                                          {0.25, 0.74},
                                          {0.25, 0.84},
                                          {0.17, 0.84},
                                          {0.17, 0.80},
                                          {0.0, 0.80}}));
    for (int k = 0; k < 6; ++k) {
        const double a = 2.0 * M_PI * k / 6;
        // The merlons are sunk a little into the top, so that no face of theirs lies on it.
        body.append(sectorBlock(0.17, 0.25, a + 0.12, a + 2.0 * M_PI / 6 - 0.12, 0.83, 0.95));
    }
    return body;
}

Part bishopBody() {
    // The mitre carries a slanting slit cut into it from the front.
    const auto slit = [](double a, double y, double r) {
        if (y < 0.80 || y > 1.06) {
            return r;
        }
        const double along = (y - 0.80) / 0.26;
        const double centre = M_PI / 2 - 0.9 + along * 0.9;
        double d = std::remainder(a - centre, 2.0 * M_PI);
        if (std::fabs(d) < 0.2) {
            return r * 0.4;
        }
        return r;
    };
    return lathe(joined(foot(0.88),
                        {{0.16, 0.17},  {0.13, 0.26},  {0.105, 0.42}, {0.095, 0.60}, {0.16, 0.63},
                         {0.17, 0.65},  {0.16, 0.67},  {0.09, 0.69},  {0.12, 0.71},  {0.09, 0.73},
                         {0.12, 0.77},  {0.145, 0.83}, {0.15, 0.88},  {0.14, 0.94},  {0.115, 1.00},
                         {0.075, 1.05}, {0.035, 1.08}, {0.04, 1.10},  {0.045, 1.12}, {0.03, 1.14},
                         {0.0, 1.15}}),
                 slit);
}

Part queenBody() {
    Part body = lathe(joined(foot(1.0), {{0.18, 0.17},
                                         {0.14, 0.28},
                                         {0.11, 0.50},
                                         {0.10, 0.78},
                                         {0.18, 0.82},
                                         {0.19, 0.84},
                                         {0.17, 0.86},
                                         {0.11, 0.88},
                                         {0.14, 0.92},
                                         {0.11, 0.95},
                                         {0.15, 1.02},
                                         {0.19, 1.12},
                                         {0.20, 1.16},
                                         {0.13, 1.18},
                                         {0.10, 1.22},
                                         {0.06, 1.26},
                                         {0.0, 1.27}}));
    // The coronet: a ring of points around the rim.
    for (int k = 0; k < 9; ++k) {
        const double a = 2.0 * M_PI * k / 9;
        body.append(sectorBlock(0.15, 0.205, a - 0.12, a + 0.12, 1.14, 1.22));
        body.append(sectorBlock(0.16, 0.2, a - 0.06, a + 0.06, 1.22, 1.26));
    }
    body.append(lathe(
        {{0.0, 1.25}, {0.03, 1.26}, {0.045, 1.29}, {0.04, 1.32}, {0.02, 1.345}, {0.0, 1.35}}));
    return body;
}

Part kingBody() {
    Part body = lathe(joined(foot(1.0), {{0.19, 0.17},
                                         {0.15, 0.28},
                                         {0.12, 0.50},
                                         {0.105, 0.82},
                                         {0.19, 0.86},
                                         {0.20, 0.88},
                                         {0.18, 0.90},
                                         {0.115, 0.92},
                                         {0.15, 0.96},
                                         {0.115, 0.99},
                                         {0.15, 1.06},
                                         {0.18, 1.14},
                                         {0.185, 1.18},
                                         {0.16, 1.21},
                                         {0.10, 1.24},
                                         {0.06, 1.27},
                                         {0.0, 1.28}}));
    body.append(box({0.47, 1.26, -0.53}, {0.53, 1.50, -0.47}));
    body.append(box({0.40, 1.35, -0.53}, {0.60, 1.41, -0.47}));
    return body;
}

// The board carries four knights and software rendering pays for every triangle: the head
// gets what the base leaves of the budget.
constexpr size_t knightFaces = 3708;

// The head is carved looking towards +z; on the board it looks towards +x, along the ranks,
// so that both resting cameras see the horse in profile rather than the back of its neck.
Part lookingAlongRanks(Part head) {
    for (Vec3& p : head.positions) {
        const Vec3 d = p - Vec3{0.5, 0.0, -0.5};
        p = {0.5 + d.z, p.y, -0.5 - d.x};
    }
    return head;
}

Part knightBody() {
    Part body = lathe(joined(foot(1.0), {{0.27, 0.16}, {0.25, 0.18}, {0.0, 0.18}}));
    // The head takes a while to carve and the pictures show the knight too: carve it once.
    static const Part head = lookingAlongRanks(horseHead(knightFaces - body.faces.size()));
    body.append(head);
    return body;
}

Material material(const char* name, const char* bitmap, double r, double g, double b) {
    return {name, bitmap, {r, g, b}};
}

} // namespace

Model buildPiece(PieceType type) {
    static const char* const names[] = {"king", "queen", "bishop", "knight", "rook", "pawn"};
    Model model;
    model.fileName = modelAssets[type].fileName;
    model.materials = {material("Black", ebonyTextureFile, 0.2, 0.15, 0.12),
                       material("White", ivoryTextureFile, 0.95, 0.9, 0.8)};
    Part body;
    switch (type) {
    case King: body = kingBody(); break;
    case Queen: body = queenBody(); break;
    case Bishop: body = bishopBody(); break;
    case Knight: body = knightBody(); break;
    case Rook: body = rookBody(); break;
    case Pawn: body = pawnBody(); break;
    }
    body.name = names[type];
    body.materialRef = 0;
    model.parts.push_back(body);
    return model;
}

namespace {

constexpr double surfaceY = -0.02;
constexpr double frameTop = 0.06;
constexpr double frameOuter = 0.62;
constexpr double tableY = -0.35;

void addQuad(Part& part, Vec3 a, Vec3 b, Vec3 c, Vec3 d, TexVert ta, TexVert tb, TexVert tc,
             TexVert td) {
    const int va = part.addPosition(a), vb = part.addPosition(b);
    const int vc = part.addPosition(c), vd = part.addPosition(d);
    const int ia = part.addTexVert(ta.u, ta.v), ib = part.addTexVert(tb.u, tb.v);
    const int ic = part.addTexVert(tc.u, tc.v), id = part.addTexVert(td.u, td.v);
    part.addTriangle(va, vb, vc, ia, ib, ic);
    part.addTriangle(va, vc, vd, ia, ic, id);
}

// A quad given by its corners counter-clockwise seen from outside, textured by world position.
void addWorldQuad(Part& part, Vec3 a, Vec3 b, Vec3 c, Vec3 d, double scale) {
    const Vec3 n = normalized(cross(b - a, c - a));
    auto tex = [&](Vec3 p) {
        if (std::fabs(n.y) > 0.7) {
            return TexVert{p.x * scale, p.z * scale};
        }
        if (std::fabs(n.x) > 0.7) {
            return TexVert{p.z * scale, p.y * scale};
        }
        return TexVert{p.x * scale, p.y * scale};
    };
    addQuad(part, a, b, c, d, tex(a), tex(b), tex(c), tex(d));
}

Part squares(bool light) {
    Part part;
    part.name = light ? "LightSquares" : "DarkSquares";
    for (int file = 0; file < 8; ++file) {
        for (int rank = 0; rank < 8; ++rank) {
            // a1 lies at x 7..8, z -8..-7 and is dark.
            const bool isLight = (file + rank) % 2 == 1;
            if (isLight != light) {
                continue;
            }
            const double x1 = 8 - file, x0 = x1 - 1;
            const double z0 = -8 + rank, z1 = z0 + 1;
            addWorldQuad(part, {x0, surfaceY, z1}, {x1, surfaceY, z1}, {x1, surfaceY, z0},
                         {x0, surfaceY, z0}, 0.25);
        }
    }
    return part;
}

// The frame as rings of outline points: each successive ring pair forms a strip of quads.
Part frame() {
    Part part;
    part.name = "Frame";
    struct Ring {
        double inset, y;
    };
    const double lip = 0.0, bevel = 0.05;
    const Ring rings[] = {{-lip, surfaceY},
                          {-lip - 0.03, frameTop - 0.02},
                          {-lip - 0.03 - bevel, frameTop},
                          {-frameOuter + bevel, frameTop},
                          {-frameOuter, frameTop - 0.04},
                          {-frameOuter, tableY}};
    auto corner = [](int k, double inset, double y) {
        const double xs[4] = {0, 8, 8, 0};
        const double zs[4] = {0, 0, -8, -8};
        const double dx = k == 1 || k == 2 ? -inset : inset;
        const double dz = k == 0 || k == 1 ? -inset : inset;
        return Vec3{xs[k] + dx, y, zs[k] + dz};
    };
    for (size_t r = 0; r + 1 < sizeof(rings) / sizeof(rings[0]); ++r) {
        for (int k = 0; k < 4; ++k) {
            const int n = (k + 1) % 4;
            const Vec3 a = corner(k, rings[r].inset, rings[r].y);
            const Vec3 b = corner(n, rings[r].inset, rings[r].y);
            const Vec3 c = corner(n, rings[r + 1].inset, rings[r + 1].y);
            const Vec3 d = corner(k, rings[r + 1].inset, rings[r + 1].y);
            addWorldQuad(part, a, b, c, d, 0.5);
        }
    }
    // Every strip winds the same way round; the flat top (the third strip) must face up.
    const Face& f = part.faces[16];
    const Vec3 p0 = part.positions[f.v[0]];
    if (cross(part.positions[f.v[1]] - p0, part.positions[f.v[2]] - p0).y < 0) {
        for (Face& face : part.faces) {
            std::swap(face.v[1], face.v[2]);
            std::swap(face.t[1], face.t[2]);
        }
    }
    return part;
}

// File letters and rank numbers: small quads just above the frame top, each showing one cell
// of the label texture (4 x 4 cells: a..h, then 1..8), readable from both players' sides.
Part labels() {
    Part part;
    part.name = "Labels";
    const double y = frameTop + 0.002, h = 0.19;
    const double mid = (frameOuter + 0.08) / 2;
    auto addLabel = [&](int cell, double cx, double cz, bool forWhite) {
        const double u0 = (cell % 4) * 0.25, t0 = (cell / 4) * 0.25;
        // Seen by White (from -z) the text's up is +z and its right is -x.
        const double s = forWhite ? 1.0 : -1.0;
        const Vec3 topLeft{cx + s * h, y, cz + s * h}, topRight{cx - s * h, y, cz + s * h};
        const Vec3 botRight{cx - s * h, y, cz - s * h}, botLeft{cx + s * h, y, cz - s * h};
        Vec3 a = botLeft, b = botRight, c = topRight, d = topLeft;
        TexVert ta{u0, t0 + 0.25}, tb{u0 + 0.25, t0 + 0.25}, tc{u0 + 0.25, t0}, td{u0, t0};
        if (cross(b - a, c - a).y < 0) {
            std::swap(b, d);
            std::swap(tb, td);
        }
        addQuad(part, a, b, c, d, ta, tb, tc, td);
    };
    for (int i = 0; i < 8; ++i) {
        const double fileX = 7.5 - i;
        const double rankZ = -7.5 + i;
        addLabel(i, fileX, -8 - mid, true);
        addLabel(i, fileX, mid, false);
        addLabel(8 + i, 8 + mid, rankZ, true);
        addLabel(8 + i, -mid, rankZ, false);
    }
    return part;
}

} // namespace

Model buildBoard() {
    Model model;
    model.fileName = modelAssets[BoardModel].fileName;
    model.materials = {material("LightMarble", lightMarbleTextureFile, 0.9, 0.88, 0.84),
                       material("DarkStone", darkStoneTextureFile, 0.3, 0.32, 0.3),
                       material("Walnut", woodTextureFile, 0.5, 0.32, 0.18),
                       material("Labels", labelTextureFile, 0.5, 0.32, 0.18)};
    Part light = squares(true), dark = squares(false), wood = frame(), marks = labels();
    light.materialRef = 0;
    dark.materialRef = 1;
    wood.materialRef = 2;
    marks.materialRef = 3;
    model.parts = {light, dark, wood, marks};
    return model;
}
