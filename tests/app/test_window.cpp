// The main window, headless: start state, layout, shortcuts, body selection and the build wiring.
#include "fakedialogs.h"
#include "app/mainwindow.h"
#include "openwindow.h"
#include "app/paintbox.h"
#include "bodies/build.h"
#include "geometry/point3d.h"
#include "stripcontrols.h"
#include "tempdir.h"
#include "view/rotation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QScreen>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>

using namespace kesmora;

using kesmora::test::openWindow;

namespace {

QString utf8(const char* s) {
    return QString::fromUtf8(s);
}

int rowOf(const TMainForm& w, const char* name) {
    const auto items = controls::LB1(w)->findItems(utf8(name), Qt::MatchExactly);
    return items.isEmpty() ? -1 : controls::LB1(w)->row(items.first());
}

void clickBody(TMainForm& w, const char* name) {
    const int row = rowOf(w, name);
    ASSERT_GE(row, 0) << name;
    QListWidgetItem* item = controls::LB1(w)->item(row);
    controls::LB1(w)->scrollToItem(item);
    const QRect r = controls::LB1(w)->visualItemRect(item);
    QTest::mouseClick(controls::LB1(w)->viewport(), Qt::LeftButton, {}, r.center());
    QApplication::processEvents();
}

QAbstractButton* categoryButton(TMainForm& w, int item) {
    return controls::R1Group(w)->button(item);
}

Point3D firstVertex(const TMainForm& w) {
    return w.model().solid.vertices[0];
}

} // namespace

TEST(Window, StartState) {
    auto w = openWindow();
    EXPECT_EQ(w->windowTitle(), "Kesmora");
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Hexaeder, Würfel und dualer Körper"));
    EXPECT_TRUE(controls::modeButtons(*w)[5]->isChecked());
    EXPECT_EQ(controls::modeButtons(*w)[5]->text(), "Durchdringung 2");
    EXPECT_EQ(controls::modeButtons(*w)[4]->text(), "Durchdringung "); // with its trailing blank
    EXPECT_EQ(controls::t3(*w)->value(), 0);
    EXPECT_EQ(controls::t5(*w)->value(), 2);
    EXPECT_EQ(controls::D2(*w)->text(), "Rotation");
    EXPECT_FALSE(controls::Timer1(*w)->isActive());
    EXPECT_EQ(controls::R1Group(*w)->buttons().size(), 3);
    EXPECT_EQ(controls::R1(*w)->findChildren<QRadioButton*>().size(), 3); // "Krummlinige Körper" is gone
    EXPECT_EQ(controls::LB1(*w)->count(), 46);
    EXPECT_EQ(controls::LB1(*w)->currentRow(), 17);
    EXPECT_EQ(w->selection().bodyIndex, 1);
    EXPECT_EQ(w->selection().bodyParams, (std::array<double, 4>{1, -2.5, 1.5, -2}));
    EXPECT_TRUE(w->readyFlag());
    EXPECT_FALSE(controls::CB1(*w)->isChecked());
    // The first paint built the cube and its octahedron.
    EXPECT_GE(w->buildCount(), 1);
    EXPECT_EQ(w->model().solid.vertices.size(), 8);
    EXPECT_EQ(w->model().dual.faces.size(), 8);
    EXPECT_EQ(w->sceneBitmap().size(), controls::PB1(*w)->size());
}

TEST(Window, LayoutOfTheClientArea) {
    auto w = openWindow();
    EXPECT_EQ(w->centralWidget()->size(), QSize(kClientWidth, kClientHeight));
    EXPECT_EQ(controls::P1(*w)->geometry(), QRect(0, 0, 1008, 27));
    EXPECT_EQ(controls::PB1(*w)->size(), QSize(1008, 534));
    EXPECT_EQ(controls::P8(*w)->height(), 148);
    EXPECT_EQ(controls::P3(*w)->width(), 4);
    EXPECT_EQ(controls::D1(*w)->geometry(), QRect(224, 19, 110, 25));
    EXPECT_EQ(controls::LB1(*w)->geometry(), QRect(728, 16, 241, 116));
    EXPECT_EQ(controls::S8(*w)->geometry(), QRect(11, 2, 23, 24));
    for (QToolButton* b : controls::colourButtons(*w))
        EXPECT_FALSE(b->accessibleName().isEmpty());
    EXPECT_EQ(controls::colourButtons(*w)[0]->accessibleName(), "Farbe der Dreiecke");
    EXPECT_EQ(controls::S8(*w)->toolTip(), utf8("Vergrößern"));
    // Maximised to a client width of 1920 the controls stay centred; restored, the spacer is 4 again.
    w->centralWidget()->resize(1920, 1000);
    EXPECT_EQ(controls::P3(*w)->width(), 460);
    EXPECT_EQ(controls::PB1(*w)->size(), QSize(1920, 1000 - 27 - 148));
    w->centralWidget()->resize(1008, 709);
    EXPECT_EQ(controls::P3(*w)->width(), 4);
}

// Tab walks the controls in the order they stand in the strip, left to right and top to bottom.
TEST(Window, TabOrderOfTheControls) {
    auto w = openWindow();
    QStringList order;
    for (QWidget* c = w->nextInFocusChain(); c != w.get(); c = c->nextInFocusChain())
        if ((c->focusPolicy() & Qt::TabFocus) && c->isVisibleTo(w.get()) && !c->focusProxy()) {
            const auto* button = qobject_cast<const QAbstractButton*>(c);
            order << (c->objectName().isEmpty() && button ? button->text() : c->objectName());
        }
    EXPECT_EQ(order, QStringList({"stripScroll", "t3", "t4", "t5", "D1", "D2", "CB1", "RB1", "RB2", "RB3", "RB4",
                                  "RB5", "Rb6", "rb7", "Polyeder", utf8("Archimedische Körper"),
                                  "Johnson Polyeder", "LB1"}));
}

TEST(Window, EscapeClosesEvenWhileAnimating) {
    auto w = openWindow();
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_TRUE(controls::Timer1(*w)->isActive());
    QTest::keyClick(controls::LB1(*w), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
}

TEST(Window, EnterRebuildsWhicheverControlHasTheFocus) {
    auto w = openWindow();
    QWidget* focusable[] = {controls::LB1(*w),
                            controls::D1(*w),
                            controls::D2(*w),
                            controls::t3(*w),
                            controls::t5(*w),
                            controls::CB1(*w),
                            controls::modeButtons(*w)[0],
                            controls::modeButtons(*w)[5],
                            categoryButton(*w, 0),
                            controls::PB1(*w)};
    for (QWidget* c : focusable) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
            c->setFocus();
            const int before = w->buildCount();
            QTest::keyClick(c, key);
            QApplication::processEvents();
            EXPECT_EQ(w->buildCount(), before + 1) << c->objectName().toStdString() << " key " << key;
        }
    }
    EXPECT_EQ(w->model().solid.vertices.size(), 8); // still the cube
}

TEST(Window, BodyClicksAndArrowKeysTakeOverAndBuild) {
    auto w = openWindow();
    clickBody(*w, "Oktaeder");
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Oktaeder und dualer Körper"));
    EXPECT_EQ(w->selection().bodyIndex, 2);
    EXPECT_EQ(w->model().solid.vertices.size(), 6);
    EXPECT_EQ(w->model().dual.faces.size(), 6);

    // Each arrow step takes the next entry over and builds it.
    controls::LB1(*w)->setFocus();
    for (int step = 0; step < 3; ++step) {
        const int row = controls::LB1(*w)->currentRow();
        const int before = w->buildCount();
        QTest::keyClick(controls::LB1(*w), Qt::Key_Down);
        QApplication::processEvents();
        EXPECT_EQ(controls::LB1(*w)->currentRow(), row + 1);
        EXPECT_EQ(w->buildCount(), before + 1);
        EXPECT_TRUE(controls::P1Caption(*w)->text().startsWith(controls::LB1(*w)->currentItem()->text()));
    }
    // A click on the entry that is already selected builds it again.
    const int before = w->buildCount();
    clickBody(*w, controls::LB1(*w)->currentItem()->text().toUtf8().constData());
    EXPECT_EQ(w->buildCount(), before + 1);
}

TEST(Window, CategoryChangeRefillsTheListWithoutBuilding) {
    auto w = openWindow();
    controls::modeButtons(*w)[6]->click(); // "Durchdringung 3"
    EXPECT_EQ(w->renderSettings().mode, DrawMode::Interpenetration3);
    QTest::keyClick(w.get(), Qt::Key_F2);
    const int builds = w->buildCount();
    categoryButton(*w, 2)->click(); // "Johnson Polyeder"
    QApplication::processEvents();
    EXPECT_EQ(w->selection().currentCategory, Category::Johnson);
    EXPECT_EQ(controls::LB1(*w)->count(), 77);
    EXPECT_EQ(controls::LB1(*w)->currentRow(), 0);
    EXPECT_EQ(controls::LB1(*w)->currentItem()->text(), "Johnson Polyeder 06");
    EXPECT_EQ(w->selection().bodyIndex, 28);
    EXPECT_EQ(controls::P1Caption(*w)->text(), "Johnson Polyeder 06 und quasiduales Polyeder");
    EXPECT_EQ(w->buildCount(), builds);
    EXPECT_EQ(w->model().solid.vertices.size(), 8); // the cube is still shown
    EXPECT_FALSE(controls::Timer1(*w)->isActive());
    EXPECT_EQ(controls::D2(*w)->text(), "Rotation");
    EXPECT_FALSE(controls::modeButtons(*w)[6]->isVisible());
    EXPECT_TRUE(controls::modeButtons(*w)[5]->isChecked());
    EXPECT_EQ(w->renderSettings().mode, DrawMode::Interpenetration2);

    categoryButton(*w, 1)->click(); // "Archimedische Körper"
    EXPECT_EQ(controls::LB1(*w)->count(), 25);
    EXPECT_EQ(controls::LB1(*w)->currentItem()->text(), "Cubus simus (abgeschr.Hexaeder)");
    categoryButton(*w, 0)->click();
    EXPECT_EQ(controls::LB1(*w)->count(), 46);
    EXPECT_EQ(controls::LB1(*w)->currentItem()->text(), "achtseitiges Antiprisma");
    EXPECT_TRUE(controls::modeButtons(*w)[6]->isVisible());
    EXPECT_FALSE(controls::modeButtons(*w)[6]->isChecked());
    EXPECT_TRUE(controls::modeButtons(*w)[5]->isChecked());
}

TEST(Window, AnimationTurnsAndATickSurvivesItsOwnRedraw) {
    auto w = openWindow();
    const Point3D start = firstVertex(*w);
    controls::D2(*w)->click();
    EXPECT_EQ(controls::D2(*w)->text(), "Abbruch");
    EXPECT_EQ(controls::Timer1(*w)->interval(), 10);
    const int builds = w->buildCount();
    QTest::qWait(150);
    const Point3D turned = firstVertex(*w);
    EXPECT_GT(std::fabs(turned.x - start.x) + std::fabs(turned.z - start.z), 1e-6);
    EXPECT_EQ(w->buildCount(), builds); // program repaints only show the scene
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_EQ(controls::D2(*w)->text(), "Rotation");
    EXPECT_FALSE(controls::Timer1(*w)->isActive());

    // A resize is a system paint: the body is rebuilt in its initial orientation.
    w->centralWidget()->resize(1100, 709);
    QTest::qWait(50);
    EXPECT_GT(w->buildCount(), builds);
    EXPECT_NEAR(firstVertex(*w).x,
                buildSolid(LoadCatalogueTables(KESMORA_DATA_DIR), w->selection(), "Hexaeder, W\xFCrfel")
                    .solid.vertices[0]
                    .x,
                1e-9);
}

// What the screen shows of the drawing area, read back from the window's backing store.
QImage shownDrawingArea(TMainForm& w) {
    QApplication::processEvents();
    const QPoint at = controls::PB1(w)->mapTo(w.window(), QPoint(0, 0));
    return w.screen()
        ->grabWindow(w.window()->winId(), at.x(), at.y(), controls::PB1(w)->width(), controls::PB1(w)->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

TEST(Window, TheScreenShowsEachNewPictureWhole) {
    // A tick copies only the part of the picture that changed onto the screen; whatever happens,
    // the screen must end up showing the scene image as it is.
    auto w = openWindow();
    ASSERT_EQ(shownDrawingArea(*w), w->sceneBitmap());
    categoryButton(*w, 1)->click(); // "Archimedische Körper"
    clickBody(*w, "Ikosidodekaederstumpf");
    for (int mode : {6, 1, 4, 0, 2}) {
        controls::modeButtons(*w)[mode]->click();
        controls::D2(*w)->click();
        QTest::qWait(60);
        QTest::keyClick(w.get(), Qt::Key_F2);
        ASSERT_EQ(shownDrawingArea(*w), w->sceneBitmap()) << "mode button " << mode;
    }
    controls::S8(*w)->click(); // zoomed in, then out past the start
    controls::S9(*w)->click();
    controls::S9(*w)->click();
    EXPECT_EQ(shownDrawingArea(*w), w->sceneBitmap());
    QTest::mousePress(controls::PB1(*w), Qt::LeftButton, {}, QPoint(300, 200));
    QTest::mouseMove(controls::PB1(*w), QPoint(250, 260));
    QTest::mouseRelease(controls::PB1(*w), Qt::LeftButton, {}, QPoint(250, 260));
    EXPECT_EQ(shownDrawingArea(*w), w->sceneBitmap());
    clickBody(*w, "Kuboktaeder"); // a smaller picture in place of a larger one
    EXPECT_EQ(shownDrawingArea(*w), w->sceneBitmap());
}

TEST(Window, DragTurnsZoomAndResetScale) {
    auto w = openWindow();
    SolidModel expected = w->model();
    rechnen(expected, 10, 0, 0);
    QTest::mousePress(controls::PB1(*w), Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_EQ(controls::PB1(*w)->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(controls::PB1(*w), QPoint(290, 200));
    QApplication::processEvents();
    EXPECT_NEAR(firstVertex(*w).x, expected.solid.vertices[0].x, 1e-9);
    EXPECT_NEAR(firstVertex(*w).y, expected.solid.vertices[0].y, 1e-9);
    QTest::mouseRelease(controls::PB1(*w), Qt::LeftButton, {}, QPoint(290, 200));
    EXPECT_FALSE(w->animation().dragging);
    EXPECT_NE(controls::PB1(*w)->cursor().shape(), Qt::SizeAllCursor);

    const double scale = w->model().scale;
    controls::S8(*w)->click();
    EXPECT_NEAR(w->model().scale, scale * 1.1, 1e-9);
    controls::S9(*w)->click();
    EXPECT_NEAR(w->model().scale, scale, 1e-9);
    controls::S1(*w)->click();
    EXPECT_DOUBLE_EQ(w->model().scale, kResetScale);
}

// The mouse wheel over the drawing area zooms as the zoom buttons do: whole notches, and parts of
// notches from fine wheels once they add up to one; the vertices follow the scale.
TEST(Window, MouseWheelZoomsLikeTheButtons) {
    auto w = openWindow();
    auto wheel = [&](int eighths) {
        const QPointF at(300, 200);
        QWheelEvent event(at, controls::PB1(*w)->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(controls::PB1(*w), &event);
        QApplication::processEvents();
    };
    SolidModel expected = w->model();
    auto same = [&] {
        EXPECT_NEAR(w->model().scale, expected.scale, 1e-9);
        EXPECT_NEAR(firstVertex(*w).x, expected.solid.vertices[0].x, 1e-9);
        EXPECT_NEAR(firstVertex(*w).y, expected.solid.vertices[0].y, 1e-9);
    };
    wheel(120);
    zoom(expected, ZoomCommand::Enlarge);
    same();
    EXPECT_GT(expected.scale, kResetScale);
    wheel(-240); // two notches back
    zoom(expected, ZoomCommand::Reduce);
    zoom(expected, ZoomCommand::Reduce);
    same();
    wheel(60); // half a notch: nothing yet
    same();
    wheel(60);
    zoom(expected, ZoomCommand::Enlarge);
    same();
}

TEST(Window, ColourChoiceCancelledChangesNothingConfirmedRebuilds) {
    auto w = openWindow();
    std::vector<QColor> offered;
    std::optional<QColor> answer;
    kesmora::fakeDialogs(*w).colourChooser = [&](QColor initial) {
        offered.push_back(initial);
        return answer;
    };
    const auto colours = w->renderSettings().polygonColours;
    const int builds = w->buildCount();
    controls::colourButtons(*w)[2]->click(); // pentagons, cancelled
    EXPECT_EQ(w->renderSettings().polygonColours, colours);
    EXPECT_EQ(w->buildCount(), builds);
    answer = QColor(10, 20, 30);
    controls::colourButtons(*w)[2]->click();
    EXPECT_EQ(w->renderSettings().polygonColours[2], QColor(10, 20, 30));
    EXPECT_EQ(w->buildCount(), builds + 1);
    answer.reset();
    controls::colourButtons(*w)[0]->click();
    EXPECT_EQ(kesmora::fakeDialogs(*w).colourTitle, QString::fromUtf8("Farbe der Dreiecke"));
    controls::colourButtons(*w)[2]->click();
    EXPECT_EQ(kesmora::fakeDialogs(*w).colourTitle, QString::fromUtf8("Farbe der Fünfecke"));
    // Each time at the colour the button changes.
    ASSERT_EQ(offered.size(), 4u);
    EXPECT_EQ(offered[0], kInitialPolygonColours[2]);
    EXPECT_EQ(offered[2], kInitialPolygonColours[0]);
    EXPECT_EQ(offered[3], QColor(10, 20, 30));
}

TEST(Window, BrokenCountLineShowsAMessageAndKeepsTheWindowUsable) {
    const auto dir = std::filesystem::temp_directory_path() / "kesmora-window-test-data";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (const char* f : {"catalogue.txt", "excluded.txt", "faces.txt"})
        std::filesystem::copy_file(std::filesystem::path(KESMORA_DATA_DIR) / f, dir / f);
    {
        std::ifstream in(std::filesystem::path(KESMORA_DATA_DIR) / "coordinates.txt", std::ios::binary);
        std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto at = s.find("[3]\n6\n");
        ASSERT_NE(at, std::string::npos);
        s.replace(at, 6, "[3]\nsechs\n");
        std::ofstream(dir / "coordinates.txt", std::ios::binary) << s;
    }
    auto w = openWindow(dir);
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    clickBody(*w, "Oktaeder");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("coordinates.txt"));
    EXPECT_TRUE(messages[0].contains("[3]"));
    EXPECT_EQ(w->model().solid.vertices.size(), 8); // the cube stays whole
    clickBody(*w, "Tetraeder");
    EXPECT_EQ(w->model().solid.vertices.size(), 4);
    EXPECT_EQ(messages.size(), 1u);
    std::filesystem::remove_all(dir);
}

namespace {

// "ausgeblendete Körper zeigen", found in the menu "Einstellungen" as a user finds it.
QAction* showHiddenItem(TMainForm& w) {
    const QMenu* menu = w.findChild<QMenu*>("M13");
    if (!menu) return nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == utf8("ausgeblendete Körper zeigen")) return a;
    return nullptr;
}

QStringList listed(TMainForm& w) {
    QStringList names;
    for (int i = 0; i < controls::LB1(w)->count(); ++i)
        names << controls::LB1(w)->item(i)->text();
    return names;
}

} // namespace

TEST(Window, HiddenBodiesOnRequestInTheLists) {
    auto w = openWindow();
    QAction* item = showHiddenItem(*w);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    // At the end of its menu, after a separator.
    const QList<QAction*> actions = w->findChild<QMenu*>("M13")->actions();
    ASSERT_GE(actions.size(), 2);
    EXPECT_TRUE(actions[actions.indexOf(item) - 1]->isSeparator());
    EXPECT_EQ(controls::LB1(*w)->count(), 46);

    const int builds = w->buildCount();
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    const QStringList all = listed(*w);
    EXPECT_EQ(all.size(), 68);
    EXPECT_TRUE(all.contains(utf8("fünfseitige Pyramide")));
    std::vector<std::string> order;
    for (const QString& n : all)
        order.push_back(n.toLatin1().toStdString());
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end(), bodyListLess));
    // The cube stays chosen and on screen; only the list changed.
    EXPECT_EQ(controls::LB1(*w)->currentItem()->text(), utf8("Hexaeder, Würfel"));
    EXPECT_EQ(w->buildCount(), builds);
    EXPECT_EQ(w->selection().bodyIndex, 1);

    // The option holds for every category until it is turned off.
    categoryButton(*w, 2)->click();
    EXPECT_EQ(controls::LB1(*w)->count(), 92);
    EXPECT_EQ(controls::LB1(*w)->currentItem()->text(), "Johnson Polyeder 01");
    EXPECT_EQ(w->selection().bodyIndex, 42);
    categoryButton(*w, 1)->click();
    EXPECT_EQ(controls::LB1(*w)->count(), 26);
    EXPECT_TRUE(listed(*w).contains("Dodecaedron simum (abgeschr.Dodekaeder)"));
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(controls::LB1(*w)->count(), 25);
    EXPECT_EQ(controls::LB1(*w)->currentItem()->text(), "Cubus simus (abgeschr.Hexaeder)");
    categoryButton(*w, 0)->click();
    EXPECT_EQ(controls::LB1(*w)->count(), 46);
}

TEST(Window, AHiddenBodyStaysOnScreenUntilTheNextChoice) {
    // A copy of the data in which the octahedron is hidden as well.
    kesmora::test::TempDir dir("window-hidden");
    kesmora::test::copyShippedData(dir.path());
    std::ofstream(dir.path() / "excluded.txt", std::ios::binary | std::ios::app) << "Oktaeder\n";
    auto w = openWindow(dir.path());
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    EXPECT_EQ(rowOf(*w, "Oktaeder"), -1);
    QAction* item = showHiddenItem(*w);
    ASSERT_NE(item, nullptr);
    item->trigger();
    clickBody(*w, "Oktaeder");
    EXPECT_EQ(w->model().solid.vertices.size(), 6);
    const double builtScale = w->model().scale;

    // Off again: the list leaves it out, but it stays chosen, named and drawn.
    int builds = w->buildCount();
    item->trigger();
    EXPECT_EQ(rowOf(*w, "Oktaeder"), -1);
    EXPECT_EQ(controls::LB1(*w)->currentItem(), nullptr);
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Oktaeder und dualer Körper"));
    EXPECT_EQ(w->selection().bodyIndex, 2);
    EXPECT_EQ(w->buildCount(), builds);
    EXPECT_EQ(w->model().solid.vertices.size(), 6);
    // Enter, "Darstellung" and a repaint build it again, in its initial orientation.
    controls::S8(*w)->click();
    QTest::keyClick(w.get(), Qt::Key_Return);
    EXPECT_EQ(w->buildCount(), builds + 1);
    EXPECT_EQ(w->model().solid.vertices.size(), 6);
    EXPECT_DOUBLE_EQ(w->model().scale, builtScale);
    controls::D1(*w)->click();
    w->centralWidget()->resize(1100, 709);
    QTest::qWait(50);
    EXPECT_GE(w->buildCount(), builds + 3);
    EXPECT_EQ(w->model().solid.vertices.size(), 6);
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Oktaeder und dualer Körper"));

    // Turned on again, its row comes back chosen.
    item->trigger();
    EXPECT_EQ(controls::LB1(*w)->currentRow(), rowOf(*w, "Oktaeder"));
    item->trigger();

    // The next choice in the list takes over.
    clickBody(*w, "Tetraeder");
    EXPECT_EQ(w->model().solid.vertices.size(), 4);
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Tetraeder und dualer Körper"));
    builds = w->buildCount();
    QTest::keyClick(w.get(), Qt::Key_Return);
    EXPECT_EQ(w->model().solid.vertices.size(), 4);

    // So does a category: its first entry is chosen, and the next build builds that.
    item->trigger();
    clickBody(*w, "Oktaeder");
    item->trigger();
    categoryButton(*w, 1)->click();
    EXPECT_EQ(controls::LB1(*w)->currentItem()->text(), "Cubus simus (abgeschr.Hexaeder)");
    EXPECT_EQ(w->model().solid.vertices.size(), 6); // a category click does not build
    QTest::keyClick(w.get(), Qt::Key_Return);
    EXPECT_EQ(w->model().solid.vertices.size(), 24);
    EXPECT_TRUE(messages.empty());
}

TEST(Window, ReciprocalMenuItemSwitchesTheDualAndTheTitle) {
    auto w = openWindow();
    QMenu* settings = w->findChild<QMenu*>("M13");
    ASSERT_TRUE(settings);
    const QList<QAction*> items = settings->actions();
    const qsizetype at = items.indexOf(controls::menuItem(*w, "M18"));
    ASSERT_GE(at, 2);
    QAction* item = items[at];
    // After a separator, with "ausgeblendete Körper zeigen", the other choice of what is shown.
    EXPECT_EQ(items[at - 1], controls::menuItem(*w, "showHidden"));
    EXPECT_TRUE(items[at - 2]->isSeparator());
    EXPECT_EQ(item->text(), utf8("Dual als polare Reziproke"));
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::Catalogue);

    // The cube's catalogue dual has its vertices at the face centroids, at the inradius; its
    // reciprocal's lie at the midradius squared over the inradius, twice as far.
    auto reach = [&] { return norm(w->model().dual.vertices[0]) / norm(w->model().solid.vertices[0]); };
    const double catalogueReach = reach();
    item->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Hexaeder, Würfel und polar reziproker Körper"));
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
    EXPECT_TRUE(w->model().dualInfo.midsphere);
    EXPECT_NEAR(reach() / catalogueReach, 2.0, 1e-9);

    // Every build keeps to it, in every category.
    clickBody(*w, "Oktaeder");
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Oktaeder und polar reziproker Körper"));
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
    EXPECT_EQ(w->model().dual.vertices.size(), 8);
    categoryButton(*w, 1)->click();
    QApplication::processEvents();
    clickBody(*w, "Pyramidentetraeder");
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Pyramidentetraeder und polar reziproker Körper"));
    EXPECT_EQ(w->model().dual.vertices.size(), 12); // the truncated tetrahedron
    categoryButton(*w, 2)->click();
    QApplication::processEvents();
    clickBody(*w, "Johnson Polyeder 54");
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Johnson Polyeder 54 und polar reziproker Körper"));
    EXPECT_EQ(w->model().dual.faces.size(), w->model().solid.vertices.size()); // nothing cut

    item->trigger();
    QApplication::processEvents();
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Johnson Polyeder 54 und quasiduales Polyeder"));
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::Catalogue);
    EXPECT_EQ(w->model().dual.faces.size(), 18);
}

TEST(Window, ABodyWithoutReciprocalSaysSoOncePerBuild) {
    // The tetrahemihexahedron, listed: its three squares pass through its centre.
    const kesmora::test::TempDir root("reciprocal-refused");
    const std::filesystem::path dir = root.path() / "data";
    kesmora::test::copyShippedData(dir);
    auto edit = [&](const char* file, const std::function<void(std::string&)>& change) {
        std::string text = kesmora::test::readAll(dir / file);
        change(text);
        std::ofstream(dir / file, std::ios::binary | std::ios::trunc) << text;
    };
    edit("excluded.txt", [](std::string& text) {
        const auto at = text.find("Tetrahemihexaeder\n");
        ASSERT_NE(at, std::string::npos);
        text.erase(at, std::string("Tetrahemihexaeder\n").size());
    });

    auto w = openWindow(dir);
    // The refusal is a notice, not an error.
    std::vector<QString> messages, errors;
    kesmora::fakeDialogs(*w).onInformation = [&](const QString&, const QString& m) { messages.push_back(m); };
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { errors.push_back(m); };
    clickBody(*w, "Tetrahemihexaeder");
    EXPECT_TRUE(messages.empty()); // the catalogue's dual needs no centre
    controls::menuItem(*w, "M18")->trigger();
    QApplication::processEvents();
    ASSERT_EQ(messages.size(), 1u);
    const std::string message = messages[0].toStdString();
    EXPECT_TRUE(messages[0].startsWith(utf8("Tetrahemihexaeder hat keine polare Reziproke"))) << message;
    EXPECT_TRUE(messages[0].contains(utf8("Gezeigt wird der duale Körper des Katalogs"))) << message;
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::Catalogue);
    EXPECT_TRUE(w->model().dualInfo.reciprocalRefused());
    EXPECT_EQ(w->model().dual.vertices.size(), 7);
    // The title names the dual that is shown.
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Tetrahemihexaeder und dualer Körper"));

    // A repaint from the system builds again but does not repeat the message; a build the user
    // asks for does.
    controls::PB1(*w)->update();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(messages.size(), 1u);
    QTest::keyClick(w.get(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Tetrahemihexaeder und dualer Körper"));
    clickBody(*w, "Oktaeder");
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Oktaeder und polar reziproker Körper"));
}
