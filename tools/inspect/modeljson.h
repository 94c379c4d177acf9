// The model of a built body as one JSON object.
#pragma once

#include "session.h"

#include <QJsonObject>

namespace kesmora::inspect {

QJsonObject modelToJson(const BuiltBody& body);

} // namespace kesmora::inspect
