// Faces without area: corners that coincide, or all lie on one line. The build refuses them and
// the inspector counts them, with the same measure.
#pragma once

#include "point3d.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace kesmora {

// Relative to a body's largest coordinate. The catalogue's coordinates carry seven or more digits,
// so points meant to lie apart are much farther apart than this, and rounding keeps points meant to
// lie on one line far closer to it.
inline constexpr double kDegenerateTolerance = 1e-6;

// Whether the `count` points `at(0)` ... `at(count - 1)` all lie within `tolerance` of one line,
// which includes all lying within it of one point. The line runs through the first point and the
// one farthest from it; any line that holds them all within the tolerance is close to it.
template <typename At> bool allOnOneLine(int count, At at, double tolerance) {
    if (count < 3) return true;
    const Point3D a = at(0);
    Point3D far = a;
    double reach = 0;
    for (int i = 1; i < count; ++i) {
        const double d = norm(at(i) - a);
        if (d > reach) reach = d, far = at(i);
    }
    if (!(reach > tolerance)) return true;
    const Point3D direction = (1.0 / reach) * (far - a);
    for (int i = 1; i < count; ++i)
        if (!(norm(cross(at(i) - a, direction)) <= tolerance)) return false;
    return true;
}

// Whether all points lie within `tolerance` of one plane. The plane runs through the first point,
// the one farthest from it and the one farthest from the line through those two; any plane that
// holds them all within the tolerance is close to it.
template <typename Points> bool allInOnePlane(const Points& points, double tolerance) {
    auto it = std::begin(points);
    if (it == std::end(points)) return true;
    const Point3D a = *it;
    Point3D b = a;
    double reach = 0;
    for (const Point3D& p : points)
        if (const double d = norm(p - a); d > reach) reach = d, b = p;
    if (!(reach > tolerance)) return true;
    const Point3D along = (1.0 / reach) * (b - a);
    Point3D c = a;
    double off = 0;
    for (const Point3D& p : points)
        if (const double d = norm(cross(p - a, along)); d > off) off = d, c = p;
    if (!(off > tolerance)) return true;
    const Point3D normal = cross(along, c - a);
    const double length = norm(normal);
    for (const Point3D& p : points)
        if (!(std::fabs(dot(p - a, normal)) <= tolerance * length)) return false;
    return true;
}

} // namespace kesmora
