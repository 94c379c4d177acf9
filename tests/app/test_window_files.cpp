// The window's "Datei" and "Hilfe" menus, its command line and its German Qt dialogs, headless:
// the dialogs are replaced by scripted answers, the files read back.
#include "fakedialogs.h"
#include "app/mainwindow.h"
#include "openwindow.h"
#include "app/startup.h"
#include "bodies/polyhedronfile.h"
#include "export/figurefile.h"
#include "geometry/point3d.h"
#include "stripcontrols.h"
#include "tempdir.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <numbers>
#include <sstream>

using namespace kesmora;
using kesmora::test::readAll;
using kesmora::test::TempDir;

using kesmora::test::openWindow;

namespace {

QAction* action(TMainForm& w, const char* name) {
    auto* a = w.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
}

struct Recorded {
    std::vector<QString> errors;
    std::vector<QString> titles, texts;
};

void record(TMainForm& w, Recorded& r) {
    kesmora::fakeDialogs(w).onError = [&r](const QString& m) { r.errors.push_back(m); };
    kesmora::fakeDialogs(w).onInformation = [&r](const QString& t, const QString& m) {
        r.titles.push_back(t);
        r.texts.push_back(m);
    };
}

// Chooses a category and a body as a user does, with clicks; the click builds it.
void chooseBody(TMainForm& w, int categoryItem, const char* name) {
    controls::R1Group(w)->button(categoryItem)->click();
    QApplication::processEvents();
    const auto items = controls::LB1(w)->findItems(QString::fromUtf8(name), Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty()) << name;
    controls::LB1(w)->scrollToItem(items.front());
    QTest::mouseClick(controls::LB1(w)->viewport(), Qt::LeftButton, {},
                      controls::LB1(w)->visualItemRect(items.front()).center());
    QApplication::processEvents();
}

int pdfPages(const std::string& bytes) {
    int pages = 0;
    for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1))
        if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pages;
    return pages;
}

// A pyramid over a 200-gon: 201 vertices and 201 faces. Its lines end with `eol`; comments and blanks after it fill the file to exactly `size` bytes.
std::string paddedPyramid(std::size_t size, const std::string& eol) {
    std::ostringstream s;
    s.imbue(std::locale::classic());
    s.precision(9);
    s << "OFF" << eol << "201 201 400" << eol;
    for (int k = 0; k < 200; ++k) {
        const double a = 2 * std::numbers::pi * k / 200;
        s << std::cos(a) << ' ' << std::sin(a) << " 0" << eol;
    }
    s << "0 0 1.5" << eol << "200";
    for (int k = 199; k >= 0; --k)
        s << ' ' << k;
    s << eol;
    for (int k = 0; k < 200; ++k)
        s << "3 " << k << ' ' << (k + 1) % 200 << " 200" << eol;
    std::string text = s.str();
    const std::string comment = "# eine Zeile, die die Datei bis an ihre Grenze füllt" + eol;
    while (text.size() + comment.size() <= size)
        text += comment;
    text.append(size - text.size(), ' '); // a last line of blanks only
    return text;
}

} // namespace

TEST(WindowMenus, FileAndHelpMenusFramePreviousItemsWithTheirShortcuts) {
    auto w = openWindow();
    QStringList titles;
    for (QAction* a : w->menuBar()->actions())
        titles << a->text();
    // "Datei" comes first and "Hilfe" last; what stood between stays in its order.
    ASSERT_GE(titles.size(), 4);
    EXPECT_EQ(titles.front(), "Datei");
    EXPECT_EQ(titles.back(), "Hilfe");
    EXPECT_EQ(titles[1], "Beenden");
    EXPECT_EQ(titles[2], "Einstellungen");
    EXPECT_EQ(action(*w, "openAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(action(*w, "savePictureAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(action(*w, "exportAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(action(*w, "printNetAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(controls::menuItem(*w, "M1")->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_EQ(controls::menuItem(*w, "M2")->shortcut(), QKeySequence(Qt::Key_F2));
}

TEST(WindowMenus, SavedPictureIsTheDrawingAreaAsShown) {
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    TempDir dir("window-picture");
    // Turned and zoomed first: the file shows the picture on screen, not a fresh build.
    QTest::keyClick(w.get(), Qt::Key_F2);
    QTest::qWait(120);
    QTest::keyClick(w.get(), Qt::Key_F2);
    controls::S8(*w)->click();
    QApplication::processEvents();
    const QString png = QString::fromStdString((dir.path() / "bild").string()); // no suffix: PNG
    kesmora::fakeDialogs(*w).fileChooser = [&](const TMainForm::FileRequest& request) {
        EXPECT_TRUE(request.save);
        EXPECT_TRUE(request.filters.contains("*.svg"));
        EXPECT_EQ(request.suggestedName, QString::fromUtf8("Hexaeder, Würfel.png")); // named after the body
        return png;
    };
    action(*w, "savePictureAction")->trigger();
    QImage saved(png + ".png");
    ASSERT_FALSE(saved.isNull()) << (r.errors.empty() ? "" : r.errors.front().toStdString());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), w->sceneBitmap().convertToFormat(QImage::Format_RGB32));

    const QString svg = QString::fromStdString((dir.path() / "bild.svg").string());
    kesmora::fakeDialogs(*w).fileChooser = [&](const TMainForm::FileRequest&) { return svg; };
    action(*w, "savePictureAction")->trigger();
    QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), w->sceneBitmap().size()));
    EXPECT_TRUE(r.errors.empty());

    // "Durchdringung 3" has no vector form: a message, and no file.
    controls::modeButtons(*w)[6]->click();
    ASSERT_EQ(w->renderSettings().mode, DrawMode::Interpenetration3);
    QApplication::processEvents();
    const QString refused = QString::fromStdString((dir.path() / "mode7.svg").string());
    kesmora::fakeDialogs(*w).fileChooser = [&](const TMainForm::FileRequest&) { return refused; };
    action(*w, "savePictureAction")->trigger();
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_TRUE(r.errors.front().contains("Durchdringung 3")) << r.errors.front().toStdString();
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "mode7.svg"));

    // Cancelling the dialog writes nothing and says nothing.
    kesmora::fakeDialogs(*w).fileChooser = [](const TMainForm::FileRequest&) { return QString(); };
    action(*w, "savePictureAction")->trigger();
    EXPECT_EQ(r.errors.size(), 1u);
}

TEST(WindowMenus, ExportWritesSolidOrDualOutwardInEachFormat) {
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    TempDir dir("window-export");
    const SolidModel& m = w->model();
    const auto exportAs = [&](bool dual, MeshFormat format, const char* file) {
        const QString path = QString::fromStdString((dir.path() / file).string());
        kesmora::fakeDialogs(*w).exportChooser = [=]() {
            return std::optional<TMainForm::ExportChoice>({dual, static_cast<int>(format), path});
        };
        action(*w, "exportAction")->trigger();
        return readAll(dir.path() / file);
    };
    // OFF: the counts of the figure on screen.
    const std::string off = exportAs(false, MeshFormat::Off, "solid.off");
    const std::string head = std::to_string(m.solid.vertices.size()) + " " + std::to_string(m.solid.faces.size());
    EXPECT_NE(off.find(head), std::string::npos) << off.substr(0, 40);
    const std::string dualOff = exportAs(true, MeshFormat::Off, "dual.off");
    const std::string dualHead = std::to_string(m.dual.vertices.size()) + " " + std::to_string(m.dual.faces.size());
    EXPECT_NE(dualOff.find(dualHead), std::string::npos) << dualOff.substr(0, 40);
    // Binary STL: 84 bytes of head and count, 50 per triangle, the count agreeing with the size.
    const std::string stl = exportAs(false, MeshFormat::Stl, "solid.stl");
    ASSERT_GE(stl.size(), 84u);
    const auto count = static_cast<std::uint32_t>(static_cast<unsigned char>(stl[80])) |
                       static_cast<std::uint32_t>(static_cast<unsigned char>(stl[81])) << 8;
    EXPECT_EQ(stl.size(), 84u + 50u * count);
    EXPECT_GT(count, 0u);
    // The OBJ names the body in German; the ASCII STL is a closed "solid … endsolid".
    const std::string obj = exportAs(true, MeshFormat::Obj, "dual.obj");
    EXPECT_NE(obj.find("dualer Körper"), std::string::npos) << obj.substr(0, 80);
    const std::string ascii = exportAs(false, MeshFormat::StlAscii, "solid-ascii.stl");
    EXPECT_EQ(ascii.rfind("solid ", 0), 0u);
    EXPECT_NE(ascii.find("endsolid"), std::string::npos);

    // The file holds the solid in its own units however the view is turned; "wie gezeigt" holds
    // the view's vertices.
    const auto exportPlaced = [&](bool asShown, const char* file) {
        const QString path = QString::fromStdString((dir.path() / file).string());
        kesmora::fakeDialogs(*w).exportChooser = [=]() {
            TMainForm::ExportChoice choice{false, static_cast<int>(MeshFormat::Off), path};
            choice.asShown = asShown;
            return std::optional<TMainForm::ExportChoice>(choice);
        };
        action(*w, "exportAction")->trigger();
        return parsePolyhedronText(readAll(dir.path() / file), file);
    };
    const PolyMesh before = exportPlaced(false, "units-1.off");
    const Point3D firstBefore = m.solid.vertices[0];
    controls::D2(*w)->click(); // the turning starts, and stops again after a while
    QTest::qWait(150);
    controls::D2(*w)->click();
    ASSERT_GT(norm(m.solid.vertices[0] - firstBefore), 1e-3) << "the view did not turn";
    const PolyMesh after = exportPlaced(false, "units-2.off");
    const PolyMesh shown = exportPlaced(true, "shown.off");
    ASSERT_EQ(after.vertices.size(), before.vertices.size());
    ASSERT_EQ(shown.vertices.size(), static_cast<std::size_t>(m.solid.vertices.size()));
    for (std::size_t i = 0; i < before.vertices.size(); ++i) {
        EXPECT_LE(norm(after.vertices[i] - before.vertices[i]), 1e-12) << i;
        EXPECT_EQ(norm(shown.vertices[i] - m.solid.vertices[static_cast<int>(i)]), 0.0) << i;
    }
    EXPECT_TRUE(r.errors.empty());
}

// The export dialog's placement as a user sets it: the body's own units, a longest edge in
// millimetres, or "wie gezeigt", which leaves no length to set.
TEST(WindowMenus, ExportDialogPlacesTheFigure) {
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    TempDir dir("window-export-placed");
    bool edgeEnabledAsShown = true;
    const auto exportCube = [&](int placement, double millimetres, const char* file) {
        bool answered = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (answered || !dialog || !dialog->isVisible()) return;
            answered = true;
            QComboBox* lage = nullptr;
            QComboBox* format = nullptr;
            for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
                if (box->accessibleName() == QStringLiteral("Lage")) lage = box;
                if (box->accessibleName() == QStringLiteral("Format")) format = box;
            }
            auto* edge = dialog->findChild<QDoubleSpinBox*>();
            if (!lage || !format || !edge) {
                ADD_FAILURE() << "the export dialog has no placement, format or edge length to set";
                dialog->reject();
                return;
            }
            format->setCurrentIndex(format->findText(QStringLiteral("OFF (Object File Format)")));
            edge->setValue(millimetres);
            lage->setCurrentIndex(placement);
            if (placement == 1) edgeEnabledAsShown = edge->isEnabled();
            dialog->accept();
        });
        const QString path = QString::fromStdString((dir.path() / file).string());
        kesmora::fakeDialogs(*w).fileChooser = [=](const TMainForm::FileRequest&) { return path; };
        poll.start();
        action(*w, "exportAction")->trigger();
        poll.stop();
        EXPECT_TRUE(answered) << "no export dialog came up";
        return parsePolyhedronText(readAll(dir.path() / file), file);
    };
    // The cube of edge 1 about its centre, of edge 20 mm, and as the view holds it.
    for (const Point3D& p : exportCube(0, 0, "einheiten.off").vertices)
        for (double c : {p.x, p.y, p.z})
            EXPECT_NEAR(std::fabs(c), 0.5, 1e-9);
    for (const Point3D& p : exportCube(0, 20, "druck.off").vertices)
        for (double c : {p.x, p.y, p.z})
            EXPECT_NEAR(std::fabs(c), 10, 1e-9);
    const PolyMesh shown = exportCube(1, 20, "gezeigt.off");
    ASSERT_EQ(shown.vertices.size(), static_cast<std::size_t>(w->model().solid.vertices.size()));
    for (std::size_t i = 0; i < shown.vertices.size(); ++i)
        EXPECT_EQ(norm(shown.vertices[i] - w->model().solid.vertices[static_cast<int>(i)]), 0.0) << i;
    EXPECT_FALSE(edgeEnabledAsShown);
    EXPECT_TRUE(r.errors.empty());
}

// The export dialog itself, as a user fills it in: the figures it offers, the dual chosen as OBJ,
// and the caption the file carries. The dual is named as it is on screen: the catalogue's dual, a
// Johnson solid's quasi-dual, and with "Dual als polare Reziproke" on the polar reciprocal.
TEST(WindowMenus, ExportDialogNamesTheDualShown) {
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    TempDir dir("window-export-dual");
    std::string offered; // the figures, " | " between them
    // Answers the dialog once it is up: notes the figures, picks the dual and OBJ, presses OK.
    const auto exportDual = [&](const char* file) {
        offered.clear();
        bool answered = false;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (answered || !dialog || !dialog->isVisible()) return;
            answered = true;
            QComboBox* figure = nullptr;
            QComboBox* format = nullptr;
            for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
                if (box->accessibleName() == QStringLiteral("Figur")) figure = box;
                if (box->accessibleName() == QStringLiteral("Format")) format = box;
            }
            if (!figure || !format) {
                ADD_FAILURE() << "the export dialog has no figure or format to choose";
                dialog->reject();
                return;
            }
            QStringList figures;
            for (int i = 0; i < figure->count(); ++i)
                figures << figure->itemText(i);
            offered = figures.join(QStringLiteral(" | ")).toStdString();
            figure->setCurrentIndex(1);
            format->setCurrentIndex(format->findText(QStringLiteral("OBJ (Wavefront)")));
            dialog->accept();
        });
        const QString path = QString::fromStdString((dir.path() / file).string());
        kesmora::fakeDialogs(*w).fileChooser = [=](const TMainForm::FileRequest&) { return path; };
        poll.start();
        action(*w, "exportAction")->trigger();
        poll.stop();
        EXPECT_TRUE(answered) << "no export dialog came up";
        std::istringstream lines(readAll(dir.path() / file));
        std::string first;
        std::getline(lines, first);
        return first;
    };

    const QString cube = controls::P1Caption(*w)->text().section(QStringLiteral(" und "), 0, 0);
    ASSERT_FALSE(cube.isEmpty());
    EXPECT_EQ(exportDual("dual.obj"), "# " + cube.toStdString() + ", dualer Körper");
    EXPECT_EQ(offered, "Körper | dualer Körper");

    controls::menuItem(*w, "M18")->trigger();
    QApplication::processEvents();
    ASSERT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
    EXPECT_EQ(exportDual("reziprok.obj"), "# " + cube.toStdString() + ", polar reziproker Körper");
    EXPECT_EQ(offered, "Körper | polar reziproker Körper");

    // A Johnson solid: its reciprocal, not its quasi-dual, while the menu item is on.
    chooseBody(*w, 2, "Johnson Polyeder 54");
    ASSERT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
    EXPECT_EQ(exportDual("j54-reziprok.obj"), "# Johnson Polyeder 54, polar reziproker Körper");
    EXPECT_EQ(offered, "Körper | polar reziproker Körper");

    controls::menuItem(*w, "M18")->trigger();
    QApplication::processEvents();
    ASSERT_EQ(w->model().dualInfo.kind, DualKind::Catalogue);
    EXPECT_EQ(exportDual("j54.obj"), "# Johnson Polyeder 54, Quasi-Dual");
    EXPECT_EQ(offered, "Körper | Quasi-Dual");
    EXPECT_TRUE(r.errors.empty()) << r.errors.front().toStdString();

    // An opened file's reciprocal; where the file's body has none, the dual from the face centroids
    // it shows instead. An L-shaped prism: the plane of its inner side runs through the centroid of
    // its vertices.
    controls::menuItem(*w, "M18")->trigger();
    QApplication::processEvents();
    std::ofstream(dir.path() / "keil.off", std::ios::binary)
        << "OFF\n6 5 9\n0 0 0\n2 0 0\n0 2 0\n0 0 1\n2 0 1\n0 2 1\n3 0 2 1\n3 3 4 5\n4 0 1 4 3\n"
           "4 1 2 5 4\n4 2 0 3 5\n";
    std::ofstream(dir.path() / "winkel.off", std::ios::binary)
        << "OFF\n12 8 18\n0 0 0\n2 0 0\n2 1 0\n1 1 0\n1 2 0\n0 2 0\n0 0 1\n2 0 1\n2 1 1\n1 1 1\n1 2 1\n"
           "0 2 1\n6 5 4 3 2 1 0\n6 6 7 8 9 10 11\n4 0 1 7 6\n4 1 2 8 7\n4 2 3 9 8\n4 3 4 10 9\n4 4 5 11 10\n"
           "4 5 0 6 11\n";
    ASSERT_TRUE(w->openFile(QString::fromStdString((dir.path() / "keil.off").string())));
    ASSERT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
    EXPECT_EQ(exportDual("keil-reziprok.obj"), "# keil.off, polar reziproker Körper");
    EXPECT_EQ(offered, "Körper | polar reziproker Körper");
    ASSERT_TRUE(w->openFile(QString::fromStdString((dir.path() / "winkel.off").string())));
    ASSERT_TRUE(w->model().dualInfo.reciprocalRefused());
    EXPECT_EQ(exportDual("winkel.obj"), "# winkel.off, dualer Körper");
    EXPECT_EQ(offered, "Körper | dualer Körper");
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(r.texts.size(), 1u); // the refusal, once, as a notice
}

TEST(WindowMenus, PrintedPictureFillsAPdfPage) {
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    TempDir dir("window-print");
    const std::string pdf = (dir.path() / "bild.pdf").string();
    kesmora::fakeDialogs(*w).printSetup = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf));
        return true;
    };
    action(*w, "printPictureAction")->trigger();
    const std::string bytes = readAll(pdf);
    ASSERT_EQ(bytes.rfind("%PDF", 0), 0u) << (r.errors.empty() ? "" : r.errors.front().toStdString());
    EXPECT_EQ(pdfPages(bytes), 1);
    // A cancelled print dialog prints nothing.
    std::filesystem::remove(pdf);
    kesmora::fakeDialogs(*w).printSetup = [](QPrinter&) { return false; };
    action(*w, "printPictureAction")->trigger();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_TRUE(r.errors.empty());
}

TEST(WindowMenus, HelpTellsVersionLicenceAndShortcuts) {
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    action(*w, "aboutAction")->trigger();
    action(*w, "shortcutsAction")->trigger();
    ASSERT_EQ(r.texts.size(), 2u);
    EXPECT_EQ(r.titles[0], QString::fromUtf8("Über Kesmora"));
    EXPECT_TRUE(r.texts[0].contains(QStringLiteral(KESMORA_VERSION)));
    EXPECT_TRUE(r.texts[0].contains("Lizenz"));
    for (const char* key : {"F2", "F3", "Strg+O", "Strg+S", "Strg+E", "Strg+P", "Esc"})
        EXPECT_TRUE(r.texts[1].contains(QString::fromLatin1(key))) << key;
}

// Ctrl+O opens Qt's own file dialog and Escape closes it, over and over, as a user leafing through
// folders does. Each dialog goes with its Escape: no dialog, widget or child of the window stays
// behind, the Escape meant for the dialog does not end the program ("Beenden" is Escape too), and
// no file is opened. Qt keeps the pictures of the dialog's icons in its pixmap cache, which is
// bounded; that is Qt's memory, not counted here. The dialog keeps its state in Qt's settings,
// which go to a folder of the test's own.
TEST(WindowMenus, FileDialogOpenedAndCancelledLeavesNothingBehind) {
    TempDir settings("window-file-dialog-settings");
    const QString settingsPath = QString::fromStdString(settings.path().string());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsPath);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsPath);
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    const QString caption = controls::P1Caption(*w)->text();
    const auto fileDialogs = [] {
        int n = 0;
        for (QWidget* widget : QApplication::allWidgets())
            n += qobject_cast<QFileDialog*>(widget) != nullptr;
        return n;
    };
    const qsizetype childrenBefore = w->findChildren<QObject*>().size();
    const qsizetype widgetsBefore = QApplication::allWidgets().size();

    constexpr int kCycles = 12;
    int shown = 0, forced = 0;
    for (int i = 0; i < kCycles; ++i) {
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get())) << "cycle " << i;
        // Escape goes where the keyboard sends it: to the widget in the dialog that has the focus.
        int polls = 0;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            if (++polls == 1) {
                ++shown;
                EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Polyederdatei öffnen"));
                QWidget* focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
                QTest::keyClick(focus, Qt::Key_Escape);
            } else if (polls > 200) { // the Escape did not close it: closed here, so the test ends
                ++forced;
                dialog->reject();
            }
        });
        poll.start();
        QTest::keyClick(w.get(), Qt::Key_O, Qt::ControlModifier);
        poll.stop();
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(shown, kCycles) << "Ctrl+O did not open the file dialog each time";
    EXPECT_EQ(forced, 0) << "Escape did not close the file dialog";
    EXPECT_EQ(fileDialogs(), 0);
    EXPECT_EQ(QApplication::allWidgets().size(), widgetsBefore);
    EXPECT_EQ(w->findChildren<QObject*>().size(), childrenBefore);
    EXPECT_TRUE(w->isVisible()) << "the Escape for the dialog ended the program";
    EXPECT_TRUE(w->openedFileName().isEmpty());
    EXPECT_EQ(controls::P1Caption(*w)->text(), caption);
    EXPECT_TRUE(r.errors.empty()) << r.errors.front().toStdString();
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home);
}

TEST(WindowAccessibility, TitleLineReadsAsTheBodyShown) {
    auto w = openWindow();
    QAccessibleInterface* title = QAccessible::queryAccessibleInterface(controls::P1Caption(*w));
    ASSERT_NE(title, nullptr);
    EXPECT_FALSE(controls::P1Caption(*w)->text().isEmpty());
    EXPECT_EQ(title->text(QAccessible::Name), controls::P1Caption(*w)->text());
    EXPECT_EQ(title->text(QAccessible::Description), "Titel");
}

TEST(WindowCommandLine, OptionsFileHelpAndErrors) {
    const auto parse = [](QStringList args) {
        args.prepend(QStringLiteral("kesmora"));
        return parseCommandLine(args);
    };
    CommandLineRequest r = parse({"--data", "/tmp/katalog", "würfel.off"});
    EXPECT_TRUE(r.start);
    ASSERT_TRUE(r.dataDir.has_value());
    EXPECT_EQ(r.dataDir->string(), "/tmp/katalog");
    EXPECT_EQ(r.file, QByteArray("würfel.off"));

    r = parse({});
    EXPECT_TRUE(r.start);
    EXPECT_FALSE(r.dataDir.has_value());
    EXPECT_TRUE(r.file.isEmpty());

    r = parse({"--help"});
    EXPECT_FALSE(r.start);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_TRUE(r.text.contains("--data")) << r.text.toStdString();

    r = parse({"--version"});
    EXPECT_FALSE(r.start);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_TRUE(r.text.contains(QCoreApplication::applicationVersion()));

    for (const QStringList& bad : {QStringList{"--gibtsnicht"}, QStringList{"a.off", "b.off"}, QStringList{"--data"}}) {
        r = parse(bad);
        EXPECT_FALSE(r.start) << bad.join(' ').toStdString();
        EXPECT_EQ(r.exitStatus, 2) << bad.join(' ').toStdString();
    }
}

TEST(WindowCommandLine, TheFileNamedOpensOnceTheWindowRuns) {
    TempDir dir("window-cli-file");
    const std::filesystem::path file = dir.path() / "tetra.obj";
    std::ofstream(file, std::ios::binary) << "v 1 1 1\nv 1 -1 -1\nv -1 1 -1\nv -1 -1 1\n"
                                             "f 1 2 3\nf 1 4 2\nf 1 3 4\nf 2 4 3\n";
    const CommandLineRequest request =
        parseCommandLine({QStringLiteral("kesmora"), QString::fromStdString(file.string())});
    ASSERT_TRUE(request.start);
    StartOutcome start = startProgram(std::filesystem::path(KESMORA_BINARY_DIR), request.dataDir);
    ASSERT_NE(start.window, nullptr) << start.message.toStdString();
    start.window->show();
    openWhenShown(*start.window, request.file);
    EXPECT_TRUE(start.window->openedFileName().isEmpty()); // not before the event loop runs
    QApplication::processEvents();
    EXPECT_EQ(start.window->openedFileName(), "tetra.obj");
    EXPECT_EQ(start.window->model().solid.vertices.size(), 4);
    EXPECT_EQ(controls::P1Caption(*start.window)->text(), QString::fromUtf8("tetra.obj und dualer Körper"));
}

// The start with a file of the largest size read, a byte less and a byte more, with each kind of
// line end: the command line's file opens once the event loop runs, or is refused with a message,
// and nothing the open throws reaches the event loop.
TEST(WindowCommandLine, AFileAtTheSizeLimitOpensAtTheStartAndOneByteMoreIsRefused) {
    TempDir dir("window-cli-limit");
    const auto limit = static_cast<std::size_t>(kMaxPolyhedronFileBytes);
    const std::pair<const char*, std::string> ends[] = {{"lf", "\n"}, {"crlf", "\r\n"}, {"cr", "\r"}};
    for (const auto& [endName, eol] : ends) {
        for (const std::size_t size : {limit - 1, limit, limit + 1}) {
            const std::string name = "pyramide-" + std::string(endName) + "-" + std::to_string(size) + ".off";
            const std::filesystem::path file = dir.path() / name;
            std::ofstream(file, std::ios::binary) << paddedPyramid(size, eol);
            ASSERT_EQ(std::filesystem::file_size(file), size);
            SCOPED_TRACE(name);
            const CommandLineRequest request =
                parseCommandLine({QStringLiteral("kesmora"), QString::fromStdString(file.string())});
            ASSERT_TRUE(request.start);
            StartOutcome start = startProgram(std::filesystem::path(KESMORA_BINARY_DIR), request.dataDir);
            ASSERT_NE(start.window, nullptr) << start.message.toStdString();
            Recorded r;
            record(*start.window, r);
            start.window->show();
            openWhenShown(*start.window, request.file);
            EXPECT_NO_THROW({
                ASSERT_TRUE(QTest::qWaitForWindowExposed(start.window.get()));
                QApplication::processEvents();
            });
            const TMainForm& w = *start.window;
            if (size <= limit) {
                EXPECT_TRUE(r.errors.empty()) << r.errors.front().toStdString();
                EXPECT_EQ(w.openedFileName(), QString::fromStdString(name));
                EXPECT_EQ(controls::P1Caption(w)->text(),
                          QString::fromStdString(name) + QString::fromUtf8(" und dualer Körper"));
                EXPECT_EQ(w.model().solid.vertices.size(), 201);
                EXPECT_EQ(w.model().solid.faces.size(), 201);
                EXPECT_EQ(w.model().dual.vertices.size(), 201);
                EXPECT_EQ(w.model().dual.faces.size(), 201);
            } else {
                ASSERT_EQ(r.errors.size(), 1u);
                EXPECT_TRUE(r.errors[0].contains(QString::fromUtf8("größer als 32 MB")))
                    << r.errors[0].toStdString();
                EXPECT_TRUE(w.openedFileName().isEmpty());
                EXPECT_FALSE(controls::P1Caption(w)->text().contains(QStringLiteral("pyramide")));
                EXPECT_NE(w.model().solid.vertices.size(), 201);
            }
        }
    }
}

TEST(WindowCommandLine, GivenDataFolderIsUsedAndAWrongOneNamed) {
    TempDir dir("window-data");
    kesmora::test::copyShippedData(dir.path() / "katalog");
    StartOutcome start = startProgram(dir.path() / "nirgends", dir.path() / "katalog");
    EXPECT_NE(start.window, nullptr) << start.message.toStdString();
    start = startProgram(std::filesystem::path(KESMORA_BINARY_DIR), dir.path() / "leer");
    EXPECT_EQ(start.window, nullptr);
    EXPECT_EQ(start.exitStatus, 1);
    EXPECT_FALSE(start.message.isEmpty());
}

TEST(WindowTranslations, QtDialogsSpeakGerman) {
    ASSERT_TRUE(installGermanQtTranslations(*QCoreApplication::instance()))
        << "Qt's German translations are missing (qt6-translations-l10n)";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    EXPECT_EQ(QCoreApplication::translate("QColorDialog", "Select Color"), QString::fromUtf8("Farbauswahl"));
}

TEST(WindowMenus, NetSavedAndPrintedByTheSharedNetCode) {
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    TempDir dir("window-net");
    const std::string pdf = (dir.path() / "netz.pdf").string();
    const std::string svg = (dir.path() / "netz.svg").string();
    // The solid on screen at 30 mm edges.
    kesmora::fakeDialogs(*w).netChooser = [&](bool save) {
        EXPECT_TRUE(save);
        return std::optional<TMainForm::NetChoice>({0, 30, QString::fromStdString(pdf)});
    };
    action(*w, "saveNetAction")->trigger();
    const std::string saved = readAll(pdf);
    ASSERT_EQ(saved.rfind("%PDF", 0), 0u) << (r.errors.empty() ? "" : r.errors.front().toStdString());
    const int pages = pdfPages(saved);
    EXPECT_GE(pages, 1);

    // The same net printed: as many pages as the saved file.
    const std::string printed = (dir.path() / "gedruckt.pdf").string();
    kesmora::fakeDialogs(*w).netChooser = [&](bool save) {
        EXPECT_FALSE(save);
        return std::optional<TMainForm::NetChoice>({0, 30, QString()});
    };
    kesmora::fakeDialogs(*w).printSetup = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(printed));
        return true;
    };
    action(*w, "printNetAction")->trigger();
    EXPECT_EQ(pdfPages(readAll(printed)), pages);

    // The dual as SVG reads back.
    kesmora::fakeDialogs(*w).netChooser = [&](bool) { return std::optional<TMainForm::NetChoice>({1, 0, QString::fromStdString(svg)}); };
    action(*w, "saveNetAction")->trigger();
    EXPECT_TRUE(QSvgRenderer(QString::fromStdString(svg)).isValid());
    EXPECT_TRUE(r.errors.empty()) << r.errors.front().toStdString();

    // Larger edges spread over more sheets: the truncated icosidodecahedron at 40 mm.
    kesmora::fakeDialogs(*w).netChooser = [&](bool) {
        return std::optional<TMainForm::NetChoice>({0, 40, QString::fromStdString(pdf)});
    };
    chooseBody(*w, 1, "Ikosidodekaederstumpf");
    ASSERT_EQ(w->model().solid.vertices.size(), 120);
    action(*w, "saveNetAction")->trigger();
    EXPECT_GT(pdfPages(readAll(pdf)), 1);
    EXPECT_TRUE(r.errors.empty()) << r.errors.front().toStdString();
}

TEST(WindowMenus, NetOfAWarpedQuasiDualIsRefusedAndWritesNothing) {
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    TempDir dir("window-net-refused");
    chooseBody(*w, 2, "Johnson Polyeder 90");
    ASSERT_EQ(w->model().solid.vertices.size(), 16);
    const std::string pdf = (dir.path() / "j90.pdf").string();
    kesmora::fakeDialogs(*w).netChooser = [&](bool) { return std::optional<TMainForm::NetChoice>({1, 0, QString::fromStdString(pdf)}); };
    action(*w, "saveNetAction")->trigger();
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_TRUE(r.errors.front().contains(QString::fromUtf8("verzogene Flächen"))) << r.errors.front().toStdString();
    EXPECT_FALSE(std::filesystem::exists(pdf));
    // Its polar reciprocal has flat faces and a net.
    kesmora::fakeDialogs(*w).netChooser = [&](bool) { return std::optional<TMainForm::NetChoice>({2, 0, QString::fromStdString(pdf)}); };
    action(*w, "saveNetAction")->trigger();
    EXPECT_EQ(r.errors.size(), 1u) << r.errors.back().toStdString();
    EXPECT_EQ(readAll(pdf).rfind("%PDF", 0), 0u);
}

// A body without a net has the net items off, their tip saying why, before any dialog opens.
TEST(WindowMenus, NetItemsAreOffWhereTheBodyHasNoNet) {
    auto w = openWindow();
    Recorded r;
    record(*w, r);
    TempDir dir("window-net-off");
    auto* menu = w->findChild<QMenu*>(QStringLiteral("fileMenu"));
    ASSERT_NE(menu, nullptr);
    auto shown = [&] { QMetaObject::invokeMethod(menu, "aboutToShow"); };
    shown();
    EXPECT_TRUE(action(*w, "saveNetAction")->isEnabled());
    EXPECT_TRUE(action(*w, "printNetAction")->isEnabled());
    const QString usual = action(*w, "saveNetAction")->toolTip();
    // The stella octangula, two tetrahedra through each other: a compound, which no sheet folds into.
    controls::menuItem(*w, "showHidden")->trigger();
    QApplication::processEvents();
    chooseBody(*w, 0, "Tetraederstern");
    ASSERT_EQ(w->model().solid.vertices.size(), 8);
    shown();
    for (const char* name : {"saveNetAction", "printNetAction"}) {
        EXPECT_FALSE(action(*w, name)->isEnabled()) << name;
        EXPECT_TRUE(action(*w, name)->toolTip().startsWith(QStringLiteral("Kein Netz: "))) << name;
        EXPECT_TRUE(action(*w, name)->toolTip().contains(QStringLiteral("getrennten Körpern")))
            << action(*w, name)->toolTip().toStdString();
    }
    chooseBody(*w, 1, "Ikosidodekaederstumpf");
    shown();
    EXPECT_TRUE(action(*w, "saveNetAction")->isEnabled());
    EXPECT_EQ(action(*w, "saveNetAction")->toolTip(), usual);
    EXPECT_TRUE(r.errors.empty()) << r.errors.front().toStdString();
}

TEST(WindowFiles, FileNamesOfferedAreMadeFromTheBodyWithoutCharactersAFileNameCannotHold) {
    EXPECT_EQ(fileNameFor(QString::fromUtf8("t · Hexaeder, Würfel"), "off"), QString::fromUtf8("t · Hexaeder, Würfel.off"));
    EXPECT_EQ(fileNameFor(QStringLiteral("a/b\\c:d"), "png"), QStringLiteral("a-b-c-d.png"));
    EXPECT_EQ(fileNameFor(QStringLiteral("  "), "pdf"), QStringLiteral("Kesmora.pdf"));
}
