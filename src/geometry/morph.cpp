// The morph from a solid to its dual, as intersections of half-spaces: each face polygon is a
// large square in its plane cut down by every other half-space.
#include "morph.h"

#include "closepairs.h"

#include "point3d.h"
#include "shape.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <utility>

namespace kesmora {

namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Two unit vectors across the normal, u × v = n.
std::pair<Point3D, Point3D> basisAcross(const Point3D& n) {
    const Point3D helper = std::fabs(n.x) < 0.6 ? Point3D{1, 0, 0} : Point3D{0, 1, 0};
    const Point3D u = unit(cross(helper, n));
    return {u, cross(n, u)};
}

// Keeps the part of the convex polygon where n·x ≤ d.
void clip(std::vector<Point3D>& polygon, std::vector<Point3D>& kept, const HalfSpace& h) {
    kept.clear();
    const std::size_t count = polygon.size();
    for (std::size_t k = 0; k < count; ++k) {
        const Point3D& a = polygon[k];
        const Point3D& b = polygon[(k + 1) % count];
        const double da = dot(h.normal, a) - h.offset, db = dot(h.normal, b) - h.offset;
        if (da <= 0) kept.push_back(a);
        if ((da < 0 && db > 0) || (da > 0 && db < 0)) kept.push_back(a + (da / (da - db)) * (b - a));
    }
    polygon.swap(kept);
}

// Merges points closer than `distance` (each to the first of its cluster, swept in x).
std::vector<int> mergedIndices(const std::vector<Point3D>& points, double distance, std::vector<Point3D>& merged) {
    const std::size_t n = points.size();
    std::vector<int> root(n);
    std::iota(root.begin(), root.end(), 0);
    const auto find = [&](int i) {
        while (root[at(i)] != i)
            i = root[at(i)] = root[at(root[at(i)])];
        return i;
    };
    forEachClosePair(points, distance, [&](std::size_t i, std::size_t j) {
        const int a = find(static_cast<int>(i)), b = find(static_cast<int>(j));
        if (a != b) root[at(std::max(a, b))] = std::min(a, b);
    });
    std::vector<int> index(n, -1), of(n);
    for (std::size_t i = 0; i < n; ++i) {
        const int r = find(static_cast<int>(i));
        if (index[at(r)] < 0) {
            index[at(r)] = static_cast<int>(merged.size());
            merged.push_back(points[at(r)]);
        }
        of[i] = index[at(r)];
    }
    return of;
}

Point3D vertexCentroid(const PolyMesh& mesh) {
    Point3D sum;
    for (const Point3D& p : mesh.vertices)
        sum = sum + p;
    return sum / static_cast<double>(std::max<std::size_t>(1, mesh.vertices.size()));
}

// The face's unit normal, turned away from `middle`.
Point3D outwardNormal(const PolyMesh& mesh, int f, const Point3D& middle) {
    const Point3D n = unit(areaNormal(mesh, f));
    return dot(n, centroidOf(mesh, f) - middle) < 0 ? -n : n;
}

} // namespace

PolyMesh halfSpaceIntersection(const std::vector<HalfSpace>& halfSpaces, const Point3D& inside,
                               double mergeDistance) {
    // Relative to the inside point, every offset is positive; the polyhedron lies within the reach
    // of the farthest plane's distance times a margin only when it is bounded, which the caller
    // promises, so the squares are taken large enough to hold any face of a body that size.
    std::vector<HalfSpace> planes;
    planes.reserve(halfSpaces.size());
    double farthest = 0;
    for (const HalfSpace& h : halfSpaces) {
        const double length = norm(h.normal);
        if (!(length > 0)) continue;
        HalfSpace p{h.normal / length, (h.offset - dot(h.normal, inside)) / length};
        if (!(p.offset > 0)) throw GeometryError("Der Punkt im Inneren liegt nicht im Inneren aller Halbräume");
        farthest = std::max(farthest, p.offset);
        planes.push_back(p);
    }
    const double reach = 1e3 * std::max(farthest, mergeDistance);

    std::vector<Point3D> corners;
    std::vector<int> faceStart{0};
    std::vector<Point3D> polygon, kept;
    for (std::size_t i = 0; i < planes.size(); ++i) {
        const HalfSpace& h = planes[i];
        const auto [u, v] = basisAcross(h.normal);
        const Point3D centre = h.offset * h.normal;
        polygon = {centre - reach * u - reach * v, centre + reach * u - reach * v, centre + reach * u + reach * v,
                   centre - reach * u + reach * v};
        for (std::size_t j = 0; j < planes.size() && !polygon.empty(); ++j)
            if (j != i) clip(polygon, kept, planes[j]);
        if (polygon.size() < 3) continue;
        corners.insert(corners.end(), polygon.begin(), polygon.end());
        faceStart.push_back(static_cast<int>(corners.size()));
    }

    PolyMesh mesh;
    const std::vector<int> index = mergedIndices(corners, mergeDistance, mesh.vertices);
    for (std::size_t f = 0; f + 1 < faceStart.size(); ++f) {
        std::vector<int> face;
        for (int k = faceStart[f]; k < faceStart[f + 1]; ++k) {
            const int v = index[at(k)];
            if (face.empty() || face.back() != v) face.push_back(v);
        }
        while (face.size() > 1 && face.front() == face.back())
            face.pop_back();
        if (face.size() < 3) continue; // a plane that touches at a point or along an edge
        mesh.faces.push_back(std::move(face));
        if (!(norm(areaNormal(mesh, static_cast<int>(mesh.faces.size()) - 1)) > mergeDistance * mergeDistance))
            mesh.faces.pop_back();
    }
    if (mesh.faces.size() < 4) throw GeometryError("Die Halbräume schließen keinen Körper ein");
    for (Point3D& p : mesh.vertices)
        p = p + inside;
    // Vertices left on no face (of planes that touched only) are dropped.
    std::vector<int> renumber(mesh.vertices.size(), -1);
    std::vector<Point3D> used;
    for (auto& face : mesh.faces)
        for (int& v : face) {
            if (renumber[at(v)] < 0) {
                renumber[at(v)] = static_cast<int>(used.size());
                used.push_back(mesh.vertices[at(v)]);
            }
            v = renumber[at(v)];
        }
    mesh.vertices = std::move(used);
    return mesh;
}

namespace {

// Why the way cannot be built on this surface: not closed, faces not flat, or not convex.
std::string shapeRefusal(const PolyMesh& solid) {
    if (solid.faces.size() < 4 || !isClosed(solid)) return "Die Oberfläche des Körpers ist nicht geschlossen";
    const double size = extent(solid);
    const double tolerance = 1e-7 * size;
    // Locally convex at every edge: the neighbour's far corners lie below each face's plane. With a
    // closed surface whose faces turn alike, that makes the body convex.
    // Faces may run either way round: each normal is taken pointing away from the vertices' centroid.
    const std::vector<std::vector<FaceCorner>> corners = cornersAtVertices(solid);
    const Point3D middle = vertexCentroid(solid);
    for (int f = 0; f < static_cast<int>(solid.faces.size()); ++f) {
        const Point3D c = centroidOf(solid, f);
        const Point3D n = outwardNormal(solid, f, middle);
        if (flatness(solid, f) > 1e-6 * size) return "Nicht alle Flächen des Körpers sind eben";
        for (int v : solid.faces[at(f)])
            for (const FaceCorner& corner : corners[at(v)])
                for (int w : {corner.before, corner.after})
                    if (dot(n, solid.vertices[at(w)] - c) > tolerance) return "Der Körper ist nicht konvex";
    }
    return {};
}

} // namespace

std::string morphRefusal(const PolyMesh& solid) {
    if (std::string refusal = shapeRefusal(solid); !refusal.empty()) return refusal;
    try {
        polarReciprocal(solid);
    } catch (const ReciprocalRefused& e) {
        return e.what();
    }
    return {};
}

DualMorph::DualMorph(const PolyMesh& solid) {
    // A convex solid with flat faces has the centre strictly inside, so every face plane lies off it;
    // planes that coincide only give one face of the figure.
    if (const std::string refusal = shapeRefusal(solid); !refusal.empty()) throw ReciprocalRefused(refusal);
    sphere_ = reciprocalSphere(solid);
    const Point3D c = sphere_.centre;
    const double r2 = sphere_.radius * sphere_.radius;
    double largest = 0, smallest = INFINITY;
    for (int f = 0; f < static_cast<int>(solid.faces.size()); ++f) {
        const Point3D n = outwardNormal(solid, f, c);
        const double h = dot(n, centroidOf(solid, f) - c);
        solidPlanes_.push_back({n, h});
        // The reciprocal's vertex of this face lies r²/h out; scaled by λ it is inside the solid
        // for every λ up to h²/r² (the nearest face is the tightest).
        smallest = std::min(smallest, h * h / r2);
    }
    for (const Point3D& v : solid.vertices) {
        poles_.push_back(v - c);
        largest = std::max(largest, dot(v - c, v - c) / r2);
        size_ = std::max(size_, norm(v - c));
    }
    lambdaLargest_ = largest;
    lambdaSmallest_ = smallest;
}

double DualMorph::lambdaAt(double t) const {
    if (!(t >= 0 && t <= 1)) throw GeometryError("Die Stellung des Übergangs liegt zwischen 0 und 1");
    const double logLambda =
        t <= 0.5 ? std::log(lambdaLargest_) * (1 - 2 * t) : std::log(lambdaSmallest_) * (2 * t - 1);
    return std::exp(logLambda);
}

PolyMesh DualMorph::at(double t) const {
    const double lambda = lambdaAt(t);
    const double r2 = sphere_.radius * sphere_.radius;
    std::vector<HalfSpace> planes = solidPlanes_;
    planes.reserve(solidPlanes_.size() + poles_.size());
    for (const Point3D& p : poles_)
        planes.push_back({p, lambda * r2});
    PolyMesh mesh = halfSpaceIntersection(planes, {}, 1e-6 * size_);
    for (Point3D& p : mesh.vertices)
        p = p + sphere_.centre;
    return mesh;
}

namespace {

// The map from a figure's own coordinates to where it is shown: the tilt, the fit and the turns
// make shown = A·(own − ownCentre) + shownCentre. Found from the vertices by least squares; none
// where they do not fix it (fewer than four, or all in one plane).
struct ShownPlacement {
    Point3D ownCentre, shownCentre;
    double inverse[3][3] = {}; // A⁻¹
};

std::optional<ShownPlacement> shownPlacement(const std::vector<Point3D>& own, const CheckedTable<Point3D>& shown) {
    if (own.size() < 4 || own.size() != static_cast<std::size_t>(shown.size())) return std::nullopt;
    ShownPlacement m;
    m.ownCentre = centroidOfPoints(own);
    m.shownCentre = centroidOfPoints(shown);
    double p[3][3] = {}, q[3][3] = {};
    for (std::size_t i = 0; i < own.size(); ++i) {
        const Point3D o = own[i] - m.ownCentre, s = shown[static_cast<int>(i)] - m.shownCentre;
        const double oc[3] = {o.x, o.y, o.z}, sc[3] = {s.x, s.y, s.z};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) {
                p[r][c] += oc[r] * oc[c];
                q[r][c] += sc[r] * oc[c];
            }
    }
    // A = Q·P⁻¹, so A⁻¹ = P·Q⁻¹.
    const double det = q[0][0] * (q[1][1] * q[2][2] - q[1][2] * q[2][1]) -
                       q[0][1] * (q[1][0] * q[2][2] - q[1][2] * q[2][0]) +
                       q[0][2] * (q[1][0] * q[2][1] - q[1][1] * q[2][0]);
    double scale = 0;
    for (const auto& row : q)
        for (double v : row)
            scale = std::max(scale, std::fabs(v));
    if (!(std::fabs(det) > 1e-12 * scale * scale * scale)) return std::nullopt;
    double qi[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            qi[r][c] = (q[r1][c1] * q[r2][c2] - q[r1][c2] * q[r2][c1]) / det;
        }
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k)
                m.inverse[r][c] += p[r][k] * qi[k][c];
    return m;
}

Point3D ownPoint(const ShownPlacement& m, const Point3D& shown) {
    const Point3D s = shown - m.shownCentre;
    const double v[3] = {s.x, s.y, s.z};
    double o[3] = {};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            o[r] += m.inverse[r][c] * v[c];
    return Point3D{o[0], o[1], o[2]} + m.ownCentre;
}

} // namespace

void showMorph(SolidModel& model, const DualMorph& morph, double t) {
    const PolyMesh figure = morph.at(t);
    // The figure on the way is made where the solid is shown; taken back by the solid's own
    // placement, it has coordinates of its own too (the morph is the same in any placement).
    const std::optional<ShownPlacement> placement = shownPlacement(model.own.solid, model.solid.vertices);
    std::vector<Point3D> own;
    if (placement)
        for (const Point3D& p : figure.vertices)
            own.push_back(ownPoint(*placement, p));
    replaceSolid(model, figure);
    model.own.solid = std::move(own);
}

} // namespace kesmora
