// Writing the solid or its dual as OFF, OBJ, STL, SVG or PNG.
#include "export.h"

#include "catalogue/latin1.h"
#include "export/meshfiles.h"
#include "options.h"
#include "output.h"
#include "session.h"
#include "view/renderer.h"

#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <sstream>

namespace kesmora::inspect {

namespace {

enum class Format { Off, Obj, Stl, StlAscii, Svg, Png };

QString utf8(const std::string& s) {
    return QString::fromStdString(s);
}

void writePicture(const BuiltBody& body, const RenderSettings& settings, QSize size, const std::string& file,
                  Format format, const QByteArray& rasterFormat) {
    if (format == Format::Png) {
        QImage image;
        SceneRenderer renderer;
        renderer.renderScene(image, size, body.model, settings);
        writeImage(file, image, rasterFormat);
        return;
    }
    // "Durchdringung 3" ANDs a raster layer into the picture, which a vector file cannot express.
    if (settings.mode == DrawMode::Interpenetration3)
        throw std::runtime_error("mode 7 combines pixels and has no vector form; use --format png");
    QSvgGenerator svg;
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QString::fromLatin1(body.name.data(), static_cast<qsizetype>(body.name.size())));
    svg.setDescription(QStringLiteral("Kesmora, ") + utf8(std::string(drawModeCaption(settings.mode))));
    SceneRenderer renderer;
    writeSvg(file, svg, [&](QPainter& painter) { renderer.zeichnenx(painter, size, body.model, settings); });
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
        .text("-o", "FILE")
        .required()
        .check([](const CommandLine& line) {
            const auto format = static_cast<Format>(line.number("--format", 0));
            const bool picture = format == Format::Svg || format == Format::Png;
            // Solid and dual are one picture, as in the window; a mesh has no mode, size or marks.
            if (picture && line.given("--dual"))
                throw Usage("svg and png show solid and dual together, as the window does; drop --dual");
            // A mesh of the solid alone has no dual to choose.
            if (!picture && line.given("--reciprocal") && !line.given("--dual"))
                throw Usage("--reciprocal chooses the dual: give --dual with it, or a picture format");
            for (const char* option : {"--mode", "--size", "--marks"})
                if (!picture && line.given(option))
                    throw Usage(std::string(option) +
                                " belongs to the pictures (--format svg or png), not to meshes");
        });
}

int exportCommand(const CatalogueTables& tables, const CommandLine& line) {
    const int category = line.number("CATEGORY", 0);
    const std::string name = utf8ToLatin1(line.text("NAME"));
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
    const BuiltBody body = buildAsTheWindowDoes(tables, category, name,
                                                reciprocal ? DualKind::PolarReciprocal : DualKind::Catalogue);
    if (format == Format::Svg || format == Format::Png) {
        writePicture(body, settings, QSize(width, height), out, format, rasterFormat);
        return 0;
    }

    Mesh mesh = dual ? dualMesh(body.model) : solidMesh(body.model);
    if (!orientOutward(mesh))
        throw std::runtime_error("the faces of " + latin1ToUtf8(name) +
                                 (dual ? (reciprocal ? " (polar reciprocal)" : " (dual)") : "") +
                                 " do not form a closed two-sided surface");
    const std::string title =
        latin1ToUtf8(name) +
        (dual ? (reciprocal ? ", polar reciprocal" : category == 3 ? ", quasi-dual" : ", dual") : "");
    std::ostringstream file(std::ios::out | std::ios::binary);
    switch (format) {
    case Format::Off:
        writeOff(mesh, file);
        break;
    case Format::Obj:
        writeObj(mesh, title, file);
        break;
    case Format::Stl:
        writeStlBinary(mesh, title, file);
        break;
    default:
        writeStlAscii(mesh, title, file);
        break;
    }
    const std::string bytes = std::move(file).str();
    writeFileAtomically(out, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return 0;
}

} // namespace kesmora::inspect
