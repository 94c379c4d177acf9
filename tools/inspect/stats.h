// The stats command.
#pragma once

#include "catalogue/tables.h"
#include "options.h"

namespace kesmora::inspect {

// kesmora-inspect stats CATEGORY NAME [--dual] [--json]
Options statsOptions();
int statsCommand(const CatalogueTables& tables, const CommandLine& line);

} // namespace kesmora::inspect
