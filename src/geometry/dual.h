// The dual, or for Johnson solids the quasi-dual, of the solid in a model.
#pragma once

#include "solidmodel.h"

#include <string_view>

namespace kesmora {

// Squared distance of two dual vertices, summed in extended precision.
double abstand2(const SolidModel& model, int i, int j);

// Builds dualVertices, dualFaces, dualFaceRecords and both dual counts from the solid's tables.
// The category, the body's catalogue index and its name decide pole rescaling and cutting.
void dualbilden(SolidModel& model, int currentCategory, int bodyIndex, std::string_view bodyName);

} // namespace kesmora
