// The properties of solids and duals as the properties window words them, against figures known
// from geometry, and the names of the duals.
#include "section_category.h"
#include "bodies/build.h"
#include "bodies/dualname.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"
#include "export/properties.h"
#include "geometry/dual.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

using namespace kesmora;

namespace {

const CatalogueTables& tables() {
    static const CatalogueTables t = LoadCatalogueTables(KESMORA_DATA_DIR);
    return t;
}

struct Built {
    SolidModel model;
    Selection selection;
};

// The body built as a click in the body list builds it; names in UTF-8.
Built build(int category, const std::string& utf8Name) {
    Built b;
    b.selection.currentCategory = sectionCategory(category);
    const std::string name = utf8ToLatin1(utf8Name);
    neuwert(b.selection, tables(), name);
    b.model = buildSolid(tables(), b.selection, name);
    return b;
}

// Label -> (solid, dual), as the window shows them.
std::map<std::string, std::pair<std::string, std::string>> rowsOf(const Built& b, const std::string& name) {
    const std::string dualName =
        latin1ToUtf8(dualNameFor(tables(), b.selection.currentCategory, b.selection.bodyIndex));
    std::map<std::string, std::pair<std::string, std::string>> rows;
    for (const PropertyRow& r :
         propertyRows(name, dualName, solidProperties(b.model), dualProperties(b.model)))
        rows[r.label] = {r.solid, r.dual};
    return rows;
}

} // namespace

TEST(Properties, CubeAndItsOctahedron) {
    const Built b = build(0, "Hexaeder, Würfel");
    auto rows = rowsOf(b, "Hexaeder, Würfel");
    EXPECT_EQ(rows["Name"], std::make_pair(std::string("Hexaeder, Würfel"), std::string("Oktaeder")));
    EXPECT_EQ(rows["Ecken"], std::make_pair(std::string("8"), std::string("6")));
    EXPECT_EQ(rows["Kanten"], std::make_pair(std::string("12"), std::string("12")));
    EXPECT_EQ(rows["Flächen"], std::make_pair(std::string("6"), std::string("8")));
    EXPECT_EQ(rows["Flächenarten"], std::make_pair(std::string("6 Vierecke"), std::string("8 Dreiecke")));
    EXPECT_EQ(rows["Eckenkonfigurationen"], std::make_pair(std::string("8\u00a0×\u00a04.4.4"), std::string("6\u00a0×\u00a03.3.3.3")));
    EXPECT_EQ(rows["E − K + F"].first, "8 − 12 + 6 = 2");
    EXPECT_EQ(rows["E − K + F"].second, "6 − 12 + 8 = 2");
    EXPECT_EQ(rows["Kantenlängen (kürzeste = 1)"].first, "1 (12\u00a0Kanten)");
    EXPECT_EQ(rows["Kantenlängen (kürzeste = 1)"].second, "1 (12\u00a0Kanten)");
    // Octahedron: arccos(-1/3) = 109.47°, surface 2 sqrt 3, volume sqrt 2 / 3 for edge 1.
    EXPECT_EQ(rows["Flächenwinkel"], std::make_pair(std::string("90° (12\u00a0Kanten)"), std::string("109,47° (12\u00a0Kanten)")));
    EXPECT_EQ(rows["Oberfläche"].first, "6 (Kantenlänge 1)");
    EXPECT_EQ(rows["Volumen"].first, "1 (Kantenlänge 1)");
    EXPECT_EQ(rows["Oberfläche"].second, "3,4641 (Kantenlänge 1)");
    EXPECT_EQ(rows["Volumen"].second, "0,4714 (Kantenlänge 1)");
    EXPECT_EQ(rows["Konvex"], std::make_pair(std::string("ja"), std::string("ja")));
    EXPECT_EQ(rows["Alle Flächen eben"], std::make_pair(std::string("ja"), std::string("ja")));
}

TEST(Properties, IcosidodecahedronAndRhombicTriacontahedron) {
    const Built b = build(2, "Ikosidodekaeder");
    auto rows = rowsOf(b, "Ikosidodekaeder");
    EXPECT_EQ(rows["Name"].second, "Rhomben-30-Flächner");
    EXPECT_EQ(rows["Ecken"], std::make_pair(std::string("30"), std::string("32")));
    EXPECT_EQ(rows["Kanten"], std::make_pair(std::string("60"), std::string("60")));
    EXPECT_EQ(rows["Flächen"], std::make_pair(std::string("32"), std::string("30")));
    EXPECT_EQ(rows["Flächenarten"].first, "20 Dreiecke, 12 Fünfecke");
    EXPECT_EQ(rows["Flächenarten"].second, "30 Vierecke");
    EXPECT_EQ(rows["Eckenkonfigurationen"].first, "30\u00a0×\u00a03.5.3.5");
    EXPECT_EQ(rows["Eckenkonfigurationen"].second, "20\u00a0×\u00a04.4.4, 12\u00a0×\u00a04.4.4.4.4");
    // Icosidodecahedron: dihedral arccos(-sqrt((5 + 2 sqrt 5) / 15)) = 142.62°, surface
    // 5 sqrt 3 + 3 sqrt(25 + 10 sqrt 5) = 29.3060, volume (45 + 17 sqrt 5) / 6 = 13.8355.
    // Rhombic triacontahedron: 144° at every edge, golden rhombi of equal edges.
    EXPECT_EQ(rows["Flächenwinkel"], std::make_pair(std::string("142,62° (60\u00a0Kanten)"), std::string("144° (60\u00a0Kanten)")));
    EXPECT_EQ(rows["Oberfläche"].first, "29,306 (Kantenlänge 1)");
    EXPECT_EQ(rows["Volumen"].first, "13,8355 (Kantenlänge 1)");
    EXPECT_EQ(rows["Kantenlängen (kürzeste = 1)"].second, "1 (60\u00a0Kanten)");
    // Rhombic triacontahedron of edge 1: surface 12 sqrt 5 = 26.8328, volume 4 sqrt(5 + 2 sqrt 5).
    EXPECT_EQ(rows["Oberfläche"].second, "26,8328 (Kantenlänge 1)");
    EXPECT_EQ(rows["Volumen"].second, "12,3107 (Kantenlänge 1)");
    EXPECT_EQ(rows["Konvex"], std::make_pair(std::string("ja"), std::string("ja")));
    EXPECT_EQ(rows["Alle Flächen eben"], std::make_pair(std::string("ja"), std::string("ja")));
}

TEST(Properties, JohnsonSolidAndItsQuasiDual) {
    // J54: a hexagonal prism with a square pyramid on one square. Around the apex four triangles;
    // at the square's corners triangle, triangle, square, hexagon; the other eight as in the prism.
    const Built b = build(3, "Johnson Polyeder 54");
    auto rows = rowsOf(b, "Johnson Polyeder 54");
    EXPECT_EQ(rows["Name"].second, "Quasi-Dual");
    EXPECT_EQ(rows["Flächenarten"].first, "4 Dreiecke, 5 Vierecke, 2 Sechsecke");
    EXPECT_EQ(rows["Eckenkonfigurationen"].first, "8\u00a0×\u00a04.4.6, 1\u00a0×\u00a03.3.3.3, 4\u00a0×\u00a03.3.4.6");
    EXPECT_EQ(rows["E − K + F"].first, "13 − 22 + 11 = 2");
    EXPECT_EQ(rows["Kantenlängen (kürzeste = 1)"].first, "1 (22\u00a0Kanten)");
    EXPECT_EQ(rows["Alle Flächen eben"].first, "ja");
    // The quasi-dual: the dual faces of the five vertices where four faces meet are cut in two.
    EXPECT_EQ(rows["Ecken"].second, "11");
    EXPECT_EQ(rows["Flächen"].second, "18");
    EXPECT_EQ(rows["Flächenarten"].second, "18 Dreiecke");
    EXPECT_EQ(rows["E − K + F"].second, "11 − 27 + 18 = 2");
    EXPECT_EQ(rows["Alle Flächen eben"].second, "ja; 5 Flächen in 10 Dreiecke geteilt");
    // Not all its edges are equal: the surface is measured against the longest.
    EXPECT_NE(rows["Oberfläche"].second.find("(längste Kante 1)"), std::string::npos);

    // J7 keeps the dual whole: nothing is reported cut.
    auto whole = rowsOf(build(3, "Johnson Polyeder 07"), "Johnson Polyeder 07");
    EXPECT_EQ(whole["Flächen"].second, "7");
    EXPECT_EQ(whole["Alle Flächen eben"].second.find("geteilt"), std::string::npos);

    // J23: eight dual pentagons are cut into a triangle and a quadrilateral and then every
    // quadrilateral in two; the twelve quadrilateral dual faces of its other vertices in two.
    auto j23 = rowsOf(build(3, "Johnson Polyeder 23"), "Johnson Polyeder 23");
    EXPECT_EQ(j23["Flächen"].second, "48");
    EXPECT_EQ(j23["Alle Flächen eben"].second, "ja; 20 Flächen in 48 Dreiecke geteilt");

    // J17: its eight dual pentagons are cut into a triangle and a quadrilateral each, and the
    // quadrilaterals stay; the two apexes' dual squares stay whole.
    auto j17 = rowsOf(build(3, "Johnson Polyeder 17"), "Johnson Polyeder 17");
    EXPECT_EQ(j17["Flächenarten"].second, "8 Dreiecke, 10 Vierecke");
    EXPECT_EQ(j17["Alle Flächen eben"].second, "ja; 8 Flächen in 8 Dreiecke und 8 Vierecke geteilt");
}

// An L-shaped prism of height 1: the L is a 2 x 2 square without a 1 x 1 corner. Its known
// figures: one reflex edge of 270°, area 2 * 3 + 8 * 1 = 14, volume 3; measured against the longest
// edge 2.
TEST(Properties, NonConvexBody) {
    const double lx[] = {0, 2, 2, 1, 1, 0}, ly[] = {0, 0, 1, 1, 2, 2};
    SolidModel m;
    for (double z : {0.0, 1.0})
        for (int i = 0; i < 6; ++i)
            m.solid.vertices.push_back({lx[i], ly[i], z});
    auto face = [](std::initializer_list<int> corners) { return std::vector<int>(corners); };
    m.solid.faces.push_back(face({5, 4, 3, 2, 1, 0}));
    m.solid.faces.push_back(face({6, 7, 8, 9, 10, 11}));
    for (int i = 0; i < 6; ++i)
        m.solid.faces.push_back(face({i, (i + 1) % 6, (i + 1) % 6 + 6, i + 6}));
    m.solid.faceRecords.resize(m.solid.faces.size());
    dualbilden(m, DualRecipe{});

    const FigureProperties p = solidProperties(m);
    const auto rows = propertyRows("L", "dualer Körper", p, dualProperties(m));
    std::map<std::string, std::string> solid;
    for (const PropertyRow& r : rows)
        solid[r.label] = r.solid;
    EXPECT_EQ(solid["Konvex"], "nein");
    EXPECT_EQ(solid["Alle Flächen eben"], "ja");
    EXPECT_EQ(solid["Flächenarten"], "6 Vierecke, 2 Sechsecke");
    EXPECT_EQ(solid["Eckenkonfigurationen"], "12\u00a0×\u00a04.4.6");
    EXPECT_EQ(solid["E − K + F"], "12 − 18 + 8 = 2");
    EXPECT_EQ(solid["Kantenlängen (kürzeste = 1)"], "1 (14\u00a0Kanten), 2 (4\u00a0Kanten)");
    EXPECT_EQ(solid["Flächenwinkel"], "90° (17\u00a0Kanten), 270° (1\u00a0Kante)");
    EXPECT_EQ(solid["Oberfläche"], "3,5 (längste Kante 1)");
    EXPECT_EQ(solid["Volumen"], "0,375 (längste Kante 1)");

    // Turned and scaled as the view does it, the figures stay.
    for (int i = 0; i < m.solid.vertices.size(); ++i) {
        Point3D& v = m.solid.vertices[i];
        v = {37 * (0.6 * v.x - 0.8 * v.y), 37 * (0.8 * v.x + 0.6 * v.y), 37 * v.z};
    }
    const FigureProperties turned = solidProperties(m);
    EXPECT_NEAR(turned.stats.volume / std::pow(turned.stats.longestEdge, 3), 0.375, 1e-12);
    EXPECT_FALSE(turned.stats.convex);
}

// An open surface has no volume, and the cut count of a dual that was not cut is zero.
TEST(Properties, OpenSurfaceHasNoVolume) {
    const Built b = build(0, "Hexaeder, Würfel");
    SolidModel open = b.model;
    open.solid.faces.resize(5);
    open.solid.faceRecords.resize(5);
    const FigureProperties p = solidProperties(open);
    const auto rows = propertyRows("", "", p, p);
    const auto volume = std::find_if(rows.begin(), rows.end(), [](const PropertyRow& r) { return r.label == "Volumen"; });
    ASSERT_NE(volume, rows.end());
    EXPECT_EQ(volume->solid, "– (Oberfläche nicht geschlossen)");
    EXPECT_EQ(dualProperties(b.model).cutFaces, 0);
}

TEST(DualNames, PlatonicArchimedeanAndCatalanPairs) {
    struct Pair {
        int category;
        const char* body;
        const char* dual;
    };
    // The textbook pairs.
    for (const Pair& p : {Pair{0, "Tetraeder", "Tetraeder"}, Pair{0, "Hexaeder, Würfel", "Oktaeder"},
                          Pair{0, "Oktaeder", "Hexaeder, Würfel"}, Pair{0, "Ikosaeder", "Pentagondodekaeder"},
                          Pair{0, "Pentagondodekaeder", "Ikosaeder"}, Pair{2, "Kuboktaeder", "Rhombendodekaeder"},
                          Pair{2, "Ikosidodekaeder", "Rhomben-30-Flächner"},
                          Pair{2, "Rhombenikosidodekaeder", "Deltoid-60-Flächner"},
                          Pair{2, "Rhombenkuboktaeder", "Deltoid-24-Flächner"},
                          Pair{2, "Cubus simus (abgeschr.Hexaeder)", "Pentagon-24-Flächner"},
                          Pair{2, "Ikosaederstumpf", "Pyramidendodekaeder"},
                          Pair{2, "Ikosidodekaederstumpf", "Disdyakistriacontaeder"},
                          Pair{2, "Kuboktaederstumpf", "Disdyakisdodecaeder"},
                          Pair{2, "Hexaederstumpf", "Pyramidenoktaeder"}, Pair{2, "Oktaederstumpf", "Pyramidenwürfel"},
                          Pair{2, "Tetraederstumpf", "Pyramidentetraeder"},
                          Pair{2, "Dodekaederstumpf", "Pyramidenikosaeder"},
                          Pair{2, "Pentagon-60-Flächner", "Dodecaedron simum (abgeschr.Dodekaeder)"},
                          Pair{2, "Rhomben-30-Flächner", "Ikosidodekaeder"},
                          Pair{0, "Quader", "dualer Körper"}, Pair{0, "fünfseitiges Antiprisma", "dualer Körper"},
                          // A prism's dual is the double pyramid over its polygon; a star prism's is none.
                          Pair{0, "sechsseitiges Prisma", "sechsseitige Doppelpyramide"},
                          Pair{0, "fünfseitiges Prisma", "fünfseitige Doppelpyramide"},
                          Pair{0, "quadratisches Prisma", "quadratische Doppelpyramide"},
                          Pair{0, "Pentagramm-Prisma", "dualer Körper"},
                          Pair{3, "Johnson Polyeder 54", "Quasi-Dual"}, Pair{3, "Johnson Polyeder 07", "Quasi-Dual"}}) {
        Selection s;
        s.currentCategory = sectionCategory(p.category);
        neuwert(s, tables(), utf8ToLatin1(p.body));
        EXPECT_EQ(latin1ToUtf8(dualNameFor(tables(), sectionCategory(p.category), s.bodyIndex)), p.dual) << p.body;
    }
}

// With the polar reciprocal shown, the partner is named wherever the midsphere pairs two catalogue
// bodies, antiprisms and trapezohedra included; a Johnson solid's dual is no quasi-dual then.
TEST(DualNames, ThePolarReciprocalShownNamesItsPartner) {
    struct Case {
        int category;
        const char* body;
        const char* dual;
    };
    for (const Case& c : {Case{0, "Hexaeder, Würfel", "Oktaeder (polar reziproker Körper)"},
                          Case{0, "fünfseitiges Antiprisma", "fünfseitiges Trapezoeder (polar reziproker Körper)"},
                          Case{2, "Tetraederstumpf", "Pyramidentetraeder (polar reziproker Körper)"},
                          Case{0, "Quader", "polar reziproker Körper"},
                          Case{0, "dreiseitiges Prisma", "dreiseitige Doppelpyramide (polar reziproker Körper)"},
                          Case{3, "Johnson Polyeder 54", "polar reziproker Körper"}}) {
        Selection s;
        s.currentCategory = sectionCategory(c.category);
        neuwert(s, tables(), utf8ToLatin1(c.body));
        EXPECT_EQ(latin1ToUtf8(dualNameFor(tables(), sectionCategory(c.category), s.bodyIndex, DualShape::PolarReciprocal)),
                  c.dual)
            << c.body;
        // The catalogue's construction keeps the names it had.
        EXPECT_EQ(dualNameFor(tables(), sectionCategory(c.category), s.bodyIndex, catalogueDualShape(sectionCategory(c.category))),
                  dualNameFor(tables(), sectionCategory(c.category), s.bodyIndex))
            << c.body;
    }
}

// Every listed body whose dual the catalogue names: the named solid is the dual's shape, face for
// vertex (the dual's faces by kind are the named solid's, and the other way round).
TEST(DualNames, EveryNamedDualHasTheDualsFaces) {
    int named = 0;
    for (Category category : {Category::Polyeder, Category::Archimedean}) {
        const std::vector<std::string> all = sectionNames(tables(), category);
        for (const std::string& name : categoryNames(tables(), category)) {
            Selection s;
            s.currentCategory = category;
            neuwert(s, tables(), name);
            const std::string dual = dualNameFor(tables(), category, s.bodyIndex);
            if (dual == kPlainDualName) continue;
            if (dualPartnerIndex(category, s.bodyIndex) < 0) continue; // named for its shape (a prism's)
            if (isExcluded(tables(), dual)) continue; // not listed, so not built here
            ++named;
            const SolidModel body = buildSolid(tables(), s, name);
            Selection t;
            t.currentCategory = category;
            neuwert(t, tables(), dual);
            const SolidModel partner = buildSolid(tables(), t, dual);
            EXPECT_EQ(dualProperties(body).stats.faceTypes, solidProperties(partner).stats.faceTypes)
                << latin1ToUtf8(name) << " / " << latin1ToUtf8(dual);
            EXPECT_EQ(latin1ToUtf8(dualNameFor(tables(), category, t.bodyIndex)), latin1ToUtf8(name));
            EXPECT_EQ(all[static_cast<std::size_t>(t.bodyIndex)], dual);
        }
    }
    EXPECT_EQ(named, 5 + 24); // the Pentagon-60-Flächner's partner is not listed
}

TEST(Properties, GermanNumbersIgnoreTheLocale) {
    EXPECT_EQ(germanNumber(1.41421356, 4), "1,4142");
    EXPECT_EQ(germanNumber(2.0, 4), "2");
    EXPECT_EQ(germanNumber(0.5, 2), "0,5");
    EXPECT_EQ(germanNumber(-0.00001, 2), "0");
    EXPECT_EQ(germanNumber(1234.5, 1), "1234,5");
    EXPECT_EQ(faceKindsText({{3, 1}, {4, 2}, {13, 1}}), "1 Dreieck, 2 Vierecke, 1 13-Eck");
}
