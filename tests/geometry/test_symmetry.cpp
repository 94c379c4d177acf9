// The symmetry group of every catalogue body, found from its geometry, against a table; the same
// group for a body turned and moved arbitrarily; chirality; and the time the search takes.
#include "bodies/build.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"
#include "export/mesh.h"
#include "geometry/point3d.h"
#include "geometry/symmetry.h"

#include "every_body.h"
#include "section_category.h"
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <map>
#include <set>
#include <algorithm>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

using kesmora::testing::build;
using kesmora::testing::everything;

struct Expected {
    int category;
    const char* name;
    const char* group;
    int order;
};

// The groups of the Platonic, Archimedean and Catalan solids as every table of them gives them
// (the snub solids and their duals without mirrors: O and I). The Johnson solids' groups follow
// Johnson's list as published (for instance in the English Wikipedia's list of Johnson solids);
// the 36 with a dihedral group agree with G. W. Hart's count of the Johnson solids with the axes
// of a prism (georgehart.com, virtual-polyhedra/ex-j2.html). The other bodies: by their
// construction (prisms Dnh, antiprisms and trapezohedra Dnd, pyramids Cnv), and the generated
// ones as their generator places their corners (the pentagonal frustum's two pentagons are not on
// one axis: only its mirror is left).
const Expected kGroups[] = {
    {0, "achtseitige Pyramide", "C8v", 16},
    {0, "achtseitiges Antiprisma", "D8d", 32},
    {0, "achtseitiges Prisma", "D8h", 32},
    {0, "Assoziaeder", "C2", 2},
    {0, "Campanus-Sphäre", "D12h", 48},
    {0, "Doppelantiprisma", "D5h", 20},
    {0, "dreiseit.regelm. Prisma", "D3h", 12},
    {0, "dreiseitige Pyramide", "C3v", 6},
    {0, "dreiseitiger Stumpf", "C3v", 6},
    {0, "dreiseitiges Prisma", "C2v", 4},
    {0, "Dürer-Polyeder", "D3d", 12},
    {0, "elfseitiges Antiprisma", "D11d", 44},
    {0, "elfseitiges Prisma", "D11h", 44},
    {0, "erweitertes Rhombendodekaeder", "D4h", 16},
    {0, "erweitertes Trapezoeder", "C3v", 6},
    {0, "fünf Würfel", "Ih", 120},
    {0, "fünfseitige Doppelpyramide", "D5h", 20},
    {0, "fünfseitige Pyramide", "C5v", 10},
    {0, "fünfseitiger Stumpf", "Cs", 2},
    {0, "fünfseitiges Antiprisma", "D5d", 20},
    {0, "fünfseitiges Prisma", "D5h", 20},
    {0, "fünfseitiges Trapezoeder", "D5d", 20},
    {0, "hamiltonfreies Polyeder", "D3h", 12},
    {0, "Hexaeder, Würfel", "Oh", 48},
    {0, "Hohlquader", "D4h", 16},
    {0, "Ikosaeder", "Ih", 120},
    {0, "Ikosioktaeder", "Td", 24},
    {0, "Kepler-Stern", "Ih", 120},
    {0, "Mengerwürfel", "Oh", 48},
    {0, "neunseitiges Antiprisma", "D9d", 36},
    {0, "neunseitiges Prisma", "D9h", 36},
    {0, "Oktaeder", "Oh", 48},
    {0, "Pentagondodekaeder", "Ih", 120},
    {0, "Pentagramm-Prisma", "D5h", 20},
    {0, "Prisma und Pyramide", "C4v", 8},
    {0, "Quader", "D2h", 8},
    {0, "quadratische Pyramide", "C4v", 8},
    {0, "quadratischer Stumpf", "C4v", 8},
    {0, "quadratisches Antiprisma", "D4d", 16},
    {0, "quadratisches Prisma", "D4h", 16},
    {0, "quadratisches Trapezoeder", "D4d", 16},
    {0, "rechteckiger Stumpf", "C2v", 4},
    {0, "Rhombenhexaeder", "D3d", 12},
    {0, "Rhombenikosaeder", "D5d", 20},
    {0, "sechs Würfel", "Oh", 48},
    {0, "sechsseitige Doppelpyramide", "D6h", 24},
    {0, "sechsseitige Pyramide", "C6v", 12},
    {0, "sechsseitiges Antiprisma", "D6d", 24},
    {0, "sechsseitiges Prisma", "D6h", 24},
    {0, "sechsseitiges Trapezoeder", "D6d", 24},
    {0, "siebenseitiges Antiprisma", "D7d", 28},
    {0, "siebenseitiges Prisma", "D7h", 28},
    {0, "siebenseitiges Trapezoeder", "D7d", 28},
    {0, "Sierpinskitetraeder", "Td", 24},
    {0, "Symmetrie-C1-Polyeder", "C1", 1},
    {0, "Symmetrie-Ci-Polyeder", "Ci", 2},
    {0, "Tetraeder", "Td", 24},
    {0, "Tetraederstern", "Oh", 48},
    {0, "Tetrahemihexaeder", "Td", 24},
    {0, "vier Würfel", "Oh", 48},
    {0, "zehnseitiges Antiprisma", "D10d", 40},
    {0, "zehnseitiges Fass", "D10h", 40},
    {0, "zehnseitiges Fass + 2 Kuppeln", "D5h", 20},
    {0, "zehnseitiges Fass + Kuppel", "C5v", 10},
    {0, "zehnseitiges Prisma", "D10h", 40},
    {0, "zehnseitiges Trapezoeder", "D10d", 40},
    {0, "zwölfseitiges Antiprisma", "D12d", 48},
    {0, "zwölfseitiges Prisma", "D12h", 48},
    {2, "Cubus simus (abgeschr.Hexaeder)", "O", 24},
    {2, "Deltoid-24-Flächner", "Oh", 48},
    {2, "Deltoid-60-Flächner", "Ih", 120},
    {2, "Disdyakisdodecaeder", "Oh", 48},
    {2, "Disdyakistriacontaeder", "Ih", 120},
    {2, "Dodecaedron simum (abgeschr.Dodekaeder)", "I", 60},
    {2, "Dodekaederstumpf", "Ih", 120},
    {2, "Hexaederstumpf", "Oh", 48},
    {2, "Ikosaederstumpf", "Ih", 120},
    {2, "Ikosidodekaeder", "Ih", 120},
    {2, "Ikosidodekaederstumpf", "Ih", 120},
    {2, "Kuboktaeder", "Oh", 48},
    {2, "Kuboktaederstumpf", "Oh", 48},
    {2, "Oktaederstumpf", "Oh", 48},
    {2, "Pentagon-24-Flächner", "O", 24},
    {2, "Pentagon-60-Flächner", "I", 60},
    {2, "Pyramidendodekaeder", "Ih", 120},
    {2, "Pyramidenikosaeder", "Ih", 120},
    {2, "Pyramidenoktaeder", "Oh", 48},
    {2, "Pyramidentetraeder", "Td", 24},
    {2, "Pyramidenwürfel", "Oh", 48},
    {2, "Rhomben-30-Flächner", "Ih", 120},
    {2, "Rhombendodekaeder", "Oh", 48},
    {2, "Rhombenikosidodekaeder", "Ih", 120},
    {2, "Rhombenkuboktaeder", "Oh", 48},
    {2, "Tetraederstumpf", "Td", 24},
    {3, "Johnson Polyeder 01", "C4v", 8},
    {3, "Johnson Polyeder 02", "C5v", 10},
    {3, "Johnson Polyeder 03", "C3v", 6},
    {3, "Johnson Polyeder 04", "C4v", 8},
    {3, "Johnson Polyeder 05", "C5v", 10},
    {3, "Johnson Polyeder 06", "C5v", 10},
    {3, "Johnson Polyeder 07", "C3v", 6},
    {3, "Johnson Polyeder 08", "C4v", 8},
    {3, "Johnson Polyeder 09", "C5v", 10},
    {3, "Johnson Polyeder 10", "C4v", 8},
    {3, "Johnson Polyeder 11", "C5v", 10},
    {3, "Johnson Polyeder 12", "D3h", 12},
    {3, "Johnson Polyeder 13", "D5h", 20},
    {3, "Johnson Polyeder 14", "D3h", 12},
    {3, "Johnson Polyeder 15", "D4h", 16},
    {3, "Johnson Polyeder 16", "D5h", 20},
    {3, "Johnson Polyeder 17", "D4d", 16},
    {3, "Johnson Polyeder 18", "C3v", 6},
    {3, "Johnson Polyeder 19", "C4v", 8},
    {3, "Johnson Polyeder 20", "C5v", 10},
    {3, "Johnson Polyeder 21", "C5v", 10},
    {3, "Johnson Polyeder 22", "C3v", 6},
    {3, "Johnson Polyeder 23", "C4v", 8},
    {3, "Johnson Polyeder 24", "C5v", 10},
    {3, "Johnson Polyeder 25", "C5v", 10},
    {3, "Johnson Polyeder 26", "D2d", 8},
    {3, "Johnson Polyeder 27", "D3h", 12},
    {3, "Johnson Polyeder 28", "D4h", 16},
    {3, "Johnson Polyeder 29", "D4d", 16},
    {3, "Johnson Polyeder 30", "D5h", 20},
    {3, "Johnson Polyeder 31", "D5d", 20},
    {3, "Johnson Polyeder 32", "C5v", 10},
    {3, "Johnson Polyeder 33", "C5v", 10},
    {3, "Johnson Polyeder 34", "D5h", 20},
    {3, "Johnson Polyeder 35", "D3h", 12},
    {3, "Johnson Polyeder 36", "D3d", 12},
    {3, "Johnson Polyeder 37", "D4d", 16},
    {3, "Johnson Polyeder 38", "D5h", 20},
    {3, "Johnson Polyeder 39", "D5d", 20},
    {3, "Johnson Polyeder 40", "C5v", 10},
    {3, "Johnson Polyeder 41", "C5v", 10},
    {3, "Johnson Polyeder 42", "D5h", 20},
    {3, "Johnson Polyeder 43", "D5d", 20},
    {3, "Johnson Polyeder 44", "D3", 6},
    {3, "Johnson Polyeder 45", "D4", 8},
    {3, "Johnson Polyeder 46", "D5", 10},
    {3, "Johnson Polyeder 47", "C5", 5},
    {3, "Johnson Polyeder 48", "D5", 10},
    {3, "Johnson Polyeder 49", "C2v", 4},
    {3, "Johnson Polyeder 50", "C2v", 4},
    {3, "Johnson Polyeder 51", "D3h", 12},
    {3, "Johnson Polyeder 52", "C2v", 4},
    {3, "Johnson Polyeder 53", "C2v", 4},
    {3, "Johnson Polyeder 54", "C2v", 4},
    {3, "Johnson Polyeder 55", "D2h", 8},
    {3, "Johnson Polyeder 56", "C2v", 4},
    {3, "Johnson Polyeder 57", "D3h", 12},
    {3, "Johnson Polyeder 58", "C5v", 10},
    {3, "Johnson Polyeder 59", "D5d", 20},
    {3, "Johnson Polyeder 60", "C2v", 4},
    {3, "Johnson Polyeder 61", "C3v", 6},
    {3, "Johnson Polyeder 62", "C2v", 4},
    {3, "Johnson Polyeder 63", "C3v", 6},
    {3, "Johnson Polyeder 64", "C3v", 6},
    {3, "Johnson Polyeder 65", "C3v", 6},
    {3, "Johnson Polyeder 66", "C4v", 8},
    {3, "Johnson Polyeder 67", "D4h", 16},
    {3, "Johnson Polyeder 68", "C5v", 10},
    {3, "Johnson Polyeder 69", "D5d", 20},
    {3, "Johnson Polyeder 70", "C2v", 4},
    {3, "Johnson Polyeder 71", "C3v", 6},
    {3, "Johnson Polyeder 72", "C5v", 10},
    {3, "Johnson Polyeder 73", "D5d", 20},
    {3, "Johnson Polyeder 74", "C2v", 4},
    {3, "Johnson Polyeder 75", "C3v", 6},
    {3, "Johnson Polyeder 76", "C5v", 10},
    {3, "Johnson Polyeder 77", "C5v", 10},
    {3, "Johnson Polyeder 78", "Cs", 2},
    {3, "Johnson Polyeder 79", "Cs", 2},
    {3, "Johnson Polyeder 80", "D5d", 20},
    {3, "Johnson Polyeder 81", "C2v", 4},
    {3, "Johnson Polyeder 82", "Cs", 2},
    {3, "Johnson Polyeder 83", "C3v", 6},
    {3, "Johnson Polyeder 84", "D2d", 8},
    {3, "Johnson Polyeder 85", "D4d", 16},
    {3, "Johnson Polyeder 86", "C2v", 4},
    {3, "Johnson Polyeder 87", "Cs", 2},
    {3, "Johnson Polyeder 88", "C2v", 4},
    {3, "Johnson Polyeder 89", "C2v", 4},
    {3, "Johnson Polyeder 90", "D2d", 8},
    {3, "Johnson Polyeder 91", "D2h", 8},
    {3, "Johnson Polyeder 92", "C3v", 6},
};

std::set<std::pair<int, std::string>> allBodies() {
    std::set<std::pair<int, std::string>> out;
    for (int category : {0, 2, 3})
        for (const std::string& name : fillBodyList(everything(), sectionCategory(category)))
            out.insert({category, latin1ToUtf8(name)});
    return out;
}

PolyMesh turned(PolyMesh mesh, double a, double b, double c, const Point3D& shift) {
    for (Point3D& p : mesh.vertices) {
        p = turnedAbout(p, Point3D{0, 0, 1}, a);
        p = turnedAbout(p, unit(Point3D{1, 2, 0.5}), b);
        p = turnedAbout(p, Point3D{1, 0, 0}, c);
        p = p + shift;
    }
    return mesh;
}

// Corners of a pyritohedron: the cube's and three rectangles' (h between 0 and 1).
std::vector<Point3D> pyritohedronCorners(double h) {
    std::vector<Point3D> v;
    for (int i = 0; i < 8; ++i)
        v.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    for (double a : {-1.0, 1.0})
        for (double b : {-1.0, 1.0}) {
            v.push_back({0, a * (1 + h), b * (1 - h * h)});
            v.push_back({a * (1 + h), b * (1 - h * h), 0});
            v.push_back({b * (1 - h * h), 0, a * (1 + h)});
        }
    return v;
}

// The faces of the convex hull of points in general enough position: every plane through three
// points with all points on one side, its points in order around their centre.
PolyMesh convexHull(const std::vector<Point3D>& points) {
    PolyMesh m;
    m.vertices = points;
    std::set<std::vector<int>> seen;
    const int n = static_cast<int>(points.size());
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            for (int k = j + 1; k < n; ++k) {
                const Point3D normal = cross(points[j] - points[i], points[k] - points[i]);
                if (norm(normal) < 1e-9) continue;
                int above = 0, below = 0;
                std::vector<int> on;
                for (int p = 0; p < n; ++p) {
                    const double d = dot(points[p] - points[i], normal);
                    if (d > 1e-9) ++above;
                    else if (d < -1e-9) ++below;
                    else on.push_back(p);
                }
                if ((above > 0 && below > 0) || !seen.insert(on).second) continue;
                Point3D c;
                for (int p : on)
                    c = c + points[p];
                c = c / static_cast<double>(on.size());
                const Point3D u = unit(points[on[0]] - c), w = cross(unit(normal), u);
                std::sort(on.begin(), on.end(), [&](int a, int b) {
                    return std::atan2(dot(points[a] - c, w), dot(points[a] - c, u)) <
                           std::atan2(dot(points[b] - c, w), dot(points[b] - c, u));
                });
                m.faces.push_back(on);
            }
    return m;
}

} // namespace

// Every body of the catalogue, listed or hidden, has the group of the table; its chirality is
// that of the group (no mirror, inversion or rotoreflection: the groups Cn, Dn, T, O, I).
TEST(Symmetry, EveryCatalogueBody) {
    const auto bodies = allBodies();
    ASSERT_EQ(bodies.size(), 186u);
    ASSERT_EQ(std::size(kGroups), 186u);
    std::set<std::pair<int, std::string>> checked;
    for (const Expected& e : kGroups) {
        SCOPED_TRACE(std::to_string(e.category) + " " + e.name);
        ASSERT_TRUE(bodies.count({e.category, e.name}));
        checked.insert({e.category, e.name});
        const SymmetryGroup g = symmetryGroup(solidMesh(build(e.category, e.name)));
        EXPECT_TRUE(g.found);
        EXPECT_EQ(g.name, e.group);
        EXPECT_EQ(g.order, e.order);
        EXPECT_EQ(static_cast<int>(g.elements.size()), g.order);
        const std::string name = e.group;
        const bool rotationsOnly = name == "T" || name == "O" || name == "I" ||
                                   (name.size() >= 2 && (name[0] == 'C' || name[0] == 'D') &&
                                    std::isdigit(static_cast<unsigned char>(name.back())));
        EXPECT_EQ(g.chiral, rotationsOnly);
    }
    EXPECT_EQ(checked.size(), 186u);
}

// Chiral: the two snub solids, their duals, and J44 to J48 with their quasi-duals; besides them
// only two bodies whose groups have turns alone (the associahedron as stored, C2, and the body
// without symmetry).
TEST(Symmetry, ChiralBodiesAndTheirDuals) {
    const std::set<std::string> chiral = {"Cubus simus (abgeschr.Hexaeder)", "Dodecaedron simum (abgeschr.Dodekaeder)",
                                          "Pentagon-24-Flächner", "Pentagon-60-Flächner", "Johnson Polyeder 44",
                                          "Johnson Polyeder 45", "Johnson Polyeder 46", "Johnson Polyeder 47",
                                          "Johnson Polyeder 48", "Assoziaeder", "Symmetrie-C1-Polyeder"};
    for (const auto& [category, name] : allBodies()) {
        SCOPED_TRACE(name);
        const SolidModel m = build(category, name);
        EXPECT_EQ(symmetryGroup(solidMesh(m)).chiral, chiral.count(name) > 0);
        if (category == 2 || (category == 3 && chiral.count(name))) {
            EXPECT_EQ(symmetryGroup(dualMesh(m)).chiral, chiral.count(name) > 0);
        }
    }
}

// The Platonic and Archimedean solids' duals as built have the solids' groups; a body turned by
// an arbitrary rotation and moved keeps its group, with the mirror image's too.
TEST(Symmetry, DualsAndTurnedBodies) {
    for (const auto& [category, name] : allBodies()) {
        if (category == 3 && name != "Johnson Polyeder 47" && name != "Johnson Polyeder 01" &&
            name != "Johnson Polyeder 91" && name != "Johnson Polyeder 84")
            continue;
        SCOPED_TRACE(name);
        const SolidModel m = build(category, name);
        const PolyMesh mesh = solidMesh(m);
        const SymmetryGroup g = symmetryGroup(mesh);
        if (category == 2 || name == "Tetraeder" || name == "Oktaeder" || name == "Ikosaeder" ||
            name == "Pentagondodekaeder" || name == "Hexaeder, Würfel") {
            const SymmetryGroup d = symmetryGroup(dualMesh(m));
            EXPECT_EQ(d.name, g.name);
        }
        const SymmetryGroup t = symmetryGroup(turned(mesh, 0.3, 1.234, -2.2, Point3D{17, -40, 3.5}));
        EXPECT_EQ(t.name, g.name);
        EXPECT_EQ(t.order, g.order);
        PolyMesh mirrored = mesh;
        for (Point3D& p : mirrored.vertices)
            p.x = -p.x;
        const SymmetryGroup r = symmetryGroup(turned(mirrored, -1.1, 0.77, 2.9, Point3D{0, 5, -9}));
        EXPECT_EQ(r.name, g.name);
    }
}

// Groups of meshes built here: the elements decide, including the families the catalogue lacks
// (Cnh, S2n, Th) and a cube squashed along one axis or one whose faces are split to lower its
// symmetry.
TEST(Symmetry, GroupsOfMeshesBuiltHere) {
    PolyMesh cube;
    for (int i = 0; i < 8; ++i)
        cube.vertices.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    cube.faces = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    EXPECT_EQ(symmetryGroup(cube).name, "Oh");
    PolyMesh box = cube;
    for (Point3D& p : box.vertices)
        p.z *= 1.5;
    EXPECT_EQ(symmetryGroup(box).name, "D4h");
    for (Point3D& p : box.vertices)
        p.y *= 0.5;
    EXPECT_EQ(symmetryGroup(box).name, "D2h");
    // The pyritohedron: Th, order 24, with mirrors and the inversion but no fourfold axis.
    PolyMesh pyrite = convexHull(pyritohedronCorners(0.4));
    ASSERT_EQ(pyrite.faces.size(), 12u);
    const SymmetryGroup th = symmetryGroup(pyrite);
    EXPECT_EQ(th.name, "Th");
    EXPECT_EQ(th.order, 24);
    EXPECT_FALSE(th.chiral);
    // A square antiprism's top turned further than the bottom's 45 degrees: S2n needs the turn
    // to be half a step; a turn by a quarter step leaves D4.
    auto twisted = [](double turn, double topScale) {
        PolyMesh m;
        for (int k = 0; k < 4; ++k)
            m.vertices.push_back({std::cos(k * M_PI / 2), std::sin(k * M_PI / 2), -0.5});
        for (int k = 0; k < 4; ++k)
            m.vertices.push_back(
                {topScale * std::cos(k * M_PI / 2 + turn), topScale * std::sin(k * M_PI / 2 + turn), 0.5});
        m.faces = {{3, 2, 1, 0}, {4, 5, 6, 7}};
        for (int k = 0; k < 4; ++k) {
            m.faces.push_back({k, (k + 1) % 4, 4 + k});
            m.faces.push_back({(k + 1) % 4, 4 + (k + 1) % 4, 4 + k});
        }
        return m;
    };
    EXPECT_EQ(symmetryGroup(twisted(M_PI / 4, 1)).name, "D4d");
    EXPECT_EQ(symmetryGroup(twisted(M_PI / 8, 1)).name, "D4");
    EXPECT_EQ(symmetryGroup(twisted(M_PI / 8, 0.6)).name, "C4");
    // Untwisted, the triangles' diagonals all lean one way: only the turns are left. With the
    // sides as squares, the mirrors come back.
    EXPECT_EQ(symmetryGroup(twisted(0, 0.6)).name, "C4");
    EXPECT_EQ(symmetryGroup(twisted(0, 1)).name, "D4");
    PolyMesh frustum = twisted(0, 0.6);
    frustum.faces.resize(2);
    for (int k = 0; k < 4; ++k)
        frustum.faces.push_back({k, (k + 1) % 4, 4 + (k + 1) % 4, 4 + k});
    EXPECT_EQ(symmetryGroup(frustum).name, "C4v");
    // A flat square: one mesh face, its plane a mirror.
    PolyMesh square;
    square.vertices = {{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}};
    square.faces = {{0, 1, 2, 3}};
    EXPECT_EQ(symmetryGroup(square).name, "D4h");
    // Nothing to find: no vertices, or all on one line through the centre.
    EXPECT_FALSE(symmetryGroup(PolyMesh{}).found);
    PolyMesh line;
    line.vertices = {{0, 0, 1}, {0, 0, -1}, {0, 0, 2}};
    line.faces = {{0, 1, 2}};
    EXPECT_FALSE(symmetryGroup(line).found);
    EXPECT_EQ(symmetryGroup(line).name, "C1");
}

// The elements named by their kinds alone: S4, S6 (C3 with the inversion), C2h, Cs, Ci.
TEST(Symmetry, ClassifiedFromElements) {
    const Matrix3 e{1, 0, 0, 0, 1, 0, 0, 0, 1};
    const Matrix3 inversion{-1, 0, 0, 0, -1, 0, 0, 0, -1};
    const Matrix3 mirrorZ{1, 0, 0, 0, 1, 0, 0, 0, -1};
    const Matrix3 halfTurnZ{-1, 0, 0, 0, -1, 0, 0, 0, 1};
    const Matrix3 s4{0, -1, 0, 1, 0, 0, 0, 0, -1};  // quarter turn about z, then the mirror across z
    const Matrix3 s4b{0, 1, 0, -1, 0, 0, 0, 0, -1};
    EXPECT_EQ(classifySymmetry({e, s4, halfTurnZ, s4b}).name, "S4");
    EXPECT_EQ(classifySymmetry({e, halfTurnZ, mirrorZ, inversion}).name, "C2h");
    EXPECT_EQ(classifySymmetry({e, mirrorZ}).name, "Cs");
    EXPECT_EQ(classifySymmetry({e, inversion}).name, "Ci");
    EXPECT_EQ(classifySymmetry({e}).name, "C1");
    const double c = std::cos(2 * M_PI / 3), s = std::sin(2 * M_PI / 3);
    const Matrix3 r1{c, -s, 0, s, c, 0, 0, 0, 1}, r2{c, s, 0, -s, c, 0, 0, 0, 1};
    auto neg = [](Matrix3 m) {
        for (double& v : m)
            v = -v;
        return m;
    };
    const SymmetryGroup s6 = classifySymmetry({e, r1, r2, inversion, neg(r1), neg(r2)});
    EXPECT_EQ(s6.name, "S6");
    EXPECT_FALSE(s6.chiral);
}

// The search stays fast on the catalogue's largest bodies (120 vertices and their duals).
TEST(Symmetry, FastOnTheLargestBodies) {
    const SolidModel m = build(2, "Ikosidodekaederstumpf");
    const PolyMesh solid = solidMesh(m), dual = dualMesh(m);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(symmetryGroup(solid).order, 120);
    EXPECT_EQ(symmetryGroup(dual).order, 120);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(ms, 100.0) << "two searches on 120 and 62 vertices";
}
