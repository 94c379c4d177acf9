// The properties window ("Eigenschaften"): a tool window beside the main window that lists the
// figures of the solid on screen and of its dual side by side, as selectable text.
#pragma once

#include "export/properties.h"

#include "geometry/solidmodel.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <vector>

class QGridLayout;
class QLabel;
template <typename T> class QFutureWatcher;
class QPushButton;
class QScrollArea;
class QTimer;

namespace kesmora {

// Where a tool window of frame size `wanted` goes beside a main window whose frame is `mainFrame`,
// on a screen whose free area is `available`. Beside it on a side with room (the right one first);
// where neither side has room, at the screen's edge on the side with more room, and the main window
// moves away from it (`mainTopLeft` differs from the frame's) as far as makes room for both, or as
// far as the screen allows, so that the tool window covers as little of it as can be. The tool
// window keeps its width (at most the screen's). It is as tall as the main window
// unless it wants less height than that, never taller than the screen, and level with the main
// window's top where the screen allows.
struct ToolWindowPlacement {
    QRect frame;        // the tool window's frame
    QPoint mainTopLeft; // the main window frame's top left corner afterwards
};
ToolWindowPlacement toolWindowPlacement(const QRect& available, const QRect& mainFrame, const QSize& wanted);

class PropertiesWindow : public QWidget {
    Q_OBJECT
  public:
    // A tool window kept above `mainWindow`; hidden until shown.
    explicit PropertiesWindow(QWidget* mainWindow);

    // Shows the figures of the model's solid and dual under these names. The model is only noted
    // here, so it must be one that lives as long as the window (the main window's own). While the
    // window is hidden nothing is measured until it is shown; while it is shown the figures follow
    // once the picture of the body is on screen (kRefreshDelayMs), at most once per that time, so
    // that walking the body list by key is not held up by measuring and laying out text.
    // With Conway's notation of the solid and the dual where they have one.
    void showBody(const SolidModel& model, const QString& solidName, const QString& dualName,
                  const std::string& solidNotation = {}, const std::string& dualNotation = {});
    static constexpr int kRefreshDelayMs = 40;
    // Whether a body waits to be shown, and showing it now if the window is shown.
    bool refreshPending() const { return stale_; }
    void catchUp();

    // How often the figures were measured and shown.
    int refreshCount() const { return refreshCount_; }
    // The value shown in a row for the solid or the dual; rows as propertyRows gives them.
    QLabel* valueLabel(int row, bool dual) const;
    // The standard name shown for a Johnson solid of the catalogue, empty for any other body.
    QString johnsonName() const;
    int rowCount() const { return static_cast<int>(rowLabels_.size()); }
    // Every row as "label<TAB>solid<TAB>dual", one line each, as "Kopieren" puts it on the
    // clipboard; for a Johnson solid its standard name in a last line.
    QString tableText() const;

    // Puts the window beside `window` as toolWindowPlacement says, as wide as its columns need;
    // moves `window` over where that makes room for both on the screen (unless it is maximised).
    void placeBeside(QWidget& window);
    // Puts the window where the user left it last time (its frame's top left corner and its size),
    // in place of the first placing beside the main window.
    void placeAt(QPoint frameTopLeft, QSize size);
    // Beyond this width a value wraps at its blanks instead of widening its column: the window then
    // fits beside the main window on a screen 1600 pixels wide.
    static constexpr int kMaxValueWidth = 200;
    // The width the window needs to show the label column and both value columns of the body
    // shown whole (values longer than a column's limit wrap), with the scroll bar and margins.
    int neededWidth() const;
    // The area the rows scroll in.
    QScrollArea* scrollArea() const { return scroll_; }

  signals:
    // Shown or hidden, also by the window's own close button.
    void visibilityChanged(bool visible);
    // "Hilfe": the help on reading the properties is asked for.
    void helpRequested();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void refresh();
    // Puts the rows into the cells.
    void showRows(const std::vector<PropertyRow>& rows);
    void copyAll();
    // Gives each column the width its widest text needs, up to its limit.
    void fitColumns();
    // Widens a shown window that has become narrower than its columns need, where the screen allows.
    void growToColumns();

    const SolidModel* model_ = nullptr;
    QString solidName_, dualName_;
    std::string solidNotation_, dualNotation_;
    bool stale_ = false; // a body came while the window was hidden
    bool placed_ = false;
    int refreshCount_ = 0;
    std::vector<QLabel*> rowLabels_, solidValues_, dualValues_;
    QPushButton* copyButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    QLabel *johnsonLabel_ = nullptr, *johnsonValue_ = nullptr; // shown for a Johnson solid only
    QScrollArea* scroll_ = nullptr;
    QGridLayout* gridLayout_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
    // The measuring of a large body, beside the window's thread; its rows are shown when it ends,
    // unless another body has come meanwhile.
    QFutureWatcher<std::vector<PropertyRow>>* measuring_ = nullptr;
    int measuringFor_ = 0; // the refresh whose rows are being measured
};

} // namespace kesmora
