// Every body the lists offer, built and dualised from the shipped data as the window does it.
#include "section_category.h"
#include "bodies/build.h"
#include "catalogue/selection.h"
#include "geometry/dual.h"
#include "modelchecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

using namespace kesmora;

namespace {

const CatalogueTables& shipped() {
    static const CatalogueTables t = LoadCatalogueTables(KESMORA_DATA_DIR);
    return t;
}

struct Listed {
    Category category;
    std::string name;
};

std::vector<Listed> everyListedBody() {
    std::vector<Listed> all;
    for (Category c : kCategories)
        for (const auto& n : fillBodyList(shipped(), c))
            all.push_back({c, n});
    return all;
}

// The bodies of the catalogue that the lists offer (hidden = false) or that they show only on
// request (hidden = true).
std::vector<Listed> catalogueBodies(bool hidden) {
    std::vector<Listed> out;
    for (Category c : kCategories)
        for (const auto& n : fillBodyList(shipped(), c, HiddenBodies::Shown))
            if (isExcluded(shipped(), n) == hidden) out.push_back({c, n});
    return out;
}

// Builds the body as the window does and checks that every dual face of four or more corners runs
// along its boundary: before the quasi-dual cuts (the body's recipe without them), and as built.
void expectDualFacesFollowTheirBoundary(const Listed& b) {
    SCOPED_TRACE(std::to_string(sectionNumber(b.category)) + " " + latin1ToUtf8(b.name));
    Selection s;
    s.currentCategory = b.category;
    s.bodyParams = {1, -2.5, 1.5, -2};
    neuwert(s, shipped(), b.name);
    SolidModel m;
    ASSERT_NO_THROW(m = buildSolid(shipped(), s, b.name));
    SolidModel uncut = m;
    DualRecipe recipe = dualRecipeFor(b.category, s.bodyIndex, b.name);
    recipe.cutPentagons = recipe.cutQuadrilaterals = false;
    dualbilden(uncut, recipe);
    EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(uncut), -1);
    EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(m), -1);
}

} // namespace

TEST(EveryListedBody, BuildsFitsAndItsDualFacesFollowTheirBoundary) {
    const auto bodies = everyListedBody();
    ASSERT_EQ(bodies.size(), 148u);
    for (const Listed& b : bodies) {
        SCOPED_TRACE(std::to_string(sectionNumber(b.category)) + " " + latin1ToUtf8(b.name));
        Selection s;
        s.currentCategory = b.category;
        s.bodyParams = {1, -2.5, 1.5, -2};
        neuwert(s, shipped(), b.name);
        SolidModel m;
        ASSERT_NO_THROW(m = buildSolid(shipped(), s, b.name));
        EXPECT_NEAR(kesmora::testing::largestCoordinate(m), 200.0, 1e-9);
        EXPECT_LE(m.solid.vertices.size(), 120);
        EXPECT_LE(m.solid.faces.size(), 120);
        EXPECT_LE(m.dual.faces.size(), 120);
        EXPECT_EQ(m.dual.vertices.size(), m.solid.faces.size());

        // The boundary order of step 5 is checked before any cutting: the body's own recipe
        // without the cutting steps.
        SolidModel uncut = m;
        DualRecipe recipe = dualRecipeFor(b.category, s.bodyIndex, b.name);
        recipe.cutPentagons = recipe.cutQuadrilaterals = false;
        dualbilden(uncut, recipe);
        EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(uncut), -1);
    }
}

// The walk around a vertex where the distance order crosses: over the whole catalogue.
TEST(EveryCatalogueBody, ListedDualFacesFollowTheirBoundary) {
    const auto bodies = catalogueBodies(false);
    ASSERT_EQ(bodies.size(), 148u);
    for (const Listed& b : bodies)
        expectDualFacesFollowTheirBoundary(b);
}

// The 38 hidden bodies, as their duals are built for the window.
TEST(EveryCatalogueBody, HiddenDualFacesFollowTheirBoundary) {
    const auto bodies = catalogueBodies(true);
    ASSERT_EQ(bodies.size(), 38u);
    for (const Listed& b : bodies)
        expectDualFacesFollowTheirBoundary(b);
}

TEST(EveryListedBody, CatalogueFiguresOfTheDual) {
    struct Case {
        int category;
        const char* name;
        int dualFaces;
        bool allTriangles;
    };
    const Case cases[] = {{0, "erweitertes Trapezoeder", 10, true}, {2, "Ikosidodekaederstumpf", 120, false},
                          {3, "Johnson Polyeder 54", 18, true},     {3, "Johnson Polyeder 23", 48, true},
                          {3, "Johnson Polyeder 07", 7, false},     {3, "Johnson Polyeder 71", 120, false},
                          {3, "Johnson Polyeder 75", 120, false}};
    for (const Case& c : cases) {
        Selection s;
        s.currentCategory = sectionCategory(c.category);
        neuwert(s, shipped(), c.name);
        const SolidModel m = buildSolid(shipped(), s, c.name);
        EXPECT_EQ(m.dual.faces.size(), c.dualFaces) << c.name;
        if (c.allTriangles) {
            for (int f = 0; f < m.dual.faces.size(); ++f)
                EXPECT_EQ(m.dual.faces[f].size(), 3u) << c.name;
        }
    }
    Selection s;
    s.currentCategory = Category::Archimedean;
    neuwert(s, shipped(), "Disdyakistriacontaeder");
    EXPECT_EQ(buildSolid(shipped(), s, "Disdyakistriacontaeder").solid.faces.size(), 120);
}

TEST(EveryListedBody, AntiprismDualVerticesLieOnTheirFacePoles) {
    for (const char* name :
         {"f\xFCnfseitiges Antiprisma", "quadratisches Antiprisma", "zw\xF6lfseitiges Antiprisma"}) {
        Selection s;
        neuwert(s, shipped(), name);
        SolidModel m = buildSolid(shipped(), s, name);
        // After the fit, the pole of face f satisfies n . P = |P|^2 for every vertex P of the face,
        // with n the dual vertex: the polar plane of n passes through the face.
        for (int f = 0; f < m.solid.faces.size(); ++f) {
            const Point3D n = m.dual.vertices[f];
            for (const int v : m.solid.faces[f]) {
                const Point3D& p = m.solid.vertices[v];
                const Point3D& v0 = m.solid.vertices[m.solid.faces[f][0]];
                const double r2 = v0.x * v0.x + v0.y * v0.y + v0.z * v0.z;
                EXPECT_NEAR((n.x * p.x + n.y * p.y + n.z * p.z) / r2, 1.0, 1e-9) << name;
            }
        }
    }
}
