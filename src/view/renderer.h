// Draws the whole scene, solid and dual in the selected mode, into the off-screen image the window
// copies onto its paint box in one step.
#pragma once

#include "geometry/solidmodel.h"
#include "rendersettings.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

namespace kesmora {

// Draws the scene onto a painter of a paint box of the given size: clears it white, then draws
// solid and dual in settings.mode. Solid at (W div 4, H div 2) and dual at (3 (W div 4), H div 2)
// side by side; both at (W div 2, H div 2) in the interpenetration modes. overlayCache, if given,
// keeps the overlay image of "Durchdringung 3" between redraws instead of allocating it each time.
// Leaves the painter's pen, brush and composition mode changed; no antialiasing.
void zeichnenx(QPainter& canvas, QSize paintBoxSize, const SolidModel& model, const RenderSettings& settings,
               QImage* overlayCache = nullptr);

// Sizes sceneBitmap to `size` (32 bits per pixel, reallocated only when the size or format
// differs) and draws the scene into it. An empty size leaves a null image. An image made here
// shows the pixels of the scene canvas (opencanvas.h), whose painter stays open, so redrawing it
// allocates nothing; an image of the caller's that already fits is drawn with a painter of its own.
// A plain copy of an image made here shows later redraws too; QImage::copy() takes a snapshot.
// Returns the part of the image whose pixels can differ from what the previous call left in it (the
// whole image when that is not known, e.g. after a resize or when the caller wrote into the image):
// a screen that showed the previous picture shows this one once that part is copied.
// GUI thread only: the scene canvas and the tables of pens and brushes are shared by all calls.
QRect renderScene(QImage& sceneBitmap, QSize size, const SolidModel& model, const RenderSettings& settings,
                 QImage* overlayCache = nullptr);

} // namespace kesmora
