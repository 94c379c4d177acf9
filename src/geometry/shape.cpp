// Closedness, orientation and convexity of a figure's surface.
#include "shape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kesmora {

namespace {

// The two faces along an edge, in the order met, and whether each runs from the lower vertex to
// the higher.
struct Edge {
    int key = 0; // lower * kMaxVertices + higher
    int faces[2] = {-1, -1};
    bool forward[2] = {false, false};
    int uses = 0;
};

// Edge numbers by key, -1 where none; kept all -1 between calls (only the entries a call set are
// reset). A build runs on one thread at a time, but the inspector and tests may use several.
std::vector<std::int16_t>& edgeTable() {
    thread_local std::vector<std::int16_t> table(static_cast<std::size_t>(kMaxVertices) * kMaxVertices, -1);
    return table;
}

// A closed surface of the sphere's kind has V + F - 2 edges, each bounding two faces.
constexpr int kMaxEdges = kMaxVertices + kMaxFaces - 2;
constexpr int kMaxCorners = 2 * kMaxEdges;

// Orients the faces alike through the edges they share; false unless every edge has exactly two
// faces, the surface is connected and orientable, and V - E + F = 2 with every vertex used.
bool orientFaces(const FaceString* faces, int faceCount, int vertexCount, std::array<bool, kMaxFaces>& reversed) {
    std::vector<std::int16_t>& table = edgeTable();
    std::array<Edge, kMaxEdges> edges;
    int edgeCount = 0;
    std::array<std::int16_t, kMaxCorners> edgeOfCorner; // for each face corner in order: the edge it starts
    int cornerCount = 0;
    std::array<int, kMaxFaces + 1> firstCorner;
    bool ok = true;
    for (int f = 0; f < faceCount && ok; ++f) {
        const FaceString& face = faces[f];
        const int n = static_cast<int>(face.size());
        firstCorner[static_cast<std::size_t>(f)] = cornerCount;
        if (n < 3 || cornerCount + n > kMaxCorners) ok = false;
        for (int i = 0; i < n && ok; ++i) {
            const int a = vertexOfCode(face[static_cast<std::size_t>(i)]);
            const int b = vertexOfCode(face[static_cast<std::size_t>((i + 1) % n)]);
            if (a < 0 || a >= vertexCount || b < 0 || b >= vertexCount) {
                ok = false;
                break;
            }
            for (int j = i + 1; j < n; ++j) // no corner twice in one face
                if (face[static_cast<std::size_t>(i)] == face[static_cast<std::size_t>(j)]) ok = false;
            if (!ok) break;
            const int key = std::min(a, b) * kMaxVertices + std::max(a, b);
            std::int16_t& slot = table[static_cast<std::size_t>(key)];
            if (slot < 0) {
                if (edgeCount == kMaxEdges) {
                    ok = false;
                    break;
                }
                slot = static_cast<std::int16_t>(edgeCount);
                edges[static_cast<std::size_t>(edgeCount++)] = Edge{key, {-1, -1}, {false, false}, 0};
            }
            Edge& e = edges[static_cast<std::size_t>(slot)];
            if (e.uses == 2) { // three faces along one edge
                ok = false;
                break;
            }
            e.faces[e.uses] = f;
            e.forward[e.uses] = a < b;
            ++e.uses;
            edgeOfCorner[static_cast<std::size_t>(cornerCount++)] = slot;
        }
    }
    firstCorner[static_cast<std::size_t>(faceCount)] = cornerCount;
    std::array<bool, kMaxVertices> used{};
    for (int k = 0; k < edgeCount; ++k) { // leave the table as found
        const Edge& e = edges[static_cast<std::size_t>(k)];
        table[static_cast<std::size_t>(e.key)] = -1;
        ok = ok && e.uses == 2 && e.faces[0] != e.faces[1];
        used[static_cast<std::size_t>(e.key / kMaxVertices)] = true;
        used[static_cast<std::size_t>(e.key % kMaxVertices)] = true;
    }
    if (!ok) return false;
    if (std::find(used.begin(), used.begin() + vertexCount, false) != used.begin() + vertexCount) return false;
    if (vertexCount - edgeCount + faceCount != 2) return false;

    // Across each edge the neighbour turns like the face when the two run along it in opposite
    // directions, and against it when they run alike.
    std::array<signed char, kMaxFaces> state; // -1 not reached, else 1 for reversed
    std::fill(state.begin(), state.begin() + faceCount, static_cast<signed char>(-1));
    std::array<int, kMaxFaces> queue;
    int queued = 0;
    queue[static_cast<std::size_t>(queued++)] = 0;
    state[0] = 0;
    for (int q = 0; q < queued; ++q) {
        const int f = queue[static_cast<std::size_t>(q)];
        for (int c = firstCorner[static_cast<std::size_t>(f)]; c < firstCorner[static_cast<std::size_t>(f) + 1]; ++c) {
            const Edge& e = edges[static_cast<std::size_t>(edgeOfCorner[static_cast<std::size_t>(c)])];
            const int other = e.faces[0] == f ? e.faces[1] : e.faces[0];
            const int want = state[static_cast<std::size_t>(f)] ^ (e.forward[0] == e.forward[1] ? 1 : 0);
            signed char& known = state[static_cast<std::size_t>(other)];
            if (known == -1) {
                known = static_cast<signed char>(want);
                queue[static_cast<std::size_t>(queued++)] = other;
            } else if (known != want) {
                return false; // not orientable
            }
        }
    }
    if (queued != faceCount) return false; // more than one piece
    for (int f = 0; f < faceCount; ++f)
        reversed[static_cast<std::size_t>(f)] = state[static_cast<std::size_t>(f)] == 1;
    return true;
}

using Doubles2 = double __attribute__((vector_size(16)));
using Masks2 = std::int64_t __attribute__((vector_size(16)));

} // namespace

SurfaceShape surfaceShape(const Point3D* vertices, int vertexCount, const FaceString* faces, int faceCount) {
    SurfaceShape shape;
    if (!vertices || !faces || vertexCount < 4 || vertexCount > kMaxVertices || faceCount < 4 ||
        faceCount > kMaxFaces)
        return {};
    if (!orientFaces(faces, faceCount, vertexCount, shape.reversed)) return {};

    // The coordinates one array per axis, so that the test of every vertex against a plane below
    // runs several vertices per instruction.
    // One more than the table holds, for the second half of the last pair (a copy of vertex 0).
    std::array<double, kMaxVertices + 1> xs, ys, zs;
    double size = 0;
    double cx = 0, cy = 0, cz = 0;
    for (int v = 0; v < vertexCount; ++v) {
        const Point3D& p = vertices[v];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return {};
        xs[static_cast<std::size_t>(v)] = p.x;
        ys[static_cast<std::size_t>(v)] = p.y;
        zs[static_cast<std::size_t>(v)] = p.z;
        size = std::max({size, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
        cx += p.x;
        cy += p.y;
        cz += p.z;
    }
    if (!(size > 0)) return {};
    xs[static_cast<std::size_t>(vertexCount)] = xs[0];
    ys[static_cast<std::size_t>(vertexCount)] = ys[0];
    zs[static_cast<std::size_t>(vertexCount)] = zs[0];
    cx /= vertexCount;
    cy /= vertexCount;
    cz /= vertexCount;
    const double tolerance = 1e-9 * size;
    double inradius = size;

    // Oriented alike, the faces' normals all point out of the solid or all into it: each face's
    // plane has every vertex on one side, the same side for every face. Which side is read off the
    // centroid, which lies inside a convex solid.
    int side = 0;
    for (int f = 0; f < faceCount; ++f) {
        const FaceString& face = faces[f];
        const int n = static_cast<int>(face.size());
        double nx = 0, ny = 0, nz = 0; // Newell's normal
        double mx = 0, my = 0, mz = 0; // and the face's centre
        for (int i = 0; i < n; ++i) {
            const Point3D& a = vertices[vertexOfCode(face[static_cast<std::size_t>(i)])];
            const Point3D& b = vertices[vertexOfCode(face[static_cast<std::size_t>((i + 1) % n)])];
            nx += (a.y - b.y) * (a.z + b.z);
            ny += (a.z - b.z) * (a.x + b.x);
            nz += (a.x - b.x) * (a.y + b.y);
            mx += a.x;
            my += a.y;
            mz += a.z;
        }
        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (!(length > 0)) return {};
        if (shape.reversed[static_cast<std::size_t>(f)]) {
            nx = -nx;
            ny = -ny;
            nz = -nz;
        }
        const double offset = (nx * mx + ny * my + nz * mz) / n;
        const double centroidHeight = nx * cx + ny * cy + nz * cz - offset; // times length
        const int faceSide = centroidHeight < 0 ? -1 : 1; // the side the solid is on
        if (side != 0 && faceSide != side) return {};
        side = faceSide;
        // Vertices beyond the plane, away from the solid's side: counted rather than searched, in a
        // form the compiler turns into vector instructions.
        const double px = nx * faceSide, py = ny * faceSide, pz = nz * faceSide;
        const double lowest = offset * faceSide - tolerance * length;
        // Two vertices per step; the comparisons' masks (all ones where beyond) are summed.
        const Doubles2 ax{px, px}, ay{py, py}, az{pz, pz}, low{lowest, lowest};
        Masks2 beyond{0, 0};
        for (int v = 0; v < vertexCount; v += 2) {
            Doubles2 x, y, z;
            std::memcpy(&x, &xs[static_cast<std::size_t>(v)], sizeof x);
            std::memcpy(&y, &ys[static_cast<std::size_t>(v)], sizeof y);
            std::memcpy(&z, &zs[static_cast<std::size_t>(v)], sizeof z);
            beyond += ax * x + ay * y + az * z < low;
        }
        if (beyond[0] != 0 || beyond[1] != 0) return {};
        inradius = std::min(inradius, std::fabs(centroidHeight) / length);
    }
    const Point3D& first = vertices[0];
    const double reach =
        std::sqrt((first.x - cx) * (first.x - cx) + (first.y - cy) * (first.y - cy) + (first.z - cz) * (first.z - cz));
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
