// What the dual of a catalogue body is called: a Platonic solid's dual is another Platonic solid,
// an Archimedean solid's dual the Catalan solid of the catalogue and the other way round; the
// catalogue names neither the other duals nor the Johnson solids' quasi-duals. Everything that
// names a dual to the user asks here or geometry/dualshape.h.
#pragma once

#include "catalogue/category.h"
#include "catalogue/tables.h"
#include "geometry/solidmodel.h"

#include <string>

namespace kesmora {

// Latin-1, like the catalogue's names (geometry/dualshape.h).
inline constexpr const char* kPlainDualName = dualShapeName(DualShape::Plain);
inline constexpr const char* kQuasiDualName = dualShapeName(DualShape::QuasiDual);
inline constexpr const char* kReciprocalName = dualShapeName(DualShape::PolarReciprocal);

// The dual the catalogue builds for a body of this category: the Johnson solids' quasi-duals, the
// plain dual for every other body.
constexpr DualShape catalogueDualShape(Category category) {
    return hasQuasiDual(category) ? DualShape::QuasiDual : DualShape::Plain;
}

// The catalogue position of the body whose solid is the dual of the body at this position, or -1.
int dualPartnerIndex(Category category, int bodyIndex);

// The name of the dual shown, for the body at this catalogue position: the shape's name, but the
// partner's name from the catalogue section where the plain dual is a catalogue body ("Oktaeder"),
// and for the polar reciprocal the shape's name after the partner's where the catalogue holds one
// ("Oktaeder (polar reziproker Körper)").
std::string dualNameFor(const CatalogueTables& tables, Category category, int bodyIndex, DualShape shown);

// The same for the dual the catalogue builds (catalogueDualShape).
std::string dualNameFor(const CatalogueTables& tables, Category category, int bodyIndex);

// The panel caption for a body (Latin-1) with the dual shown: "Oktaeder und dualer Körper",
// "Johnson Polyeder 06 und quasiduales Polyeder", "… und polar reziproker Körper".
std::string titleFor(const std::string& name, DualShape shown);

} // namespace kesmora
