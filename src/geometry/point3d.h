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
inline double dot(const Point3D& a, const Point3D& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Point3D cross(const Point3D& a, const Point3D& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double norm(const Point3D& a) {
    return std::sqrt(dot(a, a));
}

} // namespace kesmora
