// What the dual of a catalogue body is called: a Platonic solid's dual is another Platonic solid,
// an Archimedean solid's dual the Catalan solid of the catalogue and the other way round; the
// catalogue names neither the other duals nor the Johnson solids' quasi-duals.
#pragma once

#include "catalogue/tables.h"
#include "geometry/solidmodel.h"

#include <string>

namespace kesmora {

// Latin-1, like the catalogue's names.
inline constexpr const char* kPlainDualName = "dualer K\xF6rper";
inline constexpr const char* kQuasiDualName = "Quasi-Dual";
inline constexpr const char* kReciprocalName = "polar reziproker K\xF6rper";

// The catalogue position of the body whose solid is the dual of the body at this position, or -1.
int dualPartnerIndex(int category, int bodyIndex);

// The partner's name from the catalogue section, else kQuasiDualName for the Johnson solids and
// kPlainDualName for every other body.
std::string dualNameFor(const CatalogueTables& tables, int category, int bodyIndex);

// The name of the dual shown: as above for the catalogue's construction; for the polar reciprocal
// "polar reziproker Körper", after the partner's name where the catalogue holds one
// ("Oktaeder (polar reziproker Körper)").
std::string dualNameFor(const CatalogueTables& tables, int category, int bodyIndex, DualKind shown);

} // namespace kesmora
