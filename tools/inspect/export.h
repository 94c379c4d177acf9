// The export command: the solid or its dual as a mesh file (export/meshfiles.h) or as the picture
// of the drawing area in SVG or PNG.
#pragma once

#include "options.h"
#include "session.h"

namespace kesmora::inspect {

// kesmora-inspect export (CATEGORY NAME | --file PATH) [--dual] --format F [--mode N] [--size WxH]
//                 [--marks] -o FILE
Options exportOptions();
int exportCommand(Catalogue& catalogue, const CommandLine& line);

} // namespace kesmora::inspect
