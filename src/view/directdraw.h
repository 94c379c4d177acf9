// Faces and edges written straight into the scanlines of a 32-bit image, pixel for pixel as Qt's
// raster engine draws them without antialiasing: the even-odd polygon fill, the 1-pixel cosmetic
// outline of a closed polygon (solid or dotted) and the square-capped cosmetic line. A frame of the
// heavy bodies spends most of its time in QPainter's setup around these few pixels, and the dotted
// outline allocates its dash pattern on every call. Whatever is not covered here exactly (transformed
// or antialiased painters, other pens and brushes, polygons the fill below cannot take, coordinates
// far off the image) goes to QPainter as before; tests/test_raster_exact.cpp compares both.
#pragma once

#include <QLine>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QRgb>

#include <cstdint>

namespace kesmora {

// The pixels a painter paints on, when they may be written directly.
struct PixelTarget {
    std::uint32_t* bits = nullptr;
    qsizetype stride = 0; // pixels from one scanline to the next
    int width = 0;
    int height = 0;

    explicit operator bool() const { return bits != nullptr; }
};

// Vertices and line ends farther than this from the image are left to Qt, which clips such
// outlines before it scan-converts them; nearer ones never reach the fixed-point limits below.
inline constexpr int kDirectCoordinateLimit = 16383;

// The pixels of the painter's device if it is an RGB32 QImage of at most 16383 x 16383 pixels with
// a device pixel ratio of 1, painted without transformation, antialiasing or opacity, in SourceOver
// mode, and clipped to nothing smaller than the image; otherwise an empty target. `clipIsImage`
// says that a clip the painter has is exactly the image rectangle (clipToImage in facedrawing.h
// knows).
PixelTarget directTarget(QPainter& painter, bool clipIsImage);

// True when fillPolygon below gives exactly QPainter's even-odd fill of the polygon: every vertex
// within the coordinate limit, every horizontal line crossing the outline at most twice between its
// ends (convex faces, but also an edge-on face folded onto itself). The axis-parallel rectangle,
// which Qt's raster engine draws by a path of its own, comes out the same there.
bool fillsExactly(const QPoint* points, int n);

// The even-odd fill of a polygon that fillsExactly accepts, in an opaque colour.
void fillPolygon(const PixelTarget& target, const QPoint* points, int n, QRgb colour);

// True when strokePolygon below gives exactly the outline QPainter::drawPolygon strokes: every
// vertex within the coordinate limit.
bool strokesExactly(const QPoint* points, int n);

// The closed outline QPainter::drawPolygon strokes with a 1-pixel cosmetic pen in an opaque colour,
// solid or Qt::DotLine (dot 1, gap 2, the pattern running on across the corners).
void strokePolygon(const PixelTarget& target, const QPoint* points, int n, QRgb colour, bool dotted);

// The lines QPainter::drawLines strokes with a solid 1-pixel cosmetic pen with square caps.
void strokeLines(const PixelTarget& target, const QLine* lines, int n, QRgb colour);

// A layer of one byte per pixel naming a colour, 0 for none: the near half of "Durchdringung 3"
// is drawn into one, a quarter of the memory of a 32-bit layer, before it is ANDed into the scene.
struct IndexTarget {
    std::uint8_t* bits = nullptr;
    qsizetype stride = 0;
    int width = 0;
    int height = 0;
};

// fillPolygon and strokePolygon writing a colour index: the same pixels.
void fillPolygon(const IndexTarget& target, const QPoint* points, int n, std::uint8_t index);
void strokePolygon(const IndexTarget& target, const QPoint* points, int n, std::uint8_t index, bool dotted);

// Within `box`, every scene pixel whose layer byte is not 0 ANDed with colours[byte], and the
// layer set back to 0 there. colours[0] is not read; colourCount is at most 255.
void andLayer(const PixelTarget& scene, const IndexTarget& layer, QRect box, const std::uint32_t* colours,
              int colourCount);

// Spans are stored with AVX2 where the processor has it; the tests switch that off to check the
// plain stores as well. The switch holds for the whole process.
void allowWideStores(bool allowed);

// painter.drawPolygon(points, n) with the painter's pen and brush, written directly whenever the
// target is valid and the pen, the brush and the polygon are covered above. When only the outline
// is, Qt fills (without a pen) and the outline is still written here.
void drawPolygonExact(QPainter& painter, const PixelTarget& target, const QPoint* points, int n);

// painter.drawLines(lines, n) in the same way.
void drawLinesExact(QPainter& painter, const PixelTarget& target, const QLine* lines, int n);

} // namespace kesmora
