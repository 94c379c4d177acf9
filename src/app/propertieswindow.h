// The properties window ("Eigenschaften"): a tool window beside the main window that lists the
// figures of the solid on screen and of its dual side by side, as selectable text.
#pragma once

#include "geometry/solidmodel.h"

#include <QString>
#include <QWidget>

#include <vector>

class QLabel;
class QPushButton;
class QTimer;

namespace kesmora {

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
    void showBody(const SolidModel& model, const QString& solidName, const QString& dualName);
    static constexpr int kRefreshDelayMs = 40;
    // Whether a body waits to be shown, and showing it now if the window is shown.
    bool refreshPending() const { return stale_; }
    void catchUp();

    // How often the figures were measured and shown.
    int refreshCount() const { return refreshCount_; }
    // The value shown in a row for the solid or the dual; rows as propertyRows gives them.
    QLabel* valueLabel(int row, bool dual) const;
    int rowCount() const { return static_cast<int>(rowLabels_.size()); }
    // Every row as "label<TAB>solid<TAB>dual", one line each, as "Kopieren" puts it on the
    // clipboard.
    QString tableText() const;

    // Puts the window beside `window`, as tall as it, on the side with more room on the screen and
    // as wide as that room allows; where there is too little, it overlaps the window's edge.
    void placeBeside(const QWidget& window);

  signals:
    // Shown or hidden, also by the window's own close button.
    void visibilityChanged(bool visible);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void refresh();
    void copyAll();

    const SolidModel* model_ = nullptr;
    QString solidName_, dualName_;
    bool stale_ = false; // a body came while the window was hidden
    bool placed_ = false;
    int refreshCount_ = 0;
    std::vector<QLabel*> rowLabels_, solidValues_, dualValues_;
    QPushButton* copyButton_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
};

} // namespace kesmora
