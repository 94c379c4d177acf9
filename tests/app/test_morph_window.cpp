// "Ansicht › Übergang zum Dual": the tool window's figure drawn in place of the solid, its counts,
// the solid back when it closes, and the item refused for a body without the way to its dual.
#include "fakedialogs.h"
#include "openwindow.h"
#include "tempdir.h"

#include "app/mainwindow.h"
#include "app/morphwindow.h"
#include "stripcontrols.h"
#include "view/correspondence.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
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

TEST(CorrespondenceWindow, HoveringAFaceHighlightsItAndItsDualVertexInBothFigures) {
    auto w = openWindow();
    controls::modeButtons(*w)[2]->click(); // "farbige Flächen": solid and dual side by side
    QApplication::processEvents();
    QWidget* area = controls::PB1(*w);
    const QImage before = area->grab().toImage();
    auto* item = w->findChild<QAction*>(QStringLiteral("correspondenceAction"));
    ASSERT_NE(item, nullptr);
    item->trigger();

    const SolidModel& m = w->model();
    int front = 0;
    for (int f = 1; f < m.solid.faces.size(); ++f)
        if (m.solid.faceRecords[f].centroid.z < m.solid.faceRecords[front].centroid.z) front = f;
    const FigureOrigins origins = figureOrigins(area->size(), DrawMode::ColouredFaces);
    const Point3D c = m.solid.faceRecords[front].centroid;
    const QPoint onFace(origins.solid.x() + int(std::lround(c.x)), origins.solid.y() + int(std::lround(c.y)));
    QMouseEvent move(QEvent::MouseMove, QPointF(onFace), area->mapToGlobal(QPointF(onFace)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(area, &move);
    QApplication::processEvents();
    const QImage after = area->grab().toImage();

    // The face is tinted where it was plain, and the dual's vertex that is its pole carries a dot.
    EXPECT_NE(after.pixel(onFace), before.pixel(onFace));
    const Point3D pole = m.dual.vertices[front];
    const QPoint dot(origins.dual.x() + int(std::lround(pole.x)), origins.dual.y() + int(std::lround(pole.y)));
    const QColor atDot = after.pixelColor(dot);
    EXPECT_GT(atDot.red(), 200);
    EXPECT_LT(atDot.blue(), 80);
    EXPECT_GT(atDot.green(), 60); // orange, not the dual's yellow or the marks' colours
    EXPECT_LT(atDot.green(), 180);
    // The saved picture is the scene without the highlight.
    EXPECT_EQ(w->sceneBitmap().pixel(onFace), before.pixel(onFace));

    // Switched off, the picture is as before.
    item->trigger();
    QApplication::processEvents();
    EXPECT_EQ(area->grab().toImage(), before);
}

TEST(FoldWindow, TheNetFoldsUpInPlaceOfTheSolidAndABodyWithoutANetIsRefused) {
    auto w = openWindow();
    QStringList errors;
    fakeDialogs(*w).onError = [&](const QString& text) { errors << text; };
    auto* fold = w->findChild<QAction*>(QStringLiteral("foldAction"));
    ASSERT_NE(fold, nullptr);
    EXPECT_EQ(fold->shortcut(), QKeySequence(Qt::Key_F6));
    const QImage solid = w->sceneBitmap().copy();

    fold->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(w->foldWindow()->isVisible());
    EXPECT_EQ(w->foldWindow()->findChild<QLabel*>(QStringLiteral("foldCounts"))->text(),
              QString::fromUtf8("Das Netz ist ein Teil"));
    const QImage flat = w->sceneBitmap().copy();
    EXPECT_NE(flat, solid);
    w->foldWindow()->setPosition(0.5);
    QApplication::processEvents();
    EXPECT_NE(w->sceneBitmap(), flat);

    // One way at a time: the morph's window takes the place of the folding net's.
    morphItem(*w)->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(w->morphWindow()->isVisible());
    EXPECT_FALSE(w->foldWindow()->isVisible());
    EXPECT_FALSE(fold->isChecked());
    morphItem(*w)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(w->sceneBitmap(), solid);

    // "Netz falten" in the net dialog: the dual's net at 40 mm folds up in the dual's place.
    fakeDialogs(*w).netChooser = [](bool) {
        TMainForm::NetChoice choice;
        choice.figure = 1;
        choice.edgeMillimetres = 40;
        choice.fold = true;
        return std::optional<TMainForm::NetChoice>(choice);
    };
    w->findChild<QAction*>(QStringLiteral("saveNetAction"))->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(w->foldWindow()->isVisible());
    EXPECT_TRUE(fold->isChecked());
    w->foldWindow()->setPosition(1);
    QApplication::processEvents();
    const QImage dualFolded = w->sceneBitmap().copy();
    w->foldWindow()->setPosition(0);
    QApplication::processEvents();
    EXPECT_NE(w->sceneBitmap(), dualFolded);
    fold->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(w->foldWindow()->isVisible());
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();

    // A cube with a corner pushed in has warped faces: no net to fold.
    TempDir dir("fold-window");
    const auto path = dir.path() / "eingedrueckt.off";
    std::ofstream(path) << "OFF\n8 6 0\n0.2 0.2 0.2\n1 0 0\n1 1 0\n0 1 0\n0 0 1\n1 0 1\n1 1 1\n0 1 1\n"
                           "4 0 3 2 1\n4 4 5 6 7\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n";
    ASSERT_TRUE(w->openFile(QString::fromStdString(path.string())));
    fold->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(w->foldWindow()->isVisible());
    EXPECT_FALSE(fold->isChecked());
    ASSERT_EQ(errors.size(), 1);
}
