// The Schläfli symbol of a regular polyhedron, read from its geometry: {p, q} for the Platonic
// solids, {p/d, q} or {p, q/d} for the regular star polyhedra whose faces or vertex figures wind
// d times around their centre.
#pragma once

#include "polymesh.h"
#include "symmetry.h"

#include <string>

namespace kesmora {

// "{3,5}", "{5/2,5}"; "" unless the mesh is one closed connected surface of equal faces and equal
// vertices whose symmetries move every flag (vertex, edge, face) to every other: as many
// symmetries as four times its edges.
std::string schlaefliSymbol(const PolyMesh& mesh, const SymmetryGroup& group);

} // namespace kesmora
