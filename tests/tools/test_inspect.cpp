// The inspector as a user runs it: its output and its exit status.
#include <QByteArray>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include "bodies/filesolid.h"
#include "bodies/polyhedronfile.h"
#include "catalogue/latin1.h"
#include "tempdir.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

using kesmora::test::readAll;

namespace {

struct Result {
    int exitCode;
    QByteArray out, err;
};

Result inspect(const QStringList& args,
               const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(environment);
    p.start(QStringLiteral(KESMORA_BINARY_DIR "/kesmora-inspect"), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// A copy of the shipped data folder in which `file` is replaced by what `edit` makes of it.
template <typename Edit>
std::filesystem::path dataCopy(const std::string& name, const std::string& file, Edit edit) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("kesmora-test-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& e : fs::directory_iterator(KESMORA_DATA_DIR))
        fs::copy_file(e.path(), dir / e.path().filename());
    const std::string text = edit(readAll(dir / file));
    std::ofstream(dir / file, std::ios::binary | std::ios::trunc) << text;
    return dir;
}

// Whether the stats text's row of edge lengths names one length only: "… 1 (36 Kanten)".
bool allEdgesAlike(const QByteArray& statsText) {
    for (const QByteArray& line : statsText.split('\n'))
        if (line.startsWith(QString::fromUtf8("Kantenlängen").toUtf8()))
            return line.contains(": 1 (") && !line.contains("), ");
    return false;
}

} // namespace

TEST(Inspector, ListsEveryBodyWithItsIndexAndBlock) {
    const Result r = inspect({"list"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 148);
    EXPECT_EQ(lines[17], QByteArray("0\t17\t1\t2\tHexaeder, W\xC3\xBC"
                                    "rfel"));
    EXPECT_TRUE(lines[46].startsWith("2\t0\t4\t4005\t"));
    EXPECT_TRUE(lines[71].startsWith("3\t0\t28\t46\tJohnson Polyeder 06"));
}

TEST(Inspector, ModelAsJson) {
    const Result r = inspect({"model", "0", "Oktaeder"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["category"].toInt(), 0);
    EXPECT_EQ(o["bodyIndex"].toInt(), 2);
    EXPECT_EQ(o["title"].toString(), QString::fromUtf8("Oktaeder und dualer Körper"));
    EXPECT_EQ(o["vertices"].toArray().size(), 6);
    EXPECT_EQ(o["faces"].toArray().size(), 8);
    EXPECT_EQ(o["faces"].toArray()[0].toArray(), (QJsonArray{0, 4, 1}));
    EXPECT_EQ(o["dualVertices"].toArray().size(), 8);
    EXPECT_EQ(o["dualFaces"].toArray().size(), 6);
    EXPECT_EQ(o["faceRecords"].toArray()[0].toArray().size(), 4);
    EXPECT_EQ(o["bodyParams"].toArray(), (QJsonArray{1, -2.5, 1.5, -2}));
    double largest = 0;
    for (const auto& v : o["vertices"].toArray())
        for (const auto& c : v.toArray())
            largest = std::max(largest, std::fabs(c.toDouble()));
    EXPECT_NEAR(largest, 200, 1e-9);

    // The state of the window: the Quader's parameters come from its own record.
    const QJsonObject q = QJsonDocument::fromJson(inspect({"model", "0", "Quader"}).out).object();
    EXPECT_EQ(q["bodyParams"].toArray(), (QJsonArray{2, 1, 4, -2}));
    const QJsonObject j =
        QJsonDocument::fromJson(inspect({"model", "3", "Johnson Polyeder 54"}).out).object();
    EXPECT_EQ(j["dualFaces"].toArray().size(), 18);
    EXPECT_EQ(j["title"].toString(), "Johnson Polyeder 54 und quasiduales Polyeder");
}

TEST(Inspector, OperationsOnABodyAndTheirRefusals) {
    // The octahedron's ambo is the cuboctahedron; its dual the rhombic dodecahedron.
    const Result r = inspect({"model", "0", "Oktaeder", "--op", "a"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["title"].toString(), QString::fromUtf8("a · Oktaeder und dualer Körper"));
    EXPECT_EQ(o["vertices"].toArray().size(), 12);
    EXPECT_EQ(o["faces"].toArray().size(), 14);
    EXPECT_EQ(o["dualVertices"].toArray().size(), 14);
    EXPECT_EQ(o["dualFaces"].toArray().size(), 12);

    // Plain and canonical truncation of the cube differ in shape, not in counts: cut at a third of
    // each edge, the octagons are not regular.
    const QString cube = QString::fromUtf8("Hexaeder, Würfel");
    const Result canonical = inspect({"stats", "0", cube, "--op", "t"});
    const Result plain = inspect({"stats", "0", cube, "--op", "t", "--plain"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    EXPECT_TRUE(allEdgesAlike(canonical.out)) << canonical.out.toStdString();
    EXPECT_FALSE(allEdgesAlike(plain.out)) << plain.out.toStdString();

    // A letter that is no operation, and --plain without a recipe, are refused as command lines.
    const Result bad = inspect({"stats", "0", "Oktaeder", "--op", "tx"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains("\xC2\xBBx\xC2\xAB an Stelle 2")) << bad.err.toStdString();
    EXPECT_EQ(inspect({"stats", "0", "Oktaeder", "--plain"}).exitCode, 2);
    // Too many faces: refused with the count, before anything is built.
    const Result large = inspect({"model", "0", "Oktaeder", "--op", "tttttttttt"});
    EXPECT_EQ(large.exitCode, 1);
    EXPECT_TRUE(large.err.contains("Fl\xC3\xA4" "chen")) << large.err.toStdString();
}

TEST(Inspector, ModelOfEveryBody) {
    const Result r = inspect({"model", "--all"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 148);
    EXPECT_EQ(QJsonDocument::fromJson(lines.front()).object()["name"].toString(), "achtseitiges Antiprisma");
    EXPECT_EQ(QJsonDocument::fromJson(lines.back()).object()["category"].toInt(), 3);
}

TEST(Inspector, RendersThePictureOfTheDrawingArea) {
    const auto file = std::filesystem::temp_directory_path() / "kesmora-inspect-test.png";
    std::filesystem::remove(file);
    const Result r = inspect({"render", "2", "Kuboktaeder", "--mode", "1", "--size", "400x300", "--marks",
                              "--turn", "10,0,5", "-o", QString::fromStdString(file.string())});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage image(QString::fromStdString(file.string()));
    ASSERT_EQ(image.size(), QSize(400, 300));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    int yellow = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            yellow += image.pixel(x, y) == qRgb(255, 255, 0);
    EXPECT_GT(yellow, 100); // the vertex marks
    std::filesystem::remove(file);
}

TEST(Inspector, ErrorsGoToStderrWithANonZeroStatus) {
    for (const QStringList& args :
         {QStringList{"model", "5", "Oktaeder"}, QStringList{"model", "0", "Torus"},
          QStringList{"render", "0", "Oktaeder", "--mode", "9", "-o", "/tmp/x.png"},
          QStringList{"frobnicate"}, QStringList{"--data", "/nonexistent", "list"}}) {
        const Result r = inspect(args);
        EXPECT_NE(r.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("kesmora-inspect:"));
    }
}

TEST(Inspector, NeedsNoDisplayAndSaysNothingOnANormalRun) {
    // A desktop setting that asks for X11, no X server and no session folder.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    for (const char* unset : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR", "QT_LOGGING_RULES"})
        env.remove(unset);
    const Result listed = inspect({"list"}, env);
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.err.toStdString(), "");
    const auto file = std::filesystem::temp_directory_path() /
                      ("kesmora-test-no-display-" + std::to_string(getpid()) + ".png");
    const Result rendered =
        inspect({"render", "0", "Oktaeder", "--mode", "2", "-o", QString::fromStdString(file.string())}, env);
    EXPECT_EQ(rendered.exitCode, 0);
    EXPECT_EQ(rendered.err.toStdString(), "");
    EXPECT_EQ(QImage(QString::fromStdString(file.string())).size(), QSize(1008, 534));
    std::filesystem::remove(file);
    // The inspector's own errors still show.
    const Result wrong = inspect({"model", "0", "Torus"}, env);
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.startsWith("kesmora-inspect: ")) << wrong.err.toStdString();
}

TEST(Inspector, ModelOfEveryBodyGoesOnPastABrokenOne) {
    // The octahedron's coordinate block loses its count line.
    const auto dir = dataCopy("broken-block", "coordinates.txt", [](std::string text) {
        const std::size_t at = text.find("\n[3]\n6\n");
        EXPECT_NE(at, std::string::npos);
        text.replace(at, 8, "\n[3]\nx\n");
        return text;
    });
    const Result r = inspect({"--data", QString::fromStdString(dir.string()), "model", "--all"});
    std::filesystem::remove_all(dir);
    EXPECT_EQ(r.exitCode, 1);
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    EXPECT_EQ(lines.size(), 147); // every body but the octahedron
    for (const QByteArray& line : lines)
        EXPECT_NE(QJsonDocument::fromJson(line).object()["name"].toString(), "Oktaeder");
    EXPECT_EQ(QJsonDocument::fromJson(lines.back()).object()["category"].toInt(), 3);
    EXPECT_TRUE(r.err.contains("kesmora-inspect: Oktaeder (Kategorie 0): ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("Block [3]")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("1 Körper ließ sich nicht bauen").toUtf8())) << r.err.toStdString();
}

TEST(Inspector, NumbersOnTheCommandLineAreChecked) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("kesmora-test-turn-" + std::to_string(getpid()) + ".png");
    const QString out = QString::fromStdString(file.string());
    for (const char* turn : {"nan,0,0", "0,inf,0", "0,0,-infinity", "1e999,0,0", "10,0", "10,0,5,1", "10,,5",
                             "0x10,0,0", "10;0;5", ""}) {
        const Result r = inspect({"render", "0", "Oktaeder", "--mode", "1", "--turn", turn, "-o", out});
        EXPECT_EQ(r.exitCode, 2) << turn;
        EXPECT_TRUE(r.err.contains("--turn nimmt")) << turn << ": " << r.err.toStdString();
        EXPECT_FALSE(std::filesystem::exists(file)) << turn;
    }
    for (const char* mode : {"x", "2x", "", "8", "0", "99999999999"}) {
        const Result r = inspect({"render", "0", "Oktaeder", "--mode", mode, "-o", out});
        EXPECT_EQ(r.exitCode, 2) << mode;
        EXPECT_TRUE(r.err.contains("--mode nimmt 1 bis 7")) << mode << ": " << r.err.toStdString();
    }
    const Result fine =
        inspect({"render", "0", "Oktaeder", "--mode", "1", "--turn", "10.5,-3,1e2", "-o", out});
    EXPECT_EQ(fine.exitCode, 0) << fine.err.toStdString();
    std::filesystem::remove(file);
}

TEST(Inspector, ListsWithALongExcludedFile) {
    // 200 000 names besides the shipped ones; two listed bodies named in capitals, umlauts too,
    // and one name with a blank too many, which excludes nothing.
    const auto dir = dataCopy("long-excluded", "excluded.txt", [](std::string text) {
        for (int i = 0; i < 100000; ++i)
            text += "Ausgeschlossener K\xF6rper " + std::to_string(i) + "\nOKTAEDER \n";
        return text + "HEXAEDER, W\xDCRFEL\npYRAMIDENw\xDCRFEL\n";
    });
    const Result shipped = inspect({"list"});
    const Result r = inspect({"--data", QString::fromStdString(dir.string()), "list"});
    std::filesystem::remove_all(dir);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QList<QByteArray> expected = shipped.out.trimmed().split('\n');
    QList<QByteArray> got = r.out.trimmed().split('\n');
    auto name = [](const QByteArray& line) { return line.mid(line.lastIndexOf('\t') + 1); };
    QList<QByteArray> expectedNames, gotNames;
    for (const QByteArray& line : expected)
        if (name(line) != "Hexaeder, W\xC3\xBCrfel" && name(line) != "Pyramidenw\xC3\xBCrfel")
            expectedNames << name(line);
    for (const QByteArray& line : got)
        gotNames << name(line);
    EXPECT_EQ(gotNames.size(), 146);
    EXPECT_EQ(gotNames, expectedNames);
}

TEST(Inspector, HiddenBodiesOnRequest) {
    const Result listed = inspect({"list"});
    const Result all = inspect({"list", "--hidden"});
    ASSERT_EQ(all.exitCode, 0) << all.err.toStdString();
    const QList<QByteArray> lines = all.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 186);
    // Each category in its list order, the hidden bodies sorted in, with their index and block.
    EXPECT_TRUE(lines.contains("3\t0\t42\t60\tJohnson Polyeder 01"));
    EXPECT_TRUE(lines.contains("2\t5\t5\t4006\tDodecaedron simum (abgeschr.Dodekaeder)"));
    int perCategory[4] = {};
    for (const QByteArray& line : lines)
        ++perCategory[line.left(1).toInt()];
    EXPECT_EQ(perCategory[0], 68);
    EXPECT_EQ(perCategory[2], 26);
    EXPECT_EQ(perCategory[3], 92);
    // Without the positions, the listed bodies are among them unchanged and in the same order.
    auto withoutPosition = [](const QByteArray& line) {
        const QList<QByteArray> f = line.split('\t');
        return f[0] + '\t' + f[2] + '\t' + f[3] + '\t' + f[4];
    };
    QList<QByteArray> fromAll;
    QList<QByteArray> fromListed;
    for (const QByteArray& line : listed.out.trimmed().split('\n'))
        fromListed << withoutPosition(line);
    for (const QByteArray& line : lines)
        if (fromListed.contains(withoutPosition(line))) fromAll << withoutPosition(line);
    EXPECT_EQ(fromAll, fromListed);

    // A hidden body is refused without the option, with a hint.
    const Result refused = inspect({"model", "3", "Johnson Polyeder 01"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("--hidden")) << refused.err.toStdString();
}

TEST(Inspector, HiddenBodiesOfAnEditedExcludedFile) {
    // Two listed bodies hidden in a copy of the data: they leave the lists and come back on request,
    // built exactly as before.
    const auto dir =
        dataCopy("hidden", "excluded.txt", [](std::string text) { return text + "Oktaeder\nKUBOKTAEDER\n"; });
    const QString data = QString::fromStdString(dir.string());
    const Result list = inspect({"--data", data, "list"});
    const Result listHidden = inspect({"--data", data, "list", "--hidden"});
    const Result model = inspect({"--data", data, "model", "0", "Oktaeder"});
    const Result modelHidden = inspect({"--data", data, "model", "0", "Oktaeder", "--hidden"});
    const Result every = inspect({"--data", data, "model", "--all"});
    const Result everyHidden = inspect({"--data", data, "model", "--hidden", "--all"});
    std::filesystem::remove_all(dir);

    EXPECT_EQ(list.out.trimmed().split('\n').size(), 146);
    EXPECT_FALSE(list.out.contains("\tOktaeder\n"));
    EXPECT_EQ(listHidden.out, inspect({"list", "--hidden"}).out);
    EXPECT_EQ(model.exitCode, 2);
    EXPECT_TRUE(model.err.contains("--hidden")) << model.err.toStdString();
    ASSERT_EQ(modelHidden.exitCode, 0) << modelHidden.err.toStdString();
    EXPECT_EQ(modelHidden.out, inspect({"model", "0", "Oktaeder"}).out);

    // Every model of the shipped lists, the two hidden ones included, in list order.
    EXPECT_EQ(every.exitCode, 0) << every.err.toStdString();
    EXPECT_EQ(every.out.trimmed().split('\n').size(), 146);
    const QList<QByteArray> shipped = inspect({"model", "--all"}).out.trimmed().split('\n');
    QList<QByteArray> got;
    for (const QByteArray& line : everyHidden.out.trimmed().split('\n'))
        if (shipped.contains(line)) got << line;
    EXPECT_EQ(got, shipped);
}

// Every body of the catalogue builds, the hidden ones too.
TEST(Inspector, ModelOfEveryBodyWithTheHiddenOnes) {
    const Result r = inspect({"model", "--all", "--hidden"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed().split('\n').size(), 186);
}

TEST(Inspector, ReciprocalForModelStatsExportAndRender) {
    // The triakis tetrahedron's catalogue dual has unequal edges; its reciprocal is the truncated
    // tetrahedron, all edges alike.
    Result r = inspect({"stats", "2", "Pyramidentetraeder", "--dual", "--reciprocal", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["figure"].toString(), "polar reciprocal");
    const QJsonObject edges = o["edgeLength"].toObject();
    EXPECT_NEAR(edges["max"].toDouble() / edges["min"].toDouble(), 1.0, 1e-9);
    EXPECT_EQ(o["vertices"].toInt(), 12);
    r = inspect({"stats", "2", "Pyramidentetraeder", "--dual", "--reciprocal"});
    EXPECT_TRUE(allEdgesAlike(r.out)) << r.out.toStdString();
    r = inspect({"stats", "2", "Pyramidentetraeder", "--dual"});
    EXPECT_FALSE(allEdgesAlike(r.out)) << r.out.toStdString();

    r = inspect({"model", "0", "Oktaeder", "--reciprocal"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["dual"].toString(), "polar reciprocal");
    EXPECT_TRUE(o["midsphere"].toBool());
    EXPECT_EQ(o["title"].toString(), QString::fromUtf8("Oktaeder und polar reziproker Körper"));
    EXPECT_EQ(o["dualVertices"].toArray().size(), 8);
    o = QJsonDocument::fromJson(inspect({"model", "0", "Oktaeder"}).out).object();
    EXPECT_FALSE(o.contains("dual"));

    const kesmora::test::TempDir dir("inspect-reciprocal");
    const QString off = QString::fromStdString((dir.path() / "j.off").string());
    r = inspect(
        {"export", "3", "Johnson Polyeder 90", "--dual", "--reciprocal", "--format", "off", "-o", off});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> counts =
        QByteArray::fromStdString(readAll(off.toStdString())).split('\n')[1].split(' ');
    EXPECT_EQ(counts[0].toInt(), 24) << "one vertex per face of J90";
    EXPECT_EQ(counts[1].toInt(), 16) << "one face per vertex of J90, none cut";

    const QString png = QString::fromStdString((dir.path() / "c.png").string());
    ASSERT_EQ(inspect({"render", "0", "Oktaeder", "--reciprocal", "--size", "200x100", "-o", png}).exitCode,
              0);
    const QImage withReciprocal(png);
    ASSERT_EQ(inspect({"render", "0", "Oktaeder", "--size", "200x100", "-o", png}).exitCode, 0);
    EXPECT_NE(withReciprocal, QImage(png));

    // The reciprocal is a dual: a mesh of the solid alone has none to choose.
    EXPECT_EQ(inspect({"stats", "0", "Oktaeder", "--reciprocal"}).exitCode, 2);
    EXPECT_EQ(inspect({"export", "0", "Oktaeder", "--reciprocal", "--format", "off", "-o", off}).exitCode, 2);
}

TEST(Inspector, ABodyWithoutReciprocalFailsWithTheMessage) {
    // The tetrahemihexahedron, listed: its three squares pass through its centre.
    const kesmora::test::TempDir root("inspect-no-reciprocal");
    const std::filesystem::path dir = root.path() / "data";
    kesmora::test::copyShippedData(dir);
    auto edit = [&](const char* file, auto change) {
        std::string text = readAll(dir / file);
        change(text);
        std::ofstream(dir / file, std::ios::binary | std::ios::trunc) << text;
    };
    edit("excluded.txt", [](std::string& t) { t.erase(t.find("Tetrahemihexaeder\n"), 18); });
    const QString data = QString::fromStdString(dir.string());
    const QString png = QString::fromStdString((root.path() / "t.png").string());

    Result r = inspect({"--data", data, "render", "0", "Tetrahemihexaeder", "--reciprocal", "-o", png});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("Tetrahemihexaeder hat keine polare Reziproke").toUtf8()))
        << r.err.toStdString();
    EXPECT_FALSE(std::filesystem::exists(png.toStdString()));
    // The inspector shows nothing in its place, so it says only why there is none.
    r = inspect({"--data", data, "stats", "0", "Tetrahemihexaeder", "--dual", "--reciprocal"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("Tetrahemihexaeder hat keine polare Reziproke: Die Ebene der "
                                                 "Fläche 5 von 7 geht durch den Mittelpunkt des Körpers und "
                                                 "hat keinen Pol.\n")
                                   .toUtf8()))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Gezeigt")) << r.err.toStdString();
    EXPECT_EQ(inspect({"--data", data, "model", "0", "Tetrahemihexaeder", "--reciprocal"}).exitCode, 1);
    // Without the option the catalogue's dual is all that is asked for.
    EXPECT_EQ(inspect({"--data", data, "render", "0", "Tetrahemihexaeder", "-o", png}).exitCode, 0);
}

namespace {

// A square pyramid in OFF, numbers with a decimal point, a comment on the second line.
const char* kPyramidOff = "OFF\n"
                          "# quadratische Pyramide\n"
                          "5 5 8\n"
                          "-1 -1 0\n"
                          "1 -1 0\n"
                          "1 1 0\n"
                          "-1 1 0\n"
                          "0 0 1.5\n"
                          "4 0 3 2 1\n"
                          "3 0 1 4\n"
                          "3 1 2 4\n"
                          "3 2 3 4\n"
                          "3 3 0 4\n";

// A box in OBJ, its faces not all turned alike, numbered from 1.
const char* kBoxObj = "# Quader\n"
                      "v 0 0 0\nv 2 0 0\nv 2 1 0\nv 0 1 0\n"
                      "v 0 0 0.5\nv 2 0 0.5\nv 2 1 0.5\nv 0 1 0.5\n"
                      "f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 6 2 3 7\nf 3 4 8 7\nf 4 1 5 8\n";

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

QString q(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// The model dump's tables of one figure against the window's build of it.
void expectFigure(const QJsonObject& o, const char* verticesKey, const char* facesKey,
                  const kesmora::Figure& figure) {
    const QJsonArray vertices = o[verticesKey].toArray();
    ASSERT_EQ(vertices.size(), figure.vertices.size()) << verticesKey;
    for (int i = 0; i < figure.vertices.size(); ++i) {
        const QJsonArray p = vertices[i].toArray();
        EXPECT_DOUBLE_EQ(p[0].toDouble(), figure.vertices[i].x) << verticesKey << " " << i;
        EXPECT_DOUBLE_EQ(p[1].toDouble(), figure.vertices[i].y) << verticesKey << " " << i;
        EXPECT_DOUBLE_EQ(p[2].toDouble(), figure.vertices[i].z) << verticesKey << " " << i;
    }
    const QJsonArray faces = o[facesKey].toArray();
    ASSERT_EQ(faces.size(), figure.faces.size()) << facesKey;
    for (int f = 0; f < figure.faces.size(); ++f) {
        QJsonArray expected;
        for (const int v : figure.faces[f])
            expected.append(v);
        EXPECT_EQ(faces[f].toArray(), expected) << facesKey << " " << f;
    }
}

// The vertex and face counts of an OFF file as read back by the program.
std::pair<std::size_t, std::size_t> countsOf(const std::filesystem::path& path) {
    const kesmora::PolyhedronFile f = kesmora::readPolyhedronFile(QByteArray::fromStdString(path.string()));
    return {f.vertices.size(), f.faces.size()};
}

} // namespace

TEST(InspectorFile, EveryBodyCommandTakesAPolyhedronFile) {
    using namespace kesmora;
    const test::TempDir dir("inspect-file");
    const auto off = dir.path() / "pyramide.off";
    const auto obj = dir.path() / "quader-\xC3\xBC.obj"; // an umlaut in UTF-8
    writeFile(off, kPyramidOff);
    writeFile(obj, kBoxObj);

    // model: the window's build of the file, name and title from the file's name; no catalogue
    // place, no parameters.
    Result r = inspect({"model", "--file", q(off)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["name"].toString(), "pyramide.off");
    EXPECT_EQ(o["title"].toString(), QString::fromUtf8("pyramide.off und dualer Körper"));
    EXPECT_FALSE(o.contains("category"));
    EXPECT_FALSE(o.contains("bodyParams"));
    EXPECT_FALSE(o.contains("dual"));
    const SolidModel pyramid = buildFileSolid(readPolyhedronFile(QByteArray::fromStdString(off.string())));
    EXPECT_EQ(o["vertices"].toArray().size(), 5);
    EXPECT_EQ(o["faces"].toArray().size(), 5);
    expectFigure(o, "vertices", "faces", pyramid.solid);
    expectFigure(o, "dualVertices", "dualFaces", pyramid.dual);
    EXPECT_DOUBLE_EQ(o["scale"].toDouble(), pyramid.scale);

    // The polar reciprocal of the box is an octahedron.
    r = inspect({"model", "--reciprocal", "--file", q(obj)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["name"].toString(), QString::fromUtf8("quader-ü.obj"));
    EXPECT_EQ(o["title"].toString(), QString::fromUtf8("quader-ü.obj und polar reziproker Körper"));
    EXPECT_EQ(o["dual"].toString(), "polar reciprocal");
    const SolidModel box = buildFileSolid(readPolyhedronFile(QByteArray::fromStdString(obj.string())),
                                          DualKind::PolarReciprocal);
    ASSERT_EQ(box.dualInfo.kind, DualKind::PolarReciprocal);
    EXPECT_EQ(o["dualVertices"].toArray().size(), 6);
    EXPECT_EQ(o["dualFaces"].toArray().size(), 8);
    expectFigure(o, "vertices", "faces", box.solid);
    expectFigure(o, "dualVertices", "dualFaces", box.dual);

    // stats: the counts of the file; the reciprocal as the dual. No catalogue is needed.
    r = inspect({"--data", "/nonexistent", "stats", "--file", q(off), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["name"].toString(), "pyramide.off");
    EXPECT_EQ(o["figure"].toString(), "solid");
    EXPECT_FALSE(o.contains("category"));
    EXPECT_EQ(o["vertices"].toInt(), 5);
    EXPECT_EQ(o["faces"].toInt(), 5);
    EXPECT_EQ(o["edges"].toInt(), 8);
    EXPECT_TRUE(o["closed"].toBool());
    EXPECT_TRUE(o["convex"].toBool());
    // In the properties window's units, as a catalogue body: the longest edge 1.
    EXPECT_NEAR(o["edgeLength"].toObject()["max"].toDouble(), 1.0, 1e-9);
    r = inspect({"stats", "--file", q(obj), "--dual", "--reciprocal"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QString::fromUtf8("quader-ü.obj, polar reziproker Körper (Datei)").toUtf8()))
        << r.out.toStdString();
    o = QJsonDocument::fromJson(inspect({"stats", "--file", q(obj), "--dual", "--json"}).out).object();
    EXPECT_EQ(o["figure"].toString(), "dual");
    EXPECT_EQ(o["vertices"].toInt(), 6);
    EXPECT_EQ(o["faces"].toInt(), 8);
    EXPECT_EQ(o["edges"].toInt(), 12);

    // export: the meshes read back with the file's counts, the dual with the swapped ones.
    const auto solidOff = dir.path() / "solid.off", dualOff = dir.path() / "dual.off";
    r = inspect({"export", "--file", q(obj), "--format", "off", "-o", q(solidOff)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(countsOf(solidOff), std::make_pair(std::size_t{8}, std::size_t{6}));
    r = inspect({"export", "--file", q(off), "--dual", "--format", "off", "-o", q(dualOff)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(countsOf(dualOff), std::make_pair(std::size_t{5}, std::size_t{5}));
    const auto objOut = dir.path() / "dual.obj";
    r = inspect({"export", "--file", q(obj), "--dual", "--format", "obj", "-o", q(objOut)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_NE(readAll(objOut).find("quader-\xC3\xBC.obj, dualer K\xC3\xB6rper"), std::string::npos)
        << readAll(objOut);
    const auto svg = dir.path() / "bild.svg";
    r = inspect({"export", "--file", q(off), "--format", "svg", "-o", q(svg)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_NE(readAll(svg).find("<title>pyramide.off</title>"), std::string::npos);

    // render: the drawing of the file's body, not an empty picture.
    const auto png = dir.path() / "bild.png";
    r = inspect({"render", "--file", q(off), "--mode", "2", "--size", "240x160", "-o", q(png)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage image(q(png));
    ASSERT_EQ(image.size(), QSize(240, 160));
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += image.pixel(x, y) != image.pixel(0, 0);
    EXPECT_GT(drawn, 500);

    // net: SVG and PDF, titled with the file's name.
    const auto net = dir.path() / "netz.svg", pdf = dir.path() / "netz.pdf";
    r = inspect({"net", "--file", q(off), "-o", q(net)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_NE(readAll(net).find("pyramide.off"), std::string::npos);
    r = inspect({"net", "--file", q(obj), "--reciprocal", "-o", q(pdf)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(pdf).rfind("%PDF", 0), 0u);
}

TEST(InspectorFile, RefusesAFileItCannotBuildAndACommandLineItCannotTake) {
    using namespace kesmora;
    const test::TempDir dir("inspect-file-refused");
    const auto good = dir.path() / "pyramide.off", bad = dir.path() / "kaputt.off";
    writeFile(good, kPyramidOff);
    std::string broken = kPyramidOff;
    broken.replace(broken.rfind("3 3 0 4"), 7, "3 3 0 7"); // line 13 names a sixth vertex of five
    writeFile(bad, broken);
    const auto out = dir.path() / "aus.png";

    // Every command: the file's German message with its line, status 1, nothing written.
    for (const QStringList& args :
         {QStringList{"model", "--file", q(bad)}, QStringList{"stats", "--file", q(bad)},
          QStringList{"render", "--file", q(bad), "-o", q(out)},
          QStringList{"export", "--file", q(bad), "--format", "png", "-o", q(out)},
          QStringList{"net", "--file", q(bad), "-o", q(dir.path() / "netz.svg")}}) {
        const Result r = inspect(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("kesmora-inspect: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("(Datei kaputt.off, Zeile 13)")) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("Aufruf:")) << r.err.toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "netz.svg"));
    Result r = inspect({"stats", "--file", q(dir.path() / "fehlt.off")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("fehlt.off")) << r.err.toStdString();

    // An L-shaped prism: the planes of its two inner walls pass through its centre, so it has no
    // polar reciprocal; asked for, that is an error with the reason, and the dual from the face
    // centroids is no answer in its place.
    const auto prism = dir.path() / "l-prisma.off";
    writeFile(prism, "OFF\n12 8 18\n"
                     "0 0 0\n2 0 0\n2 1 0\n1 1 0\n1 2 0\n0 2 0\n"
                     "0 0 1\n2 0 1\n2 1 1\n1 1 1\n1 2 1\n0 2 1\n"
                     "6 5 4 3 2 1 0\n6 6 7 8 9 10 11\n"
                     "4 0 1 7 6\n4 1 2 8 7\n4 2 3 9 8\n4 3 4 10 9\n4 4 5 11 10\n4 5 0 6 11\n");
    r = inspect({"model", "--file", q(prism), "--reciprocal"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("l-prisma.off hat keine polare Reziproke").toUtf8()))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("Gezeigt")) << r.err.toStdString();
    r = inspect({"render", "--file", q(prism), "--reciprocal", "-o", q(out)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
    r = inspect({"stats", "--file", q(prism), "--dual", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out).object()["vertices"].toInt(), 8);

    // A file name that is no UTF-8 is opened all the same and shown escaped.
    const std::string latin1 = "w\xFC"
                               "rfel.off";
    writeFile(dir.path() / latin1, kPyramidOff);
    const auto stdoutFile = dir.path() / "stdout.txt", stderrFile = dir.path() / "stderr.txt";
    const std::string command = "'" KESMORA_BINARY_DIR "/kesmora-inspect' stats --file '" +
                                (dir.path() / latin1).string() + "' >'" + stdoutFile.string() + "' 2>'" +
                                stderrFile.string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << readAll(stderrFile);
    EXPECT_EQ(readAll(stdoutFile).rfind(escapedForDisplay(latin1) + ", K\xC3\xB6rper (Datei)\n", 0), 0u)
        << readAll(stdoutFile);

    // Command lines that cannot be taken: status 2, the first line naming what is wrong, before any
    // file is read (the missing one would be status 1) or written.
    const QString missing = q(dir.path() / "fehlt.off");
    struct Refused {
        QStringList args;
        std::vector<const char*> named;
    };
    const std::vector<Refused> cases{
        {{"stats", "--file"}, {"--file braucht einen Wert"}},
        {{"stats", "0", "Oktaeder", "--file", missing}, {"--file", "KATEGORIE NAME"}},
        {{"render", "--file", missing, "0", "Oktaeder", "-o", q(out)}, {"--file", "KATEGORIE NAME"}},
        {{"net", "--file", missing, "Oktaeder", "-o", q(out)}, {"--file", "KATEGORIE NAME"}},
        {{"model", "0", "Oktaeder", "--file", missing}, {"--file", "KATEGORIE NAME"}},
        {{"model", "--file", missing, "--hidden"}, {"--file", "--hidden"}},
        {{"model", "--all", "--file", missing}, {"--file", "--all"}},
        {{"stats"}, {"KATEGORIE NAME", "--file PFAD"}},
        {{"export", "--file", "", "--format", "off", "-o", q(out)}, {"--file"}},
        {{"render", "--file", missing}, {"-o"}},
        {{"list", "--file", missing}, {"--file"}},
    };
    for (const Refused& c : cases) {
        const std::string line = c.args.join(' ').toStdString();
        const Result refused = inspect(c.args);
        EXPECT_EQ(refused.exitCode, 2) << line << "\n" << refused.err.toStdString();
        EXPECT_TRUE(refused.out.isEmpty()) << line;
        const QByteArray first = refused.err.left(refused.err.indexOf('\n'));
        for (const char* named : c.named)
            EXPECT_TRUE(first.contains(named)) << line << ": " << first.toStdString();
        EXPECT_TRUE(refused.err.contains("\nAufruf: kesmora-inspect")) << line;
        EXPECT_FALSE(std::filesystem::exists(out)) << line;
    }
}

TEST(Inspector, SpeaksGermanAndFindsNamesAsTheyAreTyped) {
    // The help in German with its umlauts, none written out.
    const Result help = inspect({"--help"});
    ASSERT_EQ(help.exitCode, 0);
    const QString text = QString::fromUtf8(help.out);
    EXPECT_TRUE(text.startsWith("Aufruf: kesmora-inspect")) << help.out.toStdString();
    for (const char* word : {"Körper", "Flächen", "ausgeblendete Körper zeigen", "Vorschlägen", "Körpereinheiten"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word;
    for (const char* ascii : {"Koerper", "Flaechen", "usage", "takes", "the "})
        EXPECT_FALSE(text.contains(QString::fromUtf8(ascii))) << ascii;

    // Names as a person types them give the body's own output; categories by their names.
    const Result cube = inspect({"stats", "0", QString::fromUtf8("Hexaeder, Würfel"), "--json"});
    ASSERT_EQ(cube.exitCode, 0) << cube.err.toStdString();
    for (const QStringList& typed : {QStringList{"0", "wuerfel"}, QStringList{"Polyeder", QString::fromUtf8("WÜRFEL")},
                                     QStringList{"polyeder", "hexaeder"}}) {
        const Result r = inspect(QStringList{"stats"} + typed + QStringList{"--json"});
        EXPECT_EQ(r.exitCode, 0) << typed.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(r.out, cube.out) << typed.join(' ').toStdString();
    }
    EXPECT_EQ(inspect({"model", "Johnson", "johnson polyeder 6"}).out,
              inspect({"model", "3", "Johnson Polyeder 06"}).out);
    EXPECT_EQ(inspect({"model", QString::fromUtf8("Archimedische Körper"), "kuboktaeder"}).out,
              inspect({"model", "2", "Kuboktaeder"}).out);

    // An unknown name: status 2, the nearest names, no usage text.
    const Result unknown = inspect({"stats", "0", "Ikosaedr"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(unknown.err),
              QString::fromUtf8("kesmora-inspect: Kein Körper „Ikosaedr“ in der Liste der Kategorie 0 (Polyeder). "
                                "Meinten Sie „Ikosaeder“?\n"));
    const Result several = inspect({"render", "2", "Pyramide", "-o", "-"});
    EXPECT_EQ(several.exitCode, 2);
    EXPECT_TRUE(QString::fromUtf8(several.err).contains(QString::fromUtf8("Meinten Sie „Pyramidenwürfel“, "))) << several.err.toStdString();
}

TEST(Inspector, EveryBodyCommandTakesHidden) {
    // Johnson Polyeder 01 is hidden from the lists: every command about a body finds it with
    // --hidden, and says how to find it without.
    const QString out = QString::fromStdString(
        (std::filesystem::temp_directory_path() / ("kesmora-test-hidden-" + std::to_string(getpid()))).string());
    const std::vector<QStringList> commands{
        {"model"}, {"render", "-o", out + ".png"}, {"export", "--format", "off", "-o", out + ".off"},
        {"export", "--format", "png", "-o", out + ".png"}, {"stats"}, {"net", "-o", out + ".svg"}};
    for (const QStringList& command : commands) {
        QStringList args{command.front(), "3", "Johnson Polyeder 01"};
        args += command.mid(1);
        const Result without = inspect(args);
        EXPECT_EQ(without.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(without.err.contains("--hidden")) << without.err.toStdString();
        const Result with = inspect(args + QStringList{"--hidden"});
        EXPECT_EQ(with.exitCode, 0) << args.join(' ').toStdString() << ": " << with.err.toStdString();
    }
    for (const char* suffix : {".png", ".off", ".svg"})
        std::filesystem::remove((out + suffix).toStdString());
}
