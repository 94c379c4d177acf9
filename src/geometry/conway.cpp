// The operations on the darts of a surface: each new vertex is an old vertex, a point on a dart
// (an edge point seen from one of its ends) or a point of a face, and each new face is walked out
// around a face, a vertex, an edge or a dart of the old surface.
#include "conway.h"

#include "edgemap.h"
#include "point3d.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kesmora {

namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

} // namespace

Darts dartsOf(const PolyMesh& mesh) {
    const int vertexCount = static_cast<int>(mesh.vertices.size());
    Darts d;
    d.firstDart.push_back(0);
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
        const auto& face = mesh.faces[at(f)];
        const int n = static_cast<int>(face.size());
        if (n < 3) throw OperationRefused("Eine Fläche hat weniger als drei Ecken.");
        const int first = d.firstDart.back();
        for (int k = 0; k < n; ++k) {
            const int v = face[at(k)];
            if (v < 0 || v >= vertexCount) throw OperationRefused("Eine Fläche nennt eine Ecke, die es nicht gibt.");
            d.from.push_back(v);
            d.face.push_back(f);
            d.next.push_back(first + (k + 1) % n);
            d.prev.push_back(first + (k + n - 1) % n);
        }
        d.firstDart.push_back(first + n);
    }
    const int darts = d.dartCount();
    d.twin.assign(at(darts), -1);
    d.edge.assign(at(darts), -1);
    d.outOf.assign(at(vertexCount), -1);
    MapEdgeIndex index;
    for (int h = 0; h < darts; ++h) {
        const int a = d.from[at(h)], b = d.from[at(d.next[at(h)])];
        if (a == b) throw OperationRefused("Eine Fläche nennt dieselbe Ecke zweimal hintereinander.");
        d.outOf[at(a)] = d.outOf[at(a)] < 0 ? h : d.outOf[at(a)];
        int& slot = index.find(a, b);
        if (slot >= 0) throw OperationRefused("Zwei Flächen durchlaufen eine Kante in derselben Richtung, "
                                              "oder eine Kante liegt an mehr als zwei Flächen.");
        slot = h;
    }
    for (int h = 0; h < darts; ++h) {
        const int a = d.from[at(h)], b = d.from[at(d.next[at(h)])];
        const int t = index.find(b, a);
        if (t < 0) throw OperationRefused("Die Oberfläche ist nicht geschlossen: eine Kante liegt an nur einer Fläche.");
        d.twin[at(h)] = t;
        if (d.edge[at(t)] >= 0) {
            d.edge[at(h)] = d.edge[at(t)];
        } else {
            d.edge[at(h)] = d.edgeCount();
            d.edgeDart.push_back(h);
        }
    }
    // Every dart leaving a vertex must be met in one turn around it.
    std::vector<int> leaving(at(vertexCount), 0);
    for (int h = 0; h < darts; ++h)
        ++leaving[at(d.from[at(h)])];
    for (int v = 0; v < vertexCount; ++v) {
        if (d.outOf[at(v)] < 0) throw OperationRefused("Eine Ecke liegt an keiner Fläche.");
        int count = 0;
        int h = d.outOf[at(v)];
        do {
            ++count;
            h = d.turn(h);
        } while (h != d.outOf[at(v)] && count <= darts);
        if (count != leaving[at(v)])
            throw OperationRefused("An einer Ecke stoßen Flächen zusammen, die nicht reihum aneinanderliegen.");
    }
    return d;
}

PolyMesh preparedSeed(const PolyMesh& mesh) {
    PolyMesh seed = mesh;
    for (const auto& face : seed.faces)
        if (face.size() < 3) throw OperationRefused("Eine Fläche hat weniger als drei Ecken.");
    if (!isClosed(seed))
        throw OperationRefused("Die Oberfläche ist nicht geschlossen: jede Kante muss an genau zwei Flächen liegen.");
    if (!orientOutward(seed)) throw OperationRefused("Die Oberfläche hat keine zwei Seiten.");
    (void)dartsOf(seed);
    return seed;
}

bool isDirectLetter(char letter) {
    return std::string_view("datkgcpw").find(letter) != std::string_view::npos;
}

namespace {

// What the plain placement needs of every old face.
struct FaceFrame {
    Point3D centre;
    Point3D normal; // unit, outward
    double meanEdge = 0;
    double meanRadius = 0; // mean distance of its corners from its centre
};

std::vector<FaceFrame> faceFrames(const PolyMesh& mesh) {
    std::vector<FaceFrame> frames(mesh.faces.size());
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
        FaceFrame& fr = frames[at(f)];
        const auto& face = mesh.faces[at(f)];
        fr.centre = centroidOf(mesh, f);
        fr.normal = unit(areaNormal(mesh, f));
        for (std::size_t k = 0; k < face.size(); ++k) {
            const Point3D& p = mesh.vertices[at(face[k])];
            fr.meanEdge += norm(mesh.vertices[at(face[(k + 1) % face.size()])] - p);
            fr.meanRadius += norm(p - fr.centre);
        }
        fr.meanEdge /= static_cast<double>(face.size());
        fr.meanRadius /= static_cast<double>(face.size());
    }
    return frames;
}

Point3D lerp(const Point3D& a, const Point3D& b, double t) {
    return a + t * (b - a);
}

// The apex of a pyramid on the face with side edges of the face's mean edge length, or a low one
// where the face is too wide for that.
Point3D pyramidApex(const FaceFrame& fr) {
    const double h2 = fr.meanEdge * fr.meanEdge - fr.meanRadius * fr.meanRadius;
    const double low = 0.25 * fr.meanEdge;
    return fr.centre + std::sqrt(std::max(h2, low * low)) * fr.normal;
}

// A point on the dart's edge at the fraction t of the way from its first vertex.
Point3D onDart(const PolyMesh& mesh, const Darts& d, int h, double t) {
    return lerp(mesh.vertices[at(d.from[at(h)])], mesh.vertices[at(d.to(h))], t);
}

// The darts leaving vertex v, counter-clockwise seen from outside.
std::vector<int> around(const Darts& d, int v) {
    std::vector<int> darts;
    int h = d.outOf[at(v)];
    do {
        darts.push_back(h);
        h = d.turn(h);
    } while (h != d.outOf[at(v)]);
    return darts;
}

int degreeOf(const Darts& d, int v) {
    return static_cast<int>(around(d, v).size());
}

int sizeOf(const Darts& d, int f) {
    return d.firstDart[at(f + 1)] - d.firstDart[at(f)];
}

// Appends a vertex and returns its number.
int addVertex(PolyMesh& out, const Point3D& p) {
    out.vertices.push_back(p);
    return static_cast<int>(out.vertices.size()) - 1;
}

// The plain dual's points: the poles of the face planes about the sphere around the vertices'
// centroid through the edge midpoints (on average), when every face plane keeps well clear of
// that centre on its outer side; otherwise the face centres.
std::vector<Point3D> plainDualPoints(const PolyMesh& mesh, const Darts& d, const std::vector<FaceFrame>& frames) {
    const Point3D centre = centroidOfPoints(mesh.vertices);
    double radius = 0;
    for (int e = 0; e < d.edgeCount(); ++e)
        radius += norm(onDart(mesh, d, d.edgeDart[at(e)], 0.5) - centre);
    radius /= std::max(1, d.edgeCount());
    std::vector<Point3D> points;
    // Poles only for a body that bends outward at every edge: a dent would turn them inside out.
    bool poles = radius > 0;
    for (int h = 0; h < d.dartCount() && poles; ++h) {
        const FaceFrame& fr = frames[at(d.face[at(h)])];
        const Point3D beyond = mesh.vertices[at(d.to(d.next[at(d.twin[at(h)])]))];
        poles = dot(beyond - fr.centre, fr.normal) <= 1e-9 * radius;
    }
    for (const FaceFrame& fr : frames) {
        const double h = dot(fr.centre - centre, fr.normal);
        if (!poles || !(h > 0.2 * radius)) {
            poles = false;
            break;
        }
        points.push_back(centre + (radius * radius / h) * fr.normal);
    }
    if (poles) return points;
    points.clear();
    for (const FaceFrame& fr : frames)
        points.push_back(fr.centre);
    return points;
}

PolyMesh dual(const PolyMesh& mesh, const Darts& d) {
    PolyMesh out;
    out.vertices = plainDualPoints(mesh, d, faceFrames(mesh));
    out.faces = dualTopology(d).faces;
    return out;
}

PolyMesh ambo(const PolyMesh& mesh, const Darts& d) {
    PolyMesh out;
    for (int e = 0; e < d.edgeCount(); ++e)
        addVertex(out, onDart(mesh, d, d.edgeDart[at(e)], 0.5));
    for (int f = 0; f < d.faceCount(); ++f) {
        std::vector<int> face;
        for (int h = d.firstDart[at(f)]; h < d.firstDart[at(f + 1)]; ++h)
            face.push_back(d.edge[at(h)]);
        out.faces.push_back(face);
    }
    for (int v = 0; v < d.vertexCount(); ++v) {
        std::vector<int> face;
        for (int h : around(d, v))
            face.push_back(d.edge[at(h)]);
        out.faces.push_back(face);
    }
    return out;
}

// For a body in canonical form (edges touching the unit sphere about the origin): the apex on
// the face's normal through the origin from which the lines to the face's corners touch the
// sphere on average; a low apex over the face centre where there is none.
Point3D tangentApex(const PolyMesh& mesh, const Darts& d, int f, const FaceFrame& fr) {
    const Point3D low = fr.centre + (0.1 * fr.meanEdge) * fr.normal;
    const double h = dot(fr.centre, fr.normal);
    if (!(h > 0)) return low;
    double sum = 0;
    int count = 0;
    for (int k = d.firstDart[at(f)]; k < d.firstDart[at(f + 1)]; ++k) {
        // The line from s n to a corner at distance rho from the foot h n touches the sphere
        // where s^2 rho^2 = (s - h)^2 + rho^2.
        const Point3D& c = mesh.vertices[at(d.from[at(k)])];
        const double rho2 = std::max(0.0, dot(c, c) - h * h);
        const double a = rho2 - 1, b = 2 * h, cc = -(h * h + rho2);
        double s = 0;
        if (std::fabs(a) < 1e-12) {
            s = -cc / b;
        } else {
            const double disc = b * b - 4 * a * cc;
            if (disc < 0) return low;
            s = (-b + std::sqrt(disc)) / (2 * a);
        }
        if (!(s > h) || !std::isfinite(s)) return low;
        sum += s;
        ++count;
    }
    const double s = sum / std::max(count, 1);
    return s < 10 * h ? s * fr.normal : low;
}

PolyMesh kis(const PolyMesh& mesh, const Darts& d, int degree, bool low) {
    PolyMesh out;
    out.vertices = mesh.vertices;
    const auto frames = faceFrames(mesh);
    for (int f = 0; f < d.faceCount(); ++f) {
        if (degree != 0 && sizeOf(d, f) != degree) {
            out.faces.push_back(mesh.faces[at(f)]);
            continue;
        }
        const FaceFrame& fr = frames[at(f)];
        const int apex = addVertex(out, low ? tangentApex(mesh, d, f, fr) : pyramidApex(fr));
        for (int h = d.firstDart[at(f)]; h < d.firstDart[at(f + 1)]; ++h)
            out.faces.push_back({d.from[at(h)], d.to(h), apex});
    }
    return out;
}

PolyMesh truncate(const PolyMesh& mesh, const Darts& d, int degree) {
    PolyMesh out;
    std::vector<bool> cut(at(d.vertexCount()));
    std::vector<int> kept(at(d.vertexCount()), -1);
    for (int v = 0; v < d.vertexCount(); ++v) {
        cut[at(v)] = degree == 0 || degreeOf(d, v) == degree;
        if (!cut[at(v)]) kept[at(v)] = addVertex(out, mesh.vertices[at(v)]);
    }
    // The point a third of the way along each dart that leaves a cut vertex.
    std::vector<int> near(at(d.dartCount()), -1);
    for (int h = 0; h < d.dartCount(); ++h)
        if (cut[at(d.from[at(h)])]) near[at(h)] = addVertex(out, onDart(mesh, d, h, 1.0 / 3));
    for (int f = 0; f < d.faceCount(); ++f) {
        std::vector<int> face;
        for (int h = d.firstDart[at(f)]; h < d.firstDart[at(f + 1)]; ++h) {
            const int v = d.from[at(h)];
            if (cut[at(v)]) {
                face.push_back(near[at(d.twin[at(d.prev[at(h)])])]);
                face.push_back(near[at(h)]);
            } else {
                face.push_back(kept[at(v)]);
            }
        }
        out.faces.push_back(face);
    }
    for (int v = 0; v < d.vertexCount(); ++v) {
        if (!cut[at(v)]) continue;
        std::vector<int> face;
        for (int h : around(d, v))
            face.push_back(near[at(h)]);
        out.faces.push_back(face);
    }
    return out;
}

// One pentagon per dart h (from a to b in face f): f's centre, the two points on h's edge, b, and
// the point on the next side near b.
PolyMesh gyro(const PolyMesh& mesh, const Darts& d) {
    PolyMesh out;
    out.vertices = mesh.vertices;
    const auto frames = faceFrames(mesh);
    std::vector<int> centre;
    for (const FaceFrame& fr : frames)
        centre.push_back(addVertex(out, fr.centre));
    std::vector<int> third;
    for (int h = 0; h < d.dartCount(); ++h)
        third.push_back(addVertex(out, onDart(mesh, d, h, 1.0 / 3)));
    for (int h = 0; h < d.dartCount(); ++h)
        out.faces.push_back({centre[at(d.face[at(h)])], third[at(h)], third[at(d.twin[at(h)])], d.to(h),
                             third[at(d.next[at(h)])]});
    return out;
}

// One hexagon per edge between the two faces' corners at its ends, pulled a third of the way in
// towards their centres and lifted a little; the old faces shrink to those corners.
PolyMesh chamfer(const PolyMesh& mesh, const Darts& d) {
    PolyMesh out;
    out.vertices = mesh.vertices;
    const auto frames = faceFrames(mesh);
    std::vector<int> corner;
    for (int h = 0; h < d.dartCount(); ++h) {
        const FaceFrame& fr = frames[at(d.face[at(h)])];
        const Point3D p = lerp(mesh.vertices[at(d.from[at(h)])], fr.centre, 1.0 / 3);
        corner.push_back(addVertex(out, p + (fr.meanEdge / 6) * fr.normal));
    }
    for (int f = 0; f < d.faceCount(); ++f) {
        std::vector<int> face;
        for (int h = d.firstDart[at(f)]; h < d.firstDart[at(f + 1)]; ++h)
            face.push_back(corner[at(h)]);
        out.faces.push_back(face);
    }
    for (int e = 0; e < d.edgeCount(); ++e) {
        const int h = d.edgeDart[at(e)], t = d.twin[at(h)];
        out.faces.push_back({d.from[at(h)], corner[at(d.next[at(t)])], corner[at(t)], d.to(h),
                             corner[at(d.next[at(h)])], corner[at(h)]});
    }
    return out;
}

// Each face keeps a smaller turned copy through the points a third of the way along its sides,
// and one quadrilateral per dart fills the corner at the dart's first vertex.
PolyMesh propeller(const PolyMesh& mesh, const Darts& d) {
    PolyMesh out;
    out.vertices = mesh.vertices;
    std::vector<int> third;
    for (int h = 0; h < d.dartCount(); ++h)
        third.push_back(addVertex(out, onDart(mesh, d, h, 1.0 / 3)));
    for (int f = 0; f < d.faceCount(); ++f) {
        std::vector<int> face;
        for (int h = d.firstDart[at(f)]; h < d.firstDart[at(f + 1)]; ++h)
            face.push_back(third[at(h)]);
        out.faces.push_back(face);
    }
    for (int h = 0; h < d.dartCount(); ++h) {
        const int p = d.prev[at(h)];
        out.faces.push_back({d.from[at(h)], third[at(h)], third[at(p)], third[at(d.twin[at(p)])]});
    }
    return out;
}

// The gyro's pentagons with the face centre opened into a smaller turned copy of the face: one
// hexagon per dart.
PolyMesh whirl(const PolyMesh& mesh, const Darts& d) {
    PolyMesh out;
    out.vertices = mesh.vertices;
    const auto frames = faceFrames(mesh);
    std::vector<int> third, inner;
    for (int h = 0; h < d.dartCount(); ++h)
        third.push_back(addVertex(out, onDart(mesh, d, h, 1.0 / 3)));
    for (int h = 0; h < d.dartCount(); ++h)
        inner.push_back(addVertex(out, lerp(frames[at(d.face[at(h)])].centre, onDart(mesh, d, h, 0.5), 0.5)));
    for (int f = 0; f < d.faceCount(); ++f) {
        std::vector<int> face;
        for (int h = d.firstDart[at(f)]; h < d.firstDart[at(f + 1)]; ++h)
            face.push_back(inner[at(h)]);
        out.faces.push_back(face);
    }
    for (int h = 0; h < d.dartCount(); ++h) {
        const int n = d.next[at(h)];
        out.faces.push_back(
            {inner[at(h)], third[at(h)], third[at(d.twin[at(h)])], d.to(h), third[at(n)], inner[at(n)]});
    }
    return out;
}

// j: the old vertices and raised face centres, one quadrilateral per edge.
PolyMesh joinDirect(const PolyMesh& mesh, const Darts& d) {
    PolyMesh out;
    out.vertices = mesh.vertices;
    const auto frames = faceFrames(mesh);
    std::vector<int> centre;
    for (const FaceFrame& fr : frames)
        centre.push_back(addVertex(out, fr.centre + (fr.meanEdge / 4) * fr.normal));
    for (int e = 0; e < d.edgeCount(); ++e) {
        const int h = d.edgeDart[at(e)], t = d.twin[at(h)];
        out.faces.push_back(
            {d.from[at(h)], centre[at(d.face[at(t)])], d.to(h), centre[at(d.face[at(h)])]});
    }
    return out;
}

// e: every face shrunk about its centre, a face for every vertex and a quadrilateral for every edge.
PolyMesh expandDirect(const PolyMesh& mesh, const Darts& d) {
    PolyMesh out;
    const auto frames = faceFrames(mesh);
    std::vector<int> corner;
    for (int h = 0; h < d.dartCount(); ++h)
        corner.push_back(addVertex(out, lerp(mesh.vertices[at(d.from[at(h)])], frames[at(d.face[at(h)])].centre, 0.3)));
    for (int f = 0; f < d.faceCount(); ++f) {
        std::vector<int> face;
        for (int h = d.firstDart[at(f)]; h < d.firstDart[at(f + 1)]; ++h)
            face.push_back(corner[at(h)]);
        out.faces.push_back(face);
    }
    for (int v = 0; v < d.vertexCount(); ++v) {
        std::vector<int> face;
        for (int h : around(d, v))
            face.push_back(corner[at(h)]);
        out.faces.push_back(face);
    }
    for (int e = 0; e < d.edgeCount(); ++e) {
        const int h = d.edgeDart[at(e)], t = d.twin[at(h)];
        out.faces.push_back({corner[at(d.next[at(t)])], corner[at(t)], corner[at(d.next[at(h)])], corner[at(h)]});
    }
    return out;
}

} // namespace

Topology dualTopology(const Darts& d) {
    Topology t;
    t.vertexCount = d.faceCount();
    for (int v = 0; v < d.vertexCount(); ++v) {
        std::vector<int> face;
        for (int h : around(d, v))
            face.push_back(d.face[at(h)]);
        t.faces.push_back(face);
    }
    return t;
}

PolyMesh applyDirect(const PolyMesh& mesh, const Operation& op, bool towardsCanonical) {
    const Darts d = dartsOf(mesh);
    switch (op.letter) {
    case 'd': return dual(mesh, d);
    case 'a': return ambo(mesh, d);
    case 't': return truncate(mesh, d, op.degree);
    case 'k': return kis(mesh, d, op.degree, towardsCanonical);
    case 'g': return gyro(mesh, d);
    case 'c': return chamfer(mesh, d);
    case 'p': return propeller(mesh, d);
    case 'w': return whirl(mesh, d);
    default: throw std::invalid_argument(std::string("not a direct operation: ") + op.letter);
    }
}

PolyMesh applyComposedDirectly(const PolyMesh& mesh, char letter) {
    const Darts d = dartsOf(mesh);
    switch (letter) {
    case 'j': return joinDirect(mesh, d);
    case 'e': return expandDirect(mesh, d);
    default: throw std::invalid_argument(std::string("no direct construction: ") + letter);
    }
}

} // namespace kesmora
