// The polar reciprocal of a polyhedron: the dual as geometry defines it, each face plane made the
// vertex at its pole and each vertex the face in its polar plane. The window's dual, the
// inspector's exports and the nets all take it from here.
#pragma once

#include "geometryerror.h"
#include "polymesh.h"
#include "solidmodel.h"

#include <vector>

namespace kesmora {

// The sphere the reciprocal is taken about.
struct PolarSphere {
    Point3D centre;
    double radius = 0;
    // Every edge line touches it: the reciprocal then shares it, and each edge crosses its dual edge
    // at right angles where both touch the sphere.
    bool midsphere = false;
};

// A body that has no polar reciprocal: a face plane through the centre, two faces in one plane (their
// poles would coincide), or faces that do not close up around a vertex.
// The text is German and says why.
class ReciprocalRefused : public GeometryError {
  public:
    using GeometryError::GeometryError;
};

// The centre is the vertices' centroid: for every convex body it lies strictly inside, so no face
// plane passes through it and every pole is finite, and for a body with a centre of symmetry it is
// that centre. The radius is the midsphere's where all edge lines lie equally far from the centre
// (relative 1e-9), otherwise the mean distance of the edge midpoints from it.
PolarSphere reciprocalSphere(const PolyMesh& solid);

// Vertex f of the result is the pole of face f, face v lies in the polar plane of vertex v and runs
// through the poles of the faces around v in boundary order, counter-clockwise seen from outside
// (from the side away from the centre). Throws ReciprocalRefused.
PolyMesh polarReciprocal(const PolyMesh& solid, const PolarSphere& sphere);
PolyMesh polarReciprocal(const PolyMesh& solid);

// The model's solid as a polygon mesh.
PolyMesh solidSurface(const SolidModel& model);

// Replaces the model's dual by the reciprocal of its solid, with face records as the dual
// construction makes them (centroid, colour (index mod 23) + 1), and records which dual it holds.
// Throws ReciprocalRefused and then leaves the model as it was.
void reciprocalDual(SolidModel& model);

} // namespace kesmora
