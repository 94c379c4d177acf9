// Dual construction: one dual vertex per face, one dual face per vertex, put into boundary order
// by distances and walked around the vertex where those cross; where the recipe asks, non-planar
// dual faces are cut along short diagonals.
#include "dual.h"

#include "geometryerror.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace kesmora {

namespace {

// Mean of the named points; an empty string gives the origin rather than a division by zero.
Point3D meanOf(const FaceString& face, const FixedTable<Point3D, kMaxVertices>& points) {
    Point3D sum;
    int used = 0;
    for (char ch : face) {
        const int i = vertexOfCode(ch);
        if (i < 0 || i >= points.size()) throw GeometryError("Fläche nennt eine Ecke, die es nicht gibt");
        sum.x += points[i].x;
        sum.y += points[i].y;
        sum.z += points[i].z;
        ++used;
    }
    if (used == 0) return {};
    return {sum.x / used, sum.y / used, sum.z / used};
}

void computeDualRecords(Figure& dual) {
    dual.faceRecords.resize(dual.faces.size());
    for (int v = 0; v < dual.faces.size(); ++v) {
        dual.faceRecords[v].centroid = meanOf(dual.faces[v], dual.vertices);
        dual.faceRecords[v].colour = v % 23 + 1;
    }
}

void orderQuadrilateral(const SolidModel& m, FaceString& s) {
    const int a[4] = {vertexOfCode(s[0]), vertexOfCode(s[1]), vertexOfCode(s[2]), vertexOfCode(s[3])};
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

void orderByNearestNeighbour(const SolidModel& m, FaceString& s) {
    FaceString chain(1, s[0]);
    FaceString rest = s.substr(1);
    while (rest.size() > 1) {
        const int last = vertexOfCode(chain.back());
        double best = 1e16;
        std::size_t bestAt = 0;
        for (std::size_t i = 0; i < rest.size(); ++i) {
            const double d = abstand2(m, last, vertexOfCode(rest[i]));
            if (d < best) {
                best = d;
                bestAt = i;
            }
        }
        chain.push_back(rest[bestAt]);
        rest.erase(bestAt, 1);
    }
    chain += rest;
    s = chain;
}

// The vertices next to solid vertex v in face f's line, on either side.
std::vector<char> besideVertex(const SolidModel& m, int v, int f) {
    const FaceString& line = m.solid.faces[f];
    const char code = codeOfVertex(v);
    std::vector<char> beside;
    for (std::size_t k = 0; k < line.size(); ++k)
        if (line[k] == code) {
            beside.push_back(line[(k + line.size() - 1) % line.size()]);
            beside.push_back(line[(k + 1) % line.size()]);
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
void followBoundary(const SolidModel& m, int v, FaceString& s) {
    const std::size_t n = s.size();
    std::vector<std::vector<char>> beside(n);
    for (std::size_t i = 0; i < n; ++i)
        beside[i] = besideVertex(m, v, vertexOfCode(s[i]));
    auto neighbours = [&](std::size_t i, std::size_t j) {
        for (char u : beside[i])
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
    const int f0 = vertexOfCode(s[0]), fa = vertexOfCode(s[first[0]]), fb = vertexOfCode(s[first[1]]);
    const double da = abstand2(m, f0, fa), db = abstand2(m, f0, fb);
    std::size_t at = (da < db || (da == db && fa < fb)) ? first[0] : first[1];
    std::vector<bool> visited(n, false);
    visited[0] = true;
    FaceString walked(1, s[0]);
    while (!visited[at]) {
        visited[at] = true;
        walked.push_back(s[at]);
        at = visited[ring[at][0]] ? ring[at][1] : ring[at][0];
    }
    // A walk that closes before it has visited every face went round one of several rings.
    if (walked.size() == n) s = walked;
}

void addFace(SolidModel& m, FaceString face) {
    if (m.dual.faces.size() >= kMaxFaces)
        throw GeometryError("Das duale Polyeder hat mehr als " + std::to_string(kMaxFaces) + " Flächen");
    m.dual.faces.push_back(std::move(face));
}

void cutPentagons(SolidModel& m) {
    for (int v = 0; v < m.solid.vertices.size(); ++v) {
        FaceString& s = m.dual.faces[v];
        if (s.size() != 5) continue;
        const int a[5] = {vertexOfCode(s[0]), vertexOfCode(s[1]), vertexOfCode(s[2]), vertexOfCode(s[3]),
                          vertexOfCode(s[4])};
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
        const FaceString old = s;
        FaceString added;
        for (int i : kNew[shortest])
            added.push_back(old[i]);
        addFace(m, added);
        s.clear();
        for (int i : kKeep[shortest])
            s.push_back(old[i]);
    }
}

void cutQuadrilaterals(SolidModel& m) {
    const int start = m.dual.faces.size();
    for (int v = 0; v < start; ++v) {
        const FaceString s = m.dual.faces[v];
        if (s.size() != 4) continue;
        const double dA = abstand2(m, vertexOfCode(s[0]), vertexOfCode(s[2]));
        const double dB = abstand2(m, vertexOfCode(s[1]), vertexOfCode(s[3]));
        if (dA < dB) {
            addFace(m, FaceString{s[0], s[2], s[3]});
            m.dual.faces[v] = FaceString{s[0], s[1], s[2]};
        } else {
            addFace(m, FaceString{s[1], s[2], s[3]});
            m.dual.faces[v] = FaceString{s[0], s[1], s[3]};
        }
    }
}

} // namespace

double abstand2(const SolidModel& model, int i, int j) {
    const FixedTable<Point3D, kMaxVertices>& vertices = model.dual.vertices;
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
        Point3D p = meanOf(solid.faces[f], solid.vertices);
        if (pole && !solid.faces[f].empty()) {
            const Point3D& v0 = solid.vertices[vertexOfCode(solid.faces[f][0])];
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
    dual.faces.clear();
    dual.faces.resize(solid.vertices.size());
    for (int f = 0; f < solid.faces.size(); ++f)
        for (char ch : solid.faces[f]) {
            const int v = vertexOfCode(ch);
            if (v < 0 || v >= solid.vertices.size())
                throw GeometryError("Fläche nennt eine Ecke, die es nicht gibt");
            FaceString& around = dual.faces[v];
            if (around.empty() || around.back() != codeOfVertex(f)) around.push_back(codeOfVertex(f));
        }

    // A vertex on fewer than three faces would become a dual face of fewer than three corners:
    // the faces do not close up around it, or it belongs to none.
    for (int v = 0; v < dual.faces.size(); ++v) {
        const std::size_t around = dual.faces[v].size();
        if (around < 3)
            throw GeometryError("Die Ecke " + std::to_string(v) + " liegt " +
                                (around == 0   ? std::string("auf keiner Fläche")
                                 : around == 1 ? std::string("auf nur einer Fläche")
                                               : std::string("auf nur zwei Flächen")) +
                                "; jede Ecke eines Körpers liegt auf mindestens drei, sonst hätte das duale "
                                "Polyeder eine Fläche mit weniger als drei Ecken");
    }

    // 4.
    computeDualRecords(dual);

    // 5. Boundary order, and the walk around the vertex where the distances lead astray.
    for (int v = 0; v < dual.faces.size(); ++v) {
        FaceString& s = dual.faces[v];
        if (s.size() == 4)
            orderQuadrilateral(m, s);
        else if (s.size() >= 5)
            orderByNearestNeighbour(m, s);
        if (s.size() >= 4 && recipe.walkAroundVertices) followBoundary(m, v, s);
    }

    // 6. Pentagons, before the quadrilaterals: those the cut leaves are cut by step 7 too.
    if (recipe.cutPentagons) {
        cutPentagons(m);
        computeDualRecords(dual);
    }
    // 7. Quadrilaterals.
    if (recipe.cutQuadrilaterals) {
        cutQuadrilaterals(m);
        computeDualRecords(dual);
    }
}

} // namespace kesmora
