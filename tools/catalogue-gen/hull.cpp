// Convex hull by face planes: with at most a few hundred points, testing every plane through
// three points is simple, exact enough and fast.
#include "geom.h"

#include "geometry/polar.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace gen {

Polyhedron convexHull(const std::vector<Point3D>& points) {
    const int n = static_cast<int>(points.size());
    double size = 0;
    for (const Point3D& p : points)
        size = std::max(size, norm(p));
    const double eps = 1e-9 * std::max(size, 1.0);

    Polyhedron out;
    out.vertices = points;
    std::set<std::vector<int>> seen;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            for (int k = j + 1; k < n; ++k) {
                Point3D normal = cross(points[j] - points[i], points[k] - points[i]);
                const double len = norm(normal);
                if (len < eps * eps * 1e3 || len < 1e-12) continue;
                normal = normal / len;
                const double d = dot(normal, points[i]);
                bool above = false, below = false;
                std::vector<int> on;
                for (int m = 0; m < n; ++m) {
                    const double s = dot(normal, points[m]) - d;
                    if (s > eps)
                        above = true;
                    else if (s < -eps)
                        below = true;
                    else
                        on.push_back(m);
                    if (above && below) break;
                }
                if (above && below) continue;
                if (above) normal = -normal; // outward: every other point lies below the plane
                if (!seen.insert(on).second) continue;

                Point3D centre;
                for (int m : on)
                    centre = centre + points[m];
                centre = centre / static_cast<double>(on.size());
                const Point3D u = normalized(points[on[0]] - centre);
                const Point3D v = cross(normal, u);
                std::vector<std::pair<double, int>> byAngle;
                for (int m : on) {
                    const Point3D r = points[m] - centre;
                    byAngle.emplace_back(std::atan2(dot(r, v), dot(r, u)), m);
                }
                std::sort(byAngle.begin(), byAngle.end());
                std::vector<int> face;
                for (const auto& [angle, m] : byAngle)
                    face.push_back(m);
                // Keep only the corners of the face polygon: points inside the face or on the
                // interior of its edges (only possible where the caller passes non-extreme points,
                // see convexHullOfExtremePoints) are dropped. The polygon sorted by angle about the
                // centroid is star-shaped, so removing non-convex corners until none is left gives
                // its convex hull.
                for (bool changed = true; changed && face.size() > 3;) {
                    changed = false;
                    for (std::size_t q = 0; q < face.size() && face.size() > 3; ++q) {
                        const Point3D a = points[face[(q + face.size() - 1) % face.size()]];
                        const Point3D b = points[face[q]];
                        const Point3D c = points[face[(q + 1) % face.size()]];
                        const double turn = dot(cross(b - a, c - b), normal) / (norm(b - a) * norm(c - b));
                        if (turn <= 1e-9) {
                            face.erase(face.begin() + static_cast<std::ptrdiff_t>(q));
                            changed = true;
                            break;
                        }
                    }
                }
                // Start every face at its smallest vertex (keeps the sense of rotation).
                std::rotate(face.begin(), std::min_element(face.begin(), face.end()), face.end());
                out.faces.push_back(face);
            }
    if (out.faces.size() < 4) throw std::runtime_error("convexHull: degenerate point set");
    // Faces in a stable order: by their smallest vertex index, then lexicographically.
    std::sort(out.faces.begin(), out.faces.end(), [](const std::vector<int>& a, const std::vector<int>& b) {
        std::vector<int> sa = a, sb = b;
        std::sort(sa.begin(), sa.end());
        std::sort(sb.begin(), sb.end());
        return sa < sb;
    });
    return out;
}

} // namespace gen

namespace gen {

Polyhedron convexHullOfExtremePoints(const std::vector<Point3D>& points) {
    const Polyhedron all = convexHull(points);
    std::vector<bool> used(points.size(), false);
    for (const auto& f : all.faces)
        for (int i : f)
            used[i] = true;
    std::vector<Point3D> kept;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (used[i]) kept.push_back(points[i]);
    return convexHull(kept);
}

Polyhedron polarReciprocal(const Polyhedron& p, double rho2) {
    std::vector<Point3D> dual;
    for (const auto& f : p.faces) {
        // Newell normal and the mean of the face's vertices give the plane.
        Point3D n, c;
        for (std::size_t k = 0; k < f.size(); ++k) {
            const Point3D a = p.vertices[f[k]], b = p.vertices[f[(k + 1) % f.size()]];
            n = n + cross(a, b);
            c = c + a;
        }
        n = normalized(n);
        c = c / static_cast<double>(f.size());
        const double d = dot(n, c);
        if (d <= 0) throw std::runtime_error("polarReciprocal: origin not inside");
        dual.push_back(kesmora::poleOfPlane(n, d, rho2));
    }
    return convexHull(dual);
}

Point3D vertexCentroid(const Polyhedron& p) {
    Point3D c;
    for (const Point3D& v : p.vertices)
        c = c + v;
    return c / static_cast<double>(p.vertices.size());
}

void translate(Polyhedron& p, Point3D by) {
    for (Point3D& v : p.vertices)
        v = v + by;
}

} // namespace gen
