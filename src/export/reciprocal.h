// The polar reciprocal, for duals that the quasi-dual's cut faces cannot give as a net.
#pragma once

#include "mesh.h"

namespace kesmora {

// The reciprocal with respect to a sphere about the centre (the origin where it lies well inside
// the solid, otherwise the vertex centroid): face plane n.x = d gives the vertex n/d, each vertex a
// face. Needs a closed solid with flat faces, turned outward. Vertex f belongs to face f, face v to
// vertex v.
Mesh polarReciprocal(const Mesh& solid);

} // namespace kesmora
