// The stats command.
#pragma once

#include "options.h"
#include "session.h"

namespace kesmora::inspect {

// kesmora-inspect stats (CATEGORY NAME | --file PATH) [--dual] [--json]
Options statsOptions();
int statsCommand(Catalogue& catalogue, const CommandLine& line);

} // namespace kesmora::inspect
