// The space a closed surface encloses when its faces pierce one another (star polyhedra such as
// the small stellated dodecahedron, compounds such as two tetrahedra in one another): the region
// of points the surface winds around at least once, its volume and the area of its outer hull.
// The plain sums over the faces count overlapping parts several times instead.
#pragma once

#include "polymesh.h"

#include <cstddef>

namespace kesmora {

// How many times a face's boundary winds around its own centroid: 1 for an ordinary polygon, 2
// for a pentagram; 0 for a face without a plane.
int faceWindings(const PolyMesh& mesh, int face);

// Whether the surface passes through itself: its faces cross one another, it falls into separate
// parts that may overlap, or a face is a star polygon.
bool piercesItself(const PolyMesh& mesh);

struct EnclosedRegion {
    double volume = 0;
    double surface = 0; // the outer hull: the parts of faces with enclosed space on one side only
    bool measured = false;
};

// The most faces whose enclosed region is measured: the cells of every face plane are probed
// against the whole surface, which grows with the cube of the faces. The star bodies and compounds
// have a few dozen; a surface of thousands that passes through itself (a result of operations) is
// left unmeasured, and its sums are labelled as sums.
inline constexpr std::size_t kMaxEnclosedFaces = 1000;

// Needs faces turned consistently (each closed part's faces counter-clockwise from outside).
// Not measured beyond kMaxEnclosedFaces, nor where the cells to probe are so many that measuring
// would take more than a few tenths of a second.
EnclosedRegion enclosedRegion(const PolyMesh& mesh);

} // namespace kesmora
