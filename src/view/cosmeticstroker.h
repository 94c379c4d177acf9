// The 1-pixel cosmetic pen of Qt's raster engine without antialiasing, written straight into
// scanlines: the closed outline of a polygon (solid or dotted) and the square-capped line.
#pragma once

#include "pixeltarget.h"

#include <QLine>
#include <QPoint>
#include <QRgb>

#include <cstdint>

namespace kesmora {

// True when strokePolygon below gives exactly the outline QPainter::drawPolygon strokes: every
// vertex within the coordinate limit.
bool strokesExactly(const QPoint* points, int n);

// The closed outline QPainter::drawPolygon strokes with a 1-pixel cosmetic pen in an opaque colour,
// solid or Qt::DotLine (dot 1, gap 2, the pattern running on across the corners).
void strokePolygon(const PixelTarget& target, const QPoint* points, int n, QRgb colour, bool dotted);

// The same pixels as colour index `index` of a one-byte layer.
void strokePolygon(const IndexTarget& target, const QPoint* points, int n, std::uint8_t index, bool dotted);

// The lines QPainter::drawLines strokes with a solid 1-pixel cosmetic pen with square caps.
void strokeLines(const PixelTarget& target, const QLine* lines, int n, QRgb colour);

} // namespace kesmora
