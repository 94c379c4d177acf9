// Constructions of the simpler solids of the first category.
#include "simplebodies.h"

#include "uniform.h"

#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace gen {

namespace {

const double pi = std::numbers::pi;
const double phi = std::numbers::phi;

// cos and sin of a multiple of 30 degrees, exact to the last bit where the value is 0, ±1/2, ±1.
std::pair<double, double> cosSin30(int k) {
    static const double h = std::sqrt(3.0) / 2;
    static const std::array<double, 12> c{1, h, 0.5, 0, -0.5, -h, -1, -h, -0.5, 0, 0.5, h};
    const int m = ((k % 12) + 12) % 12;
    return {c[m], c[(m + 9) % 12]};
}

Polyhedron hullOf(const std::vector<Point3D>& pts) {
    return convexHull(pts);
}

// Zonohedron of the generators (vertices: the extreme points among all sums of ±g/2).
Polyhedron zonohedron(const std::vector<Point3D>& g) {
    std::vector<Point3D> pts;
    const int n = static_cast<int>(g.size());
    for (int m = 0; m < (1 << n); ++m) {
        Point3D v;
        for (int i = 0; i < n; ++i)
            v = v + ((m & (1 << i)) ? 0.5 : -0.5) * g[i];
        pts.push_back(v);
    }
    return convexHullOfExtremePoints(pts);
}

} // namespace

// Square prism (base 2 x 2, height 2.5) with a square pyramid of height 1.5; apex (top) at -z.
// Proportions chosen so that it is visibly not Johnson 08, which category 3 shows.
Polyhedron prismAndPyramid() {
    std::vector<Point3D> pts;
    for (double z : {2.0, -0.5})
        for (auto [x, y] : {std::pair{-1.0, 1.0}, {1.0, 1.0}, {1.0, -1.0}, {-1.0, -1.0}})
            pts.push_back({x, y, z});
    pts.push_back({0, 0, -2});
    return hullOf(pts);
}

// Equilateral pentagonal bipyramid (shape of J13).
Polyhedron pentagonalBipyramid() {
    const double r = 1 / (2 * std::sin(pi / 5));
    std::vector<Point3D> pts = ringPoints(5, r, 0, 0);
    const double h = std::sqrt(1 - r * r);
    pts.push_back({0, 0, h});
    pts.push_back({0, 0, -h});
    return hullOf(pts);
}

// "erweitertes Trapezoeder": three kites around the threefold apex T at -z,
// extended by three isosceles triangles to an equilateral base triangle; z-extent centred.
Polyhedron extendedTrapezohedron() {
    std::vector<Point3D> pts;
    pts.push_back({0, 0, -1}); // T
    for (int i = 0; i < 3; ++i) {
        const auto [c, s] = cosSin30(4 * i);
        pts.push_back({c, s, 0}); // U_i
    }
    for (int i = 0; i < 3; ++i) {
        const auto [c, s] = cosSin30(4 * i + 2);
        pts.push_back({0.75 * c, 0.75 * s, 0.5}); // L_i
    }
    for (Point3D& v : pts)
        v.z += 0.25;
    Polyhedron p;
    p.vertices = pts;
    // Kites T U_i L_i U_(i+1), triangles L_i U_(i+1) L_(i+1), base L_0 L_1 L_2; counter-clockwise
    // seen from outside.
    for (int i = 0; i < 3; ++i)
        p.faces.push_back({0, 1 + (i + 1) % 3, 4 + i, 1 + i});
    for (int i = 0; i < 3; ++i)
        p.faces.push_back({4 + i, 1 + (i + 1) % 3, 4 + (i + 1) % 3});
    p.faces.push_back({4, 5, 6});
    return p;
}

// Acute golden rhombohedron: three unit edge vectors at pairwise dot 1/sqrt5 around z, the 8
// subset sums, centred.
Polyhedron goldenRhombohedron() {
    const double s = std::sqrt(2 * (1 - 1 / std::sqrt(5.0)) / 3);
    const double c = std::sqrt(1 - s * s);
    std::array<Point3D, 3> e;
    for (int i = 0; i < 3; ++i) {
        const auto [ci, si] = cosSin30(4 * i);
        e[i] = {s * ci, s * si, c};
    }
    const Point3D centre = (e[0] + e[1] + e[2]) / 2;
    std::vector<Point3D> pts;
    for (int m = 0; m < 8; ++m) {
        Point3D v;
        for (int i = 0; i < 3; ++i)
            if (m & (1 << i)) v = v + e[i];
        pts.push_back(v - centre);
    }
    return hullOf(pts);
}

// Decagonal barrel: end decagons of side 1 (circumradius φ) at z = ±2, waist decagon of
// circumradius 2 at z = 0, all at angles 36°k. cupolas: 0 none, 1 on the z = -2 end (top),
// 2 on both ends (mirror position). Then the z-extent is centred.
Polyhedron barrel(int cupolas) {
    const double rPent = 1 / (2 * std::sin(pi / 5));
    // Cupola height from the unit lateral edge: pentagon vertex at angle 18°, decagon vertex at 0°.
    const double dx = rPent * std::cos(pi / 10) - phi, dy = rPent * std::sin(pi / 10);
    const double hc = std::sqrt(1 - dx * dx - dy * dy);
    std::vector<Point3D> pts;
    addRing(pts, 10, phi, 0, -2);
    addRing(pts, 10, 2, 0, 0);
    addRing(pts, 10, phi, 0, 2);
    if (cupolas >= 1) addRing(pts, 5, rPent, pi / 10, -2 - hc);
    if (cupolas >= 2) addRing(pts, 5, rPent, pi / 10, 2 + hc);
    double lo = 1e300, hi = -1e300;
    for (const Point3D& v : pts)
        lo = std::min(lo, v.z), hi = std::max(hi, v.z);
    const double mid = (lo + hi) / 2;
    for (Point3D& v : pts)
        v.z -= mid;
    if (cupolas == 2)
        for (Point3D& v : pts)
            v.z = std::abs(v.z) < 1e-15 ? 0 : v.z;
    return hullOf(pts);
}

// Dürer's solid, Schreiber's reading: rhombohedron of edge 1 with 72° rhombi (apex edge vectors
// at pairwise dot cos 72°, threefold axis z), both threefold apexes cut at t = (sqrt5 - 1)/2
// along the apex edges; centred.
Polyhedron duerer() {
    const double c72 = std::cos(2 * pi / 5);
    const double s = std::sqrt(2 * (1 - c72) / 3);
    const double c = std::sqrt(1 - s * s);
    std::array<Point3D, 3> e;
    for (int i = 0; i < 3; ++i) {
        const auto [ci, si] = cosSin30(4 * i);
        e[i] = {s * ci, s * si, c};
    }
    const double t = (std::sqrt(5.0) - 1) / 2;
    const Point3D S = e[0] + e[1] + e[2];
    std::vector<Point3D> pts;
    for (int i = 0; i < 3; ++i)
        pts.push_back(t * e[i]);
    for (int i = 0; i < 3; ++i)
        pts.push_back(e[i]);
    for (int i = 0; i < 3; ++i)
        pts.push_back(S - e[i]);
    for (int i = 0; i < 3; ++i)
        pts.push_back(S - t * e[i]);
    for (Point3D& v : pts)
        v = v - S / 2;
    return hullOf(pts);
}

// Rhombic icosahedron: five of the six fivefold axes of the icosahedron (cos θ = 1/sqrt5).
Polyhedron rhombicIcosahedron() {
    const double ct = 1 / std::sqrt(5.0), st = std::sqrt(1 - ct * ct);
    std::vector<Point3D> g;
    for (const Point3D& r : ringPoints(5, st, 0, ct))
        g.push_back(r);
    return zonohedron(g);
}

// Loday's associahedron K5, expressed in an orthonormal basis of the plane x1+..+x4 = 10.
Polyhedron associahedron() {
    const std::array<std::array<double, 4>, 14> q{{{1, 2, 3, 4},
                                                   {1, 2, 6, 1},
                                                   {1, 4, 1, 4},
                                                   {1, 6, 1, 2},
                                                   {1, 6, 2, 1},
                                                   {2, 1, 3, 4},
                                                   {2, 1, 6, 1},
                                                   {3, 1, 2, 4},
                                                   {3, 2, 1, 4},
                                                   {4, 1, 2, 3},
                                                   {4, 1, 4, 1},
                                                   {4, 2, 1, 3},
                                                   {4, 3, 1, 2},
                                                   {4, 3, 2, 1}}};
    std::array<double, 4> mean{};
    for (const auto& p : q)
        for (int i = 0; i < 4; ++i)
            mean[i] += p[i] / 14.0;
    const std::array<std::array<double, 4>, 3> basis{
        {{1 / std::sqrt(2.0), -1 / std::sqrt(2.0), 0, 0},
         {1 / std::sqrt(6.0), 1 / std::sqrt(6.0), -2 / std::sqrt(6.0), 0},
         {1 / std::sqrt(12.0), 1 / std::sqrt(12.0), 1 / std::sqrt(12.0), -3 / std::sqrt(12.0)}}};
    std::vector<Point3D> pts;
    for (const auto& p : q) {
        std::array<double, 3> c{};
        for (int k = 0; k < 3; ++k)
            for (int i = 0; i < 4; ++i)
                c[k] += basis[k][i] * (p[i] - mean[i]);
        pts.push_back({c[0], c[1], c[2]});
    }
    return hullOf(pts);
}

// Herschel's enneahedron, D3h: poles (0,0,±2), equator at radius 2, six vertices at radius 1,
// z = ±1.5.
Polyhedron herschel() {
    std::vector<Point3D> pts{{0, 0, 2}, {0, 0, -2}};
    for (int j = 0; j < 3; ++j) {
        const auto [c, s] = cosSin30(4 * j);
        pts.push_back({2 * c, 2 * s, 0});
    }
    for (double z : {1.5, -1.5})
        for (int i = 0; i < 3; ++i) {
            const auto [c, s] = cosSin30(2 + 4 * i);
            pts.push_back({c, s, z});
        }
    return hullOf(pts);
}

// Triclinic parallelepiped a=(3,0,0), b=(1,2,0), c=(1,1,2) (point group Ci); with cutCorner the
// corner +(a+b+c)/2 is cut through the midpoints of its three edges (C1). Vertex centroid at 0.
Polyhedron triclinic(bool cutCorner) {
    const Point3D a{3, 0, 0}, b{1, 2, 0}, c{1, 1, 2};
    std::vector<Point3D> pts;
    for (int m = 0; m < 8; ++m) {
        const Point3D v =
            ((m & 4) ? 0.5 : -0.5) * a + ((m & 2) ? 0.5 : -0.5) * b + ((m & 1) ? 0.5 : -0.5) * c;
        if (cutCorner && m == 7) continue;
        pts.push_back(v);
    }
    if (cutCorner) {
        const Point3D corner = (a + b + c) / 2;
        pts.push_back(corner - a / 2);
        pts.push_back(corner - b / 2);
        pts.push_back(corner - c / 2);
    }
    Polyhedron p;
    p.vertices = pts;
    translate(p, -vertexCentroid(p));
    return hullOf(p.vertices);
}

// Icosioctahedron: truncated tetrahedron (permutations of (3,1,1), even number of minus signs)
// with a hexagonal pyramid on each hexagon, apexes on the circumsphere sqrt(11/3)(±1,±1,±1), odd
// number of minus signs.
Polyhedron icosioctahedron() {
    std::vector<Point3D> pts;
    for (const Point3D& v : truncatedTetrahedronPoints())
        pts.push_back(v);
    // truncatedTetrahedronPoints has unit edge; the standard form has edge 2 sqrt2.
    const double scale = 2 * std::sqrt(2.0);
    for (Point3D& v : pts)
        v = scale * v;
    const double k = std::sqrt(11.0 / 3.0);
    for (int m = 0; m < 8; ++m) {
        const Point3D v{(m & 4) ? -k : k, (m & 2) ? -k : k, (m & 1) ? -k : k};
        const int minus = ((m & 4) != 0) + ((m & 2) != 0) + ((m & 1) != 0);
        if (minus % 2 == 1) pts.push_back(v);
    }
    return hullOf(pts);
}

// Elongated rhombic dodecahedron: zonohedron of (1,1,1), (1,1,-1), (1,-1,1), (-1,1,1) (unit) and
// (0,0,1); fourfold axis z.
Polyhedron elongatedRhombicDodecahedron() {
    const double r = 1 / std::sqrt(3.0);
    return zonohedron({{r, r, r}, {r, r, -r}, {r, -r, r}, {-r, r, r}, {0, 0, 1}});
}

// Campanus' sphere: poles and 12 meridians x 5 parallels (latitudes 0, ±30, ±60) on the unit sphere.
Polyhedron campanus() {
    std::vector<Point3D> pts{{0, 0, 1}, {0, 0, -1}};
    for (int b : {2, 1, 0, -1, -2}) {
        const auto [cb, sb] = cosSin30(b);
        for (int l = 0; l < 12; ++l) {
            const auto [cl, sl] = cosSin30(l);
            pts.push_back({cb * cl, cb * sl, sb});
        }
    }
    return hullOf(pts);
}

} // namespace gen
