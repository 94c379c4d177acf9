// The controls of the window and its control strip, found by their object names as a user's script
// or an accessibility tool would find them; the window does not hand them out.
#pragma once

#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QScrollArea>
#include <QTimer>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QListWidget>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

#include <gtest/gtest.h>

#include <array>
#include <cstddef>

namespace controls {

template <class T> T* named(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << "no control named " << name;
    return found;
}

inline QListWidget* LB1(const QObject& w) {
    return named<QListWidget>(w, "LB1");
}
inline QPushButton* D1(const QObject& w) {
    return named<QPushButton>(w, "D1");
}
inline QPushButton* D2(const QObject& w) {
    return named<QPushButton>(w, "D2");
}
inline QCheckBox* CB1(const QObject& w) {
    return named<QCheckBox>(w, "CB1");
}
inline QGroupBox* R1(const QObject& w) {
    return named<QGroupBox>(w, "R1");
}
inline QButtonGroup* R1Group(const QObject& w) {
    return named<QButtonGroup>(w, "R1Group");
}
inline QSpinBox* t3(const QObject& w) {
    return named<QSpinBox>(w, "t3");
}
inline QSpinBox* t4(const QObject& w) {
    return named<QSpinBox>(w, "t4");
}
inline QSpinBox* t5(const QObject& w) {
    return named<QSpinBox>(w, "t5");
}
inline QFrame* P3(const QObject& w) {
    return named<QFrame>(w, "P3");
}
inline QFrame* P8(const QObject& w) {
    return named<QFrame>(w, "P8");
}
inline QFrame* P20(const QObject& w) {
    return named<QFrame>(w, "P20");
}

// RB1 .. RB4, RB5, Rb6, rb7: the drawing modes in the order of their numbers.
inline std::array<QRadioButton*, 7> modeButtons(const QObject& w) {
    static constexpr const char* names[7] = {"RB1", "RB2", "RB3", "RB4", "RB5", "Rb6", "rb7"};
    std::array<QRadioButton*, 7> buttons{};
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i] = named<QRadioButton>(w, names[i]);
    return buttons;
}

// S12, S25, S3 .. S7: the colours of triangles, squares, pentagons, hexagons, octagons, decagons
// and dodecagons.
inline std::array<QToolButton*, 7> colourButtons(const QObject& w) {
    static constexpr const char* names[7] = {"S12", "S25", "S3", "S4", "S5", "S6", "S7"};
    std::array<QToolButton*, 7> buttons{};
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i] = named<QToolButton>(w, names[i]);
    return buttons;
}

// Above the control strip: the title, the zoom buttons, the drawing area, the timer.
inline QLabel* P1Caption(const QObject& w) {
    return named<QLabel>(w, "P1Caption");
}
inline QFrame* P1(const QObject& w) {
    return named<QFrame>(w, "P1");
}
inline QToolButton* S8(const QObject& w) {
    return named<QToolButton>(w, "S8");
}
inline QToolButton* S1(const QObject& w) {
    return named<QToolButton>(w, "S1");
}
inline QToolButton* S9(const QObject& w) {
    return named<QToolButton>(w, "S9");
}
inline QWidget* PB1(const QObject& w) {
    return named<QWidget>(w, "PB1");
}
inline QTimer* Timer1(const QObject& w) {
    return named<QTimer>(w, "Timer1");
}
inline QScrollArea* stripScroll(const QObject& w) {
    return named<QScrollArea>(w, "stripScroll");
}
// Menu items by their names: "M1", "M18", "showHidden", "propertiesAction", "exportAction" …
inline QAction* menuItem(const QObject& w, const char* name) {
    return named<QAction>(w, name);
}

} // namespace controls
