// The catalogue's category-0 and category-2 bodies (the simpler solids' constructions stand in
// simplebodies.cpp), the verbatim blocks the catalogue description quotes, and the collection of
// all bodies with their block ids.
#include "bodies.h"

#include "bodies/build.h"
#include "catalogue/tables.h"

#include "hidden.h"
#include "johnson.h"
#include "layout.h"
#include "simplebodies.h"
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
    const auto d = kesmora::dispatchFor(offeredCategory(category), index);
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
