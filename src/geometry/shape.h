// Properties of a figure's surface as a whole, worked out once per build.
#pragma once

#include "solidmodel.h"

namespace kesmora {

// Whether the faces form one closed convex surface: every edge shared by exactly two faces, the
// faces orientable alike (after reversing some of them, every edge runs once in each direction),
// V - E + F = 2, and no vertex outside the plane of any face to within a tolerance relative to the
// figure's size. A face naming a vertex that is not loaded, naming one twice, or having fewer
// than three corners gives false. On true, `reversed` marks the faces turned against the others and
// inradiusRatio is set.
SurfaceShape surfaceShape(const Point3D* vertices, int vertexCount, const FaceString* faces, int faceCount);

// Sets the solid's and the dual's shape from the model's current tables.
void markSurfaceShapes(SolidModel& model);

} // namespace kesmora
