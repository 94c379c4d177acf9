// Platonic and Archimedean solids, prisms and antiprisms as vertex lists: unit edge, centred at
// the origin, in their standard coordinate frames (faces come from convexHull).
#pragma once

#include "geom.h"

#include <vector>

namespace gen {

std::vector<Vec3> tetrahedronPoints();
std::vector<Vec3> cubePoints();
std::vector<Vec3> octahedronPoints();
std::vector<Vec3> icosahedronPoints();  // a fivefold axis along z
std::vector<Vec3> dodecahedronPoints(); // a fivefold axis along z

// A regular n-gon of circumradius r in the plane z, vertex k at angle offset + 2πk/n (radians),
// counter-clockwise seen from +z. For offset 0 or π/n the ring is mirror-symmetric about the
// x axis to the last bit (paired sines and cosines).
std::vector<Vec3> ringPoints(int n, double r, double offset, double z);
void addRing(std::vector<Vec3>& out, int n, double r, double offset, double z);

// Regular n-gon prism with square sides and uniform antiprism; axis z, the two n-gons at z = ±h/2.
std::vector<Vec3> prismPoints(int n);
std::vector<Vec3> antiprismPoints(int n);

std::vector<Vec3> cuboctahedronPoints();
std::vector<Vec3> icosidodecahedronPoints();
std::vector<Vec3> rhombicuboctahedronPoints();
std::vector<Vec3> rhombicosidodecahedronPoints();
std::vector<Vec3> snubCubePoints();
std::vector<Vec3> truncatedTetrahedronPoints();
std::vector<Vec3> truncatedCubePoints();
std::vector<Vec3> truncatedOctahedronPoints();
std::vector<Vec3> truncatedDodecahedronPoints();
std::vector<Vec3> truncatedIcosahedronPoints();
std::vector<Vec3> truncatedCuboctahedronPoints();
std::vector<Vec3> truncatedIcosidodecahedronPoints();

// Snub dodecahedron (only the source of the pentagonal hexecontahedron; the catalogue excludes the
// snub dodecahedron itself). Unit edge, centred, one of the two enantiomers.
std::vector<Vec3> snubDodecahedronPoints();

// Real root of t^3 = t^2 + t + 1 (snub cube), and of x^3 - 2x = phi (snub dodecahedron).
double tribonacciConstant();
double snubDodecahedronXi();

} // namespace gen
