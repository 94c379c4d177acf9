// A polyhedron read from the user's file made a solid with its dual, placed as the catalogue's
// bodies are.
#pragma once

#include "geometry/dualshape.h"
#include "geometry/solidmodel.h"
#include "polyhedronfile.h"

#include <string>

namespace kesmora {

// A dual face whose corners stray farther than this from one plane (relative to the dual's size,
// the farthest distance of its vertices from their centroid, which does not change when the body is
// turned) is cut into triangles: at the fitted size of 200 to 350 pixels that is at most a
// thirtieth of a pixel, so a face within it looks flat, and coordinates written with five or more
// digits keep a flat face within it.
inline constexpr double kFlatDualFaceTolerance = 1e-4;

// Checks the file's polyhedron and builds it: centred on the middle of its extent, the faces
// turned alike and outward, the dual with a vertex at each face's centroid and a face for each
// vertex through the faces around it in their order about the vertex (a dual face that is not
// flat cut into triangles along short diagonals), tilted like the "Polyeder" and fitted to the
// view. Throws PolyhedronFileError, naming the line where there is one, for coordinates that
// coincide, a face without area or naming a corner twice, a surface that is not closed, not
// orientable or in several pieces, a vertex whose faces do not close round it or that lies on
// fewer than three, all vertices in one plane, and more vertices or faces than a file may have.
// With DualKind::PolarReciprocal the dual is the solid's polar reciprocal where it has one; where it
// has none, the model keeps the dual from the face centroids and its dualInfo says why.
SolidModel buildFileSolid(const PolyhedronFile& file, DualKind dual = DualKind::Catalogue);

// A solid made by operations on another, placed as the solid it was made from was shown (so not
// tilted again), built and checked as a file's polyhedron (`name` stands for the file's name in
// messages). With `dual` (a vertex for each face of the solid, a face for each of its vertices in
// their order: the canonical form's reciprocal) that is its dual; otherwise the dual is made as
// for a file.
SolidModel buildMadeSolid(const PolyMesh& solid, const PolyMesh* dual, const std::string& name,
                          DualKind dualKind = DualKind::Catalogue);

// The title over the picture of a file's body, in UTF-8: the file's shown name and the dual shown
// with it ("wuerfel.off und dualer Körper"). A file has no quasi-dual; the dual from the face
// centroids is its "dualer Körper".
std::string fileTitle(const std::string& fileName, DualShape shown);

} // namespace kesmora
