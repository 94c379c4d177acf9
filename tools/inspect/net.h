// The net command.
#pragma once

#include "catalogue/tables.h"
#include "options.h"

namespace kesmora::inspect {

// kesmora-inspect net CATEGORY NAME [--dual | --reciprocal] [--page WxH] -o FILE.svg
Options netOptions();
int netCommand(const CatalogueTables& tables, const CommandLine& line);

} // namespace kesmora::inspect
