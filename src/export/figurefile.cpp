#include "figurefile.h"

#include "catalogue/latin1.h"
#include "mesh.h"
#include "meshfiles.h"
#include "output.h"
#include "view/renderer.h"

#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <sstream>
#include <stdexcept>

namespace kesmora {

std::string figureTitle(const std::string& bodyName, bool dual, DualShape shape) {
    if (!dual) return bodyName;
    return bodyName + ", " + latin1ToUtf8(dualShapeName(shape));
}

std::string figureFileBytes(const SolidModel& model, bool dual, MeshFormat format, const std::string& title,
                            const FilePlacement& placement) {
    Mesh mesh = placedMesh(model, dual, placement);
    if (!orientOutward(mesh)) {
        // A closed one-sided surface (the tetrahemihexahedron) has no outside to turn its faces
        // to: OFF and OBJ carry its faces as they stand, but STL's facet normals claim an outside.
        if (!isClosed(mesh))
            throw std::runtime_error("Die Flächen von " + title +
                                     " bilden keine geschlossene Oberfläche; die Datei wurde nicht geschrieben.");
        if (format == MeshFormat::Stl || format == MeshFormat::StlAscii)
            throw std::runtime_error("Die Flächen von " + title +
                                     " bilden eine einseitige Oberfläche ohne Außenseite, "
                                     "die STL für seine Flächennormalen braucht; OFF und OBJ können sie "
                                     "speichern.");
    }
    std::ostringstream out(std::ios::out | std::ios::binary);
    switch (format) {
    case MeshFormat::Off:
        writeOff(mesh, out);
        break;
    case MeshFormat::Obj:
        writeObj(mesh, title, out);
        break;
    case MeshFormat::Stl:
        writeStlBinary(mesh, title, out);
        break;
    case MeshFormat::StlAscii:
        writeStlAscii(mesh, title, out);
        break;
    }
    return std::move(out).str();
}

void writeFigureFile(const SolidModel& model, bool dual, MeshFormat format, const std::string& title,
                     const std::string& file, const FilePlacement& placement) {
    const std::string bytes = figureFileBytes(model, dual, format, title, placement);
    writeFileAtomically(file, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void writeScenePicture(const SolidModel& model, const RenderSettings& settings, QSize size, const std::string& title,
                       const std::string& file, bool svg, const QByteArray& rasterFormat) {
    SceneRenderer renderer;
    if (!svg) {
        QImage image;
        renderer.renderScene(image, size, model, settings);
        writeImage(file, image, rasterFormat);
        return;
    }
    // "Durchdringung 3" ANDs a raster layer into the picture, which a vector file cannot express.
    if (settings.mode == DrawMode::Interpenetration3)
        throw std::runtime_error("„Durchdringung 3“ verknüpft Bildpunkte und hat keine Vektorform; bitte als "
                                 "PNG speichern.");
    QSvgGenerator generator;
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QString::fromStdString(title));
    generator.setDescription(QStringLiteral("Kesmora, ") + QString::fromUtf8(drawModeCaption(settings.mode)));
    writeSvg(file, generator,
             [&](QPainter& painter) { renderer.zeichnenx(painter, size, model, settings); });
}

} // namespace kesmora
