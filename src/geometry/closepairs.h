// Pairs of points that lie within a distance of each other, found by sweeping the points in the
// order of their x, so that only those within the distance in x are compared: the morph's merging
// of coinciding corners and the file check for vertices on one point.
#pragma once

#include "point3d.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <vector>

namespace kesmora {

// Calls f(i, j) with i < j for every pair of points at most `distance` apart, in the order of the
// sweep.
template <class F> void forEachClosePair(const std::vector<Point3D>& points, double distance, F&& f) {
    const std::size_t n = points.size();
    std::vector<std::size_t> byX(n);
    std::iota(byX.begin(), byX.end(), std::size_t{0});
    std::sort(byX.begin(), byX.end(), [&](std::size_t a, std::size_t b) { return points[a].x < points[b].x; });
    for (std::size_t s = 0; s < n; ++s)
        for (std::size_t t = s + 1; t < n && points[byX[t]].x - points[byX[s]].x <= distance; ++t)
            if (norm(points[byX[t]] - points[byX[s]]) <= distance)
                f(std::min(byX[s], byX[t]), std::max(byX[s], byX[t]));
}

} // namespace kesmora
