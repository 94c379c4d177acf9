// The solid or its dual as a plain polygon mesh, oriented outward.
#include "mesh.h"

#include <algorithm>
#include <map>
#include <queue>

namespace kesmora::inspect {

namespace {

Mesh meshOf(const Point3D* vertices, int vertexCount, const FaceString* faces, int faceCount) {
    Mesh m;
    m.vertices.assign(vertices, vertices + vertexCount);
    for (int f = 0; f < faceCount; ++f) {
        std::vector<int> face;
        for (char ch : faces[f])
            face.push_back(vertexOfCode(ch));
        m.faces.push_back(std::move(face));
    }
    return m;
}

} // namespace

Mesh solidMesh(const SolidModel& model) {
    return meshOf(model.vertices.data(), model.vertexCount, model.faces.data(), model.faceCount);
}

Mesh dualMesh(const SolidModel& model) {
    return meshOf(model.dualVertices.data(), model.dualVertexCount, model.dualFaces.data(),
                  model.dualFaceCount);
}

std::vector<Edge> edgesOf(const Mesh& mesh) {
    std::map<std::pair<int, int>, std::vector<int>> byEnds;
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
        const auto& face = mesh.faces[f];
        for (std::size_t i = 0; i < face.size(); ++i) {
            const int a = face[i], b = face[(i + 1) % face.size()];
            byEnds[{std::min(a, b), std::max(a, b)}].push_back(f);
        }
    }
    std::vector<Edge> edges;
    for (auto& [ends, faces] : byEnds)
        edges.push_back({ends.first, ends.second, std::move(faces)});
    return edges;
}

bool isClosed(const Mesh& mesh) {
    const auto edges = edgesOf(mesh);
    return std::all_of(edges.begin(), edges.end(), [](const Edge& e) { return e.faces.size() == 2; });
}

double signedVolume(const Mesh& mesh) {
    double v = 0;
    for (const auto& face : mesh.faces)
        for (std::size_t i = 1; i + 1 < face.size(); ++i)
            v += dot(mesh.vertices[face[0]], cross(mesh.vertices[face[i]], mesh.vertices[face[i + 1]]));
    return v / 6;
}

namespace {

// Whether the face runs from a to b (true) or from b to a along one of its sides.
bool runsForward(const std::vector<int>& face, int a, int b) {
    for (std::size_t i = 0; i < face.size(); ++i)
        if (face[i] == a && face[(i + 1) % face.size()] == b) return true;
    return false;
}

} // namespace

bool orientOutward(Mesh& mesh) {
    const int n = static_cast<int>(mesh.faces.size());
    const auto edges = edgesOf(mesh);
    // Per face, its neighbours across each side, with the side's lower vertex first.
    std::vector<std::vector<std::pair<int, const Edge*>>> around(static_cast<std::size_t>(n));
    for (const Edge& e : edges) {
        if (e.faces.size() > 2) return false;
        if (e.faces.size() == 2) {
            around[e.faces[0]].push_back({e.faces[1], &e});
            around[e.faces[1]].push_back({e.faces[0], &e});
        }
    }
    std::vector<int> flip(static_cast<std::size_t>(n), -1);
    std::vector<int> piece(static_cast<std::size_t>(n), -1);
    int pieces = 0;
    for (int start = 0; start < n; ++start) {
        if (flip[start] >= 0) continue;
        flip[start] = 0;
        piece[start] = pieces;
        std::queue<int> todo;
        todo.push(start);
        while (!todo.empty()) {
            const int f = todo.front();
            todo.pop();
            for (const auto& [g, e] : around[f]) {
                // As f is (or will be) written, does it run a -> b?
                const bool fForward = runsForward(mesh.faces[f], e->a, e->b) != (flip[f] == 1);
                const bool gForward = runsForward(mesh.faces[g], e->a, e->b);
                const int wanted = gForward == fForward ? 1 : 0;
                if (flip[g] < 0) {
                    flip[g] = wanted;
                    piece[g] = pieces;
                    todo.push(g);
                } else if (flip[g] != wanted) {
                    return false;
                }
            }
        }
        ++pieces;
    }
    for (int f = 0; f < n; ++f)
        if (flip[f] == 1) std::reverse(mesh.faces[f].begin(), mesh.faces[f].end());
    std::vector<double> volume(static_cast<std::size_t>(pieces), 0.0);
    for (int f = 0; f < n; ++f) {
        const auto& face = mesh.faces[f];
        for (std::size_t i = 1; i + 1 < face.size(); ++i)
            volume[piece[f]] +=
                dot(mesh.vertices[face[0]], cross(mesh.vertices[face[i]], mesh.vertices[face[i + 1]]));
    }
    for (int f = 0; f < n; ++f)
        if (volume[piece[f]] < 0) std::reverse(mesh.faces[f].begin(), mesh.faces[f].end());
    return true;
}

Point3D areaNormal(const Mesh& mesh, int face) {
    const auto& idx = mesh.faces[face];
    Point3D n;
    for (std::size_t i = 0; i < idx.size(); ++i)
        n = n + cross(mesh.vertices[idx[i]], mesh.vertices[idx[(i + 1) % idx.size()]]);
    return n;
}

Point3D centroidOf(const Mesh& mesh, int face) {
    Point3D c;
    for (int v : mesh.faces[face])
        c = c + mesh.vertices[v];
    return (1.0 / static_cast<double>(mesh.faces[face].size())) * c;
}

double flatness(const Mesh& mesh, int face) {
    const Point3D n = unit(areaNormal(mesh, face));
    const Point3D c = centroidOf(mesh, face);
    double worst = 0;
    for (int v : mesh.faces[face])
        worst = std::max(worst, std::fabs(dot(mesh.vertices[v] - c, n)));
    return worst;
}

double extent(const Mesh& mesh) {
    double largest = 0;
    for (const Point3D& p : mesh.vertices)
        largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    return largest;
}

} // namespace kesmora::inspect
