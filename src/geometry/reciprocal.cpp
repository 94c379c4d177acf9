// The polar reciprocal: poles of the face planes, polar planes of the vertices.
#include "reciprocal.h"

#include "degenerate.h"
#include "facemeasures.h"
#include "point3d.h"
#include "polar.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>

namespace kesmora {

namespace {

// Every edge once, as (lower, higher) vertex number.
std::vector<std::pair<int, int>> edgesOf(const PolyMesh& s) {
    std::vector<std::pair<int, int>> edges;
    for (const auto& face : s.faces)
        for (std::size_t k = 0; k < face.size(); ++k) {
            const int a = face[k], b = face[(k + 1) % face.size()];
            edges.emplace_back(std::min(a, b), std::max(a, b));
        }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

void checkIndices(const PolyMesh& s) {
    const int n = static_cast<int>(s.vertices.size());
    for (const auto& face : s.faces) {
        if (face.size() < 3) throw ReciprocalRefused("Eine Fläche hat weniger als drei Ecken");
        for (int v : face)
            if (v < 0 || v >= n) throw ReciprocalRefused("Eine Fläche nennt eine Ecke, die es nicht gibt");
    }
}


// The faces around vertex v in the order they meet across its edges, starting with the lowest:
// each face at v has two edges there, and each edge leads on to the one other face that has it.
// The catalogue does not fix the faces' sense, so the walk goes by shared edges, not by direction.
std::vector<int> facesAround(const PolyMesh& s, int v, const std::vector<std::vector<int>>& facesAt,
                             const std::map<std::pair<int, int>, std::vector<int>>& facesOnEdge) {
    const std::vector<int>& at = facesAt[static_cast<std::size_t>(v)];
    const std::string where = "um die Ecke " + std::to_string(v);
    if (at.size() < 3)
        throw ReciprocalRefused("Die Flächen " + where + " schließen sich nicht zu einem Kranz");
    auto neighbours = [&](int f) {
        const auto& face = s.faces[static_cast<std::size_t>(f)];
        const std::size_t k = static_cast<std::size_t>(std::find(face.begin(), face.end(), v) - face.begin());
        return std::pair{face[(k + face.size() - 1) % face.size()], face[(k + 1) % face.size()]};
    };
    std::vector<int> ring{at.front()};
    int face = at.front();
    int across = neighbours(face).second; // the edge (v, across) leads to the next face
    while (true) {
        const auto on = facesOnEdge.find({std::min(v, across), std::max(v, across)});
        if (on == facesOnEdge.end() || on->second.size() != 2)
            throw ReciprocalRefused("Die Kante zwischen den Ecken " + std::to_string(v) + " und " +
                                    std::to_string(across) + " gehört nicht zu genau zwei Flächen");
        const int next = on->second[0] == face ? on->second[1] : on->second[0];
        if (next == ring.front()) break;
        if (ring.size() == at.size())
            throw ReciprocalRefused("Die Flächen " + where + " schließen sich nicht zu einem Kranz");
        ring.push_back(next);
        const auto [before, after] = neighbours(next);
        across = before == across ? after : before;
        face = next;
    }
    if (ring.size() != at.size())
        throw ReciprocalRefused("Die Flächen " + where + " bilden mehr als einen Kranz");
    return ring;
}

// The power of two that brings the largest coordinate near 1. Products of coordinates (normals,
// squared lengths) overflow from about 1e154 on, which the build still takes; scaling by a power
// of two is exact, so the result is the same as in exact arithmetic of any size.
int exponentOf(const std::vector<Point3D>& points) {
    const double largest = largestCoordinate(points);
    return largest > 0 && std::isfinite(largest) ? std::ilogb(largest) : 0;
}

Point3D scaled(const Point3D& p, int exponent) {
    return {std::ldexp(p.x, exponent), std::ldexp(p.y, exponent), std::ldexp(p.z, exponent)};
}

PolyMesh scaled(const PolyMesh& s, int exponent) {
    PolyMesh out{{}, s.faces};
    out.vertices.reserve(s.vertices.size());
    for (const Point3D& p : s.vertices)
        out.vertices.push_back(scaled(p, exponent));
    return out;
}

PolarSphere sphereOf(const PolyMesh& s) {
    PolarSphere sphere;
    if (s.vertices.empty()) return sphere;
    for (const Point3D& p : s.vertices)
        sphere.centre = sphere.centre + p;
    sphere.centre = (1.0 / static_cast<double>(s.vertices.size())) * sphere.centre;

    const auto edges = edgesOf(s);
    if (edges.empty()) return sphere;
    double nearest = INFINITY, farthest = 0, lineSum = 0, midpointSum = 0;
    for (const auto& [a, b] : edges) {
        const Point3D pa = s.vertices[static_cast<std::size_t>(a)] - sphere.centre;
        const Point3D pb = s.vertices[static_cast<std::size_t>(b)] - sphere.centre;
        const double length = norm(pb - pa);
        const double line = length > 0 ? norm(cross(pa, pb - pa)) / length : norm(pa);
        nearest = std::min(nearest, line);
        farthest = std::max(farthest, line);
        lineSum += line;
        midpointSum += norm(0.5 * (pa + pb));
    }
    const double count = static_cast<double>(edges.size());
    sphere.midsphere = farthest > 0 && farthest - nearest <= 1e-9 * farthest;
    sphere.radius = sphere.midsphere ? lineSum / count : midpointSum / count;
    return sphere;
}

// Two neighbouring faces in one plane have their poles on one point, and the reciprocal's edge
// between them would have length 0 (a net of it a fold of length 0). Faces in one plane that do not
// meet, as in a compound of cubes, only make two vertices of the reciprocal coincide, as its parts
// touch there.
void checkNoZeroEdges(const std::vector<Point3D>& poles, const Point3D& centre,
                      const std::map<std::pair<int, int>, std::vector<int>>& facesOnEdge) {
    double reach = 0;
    for (const Point3D& p : poles)
        reach = std::max(reach, norm(p - centre));
    for (const auto& [edge, faces] : facesOnEdge) {
        const auto f = static_cast<std::size_t>(std::min(faces.at(0), faces.at(1)));
        const auto g = static_cast<std::size_t>(std::max(faces.at(0), faces.at(1)));
        if (norm(poles.at(g) - poles.at(f)) <= kDegenerateTolerance * reach)
            throw ReciprocalRefused("Die Flächen " + std::to_string(f + 1) + " und " + std::to_string(g + 1) +
                                    " grenzen aneinander und liegen in einer Ebene, so dass ihre Pole "
                                    "zusammenfielen");
    }
}

PolyMesh reciprocalOf(const PolyMesh& s, const PolarSphere& sphere) {
    double size = 0;
    for (const Point3D& p : s.vertices)
        size = std::max(size, norm(p - sphere.centre));
    if (!(size > 0) || !std::isfinite(size) || !(sphere.radius > 0))
        throw ReciprocalRefused("Der Körper hat keine Ausdehnung um seinen Mittelpunkt");
    const double radius2 = sphere.radius * sphere.radius;

    PolyMesh r;
    r.vertices.reserve(s.faces.size());
    for (std::size_t f = 0; f < s.faces.size(); ++f) {
        const Point3D n = unit(newellNormal(s.vertices, s.faces[f]));
        const double d = dot(n, faceCentroidScaled(s.vertices, s.faces[f]) - sphere.centre);
        // A plane through the centre has its pole at infinity; one very near it, far beyond the body.
        if (!(std::fabs(d) > kDegenerateTolerance * size))
            throw ReciprocalRefused("Die Ebene der Fläche " + std::to_string(f + 1) + " von " +
                                    std::to_string(s.faces.size()) +
                                    " geht durch den Mittelpunkt des Körpers und hat keinen Pol");
        r.vertices.push_back(sphere.centre + poleOfPlane(n, d, radius2));
    }

    const std::vector<std::vector<int>> facesAt = facesAtVertices(s.faces, static_cast<int>(s.vertices.size()));
    std::map<std::pair<int, int>, std::vector<int>> facesOnEdge;
    for (int f = 0; f < static_cast<int>(s.faces.size()); ++f) {
        const auto& face = s.faces[static_cast<std::size_t>(f)];
        for (std::size_t k = 0; k < face.size(); ++k) {
            const int a = face[k], b = face[(k + 1) % face.size()];
            facesOnEdge[{std::min(a, b), std::max(a, b)}].push_back(f);
        }
    }
    r.faces.reserve(s.vertices.size());
    for (int v = 0; v < static_cast<int>(s.vertices.size()); ++v) {
        std::vector<int> ring = facesAround(s, v, facesAt, facesOnEdge);
        const Point3D outward = s.vertices[static_cast<std::size_t>(v)] - sphere.centre;
        if (dot(newellNormal(r.vertices, ring), outward) < 0) std::reverse(ring.begin() + 1, ring.end());
        r.faces.push_back(std::move(ring));
    }
    checkNoZeroEdges(r.vertices, sphere.centre, facesOnEdge); // every edge has two faces by now
    return r;
}

} // namespace

PolarSphere reciprocalSphere(const PolyMesh& s) {
    checkIndices(s);
    const int e = exponentOf(s.vertices);
    PolarSphere sphere = sphereOf(scaled(s, -e));
    sphere.centre = scaled(sphere.centre, e);
    sphere.radius = std::ldexp(sphere.radius, e);
    return sphere;
}

PolyMesh polarReciprocal(const PolyMesh& s, const PolarSphere& sphere) {
    checkIndices(s);
    const int e = exponentOf(s.vertices);
    const PolarSphere down{scaled(sphere.centre, -e), std::ldexp(sphere.radius, -e), sphere.midsphere};
    PolyMesh r = reciprocalOf(scaled(s, -e), down);
    for (Point3D& p : r.vertices)
        p = scaled(p, e);
    return r;
}

PolyMesh polarReciprocal(const PolyMesh& s) {
    return polarReciprocal(s, reciprocalSphere(s));
}

PolyMesh solidSurface(const SolidModel& m) {
    PolyMesh s;
    s.vertices.assign(m.solid.vertices.begin(), m.solid.vertices.end());
    s.faces.reserve(static_cast<std::size_t>(m.solid.faces.size()));
    for (const FaceView face : m.solid.faces)
        s.faces.push_back(face.toVector());
    return s;
}

void reciprocalDual(SolidModel& m) {
    const PolyMesh solid = solidSurface(m);
    const PolarSphere sphere = reciprocalSphere(solid);
    const PolyMesh r = polarReciprocal(solid, sphere);

    Figure& dual = m.dual;
    // A dual taken where the solid stands; the coordinates of its own are kept by the build after.
    m.own.dual.clear();
    dual.vertices.clear();
    for (const Point3D& p : r.vertices)
        dual.vertices.push_back(p);
    dual.faces.clear();
    dual.faceRecords.clear();
    for (const std::vector<int>& face : r.faces)
        dual.addFace(face);
    m.dualInfo = DualInfo{DualKind::PolarReciprocal, DualShape::PolarReciprocal, sphere.midsphere, {}, {}};
}

} // namespace kesmora
