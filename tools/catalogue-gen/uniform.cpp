// Platonic and Archimedean solids, prisms and antiprisms from their symmetry / golden-ratio
// coordinate forms, scaled to unit edge and centred at the origin.
#include "uniform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

namespace gen {
namespace {

const double phi = std::numbers::phi;
const double sqrt2 = std::numbers::sqrt2;
const double pi = std::numbers::pi;

enum class Perm { Cyclic, All, Identity };

// Appends every sign variant of (a, b, c) under the chosen permutations. A zero component is
// not doubled by its sign. The order is deterministic: permutation first, then signs.
void addPoints(std::vector<Point3D>& out, double a, double b, double c, Perm perm) {
    const std::array<double, 3> base{a, b, c};
    std::vector<std::array<int, 3>> perms;
    switch (perm) {
    case Perm::Identity:
        perms = {{0, 1, 2}};
        break;
    case Perm::Cyclic:
        perms = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}};
        break;
    case Perm::All:
        perms = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {1, 0, 2}, {0, 2, 1}, {2, 1, 0}};
        break;
    }
    std::vector<Point3D> added;
    for (const auto& p : perms) {
        const std::array<double, 3> v{base[p[0]], base[p[1]], base[p[2]]};
        for (int s = 0; s < 8; ++s) {
            std::array<double, 3> w = v;
            bool skip = false;
            for (int k = 0; k < 3; ++k)
                if (s & (4 >> k)) {
                    if (w[k] == 0) skip = true;
                    w[k] = -w[k];
                }
            if (skip) continue;
            const Point3D q{w[0], w[1], w[2]};
            bool dup = false;
            for (const Point3D& o : added)
                if (o.x == q.x && o.y == q.y && o.z == q.z) dup = true;
            if (dup) continue;
            added.push_back(q);
            out.push_back(q);
        }
    }
}

double minDistance(const std::vector<Point3D>& pts) {
    double best = std::numeric_limits<double>::max();
    for (size_t i = 0; i < pts.size(); ++i)
        for (size_t j = i + 1; j < pts.size(); ++j)
            best = std::min(best, norm(pts[i] - pts[j]));
    return best;
}

// Scales to unit edge (the shortest distance between two points is the edge of every solid here).
std::vector<Point3D> unitEdge(std::vector<Point3D> pts) {
    const double s = 1.0 / minDistance(pts);
    for (Point3D& p : pts)
        p = s * p;
    return pts;
}

// Rotation in the plane of coordinates (i, j) taking the direction (ci, cj) onto axis j.
// Used to put a symmetry axis onto z.
Point3D turnOntoZ_xz(Point3D p, double cx, double cz) {
    const double n = std::hypot(cx, cz);
    return {(cz * p.x - cx * p.z) / n, p.y, (cx * p.x + cz * p.z) / n};
}
Point3D turnOntoZ_yz(Point3D p, double cy, double cz) {
    const double n = std::hypot(cy, cz);
    return {p.x, (cz * p.y - cy * p.z) / n, (cy * p.y + cz * p.z) / n};
}

} // namespace

// A regular n-gon of circumradius r at height z, first vertex at angle offset; sine and cosine
// values are mirrored so the ring is symmetric to the last bit about the x axis.
void addRing(std::vector<Point3D>& out, int n, double r, double offset, double z) {
    std::vector<Point3D> ring = plainRing(n, r, offset, z);
    // Symmetrise: angles offset + 2πk/n and -(offset + 2πk/n) belong to the same ring when the
    // offset is 0 or π/n; pair them up.
    for (int k = 0; k < n; ++k) {
        const double a = offset + 2 * pi * k / n;
        for (int m = 0; m < n; ++m) {
            const double b = offset + 2 * pi * m / n;
            if (m != k && std::abs(std::remainder(a + b, 2 * pi)) < 1e-9 && m < k) {
                ring[k].x = ring[m].x;
                ring[k].y = -ring[m].y;
            }
        }
        if (std::abs(std::remainder(a, pi)) < 1e-9) ring[k].y = 0;
        if (std::abs(std::remainder(a - pi / 2, pi)) < 1e-9) ring[k].x = 0;
    }
    out.insert(out.end(), ring.begin(), ring.end());
}

std::vector<Point3D> ringPoints(int n, double r, double offset, double z) {
    std::vector<Point3D> out;
    addRing(out, n, r, offset, z);
    return out;
}

std::vector<Point3D> tetrahedronPoints() {
    const double s = 1.0 / (2 * sqrt2);
    return {{s, s, s}, {s, -s, -s}, {-s, s, -s}, {-s, -s, s}};
}

std::vector<Point3D> cubePoints() {
    std::vector<Point3D> p;
    addPoints(p, 0.5, 0.5, 0.5, Perm::Identity);
    return p;
}

std::vector<Point3D> octahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 1 / sqrt2, 0, 0, Perm::Cyclic);
    return p;
}

std::vector<Point3D> icosahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 0, 0.5, phi / 2, Perm::Cyclic); // edge 1
    for (Point3D& v : p)
        v = turnOntoZ_yz(v, 1, phi); // the vertex (0, 1, φ) onto +z
    for (Point3D& v : p) {
        if (std::abs(v.x) < 1e-15) v.x = 0;
        if (std::abs(v.y) < 1e-15) v.y = 0;
    }
    return p;
}

std::vector<Point3D> dodecahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 1, 1, 1, Perm::Identity);
    addPoints(p, 0, 1 / phi, phi, Perm::Cyclic);
    p = unitEdge(p);
    for (Point3D& v : p)
        v = turnOntoZ_xz(v, 1, phi); // the face centre (1, 0, φ) onto +z
    for (Point3D& v : p) {
        if (std::abs(v.x) < 1e-15) v.x = 0;
        if (std::abs(v.y) < 1e-15) v.y = 0;
        if (std::abs(v.z) < 1e-15) v.z = 0;
    }
    // Number the vertices so that the top face (+z) reads 4, 6, 8, 16, 19 counter-clockwise
    // from outside: the catalogue quotes the pentagon "468@C" of face block [5].
    const Polyhedron h = convexHull(p);
    const std::vector<int>* top = nullptr;
    double best = -1e300;
    for (const auto& f : h.faces) {
        double z = 0;
        for (int i : f)
            z += p[i].z;
        if (z > best) best = z, top = &f;
    }
    const std::array<int, 5> wanted{4, 6, 8, 16, 19};
    std::vector<int> newIndex(p.size(), -1);
    for (int k = 0; k < 5; ++k)
        newIndex[(*top)[k]] = wanted[k];
    int next = 0;
    auto isWanted = [&](int i) { return std::find(wanted.begin(), wanted.end(), i) != wanted.end(); };
    for (size_t i = 0; i < p.size(); ++i) {
        if (newIndex[i] >= 0) continue;
        while (isWanted(next))
            ++next;
        newIndex[i] = next++;
    }
    std::vector<Point3D> out(p.size());
    for (size_t i = 0; i < p.size(); ++i)
        out[newIndex[i]] = p[i];
    return out;
}

std::vector<Point3D> prismPoints(int n) {
    if (n < 3) throw std::invalid_argument("prismPoints: n < 3");
    const double r = 1 / (2 * std::sin(pi / n));
    std::vector<Point3D> p;
    addRing(p, n, r, 0, 0.5);
    addRing(p, n, r, 0, -0.5);
    return p;
}

std::vector<Point3D> antiprismPoints(int n) {
    if (n < 3) throw std::invalid_argument("antiprismPoints: n < 3");
    const double r = 1 / (2 * std::sin(pi / n));
    const double c = 2 * r * std::sin(pi / (2 * n)); // horizontal distance of a lateral edge
    const double h = std::sqrt(1 - c * c);
    std::vector<Point3D> p;
    addRing(p, n, r, 0, h / 2);
    addRing(p, n, r, pi / n, -h / 2);
    return p;
}

Polyhedron trapezohedron(int n) {
    Polyhedron p = polarReciprocal(convexHull(antiprismPoints(n)), 1.0);
    double ring = 0;
    for (const Point3D& v : p.vertices)
        ring = std::max(ring, std::hypot(v.x, v.y));
    for (Point3D& v : p.vertices)
        v = v / ring;
    return p;
}

std::vector<Point3D> cuboctahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 1, 1, 0, Perm::Cyclic);
    return unitEdge(p);
}

std::vector<Point3D> icosidodecahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 0, 0, phi, Perm::Cyclic);
    addPoints(p, 0.5, phi / 2, phi * phi / 2, Perm::Cyclic);
    return unitEdge(p);
}

std::vector<Point3D> rhombicuboctahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 1, 1, 1 + sqrt2, Perm::Cyclic);
    return unitEdge(p);
}

std::vector<Point3D> rhombicosidodecahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 1, 1, phi * phi * phi, Perm::Cyclic);
    addPoints(p, phi * phi, phi, 2 * phi, Perm::Cyclic);
    addPoints(p, 2 + phi, 0, phi * phi, Perm::Cyclic);
    return unitEdge(p);
}

double tribonacciConstant() {
    // Real root of t³ = t² + t + 1, by Newton from 1.8.
    double t = 1.8;
    for (int i = 0; i < 60; ++i) {
        const double f = t * t * t - t * t - t - 1;
        const double d = 3 * t * t - 2 * t - 1;
        const double nt = t - f / d;
        if (nt == t) break;
        t = nt;
    }
    return t;
}

std::vector<Point3D> snubCubePoints() {
    const double t = tribonacciConstant();
    const std::array<double, 3> b{1, 1 / t, t};
    const std::array<std::array<int, 3>, 3> even{{{0, 1, 2}, {1, 2, 0}, {2, 0, 1}}};
    const std::array<std::array<int, 3>, 3> odd{{{1, 0, 2}, {0, 2, 1}, {2, 1, 0}}};
    std::vector<Point3D> p;
    for (int parity = 0; parity < 2; ++parity)
        for (int k = 0; k < 3; ++k) {
            const auto& pm = parity == 0 ? even[k] : odd[k];
            for (int s = 0; s < 8; ++s) {
                int plus = 0;
                std::array<double, 3> w{b[pm[0]], b[pm[1]], b[pm[2]]};
                for (int c = 0; c < 3; ++c) {
                    if (s & (4 >> c))
                        w[c] = -w[c];
                    else
                        ++plus;
                }
                if (plus % 2 != parity) continue; // even perms: even plus count; odd: odd
                p.push_back({w[0], w[1], w[2]});
            }
        }
    return unitEdge(p);
}

std::vector<Point3D> truncatedTetrahedronPoints() {
    std::vector<Point3D> all, p;
    addPoints(all, 3, 1, 1, Perm::All);
    for (const Point3D& v : all) {
        const int minus = (v.x < 0) + (v.y < 0) + (v.z < 0);
        if (minus % 2 == 0) p.push_back(v);
    }
    return unitEdge(p);
}

std::vector<Point3D> truncatedCubePoints() {
    std::vector<Point3D> p;
    addPoints(p, sqrt2 - 1, 1, 1, Perm::Cyclic);
    return unitEdge(p);
}

std::vector<Point3D> truncatedOctahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 0, 1, 2, Perm::All);
    return unitEdge(p);
}

std::vector<Point3D> truncatedDodecahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 0, 1 / phi, 2 + phi, Perm::Cyclic);
    addPoints(p, 1 / phi, phi, 2 * phi, Perm::Cyclic);
    addPoints(p, phi, 2, phi + 1, Perm::Cyclic);
    return unitEdge(p);
}

std::vector<Point3D> truncatedIcosahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 0, 1, 3 * phi, Perm::Cyclic);
    addPoints(p, 1, 2 + phi, 2 * phi, Perm::Cyclic);
    addPoints(p, phi, 2, phi * phi * phi, Perm::Cyclic);
    return unitEdge(p);
}

std::vector<Point3D> truncatedCuboctahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 1, 1 + sqrt2, 1 + 2 * sqrt2, Perm::All);
    return unitEdge(p);
}

std::vector<Point3D> truncatedIcosidodecahedronPoints() {
    std::vector<Point3D> p;
    addPoints(p, 1 / phi, 1 / phi, 3 + phi, Perm::Cyclic);
    addPoints(p, 2 / phi, phi, 1 + 2 * phi, Perm::Cyclic);
    addPoints(p, 1 / phi, phi * phi, 3 * phi - 1, Perm::Cyclic);
    addPoints(p, 2 * phi - 1, 2, 2 + phi, Perm::Cyclic);
    addPoints(p, phi, 3, 2 * phi, Perm::Cyclic);
    return unitEdge(p);
}

} // namespace gen

namespace gen {

double snubDodecahedronXi() {
    // Real root of ξ³ − 2ξ = φ, by Newton from 1.7.
    double x = 1.7;
    for (int i = 0; i < 60; ++i) {
        const double f = x * x * x - 2 * x - phi;
        const double d = 3 * x * x - 2;
        const double nx = x - f / d;
        if (nx == x) break;
        x = nx;
    }
    return x;
}

std::vector<Point3D> snubDodecahedronPoints() {
    // Even permutations with an even number of plus signs of five base points in ξ (closed form
    // of the encyclopaedia article on the snub dodecahedron).
    const double xi = snubDodecahedronXi();
    const double a = xi - 1 / xi;
    const double b = xi * phi + phi * phi + phi / xi;
    const double ip = 1 / phi;
    const std::array<std::array<double, 3>, 5> base{{
        {2 * a, 2, 2 * b},
        {a + b * ip + phi, -a * phi + b + ip, a * ip + b * phi - 1},
        {-a * ip + b * phi + 1, -a + b * ip - phi, a * phi + b - ip},
        {-a * ip + b * phi - 1, a - b * ip - phi, a * phi + b + ip},
        {a + b * ip - phi, a * phi - b + ip, a * ip + b * phi + 1},
    }};
    const std::array<std::array<int, 3>, 3> even{{{0, 1, 2}, {1, 2, 0}, {2, 0, 1}}};
    std::vector<Point3D> p;
    for (const auto& v : base)
        for (const auto& pm : even)
            for (int s = 0; s < 8; ++s) {
                int plus = 0;
                std::array<double, 3> w{v[pm[0]], v[pm[1]], v[pm[2]]};
                for (int c = 0; c < 3; ++c) {
                    if (s & (4 >> c))
                        w[c] = -w[c];
                    else
                        ++plus;
                }
                if (plus % 2 != 0) continue;
                p.push_back({w[0], w[1], w[2]});
            }
    return unitEdge(p);
}

} // namespace gen
