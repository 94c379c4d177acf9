// Faces and edges written straight into 32-bit scanlines, pixel for pixel as Qt's raster engine,
// when the painter's state allows it. The fill, the stroker and the index layer are in
// scanlinefill.cpp, cosmeticstroker.cpp and indexlayer.cpp.
#include "directdraw.h"

#include "pixelwrites_p.h"
#include "strokelog.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPaintDevice>
#include <QPen>

namespace kesmora {

namespace {

using directdraw::withinLimit;

enum class Use { Nothing, Direct, Painter };

bool opaqueRgb(const QColor& c) {
    return c.spec() == QColor::Rgb && c.alpha() == 255;
}

Use brushUse(const QBrush& brush, QRgb& colour) {
    if (brush.style() == Qt::NoBrush) return Use::Nothing;
    if (brush.style() != Qt::SolidPattern || !opaqueRgb(brush.color())) return Use::Painter;
    colour = brush.color().rgb();
    return Use::Direct;
}

// A 1-pixel cosmetic pen in one opaque colour, solid or (when allowed) dotted from its start.
Use penUse(const QPen& pen, bool dotsAllowed, QRgb& colour, bool& dotted) {
    if (pen.style() == Qt::NoPen) return Use::Nothing;
    dotted = pen.style() == Qt::DotLine;
    if (!(pen.style() == Qt::SolidLine || (dotted && dotsAllowed))) return Use::Painter;
    if (!pen.isCosmetic() || !(pen.widthF() == 1.0 || pen.widthF() == 0.0)) return Use::Painter;
    if (dotted && pen.dashOffset() != 0.0) return Use::Painter;
    if (pen.brush().style() != Qt::SolidPattern || !opaqueRgb(pen.color())) return Use::Painter;
    colour = pen.color().rgb();
    return Use::Direct;
}

} // namespace

void allowWideStores(bool allowed) {
#if KESMORA_AVX2_SPANS
    directdraw::wideStoresAllowed.store(allowed, std::memory_order_relaxed);
#else
    (void)allowed;
#endif
}

PixelTarget directTarget(QPainter& painter, bool clipIsImage) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image || !painter.isActive()) return {};
    auto* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 || image->devicePixelRatio() != 1.0) return {};
    if (image->width() > kDirectCoordinateLimit || image->height() > kDirectCoordinateLimit) return {};
    if (painter.testRenderHint(QPainter::Antialiasing) || painter.opacity() != 1.0) return {};
    if (painter.compositionMode() != QPainter::CompositionMode_SourceOver) return {};
    if (!painter.combinedTransform().isIdentity()) return {};
    if (painter.hasClipping() && !clipIsImage) return {};
    // bits() would detach a shared image from the painter's pixels; the painter holds the device.
    PixelTarget target;
    target.bits = reinterpret_cast<std::uint32_t*>(image->bits());
    target.stride = image->bytesPerLine() / 4;
    target.width = image->width();
    target.height = image->height();
    return target;
}

void drawPolygonExact(QPainter& painter, const PixelTarget& target, const QPoint* points, int n) {
    if (n < 2) return; // QPainter draws nothing either
    if (target) {
        QRgb fillColour = 0, penColour = 0;
        bool dotted = false;
        const Use fill = brushUse(painter.brush(), fillColour);
        const Use pen = penUse(painter.pen(), true, penColour, dotted);
        const bool fillOk = fill == Use::Nothing || (fill == Use::Direct && fillsExactly(points, n));
        const bool penOk = pen == Use::Nothing || (pen == Use::Direct && strokesExactly(points, n));
        if (fillOk && penOk) {
            if (fill == Use::Direct) {
                fillPolygon(target, points, n, fillColour);
                if (target.log) target.log->complete = false;
            }
            if (pen == Use::Direct) {
                strokePolygon(target, points, n, penColour, dotted);
                if (target.log) target.log->addOutline(points, n, dotted);
            }
            return;
        }
        if (pen == Use::Direct && penOk) {
            // Qt fills this one (folded, say); its fill does not depend on the pen, and the outline
            // is still written here: for a dotted pen Qt would set up its dash pattern, which
            // allocates, in the middle of an animation frame.
            static const QPen noPen(Qt::NoPen);
            const QPen kept = painter.pen();
            painter.setPen(noPen);
            painter.drawPolygon(points, n);
            painter.setPen(kept);
            strokePolygon(target, points, n, penColour, dotted);
            if (target.log) target.log->complete = false;
            return;
        }
    }
    painter.drawPolygon(points, n);
    if (target.log) target.log->complete = false;
}

void drawLinesExact(QPainter& painter, const PixelTarget& target, const QLine* lines, int n) {
    if (target) {
        QRgb colour = 0;
        bool dotted = false;
        const Use pen = penUse(painter.pen(), false, colour, dotted);
        bool inRange = painter.pen().capStyle() != Qt::FlatCap;
        for (int i = 0; i < n && inRange; ++i)
            inRange = withinLimit(lines[i].p1()) && withinLimit(lines[i].p2());
        if (pen == Use::Nothing) return;
        if (pen == Use::Direct && inRange) {
            strokeLines(target, lines, n, colour);
            if (target.log) target.log->addLines(lines, n);
            return;
        }
    }
    painter.drawLines(lines, n);
    if (target.log) target.log->complete = false;
}

void eraseStrokes(const PixelTarget& target, const StrokeLog& log, QRgb background) {
    for (const StrokeLog::Stroke& s : log.strokes) {
        if (s.kind == StrokeLog::Kind::Lines)
            strokeLines(target, log.lines.data() + s.first, s.count, background);
        else
            strokePolygon(target, log.points.data() + s.first, s.count, background,
                          s.kind == StrokeLog::Kind::DottedOutline);
    }
}

} // namespace kesmora
