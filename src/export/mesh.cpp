// The solid or its dual as a plain polygon mesh.
#include "mesh.h"

namespace kesmora {

Mesh solidMesh(const SolidModel& model) {
    return meshOf(model.solid);
}

Mesh dualMesh(const SolidModel& model) {
    return meshOf(model.dual);
}

} // namespace kesmora
