// Constructions of the catalogue's category-0 and category-2 bodies,
// the verbatim blocks the catalogue description quotes, and the collection of all bodies with
// their block ids.
#include "bodies.h"

#include "build/build.h"
#include "catalogue/tables.h"

#include "hidden.h"
#include "johnson.h"
#include "layout.h"
#include "uniform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <stdexcept>

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

// ---------------------------------------------------------------- category 0

// The tetrahedron, cube and octahedron blocks as the catalogue has always had them, verbatim.
const std::vector<std::string> kTetraCoords{"0 0 1.732051", "1.632993 0 -0.5773503",
                                            "-0.8164966 1.414214 -0.5773503",
                                            "-0.8164966 -1.414214 -0.5773503"};
const std::vector<std::string> kTetraFaces{"012", "013", "123", "023"};
const std::vector<std::string> kCubeCoords{"-1 1 -1", "1 1 -1", "1 -1 -1", "-1 -1 -1",
                                           "-1 1 1",  "1 1 1",  "1 -1 1",  "-1 -1 1"};
const std::vector<std::string> kOctaCoords{"-1 -1 0",           "1 -1 0",          "1 1 0", "-1 1 0",
                                           "0 0 -1.4142135624", "0 0 1.4142135624"};
const std::vector<std::string> kOctaFaces{"041", "150", "243", "352", "035", "034", "251", "124"};

std::vector<Point3D> parseCoordLines(const std::vector<std::string>& lines) {
    std::vector<Point3D> out;
    for (const std::string& l : lines) {
        // Three numbers at single spaces, read as the program reads them.
        const std::size_t a = l.find(' '), b = a == std::string::npos ? a : l.find(' ', a + 1);
        const auto x = kesmora::convertNumber(l.substr(0, a));
        const auto y =
            b == std::string::npos ? std::nullopt : kesmora::convertNumber(l.substr(a + 1, b - a - 1));
        const auto z = b == std::string::npos ? std::nullopt : kesmora::convertNumber(l.substr(b + 1));
        if (!x || !y || !z) throw std::runtime_error("bad quoted line");
        out.push_back(Point3D{*x, *y, *z});
    }
    return out;
}

std::vector<std::vector<int>> parseFaceLines(const std::vector<std::string>& lines) {
    std::vector<std::vector<int>> out;
    for (const std::string& l : lines) {
        std::vector<int> f;
        for (char ch : l)
            f.push_back(kesmora::vertexOfCode(ch));
        out.push_back(f);
    }
    return out;
}

// The face blocks of the seven bodies whose vertices the parametric generators compute; they
// name the vertices in the generators' order, so they stand verbatim.
const std::vector<std::pair<int, std::vector<std::string>>> kGeneratedFaces{
    {5, {"0123", "1265", "2376", "0374", "0154", "6745"}},
    {13, {"0165", "1276", "2387", "3498", "4059", "01234", "56789"}},
    {21, {"012", "345", "0143", "1254", "2035"}},
    {22, {"0123", "4567", "0154", "1265", "2376", "3047"}},
    {23, {"01234", "56789", "0165", "1276", "2387", "3498", "4059"}},
    {24, {"012345", "6789:;", "0176", "1287", "2398", "34:9", "45;:", "506;"}},
    {26, {"016", "126", "236", "346", "456", "506", "017", "127", "237", "347", "457", "507"}},
};

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

// ---------------------------------------------------------------- category 2

// Direction of the face with `sides` vertices whose centroid lies closest to direction `hint`.
Point3D faceAxis(const Polyhedron& p, const std::vector<int>& sides, Point3D hint) {
    Point3D best;
    double bestDot = -1e300;
    for (const auto& f : p.faces) {
        if (std::find(sides.begin(), sides.end(), static_cast<int>(f.size())) == sides.end()) continue;
        Point3D c;
        for (int i : f)
            c = c + p.vertices[i];
        const Point3D d = normalized(c);
        const double t = dot(d, normalized(hint));
        if (t > bestDot) bestDot = t, best = d;
    }
    if (bestDot < -1e299) throw std::runtime_error("faceAxis: no such face");
    return best;
}

double midradius2(const Polyhedron& p) {
    const auto& f = p.faces.front();
    const Point3D m = (p.vertices[f[0]] + p.vertices[f[1]]) / 2;
    return dot(m, m);
}

struct Archimedean {
    Polyhedron solid; // standard frame
    Point3D top;      // main axis, standard frame
};

Archimedean archimedean(int index) {
    const Point3D z{0, 0, 1};
    const Point3D five{0, 1, phi}; // a fivefold axis of the icosahedral standard coordinates
    const Point3D three{1, 1, 1};
    auto make = [](const std::vector<Point3D>& pts, Point3D axis, const std::vector<int>& sides) {
        Archimedean a;
        a.solid = convexHull(pts);
        a.top = faceAxis(a.solid, sides, axis);
        return a;
    };
    switch (index) {
    case 0:
        return make(cuboctahedronPoints(), z, {4});
    case 1:
        return make(icosidodecahedronPoints(), five, {5});
    case 2:
        return make(rhombicosidodecahedronPoints(), five, {5});
    case 3:
        return make(rhombicuboctahedronPoints(), z, {4});
    case 4:
        return make(snubCubePoints(), z, {4});
    case 5: // the enantiomer snubDodecahedronPoints gives (even permutations, even number of plus signs)
        return make(snubDodecahedronPoints(), five, {5});
    case 6:
        return make(truncatedIcosahedronPoints(), five, {5});
    case 7:
        return make(truncatedIcosidodecahedronPoints(), five, {10});
    case 8:
        return make(truncatedCuboctahedronPoints(), z, {8});
    case 9:
        return make(truncatedCubePoints(), z, {8});
    case 10:
        return make(truncatedOctahedronPoints(), z, {4});
    case 11:
        return make(truncatedTetrahedronPoints(), three, {3}); // a triangle on top
    case 12:
        return make(truncatedDodecahedronPoints(), five, {10});
    }
    throw std::runtime_error("archimedean: bad index");
}

// Catalan solid of category-2 index i (13..25): the Archimedean solid it is the canonical dual of.
int catalanSource(int index) {
    static const std::array<int, 13> source{11, 9, 12, 10, 0, 3, 2, 1, 6, 4, 5, 7, 8};
    return source.at(index - 13);
}

// ---------------------------------------------------------------- the list

struct Cat0 {
    int index;
    const char* name;
    std::function<Polyhedron()> build; // empty for quoted / generated bodies
};

const std::vector<Cat0>& category0() {
    static const std::vector<Cat0> list{
        {0, "Tetraeder", {}},
        {1, "Hexaeder, Würfel", {}},
        {2, "Oktaeder", {}},
        {3, "Ikosaeder", [] { return hullOf(icosahedronPoints()); }},
        {4, "Pentagondodekaeder", [] { return hullOf(dodecahedronPoints()); }},
        {5, "Quader", {}},
        {6, "quadratische Pyramide", [] { return hiddenCategory0(6); }},
        {7, "dreiseitige Pyramide", [] { return hiddenCategory0(7); }},
        {8, "fünfseitige Pyramide", [] { return hiddenCategory0(8); }},
        {9, "sechsseitige Pyramide", [] { return hiddenCategory0(9); }},
        {10, "quadratischer Stumpf", [] { return hiddenCategory0(10); }},
        {11, "dreiseitiger Stumpf", [] { return hiddenCategory0(11); }},
        {12, "rechteckiger Stumpf", [] { return hiddenCategory0(12); }},
        {13, "fünfseitiges Prisma", {}},
        {14, "fünfseitiges Antiprisma", [] { return hullOf(antiprismPoints(5)); }},
        {15, "Hohlquader", [] { return hiddenCategory0(15); }},
        {16, "fünf Würfel", [] { return hiddenCategory0(16); }},
        {17, "vier Würfel", [] { return hiddenCategory0(17); }},
        {18, "sechs Würfel", [] { return hiddenCategory0(18); }},
        {19, "Mengerwürfel", [] { return hiddenCategory0(19); }},
        {20, "Sierpinskitetraeder", [] { return hiddenCategory0(20); }},
        {21, "dreiseitiges Prisma", {}},
        {22, "quadratisches Prisma", {}},
        {23, "fünfseitiger Stumpf", {}},
        {24, "sechsseitiges Prisma", {}},
        {25, "quadratisches Antiprisma", [] { return hullOf(antiprismPoints(4)); }},
        {26, "sechsseitige Doppelpyramide", {}},
        {27, "Pentagramm-Prisma", [] { return hiddenCategory0(27); }},
        {28, "siebenseitiges Prisma", [] { return hullOf(prismPoints(7)); }},
        {29, "siebenseitiges Antiprisma", [] { return hullOf(antiprismPoints(7)); }},
        {30, "achtseitiges Prisma", [] { return hullOf(prismPoints(8)); }},
        {31, "quadratisches Trapezoeder", [] { return trapezohedron(4); }},
        {32, "fünfseitiges Trapezoeder", [] { return trapezohedron(5); }},
        {33, "sechsseitiges Trapezoeder", [] { return hiddenCategory0(33); }},
        {34, "dreiseit.regelm. Prisma", [] { return hullOf(prismPoints(3)); }},
        {35, "achtseitiges Antiprisma", [] { return hullOf(antiprismPoints(8)); }},
        {36, "Prisma und Pyramide", prismAndPyramid},
        {37, "sechsseitiges Antiprisma", [] { return hullOf(antiprismPoints(6)); }},
        {38, "Tetrahemihexaeder", [] { return hiddenCategory0(38); }},
        {39, "fünfseitige Doppelpyramide", pentagonalBipyramid},
        {40, "neunseitiges Prisma", [] { return hullOf(prismPoints(9)); }},
        {41, "neunseitiges Antiprisma", [] { return hullOf(antiprismPoints(9)); }},
        {42, "zehnseitiges Prisma", [] { return hullOf(prismPoints(10)); }},
        {43, "zehnseitiges Antiprisma", [] { return hullOf(antiprismPoints(10)); }},
        {44, "erweitertes Trapezoeder", extendedTrapezohedron},
        {45, "Tetraederstern", [] { return hiddenCategory0(45); }},
        {46, "Rhombenhexaeder", goldenRhombohedron},
        {47, "zehnseitiges Fass", [] { return barrel(0); }},
        {48, "zehnseitiges Fass + Kuppel", [] { return barrel(1); }},
        {49, "zehnseitiges Fass + 2 Kuppeln", [] { return barrel(2); }},
        {50, "Dürer-Polyeder", duerer},
        {51, "Kepler-Stern", [] { return hiddenCategory0(51); }},
        {52, "elfseitiges Antiprisma", [] { return hullOf(antiprismPoints(11)); }},
        {53, "elfseitiges Prisma", [] { return hullOf(prismPoints(11)); }},
        {54, "zwölfseitiges Antiprisma", [] { return hullOf(antiprismPoints(12)); }},
        {55, "Doppelantiprisma", [] { return hiddenCategory0(55); }},
        {56, "zwölfseitiges Prisma", [] { return hullOf(prismPoints(12)); }},
        {57, "Rhombenikosaeder", rhombicIcosahedron},
        {58, "Assoziaeder", associahedron},
        {59, "hamiltonfreies Polyeder", herschel},
        {60, "zehnseitiges Trapezoeder", [] { return hiddenCategory0(60); }},
        {61, "siebenseitiges Trapezoeder", [] { return hiddenCategory0(61); }},
        {62, "Symmetrie-C1-Polyeder", [] { return triclinic(true); }},
        {63, "Symmetrie-Ci-Polyeder", [] { return triclinic(false); }},
        {64, "Ikosioktaeder", icosioctahedron},
        {65, "achtseitige Pyramide", [] { return hiddenCategory0(65); }},
        {66, "erweitertes Rhombendodekaeder", elongatedRhombicDodecahedron},
        {67, "Campanus-Sphäre", campanus},
    };
    return list;
}

const std::array<const char*, 26> kCategory2Names{"Kuboktaeder",
                                                  "Ikosidodekaeder",
                                                  "Rhombenikosidodekaeder",
                                                  "Rhombenkuboktaeder",
                                                  "Cubus simus (abgeschr.Hexaeder)",
                                                  "Dodecaedron simum (abgeschr.Dodekaeder)",
                                                  "Ikosaederstumpf",
                                                  "Ikosidodekaederstumpf",
                                                  "Kuboktaederstumpf",
                                                  "Hexaederstumpf",
                                                  "Oktaederstumpf",
                                                  "Tetraederstumpf",
                                                  "Dodekaederstumpf",
                                                  "Pyramidentetraeder",
                                                  "Pyramidenoktaeder",
                                                  "Pyramidenikosaeder",
                                                  "Pyramidenwürfel",
                                                  "Rhombendodekaeder",
                                                  "Deltoid-24-Flächner",
                                                  "Deltoid-60-Flächner",
                                                  "Rhomben-30-Flächner",
                                                  "Pyramidendodekaeder",
                                                  "Pentagon-24-Flächner",
                                                  "Pentagon-60-Flächner",
                                                  "Disdyakistriacontaeder",
                                                  "Disdyakisdodecaeder"};

void prepare(CatalogueBody& b, const std::vector<int>& pinned = {}) {
    if (isHiddenBody(b.category, b.index))
        avoidHeaderLines(b.solid, b.name);
    else
        prepareForCatalogue(b.solid, b.category, b.index, b.name, pinned);
}

} // namespace

int blockIdOf(int category, int index) {
    const auto d = kesmora::dispatchFor(category, index);
    if (!d) throw std::runtime_error("blockIdOf: no block for this category and index");
    return d->blockId;
}

int johnsonIndexOf(int number) {
    try {
        return johnsonBodyIndex(number);
    } catch (const std::runtime_error&) {
        return -1;
    }
}

std::vector<CatalogueBody> catalogueBodies() {
    std::vector<CatalogueBody> out;

    // Category 0: stored with the main axis along z (top at -z); the program tilts them.
    for (const Cat0& c : category0()) {
        CatalogueBody b;
        b.category = 0;
        b.index = c.index;
        b.name = c.name;
        b.blockId = blockIdOf(0, c.index);
        if (c.index == 0) {
            b.coordLines = kTetraCoords;
            b.faceLines = kTetraFaces;
            b.solid.vertices = parseCoordLines(kTetraCoords);
            b.solid.faces = parseFaceLines(kTetraFaces);
        } else if (c.index == 1) {
            b.coordLines = kCubeCoords;
            b.solid = convexHull(parseCoordLines(kCubeCoords));
            prepare(b);
        } else if (c.index == 2) {
            b.coordLines = kOctaCoords;
            b.faceLines = kOctaFaces;
            b.solid.vertices = parseCoordLines(kOctaCoords);
            b.solid.faces = parseFaceLines(kOctaFaces);
        } else if (!c.build) {
            b.generated = true;
            for (const auto& [index, lines] : kGeneratedFaces)
                if (index == c.index) b.faceLines = lines;
            b.solid.faces = parseFaceLines(b.faceLines);
        } else {
            b.solid = c.build();
            std::vector<int> pinned;
            if (c.index == 4) { // keep the quoted pentagon "468@C" as it is
                for (int f = 0; f < static_cast<int>(b.solid.faces.size()); ++f)
                    if (faceString(b.solid.faces[f]) == "468@C") pinned.push_back(f);
                if (pinned.size() != 1) throw std::runtime_error("dodecahedron: face 468@C missing");
            }
            prepare(b, pinned);
        }
        out.push_back(std::move(b));
    }

    // Category 2: Archimedean solids (0..12, not 5) and their Catalan duals (13..25), stored
    // upright (top up and slightly toward the viewer, see orientForDisplay).
    for (int i = 0; i < 26; ++i) {
        CatalogueBody b;
        b.category = 2;
        b.index = i;
        b.name = kCategory2Names[i];
        b.blockId = blockIdOf(2, i);
        if (i < 13) {
            Archimedean a = archimedean(i);
            b.solid = a.solid;
            orientForDisplay(b.solid, a.top);
        } else {
            Archimedean a = archimedean(catalanSource(i));
            b.solid = polarReciprocal(a.solid, midradius2(a.solid));
            orientForDisplay(b.solid, a.top);
        }
        prepare(b);
        out.push_back(std::move(b));
    }

    // Category 3: the Johnson solids another part of the generator builds, listed and hidden.
    std::vector<JohnsonBody> johnson = johnsonBodies();
    for (JohnsonBody& j : hiddenJohnsonBodies())
        johnson.push_back(std::move(j));
    for (JohnsonBody& j : johnson) {
        const int index = johnsonIndexOf(j.number);
        if (index < 0) throw std::runtime_error("unknown Johnson number");
        CatalogueBody b;
        b.category = 3;
        b.index = index;
        char name[32];
        std::snprintf(name, sizeof name, "Johnson Polyeder %02d", j.number);
        b.name = name;
        b.blockId = blockIdOf(3, index);
        b.solid = std::move(j.solid);
        prepare(b);
        out.push_back(std::move(b));
    }

    std::sort(out.begin(), out.end(),
              [](const CatalogueBody& a, const CatalogueBody& b) { return a.blockId < b.blockId; });
    return out;
}

} // namespace gen
