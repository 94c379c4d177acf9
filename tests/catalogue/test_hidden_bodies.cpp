// The 38 bodies excluded.txt keeps out of the lists, as a user gets them who empties that file:
// every one builds with its dual, draws in every mode the same whether covered faces are left out
// or not, and the net command unfolds it or says why it has no net.
#include "section_category.h"
#include "bodies/build.h"
#include "catalogue_data.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"
#include "export/unfold.h"
#include "inspector_process.h"
#include "modelchecks.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

const CatalogueTables& shipped() {
    static const CatalogueTables t = LoadCatalogueTables(KESMORA_DATA_DIR);
    return t;
}

// The shipped tables with excluded.txt emptied, as a user who wants every body edits it.
const CatalogueTables& everything() {
    static const CatalogueTables t = [] {
        CatalogueTables all = shipped();
        all.excludedNames.lines.clear();
        all.excludedInCatalogue.clear();
        return all;
    }();
    return t;
}

struct Body {
    Category category;
    std::string name; // Latin-1, as in the tables
    SolidModel model;
};

const std::vector<Body>& hiddenBodies() {
    static const std::vector<Body> bodies = [] {
        std::vector<Body> out;
        for (Category category : kCategories) {
            const auto listed = fillBodyList(shipped(), category);
            const std::set<std::string> shown(listed.begin(), listed.end());
            for (const std::string& name : fillBodyList(everything(), category)) {
                if (shown.count(name)) continue;
                Selection s;
                s.currentCategory = category;
                neuwert(s, everything(), name);
                out.push_back({category, name, buildSolid(everything(), s, name)});
            }
        }
        return out;
    }();
    return bodies;
}

std::string label(const Body& b) {
    return std::to_string(sectionNumber(b.category)) + " " + latin1ToUtf8(b.name);
}

bool hasTwoVerticesOnOnePoint(const SolidModel& m) {
    for (int j = 1; j < m.solid.vertices.size(); ++j)
        for (int i = 0; i < j; ++i)
            if (norm(m.solid.vertices[j] - m.solid.vertices[i]) < 1e-9) return true;
    return false;
}

} // namespace

// Compounds keep a vertex of their own per component where components touch: "fünf Würfel" (every
// corner of its dodecahedron on two cubes) and the Sierpinski tetrahedron (corners of touching
// tetrahedra). They build like any other body.
TEST(HiddenBodies, EveryOneBuildsWithItsDual) {
    ASSERT_EQ(hiddenBodies().size(), 38u);
    int touching = 0;
    for (const Body& b : hiddenBodies()) {
        SCOPED_TRACE(label(b));
        EXPECT_NEAR(kesmora::testing::largestCoordinate(b.model), 200.0, 1e-9);
        EXPECT_EQ(b.model.dual.vertices.size(), b.model.solid.faces.size());
        EXPECT_GE(b.model.dual.faces.size(), b.model.solid.vertices.size());
        touching += hasTwoVerticesOnOnePoint(b.model);
    }
    EXPECT_EQ(touching, 2);
}

// Leaving out the faces that later faces paint over must not change a pixel, for the compounds,
// star bodies and surfaces with holes as for the convex solids.
TEST(HiddenBodies, EveryModeTheSameWithAndWithoutCoveredFaces) {
    std::mt19937 random(16);
    std::uniform_real_distribution<double> angle(0.0, 360.0);
    const QSize size(360, 200);
    for (const Body& b : hiddenBodies()) {
        for (int turn = 0; turn < 3; ++turn) {
            SolidModel m = b.model;
            if (turn > 0) rechnen(m, angle(random), angle(random), angle(random));
            for (DrawMode mode : kDrawModes) {
                RenderSettings settings;
                settings.mode = mode;
                QImage left, all;
                SceneRenderer().renderScene(left, size, m, settings);
                settings.leaveOutCovered = false;
                SceneRenderer().renderScene(all, size, m, settings);
                EXPECT_TRUE(left == all)
                    << label(b) << " turn " << turn << " mode " << static_cast<int>(mode);
            }
        }
    }
}

// A pentagram turns the same way at every corner, but twice round: it is no convex polygon.
TEST(HiddenBodies, APentagramIsNoConvexPolygon) {
    Polygon pentagon, pentagram;
    for (int k = 0; k < 5; ++k) {
        const double a = 2 * std::numbers::pi * k / 5, b = 2 * std::numbers::pi * (2 * k % 5) / 5;
        pentagon.push_back(QPointF(std::cos(a), std::sin(a)));
        pentagram.push_back(QPointF(std::cos(b), std::sin(b)));
    }
    EXPECT_TRUE(isConvex(pentagon, 1e-9));
    EXPECT_FALSE(isConvex(pentagram, 1e-9));
}

// The net command on the hidden bodies: a net where one exists, otherwise a message that says why.
TEST(HiddenBodies, NetOrAClearReasonWhyThereIsNone) {
    ScratchFolder scratch;
    const std::filesystem::path data = scratch.path / "data";
    std::filesystem::create_directories(data);
    for (const char* file : {"catalogue.txt", "coordinates.txt", "faces.txt"})
        std::filesystem::copy_file(std::filesystem::path(KESMORA_DATA_DIR) / file, data / file);
    std::ofstream(data / "excluded.txt") << "Torus\n";
    const QString svg = QString::fromStdString((scratch.path / "net.svg").string());
    auto net = [&](const char* category, const char* name) {
        return inspect({"--data", QString::fromStdString(data.string()), "net", category,
                        QString::fromUtf8(name), "-o", svg});
    };
    struct Case {
        const char* category;
        const char* name;
        const char* says; // empty: a net is written
    };
    const Case cases[] = {
        {"0", "quadratische Pyramide", ""},
        {"0", "Hohlquader", ""},
        {"3", "Johnson Polyeder 88", ""},
        {"2", "Dodecaedron simum (abgeschr.Dodekaeder)", ""},
        {"0", "Tetraederstern", "hat kein Netz: Er besteht aus 2 getrennten Körpern"},
        {"0", "fünf Würfel", "hat kein Netz: Er besteht aus 5 getrennten Körpern"},
        {"0", "Sierpinskitetraeder", "hat kein Netz: Er besteht aus 16 getrennten Körpern"},
        {"0", "Kepler-Stern", "hat Sternflächen, die sich selbst schneiden"},
        {"0", "Pentagramm-Prisma", "hat Sternflächen, die sich selbst schneiden"},
        {"0", "Tetrahemihexaeder", "hat kein Netz: Seine Flächen bilden eine einseitige Oberfläche"},
    };
    for (const Case& c : cases) {
        const InspectorResult r = net(c.category, c.name);
        if (*c.says == 0) {
            EXPECT_EQ(r.exitCode, 0) << c.name << ": " << r.err.toStdString();
        } else {
            EXPECT_EQ(r.exitCode, 1) << c.name;
            EXPECT_NE(r.err.toStdString().find(c.says), std::string::npos)
                << c.name << ": " << r.err.toStdString();
        }
    }
}

// The tetrahemihexahedron is a closed surface with one side: OFF and OBJ write its seven faces as
// they stand, STL (whose facet normals point outward) says why it cannot.
TEST(HiddenBodies, AOneSidedSurfaceExportsToOffAndObj) {
    ScratchFolder scratch;
    const std::filesystem::path data = scratch.path / "data";
    std::filesystem::create_directories(data);
    for (const char* file : {"catalogue.txt", "coordinates.txt", "faces.txt"})
        std::filesystem::copy_file(std::filesystem::path(KESMORA_DATA_DIR) / file, data / file);
    std::ofstream(data / "excluded.txt") << "Torus\n";
    auto exported = [&](const char* format, const std::filesystem::path& file) {
        return inspect({"--data", QString::fromStdString(data.string()), "export", "0", "Tetrahemihexaeder",
                        "--format", format, "-o", QString::fromStdString(file.string())});
    };
    const InspectorResult off = exported("off", scratch.path / "t.off");
    ASSERT_EQ(off.exitCode, 0) << off.err.toStdString();
    std::ifstream in(scratch.path / "t.off");
    std::string header;
    int vertices = 0, faces = 0;
    in >> header >> vertices >> faces;
    EXPECT_EQ(header, "OFF");
    EXPECT_EQ(vertices, 6);
    EXPECT_EQ(faces, 7);
    EXPECT_EQ(exported("obj", scratch.path / "t.obj").exitCode, 0);
    const InspectorResult stl = exported("stl", scratch.path / "t.stl");
    EXPECT_EQ(stl.exitCode, 1);
    EXPECT_NE(stl.err.toStdString().find("einseitige Oberfläche"), std::string::npos) << stl.err.toStdString();
    EXPECT_FALSE(std::filesystem::exists(scratch.path / "t.stl"));
}

// The hidden bodies' data as the catalogue defines the bodies: counts, faces, vertex configurations,
// sense, planarity, centring, the dual's counts and boundaries, and which way they stand.
namespace data {

using namespace kesmora::test::catalogue;

TEST(HiddenBodies, CountsFacesVertexConfigurationsAndSense) {
    forEachHiddenSolid([&](const Hidden& h, const Expected& e, const Solid& s) {
        const int nv = static_cast<int>(s.v.size());
        EXPECT_EQ(nv, e.v);
        EXPECT_EQ(static_cast<int>(s.f.size()), e.f);
        for (const auto& face : s.f) {
            ASSERT_GE(face.size(), 3u);
            EXPECT_EQ(std::set<int>(face.begin(), face.end()).size(), face.size()) << "repeated vertex";
            for (int i : face)
                ASSERT_TRUE(i >= 0 && i < nv) << "vertex code out of range";
        }
        const auto ef = edgeFaces(s);
        EXPECT_EQ(static_cast<int>(ef.size()), e.e);
        for (const auto& [edge, fs] : ef)
            EXPECT_EQ(fs.size(), 2u) << "edge " << edge.first << "-" << edge.second;
        EXPECT_EQ(nv - static_cast<int>(ef.size()) + static_cast<int>(s.f.size()), h.euler);
        std::set<Edge> directed;
        for (const auto& face : s.f)
            for (std::size_t k = 0; k < face.size(); ++k)
                directed.insert({face[k], face[(k + 1) % face.size()]});
        bool eachWayOnce = directed.size() == 2 * ef.size();
        for (const auto& [a, b] : directed)
            eachWayOnce = eachWayOnce && directed.count({b, a});
        EXPECT_EQ(eachWayOnce, h.twoSided);

        expectFaceKindsAndVertexConfigurations(s, e);
    });
}

// Planar faces; the regular-faced bodies with equal edges and regular faces (star faces too: their
// corners lie on a circle); the convex ones with every vertex inside every face plane, no two
// neighbours coplanar, and counter-clockwise faces; the others as the catalogue defines them.
TEST(HiddenBodies, PlanarRegularAndConvexWhereDefined) {
    forEachHiddenSolid([&](const Hidden& h, const Expected& e, const Solid& s) {
        const double size = sizeOf(s);
        std::vector<Point3D> normals;
        for (const auto& face : s.f) {
            const Point3D n = newellNormal(s, face);
            const Point3D c = centroidOf(s, face);
            normals.push_back(n);
            for (int i : face)
                EXPECT_LT(std::abs(dot(s.v[i] - c, n)), 1e-9 * size) << "face not planar";
            if (h.convex) {
                for (const Point3D& p : s.v)
                    EXPECT_LT(dot(p - c, n), 1e-9 * size) << "vertex outside a face plane";
                EXPECT_GT(dot(c, n), 0) << "face not counter-clockwise from outside";
            }
        }
        if (h.convex) {
            for (const auto& [edge, fs] : edgeFaces(s)) {
                EXPECT_LT(dot(normals[fs[0]], normals[fs[1]]), 1 - 1e-9) << "coplanar neighbours";
            }
        }
        if (!e.regular) return;
        double lo = 1e300, hi = 0;
        for (const auto& [edge, fs] : edgeFaces(s)) {
            const double l = norm(s.v[edge.first] - s.v[edge.second]);
            lo = std::min(lo, l);
            hi = std::max(hi, l);
        }
        EXPECT_LT((hi - lo) / hi, 1e-9);
        for (const auto& face : s.f) {
            const Point3D c = centroidOf(s, face);
            double rlo = 1e300, rhi = 0;
            for (int i : face) {
                rlo = std::min(rlo, norm(s.v[i] - c));
                rhi = std::max(rhi, norm(s.v[i] - c));
            }
            EXPECT_LT((rhi - rlo) / rhi, 1e-9) << "face not regular";
        }
    });
}

// Category 0 on its z axis (vertex centroid or middle of the extent at 0), the rest at their vertex
// centroid; exactly where the dual puts its vertices at the poles of the face planes (the snub
// dodecahedron; "Doppelantiprisma" does not take the antiprisms' poles, its name has a small "a").
TEST(HiddenBodies, Centred) {
    forEachHiddenSolid([&](const Hidden& , const Expected& e, const Solid& s) {
        const double size = sizeOf(s);
        Point3D c;
        double lo = 1e300, hi = -1e300;
        for (const Point3D& p : s.v) {
            c = c + p;
            lo = std::min(lo, p.z);
            hi = std::max(hi, p.z);
        }
        c = (1.0 / s.v.size()) * c;
        if (kesmora::dualRecipeFor(sectionCategory(e.category), e.index, e.name).poleRescaling) {
            EXPECT_LT(norm(c), 1e-12 * size) << c.x << " " << c.y << " " << c.z;
        } else if (e.category == 0) {
            EXPECT_LT(std::hypot(c.x, c.y), 1e-9 * size);
            EXPECT_LT(std::min(std::abs(c.z), std::abs(lo + hi) / 2), 1e-9 * size);
        } else {
            EXPECT_LT(norm(c), 1e-9 * size);
        }
    });
    int exact = 0;
    for (const Hidden& h : kHidden)
        exact += kesmora::dualRecipeFor(sectionCategory(h.e.category), h.e.index, h.e.name).poleRescaling;
    EXPECT_EQ(exact, 1);
}

TEST(HiddenBodies, DualFaceCounts) {
    forEachHiddenSolid([&](const Hidden& , const Expected& e, const Solid& s) {
        auto m = modelOf(s);
        kesmora::dualbilden(*m, kesmora::dualRecipeFor(sectionCategory(e.category), e.index, e.name));
        EXPECT_EQ(m->dual.faces.size(), e.dual);
        EXPECT_EQ(m->dual.vertices.size(), e.f);
    });
}

// The dual-boundary property on the hidden bodies, before any cutting. The snub dodecahedron's
// nearest-neighbour chains leave the boundary; the walk round each vertex puts them right.
TEST(HiddenBodies, DualFacesFollowTheirBoundary) {
    forEachHiddenSolid([&](const Hidden& , const Expected& e, const Solid& s) {
        auto m = modelOf(s);
        kesmora::DualRecipe recipe = kesmora::dualRecipeFor(sectionCategory(e.category), e.index, e.name);
        recipe.cutPentagons = recipe.cutQuadrilaterals = false;
        kesmora::dualbilden(*m, recipe);
        expectDualFacesFollowTheirBoundary(s, *m);
    });
}

// Pyramids and frusta are stored with their top at -z, which the tilt shows in the upper part of
// the picture: the apex alone at the lowest z, on the axis; the frusta's small face at -z.
TEST(HiddenBodies, PyramidApexesAndSmallEndsAtMinusZ) {
    for (const Hidden& h : kHidden) {
        const Expected& e = h.e;
        const bool pyramid = e.category == 0 && ((e.index >= 6 && e.index <= 9) || e.index == 65);
        const bool frustum = e.category == 0 && e.index >= 10 && e.index <= 12;
        if (!pyramid && !frustum) continue;
        SCOPED_TRACE(label(e));
        Solid s;
        std::string why;
        ASSERT_TRUE(loadSolid(e, s, why)) << why;
        const double size = sizeOf(s);
        double lo = 1e300;
        for (const Point3D& p : s.v)
            lo = std::min(lo, p.z);
        std::vector<int> lowest;
        for (int i = 0; i < static_cast<int>(s.v.size()); ++i)
            if (s.v[i].z < lo + 1e-9 * size) lowest.push_back(i);
        if (pyramid) {
            ASSERT_EQ(lowest.size(), 1u);
            EXPECT_LT(std::hypot(s.v[lowest[0]].x, s.v[lowest[0]].y), 1e-9 * size);
        } else {
            double areaLow = 0, areaHigh = 0;
            for (const auto& face : s.f) {
                Point3D n;
                for (std::size_t k = 0; k < face.size(); ++k)
                    n = n + cross(s.v[face[k]], s.v[face[(k + 1) % face.size()]]);
                const double z = centroidOf(s, face).z;
                if (std::abs(n.x) + std::abs(n.y) < 1e-9 * norm(n)) // an end face, across the axis
                    (z < 0 ? areaLow : areaHigh) = norm(n) / 2;
            }
            EXPECT_GT(areaLow, 0);
            EXPECT_LT(areaLow, areaHigh);
        }
    }
}


} // namespace data
