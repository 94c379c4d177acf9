// The polar reciprocal as the dual: partners, the crossing edges of the dual compounds, the
// reciprocal of every listed body, and the bodies that have none.
#include "section_category.h"
#include "bodies/build.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"
#include "geometry/point3d.h"
#include "geometry/reciprocal.h"

#include "modelchecks.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

const CatalogueTables& shipped() {
    static const CatalogueTables t = LoadCatalogueTables(KESMORA_DATA_DIR);
    return t;
}

// The name at a body index of a category's section, listed or not.
std::string nameAt(int category, int bodyIndex) {
    for (const std::string& name : fillBodyList(shipped(), sectionCategory(category))) {
        Selection s;
        s.currentCategory = sectionCategory(category);
        neuwert(s, shipped(), name);
        if (s.bodyIndex == bodyIndex) return name;
    }
    // Hidden names are not in the list; the section holds them all in index order.
    const std::vector<std::string> all = [&] {
        std::vector<std::string> names;
        const std::string section = "{" + std::to_string(category);
        const auto& lines = shipped().catalogueTable.lines;
        auto at = std::find(lines.begin(), lines.end(), section);
        for (at += 2; at != lines.end() && !at->empty() && at->front() != '['; ++at)
            names.push_back(*at);
        return names;
    }();
    return all.at(static_cast<std::size_t>(bodyIndex));
}

SolidModel build(int category, int bodyIndex, DualKind kind) {
    Selection s;
    s.currentCategory = sectionCategory(category);
    s.bodyIndex = bodyIndex;
    return buildSolid(shipped(), s, nameAt(category, bodyIndex), kind);
}

std::string label(int category, int bodyIndex) {
    return latin1ToUtf8(nameAt(category, bodyIndex)) + " (" + std::to_string(category) + ":" +
           std::to_string(bodyIndex) + ")";
}

PolyMesh dualSurface(const SolidModel& m) {
    PolyMesh s;
    s.vertices.assign(m.dual.vertices.begin(), m.dual.vertices.end());
    for (const FaceView face : m.dual.faces)
        s.faces.push_back(face.toVector());
    return s;
}

double largestDistance(const std::vector<Point3D>& points, const Point3D& from) {
    double r = 0;
    for (const Point3D& p : points)
        r = std::max(r, norm(p - from));
    return r;
}

using kesmora::testing::distanceSignature;

std::multiset<std::size_t> faceSizes(const std::vector<std::vector<int>>& faces) {
    std::multiset<std::size_t> sizes;
    for (const auto& f : faces)
        sizes.insert(f.size());
    return sizes;
}

std::set<std::pair<int, int>> edgesOf(const std::vector<std::vector<int>>& faces) {
    std::set<std::pair<int, int>> edges;
    for (const auto& f : faces)
        for (std::size_t k = 0; k < f.size(); ++k)
            edges.insert(std::minmax(f[k], f[(k + 1) % f.size()]));
    return edges;
}

Point3D newell(const PolyMesh& s, const std::vector<int>& face) {
    Point3D n;
    for (std::size_t i = 0; i < face.size(); ++i) {
        const Point3D& a = s.vertices[static_cast<std::size_t>(face[i])];
        const Point3D& b = s.vertices[static_cast<std::size_t>(face[(i + 1) % face.size()])];
        n = n + cross(a, b);
    }
    return n;
}

struct Pair {
    int category, body, partner;
};
// The Platonic, Archimedean and Catalan solids with their partners (each Catalan solid is its
// Archimedean partner's canonical dual), and the antiprisms with their trapezohedra.
const Pair kPairs[] = {{0, 0, 0},   {0, 1, 2},   {0, 2, 1},   {0, 3, 4},   {0, 4, 3},   {2, 0, 17},
                       {2, 1, 20},  {2, 2, 19},  {2, 3, 18},  {2, 4, 22},  {2, 6, 21},  {2, 7, 24},
                       {2, 8, 25},  {2, 9, 14},  {2, 10, 16}, {2, 11, 13}, {2, 12, 15}, {2, 13, 11},
                       {2, 14, 9},  {2, 15, 12}, {2, 16, 10}, {2, 17, 0},  {2, 18, 3},  {2, 19, 2},
                       {2, 20, 1},  {2, 21, 6},  {2, 22, 4},  {2, 24, 7},  {2, 25, 8},  {0, 25, 31},
                       {0, 31, 25}, {0, 14, 32}, {0, 32, 14}, {2, 5, 23},  {2, 23, 5}};
// The snub dodecahedron's partner is checked by its own traits too.
const int kPentagonalHexecontahedron = 23;

} // namespace

TEST(Reciprocal, IsCongruentToItsPartnerUpToScale) {
    for (const Pair& p : kPairs) {
        const std::string what = label(p.category, p.body);
        EXPECT_EQ(reciprocalPartner(sectionCategory(p.category), p.body), p.partner) << what;
        const SolidModel m = build(p.category, p.body, DualKind::PolarReciprocal);
        ASSERT_EQ(m.dualInfo.kind, DualKind::PolarReciprocal) << what;
        const SolidModel partner = build(p.category, p.partner, DualKind::Catalogue);
        const PolyMesh dual = dualSurface(m), expected = solidSurface(partner);
        EXPECT_EQ(faceSizes(dual.faces), faceSizes(expected.faces)) << what;
        const auto got = distanceSignature(dual.vertices), want = distanceSignature(expected.vertices);
        ASSERT_EQ(got.size(), want.size()) << what;
        double worst = 0;
        for (std::size_t i = 0; i < got.size(); ++i)
            worst = std::max(worst, std::fabs(got[i] - want[i]));
        // The stored tetrahedron, cube and octahedron carry seven digits.
        EXPECT_LT(worst, 1e-6) << what;
    }
    EXPECT_FALSE(reciprocalPartner(Category::Johnson, 1));
    EXPECT_FALSE(reciprocalPartner(Category::Polyeder, 5));

    // The pentagonal hexecontahedron's reciprocal is the snub dodecahedron: 80 triangles and 12
    // pentagons, all edges equal.
    EXPECT_EQ(reciprocalPartner(Category::Archimedean, kPentagonalHexecontahedron), 5);
    const SolidModel m = build(2, kPentagonalHexecontahedron, DualKind::PolarReciprocal);
    const PolyMesh snub = dualSurface(m);
    std::multiset<std::size_t> sizes;
    for (int i = 0; i < 80; ++i)
        sizes.insert(3);
    for (int i = 0; i < 12; ++i)
        sizes.insert(5);
    EXPECT_EQ(faceSizes(snub.faces), sizes);
    double shortest = INFINITY, longest = 0;
    for (const auto& [a, b] : edgesOf(snub.faces)) {
        const double length =
            norm(snub.vertices[static_cast<std::size_t>(a)] - snub.vertices[static_cast<std::size_t>(b)]);
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
    }
    EXPECT_LT(longest / shortest - 1, 1e-9);
}

TEST(Reciprocal, EdgesCrossTheirDualEdgesAtRightAnglesOnTheMidsphere) {
    std::vector<std::pair<int, int>> bodies;
    for (const Pair& p : kPairs)
        bodies.emplace_back(p.category, p.body);
    bodies.emplace_back(2, kPentagonalHexecontahedron);
    for (const auto& [category, body] : bodies) {
        const Pair p{category, body, -1};
        const std::string what = label(p.category, p.body);
        const SolidModel m = build(p.category, p.body, DualKind::PolarReciprocal);
        const PolyMesh solid = solidSurface(m), dual = dualSurface(m);
        const PolarSphere sphere = reciprocalSphere(solid);
        // Only the seven-digit tetrahedron misses the midsphere test, by its rounding.
        EXPECT_EQ(m.dualInfo.midsphere, !(p.category == 0 && p.body == 0)) << what;
        const double tolerance =
            (m.dualInfo.midsphere ? 1e-9 : 1e-6) * largestDistance(solid.vertices, sphere.centre);
        const auto dualEdges = edgesOf(dual.faces);
        int crossings = 0;
        for (const auto& [a, b] : edgesOf(solid.faces)) {
            // The dual edge joins the poles of the two faces on the solid edge.
            std::vector<int> on;
            for (int f = 0; f < static_cast<int>(solid.faces.size()); ++f) {
                const auto& face = solid.faces[static_cast<std::size_t>(f)];
                if (std::count(face.begin(), face.end(), a) && std::count(face.begin(), face.end(), b))
                    on.push_back(f);
            }
            ASSERT_EQ(on.size(), 2u) << what;
            ASSERT_TRUE(dualEdges.count(std::minmax(on[0], on[1]))) << what;
            const Point3D pa = solid.vertices[static_cast<std::size_t>(a)] - sphere.centre;
            const Point3D pb = solid.vertices[static_cast<std::size_t>(b)] - sphere.centre;
            const Point3D qa = dual.vertices[static_cast<std::size_t>(on[0])] - sphere.centre;
            const Point3D qb = dual.vertices[static_cast<std::size_t>(on[1])] - sphere.centre;
            const Point3D u = unit(pb - pa), w = unit(qb - qa);
            EXPECT_NEAR(dot(u, w), 0.0, 1e-9) << what;
            // With the lines at right angles, their nearest points are the feet of the perpendiculars
            // from each line to the other; both must be one point, on the sphere.
            const Point3D onSolid = pa + dot(qa - pa, u) * u;
            const Point3D onDual = qa + dot(pa - qa, w) * w;
            EXPECT_LT(norm(onSolid - onDual), tolerance) << what;
            EXPECT_NEAR(norm(onSolid), sphere.radius, tolerance) << what;
            ++crossings;
        }
        EXPECT_EQ(crossings, static_cast<int>(dualEdges.size())) << what;
    }
}

TEST(Reciprocal, OfEveryListedBodyIsConvexFlatSwapsVerticesAndFacesAndLeadsBack) {
    int bodies = 0;
    for (Category category : kCategories)
        for (const std::string& name : fillBodyList(shipped(), category)) {
            Selection s;
            s.currentCategory = category;
            neuwert(s, shipped(), name);
            const std::string what = latin1ToUtf8(name);
            const SolidModel m = buildSolid(shipped(), s, name, DualKind::PolarReciprocal);
            ++bodies;
            ASSERT_FALSE(m.dualInfo.reciprocalRefused()) << what << ": " << m.dualInfo.refusal;
            EXPECT_EQ(m.dualInfo.shape, DualShape::PolarReciprocal) << what; // a Johnson solid's too
            const PolyMesh solid = solidSurface(m), dual = dualSurface(m);
            ASSERT_EQ(dual.vertices.size(), solid.faces.size()) << what;
            ASSERT_EQ(dual.faces.size(), solid.vertices.size()) << what;
            EXPECT_EQ(edgesOf(dual.faces).size(), edgesOf(solid.faces).size()) << what;
            // The renderer sees a closed star-shaped surface, as it does for every convex dual.
            EXPECT_TRUE(m.dual.shape.starShaped) << what;

            const PolarSphere sphere = reciprocalSphere(solid);
            const double size = largestDistance(dual.vertices, sphere.centre);
            for (std::size_t v = 0; v < dual.faces.size(); ++v) {
                const auto& face = dual.faces[v];
                const Point3D n = unit(newell(dual, face));
                const Point3D on = dual.vertices[static_cast<std::size_t>(face[0])];
                // Turned outward, flat, and every vertex of the reciprocal on its inner side.
                EXPECT_GT(dot(n, solid.vertices[v] - sphere.centre), 0) << what << " face " << v;
                double flat = 0, outside = -INFINITY;
                for (int corner : face)
                    flat = std::max(flat,
                                    std::fabs(dot(n, dual.vertices[static_cast<std::size_t>(corner)] - on)));
                for (std::size_t k = 0; k < dual.vertices.size(); ++k)
                    if (std::find(face.begin(), face.end(), static_cast<int>(k)) == face.end())
                        outside = std::max(outside, dot(n, dual.vertices[k] - on));
                EXPECT_LT(flat, 1e-9 * size) << what << " face " << v;
                EXPECT_LT(outside, 1e-9 * size) << what << " face " << v;
            }

            // About the same sphere the reciprocal of the reciprocal is the solid again.
            const PolyMesh back = polarReciprocal(dual, sphere);
            const double solidSize = largestDistance(solid.vertices, sphere.centre);
            ASSERT_EQ(back.vertices.size(), solid.vertices.size()) << what;
            double worst = 0;
            for (std::size_t v = 0; v < solid.vertices.size(); ++v)
                worst = std::max(worst, norm(back.vertices[v] - solid.vertices[v]));
            EXPECT_LT(worst, 1e-9 * solidSize) << what;
            for (std::size_t f = 0; f < solid.faces.size(); ++f)
                EXPECT_EQ(std::set<int>(back.faces[f].begin(), back.faces[f].end()),
                          std::set<int>(solid.faces[f].begin(), solid.faces[f].end()))
                    << what << " face " << f;
        }
    EXPECT_EQ(bodies, 148);
}

TEST(Reciprocal, ABodyWithAFacePlaneThroughItsCentreKeepsTheCatalogueDual) {
    // The tetrahemihexahedron: the octahedron's corners, four of its faces, and three squares
    // through the centre.
    const CatalogueTables tables =
        tablesFromContents("[1]\n6\n1 0 0\n-1 0 0\n0 1 0\n0 -1 0\n0 0 1\n0 0 -1\n[#]\n",
                           "[1]\n7\n024\n035\n125\n134\n0213\n0415\n2435\n[#]\n", "", "{0\n[\n[#]\n");
    Selection s;
    const SolidModel asked = buildSolid(tables, s, "Tetrahemihexaeder", DualKind::PolarReciprocal);
    const SolidModel plain = buildSolid(tables, s, "Tetrahemihexaeder", DualKind::Catalogue);
    EXPECT_EQ(asked.dualInfo.kind, DualKind::Catalogue);
    EXPECT_EQ(asked.dualInfo.shape, DualShape::Plain); // named as what it is, not as what was asked
    ASSERT_TRUE(asked.dualInfo.reciprocalRefused());
    EXPECT_NE(asked.dualInfo.refusal.find("Tetrahemihexaeder hat keine polare Reziproke"), std::string::npos)
        << asked.dualInfo.refusal;
    EXPECT_NE(asked.dualInfo.refusal.find("Fläche 5 von 7 geht durch den Mittelpunkt"), std::string::npos)
        << asked.dualInfo.refusal;
    EXPECT_FALSE(plain.dualInfo.reciprocalRefused());
    ASSERT_EQ(asked.dual.faces.size(), plain.dual.faces.size());
    for (int f = 0; f < plain.dual.faces.size(); ++f)
        EXPECT_EQ(asked.dual.faces[f], plain.dual.faces[f]);
    for (int v = 0; v < plain.dual.vertices.size(); ++v)
        EXPECT_EQ(norm(asked.dual.vertices[v] - plain.dual.vertices[v]), 0.0);

    // A face plane that misses the centre by a hair is refused too: its pole would lie far beyond
    // the body. Moved a little farther, the square has its pole.
    PolyMesh pyramid{{{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}, {0, 0, 4}},
                           {{0, 1, 2, 3}, {0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}}};
    PolarSphere sphere{{0, 0, 1e-9}, 1, false};
    EXPECT_THROW(polarReciprocal(pyramid, sphere), ReciprocalRefused);
    sphere.centre.z = 1e-3;
    EXPECT_NEAR(polarReciprocal(pyramid, sphere).vertices[0].z, 1e-3 - 1 / 1e-3, 1e-9);
}

TEST(Reciprocal, FacesThatDoNotCloseUpAroundAVertexAreRefused) {
    // A cube without its top: the rim's edges lie on one face each.
    PolyMesh open{
        {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
        {{0, 1, 2, 3}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}}};
    EXPECT_THROW(polarReciprocal(open), ReciprocalRefused);
    open.faces.push_back({4, 5, 6, 7});
    const PolyMesh cube = polarReciprocal(open);
    EXPECT_EQ(cube.faces.size(), 8u);
    // Two tetrahedra sharing a corner: the faces there form two rings.
    PolyMesh bow{
        {{0, 0, 0}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}, {-1, 0, -1}, {-1, -1, -1}, {0, -1, -1}},
        {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}, {0, 4, 5}, {0, 5, 6}, {0, 6, 4}, {4, 6, 5}}};
    try {
        polarReciprocal(bow, PolarSphere{{0.3, 0.1, 0.2}, 1, false});
        FAIL() << "the bow tie has a reciprocal";
    } catch (const ReciprocalRefused& e) {
        EXPECT_NE(std::string(e.what()).find("mehr als einen Kranz"), std::string::npos) << e.what();
    }
}

TEST(Reciprocal, OfAStarBodyIsBuiltTheSameWay) {
    // The small stellated dodecahedron: the icosahedron's corners, and around each corner the
    // pentagram through its five neighbours. Its reciprocal is the great dodecahedron: a pentagon
    // for every corner, five meeting at every vertex, the faces passing through one another.
    const double phi = (1 + std::sqrt(5.0)) / 2;
    PolyMesh star;
    for (double s : {-1.0, 1.0})
        for (double t : {-1.0, 1.0}) {
            star.vertices.push_back({0, s, t * phi});
            star.vertices.push_back({s, t * phi, 0});
            star.vertices.push_back({t * phi, 0, s});
        }
    for (const Point3D& v : star.vertices) {
        std::vector<int> ring;
        for (int k = 0; k < 12; ++k)
            if (std::fabs(norm(star.vertices[static_cast<std::size_t>(k)] - v) - 2) < 1e-9) ring.push_back(k);
        ASSERT_EQ(ring.size(), 5u);
        // Around v by angle, then every second one: the pentagram.
        const Point3D e1 = unit(star.vertices[static_cast<std::size_t>(ring[0])] - v),
                      e2 = unit(cross(v, e1));
        std::sort(ring.begin(), ring.end(), [&](int a, int b) {
            const Point3D pa = star.vertices[static_cast<std::size_t>(a)] - v;
            const Point3D pb = star.vertices[static_cast<std::size_t>(b)] - v;
            return std::atan2(dot(pa, e2), dot(pa, e1)) < std::atan2(dot(pb, e2), dot(pb, e1));
        });
        star.faces.push_back({ring[0], ring[2], ring[4], ring[1], ring[3]});
    }
    const PolarSphere sphere = reciprocalSphere(star);
    EXPECT_TRUE(sphere.midsphere);
    const PolyMesh great = polarReciprocal(star, sphere);
    ASSERT_EQ(great.vertices.size(), 12u);
    ASSERT_EQ(great.faces.size(), 12u);
    EXPECT_EQ(edgesOf(great.faces).size(), 30u);
    for (const auto& face : great.faces) {
        ASSERT_EQ(face.size(), 5u);
        // A convex pentagon: its corners in boundary order are its nearest neighbours.
        for (std::size_t k = 0; k < 5; ++k) {
            const Point3D& a = great.vertices[static_cast<std::size_t>(face[k])];
            const double side = norm(great.vertices[static_cast<std::size_t>(face[(k + 1) % 5])] - a);
            const double diagonal = norm(great.vertices[static_cast<std::size_t>(face[(k + 2) % 5])] - a);
            EXPECT_NEAR(diagonal / side, phi, 1e-9);
        }
    }
    const PolyMesh back = polarReciprocal(great, sphere);
    for (std::size_t v = 0; v < star.vertices.size(); ++v)
        EXPECT_LT(norm(back.vertices[v] - star.vertices[v]), 1e-9);
}

TEST(Reciprocal, PolesBeyondWhatTheViewCanTurnGiveWayToTheCatalogueDual) {
    // A very flat, very large square pyramid: its base plane passes close to the centre (yet far
    // enough to have a pole), and that pole lies beyond the largest coordinate the build takes.
    const CatalogueTables tables =
        tablesFromContents("[1]\n5\n-1e96 -1e96 0\n1e96 -1e96 0\n1e96 1e96 0\n-1e96 1e96 0\n0 0 7e91\n[#]\n",
                           "[1]\n5\n0123\n014\n124\n234\n304\n[#]\n", "", "{0\n[\n[#]\n");
    Selection s;
    SolidModel m;
    ASSERT_NO_THROW(m = buildSolid(tables, s, "Pyramide", DualKind::PolarReciprocal));
    EXPECT_EQ(m.dualInfo.kind, DualKind::Catalogue);
    EXPECT_EQ(m.dualInfo.shape, DualShape::Plain);
    EXPECT_NE(m.dualInfo.refusal.find("zu weit draußen"), std::string::npos) << m.dualInfo.refusal;
    EXPECT_EQ(m.dual.vertices.size(), 5);
}

TEST(Reciprocal, HoldsForBodiesOfAnySizeTheBuildTakes) {
    // Normals and squared lengths of coordinates near 1e150 overflow a double; the reciprocal of
    // such a cube is still the octahedron about its midsphere, as for a cube of edge 2.
    for (double size : {1e-150, 1.0, 1e150}) {
        PolyMesh cube{
            {}, {{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1}, {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}}};
        for (double z : {-size, size})
            for (const auto& [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}})
                cube.vertices.push_back({x * size, y * size, z});
        const PolarSphere sphere = reciprocalSphere(cube);
        EXPECT_TRUE(sphere.midsphere) << size;
        EXPECT_NEAR(sphere.radius / size, std::sqrt(2.0), 1e-12) << size;
        const PolyMesh octahedron = polarReciprocal(cube, sphere);
        for (const Point3D& p : octahedron.vertices)
            EXPECT_NEAR(norm((1 / size) * p), 2.0, 1e-12) << size;
    }
}
