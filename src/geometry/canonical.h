// The canonical form of a polyhedron: every edge touches the unit sphere, the touching points
// have their centroid at the origin, and every face is planar. For a convex solid it is unique up
// to turning, so the same solid made in different ways ends up congruent.
#pragma once

#include "polymesh.h"

#include <functional>

namespace kesmora {

// Told the share of the work done so far (0 to 1) now and then; returning false cancels.
using ProgressCallback = std::function<bool(double)>;

struct CanonicalOptions {
    double tolerance = 1e-10; // largest allowed miss of tangency, centring and planarity
    int maxSteps = 50000;
    ProgressCallback progress; // may be empty
};

struct CanonicalResult {
    PolyMesh mesh;
    bool converged = false;
    bool cancelled = false;
    int steps = 0;
    double residual = 0; // the largest miss at the end
};

// The largest of: an edge line's distance from the origin off 1, the distance of the touching
// points' centroid from the origin, a face's flatness.
double canonicalResidual(const PolyMesh& mesh);

// Moves the vertices of a closed surface with faces oriented alike towards the canonical form
// until every miss is below the tolerance or the step limit is reached (a step is one pass over
// every edge and face corner). Without convergence (or when cancelled) the result is the given
// mesh with its faces made as planar as they can be without losing its shape (or as given, where
// even that fails); `converged` says which. Throws OperationRefused (conway.h)
// for a surface that is not closed with faces oriented alike; so do the functions below.
CanonicalResult canonicalForm(const PolyMesh& mesh, const CanonicalOptions& options = {});

// The mesh with every vertex pulled towards its faces' planes until they are planar, kept where
// that made them flatter without changing the body's size much; otherwise the mesh as given.
PolyMesh planarised(const PolyMesh& mesh);

// The polar reciprocal about the unit sphere of a mesh in canonical form: vertex f is the pole of
// face f's plane, face v runs through the poles of the faces around vertex v, counter-clockwise
// seen from outside. It is canonical again, and its dual is the mesh it came from.
PolyMesh canonicalDual(const PolyMesh& mesh);

} // namespace kesmora
