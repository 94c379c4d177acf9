// The even-odd polygon fill of Qt's raster engine without antialiasing, written straight into
// scanlines: each row sampled at its centre, a 16.16 fixed-point x stepped along each edge.
#pragma once

#include "pixeltarget.h"

#include <QPoint>
#include <QRgb>

#include <cstdint>

namespace kesmora {

// True when fillPolygon below gives exactly QPainter's even-odd fill of the polygon: every vertex
// within the coordinate limit, every horizontal line crossing the outline at most twice between its
// ends (convex faces, but also an edge-on face folded onto itself). The axis-parallel rectangle,
// which Qt's raster engine draws by a path of its own, comes out the same there.
bool fillsExactly(const QPoint* points, int n);

// The even-odd fill of a polygon that fillsExactly accepts, in an opaque colour.
void fillPolygon(const PixelTarget& target, const QPoint* points, int n, QRgb colour);

// The same pixels as colour index `index` of a one-byte layer.
void fillPolygon(const IndexTarget& target, const QPoint* points, int n, std::uint8_t index);

} // namespace kesmora
