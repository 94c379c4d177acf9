// The simpler solids of the catalogue's first category that are no uniform polyhedra: each a
// construction of its own, centred as the catalogue keeps it.
#pragma once

#include "geom.h"

namespace gen {

// Square prism (base 2 x 2, height 2.5) with a square pyramid of height 1.5; apex (top) at -z.
// Proportions chosen so that it is visibly not Johnson 08, which category 3 shows.
Polyhedron prismAndPyramid();

// Equilateral pentagonal bipyramid (shape of J13).
Polyhedron pentagonalBipyramid();

// "erweitertes Trapezoeder": three kites around the threefold apex T at -z,
// extended by three isosceles triangles to an equilateral base triangle; z-extent centred.
Polyhedron extendedTrapezohedron();

// Acute golden rhombohedron: three unit edge vectors at pairwise dot 1/sqrt5 around z, the 8
// subset sums, centred.
Polyhedron goldenRhombohedron();

// Decagonal barrel: end decagons of side 1 (circumradius φ) at z = ±2, waist decagon of
// circumradius 2 at z = 0, all at angles 36°k. cupolas: 0 none, 1 on the z = -2 end (top),
// 2 on both ends (mirror position). Then the z-extent is centred.
Polyhedron barrel(int cupolas);

// Dürer's solid, Schreiber's reading: rhombohedron of edge 1 with 72° rhombi (apex edge vectors
// at pairwise dot cos 72°, threefold axis z), both threefold apexes cut at t = (sqrt5 - 1)/2
// along the apex edges; centred.
Polyhedron duerer();

// Rhombic icosahedron: five of the six fivefold axes of the icosahedron (cos θ = 1/sqrt5).
Polyhedron rhombicIcosahedron();

// Loday's associahedron K5, expressed in an orthonormal basis of the plane x1+..+x4 = 10.
Polyhedron associahedron();

// Herschel's enneahedron, D3h: poles (0,0,±2), equator at radius 2, six vertices at radius 1,
// z = ±1.5.
Polyhedron herschel();

// Triclinic parallelepiped a=(3,0,0), b=(1,2,0), c=(1,1,2) (point group Ci); with cutCorner the
// corner +(a+b+c)/2 is cut through the midpoints of its three edges (C1). Vertex centroid at 0.
Polyhedron triclinic(bool cutCorner);

// Icosioctahedron: truncated tetrahedron (permutations of (3,1,1), even number of minus signs)
// with a hexagonal pyramid on each hexagon, apexes on the circumsphere sqrt(11/3)(±1,±1,±1), odd
// number of minus signs.
Polyhedron icosioctahedron();

// Elongated rhombic dodecahedron: zonohedron of (1,1,1), (1,1,-1), (1,-1,1), (-1,1,1) (unit) and
// (0,0,1); fourfold axis z.
Polyhedron elongatedRhombicDodecahedron();

// Campanus' sphere: poles and 12 meridians x 5 parallels (latitudes 0, ±30, ±60) on the unit sphere.
Polyhedron campanus();

} // namespace gen
