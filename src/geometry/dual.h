// The dual, or for Johnson solids the quasi-dual, of the solid in a model.
#pragma once

#include "solidmodel.h"

namespace kesmora {

// The most faces a catalogue block may have, and so the most vertices its dual (one face per solid
// vertex) and the most faces the dual with its cut faces may have.
inline constexpr int kMaxFaces = 201;

// How a body's dual is made. The plain dual puts its vertices at the face centroids and keeps one
// face per solid vertex; the quasi-dual of a solid with non-planar dual faces cuts them.
struct DualRecipe {
    bool poleRescaling = false;     // dual vertices at the face planes' poles about the circumsphere
    bool cutPentagons = false;      // each pentagon along its strictly shortest diagonal
    bool cutQuadrilaterals = false; // each quadrilateral (those the pentagon cut leaves too) in two
    // Where the distance order of a dual face crosses, the walk around its vertex puts it right.
    // The catalogue generator turns it off to find face orders that need no walk.
    bool walkAroundVertices = true;
};

// Squared distance of two dual vertices, summed in extended precision.
double abstand2(const SolidModel& model, int i, int j);

// Builds the dual figure's vertex, face and record tables from the solid's, as the recipe says.
void dualbilden(SolidModel& model, const DualRecipe& recipe);

} // namespace kesmora
