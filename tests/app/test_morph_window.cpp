// "Ansicht › Übergang zum Dual": the tool window's figure drawn in place of the solid, its counts,
// the solid back when it closes, and the item refused for a body without the way to its dual.
#include "fakedialogs.h"
#include "openwindow.h"
#include "tempdir.h"

#include "app/mainwindow.h"
#include "app/morphwindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>

using namespace kesmora;
using kesmora::test::openWindow;
using kesmora::test::TempDir;

namespace {

QAction* morphItem(TMainForm& w) {
    return w.findChild<QAction*>(QStringLiteral("morphAction"));
}

QString counts(const TMainForm& w) {
    return w.morphWindow()->findChild<QLabel*>(QStringLiteral("morphCounts"))->text();
}

} // namespace

TEST(MorphWindow, TheFigureOnTheWayIsDrawnInPlaceOfTheSolidUntilTheWindowCloses) {
    auto w = openWindow();
    ASSERT_NE(morphItem(*w), nullptr);
    EXPECT_EQ(morphItem(*w)->shortcut(), QKeySequence(Qt::Key_F4));
    const QImage solid = w->sceneBitmap().copy();

    morphItem(*w)->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(w->morphWindow()->isVisible());
    // At 0 the figure is the cube itself, drawn as before.
    EXPECT_EQ(counts(*w), QString::fromUtf8("8 Ecken, 12 Kanten, 6 Flächen"));
    EXPECT_EQ(w->sceneBitmap(), solid);

    w->morphWindow()->setPosition(0.5);
    QApplication::processEvents();
    EXPECT_EQ(counts(*w), QString::fromUtf8("12 Ecken, 24 Kanten, 14 Flächen")); // the cuboctahedron
    EXPECT_NE(w->sceneBitmap(), solid);
    w->morphWindow()->setPosition(0.25);
    QApplication::processEvents();
    EXPECT_EQ(counts(*w), QString::fromUtf8("24 Ecken, 36 Kanten, 14 Flächen"));

    // Playing runs there and back and stops at the solid.
    w->morphWindow()->findChild<QPushButton*>(QStringLiteral("morphPlay"))->click();
    EXPECT_TRUE(w->morphWindow()->playing());
    QTRY_VERIFY_WITH_TIMEOUT(!w->morphWindow()->playing(), 10000);
    EXPECT_EQ(w->morphWindow()->position(), 0.0);

    w->morphWindow()->setPosition(0.75);
    QApplication::processEvents();
    morphItem(*w)->trigger(); // closed: the solid again
    QApplication::processEvents();
    EXPECT_FALSE(w->morphWindow()->isVisible());
    EXPECT_FALSE(morphItem(*w)->isChecked());
    EXPECT_EQ(w->sceneBitmap(), solid);
}

TEST(MorphWindow, ABodyWithoutTheWayToItsDualIsRefusedWithTheReason) {
    auto w = openWindow();
    QStringList errors;
    fakeDialogs(*w).onError = [&](const QString& text) { errors << text; };
    // A cube with one corner pushed in: not convex.
    TempDir dir("morph-window");
    const auto path = dir.path() / "eingedrueckt.off";
    std::ofstream(path) << "OFF\n8 6 0\n0.2 0.2 0.2\n1 0 0\n1 1 0\n0 1 0\n0 0 1\n1 0 1\n1 1 1\n0 1 1\n"
                           "4 0 3 2 1\n4 4 5 6 7\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n";
    ASSERT_TRUE(w->openFile(QString::fromStdString(path.string())));
    morphItem(*w)->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(w->morphWindow()->isVisible());
    EXPECT_FALSE(morphItem(*w)->isEnabled());
    EXPECT_TRUE(morphItem(*w)->toolTip().startsWith(QString::fromUtf8("Nicht für diesen Körper"))) 
        << morphItem(*w)->toolTip().toStdString();
    ASSERT_EQ(errors.size(), 1);
}
