// Platonic and Archimedean solids, prisms and antiprisms as vertex lists: unit edge, centred at
// the origin, in their standard coordinate frames (faces come from convexHull).
#pragma once

#include "geom.h"

#include <vector>

namespace gen {

std::vector<Point3D> tetrahedronPoints();
std::vector<Point3D> cubePoints();
std::vector<Point3D> octahedronPoints();
std::vector<Point3D> icosahedronPoints();  // a fivefold axis along z
std::vector<Point3D> dodecahedronPoints(); // a fivefold axis along z

// A regular n-gon of circumradius r in the plane z, vertex k at angle offset + 2πk/n (radians),
// counter-clockwise seen from +z. For offset 0 or π/n the ring is mirror-symmetric about the
// x axis to the last bit (paired sines and cosines).
std::vector<Point3D> ringPoints(int n, double r, double offset, double z);
void addRing(std::vector<Point3D>& out, int n, double r, double offset, double z);

// Regular n-gon prism with square sides and uniform antiprism; axis z, the two n-gons at z = ±h/2.
std::vector<Point3D> prismPoints(int n);
std::vector<Point3D> antiprismPoints(int n);
// The n-gonal trapezohedron: the polar reciprocal of the uniform n-antiprism, scaled to ring
// radius 1.
Polyhedron trapezohedron(int n);

std::vector<Point3D> cuboctahedronPoints();
std::vector<Point3D> icosidodecahedronPoints();
std::vector<Point3D> rhombicuboctahedronPoints();
std::vector<Point3D> rhombicosidodecahedronPoints();
std::vector<Point3D> snubCubePoints();
std::vector<Point3D> truncatedTetrahedronPoints();
std::vector<Point3D> truncatedCubePoints();
std::vector<Point3D> truncatedOctahedronPoints();
std::vector<Point3D> truncatedDodecahedronPoints();
std::vector<Point3D> truncatedIcosahedronPoints();
std::vector<Point3D> truncatedCuboctahedronPoints();
std::vector<Point3D> truncatedIcosidodecahedronPoints();

// Snub dodecahedron (a hidden body of its own and the source of the pentagonal hexecontahedron).
// Unit edge, centred, one of the two enantiomers.
std::vector<Point3D> snubDodecahedronPoints();

// Real root of t^3 = t^2 + t + 1 (snub cube), and of x^3 - 2x = phi (snub dodecahedron).
double tribonacciConstant();
double snubDodecahedronXi();

} // namespace gen
