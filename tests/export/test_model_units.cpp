// The files the program writes hold the solid itself: every catalogue body and dual in its own
// units as the properties window measures them, an opened file in its own coordinates, and the
// view's placement only where it is asked for.
#include "bodies/filesolid.h"
#include "bodies/polyhedronfile.h"
#include "catalogue/latin1.h"
#include "export/figurefile.h"
#include "export/mesh.h"
#include "export/properties.h"
#include "geometry/edgemap.h"
#include "geometry/morph.h"
#include "geometry/point3d.h"
#include "session/bodysession.h"
#include "view/rotation.h"

#include "every_body.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

// The OFF the export writes for a figure, read back.
PolyMesh writtenOff(const SolidModel& model, bool dual, const FilePlacement& placement = {}) {
    const std::string bytes = figureFileBytes(model, dual, MeshFormat::Off, "figure", placement);
    return parsePolyhedronText(bytes, "figure.off");
}

std::vector<double> edgeLengths(const PolyMesh& mesh) {
    std::vector<double> out;
    for (const MeshEdge& e : edgeMap(mesh.faces).edges)
        out.push_back(norm(mesh.vertices[static_cast<std::size_t>(e.b)] - mesh.vertices[static_cast<std::size_t>(e.a)]));
    return out;
}

// What is wrong with a figure written in model units, measured against the properties window's
// statement of its edges; empty when nothing is.
std::string modelUnitFaults(const PolyMesh& written, const Stats& stated, bool twoSided) {
    std::string faults;
    const double size = radiusAboutCentroid(written.vertices);
    if (const double off = norm(centroidOfPoints(written.vertices)); !(off <= 1e-12 * size))
        faults += " centroid " + std::to_string(off) + " from 0;";
    const std::vector<double> lengths = edgeLengths(written);
    double longest = 0;
    for (double l : lengths)
        longest = std::max(longest, l);
    if (stated.unitIsEdge) {
        for (double l : lengths)
            if (!(std::fabs(l - 1) <= 1e-5)) {
                faults += " an edge of " + std::to_string(l) + " where all are 1;";
                break;
            }
    } else if (!(std::fabs(longest - 1) <= 1e-12)) {
        faults += " longest edge " + std::to_string(longest) + ";";
    }
    // Each length the window states, relative to the unit, is one the file has.
    for (const LengthGroup& g : stated.edgeLengths) {
        const double want = g.length / stated.unit;
        bool found = false;
        for (double l : lengths)
            found = found || std::fabs(l - want) <= 1e-5 * want;
        if (!found) faults += " no edge of the stated length " + std::to_string(want) + ";";
    }
    if (twoSided && !(signedVolume(written) > 0)) faults += " faces not outward;";
    return faults;
}

} // namespace

TEST(ModelUnits, EveryCatalogueBodyAndDualAsThePropertiesWindowMeasuresIt) {
    std::string faults;
    int figures = 0;
    for (int category : {0, 2, 3})
        for (const std::string& name : fillBodyList(kesmora::testing::everything(), sectionCategory(category))) {
            const std::string utf8 = latin1ToUtf8(name);
            SolidModel model = kesmora::testing::build(category, utf8);
            // Turned and zoomed as a user leaves it: the file does not follow the view.
            rechnen(model, 17, -40, 5);
            zoom(model, ZoomCommand::Enlarge);
            for (bool dual : {false, true}) {
                PolyMesh shown = dual ? dualMesh(model) : solidMesh(model);
                const bool twoSided = orientOutward(shown);
                PolyMesh written;
                try {
                    written = writtenOff(model, dual);
                } catch (const std::exception& e) {
                    if (twoSided) faults += utf8 + (dual ? " (Dual)" : "") + ": not written: " + e.what() + "\n";
                    continue;
                }
                const Stats stated = (dual ? dualProperties(model) : solidProperties(model)).stats;
                const std::string found = modelUnitFaults(written, stated, twoSided);
                if (!found.empty()) faults += utf8 + (dual ? " (Dual)" : "") + ":" + found + "\n";
                ++figures;
            }
        }
    EXPECT_GT(figures, 360);
    EXPECT_EQ(faults, "");
}

TEST(ModelUnits, NotTiltedNotTurned) {
    // The cube and the octahedron of the "Polyeder", whose bodies are shown tilted, stand on their
    // axes in the file however the view is turned.
    SolidModel cube = kesmora::testing::build(0, "Hexaeder, Würfel");
    rechnen(cube, 30, 20, 10);
    for (const Point3D& p : writtenOff(cube, false).vertices)
        for (double c : {p.x, p.y, p.z})
            EXPECT_NEAR(std::fabs(c), 0.5, 1e-9);
    for (const Point3D& p : writtenOff(cube, true).vertices) {
        const double onAxis = std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
        EXPECT_NEAR(onAxis, std::sqrt(0.5), 1e-9); // the octahedron of edge 1
        EXPECT_NEAR(std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z), onAxis, 1e-9);
    }
    // A result of operations on the cube stands as the cube does: the truncated cube's vertices
    // keep the cube's axes (every coordinate one of two magnitudes).
    BodySession session(std::make_shared<const CatalogueTables>(LoadCatalogueTables(KESMORA_DATA_DIR)));
    session.chooseBody(session.startBody());
    session.build();
    session.choose(session.withRecipe("t"));
    const SolidModel& truncated = session.build();
    const PolyMesh t = writtenOff(truncated, false);
    const double big = std::fabs(t.vertices.front().x) + std::fabs(t.vertices.front().y) + std::fabs(t.vertices.front().z);
    for (const Point3D& p : t.vertices)
        EXPECT_NEAR(std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z), big, 1e-6);
}

TEST(ModelUnits, TheFigureOnTheWayToTheDualStandsAsTheSolidDoes) {
    // Halfway, the cube's figure is the cuboctahedron: on the cube's axes, each vertex with one
    // coordinate 0 and two of one size, however the view was turned before.
    SolidModel cube = kesmora::testing::build(0, "Hexaeder, Würfel");
    rechnen(cube, 21, -13, 8);
    showMorph(cube, DualMorph(meshOf(cube.solid)), 0.5);
    const PolyMesh halfway = writtenOff(cube, false);
    ASSERT_EQ(halfway.vertices.size(), 12u);
    for (const Point3D& p : halfway.vertices) {
        std::array<double, 3> c{std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)};
        std::sort(c.begin(), c.end());
        EXPECT_NEAR(c[0], 0, 1e-9);
        EXPECT_NEAR(c[1], c[2], 1e-9);
        EXPECT_NEAR(c[2], std::sqrt(0.5), 1e-9); // edge 1
    }
}

TEST(ModelUnits, AnOpenedFileComesBackInItsOwnCoordinatesAndTheViewsOnlyOnRequest) {
    // A prism far from the origin, slanted and of unequal edges (its top the bottom moved), in a
    // file's own order.
    const std::string text = "OFF\n6 5 9\n"
                             "1000.125 -3.5e-3 17.75\n1003.625 0.25 17.5\n1001.0000001 2.875 18.0625\n"
                             "1000.5 0.2465 22.125\n1004 0.5 21.875\n1001.3750001 3.125 22.4375\n"
                             "3 0 2 1\n3 3 4 5\n4 0 1 4 3\n4 1 2 5 4\n4 2 0 3 5\n";
    const PolyhedronFile file = parsePolyhedronText(text, "prisma.off");
    SolidModel model = buildFileSolid(file);
    rechnen(model, 33, 12, -7);
    for (const MeshFormat format : {MeshFormat::Off, MeshFormat::Obj}) {
        const PolyhedronFile back = parsePolyhedronText(figureFileBytes(model, false, format, "prisma"),
                                                        format == MeshFormat::Off ? "a.off" : "a.obj");
        ASSERT_EQ(back.vertices.size(), file.vertices.size());
        for (std::size_t i = 0; i < file.vertices.size(); ++i)
            EXPECT_LE(norm(back.vertices[i] - file.vertices[i]), 1e-12 * norm(file.vertices[i])) << i;
        EXPECT_EQ(back.faces.size(), file.faces.size());
    }
    // Its dual stands beside it in the file's frame: a vertex at each face's centroid.
    const PolyMesh dual = writtenOff(model, true);
    ASSERT_EQ(dual.vertices.size(), file.faces.size());
    for (std::size_t f = 0; f < file.faces.size(); ++f) {
        Point3D centroid;
        for (int v : file.faces[f])
            centroid = centroid + file.vertices[static_cast<std::size_t>(v)] / static_cast<double>(file.faces[f].size());
        EXPECT_LE(norm(dual.vertices[f] - centroid), 1e-12 * norm(centroid)) << f;
    }
    // As shown: the view's vertices as they stand, turned and in screen units.
    const PolyMesh shown = writtenOff(model, false, {true, 0});
    ASSERT_EQ(shown.vertices.size(), static_cast<std::size_t>(model.solid.vertices.size()));
    for (int i = 0; i < model.solid.vertices.size(); ++i)
        EXPECT_EQ(norm(shown.vertices[static_cast<std::size_t>(i)] - model.solid.vertices[i]), 0.0) << i;
    // For the printer: the longest edge given in millimetres, centred.
    const PolyMesh printed = writtenOff(model, false, {false, 40});
    double longest = 0;
    for (double l : edgeLengths(printed))
        longest = std::max(longest, l);
    EXPECT_NEAR(longest, 40, 1e-9);
    EXPECT_LE(norm(centroidOfPoints(printed.vertices)), 1e-12 * 40);
}
