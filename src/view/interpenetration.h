// "Durchdringung 2" and "Durchdringung 3": the solid's far half, the whole dual as an opaque body,
// then the solid's near half, all around one centre.
#pragma once

#include "directdraw.h"
#include "facedrawing.h"
#include "geometry/solidmodel.h"
#include "occlusion.h"
#include "opencanvas.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

namespace kesmora {

enum class InterpenetrationStyle {
    Outlines, // "Durchdringung 2": the solid in red outlines only
    Tinted,   // "Durchdringung 3": pale green solid, dotted far outlines, near half ANDed over the dual
};

// What "Durchdringung 3" keeps between the redraws of one renderer (renderer.h), so that a redraw
// allocates nothing: the layer of colour indices the near half is normally drawn into, and the
// overlay canvas for the near halves that layer cannot take (with marks, say).
struct InterpenetrationLayers {
    // One byte per pixel, all 0 between redraws: the AND sets back to 0 what it combined, and
    // that box holds all that was drawn.
    std::vector<std::uint8_t> indexBytes;
    QSize indexSize;
    // The overlay is an image of the canvas, whose painter stays open. Outside overlayDirty it is
    // white, as long as its cache key is still overlayKey (nothing else wrote to it).
    OpenCanvas overlayCanvas;
    QImage overlay;
    qint64 overlayKey = 0;
    QRect overlayDirty;
};

// Draws solid and dual (facedrawing.h) onto a scene already cleared white. A face whose centroid has depth 0
// or more belongs to the far half. scenePixels are the scene's pixels for direct drawing (directdraw.h), or
// empty. leaveOutCovered lets the dual's faces that its later faces paint over be left out (occlusion.h).
// Pens and brushes come from `tools`; the near half of the tinted style goes through `layers`, and only
// what the last redraw painted on them is whitened again. The depth lists and points are `buffers`.
void drawInterpenetration(QPainter& scene, const PixelTarget& scenePixels, QSize paintBoxSize, QPoint origin,
                          const DrawnFigure& solid, const DrawnFigure& dual, InterpenetrationStyle style,
                          bool markPoints, bool leaveOutCovered, PaintTools& tools,
                          InterpenetrationLayers& layers, FrameBuffers& buffers);

} // namespace kesmora
