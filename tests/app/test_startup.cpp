// The start of the program where the catalogue is looked for in folders with symbolic link loops:
// the look-up takes a loop for a file that is not there, and the start ends with the message that
// names what was looked for and exit status 1, never with an exception from the file system.
#include "app/startup.h"
#include "catalogue/catalogueerror.h"
#include "catalogue/datadir.h"
#include "catalogue/tables.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QWidget>

#include <gtest/gtest.h>

#include "tempdir.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

using namespace kesmora;
namespace fs = std::filesystem;

using kesmora::test::copyShippedData;
using kesmora::test::TempDir;

namespace {

const char* const kDataFiles[] = {kCatalogueFile, kExcludedFile, kCoordFile, kFaceFile};



// An executable's folder "bin" whose data folder holds the catalogue with faces.txt linked to itself.
fs::path binWithSelfLinkedFaces(const TempDir& root) {
    const fs::path bin = root.path() / "bin";
    copyShippedData(bin / "data");
    fs::remove(bin / "data" / kFaceFile);
    fs::create_symlink(kFaceFile, bin / "data" / kFaceFile);
    return bin;
}

// An executable's folder whose two candidate data folders are link loops: "data" linked to itself,
// and share/kesmora and share/loop linked to each other.
fs::path binWithLoopingFolders(const TempDir& root) {
    const fs::path bin = root.path() / "bin";
    fs::create_directories(bin);
    fs::create_directory_symlink("data", bin / "data");
    fs::create_directories(root.path() / "share");
    fs::create_directory_symlink("loop", root.path() / "share" / "kesmora");
    fs::create_directory_symlink("kesmora", root.path() / "share" / "loop");
    return bin;
}

TEST(SymlinkLoop, TheCatalogueLookUpTreatsALoopAsAFileNotThere) {
    {
        const TempDir root("loop-file");
        const fs::path bin = binWithSelfLinkedFaces(root);
        EXPECT_EQ(dataFileState(bin / "data" / kFaceFile), DataFileState::LinkLoop);
        EXPECT_EQ(dataFileState(bin / "data" / kCoordFile), DataFileState::Present);
        EXPECT_EQ(dataFileState(bin / "data" / "nothing.txt"), DataFileState::Missing);
        EXPECT_EQ(dataFileState(bin / "data"), DataFileState::NotAFile);
        std::optional<fs::path> found;
        EXPECT_NO_THROW(found = findDataDir(bin));
        EXPECT_FALSE(found);
        try {
            LoadCatalogueTables(bin / "data");
            ADD_FAILURE() << "the tables loaded through a link loop";
        } catch (const CatalogueError& e) {
            EXPECT_EQ(e.file(), kFaceFile) << e.what();
        }
    }
    {
        const TempDir root("loop-folder");
        const fs::path bin = binWithLoopingFolders(root);
        for (const fs::path& dir : dataDirCandidates(bin))
            for (const char* f : kDataFiles)
                EXPECT_EQ(dataFileState(dir / f), DataFileState::LinkLoop) << dir / f;
        std::optional<fs::path> found;
        EXPECT_NO_THROW(found = findDataDir(bin));
        EXPECT_FALSE(found);
        for (const fs::path& dir : dataDirCandidates(bin))
            EXPECT_THROW(LoadCatalogueTables(dir), CatalogueError) << dir;
    }
}

// The message of a start that must end without a window and with status 1.
std::string failedStartMessage(const fs::path& bin) {
    StartOutcome start;
    EXPECT_NO_THROW(start = startProgram(bin));
    EXPECT_FALSE(start.window);
    EXPECT_EQ(start.exitStatus, 1);
    return start.message.toStdString();
}

TEST(SymlinkLoop, TheStartEndsWithAMessageNamingWhatWasLookedForAndStatus1) {
    {
        const TempDir root("start-loop-file");
        const fs::path bin = binWithSelfLinkedFaces(root);
        const std::string m = failedStartMessage(bin);
        for (const fs::path& dir : dataDirCandidates(bin))
            EXPECT_NE(m.find(dir.string()), std::string::npos) << m;
        EXPECT_NE(m.find("(Schleife symbolischer Verknüpfungen: faces.txt)"), std::string::npos) << m;
        // The other candidate has nothing at all.
        EXPECT_NE(m.find("(fehlt: catalogue.txt, excluded.txt, coordinates.txt, faces.txt)"),
                  std::string::npos)
            << m;
    }
    {
        const TempDir root("start-loop-folder");
        const fs::path bin = binWithLoopingFolders(root);
        const std::string m = failedStartMessage(bin);
        for (const fs::path& dir : dataDirCandidates(bin))
            EXPECT_NE(m.find(dir.string() +
                             " (Schleife symbolischer Verknüpfungen: catalogue.txt, excluded.txt, "
                             "coordinates.txt, faces.txt)"),
                      std::string::npos)
                << m;
    }
    {
        // The healthy folder opens the window; a file that is there but cannot be read ends as well.
        const TempDir root("start-healthy");
        copyShippedData(root.path() / "bin" / "data");
        StartOutcome start = startProgram(root.path() / "bin");
        ASSERT_TRUE(start.window) << start.message.toStdString();
        EXPECT_EQ(start.exitStatus, 0);
        start.window.reset();
        std::ofstream(root.path() / "bin" / "data" / kCatalogueFile, std::ios::trunc) << "";
        start = startProgram(root.path() / "bin");
        EXPECT_FALSE(start.window);
        EXPECT_EQ(start.exitStatus, 1);
        EXPECT_TRUE(start.message.contains(QString::fromLatin1(kCatalogueFile)))
            << start.message.toStdString();
    }
}

// The program itself on a data folder linked to itself: it must not abort (exit 134) but wait on
// its message box, which the headless platform never closes.
TEST(SymlinkLoop, TheProgramDoesNotAbort) {
    const fs::path program = fs::path(KESMORA_BINARY_DIR) / "kesmora";
    if (!fs::is_regular_file(program)) GTEST_SKIP() << "the program is not built";
    const TempDir root("program-loop");
    const fs::path bin = binWithLoopingFolders(root);
    fs::copy_file(program, bin / "kesmora");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString((bin / "kesmora").string()), {});
    ASSERT_TRUE(p.waitForStarted());
    const bool ended = p.waitForFinished(2000);
    if (ended) {
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << p.readAllStandardError().toStdString();
        EXPECT_EQ(p.exitCode(), 1) << p.readAllStandardError().toStdString();
    } else {
        p.kill();
        p.waitForFinished();
    }
    EXPECT_FALSE(p.readAllStandardError().contains("filesystem_error"));
}

} // namespace

namespace {

// The start-up measurement: the time of the first paint, written once the paint has been handled.
TEST(FirstPaintReport, TheTimeOfTheFirstPaintIsWrittenWholeOnce) {
    const TempDir dir("first-paint");
    const QString path = QString::fromStdString((dir.path() / "first").string());
    const auto before = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    QWidget widget;
    widget.resize(120, 80);
    reportFirstPaint(widget, path);
    EXPECT_FALSE(QFile::exists(path)); // nothing before the widget paints
    widget.show();
    for (int i = 0; i < 200 && !QFile::exists(path); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    ASSERT_TRUE(text.endsWith('\n')) << text.toStdString();
    bool ok = false;
    const qint64 at = text.trimmed().toLongLong(&ok);
    ASSERT_TRUE(ok) << text.toStdString();
    EXPECT_GE(at, before);
    EXPECT_LT(at - before, qint64{60} * 1000 * 1000 * 1000);
    // Later paints leave it as it is.
    file.close();
    QFile::remove(path);
    widget.update();
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
