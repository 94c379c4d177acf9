// The values a teacher looks up, measured on the catalogue's bodies: the radii of the three
// spheres, the dihedral angles per kind of edge and the solid angles at the vertices against the
// standard tables of the Platonic and Archimedean solids; closed forms against a table of known
// ones; Schläfli symbols; and no value that is not a number for any body.
#include "bodies/build.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"
#include "export/mesh.h"
#include "export/properties.h"
#include "export/stats.h"
#include "geometry/exactvalue.h"
#include "geometry/point3d.h"

#include <QJsonArray>
#include <QJsonObject>

#include "every_body.h"
#include "section_category.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

using kesmora::testing::build;
using kesmora::testing::everything;

const double r2 = std::sqrt(2.0), r3 = std::sqrt(3.0), r5 = std::sqrt(5.0);

struct Dihedral {
    const char* faces; // "3-4"
    double degrees;
};

// Edge length 1. Radii from the standard formulas; the snub solids' from their tables (the
// roots of their cubic equations). inradius 0: the faces are at more than one distance.
struct Standard {
    int category;
    const char* name;
    double circumradius, midradius, inradius;
    std::vector<Dihedral> dihedrals;
    double solidAngle; // steradians at every vertex; 0: measured independently below
};

const std::vector<Standard>& standards() {
    static const std::vector<Standard> table = {
        {0, "Tetraeder", r2 * r3 / 4, r2 / 4, r2 * r3 / 12, {{"3-3", 70.528779}}, std::acos(23.0 / 27)},
        {0, "Hexaeder, Würfel", r3 / 2, r2 / 2, 0.5, {{"4-4", 90}}, std::numbers::pi / 2},
        {0, "Oktaeder", r2 / 2, 0.5, r2 * r3 / 6, {{"3-3", 109.471221}}, 4 * std::asin(1.0 / 3)},
        {0, "Pentagondodekaeder", r3 * (1 + r5) / 4, (3 + r5) / 4, std::sqrt(250 + 110 * r5) / 20,
         {{"5-5", 116.565051}}, std::numbers::pi - std::atan(2.0 / 11)},
        {0, "Ikosaeder", std::sqrt(10 + 2 * r5) / 4, (1 + r5) / 4, r3 * (3 + r5) / 12, {{"3-3", 138.189685}},
         2 * std::numbers::pi - 5 * std::asin(2.0 / 3)},
        {2, "Tetraederstumpf", std::sqrt(22.0) / 4, 3 * r2 / 4, 0, {{"3-6", 109.471221}, {"6-6", 70.528779}}, 0},
        {2, "Kuboktaeder", 1, r3 / 2, 0, {{"3-4", 125.264390}}, 0},
        {2, "Hexaederstumpf", std::sqrt(7 + 4 * r2) / 2, (2 + r2) / 2, 0, {{"3-8", 125.264390}, {"8-8", 90}}, 0},
        {2, "Oktaederstumpf", std::sqrt(10.0) / 2, 1.5, 0, {{"4-6", 125.264390}, {"6-6", 109.471221}}, 0},
        {2, "Rhombenkuboktaeder", std::sqrt(5 + 2 * r2) / 2, std::sqrt(4 + 2 * r2) / 2, 0,
         {{"3-4", 144.735610}, {"4-4", 135}}, 0},
        {2, "Kuboktaederstumpf", std::sqrt(13 + 6 * r2) / 2, std::sqrt(12 + 6 * r2) / 2, 0,
         {{"4-6", 144.735610}, {"4-8", 135}, {"6-8", 125.264390}}, 0},
        {2, "Cubus simus (abgeschr.Hexaeder)", 1.3437133737446, 1.2472231679936, 0,
         {{"3-3", 153.234588}, {"3-4", 142.983430}}, 0},
        {2, "Ikosidodekaeder", (1 + r5) / 2, std::sqrt(5 + 2 * r5) / 2, 0, {{"3-5", 142.622632}}, 0},
        {2, "Dodekaederstumpf", std::sqrt(74 + 30 * r5) / 4, (5 + 3 * r5) / 4, 0,
         {{"3-10", 142.622632}, {"10-10", 116.565051}}, 0},
        {2, "Ikosaederstumpf", std::sqrt(58 + 18 * r5) / 4, 3 * (1 + r5) / 4, 0,
         {{"5-6", 142.622632}, {"6-6", 138.189685}}, 0},
        {2, "Rhombenikosidodekaeder", std::sqrt(11 + 4 * r5) / 2, std::sqrt(10 + 4 * r5) / 2, 0,
         {{"3-4", 159.094843}, {"4-5", 148.282526}}, 0},
        {2, "Ikosidodekaederstumpf", std::sqrt(31 + 12 * r5) / 2, std::sqrt(30 + 12 * r5) / 2, 0,
         {{"4-6", 159.094843}, {"4-10", 148.282526}, {"6-10", 142.622632}}, 0},
        {2, "Dodecaedron simum (abgeschr.Dodekaeder)", 2.1558373751156, 2.0970538352520, 0,
         {{"3-3", 164.175366}, {"3-5", 152.929920}}, 0},
    };
    return table;
}

// The solid angle at a vertex of a convex body summed from spherical triangles (the formula of
// Van Oosterom and Strackee) over the edge directions in their order around the vertex: another
// way than the program's, which adds the dihedral angles.
double solidAngleAt(const PolyMesh& mesh, int v) {
    std::vector<int> neighbours;
    for (const auto& face : mesh.faces)
        for (std::size_t k = 0; k < face.size(); ++k)
            if (face[k] == v) {
                for (int w : {face[(k + 1) % face.size()], face[(k + face.size() - 1) % face.size()]})
                    if (std::find(neighbours.begin(), neighbours.end(), w) == neighbours.end()) neighbours.push_back(w);
            }
    const Point3D p = mesh.vertices[static_cast<std::size_t>(v)];
    const Point3D axis = unit(p - centroidOfPoints(mesh.vertices));
    std::vector<Point3D> dirs;
    for (int w : neighbours)
        dirs.push_back(unit(mesh.vertices[static_cast<std::size_t>(w)] - p));
    const Point3D u = unit(dirs[0] - dot(dirs[0], axis) * axis), w = cross(axis, u);
    std::sort(dirs.begin(), dirs.end(), [&](const Point3D& a, const Point3D& b) {
        return std::atan2(dot(a, w), dot(a, u)) < std::atan2(dot(b, w), dot(b, u));
    });
    double omega = 0;
    for (std::size_t i = 1; i + 1 < dirs.size(); ++i) {
        const Point3D &a = dirs[0], &b = dirs[i], &c = dirs[i + 1];
        omega += 2 * std::atan2(std::fabs(dot(a, cross(b, c))), 1 + dot(a, b) + dot(b, c) + dot(c, a));
    }
    return omega;
}

} // namespace

// Radii, dihedral angles per kind of edge and solid angles of the 5 Platonic and the 13
// Archimedean solids at edge length 1, against the tables. The catalogue's tetrahedron is stored
// to seven digits: its distances differ by more than the spheres allow, and only their range is
// given (around the table's value).
TEST(Values, PlatonicAndArchimedeanAgainstTheTables) {
    ASSERT_EQ(standards().size(), 18u);
    for (const Standard& t : standards()) {
        SCOPED_TRACE(t.name);
        const SolidModel m = build(t.category, t.name);
        const PolyMesh mesh = solidMesh(m);
        const Stats s = measure(mesh);
        ASSERT_TRUE(s.unitIsEdge);
        const bool stored7 = std::string(t.name) == "Tetraeder";
        auto expectRadius = [&](const RadiusFigure& r, double expected, const char* which) {
            SCOPED_TRACE(which);
            ASSERT_TRUE(r.measured);
            if (expected == 0) {
                EXPECT_FALSE(r.exists);
                EXPECT_GT(r.most - r.least, 1e-3);
                return;
            }
            EXPECT_EQ(r.exists, !stored7);
            EXPECT_NEAR(r.least, expected, stored7 ? 1e-6 : 1e-9);
            EXPECT_NEAR(r.most, expected, stored7 ? 1e-6 : 1e-9);
        };
        expectRadius(s.circumradius, t.circumradius, "circumradius");
        expectRadius(s.midradius, t.midradius, "midradius");
        expectRadius(s.inradius, t.inradius, "inradius");

        ASSERT_EQ(s.dihedralClasses.size(), t.dihedrals.size());
        int edges = 0;
        for (std::size_t i = 0; i < t.dihedrals.size(); ++i) {
            const DihedralClassFigure& d = s.dihedralClasses[i];
            EXPECT_EQ(std::to_string(d.smallerFace) + "-" + std::to_string(d.largerFace), t.dihedrals[i].faces);
            EXPECT_NEAR(d.degrees, t.dihedrals[i].degrees, 1e-5);
            edges += d.count;
        }
        EXPECT_EQ(edges, s.edges);

        ASSERT_EQ(s.solidAngles.size(), 1u) << "one kind of vertex";
        EXPECT_EQ(s.solidAngles[0].count, s.vertices);
        const double expected = t.solidAngle > 0 ? t.solidAngle : solidAngleAt(mesh, 0);
        EXPECT_NEAR(s.solidAngles[0].steradians, expected, 1e-8);
    }
}

// A body with two kinds of vertex and edges folding inward: the Tetraederstern's dihedral angle
// is the tetrahedron's at each edge, and at each of its eight tips three of them meet.
TEST(Values, ClassesOfABodyWithSeveralKinds) {
    const Stats j = measure(solidMesh(build(3, "Johnson Polyeder 01")));
    ASSERT_EQ(j.dihedralClasses.size(), 2u);
    EXPECT_EQ(j.dihedralClasses[0].smallerFace, 3);
    EXPECT_EQ(j.dihedralClasses[0].largerFace, 3);
    EXPECT_NEAR(j.dihedralClasses[0].degrees, 109.471221, 1e-5); // arccos(-1/3)
    EXPECT_EQ(j.dihedralClasses[0].count, 4);
    EXPECT_NEAR(j.dihedralClasses[1].degrees, 54.735610, 1e-5); // arctan(sqrt 2)
    EXPECT_EQ(j.dihedralClasses[1].exact, "arccos(\u221a3/3)");
    ASSERT_EQ(j.solidAngles.size(), 2u);
    EXPECT_EQ(j.solidAngles[0].configuration, (std::vector<int>{3, 3, 4}));
    EXPECT_EQ(j.solidAngles[0].count, 4);
    EXPECT_EQ(j.solidAngles[1].configuration, (std::vector<int>{3, 3, 3, 3}));
    EXPECT_EQ(j.solidAngles[1].count, 1);
    EXPECT_FALSE(j.circumradius.exists); // the apex is nearer the centre of the vertices
    EXPECT_TRUE(j.midradius.measured);

    const Stats star = measure(solidMesh(build(0, "Tetraederstern")));
    ASSERT_EQ(star.dihedralClasses.size(), 1u);
    EXPECT_NEAR(star.dihedralClasses[0].degrees, 70.528779, 1e-5);
    EXPECT_EQ(star.dihedralClasses[0].count, 12);
    ASSERT_EQ(star.solidAngles.size(), 1u);
    EXPECT_NEAR(star.solidAngles[0].steradians, std::acos(23.0 / 27), 1e-8);
}

struct KnownForm {
    int category;
    const char* name;
    const char* what; // "V", "A", "R", "M", "I", "D" (the first dihedral class)
    double value;
    const char* text; // "" where no closed form may be given
};

// Closed forms at edge length 1 from the standard formulas.
const std::vector<KnownForm>& knownForms() {
    static const std::vector<KnownForm> table = {
        {0, "Tetraeder", "V", r2 / 12, "\u221a2/12"},
        {0, "Tetraeder", "A", r3, "\u221a3"},
        {0, "Tetraeder", "D", 1.0 / 3, "arccos(1/3)"},
        {0, "Hexaeder, Würfel", "R", r3 / 2, "\u221a3/2"},
        {0, "Hexaeder, Würfel", "M", r2 / 2, "\u221a2/2"},
        {0, "Hexaeder, Würfel", "I", 0.5, "1/2"},
        {0, "Oktaeder", "V", r2 / 3, "\u221a2/3"},
        {0, "Oktaeder", "A", 2 * r3, "2\u221a3"},
        {0, "Oktaeder", "I", r2 * r3 / 6, "\u221a6/6"},
        {0, "Oktaeder", "D", -1.0 / 3, "arccos(\u22121/3)"},
        {0, "Ikosaeder", "V", 5 * (3 + r5) / 12, "5/12\u00b7(3 + \u221a5)"},
        {0, "Ikosaeder", "A", 5 * r3, "5\u221a3"},
        {0, "Ikosaeder", "R", std::sqrt(10 + 2 * r5) / 4, "\u221a(10 + 2\u221a5)/4"},
        {0, "Ikosaeder", "M", (1 + r5) / 4, "(1 + \u221a5)/4"},
        {0, "Ikosaeder", "I", r3 * (3 + r5) / 12, "\u221a3/12\u00b7(3 + \u221a5)"},
        {0, "Ikosaeder", "D", -r5 / 3, "arccos(\u2212\u221a5/3)"},
        {0, "Pentagondodekaeder", "V", (15 + 7 * r5) / 4, "(15 + 7\u221a5)/4"},
        {0, "Pentagondodekaeder", "A", 3 * std::sqrt(25 + 10 * r5), "3\u00b7\u221a(25 + 10\u221a5)"},
        {0, "Pentagondodekaeder", "R", r3 * (1 + r5) / 4, "\u221a3/4\u00b7(1 + \u221a5)"},
        {0, "Pentagondodekaeder", "M", (3 + r5) / 4, "(3 + \u221a5)/4"},
        {0, "Pentagondodekaeder", "D", -r5 / 5, "arccos(\u2212\u221a5/5)"},
        // The small stellated dodecahedron's enclosed volume: the core dodecahedron of edge
        // 1/φ³ = √5 − 2 and twelve pyramids, 5/4·(7 + 3√5)·(√5 − 2)³.
        {0, "Kepler-Stern", "V", 5 * (5 * r5 - 11) / 4, "5/4\u00b7(5\u221a5 \u2212 11)"},
        {0, "Kepler-Stern", "M", (r5 - 1) / 4, "(\u221a5 \u2212 1)/4"},
        {2, "Kuboktaeder", "V", 5 * r2 / 3, "5\u221a2/3"},
        {2, "Kuboktaeder", "A", 6 + 2 * r3, "2\u00b7(3 + \u221a3)"},
        {2, "Kuboktaeder", "D", -r3 / 3, "arccos(\u2212\u221a3/3)"},
        {2, "Tetraederstumpf", "V", 23 * r2 / 12, "23\u221a2/12"},
        {2, "Tetraederstumpf", "A", 7 * r3, "7\u221a3"},
        {2, "Tetraederstumpf", "R", std::sqrt(22.0) / 4, "\u221a22/4"},
        {2, "Oktaederstumpf", "V", 8 * r2, "8\u221a2"},
        {2, "Oktaederstumpf", "A", 6 + 12 * r3, "6\u00b7(1 + 2\u221a3)"},
        {2, "Oktaederstumpf", "R", std::sqrt(10.0) / 2, "\u221a10/2"},
        {2, "Hexaederstumpf", "V", (21 + 14 * r2) / 3, "7/3\u00b7(3 + 2\u221a2)"},
        {2, "Rhombenkuboktaeder", "V", (12 + 10 * r2) / 3, "2/3\u00b7(6 + 5\u221a2)"},
        {2, "Rhombenkuboktaeder", "A", 18 + 2 * r3, "2\u00b7(9 + \u221a3)"},
        {2, "Ikosidodekaeder", "V", (45 + 17 * r5) / 6, "(45 + 17\u221a5)/6"},
        {2, "Ikosidodekaeder", "R", (1 + r5) / 2, "(1 + \u221a5)/2"},
        {2, "Ikosaederstumpf", "V", (125 + 43 * r5) / 4, "(125 + 43\u221a5)/4"},
        {2, "Ikosaederstumpf", "M", 3 * (1 + r5) / 4, "3/4\u00b7(1 + \u221a5)"},
        {2, "Ikosidodekaederstumpf", "V", 95 + 50 * r5, "5\u00b7(19 + 10\u221a5)"},
        {2, "Cubus simus (abgeschr.Hexaeder)", "A", 6 + 8 * r3, "2\u00b7(3 + 4\u221a3)"},
        // The snub solids' volumes and radii come from cubic equations: no form of this kind.
        {2, "Cubus simus (abgeschr.Hexaeder)", "V", 7.8894773999977, ""},
        {2, "Cubus simus (abgeschr.Hexaeder)", "R", 1.3437133737446, ""},
        {2, "Cubus simus (abgeschr.Hexaeder)", "D", std::cos(153.234588 * std::numbers::pi / 180), ""},
        {2, "Dodecaedron simum (abgeschr.Dodekaeder)", "V", 37.616649962733, ""},
        {2, "Dodecaedron simum (abgeschr.Dodekaeder)", "A", 20 * r3 + 3 * std::sqrt(25 + 10 * r5), ""},
        {2, "Dodecaedron simum (abgeschr.Dodekaeder)", "R", 2.1558373751156, ""},
    };
    return table;
}

// The forms the program recognises in its own measurements: the text of the table, a value that
// agrees with the table's formula to 1e-12, and no form at all for the snub solids' values.
TEST(Values, ClosedFormsAgainstKnownOnes) {
    for (const KnownForm& k : knownForms()) {
        SCOPED_TRACE(std::string(k.name) + " " + k.what);
        const Stats s = measure(solidMesh(build(k.category, k.name)));
        ASSERT_TRUE(s.unitIsEdge);
        const std::string what = k.what;
        double measured = 0;
        std::string text;
        if (what == "V") measured = s.volumeInUnits, text = s.volumeExact;
        if (what == "A") measured = s.surfaceInUnits, text = s.surfaceExact;
        if (what == "R") measured = s.circumradius.least, text = s.circumradius.exact;
        if (what == "M") measured = s.midradius.least, text = s.midradius.exact;
        if (what == "I") measured = s.inradius.least, text = s.inradius.exact;
        if (what == "D") {
            ASSERT_FALSE(s.dihedralClasses.empty());
            measured = std::cos(s.dihedralClasses[0].degrees * std::numbers::pi / 180);
            text = s.dihedralClasses[0].exact;
        }
        // The snub solids' values are the tables' decimals.
        const double agreement = std::string(k.text).empty() ? 1e-7 : 1e-9;
        EXPECT_NEAR(measured, k.value, agreement * std::max(1.0, std::fabs(k.value)));
        EXPECT_EQ(text, k.text);
        QuadraticForm form;
        if (std::string(k.text).empty()) {
            EXPECT_FALSE(recogniseValue(measured, form)) << formText(form);
            continue;
        }
        ASSERT_TRUE(recogniseValue(measured, form));
        EXPECT_NEAR(form.value(), k.value, 1e-12 * std::max(1.0, std::fabs(k.value)));
    }
}

// Forms written out, and numbers without such a form left alone.
TEST(Values, ClosedFormTexts) {
    EXPECT_EQ(exactText((r5 - 1) / 4), "(\u221a5 \u2212 1)/4");
    EXPECT_EQ(exactText(-(1 + r5) / 2), "\u2212(1 + \u221a5)/2");
    EXPECT_EQ(exactText(1 - 2 * r2), "1 \u2212 2\u221a2");
    EXPECT_EQ(exactText(-2.0 / 3), "\u22122/3");
    EXPECT_EQ(exactText(3 * r5 / 10), "3\u221a5/10");
    EXPECT_EQ(exactText(std::sqrt(7.0) / 2), "\u221a7/2");
    EXPECT_EQ(exactText(std::sqrt((7 + 3 * r5) / 24)), "\u221a3/12\u00b7(3 + \u221a5)");
    EXPECT_EQ(exactText(std::sqrt((1 + r2) / 6)), "\u221a(6 + 6\u221a2)/6");
    EXPECT_EQ(exactText(4.0), "");
    EXPECT_EQ(exactAngleText(90), "");
    EXPECT_EQ(exactAngleText(135), "");
    EXPECT_EQ(exactAngleText(std::acos(-r5 / 3) * 180 / std::numbers::pi), "arccos(\u2212\u221a5/3)");
    // The tribonacci constant (the snub cube's), pi, e, the logarithm of 2, the cube root of 2.
    for (double x : {1.839286755214161, std::numbers::pi, std::numbers::e, std::log(2.0), std::cbrt(2.0),
                     std::numbers::pi * std::numbers::pi, 1 / std::numbers::pi})
        EXPECT_EQ(exactText(x), "") << x;
    EXPECT_EQ(exactText(std::nan("")), "");
    EXPECT_EQ(exactText(INFINITY), "");
    EXPECT_EQ(exactAngleText(std::nan("")), "");
}

// {p,q} for the five Platonic solids and their duals as built, {5/2,5} for the small stellated
// dodecahedron; none for a compound of two regular tetrahedra or for a body with two kinds of face.
TEST(Values, SchlaefliSymbols) {
    const std::vector<std::tuple<int, const char*, const char*, const char*>> cases = {
        {0, "Tetraeder", "{3,3}", "{3,3}"},
        {0, "Hexaeder, Würfel", "{4,3}", "{3,4}"},
        {0, "Oktaeder", "{3,4}", "{4,3}"},
        {0, "Pentagondodekaeder", "{5,3}", "{3,5}"},
        {0, "Ikosaeder", "{3,5}", "{5,3}"},
        {0, "Kepler-Stern", "{5/2,5}", nullptr},
        {0, "Tetraederstern", "", nullptr},
        {2, "Kuboktaeder", "", ""},
        {2, "Rhombendodekaeder", "", ""},
        {3, "Johnson Polyeder 84", "", nullptr},
    };
    for (const auto& [category, name, solid, dual] : cases) {
        SCOPED_TRACE(name);
        const SolidModel m = build(category, name);
        EXPECT_EQ(measure(solidMesh(m)).schlaefli, solid);
        if (dual != nullptr) {
            EXPECT_EQ(measure(dualMesh(m)).schlaefli, dual);
        }
    }
}

namespace {

void expectFinite(const QJsonValue& v, const std::string& path) {
    if (v.isDouble()) {
        EXPECT_TRUE(std::isfinite(v.toDouble())) << path;
    }
    if (v.isObject()) {
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            expectFinite(it.value(), path + "." + it.key().toStdString());
    }
    if (v.isArray()) {
        const QJsonArray a = v.toArray();
        for (qsizetype i = 0; i < a.size(); ++i)
            expectFinite(a.at(i), path + "[" + std::to_string(i) + "]");
    }
}

} // namespace

// No body, listed or hidden, solid or dual, gives a value that is not a number, in the rows of
// the window or in the inspector's figures; and every body has its group in the rows.
TEST(Values, NoBodyGivesAnythingButNumbers) {
    const std::regex notANumber("(^|[^a-zA-Z])(nan|inf)([^a-zA-Z]|$)", std::regex::icase);
    int bodies = 0;
    for (int category : {0, 2, 3})
        for (const std::string& name : fillBodyList(everything(), sectionCategory(category))) {
            SCOPED_TRACE(latin1ToUtf8(name));
            ++bodies;
            const SolidModel m = build(category, latin1ToUtf8(name));
            const FigureProperties solid = solidProperties(m), dual = dualProperties(m);
            for (const PropertyRow& row : propertyRows(latin1ToUtf8(name), "dual", solid, dual))
                for (const std::string& text : {row.solid, row.dual}) {
                    EXPECT_FALSE(std::regex_search(text, notANumber)) << row.label << ": " << text;
                    if (row.label == "Symmetriegruppe") {
                        EXPECT_NE(text.find(", Ordnung "), std::string::npos) << text;
                    }
                }
            expectFinite(statsJson(solid.stats), "solid");
            expectFinite(statsJson(dual.stats), "dual");
        }
    EXPECT_EQ(bodies, 186);
}

// The rows as the window words them, for the icosahedron and its dodecahedron.
TEST(Values, RowsOfTheIcosahedron) {
    const SolidModel m = build(0, "Ikosaeder");
    std::map<std::string, std::pair<std::string, std::string>> rows;
    for (const PropertyRow& r : propertyRows("Ikosaeder", "Pentagondodekaeder", solidProperties(m), dualProperties(m)))
        rows[r.label] = {r.solid, r.dual};
    EXPECT_EQ(rows["Symmetriegruppe"], std::make_pair(std::string("Ih, Ordnung 120"), std::string("Ih, Ordnung 120")));
    EXPECT_EQ(rows["Chiral"].first, "nein");
    EXPECT_EQ(rows["Schläfli-Symbol"], std::make_pair(std::string("{3,5}"), std::string("{5,3}")));
    EXPECT_EQ(rows["Flächenwinkel je Kantenart"].first,
              "3\u20133: arccos(\u2212\u221a5/3) \u2248 138,19° (30\u00a0Kanten)");
    EXPECT_EQ(rows["Volumen genau"].first, "5/12\u00b7(3 + \u221a5) \u2248 2,1817");
    EXPECT_EQ(rows["Umkugelradius"].first, "\u221a(10 + 2\u221a5)/4 \u2248 0,9511");
    EXPECT_EQ(rows["Umkugelradius"].second, "\u221a3/4\u00b7(1 + \u221a5) \u2248 1,4013");
    EXPECT_EQ(rows["Raumwinkel an den Ecken"].first, "3.3.3.3.3: 2,6345\u00a0sr (12\u00a0Ecken)");
    EXPECT_EQ(rows["Längen und Flächen bezogen auf"].first, "Kantenlänge 1");
    const SolidModel snub = build(2, "Cubus simus (abgeschr.Hexaeder)");
    rows.clear();
    for (const PropertyRow& r : propertyRows("s", "d", solidProperties(snub), dualProperties(snub)))
        rows[r.label] = {r.solid, r.dual};
    EXPECT_EQ(rows["Symmetriegruppe"].first, "O, Ordnung 24");
    EXPECT_EQ(rows["Chiral"].first, "ja (nicht deckungsgleich mit seinem Spiegelbild)");
    EXPECT_EQ(rows["Volumen genau"].first, "7,8895");
    EXPECT_EQ(rows["Inkugelradius"].first, "\u2013 (Abstände 1,1426 bis 1,2134)");
}

// What the inspector's stats command prints, in text and JSON: the group, the unit, the radii
// with their closed forms or their range, the edge classes and the solid angles.
TEST(Values, InspectorFigures) {
    const Stats s = measure(solidMesh(build(2, "Kuboktaeder")));
    const std::string text = statsText(s, "Kuboktaeder");
    for (const char* line : {"symmetry      Oh (order 48), not chiral\n", "unit          edge length 1\n",
                             "volume        2.3570 = 5\u221a2/3\n", "midradius     0.8660 = \u221a3/2\n",
                             "inradius      none (0.7071 to 0.8165)\n",
                             "edge classes  3-4: 125.26\u00b0 \u00d724 = arccos(\u2212\u221a3/3)\n",
                             "solid angles  3.4.3.4: 2.4619 sr \u00d712\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    const QJsonObject o = statsJson(s);
    EXPECT_EQ(o["symmetry"].toObject()["group"].toString(), "Oh");
    EXPECT_EQ(o["symmetry"].toObject()["order"].toInt(), 48);
    EXPECT_FALSE(o["symmetry"].toObject()["chiral"].toBool());
    const QJsonObject units = o["inUnits"].toObject();
    EXPECT_EQ(units["unit"].toString(), "edgeLength");
    EXPECT_EQ(units["volumeExact"].toString(), QString::fromUtf8("5\u221a2/3"));
    EXPECT_TRUE(units["midradius"].toObject()["exists"].toBool());
    EXPECT_FALSE(units["inradius"].toObject()["exists"].toBool());
    EXPECT_NEAR(units["inradius"].toObject()["max"].toDouble(), std::sqrt(6.0) / 3, 1e-9);
    ASSERT_EQ(o["edgeClasses"].toArray().size(), 1);
    EXPECT_EQ(o["edgeClasses"].toArray()[0].toObject()["faces"].toString(), "3-4");
    EXPECT_EQ(o["solidAngles"].toArray()[0].toObject()["count"].toInt(), 12);
    // Keys the inspector had before stay as they were.
    for (const char* key : {"vertices", "edges", "faces", "faceTypes", "euler", "edgeLength", "dihedralAngles",
                            "closed", "oriented", "convex", "planar", "nonPlanarFaces", "worstFlatness",
                            "degenerateFaces"})
        EXPECT_TRUE(o.contains(key)) << key;

    const QJsonObject snub = statsJson(measure(solidMesh(build(2, "Cubus simus (abgeschr.Hexaeder)"))));
    EXPECT_EQ(snub["symmetry"].toObject()["group"].toString(), "O");
    EXPECT_TRUE(snub["symmetry"].toObject()["chiral"].toBool());
    EXPECT_FALSE(snub["inUnits"].toObject().contains("volumeExact"));
}

namespace {

// The great dodecahedron {5,5/2}: the icosahedron's twelve corners, each face the pentagon of
// one corner's five neighbours.
PolyMesh greatDodecahedron() {
    const double phi = (1 + r5) / 2;
    PolyMesh m;
    for (double a : {-1.0, 1.0})
        for (double b : {-phi, phi}) {
            m.vertices.push_back({0, a, b});
            m.vertices.push_back({a, b, 0});
            m.vertices.push_back({b, 0, a});
        }
    for (std::size_t v = 0; v < m.vertices.size(); ++v) {
        const Point3D axis = unit(m.vertices[v]);
        std::vector<int> ring;
        for (std::size_t w = 0; w < m.vertices.size(); ++w)
            if (std::fabs(norm(m.vertices[w] - m.vertices[v]) - 2) < 1e-9) ring.push_back(static_cast<int>(w));
        const Point3D centre = centroidOfPoints(std::vector<Point3D>{m.vertices[static_cast<std::size_t>(ring[0])]});
        const Point3D u = unit(centre - dot(centre, axis) * axis), w = cross(axis, u);
        std::sort(ring.begin(), ring.end(), [&](int a, int b) {
            const Point3D pa = m.vertices[static_cast<std::size_t>(a)], pb = m.vertices[static_cast<std::size_t>(b)];
            return std::atan2(dot(pa, w), dot(pa, u)) < std::atan2(dot(pb, w), dot(pb, u));
        });
        m.faces.push_back(ring);
    }
    return m;
}

} // namespace

// Star polyhedra and a compound: surface and volume are those of the region they enclose, against
// the standard formulas; the sums over the faces are named as such; pentagram faces by their name.
TEST(Values, StarBodiesEncloseWhatTheFormulasSay) {
    // Small stellated dodecahedron, edge (pentagram chord) 1: a dodecahedron of edge s = √5 − 2
    // with a pyramid on each face whose sides are the pentagrams' points (legs φ·s).
    const double s = r5 - 2, legs = (1 + r5) / 2 * s;
    const double slant = std::sqrt(legs * legs - s * s / 4);
    const double pentagonInradius = s / (2 * std::tan(std::numbers::pi / 5));
    const double height = std::sqrt(slant * slant - pentagonInradius * pentagonInradius);
    const double pentagonArea = 5 * s * pentagonInradius / 2;
    const double ssdVolume = (15 + 7 * r5) / 4 * s * s * s + 12 * pentagonArea * height / 3;
    const double ssdSurface = 60 * s * slant / 2;
    const SolidModel ssd = build(0, "Kepler-Stern");
    const Stats k = measure(solidMesh(ssd));
    EXPECT_TRUE(k.piercesItself);
    ASSERT_TRUE(k.enclosedMeasured);
    EXPECT_NEAR(k.volumeInUnits, ssdVolume, 1e-9);
    EXPECT_NEAR(k.surfaceInUnits, ssdSurface, 1e-9);
    std::map<std::string, std::pair<std::string, std::string>> rows;
    for (const PropertyRow& r : propertyRows("Kepler-Stern", "dual", solidProperties(ssd), dualProperties(ssd)))
        rows[r.label] = {r.solid, r.dual};
    EXPECT_EQ(rows["Flächenarten"].first, "12 Pentagramme");
    EXPECT_EQ(rows["Eckenkonfigurationen"].first, "12\u00a0\u00d7\u00a05/2.5/2.5/2.5/2.5/2");
    EXPECT_EQ(rows["Oberfläche"].first, "2,5727 (Kantenlänge 1; äußere Hülle)");
    EXPECT_EQ(rows["Volumen"].first, "0,2254 (Kantenlänge 1; umschlossener Raum)");
    EXPECT_EQ(rows["Summe der Flächeninhalte"].first, "4,8738 (Flächen durchdringen einander)");

    // Stella octangula, two tetrahedra of edge 1: their union is √2/8, its hull 24 triangles of
    // edge 1/2.
    const Stats t = measure(solidMesh(build(0, "Tetraederstern")));
    EXPECT_TRUE(t.piercesItself);
    EXPECT_NEAR(t.volumeInUnits, r2 / 8, 1e-9);
    EXPECT_NEAR(t.surfaceInUnits, 3 * r3 / 2, 1e-9);
    EXPECT_EQ(t.volumeExact, "\u221a2/8");

    // Great dodecahedron, edge a: surface 15·√(5 − 2√5)·a², volume 5/4·(√5 − 1)·a³.
    const PolyMesh gd = greatDodecahedron();
    ASSERT_EQ(gd.faces.size(), 12u);
    const Stats g = measure(gd);
    EXPECT_EQ(g.schlaefli, "{5,5/2}");
    EXPECT_TRUE(g.piercesItself);
    ASSERT_TRUE(g.enclosedMeasured);
    EXPECT_NEAR(g.surfaceInUnits, 15 * std::sqrt(5 - 2 * r5), 1e-9);
    EXPECT_NEAR(g.volumeInUnits, 5 * (r5 - 1) / 4, 1e-9);
    EXPECT_EQ(g.volumeExact, "5/4\u00b7(\u221a5 \u2212 1)");

    // Bodies that do not pierce themselves keep the sums: a cube, the hollow cuboid, a Johnson solid.
    for (const auto& [category, name] : std::vector<std::pair<int, std::string>>{
             {0, "Hexaeder, Würfel"}, {0, "Hohlquader"}, {3, "Johnson Polyeder 47"}}) {
        SCOPED_TRACE(name);
        const Stats plain = measure(solidMesh(build(category, name)));
        EXPECT_FALSE(plain.piercesItself);
        EXPECT_NEAR(plain.surfaceInUnits * plain.unit * plain.unit, plain.surfaceArea, 1e-9 * plain.surfaceArea);
    }
    // Compounds of parts that only touch: the Sierpinski tetrahedron's sixteen tetrahedra.
    const Stats sierpinski = measure(solidMesh(build(0, "Sierpinskitetraeder")));
    EXPECT_NEAR(sierpinski.volumeInUnits, 16 * r2 / 12, 1e-6);
    EXPECT_NEAR(sierpinski.surfaceInUnits, 16 * r3, 1e-6);
}

// Meshes without a body: no faces, faces of one or two corners, a single triangle, faces that name
// vertices the mesh does not have (which took the measuring out of bounds). Nothing is measured
// that is not there, and nothing breaks.
TEST(Values, MeshesWithoutABody) {
    PolyMesh m;
    m.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const std::vector<std::vector<int>>& faces :
         std::vector<std::vector<std::vector<int>>>{{}, {{0}}, {{0, 1}}, {{0, 1, 2}}, {{0, 1, 2}, {0, 1}},
                                                        {{0, 1, 7}}, {{0, 1, 2}, {0, 1, -1}}}) {
        m.faces = faces;
        const Stats s = measure(m);
        EXPECT_EQ(s.faces, static_cast<int>(faces.size()));
        EXPECT_TRUE(s.schlaefli.empty());
        EXPECT_FALSE(s.enclosedMeasured);
        for (const PropertyRow& row : propertyRows("a", "b", FigureProperties{s, 0, {}, {}}, FigureProperties{}))
            EXPECT_FALSE(row.solid.empty()) << row.label;
    }
}
