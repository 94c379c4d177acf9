// The dual construction: dual vertices, boundary order, pole rescaling and the quasi-dual cuts, and
// which bodies the build's recipes give which of them.
#include "section_category.h"
#include "bodies/dispatch.h"
#include "bodies/vertexcodes.h"
#include "catalogue-gen/geom.h"
#include "catalogue-gen/uniform.h"
#include "geometry/dual.h"
#include "geometry/geometryerror.h"
#include "modelchecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

using namespace kesmora;

namespace {

SolidModel solid(const std::vector<Point3D>& vertices, const std::vector<std::string>& faces) {
    SolidModel m;
    for (const Point3D& p : vertices)
        m.solid.vertices.push_back(p);
    for (const std::string& face : faces) {
        m.solid.faces.push_back(verticesOfCodes(face));
        m.solid.faceRecords.push_back({});
    }
    return m;
}

SolidModel octahedron() {
    return solid(
        {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}, {0, 0, -1.4142135624}, {0, 0, 1.4142135624}},
        {"041", "150", "243", "352", "035", "034", "251", "124"});
}

SolidModel cube() {
    return solid(
        {{-1, 1, -1}, {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, -1, 1}, {-1, -1, 1}},
        {"0123", "4765", "0451", "1562", "2673", "3740"});
}

SolidModel tetrahedron() {
    return solid({{0, 0, 1.732051},
                  {1.632993, 0, -0.5773503},
                  {-0.8164966, 1.414214, -0.5773503},
                  {-0.8164966, -1.414214, -0.5773503}},
                 {"012", "013", "123", "023"});
}

// A pentagonal bipyramid over an irregular equator: both apexes get dual pentagons with a strictly
// shortest diagonal, the equator vertices dual quadrilaterals.
SolidModel irregularBipyramid() {
    std::vector<Point3D> v{{0, 0, -1}, {0, 0, 1}};
    const double angles[5] = {0, 1.0, 2.5, 3.6, 5.0};
    for (double a : angles)
        v.push_back({std::cos(a), std::sin(a), 0});
    std::vector<std::string> f;
    for (int i = 0; i < 5; ++i)
        f.push_back({'0', static_cast<char>('2' + i), static_cast<char>('2' + (i + 1) % 5)});
    for (int i = 0; i < 5; ++i)
        f.push_back({'1', static_cast<char>('2' + (i + 1) % 5), static_cast<char>('2' + i)});
    return solid(v, f);
}

double length(const Point3D& p) {
    return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
}

} // namespace

TEST(Dual, TetrahedronFacesInAscendingOrder) {
    SolidModel m = tetrahedron();
    dualbilden(m, DualRecipe{});
    EXPECT_EQ(m.dual.vertices.size(), 4);
    EXPECT_EQ(m.dual.faces.size(), 4);
    EXPECT_EQ(codesOfVertices(m.dual.faces[0]), "013"); // vertex 0 lies on faces 0, 1 and 3
    EXPECT_EQ(codesOfVertices(m.dual.faces[1]), "012");
    EXPECT_EQ(codesOfVertices(m.dual.faces[2]), "023");
    EXPECT_EQ(codesOfVertices(m.dual.faces[3]), "123");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(m.dual.faceRecords[i].colour, i + 1);
    // Dual vertex 0 is the centroid of face 0.
    EXPECT_NEAR(m.dual.vertices[0].x, (0 + 1.632993 - 0.8164966) / 3, 1e-12);
    EXPECT_EQ(m.solid.vertices.size(), 4);
}

TEST(Dual, OctahedronGivesACubeWithBoundaryOrderedFaces) {
    SolidModel m = octahedron();
    dualbilden(m, DualRecipe{});
    EXPECT_EQ(m.dual.vertices.size(), 8);
    EXPECT_EQ(m.dual.faces.size(), 6);
    for (int v = 0; v < 6; ++v)
        EXPECT_EQ(m.dual.faces[v].size(), 4);
    EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(m), -1);
}

TEST(Dual, CubeGivesEightTriangles) {
    SolidModel m = cube();
    dualbilden(m, DualRecipe{});
    EXPECT_EQ(m.dual.faces.size(), 8);
    for (int v = 0; v < 8; ++v)
        EXPECT_EQ(m.dual.faces[v].size(), 3);
}

TEST(Dual, PoleRescalingOnlyWhereAsked) {
    // Cube face centroids lie at distance w = 1 and r^2 = 2, so the pole is at (1 + 2) / 1 = 3.
    struct Case {
        int category, index;
        const char* name;
        double distance;
    };
    const Case cases[] = {{2, 0, "Kuboktaeder", 3},
                          {2, 12, "Dodekaederstumpf", 3},
                          {2, 13, "Pyramidentetraeder", 1},
                          {2, 17, "Rhombendodekaeder", 1},
                          {0, 14, "f\xFCnfseitiges Antiprisma", 3},
                          {0, 1, "Hexaeder, W\xFCrfel", 1},
                          {3, 1, "Johnson Polyeder 54", 1}};
    for (const Case& c : cases) {
        SolidModel m = cube();
        dualbilden(m, dualRecipeFor(sectionCategory(c.category), c.index, c.name));
        for (int f = 0; f < 6; ++f)
            EXPECT_NEAR(length(m.dual.vertices[f]), c.distance, 1e-12) << c.name;
    }
}

TEST(Dual, BoundaryOrderByNearestNeighbourChain) {
    // An icosahedron-like vertex: five faces around the apex of a pentagonal pyramid.
    SolidModel m = irregularBipyramid();
    dualbilden(m, DualRecipe{});
    EXPECT_EQ(m.dual.faces[0].size(), 5);
    EXPECT_EQ(m.dual.faces[0][0], 0); // the chain starts at the lowest face index
    EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(m), -1);
    EXPECT_EQ(m.dual.faces.size(), 7);
}

TEST(Dual, EqualDiagonalsAreCutAlongTheSecondToFourth) {
    SolidModel m = octahedron();
    dualbilden(m, dualRecipeFor(Category::Johnson, 1, "Johnson Polyeder 54"));
    EXPECT_EQ(m.dual.faces.size(), 12);
    SolidModel uncut = octahedron();
    dualbilden(uncut, DualRecipe{});
    for (int v = 0; v < 6; ++v) {
        const std::string q = codesOfVertices(uncut.dual.faces[v]);
        EXPECT_EQ(codesOfVertices(m.dual.faces[v]), (std::string{q[0], q[1], q[3]}));
        EXPECT_EQ(codesOfVertices(m.dual.faces[6 + v]), (std::string{q[1], q[2], q[3]}));
    }
    // Colour numbers count the added faces after the original ones.
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(m.dual.faceRecords[i].colour, i % 23 + 1);
    EXPECT_EQ(m.solid.vertices.size(), 6);
}

TEST(Dual, QuadrilateralExemptionsAndTheExtendedTrapezohedron) {
    for (int exempt : {4, 14, 33, 45, 82, 85}) {
        SolidModel m = octahedron();
        dualbilden(m, dualRecipeFor(Category::Johnson, exempt, "x"));
        EXPECT_EQ(m.dual.faces.size(), 6) << exempt;
    }
    SolidModel m = octahedron();
    dualbilden(m, dualRecipeFor(Category::Polyeder, 44, "erweitertes Trapezoeder"));
    EXPECT_EQ(m.dual.faces.size(), 12);
    m = octahedron();
    dualbilden(m, dualRecipeFor(Category::Polyeder, 43, "zehnseitiges Antiprisma"));
    EXPECT_EQ(m.dual.faces.size(), 6);
}

TEST(Dual, PentagonsCutAlongTheirStrictlyShortestDiagonal) {
    SolidModel uncut = irregularBipyramid();
    dualbilden(uncut, DualRecipe{});

    // In the pentagon set and not exempt: pentagons into triangle + quadrilateral, then every
    // quadrilateral (those from the pentagons too) into two triangles.
    SolidModel m = irregularBipyramid();
    dualbilden(m, dualRecipeFor(Category::Johnson, 56, "Johnson Polyeder 23"));
    EXPECT_EQ(m.dual.faces.size(), 7 + 2 + 5 + 2);
    for (int f = 0; f < m.dual.faces.size(); ++f)
        EXPECT_EQ(m.dual.faces[f].size(), 3);

    // In both sets: the quadrilaterals stay.
    SolidModel k = irregularBipyramid();
    dualbilden(k, dualRecipeFor(Category::Johnson, 10, "Johnson Polyeder 84"));
    EXPECT_EQ(k.dual.faces.size(), 9);
    for (int apex = 0; apex < 2; ++apex) {
        const std::string p = codesOfVertices(uncut.dual.faces[apex]);
        const std::string tri = codesOfVertices(k.dual.faces[apex]);
        ASSERT_EQ(tri.size(), 3u);
        // The kept triangle is three consecutive corners; its closing side is the shortest diagonal.
        const int a = vertexOfCode(tri.front()), c = vertexOfCode(tri.back());
        const double cut = abstand2(k, a, c);
        for (int i = 0; i < 5; ++i) {
            const int x = vertexOfCode(p[i]), y = vertexOfCode(p[(i + 2) % 5]);
            if ((x == a && y == c) || (x == c && y == a)) continue;
            EXPECT_LT(cut, abstand2(k, x, y));
        }
        EXPECT_EQ(k.dual.faces[7 + apex].size(), 4);
    }
}

TEST(Dual, AbstandUsesDualVertices) {
    SolidModel m = cube();
    dualbilden(m, DualRecipe{});
    EXPECT_DOUBLE_EQ(abstand2(m, 0, 1), 4.0); // centroids (0,0,-1) and (0,0,1)
    EXPECT_DOUBLE_EQ(abstand2(m, 0, 2), 2.0); // centroids (0,0,-1) and (0,1,0)
    EXPECT_THROW(abstand2(m, 0, 6), GeometryError);
}

TEST(Dual, RejectsWhatDoesNotFitTheTables) {
    SolidModel m = cube();
    m.solid.faces.replace(0, verticesOfCodes("01x")); // 'x' names vertex 72, which is not loaded
    EXPECT_THROW(dualbilden(m, DualRecipe{}), GeometryError);
    SolidModel big;
    big.solid.vertices.resize(230); // more dual faces than the catalogue dual may have
    EXPECT_THROW(dualbilden(big, DualRecipe{}), GeometryError);
}

namespace {

// A pyramid over a long flat hexagon: the apex's faces have their centroids near the midpoints of
// the base edges, and the distance chain from face 0 runs 0 5 4 and then jumps across the narrow
// waist to 1, so that the apex's dual face would cross itself.
SolidModel flatHexagonPyramid() {
    return solid({{0, 0, 2}, {-10, 0, 0}, {-1, 1, 0}, {1, 1, 0}, {10, 0, 0}, {1, -1, 0}, {-1, -1, 0}},
                 {"012", "023", "034", "045", "056", "061", "165432"});
}

// Two square pyramids apex to apex: the faces around the shared apex form two rings of four, and
// the boundary of a single dual face does not exist there.
SolidModel hourglass() {
    return solid({{0, 0, 0},
                  {1, 1, 1},
                  {-1, 1, 1},
                  {-1, -1, 1},
                  {1, -1, 1},
                  {2, 0, -1},
                  {0, 2, -1},
                  {-2, 0, -1},
                  {0, -2, -1}},
                 {"012", "023", "034", "041", "056", "067", "078", "085", "1432", "5678"});
}

} // namespace

TEST(DualBoundary, ACrossingChainIsWalkedAroundTheVertex) {
    SolidModel m = flatHexagonPyramid();
    dualbilden(m, DualRecipe{});
    // From face 0 the nearer neighbour is face 5 (across the short base edge), then round the ring.
    EXPECT_EQ(codesOfVertices(m.dual.faces[0]), "054321");
    EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(m), -1);
    // The base corners lie on three faces each and keep their ascending order.
    EXPECT_EQ(codesOfVertices(m.dual.faces[1]), "056");
    EXPECT_EQ(codesOfVertices(m.dual.faces[4]), "236");
}

TEST(DualBoundary, OnATieTheWalkGoesOnToTheLowerFaceIndex) {
    // A hexagon symmetric about the x axis with face 0 on that axis: faces 1 and 5 are exactly
    // equally near face 0. The chain takes face 1, then jumps over the waist to face 5.
    SolidModel m =
        solid({{0, 0, 2}, {-10, -1, 0}, {-10, 1, 0}, {0, 1.5, 0}, {10, 1, 0}, {10, -1, 0}, {0, -1.5, 0}},
              {"012", "023", "034", "045", "056", "061", "165432"});
    dualbilden(m, DualRecipe{});
    EXPECT_EQ(codesOfVertices(m.dual.faces[0]), "012345");
}

TEST(DualBoundary, APinchedVertexKeepsItsChain) {
    SolidModel m = hourglass();
    dualbilden(m, DualRecipe{});
    // The distance chain: round the upper ring, then over to the lower one at its nearest face.
    EXPECT_EQ(codesOfVertices(m.dual.faces[0]), "01234567");
    EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(m), 0);
}

TEST(DualBoundary, TheSnubDodecahedronWithItsPoles) {
    // Its dual vertices at the poles of the face planes lie so unevenly around some vertices that
    // the distance chain crosses there.
    const gen::Polyhedron p = gen::convexHull(gen::snubDodecahedronPoints());
    std::vector<std::string> faces;
    for (const auto& f : p.faces) {
        std::string line;
        for (int v : f)
            line.push_back(codeOfVertex(v));
        faces.push_back(line);
    }
    SolidModel m = solid(p.vertices, faces);
    DualRecipe poles;
    poles.poleRescaling = true;
    dualbilden(m, poles);
    ASSERT_EQ(m.dual.faces.size(), 60);
    EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(m), -1);
    for (int v = 0; v < 60; ++v)
        EXPECT_EQ(m.dual.faces[v].size(), 5);
}
