// Dual construction: one dual vertex per face, one dual face per vertex, put into boundary order
// by distances and walked around the vertex where those cross; where the recipe asks, non-planar
// dual faces are cut along short diagonals.
#include "dual.h"

#include "facemeasures.h"
#include "geometryerror.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace kesmora {

namespace {

// A dual face while the dual is made: the solid's faces around one vertex, then in boundary order.
using Corners = std::vector<int>;
using DualFaces = std::vector<Corners>;

// A face's corners must be loaded vertices; the centroid is then the mean of them (the origin for
// a face without corners).
void checkCorners(FaceView face, int vertexCount) {
    for (int i : face)
        if (i < 0 || i >= vertexCount) throw GeometryError("Fläche nennt eine Ecke, die es nicht gibt");
}

void orderQuadrilateral(const SolidModel& m, Corners& s) {
    const int a[4] = {s[0], s[1], s[2], s[3]};
    auto d = [&](int i, int j) { return abstand2(m, a[i], a[j]); };
    const double s1 = d(0, 1) + d(1, 2) + d(2, 3) + d(0, 3);
    const double s2 = d(0, 1) + d(1, 3) + d(2, 3) + d(0, 2);
    const double s3 = d(0, 2) + d(1, 2) + d(1, 3) + d(0, 3);
    if (s1 < s2 && s1 < s3) return;
    if (s2 < s1 && s2 < s3)
        std::swap(s[2], s[3]);
    else if (s3 < s1 && s3 < s2)
        std::swap(s[1], s[2]);
}

void orderByNearestNeighbour(const SolidModel& m, Corners& s) {
    Corners chain(1, s[0]);
    Corners rest(s.begin() + 1, s.end());
    while (rest.size() > 1) {
        const int last = chain.back();
        double best = 1e16;
        std::size_t bestAt = 0;
        for (std::size_t i = 0; i < rest.size(); ++i) {
            const double d = abstand2(m, last, rest[i]);
            if (d < best) {
                best = d;
                bestAt = i;
            }
        }
        chain.push_back(rest[bestAt]);
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(bestAt));
    }
    chain.insert(chain.end(), rest.begin(), rest.end());
    s = chain;
}

// The vertices next to solid vertex v in face f's line, on either side.
std::vector<int> besideVertex(const SolidModel& m, int v, int f) {
    const FaceView line = m.solid.faces[f];
    const int n = line.size();
    std::vector<int> beside;
    for (int k = 0; k < n; ++k)
        if (line[k] == v) {
            beside.push_back(line[(k + n - 1) % n]);
            beside.push_back(line[(k + 1) % n]);
        }
    return beside;
}

// The distance orders above can jump across the faces around a vertex when their centroids lie
// unevenly (the snub dodecahedron's do), which draws a crossed dual face. Two faces around v are
// neighbours when they share an edge at v; a dual face whose corners do not run from neighbour to
// neighbour is walked around v instead: from its first corner to the nearer of that face's two
// neighbours (the lower face index when both are equally near), then on to the neighbour not yet
// visited. Where the faces around v do not close up into one ring, nothing tells the boundary, and
// the chain stays as it is.
void followBoundary(const SolidModel& m, int v, Corners& s) {
    const std::size_t n = s.size();
    std::vector<std::vector<int>> beside(n);
    for (std::size_t i = 0; i < n; ++i)
        beside[i] = besideVertex(m, v, s[i]);
    auto neighbours = [&](std::size_t i, std::size_t j) {
        for (int u : beside[i])
            if (std::find(beside[j].begin(), beside[j].end(), u) != beside[j].end()) return true;
        return false;
    };

    bool follows = true;
    for (std::size_t i = 0; i < n && follows; ++i)
        follows = neighbours(i, (i + 1) % n);
    if (follows) return;

    std::vector<std::vector<std::size_t>> ring(n);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < n; ++j)
            if (j != i && neighbours(i, j)) ring[i].push_back(j);
    for (const auto& next : ring)
        if (next.size() != 2) return;

    const auto& first = ring[0];
    const int f0 = s[0], fa = s[first[0]], fb = s[first[1]];
    const double da = abstand2(m, f0, fa), db = abstand2(m, f0, fb);
    std::size_t at = (da < db || (da == db && fa < fb)) ? first[0] : first[1];
    std::vector<bool> visited(n, false);
    visited[0] = true;
    Corners walked(1, s[0]);
    while (!visited[at]) {
        visited[at] = true;
        walked.push_back(s[at]);
        at = visited[ring[at][0]] ? ring[at][1] : ring[at][0];
    }
    // A walk that closes before it has visited every face went round one of several rings.
    if (walked.size() == n) s = walked;
}

void addFace(DualFaces& faces, Corners face) {
    if (faces.size() >= static_cast<std::size_t>(kMaxFaces))
        throw GeometryError("Das duale Polyeder hat mehr als " + std::to_string(kMaxFaces) + " Flächen");
    faces.push_back(std::move(face));
}

void cutPentagons(const SolidModel& m, DualFaces& faces) {
    for (int v = 0; v < m.solid.vertices.size(); ++v) {
        if (faces.at(static_cast<std::size_t>(v)).size() != 5) continue;
        const Corners s = faces[static_cast<std::size_t>(v)];
        const int a[5] = {s[0], s[1], s[2], s[3], s[4]};
        const double e[5] = {abstand2(m, a[0], a[2]), abstand2(m, a[1], a[3]), abstand2(m, a[2], a[4]),
                             abstand2(m, a[0], a[3]), abstand2(m, a[1], a[4])};
        int shortest = -1;
        for (int i = 0; i < 5; ++i) {
            bool strictly = true;
            for (int j = 0; j < 5; ++j)
                if (j != i && !(e[i] < e[j])) strictly = false;
            if (strictly) shortest = i;
        }
        if (shortest < 0) continue;
        static constexpr int kKeep[5][3] = {{0, 1, 2}, {1, 2, 3}, {2, 3, 4}, {0, 3, 4}, {0, 1, 4}};
        static constexpr int kNew[5][4] = {
            {0, 2, 3, 4}, {0, 1, 3, 4}, {0, 1, 2, 4}, {0, 1, 2, 3}, {1, 2, 3, 4}};
        Corners added;
        for (int i : kNew[shortest])
            added.push_back(s[static_cast<std::size_t>(i)]);
        addFace(faces, added);
        Corners kept;
        for (int i : kKeep[shortest])
            kept.push_back(s[static_cast<std::size_t>(i)]);
        faces[static_cast<std::size_t>(v)] = kept;
    }
}

void cutQuadrilaterals(const SolidModel& m, DualFaces& faces) {
    const std::size_t start = faces.size();
    for (std::size_t v = 0; v < start; ++v) {
        const Corners s = faces[v];
        if (s.size() != 4) continue;
        const double dA = abstand2(m, s[0], s[2]);
        const double dB = abstand2(m, s[1], s[3]);
        if (dA < dB) {
            addFace(faces, Corners{s[0], s[2], s[3]});
            faces[v] = Corners{s[0], s[1], s[2]};
        } else {
            addFace(faces, Corners{s[1], s[2], s[3]});
            faces[v] = Corners{s[0], s[1], s[3]};
        }
    }
}

// The working faces become the dual's face table, each with its record.
void storeDualFaces(Figure& dual, const DualFaces& faces) {
    std::size_t corners = 0;
    for (const Corners& face : faces)
        corners += face.size();
    dual.faces.clear();
    dual.faceRecords.clear();
    dual.faces.reserve(static_cast<int>(faces.size()), static_cast<int>(corners));
    dual.faceRecords.reserve(static_cast<int>(faces.size()));
    for (const Corners& face : faces)
        dual.addFace(face);
}

} // namespace

double abstand2(const SolidModel& model, int i, int j) {
    const CheckedTable<Point3D>& vertices = model.dual.vertices;
    if (i < 0 || j < 0 || i >= vertices.size() || j >= vertices.size())
        throw GeometryError("Duale Ecke außerhalb der Tabelle");
    const Point3D& a = vertices[i];
    const Point3D& b = vertices[j];
    const long double dx = static_cast<long double>(a.x) - b.x;
    const long double dy = static_cast<long double>(a.y) - b.y;
    const long double dz = static_cast<long double>(a.z) - b.z;
    return static_cast<double>(dx * dx + dy * dy + dz * dz);
}

void dualbilden(SolidModel& m, const DualRecipe& recipe) {
    const Figure& solid = m.solid;
    Figure& dual = m.dual;
    if (solid.vertices.size() > kMaxFaces)
        throw GeometryError("Der Körper ist zu groß für das duale Polyeder (höchstens " +
                            std::to_string(kMaxFaces) + " Ecken und Flächen)");

    // 1. Dual vertices at the face centroids, moved to the poles of the face planes where asked.
    const bool pole = recipe.poleRescaling;
    dual.vertices.resize(solid.faces.size());
    for (int f = 0; f < solid.faces.size(); ++f) {
        checkCorners(solid.faces[f], solid.vertices.size());
        Point3D p = faceCentroid(solid.vertices, solid.faces[f]);
        if (pole && !solid.faces[f].empty()) {
            const Point3D& v0 = solid.vertices[solid.faces[f][0]];
            const double w = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
            const double rx = v0.x - p.x, ry = v0.y - p.y, rz = v0.z - p.z;
            const double r2 = rx * rx + ry * ry + rz * rz;
            if (w > 0 && std::isfinite(w)) {
                const double k = (r2 + w * w) / w;
                p = {k / w * p.x, k / w * p.y, k / w * p.z};
            }
        }
        dual.vertices[f] = p;
    }

    // 3. The faces around each vertex, in ascending face order.
    DualFaces faces = facesAtVertices(solid.faces, solid.vertices.size());

    // A vertex on fewer than three faces would become a dual face of fewer than three corners:
    // the faces do not close up around it, or it belongs to none.
    for (std::size_t v = 0; v < faces.size(); ++v) {
        const std::size_t around = faces[v].size();
        if (around < 3)
            throw GeometryError("Die Ecke " + std::to_string(v) + " liegt " +
                                (around == 0   ? std::string("auf keiner Fläche")
                                 : around == 1 ? std::string("auf nur einer Fläche")
                                               : std::string("auf nur zwei Flächen")) +
                                "; jede Ecke eines Körpers liegt auf mindestens drei, sonst hätte das duale "
                                "Polyeder eine Fläche mit weniger als drei Ecken");
    }

    // 4. The records: the centroid of each face summed in ascending face order. A cut below makes
    // them anew from the faces in boundary order.
    std::vector<Point3D> ascendingCentroids;
    if (!recipe.cutPentagons && !recipe.cutQuadrilaterals) {
        ascendingCentroids.reserve(faces.size());
        for (const Corners& around : faces)
            ascendingCentroids.push_back(faceCentroid(dual.vertices, around));
    }
    // 5. Boundary order, and the walk around the vertex where the distances lead astray.
    for (std::size_t v = 0; v < faces.size(); ++v) {
        Corners& s = faces[v];
        if (s.size() == 4)
            orderQuadrilateral(m, s);
        else if (s.size() >= 5)
            orderByNearestNeighbour(m, s);
        if (s.size() >= 4 && recipe.walkAroundVertices) followBoundary(m, static_cast<int>(v), s);
    }

    // 6. Pentagons, before the quadrilaterals: those the cut leaves are cut by step 7 too.
    if (recipe.cutPentagons) cutPentagons(m, faces);
    // 7. Quadrilaterals.
    if (recipe.cutQuadrilaterals) cutQuadrilaterals(m, faces);
    storeDualFaces(dual, faces);
    for (std::size_t v = 0; v < ascendingCentroids.size(); ++v)
        dual.faceRecords[static_cast<int>(v)].centroid = ascendingCentroids[v];
}

} // namespace kesmora
