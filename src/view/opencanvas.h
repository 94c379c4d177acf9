// Off-screen pixels with a painter that stays open between redraws: opening a QPainter allocates
// its state, and an animation tick must not allocate.
#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>

namespace kesmora {

// The pixels are shared between the canvas and the images it hands out (each image wraps the same
// memory, which lives until the last of them is gone), so whatever the canvas paints shows at once
// in the caller's image, and a caller that drops or replaces its image never leaves the painter
// on freed memory. Qt's own sharing cannot do this: copying an image that is being painted on
// makes a deep copy. A canvas belongs to one renderer (renderer.h) and is used by one thread at a time.
class OpenCanvas {
  public:
    OpenCanvas() = default;
    OpenCanvas(const OpenCanvas&) = delete;
    OpenCanvas& operator=(const OpenCanvas&) = delete;
    ~OpenCanvas();

    // True when `image` shows this canvas's pixels, so painter() paints into it.
    bool shows(const QImage& image) const;

    // Fresh pixels of the given size (content undefined) with the painter open on them; returns an
    // image for the caller that shows them.
    QImage reset(QSize size);

    // Open on the current pixels; its state (pen, brush, clip, modes) persists between redraws.
    QPainter& painter() { return painter_; }

    // Ends the painter and gives up the canvas's share of the pixels.
    void release();

    struct Pixels; // the memory and the count of images wrapping it

  private:
    Pixels* pixels_ = nullptr;
    QImage image_;
    QPainter painter_;
};

} // namespace kesmora
