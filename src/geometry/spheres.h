// The circumsphere, midsphere and insphere of a mesh about the centroid of its vertices: the
// distances from that centre to the vertices, to the lines of the edges and to the planes of the
// faces. A sphere exists where all of them are one distance.
#pragma once

#include "polymesh.h"

namespace kesmora {

// Distances agree when they differ by at most this part of the largest: above the rounding of
// twelve-digit coordinates, far below any real difference between two distances.
inline constexpr double kSphereTolerance = 1e-9;

struct RadiusRange {
    double least = 0;
    double most = 0;
    bool exists = false; // every distance the same (and there is at least one)
    bool measured = false; // there was something to measure
};

struct Spheres {
    Point3D centre;
    RadiusRange circumradius; // to the vertices
    RadiusRange midradius;    // to the lines of the edges
    RadiusRange inradius;     // to the planes of the faces (faces without area left out)
};

Spheres spheresOf(const PolyMesh& mesh, double relativeTolerance = kSphereTolerance);

} // namespace kesmora
