// The drawing area widget.
#include "paintbox.h"

#include <QMouseEvent>
#include <QPainter>

namespace kesmora {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent); // the scene image covers every pixel
    setMouseTracking(false);
}

void PaintBox::showScene() {
    programShow_ = true;
    update();
}

void PaintBox::paintEvent(QPaintEvent*) {
    if ((!programShow_ || resized_) && onSystemPaint) onSystemPaint();
    programShow_ = false;
    resized_ = false;
    QPainter painter(this);
    if (scene && !scene->isNull())
        painter.drawImage(0, 0, *scene);
    else
        painter.fillRect(rect(), Qt::white);
}

void PaintBox::resizeEvent(QResizeEvent* event) {
    resized_ = true;
    QWidget::resizeEvent(event);
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), event->position().toPoint().x(), event->position().toPoint().y());
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint().x(), event->position().toPoint().y());
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event->button(), event->position().toPoint().x(), event->position().toPoint().y());
}

} // namespace kesmora
