// Constructions of the hidden category-0 bodies. Convex ones come from the hull of their points;
// the others list their faces, and compounds keep a vertex set of their own per component.
#include "hidden.h"

#include "uniform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <stdexcept>

namespace gen {

namespace {

const double kPi = std::numbers::pi;

// ---- helpers --------------------------------------------------------------------------------

// The turn that takes direction `from` onto direction `to` (the smallest one).
Point3D turnedOnto(Point3D v, Point3D from, Point3D to) {
    const Point3D a = normalized(from), b = normalized(to);
    const Point3D axis = cross(a, b);
    const double s = norm(axis), c = dot(a, b);
    if (s < 1e-15) return c > 0 ? v : Point3D{v.x, -v.y, -v.z};
    return kesmora::turnedAbout(v, axis / s, std::atan2(s, c));
}

// Components side by side: every component keeps its own vertices, numbered after the earlier ones.
Polyhedron compound(const std::vector<std::vector<Point3D>>& parts) {
    Polyhedron out;
    for (const auto& pts : parts) {
        const Polyhedron p = convexHull(pts);
        const int offset = static_cast<int>(out.vertices.size());
        out.vertices.insert(out.vertices.end(), p.vertices.begin(), p.vertices.end());
        for (auto f : p.faces) {
            for (int& i : f)
                i += offset;
            out.faces.push_back(f);
        }
    }
    return out;
}

// Gives every face the sense of its neighbours (each edge then runs once in each direction) and
// turns the whole surface outward, by the sign of the enclosed volume. For a one-sided surface
// the faces stay as the first consistent sweep leaves them.
void orientConsistently(Polyhedron& p) {
    const int nf = static_cast<int>(p.faces.size());
    std::map<std::pair<int, int>, std::vector<int>> facesOfEdge;
    for (int f = 0; f < nf; ++f) {
        const auto& face = p.faces[f];
        for (std::size_t k = 0; k < face.size(); ++k) {
            const int a = face[k], b = face[(k + 1) % face.size()];
            facesOfEdge[{std::min(a, b), std::max(a, b)}].push_back(f);
        }
    }
    auto runs = [&](int f, int a, int b) { // face f has the directed edge a -> b
        const auto& face = p.faces[f];
        for (std::size_t k = 0; k < face.size(); ++k)
            if (face[k] == a && face[(k + 1) % face.size()] == b) return true;
        return false;
    };
    std::vector<bool> done(nf, false);
    for (int start = 0; start < nf; ++start) {
        if (done[start]) continue;
        done[start] = true;
        std::vector<int> queue{start};
        for (std::size_t q = 0; q < queue.size(); ++q) {
            const int f = queue[q];
            const auto face = p.faces[f];
            for (std::size_t k = 0; k < face.size(); ++k) {
                const int a = face[k], b = face[(k + 1) % face.size()];
                for (int g : facesOfEdge[{std::min(a, b), std::max(a, b)}]) {
                    if (g == f || done[g]) continue;
                    if (runs(g, a, b)) std::reverse(p.faces[g].begin(), p.faces[g].end());
                    done[g] = true;
                    queue.push_back(g);
                }
            }
        }
    }
    double volume = 0;
    for (const auto& face : p.faces)
        for (std::size_t k = 1; k + 1 < face.size(); ++k)
            volume += dot(p.vertices[face[0]], cross(p.vertices[face[k]], p.vertices[face[k + 1]]));
    if (volume < 0)
        for (auto& face : p.faces)
            std::reverse(face.begin(), face.end());
}

std::vector<Point3D> cubeCorners() {
    std::vector<Point3D> c;
    for (int m = 0; m < 8; ++m)
        c.push_back({(m & 4) ? -1.0 : 1.0, (m & 2) ? -1.0 : 1.0, (m & 1) ? -1.0 : 1.0});
    return c;
}

std::vector<Point3D> turned(const std::vector<Point3D>& pts, Point3D axis, double angle) {
    std::vector<Point3D> out;
    for (const Point3D& v : pts)
        out.push_back(kesmora::turnedAbout(v, normalized(axis), angle));
    return out;
}

// ---- convex bodies ---------------------------------------------------------------------------

// Right pyramid: regular n-gon of the given side at z = +height/2, apex at -height/2.
Polyhedron pyramid(int n, double side, double height) {
    const double r = side / (2 * std::sin(kPi / n));
    std::vector<Point3D> pts = ringPoints(n, r, n == 4 ? kPi / 4 : 0, height / 2);
    pts.push_back({0, 0, -height / 2});
    return convexHull(pts);
}

// Frustum of a right pyramid: the large n-gon at +height/2, the small one at -height/2.
Polyhedron frustum(int n, double bottomSide, double topSide, double height) {
    const double offset = n == 4 ? kPi / 4 : 0;
    std::vector<Point3D> pts = ringPoints(n, bottomSide / (2 * std::sin(kPi / n)), offset, height / 2);
    addRing(pts, n, topSide / (2 * std::sin(kPi / n)), offset, -height / 2);
    return convexHull(pts);
}

Polyhedron rectangularFrustum() {
    std::vector<Point3D> pts;
    for (auto [hx, hy, z] : {std::array{1.0, 0.5, 1.0}, std::array{0.5, 0.25, -1.0}})
        for (auto [sx, sy] : {std::pair{1, 1}, {-1, 1}, {-1, -1}, {1, -1}})
            pts.push_back({sx * hx, sy * hy, z});
    return convexHull(pts);
}

// ---- bodies with explicit faces ---------------------------------------------------------------

// Square frame: outer side 3, hole side 1, thickness 1; each annulus cut into four trapezoids.
Polyhedron squareFrame() {
    Polyhedron p;
    // Outer corners at z = -1/2 (0-3) and +1/2 (4-7), inner corners likewise (8-11, 12-15).
    for (double half : {1.5, 0.5})
        for (double z : {-0.5, 0.5})
            for (auto [sx, sy] : {std::pair{1, 1}, {-1, 1}, {-1, -1}, {1, -1}})
                p.vertices.push_back({sx * half, sy * half, z});
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        p.faces.push_back({k, n, 8 + n, 8 + k});             // annulus at -z
        p.faces.push_back({4 + k, 12 + k, 12 + n, 4 + n});   // annulus at +z
        p.faces.push_back({k, 4 + k, 4 + n, n});             // outer wall
        p.faces.push_back({8 + k, 8 + n, 12 + n, 12 + k});   // inner wall
    }
    orientConsistently(p);
    return p;
}

// Menger sponge of level 1: the unit cells of a 3 x 3 x 3 block with at most one middle
// coordinate, as the surface of unit squares between a kept cell and an empty one.
Polyhedron mengerSponge() {
    auto kept = [](int i, int j, int k) {
        if (i < 0 || j < 0 || k < 0 || i > 2 || j > 2 || k > 2) return false;
        return (i == 1) + (j == 1) + (k == 1) <= 1;
    };
    Polyhedron p;
    std::map<std::array<int, 3>, int> vertexAt;
    auto vertex = [&](std::array<int, 3> c) {
        const auto it = vertexAt.find(c);
        if (it != vertexAt.end()) return it->second;
        const int id = static_cast<int>(p.vertices.size());
        vertexAt[c] = id;
        p.vertices.push_back({c[0] - 1.5, c[1] - 1.5, c[2] - 1.5});
        return id;
    };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) {
                if (!kept(i, j, k)) continue;
                const std::array<int, 3> cell{i, j, k};
                for (int axis = 0; axis < 3; ++axis)
                    for (int side : {1, -1}) {
                        std::array<int, 3> next = cell;
                        next[axis] += side;
                        if (kept(next[0], next[1], next[2])) continue;
                        // Square in the plane of the cell's side; b, c the other axes with
                        // e_b x e_c = e_axis, so (b, c) order runs counter-clockwise about +axis.
                        const int b = (axis + 1) % 3, c = (axis + 2) % 3;
                        std::array<int, 3> o = cell;
                        if (side > 0) o[axis] += 1;
                        std::vector<int> face;
                        for (auto [db, dc] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
                            std::array<int, 3> q = o;
                            q[b] += db;
                            q[c] += dc;
                            face.push_back(vertex(q));
                        }
                        if (side < 0) std::reverse(face.begin(), face.end());
                        p.faces.push_back(face);
                    }
            }
    return p;
}

// Sierpinski tetrahedron of level 2: 16 tetrahedra of a quarter of the edge, one apex of the
// whole at -z.
Polyhedron sierpinskiTetrahedron() {
    const std::array<Point3D, 4> t{Point3D{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
    std::vector<std::vector<Point3D>> parts;
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b) {
            std::vector<Point3D> small;
            for (int i = 0; i < 4; ++i)
                small.push_back(turnedOnto(((t[i] + t[b]) / 2 + t[a]) / 2, t[0], {0, 0, -1}));
            parts.push_back(small);
        }
    return compound(parts);
}

// Uniform pentagrammic prism: pentagrams of edge 1 at z = -1/2 and +1/2, written in star order.
Polyhedron pentagrammicPrism() {
    const double r = 1 / (2 * std::sin(2 * kPi / 5));
    Polyhedron p;
    p.vertices = ringPoints(5, r, 0, -0.5);
    addRing(p.vertices, 5, r, 0, 0.5);
    p.faces.push_back({0, 2, 4, 1, 3});
    p.faces.push_back({5, 7, 9, 6, 8});
    for (int k = 0; k < 5; ++k) {
        const int m = (k + 2) % 5;
        p.faces.push_back({k, m, 5 + m, 5 + k});
    }
    orientConsistently(p);
    return p;
}

// Tetrahemihexahedron: the octahedron's vertices (unit edge), four alternate triangles and the
// three squares through the centre.
Polyhedron tetrahemihexahedron() {
    const double s = 1 / std::sqrt(2.0);
    Polyhedron p;
    p.vertices = {{s, 0, 0}, {-s, 0, 0}, {0, s, 0}, {0, -s, 0}, {0, 0, s}, {0, 0, -s}};
    p.faces = {{0, 2, 4}, {0, 5, 3}, {1, 5, 2}, {1, 3, 4}, {0, 2, 1, 3}, {0, 4, 1, 5}, {2, 4, 3, 5}};
    return p;
}

Polyhedron stellaOctangula() {
    std::vector<Point3D> even, odd;
    for (const Point3D& c : cubeCorners())
        (((c.x < 0) + (c.y < 0) + (c.z < 0)) % 2 ? odd : even).push_back(c);
    return compound({even, odd});
}

// Small stellated dodecahedron: on the icosahedron's vertices, one pentagram per vertex through
// its five neighbours (in star order).
Polyhedron smallStellatedDodecahedron() {
    Polyhedron p;
    p.vertices = icosahedronPoints();
    const int n = static_cast<int>(p.vertices.size());
    double edge = 1e300;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            edge = std::min(edge, norm(p.vertices[i] - p.vertices[j]));
    for (int v = 0; v < n; ++v) {
        const Point3D axis = normalized(p.vertices[v]);
        const Point3D other = std::abs(axis.x) < 0.9 ? Point3D{1, 0, 0} : Point3D{0, 1, 0};
        const Point3D u = normalized(cross(axis, other));
        const Point3D w = cross(axis, u);
        std::vector<std::pair<double, int>> ring;
        for (int j = 0; j < n; ++j)
            if (j != v && std::abs(norm(p.vertices[j] - p.vertices[v]) - edge) < 1e-9) {
                const Point3D d = p.vertices[j] - p.vertices[v];
                ring.push_back({std::atan2(dot(d, w), dot(d, u)), j});
            }
        if (ring.size() != 5) throw std::runtime_error("Kepler-Stern: vertex without five neighbours");
        std::sort(ring.begin(), ring.end());
        p.faces.push_back({ring[0].second, ring[2].second, ring[4].second, ring[1].second, ring[3].second});
    }
    orientConsistently(p);
    return p;
}

// Two uniform pentagonal antiprisms on a common pentagon, which is no face: pentagons at -h, 0
// and +h, the middle one turned by 36 degrees. Exactly centred (paired sines and cosines).
Polyhedron doubleAntiprism() {
    const double r = 1 / (2 * std::sin(kPi / 5));
    const double c = 2 * r * std::sin(kPi / 10);
    const double h = std::sqrt(1 - c * c);
    Polyhedron p;
    p.vertices = ringPoints(5, r, 0, -h);      // 0-4
    addRing(p.vertices, 5, r, kPi / 5, 0);    // 5-9
    addRing(p.vertices, 5, r, 0, h);          // 10-14
    p.faces.push_back({0, 1, 2, 3, 4});
    p.faces.push_back({10, 11, 12, 13, 14});
    for (int k = 0; k < 5; ++k) {
        const int n = (k + 1) % 5;
        for (int ring : {0, 10}) {
            p.faces.push_back({ring + k, ring + n, 5 + k});
            p.faces.push_back({5 + k, 5 + n, ring + n});
        }
    }
    orientConsistently(p);
    return p;
}

} // namespace

bool isHiddenBody(int category, int index) {
    static const std::set<int> c0{6, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19,
                                  20, 27, 33, 38, 45, 51, 55, 60, 61, 65};
    static const std::set<int> c3{0, 11, 12, 17, 18, 21, 23, 30, 42, 43, 55, 60, 64, 77, 78};
    switch (category) {
    case 0:
        return c0.count(index) > 0;
    case 2:
        return index == 5;
    case 3:
        return c3.count(index) > 0;
    default:
        return false;
    }
}

Polyhedron hiddenCategory0(int index) {
    switch (index) {
    case 6:
        return pyramid(4, 2, 2);
    case 7:
        return pyramid(3, 2, 2);
    case 8:
        return pyramid(5, 2, 2);
    case 9:
        return pyramid(6, 2, 2);
    case 10:
        return frustum(4, 2, 1, 2);
    case 11:
        return frustum(3, 2, 1, 2);
    case 12:
        return rectangularFrustum();
    case 15:
        return squareFrame();
    case 16: {
        // Five cubes in one dodecahedron: the cube (±1, ±1, ±1) turned by multiples of 72 degrees
        // about a fivefold axis, which then goes onto z.
        const Point3D axis{0, 1, std::numbers::phi};
        std::vector<std::vector<Point3D>> parts;
        for (int k = 0; k < 5; ++k) {
            std::vector<Point3D> cube = turned(cubeCorners(), axis, 2 * kPi * k / 5);
            for (Point3D& v : cube)
                v = turnedOnto(v, axis, {0, 0, 1});
            parts.push_back(cube);
        }
        return compound(parts);
    }
    case 17:
        return compound({cubeCorners(), turned(cubeCorners(), {1, 0, 0}, kPi / 4),
                         turned(cubeCorners(), {0, 1, 0}, kPi / 4),
                         turned(cubeCorners(), {0, 0, 1}, kPi / 4)});
    case 18: {
        std::vector<std::vector<Point3D>> parts;
        for (const Point3D axis : {Point3D{1, 0, 0}, Point3D{0, 1, 0}, Point3D{0, 0, 1}})
            for (double sign : {1.0, -1.0})
                parts.push_back(turned(cubeCorners(), axis, sign * kPi / 8));
        return compound(parts);
    }
    case 19:
        return mengerSponge();
    case 20:
        return sierpinskiTetrahedron();
    case 27:
        return pentagrammicPrism();
    case 33:
        return trapezohedron(6);
    case 38:
        return tetrahemihexahedron();
    case 45:
        return stellaOctangula();
    case 51:
        return smallStellatedDodecahedron();
    case 55:
        return doubleAntiprism();
    case 60:
        return trapezohedron(10);
    case 61:
        return trapezohedron(7);
    case 65:
        return pyramid(8, 1, 2);
    }
    throw std::runtime_error("hiddenCategory0: no hidden body at this index");
}

} // namespace gen
