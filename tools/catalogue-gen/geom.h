// Small vector algebra and the polyhedron type the catalogue generator builds solids with.
#pragma once

#include <cmath>
#include <vector>

namespace gen {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator-(Vec3 a) {
    return {-a.x, -a.y, -a.z};
}
inline Vec3 operator*(double s, Vec3 a) {
    return {s * a.x, s * a.y, s * a.z};
}
inline Vec3 operator*(Vec3 a, double s) {
    return s * a;
}
inline Vec3 operator/(Vec3 a, double s) {
    return {a.x / s, a.y / s, a.z / s};
}
inline double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double norm(Vec3 a) {
    return std::sqrt(dot(a, a));
}
inline Vec3 normalized(Vec3 a) {
    return a / norm(a);
}

// Vertices and faces; each face lists vertex indices in boundary order, counter-clockwise seen
// from outside.
struct Polyhedron {
    std::vector<Vec3> vertices;
    std::vector<std::vector<int>> faces;
};

// The convex hull of the points, with coplanar facets merged into one face. Every input point
// must be a vertex of the hull (points inside the hull or on an edge's interior are an error the
// caller has made); the vertex numbering is the input order.
Polyhedron convexHull(const std::vector<Vec3>& points);

// The convex hull of points some of which may lie inside the hull: only the extreme points are
// kept (in their input order) and numbered from 0.
Polyhedron convexHullOfExtremePoints(const std::vector<Vec3>& points);

// Polar reciprocal about the origin (which must lie inside): face f (outward unit normal n, plane
// distance d) becomes vertex f at n * rho2 / d; the faces come from the convex hull of those
// points (vertex numbering = face order of p).
Polyhedron polarReciprocal(const Polyhedron& p, double rho2);

// Mean of the vertices; moving every vertex by a vector.
Vec3 vertexCentroid(const Polyhedron& p);
void translate(Polyhedron& p, Vec3 by);

} // namespace gen
