// Writing the solid or its dual as OFF, OBJ, STL, SVG or PNG.
#include "export.h"

#include "catalogue/numbertext.h"
#include "options.h"
#include "output.h"
#include "session.h"
#include "catalogue/latin1.h"
#include "view/renderer.h"

#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <array>
#include <cstdint>
#include <cstring>
#include <sstream>

namespace kesmora::inspect {

namespace {

std::string number(double v) {
    return formatGeneral(v, 12);
}

std::string point(const Point3D& p) {
    return number(p.x) + " " + number(p.y) + " " + number(p.z);
}

// Triangles of the fans, each with its unit normal.
struct Triangle {
    Point3D normal, a, b, c;
};
std::vector<Triangle> fans(const Mesh& mesh) {
    std::vector<Triangle> out;
    for (const auto& face : mesh.faces) {
        for (std::size_t i = 1; i + 1 < face.size(); ++i) {
            const Point3D& a = mesh.vertices[face[0]];
            const Point3D& b = mesh.vertices[face[i]];
            const Point3D& c = mesh.vertices[face[i + 1]];
            out.push_back({unit(cross(b - a, c - a)), a, b, c});
        }
    }
    return out;
}

void putFloat(std::ostream& out, double v) {
    const float f = static_cast<float>(v);
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    const char bytes[4] = {static_cast<char>(bits & 0xff), static_cast<char>((bits >> 8) & 0xff),
                           static_cast<char>((bits >> 16) & 0xff), static_cast<char>((bits >> 24) & 0xff)};
    out.write(bytes, 4);
}

void putPoint(std::ostream& out, const Point3D& p) {
    putFloat(out, p.x);
    putFloat(out, p.y);
    putFloat(out, p.z);
}

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

void writeOff(const Mesh& mesh, std::ostream& out) {
    out << "OFF\n" << mesh.vertices.size() << ' ' << mesh.faces.size() << ' ' << edgeMap(mesh.faces).edges.size() << '\n';
    for (const Point3D& p : mesh.vertices)
        out << point(p) << '\n';
    for (const auto& face : mesh.faces) {
        out << face.size();
        for (int v : face)
            out << ' ' << v;
        out << '\n';
    }
}

void writeObj(const Mesh& mesh, const std::string& title, std::ostream& out) {
    out << "# " << title << "\n# written by kesmora-inspect; faces counter-clockwise seen from outside\n";
    for (const Point3D& p : mesh.vertices)
        out << "v " << point(p) << '\n';
    for (const auto& face : mesh.faces) {
        out << 'f';
        for (int v : face)
            out << ' ' << v + 1;
        out << '\n';
    }
}

void writeStlBinary(const Mesh& mesh, const std::string& title, std::ostream& out) {
    std::array<char, 80> header{};
    const std::string text = "Kesmora: " + title;
    std::memcpy(header.data(), text.data(), std::min(text.size(), header.size()));
    out.write(header.data(), header.size());
    const auto triangles = fans(mesh);
    const auto count = static_cast<std::uint32_t>(triangles.size());
    const char countBytes[4] = {static_cast<char>(count & 0xff), static_cast<char>((count >> 8) & 0xff),
                                static_cast<char>((count >> 16) & 0xff), static_cast<char>(count >> 24)};
    out.write(countBytes, 4);
    for (const Triangle& t : triangles) {
        putPoint(out, t.normal);
        putPoint(out, t.a);
        putPoint(out, t.b);
        putPoint(out, t.c);
        out.write("\0\0", 2);
    }
}

void writeStlAscii(const Mesh& mesh, const std::string& title, std::ostream& out) {
    std::string name = title;
    for (char& ch : name)
        if (ch == ' ' || ch == '\n') ch = '_';
    out << "solid " << name << '\n';
    for (const Triangle& t : fans(mesh)) {
        out << "  facet normal " << point(t.normal) << "\n    outer loop\n";
        for (const Point3D* p : {&t.a, &t.b, &t.c})
            out << "      vertex " << point(*p) << '\n';
        out << "    endloop\n  endfacet\n";
    }
    out << "endsolid " << name << '\n';
}

Options exportOptions() {
    return bodyCommand("export")
        .flag("--dual")
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
    const BuiltBody body = buildAsTheWindowDoes(tables, category, name);
    if (format == Format::Svg || format == Format::Png) {
        writePicture(body, settings, QSize(width, height), out, format, rasterFormat);
        return 0;
    }

    Mesh mesh = dual ? dualMesh(body.model) : solidMesh(body.model);
    if (!orientOutward(mesh))
        throw std::runtime_error("the faces of " + latin1ToUtf8(name) + (dual ? " (dual)" : "") +
                                 " do not form a closed two-sided surface");
    const std::string title = latin1ToUtf8(name) + (dual ? (category == 3 ? ", quasi-dual" : ", dual") : "");
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
