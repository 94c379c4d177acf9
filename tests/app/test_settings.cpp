// What the window remembers from one run to the next, and what it never does: the switches, the
// properties window, the places, the reset; a damaged or unwritable settings file; and full screen.
#include "app/mainwindow.h"
#include "app/paintbox.h"
#include "app/propertieswindow.h"
#include "app/settings.h"
#include "fakedialogs.h"
#include "openwindow.h"
#include "stripcontrols.h"
#include "tempdir.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>

using namespace kesmora;
using kesmora::test::openWindow;

namespace {

QAction* action(const TMainForm& w, const char* name) {
    return controls::named<QAction>(w, name);
}

QString settingsFile() {
    return programSettings()->fileName();
}

// The start state of the window, which no settings file changes: category, body, mode, colours,
// turn steps and the animation stopped.
void expectStartState(const TMainForm& w) {
    EXPECT_EQ(w.selection().currentCategory, Category::Polyeder);
    EXPECT_EQ(w.selection().bodyIndex, 1);
    ASSERT_NE(controls::LB1(w)->currentItem(), nullptr);
    EXPECT_EQ(controls::LB1(w)->currentItem()->text(), QString::fromUtf8("Hexaeder, Würfel"));
    EXPECT_EQ(w.renderSettings().mode, DrawMode::Interpenetration2);
    EXPECT_TRUE(controls::modeButtons(w)[5]->isChecked());
    EXPECT_EQ(w.renderSettings().polygonColours, kInitialPolygonColours);
    EXPECT_FALSE(w.renderSettings().markPoints);
    EXPECT_EQ(controls::t3(w)->value(), 0);
    EXPECT_EQ(controls::t5(w)->value(), 2);
    EXPECT_FALSE(w.animation().running());
    EXPECT_EQ(w.model().solid.vertices.size(), 8);
}

} // namespace

TEST(Settings, KeptInAFolderOfTheTestProgramsOwn) {
    const QString file = settingsFile();
    const QString home = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    ASSERT_FALSE(home.isEmpty());
    EXPECT_TRUE(file.startsWith(home)) << file.toStdString();
    EXPECT_TRUE(file.endsWith(QStringLiteral("Kesmora/") + QCoreApplication::applicationName() + ".ini"))
        << file.toStdString();
}

TEST(Settings, SwitchesAndWindowsComeBackTheStartStateDoesNot) {
    {
        auto w = openWindow();
        action(*w, "showHidden")->trigger();
        action(*w, "M18")->trigger();
        action(*w, "canonicalAction")->trigger();
        action(*w, "correspondenceAction")->trigger();
        action(*w, "propertiesAction")->trigger();
        QApplication::processEvents();
        ASSERT_TRUE(w->propertiesWindow()->isVisible());
        w->propertiesWindow()->placeAt(QPoint(40, 60), QSize(600, 450));
        w->move(150, 90);
        QApplication::processEvents();
        // Things of the start state, changed before closing, are not remembered.
        controls::modeButtons(*w)[2]->click();
        controls::t5(*w)->setValue(7);
        w->close();
    }
    auto w = openWindow();
    QApplication::processEvents();
    EXPECT_TRUE(action(*w, "showHidden")->isChecked());
    EXPECT_TRUE(action(*w, "M18")->isChecked());
    EXPECT_FALSE(action(*w, "canonicalAction")->isChecked());
    EXPECT_TRUE(action(*w, "correspondenceAction")->isChecked());
    EXPECT_TRUE(w->propertiesWindow()->isVisible());
    EXPECT_TRUE(action(*w, "propertiesAction")->isChecked());
    EXPECT_EQ(w->propertiesWindow()->pos(), QPoint(40, 60));
    EXPECT_EQ(w->propertiesWindow()->size(), QSize(600, 450));
    EXPECT_EQ(w->pos(), QPoint(150, 90));
    // The switches work as if clicked: the hidden bodies are listed, the reciprocal is the dual.
    EXPECT_GT(controls::LB1(*w)->count(), 46);
    EXPECT_EQ(w->model().dualInfo.kind, DualKind::PolarReciprocal);
    EXPECT_EQ(controls::P1Caption(*w)->text(), QString::fromUtf8("Hexaeder, Würfel und polar reziproker Körper"));
    expectStartState(*w);
}

TEST(Settings, APlaceOnAScreenThatIsGoneIsNotTaken) {
    rememberSetting(QStringLiteral("window/place"), QStringLiteral("5000 4000 1008 740"));
    rememberSetting(QStringLiteral("properties/place"), QStringLiteral("-3000 10 300 400"));
    rememberSetting(QStringLiteral("properties/open"), true);
    auto w = openWindow();
    QApplication::processEvents();
    const QRect screen = w->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w->frameGeometry())) << w->x() << "," << w->y();
    ASSERT_TRUE(w->propertiesWindow()->isVisible());
    EXPECT_TRUE(screen.contains(w->propertiesWindow()->pos()));
}

TEST(Settings, ResetForgetsEverythingAndPutsTheSwitchesBack) {
    auto w = openWindow();
    action(*w, "showHidden")->trigger();
    action(*w, "M18")->trigger();
    rememberFolderOf(QStringLiteral("picture"), QDir::tempPath() + "/bild.png");
    ASSERT_EQ(rememberedBool(QStringLiteral("switches/showHidden")), true);
    ASSERT_FALSE(rememberedFolder(QStringLiteral("picture")).isEmpty());
    action(*w, "resetSettingsAction")->trigger();
    EXPECT_FALSE(action(*w, "showHidden")->isChecked());
    EXPECT_FALSE(action(*w, "M18")->isChecked());
    EXPECT_EQ(controls::LB1(*w)->count(), 46);
    EXPECT_TRUE(programSettings()->allKeys().isEmpty()) << programSettings()->allKeys().join(' ').toStdString();
    // Closing after the reset leaves nothing behind either: the next start is a first start.
    w->close();
    w.reset();
    EXPECT_TRUE(programSettings()->allKeys().isEmpty()) << programSettings()->allKeys().join(' ').toStdString();
    auto again = openWindow();
    EXPECT_FALSE(action(*again, "showHidden")->isChecked());
    EXPECT_TRUE(action(*again, "canonicalAction")->isChecked());
    EXPECT_FALSE(again->propertiesWindow()->isVisible());
    expectStartState(*again);
}

TEST(Settings, ADamagedOrUnwritableFileNeverStopsTheProgram) {
    const std::string file = settingsFile().toStdString();
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    // Garbage: bytes that are no INI, then an INI whose values are nonsense.
    const std::string garbage[] = {
        std::string("\x00\xff\xfe[[[switches\n=\n\x01\x02 showHidden===\n\xc3(\n", 30),
        "[switches]\nshowHidden=vielleicht\nM18=2\ncanonicalAction=\n[window]\nplace=1 2 drei 4\n"
        "[properties]\nopen=ja\nplace=-99999999999 0 0 0\n[net]\nedgeMillimetres=-5\n[export]\nformat=17\n"};
    for (const std::string& bytes : garbage) {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        auto w = openWindow();
        QApplication::processEvents();
        EXPECT_FALSE(action(*w, "showHidden")->isChecked());
        EXPECT_FALSE(action(*w, "M18")->isChecked());
        EXPECT_TRUE(action(*w, "canonicalAction")->isChecked());
        EXPECT_FALSE(w->propertiesWindow()->isVisible());
        expectStartState(*w);
        EXPECT_EQ(rememberedInt(QStringLiteral("net/edgeMillimetres"), 0, 1000), std::nullopt);
        EXPECT_EQ(rememberedInt(QStringLiteral("export/format"), 0, 3), std::nullopt);
        // Switching and closing write over it, or leave it: either way nothing fails.
        action(*w, "showHidden")->trigger();
        EXPECT_TRUE(action(*w, "showHidden")->isChecked());
        w->close();
    }
    // A file that cannot be written: a folder stands where it would be.
    forgetSettings();
    std::filesystem::remove(file);
    std::filesystem::create_directories(file);
    {
        auto w = openWindow();
        action(*w, "M18")->trigger();
        EXPECT_TRUE(action(*w, "M18")->isChecked());
        action(*w, "resetSettingsAction")->trigger();
        EXPECT_FALSE(action(*w, "M18")->isChecked());
        w->close();
    }
    std::filesystem::remove_all(file);
}

TEST(FullScreen, TheDrawingAloneAcrossTheScreenUntilF11OrEscape) {
    auto w = openWindow();
    auto* box = controls::named<PaintBox>(*w, "PB1");
    const QSize normal = box->size();
    QTest::keyClick(w.get(), Qt::Key_F11);
    QApplication::processEvents();
    ASSERT_TRUE(w->drawingFullScreen());
    const QSize screen = w->screen()->geometry().size();
    EXPECT_TRUE(w->isFullScreen());
    EXPECT_FALSE(w->menuBar()->isVisible());
    EXPECT_FALSE(controls::LB1(*w)->isVisible());
    EXPECT_EQ(box->size(), screen);
    EXPECT_EQ(w->sceneBitmap().size(), screen);
    // Modes by number, zoom by key, turning by F2 and by dragging.
    QTest::keyClick(w.get(), Qt::Key_3);
    EXPECT_EQ(w->renderSettings().mode, DrawMode::ColouredFaces);
    EXPECT_TRUE(controls::modeButtons(*w)[2]->isChecked());
    const double scale = w->model().scale;
    QTest::keyClick(w.get(), Qt::Key_Plus);
    EXPECT_GT(w->model().scale, scale);
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_TRUE(w->animation().running());
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_FALSE(w->animation().running());
    // Escape leaves full screen, and only the second one closes the program.
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(w->drawingFullScreen());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->menuBar()->isVisible());
    EXPECT_TRUE(controls::LB1(*w)->isVisible());
    EXPECT_EQ(box->size(), normal);
    // Outside full screen the digits are the list's again, not the modes'.
    QTest::keyClick(w.get(), Qt::Key_1);
    EXPECT_EQ(w->renderSettings().mode, DrawMode::ColouredFaces);
    QTest::keyClick(w.get(), Qt::Key_F11);
    QTest::keyClick(w.get(), Qt::Key_F11);
    QApplication::processEvents();
    EXPECT_FALSE(w->drawingFullScreen());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
}

namespace {

// Runs `ask` while a poll answers the first modal dialog that comes up with `answer`; returns
// whether one came up.
template <typename Ask> bool answeringDialog(const std::function<void(QDialog&)>& answer, Ask&& ask) {
    bool answered = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (answered || !dialog || !dialog->isVisible()) return;
        answered = true;
        answer(*dialog);
    });
    poll.start();
    ask();
    poll.stop();
    return answered;
}

QComboBox* comboNamed(QDialog& dialog, const char* name) {
    for (QComboBox* box : dialog.findChildren<QComboBox*>())
        if (box->accessibleName() == QString::fromUtf8(name)) return box;
    return nullptr;
}

} // namespace

// The export format, the net's edge length and the folders come back in the next dialog of their
// kind, also in the next run (the same file).
TEST(Settings, DialogsOfferWhatWasChosenLastTime) {
    auto w = openWindow();
    FakeDialogs& fake = fakeDialogs(*w);
    fake.fileChooser = [](const Dialogs::FileRequest&) { return QDir::tempPath() + QStringLiteral("/k.stl"); };
    int formatOffered = -1;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(answeringDialog(
            [&](QDialog& d) {
                QComboBox* format = comboNamed(d, "Format");
                ASSERT_NE(format, nullptr);
                formatOffered = format->currentIndex();
                format->setCurrentIndex(3);
                d.accept();
            },
            [&] { runExportDialog(w.get(), QStringLiteral("Oktaeder"), QStringLiteral("Hexaeder"), fake); }));
        EXPECT_EQ(formatOffered, round == 0 ? 0 : 3);
    }
    int edgeOffered = -1;
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(answeringDialog(
            [&](QDialog& d) {
                auto* edge = d.findChild<QSpinBox*>();
                ASSERT_NE(edge, nullptr);
                edgeOffered = edge->value();
                edge->setValue(45);
                d.accept();
            },
            [&] { runNetDialog(w.get(), false, {QString::fromUtf8("Körper")}, QStringLiteral("Hexaeder"), fake); }));
        EXPECT_EQ(edgeOffered, round == 0 ? 0 : 45);
    }
    // Qt's file dialog opens in the folder of the file chosen last in a dialog of its kind.
    const QString folder = QDir::tempPath();
    rememberFolderOf(QStringLiteral("picture"), folder + QStringLiteral("/alt.png"));
    const std::unique_ptr<Dialogs> real = qtDialogs(w.get());
    QString shownFolder, shownName;
    ASSERT_TRUE(answeringDialog(
        [&](QDialog& d) {
            auto& files = static_cast<QFileDialog&>(d);
            shownFolder = files.directory().absolutePath();
            shownName = files.selectedFiles().value(0);
            d.reject();
        },
        [&] {
            real->chooseFile({QStringLiteral("Bild speichern"), QStringLiteral("PNG-Bild (*.png)"), true,
                              QStringLiteral("Oktaeder.png")});
        }));
    EXPECT_EQ(shownFolder, QDir(folder).absolutePath());
    EXPECT_EQ(QFileInfo(shownName).fileName(), QStringLiteral("Oktaeder.png"));
}

// "Bild speichern…" asks for the size first: as shown, twice, four times or the user's own, which the
// next dialog offers again; the picture is written at that size.
TEST(PictureSize, TheDialogOffersTheSizesAndThePictureIsSavedAtTheOneChosen) {
    auto w = openWindow();
    const QSize shown = w->sceneBitmap().size();
    ASSERT_FALSE(shown.isEmpty());
    struct Answer {
        int choice;
        QSize own;
    };
    QStringList offered;
    bool ownEnabled = false;
    const auto ask = [&](Answer a) {
        std::optional<QSize> result;
        EXPECT_TRUE(answeringDialog(
            [&](QDialog& d) {
                QComboBox* size = comboNamed(d, "Größe");
                const QList<QSpinBox*> sides = d.findChildren<QSpinBox*>();
                ASSERT_NE(size, nullptr);
                ASSERT_EQ(sides.size(), 2);
                offered.clear();
                for (int i = 0; i < size->count(); ++i)
                    offered << size->itemText(i);
                ownEnabled = sides[0]->isEnabled();
                size->setCurrentIndex(a.choice);
                if (a.own.isValid()) {
                    sides[0]->setValue(a.own.width());
                    sides[1]->setValue(a.own.height());
                }
                d.accept();
            },
            [&] { result = runPictureSizeDialog(w.get(), shown); }));
        return result;
    };
    EXPECT_EQ(ask({2, {}}), shown * 4);
    EXPECT_EQ(offered.value(0), QString::fromUtf8("wie gezeigt (%1 × %2)").arg(shown.width()).arg(shown.height()));
    EXPECT_EQ(offered.value(2), QString::fromUtf8("viermal so groß (%1 × %2)").arg(4 * shown.width()).arg(4 * shown.height()));
    EXPECT_FALSE(ownEnabled);
    EXPECT_EQ(ask({3, QSize(3000, 10000)}), QSize(3000, 10000));
    EXPECT_EQ(ask({0, {}}), shown);
    // The last choice of the user's own size comes back with its numbers.
    rememberSetting(QStringLiteral("picture/size"), 3);
    std::optional<QSize> kept;
    ASSERT_TRUE(answeringDialog(
        [&](QDialog& d) {
            const QList<QSpinBox*> sides = d.findChildren<QSpinBox*>();
            ownEnabled = sides.value(0) && sides[0]->isEnabled();
            d.accept();
        },
        [&] { kept = runPictureSizeDialog(w.get(), shown); }));
    EXPECT_TRUE(ownEnabled);
    EXPECT_EQ(kept, QSize(3000, 10000));

    // The window saves the picture at four times its size.
    const kesmora::test::TempDir dir("picture-size");
    const QString file = QString::fromStdString((dir.path() / "gross.png").string());
    FakeDialogs& fake = fakeDialogs(*w);
    fake.pictureSizeChooser = [](QSize s) { return std::optional<QSize>(s * 4); };
    fake.fileChooser = [&](const Dialogs::FileRequest&) { return file; };
    QStringList errors;
    fake.onError = [&](const QString& m) { errors << m; };
    action(*w, "savePictureAction")->trigger();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(QImage(file).size(), shown * 4);
    // Cancelled, nothing is asked further and nothing written.
    QFile::remove(file);
    bool fileAsked = false;
    fake.pictureSizeChooser = [](QSize) { return std::optional<QSize>(); };
    fake.fileChooser = [&](const Dialogs::FileRequest&) {
        fileAsked = true;
        return file;
    };
    action(*w, "savePictureAction")->trigger();
    EXPECT_FALSE(fileAsked);
    EXPECT_FALSE(QFile::exists(file));
}
