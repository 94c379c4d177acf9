// A polygon mesh as every layer above the tables takes it: the vertices and each face's vertex
// indices in boundary order, with the measures that exports, measurements, nets, the reciprocal and
// the operations on solids share, each written once.
#pragma once

#include "point3d.h"

#include <vector>

namespace kesmora {

struct PolyMesh {
    std::vector<Point3D> vertices;
    std::vector<std::vector<int>> faces; // vertex indices in boundary order
};

// The figure's vertices and faces as a plain polygon mesh.
PolyMesh meshOf(const Figure& figure);

// Every edge lies on exactly two faces.
bool isClosed(const PolyMesh& mesh);

// Reverses faces so that neighbours run through each shared edge in opposite directions, then turns
// every connected piece so that its signed volume is positive (faces counter-clockwise seen from
// outside). Propagating across edges rather than testing each face against the centre also works
// for non-convex bodies such as the quasi-duals. Returns false when that is impossible (an edge on
// more than two faces, or a surface without two sides); the mesh is then left as it was.
bool orientOutward(PolyMesh& mesh);

double signedVolume(const PolyMesh& mesh);

// Newell's normal of a face: its length is twice the area of a planar face, and it is well defined
// for slightly warped faces too.
Point3D areaNormal(const PolyMesh& mesh, int face);
Point3D centroidOf(const PolyMesh& mesh, int face);

// Largest distance of a face's vertices from the plane through its centroid across its normal.
double flatness(const PolyMesh& mesh, int face);

// The farthest distance of a vertex from the vertices' centroid, the length that tolerances are
// measured against: the same however the body is turned when it is measured or unfolded.
double extent(const PolyMesh& mesh);

// A face's corner at a vertex: the face, and the vertex's neighbours before and after it along the
// face's boundary.
struct FaceCorner {
    int face;
    int before;
    int after;
};

// The corners at each vertex, in face order. Throws std::out_of_range for a face that names a
// vertex the mesh does not have.
std::vector<std::vector<FaceCorner>> cornersAtVertices(const PolyMesh& mesh);

// The smallest of a cyclic sequence's rotations and reflections: a vertex configuration however
// the walk around the vertex started and turned.
std::vector<int> smallestCycle(const std::vector<int>& cycle);

} // namespace kesmora
