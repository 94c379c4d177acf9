// Conway's notation of the catalogue's bodies: the Platonic solids by their letters (T C O D I), the
// Archimedean and Catalan solids as operations on them (tC, aD, sC, kC, jD …), prisms, antiprisms
// and pyramids by their family and number of sides (P5, A4, Y6), and their duals by d (dA5 for the
// trapezohedron, dP6 for the bipyramid).
#pragma once

#include "catalogue/category.h"

#include <string>

namespace kesmora {

// The notation of the body at this catalogue position, or "" where it has none.
std::string conwayNotation(Category category, int bodyIndex);

// The notation of the dual of a body with this notation: the partner's letters where the Platonic
// solids and the Archimedean and Catalan solids pair up, a pyramid's own, else d before it (dd
// cancels); "" for "".
std::string dualNotation(const std::string& notation);

} // namespace kesmora
