// Properties of a figure's surface as a whole, worked out once per build.
#pragma once

#include "polymesh.h"
#include "solidmodel.h"

namespace kesmora {

// Whether the faces form one closed surface around the vertices' centroid: every edge shared by
// exactly two faces, the faces orientable alike (after reversing some of them, every edge runs once
// in each direction), V - E + F = 2, every face flat with the centroid strictly on the inner side
// of its plane, and the surface wrapping once round the centroid, so that every ray from there
// meets it once. Every convex solid is such a surface; so are slightly dented ones. Tolerances are
// relative to the figure's size. A face naming a vertex that is not loaded, naming one twice, or
// having fewer than three corners gives false. On true, `reversed` marks the faces turned against
// the others and inradiusRatio is set.
SurfaceShape surfaceShape(const CheckedTable<Point3D>& vertices, const FaceList& faces);

// Sets the solid's and the dual's shape from the model's current tables.
void markSurfaceShapes(SolidModel& model);

// The model with its solid replaced by the figure (a figure on the way from or to the solid, placed
// where the solid is), its faces recorded and its surface shape marked again; the dual stays.
void replaceSolid(SolidModel& model, const PolyMesh& figure);
// The same for the dual.
void replaceDual(SolidModel& model, const PolyMesh& figure);

} // namespace kesmora
