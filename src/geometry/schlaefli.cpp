// Schläfli symbols of regular polyhedra.
#include "schlaefli.h"

#include "edgemap.h"
#include "point3d.h"

#include <cmath>
#include <numbers>
#include <numeric>

namespace kesmora {

namespace {

// How often a closed polygon winds around the line through `centre` along `axis`.
int windings(const std::vector<Point3D>& ring, const Point3D& centre, const Point3D& axis) {
    double turned = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point3D a = ring[i] - centre, b = ring[(i + 1) % ring.size()] - centre;
        turned += std::atan2(dot(axis, cross(a, b)), dot(a, b));
    }
    return static_cast<int>(std::lround(std::fabs(turned) / (2 * std::numbers::pi)));
}

std::string part(int corners, int density) {
    return density <= 1 ? std::to_string(corners) : std::to_string(corners) + "/" + std::to_string(density);
}

bool connected(const PolyMesh& mesh) {
    const std::size_t count = mesh.vertices.size();
    std::vector<int> parent(count);
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](int v) {
        while (parent[static_cast<std::size_t>(v)] != v)
            v = parent[static_cast<std::size_t>(v)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(v)])];
        return v;
    };
    for (const auto& face : mesh.faces)
        for (std::size_t k = 1; k < face.size(); ++k)
            parent[static_cast<std::size_t>(root(face[k]))] = root(face[0]);
    for (std::size_t v = 0; v < count; ++v)
        if (root(static_cast<int>(v)) != root(0)) return false;
    return count > 0;
}

} // namespace

std::string schlaefliSymbol(const PolyMesh& mesh, const SymmetryGroup& group) {
    if (!group.found || mesh.faces.empty() || mesh.vertices.size() < 4) return "";
    for (const auto& face : mesh.faces)
        for (int v : face)
            if (v < 0 || static_cast<std::size_t>(v) >= mesh.vertices.size()) return "";
    const EdgeMap map = edgeMap(mesh.faces);
    if (group.order != 4 * static_cast<int>(map.edges.size()) || !isClosed(mesh) || !connected(mesh)) return "";
    const std::size_t p = mesh.faces.front().size();
    if (p < 3) return "";
    std::vector<std::vector<int>> neighbours(mesh.vertices.size());
    for (const MeshEdge& e : map.edges) {
        neighbours[static_cast<std::size_t>(e.a)].push_back(e.b);
        neighbours[static_cast<std::size_t>(e.b)].push_back(e.a);
    }
    const std::size_t q = neighbours.front().size();
    for (const auto& face : mesh.faces)
        if (face.size() != p) return "";
    for (const auto& around : neighbours)
        if (around.size() != q) return "";

    // The faces' winding about their own centre and normal.
    const Point3D faceCentre = centroidOf(mesh, 0);
    const Point3D faceAxis = unit(areaNormal(mesh, 0));
    std::vector<Point3D> ring;
    for (int v : mesh.faces.front())
        ring.push_back(mesh.vertices[static_cast<std::size_t>(v)]);
    // A star polygon's Newell normal may be short but keeps its direction; without one the face
    // lies flat through nothing.
    if (norm(faceAxis) == 0) return "";
    const int faceDensity = windings(ring, faceCentre, faceAxis);

    // The vertex figure of vertex 0: its neighbours in their order around it, face by face.
    std::vector<Point3D> figure;
    int at = -1, from = -1;
    const int start = mesh.faces.front()[0];
    // Walk: from a neighbour `at` along the face that holds (from, start, at) to the next one.
    at = mesh.faces.front()[1];
    from = mesh.faces.front().back();
    for (std::size_t step = 0; step < q; ++step) {
        figure.push_back(mesh.vertices[static_cast<std::size_t>(at)]);
        int next = -1;
        for (const auto& face : mesh.faces) {
            const std::size_t n = face.size();
            for (std::size_t k = 0; k < n && next < 0; ++k) {
                if (face[k] != start) continue;
                const int before = face[(k + n - 1) % n], after = face[(k + 1) % n];
                if (before == at && after != from) next = after;
                else if (after == at && before != from) next = before;
            }
            if (next >= 0) break;
        }
        if (next < 0) return "";
        from = at;
        at = next;
    }
    const Point3D centre = centroidOfPoints(mesh.vertices);
    const Point3D vertexAxis = unit(mesh.vertices[static_cast<std::size_t>(start)] - centre);
    const int vertexDensity = windings(figure, centroidOfPoints(figure), vertexAxis);
    if (faceDensity < 1 || vertexDensity < 1) return "";
    return "{" + part(static_cast<int>(p), faceDensity) + "," + part(static_cast<int>(q), vertexDensity) + "}";
}

} // namespace kesmora
