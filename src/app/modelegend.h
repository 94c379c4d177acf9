// The legend in the title bar, right of the zoom buttons: which figure is the solid and which the dual in the
// drawing mode checked, in the colours the drawing gives them. It sits beside the drawing area, not
// on it, so the picture on screen stays exactly the scene image.
#pragma once

#include "view/rendersettings.h"

#include <QString>
#include <QWidget>

namespace kesmora {

class ControlStrip;

class ModeLegend : public QWidget {
    Q_OBJECT
  public:
    // In `titleBar`, following the mode buttons of `strip`.
    ModeLegend(QWidget* titleBar, const ControlStrip& strip);

    DrawMode mode() const { return mode_; }
    void showMode(DrawMode mode);
    // What the legend says, as a screen reader reads it.
    QString text() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void place();

    DrawMode mode_ = DrawMode::Interpenetration2;
};

} // namespace kesmora
