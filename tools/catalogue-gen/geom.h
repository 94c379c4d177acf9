// The polyhedron type the catalogue generator builds solids with.
#pragma once

#include "geometry/point3d.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace gen {

using kesmora::Point3D;

// A regular n-gon of circumradius r about the z axis at height z, vertex k at angle
// offset + 2πk/n, counter-clockwise seen from +z; the rings of every construction start here.
inline std::vector<Point3D> plainRing(int n, double r, double offset, double z) {
    std::vector<Point3D> ring;
    for (int k = 0; k < n; ++k) {
        const double a = offset + 2 * std::numbers::pi * k / n;
        ring.push_back({r * std::cos(a), r * std::sin(a), z});
    }
    return ring;
}

// Vertices and faces; each face lists vertex indices in boundary order, counter-clockwise seen
// from outside.
struct Polyhedron {
    std::vector<Point3D> vertices;
    std::vector<std::vector<int>> faces;
};

// The convex hull of the points, with coplanar facets merged into one face. Every input point
// must be a vertex of the hull (points inside the hull or on an edge's interior are an error the
// caller has made); the vertex numbering is the input order.
Polyhedron convexHull(const std::vector<Point3D>& points);

// The convex hull of points some of which may lie inside the hull: only the extreme points are
// kept (in their input order) and numbered from 0.
Polyhedron convexHullOfExtremePoints(const std::vector<Point3D>& points);

// Polar reciprocal about the origin (which must lie inside): face f (outward unit normal n, plane
// distance d) becomes vertex f at n * rho2 / d; the faces come from the convex hull of those
// points (vertex numbering = face order of p).
Polyhedron polarReciprocal(const Polyhedron& p, double rho2);

// Mean of the vertices; moving every vertex by a vector.
Point3D vertexCentroid(const Polyhedron& p);
void translate(Polyhedron& p, Point3D by);

} // namespace gen
