// The build: dispatch, loading, generators, tilt and fit, and a failing build keeping nothing.
#include "section_category.h"
#include "bodies/build.h"
#include "catalogue/catalogueerror.h"
#include "geometry/geometryerror.h"
#include "geometry/placement.h"
#include "modelchecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace kesmora;

namespace {

const char* kCoords = "[1]\n4\n0 0 1.732051\n1.632993 0 -0.5773503\n-0.8164966 1.414214 -0.5773503\n"
                      "-0.8164966 -1.414214 -0.5773503\n"
                      "[3]\n6\n-1 -1 0\n1 -1 0\n1 1 0\n-1 1 0\n0 0 -1.4142135624\n0 0 1.4142135624\n"
                      "[4018]\n1\n0 0 0\n[#]\n";
const char* kFaces = "[1]\n4\n012\n013\n123\n023\n"
                     "[3]\n8\n041\n150\n243\n352\n035\n034\n251\n124\n"
                     "[205]\n6\n0123\n1265\n2376\n0374\n0154\n6745\n"
                     "[427]\n12\n016\n126\n236\n346\n456\n506\n017\n127\n237\n347\n457\n507\n[#]\n";

CatalogueTables quoted() {
    return tablesFromContents(kCoords, kFaces, "", "{0\n[\n[#]\n");
}

Selection sel(int category, int index, std::array<double, 4> params = {1, -2.5, 1.5, -2}) {
    Selection s;
    s.currentCategory = sectionCategory(category);
    s.bodyIndex = index;
    s.bodyParams = params;
    return s;
}

} // namespace

TEST(Dispatch, BlockIdsAtEveryBoundary) {
    struct Case {
        int category, index, id;
        bool generated;
    };
    const Case cases[] = {{0, 0, 1, false},     {0, 4, 5, false},    {0, 5, 205, true},   {0, 13, 414, true},
                          {0, 14, 415, false},  {0, 21, 422, true},  {0, 24, 425, true},  {0, 25, 426, false},
                          {0, 26, 427, true},   {0, 27, 428, false}, {0, 67, 468, false}, {2, 0, 4001, false},
                          {2, 25, 4026, false}, {3, 0, 18, false},   {3, 70, 88, false},  {3, 71, 189, false},
                          {3, 86, 204, false},  {3, 87, 305, false}, {3, 91, 309, false}};
    for (const Case& c : cases) {
        const auto d = dispatchFor(sectionCategory(c.category), c.index);
        ASSERT_TRUE(d) << c.category << ":" << c.index;
        EXPECT_EQ(d->blockId, c.id) << c.category << ":" << c.index;
        EXPECT_EQ(d->generated, c.generated) << c.category << ":" << c.index;
    }
    EXPECT_FALSE(dispatchFor(Category::Polyeder, 70));
    EXPECT_FALSE(dispatchFor(Category::Archimedean, 26));
    EXPECT_FALSE(dispatchFor(Category::Johnson, 111));
    EXPECT_FALSE(categoryOfSection(1));
    EXPECT_FALSE(dispatchFor(Category::Polyeder, -1));
}

TEST(Build, TetrahedronAfterTiltAndFit) {
    const SolidModel m = buildSolid(quoted(), sel(0, 0), "Tetraeder");
    EXPECT_EQ(m.solid.vertices.size(), 4);
    EXPECT_EQ(m.solid.faces.size(), 4);
    EXPECT_NEAR(m.solid.vertices[0].x, 0.0, 5e-4);
    EXPECT_NEAR(m.solid.vertices[0].y, 115.470, 5e-4);
    EXPECT_NEAR(m.solid.vertices[0].z, 200.000, 5e-4);
    EXPECT_NEAR(m.scale, 200 / 1.5000002, 1e-5);
    EXPECT_NEAR(kesmora::testing::largestCoordinate(m), 200.0, 1e-9);
    // Centroids keep the size they had when the faces were loaded (tilted, not scaled).
    EXPECT_LT(std::fabs(m.solid.faceRecords[0].centroid.z), 2.0);
    EXPECT_EQ(m.dual.vertices.size(), 4);
}

TEST(Build, OctahedronWithItsCube) {
    const SolidModel m = buildSolid(quoted(), sel(0, 2), "Oktaeder");
    EXPECT_EQ(m.dual.vertices.size(), 8);
    EXPECT_EQ(m.dual.faces.size(), 6);
    EXPECT_NEAR(kesmora::testing::largestCoordinate(m), 200.0, 1e-9);
}

TEST(Build, ColourNumbersOfAFaceBlock) {
    std::string faces = "[1]\n47\n";
    for (int i = 0; i < 47; ++i)
        faces += "012\n";
    faces += "[#]\n";
    const auto t = tablesFromContents(kCoords, faces, "", "");
    SolidModel m;
    punkteladen(m, t, 1);
    flaechenladen(m, t, 1);
    EXPECT_EQ(m.solid.faceRecords[0].colour, 1);
    EXPECT_EQ(m.solid.faceRecords[22].colour, 23);
    EXPECT_EQ(m.solid.faceRecords[23].colour, 1);
    EXPECT_EQ(m.solid.faceRecords[46].colour, 1);
}

TEST(Generators, SampleValues) {
    SolidModel m;
    erzeugen(m, 5, {2, 1, 4, -2}); // Quader: M = 4
    EXPECT_EQ(m.solid.vertices.size(), 8);
    EXPECT_DOUBLE_EQ(m.solid.vertices[0].x, -0.5);
    EXPECT_DOUBLE_EQ(m.solid.vertices[0].y, 0.25);
    EXPECT_DOUBLE_EQ(m.solid.vertices[0].z, -1);
    EXPECT_DOUBLE_EQ(m.solid.vertices[6].x, 0.5);
    EXPECT_DOUBLE_EQ(m.solid.vertices[6].y, -0.25);
    EXPECT_DOUBLE_EQ(m.solid.vertices[6].z, 1);

    erzeugen(m, 23, {1, 1, 0.5, -2}); // fünfseitiger Stumpf: Pent(1) at y = 0.5
    const double pent[5][2] = {{-0.7694208843, 0},
                               {-0.1816356320, 0.8090169944},
                               {0.7694208843, 0.5},
                               {0.7694208843, -0.5},
                               {-0.1816356320, -0.8090169944}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(m.solid.vertices[i].x, pent[i][0], 1e-10);
        EXPECT_NEAR(m.solid.vertices[i].z, pent[i][1], 1e-10);
        EXPECT_DOUBLE_EQ(m.solid.vertices[i].y, 0.5);
        const Point3D& a = m.solid.vertices[i];
        const Point3D& b = m.solid.vertices[(i + 1) % 5];
        EXPECT_NEAR(std::hypot(a.x - b.x, a.z - b.z), 1.0, 1e-10);
        const Point3D& c = m.solid.vertices[5 + i];
        const Point3D& d = m.solid.vertices[5 + (i + 1) % 5];
        EXPECT_NEAR(std::hypot(c.x - d.x, c.z - d.z), 0.5, 1e-10);
        EXPECT_DOUBLE_EQ(c.y, -0.5);
    }

    erzeugen(m, 24, {1, 1, 0.5, -2}); // Hex(1): consecutive points 1 apart
    for (int i = 0; i < 6; ++i) {
        const Point3D& a = m.solid.vertices[i];
        const Point3D& b = m.solid.vertices[(i + 1) % 6];
        EXPECT_NEAR(std::hypot(a.x - b.x, a.y - b.y), 1.0, 1e-12);
    }

    erzeugen(m, 26, {1, 2, 0.5, -2}); // double pyramid: M = 2, apexes at z = ±1, hexagon of side 1
    EXPECT_EQ(m.solid.vertices.size(), 8);
    EXPECT_DOUBLE_EQ(m.solid.vertices[6].z, 1);
    EXPECT_DOUBLE_EQ(m.solid.vertices[7].z, -1);
    EXPECT_DOUBLE_EQ(m.solid.vertices[3].x, 1);

    erzeugen(m, 13, {1, 1, 1.5, -2}); // pentagonal prism: M = 1.5, side 1, height 1
    EXPECT_NEAR(m.solid.vertices[0].y - m.solid.vertices[5].y, 1.0, 1e-12);
    erzeugen(m, 21, {1, 1.5, 1.5, -2});
    EXPECT_EQ(m.solid.vertices.size(), 6);
    erzeugen(m, 22, {1, 2, 1.5, -2});
    EXPECT_DOUBLE_EQ(m.solid.vertices[0].y, 1.0);
}

TEST(Generators, SizeChangesOnlyTheCentroidsNotTheFittedShape) {
    const auto t = quoted();
    const SolidModel a = buildSolid(t, sel(0, 26, {1, 2, 0.5, -2}), "sechsseitige Doppelpyramide");
    const SolidModel b = buildSolid(t, sel(0, 26, {1, 2, 0.5, 4}), "sechsseitige Doppelpyramide");
    for (int i = 0; i < 8; ++i) {
        EXPECT_NEAR(a.solid.vertices[i].x, b.solid.vertices[i].x, 1e-9);
        EXPECT_NEAR(a.solid.vertices[i].z, b.solid.vertices[i].z, 1e-9);
    }
    EXPECT_GT(std::fabs(a.solid.faceRecords[0].centroid.z - b.solid.faceRecords[0].centroid.z), 1e-3);
}

TEST(Generators, InvalidParametersGiveAnErrorNotNaN) {
    SolidModel m;
    EXPECT_THROW(erzeugen(m, 5, {0, 0, 0, 0}), GeometryError);
    EXPECT_THROW(erzeugen(m, 5, {-1, -2, -3, -4}), GeometryError);
    EXPECT_THROW(erzeugen(m, 7, {1, 1, 1, 1}), GeometryError);
}

TEST(Build, FitWithNothingToFitStaysFinite) {
    SolidModel m;
    m.solid.vertices.resize(1); // one vertex at the origin
    einpassen(m);
    EXPECT_TRUE(std::isfinite(m.scale));
    EXPECT_EQ(m.solid.vertices[0].x, 0.0);
}

TEST(Build, DamageInTheBlocksIsAnErrorNamingFileBlockAndLine) {
    struct Case {
        const char* coords;
        const char* faces;
        const char* file;
        int line;
    };
    const Case cases[] = {
        {"[#]\n", kFaces, "coordinates.txt", 0},                   // block missing
        {"[1]\nvier\n0 0 1\n[#]\n", kFaces, "coordinates.txt", 2}, // count not a number
        {kCoords, "[1]\n2\n012\n01\n[#]\n", "faces.txt", 4},       // two-character face
        {kCoords, "[1]\n2\n012\n\n[#]\n", "faces.txt", 4},         // empty face line
        {kCoords, "[1]\n1\n7;,\n[#]\n", "faces.txt", 3},           // code below "0"
        {kCoords, "[1]\n1\n014\n[#]\n", "faces.txt", 3},           // vertex 4 is not loaded
        {kCoords, "[1]\n1\n01\xFF\n[#]\n", "faces.txt", 3},        // beyond the nameable
    };
    for (const Case& c : cases) {
        const auto t = tablesFromContents(c.coords, c.faces, "", "");
        try {
            buildSolid(t, sel(0, 0), "Tetraeder");
            ADD_FAILURE() << c.coords << " / " << c.faces;
        } catch (const CatalogueError& e) {
            EXPECT_EQ(e.file(), c.file);
            EXPECT_EQ(e.block(), "[1]");
            EXPECT_EQ(e.line(), c.line) << e.what();
        }
    }
}

// Coordinates down to subnormal numbers (1e-320) are finite numbers: such a solid builds as its
// large twin does, since the picture is fitted to the window anyway.
TEST(Build, TinyCoordinatesBuildLikeTheirLargeTwin) {
    const char* tinyCoords =
        "[1]\n4\n0 0 1.732051e-310\n1.632993e-310 0 -0.5773503e-310\n"
        "-0.8164966e-310 1.414214e-310 -0.5773503e-310\n"
        "-0.8164966e-310 -1.414214e-310 -0.5773503e-310\n"
        "[3]\n6\n-1e-320 -1e-320 0\n1e-320 -1e-320 0\n1e-320 1e-320 0\n-1e-320 1e-320 0\n"
        "0 0 -1.4142135624e-320\n0 0 1.4142135624e-320\n[#]\n";
    const auto tiny = tablesFromContents(tinyCoords, kFaces, "", "");
    for (const auto& [index, name] : {std::pair{0, "Tetraeder"}, std::pair{2, "Oktaeder"}}) {
        const SolidModel large = buildSolid(quoted(), sel(0, index), name);
        SolidModel small;
        ASSERT_NO_THROW(small = buildSolid(tiny, sel(0, index), name)) << name;
        ASSERT_EQ(small.solid.vertices.size(), large.solid.vertices.size());
        ASSERT_EQ(small.dual.vertices.size(), large.dual.vertices.size());
        // 1.4142135624e-320 keeps about eleven bits.
        const double tolerance = index == 0 ? 1e-6 : 0.2;
        for (int i = 0; i < large.solid.vertices.size(); ++i) {
            EXPECT_NEAR(small.solid.vertices[i].x, large.solid.vertices[i].x, tolerance) << name << " " << i;
            EXPECT_NEAR(small.solid.vertices[i].y, large.solid.vertices[i].y, tolerance) << name << " " << i;
            EXPECT_NEAR(small.solid.vertices[i].z, large.solid.vertices[i].z, tolerance) << name << " " << i;
        }
        for (int i = 0; i < large.dual.vertices.size(); ++i) {
            EXPECT_NEAR(small.dual.vertices[i].x, large.dual.vertices[i].x, tolerance) << name << " " << i;
            EXPECT_NEAR(small.dual.vertices[i].y, large.dual.vertices[i].y, tolerance) << name << " " << i;
            EXPECT_NEAR(small.dual.vertices[i].z, large.dual.vertices[i].z, tolerance) << name << " " << i;
        }
    }
}

TEST(Build, TooManyVerticesOrHugeCoordinatesAreRefused) {
    std::string coords = "[1]\n262\n";
    for (int i = 0; i < 262; ++i)
        coords += "1 1 1\n";
    coords += "[#]\n";
    EXPECT_THROW(buildSolid(tablesFromContents(coords, kFaces, "", ""), sel(0, 0), "T"), CatalogueError);

    const char* huge = "[1]\n4\n1e308 0 1\n1e308 1 0\n0 1 1\n1 0 0\n[#]\n";
    EXPECT_THROW(buildSolid(tablesFromContents(huge, kFaces, "", ""), sel(0, 0), "T"), GeometryError);

    // A place outside the dispatch table (a category outside it cannot be named).
    EXPECT_THROW(buildSolid(quoted(), sel(0, 70), "X"), GeometryError);
}
