// The solid or its dual taken out of the model's tables as a plain polygon mesh.
#pragma once

#include "geometry/polymesh.h"
#include "geometry/solidmodel.h"

namespace kesmora {

// The export layer's name for the one mesh type.
using Mesh = PolyMesh;

Mesh solidMesh(const SolidModel& model);
Mesh dualMesh(const SolidModel& model);

} // namespace kesmora
