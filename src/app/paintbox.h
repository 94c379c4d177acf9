// The drawing area: shows the scene image in one step. A paint request from the system (shown,
// uncovered, resized) first asks the window to rebuild; a repaint the program asks for to show a
// new scene image only shows it.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QPainter;

namespace kesmora {

class PaintBox : public QWidget {
    Q_OBJECT
  public:
    explicit PaintBox(QWidget* parent = nullptr);

    // Called from paintEvent when the system asks for a picture; it builds and renders, and returns
    // the part of the scene image that changed.
    std::function<QRect()> onSystemPaint;
    // The scene image to show; owned by the window.
    const QImage* scene = nullptr;

    // Drawn over the scene image where a paint reaches (the parts of the dual that belong to the
    // part of the solid under the mouse); empty for none.
    std::function<void(QPainter&)> overlay;

    // Shows a freshly rendered scene without rebuilding; only `changed` is copied to the screen (the
    // rest of the widget already shows those pixels).
    void showScene(const QRect& changed);

  signals:
    void mousePressed(Qt::MouseButton button, int x, int y);
    void mouseMoved(int x, int y);
    void mouseReleased(Qt::MouseButton button, int x, int y);
    // The mouse has left the drawing area.
    void mouseLeft();
    // Whole notches of the mouse wheel: positive away from the user, negative towards.
    void wheelTurned(int notches);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    bool programShow_ = false; // the pending repaint only shows the scene
    bool resized_ = false;     // a resize always rebuilds, even when merged with a program repaint
    int wheelRest_ = 0;        // eighths of a degree turned short of a whole notch (fine wheels, touchpads)
};

} // namespace kesmora
