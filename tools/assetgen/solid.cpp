#include "solid.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <queue>

namespace {

struct Grid {
    int nx, ny, nz;
    Vec3 lo;
    double step;
    std::vector<double> values;

    Vec3 point(int i, int j, int k) const {
        return {lo.x + i * step, lo.y + j * step, lo.z + k * step};
    }
    double at(int i, int j, int k) const {
        return values[(static_cast<size_t>(i) * ny + j) * nz + k];
    }
};

// The cube's eight corners are numbered x + 2y + 4z; six tetrahedra round its main diagonal
// fill it, and neighbouring cubes split their shared faces along the same diagonals.
const int tetrahedra[6][4] = {{0, 1, 3, 7}, {0, 1, 5, 7}, {0, 2, 3, 7},
                              {0, 2, 6, 7}, {0, 4, 5, 7}, {0, 4, 6, 7}};

class Extractor {
  public:
    Extractor(const Grid& g, Surface& s) : g_(g), s_(s) {}

    void cube(int i, int j, int k) {
        int index[8];
        for (int c = 0; c < 8; ++c) {
            index[c] = static_cast<int>(
                (static_cast<size_t>(i + (c & 1)) * g_.ny + j + (c >> 1 & 1)) * g_.nz + k +
                (c >> 2));
        }
        for (const auto& t : tetrahedra) {
            tetrahedron(index[t[0]], index[t[1]], index[t[2]], index[t[3]]);
        }
    }

  private:
    Vec3 point(int index) const {
        const int k = index % g_.nz, j = index / g_.nz % g_.ny, i = index / g_.nz / g_.ny;
        return g_.point(i, j, k);
    }

    // The crossing on the grid edge a-b, kept off the corners so that no two crossings meet.
    int crossing(int a, int b) {
        const long long key =
            static_cast<long long>(std::min(a, b)) * g_.values.size() + std::max(a, b);
        const auto found = crossings_.find(key);
        if (found != crossings_.end()) {
            return found->second;
        }
        const double fa = g_.values[a], fb = g_.values[b];
        const double t = std::clamp(fa / (fa - fb), 0.05, 0.95);
        const int v = static_cast<int>(s_.positions.size());
        s_.positions.push_back(point(a) * (1 - t) + point(b) * t);
        crossings_.emplace(key, v);
        return v;
    }

    // A triangle across the tetrahedron, wound to face from its inside corners outwards.
    void triangle(int a, int b, int c, Vec3 outwards) {
        const Vec3* p = s_.positions.data();
        if (dot(cross(p[b] - p[a], p[c] - p[a]), outwards) < 0) {
            std::swap(b, c);
        }
        s_.faces.push_back({a, b, c});
    }

    void tetrahedron(int a, int b, int c, int d) {
        int in[4], out[4], ins = 0, outs = 0;
        for (int v : {a, b, c, d}) {
            if (g_.values[v] < 0) {
                in[ins++] = v;
            } else {
                out[outs++] = v;
            }
        }
        if (ins == 0 || outs == 0) {
            return;
        }
        Vec3 inMean, outMean;
        for (int n = 0; n < ins; ++n) {
            inMean = inMean + point(in[n]) * (1.0 / ins);
        }
        for (int n = 0; n < outs; ++n) {
            outMean = outMean + point(out[n]) * (1.0 / outs);
        }
        const Vec3 outwards = outMean - inMean;
        if (ins == 1 || outs == 1) {
            const int lone = ins == 1 ? in[0] : out[0];
            const int* rest = ins == 1 ? out : in;
            triangle(crossing(lone, rest[0]), crossing(lone, rest[1]), crossing(lone, rest[2]),
                     outwards);
            return;
        }
        const int q0 = crossing(in[0], out[0]), q1 = crossing(in[0], out[1]);
        const int q2 = crossing(in[1], out[1]), q3 = crossing(in[1], out[0]);
        triangle(q0, q1, q2, outwards);
        triangle(q0, q2, q3, outwards);
    }

    const Grid& g_;
    Surface& s_;
    std::map<long long, int> crossings_;
};

} // namespace

Surface extractSurface(const DistanceField& field, Vec3 lo, Vec3 hi, double step) {
    Grid g{static_cast<int>(std::ceil((hi.x - lo.x) / step)) + 1,
           static_cast<int>(std::ceil((hi.y - lo.y) / step)) + 1,
           static_cast<int>(std::ceil((hi.z - lo.z) / step)) + 1,
           lo,
           step,
           {}};
    g.values.resize(static_cast<size_t>(g.nx) * g.ny * g.nz);
    for (int i = 0; i < g.nx; ++i) {
        for (int j = 0; j < g.ny; ++j) {
            for (int k = 0; k < g.nz; ++k) {
                // The outermost samples count as outside, so that the surface always closes.
                const bool border =
                    i == 0 || j == 0 || k == 0 || i == g.nx - 1 || j == g.ny - 1 || k == g.nz - 1;
                const double f = field(g.point(i, j, k));
                g.values[(static_cast<size_t>(i) * g.ny + j) * g.nz + k] =
                    border ? std::max(f, step) : f;
            }
        }
    }
    Surface s;
    Extractor extractor(g, s);
    for (int i = 0; i + 1 < g.nx; ++i) {
        for (int j = 0; j + 1 < g.ny; ++j) {
            for (int k = 0; k + 1 < g.nz; ++k) {
                extractor.cube(i, j, k);
            }
        }
    }
    return s;
}

namespace {

// The plane quadric of the error metric: the symmetric 4 x 4 matrix in its ten entries.
struct Quadric {
    double q[10] = {};

    void addPlane(Vec3 n, double d, double weight) {
        const double p[4] = {n.x, n.y, n.z, d};
        int at = 0;
        for (int r = 0; r < 4; ++r) {
            for (int c = r; c < 4; ++c) {
                q[at++] += weight * p[r] * p[c];
            }
        }
    }
    Quadric operator+(const Quadric& o) const {
        Quadric s;
        for (int i = 0; i < 10; ++i) {
            s.q[i] = q[i] + o.q[i];
        }
        return s;
    }
    double error(Vec3 v) const {
        const double p[4] = {v.x, v.y, v.z, 1};
        double e = 0;
        int at = 0;
        for (int r = 0; r < 4; ++r) {
            for (int c = r; c < 4; ++c) {
                e += (r == c ? 1 : 2) * q[at++] * p[r] * p[c];
            }
        }
        return e;
    }
    // The point of least error, when the system is well conditioned.
    bool minimum(Vec3& out) const {
        const double a = q[0], b = q[1], c = q[2], d = q[4], e = q[5], f = q[7];
        const double det = a * (d * f - e * e) - b * (b * f - c * e) + c * (b * e - c * d);
        if (std::fabs(det) < 1e-12) {
            return false;
        }
        const double r0 = -q[3], r1 = -q[6], r2 = -q[8];
        out.x = (r0 * (d * f - e * e) - b * (r1 * f - e * r2) + c * (r1 * e - d * r2)) / det;
        out.y = (a * (r1 * f - e * r2) - r0 * (b * f - c * e) + c * (b * r2 - r1 * c)) / det;
        out.z = (a * (d * r2 - r1 * e) - b * (b * r2 - r1 * c) + r0 * (b * e - c * d)) / det;
        return true;
    }
};

// Shape of a triangle: 1 for equilateral, towards 0 for slivers.
double quality(Vec3 a, Vec3 b, Vec3 c) {
    const double area2 = length(cross(b - a, c - a));
    const double edges = dot(b - a, b - a) + dot(c - b, c - b) + dot(a - c, a - c);
    return edges > 0 ? 2 * std::sqrt(3.0) * area2 / edges : 0;
}

struct Candidate {
    double cost;
    int a, b;
    unsigned stampA, stampB;
    Vec3 target;
    bool operator<(const Candidate& o) const {
        if (cost != o.cost) {
            return cost > o.cost;
        }
        return a != o.a ? a > o.a : b > o.b;
    }
};

class Simplifier {
  public:
    explicit Simplifier(Surface& s)
        : s_(s), quadrics_(s.positions.size()), facesAt_(s.positions.size()),
          stamps_(s.positions.size(), 0), alive_(s.faces.size(), true) {
        for (size_t f = 0; f < s.faces.size(); ++f) {
            const auto& t = s.faces[f];
            const Vec3 n2 =
                cross(s.positions[t[1]] - s.positions[t[0]], s.positions[t[2]] - s.positions[t[0]]);
            const double area2 = length(n2);
            if (area2 > 0) {
                const Vec3 n = n2 * (1.0 / area2);
                for (int k = 0; k < 3; ++k) {
                    quadrics_[t[k]].addPlane(n, -dot(n, s.positions[t[0]]), area2);
                }
            }
            for (int k = 0; k < 3; ++k) {
                facesAt_[t[k]].push_back(static_cast<int>(f));
            }
        }
        for (const auto& t : s.faces) {
            for (int k = 0; k < 3; ++k) {
                if (t[k] < t[(k + 1) % 3]) {
                    push(t[k], t[(k + 1) % 3]);
                }
            }
        }
        faceCount_ = s.faces.size();
    }

    void run(size_t maxFaces) {
        while (faceCount_ > maxFaces && !heap_.empty()) {
            const Candidate c = heap_.top();
            heap_.pop();
            if (stamps_[c.a] != c.stampA || stamps_[c.b] != c.stampB) {
                continue;
            }
            collapse(c.a, c.b, c.target);
        }
        compact();
    }

  private:
    std::vector<int> neighbours(int v) const {
        std::vector<int> n;
        for (int f : facesAt_[v]) {
            for (int w : s_.faces[f]) {
                if (w != v) {
                    n.push_back(w);
                }
            }
        }
        std::sort(n.begin(), n.end());
        n.erase(std::unique(n.begin(), n.end()), n.end());
        return n;
    }

    void push(int a, int b) {
        const Quadric q = quadrics_[a] + quadrics_[b];
        const Vec3 pa = s_.positions[a], pb = s_.positions[b];
        Vec3 best = (pa + pb) * 0.5;
        double cost = q.error(best);
        Vec3 opt;
        if (q.minimum(opt) && length(opt - best) < length(pa - pb)) {
            const double e = q.error(opt);
            if (e < cost) {
                best = opt;
                cost = e;
            }
        }
        for (Vec3 end : {pa, pb}) {
            const double e = q.error(end);
            if (e < cost) {
                best = end;
                cost = e;
            }
        }
        heap_.push({std::max(cost, 0.0), a, b, stamps_[a], stamps_[b], best});
    }

    bool acceptable(int a, int b, Vec3 target) const {
        const std::vector<int> na = neighbours(a), nb = neighbours(b);
        std::vector<int> common;
        std::set_intersection(na.begin(), na.end(), nb.begin(), nb.end(),
                              std::back_inserter(common));
        if (common.size() != 2) {
            return false;
        }
        for (int v : {a, b}) {
            for (int f : facesAt_[v]) {
                const auto& t = s_.faces[f];
                if (std::count(t.begin(), t.end(), a) + std::count(t.begin(), t.end(), b) == 2) {
                    continue;
                }
                Vec3 p[3], moved[3];
                for (int k = 0; k < 3; ++k) {
                    p[k] = s_.positions[t[k]];
                    moved[k] = t[k] == v ? target : p[k];
                }
                // A sliver's own normal says little, so only faces of some shape are held
                // to their direction.
                const double oldQuality = quality(p[0], p[1], p[2]);
                const Vec3 before = normalized(cross(p[1] - p[0], p[2] - p[0]));
                const Vec3 after = cross(moved[1] - moved[0], moved[2] - moved[0]);
                if (length(after) < 1e-8 ||
                    (oldQuality > 0.05 && dot(before, normalized(after)) < 0.3)) {
                    return false;
                }
                if (quality(moved[0], moved[1], moved[2]) < std::min(0.12, oldQuality)) {
                    return false;
                }
            }
        }
        return true;
    }

    void collapse(int a, int b, Vec3 target) {
        if (!acceptable(a, b, target)) {
            return;
        }
        for (int f : facesAt_[b]) {
            auto& t = s_.faces[f];
            if (std::find(t.begin(), t.end(), a) == t.end()) {
                std::replace(t.begin(), t.end(), b, a);
                facesAt_[a].push_back(f);
                continue;
            }
            alive_[f] = false;
            --faceCount_;
            for (int w : t) {
                if (w != b) {
                    auto& list = facesAt_[w];
                    list.erase(std::find(list.begin(), list.end(), f));
                }
            }
        }
        facesAt_[b].clear();
        s_.positions[a] = target;
        quadrics_[a] = quadrics_[a] + quadrics_[b];
        ++stamps_[a];
        ++stamps_[b];
        for (int n : neighbours(a)) {
            push(std::min(a, n), std::max(a, n));
        }
    }

    void compact() {
        std::vector<int> newIndex(s_.positions.size(), -1);
        Surface out;
        for (size_t f = 0; f < s_.faces.size(); ++f) {
            if (!alive_[f]) {
                continue;
            }
            std::array<int, 3> t = s_.faces[f];
            for (int& v : t) {
                if (newIndex[v] < 0) {
                    newIndex[v] = static_cast<int>(out.positions.size());
                    out.positions.push_back(s_.positions[v]);
                }
                v = newIndex[v];
            }
            out.faces.push_back(t);
        }
        s_ = std::move(out);
    }

    Surface& s_;
    std::vector<Quadric> quadrics_;
    std::vector<std::vector<int>> facesAt_;
    std::vector<unsigned> stamps_;
    std::vector<bool> alive_;
    std::priority_queue<Candidate> heap_;
    size_t faceCount_ = 0;
};

} // namespace

void simplify(Surface& surface, size_t maxFaces) { Simplifier(surface).run(maxFaces); }
