// The inspector as a user runs it: its output and its exit status.
#include <QByteArray>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct Result {
    int exitCode;
    QByteArray out, err;
};

Result inspect(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KESMORA_BINARY_DIR "/kesmora-inspect"), args);
    EXPECT_TRUE(p.waitForFinished(120000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
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
