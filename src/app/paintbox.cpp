// The drawing area widget.
#include "paintbox.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QTimer>
#include <QWheelEvent>
#include <QPainter>

namespace kesmora {

PaintBox::PaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent); // the scene image covers every pixel
    setMouseTracking(false);
}

void PaintBox::showScene(const QRect& changed) {
    const QRect part = changed & rect();
    if (part.isEmpty()) return; // nothing to show, and no paint event would come to clear the flag
    programShow_ = true;
    update(part);
}

void PaintBox::paintEvent(QPaintEvent* event) {
    if ((!programShow_ || resized_) && onSystemPaint) {
        const QRect changed = onSystemPaint() & rect();
        // The rebuilt picture may differ outside the region being painted; that part follows.
        if (!(QRegion(changed) - event->region()).isEmpty())
            QTimer::singleShot(0, this, [this, changed] { showScene(changed); });
    }
    programShow_ = false;
    resized_ = false;
    QPainter painter(this);
    // Only the region asked for reaches the screen: a tick copies just the part of the picture that
    // moved.
    for (const QRect& part : event->region()) {
        if (scene && !scene->isNull())
            painter.drawImage(part.topLeft(), *scene, part);
        else
            painter.fillRect(part, Qt::white);
    }
    if (overlay) {
        painter.setClipRegion(event->region());
        overlay(painter);
    }
}

void PaintBox::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit mouseLeft();
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

void PaintBox::wheelEvent(QWheelEvent* event) {
    // A notch is 120 eighths of a degree; finer wheels send parts of one, which add up.
    constexpr int kNotch = 120;
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / kNotch;
    wheelRest_ -= notches * kNotch;
    event->accept();
    if (notches != 0) emit wheelTurned(notches);
}

} // namespace kesmora
