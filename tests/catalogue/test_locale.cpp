// Numbers in files and in the inspector's output are the same under a German locale as under C:
// the German run of the suite really runs German, the number formatting matches printf in the C
// locale, and the inspector writes the same bytes in both locales.
#include "catalogue/numbertext.h"
#include "inspector_process.h"

#include <QFile>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

using namespace kesmora;

namespace {

constexpr const char* kGerman = "de_DE.UTF-8";

// Switches the C locale for one test and back afterwards.
class ScopedLocale {
  public:
    explicit ScopedLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
        ok_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    bool ok() const { return ok_; }

  private:
    std::string previous_;
    bool ok_ = false;
};

std::string printfC(const char* format, double v, int digits) {
    const ScopedLocale c("C");
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, digits, v);
    return buffer;
}

} // namespace

// The suite runs a second time with LC_ALL=de_DE.UTF-8; should that locale be missing, setlocale
// falls back to C without a word and the second run would only repeat the first.
TEST(Locale, TheEnvironmentsLocaleIsInForce) {
    const char* asked = std::getenv("LC_ALL");
    const std::string name = asked ? asked : "";
    if (name != kGerman && name != "C" && name != "C.UTF-8")
        GTEST_SKIP() << "LC_ALL is neither C, C.UTF-8 nor " << kGerman;
    const bool german = name == kGerman;
    ASSERT_NE(std::setlocale(LC_ALL, ""), nullptr)
        << "the locale " << asked << " is not installed (scripts/setup.sh generates it)";
    EXPECT_STREQ(std::localeconv()->decimal_point, german ? "," : ".");
}

TEST(Locale, NumberTextIsPrintfInTheCLocaleWhateverTheLocale) {
    const ScopedLocale german(kGerman);
    ASSERT_TRUE(german.ok()) << kGerman << " is not installed (scripts/setup.sh generates it)";
    constexpr double largest = std::numeric_limits<double>::max();
    constexpr double smallest = std::numeric_limits<double>::denorm_min();
    const double values[] = {0.0,     -0.0,   0.5,    1.732051, -0.8164966, 146.41016151377545, 1e-7,
                             1.25e21, 1e-320, 2.5e-5, 0.125,    1e100,      -123456789.987654,  largest,
                             smallest};
    for (double v : values) {
        EXPECT_EQ(formatGeneral(v, 12), printfC("%.*g", v, 12)) << v;
        EXPECT_EQ(formatGeneral(v, 17), printfC("%.*g", v, 17)) << v;
        for (int decimals : {0, 2, 4, 12})
            EXPECT_EQ(formatFixed(v, decimals), printfC("%.*f", v, decimals)) << v;
    }
    // Halves round to even in both, at the last decimal asked for.
    for (double v : {0.125, 0.375, 2.5, 3.5})
        EXPECT_EQ(formatFixed(v, v < 1 ? 2 : 0), printfC("%.*f", v, v < 1 ? 2 : 0)) << v;
}

namespace {

InspectorResult inspectIn(const char* locale, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", locale);
    env.insert("LANG", locale);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KESMORA_BINARY_DIR "/kesmora-inspect"), args);
    EXPECT_TRUE(p.waitForFinished(120000)) << args.join(' ').toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

// The standard output, or the file named after "-o", of one inspector run.
QByteArray outputIn(const char* locale, QStringList args, const std::string& scratch) {
    const qsizetype o = args.indexOf("-o");
    const QString file = scratchFile(std::string(locale) + "-" + scratch);
    if (o >= 0) {
        args[o + 1] = file;
        QFile::remove(file);
    }
    const InspectorResult r = inspectIn(locale, args);
    EXPECT_EQ(r.exitCode, 0) << locale << ": " << args.join(' ').toStdString() << "\n" << r.err.toStdString();
    if (o < 0) return r.out;
    const QByteArray bytes = readAll(file);
    QFile::remove(file);
    return bytes;
}

} // namespace

TEST(Locale, TheInspectorWritesTheSameBytesUnderTheGermanLocale) {
    struct Case {
        const char* scratch;
        QStringList args;
    };
    const Case cases[] = {
        {"stats", {"stats", "2", "Kuboktaeder"}},
        {"stats-json", {"stats", "2", "Ikosidodekaederstumpf", "--dual", "--json"}},
        {"model", {"model", "2", "Ikosidodekaederstumpf"}},
        {"export.off", {"export", "2", "Ikosidodekaederstumpf", "--format", "off", "-o", "x"}},
        {"export.obj", {"export", "3", "Johnson Polyeder 54", "--dual", "--format", "obj", "-o", "x"}},
        {"export.stl", {"export", "2", "Kuboktaeder", "--format", "stl-ascii", "-o", "x"}},
        {"export-bin.stl", {"export", "0", "Ikosaeder", "--format", "stl", "-o", "x"}},
        {"export.svg", {"export", "2", "Kuboktaeder", "--format", "svg", "--mode", "4", "-o", "x"}},
        {"net.svg", {"net", "2", "Kuboktaeder", "-o", "x"}},
        {"render.png", {"render", "2", "Kuboktaeder", "--mode", "4", "--turn", "12.5,-7.25,30", "-o", "x"}},
    };
    for (const Case& c : cases) {
        const QByteArray inC = outputIn("C", c.args, c.scratch);
        const QByteArray inGerman = outputIn(kGerman, c.args, c.scratch);
        EXPECT_FALSE(inC.isEmpty()) << c.scratch;
        EXPECT_TRUE(inC == inGerman) << c.scratch << " differs; under " << kGerman << ":\n"
                                     << inGerman.left(600).toStdString();
    }
}

// What a German desktop showed: the cuboctahedron collapsed to a point.
TEST(Locale, StatsUnderTheGermanLocaleMeasureTheRealSolid) {
    const InspectorResult r = inspectIn(kGerman, {"stats", "2", "Kuboktaeder"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString text = QString::fromUtf8(r.out);
    EXPECT_TRUE(text.contains(QString::fromUtf8("Kantenlängen (kürzeste = 1): 1 (24\u00a0Kanten)\n"))) << r.out.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Flächenwinkel: 125,26° (24\u00a0Kanten)\n"))) << r.out.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Oberfläche: 9,4641 (Kantenlänge 1)\n"))) << r.out.toStdString();
}

// sscanf's "%lf" read "12.5" as 12 under the German locale and then stopped at the point.
TEST(Locale, TurnAnglesAreReadWithAPointUnderEveryLocale) {
    const QString out = scratchFile("turn.png");
    for (const char* locale : {"C.UTF-8", kGerman}) {
        EXPECT_EQ(inspectIn(locale,
                            {"render", "0", "Oktaeder", "--mode", "1", "--turn", "12.5,-7.25,3e1", "-o", out})
                      .exitCode,
                  0)
            << locale;
        for (const char* bad : {"12,5,0,0", "1,2", "inf,0,0", "0,nan,0", "1e400,0,0", "1,,2", "1;2;3"}) {
            const InspectorResult r =
                inspectIn(locale, {"render", "0", "Oktaeder", "--turn", bad, "-o", out});
            EXPECT_EQ(r.exitCode, 2) << locale << " " << bad;
            EXPECT_NE(r.err.indexOf("--turn nimmt XY,YZ,XZ"), -1) << r.err.toStdString();
        }
    }
    QFile::remove(out);
}
