// What the catalogue position of a body means for its build: where its data lie and how its dual
// is made. Nothing below this layer knows categories or body indices.
#pragma once

#include "catalogue/category.h"
#include "geometry/dual.h"

#include <optional>
#include <string_view>

namespace kesmora {

// Where a body's data come from: the block id of its faces (and of its coordinates unless the
// vertices are generated).
struct Dispatch {
    int blockId = 0;
    bool generated = false;
};
std::optional<Dispatch> dispatchFor(Category category, int bodyIndex);

// The dual of the body at this catalogue position: the Archimedean solids and the antiprisms get
// their dual vertices at the poles of the face planes; most Johnson solids and the extended
// trapezohedron get the quasi-dual cuts.
DualRecipe dualRecipeFor(Category category, int bodyIndex, std::string_view bodyName);

// The body of the same category whose shape is this one's polar reciprocal about its midsphere
// (up to scale): the Platonic pairs, each Archimedean solid and its Catalan solid, and each
// antiprism and its trapezohedron. Nothing for a body without a partner in the catalogue.
std::optional<int> reciprocalPartner(Category category, int bodyIndex);

} // namespace kesmora
