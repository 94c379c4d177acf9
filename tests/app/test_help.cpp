// The help: every page loads with its pictures, which the program draws of its own bodies, and every
// link leads to a page and place that exist; F1, the properties window and the net dialog open it at
// their pages, and the net dialog leaves it usable; the keys are listed as the program answers them.
#include "app/helpwindow.h"
#include "app/mainwindow.h"
#include "app/modelegend.h"
#include "app/propertieswindow.h"
#include "app/shortcuts.h"
#include "fakedialogs.h"
#include "openwindow.h"

#include "catalogue/tables.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

#include <set>

using namespace kesmora;
using kesmora::test::openWindow;

namespace {

QString pageText(const QString& section) {
    QFile file(QStringLiteral(":/help/") + section + QStringLiteral(".html"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// Whether the picture shows something besides the white background.
bool drawsSomething(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xffffff) != 0xffffff) return true;
    return false;
}

HelpWindow* helpOf(QWidget& owner) {
    return owner.findChild<HelpWindow*>(QStringLiteral("helpWindow"), Qt::FindDirectChildrenOnly);
}

} // namespace

TEST(Help, PagesPicturesAndLinksAllResolve) {
    const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    HelpWindow help(nullptr, &tables);
    std::set<QString> picturesUsed;
    const QRegularExpression image(QStringLiteral("<img src=\"bild:([^\"]+)\""));
    const QRegularExpression link(QStringLiteral("<a href=\"([^\"]+)\""));
    for (const QString& section : HelpWindow::sections()) {
        const QString html = pageText(section);
        ASSERT_FALSE(html.isEmpty()) << section.toStdString();
        help.showSection(section);
        QApplication::processEvents();
        const QString shown = help.browser()->toPlainText();
        // Read as UTF-8 with its umlauts, titled, in German.
        EXPECT_FALSE(help.browser()->documentTitle().isEmpty()) << section.toStdString();
        EXPECT_FALSE(shown.contains(QString::fromUtf8("Ã"))) << section.toStdString();
        EXPECT_TRUE(shown.contains(QString::fromUtf8("ö")) || shown.contains(QString::fromUtf8("ä")) ||
                    shown.contains(QString::fromUtf8("ü")))
            << section.toStdString();
        for (auto m = image.globalMatch(html); m.hasNext();) {
            const QString name = m.next().captured(1);
            picturesUsed.insert(name);
            const QImage picture = help.browser()->picture(name);
            EXPECT_FALSE(picture.isNull()) << section.toStdString() << ": " << name.toStdString();
            EXPECT_TRUE(drawsSomething(picture)) << name.toStdString();
        }
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            // "#place" is a place on the same page.
            const QString page = target.startsWith('#') ? section : target.section('#', 0, 0).section('.', 0, 0);
            const QString anchor = target.section('#', 1);
            ASSERT_TRUE(HelpWindow::sections().contains(page)) << section.toStdString() << " -> " << target.toStdString();
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(pageText(page).contains(QStringLiteral("<a name=\"") + anchor + '"'))
                    << section.toStdString() << " -> " << target.toStdString();
            }
        }
    }
    // Every picture is on some page, and a name no picture has draws nothing.
    for (const HelpPicture& p : helpPictures())
        EXPECT_TRUE(picturesUsed.count(QString::fromLatin1(p.name))) << p.name;
    EXPECT_TRUE(help.browser()->picture(QStringLiteral("kein-bild")).isNull());

    // The page on operating the program shows every key of the table.
    help.showSection(QStringLiteral("bedienung"));
    QApplication::processEvents();
    for (const ShortcutEntry& e : kShortcuts)
        EXPECT_TRUE(help.browser()->toPlainText().contains(QString::fromUtf8(e.keys))) << e.keys;
}

TEST(Help, EveryShortcutOfTheWindowIsInTheKeyTable) {
    auto w = openWindow();
    QStringList keys;
    for (const ShortcutEntry& e : kShortcuts)
        keys << QString::fromUtf8(e.keys);
    for (const QAction* action : w->findChildren<QAction*>()) {
        for (const QKeySequence& shortcut : action->shortcuts()) {
            QString text = shortcut.toString(QKeySequence::PortableText);
            text.replace(QStringLiteral("Ctrl+"), QStringLiteral("Strg+"));
            if (text == QStringLiteral("Return") || text == QStringLiteral("Enter")) text = QStringLiteral("Eingabe");
            // The full screen's keys stand together: "1 … 7" and "+ / −" (= is + without Shift).
            if (text.size() == 1 && text[0] >= QLatin1Char('1') && text[0] <= QLatin1Char('7'))
                text = QString::fromUtf8("1 … 7");
            if (text == QStringLiteral("=")) text = QStringLiteral("+");
            if (text == QStringLiteral("-")) text = QString::fromUtf8("−");
            if (text.isEmpty()) continue;
            EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [&](const QString& k) { return k.split(QStringLiteral(" / ")).contains(text) || k == text; }))
                << action->objectName().toStdString() << ": " << text.toStdString();
        }
    }
}

TEST(Help, F1AndThePropertiesWindowOpenTheirPages) {
    auto w = openWindow();
    EXPECT_EQ(helpOf(*w), nullptr); // made when first asked for
    QAction* introduction = w->findChild<QAction*>(QStringLiteral("introductionAction"));
    ASSERT_NE(introduction, nullptr);
    EXPECT_EQ(introduction->shortcut(), QKeySequence(Qt::Key_F1));
    QTest::keyClick(w.get(), Qt::Key_F1);
    QApplication::processEvents();
    HelpWindow* help = helpOf(*w);
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->browser()->source().toString().endsWith(QStringLiteral("einfuehrung.html")));
    EXPECT_TRUE(help->windowTitle().contains(QString::fromUtf8("Einführung")));
    // Escape in the help closes the help, not the program ("Beenden" is Escape too).
    help->activateWindow();
    help->browser()->setFocus();
    QTest::keyClick(help->browser(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(help->isVisible());
    EXPECT_TRUE(w->isVisible());

    QTest::keyClick(w.get(), Qt::Key_F3);
    QApplication::processEvents();
    auto* button = w->propertiesWindow()->findChild<QPushButton*>(QStringLiteral("propertiesHelp"));
    ASSERT_NE(button, nullptr);
    button->click();
    QApplication::processEvents();
    EXPECT_EQ(helpOf(*w), help); // one help window
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->browser()->source().toString().endsWith(QStringLiteral("eigenschaften.html")));
    // F1 in the properties window opens the same page.
    help->showSection(QStringLiteral("euler"));
    help->close();
    w->propertiesWindow()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == w->propertiesWindow(); }));
    w->propertiesWindow()->valueLabel(1, false)->setFocus();
    QTest::keyClick(w->propertiesWindow()->valueLabel(1, false), Qt::Key_F1);
    QApplication::processEvents();
    EXPECT_TRUE(help->browser()->source().toString().endsWith(QStringLiteral("eigenschaften.html")))
        << help->browser()->source().toString().toStdString();

    // "Tastenkürzel": a table with the arrow keys, the wheel and dragging.
    {
        QString text;
        fakeDialogs(*w).onInformation = [&](const QString&, const QString& t) { text = t; };
        w->findChild<QAction*>(QStringLiteral("shortcutsAction"))->trigger();
        EXPECT_TRUE(text.startsWith(QStringLiteral("<table")));
        for (const char* key : {"F1", "Pfeil auf", "Mausrad", "Ziehen mit der linken Maustaste", "Bild auf"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(key))) << key;
    }
}

TEST(Help, NetDialogOpensTheNetPageWhichItDoesNotBlock) {
    auto w = openWindow();
    // The main window's help, open before the dialog: the modal dialog blocks it, so a click there
    // does nothing, which shows that the clicks below reach only windows that take input.
    QTest::keyClick(w.get(), Qt::Key_F1);
    QApplication::processEvents();
    HelpWindow* mainHelp = helpOf(*w);
    ASSERT_NE(mainHelp, nullptr);
    mainHelp->showSection(QStringLiteral("euler"));
    bool checked = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto* button = dialog->findChild<QPushButton*>(QStringLiteral("netHelp"));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), "Hilfe");
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
        auto* help = dialog->findChild<HelpWindow*>(QStringLiteral("helpWindow"));
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_TRUE(help->browser()->source().toString().endsWith(QStringLiteral("netz.html")));
        // The dialog's own help window takes a click while the dialog is open; the main window's
        // does not.
        for (HelpWindow* window : {mainHelp, help}) {
            // Through the window system, which drops input to blocked windows.
            const QWidget* home = window->findChild<QPushButton*>(QStringLiteral("helpHome"));
            const QPoint at = home->mapTo(window, home->rect().center());
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
            QApplication::processEvents();
        }
        EXPECT_TRUE(mainHelp->browser()->source().toString().endsWith(QStringLiteral("euler.html")));
        EXPECT_TRUE(help->browser()->source().toString().endsWith(QStringLiteral("einfuehrung.html")));
        checked = true;
        static_cast<QDialog*>(dialog)->reject();
    });
    FakeDialogs dialogs(w.get());
    EXPECT_FALSE(runNetDialog(w.get(), false, {QString::fromUtf8("Körper")}, QStringLiteral("Würfel"), dialogs).has_value());
    EXPECT_TRUE(checked);
}

// Every control a user can click, turn or type into says what it does when the mouse rests on it,
// in the main window, the properties window and the help window.
TEST(Help, EveryControlHasATooltip) {
    auto w = openWindow();
    QTest::keyClick(w.get(), Qt::Key_F3);
    QTest::keyClick(w.get(), Qt::Key_F1);
    QApplication::processEvents();
    for (QWidget* window : {static_cast<QWidget*>(w.get()), static_cast<QWidget*>(w->propertiesWindow()),
                            static_cast<QWidget*>(helpOf(*w))}) {
        ASSERT_NE(window, nullptr);
        int controls = 0;
        for (QWidget* c : window->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QAbstractSpinBox*>(c) ||
                                 qobject_cast<QListWidget*>(c) || qobject_cast<QComboBox*>(c);
            // Parts of Qt's own widgets (a scroll bar's or a spin box's) have no name of ours.
            if (!control || c->window() != window || c->objectName().startsWith(QLatin1String("qt_"))) continue;
            ++controls;
            EXPECT_FALSE(c->toolTip().isEmpty())
                << window->objectName().toStdString() << ": " << c->metaObject()->className() << " "
                << c->objectName().toStdString() << " " << c->property("text").toString().toStdString();
        }
        EXPECT_GT(controls, 1) << window->objectName().toStdString();
    }
    // Menu items explain themselves beyond their text.
    for (const char* name : {"openAction", "propertiesAction", "introductionAction", "M18", "showHidden"}) {
        QAction* a = w->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_NE(a->toolTip(), a->text().remove('&')) << name;
    }
}

// The legend beside the drawing area names the figures in the mode checked, follows the mode
// buttons and the program's own change of mode, and leaves the drawing area alone.
TEST(Help, LegendFollowsTheModeBesideTheDrawingArea) {
    auto w = openWindow();
    auto* legend = w->findChild<ModeLegend*>(QStringLiteral("modeLegend"));
    ASSERT_NE(legend, nullptr);
    EXPECT_TRUE(legend->isVisible());
    EXPECT_EQ(legend->mode(), DrawMode::Interpenetration2);
    EXPECT_TRUE(legend->text().contains(QString::fromUtf8("Körper")) && legend->text().contains("Dual"));
    const QWidget* drawing = w->findChild<QWidget*>(QStringLiteral("PB1"));
    const QRect drawingArea(drawing->mapTo(w.get(), QPoint(0, 0)), drawing->size());
    const QRect legendArea(legend->mapTo(w.get(), QPoint(0, 0)), legend->size());
    EXPECT_FALSE(legendArea.intersects(drawingArea));
    EXPECT_TRUE(w->rect().contains(legendArea));

    w->findChild<QRadioButton*>(QStringLiteral("RB1"))->click();
    EXPECT_EQ(legend->mode(), DrawMode::EdgeModel);
    EXPECT_TRUE(legend->text().contains("links"));
    EXPECT_TRUE(w->rect().contains(QRect(legend->mapTo(w.get(), QPoint(0, 0)), legend->size())));
    w->findChild<QRadioButton*>(QStringLiteral("rb7"))->click();
    EXPECT_EQ(legend->mode(), DrawMode::Interpenetration3);
    // "Johnson Polyeder" has no "Durchdringung 3": the program checks "Durchdringung 2" instead.
    w->findChild<QButtonGroup*>(QStringLiteral("R1Group"))->button(2)->click();
    QApplication::processEvents();
    EXPECT_EQ(w->renderSettings().mode, DrawMode::Interpenetration2);
    EXPECT_EQ(legend->mode(), DrawMode::Interpenetration2);
}
