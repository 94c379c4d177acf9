// The user's polyhedron files in the real window, headless: opened, dropped, kept through every
// control, refused without touching the body on screen.
#include "fakedialogs.h"
#include "section_category.h"
#include "app/mainwindow.h"
#include "openwindow.h"
#include "app/paintbox.h"
#include "app/startup.h"
#include "bodies/build.h"
#include "bodies/polyhedronfile.h"
#include "catalogue/tables.h"
#include "export/figurefile.h"
#include "geometry/point3d.h"
#include "modelchecks.h"
#include "stripcontrols.h"
#include "tempdir.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace kesmora;

using kesmora::test::openWindow;

namespace {

QString utf8(const char* s) {
    return QString::fromUtf8(s);
}

QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// A triangular prism, oblique and off the origin: nothing like the cube on screen at the start.
const std::string kPrismOff = "OFF\n6 5 9\n"
                              "3 1 0\n5 1 0\n4 3 0\n"
                              "3.5 1 4\n5.5 1 4\n4.5 3 4\n"
                              "3 0 1 2\n3 3 5 4\n4 0 3 4 1\n4 1 4 5 2\n4 2 5 3 0\n";

void write(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

int nonWhitePixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != qRgb(255, 255, 255);
    return n;
}

// The model's vertex tables and counts, for telling whether anything changed.
std::vector<double> snapshot(const SolidModel& m) {
    std::vector<double> s{
        static_cast<double>(m.solid.vertices.size()), static_cast<double>(m.solid.faces.size()),
        static_cast<double>(m.dual.vertices.size()), static_cast<double>(m.dual.faces.size()), m.scale};
    for (const Figure* f : m.figures())
        for (const Point3D& p : f->vertices)
            s.insert(s.end(), {p.x, p.y, p.z});
    return s;
}

void expectPrism(const TMainForm& w) {
    EXPECT_EQ(controls::P1Caption(w)->text(), utf8("prisma.off und dualer Körper"));
    EXPECT_EQ(w.openedFileName(), "prisma.off");
    EXPECT_EQ(w.model().solid.vertices.size(), 6);
    EXPECT_EQ(w.model().solid.faces.size(), 5);
    EXPECT_EQ(w.model().dual.vertices.size(), 5);
    EXPECT_EQ(w.model().dual.faces.size(), 6);
}

} // namespace

TEST(OpenFile, OpenedBodyWorksWithEveryControlAndEnterRebuildsItFromMemory) {
    test::TempDir dir("openfile");
    write(dir.path() / "prisma.off", kPrismOff);
    auto w = openWindow();
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };

    // The animation runs; opening stops it, as choosing a body does.
    QTest::keyClick(w.get(), Qt::Key_F2);
    ASSERT_TRUE(controls::Timer1(*w)->isActive());
    const int builds = w->buildCount();
    ASSERT_TRUE(w->openFile(qpath(dir.path() / "prisma.off")));
    EXPECT_FALSE(controls::Timer1(*w)->isActive());
    EXPECT_EQ(controls::D2(*w)->text(), "Rotation");
    EXPECT_EQ(w->buildCount(), builds + 1);
    expectPrism(*w);
    EXPECT_NEAR(kesmora::testing::largestCoordinate(w->model()), 200, 1e-9);
    // The file's body is none of the list's: no row looks chosen.
    EXPECT_TRUE(controls::LB1(*w)->selectedItems().isEmpty());
    const std::vector<double> fresh = snapshot(w->model());
    // Gone from the disk: from now on the body lives in memory alone.
    std::filesystem::remove(dir.path() / "prisma.off");

    for (QRadioButton* mode : controls::modeButtons(*w)) {
        mode->click();
        QApplication::processEvents();
        EXPECT_GT(nonWhitePixels(w->sceneBitmap()), 500) << mode->text().toStdString();
        expectPrism(*w);
    }
    // A turn by dragging, a zoom, an animation tick, the marks: all on the prism.
    QTest::mousePress(controls::PB1(*w), Qt::LeftButton, {}, QPoint(300, 200));
    QTest::mouseMove(controls::PB1(*w), QPoint(250, 260));
    QTest::mouseRelease(controls::PB1(*w), Qt::LeftButton, {}, QPoint(250, 260));
    EXPECT_NE(snapshot(w->model()), fresh);
    const double scale = w->model().scale;
    controls::S8(*w)->click();
    EXPECT_NEAR(w->model().scale, scale * 1.1, 1e-12);
    const std::vector<double> zoomed = snapshot(w->model());
    // A few ticks of the turning.
    QTest::keyClick(w.get(), Qt::Key_F2);
    QTRY_VERIFY_WITH_TIMEOUT(snapshot(w->model()) != zoomed, 5000); // however busy the machine
    QTest::keyClick(w.get(), Qt::Key_F2);
    controls::CB1(*w)->click();
    EXPECT_TRUE(w->renderSettings().markPoints);
    expectPrism(*w);

    // Enter builds the prism again in its first place and size; so do "Darstellung", a colour and
    // a repaint of the drawing area.
    QTest::keyClick(w.get(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(snapshot(w->model()), fresh);
    expectPrism(*w);
    controls::S9(*w)->click();
    controls::D1(*w)->click();
    EXPECT_EQ(snapshot(w->model()), fresh);
    kesmora::fakeDialogs(*w).colourChooser = [](QColor) { return std::optional<QColor>(QColor(1, 2, 3)); };
    controls::S8(*w)->click();
    controls::colourButtons(*w)[1]->click();
    EXPECT_EQ(snapshot(w->model()), fresh);
    controls::S8(*w)->click();
    const int beforeResize = w->buildCount();
    w->showMaximized(); // the drawing area resized and painted anew
    QApplication::processEvents();
    EXPECT_GT(w->buildCount(), beforeResize);
    EXPECT_EQ(snapshot(w->model()), fresh);
    w->showNormal();
    QApplication::processEvents();
    expectPrism(*w);
    EXPECT_TRUE(messages.empty());

    // A body chosen in the list takes over as before.
    const auto items = controls::LB1(*w)->findItems("Oktaeder", Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty());
    controls::LB1(*w)->setCurrentItem(items.first());
    QApplication::processEvents();
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Oktaeder und dualer Körper"));
    EXPECT_TRUE(w->openedFileName().isEmpty());
    EXPECT_EQ(w->model().solid.vertices.size(), 6);
    EXPECT_EQ(w->model().solid.faces.size(), 8);
    QTest::keyClick(w.get(), Qt::Key_Return);
    EXPECT_EQ(w->model().solid.faces.size(), 8);
    EXPECT_TRUE(messages.empty());
}

TEST(OpenFile, BadFilesAreReportedAndLeaveTheBodyOnScreen) {
    test::TempDir dir("openfile-bad");
    write(dir.path() / "prisma.off", kPrismOff);
    write(dir.path() / "leer.off", "");
    write(dir.path() / "kaputt.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 7\n");
    // a box without its lid
    write(dir.path() / "offen.off", "OFF\n8 5 0\n0 0 0\n2 0 0\n2 2 0\n0 2 0\n0 0 2\n2 0 2\n2 2 2\n0 2 2\n"
                                    "4 0 3 2 1\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n");
    write(dir.path() / "unendlich.obj", "v 0 0 inf\n");
    std::filesystem::create_directory(dir.path() / "ordner.off");
    {
        std::ofstream big(dir.path() / "riesig.obj", std::ios::binary);
        big << std::string(static_cast<std::size_t>(kMaxPolyhedronFileBytes) + 1, '#');
    }
    auto w = openWindow();
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };

    // Over the cube at the start, and over an opened file, which stays opened.
    for (bool overFile : {false, true}) {
        if (overFile) {
            ASSERT_TRUE(w->openFile(qpath(dir.path() / "prisma.off")));
        }
        controls::S8(*w)->click(); // a zoom, which a refused file must not undo either
        const std::vector<double> before = snapshot(w->model());
        const QString title = controls::P1Caption(*w)->text();
        const int builds = w->buildCount();
        const struct {
            const char* file;
            const char* says;
        } cases[] = {
            {"fehlt.off", "gibt es nicht"},
            {"ordner.off", "ein Ordner"},
            {"leer.off", "ist leer"},
            {"riesig.obj", "größer als 32 MB"},
            {"kaputt.obj", "nennt die Ecke 7; die Datei hat nur 3 Ecken (Datei kaputt.obj, Zeile 4)"},
            {"unendlich.obj", "keine endliche Zahl (Datei unendlich.obj, Zeile 1)"},
            {"offen.off", "nicht geschlossen (Datei offen.off, Zeile"},
        };
        for (const auto& c : cases) {
            messages.clear();
            EXPECT_FALSE(w->openFile(qpath(dir.path() / c.file)));
            ASSERT_EQ(messages.size(), 1u) << c.file;
            EXPECT_TRUE(messages[0].contains(utf8(c.says))) << messages[0].toStdString();
            EXPECT_TRUE(messages[0].contains(utf8(c.file))) << messages[0].toStdString();
            EXPECT_EQ(snapshot(w->model()), before) << c.file;
            EXPECT_EQ(controls::P1Caption(*w)->text(), title);
            EXPECT_EQ(w->buildCount(), builds);
        }
        messages.clear();
        EXPECT_FALSE(w->openFile(QString())); // a file dialog cancelled
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(snapshot(w->model()), before);
        // Enter still builds what was on screen.
        QTest::keyClick(w.get(), Qt::Key_Return);
        EXPECT_EQ(controls::P1Caption(*w)->text(), title);
        EXPECT_EQ(w->model().solid.faces.size(), overFile ? 5 : 6);
    }
}

TEST(OpenFile, ADroppedFileOpensAndOnlyLocalFilesAreTaken) {
    test::TempDir dir("openfile-drop");
    write(dir.path() / "prisma.off", kPrismOff);
    auto w = openWindow();
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    EXPECT_TRUE(w->acceptDrops());

    const auto drag = [&](const QList<QUrl>& urls) {
        QMimeData mime;
        mime.setUrls(urls);
        const QPoint at = controls::PB1(*w)->mapTo(w.get(), QPoint(200, 200));
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.get(), &enter);
        const bool accepted = enter.isAccepted();
        if (accepted) {
            QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w.get(), &drop);
            QApplication::processEvents();
        }
        return accepted;
    };
    EXPECT_FALSE(drag({QUrl(QStringLiteral("https://example.org/prisma.off"))}));
    EXPECT_EQ(w->model().solid.vertices.size(), 8);
    EXPECT_TRUE(drag({QUrl(QStringLiteral("https://example.org/x.off")),
                      QUrl::fromLocalFile(qpath(dir.path() / "prisma.off"))}));
    expectPrism(*w);
    EXPECT_TRUE(messages.empty());
    // A name beyond ASCII reaches the title as it is.
    write(dir.path() / "Prismenstück.off", kPrismOff);
    EXPECT_TRUE(drag({QUrl::fromLocalFile(qpath(dir.path() / "Prismenstück.off"))}));
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Prismenstück.off und dualer Körper"));
    // A dropped file that is no polyhedron is reported like an opened one.
    write(dir.path() / "notiz.txt", "Einkaufsliste\n");
    EXPECT_TRUE(drag({QUrl::fromLocalFile(qpath(dir.path() / "notiz.txt"))}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(utf8("keine Polyederdatei")));
    EXPECT_TRUE(messages[0].endsWith(utf8("(Datei notiz.txt)")));
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("Prismenstück.off und dualer Körper"));
}

TEST(OpenFile, AFileOpenedBeforeTheWindowIsShownKeepsItsTitleAndACategoryEndsIt) {
    test::TempDir dir("openfile-early");
    write(dir.path() / "prisma.off", kPrismOff);
    auto w = openWindow(KESMORA_DATA_DIR, false);
    ASSERT_TRUE(w->openFile(qpath(dir.path() / "prisma.off")));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QApplication::processEvents();
    expectPrism(*w);

    // A category chosen names its first body, which the next build shows, as after any body.
    controls::R1Group(*w)->button(1)->click(); // "Archimedische Körper"
    EXPECT_TRUE(w->openedFileName().isEmpty());
    EXPECT_NE(controls::P1Caption(*w)->text(), utf8("prisma.off und dualer Körper"));
    QTest::keyClick(w.get(), Qt::Key_Return);
    EXPECT_EQ(w->selection().currentCategory, Category::Archimedean);
    EXPECT_NE(w->model().solid.vertices.size(), 6);
}

TEST(OpenFile, ABodyThatFailsToBuildAfterAFileGivesTheFileBack) {
    test::TempDir dir("openfile-damaged");
    test::copyShippedData(dir.path() / "data");
    {
        // The octahedron's count line made a word.
        std::string coords = test::readAll(dir.path() / "data" / "coordinates.txt");
        const auto at = coords.find("[3]\n6\n");
        ASSERT_NE(at, std::string::npos);
        coords.replace(at, 6, "[3]\nsechs\n");
        write(dir.path() / "data" / "coordinates.txt", coords);
    }
    write(dir.path() / "prisma.off", kPrismOff);
    auto w = std::make_unique<TMainForm>(dir.path() / "data");
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QApplication::processEvents();
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    ASSERT_TRUE(w->openFile(qpath(dir.path() / "prisma.off")));
    const std::vector<double> fresh = snapshot(w->model());

    const auto items = controls::LB1(*w)->findItems("Oktaeder", Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty());
    controls::LB1(*w)->setCurrentItem(items.first());
    QApplication::processEvents();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains("coordinates.txt"));
    expectPrism(*w);
    QTest::keyClick(w.get(), Qt::Key_Return);
    EXPECT_EQ(snapshot(w->model()), fresh);
    expectPrism(*w);
    EXPECT_EQ(messages.size(), 1u);
}

// With "Dual als polare Reziproke" on, an opened body gets its polar reciprocal as the dual where it
// has one; a face plane through its centre keeps the dual from the face centroids, with a message.
TEST(OpenFile, PolarReciprocalOfAnOpenedBody) {
    test::TempDir dir("openfile-reciprocal");
    write(dir.path() / "prisma.off", kPrismOff);
    // An L-shaped prism: the plane of its inner side runs through the centroid of its vertices.
    write(dir.path() / "winkel.off", "OFF\n12 8 18\n0 0 0\n2 0 0\n2 1 0\n1 1 0\n1 2 0\n0 2 0\n"
                                     "0 0 1\n2 0 1\n2 1 1\n1 1 1\n1 2 1\n0 2 1\n"
                                     "6 5 4 3 2 1 0\n6 6 7 8 9 10 11\n4 0 1 7 6\n4 1 2 8 7\n"
                                     "4 2 3 9 8\n4 3 4 10 9\n4 4 5 11 10\n4 5 0 6 11\n");
    auto w = openWindow();
    // Errors and notices alike: the refusal of the reciprocal is a notice.
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    kesmora::fakeDialogs(*w).onInformation = [&](const QString&, const QString& m) { messages.push_back(m); };
    ASSERT_TRUE(w->openFile(qpath(dir.path() / "prisma.off")));
    const std::vector<double> catalogueDual = snapshot(w->model());
    controls::menuItem(*w, "M18")->trigger(); // on: the file's body is built again with the reciprocal
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("prisma.off und polar reziproker Körper"));
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
    EXPECT_EQ(w->model().dual.vertices.size(), 5);
    EXPECT_EQ(w->model().dual.faces.size(), 6);
    EXPECT_NE(snapshot(w->model()), catalogueDual);
    EXPECT_TRUE(messages.empty()) << messages.front().toStdString();

    ASSERT_TRUE(w->openFile(qpath(dir.path() / "winkel.off")));
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::Catalogue);
    EXPECT_TRUE(w->model().dualInfo.reciprocalRefused());
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("winkel.off und dualer Körper"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages.front().startsWith(utf8("winkel.off hat keine polare Reziproke")))
        << messages.front().toStdString();
    EXPECT_EQ(w->model().dual.faces.size(), 12);

    controls::menuItem(*w, "M18")->trigger(); // off again: the dual from the face centroids, as before
    ASSERT_TRUE(w->openFile(qpath(dir.path() / "prisma.off")));
    EXPECT_EQ(snapshot(w->model()), catalogueDual);
    expectPrism(*w);
}

// A file the program writes itself: the quasi-dual of a Johnson solid, whose warped faces the dual
// from the face centroids cuts into more faces than the catalogue's dual may have. A file's dual
// has no such limit: it opens with either dual, and switching between them keeps it on screen.
TEST(OpenFile, AFileWhoseCutDualIsLargerThanTheCataloguesOpensWithEitherDual) {
    test::TempDir dir("openfile-reciprocal-limits");
    const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    auto w = openWindow();
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    for (const char* name : {"Johnson Polyeder 71", "Johnson Polyeder 72", "Johnson Polyeder 75"}) {
        SCOPED_TRACE(name);
        Selection s;
        s.currentCategory = Category::Johnson;
        neuwert(s, tables, name);
        const SolidModel johnson = buildSolid(tables, s, name);
        const std::filesystem::path file = dir.path() / "quasidual.obj";
        writeFigureFile(johnson, true, MeshFormat::Obj, "Quasi-Dual", file.string());

        messages.clear();
        ASSERT_TRUE(w->openFile(qpath(file))) << messages.front().toStdString();
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(w->model().dualInfo.kind, DualKind::Catalogue);
        EXPECT_GT(w->model().dual.faces.size(), kMaxFaces);
        EXPECT_EQ(w->model().dual.faces.size(), w->model().dual.faceRecords.size());

        controls::menuItem(*w, "M18")->trigger();
        ASSERT_TRUE(controls::menuItem(*w, "M18")->isChecked());
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
        EXPECT_EQ(w->model().dual.vertices.size(), johnson.dual.faces.size());
        EXPECT_EQ(w->model().dual.faces.size(), johnson.dual.vertices.size());
        EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("quasidual.obj und polar reziproker Körper"));
        QTest::keyClick(w.get(), Qt::Key_Return); // built again from what was read
        EXPECT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
        controls::menuItem(*w, "M18")->trigger();
        EXPECT_TRUE(messages.empty());
        EXPECT_FALSE(controls::menuItem(*w, "M18")->isChecked());
        EXPECT_EQ(w->model().dualInfo.kind, DualKind::Catalogue);
        EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("quasidual.obj und dualer Körper"));
    }
}

// Names as the file system has them: bytes that are no UTF-8 open the file all the same, and the
// title and the messages show such bytes and control characters escaped, never raw.
TEST(OpenFile, FileNamesThatAreNoUtf8OrHoldControlCharacters) {
    test::TempDir dir("openfile-names");
    auto w = openWindow();
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    const std::string latin1 = "w\xFCrfel_\xFF\xFE.off";
    write(dir.path() / latin1, kPrismOff);
    const QByteArray bytes = QByteArray::fromStdString((dir.path() / latin1).string());
    ASSERT_TRUE(w->openFile(bytes)) << (messages.empty() ? "" : messages.front().toStdString());
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("w\\xFCrfel_\\xFF\\xFE.off und dualer Körper"));

    const std::string escape = "rot\x1B[31m\x07.off";
    write(dir.path() / escape, "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n");
    EXPECT_FALSE(w->openFile(QByteArray::fromStdString((dir.path() / escape).string())));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages.front().contains(utf8("(Datei rot\\x1B[31m\\x07.off)"))) << messages.front().toStdString();
    EXPECT_FALSE(messages.front().contains(QChar(0x1B)));
    EXPECT_EQ(controls::P1Caption(*w)->text(), utf8("w\\xFCrfel_\\xFF\\xFE.off und dualer Körper")); // still on screen

    // The command line keeps the bytes the system gave, though Qt's own list has lost them.
    const CommandLineRequest request = parseCommandLine(
        {QStringLiteral("kesmora"), QString::fromLocal8Bit(bytes)}, {QByteArray("kesmora"), bytes});
    EXPECT_EQ(request.file, bytes);
    EXPECT_NE(QFile::encodeName(QString::fromLocal8Bit(bytes)), bytes);
}

// Faces that do not make a body, as the user's files give them: flat bodies are refused, thin ones
// shown (with the dual from the face centroids where the reciprocal would dwarf them), and two
// neighbouring faces in one plane have no reciprocal, whose poles would coincide.
TEST(OpenFile, FlatThinAndCoplanarBodies) {
    test::TempDir dir("openfile-flat");
    auto w = openWindow();
    std::vector<QString> messages;
    kesmora::fakeDialogs(*w).onError = [&](const QString& m) { messages.push_back(m); };
    kesmora::fakeDialogs(*w).onInformation = [&](const QString&, const QString& m) { messages.push_back(m); };
    write(dir.path() / "flach.off", "OFF\n4 4 6\n0 0 0\n1 0 0\n0 1 0\n1 1 0\n3 0 1 2\n3 1 3 2\n3 0 2 3\n3 0 3 1\n");
    EXPECT_FALSE(w->openFile(qpath(dir.path() / "flach.off")));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages.front().contains(utf8("Alle Ecken liegen in einer Ebene"))) << messages.front().toStdString();

    const std::string slab = "OFF\n8 6 12\n-1 -1 -1e-5\n1 -1 -1e-5\n1 1 -1e-5\n-1 1 -1e-5\n"
                             "-1 -1 1e-5\n1 -1 1e-5\n1 1 1e-5\n-1 1 1e-5\n"
                             "4 0 3 2 1\n4 4 5 6 7\n4 0 1 5 4\n4 1 2 6 5\n4 2 3 7 6\n4 3 0 4 7\n";
    write(dir.path() / "platte.off", slab);
    messages.clear();
    ASSERT_TRUE(w->openFile(qpath(dir.path() / "platte.off")));
    EXPECT_TRUE(messages.empty());
    controls::menuItem(*w, "M18")->trigger(); // the reciprocal: its poles would lie 1e5 times as far out as the corners
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::Catalogue);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages.front().contains(utf8("zu flach"))) << messages.front().toStdString();
    // Drawn at its size: the square's side is a good part of the picture, not a speck.
    EXPECT_GT(kesmora::testing::largestCoordinate(w->model()), 199);
    EXPECT_GT(std::fabs(w->model().solid.vertices[0].x - w->model().solid.vertices[2].x) +
                  std::fabs(w->model().solid.vertices[0].y - w->model().solid.vertices[2].y),
              100);

    // A cube whose top is two rectangles in one plane.
    write(dir.path() / "geteilt.off", "OFF\n10 7 15\n0 0 0\n2 0 0\n2 2 0\n0 2 0\n0 0 2\n2 0 2\n2 2 2\n0 2 2\n"
                                      "1 0 2\n1 2 2\n"
                                      "4 0 3 2 1\n4 4 8 9 7\n4 8 5 6 9\n5 0 1 5 8 4\n4 1 2 6 5\n"
                                      "5 2 3 7 9 6\n4 3 0 4 7\n");
    messages.clear();
    ASSERT_TRUE(w->openFile(qpath(dir.path() / "geteilt.off")));
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::Catalogue);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages.front().contains(utf8("Die Flächen 2 und 3 grenzen aneinander und liegen in einer Ebene")))
        << messages.front().toStdString();
    for (int i = 0; i < w->model().dual.vertices.size(); ++i)
        for (int j = 0; j < i; ++j)
            EXPECT_GT(norm(w->model().dual.vertices[i] - w->model().dual.vertices[j]), 1.0);
}
