// Contact sheets: many pictures scaled into one grid, each with its caption below, under a title.
#pragma once

#include <string>
#include <vector>

namespace kesmora::inspect {

// kesmora-inspect sheet [--title TEXT] [--columns N] [--tile WxH] -o OUT.png IMAGE CAPTION ...
int sheetCommand(const std::vector<std::string>& args);

} // namespace kesmora::inspect
