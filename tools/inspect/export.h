// The export command: the solid or its dual as a mesh file (export/meshfiles.h) or as the picture
// of the drawing area in SVG or PNG.
#pragma once

#include "catalogue/tables.h"
#include "options.h"

namespace kesmora::inspect {

// kesmora-inspect export CATEGORY NAME [--dual] --format F [--mode N] [--size WxH] [--marks] -o FILE
Options exportOptions();
int exportCommand(const CatalogueTables& tables, const CommandLine& line);

} // namespace kesmora::inspect
