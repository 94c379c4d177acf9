// The tilt and the fit of a built model.
#include "placement.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace kesmora {

void kippen(SolidModel& m) {
    const double theta = -std::numbers::pi / 6;
    const double s = std::sin(theta), c = std::cos(theta);
    forEachPoint(m, [&](Point3D& p) {
        const double x1 = p.x * c - p.y * s;
        const double y1 = p.x * s + p.y * c;
        const double y2 = y1 * c - p.z * s;
        const double z2 = y1 * s + p.z * c;
        p = {x1, y2, z2};
    });
}

void keepOwnCoordinates(SolidModel& m) {
    m.own = {};
    m.own.solid.assign(m.solid.vertices.begin(), m.solid.vertices.end());
    m.own.dual.assign(m.dual.vertices.begin(), m.dual.vertices.end());
}

void untilt(std::vector<Point3D>& points) {
    const double theta = std::numbers::pi / 6;
    const double s = std::sin(theta), c = std::cos(theta);
    for (Point3D& p : points) {
        // The turn about x first, then the one about z: kippen's steps undone in reverse.
        const double y1 = p.y * c - p.z * s;
        const double z1 = p.y * s + p.z * c;
        const double x0 = p.x * c - y1 * s;
        const double y0 = p.x * s + y1 * c;
        p = {x0, y0, z1};
    }
}

void einpassen(SolidModel& m) {
    double largest = 0;
    auto measure = [&](const Point3D& p) {
        for (double v : {p.x, p.y, p.z})
            if (std::fabs(v) > largest) largest = std::fabs(v);
    };
    for (const Figure* figure : std::as_const(m).figures())
        for (const Point3D& p : figure->vertices)
            measure(p);
    if (!(largest > 0) || !std::isfinite(largest)) return; // nothing to fit: keep the scale as it is
    m.scale = 200 / largest;
    for (Figure* figure : m.figures())
        for (Point3D& p : figure->vertices)
            p = {p.x * m.scale, p.y * m.scale, p.z * m.scale};
}

} // namespace kesmora
