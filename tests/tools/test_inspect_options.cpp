// The inspector's command lines: a wrong one is refused with status 2 and a first line that names
// the argument at fault, before any file is read or written; right ones are read whatever the
// order of their options.
#include "inspector_process.h"

#include <QImage>

#include <filesystem>

namespace {

struct Refused {
    QStringList args;
    const char* named; // what the first line of the message must name
};

// The first line of stderr; the usage text after it names every option anyway.
QByteArray firstLine(const QByteArray& err) {
    return err.left(err.indexOf('\n'));
}

} // namespace

TEST(InspectorOptions, EveryWrongArgumentIsNamedWithStatus2) {
    const QString out = scratchFile("refused.png"), data = QStringLiteral(KESMORA_DATA_DIR);
    const std::vector<Refused> cases{
        // Options the command does not have.
        {{"render", "0", "Oktaeder", "--bogus", "-o", out}, "--bogus"},
        {{"export", "0", "Oktaeder", "--format", "off", "--colour", "red", "-o", out}, "--colour"},
        {{"stats", "0", "Oktaeder", "--jsn"}, "--jsn"},
        {{"net", "0", "Oktaeder", "--marks", "-o", out}, "--marks"},
        {{"sheet", "--mode", "1", "-o", out, "a.png", "a"}, "--mode"},
        {{"model", "--every"}, "--every"},
        {{"list", "--all"}, "--all"},
        {{"--bogus", "list"}, "--bogus"},
        // Values missing.
        {{"render", "0", "Oktaeder", "-o", out, "--mode"}, "--mode"},
        {{"export", "0", "Oktaeder", "--format", "off", "-o"}, "-o"},
        {{"sheet", "-o", out, "a.png", "a", "--title"}, "--title"},
        {{"--data"}, "--data"},
        // Values of the wrong kind, with something after them, or out of range.
        {{"render", "0", "Oktaeder", "--mode", "x", "-o", out}, "--mode"},
        {{"render", "0", "Oktaeder", "--mode", "2.5", "-o", out}, "--mode"},
        {{"export", "0", "Oktaeder", "--format", "png", "--mode", "0", "-o", out}, "--mode"},
        {{"sheet", "--columns", "zz", "-o", out, "a.png", "a"}, "--columns"},
        {{"sheet", "--columns", "101", "-o", out, "a.png", "a"}, "--columns"},
        {{"render", "0", "Oktaeder", "--size", "100x100junk", "-o", out}, "--size"},
        {{"render", "0", "Oktaeder", "--size", "0x100", "-o", out}, "--size"},
        {{"render", "0", "Oktaeder", "--size", "100x10001", "-o", out}, "--size"},
        {{"render", "0", "Oktaeder", "--size", "100", "-o", out}, "--size"},
        {{"export", "0", "Oktaeder", "--format", "png", "--size", "100x-5", "-o", out}, "--size"},
        {{"sheet", "--tile", "100", "-o", out, "a.png", "a"}, "--tile"},
        {{"net", "0", "Oktaeder", "--page", "49x100", "-o", out}, "--page"},
        {{"net", "0", "Oktaeder", "--page", "A4", "-o", out}, "--page"},
        {{"net", "0", "Oktaeder", "--edge", "0", "-o", out}, "--edge"},
        {{"net", "0", "Oktaeder", "--edge", "40,5", "-o", out}, "--edge"},
        {{"net", "0", "Oktaeder", "-o", "netz.png"}, "-o"},
        {{"render", "0", "Oktaeder", "--turn", "1,2", "-o", out}, "--turn"},
        {{"export", "0", "Oktaeder", "--format", "ply", "-o", out}, "--format"},
        // One setting given twice: which one was meant?
        {{"render", "0", "Oktaeder", "--mode", "1", "--mode", "2", "-o", out}, "--mode"},
        {{"export", "0", "Oktaeder", "--format", "off", "--format", "obj", "-o", out}, "--format"},
        {{"sheet", "-o", out, "-o", out, "a.png", "a"}, "-o"},
        {{"--data", data, "--data", data, "list"}, "--data"},
        // Positional arguments: unknown categories, missing or surplus ones, unknown commands.
        {{"model", "1", "Oktaeder"}, "KATEGORIE"},
        {{"render", "5", "Oktaeder", "-o", out}, "KATEGORIE"},
        {{"stats", "x", "Oktaeder"}, "KATEGORIE"},
        {{"net", "02", "Oktaeder", "-o", out}, "KATEGORIE"},
        {{"stats", "0"}, "NAME"},
        {{"model", "0"}, "NAME"},
        {{"model", "--all", "0", "Oktaeder"}, "--all"},
        {{"stats", "0", "Oktaeder", "extra"}, "extra"},
        {{"list", "0"}, "\"0\""},
        {{"sheet", "-o", out, "a.png"}, "TEXT"},
        {{"sheet", "-o", out}, "BILD"},
        {{"frobnicate"}, "frobnicate"},
        // Options that contradict each other or the format.
        {{"net", "0", "Oktaeder", "--dual", "--reciprocal", "-o", out}, "--reciprocal"},
        {{"export", "0", "Oktaeder", "--format", "off", "--mode", "2", "-o", out}, "--mode"},
        {{"export", "0", "Oktaeder", "--format", "stl", "--size", "10x10", "-o", out}, "--size"},
        {{"export", "0", "Oktaeder", "--format", "png", "--dual", "-o", out}, "--dual"},
        // Options that must be given.
        {{"render", "0", "Oktaeder"}, "-o"},
        {{"export", "0", "Oktaeder", "-o", out}, "--format"},
        {{"net", "0", "Oktaeder"}, "-o"},
        // A wrong command line is refused before the catalogue is looked for.
        {{"--data", "/nonexistent", "render", "0", "Oktaeder", "--mode", "x", "-o", out}, "--mode"},
    };
    for (const Refused& c : cases) {
        const std::string line = c.args.join(' ').toStdString();
        const InspectorResult r = inspect(c.args);
        EXPECT_EQ(r.exitCode, 2) << line << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << line;
        const QByteArray first = firstLine(r.err);
        EXPECT_TRUE(first.startsWith("kesmora-inspect: ")) << line << ": " << first.toStdString();
        EXPECT_TRUE(first.contains(c.named)) << line << ": " << first.toStdString();
        EXPECT_TRUE(r.err.contains("\nAufruf: kesmora-inspect")) << line;
        EXPECT_FALSE(std::filesystem::exists(out.toStdString())) << line;
    }
}

TEST(InspectorOptions, OptionsStandAnywhereAndValuesAreTakenAsTheyAre) {
    const QString first = scratchFile("order-1.png"), second = scratchFile("order-2.png");
    ASSERT_EQ(inspect({"render", "0", "Oktaeder", "--mode", "2", "--size", "300x200", "--turn", "-10,5,0",
                       "-o", first})
                  .exitCode,
              0);
    // Options before the positional arguments, a negative angle as a value, "--" before the name.
    const InspectorResult r = inspect({"render", "--turn", "-10,5,0", "-o", second, "--size", "300x200", "0",
                                       "--mode", "2", "--", "Oktaeder"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage a(first), b(second);
    EXPECT_EQ(a.size(), QSize(300, 200));
    EXPECT_EQ(a, b);

    // A caption is taken as it is, even when it looks like an option; a flag said twice is still one.
    const QString sheet = scratchFile("order-sheet.png");
    const InspectorResult s =
        inspect({"sheet", "--tile", "60x40", "-o", sheet, first, "--title", second, "-", "--columns", "1"});
    EXPECT_EQ(s.exitCode, 0) << s.err.toStdString();
    EXPECT_EQ(QImage(sheet).width(), 8 + 60 + 8);
    const InspectorResult twice = inspect({"stats", "0", "Oktaeder", "--json", "--json"});
    EXPECT_EQ(twice.exitCode, 0) << twice.err.toStdString();
    EXPECT_EQ(twice.out, inspect({"stats", "0", "Oktaeder", "--json"}).out);
    std::filesystem::remove(first.toStdString());
    std::filesystem::remove(second.toStdString());
    std::filesystem::remove(sheet.toStdString());
}
