// The tool window of "Ansicht › Übergang zum Dual": a slider for the position on the way from the
// solid (0) to its dual (1), a button that plays the way there and back in about four seconds, and
// the counts of the figure shown.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace kesmora {

class MorphWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MorphWindow(QWidget* parent);

    // The position shown, 0 to 1.
    double position() const;
    void setPosition(double t);
    bool playing() const;
    // The counts of the figure shown, or why there is none.
    void showCounts(long long vertices, long long edges, long long faces);
    void showReason(const QString& reason);

  signals:
    void positionChanged(double t);
    void visibilityChanged(bool visible);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void play();
    void step();

    QSlider* slider_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QLabel* counts_ = nullptr;
    QTimer* timer_ = nullptr;
    int direction_ = 1; // while playing: towards the dual (1) or back (-1)
};

} // namespace kesmora
