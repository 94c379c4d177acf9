// Checks on a built model shared by the test suites.
#pragma once

#include "geometry/point3d.h"
#include "geometry/solidmodel.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace kesmora::testing {

// Every pair's distance over the largest: the same list for two point sets that are congruent up
// to scale (mirror images included).
inline std::vector<double> distanceSignature(const std::vector<Point3D>& points) {
    std::vector<double> d;
    for (std::size_t i = 0; i < points.size(); ++i)
        for (std::size_t j = i + 1; j < points.size(); ++j)
            d.push_back(norm(points[i] - points[j]));
    std::sort(d.begin(), d.end());
    for (double& x : d)
        x /= d.back();
    return d;
}

// The largest absolute coordinate over both vertex tables.
inline double largestCoordinate(const SolidModel& m) {
    double r = 0;
    auto take = [&](const Point3D& p) { r = std::max({r, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}); };
    for (int i = 0; i < m.solid.vertices.size(); ++i)
        take(m.solid.vertices[i]);
    for (int i = 0; i < m.dual.vertices.size(); ++i)
        take(m.dual.vertices[i]);
    return r;
}

// Whether solid faces fa and fb (the dual's vertices fa and fb) have an edge in common.
inline bool facesShareEdge(const SolidModel& m, int fa, int fb) {
    const FaceView a = m.solid.faces[fa];
    const FaceView b = m.solid.faces[fb];
    for (int i = 0; i < a.size(); ++i) {
        const int p = a[i], q = a[(i + 1) % a.size()];
        for (int j = 0; j < b.size(); ++j) {
            const int r = b[j], s = b[(j + 1) % b.size()];
            if ((r == p && s == q) || (r == q && s == p)) return true;
        }
    }
    return false;
}

// The first dual face (of four or more corners) whose consecutive corners are not neighbouring
// solid faces, or -1 when every such face follows its boundary.
inline int firstDualFaceOffItsBoundary(const SolidModel& m) {
    for (int v = 0; v < m.solid.vertices.size(); ++v) {
        const FaceView f = m.dual.faces[v];
        if (f.size() < 4) continue;
        for (int i = 0; i < f.size(); ++i)
            if (!facesShareEdge(m, f[i], f[(i + 1) % f.size()])) return v;
    }
    return -1;
}

} // namespace kesmora::testing
