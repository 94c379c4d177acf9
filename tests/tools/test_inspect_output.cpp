// The inspector's output files as a user meets them on a full disk, on standard output and under
// other picture suffixes: a file appears whole or not at all.
#include "inspector_process.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {
// The system's own words for an error, in the language of the locale the inspector runs under.
QByteArray reason(int error) {
    return QByteArray(std::strerror(error));
}
} // namespace

namespace fs = std::filesystem;

namespace {

// An empty folder of its own for each test, gone afterwards.
struct Folder {
    fs::path path;
    explicit Folder(const std::string& name)
        : path(fs::temp_directory_path() /
               ("kesmora-test-output-" + name + "-" + std::to_string(QCoreApplication::applicationPid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    QString file(const std::string& name) const { return QString::fromStdString((path / name).string()); }
    std::vector<std::string> entries() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(path))
            out.push_back(e.path().filename().string());
        return out;
    }
};

InspectorResult finish(QProcess& p, const QStringList& args) {
    EXPECT_TRUE(p.waitForFinished(120000)) << args.join(' ').toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// Files may grow to `limit` bytes only, so writing stops part-way with an error as on a full disk;
// SIGXFSZ ignored, the write returns EFBIG instead of ending the process.
InspectorResult inspectWithFileLimit(const QStringList& args, rlim_t limit) {
    QProcess p;
    p.setChildProcessModifier([limit] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
    });
    p.start(QStringLiteral(KESMORA_BINARY_DIR "/kesmora-inspect"), args);
    return finish(p, args);
}

// Standard output goes to `file` (a regular file or a device).
InspectorResult inspectWithStdout(const QStringList& args, const QString& file) {
    QProcess p;
    p.setStandardOutputFile(file);
    p.start(QStringLiteral(KESMORA_BINARY_DIR "/kesmora-inspect"), args);
    return finish(p, args);
}

QByteArray contents(const QString& file) {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    return f.readAll();
}

void put(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

struct Writer {
    QStringList args; // without -o
    std::string suffix;
};

// Every command that writes a file; the sheet's picture is made by the test first.
std::vector<Writer> writers(const QString& picture) {
    return {
        {{"render", "2", "Kuboktaeder", "--mode", "1", "--size", "400x300"}, ".png"},
        {{"export", "2", "Kuboktaeder", "--format", "png", "--size", "400x300"}, ".png"},
        {{"export", "2", "Kuboktaeder", "--format", "svg", "--size", "400x300"}, ".svg"},
        {{"export", "2", "Kuboktaeder", "--format", "off"}, ".off"},
        {{"export", "2", "Kuboktaeder", "--format", "obj"}, ".obj"},
        {{"export", "2", "Kuboktaeder", "--format", "stl"}, ".stl"},
        {{"export", "2", "Kuboktaeder", "--dual", "--format", "stl-ascii"}, ".stl"},
        {{"net", "2", "Kuboktaeder"}, ".svg"},
        {{"sheet", "--title", "Blatt", picture, "Kuboktaeder"}, ".png"},
    };
}

QString samplePicture(const Folder& folder) {
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString file = folder.file("sample.png");
    EXPECT_TRUE(image.save(file));
    return file;
}

constexpr rlim_t kLimit = 256;

} // namespace

TEST(InspectorOutput, FailedWriteKeepsTheOldFileAndSaysWhy) {
    const Folder in("keep-in");
    const QString picture = samplePicture(in);
    for (const Writer& w : writers(picture)) {
        const Folder folder("keep");
        const QString target = folder.file("out" + w.suffix);
        const QByteArray old = "the previous file, which must survive\n";
        put(target, old);
        const QString what = w.args.join(' ');
        const InspectorResult r = inspectWithFileLimit(QStringList(w.args) << "-o" << target, kLimit);
        EXPECT_EQ(r.exitCode, 1) << what.toStdString();
        EXPECT_TRUE(r.err.contains(target.toUtf8())) << what.toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(reason(EFBIG))) << what.toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(contents(target), old) << what.toStdString();
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"out" + w.suffix}) << what.toStdString();
    }
}

TEST(InspectorOutput, FailedWriteLeavesNoFileBehind) {
    const Folder in("none-in");
    const QString picture = samplePicture(in);
    for (const Writer& w : writers(picture)) {
        const Folder folder("none");
        const QString target = folder.file("out" + w.suffix);
        const InspectorResult r = inspectWithFileLimit(QStringList(w.args) << "-o" << target, kLimit);
        EXPECT_EQ(r.exitCode, 1) << w.args.join(' ').toStdString();
        EXPECT_TRUE(folder.entries().empty()) << w.args.join(' ').toStdString();
    }
}

// A net over several sheets is several files: they appear together or none of them, whichever
// sheet's file cannot be written, and files of an earlier run stay as they were.
TEST(InspectorOutput, SheetsOfANetAppearAllOrNone) {
    const QStringList net{"net", "2", "Ikosidodekaederstumpf", "--edge", "40", "-o"};
    const Folder probe("sheets-probe");
    ASSERT_EQ(inspect(QStringList(net) << probe.file("netz.svg")).exitCode, 0);
    const std::size_t sheets = probe.entries().size();
    ASSERT_GE(sheets, 3u);
    for (const std::size_t blocked : {std::size_t{1}, std::size_t{2}, sheets}) {
        SCOPED_TRACE(blocked);
        const Folder folder("sheets");
        // A folder stands where one sheet's file would go.
        const std::string blocker = "netz-" + std::to_string(blocked) + ".svg";
        fs::create_directory(folder.path / blocker);
        const InspectorResult r = inspect(QStringList(net) << folder.file("netz.svg"));
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(blocker.c_str())) << r.err.toStdString();
        EXPECT_EQ(folder.entries(), std::vector<std::string>{blocker});

        // With the old sheets in place, the failed run leaves every one of them as it was.
        const std::string other = "netz-" + std::to_string(blocked == 1 ? 2 : 1) + ".svg";
        put(folder.file(other), "old\n");
        EXPECT_EQ(inspect(QStringList(net) << folder.file("netz.svg")).exitCode, 1);
        EXPECT_EQ(contents(folder.file(other)), QByteArray("old\n"));
        EXPECT_EQ(folder.entries().size(), 2u);
    }
}

// The same disk failure from a real, full file system, where one can be mounted.
TEST(InspectorOutput, FullFileSystemKeepsTheOldFile) {
    const Folder folder("tmpfs");
    const std::string mountPoint = folder.path.string();
    if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    struct Unmount {
        std::string at;
        ~Unmount() { umount(at.c_str()); }
    } unmount{mountPoint};
    QByteArray filler(60 * 1024, 'x');
    put(folder.file("filler"), filler);
    const QString target = folder.file("netz.svg");
    put(target, "old\n");
    const InspectorResult r = inspect({"net", "2", "Kuboktaeder", "-o", target});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(reason(ENOSPC))) << r.err.toStdString();
    EXPECT_EQ(contents(target), QByteArray("old\n"));
}

TEST(InspectorOutput, StandardOutputGetsTheSameBytesAsTheFile) {
    const Folder folder("stdout");
    const QString picture = samplePicture(folder);
    for (const Writer& w : writers(picture)) {
        const QString what = w.args.join(' ');
        const QString file = folder.file("file" + w.suffix), piped = folder.file("piped");
        const InspectorResult toFile = inspect(QStringList(w.args) << "-o" << file);
        ASSERT_EQ(toFile.exitCode, 0) << what.toStdString() << ": " << toFile.err.toStdString();
        const InspectorResult toStdout = inspectWithStdout(QStringList(w.args) << "-o" << "-", piped);
        ASSERT_EQ(toStdout.exitCode, 0) << what.toStdString() << ": " << toStdout.err.toStdString();
        const QByteArray bytes = contents(file);
        EXPECT_GT(bytes.size(), static_cast<qsizetype>(kLimit)) << what.toStdString(); // the limit bites
        EXPECT_EQ(contents(piped), bytes) << what.toStdString();
        EXPECT_FALSE(fs::exists(folder.path / "-"));
    }
}

TEST(InspectorOutput, ALostStandardOutputIsAnError) {
    const Folder folder("full");
    for (const QStringList& args :
         {QStringList{"render", "2", "Kuboktaeder", "--mode", "1", "-o", "-"},
          QStringList{"export", "2", "Kuboktaeder", "--format", "stl-ascii", "-o", "-"},
          QStringList{"net", "2", "Kuboktaeder", "-o", "-"}, QStringList{"list"},
          QStringList{"model", "--all"}, QStringList{"stats", "2", "Kuboktaeder"}}) {
        const InspectorResult r = inspectWithStdout(args, "/dev/full");
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8("die Standardausgabe lässt sich nicht schreiben").toUtf8())) << r.err.toStdString();
    }
    // Named as a file, a device is written in place, not replaced by a plain file.
    const InspectorResult r = inspect({"export", "2", "Kuboktaeder", "--format", "off", "-o", "/dev/full"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("„/dev/full“ lässt sich nicht schreiben: ").toUtf8() + reason(ENOSPC))) << r.err.toStdString();
    struct stat info {};
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST(InspectorOutput, PicturesTakeTheFormatOfTheirSuffix) {
    const Folder folder("suffix");
    const QString jpeg = folder.file("bild.JPG"), bmp = folder.file("bild.bmp"), png = folder.file("bild");
    const QStringList render{"render", "2", "Kuboktaeder", "--mode", "3", "--size", "300x200", "-o", jpeg};
    ASSERT_EQ(inspect(render).exitCode, 0);
    EXPECT_TRUE(contents(jpeg).startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(QImage(jpeg).size(), QSize(300, 200));
    ASSERT_EQ(inspect({"export", "2", "Kuboktaeder", "--format", "png", "-o", bmp}).exitCode, 0);
    EXPECT_TRUE(contents(bmp).startsWith("BM"));
    ASSERT_EQ(inspect({"sheet", "-o", png, bmp, "Kuboktaeder"}).exitCode, 0); // no suffix: PNG
    EXPECT_TRUE(contents(png).startsWith("\x89PNG\r\n"));

    for (const QStringList& args :
         {QStringList{"render", "2", "Kuboktaeder", "--mode", "1", "-o", folder.file("bild.foo")},
          QStringList{"export", "2", "Kuboktaeder", "--format", "png", "-o", folder.file("bild.svg")},
          QStringList{"sheet", "-o", folder.file("bild.foo"), bmp, "x"}}) {
        const InspectorResult r = inspect(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("png") && r.err.contains("jpg")) << r.err.toStdString();
    }
    EXPECT_FALSE(fs::exists(folder.path / "bild.foo"));
    EXPECT_FALSE(fs::exists(folder.path / "bild.svg"));
}
