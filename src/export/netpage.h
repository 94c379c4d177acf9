// Nets to print, cut out and glue, second half: an unfolded net turned and scaled onto a page,
// with glue tabs, coloured as in "farbige Flächen", cut, fold and valley lines, written as SVG.
#pragma once

#include "unfold.h"

#include <QSizeF>

#include <string>

namespace kesmora {

// Writes the net on a page of the given size in millimetres, whole or not at all.
void writeNetPage(const Mesh& mesh, const Net& net, QSizeF pageMillimetres, const std::string& title,
                  const std::string& file);

} // namespace kesmora
