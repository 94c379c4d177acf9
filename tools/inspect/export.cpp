// Writing the solid or its dual as OFF, OBJ, STL, SVG or PNG.
#include "export.h"

#include "export/figurefile.h"
#include "options.h"
#include "output.h"
#include "session.h"
#include "catalogue/tables.h"
#include "view/renderer.h"

#include <optional>

namespace kesmora::inspect {

namespace {

enum class Format { Off, Obj, Stl, StlAscii, Svg, Png };

// The longest edge of --edge in millimetres, checked: a finite number above 0, at most 100 000.
double edgeMillimetres(const CommandLine& line) {
    const std::string text = line.text("--edge");
    const std::optional<double> mm = convertNumber(text);
    if (!mm || !(*mm > 0 && *mm <= 100000))
        throw Usage("--edge nimmt MM, die längste Kante in Millimetern (über 0 bis 100000), nicht \"" + text +
                    "\"");
    return *mm;
}

} // namespace

Options exportOptions() {
    return bodyCommand("export")
        .flag("--dual")
        .flag("--reciprocal")
        .choice("--format", {{"off", static_cast<int>(Format::Off)},
                             {"obj", static_cast<int>(Format::Obj)},
                             {"stl", static_cast<int>(Format::Stl)},
                             {"stl-ascii", static_cast<int>(Format::StlAscii)},
                             {"svg", static_cast<int>(Format::Svg)},
                             {"png", static_cast<int>(Format::Png)}})
        .required()
        .whole("--mode", 1, 7)
        .size("--size", 1, 10000)
        .flag("--marks")
        .flag("--as-shown")
        .text("--edge", "MM")
        .exclusive("--as-shown", "--edge")
        .text("-o", "DATEI")
        .required()
        .check([](const CommandLine& line) {
            const auto format = static_cast<Format>(line.number("--format", 0));
            const bool picture = format == Format::Svg || format == Format::Png;
            // Solid and dual are one picture, as in the window; a mesh has no mode, size or marks.
            if (picture && line.given("--dual"))
                throw Usage("svg und png zeigen Körper und Dual zusammen, wie das Fenster; bitte ohne --dual");
            // A mesh of the solid alone has no dual to choose.
            if (!picture && line.given("--reciprocal") && !line.given("--dual"))
                throw Usage("--reciprocal wählt den dualen Körper: bitte --dual dazu angeben oder ein Bildformat");
            if (line.given("--edge")) edgeMillimetres(line);
            if (picture)
                for (const char* option : {"--as-shown", "--edge"})
                    if (line.given(option))
                        throw Usage(std::string(option) + " gehört zu den Körperdateien (off, obj, stl, stl-ascii), "
                                                          "nicht zu den Bildern");
            for (const char* option : {"--mode", "--size", "--marks"})
                if (!picture && line.given(option))
                    throw Usage(std::string(option) +
                                " gehört zu den Bildern (--format svg oder png), nicht zu den Körperdateien");
        });
}

int exportCommand(Catalogue& catalogue, const CommandLine& line) {
    const bool dual = line.given("--dual");
    const auto format = static_cast<Format>(line.number("--format", 0));
    RenderSettings settings;
    settings.mode = static_cast<DrawMode>(line.number("--mode", static_cast<int>(settings.mode)));
    settings.markPoints = line.given("--marks");
    const auto [width, height] = line.size("--size", {1008, 534});
    const std::string out = line.text("-o");
    // --format png names a picture; the suffix of FILE picks how it is encoded (jpg, bmp, ...).
    const QByteArray rasterFormat = format == Format::Png ? imageFormatFor(out) : QByteArray();
    if (format == Format::Png || format == Format::Stl) refuseBinaryOnTerminal(out);
    const bool reciprocal = line.given("--reciprocal");
    const BuiltBody body = buildNamedBody(catalogue, line, HiddenBodies::LeftOut,
                                          reciprocal ? DualKind::PolarReciprocal : DualKind::Catalogue);
    if (format == Format::Svg || format == Format::Png) {
        // The core refuses it too, in the window's words; the command line names its own way out.
        if (format == Format::Svg && settings.mode == DrawMode::Interpenetration3)
            throw std::runtime_error("Modus 7 verknüpft Bildpunkte und hat keine Vektorform; bitte --format png");
        writeScenePicture(body.model, settings, QSize(width, height), body.shownName(), out,
                          format == Format::Svg, rasterFormat);
        return 0;
    }

    const MeshFormat meshFormat = format == Format::Off   ? MeshFormat::Off
                                  : format == Format::Obj ? MeshFormat::Obj
                                  : format == Format::Stl ? MeshFormat::Stl
                                                          : MeshFormat::StlAscii;
    FilePlacement placement;
    placement.asShown = line.given("--as-shown");
    if (line.given("--edge")) placement.longestEdge = edgeMillimetres(line);
    writeFigureFile(body.model, dual, meshFormat, figureTitle(body.shownName(), dual, body.model.dualInfo.shape),
                    out, placement);
    return 0;
}

} // namespace kesmora::inspect
