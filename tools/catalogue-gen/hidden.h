// The category-0 bodies that excluded.txt keeps out of the lists: pyramids and frusta, the square
// frame, compounds, the Menger sponge, the Sierpinski tetrahedron, star bodies and trapezohedra.
// The catalogue still holds their blocks, so that a user who shows them gets a real solid.
#pragma once

#include "geom.h"

namespace gen {

// True for the catalogue positions that excluded.txt hides (categories 0, 2 and 3).
bool isHiddenBody(int category, int index);

// The solid of a hidden category-0 body, stored like the listed ones: main axis along z, its top
// (apex, small end) at -z, centred. Non-convex bodies carry their faces explicitly; compounds give
// every component its own vertices. Faces run counter-clockwise seen from outside where the body
// has an outside (the tetrahemihexahedron has none).
Polyhedron hiddenCategory0(int index);

} // namespace gen
