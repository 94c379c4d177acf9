// kesmora-inspect stats: counts and angles of bodies whose figures are known from geometry, and
// the properties every listed solid must have.
#include "export/stats.h"
#include "inspector_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

QJsonObject stats(int category, const char* name, bool dual = false) {
    QStringList args{"stats", QString::number(category), QString::fromUtf8(name), "--json"};
    if (dual) args << "--dual";
    const InspectorResult r = inspect(args);
    EXPECT_EQ(r.exitCode, 0) << name << ": " << r.err.toStdString();
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(r.out, &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << name;
    return o;
}

// "8x3, 6x4" from the JSON face types.
std::string faceTypes(const QJsonObject& o) {
    std::string s;
    for (const auto& t : o["faceTypes"].toArray()) {
        const QJsonObject type = t.toObject();
        s += (s.empty() ? "" : ", ") + std::to_string(type["count"].toInt()) + "x" +
             std::to_string(type["vertices"].toInt());
    }
    return s;
}

// Angle (to 0.01 degrees) -> number of edges.
std::map<double, int> dihedrals(const QJsonObject& o) {
    std::map<double, int> out;
    for (const auto& g : o["dihedralAngles"].toArray())
        out[g.toObject()["degrees"].toDouble()] += g.toObject()["count"].toInt();
    return out;
}

} // namespace

TEST(Stats, PlatonicSolidsHaveTheirTextbookAngles) {
    struct Known {
        const char* name;
        int v, e, f;
        const char* faces;
        double dihedral;
    };
    // Dihedral angles: arccos(1/3), 90, arccos(-1/3), arccos(-1/sqrt5), arccos(-sqrt5/3).
    for (const Known& k :
         {Known{"Tetraeder", 4, 6, 4, "4x3", 70.53}, Known{"Hexaeder, W\u00fcrfel", 8, 12, 6, "6x4", 90.00},
          Known{"Oktaeder", 6, 12, 8, "8x3", 109.47}, Known{"Pentagondodekaeder", 20, 30, 12, "12x5", 116.57},
          Known{"Ikosaeder", 12, 30, 20, "20x3", 138.19}}) {
        const QJsonObject o = stats(0, k.name);
        EXPECT_EQ(o["vertices"].toInt(), k.v) << k.name;
        EXPECT_EQ(o["edges"].toInt(), k.e) << k.name;
        EXPECT_EQ(o["faces"].toInt(), k.f) << k.name;
        EXPECT_EQ(faceTypes(o), k.faces) << k.name;
        EXPECT_EQ(dihedrals(o), (std::map<double, int>{{k.dihedral, k.e}})) << k.name;
        // Relative: the quoted tetrahedron and octahedron blocks have seven digits.
        EXPECT_NEAR(o["edgeLength"]["max"].toDouble() / o["edgeLength"]["min"].toDouble(), 1.0, 1e-6)
            << k.name;
        EXPECT_TRUE(o["convex"].toBool() && o["planar"].toBool() && o["closed"].toBool()) << k.name;
        EXPECT_EQ(o["figure"].toString(), "solid");
    }
    // The cube's dual is the octahedron: same combinatorics, same angles.
    const QJsonObject d = stats(0, "Hexaeder, W\u00fcrfel", true);
    EXPECT_EQ(faceTypes(d), "8x3");
    EXPECT_EQ(dihedrals(d), (std::map<double, int>{{109.47, 12}}));
    EXPECT_EQ(d["figure"].toString(), "dual");
}

TEST(Stats, JohnsonSolidsMatchTheCatalogueDescription) {
    struct Known {
        const char* name;
        int v, e, f;
        const char* faces;
        int dualFaces;
    };
    // V/E/F, face types and dual face counts as the solid catalogue describes them.
    for (const Known& k : {Known{"Johnson Polyeder 07", 7, 12, 7, "4x3, 3x4", 7},
                           Known{"Johnson Polyeder 54", 13, 22, 11, "4x3, 5x4, 2x6", 18},
                           Known{"Johnson Polyeder 23", 20, 44, 26, "20x3, 5x4, 1x8", 48},
                           Known{"Johnson Polyeder 84", 8, 18, 12, "12x3", 12},
                           Known{"Johnson Polyeder 48", 40, 90, 52, "40x3, 12x5", 100},
                           Known{"Johnson Polyeder 66", 28, 48, 22, "12x3, 5x4, 5x8", 40}}) {
        const QJsonObject o = stats(3, k.name);
        EXPECT_EQ(o["vertices"].toInt(), k.v) << k.name;
        EXPECT_EQ(o["edges"].toInt(), k.e) << k.name;
        EXPECT_EQ(o["faces"].toInt(), k.f) << k.name;
        EXPECT_EQ(faceTypes(o), k.faces) << k.name;
        // Regular faces throughout: one edge length.
        EXPECT_NEAR(o["edgeLength"]["max"].toDouble() / o["edgeLength"]["min"].toDouble(), 1.0, 1e-7)
            << k.name;
        const QJsonObject d = stats(3, k.name, true);
        EXPECT_EQ(d["figure"].toString(), "quasi-dual");
        EXPECT_EQ(d["vertices"].toInt(), k.f) << k.name;
        EXPECT_EQ(d["faces"].toInt(), k.dualFaces) << k.name;
        EXPECT_EQ(d["euler"].toInt(), 2) << k.name;
    }
    // J7, a tetrahedron on a triangular prism: the prism's 60 and 90, the tetrahedron's
    // arccos(1/3) = 70.53, and 90 + 70.53 where the two meet.
    EXPECT_EQ(dihedrals(stats(3, "Johnson Polyeder 07")),
              (std::map<double, int>{{60.0, 3}, {70.53, 3}, {90.0, 3}, {160.53, 3}}));
    // Archimedean: the truncated icosahedron's hexagon-hexagon and pentagon-hexagon angles.
    EXPECT_EQ(dihedrals(stats(2, "Ikosaederstumpf")), (std::map<double, int>{{138.19, 30}, {142.62, 60}}));
}

TEST(Stats, EveryListedSolidIsAClosedConvexPolyhedronWithFlatFaces) {
    const InspectorResult list = inspect({"list"});
    ASSERT_EQ(list.exitCode, 0);
    int bodies = 0;
    for (const QByteArray& line : list.out.trimmed().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        ASSERT_EQ(fields.size(), 5);
        const QByteArray name = fields[4];
        for (bool dual : {false, true}) {
            const QJsonObject o = stats(fields[0].toInt(), name.constData(), dual);
            const std::string what = name.toStdString() + (dual ? " (dual)" : "");
            EXPECT_EQ(o["euler"].toInt(), 2) << what;
            EXPECT_TRUE(o["closed"].toBool()) << what;
            int sides = 0;
            for (const auto& t : o["faceTypes"].toArray())
                sides += t.toObject()["count"].toInt() * t.toObject()["vertices"].toInt();
            EXPECT_EQ(sides, 2 * o["edges"].toInt()) << what;
            // Convexity two ways: no vertex outside a face plane, and no edge folded inward.
            if (o["planar"].toBool()) {
                bool reflex = false;
                for (const auto& g : o["dihedralAngles"].toArray())
                    reflex = reflex || g.toObject()["degrees"].toDouble() > 180.0;
                EXPECT_EQ(o["convex"].toBool(), !reflex) << what;
            }
            if (!dual) {
                EXPECT_TRUE(o["convex"].toBool()) << what;
                EXPECT_TRUE(o["planar"].toBool()) << what;
            }
        }
        ++bodies;
    }
    EXPECT_EQ(bodies, 148);
}

TEST(Stats, QuasiDualsAreMeasuredAsTheyAre) {
    // Cut into triangles everywhere: flat by construction.
    EXPECT_TRUE(stats(3, "Johnson Polyeder 54", true)["planar"].toBool());
    // J90 keeps its dual quadrilaterals uncut, and they are warped.
    const QJsonObject warped = stats(3, "Johnson Polyeder 90", true);
    EXPECT_FALSE(warped["planar"].toBool());
    EXPECT_GT(warped["nonPlanarFaces"].toInt(), 0);
    EXPECT_FALSE(warped["convex"].toBool());
    // The pentagonal rotunda's quasi-dual folds inward along five diagonals.
    const auto angles = dihedrals(stats(3, "Johnson Polyeder 06", true));
    ASSERT_FALSE(angles.empty());
    EXPECT_GT(angles.rbegin()->first, 180.0);
}

TEST(Stats, ReadableTextAndUsage) {
    const InspectorResult r = inspect({"stats", "0", "Hexaeder, W\u00fcrfel"});
    ASSERT_EQ(r.exitCode, 0);
    const QString text = QString::fromUtf8(r.out);
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("Hexaeder, W\u00fcrfel, K\u00f6rper (Kategorie 0)\n"))) << r.out.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Fl\u00e4chenarten: 6 Vierecke\n")));
    EXPECT_TRUE(text.contains(QString::fromUtf8("E \u2212 K + F: 8 \u2212 12 + 6 = 2\n")));
    EXPECT_TRUE(text.contains(QString::fromUtf8("Fl\u00e4chenwinkel: 90\u00b0 (12\u00a0Kanten)\n")));
    EXPECT_TRUE(text.contains("Konvex: ja\n"));
    EXPECT_EQ(inspect({"stats", "0"}).exitCode, 2);
    EXPECT_EQ(inspect({"stats", "0", "Oktaeder", "--bogus"}).exitCode, 2);
    // An unknown name is a command line that cannot be taken.
    EXPECT_EQ(inspect({"stats", "0", "Kein Koerper"}).exitCode, 2);
}

// Models taken from elsewhere than the catalogue build may hold faces without area; their normals
// are noise, so they must not make a body convex or give it angles.
TEST(Stats, FacesWithoutAreaAreCountedAndNeverMakeABodyConvex) {
    using kesmora::Mesh;
    using kesmora::Point3D;
    const std::vector<std::vector<int>> cubeFaces{{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1},
                                                  {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
    const std::vector<Point3D> cube{{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                    {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    auto edgesWithAngles = [](const kesmora::Stats& s) {
        int n = 0;
        for (const auto& g : s.dihedrals) {
            EXPECT_TRUE(std::isfinite(g.degrees));
            n += g.count;
        }
        return n;
    };

    const auto sound = kesmora::measure(Mesh{cube, cubeFaces});
    EXPECT_EQ(sound.degenerateFaces, 0);
    EXPECT_TRUE(sound.convex);
    EXPECT_EQ(edgesWithAngles(sound), 12);

    // Every vertex on one point: six faces without area, no angle, not convex.
    const auto point = kesmora::measure(Mesh{std::vector<Point3D>(8, Point3D{0.5, 0.5, 0.5}), cubeFaces});
    EXPECT_EQ(point.degenerateFaces, 6);
    EXPECT_FALSE(point.convex);
    EXPECT_TRUE(point.dihedrals.empty());
    const std::string text = kesmora::statsText(point, "Punkt");
    EXPECT_NE(text.find("convex        no\n"), std::string::npos) << text;
    EXPECT_NE(text.find("dihedral      none\n"), std::string::npos) << text;
    EXPECT_NE(text.find("degenerate    6 faces"), std::string::npos) << text;
    EXPECT_EQ(kesmora::statsJson(point)["degenerateFaces"].toInt(), 6);

    // The top face squeezed onto a line (within a millionth of the size): its four edges give no
    // angle, the other eight do.
    std::vector<Point3D> squeezed = cube;
    squeezed[4] = {-1, 0, 1};
    squeezed[5] = {1, 0, 1};
    squeezed[6] = {0.5, 1e-7, 1};
    squeezed[7] = {-0.5, 0, 1};
    const auto line = kesmora::measure(Mesh{squeezed, cubeFaces});
    EXPECT_EQ(line.degenerateFaces, 1);
    EXPECT_FALSE(line.convex);
    EXPECT_EQ(edgesWithAngles(line), 8);

    // A face naming one corner three times, and a face naming two corners only.
    std::vector<std::vector<int>> named = cubeFaces;
    named[0] = {0, 0, 0};
    named[1] = {4, 5};
    const auto twice = kesmora::measure(Mesh{cube, named});
    EXPECT_EQ(twice.degenerateFaces, 2);
    EXPECT_FALSE(twice.convex);
    EXPECT_EQ(twice.faces, 6);
}

// Whether a face counts as flat depends on the body, not on how it is turned when it is measured
// (the window measures and unfolds the body as it stands on screen): a cube with one corner
// lifted by five millionths of its half edge is judged alike in every position.
TEST(Stats, FlatnessDoesNotDependOnHowTheBodyIsTurned) {
    using kesmora::Point3D;
    const std::vector<std::vector<int>> cubeFaces{{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1},
                                                  {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
    for (const double lift : {5.2e-6, 8e-6}) {
        const std::vector<Point3D> cube{{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                                        {-1, -1, 1},  {1, -1, 1},  {1, 1, 1 + lift}, {-1, 1, 1}};
        int planar = 0;
        // Face-on, and turned so that a space diagonal runs along an axis.
        const Point3D axis = kesmora::unit(Point3D{1, -1, 0});
        for (const double angle : {0.0, 0.3, std::acos(1 / std::sqrt(3.0)), 1.1}) {
            std::vector<Point3D> turned;
            for (const Point3D& p : cube)
                turned.push_back(kesmora::turnedAbout(p, axis, angle));
            planar += kesmora::measure(kesmora::Mesh{turned, cubeFaces}).planar;
        }
        EXPECT_TRUE(planar == 0 || planar == 4) << "lift " << lift << ": planar in " << planar << " of 4";
        EXPECT_EQ(planar == 4, lift < 6e-6) << lift;
    }
}

TEST(Stats, InTheUnitsAndWordsOfThePropertiesWindow) {
    // The icosahedron of edge 1, whatever size the view gives it; its dual named as the window names it.
    const QJsonObject o = stats(0, "Ikosaeder");
    EXPECT_NEAR(o["edgeLength"].toObject()["min"].toDouble(), 1.0, 1e-9);
    EXPECT_NEAR(o["edgeLength"].toObject()["max"].toDouble(), 1.0, 1e-9);
    EXPECT_EQ(o["dualName"].toString(), "Pentagondodekaeder");
    std::map<QString, QString> rows;
    for (const QJsonValue& row : o["properties"].toArray())
        rows[row.toObject()["label"].toString()] = row.toObject()["value"].toString();
    EXPECT_EQ(rows[QStringLiteral("Ecken")], "12");
    EXPECT_EQ(rows[QStringLiteral("Volumen")], QString::fromUtf8("2,1817 (Kantenlänge 1)"));
    EXPECT_EQ(rows[QString::fromUtf8("Eckenkonfigurationen")], QString::fromUtf8("12\u00a0×\u00a03.3.3.3.3"));
    EXPECT_EQ(rows[QStringLiteral("Symmetriegruppe")], QStringLiteral("Ih, Ordnung 120"));
    // The dual's rows for --dual, with the same names.
    const QJsonObject d = stats(0, "Ikosaeder", true);
    std::map<QString, QString> dualRows;
    for (const QJsonValue& row : d["properties"].toArray())
        dualRows[row.toObject()["label"].toString()] = row.toObject()["value"].toString();
    EXPECT_EQ(dualRows[QStringLiteral("Name")], "Pentagondodekaeder");
    EXPECT_EQ(dualRows[QStringLiteral("Ecken")], "20");
    // A body of unequal edges: the longest is 1.
    const QJsonObject triakis = stats(2, "Pyramidentetraeder");
    EXPECT_NEAR(triakis["edgeLength"].toObject()["max"].toDouble(), 1.0, 1e-9);
    EXPECT_LT(triakis["edgeLength"].toObject()["min"].toDouble(), 0.9);
}
