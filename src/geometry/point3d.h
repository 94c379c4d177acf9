// Arithmetic on model points taken as vectors.
#pragma once

#include "solidmodel.h"

#include <algorithm>
#include <cmath>

namespace kesmora {

inline Point3D operator+(const Point3D& a, const Point3D& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Point3D operator-(const Point3D& a, const Point3D& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Point3D operator*(double k, const Point3D& a) {
    return {k * a.x, k * a.y, k * a.z};
}
inline Point3D operator*(const Point3D& a, double k) {
    return k * a;
}
inline Point3D operator/(const Point3D& a, double k) {
    return {a.x / k, a.y / k, a.z / k};
}
inline Point3D operator-(const Point3D& a) {
    return {-a.x, -a.y, -a.z};
}
inline double dot(const Point3D& a, const Point3D& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Point3D cross(const Point3D& a, const Point3D& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double norm(const Point3D& a) {
    return std::sqrt(dot(a, a));
}

// v turned by angle about the axis through the origin with unit direction `axis` (Rodrigues).
inline Point3D turnedAbout(const Point3D& v, const Point3D& axis, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return c * v + s * cross(axis, v) + (1 - c) * dot(axis, v) * axis;
}

// Two ways to scale to length one, each fixed to the last bit by the files made with it: the
// generator divides (a zero vector gives not-a-number, which its constructions rule out), the
// exports and nets multiply by the reciprocal and give the zero vector for a zero vector.
inline Point3D normalized(const Point3D& a) {
    return a / norm(a);
}
inline Point3D unit(const Point3D& a) {
    const double n = norm(a);
    return n > 0 ? (1.0 / n) * a : Point3D{};
}

// The mean of the points (their sum divided by their number); the origin for no points.
template <typename Points> Point3D centroidOfPoints(const Points& points) {
    Point3D sum;
    double count = 0;
    for (const Point3D& p : points) {
        sum = sum + p;
        ++count;
    }
    return count > 0 ? sum / count : sum;
}

// The farthest distance of the points from their centroid: a body's size that stays the same when
// it is turned or moved, for tolerances relative to the body (the largest coordinate would change
// by up to a factor of the square root of 3 as the body turns). 0 for no points.
template <typename Points> double radiusAboutCentroid(const Points& points) {
    const Point3D centre = centroidOfPoints(points);
    double radius = 0;
    for (const Point3D& p : points)
        radius = std::max(radius, norm(p - centre));
    return radius;
}

} // namespace kesmora
