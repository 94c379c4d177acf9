// Faces and edges written straight into the scanlines of a 32-bit image, pixel for pixel as Qt's
// raster engine draws them without antialiasing: the even-odd polygon fill (scanlinefill.h), the
// 1-pixel cosmetic outline of a closed polygon, solid or dotted, and the square-capped cosmetic line
// (cosmeticstroker.h), and the one-byte colour-index layer (indexlayer.h). A frame of the heavy
// bodies spends most of its time in QPainter's setup around these few pixels, and the dotted outline
// allocates its dash pattern on every call. Whatever is not covered here exactly (transformed or
// antialiased painters, other pens and brushes, polygons the fill cannot take, coordinates far off
// the image) goes to QPainter as before; tests/view/test_raster_exact.cpp compares both.
#pragma once

#include "cosmeticstroker.h"
#include "indexlayer.h"
#include "pixeltarget.h"
#include "scanlinefill.h"
#include "strokelog.h"

#include <QLine>
#include <QPainter>
#include <QPoint>

namespace kesmora {

// The pixels of the painter's device if it is an RGB32 QImage of at most 16383 x 16383 pixels with
// a device pixel ratio of 1, painted without transformation, antialiasing or opacity, in SourceOver
// mode, and clipped to nothing smaller than the image; otherwise an empty target. `clipIsImage`
// says that a clip the painter has is exactly the image rectangle (clipToImage in facedrawing.h
// knows).
PixelTarget directTarget(QPainter& painter, bool clipIsImage);

// painter.drawPolygon(points, n) with the painter's pen and brush, written directly whenever the
// target is valid and the pen, the brush and the polygon are covered by the fill and the stroker.
// When only the outline is, Qt fills (without a pen) and the outline is still written here.
void drawPolygonExact(QPainter& painter, const PixelTarget& target, const QPoint* points, int n);

// painter.drawLines(lines, n) in the same way.
void drawLinesExact(QPainter& painter, const PixelTarget& target, const QLine* lines, int n);

// Strokes everything a complete log holds once more, in the background colour: the pixels those
// strokes wrote, and only those, take that colour.
void eraseStrokes(const PixelTarget& target, const StrokeLog& log, QRgb background);

} // namespace kesmora
