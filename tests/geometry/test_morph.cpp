// The morph from a solid to its dual: the figures at the named positions of the Platonic solids,
// counts that change only at the critical positions, every figure closed, convex and planar, and
// positions outside the way refused.
#include "catalogue/latin1.h"
#include "geometry/morph.h"
#include "geometry/polymesh.h"
#include "session/bodysession.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

using namespace kesmora;

namespace {

PolyMesh catalogueSolid(const char* utf8Name, Category category = Category::Polyeder) {
    static const auto tables = std::make_shared<const CatalogueTables>(LoadCatalogueTables(KESMORA_DATA_DIR));
    BodySession session(tables);
    session.chooseCategory(category);
    session.chooseBody(utf8ToLatin1(utf8Name));
    return meshOf(session.build().solid);
}

// "24 V, 14 F: 8×3 6×8"
std::string describe(const PolyMesh& m) {
    std::map<std::size_t, int> sizes;
    for (const auto& f : m.faces)
        ++sizes[f.size()];
    std::string s = std::to_string(m.vertices.size()) + " V, " + std::to_string(m.faces.size()) + " F:";
    for (const auto& [n, count] : sizes)
        s += " " + std::to_string(count) + "x" + std::to_string(n);
    return s;
}

void expectSoundFigure(const PolyMesh& m, const std::string& where) {
    EXPECT_TRUE(isClosed(m)) << where;
    EXPECT_EQ(morphRefusal(m), "") << where; // closed, planar and convex
    long long sides = 0;
    for (const auto& f : m.faces)
        sides += static_cast<long long>(f.size());
    EXPECT_EQ(static_cast<long long>(m.vertices.size()) - sides / 2 + static_cast<long long>(m.faces.size()), 2)
        << where;
}

} // namespace

TEST(DualMorph, ThePlatonicSolidsPassThroughTheirRectifiedForms) {
    const PolyMesh cube = catalogueSolid("Hexaeder, Würfel");
    const DualMorph morph(cube);
    EXPECT_EQ(describe(morph.at(0)), "8 V, 6 F: 6x4");
    EXPECT_EQ(describe(morph.at(0.25)), "24 V, 14 F: 8x3 6x8");
    EXPECT_EQ(describe(morph.at(0.5)), "12 V, 14 F: 8x3 6x4");
    EXPECT_EQ(describe(morph.at(0.75)), "24 V, 14 F: 6x4 8x6");
    EXPECT_EQ(describe(morph.at(1)), "6 V, 8 F: 8x3");
    EXPECT_DOUBLE_EQ(morph.lambdaAt(0.5), 1.0);

    // The solid's own vertices at the start, the reciprocal's poles at the end.
    const PolyMesh start = morph.at(0);
    for (const Point3D& p : start.vertices) {
        double nearest = INFINITY;
        for (const Point3D& q : cube.vertices)
            nearest = std::min(nearest, norm(p - q));
        EXPECT_LT(nearest, 1e-9 * extent(cube));
    }
    // The reciprocal, scaled about the sphere's centre until it just fits inside the solid.
    const PolyMesh reciprocal = polarReciprocal(cube, morph.sphere());
    const PolyMesh end = morph.at(1);
    const Point3D centre = morph.sphere().centre;
    for (const Point3D& p : end.vertices) {
        double nearest = INFINITY;
        for (const Point3D& q : reciprocal.vertices)
            nearest = std::min(nearest, norm(p - (centre + morph.lambdaAt(1) * (q - centre))));
        EXPECT_LT(nearest, 1e-9 * extent(cube));
    }

    EXPECT_EQ(describe(DualMorph(catalogueSolid("Oktaeder")).at(0.5)), "12 V, 14 F: 8x3 6x4");
    EXPECT_EQ(describe(DualMorph(catalogueSolid("Pentagondodekaeder")).at(0.5)), "30 V, 32 F: 20x3 12x5");
    EXPECT_EQ(describe(DualMorph(catalogueSolid("Ikosaeder")).at(0.5)), "30 V, 32 F: 20x3 12x5");
    // The catalogue's tetrahedron carries seven digits: its solid and dual edges miss each other by
    // about 1e-7, which must not leave slivers beside the octahedron's faces.
    EXPECT_EQ(describe(DualMorph(catalogueSolid("Tetraeder")).at(0.5)), "6 V, 8 F: 8x3");
}

TEST(DualMorph, CountsChangeOnlyAtTheCriticalPositionsAndEveryFigureIsSound) {
    for (const char* name : {"Hexaeder, Würfel", "Ikosaeder", "Tetraeder"}) {
        const DualMorph morph(catalogueSolid(name));
        std::string before;
        int changes = 0;
        for (int step = 0; step <= 100; ++step) {
            const double t = step / 100.0;
            const PolyMesh m = morph.at(t);
            expectSoundFigure(m, std::string(name) + " at " + std::to_string(t));
            const std::string now = describe(m);
            // 0, ½ and 1 are figures of their own; between them the counts stay.
            if (step != 0 && step != 1 && step != 50 && step != 51 && step != 100 && !before.empty()) {
                EXPECT_EQ(now, before) << name << " at " << t;
            }
            if (now != before) ++changes;
            before = now;
        }
        EXPECT_EQ(changes, 5) << name; // solid, cut solid, rectified, cut dual, dual
    }
}

TEST(DualMorph, PositionsOutsideTheWayAndBodiesWithoutOneAreRefused) {
    const DualMorph morph(catalogueSolid("Hexaeder, Würfel"));
    EXPECT_THROW(morph.at(-0.01), GeometryError);
    EXPECT_THROW(morph.at(1.01), GeometryError);
    EXPECT_THROW(morph.at(NAN), GeometryError);

    // A cube with one corner pushed in is not convex.
    PolyMesh dented = catalogueSolid("Hexaeder, Würfel");
    dented.vertices[0] = 0.2 * dented.vertices[0];
    EXPECT_NE(morphRefusal(dented), "");
    EXPECT_THROW(DualMorph{dented}, GeometryError);
}

TEST(HalfSpaceIntersection, AnAlmostCommonPointLeavesNoSliver) {
    // The unit cube cut by a plane through a corner, tilted by 1e-9: the corner stays one vertex.
    std::vector<HalfSpace> planes = {{{1, 0, 0}, 1}, {{-1, 0, 0}, 1}, {{0, 1, 0}, 1},
                                     {{0, -1, 0}, 1}, {{0, 0, 1}, 1}, {{0, 0, -1}, 1},
                                     {{1, 1, 1}, 3 - 1e-9}};
    const PolyMesh m = halfSpaceIntersection(planes, {}, 1e-6);
    EXPECT_EQ(m.vertices.size(), 8u);
    EXPECT_EQ(m.faces.size(), 6u);
    EXPECT_TRUE(isClosed(m));
}
