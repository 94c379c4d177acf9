// The "Datei" commands and the "Hilfe" texts. The files are written by the same code as the
// inspector's (export/figurefile.h).
#include "filecommands.h"

#include "shortcuts.h"

#include "export/figurefile.h"
#include "export/netlayout.h"
#include "export/netpage.h"
#include "export/scaledpicture.h"
#include "view/renderer.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#ifndef KESMORA_VERSION
#define KESMORA_VERSION "0"
#endif

namespace kesmora {

namespace {

// A file name without a suffix gets the first one the chosen kind of file offers.
QString withSuffix(const QString& path, const QString& suffix) {
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + suffix : path;
}

} // namespace

void FileCommands::savePicture() {
    const Shown s = shown_();
    if (s.picture.isNull())
        throw std::runtime_error("Es ist noch kein Bild zu sehen, das gespeichert werden könnte.");
    const std::optional<QSize> size = dialogs_().choosePictureSize(s.picture.size());
    if (!size) return;
    QString path = dialogs_().chooseFile({QStringLiteral("Bild speichern"),
                                          QStringLiteral("PNG-Bild (*.png);;SVG-Grafik (*.svg)"), true,
                                          fileNameFor(s.bodyName, QStringLiteral("png"))});
    if (path.isEmpty()) return;
    path = withSuffix(path, QStringLiteral("png"));
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg"))
        throw std::runtime_error("Ein Bild wird als PNG (.png) oder SVG (.svg) gespeichert, nicht als „." +
                                 suffix.toStdString() + "“.");
    // The same scene, larger as a whole: lines and marks grow with the picture.
    writeScaledScenePicture(s.model, s.render, s.picture.size(), *size, s.title.toStdString(), path.toStdString(),
                            suffix == QLatin1String("svg"));
}

void FileCommands::exportFigure() {
    const Shown s = shown_();
    const std::optional<Dialogs::ExportChoice> choice =
        dialogs_().chooseExport(QString::fromLatin1(dualShapeName(s.model.dualInfo.shape)), s.bodyName);
    if (!choice || choice->path.isEmpty()) return;
    if (choice->format < 0 || choice->format > static_cast<int>(MeshFormat::StlAscii))
        throw std::runtime_error("Unbekanntes Exportformat.");
    FilePlacement placement;
    placement.asShown = choice->asShown;
    placement.longestEdge = choice->asShown ? 0.0 : choice->edgeMillimetres;
    writeFigureFile(s.model, choice->dual, static_cast<MeshFormat>(choice->format),
                    figureTitle(s.bodyName.toStdString(), choice->dual, s.model.dualInfo.shape),
                    choice->path.toStdString(), placement);
}

bool FileCommands::setUpPrinter(QPrinter& printer, const QString& title) {
    printer.setDocName(title);
    return dialogs_().setUpPrinter(printer, title);
}

void FileCommands::printPicture() {
    const Shown s = shown_();
    QPrinter printer(QPrinter::HighResolution);
    if (!setUpPrinter(printer, QStringLiteral("Bild drucken"))) return;
    // The picture drawn again as it is shown, fitted into the page with its proportions kept:
    // vector lines for modes 1 to 6, the pixels of "Durchdringung 3", which only exist as such.
    const QSize size = s.picture.size();
    if (size.isEmpty()) throw std::runtime_error("Es ist noch kein Bild zu sehen, das gedruckt werden könnte.");
    QPainter painter;
    if (!painter.begin(&printer))
        throw std::runtime_error("Der Drucker konnte nicht geöffnet werden.");
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, page.width(), page.height());
    const double scale = std::min(area.width() / size.width(), area.height() / size.height());
    painter.translate((area.width() - size.width() * scale) / 2, (area.height() - size.height() * scale) / 2);
    painter.scale(scale, scale);
    SceneRenderer renderer;
    if (s.render.mode == DrawMode::Interpenetration3) {
        QImage image;
        renderer.renderScene(image, size, s.model, s.render);
        painter.drawImage(QPoint(0, 0), image);
    } else {
        renderer.zeichnenx(painter, size, s.model, s.render);
    }
    if (!painter.end()) throw std::runtime_error("Der Druck ist fehlgeschlagen.");
}

namespace {

// The figures a net can be made of: the solid, the dual on screen, and the polar reciprocal where
// that is not the dual on screen already (its faces are flat where a quasi-dual's are not).
struct NetFigures {
    QStringList labels;
    std::vector<NetSide> sides;
};

NetFigures netFigures(const SolidModel& model) {
    NetFigures f;
    f.labels << QString::fromUtf8("Körper");
    f.sides.push_back(NetSide::Solid);
    const auto offer = [&f](DualShape shape, NetSide side) {
        f.labels << QString::fromLatin1(dualShapeName(shape));
        f.sides.push_back(side);
    };
    if (model.dualInfo.shape == DualShape::PolarReciprocal) {
        offer(DualShape::PolarReciprocal, NetSide::Reciprocal);
        return f;
    }
    offer(model.dualInfo.shape, NetSide::Dual);
    offer(DualShape::PolarReciprocal, NetSide::Reciprocal);
    return f;
}

} // namespace

std::optional<Dialogs::NetChoice> FileCommands::chooseNet(bool save, const SolidModel& model) {
    return dialogs_().chooseNet(save, netFigures(model).labels, shown_().bodyName);
}

NetRequest FileCommands::netRequestFor(const SolidModel& model, const QString& name,
                                       const Dialogs::NetChoice& choice) {
    const NetFigures figures = netFigures(model);
    if (choice.figure < 0 || choice.figure >= static_cast<int>(figures.sides.size()))
        throw std::runtime_error("Diese Figur gibt es nicht.");
    if (choice.edgeMillimetres < 0) throw std::runtime_error("Eine Kantenlänge ist nie negativ.");
    NetRequest request = netRequest(model, name, figures.sides[static_cast<std::size_t>(choice.figure)]);
    request.edgeMillimetres = choice.edgeMillimetres;
    request.tabs = choice.tabs;
    return request;
}

QString FileCommands::netRefusal() const {
    const Shown s = shown_();
    const NetFigures figures = netFigures(s.model);
    QString first;
    for (const NetSide side : figures.sides) {
        try {
            checkNetFaces(netRequest(s.model, s.bodyName, side));
            return QString();
        } catch (const NetError& e) {
            if (first.isEmpty()) first = QString::fromUtf8(e.what());
        }
    }
    return first;
}

void FileCommands::saveNet() {
    const Shown s = shown_();
    const std::optional<Dialogs::NetChoice> choice = chooseNet(true, s.model);
    if (choice && choice->fold && foldRequested) return foldRequested(*choice);
    if (!choice || choice->path.isEmpty()) return;
    const QString suffix = QFileInfo(choice->path).suffix().toLower();
    if (suffix != QLatin1String("pdf") && suffix != QLatin1String("svg"))
        throw std::runtime_error("Ein Netz wird als PDF (.pdf) oder SVG (.svg) gespeichert, nicht als „." +
                                 suffix.toStdString() + "“.");
    writeNet(layoutNet(netRequestFor(s.model, s.bodyName, *choice)), choice->path.toStdString());
}

void FileCommands::printNet() {
    const Shown s = shown_();
    const std::optional<Dialogs::NetChoice> choice = chooseNet(false, s.model);
    if (choice && choice->fold && foldRequested) return foldRequested(*choice);
    if (!choice) return;
    NetRequest request = netRequestFor(s.model, s.bodyName, *choice);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (!setUpPrinter(printer, QStringLiteral("Netz drucken"))) return;
    // The print queue shows the body's name, as a saved net's file has it.
    printer.setDocName(s.bodyName);
    // Laid out for the paper the dialog chose, upright; a sheet turned on a landscape page is
    // turned back by the painting.
    const QSizeF paper = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    request.pageMillimetres = QSizeF(std::min(paper.width(), paper.height()), std::max(paper.width(), paper.height()));
    paintNetSheets(printer, layoutNet(request));
}

void FileCommands::showShortcuts() {
    dialogs_().showInformation(QString::fromUtf8("Tastenkürzel"), shortcutTableHtml());
}

void FileCommands::showAbout() {
    const Shown s = shown_();
    dialogs_().showInformation(QString::fromUtf8("Über Kesmora"),
           QString::fromUtf8("Kesmora %1\n\n"
                             "Platonische, archimedische, catalanische und Johnson-Körper und viele mehr, "
                             "jeweils neben ihrem dualen Körper: in sieben Darstellungen, gedreht, vergrößert, "
                             "vermessen, als Bild, Datei und Bastelnetz.\n\n"
                             "Lizenz: GNU General Public License, Version 3 oder später. Kesmora ist freie "
                             "Software und kommt ohne jede Gewährleistung.")
               .arg(QStringLiteral(KESMORA_VERSION)));
}

FileCommands::FileCommands(std::function<Shown()> shown, std::function<Dialogs&()> dialogs)
    : shown_(std::move(shown)), dialogs_(std::move(dialogs)) {}

} // namespace kesmora
