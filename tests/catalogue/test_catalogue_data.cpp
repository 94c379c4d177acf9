// The committed catalogue data (data/coordinates.txt, data/faces.txt) against what each body is: for every
// body the body lists of categories 0 and 2 offer (and category 3 where its blocks are present),
// the solid its blocks hold, its faces, the dual construction on it, and the file format; and
// that every position of the catalogue, listed or hidden, has its blocks.
#include "section_category.h"
#include "catalogue_data.h"

#include <fstream>
#include <numbers>
#include <sstream>

using namespace kesmora::test::catalogue;
using kesmora::Category;
using kesmora::kCategories;
using kesmora::sectionCategory;

TEST(CatalogueData, FilesAreWellFormed) {
    for (const BlockFile* f : {&coordFile(), &faceFile()}) {
        EXPECT_EQ(f->error, "");
        ASSERT_FALSE(f->lines.empty());
        EXPECT_EQ(f->lines.back(), "[#]");
    }
    for (const char* name : {"coordinates.txt", "faces.txt"}) {
        const std::string bytes = readAll(std::filesystem::path(KESMORA_DATA_DIR) / name);
        EXPECT_EQ(bytes.find('\r'), std::string::npos) << name;
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.back(), '\n') << name;
        EXPECT_EQ(bytes.substr(bytes.size() - 4), "[#]\n") << name;
    }
}

TEST(CatalogueData, CoordinateLinesArePlainDecimals) {
    const QRegularExpression number(QStringLiteral(R"(^-?[0-9]+(\.[0-9]+)?$)"));
    for (const auto& [id, blk] : coordFile().blocks)
        for (const std::string& l : blk.content) {
            std::istringstream in(l);
            std::vector<std::string> fields;
            std::string part;
            while (std::getline(in, part, ' '))
                fields.push_back(part);
            ASSERT_EQ(fields.size(), 3u) << "[" << id << "] " << l;
            for (const std::string& x : fields)
                EXPECT_TRUE(number.match(QString::fromLatin1(x)).hasMatch()) << "[" << id << "] " << l;
            EXPECT_NE(l.back(), ' ');
        }
}

TEST(CatalogueData, NoFaceLineReadsLikeAHeader) {
    const QRegularExpression header(QStringLiteral(R"(^\[[0-9]+\]$)"));
    for (const auto& [id, blk] : faceFile().blocks)
        for (const std::string& l : blk.content)
            EXPECT_FALSE(header.match(QString::fromLatin1(l)).hasMatch()) << "[" << id << "] " << l;
    for (const auto& [id, blk] : coordFile().blocks)
        for (const std::string& l : blk.content)
            EXPECT_FALSE(header.match(QString::fromLatin1(l)).hasMatch()) << "[" << id << "] " << l;
}

TEST(CatalogueData, EveryListedBodyHasItsBlocks) {
    int johnson = 0;
    for (const Expected& e : kExpected) {
        if (e.category == 3) {
            johnson += faceFile().blocks.count(e.block) ? 1 : 0;
            continue;
        }
        EXPECT_TRUE(faceFile().blocks.count(e.block)) << label(e);
        EXPECT_EQ(coordFile().blocks.count(e.block), e.generated ? 0u : 1u) << label(e);
    }
    // The Johnson solids come as a whole or not at all.
    EXPECT_TRUE(johnson == 0 || johnson == 77) << johnson << " Johnson face blocks";
    for (const Expected& e : kExpected)
        if (e.category == 3 && johnson == 77) {
            EXPECT_TRUE(coordFile().blocks.count(e.block)) << label(e);
        }
}

TEST(CatalogueData, QuotedBlocksStandVerbatim) {
    using L = std::vector<std::string>;
    EXPECT_EQ(coordFile().blocks.at(1).content,
              (L{"0 0 1.732051", "1.632993 0 -0.5773503", "-0.8164966 1.414214 -0.5773503",
                 "-0.8164966 -1.414214 -0.5773503"}));
    EXPECT_EQ(coordFile().blocks.at(2).content,
              (L{"-1 1 -1", "1 1 -1", "1 -1 -1", "-1 -1 -1", "-1 1 1", "1 1 1", "1 -1 1", "-1 -1 1"}));
    EXPECT_EQ(coordFile().blocks.at(3).content,
              (L{"-1 -1 0", "1 -1 0", "1 1 0", "-1 1 0", "0 0 -1.4142135624", "0 0 1.4142135624"}));
    EXPECT_EQ(faceFile().blocks.at(1).content, (L{"012", "013", "123", "023"}));
    EXPECT_EQ(faceFile().blocks.at(3).content, (L{"041", "150", "243", "352", "035", "034", "251", "124"}));
    EXPECT_EQ(faceFile().blocks.at(205).content, (L{"0123", "1265", "2376", "0374", "0154", "6745"}));
    EXPECT_EQ(faceFile().blocks.at(414).content,
              (L{"0165", "1276", "2387", "3498", "4059", "01234", "56789"}));
    EXPECT_EQ(faceFile().blocks.at(422).content, (L{"012", "345", "0143", "1254", "2035"}));
    EXPECT_EQ(faceFile().blocks.at(423).content, (L{"0123", "4567", "0154", "1265", "2376", "3047"}));
    EXPECT_EQ(faceFile().blocks.at(424).content,
              (L{"01234", "56789", "0165", "1276", "2387", "3498", "4059"}));
    EXPECT_EQ(faceFile().blocks.at(425).content,
              (L{"012345", "6789:;", "0176", "1287", "2398", "34:9", "45;:", "506;"}));
    EXPECT_EQ(faceFile().blocks.at(427).content,
              (L{"016", "126", "236", "346", "456", "506", "017", "127", "237", "347", "457", "507"}));
    const auto& dodeca = faceFile().blocks.at(5).content;
    EXPECT_NE(std::find(dodeca.begin(), dodeca.end(), "468@C"), dodeca.end());
}

TEST(CatalogueData, ExpectedTableIsComplete) {
    int n[4] = {0, 0, 0, 0};
    for (const Expected& e : kExpected)
        ++n[e.category];
    EXPECT_EQ(n[0], 46);
    EXPECT_EQ(n[2], 25);
    EXPECT_EQ(n[3], 77);
}

// ------------------------------------------------------------------ tests: each body

TEST(CatalogueData, CombinatoricsMatchSolidsMd) {
    for (const Expected* ep : bodies(false)) {
        const Expected& e = *ep;
        SCOPED_TRACE(label(e));
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        const int nv = static_cast<int>(s.v.size());
        EXPECT_EQ(nv, e.v);
        EXPECT_EQ(static_cast<int>(s.f.size()), e.f);
        EXPECT_LE(nv, 120);
        EXPECT_LE(static_cast<int>(s.f.size()), 120);
        bool codesOk = true;
        for (const auto& face : s.f) {
            EXPECT_GE(face.size(), 3u);
            std::set<int> distinct(face.begin(), face.end());
            EXPECT_EQ(distinct.size(), face.size()) << "repeated vertex in a face";
            for (int i : face)
                if (i < 0 || i >= nv) codesOk = false;
        }
        ASSERT_TRUE(codesOk) << "vertex code out of range";
        const auto ef = edgeFaces(s);
        EXPECT_EQ(static_cast<int>(ef.size()), e.e);
        for (const auto& [edge, fs] : ef)
            EXPECT_EQ(fs.size(), 2u) << "edge " << edge.first << "-" << edge.second;
        // Consistent sense: every edge is used once in each direction.
        if (!quotedSense(e)) {
            std::set<Edge> directed;
            for (const auto& face : s.f)
                for (std::size_t k = 0; k < face.size(); ++k)
                    directed.insert({face[k], face[(k + 1) % face.size()]});
            for (const auto& [a, b] : directed)
                EXPECT_TRUE(directed.count({b, a})) << "edge " << a << "-" << b;
        }
        EXPECT_EQ(nv - static_cast<int>(ef.size()) + static_cast<int>(s.f.size()), 2);

        expectFaceKindsAndVertexConfigurations(s, e);
    }
}

TEST(CatalogueData, FacesArePlanarConvexPolygonsAndSolidsConvex) {
    for (const Expected* ep : bodies(false)) {
        const Expected& e = *ep;
        SCOPED_TRACE(label(e));
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        const double size = sizeOf(s);
        // The tetrahedron, cube and octahedron blocks are quoted with 7 and 10 digits.
        const double tol = (e.category == 0 && e.index <= 2 ? 1e-6 : 1e-9) * size;
        std::vector<Point3D> normals;
        for (const auto& face : s.f) {
            const Point3D own = newellNormal(s, face); // follows the face's own sense
            const Point3D c = centroidOf(s, face);
            const Point3D n = quotedSense(e) && dot(c, own) < 0 ? -1.0 * own : own; // outward
            normals.push_back(n);
            for (int i : face)
                EXPECT_LT(std::abs(dot(s.v[i] - c, n)), tol) << "face not planar";
            // Simple and in boundary order: every turn has the same sense, total turn one revolution.
            double turning = 0;
            for (std::size_t k = 0; k < face.size(); ++k) {
                const Point3D a = s.v[face[k]], b = s.v[face[(k + 1) % face.size()]],
                              c2 = s.v[face[(k + 2) % face.size()]];
                const Point3D u = b - a, w = c2 - b;
                const double turn = std::atan2(dot(cross(u, w), own), dot(u, w));
                EXPECT_GT(turn, 1e-9) << "face not convex in boundary order";
                turning += turn;
            }
            EXPECT_NEAR(turning, 2 * std::numbers::pi, 1e-6) << "face winds more than once";
            // Convex solid: every vertex on the inner side of the face plane (n points outward).
            for (const Point3D& p : s.v)
                EXPECT_LT(dot(p - c, n), tol) << "vertex outside a face plane";
            EXPECT_GT(dot(c, n), 0) << "origin not inside, or face not counter-clockwise from outside";
        }
        // Strictly convex: neighbouring faces not coplanar.
        for (const auto& [edge, fs] : edgeFaces(s))
            if (fs.size() == 2) {
                EXPECT_LT(dot(normals[fs[0]], normals[fs[1]]), 1 - 1e-9) << "coplanar neighbours";
            }
    }
}

TEST(CatalogueData, RegularFacedBodiesHaveEqualEdgesAndRegularFaces) {
    for (const Expected* ep : bodies(false)) {
        const Expected& e = *ep;
        if (!e.regular) continue;
        SCOPED_TRACE(label(e));
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        const double rel = e.category == 0 && e.index <= 2 ? 1e-6 : 1e-9;
        double lo = 1e300, hi = 0;
        for (const auto& [edge, fs] : edgeFaces(s)) {
            const double l = norm(s.v[edge.first] - s.v[edge.second]);
            lo = std::min(lo, l);
            hi = std::max(hi, l);
        }
        EXPECT_LT((hi - lo) / hi, rel);
        for (const auto& face : s.f) { // equilateral and cyclic: regular
            const Point3D c = centroidOf(s, face);
            double rlo = 1e300, rhi = 0;
            for (int i : face) {
                rlo = std::min(rlo, norm(s.v[i] - c));
                rhi = std::max(rhi, norm(s.v[i] - c));
            }
            EXPECT_LT((rhi - rlo) / rhi, rel) << "face not regular";
        }
    }
}

TEST(CatalogueData, BodiesAreCentred) {
    for (const Expected* ep : bodies(false)) {
        const Expected& e = *ep;
        SCOPED_TRACE(label(e));
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        const double size = sizeOf(s);
        Point3D c;
        Point3D lo{1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300};
        for (const Point3D& p : s.v) {
            c = c + p;
            lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
            hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        }
        c = (1.0 / s.v.size()) * c;
        const bool exact =
            (e.category == 2 && e.index < 13) || std::string(e.name).find("Antiprisma") != std::string::npos;
        if (exact) {
            EXPECT_LT(norm(c), 1e-12 * size) << "centroid " << c.x << " " << c.y << " " << c.z;
        } else if (e.category == 0) {
            // Main axis on z through the origin; along it the vertex centroid or the middle of the
            // extent at 0. The quoted tetrahedron has 7 digits.
            const double tol = (e.index == 0 ? 1e-6 : 1e-9) * size;
            EXPECT_LT(std::hypot(c.x, c.y), tol);
            EXPECT_LT(std::min(std::abs(c.z), std::abs(lo.z + hi.z) / 2), tol);
        } else if (e.category == 2) {
            EXPECT_LT(norm(c), 1e-9 * size);
        } else {
            // Johnson solids: centred on their main axis (stored turned); the origin lies well inside.
            EXPECT_LT(norm(c), 0.25 * size);
        }
    }
}

// The dual-boundary property (each dual face in boundary order before any cutting), on the data as the
// program reads it: the body's recipe without its cutting steps.
TEST(CatalogueData, DualFacesFollowTheirBoundary) {
    for (const Expected* ep : bodies(false)) {
        const Expected& e = *ep;
        SCOPED_TRACE(label(e));
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        auto m = modelOf(s);
        kesmora::DualRecipe recipe = kesmora::dualRecipeFor(sectionCategory(e.category), e.index, e.name);
        recipe.cutPentagons = recipe.cutQuadrilaterals = false;
        kesmora::dualbilden(*m, recipe);
        ASSERT_EQ(m->dual.faces.size(), e.v);
        expectDualFacesFollowTheirBoundary(s, *m);
    }
}

TEST(CatalogueData, DualFaceCountsMatchSolidsMd) {
    for (const Expected* ep : bodies(false)) {
        const Expected& e = *ep;
        if (e.dual < 0) continue; // Johnson 85 and 89: tie-dependent
        SCOPED_TRACE(label(e));
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        auto m = modelOf(s);
        kesmora::dualbilden(*m, kesmora::dualRecipeFor(sectionCategory(e.category), e.index, e.name));
        EXPECT_EQ(m->dual.faces.size(), e.dual);
        EXPECT_EQ(m->dual.vertices.size(), e.f);
    }
}

TEST(CatalogueData, ExtendedTrapezohedronGivesTenTriangles) {
    const Expected& e = find(0, "erweitertes Trapezoeder");
    ASSERT_EQ(e.index, 44);
    Solid s;
    std::string why;
    ASSERT_TRUE(loadSolid(e, s, why)) << why;
    auto m = modelOf(s);
    kesmora::dualbilden(*m, kesmora::dualRecipeFor(Category::Polyeder, 44, e.name));
    EXPECT_EQ(m->dual.faces.size(), 10);
    for (int i = 0; i < m->dual.faces.size(); ++i)
        EXPECT_EQ(m->dual.faces[i].size(), 3u) << i;
}

TEST(CatalogueData, LargestBodies) {
    {
        const Expected& e = find(2, "Ikosidodekaederstumpf");
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        EXPECT_EQ(s.v.size(), 120u);
        auto m = modelOf(s);
        kesmora::dualbilden(*m, kesmora::dualRecipeFor(Category::Archimedean, e.index, e.name));
        EXPECT_EQ(m->dual.faces.size(), 120);
    }
    {
        const Expected& e = find(2, "Disdyakistriacontaeder");
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        EXPECT_EQ(s.f.size(), 120u);
        auto m = modelOf(s);
        kesmora::dualbilden(*m, kesmora::dualRecipeFor(Category::Archimedean, e.index, e.name));
        EXPECT_EQ(m->dual.vertices.size(), 120);
    }
    int maxCode = 0;
    for (const auto& [id, blk] : faceFile().blocks)
        for (const std::string& l : blk.content)
            for (unsigned char ch : l)
                maxCode = std::max(maxCode, static_cast<int>(ch));
    EXPECT_LE(maxCode, 167);
}

// For the antiprisms and the Archimedean solids the dual vertices lie at the poles of the face
// planes with respect to the circumsphere.
TEST(CatalogueData, PoleRescaledDualVerticesLieAtThePoles) {
    int checked = 0;
    for (const Expected* ep : bodies(false)) {
        const Expected& e = *ep;
        const bool pole =
            (e.category == 2 && e.index < 13) || std::string(e.name).find("Antiprisma") != std::string::npos;
        if (!pole) continue;
        SCOPED_TRACE(label(e));
        ++checked;
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        auto m = modelOf(s);
        kesmora::dualbilden(*m, kesmora::dualRecipeFor(sectionCategory(e.category), e.index, e.name));
        const double size = sizeOf(s);
        for (std::size_t f = 0; f < s.f.size(); ++f) {
            const Point3D n = newellNormal(s, s.f[f]);
            const double d = dot(centroidOf(s, s.f[f]), n);
            const double r2 = dot(s.v[s.f[f][0]], s.v[s.f[f][0]]);
            const Point3D expected = (r2 / d) * n;
            const kesmora::Point3D& got = m->dual.vertices[f];
            EXPECT_LT(norm(Point3D{got.x, got.y, got.z} - expected), 1e-9 * size) << "face " << f;
        }
    }
    EXPECT_EQ(checked, 12 + 9);
}

// Every position of the three categories (68, 26 and 92 bodies) has its blocks: the face block,
// and the coordinate block unless the generators make the vertices; and the listed and hidden
// tables together name each position once.
TEST(CatalogueData, EveryBodyOfTheCatalogueHasItsBlocks) {
    std::set<std::pair<int, int>> named;
    for (const Expected& e : kExpected)
        EXPECT_TRUE(named.insert({e.category, e.index}).second) << label(e);
    for (const Hidden& h : kHidden) {
        EXPECT_TRUE(named.insert({h.e.category, h.e.index}).second) << label(h.e);
        EXPECT_EQ(kesmora::dispatchFor(sectionCategory(h.e.category), h.e.index)->blockId, h.e.block) << label(h.e);
    }
    EXPECT_EQ(named.size(), 186u);
    for (const auto& [category, count] : {std::pair{0, 68}, {2, 26}, {3, 92}})
        for (int index = 0; index < count; ++index) {
            SCOPED_TRACE("category " + std::to_string(category) + " index " + std::to_string(index));
            EXPECT_TRUE(named.count({category, index}));
            const auto d = kesmora::dispatchFor(sectionCategory(category), index);
            ASSERT_TRUE(d.has_value());
            EXPECT_TRUE(faceFile().blocks.count(d->blockId)) << d->blockId;
            EXPECT_EQ(coordFile().blocks.count(d->blockId), d->generated ? 0u : 1u) << d->blockId;
        }
}
