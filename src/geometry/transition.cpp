#include "transition.h"

#include "edgemap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <span>
#include <utility>

namespace kesmora {

namespace {

std::size_t slot(int i) {
    return static_cast<std::size_t>(i);
}

[[noreturn]] void notLaidOut() {
    throw GeometryError("Das Ergebnis ist nicht so aufgebaut, wie die Operation es baut");
}

std::vector<std::vector<int>> neighboursOf(const PolyMesh& mesh) {
    std::vector<std::vector<int>> next(mesh.vertices.size());
    for (const MeshEdge& edge : edgeMap(mesh.faces).edges) {
        next[slot(edge.a)].push_back(edge.b);
        next[slot(edge.b)].push_back(edge.a);
    }
    return next;
}

// The point nearest, in the least-squares sense, to the planes n·x = d (unit normals), pulled very
// slightly towards `fallback` so that planes that almost meet in a line still give a point.
Point3D nearestToPlanes(const std::vector<std::pair<Point3D, double>>& planes, const Point3D& fallback, double size) {
    const double eps = 1e-9;
    double a[3][3] = {{eps, 0, 0}, {0, eps, 0}, {0, 0, eps}};
    double b[3] = {eps * fallback.x, eps * fallback.y, eps * fallback.z};
    for (const auto& [n, d] : planes) {
        const double v[3] = {n.x, n.y, n.z};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                a[r][c] += v[r] * v[c];
            b[r] += v[r] * d;
        }
    }
    const auto det3 = [](const double m[3][3]) {
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    };
    const double det = det3(a);
    if (!(std::fabs(det) > 1e-30)) return fallback;
    double solution[3];
    for (int c = 0; c < 3; ++c) {
        double m[3][3];
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k)
                m[r][k] = k == c ? b[r] : a[r][k];
        solution[c] = det3(m) / det;
    }
    const Point3D p{solution[0], solution[1], solution[2]};
    // Planes nearly parallel put the point far away: a corner that far is no corner to grow from.
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) || norm(p - fallback) > 10 * size)
        return fallback;
    return p;
}

} // namespace

bool OperationTransition::animates(char letter) {
    switch (letter) {
    case 't':
    case 'a':
    case 'k':
    case 'e':
    case 'j':
    case 'o':
    case 'b': return true;
    default: return false;
    }
}

OperationTransition::OperationTransition(const PolyMesh& result, char letter, int seedVertices, int seedFaces) {
    if (!animates(letter)) throw GeometryError("Für diese Operation gibt es keinen Übergang");
    if (seedVertices < 4 || seedFaces < 4) notLaidOut();
    const int faceCount = static_cast<int>(result.faces.size());
    for (const std::vector<int>& face : result.faces) {
        if (face.size() < 3) notLaidOut();
        for (int v : face)
            if (v < 0 || slot(v) >= result.vertices.size()) notLaidOut();
    }
    switch (letter) {
    case 't':
    case 'a': growCorners(result, seedFaces, faceCount - seedFaces); break;
    case 'e':
    case 'b': growCorners(result, seedFaces, seedVertices); break;
    default: raise(result, letter, seedVertices, seedFaces); break;
    }
    if (from_.size() != to_.size() || resultVertex_.size() != to_.size()) notLaidOut();
    chooseAnchors(result);
}

void OperationTransition::chooseAnchors(const PolyMesh& result) {
    const std::vector<Point3D>& p = result.vertices;
    const auto farthest = [&](auto&& distance) {
        int best = 0;
        double largest = -1;
        for (std::size_t v = 0; v < p.size(); ++v)
            if (const double d = distance(p[v]); d > largest) {
                largest = d;
                best = static_cast<int>(v);
            }
        return best;
    };
    vertexCount_ = p.size();
    anchors_[0] = 0;
    const Point3D a = p[0];
    anchors_[1] = farthest([&](const Point3D& q) { return norm(q - a); });
    const Point3D ab = p[slot(anchors_[1])] - a;
    anchors_[2] = farthest([&](const Point3D& q) { return norm(cross(ab, q - a)); });
    const Point3D normal = cross(ab, p[slot(anchors_[2])] - a);
    anchors_[3] = farthest([&](const Point3D& q) { return std::fabs(dot(normal, q - a)); });
    const Point3D u = ab, v = p[slot(anchors_[2])] - a, w = p[slot(anchors_[3])] - a;
    // The inverse of the matrix with columns u, v, w: its rows are the cross products over the
    // determinant.
    const double det = dot(u, cross(v, w));
    if (!(std::fabs(det) > 1e-12 * std::pow(std::max(norm(u), 1e-300), 3))) return; // flat: not carried
    const Point3D rows[3] = {cross(v, w) / det, cross(w, u) / det, cross(u, v) / det};
    for (int r = 0; r < 3; ++r) {
        inverse_[r][0] = rows[r].x;
        inverse_[r][1] = rows[r].y;
        inverse_[r][2] = rows[r].z;
    }
    for (int k = 0; k < 4; ++k)
        anchorsThen_[k] = p[slot(anchors_[k])];
    carried_ = true;
}

void OperationTransition::growCorners(const PolyMesh& result, int keptFaces, int growingFaces) {
    const int faceCount = static_cast<int>(result.faces.size());
    const int vertexCount = static_cast<int>(result.vertices.size());
    if (growingFaces < 1 || keptFaces + growingFaces > faceCount) notLaidOut();
    const int firstGrowing = keptFaces, endGrowing = keptFaces + growingFaces;
    const auto growing = [&](int f) { return f >= firstGrowing && f < endGrowing; };

    std::vector<std::vector<int>> facesAt(slot(vertexCount));
    for (int f = 0; f < faceCount; ++f)
        for (int v : result.faces[slot(f)])
            facesAt[slot(v)].push_back(f);
    const double size = std::max(extent(result), 1e-300);

    // Each growing face grows from the corner where the planes of the old faces around it meet.
    std::vector<Point3D> corner(slot(growingFaces));
    for (int g = firstGrowing; g < endGrowing; ++g) {
        std::vector<std::pair<Point3D, double>> planes;
        std::vector<int> seen;
        for (int v : result.faces[slot(g)])
            for (int f : facesAt[slot(v)]) {
                if (f >= keptFaces || std::find(seen.begin(), seen.end(), f) != seen.end()) continue;
                seen.push_back(f);
                const Point3D n = areaNormal(result, f);
                const double length = norm(n);
                if (!(length > 0)) continue;
                planes.emplace_back(n / length, dot(n / length, centroidOf(result, f)));
            }
        if (planes.size() < 3) notLaidOut();
        corner[slot(g - firstGrowing)] = nearestToPlanes(planes, centroidOf(result, g), size);
    }

    // A vertex on several growing faces (ambo's) is one vertex per face on the way, which meet at
    // the end; a vertex on none (a corner a restricted truncation leaves) stays where it is.
    std::vector<std::vector<std::pair<int, int>>> copies(slot(vertexCount)); // (growing face, copy)
    for (int v = 0; v < vertexCount; ++v) {
        for (int f : facesAt[slot(v)]) {
            if (!growing(f)) continue;
            copies[slot(v)].emplace_back(f, static_cast<int>(from_.size()));
            from_.push_back(corner[slot(f - firstGrowing)]);
            to_.push_back(result.vertices[slot(v)]);
            resultVertex_.push_back(v);
        }
        if (copies[slot(v)].empty()) {
            copies[slot(v)].emplace_back(-1, static_cast<int>(from_.size()));
            from_.push_back(result.vertices[slot(v)]);
            to_.push_back(result.vertices[slot(v)]);
            resultVertex_.push_back(v);
        }
    }
    // The corners of the old faces' planes lie farther out than the result's vertices (half as far
    // again for an expansion): the start is shrunk about the centre to the result's size, so that
    // the faces move apart as the new faces grow between them, and the picture keeps its size.
    Point3D centre;
    for (const Point3D& p : result.vertices)
        centre = centre + p;
    centre = centre / static_cast<double>(std::max<std::size_t>(result.vertices.size(), 1));
    double reachStart = 0, reachEnd = 0;
    for (std::size_t c = 0; c < from_.size(); ++c) {
        reachStart = std::max(reachStart, norm(from_[c] - centre));
        reachEnd = std::max(reachEnd, norm(to_[c] - centre));
    }
    if (reachStart > 0 && reachEnd > 0)
        for (Point3D& p : from_)
            p = centre + (reachEnd / reachStart) * (p - centre);

    // Growing faces must not touch along an edge, and a vertex on more than one must be ambo's.
    const EdgeMap onEdges = edgeMap(result.faces);
    for (const MeshEdge& edge : onEdges.edges) {
        if (edge.uses != 2) notLaidOut();
        if (growing(edge.sides[0].face) && growing(edge.sides[1].face)) notLaidOut();
    }
    const auto copyOf = [&](int v, int face) {
        for (const auto& [g, copy] : copies[slot(v)])
            if (g == face) return copy;
        return copies[slot(v)].front().second;
    };

    for (int f = 0; f < faceCount; ++f) {
        const std::vector<int>& face = result.faces[slot(f)];
        std::vector<int> out;
        if (growing(f)) {
            for (int v : face)
                out.push_back(copyOf(v, f));
        } else {
            const std::span<const int> sides = onEdges.sidesOf(f);
            for (std::size_t k = 0; k < face.size(); ++k) {
                const int a = face[k], b = face[(k + 1) % face.size()];
                const int across = onEdges.edges.at(static_cast<std::size_t>(sides[k])).other(f);
                for (int v : {a, b}) {
                    const int copy = copyOf(v, growing(across) ? across : -2);
                    if (out.empty() || out.back() != copy) out.push_back(copy);
                }
            }
            while (out.size() > 1 && out.front() == out.back())
                out.pop_back();
        }
        if (out.size() < 3) notLaidOut();
        faces_.push_back(std::move(out));
    }
}

void OperationTransition::raise(const PolyMesh& result, char letter, int seedVertices, int seedFaces) {
    const int vertexCount = static_cast<int>(result.vertices.size());
    const std::vector<std::vector<int>> next = neighboursOf(result);
    from_ = result.vertices;
    to_ = result.vertices;
    faces_ = result.faces;
    for (int v = 0; v < vertexCount; ++v)
        resultVertex_.push_back(v);
    const auto lowerOf = [&](int v, int end) {
        Point3D sum;
        int count = 0;
        for (int w : next[slot(v)])
            if (w < end) {
                sum = sum + from_[slot(w)];
                ++count;
            }
        return std::pair<Point3D, int>{sum, count};
    };
    // A raised vertex lies over the middle of the vertices below it, all of which it must reach.
    const auto flatten = [&](int first, int end, int below, bool allBelow) {
        for (int v = first; v < end; ++v) {
            const auto [sum, count] = lowerOf(v, below);
            if (count < 2 || (allBelow && count != static_cast<int>(next[slot(v)].size()))) notLaidOut();
            from_[slot(v)] = sum / count;
        }
    };
    // How many of a face's corners lie in [first, end).
    const auto cornersIn = [](const std::vector<int>& face, int first, int end) {
        return static_cast<int>(std::count_if(face.begin(), face.end(), [&](int v) { return v >= first && v < end; }));
    };
    switch (letter) {
    case 'k': {
        // The old vertices, then an apex for each face cut into a pyramid; a face left whole (by a
        // kis restricted to one size of face) stays as it was.
        const int apexes = vertexCount - seedVertices;
        if (apexes < 1 || apexes > seedFaces) notLaidOut();
        flatten(seedVertices, vertexCount, seedVertices, true);
        int whole = 0;
        for (const std::vector<int>& face : result.faces) {
            const int raised = cornersIn(face, seedVertices, vertexCount);
            if (raised > 1 || (raised == 1 && face.size() != 3)) notLaidOut();
            whole += raised == 0 ? 1 : 0;
        }
        if (whole != seedFaces - apexes) notLaidOut();
        break;
    }
    case 'j':
        // The old vertices, then a raised centre for each face; a quadrilateral for each old edge.
        if (vertexCount != seedVertices + seedFaces) notLaidOut();
        flatten(seedVertices, vertexCount, seedVertices, true);
        for (const std::vector<int>& face : result.faces)
            if (face.size() != 4 || cornersIn(face, seedVertices, vertexCount) != 2) notLaidOut();
        break;
    case 'o': {
        // The old vertices, the face centres, then a point on each edge between two old vertices.
        const int firstEdge = seedVertices + seedFaces;
        if (vertexCount <= firstEdge) notLaidOut();
        for (const std::vector<int>& face : result.faces)
            if (face.size() != 4 || cornersIn(face, 0, seedVertices) != 1 || cornersIn(face, firstEdge, vertexCount) != 2)
                notLaidOut();
        flatten(firstEdge, vertexCount, seedVertices, false);
        for (int v = firstEdge; v < vertexCount; ++v)
            if (lowerOf(v, seedVertices).second != 2) notLaidOut();
        for (int v = seedVertices; v < firstEdge; ++v) {
            Point3D sum;
            int count = 0;
            for (int w : next[slot(v)]) {
                if (w < firstEdge) notLaidOut();
                sum = sum + from_[slot(w)];
                ++count;
            }
            if (count < 3) notLaidOut();
            from_[slot(v)] = sum / count;
        }
        break;
    }
    default: notLaidOut();
    }
}

PolyMesh OperationTransition::at(double s) const {
    s = std::clamp(std::isfinite(s) ? s : 1.0, 0.0, 1.0);
    PolyMesh mesh;
    mesh.vertices.reserve(from_.size());
    for (std::size_t v = 0; v < from_.size(); ++v)
        mesh.vertices.push_back((1 - s) * from_[v] + s * to_[v]); // exactly the result's at s = 1
    mesh.faces = faces_;
    return mesh;
}

PolyMesh OperationTransition::at(double s, const std::vector<Point3D>& placed) const {
    if (placed.size() != vertexCount_) throw GeometryError("Das Ergebnis hat eine andere Zahl von Ecken");
    if (!carried_) return at(s);
    s = std::clamp(std::isfinite(s) ? s : 1.0, 0.0, 1.0);
    // The affine map that takes the anchors to where they are now: x -> a' + M (x - a), M the
    // matrix of the anchors' differences now times the inverse of those they had.
    const Point3D a = anchorsThen_[0], aNow = placed[slot(anchors_[0])];
    const Point3D now[3] = {placed[slot(anchors_[1])] - aNow, placed[slot(anchors_[2])] - aNow,
                            placed[slot(anchors_[3])] - aNow};
    const auto carried = [&](const Point3D& x) {
        const Point3D d = x - a;
        const double c[3] = {inverse_[0][0] * d.x + inverse_[0][1] * d.y + inverse_[0][2] * d.z,
                             inverse_[1][0] * d.x + inverse_[1][1] * d.y + inverse_[1][2] * d.z,
                             inverse_[2][0] * d.x + inverse_[2][1] * d.y + inverse_[2][2] * d.z};
        return aNow + c[0] * now[0] + c[1] * now[1] + c[2] * now[2];
    };
    PolyMesh mesh;
    mesh.vertices.reserve(from_.size());
    for (std::size_t v = 0; v < from_.size(); ++v)
        mesh.vertices.push_back((1 - s) * carried(from_[v]) + s * placed[slot(resultVertex_[v])]);
    mesh.faces = faces_;
    return mesh;
}

double easedPosition(double t) {
    t = std::clamp(std::isfinite(t) ? t : 1.0, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

} // namespace kesmora
