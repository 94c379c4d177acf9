// The polar map about a sphere centred at the origin, which polar reciprocals are built from.
#pragma once

#include "point3d.h"

namespace kesmora {

// The pole of the plane at `distance` from the origin across the unit normal: the point on the
// normal at radius2 / distance. The generator's catalogue duals and the polar reciprocal
// (geometry/reciprocal.h) take their vertices from here. The program's own dual (geometry/dual.h) keeps its own rule: it
// moves each face's centroid outward along the centroid's direction (the pole about the
// circumsphere where the centroid is the plane's point nearest the centre), in arithmetic that the
// stored models depend on to the last bit.
inline Point3D poleOfPlane(const Point3D& unitNormal, double distance, double radius2) {
    return (radius2 / distance) * unitNormal;
}

} // namespace kesmora
