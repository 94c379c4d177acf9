// The angles of a closed mesh by class: the dihedral angle at each kind of edge, named by the
// corner counts of the two faces that meet there, and the solid angle at each kind of vertex,
// named by its vertex configuration.
#pragma once

#include "polymesh.h"

#include <vector>

namespace kesmora {

// Angles closer than this (in degrees) belong to one class.
inline constexpr double kAngleClassTolerance = 1e-4;

struct DihedralClass {
    int smallerFace = 0; // corner counts of the two faces, smaller first
    int largerFace = 0;
    double degrees = 0;  // inside the body: below 180 where it folds outward, above where inward
    int count = 0;       // edges
};

struct SolidAngleClass {
    std::vector<int> configuration; // corner counts around the vertex, smallest rotation or reflection
    double steradians = 0;
    int count = 0; // vertices
};

struct AngleClasses {
    std::vector<DihedralClass> dihedrals;     // by face pair, then angle
    std::vector<SolidAngleClass> solidAngles; // by number of faces, configuration, then angle
    bool measured = false; // false when the faces cannot be turned outward or the surface is open
};

AngleClasses angleClasses(PolyMesh mesh);

} // namespace kesmora
