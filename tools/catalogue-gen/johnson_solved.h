// The Johnson solids without a cut-and-paste construction, solved from their unit-edge equations,
// and the few built on them; the constructions of the others stand in johnson.cpp.
#pragma once

#include "geom.h"

#include <functional>
#include <utility>
#include <vector>

namespace gen {

// A solid before storage: its points (any position) and the direction of its top.
struct Construction {
    std::vector<Point3D> points;
    Point3D top{0, 0, 1};
};

inline void append(std::vector<Point3D>& to, const std::vector<Point3D>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

using EdgeList = std::vector<std::pair<int, int>>;

// Snub disphenoid, S4 axis along z.
std::vector<Point3D> snubDisphenoidPoints(const std::vector<double>& x);

// Snub square antiprism, D4d about z: top square, two rings, bottom square.
std::vector<Point3D> snubSquareAntiprismPoints(const std::vector<double>& x);

// Hebesphenomegacorona, C2v with the twofold axis along z.
std::vector<Point3D> hebesphenomegacoronaPoints(const std::vector<double>& x);

// Disphenocingulum, D2d with the S4 axis along z.
std::vector<Point3D> disphenocingulumPoints(const std::vector<double>& x);

Construction solved(const std::function<std::vector<Point3D>(const std::vector<double>&)>& shape,
                    const EdgeList& edges, std::vector<double> start, bool centreHeight);

Construction hebesphenorotunda();

// Bilunabirotunda, D2h: each lune is a square (at y = ±φ/2) between two triangles; pairs of
// pentagons meet along the edges at x = 0, z = ±φ²/2.
Construction bilunabirotunda();

Construction gyrobifastigium();

std::vector<Point3D> sphenocorona();

std::vector<Point3D> sphenomegacorona();

Construction augmentedSphenocorona();

} // namespace gen
