// Building blocks of the Johnson solids: regular rings, caps set onto a regular polygon (pyramid,
// prism, antiprism, cupola, rotunda), face look-up on convex point sets and a least-squares solver.
#pragma once

#include "geom.h"

#include <functional>
#include <vector>

namespace gen {

// Circumradius of the regular n-gon with unit edge.
double polygonCircumradius(int n);

// The regular unit-edge n-gon about the z axis at height z, vertex k at angle phase + 2πk/n,
// counter-clockwise seen from +z.
std::vector<Point3D> regularRing(int n, double z, double phase);

Point3D centroidOf(const std::vector<Point3D>& points);

// A regular unit-edge polygon (vertices in cyclic order) and the side on which a cap is built.
struct CapBase {
    std::vector<Point3D> corners;
    Point3D outward; // unit normal pointing away from the body the cap is set onto
};

// The new vertices of each cap; the base corners are not repeated.
std::vector<Point3D> pyramidApex(const CapBase& base);
std::vector<Point3D> prismLid(const CapBase& base);
std::vector<Point3D> antiprismLid(const CapBase& base);
// Cupola on a 2k-gon: its triangles stand on the base edge whose midpoint lies nearest the
// direction `triangleSide` (seen from the base centre) and on every second edge from there.
std::vector<Point3D> cupolaTop(const CapBase& base, Point3D triangleSide);
// Pentagonal rotunda on a decagon: its lower pentagons stand on the edge nearest `pentagonSide`
// and every second edge; the top pentagon's corners lie in those edges' directions.
std::vector<Point3D> rotundaTop(const CapBase& base, Point3D pentagonSide);

// Direction from the centre of a ring to the midpoint of its edge k (vertex k to vertex k+1).
Point3D edgeDirection(const std::vector<Point3D>& ring, int k);

// A face of a convex point set with what the constructions ask of it.
struct HullFace {
    std::vector<int> corners; // counter-clockwise seen from outside
    Point3D normal;           // outward unit normal
    Point3D centre;           // vertex mean
};
std::vector<HullFace> hullFaces(const std::vector<Point3D>& points);
CapBase capBaseOf(const std::vector<Point3D>& points, const HullFace& face);

// The first face with `size` corners whose normal makes, with each given direction, the paired
// cosine (to 1e-6). Throws if there is none.
struct NormalAngle {
    Point3D direction;
    double cosine;
};
const HullFace& findFace(const std::vector<HullFace>& faces, int size,
                         const std::vector<NormalAngle>& angles);

// For a face: the number of corners of the face across each of its edges (edge k = corner k to
// corner k+1).
std::vector<int> neighbourSizes(const std::vector<HullFace>& faces, const HullFace& face);

// Gauss-Newton on residuals(x) = 0 from the start x (numerical Jacobian, halved steps when a step
// does not help). Throws std::runtime_error unless every residual ends below `tolerance`.
std::vector<double>
solveLeastSquares(const std::function<std::vector<double>(const std::vector<double>&)>& residuals,
                  std::vector<double> x, double tolerance = 1e-12);

} // namespace gen
