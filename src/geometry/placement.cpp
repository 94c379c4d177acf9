// The tilt and the fit of a built model.
#include "placement.h"

#include <cmath>
#include <numbers>

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

void einpassen(SolidModel& m) {
    double largest = 0;
    auto measure = [&](const Point3D& p) {
        for (double v : {p.x, p.y, p.z})
            if (std::fabs(v) > largest) largest = std::fabs(v);
    };
    for (int i = 0; i < m.vertexCount; ++i)
        measure(m.vertices[i]);
    for (int i = 0; i < m.dualVertexCount; ++i)
        measure(m.dualVertices[i]);
    if (!(largest > 0) || !std::isfinite(largest)) return; // nothing to fit: keep the scale as it is
    m.scale = 200 / largest;
    for (int i = 0; i < m.vertexCount; ++i)
        m.vertices[i] = {m.vertices[i].x * m.scale, m.vertices[i].y * m.scale, m.vertices[i].z * m.scale};
    for (int i = 0; i < m.dualVertexCount; ++i)
        m.dualVertices[i] = {m.dualVertices[i].x * m.scale, m.dualVertices[i].y * m.scale,
                             m.dualVertices[i].z * m.scale};
}

} // namespace kesmora
