// Johnson solids: constructions are added here.
#include "johnson.h"

namespace gen {

std::vector<JohnsonBody> johnsonBodies() { return {}; }

} // namespace gen
