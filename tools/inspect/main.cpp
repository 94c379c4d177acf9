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
    "Aufruf: kesmora-inspect [--data VERZEICHNIS] BEFEHL ...\n"
    "  list [--hidden]                   jeder Körper der Listen: Kategorie, Listenplatz, Index,\n"
    "                                    Block, Name\n"
    "  model KATEGORIE NAME [--hidden] [--reciprocal]\n"
    "  model --file PFAD [--reciprocal]  das gebaute Modell als JSON (eine Zeile)\n"
    "  model --all [--hidden] [--reciprocal]\n"
    "                                    jeder Körper der Listen, ein JSON-Objekt je Zeile\n"
    "  render KATEGORIE NAME [--mode N] [--size BxH] [--marks] [--turn XY,YZ,XZ] [--reciprocal]\n"
    "         -o DATEI.png               das Bild der Zeichenfläche: Modus 1..7 (ohne Angabe 6),\n"
    "                                    1008x534 Bildpunkte ohne Angabe\n"
    "  export KATEGORIE NAME [--dual [--reciprocal]] --format off|obj|stl|stl-ascii\n"
    "         [--edge MM | --as-shown] -o DATEI\n"
    "                                    der Körper (oder sein dualer Körper), Flächen nach außen,\n"
    "                                    in Körpereinheiten: um den Schwerpunkt der Ecken, nicht\n"
    "                                    gekippt, nicht gedreht, Kantenlänge 1 (bei verschieden\n"
    "                                    langen Kanten die längste 1), wie das Fenster\n"
    "                                    \"Eigenschaften\" misst; eine geöffnete Datei in ihren\n"
    "                                    eigenen Koordinaten. --edge: die längste Kante in\n"
    "                                    Millimetern (für den 3D-Druck; STL misst in Millimetern).\n"
    "                                    --as-shown: gedreht und groß wie im Bild. stl ist binär\n"
    "  export KATEGORIE NAME --format svg|png [--mode N] [--size BxH] [--marks] [--reciprocal]\n"
    "         -o DATEI                   das Bild, wie render es zeichnet; svg bleibt Vektorgrafik\n"
    "                                    (Modus 1..6)\n"
    "  stats KATEGORIE NAME [--dual [--reciprocal]] [--json]\n"
    "                                    alles, was das Fenster \"Eigenschaften\" zeigt, in seinen\n"
    "                                    Einheiten: Anzahlen, Flächenarten, Eckenkonfigurationen,\n"
    "                                    Kantenlängen, Winkel, Oberfläche, Volumen, Radien,\n"
    "                                    Symmetrie, der Name des dualen Körpers; --json dazu die\n"
    "                                    Zahlen in Körpereinheiten\n"
    "  net KATEGORIE NAME [--dual | --reciprocal] [--page BxH] [--edge MM]\n"
    "      [--tabs one|both|alternating] -o DATEI.svg|DATEI.pdf\n"
    "                                    ein Netz zum Ausschneiden und Kleben, Flächen gefärbt wie\n"
    "                                    in \"farbige Flächen\", eine Lasche und eine Nummer an jeder\n"
    "                                    Klebekante, auf A4-Seiten (oder B x H Millimetern);\n"
    "                                    --edge: die längste Kante in Millimetern (sonst so groß,\n"
    "                                    wie eine Seite fasst), in Teile über so viele Seiten wie\n"
    "                                    nötig: ein SVG je Seite (DATEI-1.svg, DATEI-2.svg, ...)\n"
    "                                    oder ein PDF; --dual nur, wo die Flächen des dualen Körpers\n"
    "                                    eben sind, --reciprocal für den polar reziproken Körper;\n"
    "                                    --tabs: eine Lasche an einer Seite jeder Klebekante (ohne\n"
    "                                    Angabe), an beiden (für dicken Karton) oder abwechselnd\n"
    "  sheet [--title TEXT] [--columns N] [--tile BxH] -o AUS.png BILD TEXT ...\n"
    "                                    ein Übersichtsblatt von Bildern mit Unterschriften (die\n"
    "                                    Galerie)\n"
    "KATEGORIE: 0, 2 oder 3 oder der Name, wie das Fenster ihn zeigt (\"Polyeder\", \"Archimedische\n"
    "Körper\", \"Johnson Polyeder\"), auch nur sein Anfang (\"Johnson\"). NAME in UTF-8, wie man ihn\n"
    "tippt: Groß- und Kleinschreibung gleich, \"ue\" für \"ü\" (ae, oe, ss ebenso), auch ein Teil eines\n"
    "Namens mit Komma (\"Würfel\" findet \"Hexaeder, Würfel\"). Ein unbekannter Name endet mit Status 2\n"
    "und bis zu drei Vorschlägen.\n"
    "--hidden in model, render, export, stats und net: ein ausgeblendeter Körper wird gefunden, wie\n"
    "das Fenster ihn mit \"ausgeblendete Körper zeigen\" findet.\n"
    "--file PFAD steht in model, render, export, stats und net für KATEGORIE NAME: eine Polyederdatei\n"
    "(OFF oder OBJ), gebaut, wie das Fenster sie öffnet, mit dem Namen der Datei als Titel; eine, die\n"
    "sich nicht lesen oder bauen lässt, wird mit der Meldung des Fensters und Status 1 abgewiesen.\n"
    "--op REZEPT in model, render, export, stats und net: der Körper, den Operationen aus dem\n"
    "genannten machen, ein Rezept aus den Buchstaben unten, von rechts nach links gelesen (\"tk\": t\n"
    "auf k des Körpers angewandt; k und t nehmen einen Grad, \"k5\": nur auf die Fünfecke), in\n"
    "kanonische Form gebracht (jede Kante berührt die Einheitskugel), außer mit --plain; model\n"
    "schreibt das Ergebnis als Körper und seinen dualen Körper als dualen. Ein Rezept, das sich nicht\n"
    "lesen lässt, wird mit Status 2 abgewiesen.\n"
    "%OPERATORS%"
    "--morph T in model, render, export, stats und net: statt des Körpers die Figur auf dem Weg zu\n"
    "seinem dualen Körper bei T (0 der Körper, 0.5 die Form, in der sich Kanten von Körper und Dual\n"
    "kreuzen, 1 der duale Körper), wo der Körper seine skalierte polare Reziproke trifft; gezeigt wird\n"
    "als dualer Körper die polare Reziproke. Nur für konvexe Körper mit ebenen Flächen (sonst Status 1).\n"
    "--size und --tile nehmen BxH in Bildpunkten, jede Seite 1 bis 10000; --page in Millimetern, 50\n"
    "bis 10000.\n"
    "--reciprocal: der duale Körper ist die polare Reziproke an der Kantenkugel (die jede Kante\n"
    "berührt) oder an der Kugel durch den mittleren Abstand der Kantenmitten, wie \"Dual als polare\n"
    "Reziproke\" im Fenster; ein Körper mit einer Flächenebene durch seine Mitte hat keine (Status 1).\n"
    "Optionen stehen irgendwo nach dem Befehl, jede mit Wert höchstens einmal; \"--\" beendet sie.\n"
    "Eine Befehlszeile, die der Inspektor nicht annehmen kann, wird mit Nennung des Arguments und\n"
    "Status 2 abgewiesen.\n"
    "-o DATEI: eine Datei entsteht ganz oder gar nicht; schlägt das Schreiben fehl, bleibt die\n"
    "frühere Datei, wie sie war, und der Status ist 1. \"-o -\" schreibt auf die Standardausgabe\n"
    "(binäre Formate nicht auf ein Terminal). Bilder von render, sheet und export --format png nehmen\n"
    "das Format der Endung von DATEI (png, jpg, bmp, ...; jedes, das Qt schreiben kann; PNG ohne\n"
    "Endung und auf der Standardausgabe); andere Werte von --format schreiben dieses Format, welche\n"
    "Endung auch immer.\n";

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
    return Options("").text("--data", "VERZEICHNIS").flag("--help").stopAtFirstPositional();
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
            if (line.given("--all") ? line.given("KATEGORIE") : !line.given("NAME") && !line.given("--file"))
                throw Usage(std::string("model nimmt KATEGORIE NAME, --file PFAD oder --all") +
                            (line.given("--all") ? ", nicht KATEGORIE NAME und --all" : ""));
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
                    modelToJson(buildAsTheWindowDoes(tables, sectionNumber(b.category), latin1ToUtf8(b.name),
                                                     hiddenBodies(line), dual)));
            } catch (const std::exception& e) {
                std::fflush(stdout);
                std::cerr << "kesmora-inspect: " << latin1ToUtf8(b.name) << " (Kategorie " << sectionNumber(b.category)
                          << "): " << e.what() << "\n";
                ++failed;
            }
        }
        if (failed > 0)
            throw std::runtime_error(std::to_string(failed) + " Körper " +
                                     (failed == 1 ? "ließ" : "ließen") + " sich nicht bauen");
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
        .text("-o", "DATEI.png")
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
    throw Usage("unbekannter Befehl " + command);
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
        if (!global.given("--help") && global.rest().empty()) throw Usage("kein Befehl");
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
    } catch (const NotFound& e) {
        std::cerr << "kesmora-inspect: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "kesmora-inspect: " << e.what() << "\n";
        return 1;
    }
}
