// The window on a screen smaller than itself (this test program's screen is 800 x 600): it opens
// maximised to the free area with every control within reach, and where the window fits, it is
// placed as ever.
#include "fakedialogs.h"
#include "app/mainwindow.h"
#include "app/paintbox.h"
#include "stripcontrols.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

using namespace kesmora;

namespace {

TEST(WindowPlacement, MaximisedExactlyWhereTheFrameDoesNotFit) {
    const QSize window(kClientWidth, kClientHeight + 24);
    const QMargins frame(1, 30, 1, 1);
    // Screens that hold the window: centred as before, the frame not counted.
    for (const QRect& available : {QRect(0, 0, 1280, 1024), QRect(0, 0, 1920, 1050),
                                   QRect(1280, 0, 1280, 1024), QRect(0, 0, 1010, 764)}) {
        const WindowPlacement p = windowPlacement(available, window, frame);
        EXPECT_FALSE(p.maximised) << available.width() << "x" << available.height();
        EXPECT_EQ(p.topLeft, available.center() - QRect(QPoint(0, 0), window).center());
    }
    // Netbooks and a 1024 x 768 screen whose panel leaves too little height for the frame.
    for (const QRect& available :
         {QRect(0, 0, 800, 600), QRect(0, 0, 1024, 600), QRect(0, 0, 1024, 740), QRect(0, 0, 1009, 764)}) {
        EXPECT_TRUE(windowPlacement(available, window, frame).maximised)
            << available.width() << "x" << available.height();
    }
    EXPECT_FALSE(windowPlacement(QRect(0, 0, 1008, 733), window, {}).maximised);
    EXPECT_TRUE(windowPlacement(QRect(0, 0, 1008, 731), window, {}).maximised);
}

// Every control of the strip, and the strip's frames.
std::vector<QWidget*> stripControls(TMainForm& w) {
    std::vector<QWidget*> found{controls::t3(w), controls::t4(w),  controls::t5(w), controls::D1(w),
                                controls::D2(w), controls::CB1(w), controls::R1(w), controls::LB1(w)};
    for (QToolButton* b : controls::colourButtons(w))
        found.push_back(b);
    for (QRadioButton* b : controls::modeButtons(w))
        if (b->isVisibleTo(&w)) found.push_back(b);
    for (QAbstractButton* b : controls::R1Group(w)->buttons())
        found.push_back(b);
    return found;
}

// Whether the whole of `widget` lies within the visible part of `area`'s viewport.
bool wholeInView(const QScrollArea* area, const QWidget* widget) {
    const QRect r(widget->mapTo(area->viewport(), QPoint(0, 0)), widget->size());
    return area->viewport()->rect().contains(r);
}

TEST(SmallScreen, OpensMaximisedWithEveryControlWithinReach) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    if (available.width() >= kClientWidth && available.height() >= kClientHeight)
        GTEST_SKIP() << "the screen holds the window";

    auto w = std::make_unique<TMainForm>(KESMORA_DATA_DIR);
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    EXPECT_FALSE(w->fitsScreen());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QTest::qWait(20);
    EXPECT_TRUE(w->isMaximized());
    EXPECT_TRUE(available.contains(w->frameGeometry()))
        << w->frameGeometry().width() << "x" << w->frameGeometry().height();

    // The menu and the title line show whole; the drawing area gets what is left.
    const QRect client(w->mapToGlobal(QPoint(0, 0)), w->size());
    EXPECT_TRUE(client.contains(QRect(w->menuBar()->mapToGlobal(QPoint(0, 0)), w->menuBar()->size())));
    EXPECT_EQ(w->centralWidget()->width(), w->width());
    EXPECT_EQ(controls::P1(*w)->width(), w->width());
    EXPECT_GT(controls::PB1(*w)->height(), 100);
    EXPECT_EQ(controls::PB1(*w)->width(), w->width());
    EXPECT_EQ(w->sceneBitmap().size(), controls::PB1(*w)->size());
    EXPECT_EQ(w->model().solid.vertices.size(), 8);

    // The strip: below the drawing area, within the window, scrolling sideways.
    QScrollArea* strip = controls::stripScroll(*w);
    const QRect stripOnWindow(strip->mapTo(w.get(), QPoint(0, 0)), strip->size());
    EXPECT_TRUE(w->rect().contains(stripOnWindow));
    EXPECT_EQ(stripOnWindow.top(), controls::PB1(*w)->mapTo(w.get(), QPoint(0, controls::PB1(*w)->height())).y());
    EXPECT_EQ(strip->viewport()->height(), controls::P8(*w)->height());
    QScrollBar* bar = strip->horizontalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_GT(bar->maximum(), 0);

    // Each control comes whole into view when the strip is scrolled to its left edge, and then
    // takes a click there.
    auto scrollTo = [&](QWidget* c) { bar->setValue(c->mapTo(controls::P8(*w), QPoint(0, 0)).x()); };
    for (QWidget* c : stripControls(*w)) {
        scrollTo(c);
        EXPECT_TRUE(wholeInView(strip, c)) << c->objectName().toStdString();
    }
    EXPECT_FALSE(wholeInView(strip, controls::LB1(*w)) && wholeInView(strip, controls::colourButtons(*w)[0]));
    scrollTo(controls::LB1(*w));
    const auto items = controls::LB1(*w)->findItems("Oktaeder", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    controls::LB1(*w)->scrollToItem(items.first());
    QTest::mouseClick(controls::LB1(*w)->viewport(), Qt::LeftButton, {},
                      controls::LB1(*w)->visualItemRect(items.first()).center());
    QApplication::processEvents();
    EXPECT_EQ(w->model().solid.vertices.size(), 6);
    bar->setValue(0);
    QTest::mouseClick(controls::D2(*w), Qt::LeftButton);
    EXPECT_TRUE(controls::Timer1(*w)->isActive());
    QTest::mouseClick(controls::D2(*w), Qt::LeftButton);
    EXPECT_FALSE(controls::Timer1(*w)->isActive());

    // Keyboard focus moving into the strip brings the focused control into view.
    bar->setValue(0);
    controls::LB1(*w)->setFocus();
    QTest::keyClick(controls::LB1(*w), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), controls::LB1(*w));
    EXPECT_TRUE(wholeInView(strip, controls::LB1(*w)));
    EXPECT_TRUE(messages.empty()) << messages.front().toStdString();

    // Back to the normal state the window is not forced to a size the screen cannot hold.
    w->showNormal();
    w->resize(760, 520);
    QTest::qWait(30);
    EXPECT_EQ(w->size(), QSize(760, 520));
    EXPECT_EQ(controls::PB1(*w)->width(), 760);
}

} // namespace
