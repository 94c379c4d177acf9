// A geodesic sphere as a polyhedron file would give it: each face of the icosahedron cut into
// frequency^2 triangles (20 frequency^2 in all), their corners pushed out onto the sphere. Corners
// on the icosahedron's edges are shared by the two faces there (they are named by the icosahedron's
// corners and their weights), so the surface is closed.
#pragma once

#include "bodies/polyhedronfile.h"
#include "geometry/point3d.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace kesmora::testing {

inline PolyhedronFile geodesicSphere(int frequency) {
    const double t = (1 + std::sqrt(5.0)) / 2;
    const Point3D ico[12] = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                             {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    const int faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                              {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                              {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                              {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    PolyhedronFile file;
    file.name = "kugel.off";
    std::map<std::vector<std::pair<int, int>>, int> named;
    const auto corner = [&](const int (&f)[3], int i, int j) {
        std::vector<std::pair<int, int>> key;
        for (const auto& [v, w] : {std::pair{f[0], frequency - i - j}, std::pair{f[1], i}, std::pair{f[2], j}})
            if (w > 0) key.emplace_back(v, w);
        std::sort(key.begin(), key.end());
        const auto [at, added] = named.try_emplace(key, static_cast<int>(file.vertices.size()));
        if (added) {
            Point3D p;
            for (const auto& [v, w] : key)
                p = p + static_cast<double>(w) * ico[v];
            file.vertices.push_back(unit(p));
        }
        return at->second;
    };
    for (const auto& f : faces)
        for (int i = 0; i < frequency; ++i)
            for (int j = 0; i + j < frequency; ++j) {
                file.faces.push_back({corner(f, i, j), corner(f, i + 1, j), corner(f, i, j + 1)});
                if (i + j + 2 <= frequency)
                    file.faces.push_back({corner(f, i + 1, j), corner(f, i + 1, j + 1), corner(f, i, j + 1)});
            }
    return file;
}

} // namespace kesmora::testing
