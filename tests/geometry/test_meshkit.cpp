// The small mesh kit the surface check, the inspector and the catalogue generator share: the edge
// map (on the heap and in the fixed table of the per-build check), the orientation search, the
// turn about an axis and the Latin-1 conversions.
#include "catalogue/latin1.h"
#include "geometry/edgemap.h"
#include "geometry/orientation.h"
#include "geometry/point3d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>
#include <random>
#include <vector>

using namespace kesmora;

namespace {

using Faces = std::vector<std::vector<int>>;

// The cube with every face counter-clockwise from outside.
Faces cube() {
    return {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
}

struct Oriented {
    int pieces;
    std::vector<signed char> flip;
    std::vector<int> piece;
};

Oriented orient(const Faces& faces) {
    const EdgeMap map = edgeMap(faces);
    const int n = static_cast<int>(faces.size());
    Oriented o{0, std::vector<signed char>(faces.size()), std::vector<int>(faces.size())};
    std::vector<int> queue(faces.size());
    o.pieces = orientAlike(n, map.firstSide, map.edgeOfSide, map.edges, o.flip, o.piece, queue);
    return o;
}

} // namespace

TEST(EdgeMap, EveryEdgeOnceByItsEndsWithItsTwoSidesAndTheirDirections) {
    const Faces faces = cube();
    const EdgeMap map = edgeMap(faces);
    ASSERT_EQ(map.edges.size(), 12u);
    EXPECT_EQ(map.firstSide, (std::vector<int>{0, 4, 8, 12, 16, 20, 24}));
    EXPECT_TRUE(std::is_sorted(map.edges.begin(), map.edges.end(), [](const MeshEdge& x, const MeshEdge& y) {
        return std::pair(x.a, x.b) < std::pair(y.a, y.b);
    }));
    for (int f = 0; f < 6; ++f) {
        const auto sides = map.sidesOf(f);
        ASSERT_EQ(sides.size(), 4u);
        for (int k = 0; k < 4; ++k) {
            const MeshEdge& e = map.edges[static_cast<std::size_t>(sides[static_cast<std::size_t>(k)])];
            const int from = faces[f][k], to = faces[f][(k + 1) % 4];
            EXPECT_EQ(std::pair(e.a, e.b), std::pair(std::min(from, to), std::max(from, to)));
            const int i = e.sides[0].face == f && e.sides[0].index == k ? 0 : 1;
            EXPECT_EQ(e.sides[static_cast<std::size_t>(i)].face, f);
            EXPECT_EQ(e.sides[static_cast<std::size_t>(i)].index, k);
            EXPECT_EQ(e.forward[static_cast<std::size_t>(i)], from < to);
        }
    }
    for (const MeshEdge& e : map.edges) {
        EXPECT_EQ(e.uses, 2);
        EXPECT_NE(e.forward[0], e.forward[1]) << "a closed oriented surface runs each edge both ways";
        EXPECT_EQ(e.other(e.sides[0].face), e.sides[1].face);
    }
    // A third face on an edge is counted, a face alone on one is a border.
    Faces fin = faces;
    fin.push_back({0, 1, 8});
    const EdgeMap finned = edgeMap(fin);
    EXPECT_EQ(std::count_if(finned.edges.begin(), finned.edges.end(),
                            [](const MeshEdge& e) { return e.uses == 3; }),
              1);
    EXPECT_EQ(std::count_if(finned.edges.begin(), finned.edges.end(),
                            [](const MeshEdge& e) { return e.uses == 1; }),
              2);
}

TEST(EdgeMap, TheSizedIndexFindsTheSameEdgesAndRefusesWhatDoesNotFit) {
    std::mt19937 rng(7);
    Faces faces = cube();
    std::shuffle(faces.begin(), faces.end(), rng);
    const EdgeMap heap = edgeMap(faces);
    SizedEdgeIndex index(12, 8);
    std::array<MeshEdge, 12> edges;
    std::array<int, 24> edgeOfSide;
    const auto sizeOf = [&](int f) { return static_cast<int>(faces[f].size()); };
    const auto vertexAt = [&](int f, int k) { return faces[f][k]; };
    ASSERT_EQ(mapEdges(6, sizeOf, vertexAt, index, std::span<MeshEdge>(edges), std::span<int>(edgeOfSide)),
              12);
    for (std::size_t s = 0; s < 24; ++s) { // the same edge for every side, numbered in another order
        const MeshEdge& a = edges[static_cast<std::size_t>(edgeOfSide[s])];
        const MeshEdge& b = heap.edges[static_cast<std::size_t>(heap.edgeOfSide[s])];
        EXPECT_EQ(std::pair(a.a, a.b), std::pair(b.a, b.b));
        EXPECT_EQ(a.uses, 2);
    }
    SizedEdgeIndex again(12, 8);
    std::array<MeshEdge, 11> tooFewEdges;
    EXPECT_EQ(
        mapEdges(6, sizeOf, vertexAt, again, std::span<MeshEdge>(tooFewEdges), std::span<int>(edgeOfSide)),
        -1);
    SizedEdgeIndex third(12, 8);
    std::array<int, 23> tooFewSides;
    EXPECT_EQ(mapEdges(6, sizeOf, vertexAt, third, std::span<MeshEdge>(edges), std::span<int>(tooFewSides)),
              -1);
}

TEST(Orientation, FacesTurnedAgainstTheFirstAreFoundPieceByPiece) {
    Faces faces = cube();
    EXPECT_EQ(orient(faces).pieces, 1);
    EXPECT_EQ(orient(faces).flip, std::vector<signed char>(6, 0));
    for (int turned : {0, 3}) {
        Faces t = faces;
        std::reverse(t[turned].begin(), t[turned].end());
        const Oriented o = orient(t);
        ASSERT_EQ(o.pieces, 1);
        for (int f = 0; f < 6; ++f) // relative to face 0: the one turned, or all others
            EXPECT_EQ(o.flip[f], turned == 0 ? f != 0 : f == turned)
                << "face " << f << " with face " << turned << " turned";
    }
    // A second cube, turned inside out, is a piece of its own and keeps its turn.
    Faces two = faces;
    for (auto face : cube()) {
        for (int& v : face)
            v += 8;
        std::reverse(face.begin(), face.end());
        two.push_back(face);
    }
    const Oriented o = orient(two);
    EXPECT_EQ(o.pieces, 2);
    EXPECT_EQ(o.piece, (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(o.flip, std::vector<signed char>(12, 0));
    // An open strip is oriented too (its border edges have one face); a Möbius band cannot be.
    EXPECT_EQ(orient({{0, 1, 3, 2}, {2, 3, 5, 4}, {5, 4, 6, 7}}).flip, (std::vector<signed char>{0, 0, 1}));
    EXPECT_EQ(orient({{0, 1, 3, 2}, {2, 3, 5, 4}, {4, 5, 1, 0}}).pieces, 1);
    EXPECT_EQ(orient({{0, 1, 3, 2}, {2, 3, 5, 4}, {4, 5, 0, 1}}).pieces, -1);
}

TEST(Point3D, TurningAboutAnAxisMatchesTheRotationMatrixAndKeepsLengths) {
    const Point3D axis = normalized(Point3D{1, 2, 2});
    const double angle = 0.7;
    const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    const double x = axis.x, y = axis.y, z = axis.z;
    const double m[3][3] = {{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
                            {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
                            {t * x * z - s * y, t * y * z + s * x, t * z * z + c}};
    for (const Point3D p : {Point3D{1, 0, 0}, Point3D{-3, 5, 0.25}, Point3D{2, -7, 11}}) {
        const Point3D q = turnedAbout(p, axis, angle);
        EXPECT_NEAR(q.x, m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z, 1e-12);
        EXPECT_NEAR(q.y, m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z, 1e-12);
        EXPECT_NEAR(q.z, m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z, 1e-12);
        EXPECT_NEAR(norm(q), norm(p), 1e-12);
    }
    const Point3D quarter = turnedAbout({1, 0, 0}, {0, 0, 1}, std::numbers::pi / 2);
    EXPECT_NEAR(quarter.x, 0, 1e-15);
    EXPECT_NEAR(quarter.y, 1, 1e-15);
}

TEST(Latin1, BothWaysForEveryLatin1LetterAndAQuestionMarkForAnythingElse) {
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    EXPECT_EQ(utf8ToLatin1(latin1ToUtf8(all)), all);
    EXPECT_EQ(latin1ToUtf8("K\xF6rper"), "Körper");
    EXPECT_EQ(utf8ToLatin1("Würfel"), "W\xFC"
                                      "rfel");
    EXPECT_EQ(utf8ToLatin1("5 €, 1 ≤ 2"), "5 ?, 1 ? 2"); // beyond Latin-1: one mark a character
    EXPECT_EQ(utf8ToLatin1("a\xFC"
                           "b\xC3"),
              "a?b?");                                        // a lone Latin-1 byte is not UTF-8
    EXPECT_EQ(utf8ToLatin1("\xC0\xAF\xED\xA0\x80"), "?????"); // overlong form and surrogate: byte by byte
    EXPECT_EQ(utf8SequenceAt("\xF0\x9F\x98\x80", 0), 4u);
    EXPECT_EQ(utf8SequenceAt("\xF4\x90\x80\x80", 0), 0u); // beyond U+10FFFF
}
