// The tool window of a way shown in the drawing area, "Ansicht › Übergang zum Dual" and "Ansicht ›
// Netz falten": a slider for the position on the way (from the solid, 0, to its dual, 1; from the
// flat net to the folded solid), a button that plays the way there and back in about four seconds,
// and the counts of the figure shown.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace kesmora {

// What a window of a way says: its title, the ends of the slider, the tool tips, and the prefix of
// its controls' object names.
struct WayTexts {
    QString name;  // "morph": morphWindow, morphSlider, morphPlay, morphCounts
    QString title;
    QString start, end;
    QString sliderName, sliderTip, playTip, countsTip;
};

// The texts of the way from the solid to its dual.
WayTexts morphTexts();
// The texts of the net folding up into its solid ("Ansicht › Netz falten").
WayTexts foldTexts();

class MorphWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MorphWindow(QWidget* parent, const WayTexts& texts = morphTexts());

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
