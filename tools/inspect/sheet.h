// Contact sheets: many pictures scaled into one grid, each with its caption below, under a title.
#pragma once

#include "options.h"

namespace kesmora::inspect {

// kesmora-inspect sheet [--title TEXT] [--columns N] [--tile WxH] -o OUT.png IMAGE CAPTION ...
Options sheetOptions();
int sheetCommand(const CommandLine& line);

} // namespace kesmora::inspect
