// The control strip below the drawing area (P8): the turn steps, the colour buttons, "Darstellung"
// and "Rotation", "Punkte markieren", the drawing modes, the category group and the body list, at
// their fixed places in a 1000-pixel block that stays centred in the strip. The window reads and
// sets the controls through the functions below and hears about clicks through the signals; it
// never holds a control itself.
#pragma once

#include "catalogue/category.h"
#include "view/animation.h"
#include "view/rendersettings.h"

#include <QColor>
#include <QFrame>
#include <QString>
#include <QStringList>

#include <array>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace kesmora {

// What a colour button's colour paints: "Farbe der Dreiecke" for slot 0, and so on; its tool tip and
// the colour dialog's title.
QString colourSlotName(int slot);

class ControlStrip : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kHeight = 148;
    static constexpr int kControlsWidth = 1000; // the block of controls; a wider strip centres it

    // The colour buttons show `colours`. Created without a parent: the window's scroll area takes it.
    explicit ControlStrip(const std::array<QColor, 7>& colours);

    // Centres the block of controls (P20) in the strip's width, with the spacer P3 on its left.
    void P8Resize();

    // The body list. Filling it, choosing a row and finding a name from code is no click.
    void setBodyNames(const QStringList& names);
    void clearBodies(); // reported like a row change
    int bodyCount() const;
    QString currentBodyName() const; // null when no row is chosen
    void chooseBodyRow(int row);
    void chooseBodyNamed(const QString& name); // no row when the list has no such entry
    // Whether the chosen row looks selected: not while something else than the list's body is
    // shown (an opened file, a body made by operations); the row stays the current one.
    void showChosenRow(bool shown);

    // The category group's checked item (0 .. 2) and checking one from code, which is no click.
    int categoryItem() const;
    void checkCategoryItem(int item);

    void checkMode(DrawMode mode);
    // Offers "Durchdringung 3" where the category does; when it was the chosen mode and the
    // category has none, "Durchdringung 2" is checked instead and the function returns true.
    bool offerModesOf(Category category);

    void setAnimationCaption(bool running);
    void setColourPicture(int slot, const QColor& colour);
    bool marksPoints() const;

  signals:
    void drawClicked();                           // "Darstellung" (D1)
    void animationClicked();                      // "Rotation" / "Abbruch" (D2)
    void speedChanged(SpeedEdit edit, int value); // the turn steps t3, t4, t5
    void colourClicked(int slot);                 // S12, S25, S3 .. S7
    void marksClicked();                          // "Punkte markieren" (CB1)
    void modeClicked(DrawMode mode);              // RB1 .. rb7
    void categoryClicked();                       // the category group R1
    void bodyClicked();                           // a click in the body list LB1
    void bodyRowChanged();                        // LB1's row moved, by key, mouse or code

  private:
    QFrame* P3 = nullptr;                         // spacer left of the block
    QFrame* P20 = nullptr;                        // the block of controls
    std::array<QSpinBox*, 3> turnSteps_{};        // t3, t4, t5
    std::array<QToolButton*, 7> colourButtons_{}; // S12, S25, S3, S4, S5, S6, S7
    QPushButton* D1 = nullptr;
    QPushButton* D2 = nullptr;
    QCheckBox* CB1 = nullptr;
    std::array<QRadioButton*, 7> modeButtons_{}; // RB1 .. RB4, RB5, Rb6, rb7
    QGroupBox* R1 = nullptr;
    QButtonGroup* R1Group = nullptr;
    QListWidget* LB1 = nullptr;
};

} // namespace kesmora
