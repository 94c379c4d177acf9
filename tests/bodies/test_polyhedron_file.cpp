// The user's polyhedron files: OFF and OBJ read with their comments, colours and line ends, every
// kind of bad input refused with its message and line, and the build of what was read.
#include "bodies/build.h"
#include "bodies/filesolid.h"
#include "bodies/polyhedronfile.h"
#include "catalogue/numbertext.h"
#include "export/netlayout.h"
#include "geometry/point3d.h"
#include "geometry/reciprocal.h"
#include "geodesic.h"
#include "modelchecks.h"
#include "tempdir.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <numbers>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace kesmora;

namespace {

// A cube with everything OFF files carry besides the numbers: comments (a line of its own and
// after values), blank lines, the counts on their own line, colours after faces, CRLF line ends.
const std::string kCubeOff = "OFF\r\n"
                             "# a cube of edge 2, centred at (1, 1, 1)\r\n"
                             "\r\n"
                             "8 6 12\r\n"
                             "0 0 0\r\n"
                             "2 0 0   # x\r\n"
                             "2 2 0\r\n"
                             "0 2 0\r\n"
                             "\t0 0 2\r\n"
                             "+2.0 0 2e0\r\n"
                             "2 2 2\r\n"
                             "0 2 2\r\n"
                             "4 0 3 2 1 255 0 0\r\n"
                             "4 4 5 6 7 0.5 0.5 0.5 1\r\n"
                             "\r\n"
                             "4 0 1 5 4\r\n"
                             "4 1 2 6 5\r\n"
                             "4 2 3 7 6\r\n"
                             "4 3 0 4 7\r\n";

// An octahedron in OBJ with the other line kinds, corners written a/b/c, a//c and a/b, negative
// indices counted back from the last vertex read, and some faces turned against the others.
const std::string kOctahedronObj = "# octahedron\n"
                                   "mtllib none.mtl\n"
                                   "o Oktaeder\n"
                                   "v 1 0 0\n"
                                   "v -1 0 0\n"
                                   "v 0 1 0\n"
                                   "v 0 -1 0\n"
                                   "v 0 0 1\n"
                                   "v 0 0 -1 1.0\n"
                                   "vt 0 0\n"
                                   "vn 0 0 1\n"
                                   "g top\n"
                                   "s off\n"
                                   "usemtl red\n"
                                   "f 1/1/1 3/1/1 5/1/1\n"
                                   "f 3//1 2//1 5//1\n"
                                   "f -5/1 -3/1 -2/1\n" // 2 4 5
                                   "f 4 1 5\n"
                                   "f 1 3 6\n"    // turned against the others
                                   "f 3 2 6\n"    // turned against the others
                                   "f -3 -5 -1\n" // 4 2 6
                                   "f 1 4 6\n";

double signedVolume(const Figure& figure) {
    double v = 0;
    for (const FaceView face : figure.faces) {
        const Point3D& a = figure.vertices[face[0]];
        for (int k = 1; k + 1 < face.size(); ++k)
            v += dot(a, cross(figure.vertices[face[k]], figure.vertices[face[k + 1]]));
    }
    return v / 6;
}

// How far the face's corners stray from the plane through their centre, over the figure's size.
double unflatness(const Figure& figure, const FaceView face) {
    Point3D normal, centre;
    const int n = face.size();
    double size = 0;
    for (const Point3D& p : figure.vertices)
        size = std::max({size, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    for (int i = 0; i < n; ++i) {
        const Point3D& a = figure.vertices[face[i]];
        const Point3D& b = figure.vertices[face[(i + 1) % n]];
        normal = normal + cross(a, b);
        centre = centre + a / static_cast<double>(n);
    }
    double worst = 0;
    for (const int c : face)
        worst = std::max(worst, std::fabs(dot(unit(normal), figure.vertices[c] - centre)));
    return worst / size;
}

// Every face of the figure flat, turned outward, and the figure enclosing a positive volume.
void expectClosedOutward(const Figure& figure) {
    EXPECT_GT(signedVolume(figure), 0);
    for (const FaceView face : figure.faces) {
        EXPECT_GE(face.size(), 3);
        EXPECT_LT(unflatness(figure, face), 1e-4) << face.size();
    }
}

std::string offText(const std::vector<std::string>& vertices, const std::vector<std::string>& faces) {
    std::string s = "OFF\n" + std::to_string(vertices.size()) + " " + std::to_string(faces.size()) + " 0\n";
    for (const std::string& v : vertices)
        s += v + "\n";
    for (const std::string& f : faces)
        s += f + "\n";
    return s;
}

const std::vector<std::string> kCubeVertices = {"0 0 0", "2 0 0", "2 2 0", "0 2 0",
                                                "0 0 2", "2 0 2", "2 2 2", "0 2 2"};
const std::vector<std::string> kCubeFaces = {"4 0 3 2 1", "4 4 5 6 7", "4 0 1 5 4",
                                             "4 1 2 6 5", "4 2 3 7 6", "4 3 0 4 7"};

struct Refusal {
    std::string message;
    int line;
};

Refusal refusalOf(const std::function<void()>& step) {
    try {
        step();
    } catch (const PolyhedronFileError& e) {
        return {e.what(), e.line()};
    }
    ADD_FAILURE() << "accepted";
    return {};
}

Refusal parseRefusal(const std::string& text, const std::string& name = "k.off") {
    return refusalOf([&] { parsePolyhedronText(text, name); });
}

Refusal buildRefusal(const std::string& text, const std::string& name = "k.off") {
    return refusalOf([&] { buildFileSolid(parsePolyhedronText(text, name)); });
}

} // namespace

TEST(PolyhedronFile, GoodFilesOfBothFormats) {
    const PolyhedronFile cube = parsePolyhedronText(kCubeOff, "würfel.off");
    ASSERT_EQ(cube.vertices.size(), 8u);
    ASSERT_EQ(cube.faces.size(), 6u);
    EXPECT_EQ(cube.vertices[5].x, 2.0);
    EXPECT_EQ(cube.vertices[5].z, 2.0);
    EXPECT_EQ(cube.vertices[4].z, 2.0);                       // after a tab
    EXPECT_EQ(cube.faces[1], (std::vector<int>{4, 5, 6, 7})); // its colour left aside
    EXPECT_EQ(cube.vertexLines[0], 5);                        // CRLF counted as one line end
    EXPECT_EQ(cube.faceLines[2], 16);                         // after the blank line
    EXPECT_EQ(cube.name, "würfel.off");

    // The counts on the header line; a lone CR ends a line too; the tetrahedron's faces as given,
    // half of them turned inward.
    const PolyhedronFile tetra = parsePolyhedronText(
        "OFF 4 4 6\r1 1 1\r1 -1 -1\r-1 1 -1\r-1 -1 1\r3 0 1 2\r3 0 1 3\r3 0 2 3\r3 1 2 3\r", "t.off");
    EXPECT_EQ(tetra.vertices.size(), 4u);
    EXPECT_EQ(tetra.faceLines[3], 9);

    const PolyhedronFile octa = parsePolyhedronText(kOctahedronObj, "okta.obj");
    ASSERT_EQ(octa.vertices.size(), 6u);
    ASSERT_EQ(octa.faces.size(), 8u);
    EXPECT_EQ(octa.faces[0], (std::vector<int>{0, 2, 4}));
    EXPECT_EQ(octa.faces[2], (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(octa.faces[6], (std::vector<int>{3, 1, 5}));
    EXPECT_EQ(octa.vertices[5].z, -1.0);

    std::string crlf;
    for (char c : kOctahedronObj)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const PolyhedronFile same = parsePolyhedronText(crlf, "okta.obj");
    EXPECT_EQ(same.faces, octa.faces);
    EXPECT_EQ(same.faceLines, octa.faceLines);
}

TEST(PolyhedronFile, BuildTurnsOutwardAndMakesThePlainDual) {
    // Cube: its dual is an octahedron of eight triangles; faces around each vertex in order.
    const SolidModel cube = buildFileSolid(parsePolyhedronText(kCubeOff, "würfel.off"));
    EXPECT_EQ(cube.solid.vertices.size(), 8);
    EXPECT_EQ(cube.solid.faces.size(), 6);
    EXPECT_EQ(cube.dual.vertices.size(), 6);
    EXPECT_EQ(cube.dual.faces.size(), 8);
    EXPECT_NEAR(kesmora::testing::largestCoordinate(cube), 200, 1e-9);
    expectClosedOutward(cube.solid);
    expectClosedOutward(cube.dual);
    EXPECT_TRUE(cube.solid.shape.starShaped);
    EXPECT_TRUE(cube.dual.shape.starShaped);
    // Centred on the middle of the extent (the file's cube lies in 0..2): turned, not moved.
    Point3D centre;
    for (const Point3D& p : cube.solid.vertices)
        centre = centre + p / 8.0;
    EXPECT_LT(norm(centre), 1e-9);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(cube.dual.faceRecords[i].colour, i % 23 + 1);

    // Octahedron with half its faces turned inward: all turned alike and outward, and its dual a
    // cube of six flat squares, each going round its vertex (no cut).
    const SolidModel octa = buildFileSolid(parsePolyhedronText(kOctahedronObj, "okta.obj"));
    EXPECT_EQ(octa.dual.vertices.size(), 8);
    ASSERT_EQ(octa.dual.faces.size(), 6);
    for (const FaceView face : octa.dual.faces)
        EXPECT_EQ(face.size(), 4);
    EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(octa), -1);
    expectClosedOutward(octa.solid);
    expectClosedOutward(octa.dual);

    // The same solid given inside out throughout comes out the same way round.
    std::string inverted = "OFF\n8 6 12\n";
    for (const std::string& v : kCubeVertices)
        inverted += v + "\n";
    for (const char* f : {"4 1 2 3 0", "4 7 6 5 4", "4 4 5 1 0", "4 5 6 2 1", "4 6 7 3 2", "4 7 4 0 3"})
        inverted += std::string(f) + "\n";
    expectClosedOutward(buildFileSolid(parsePolyhedronText(inverted, "i.off")).solid);
}

TEST(PolyhedronFile, NonConvexBodyGetsFlatDualFaces) {
    // A pentagonal bipyramid over a bent ring whose upper apex is pushed in below the ring: a pit.
    // Round each ring vertex four triangles, whose centroids always lie in one plane; round each
    // apex five, whose centroids do not, so each of those dual faces is cut into three triangles.
    const SolidModel m = buildFileSolid(
        parsePolyhedronText(offText({"1 0 0", "0.3090169944 0.9510565163 0.3",
                                     "-0.8090169944 0.5877852523 -0.2", "-0.8090169944 -0.5877852523 0.1",
                                     "0.3090169944 -0.9510565163 0.25", "0.1 0 -0.5", "0 0 -1.5"},
                                    {"3 0 1 5", "3 1 2 5", "3 2 3 5", "3 3 4 5", "3 4 0 5", "3 1 0 6",
                                     "3 2 1 6", "3 3 2 6", "3 4 3 6", "3 0 4 6"}),
                            "grube.off"));
    EXPECT_EQ(m.solid.vertices.size(), 7);
    EXPECT_EQ(m.solid.faces.size(), 10);
    EXPECT_EQ(m.dual.vertices.size(), 10);
    EXPECT_GT(signedVolume(m.solid), 0);
    ASSERT_EQ(m.dual.faces.size(), 7 + 2 * 2);
    for (int v = 0; v < 5; ++v)
        EXPECT_EQ(m.dual.faces[v].size(), 4);
    for (int v = 5; v < 11; ++v)
        EXPECT_EQ(m.dual.faces[v].size(), 3);
    for (const FaceView face : m.dual.faces)
        EXPECT_LT(unflatness(m.dual, face), 1e-4);
    // The ring vertices' dual faces go round them.
    EXPECT_EQ(kesmora::testing::firstDualFaceOffItsBoundary(m), -1);
    ASSERT_EQ(m.dual.faceRecords.size(), 11);
    EXPECT_EQ(m.dual.faceRecords[10].colour, 11);
}

TEST(PolyhedronFile, BadTextIsRefusedWithItsLine) {
    struct Case {
        std::string text;
        std::string name;
        std::string message;
        int line;
    };
    const std::string cube = offText(kCubeVertices, kCubeFaces);
    std::string manyObjVertices;
    for (int i = 0; i <= kMaxFileVertices; ++i)
        manyObjVertices += "v " + std::to_string(i) + " 0 0\n";
    std::string manyObjFaces = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    for (int i = 0; i < kMaxFileFaces + 2; ++i)
        manyObjFaces += "f 1 2 3\n";
    const std::vector<Case> cases = {
        {"", "k.off", "Die Datei ist leer (Datei k.off)", 0},
        {"# nur ein Kommentar\n\n   \n", "k.obj", "nur Leerzeilen und Kommentare", 0},
        {"Hallo Welt\nwie geht es?\n", "brief.txt", "keine Polyederdatei", 0},
        {"\x89PNG\r\n\x1a\n\x00\x00", "bild.obj", "keine Polyederdatei", 0},
        {"8 6 12\n0 0 0\n", "k.off", "beginnt nicht mit der Kopfzeile „OFF“", 1},
        {"OFF BINARY\n", "k.off", "Binäre OFF-Dateien", 1},
        {"4OFF\n", "k.off", "Art „4OFF“", 1},
        {"OFF\n", "k.off", "fehlen die Anzahlen", 1},
        {"OFF\n8\n", "k.off", "nennt aber 1 Werte", 2},
        {"OFF\n8 x 12\n", "k.off", "Die Anzahl der Flächen „x“ ist keine ganze Zahl", 2},
        // counts that do not match
        {cube.substr(0, cube.rfind("4 3 0 4 7")), "k.off", "endet nach 5 der 6 Flächen", 2},
        {"OFF\n8 6 12\n0 0 0\n1 0 0\n", "k.off", "endet nach 2 der 8 Ecken", 2},
        {cube + "4 0 1 2 3\n", "k.off", "folgt noch eine Zeile; die Anzahlen stimmen nicht", 17},
        {offText(kCubeVertices, {"4 0 3 2", "4 4 5 6 7"}), "k.off",
         "soll 4 Ecken haben, die Zeile nennt aber nur 3", 11},
        // an index out of range
        {offText(kCubeVertices, {"4 0 3 2 8"}), "k.off",
         "nennt die Ecke 8; die Datei hat nur die Ecken 0 bis 7", 11},
        {offText(kCubeVertices, {"3 0 -1 2"}), "k.off", "nennt die Ecke -1", 11},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n", "k.obj", "nennt die Ecke 4; die Datei hat nur 3 Ecken", 4},
        {"v 0 0 0\nv 1 0 0\nf 1 2 -3\nv 0 1 0\n", "k.obj", "nennt die Ecke -3; bis hier hat die Datei nur 2",
         3},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n", "k.obj", "Ecke 0; Ecken werden ab 1 gezählt", 4},
        // a face of fewer than three vertices
        {offText(kCubeVertices, {"2 0 1"}), "k.off", "mindestens drei Ecken; diese hat 2", 11},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\n\nf 1 2\n", "k.obj", "mindestens drei Ecken; diese hat 2", 5},
        // numbers that are not finite, or no numbers
        {"OFF\n1 0 0\nnan 0 0\n", "k.off", "„nan“ ist keine endliche Zahl", 3},
        {"v 0 inf 0\n", "k.obj", "„inf“ ist keine endliche Zahl", 1},
        {"v 0 0 -1e999\n", "k.obj", "„-1e999“ ist keine endliche Zahl", 1},
        {"v 0 1,5 0\n", "k.obj", "„1,5“ ist keine Zahl", 1},
        // a word from a file written in Latin-1, shown with its umlaut
        {"v 0 W\xFCrfel 0\n", "k.obj", "„Würfel“ ist keine Zahl", 1},
        // one sign at most
        {"OFF\n1 0 0\n+-1.0 0 0\n", "k.off", "„+-1.0“ ist keine Zahl", 3},
        {"v 0 ++1 0\n", "k.obj", "„++1“ ist keine Zahl", 1},
        {"v 0 + 0\n", "k.obj", "„+“ ist keine Zahl", 1},
        {"OFF\n+-8 6 12\n", "k.off", "Die Anzahl der Ecken „+-8“ ist keine ganze Zahl", 2},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 +-3\n", "k.obj", "Die Ecke „+-3“ ist keine ganze Zahl", 4},
        {"v 0 1\n", "k.obj", "drei Koordinaten; die Zeile hat nur 2", 1},
        // too many vertices or faces
        {"OFF\n200001 4 0\n", "k.off", "200001 Ecken; das Programm zeichnet höchstens 200000", 2},
        {"OFF\n4 100001 0\n", "k.off", "100001 Flächen; das Programm zeichnet höchstens 100000", 2},
        {manyObjVertices, "k.obj", "mehr als 200000 Ecken", kMaxFileVertices + 1},
        {manyObjFaces, "k.obj", "100002 Flächen; das Programm zeichnet höchstens 100000", kMaxFileFaces + 4},
        {"v 0 0 0\nv 1 0 0\n", "k.obj", "keine Flächen", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        const Refusal r = parseRefusal(c.text, c.name);
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("(Datei " + c.name), std::string::npos) << r.message;
        EXPECT_EQ(r.line, c.line) << r.message;
        if (c.line > 0) {
            EXPECT_NE(r.message.find("Zeile " + std::to_string(c.line) + ")"), std::string::npos);
        }
    }
    // A vanishingly small coordinate is zero, not a fault.
    EXPECT_EQ(parsePolyhedronText("v 1e-999 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "k.obj").vertices[0].x, 0.0);
}

TEST(PolyhedronFile, BadSolidsAreRefusedBeforeTheyReachTheModel) {
    struct Case {
        std::string text;
        std::string message;
        int line;
    };
    std::vector<std::string> faces = kCubeFaces;
    const std::string tetraVertices[] = {"1 1 1", "1 -1 -1", "-1 1 -1", "-1 -1 1"};
    std::string prism = "OFF\n208 106 0\n"; // a 104-sided prism: 208 vertices and so 208 dual faces
    for (int ring = 0; ring < 2; ++ring)
        for (int i = 0; i < 104; ++i)
            prism += formatGeneral(std::cos(i * 2 * std::numbers::pi / 104), 10) + " " +
                     formatGeneral(std::sin(i * 2 * std::numbers::pi / 104), 10) + " " +
                     std::to_string(ring) + "\n";
    for (int ring = 0; ring < 2; ++ring) {
        prism += "104";
        for (int i = 0; i < 104; ++i)
            prism += " " + std::to_string(ring == 0 ? 103 - i : 104 + i);
        prism += "\n";
    }
    for (int i = 0; i < 104; ++i)
        prism += "4 " + std::to_string(i) + " " + std::to_string((i + 1) % 104) + " " +
                 std::to_string(104 + (i + 1) % 104) + " " + std::to_string(104 + i) + "\n";
    const std::vector<Case> cases = {
        {offText(kCubeVertices, {kCubeFaces.begin(), kCubeFaces.end() - 1}), "nicht geschlossen", 11},
        {offText({"0 0 0", "1 0 0", "0 1 0", "0.5 0 0"}, {"3 0 1 2", "3 0 1 3", "3 0 2 3", "3 1 2 3"}),
         "liegen alle auf einer Geraden", 8},
        {offText(kCubeVertices,
                 {"5 0 3 2 1 3", "4 4 5 6 7", "4 0 1 5 4", "4 1 2 6 5", "4 2 3 7 6", "4 3 0 4 7"}),
         "nennt die Ecke 3 zweimal", 11},
        {offText({"0 0 0", "2 0 0", "2 2 0", "0 2 0", "0 0 2", "2 0 2", "2 2 2", "2 2 2.0000001"},
                 kCubeFaces),
         "Die Ecken 6 und 7 (Zeilen 9 und 10) liegen auf demselben Punkt", 10},
        {offText({"0 0 0", "2 0 0", "2 2 0", "0 2 0", "0 0 2", "2 0 2", "2 2 2", "0 2 2", "5 5 5"},
                 kCubeFaces),
         "Die Ecke 8 liegt auf keiner Fläche", 11},
        // the tetrahedron's edge 0-1 with a vertex in its middle, which lies on two faces only
        {offText({tetraVertices[0], tetraVertices[1], tetraVertices[2], tetraVertices[3], "1 0 0"},
                 {"4 0 4 1 2", "4 1 4 0 3", "3 0 2 3", "3 1 3 2"}),
         "Die Ecke 4 liegt auf nur zwei Flächen", 7},
        // a fin: a triangle on the edge 0-1 of a tetrahedron
        {offText({tetraVertices[0], tetraVertices[1], tetraVertices[2], tetraVertices[3], "3 3 -3"},
                 {"3 0 1 2", "3 0 3 1", "3 0 2 3", "3 1 3 2", "3 0 1 4"}),
         "gehört zu 3 Flächen", 8},
        {offText({"1 1 1", "1 -1 -1", "-1 1 -1", "-1 -1 1", "5 5 5", "5 3 3", "3 5 3", "3 3 5"},
                 {"3 0 1 2", "3 0 3 1", "3 0 2 3", "3 1 3 2", "3 4 5 6", "3 4 7 5", "3 4 6 7", "3 5 7 6"}),
         "2 getrennte Körper", 0},
        {offText({"0 0 0", "0 0 0", "0 0 0", "0 0 0"}, {"3 0 1 2", "3 0 3 1", "3 0 2 3", "3 1 3 2"}),
         "Alle Ecken liegen auf einem Punkt", 0},
        {offText({"0 0 0", "1 0 0", "0 1 0"}, {"3 0 1 2", "3 0 2 1"}),
         "mindestens vier Ecken und vier Flächen", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const Refusal r = buildRefusal(c.text);
        EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("(Datei k.off"), std::string::npos) << r.message;
        EXPECT_EQ(r.line, c.line) << r.message;
    }
    // A file's dual has as many faces as the file has vertices, beyond what the catalogue's may have.
    const SolidModel prismModel = buildFileSolid(parsePolyhedronText(prism, "k.off"));
    EXPECT_EQ(prismModel.dual.faces.size(), 208);
    EXPECT_EQ(prismModel.dual.faces[0].size(), 3);

    // OBJ counts its vertices from 1, and the messages do too.
    const Refusal obj = buildRefusal("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nv 0 0 1\n"
                                     "f 1 2 3\nf 1 2 4\nf 1 3 4\nf 2 3 4\n",
                                     "k.obj");
    EXPECT_NE(obj.message.find("Die Ecken 4 und 5 (Zeilen 4 und 5)"), std::string::npos) << obj.message;
}

TEST(PolyhedronFile, FilesAreReadThroughQtWithinTheirLimits) {
    test::TempDir dir("polyhedronfile");
    const auto path = [&](const char* name) { return QString::fromStdString((dir.path() / name).string()); };
    std::ofstream(dir.path() / "würfel.off", std::ios::binary) << kCubeOff;
    EXPECT_EQ(readPolyhedronFile(path("würfel.off")).faces.size(), 6u);

    const Refusal missing = refusalOf([&] { readPolyhedronFile(path("fehlt.off")); });
    EXPECT_EQ(missing.message, "Die Datei gibt es nicht (Datei fehlt.off)");
    std::filesystem::create_directory(dir.path() / "ordner.off");
    EXPECT_NE(refusalOf([&] { readPolyhedronFile(path("ordner.off")); }).message.find("ein Ordner"),
              std::string::npos);
    std::ofstream(dir.path() / "leer.obj", std::ios::binary).flush();
    EXPECT_EQ(refusalOf([&] { readPolyhedronFile(path("leer.obj")); }).message,
              "Die Datei ist leer (Datei leer.obj)");

    // One byte beyond the limit is refused before it is read; at the limit the file is read (and
    // then found to hold no polyhedron).
    {
        std::ofstream big(dir.path() / "gross.obj", std::ios::binary);
        big << std::string(static_cast<std::size_t>(kMaxPolyhedronFileBytes), '#') << "\n";
    }
    EXPECT_NE(refusalOf([&] { readPolyhedronFile(path("gross.obj")); }).message.find("größer als 32 MB"),
              std::string::npos);
    std::filesystem::resize_file(dir.path() / "gross.obj",
                                 static_cast<std::uintmax_t>(kMaxPolyhedronFileBytes));
    EXPECT_NE(refusalOf([&] {
                  readPolyhedronFile(path("gross.obj"));
              }).message.find("nur Leerzeilen und Kommentare"),
              std::string::npos);

    // A device never ends; it is refused unread.
    if (std::filesystem::exists("/dev/zero")) {
        EXPECT_NE(refusalOf([&] {
                      readPolyhedronFile(QStringLiteral("/dev/zero"));
                  }).message.find("keine gewöhnliche"),
                  std::string::npos);
    }
}

// Damaged copies of good files, byte by byte and line by line: each is either refused with a
// message or built into a model that every drawing mode can draw; nothing else may come out.
TEST(PolyhedronFile, DamagedFilesAreRefusedOrBuiltNeverAnythingElse) {
    const std::string grube = offText({"1 0 0", "0.3 0.95 0.3", "-0.8 0.58 -0.2", "-0.8 -0.58 0.1",
                                       "0.3 -0.95 0.25", "0.1 0 -0.5", "0 0 -1.5"},
                                      {"3 0 1 5", "3 1 2 5", "3 2 3 5", "3 3 4 5", "3 4 0 5", "3 1 0 6",
                                       "3 2 1 6", "3 3 2 6", "3 4 3 6", "3 0 4 6"});
    const std::vector<std::pair<std::string, std::string>> seeds = {
        {kCubeOff, "w.off"}, {kOctahedronObj, "o.obj"}, {grube, "g.off"}};
    const std::string alphabet = "0123456789 -.+e#/\nvfOF\r";
    std::mt19937 random(15);
    const auto below = [&](std::size_t n) {
        return static_cast<std::size_t>(random() % std::max<std::size_t>(n, 1));
    };
    SceneRenderer renderer;
    QImage image;
    int built = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        auto [text, name] = seeds[below(seeds.size())];
        const int damages = 1 + static_cast<int>(below(3));
        for (int d = 0; d < damages && !text.empty(); ++d) {
            switch (below(5)) {
            case 0:
                text[below(text.size())] = alphabet[below(alphabet.size())];
                break;
            case 1:
                text.erase(below(text.size()), 1);
                break;
            case 2:
                text.insert(below(text.size()), 1, alphabet[below(alphabet.size())]);
                break;
            default: { // a whole line left out or repeated
                const std::size_t start = text.rfind('\n', below(text.size()));
                const std::size_t from = start == std::string::npos ? 0 : start + 1;
                const std::size_t end = text.find('\n', from);
                const std::string line =
                    text.substr(from, end == std::string::npos ? std::string::npos : end - from + 1);
                if (below(2) == 0)
                    text.erase(from, line.size());
                else
                    text.insert(from, line);
            }
            }
        }
        try {
            const SolidModel m = buildFileSolid(parsePolyhedronText(text, name));
            ++built;
            ASSERT_GE(m.solid.faces.size(), 4) << text;
            EXPECT_NEAR(kesmora::testing::largestCoordinate(m), 200, 1e-6) << text;
            for (const Figure* figure : m.figures())
                for (const FaceView face : figure->faces) {
                    ASSERT_GE(face.size(), 3) << text;
                    for (const int c : face)
                        ASSERT_LT(c, figure->vertices.size()) << text;
                }
            for (DrawMode mode : kDrawModes) {
                RenderSettings settings;
                settings.mode = mode;
                settings.markPoints = round % 2 == 0;
                renderer.renderScene(image, {160, 120}, m, settings);
            }
        } catch (const PolyhedronFileError&) {
            ++refused;
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what() << "\n" << text;
        }
    }
    // Both ways out are taken often, or the damage would test little.
    EXPECT_GT(built, 100);
    EXPECT_GT(refused, 1000);
}

// Whether a dual face is flat enough to stay whole depends on the body, not on how it is turned in
// its file: a hexagonal bipyramid with one corner of its equator lifted has hexagons round its apexes
// that are not quite flat, and whichever way it is turned they are cut alike.
TEST(PolyhedronFile, WhetherADualFaceIsCutDoesNotDependOnHowTheBodyIsTurned) {
    const auto bipyramid = [](double lift, const Point3D& axis, double angle) {
        std::vector<std::string> vertices;
        auto put = [&](Point3D p) {
            p = turnedAbout(p, unit(axis), angle);
            vertices.push_back(formatGeneral(p.x, 17) + " " + formatGeneral(p.y, 17) + " " + formatGeneral(p.z, 17));
        };
        for (int i = 0; i < 6; ++i)
            put({std::cos(i * std::numbers::pi / 3), std::sin(i * std::numbers::pi / 3), i == 0 ? lift : 0.0});
        put({0, 0, 1.5});
        put({0, 0, -1.5});
        std::vector<std::string> faces;
        for (int i = 0; i < 6; ++i) {
            faces.push_back("3 " + std::to_string(i) + " " + std::to_string((i + 1) % 6) + " 6");
            faces.push_back("3 " + std::to_string((i + 1) % 6) + " " + std::to_string(i) + " 7");
        }
        return buildFileSolid(parsePolyhedronText(offText(vertices, faces), "doppelpyramide.off"));
    };
    // Just within the tolerance, and just beyond it: hexagons kept whole, and cut into four triangles.
    for (const auto& [lift, dualFaces] : {std::pair{6e-4, 8}, std::pair{8e-4, 8 + 2 * 3}}) {
        for (int k = 0; k < 24; ++k) {
            const SolidModel m = bipyramid(lift, {1, 0.3 * k, 0.7}, 0.37 * k);
            EXPECT_EQ(m.dual.faces.size(), dualFaces) << "lift " << lift << ", turn " << k;
        }
    }
}

// Two neighbouring faces in one plane: the dual from the face centroids is built, the reciprocal is
// refused with the cause (its poles would coincide), and a net of the solid has no fold of length 0.
TEST(PolyhedronFile, CoplanarNeighboursHaveNoReciprocalAndANetWithoutZeroFolds) {
    const std::string split = offText({"0 0 0", "2 0 0", "2 2 0", "0 2 0", "0 0 2", "2 0 2", "2 2 2", "0 2 2",
                                        "1 0 2", "1 2 2"},
                                       {"4 0 3 2 1", "4 4 8 9 7", "4 8 5 6 9", "5 0 1 5 8 4", "4 1 2 6 5",
                                        "5 2 3 7 9 6", "4 3 0 4 7"});
    const PolyhedronFile file = parsePolyhedronText(split, "geteilt.off");
    const SolidModel plain = buildFileSolid(file);
    EXPECT_EQ(plain.dual.vertices.size(), 7);
    const SolidModel asked = buildFileSolid(file, DualKind::PolarReciprocal);
    EXPECT_EQ(asked.dualInfo.kind, DualKind::Catalogue);
    EXPECT_EQ(asked.dualInfo.shape, DualShape::Plain);
    EXPECT_EQ(asked.dualInfo.refusal, "geteilt.off hat keine polare Reziproke: Die Flächen 2 und 3 grenzen "
                                      "aneinander und liegen in einer Ebene, so dass ihre Pole zusammenfielen.");
    EXPECT_EQ(refusalShown(asked.dualInfo),
              asked.dualInfo.refusal + " Gezeigt wird der duale Körper aus den Flächenmitten.");
    EXPECT_THROW(polarReciprocal(solidSurface(plain)), ReciprocalRefused);

    // The solid's net folds along the line between the two halves of its top, which has a length.
    const NetLayout net = layoutNet(netRequest(plain, QStringLiteral("geteilt"), NetSide::Solid));
    EXPECT_EQ(net.faces.size(), 7u);
    ASSERT_FALSE(net.folds.empty());
    for (const NetLine& fold : net.folds)
        EXPECT_GT(std::hypot(fold.b.x() - fold.a.x(), fold.b.y() - fold.a.y()), 1.0);
    try {
        layoutNet(netRequest(plain, QStringLiteral("geteilt"), NetSide::Reciprocal));
        ADD_FAILURE() << "a net of a reciprocal with coinciding poles";
    } catch (const NetError& e) {
        EXPECT_NE(std::string(e.what()).find("liegen in einer Ebene"), std::string::npos) << e.what();
    }
}

namespace {

// The geodesic sphere written as an OFF file.
std::string geodesicSphereOff(int frequency) {
    const PolyhedronFile sphere = kesmora::testing::geodesicSphere(frequency);
    std::string text = "OFF\n" + std::to_string(sphere.vertices.size()) + " " + std::to_string(sphere.faces.size()) +
                       " 0\n";
    for (const Point3D& p : sphere.vertices)
        text += formatGeneral(p.x, 17) + " " + formatGeneral(p.y, 17) + " " + formatGeneral(p.z, 17) + "\n";
    for (const std::vector<int>& f : sphere.faces)
        text += "3 " + std::to_string(f[0]) + " " + std::to_string(f[1]) + " " + std::to_string(f[2]) + "\n";
    return text;
}

} // namespace

// A file of 81 920 faces (a geodesic sphere of frequency 64) opens with either dual, turns and
// draws in every mode; and one face more than a file may have is refused by its count.
TEST(PolyhedronFile, AGeodesicSphereOfEightyThousandFacesOpensTurnsAndDrawsInEveryMode) {
    const std::string text = geodesicSphereOff(64);
    ASSERT_LE(text.size(), static_cast<std::size_t>(kMaxPolyhedronFileBytes));
    const PolyhedronFile file = parsePolyhedronText(text, "kugel.off");
    ASSERT_EQ(file.faces.size(), 81920u);
    ASSERT_EQ(file.vertices.size(), 40962u);
    for (const DualKind kind : {DualKind::Catalogue, DualKind::PolarReciprocal}) {
        SolidModel m = buildFileSolid(file, kind);
        EXPECT_EQ(m.dualInfo.kind, kind);
        EXPECT_EQ(m.solid.faces.size(), 81920);
        EXPECT_EQ(m.solid.faceRecords.size(), 81920);
        EXPECT_EQ(m.dual.vertices.size(), 81920);
        EXPECT_GE(m.dual.faces.size(), 40962);
        EXPECT_EQ(m.dual.faceRecords.size(), m.dual.faces.size());
        EXPECT_TRUE(m.solid.shape.starShaped);
        if (kind == DualKind::PolarReciprocal) {
            EXPECT_EQ(m.dual.faces.size(), 40962);
        }
        SceneRenderer renderer;
        QImage image;
        for (DrawMode mode : kDrawModes) {
            SCOPED_TRACE(static_cast<int>(mode));
            rechnen(m, 3, 5, 7);
            RenderSettings settings;
            settings.mode = mode;
            renderer.renderScene(image, {640, 400}, m, settings);
            // Ink where each figure stands: the middle of the solid (or of both, one in the other).
            const bool sideBySide = mode == DrawMode::EdgeModel || mode == DrawMode::HiddenEdges ||
                                    mode == DrawMode::ColouredFaces || mode == DrawMode::MultiColouredFaces;
            int inked = 0;
            for (int x = 0; x < image.width(); ++x)
                inked += image.pixel(x, 200) != qRgb(255, 255, 255);
            EXPECT_GT(inked, sideBySide ? 300 : 150);
        }
    }
    std::string over = "OFF\n40962 " + std::to_string(kMaxFileFaces + 1) + " 0\n";
    const Refusal r = parseRefusal(over, "kugel.off");
    EXPECT_NE(r.message.find("Die Datei hat 100001 Flächen; das Programm zeichnet höchstens 100000"),
              std::string::npos)
        << r.message;
}
