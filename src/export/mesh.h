// The solid or its dual taken out of the model's fixed tables as a plain polygon mesh, with the
// orientation and the measurements that export, stats and net share.
#pragma once

#include "geometry/edgemap.h"
#include "geometry/point3d.h"
#include "geometry/solidmodel.h"

#include <cmath>
#include <vector>

namespace kesmora {

struct Mesh {
    std::vector<Point3D> vertices;
    std::vector<std::vector<int>> faces; // vertex indices in boundary order
};

Mesh solidMesh(const SolidModel& model);
Mesh dualMesh(const SolidModel& model);

// Every edge lies on exactly two faces.
bool isClosed(const Mesh& mesh);

// Reverses faces so that neighbours run through each shared edge in opposite directions, then turns
// every connected piece so that its signed volume is positive (faces counter-clockwise seen from
// outside). Propagating across edges rather than testing each face against the centre also works
// for the non-convex quasi-duals. Returns false when that is impossible (an edge on more than two
// faces, or a surface without two sides); the mesh is then left as it was.
bool orientOutward(Mesh& mesh);

double signedVolume(const Mesh& mesh);

// Newell's normal of a face: its length is twice the area of a planar face, and it is well defined
// for the slightly warped faces of some duals too.
Point3D areaNormal(const Mesh& mesh, int face);
Point3D centroidOf(const Mesh& mesh, int face);

// Largest distance of a face's vertices from the plane through its centroid across its normal.
double flatness(const Mesh& mesh, int face);

// The farthest distance of a vertex from the vertices' centroid, the length that tolerances are
// measured against: the same however the body is turned on screen when it is measured or unfolded.
double extent(const Mesh& mesh);

} // namespace kesmora
