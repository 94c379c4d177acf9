// The properties window on a screen with room beside the main window: it stands there without
// covering it, and both value columns show their texts whole, for the bodies with the longest names
// and values. And where a tool window goes on screens with and without that room.
#include "app/mainwindow.h"
#include "app/johnsonnames.h"
#include "app/propertieswindow.h"
#include "openwindow.h"
#include "stripcontrols.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace kesmora;
using kesmora::test::openWindow;

namespace {

void clickBody(TMainForm& w, const QString& name) {
    QListWidget* list = controls::LB1(w);
    const auto items = list->findItems(name, Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty()) << name.toStdString();
    list->scrollToItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
    QApplication::processEvents();
}

// Every line of every value lies inside its label, and every label inside the visible part of the
// scroll area, sideways: nothing is cut off and nothing needs scrolling to be read.
void expectColumnsWhole(const PropertiesWindow& p, const QString& body) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p.refreshPending(); }, 5000));
    QApplication::processEvents();
    const QWidget* viewport = p.scrollArea()->viewport();
    EXPECT_FALSE(p.scrollArea()->horizontalScrollBar()->isVisible()) << body.toStdString();
    for (int r = 0; r < p.rowCount(); ++r)
        for (bool dual : {false, true}) {
            const QLabel* cell = p.valueLabel(r, dual);
            const QFontMetrics metrics(cell->font());
            int widestLine = 0, widestWord = 0;
            for (const QString& line : cell->text().split('\n')) {
                widestLine = std::max(widestLine, metrics.horizontalAdvance(line));
                for (const QString& word : line.split(' '))
                    widestWord = std::max(widestWord, metrics.horizontalAdvance(word));
            }
            const QRect inViewport(cell->mapTo(viewport, QPoint(0, 0)), cell->size());
            // Values longer than a column's limit wrap at their blanks; all others fit on their
            // lines, and no word is cut.
            EXPECT_LE(widestWord, cell->contentsRect().width()) << body.toStdString() << ": " << cell->text().toStdString();
            if (widestLine <= PropertiesWindow::kMaxValueWidth) {
                EXPECT_LE(widestLine, cell->contentsRect().width())
                    << body.toStdString() << ": " << cell->text().toStdString();
            }
            EXPECT_GE(inViewport.left(), 0) << body.toStdString();
            EXPECT_LE(inViewport.right(), viewport->width() - 1)
                << body.toStdString() << ": " << cell->text().toStdString();
        }
}

} // namespace

TEST(PropertiesWindowFit, BesideTheMainWindowWithBothColumnsWhole) {
    auto w = openWindow();
    const QRect screen = w->screen()->availableGeometry();
    ASSERT_EQ(screen.size(), QSize(1600, 1000));
    QTest::keyClick(w.get(), Qt::Key_F3);
    QApplication::processEvents();
    PropertiesWindow* p = w->propertiesWindow();
    ASSERT_TRUE(p->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p->refreshPending(); }, 5000));

    // Both on the screen, level with each other, side by side where the screen is wide enough for
    // both; else the properties cover only as much of the main window as they must.
    EXPECT_TRUE(screen.contains(w->frameGeometry()));
    EXPECT_TRUE(screen.contains(p->frameGeometry()));
    const int overlap = p->frameGeometry().intersected(w->frameGeometry()).width();
    EXPECT_EQ(overlap, std::max(0, p->frameGeometry().width() + w->frameGeometry().width() - screen.width()))
        << p->frameGeometry().x() << " " << w->frameGeometry().x();
    EXPECT_GE(p->width(), p->neededWidth());
    // For the cube the program starts with, that is side by side.
    EXPECT_EQ(overlap, 0);
    EXPECT_EQ(p->frameGeometry().top(), w->frameGeometry().top());
    expectColumnsWhole(*p, "Hexaeder");

    // The Catalan solids' names and the Johnson solids' values are the longest.
    controls::R1Group(*w)->button(1)->click();
    QApplication::processEvents();
    for (const char* name : {"Disdyakistriacontaeder", "Pentagon-60-Flächner", "Cubus simus (abgeschr.Hexaeder)",
                             "Deltoid-24-Flächner", "Rhombenikosidodekaeder"}) {
        clickBody(*w, QString::fromUtf8(name));
        expectColumnsWhole(*p, QString::fromUtf8(name));
    }
    controls::R1Group(*w)->button(2)->click();
    QApplication::processEvents();
    for (const char* name : {"Johnson Polyeder 92", "Johnson Polyeder 48", "Johnson Polyeder 18"}) {
        clickBody(*w, QString::fromUtf8(name));
        expectColumnsWhole(*p, QString::fromUtf8(name));
    }
    // Still on the screen after growing for the longer values.
    EXPECT_TRUE(screen.contains(p->frameGeometry()));

    // Made narrower by the user, it scrolls sideways instead of cutting the columns off.
    p->resize(340, p->height());
    QApplication::processEvents();
    EXPECT_TRUE(p->scrollArea()->horizontalScrollBar()->isVisible());
    EXPECT_GT(p->scrollArea()->horizontalScrollBar()->maximum(), 0);
}

TEST(PropertiesWindowFit, PlacementBesideMovingOverOrCoveringTheLeast) {
    const QRect screen(0, 0, 1600, 1000);
    // Room on the right.
    ToolWindowPlacement p = toolWindowPlacement(screen, QRect(100, 50, 1008, 740), QSize(480, 300));
    EXPECT_EQ(p.frame, QRect(1108, 50, 480, 740));
    EXPECT_EQ(p.mainTopLeft, QPoint(100, 50));
    // Room on the left only.
    p = toolWindowPlacement(screen, QRect(590, 50, 1008, 740), QSize(500, 300));
    EXPECT_EQ(p.frame, QRect(90, 50, 500, 740));
    EXPECT_EQ(p.mainTopLeft, QPoint(590, 50));
    // Centred: no side has room, but the screen has; the main window moves over as little as needed.
    p = toolWindowPlacement(screen, QRect(296, 100, 1008, 740), QSize(560, 300));
    EXPECT_EQ(p.mainTopLeft, QPoint(32, 100));
    EXPECT_EQ(p.frame, QRect(1040, 100, 560, 740));
    EXPECT_FALSE(p.frame.intersects(QRect(p.mainTopLeft, QSize(1008, 740))));
    // Too narrow a screen for both: at the edge on the side with more room, the main window moved
    // to the other edge; they overlap by what the screen lacks.
    p = toolWindowPlacement(QRect(0, 0, 1280, 1024), QRect(100, 0, 1008, 740), QSize(600, 300));
    EXPECT_EQ(p.frame, QRect(680, 0, 600, 740));
    EXPECT_EQ(p.mainTopLeft, QPoint(0, 0));
    p = toolWindowPlacement(QRect(0, 0, 1280, 1024), QRect(200, 0, 1008, 740), QSize(600, 300));
    EXPECT_EQ(p.frame, QRect(0, 0, 600, 740));
    EXPECT_EQ(p.mainTopLeft, QPoint(272, 0));
    // Wider and taller than the screen: cut to it, and kept on it.
    p = toolWindowPlacement(QRect(0, 0, 800, 600), QRect(0, 100, 800, 700), QSize(900, 300));
    EXPECT_EQ(p.frame, QRect(0, 0, 800, 600));
}

// Johnson solids by their standard names beside the catalogue's entry, which stays as it is; every
// listed entry finds its name, and nothing else gets one.
TEST(PropertiesWindowFit, JohnsonSolidsByTheirStandardNames) {
    EXPECT_EQ(johnsonNumber("Johnson Polyeder 07"), 7);
    EXPECT_EQ(johnsonNumber("Johnson Polyeder 92"), 92);
    EXPECT_EQ(johnsonNumber("Johnson Polyeder 93"), 0);
    EXPECT_EQ(johnsonNumber("Johnson Polyeder 0"), 0);
    EXPECT_EQ(johnsonNumber("Kuboktaeder"), 0);
    EXPECT_TRUE(johnsonStandardName(0).isEmpty());
    EXPECT_TRUE(johnsonStandardName(93).isEmpty());

    auto w = openWindow();
    QTest::keyClick(w.get(), Qt::Key_F3);
    PropertiesWindow* p = w->propertiesWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p->refreshPending(); }, 5000));
    EXPECT_TRUE(p->johnsonName().isEmpty()); // the cube
    controls::R1Group(*w)->button(2)->click();
    QApplication::processEvents();
    QListWidget* list = controls::LB1(*w);
    ASSERT_GT(list->count(), 70);
    for (int row = 0; row < list->count(); ++row) {
        const QString entry = list->item(row)->text();
        const int number = johnsonNumber(entry);
        ASSERT_GT(number, 0) << entry.toStdString();
        if (row % 9 != 0 && entry != "Johnson Polyeder 54") continue; // a sample through the window
        clickBody(*w, entry);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !p->refreshPending(); }, 5000));
        EXPECT_EQ(p->valueLabel(0, false)->text(), entry);
        EXPECT_TRUE(p->johnsonName().startsWith(QStringLiteral("J%1 ").arg(number))) << entry.toStdString();
        EXPECT_TRUE(p->tableText().endsWith(p->johnsonName() + "\t\n"));
    }
    clickBody(*w, "Johnson Polyeder 54");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !p->refreshPending(); }, 5000));
    EXPECT_EQ(p->johnsonName(), "J54 augmented hexagonal prism");
    expectColumnsWhole(*p, "Johnson Polyeder 54");
}
