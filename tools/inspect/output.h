// Where the inspector's output may go; the writing itself is export/output.h.
#pragma once

#include "export/output.h"

#include <QByteArray>

#include <string>

namespace kesmora::inspect {

// Refuses binary output on standard output when that is a terminal, before any work is done.
void refuseBinaryOnTerminal(const std::string& path);

// The raster format `path` asks for by its suffix (any format QImageWriter writes); PNG for
// standard output and for names without a suffix. Throws Usage naming the supported suffixes.
QByteArray imageFormatFor(const std::string& path);

} // namespace kesmora::inspect
