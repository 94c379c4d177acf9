// "Durchdringung 2" and "Durchdringung 3": far half of the solid, opaque dual, near half on top.
#include "interpenetration.h"

#include "depthorder.h"
#include "facedrawing.h"
#include "rendersettings.h"

namespace kesmora {

namespace {

void drawSolidFace(QPainter& canvas, const Figure& solid, int face, QPoint origin,
                   InterpenetrationStyle style, bool markPoints, PointBuffer& points) {
    const int n = projectFace(solid, face, origin, points);
    if (n == 0) return;
    if (style == InterpenetrationStyle::Tinted)
        setBrushColour(canvas, kTintColour);
    else
        clearBrush(canvas);
    setPenColour(canvas, kSolidOutlineColour);
    canvas.drawPolygon(points.data(), n);
    if (markPoints) drawMarks(canvas, points.data(), n);
}

void drawDualFace(QPainter& canvas, const Figure& dual, int face, QPoint origin, bool markPoints,
                  PointBuffer& points) {
    const int n = projectFace(dual, face, origin, points);
    if (n == 0) return;
    setBrushColour(canvas, kDualFillColour);
    setPenColour(canvas, kDualOutlineColour);
    canvas.drawPolygon(points.data(), n);
    if (markPoints) drawMarks(canvas, points.data(), n);
}

int orderedDepths(const Figure& figure, DepthList& list) {
    const int n = buildDepthList(figure.records, figure.faceCount, list);
    orderByExchange(list, n);
    return n;
}

// A white image of the paint box's size, reusing the caller's cache when one is given.
QImage& whiteOverlay(QSize size, QImage* cache, QImage& local) {
    QImage& overlay = cache ? *cache : local;
    if (overlay.size() != size || overlay.format() != QImage::Format_RGB32)
        overlay = QImage(size, QImage::Format_RGB32);
    overlay.fill(kBackgroundColour);
    return overlay;
}

} // namespace

void drawInterpenetration(QPainter& scene, QSize paintBoxSize, QPoint origin, const SolidModel& model,
                          InterpenetrationStyle style, bool markPoints, QImage* overlayCache) {
    const Figure solid = solidFigure(model);
    const Figure dual = dualFigure(model);
    const bool tinted = style == InterpenetrationStyle::Tinted;
    DepthList list;
    PointBuffer points;

    int n = orderedDepths(solid, list);
    if (tinted) scene.setPen(cosmeticPen(scene.pen().color().rgb(), Qt::DotLine));
    for (int i = 0; i < n; ++i) {
        // Depth exactly 0 counts as far: drawn before the dual and never again after it.
        if (list[i].depth >= 0) drawSolidFace(scene, solid, list[i].face, origin, style, markPoints, points);
    }
    scene.setPen(cosmeticPen(scene.pen().color().rgb()));

    // The whole dual, far to near, with no depth test against the solid.
    n = orderedDepths(dual, list);
    for (int i = 0; i < n; ++i)
        drawDualFace(scene, dual, list[i].face, origin, markPoints, points);

    n = orderedDepths(solid, list);
    if (!tinted) {
        for (int i = 0; i < n; ++i) {
            if (list[i].depth < 0)
                drawSolidFace(scene, solid, list[i].face, origin, style, markPoints, points);
        }
        return;
    }

    // The near half goes onto a white layer that is ANDed into the scene: white leaves a pixel as it
    // is, so the dual shows through the near faces, tinted pale green and edged in red.
    if (paintBoxSize.isEmpty()) return;
    QImage local;
    QImage& overlay = whiteOverlay(paintBoxSize, overlayCache, local);
    {
        QPainter layer(&overlay);
        layer.setRenderHint(QPainter::Antialiasing, false);
        layer.setPen(cosmeticPen(kPenColour));
        for (int i = 0; i < n; ++i) {
            if (list[i].depth < 0)
                drawSolidFace(layer, solid, list[i].face, origin, style, markPoints, points);
        }
    }
    scene.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    scene.drawImage(0, 0, overlay);
    scene.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace kesmora
