// The Johnson solids by their standard names, for the catalogue's entries "Johnson Polyeder <n>".
#pragma once

#include <QString>

namespace kesmora {

// "J28 gerade quadratische Doppelkuppel", "J1 square pyramid": the German name where one is known, else
// Johnson's English one; empty for a number outside 1 .. 92.
QString johnsonStandardName(int number);

// The number n of the catalogue entry "Johnson Polyeder <n>" (written with or without a leading
// zero), or 0 for any other name.
int johnsonNumber(const QString& catalogueName);

} // namespace kesmora
