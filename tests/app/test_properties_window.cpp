// The properties window through the real main window, headless: F3 and the menu "Ansicht" show and
// hide it, it follows every build and selection while shown, measures nothing while hidden and
// catches up when shown again; its values are selectable text that screen readers read.
#include "app/mainwindow.h"
#include "openwindow.h"
#include "app/propertieswindow.h"
#include "stripcontrols.h"
#include "geodesic.h"
#include "bodies/filesolid.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace kesmora;

using kesmora::test::openWindow;

namespace {

QString utf8(const char* s) {
    return QString::fromUtf8(s);
}

void clickBody(TMainForm& w, const char* name) {
    const auto items = controls::LB1(w)->findItems(utf8(name), Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty()) << name;
    controls::LB1(w)->scrollToItem(items.first());
    const QRect r = controls::LB1(w)->visualItemRect(items.first());
    QTest::mouseClick(controls::LB1(w)->viewport(), Qt::LeftButton, {}, r.center());
    QApplication::processEvents();
}

void chooseCategory(TMainForm& w, int item) {
    controls::R1Group(w)->button(item)->click();
    QApplication::processEvents();
}

// The value in the row with this label, once a shown window has caught up with the last build.
QString value(const PropertiesWindow& p, const char* label, bool dual = false) {
    if (p.isVisible()) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !p.refreshPending(); }, 5000));
    }
    for (int r = 0; r < p.rowCount(); ++r) {
        const QString line = p.tableText().split('\n')[r];
        if (line.section('\t', 0, 0) == utf8(label)) return p.valueLabel(r, dual)->text();
    }
    ADD_FAILURE() << "no row " << label;
    return {};
}

void pressF3(TMainForm& w) {
    QTest::keyClick(&w, Qt::Key_F3);
    QApplication::processEvents();
}

} // namespace

TEST(PropertiesWindow, MenuAnsichtAndF3ShowAndHideIt) {
    auto w = openWindow();
    PropertiesWindow* p = w->propertiesWindow();
    ASSERT_NE(p, nullptr);
    EXPECT_FALSE(p->isVisible()); // the start state is unchanged
    EXPECT_EQ(p->windowTitle(), "Eigenschaften");
    EXPECT_TRUE(p->windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(p->isModal());

    // "Ansicht" follows the menus that were there, then "Operationen", then "Hilfe"; its item is
    // checkable and bound to F3.
    const QList<QAction*> menus = w->menuBar()->actions();
    ASSERT_EQ(menus.size(), 6);
    EXPECT_EQ(menus[0]->text(), "Datei");
    EXPECT_EQ(menus[1]->text(), "Beenden");
    EXPECT_EQ(menus[2]->text(), "Einstellungen");
    EXPECT_EQ(menus[3]->text(), "Ansicht");
    EXPECT_EQ(menus[4]->text(), "Operationen");
    EXPECT_EQ(menus[5]->text(), "Hilfe");
    ASSERT_TRUE(menus[3]->menu());
    EXPECT_EQ(menus[3]->menu()->actions().value(0), controls::menuItem(*w, "propertiesAction"));
    EXPECT_EQ(controls::menuItem(*w, "propertiesAction")->text(), "Eigenschaften");
    EXPECT_EQ(controls::menuItem(*w, "propertiesAction")->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_TRUE(controls::menuItem(*w, "propertiesAction")->isCheckable());
    EXPECT_FALSE(controls::menuItem(*w, "propertiesAction")->isChecked());

    pressF3(*w);
    EXPECT_TRUE(p->isVisible());
    EXPECT_TRUE(controls::menuItem(*w, "propertiesAction")->isChecked());
    EXPECT_EQ(value(*p, "Name"), utf8("Hexaeder, Würfel"));
    EXPECT_EQ(value(*p, "Name", true), "Oktaeder");
    // On the screen, level with the main window; the test screen is too narrow for both side by
    // side, so it overlaps the main window's edge.
    const QRect screen = w->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(p->geometry()));
    EXPECT_EQ(p->y(), w->frameGeometry().top());
    EXPECT_EQ(p->height(), w->height());
    // Beside a window with room at its left, it stands there without covering it.
    QWidget narrow;
    narrow.setGeometry(screen.right() - 399, screen.top() + 50, 400, 500);
    narrow.show();
    p->placeBeside(narrow);
    EXPECT_EQ(p->frameGeometry().right() + 1, narrow.frameGeometry().left());
    EXPECT_EQ(p->y(), narrow.frameGeometry().top());
    EXPECT_TRUE(screen.contains(p->geometry()));

    // F3 again while the properties window has the focus: hidden.
    p->activateWindow();
    p->valueLabel(1, false)->setFocus();
    QTest::keyClick(p->valueLabel(1, false), Qt::Key_F3);
    QApplication::processEvents();
    EXPECT_FALSE(p->isVisible());
    EXPECT_FALSE(controls::menuItem(*w, "propertiesAction")->isChecked());

    // The menu item shows it; the window's own close button hides it and unticks the item.
    controls::menuItem(*w, "propertiesAction")->trigger();
    EXPECT_TRUE(p->isVisible());
    p->close();
    QApplication::processEvents();
    EXPECT_FALSE(p->isVisible());
    EXPECT_FALSE(controls::menuItem(*w, "propertiesAction")->isChecked());

    // Escape still ends the program with the properties window open.
    pressF3(*w);
    EXPECT_TRUE(p->isVisible());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
}

TEST(PropertiesWindow, FollowsEverySelectionAndBuildWhileShown) {
    auto w = openWindow();
    PropertiesWindow* p = w->propertiesWindow();
    pressF3(*w);
    EXPECT_EQ(value(*p, "Ecken"), "8");

    chooseCategory(*w, 1); // "Archimedische Körper": the list changes, the body on screen not yet
    EXPECT_EQ(value(*p, "Name"), utf8("Hexaeder, Würfel"));
    clickBody(*w, "Ikosidodekaeder");
    EXPECT_EQ(value(*p, "Name"), "Ikosidodekaeder");
    EXPECT_EQ(value(*p, "Name", true), utf8("Rhomben-30-Flächner"));
    EXPECT_EQ(value(*p, "Ecken"), "30");
    EXPECT_EQ(value(*p, "Flächen"), "32");
    EXPECT_EQ(value(*p, "Flächenarten"), utf8("20 Dreiecke, 12 Fünfecke"));
    EXPECT_EQ(value(*p, "Eckenkonfigurationen"), utf8("30\u00a0×\u00a03.5.3.5"));
    EXPECT_EQ(value(*p, "Ecken", true), "32");

    // An arrow key in the list: the next body.
    controls::LB1(*w)->setFocus();
    QTest::keyClick(controls::LB1(*w), Qt::Key_Down);
    QApplication::processEvents();
    const QString next = controls::LB1(*w)->currentItem()->text();
    EXPECT_EQ(value(*p, "Name"), next);

    // Every build is shown: Enter and "Darstellung".
    int before = p->refreshCount();
    QTest::keyClick(w.get(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(value(*p, "Name"), next);
    EXPECT_EQ(p->refreshCount(), before + 1);
    controls::D1(*w)->click();
    QApplication::processEvents();
    EXPECT_EQ(value(*p, "Name"), next);
    EXPECT_EQ(p->refreshCount(), before + 2);

    // Walking the list by key: the picture follows each step at once, the properties the last
    // body, measured once for a run of quick steps rather than once per step.
    before = p->refreshCount();
    const int builds = w->buildCount();
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(controls::LB1(*w), Qt::Key_Up);
        QApplication::processEvents();
    }
    EXPECT_EQ(w->buildCount(), builds + 4);
    EXPECT_EQ(value(*p, "Name"), controls::LB1(*w)->currentItem()->text());
    EXPECT_GE(p->refreshCount(), before + 1);
    EXPECT_LE(p->refreshCount(), before + 4);

    chooseCategory(*w, 2);
    clickBody(*w, "Johnson Polyeder 54");
    EXPECT_EQ(value(*p, "Name", true), "Quasi-Dual");
    EXPECT_EQ(value(*p, "Alle Flächen eben", true), utf8("ja; 5 Flächen in 10 Dreiecke geteilt"));
}

TEST(PropertiesWindow, MeasuresNothingWhileHiddenAndCatchesUpWhenShown) {
    auto w = openWindow();
    PropertiesWindow* p = w->propertiesWindow();
    EXPECT_EQ(p->refreshCount(), 0); // the first build came while it was hidden
    chooseCategory(*w, 1);
    clickBody(*w, "Kuboktaeder");
    clickBody(*w, "Ikosidodekaeder");
    QTest::keyClick(w.get(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(p->refreshCount(), 0);

    pressF3(*w);
    EXPECT_EQ(p->refreshCount(), 1);
    EXPECT_EQ(value(*p, "Name"), "Ikosidodekaeder");
    EXPECT_EQ(value(*p, "Ecken"), "30");

    pressF3(*w);
    clickBody(*w, "Kuboktaeder");
    EXPECT_EQ(p->refreshCount(), 1);
    EXPECT_EQ(value(*p, "Name"), "Ikosidodekaeder"); // hidden, so not yet
    pressF3(*w);
    EXPECT_EQ(p->refreshCount(), 2);
    EXPECT_EQ(value(*p, "Name"), "Kuboktaeder");
    EXPECT_EQ(value(*p, "Name", true), "Rhombendodekaeder");
    EXPECT_EQ(value(*p, "Ecken"), "12");

    // Shown again without a new body: nothing to measure.
    pressF3(*w);
    pressF3(*w);
    EXPECT_EQ(p->refreshCount(), 2);
}

// The call an opened file's body goes through: its own names, its own model.
TEST(PropertiesWindow, ShowsAnyModelUnderTheNamesGiven) {
    auto w = openWindow();
    PropertiesWindow* p = w->propertiesWindow();
    pressF3(*w);
    SolidModel tetrahedron;
    for (Point3D v : {Point3D{1, 1, 1}, Point3D{1, -1, -1}, Point3D{-1, 1, -1}, Point3D{-1, -1, 1}})
        tetrahedron.solid.vertices.push_back(v);
    for (const std::vector<int>& face : {std::vector<int>{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}})
        tetrahedron.solid.faces.push_back(face);
    tetrahedron.dual = tetrahedron.solid;
    p->showBody(tetrahedron, utf8("würfelecken.off"), utf8("dualer Körper"));
    EXPECT_EQ(value(*p, "Name"), utf8("würfelecken.off"));
    EXPECT_EQ(value(*p, "Name", true), utf8("dualer Körper"));
    EXPECT_EQ(value(*p, "Flächenarten"), "4 Dreiecke");
    EXPECT_EQ(value(*p, "Flächenwinkel"), utf8("70,53° (6\u00a0Kanten)"));
    EXPECT_EQ(value(*p, "Volumen"), utf8("0,1179 (Kantenlänge 1)")); // sqrt 2 / 12
    // The next build of the main window takes over again.
    controls::D1(*w)->click();
    QApplication::processEvents();
    EXPECT_EQ(value(*p, "Name"), utf8("Hexaeder, Würfel"));
}

TEST(PropertiesWindow, ALargeBodyIsMeasuredBesideTheWindowAndAnOlderMeasureDoesNotOverwriteANewer) {
    auto w = openWindow();
    PropertiesWindow* p = w->propertiesWindow();
    pressF3(*w);
    // 3 920 triangles and their dual: measured beside the window's thread.
    const SolidModel large = buildFileSolid(kesmora::testing::geodesicSphere(14));
    p->showBody(large, utf8("kugel.off"), utf8("dualer Körper"));
    p->catchUp();
    EXPECT_EQ(value(*p, "Flächenarten"), utf8("wird berechnet …"));
    QTRY_COMPARE_WITH_TIMEOUT(value(*p, "Flächenarten"), utf8("3920 Dreiecke"), 30000);
    // A small body shown while a large one is measured keeps its own values.
    p->showBody(large, utf8("kugel.off"), utf8("dualer Körper"));
    p->catchUp();
    controls::D1(*w)->click();
    QApplication::processEvents();
    p->catchUp();
    EXPECT_EQ(value(*p, "Name"), utf8("Hexaeder, Würfel"));
    QTest::qWait(3000);
    EXPECT_EQ(value(*p, "Flächenarten"), "6 Vierecke");
}

TEST(PropertiesWindow, ValuesAreSelectableCopyableAndSpoken) {
    auto w = openWindow();
    PropertiesWindow* p = w->propertiesWindow();
    pressF3(*w);
    for (int r = 0; r < p->rowCount(); ++r)
        for (bool dual : {false, true}) {
            QLabel* cell = p->valueLabel(r, dual);
            EXPECT_TRUE(cell->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
            EXPECT_TRUE(cell->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
            // A screen reader hears which property it is, of which body, and the value itself.
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(cell);
            ASSERT_NE(a, nullptr);
            const QString spoken = a->text(QAccessible::Name);
            EXPECT_TRUE(spoken.endsWith(cell->text())) << spoken.toStdString();
            EXPECT_TRUE(spoken.contains(dual ? "(Dual)" : utf8("(Körper)"))) << spoken.toStdString();
        }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(p->valueLabel(1, false))->text(QAccessible::Name),
              utf8("Ecken (Körper): 8"));

    // "Kopieren" puts every row on the clipboard, tab-separated.
    auto* copy = p->findChild<QPushButton*>("propertiesCopy");
    ASSERT_NE(copy, nullptr);
    EXPECT_FALSE(copy->accessibleName().isEmpty());
    QApplication::clipboard()->clear();
    copy->click();
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), p->rowCount());
    EXPECT_EQ(lines[0], utf8("Name\tHexaeder, Würfel\tOktaeder"));
    EXPECT_EQ(lines[1], "Ecken\t8\t6");
}
