// Where the program finds its four catalogue files.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kesmora {

// The folders looked in, in order: "data" next to the executable (the build tree), then
// "../share/kesmora" relative to it (an installation under a prefix).
QStringList dataDirCandidates(const QString& executableDir);

// The first candidate that holds all four files, or nothing.
std::optional<QString> findDataDir(const QString& executableDir);

} // namespace kesmora
