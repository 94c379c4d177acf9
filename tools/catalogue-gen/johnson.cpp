// The 92 Johnson solids of the catalogue (77 listed, 15 hidden by excluded.txt), built by cut and
// paste from regular parts or, for the few without such a construction, solved from their
// unit-edge equations (johnson_solved.cpp).
#include "johnson.h"

#include "johnson_parts.h"
#include "johnson_solved.h"
#include "layout.h"
#include "uniform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>

namespace gen {

namespace {

const double kPi = std::numbers::pi;
const double kPhi = std::numbers::phi;
const Point3D kUp{0, 0, 1};
const Point3D kDown{0, 0, -1};
// Cosine of the angle between two fivefold axes that are neither neighbours nor opposite.
const double kMetaCosine = -1 / std::sqrt(5.0);

// The category-3 list of the catalogue, by position; the position is the body index.
constexpr std::array<int, 92> kCatalogueOrder = {
    87, 54, 91, 34, 7,  82, 80, 79, 33, 83, 84, 51, 3,  77, 8,  76, 75, 4,  88, 92, 74, 86, 73,
    5,  72, 85, 71, 55, 6,  70, 10, 56, 89, 9,  69, 68, 90, 78, 35, 38, 41, 81, 1,  2,  11, 12,
    13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 36, 37, 39,
    40, 42, 43, 44, 45, 46, 47, 48, 49, 50, 52, 53, 57, 58, 59, 60, 61, 62, 63, 64, 65, 66, 67};

constexpr std::array<int, 15> kNotListed = {1, 2, 3, 4, 5, 10, 22, 27, 31, 49, 50, 51, 86, 87, 88};

// ---- Stacks along the z axis: rings with caps above and below ----------------------------------

// Two rings of a prism with square sides, top ring first.
std::pair<std::vector<Point3D>, std::vector<Point3D>> prismRings(int n) {
    return {regularRing(n, 0.5, 0), regularRing(n, -0.5, 0)};
}

// Two rings of a uniform antiprism, top ring first.
std::pair<std::vector<Point3D>, std::vector<Point3D>> antiprismRings(int n) {
    std::vector<Point3D> top = regularRing(n, 0, 0);
    return {top, antiprismLid({top, kDown})};
}

Construction pyramidStack(int n, bool elongate, bool gyroelongate, bool twoPyramids) {
    Construction c;
    std::vector<Point3D> top, bottom;
    if (elongate)
        std::tie(top, bottom) = prismRings(n);
    else if (gyroelongate)
        std::tie(top, bottom) = antiprismRings(n);
    else
        top = bottom = regularRing(n, 0, 0);
    append(c.points, top);
    if (elongate || gyroelongate) append(c.points, bottom);
    append(c.points, pyramidApex({top, kUp}));
    if (twoPyramids) append(c.points, pyramidApex({bottom, kDown}));
    return c;
}

enum class Cap { None, Cupola, Rotunda };
enum class Middle { None, Prism, Antiprism };

// Cap on top of a 2n-gon stack and optionally one below. `aligned` puts the lower cap's
// distinguished edges (cupola triangles, rotunda pentagons) under the upper cap's, so ortho forms
// and the cupola-rotundas with aligned top pentagons come out; otherwise they are one edge apart.
Construction capStack(int baseEdges, Middle middle, Cap upper, Cap lower, bool aligned) {
    std::vector<Point3D> top, bottom;
    if (middle == Middle::Prism)
        std::tie(top, bottom) = prismRings(baseEdges);
    else if (middle == Middle::Antiprism)
        std::tie(top, bottom) = antiprismRings(baseEdges);
    else
        top = bottom = regularRing(baseEdges, 0, 0);
    Construction c;
    append(c.points, top);
    if (middle != Middle::None) append(c.points, bottom);
    const Point3D mark = edgeDirection(top, 0);
    auto addCap = [&](Cap cap, const std::vector<Point3D>& ring, Point3D outward, Point3D side) {
        if (cap == Cap::Cupola) append(c.points, cupolaTop({ring, outward}, side));
        if (cap == Cap::Rotunda) append(c.points, rotundaTop({ring, outward}, side));
    };
    addCap(upper, top, kUp, mark);
    // Below an antiprism both positions give mirror images of one solid.
    const Point3D lowerMark = middle == Middle::Antiprism ? edgeDirection(bottom, 0)
                              : aligned                   ? mark
                                                          : edgeDirection(top, 1);
    addCap(lower, bottom, kDown, lowerMark);
    return c;
}

// ---- Augmented, diminished and gyrated uniform solids ------------------------------------------

Construction pyramidsOnFaces(const std::vector<Point3D>& solid, int faceSize, int count, double cosine) {
    // Faces chosen one by one, each at the given angle to every earlier one.
    const std::vector<HullFace> faces = hullFaces(solid);
    Construction c;
    c.points = solid;
    std::vector<NormalAngle> angles;
    for (int i = 0; i < count; ++i) {
        const HullFace& f = findFace(faces, faceSize, angles);
        append(c.points, pyramidApex(capBaseOf(solid, f)));
        if (i == 0) c.top = f.normal;
        angles.push_back({f.normal, cosine});
    }
    return c;
}

// Cupolas on faces of a truncated solid; a cupola's squares stand on the edges the truncation's
// triangles border, its triangles on the edges between two large faces.
Construction cupolasOnFaces(const std::vector<Point3D>& solid, int faceSize, int count, double cosine) {
    const std::vector<HullFace> faces = hullFaces(solid);
    Construction c;
    c.points = solid;
    std::vector<NormalAngle> angles;
    for (int i = 0; i < count; ++i) {
        const HullFace& f = findFace(faces, faceSize, angles);
        const std::vector<int> across = neighbourSizes(faces, f);
        const int k = static_cast<int>(
            std::find_if(across.begin(), across.end(), [](int s) { return s != 3; }) - across.begin());
        const CapBase base = capBaseOf(solid, f);
        append(c.points, cupolaTop(base, edgeDirection(base.corners, k)));
        if (i == 0) c.top = f.normal;
        angles.push_back({f.normal, cosine});
    }
    return c;
}

// Rhombicosidodecahedron with some of its pentagonal cupolas turned by 36 degrees ('g') or
// removed ('d'), in the order given; the cupolas' axes are pairwise opposite when `opposite`,
// else pairwise at the meta angle. A cupola is marked by its top pentagon.
Construction rhombicosidodecahedronVariant(const std::string& parts, bool opposite) {
    const std::vector<Point3D> solid = rhombicosidodecahedronPoints();
    const std::vector<HullFace> faces = hullFaces(solid);
    std::vector<Point3D> points = solid;
    std::vector<bool> removed(solid.size(), false);
    std::vector<NormalAngle> angles;
    Construction c;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const HullFace& f = findFace(faces, 5, angles);
        for (int v : f.corners) {
            if (parts[i] == 'g')
                points[v] = turnedAbout(points[v], f.normal, kPi / 5);
            else
                removed[v] = true;
        }
        if (i == 0) c.top = f.normal;
        angles.push_back({f.normal, opposite ? -1.0 : kMetaCosine});
    }
    for (std::size_t v = 0; v < points.size(); ++v)
        if (!removed[v]) c.points.push_back(points[v]);
    return c;
}

// Icosahedron without some pairwise meta vertices (each takes its pentagonal pyramid along).
Construction diminishedIcosahedron(int count) {
    const std::vector<Point3D> ico = icosahedronPoints();
    std::vector<int> gone;
    for (int i = 0; i < static_cast<int>(ico.size()) && static_cast<int>(gone.size()) < count; ++i) {
        bool meta = true;
        for (int g : gone)
            if (std::abs(dot(normalized(ico[i]), normalized(ico[g])) - kMetaCosine) > 1e-9) meta = false;
        if (meta) gone.push_back(i);
    }
    if (static_cast<int>(gone.size()) != count)
        throw std::runtime_error("diminished icosahedron: no such vertices");
    Construction c;
    c.top = ico[gone[0]];
    for (int i = 0; i < static_cast<int>(ico.size()); ++i)
        if (std::find(gone.begin(), gone.end(), i) == gone.end()) c.points.push_back(ico[i]);
    return c;
}

// J64: the tetrahedron sits on the one triangle that borders all three pentagons.
Construction augmentedTridiminishedIcosahedron() {
    Construction c = diminishedIcosahedron(3);
    const std::vector<HullFace> faces = hullFaces(c.points);
    for (const HullFace& f : faces) {
        const std::vector<int> across = neighbourSizes(faces, f);
        if (f.corners.size() == 3 && std::count(across.begin(), across.end(), 5) == 3) {
            append(c.points, pyramidApex(capBaseOf(c.points, f)));
            c.top = f.normal;
            return c;
        }
    }
    throw std::runtime_error("J64: no triangle between the three pentagons");
}

// How each Johnson solid the catalogue holds is made, by its number.
struct Recipe {
    int number;
    Construction (*make)();
};
const Recipe kRecipes[] = {
    {1, [] { return pyramidStack(4, false, false, false); }},
    {2, [] { return pyramidStack(5, false, false, false); }},
    {3, [] { return capStack(6, Middle::None, Cap::Cupola, Cap::None, true); }},
    {4, [] { return capStack(8, Middle::None, Cap::Cupola, Cap::None, true); }},
    {5, [] { return capStack(10, Middle::None, Cap::Cupola, Cap::None, true); }},
    {10, [] { return pyramidStack(4, false, true, false); }},
    {22, [] { return capStack(6, Middle::Antiprism, Cap::Cupola, Cap::None, true); }},
    {27, [] { return capStack(6, Middle::None, Cap::Cupola, Cap::Cupola, true); }},
    {31, [] { return capStack(10, Middle::None, Cap::Cupola, Cap::Cupola, false); }},
    {49, [] { return pyramidsOnFaces(prismPoints(3), 4, 1, 0); }},
    {50, [] { return pyramidsOnFaces(prismPoints(3), 4, 2, -0.5); }},
    {51, [] { return pyramidsOnFaces(prismPoints(3), 4, 3, -0.5); }},
    {86,
     [] {
         return Construction{sphenocorona(), kUp};
     }},
    {87, augmentedSphenocorona},
    {88,
     [] {
         return Construction{sphenomegacorona(), kUp};
     }},
    {6, [] { return capStack(10, Middle::None, Cap::Rotunda, Cap::None, true); }},
    {7, [] { return pyramidStack(3, true, false, false); }},
    {8, [] { return pyramidStack(4, true, false, false); }},
    {9, [] { return pyramidStack(5, true, false, false); }},
    {11, [] { return pyramidStack(5, false, true, false); }},
    {12, [] { return pyramidStack(3, false, false, true); }},
    {13, [] { return pyramidStack(5, false, false, true); }},
    {14, [] { return pyramidStack(3, true, false, true); }},
    {15, [] { return pyramidStack(4, true, false, true); }},
    {16, [] { return pyramidStack(5, true, false, true); }},
    {17, [] { return pyramidStack(4, false, true, true); }},
    {18, [] { return capStack(6, Middle::Prism, Cap::Cupola, Cap::None, true); }},
    {19, [] { return capStack(8, Middle::Prism, Cap::Cupola, Cap::None, true); }},
    {20, [] { return capStack(10, Middle::Prism, Cap::Cupola, Cap::None, true); }},
    {21, [] { return capStack(10, Middle::Prism, Cap::Rotunda, Cap::None, true); }},
    {23, [] { return capStack(8, Middle::Antiprism, Cap::Cupola, Cap::None, true); }},
    {24, [] { return capStack(10, Middle::Antiprism, Cap::Cupola, Cap::None, true); }},
    {25, [] { return capStack(10, Middle::Antiprism, Cap::Rotunda, Cap::None, true); }},
    {26, [] { return gyrobifastigium(); }},
    {28, [] { return capStack(8, Middle::None, Cap::Cupola, Cap::Cupola, true); }},
    {29, [] { return capStack(8, Middle::None, Cap::Cupola, Cap::Cupola, false); }},
    {30, [] { return capStack(10, Middle::None, Cap::Cupola, Cap::Cupola, true); }},
    {32, [] { return capStack(10, Middle::None, Cap::Cupola, Cap::Rotunda, true); }},
    {33, [] { return capStack(10, Middle::None, Cap::Cupola, Cap::Rotunda, false); }},
    {34, [] { return capStack(10, Middle::None, Cap::Rotunda, Cap::Rotunda, true); }},
    {35, [] { return capStack(6, Middle::Prism, Cap::Cupola, Cap::Cupola, true); }},
    {36, [] { return capStack(6, Middle::Prism, Cap::Cupola, Cap::Cupola, false); }},
    {37, [] { return capStack(8, Middle::Prism, Cap::Cupola, Cap::Cupola, false); }},
    {38, [] { return capStack(10, Middle::Prism, Cap::Cupola, Cap::Cupola, true); }},
    {39, [] { return capStack(10, Middle::Prism, Cap::Cupola, Cap::Cupola, false); }},
    {40, [] { return capStack(10, Middle::Prism, Cap::Cupola, Cap::Rotunda, true); }},
    {41, [] { return capStack(10, Middle::Prism, Cap::Cupola, Cap::Rotunda, false); }},
    {42, [] { return capStack(10, Middle::Prism, Cap::Rotunda, Cap::Rotunda, true); }},
    {43, [] { return capStack(10, Middle::Prism, Cap::Rotunda, Cap::Rotunda, false); }},
    {44, [] { return capStack(6, Middle::Antiprism, Cap::Cupola, Cap::Cupola, true); }},
    {45, [] { return capStack(8, Middle::Antiprism, Cap::Cupola, Cap::Cupola, true); }},
    {46, [] { return capStack(10, Middle::Antiprism, Cap::Cupola, Cap::Cupola, true); }},
    {47, [] { return capStack(10, Middle::Antiprism, Cap::Cupola, Cap::Rotunda, true); }},
    {48, [] { return capStack(10, Middle::Antiprism, Cap::Rotunda, Cap::Rotunda, true); }},
    {52, [] { return pyramidsOnFaces(prismPoints(5), 4, 1, 0); }},
    {53, [] { return pyramidsOnFaces(prismPoints(5), 4, 2, std::cos(4 * kPi / 5)); }},
    {54, [] { return pyramidsOnFaces(prismPoints(6), 4, 1, 0); }},
    {55, [] { return pyramidsOnFaces(prismPoints(6), 4, 2, -1); }},
    {56, [] { return pyramidsOnFaces(prismPoints(6), 4, 2, -0.5); }},
    {57, [] { return pyramidsOnFaces(prismPoints(6), 4, 3, -0.5); }},
    {58, [] { return pyramidsOnFaces(dodecahedronPoints(), 5, 1, 0); }},
    {59, [] { return pyramidsOnFaces(dodecahedronPoints(), 5, 2, -1); }},
    {60, [] { return pyramidsOnFaces(dodecahedronPoints(), 5, 2, kMetaCosine); }},
    {61, [] { return pyramidsOnFaces(dodecahedronPoints(), 5, 3, kMetaCosine); }},
    {62, [] { return diminishedIcosahedron(2); }},
    {63, [] { return diminishedIcosahedron(3); }},
    {64, augmentedTridiminishedIcosahedron},
    {65, [] { return cupolasOnFaces(truncatedTetrahedronPoints(), 6, 1, 0); }},
    {66, [] { return cupolasOnFaces(truncatedCubePoints(), 8, 1, 0); }},
    {67, [] { return cupolasOnFaces(truncatedCubePoints(), 8, 2, -1); }},
    {68, [] { return cupolasOnFaces(truncatedDodecahedronPoints(), 10, 1, 0); }},
    {69, [] { return cupolasOnFaces(truncatedDodecahedronPoints(), 10, 2, -1); }},
    {70, [] { return cupolasOnFaces(truncatedDodecahedronPoints(), 10, 2, kMetaCosine); }},
    {71, [] { return cupolasOnFaces(truncatedDodecahedronPoints(), 10, 3, kMetaCosine); }},
    {72, [] { return rhombicosidodecahedronVariant("g", false); }},
    {73, [] { return rhombicosidodecahedronVariant("gg", true); }},
    {74, [] { return rhombicosidodecahedronVariant("gg", false); }},
    {75, [] { return rhombicosidodecahedronVariant("ggg", false); }},
    {76, [] { return rhombicosidodecahedronVariant("d", false); }},
    {77, [] { return rhombicosidodecahedronVariant("dg", true); }},
    {78, [] { return rhombicosidodecahedronVariant("dg", false); }},
    {79, [] { return rhombicosidodecahedronVariant("dgg", false); }},
    {80, [] { return rhombicosidodecahedronVariant("dd", true); }},
    {81, [] { return rhombicosidodecahedronVariant("dd", false); }},
    {82, [] { return rhombicosidodecahedronVariant("gdd", false); }},
    {83, [] { return rhombicosidodecahedronVariant("ddd", false); }},
    {84,
     [] {
         return solved(snubDisphenoidPoints,
                       {{0, 1},
                        {0, 2},
                        {0, 3},
                        {0, 4},
                        {1, 2},
                        {1, 3},
                        {1, 5},
                        {2, 4},
                        {2, 5},
                        {2, 6},
                        {3, 4},
                        {3, 5},
                        {3, 7},
                        {4, 6},
                        {4, 7},
                        {5, 6},
                        {5, 7},
                        {6, 7}},
                       {0.8, 0.6, 0.2}, false);
     }},
    {85,
     [] {
         return solved(snubSquareAntiprismPoints,
                       {{0, 1},   {0, 3},   {0, 4},   {0, 7},   {0, 8},   {1, 2},   {1, 4},   {1, 5},
                        {1, 9},   {2, 3},   {2, 5},   {2, 6},   {2, 10},  {3, 6},   {3, 7},   {3, 11},
                        {4, 8},   {4, 9},   {4, 12},  {5, 9},   {5, 10},  {5, 13},  {6, 10},  {6, 11},
                        {6, 14},  {7, 8},   {7, 11},  {7, 15},  {8, 12},  {8, 15},  {9, 12},  {9, 13},
                        {10, 13}, {10, 14}, {11, 14}, {11, 15}, {12, 13}, {12, 15}, {13, 14}, {14, 15}},
                       {0.7, 0.86, 0.19, 1.2}, false);
     }},
    {89,
     [] {
         return solved(hebesphenomegacoronaPoints,
                       {{0, 1},  {0, 3},  {0, 4},  {0, 10}, {1, 2},   {1, 5},  {1, 11}, {2, 3},  {2, 6},
                        {2, 11}, {3, 7},  {3, 10}, {4, 5},  {4, 8},   {4, 10}, {4, 12}, {5, 8},  {5, 11},
                        {5, 13}, {6, 7},  {6, 9},  {6, 11}, {6, 13},  {7, 9},  {7, 10}, {7, 12}, {8, 9},
                        {8, 12}, {8, 13}, {9, 12}, {9, 13}, {10, 12}, {11, 13}},
                       {-0.85, 0.72, 0.12, 0.96, 1.1, -0.23, 0.84, 0.73}, true);
     }},
    {90,
     [] {
         return solved(disphenocingulumPoints,
                       {{0, 1},  {0, 4},  {0, 7},   {0, 12},  {1, 5},   {1, 6},  {1, 13}, {2, 3},
                        {2, 8},  {2, 9},  {2, 14},  {3, 10},  {3, 11},  {3, 15}, {4, 5},  {4, 8},
                        {4, 12}, {4, 14}, {5, 9},   {5, 13},  {5, 14},  {6, 7},  {6, 10}, {6, 13},
                        {6, 15}, {7, 11}, {7, 12},  {7, 15},  {8, 11},  {8, 12}, {8, 14}, {9, 10},
                        {9, 13}, {9, 14}, {10, 13}, {10, 15}, {11, 12}, {11, 15}},
                       {1.1, 0.77, 0.46, 1.13, 0.33}, false);
     }},
    {91, [] { return bilunabirotunda(); }},
    {92, [] { return hebesphenorotunda(); }},
};

Construction build(int j) {
    for (const Recipe& r : kRecipes)
        if (r.number == j) return r.make();
    throw std::runtime_error("no construction for Johnson solid " + std::to_string(j));
}

} // namespace

int johnsonBodyIndex(int number) {
    const auto it = std::find(kCatalogueOrder.begin(), kCatalogueOrder.end(), number);
    if (it == kCatalogueOrder.end()) throw std::runtime_error("not a catalogue Johnson number");
    return static_cast<int>(it - kCatalogueOrder.begin());
}

std::string johnsonName(int number) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Johnson Polyeder %02d", number);
    return buf;
}

std::vector<int> johnsonNumbers() {
    std::vector<int> numbers;
    for (int j = 1; j <= 92; ++j)
        if (std::find(kNotListed.begin(), kNotListed.end(), j) == kNotListed.end()) numbers.push_back(j);
    return numbers;
}

namespace {

Polyhedron centredAndOriented(int number) {
    Construction c = build(number);
    const Point3D centre = centroidOf(c.points);
    for (Point3D& p : c.points)
        p = p - centre;
    Polyhedron p = convexHull(c.points);
    orientForDisplay(p, c.top);
    return p;
}

} // namespace

Polyhedron johnsonSolid(int number) {
    Polyhedron p = centredAndOriented(number);
    prepareForCatalogue(p, 3, johnsonBodyIndex(number), johnsonName(number));
    return p;
}

std::vector<int> hiddenJohnsonNumbers() {
    return {kNotListed.begin(), kNotListed.end()};
}

std::vector<JohnsonBody> hiddenJohnsonBodies() {
    std::vector<JohnsonBody> bodies;
    for (int j : hiddenJohnsonNumbers()) {
        Polyhedron p = centredAndOriented(j);
        avoidHeaderLines(p, johnsonName(j));
        bodies.push_back({j, std::move(p)});
    }
    return bodies;
}

std::vector<JohnsonBody> johnsonBodies() {
    std::vector<JohnsonBody> bodies;
    for (int j : johnsonNumbers())
        bodies.push_back({j, johnsonSolid(j)});
    return bodies;
}

} // namespace gen
