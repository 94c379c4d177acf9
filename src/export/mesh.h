// The solid or its dual taken out of the model's tables as a plain polygon mesh.
#pragma once

#include "geometry/polymesh.h"
#include "geometry/solidmodel.h"

namespace kesmora {

// The export layer's name for the one mesh type.
using Mesh = PolyMesh;

// As the view shows them: turned and in screen units.
Mesh solidMesh(const SolidModel& model);
Mesh dualMesh(const SolidModel& model);

// How a figure is placed in a file.
struct FilePlacement {
    // As the view shows it (turned, in screen units) rather than in the body's own units.
    bool asShown = false;
    // The longest edge in millimetres (centred on the vertex centroid); 0: the body's own units.
    double longestEdge = 0;
};

// The figure in the body's own units: not tilted, not turned, centred on the centroid of its
// vertices and scaled as the properties window measures (edge length 1 where all edges are one
// length, else longest edge 1). A file's body and its dual keep the file's own coordinates. A
// figure without coordinates of its own (one whose placement could not be taken back) is taken as
// shown, centred and scaled.
Mesh meshInModelUnits(const SolidModel& model, bool dual);

// The same, a file's body too: the units in which the properties window states its figures.
Mesh meshInPropertyUnits(const SolidModel& model, bool dual);

// The figure placed as asked.
Mesh placedMesh(const SolidModel& model, bool dual, const FilePlacement& placement);

} // namespace kesmora
