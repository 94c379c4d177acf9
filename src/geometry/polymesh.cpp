// The measures of a polygon mesh.
#include "polymesh.h"

#include "edgemap.h"
#include "facemeasures.h"
#include "orientation.h"

#include <algorithm>
#include <cmath>

namespace kesmora {

bool isClosed(const PolyMesh& mesh) {
    const auto edges = edgeMap(mesh.faces).edges;
    return std::all_of(edges.begin(), edges.end(), [](const MeshEdge& e) { return e.uses == 2; });
}

namespace {

// Adds six times the signed volume of the cone from the origin over a face, a fan triangle at a
// time (so that a sum over faces adds in the same order as one over all triangles).
void addConeVolume6(const PolyMesh& mesh, const std::vector<int>& face, double& v) {
    for (std::size_t i = 1; i + 1 < face.size(); ++i)
        v += dot(mesh.vertices[face[0]], cross(mesh.vertices[face[i]], mesh.vertices[face[i + 1]]));
}

} // namespace

double signedVolume(const PolyMesh& mesh) {
    double v = 0;
    for (const auto& face : mesh.faces)
        addConeVolume6(mesh, face, v);
    return v / 6;
}

bool orientOutward(PolyMesh& mesh) {
    const int n = static_cast<int>(mesh.faces.size());
    const EdgeMap map = edgeMap(mesh.faces);
    for (const MeshEdge& e : map.edges)
        if (e.uses > 2) return false;
    std::vector<signed char> flip(static_cast<std::size_t>(n));
    std::vector<int> piece(static_cast<std::size_t>(n)), queue(static_cast<std::size_t>(n));
    const int pieces = orientAlike(n, map.firstSide, map.edgeOfSide, map.edges, flip, piece, queue);
    if (pieces < 0) return false;
    for (int f = 0; f < n; ++f)
        if (flip[f] == 1) std::reverse(mesh.faces[f].begin(), mesh.faces[f].end());
    std::vector<double> volume(static_cast<std::size_t>(pieces), 0.0);
    for (int f = 0; f < n; ++f)
        addConeVolume6(mesh, mesh.faces[f], volume[piece[f]]);
    for (int f = 0; f < n; ++f)
        if (volume[piece[f]] < 0) std::reverse(mesh.faces[f].begin(), mesh.faces[f].end());
    return true;
}

Point3D areaNormal(const PolyMesh& mesh, int face) {
    return faceAreaVector(mesh.vertices, mesh.faces[static_cast<std::size_t>(face)]);
}

Point3D centroidOf(const PolyMesh& mesh, int face) {
    return faceCentroidScaled(mesh.vertices, mesh.faces[static_cast<std::size_t>(face)]);
}

double flatness(const PolyMesh& mesh, int face) {
    const Point3D n = unit(areaNormal(mesh, face));
    const Point3D c = centroidOf(mesh, face);
    double worst = 0;
    for (int v : mesh.faces[face])
        worst = std::max(worst, std::fabs(dot(mesh.vertices[v] - c, n)));
    return worst;
}

double extent(const PolyMesh& mesh) {
    return radiusAboutCentroid(mesh.vertices);
}

std::vector<std::vector<FaceCorner>> cornersAtVertices(const PolyMesh& mesh) {
    std::vector<std::vector<FaceCorner>> corners(mesh.vertices.size());
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
        const std::vector<int>& face = mesh.faces[static_cast<std::size_t>(f)];
        const std::size_t n = face.size();
        for (std::size_t k = 0; k < n; ++k)
            corners.at(static_cast<std::size_t>(face[k])).push_back({f, face[(k + n - 1) % n], face[(k + 1) % n]});
    }
    return corners;
}

std::vector<int> smallestCycle(const std::vector<int>& cycle) {
    std::vector<int> best = cycle, turned = cycle;
    for (std::size_t r = 0; r < cycle.size(); ++r) {
        std::rotate(turned.begin(), turned.begin() + 1, turned.end());
        best = std::min(best, turned);
        best = std::min(best, std::vector<int>(turned.rbegin(), turned.rend()));
    }
    return best;
}

PolyMesh meshOf(const Figure& figure) {
    PolyMesh m;
    m.vertices.assign(figure.vertices.begin(), figure.vertices.end());
    m.faces.reserve(static_cast<std::size_t>(figure.faces.size()));
    for (const FaceView face : figure.faces)
        m.faces.push_back(face.toVector());
    return m;
}

} // namespace kesmora
