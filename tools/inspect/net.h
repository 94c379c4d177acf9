// The net command.
#pragma once

#include "options.h"
#include "session.h"

namespace kesmora::inspect {

// kesmora-inspect net (CATEGORY NAME | --file PATH) [--dual | --reciprocal] [--page WxH] [--edge MM]
//                 -o FILE.svg|FILE.pdf
Options netOptions();
int netCommand(Catalogue& catalogue, const CommandLine& line);

} // namespace kesmora::inspect
