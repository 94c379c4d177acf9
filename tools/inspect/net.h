// The net command.
#pragma once

#include "catalogue/tables.h"
#include "options.h"

namespace kesmora::inspect {

// kesmora-inspect net CATEGORY NAME [--dual | --reciprocal] [--page WxH] [--edge MM] -o FILE.svg|FILE.pdf
Options netOptions();
int netCommand(const CatalogueTables& tables, const CommandLine& line);

} // namespace kesmora::inspect
