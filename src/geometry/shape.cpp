// Closedness, orientation and the star shape of a figure's surface.
#include "shape.h"

#include "edgemap.h"
#include "facemeasures.h"
#include "orientation.h"
#include "point3d.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

namespace kesmora {

namespace {
// The corners 0 … n-1 as a face: the first n points of a list. (std::views::iota would do, but
// clang does not compile libstdc++'s iota_view in every version, and the fuzz build uses clang.)
struct FirstCorners {
    int n;
    std::size_t size() const { return static_cast<std::size_t>(n); }
    int operator[](int i) const { return i; }
};
} // namespace

namespace {

// Orients the faces alike through the edges they share; false unless every edge has exactly two
// faces, the surface is connected and orientable, and V - E + F = 2 with every vertex used.
bool orientFaces(const FaceList& faces, int vertexCount, std::vector<bool>& reversed) {
    const int faceCount = faces.size();
    std::vector<int> firstSide(static_cast<std::size_t>(faceCount) + 1);
    int sideCount = 0;
    for (int f = 0; f < faceCount; ++f) {
        const FaceView face = faces[f];
        const int n = face.size();
        firstSide[static_cast<std::size_t>(f)] = sideCount;
        if (n < 3) return false;
        sideCount += n;
        for (int i = 0; i < n; ++i) {
            const int a = face[i];
            if (a < 0 || a >= vertexCount) return false;
            for (int j = i + 1; j < n; ++j) // no corner twice in one face
                if (face[j] == a) return false;
        }
    }
    firstSide[static_cast<std::size_t>(faceCount)] = sideCount;

    // A closed surface of the sphere's kind has V + F - 2 edges, each bounding two faces; more
    // than that does not fit, and the check fails.
    const auto maxEdges = static_cast<std::size_t>(std::max(vertexCount + faceCount - 2, 0));
    SizedEdgeIndex index(maxEdges, vertexCount);
    std::vector<MeshEdge> edges(maxEdges);
    std::vector<int> edgeOfSide(static_cast<std::size_t>(sideCount));
    const int edgeCount = mapEdges(
        faceCount, [&](int f) { return faces[f].size(); }, [&](int f, int k) { return faces[f][k]; }, index,
        std::span<MeshEdge>(edges), std::span<int>(edgeOfSide));
    if (edgeCount < 0) return false;
    std::vector<bool> used(static_cast<std::size_t>(vertexCount), false);
    for (int k = 0; k < edgeCount; ++k) {
        const MeshEdge& e = edges[static_cast<std::size_t>(k)];
        if (e.uses != 2 || e.sides[0].face == e.sides[1].face) return false;
        used[static_cast<std::size_t>(e.a)] = true;
        used[static_cast<std::size_t>(e.b)] = true;
    }
    if (std::find(used.begin(), used.end(), false) != used.end()) return false;
    if (vertexCount - edgeCount + faceCount != 2) return false;

    std::vector<signed char> flip(static_cast<std::size_t>(faceCount));
    std::vector<int> piece(static_cast<std::size_t>(faceCount));
    std::vector<int> queue(static_cast<std::size_t>(faceCount));
    const std::span<const MeshEdge> edgeList(edges.data(), static_cast<std::size_t>(edgeCount));
    if (orientAlike(faceCount, firstSide, edgeOfSide, edgeList, flip, piece, queue) != 1)
        return false; // not orientable, or more than one piece
    reversed.assign(static_cast<std::size_t>(faceCount), false);
    for (int f = 0; f < faceCount; ++f)
        reversed[static_cast<std::size_t>(f)] = flip[static_cast<std::size_t>(f)] == 1;
    return true;
}

// The signed solid angle of a flat polygon seen from the origin, from its corners and their
// distances. Van Oosterom and Strackee give each triangle of a fan as twice the argument of a
// complex number; the arguments add up, so the numbers are multiplied and one arc tangent taken
// (a face seen from one side spans less than half the sphere, so the sum stays within -pi .. pi).
double polygonSolidAngle(const Point3D* p, const double* length, int n) {
    double re = 1, im = 0;
    for (int i = 1; i + 1 < n; ++i) {
        const Point3D& a = p[0];
        const Point3D& b = p[i];
        const Point3D& c = p[i + 1];
        const double num = dot(a, cross(b, c));
        const double den = length[0] * length[i] * length[i + 1] + dot(a, b) * length[i + 1] +
                           dot(a, c) * length[i] + dot(b, c) * length[0];
        const double r = re * den - im * num;
        im = re * num + im * den;
        re = r;
        const double scale = std::max(std::fabs(re), std::fabs(im)); // keep the product in range
        if (!(scale > 0)) return 0;
        re /= scale;
        im /= scale;
    }
    return 2 * std::atan2(im, re);
}

} // namespace

SurfaceShape surfaceShape(const CheckedTable<Point3D>& vertices, const FaceList& faces) {
    SurfaceShape shape;
    const int vertexCount = vertices.size();
    const int faceCount = faces.size();
    if (vertexCount < 4 || faceCount < 4) return {};
    if (!orientFaces(faces, vertexCount, shape.reversed)) return {};

    for (const Point3D& p : vertices)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return {};
    const std::span<const Point3D> points(vertices.data(), static_cast<std::size_t>(vertexCount));
    // Relative to the body's size about its centroid, which does not change as the body turns.
    const double size = radiusAboutCentroid(points);
    if (!(size > 0) || !std::isfinite(size)) return {};
    const Point3D c = centroidOfPoints(points);
    const double tolerance = 1e-9 * size;
    double inradius = size;

    // Oriented alike, every face must turn the same way as seen from the centroid, keep it on the
    // inner side of its plane, and be flat; the solid angles the faces span from there must add
    // up to one full sphere. Then every ray from the centroid leaves the solid through exactly one
    // point, and the ball about the centroid that reaches no face's plane lies inside.
    int side = 0;
    double solidAngle = 0;
    // A face's corners from the centroid, and their distances from it.
    std::vector<Point3D> corners(static_cast<std::size_t>(faces.longestFace()));
    std::vector<double> lengths(corners.size());
    for (int f = 0; f < faceCount; ++f) {
        const FaceView face = faces[f];
        const int n = face.size();
        for (int i = 0; i < n; ++i) {
            corners[static_cast<std::size_t>(i)] = vertices[face[i]] - c;
            lengths[static_cast<std::size_t>(i)] = norm(corners[static_cast<std::size_t>(i)]);
        }
        auto corner = [&](int i) { return corners[static_cast<std::size_t>(i % n)]; };
        // Newell's normal, and the face's centre, both from the centroid.
        const Point3D normal = newellNormal(corners, FirstCorners{n});
        Point3D centre;
        for (int i = 0; i < n; ++i) {
            const Point3D a = corner(i);
            centre = {centre.x + a.x / n, centre.y + a.y / n, centre.z + a.z / n};
        }
        const double length = norm(normal);
        if (!(length > 0)) return {};
        const double turn = shape.reversed[static_cast<std::size_t>(f)] ? -1.0 : 1.0;
        const double height = turn * dot(normal, centre) / length; // of the plane above the centroid
        const int faceSide = height > tolerance ? 1 : (height < -tolerance ? -1 : 0);
        if (faceSide == 0 || (side != 0 && faceSide != side)) return {};
        side = faceSide;
        for (int i = 0; i < n; ++i) // flat
            if (std::fabs(dot(normal, corner(i) - centre)) > tolerance * length) return {};
        inradius = std::min(inradius, std::fabs(height));
        solidAngle += turn * polygonSolidAngle(corners.data(), lengths.data(), n);
    }
    // Faces turning one way throughout: the angles add up to 4 pi times the number of times the
    // surface wraps round the centroid, which must be once.
    if (!(std::fabs(std::fabs(solidAngle) - 4 * std::numbers::pi) < 1.0)) return {};
    const double reach = norm(vertices[0] - c);
    if (!(reach > 0) || !(inradius > tolerance)) return {};
    shape.inradiusRatio = inradius / reach;
    shape.starShaped = true;
    return shape;
}

void markSurfaceShapes(SolidModel& model) {
    for (Figure* figure : model.figures())
        figure->shape = surfaceShape(figure->vertices, figure->faces);
}

namespace {

void replaceFigure(SolidModel& model, Figure& target, const PolyMesh& figure) {
    target.vertices.clear();
    target.faces.clear();
    target.faceRecords.clear();
    for (const Point3D& p : figure.vertices)
        target.vertices.push_back(p);
    for (const std::vector<int>& face : figure.faces)
        target.addFace(face);
    markSurfaceShapes(model);
}

} // namespace

// A figure put in place after the build has no coordinates of its own unless its maker gives them.
void replaceSolid(SolidModel& model, const PolyMesh& figure) {
    replaceFigure(model, model.solid, figure);
    model.own.solid.clear();
}

void replaceDual(SolidModel& model, const PolyMesh& figure) {
    replaceFigure(model, model.dual, figure);
    model.own.dual.clear();
}

} // namespace kesmora
