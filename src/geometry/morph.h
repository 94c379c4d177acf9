// The way from a solid to its dual: the figures M(λ) = S ∩ λ·S*, where S* is the solid's polar
// reciprocal and λ·S* the reciprocal scaled about the centre of the sphere it is taken about. For
// a large λ the reciprocal holds the whole solid; as λ shrinks the solid's corners are cut off ever
// deeper, until at λ = 1 the solid's and the dual's edges cross (the rectified form: the
// cuboctahedron between cube and octahedron); then the dual's corners are cut, until the dual
// alone remains.
#pragma once

#include "geometryerror.h"
#include "polymesh.h"
#include "reciprocal.h"
#include "solidmodel.h"

#include <string>
#include <vector>

namespace kesmora {

// A half-space n·x ≤ d.
struct HalfSpace {
    Point3D normal;
    double offset = 0;
};

// The convex polyhedron where all the half-spaces meet, which must be bounded and hold `inside`
// strictly. Each face is the polygon of one half-space's plane (never cut into triangles),
// counter-clockwise seen from outside; a plane that only touches the polyhedron gives no face.
// Vertices closer than `mergeDistance` become one, so that planes meeting almost in one point
// leave no slivers. Throws GeometryError when nothing is left.
PolyMesh halfSpaceIntersection(const std::vector<HalfSpace>& halfSpaces, const Point3D& inside,
                               double mergeDistance);

// Why a solid has no morph to its dual, in German ("Der Körper ist nicht konvex"); empty when it
// has one.
std::string morphRefusal(const PolyMesh& solid);

class DualMorph {
  public:
    // Throws GeometryError (ReciprocalRefused) for a surface that is not closed, not flat-faced or
    // not convex, with the reason morphRefusal gives.
    explicit DualMorph(const PolyMesh& solid);

    // The figure at position t from 0 (the solid) through ½ (λ = 1) to 1 (the polar reciprocal):
    // between those, log λ runs linearly in t. Throws GeometryError for t outside [0, 1].
    PolyMesh at(double t) const;
    double lambdaAt(double t) const;
    const PolarSphere& sphere() const { return sphere_; }

  private:
    std::vector<HalfSpace> solidPlanes_; // relative to the centre
    std::vector<Point3D> poles_;         // the solid's vertices relative to the centre
    PolarSphere sphere_;
    double lambdaLargest_ = 1; // from here up, the solid
    double lambdaSmallest_ = 1; // from here down, the reciprocal
    double size_ = 1;
};

// The model with its solid replaced by the figure at t of the solid's morph, placed where the solid
// is; the dual stays as it is.
void showMorph(SolidModel& model, const DualMorph& morph, double t);

} // namespace kesmora
