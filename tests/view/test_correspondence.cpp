// The parts of solid and dual that belong together: for every catalogue body with a polar
// reciprocal, dual vertex f is the pole of solid face f and dual face v lies in the polar plane of
// solid vertex v; and on the picture, the part under a point and its partner's highlight.
#include "every_body.h"

#include "geometry/reciprocal.h"
#include "view/correspondence.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kesmora;
using namespace kesmora::testing;

TEST(Correspondence, EveryFaceMapsToItsPoleAndEveryVertexToItsPolarFace) {
    int checked = 0;
    for (const int section : {0, 2, 3})
        for (const std::string& latin1 : fillBodyList(everything(), sectionCategory(section), HiddenBodies::Shown)) {
            Selection s;
            s.currentCategory = sectionCategory(section);
            neuwert(s, everything(), latin1);
            const SolidModel m = buildSolid(everything(), s, latin1, DualKind::PolarReciprocal);
            if (m.dualInfo.kind != DualKind::PolarReciprocal) continue; // no reciprocal
            const PolyMesh solid = solidSurface(m);
            const PolarSphere sphere = reciprocalSphere(solid);
            const double r2 = sphere.radius * sphere.radius;
            const auto onPolar = [&](const Point3D& pole, const Point3D& point) {
                return std::fabs(dot(pole - sphere.centre, point - sphere.centre) - r2) <= 1e-7 * r2;
            };
            const std::string name = latin1ToUtf8(latin1);
            ASSERT_EQ(m.dual.vertices.size(), m.solid.faces.size()) << name;
            ASSERT_EQ(m.dual.faces.size(), m.solid.vertices.size()) << name;
            for (int f = 0; f < m.solid.faces.size(); ++f)
                for (int v : m.solid.faces[f])
                    EXPECT_TRUE(onPolar(m.dual.vertices[f], m.solid.vertices[v])) << name << " face " << f;
            for (int v = 0; v < m.dual.faces.size(); ++v)
                for (int f : m.dual.faces[v])
                    EXPECT_TRUE(onPolar(m.solid.vertices[v], m.dual.vertices[f])) << name << " vertex " << v;
            ++checked;
        }
    EXPECT_GT(checked, 100);
}

TEST(Correspondence, ThePartUnderAPointAndItsPartnerOnThePicture) {
    const SolidModel cube = build(0, "Hexaeder, Würfel");
    const QSize size(1008, 534);
    const FigureOrigins origins = figureOrigins(size, DrawMode::ColouredFaces);
    // The face nearest the viewer, picked at its centre.
    int front = 0;
    for (int f = 1; f < cube.solid.faces.size(); ++f)
        if (cube.solid.faceRecords[f].centroid.z < cube.solid.faceRecords[front].centroid.z) front = f;
    const Point3D c = cube.solid.faceRecords[front].centroid;
    const QPoint at(origins.solid.x() + int(std::lround(c.x)), origins.solid.y() + int(std::lround(c.y)));
    const PickedPart face = pickPart(cube, size, DrawMode::ColouredFaces, at);
    EXPECT_EQ(face.kind, PickedPart::Kind::Face);
    EXPECT_FALSE(face.dual);
    EXPECT_EQ(face.index, front);
    const Highlight h = highlightOf(cube, size, DrawMode::ColouredFaces, face);
    ASSERT_EQ(h.faces.size(), 1u);
    ASSERT_EQ(h.vertices.size(), 1u);
    const Point3D pole = cube.dual.vertices[front];
    EXPECT_EQ(h.vertices[0], QPoint(origins.dual.x() + int(std::lround(pole.x)), origins.dual.y() + int(std::lround(pole.y))));

    // At a corner of that face: the vertex, and the dual face that stands for it.
    const int corner = cube.solid.faces[front][0];
    const Point3D p = cube.solid.vertices[corner];
    const PickedPart vertex = pickPart(cube, size, DrawMode::ColouredFaces,
                                       QPoint(origins.solid.x() + int(std::lround(p.x)) + (c.x > p.x ? 2 : -2),
                                              origins.solid.y() + int(std::lround(p.y)) + (c.y > p.y ? 2 : -2)));
    EXPECT_EQ(vertex.kind, PickedPart::Kind::Vertex);
    EXPECT_EQ(vertex.index, corner);
    EXPECT_EQ(highlightOf(cube, size, DrawMode::ColouredFaces, vertex).faces.size(), 1u);

    // Nothing under an empty corner of the picture.
    EXPECT_EQ(pickPart(cube, size, DrawMode::ColouredFaces, QPoint(2, 2)).kind, PickedPart::Kind::None);
}
