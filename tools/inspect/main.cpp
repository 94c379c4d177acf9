// kesmora-inspect: looks inside the catalogue and the solids the program builds, without a window.
#include "catalogue/catalogueerror.h"
#include "catalogue/latin1.h"
#include "export.h"
#include "geometry/recipe.h"
#include "modeljson.h"
#include "net.h"
#include "options.h"
#include "output.h"
#include "session.h"
#include "sheet.h"
#include "stats.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include <QGuiApplication>
#include <QJsonDocument>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace kesmora;
using namespace kesmora::inspect;

namespace {

const char* kUsage =
    "usage: kesmora-inspect [--data DIR] COMMAND ...\n"
    "  list [--hidden]                   every listed body: category, list position, index, block, name\n"
    "  model CATEGORY NAME [--hidden] [--reciprocal]\n"
    "  model --file PATH [--reciprocal]  the built model as JSON (one line)\n"
    "  model --all [--hidden] [--reciprocal]\n"
    "                                    every listed body, one JSON object per line\n"
    "                                    --hidden: the hidden bodies too, as \"ausgeblendete Koerper\n"
    "                                    zeigen\" lists them\n"
    "  render CATEGORY NAME [--mode N] [--size WxH] [--marks] [--turn XY,YZ,XZ] [--reciprocal]\n"
    "         -o FILE.png                the picture of the drawing area: modes 1..7 (6 unless given),\n"
    "                                    1008x534 pixels unless given\n"
    "  export CATEGORY NAME [--dual [--reciprocal]] --format off|obj|stl|stl-ascii -o FILE\n"
    "                                    the solid (or its dual) as built, faces outward; stl is binary\n"
    "  export CATEGORY NAME --format svg|png [--mode N] [--size WxH] [--marks] [--reciprocal] -o FILE\n"
    "                                    the picture as render draws it; svg stays vector (modes 1..6)\n"
    "  stats CATEGORY NAME [--dual [--reciprocal]] [--json]\n"
    "                                    counts, face types, Euler characteristic, edge lengths,\n"
    "                                    dihedral angles, convexity and planarity\n"
    "  net CATEGORY NAME [--dual | --reciprocal] [--page WxH] [--edge MM]\n"
    "      [--tabs one|both|alternating] -o FILE.svg|FILE.pdf\n"
    "                                    a net to cut out and glue, faces coloured as in \"farbige\n"
    "                                    Flaechen\", a tab and a number on every glue edge, on A4\n"
    "                                    pages (or W x H millimetres); --edge: the longest edge in\n"
    "                                    millimetres (else as large as one page takes), split into\n"
    "                                    pieces over as many pages as needed: one SVG per page\n"
    "                                    (FILE-1.svg, FILE-2.svg, ...) or one PDF; --dual only where\n"
    "                                    the dual's faces are flat, --reciprocal for the polar\n"
    "                                    reciprocal; --tabs: a tab on one side of every glue edge\n"
    "                                    (the default), on both (for thick card) or on the sides\n"
    "                                    in turn\n"
    "  sheet [--title TEXT] [--columns N] [--tile WxH] -o OUT.png IMAGE CAPTION ...\n"
    "                                    a contact sheet of pictures with captions (the gallery)\n"
    "--hidden in model, render, export, stats and net: a hidden body is found by its NAME as the\n"
    "window finds it with \"ausgeblendete Koerper zeigen\" on.\n"
    "CATEGORY is 0 (Polyeder), 2 (Archimedische Koerper) or 3 (Johnson Polyeder); NAME in UTF-8.\n"
    "--file PATH stands for CATEGORY NAME in model, render, export, stats and net: a polyhedron file\n"
    "(OFF or OBJ) built as the window opens it, titled with the file's name; one that cannot be\n"
    "read or built is refused with the window's message and status 1.\n"
    "--op RECIPE in model, render, export, stats and net: the body made by operations on the body\n"
    "named, a recipe of the letters below read right to left (\"tk\": t applied to k of the body;\n"
    "k and t may take a degree, \"k5\": on the pentagons only), put into canonical form (every edge\n"
    "touching the unit sphere) unless --plain is given; model writes the result as the solid and\n"
    "its dual as the dual. A recipe that cannot be read is refused with status 2.\n"
    "%OPERATORS%"
    "--morph T in model, render, export, stats and net: the solid replaced by the figure on the way\n"
    "to its dual at T (0 the solid, 0.5 the rectified form where solid and dual edges cross, 1 the\n"
    "dual), where the solid meets its scaled polar reciprocal; the dual shown is the polar\n"
    "reciprocal. Only for convex solids with flat faces (status 1 otherwise).\n"
    "--size and --tile take WxH in pixels, each side 1 to 10000; --page in millimetres, 50 to 10000.\n"
    "--reciprocal: the dual is the polar reciprocal about the midsphere (where every edge touches\n"
    "one) or the sphere through the mean distance of the edge midpoints, as the window's\n"
    "\"Dual als polare Reziproke\"; a body with a face plane through its centre has none (status 1).\n"
    "Options stand anywhere after the command, each one with a value at most once; \"--\" ends them.\n"
    "A command line the inspector cannot take is refused, naming the argument, with status 2.\n"
    "-o FILE: a file appears whole or not at all; when writing fails, the previous file stays as it\n"
    "was and the status is 1. \"-o -\" writes to standard output (binary formats not to a terminal).\n"
    "Pictures of render, sheet and export --format png take the format of FILE's suffix (png, jpg,\n"
    "bmp, ...; any the Qt image writers know; PNG without a suffix and on standard output); other\n"
    "--format values write that format whatever the suffix.\n";

// The usage with the operators listed, two to a line.
std::string usage() {
    std::string operators;
    int column = 0;
    for (const OperatorInfo& op : operatorList()) {
        std::string entry = std::string("  ") + op.letter + "  " + op.name;
        const QString shown = QString::fromUtf8(entry.c_str());
        if (column == 0) entry.append(static_cast<std::size_t>(std::max<qsizetype>(1, 36 - shown.size())), ' ');
        operators += entry;
        if (++column == 2) operators += "\n", column = 0;
    }
    if (column != 0) operators += "\n";
    std::string text = kUsage;
    const std::string mark = "%OPERATORS%";
    text.replace(text.find(mark), mark.size(), operators);
    return text;
}

void printLine(const QJsonObject& o) {
    const QByteArray line = QJsonDocument(o).toJson(QJsonDocument::Compact);
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
    std::fputc('\n', stdout);
}

Options globalOptions() {
    return Options("").text("--data", "DIR").flag("--help").stopAtFirstPositional();
}

HiddenBodies hiddenBodies(const CommandLine& line) {
    return line.given("--hidden") ? HiddenBodies::Shown : HiddenBodies::LeftOut;
}

Options listOptions() {
    return Options("list").flag("--hidden");
}

int list(Catalogue& catalogue, const CommandLine& line) {
    for (const ListedBody& b : listedBodies(catalogue.tables(), hiddenBodies(line)))
        std::cout << sectionNumber(b.category) << '\t' << b.position << '\t' << b.bodyIndex << '\t' << b.blockId << '\t'
                  << latin1ToUtf8(b.name) << '\n';
    return 0;
}

Options modelOptions() {
    return bodyCommand("model", false)
        .flag("--all")
        .flag("--reciprocal")
        .exclusive("--all", "--file")
        .exclusive("--all", "--op")
        .check([](const CommandLine& line) {
            if (line.given("--all") ? line.given("CATEGORY") : !line.given("NAME") && !line.given("--file"))
                throw Usage(std::string("model takes CATEGORY NAME, --file PATH or --all") +
                            (line.given("--all") ? ", not CATEGORY NAME and --all" : ""));
        });
}

int model(Catalogue& catalogue, const CommandLine& line) {
    const DualKind dual = line.given("--reciprocal") ? DualKind::PolarReciprocal : DualKind::Catalogue;
    if (line.given("--all")) {
        const std::shared_ptr<const CatalogueTables> tables = catalogue.shared();
        // One broken body must not hide the others: each failure is reported, the status tells.
        int failed = 0;
        for (const ListedBody& b : listedBodies(*tables, hiddenBodies(line))) {
            try {
                printLine(
                    modelToJson(buildAsTheWindowDoes(tables, sectionNumber(b.category), b.name, hiddenBodies(line), dual)));
            } catch (const std::exception& e) {
                std::fflush(stdout);
                std::cerr << "kesmora-inspect: " << latin1ToUtf8(b.name) << " (category " << sectionNumber(b.category)
                          << "): " << e.what() << "\n";
                ++failed;
            }
        }
        if (failed > 0)
            throw std::runtime_error(std::to_string(failed) + (failed == 1 ? " body" : " bodies") +
                                     " could not be built");
        return 0;
    }
    printLine(modelToJson(buildNamedBody(catalogue, line, hiddenBodies(line), dual)));
    return 0;
}

Options renderOptions() {
    return bodyCommand("render")
        .whole("--mode", 1, 7)
        .size("--size", 1, 10000)
        .flag("--marks")
        .degrees("--turn")
        .flag("--reciprocal")
        .text("-o", "FILE.png")
        .required();
}

int render(Catalogue& catalogue, const CommandLine& line) {
    RenderSettings settings;
    settings.mode = static_cast<DrawMode>(line.number("--mode", static_cast<int>(settings.mode)));
    settings.markPoints = line.given("--marks");
    const auto [width, height] = line.size("--size", {1008, 534});
    const bool turned = line.given("--turn");
    const Degrees turn = line.degrees("--turn", {0, 0, 0});
    const std::string out = line.text("-o");
    const QByteArray format = imageFormatFor(out);
    refuseBinaryOnTerminal(out);
    BuiltBody b =
        buildNamedBody(catalogue, line, HiddenBodies::LeftOut,
                       line.given("--reciprocal") ? DualKind::PolarReciprocal : DualKind::Catalogue);
    if (turned) rechnen(b.model, turn[0], turn[1], turn[2]);
    QImage image;
    SceneRenderer renderer;
    renderer.renderScene(image, QSize(width, height), b.model, settings);
    writeImage(out, image, format);
    return 0;
}

// The commands about the catalogue and its bodies or a file's, each with the declaration of its
// arguments.
struct Command {
    const char* name;
    Options (*options)();
    int (*run)(Catalogue&, const CommandLine&);
};
const Command kCommands[] = {{"list", listOptions, list},           {"model", modelOptions, model},
                             {"render", renderOptions, render},     {"export", exportOptions, exportCommand},
                             {"stats", statsOptions, statsCommand}, {"net", netOptions, netCommand}};

int run(const std::string& command, const std::vector<std::string>& rest, const char* argv0,
        const std::string& dataDir) {
    if (command == "sheet") return sheetCommand(sheetOptions().parse(rest));
    for (const Command& c : kCommands) {
        if (command != c.name) continue;
        // The command line is read whole before the catalogue: a wrong one is refused without
        // reading a file.
        const CommandLine line = c.options().parse(rest);
        Catalogue catalogue(argv0, dataDir);
        return c.run(catalogue, line);
    }
    throw Usage("unknown command " + command);
}

void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "kesmora-inspect: " << message.toLocal8Bit().constData() << "\n";
    if (type == QtFatalMsg) std::abort();
}

} // namespace

int main(int argc, char* argv[]) {
    // Everything is drawn into images: no display is needed, whatever the desktop's setting.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the session (no XDG_RUNTIME_DIR, fonts, plugins) are no concern of a
    // command-line run; the inspector's own errors go to std::cerr. QT_LOGGING_RULES brings
    // them back for whoever looks into Qt itself.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) qInstallMessageHandler(quietQt);
    QGuiApplication app(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const CommandLine global = globalOptions().parse(args);
        const std::string dataDir = global.text("--data");
        if (!global.given("--help") && global.rest().empty()) throw Usage("no command");
        const std::string command = global.given("--help") ? "help" : global.rest().front();
        const std::vector<std::string> rest(global.rest().begin() + (global.rest().empty() ? 0 : 1),
                                            global.rest().end());
        if (command == "help") {
            std::cout << usage();
            checkStandardOutput();
            return 0;
        }
        const int status = run(command, rest, argv[0], dataDir);
        // Output cut short (a full disk behind a redirection) is a failure, not a result.
        checkStandardOutput();
        return status;
    } catch (const Usage& e) {
        std::cerr << "kesmora-inspect: " << e.what() << "\n" << usage();
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "kesmora-inspect: " << e.what() << "\n";
        return 1;
    }
}
