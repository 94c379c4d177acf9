// "Durchdringung 2" and "Durchdringung 3": the solid's far half, the whole dual as an opaque body,
// then the solid's near half, all around one centre.
#pragma once

#include "directdraw.h"
#include "facedrawing.h"
#include "geometry/solidmodel.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QSize>

namespace kesmora {

enum class InterpenetrationStyle {
    Outlines, // "Durchdringung 2": the solid in red outlines only
    Tinted,   // "Durchdringung 3": pale green solid, dotted far outlines, near half ANDed over the dual
};

// Draws solid and dual (facedrawing.h) onto a scene already cleared white. A face whose centroid has depth 0
// or more belongs to the far half. scenePixels are the scene's pixels for direct drawing (directdraw.h), or
// empty. leaveOutCovered lets the dual's faces that its later faces paint over be left out (occlusion.h).
// overlayCache, if given, keeps the overlay of the tinted style between redraws: it becomes an image
// of the overlay canvas (opencanvas.h), and only what the last redraw painted on it is whitened again.
void drawInterpenetration(QPainter& scene, const PixelTarget& scenePixels, QSize paintBoxSize, QPoint origin,
                          const Figure& solid, const Figure& dual, InterpenetrationStyle style,
                          bool markPoints, bool leaveOutCovered, QImage* overlayCache = nullptr);

} // namespace kesmora
