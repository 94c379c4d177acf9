// Off-screen pixels with a painter that stays open between redraws.
#include "opencanvas.h"

#include <atomic>
#include <memory>

namespace kesmora {

struct OpenCanvas::Pixels {
    std::atomic<int> images{0}; // the QImages wrapping `data`
    std::unique_ptr<uchar[]> data;
};

namespace {

// Cleanup function of every wrapping image: the last one frees the pixels. An image may be handed
// to another thread, hence the atomic count.
void dropImage(void* info) {
    auto* pixels = static_cast<OpenCanvas::Pixels*>(info);
    if (pixels->images.fetch_sub(1, std::memory_order_acq_rel) == 1) delete pixels;
}

QImage wrap(OpenCanvas::Pixels* pixels, QSize size) {
    pixels->images.fetch_add(1, std::memory_order_relaxed);
    return QImage(pixels->data.get(), size.width(), size.height(), static_cast<qsizetype>(size.width()) * 4,
                  QImage::Format_RGB32, dropImage, pixels);
}

} // namespace

OpenCanvas::~OpenCanvas() {
    release();
}

bool OpenCanvas::shows(const QImage& image) const {
    return pixels_ && image.constBits() == pixels_->data.get() && image.size() == image_.size() &&
           image.format() == QImage::Format_RGB32 && image.bytesPerLine() == image_.bytesPerLine();
}

QImage OpenCanvas::reset(QSize size) {
    release();
    pixels_ = new Pixels;
    pixels_->data = std::make_unique<uchar[]>(static_cast<std::size_t>(size.width()) *
                                              static_cast<std::size_t>(size.height()) * 4);
    image_ = wrap(pixels_, size);
    painter_.begin(&image_);
    return wrap(pixels_, size);
}

void OpenCanvas::release() {
    if (painter_.isActive()) painter_.end();
    image_ = QImage(); // the canvas's own share; the pixels stay while a caller's image shows them
    pixels_ = nullptr;
}

} // namespace kesmora
