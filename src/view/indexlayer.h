// The one-byte colour-index layer (pixeltarget.h) brought into the scene.
#pragma once

#include "pixeltarget.h"

#include <QRect>

#include <cstdint>

namespace kesmora {

// Within `box`, every scene pixel whose layer byte is not 0 ANDed with colours[byte], and the
// layer set back to 0 there. colours[0] is not read; colourCount is at most 255.
void andLayer(const PixelTarget& scene, const IndexTarget& layer, QRect box, const std::uint32_t* colours,
              int colourCount);

} // namespace kesmora
