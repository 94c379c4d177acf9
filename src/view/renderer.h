// Draws the whole scene, solid and dual in the selected mode, into the off-screen image the window
// copies onto its paint box in one step.
#pragma once

#include "facedrawing.h"
#include "geometry/solidmodel.h"
#include "interpenetration.h"
#include "occlusion.h"
#include "opencanvas.h"
#include "rendersettings.h"
#include "strokelog.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

namespace kesmora {

// The parts of the scene image a redraw changed: one box per figure (solid and dual drawn side by
// side leave the gap between them untouched), or one box where they overlap.
struct SceneParts {
    QRect parts[2];
    int count = 0;

    const QRect* begin() const { return parts; }
    const QRect* end() const { return parts + count; }
    QRect bounds() const { return count == 0 ? QRect() : count == 1 ? parts[0] : parts[0] | parts[1]; }
    void add(const QRect& r);
};

// Everything a redraw reuses from the one before: the scene canvas and what the last redraw left on
// it, the vertices' pixels, the pens and brushes, the layers of "Durchdringung 3". The window owns
// one; every picture the inspector makes gets its own. Renderers share nothing, so any number of
// them may draw one after another or at the same time in different threads; one renderer draws one
// picture at a time. Once a renderer has drawn a size and a mode of a model, redrawing them
// allocates nothing; its buffers grow when it is handed a larger model.
class SceneRenderer {
  public:
    SceneRenderer() = default;
    SceneRenderer(const SceneRenderer&) = delete;
    SceneRenderer& operator=(const SceneRenderer&) = delete;

    // Draws the scene onto a painter of a paint box of the given size: clears it white, then draws
    // solid and dual in settings.mode. Solid at (W div 4, H div 2) and dual at (3 (W div 4), H div 2)
    // side by side; both at (W div 2, H div 2) in the interpenetration modes. Leaves the painter's
    // pen, brush and composition mode changed; no antialiasing.
    void zeichnenx(QPainter& canvas, QSize paintBoxSize, const SolidModel& model,
                   const RenderSettings& settings);

    // Sizes sceneBitmap to `size` (32 bits per pixel, reallocated only when the size or format
    // differs) and draws the scene into it. An empty size leaves a null image. An image made here
    // shows the pixels of this renderer's scene canvas (opencanvas.h), whose painter stays open, so
    // redrawing it allocates nothing; an image of the caller's that already fits is drawn with a
    // painter of its own. A plain copy of an image made here shows later redraws too;
    // QImage::copy() takes a snapshot. Returns the part of the image whose pixels can differ from
    // what the previous call of this renderer left in it (the whole image when that is not known,
    // e.g. after a resize or when the caller wrote into the image): a screen that showed the
    // previous picture shows this one once that part is copied.
    QRect renderScene(QImage& sceneBitmap, QSize size, const SolidModel& model,
                      const RenderSettings& settings);
    // The same, returning the changed part box by box: a screen that showed the previous picture
    // shows this one once each box is copied.
    SceneParts renderSceneParts(QImage& sceneBitmap, QSize size, const SolidModel& model,
                                const RenderSettings& settings);

  private:
    // The boxes a figure's drawing can reach: the solid's and the dual's.
    struct FigureBoxes {
        QRect solid, dual;
    };
    // `whiten` is the part of the image to clear first (all of it when null); `keptOpen` says the
    // painter is the scene canvas's. Returns the boxes the drawing can have changed.
    // `erase`, when given, holds all the last redraw drew, to be stroked again in white instead of
    // whitening `whiten`; `log`, when given, receives what this one strokes.
    FigureBoxes drawScene(QPainter& canvas, QSize paintBoxSize, const SolidModel& model,
                          const RenderSettings& settings, const FigureBoxes* whiten, const StrokeLog* erase,
                          StrokeLog* log, bool keptOpen);

    // What the last redraw of the scene canvas left: white outside the boxes in `dirty`. The
    // image's cache key changes whenever the caller writes to it through QImage, and then nothing
    // is assumed.
    struct SceneTrace {
        qint64 cacheKey = 0;
        QSize size;
        FigureBoxes dirty;
        bool valid = false;
    };

    OpenCanvas sceneCanvas_;
    SceneTrace lastScene_;
    StrokeLog strokesBefore_, strokesNow_;
    bool erasePaid_ = true; // the last log weighed was cheaper to erase than its boxes
    unsigned framesWithoutLog_ = 0;
    FrameBuffers buffers_;
    PaintTools tools_;
    InterpenetrationLayers layers_;
};

} // namespace kesmora
