// Self-checks of the catalogue generator's helpers (catalogue-gen --self-test).
#pragma once

#include <ostream>

namespace gen {

// Runs the checks, reports failures on out; 0 if all pass.
int runSelfTest(std::ostream& out);

} // namespace gen
