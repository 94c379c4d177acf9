// Closedness, orientation and convexity of a figure's surface.
#include "shape.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace kesmora {

namespace {

struct EdgeUse {
    int low; // the edge's vertices, the lower first
    int high;
    int face;
    bool forward; // the face runs from low to high
    bool operator<(const EdgeUse& o) const { return std::tie(low, high, face) < std::tie(o.low, o.high, o.face); }
};

// Orients the faces alike through the edges they share; false unless every edge has exactly two
// faces, the surface is connected and orientable, and V - E + F = 2 with every vertex used.
bool orientFaces(const FaceString* faces, int faceCount, int vertexCount, std::array<bool, kMaxFaces>& reversed) {
    std::vector<EdgeUse> uses;
    for (int f = 0; f < faceCount; ++f) {
        const FaceString& face = faces[f];
        const int n = static_cast<int>(face.size());
        if (n < 3) return false;
        for (int i = 0; i < n; ++i) {
            const int a = vertexOfCode(face[static_cast<std::size_t>(i)]);
            const int b = vertexOfCode(face[static_cast<std::size_t>((i + 1) % n)]);
            if (a < 0 || a >= vertexCount || b < 0 || b >= vertexCount) return false;
            for (int j = i + 1; j < n; ++j) // no corner twice in one face
                if (face[static_cast<std::size_t>(i)] == face[static_cast<std::size_t>(j)]) return false;
            uses.push_back({std::min(a, b), std::max(a, b), f, a < b});
        }
    }
    std::sort(uses.begin(), uses.end());
    if (uses.size() % 2 != 0) return false;
    // Pairs of uses of one edge: each face's neighbour across it, and whether they run alike.
    struct Link {
        int face;
        bool flip;
    };
    std::vector<std::vector<Link>> links(static_cast<std::size_t>(faceCount));
    std::vector<bool> used(static_cast<std::size_t>(vertexCount), false);
    for (std::size_t k = 0; k < uses.size(); k += 2) {
        const EdgeUse& a = uses[k];
        const EdgeUse& b = uses[k + 1];
        if (a.low != b.low || a.high != b.high) return false; // an edge with one face
        if (k + 2 < uses.size() && uses[k + 2].low == a.low && uses[k + 2].high == a.high)
            return false; // an edge with three or more faces
        if (a.face == b.face) return false;
        const bool flip = a.forward == b.forward; // running alike, one of them must turn
        links[static_cast<std::size_t>(a.face)].push_back({b.face, flip});
        links[static_cast<std::size_t>(b.face)].push_back({a.face, flip});
        used[static_cast<std::size_t>(a.low)] = true;
        used[static_cast<std::size_t>(a.high)] = true;
    }
    if (std::find(used.begin(), used.end(), false) != used.end()) return false;
    if (vertexCount - static_cast<int>(uses.size() / 2) + faceCount != 2) return false;

    std::vector<int> state(static_cast<std::size_t>(faceCount), -1); // -1 not reached, else reversed
    std::vector<int> queue{0};
    state[0] = 0;
    for (std::size_t q = 0; q < queue.size(); ++q) {
        const int f = queue[q];
        for (const Link& link : links[static_cast<std::size_t>(f)]) {
            const int want = state[static_cast<std::size_t>(f)] ^ (link.flip ? 1 : 0);
            int& other = state[static_cast<std::size_t>(link.face)];
            if (other == -1) {
                other = want;
                queue.push_back(link.face);
            } else if (other != want) {
                return false; // not orientable
            }
        }
    }
    if (static_cast<int>(queue.size()) != faceCount) return false; // more than one piece
    for (int f = 0; f < faceCount; ++f)
        reversed[static_cast<std::size_t>(f)] = state[static_cast<std::size_t>(f)] == 1;
    return true;
}

double dot(const Point3D& a, const Point3D& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

} // namespace

SurfaceShape surfaceShape(const Point3D* vertices, int vertexCount, const FaceString* faces, int faceCount) {
    SurfaceShape shape;
    if (!vertices || !faces || vertexCount < 4 || vertexCount > kMaxVertices || faceCount < 4 ||
        faceCount > kMaxFaces)
        return {};
    if (!orientFaces(faces, faceCount, vertexCount, shape.reversed)) return {};

    double size = 0;
    for (int v = 0; v < vertexCount; ++v) {
        const Point3D& p = vertices[v];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return {};
        size = std::max({size, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    }
    if (!(size > 0)) return {};
    const double tolerance = 1e-9 * size;
    Point3D centroid;
    for (int v = 0; v < vertexCount; ++v) {
        centroid.x += vertices[v].x / vertexCount;
        centroid.y += vertices[v].y / vertexCount;
        centroid.z += vertices[v].z / vertexCount;
    }
    double inradius = size;

    // Oriented alike, the faces' normals all point out of the solid or all into it: each face's
    // plane has every vertex on one side, the same side for every face.
    int side = 0;
    for (int f = 0; f < faceCount; ++f) {
        const FaceString& face = faces[f];
        const int n = static_cast<int>(face.size());
        Point3D normal; // Newell's normal, through the centroid
        Point3D centre;
        for (int i = 0; i < n; ++i) {
            const Point3D& a = vertices[vertexOfCode(face[static_cast<std::size_t>(i)])];
            const Point3D& b = vertices[vertexOfCode(face[static_cast<std::size_t>((i + 1) % n)])];
            normal.x += (a.y - b.y) * (a.z + b.z);
            normal.y += (a.z - b.z) * (a.x + b.x);
            normal.z += (a.x - b.x) * (a.y + b.y);
            centre.x += a.x / n;
            centre.y += a.y / n;
            centre.z += a.z / n;
        }
        const double length = std::sqrt(dot(normal, normal));
        if (!(length > 0)) return {};
        const double turn = shape.reversed[static_cast<std::size_t>(f)] ? -1.0 : 1.0;
        double above = 0, below = 0;
        for (int v = 0; v < vertexCount; ++v) {
            const Point3D d{vertices[v].x - centre.x, vertices[v].y - centre.y, vertices[v].z - centre.z};
            const double distance = turn * dot(normal, d) / length;
            above = std::max(above, distance);
            below = std::min(below, distance);
        }
        const int faceSide = above <= tolerance ? -1 : (below >= -tolerance ? 1 : 0);
        if (faceSide == 0 || (side != 0 && faceSide != side)) return {};
        side = faceSide;
        const Point3D c{centroid.x - centre.x, centroid.y - centre.y, centroid.z - centre.z};
        inradius = std::min(inradius, std::fabs(dot(normal, c)) / length);
    }
    const Point3D d{vertices[0].x - centroid.x, vertices[0].y - centroid.y, vertices[0].z - centroid.z};
    const double reach = std::sqrt(dot(d, d));
    if (!(reach > 0) || !(inradius > tolerance)) return {};
    shape.inradiusRatio = inradius / reach;
    shape.closedConvex = true;
    return shape;
}

void markSurfaceShapes(SolidModel& model) {
    model.shape = surfaceShape(model.vertices.data(), model.vertexCount, model.faces.data(), model.faceCount);
    model.dualShape = surfaceShape(model.dualVertices.data(), model.dualVertexCount, model.dualFaces.data(),
                                   model.dualFaceCount);
}

} // namespace kesmora
