// cmake --install into a scratch prefix: programs, catalogue, desktop entry, icon and completion land
// where they belong, and the installed inspector finds the installed catalogue on its own.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "tempdir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Result {
    int exitCode;
    QByteArray out, err;
};

Result run(const QString& program, const QStringList& args, const QProcessEnvironment& env = {}) {
    QProcess p;
    if (!env.isEmpty()) p.setProcessEnvironment(env);
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(120000)) << program.toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString q(const fs::path& p) {
    return QString::fromStdString(p.string());
}

class Install : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        prefix = fs::temp_directory_path() / ("kesmora-install-" + std::to_string(::getpid()));
        fs::remove_all(prefix);
        installed = run("cmake", {"--install", KESMORA_BINARY_DIR, "--prefix", q(prefix)});
    }
    static void TearDownTestSuite() { fs::remove_all(prefix); }

    static inline fs::path prefix;
    static inline Result installed;
};

// Key=value lines of the [Desktop Entry] group.
std::map<QString, QString> desktopEntry(const fs::path& file) {
    QFile f(q(file));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    std::map<QString, QString> keys;
    bool inEntry = false;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('[')) inEntry = line == "[Desktop Entry]";
        const qsizetype eq = line.indexOf('=');
        if (inEntry && eq > 0) keys[line.left(eq)] = line.mid(eq + 1);
    }
    return keys;
}

} // namespace

TEST_F(Install, PutsEverythingInTheUsualPlaces) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    for (const char* file : {"bin/kesmora", "bin/kesmora-inspect"}) {
        ASSERT_TRUE(fs::is_regular_file(prefix / file)) << file;
        EXPECT_NE(fs::status(prefix / file).permissions() & fs::perms::owner_exec, fs::perms::none) << file;
    }
    for (const char* file : {"catalogue.txt", "coordinates.txt", "excluded.txt", "faces.txt"}) {
        ASSERT_TRUE(fs::is_regular_file(prefix / "share/kesmora" / file)) << file;
        EXPECT_EQ(fs::file_size(prefix / "share/kesmora" / file),
                  fs::file_size(fs::path(KESMORA_DATA_DIR) / file));
    }
    EXPECT_TRUE(fs::is_regular_file(prefix / "share/bash-completion/completions/kesmora-inspect"));
}

TEST_F(Install, InstalledInspectorFindsTheInstalledCatalogue) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const Result r = run(q(prefix / "bin/kesmora-inspect"), {"list"}, env);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed().split('\n').size(), 148);
    // With the catalogue gone it must say where it looked, not fall back on the build tree.
    fs::rename(prefix / "share/kesmora", prefix / "share/kesmora-away");
    const Result missing = run(q(prefix / "bin/kesmora-inspect"), {"list"}, env);
    fs::rename(prefix / "share/kesmora-away", prefix / "share/kesmora");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(
        missing.err.contains(QByteArray((prefix / "share/kesmora").lexically_normal().string().c_str())))
        << missing.err.toStdString();
}

TEST_F(Install, DesktopEntryAndIcon) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    auto keys = desktopEntry(prefix / "share/applications/kesmora.desktop");
    EXPECT_EQ(keys["Type"], "Application");
    // The file manager hands over the file opened with the program.
    EXPECT_EQ(keys["Exec"], "kesmora %f");
    EXPECT_TRUE(fs::is_regular_file(prefix / "bin" / keys["Exec"].section(' ', 0, 0).toStdString()));
    EXPECT_EQ(keys["Terminal"], "false");
    for (const char* key : {"Name", "Name[de]", "Comment", "Comment[de]", "GenericName", "GenericName[de]"})
        EXPECT_FALSE(keys[key].isEmpty()) << key;
    EXPECT_NE(keys["Comment"], keys["Comment[de]"]);
    EXPECT_TRUE(keys["Categories"].endsWith(';'));

    const fs::path icon =
        prefix / "share/icons/hicolor/scalable/apps" / (keys["Icon"].toStdString() + ".svg");
    QFile f(q(icon));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << icon;
    QXmlStreamReader xml(&f);
    int shapes = 0;
    QString root;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (root.isEmpty()) root = xml.name().toString();
        shapes += xml.name() == u"polygon" || xml.name() == u"line" || xml.name() == u"circle";
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(root, "svg");
    EXPECT_GT(shapes, 0);
}

TEST_F(Install, FileTypesManualPagesAndLicence) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    // Every file type the desktop entry claims is defined by the installed MIME package.
    auto keys = desktopEntry(prefix / "share/applications/kesmora.desktop");
    const QStringList claimed = keys["MimeType"].split(';', Qt::SkipEmptyParts);
    EXPECT_TRUE(claimed.contains("model/x-off")) << keys["MimeType"].toStdString();
    QFile mime(q(prefix / "share/mime/packages/kesmora.xml"));
    ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&mime);
    QStringList defined, globs;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"mime-type") defined << xml.attributes().value("type").toString();
        if (xml.name() == u"glob") globs << xml.attributes().value("pattern").toString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    for (const QString& type : claimed)
        EXPECT_TRUE(defined.contains(type)) << type.toStdString();
    EXPECT_TRUE(globs.contains("*.off"));
    EXPECT_TRUE(globs.contains("*.obj"));
    for (const char* file : {"share/man/man1/kesmora.1.gz", "share/man/man1/kesmora-inspect.1.gz",
                             "share/doc/kesmora/changelog.gz", "share/doc/kesmora/copyright"})
        EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
}

TEST_F(Install, InstalledProgramAnswersHelpAndVersionWithoutADisplay) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    const Result version = run(q(prefix / "bin/kesmora"), {"--version"}, env);
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_TRUE(version.out.startsWith("kesmora ")) << version.out.toStdString();
    const Result help = run(q(prefix / "bin/kesmora"), {"--help"}, env);
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains("--data")) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("DATEI")) << help.out.toStdString();
}

TEST_F(Install, CompletionOffersCommandsAndBodyNames) {
    ASSERT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    const QString script =
        "source \"$1/share/bash-completion/completions/kesmora-inspect\"\n"
        "PATH=\"$1/bin:$PATH\"\n"
        "t() { COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); COMPREPLY=(); _kesmora_inspect; "
        "printf '%s|' \"${COMPREPLY[@]}\"; echo; }\n"
        "t kesmora-inspect st\n"
        "t kesmora-inspect stats 0 Hexa\n"
        "t kesmora-inspect stats 2 Cubus\n"
        "t kesmora-inspect export 0 Oktaeder --format s\n"
        "t kesmora-inspect net 0 Oktaeder --r\n"
        "t kesmora-inspect stats --f\n"
        "cd \"$2\" && t kesmora-inspect render --file ''\n"
        "t kesmora-inspect model --file a.off --h\n";
    // Polyhedron files, a folder that may lead to more, and a file that is none.
    const kesmora::test::TempDir folder("completion");
    const fs::path& files = folder.path();
    fs::create_directories(files / "ordner");
    for (const char* name : {"a.off", "B.OBJ", "c.txt"})
        std::ofstream(files / name) << "\n";
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const Result r = run("bash", {"-c", script, "completion", q(prefix), q(files)}, env);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "stats|");
    // Names come back quoted for the shell, as typed names must be.
    EXPECT_EQ(QString::fromUtf8(lines[1]), QString::fromUtf8("Hexaeder\\,\\ W\u00fcrfel|"));
    EXPECT_EQ(lines[2], "Cubus\\ simus\\ \\(abgeschr.Hexaeder\\)|");
    EXPECT_EQ(lines[3], "stl|stl-ascii|svg|");
    EXPECT_EQ(lines[4], "--reciprocal|");
    // A file in place of CATEGORY NAME: OFF and OBJ files and folders, no catalogue bodies hidden.
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[5], "--file|");
    QList<QByteArray> offered = lines[6].split('|');
    std::sort(offered.begin(), offered.end());
    EXPECT_EQ(offered, (QList<QByteArray>{"", "B.OBJ", "a.off", "ordner"}));
    EXPECT_EQ(lines[7], "|");
}
