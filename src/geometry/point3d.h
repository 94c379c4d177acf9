// Arithmetic on model points taken as vectors.
#pragma once

#include "solidmodel.h"

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

// Without a guard: a zero vector gives not-a-number, which the callers that use it rule out.
inline Point3D normalized(const Point3D& a) {
    return a / norm(a);
}

} // namespace kesmora
