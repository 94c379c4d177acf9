// Painting the sheets of a net, with its cut, fold and valley lines, tabs, glue numbers and texts,
// and writing them as PDF or SVG.
#include "netpage.h"

#include "export/output.h"
#include "view/rendersettings.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSvgGenerator>

#include <cmath>
#include <set>
#include <stdexcept>

namespace kesmora {

namespace {

// Texts are set in tenths of a millimetre: font sizes are whole pixels.
constexpr double kTextUnit = 10;

QPolygonF mapped(const Polygon& p, const QTransform& t) {
    QPolygonF out;
    for (const QPointF& q : p)
        out << t.map(q);
    return out;
}

void drawTexts(QPainter& painter, const NetLayout& net, int sheet, const QTransform& toDevice) {
    painter.save();
    painter.setTransform(QTransform::fromScale(1 / kTextUnit, 1 / kTextUnit) * toDevice);
    QFont font(QStringLiteral("DejaVu Sans"));
    const RenderSettings colours;
    for (const NetLabel& label : net.labels) {
        if (net.faces[label.face].sheet != sheet) continue;
        // Dark numbers on light faces, light ones on the dark blue of the decagons.
        const QColor fill =
            QColor::fromRgb(colours.polygonColour(static_cast<int>(net.faces[label.face].corners.size())));
        painter.setPen(qGray(fill.rgb()) < 100 ? QColor(255, 255, 255) : QColor(40, 40, 40));
        font.setPixelSize(std::max(1, qRound(label.height * kTextUnit)));
        painter.setFont(font);
        painter.save();
        painter.translate(label.at * kTextUnit);
        painter.rotate(label.degrees);
        const double h = label.height * kTextUnit;
        font.setUnderline(label.underlined);
        painter.setFont(font);
        const QString text = labelText(label);
        const double w = 0.7 * h * static_cast<double>(text.size()) + 2 * h;
        painter.drawText(QRectF(-w, -h, 2 * w, 2 * h), Qt::AlignCenter, text);
        painter.restore();
    }
    font.setUnderline(false);
    painter.setPen(Qt::black);
    const QRectF header(net.header.topLeft() * kTextUnit, net.header.size() * kTextUnit);
    font.setPixelSize(qRound(4.5 * kTextUnit));
    painter.setFont(font);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignTop, net.title);
    font.setPixelSize(qRound(2.8 * kTextUnit));
    painter.setFont(font);
    double y = header.top() + 6.5 * kTextUnit;
    for (const QString& hint : net.hints) {
        painter.drawText(QRectF(header.left(), y, header.width(), 4 * kTextUnit),
                         Qt::AlignLeft | Qt::AlignTop, hint);
        y += 3.8 * kTextUnit;
    }
    const QRectF footer(net.footer.topLeft() * kTextUnit, net.footer.size() * kTextUnit);
    painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom, pageLine(sheet, net.sheetCount));
    // The scale: a bar of 10 mm and the longest edge, so that a page printed scaled is noticed.
    const double barY = footer.bottom() - 1.2 * kTextUnit;
    const QPointF barStart(footer.left(), barY), barEnd(footer.left() + 10 * kTextUnit, barY);
    painter.setPen(QPen(Qt::black, 0.3 * kTextUnit, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(barStart, barEnd);
    for (const QPointF& end : {barStart, barEnd})
        painter.drawLine(end - QPointF(0, 1.2 * kTextUnit), end + QPointF(0, 1.2 * kTextUnit));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(footer.left() + 12 * kTextUnit, footer.top(), 120 * kTextUnit, footer.height()),
                     Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("10 mm · ") + scaleLine(net.longestEdge));
    painter.restore();
}

QByteArray svgOfSheet(const NetLayout& net, int sheet) {
    const QSizeF page = net.pageMillimetres * kTextUnit;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(page.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), page));
    svg.setResolution(qRound(25.4 * kTextUnit)); // so that the page comes out in millimetres
    svg.setTitle(net.title + QStringLiteral(", ") + pageLine(sheet, net.sheetCount));
    svg.setDescription(QStringLiteral("Netz aus Kesmora (Faltbaum: ") + QString::fromStdString(net.tree) +
                       QStringLiteral(")"));
    QPainter painter;
    if (!painter.begin(&svg)) throw std::runtime_error("Das SVG-Bild konnte nicht angelegt werden.");
    paintNetSheet(painter, net, sheet, QTransform::fromScale(kTextUnit, kTextUnit));
    painter.end();
    return buffer.data();
}

bool isPdf(const std::string& path) {
    return QFileInfo(QString::fromStdString(path))
               .suffix()
               .compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0;
}

} // namespace

void paintNetSheet(QPainter& painter, const NetLayout& net, int sheet, const QTransform& toDevice) {
    const double perMm = std::sqrt(std::fabs(toDevice.determinant()));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    std::set<std::pair<int, int>> tabbed;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 230, 230));
    for (const NetTab& tab : net.tabs) {
        tabbed.insert({tab.face, tab.side});
        if (net.faces[tab.face].sheet == sheet) painter.drawPolygon(mapped(tab.corners, toDevice));
    }
    const RenderSettings colours;
    for (const NetFace& face : net.faces) {
        if (face.sheet != sheet) continue;
        painter.setBrush(QColor::fromRgb(colours.polygonColour(static_cast<int>(face.corners.size()))));
        painter.drawPolygon(mapped(face.corners, toDevice));
    }

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 0.3 * perMm, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (std::size_t f = 0; f < net.faces.size(); ++f) {
        const Polygon& c = net.faces[f].corners;
        if (net.faces[f].sheet != sheet) continue;
        for (std::size_t k = 0; k < c.size(); ++k)
            if (net.sideNumbers[f][k] != 0 && !tabbed.count({static_cast<int>(f), static_cast<int>(k)}))
                painter.drawLine(toDevice.map(c[k]), toDevice.map(c[(k + 1) % c.size()]));
    }
    for (const NetTab& tab : net.tabs)
        if (net.faces[tab.face].sheet == sheet)
            for (std::size_t k = 1; k < tab.corners.size(); ++k)
                painter.drawLine(toDevice.map(tab.corners[k]),
                                 toDevice.map(tab.corners[(k + 1) % tab.corners.size()]));

    QPen fold(QColor(64, 64, 64), 0.2 * perMm, Qt::CustomDashLine, Qt::FlatCap);
    fold.setDashPattern({8, 6});
    painter.setPen(fold);
    for (const NetLine& line : net.folds)
        if (line.sheet == sheet) painter.drawLine(toDevice.map(line.a), toDevice.map(line.b));
    for (const NetTab& tab : net.tabs)
        if (net.faces[tab.face].sheet == sheet)
            painter.drawLine(toDevice.map(tab.corners[0]), toDevice.map(tab.corners[1]));
    QPen valley(QColor(0, 0, 192), 0.2 * perMm, Qt::CustomDashLine, Qt::FlatCap);
    valley.setDashPattern({8, 4, 1, 4});
    painter.setPen(valley);
    for (const NetLine& line : net.valleys)
        if (line.sheet == sheet) painter.drawLine(toDevice.map(line.a), toDevice.map(line.b));

    drawTexts(painter, net, sheet, toDevice);
}

QTransform sheetOnPage(QSizeF page, QSizeF room) {
    // A landscape sheet on a portrait page is turned a quarter, not shrunk.
    const bool turned = page.width() != page.height() && room.width() != room.height() &&
                        (page.width() > page.height()) != (room.width() > room.height());
    const QSizeF onPage = turned ? page.transposed() : page;
    const double scale = std::min(room.width() / onPage.width(), room.height() / onPage.height());
    QTransform toDevice = turned ? QTransform(0, 1, -1, 0, page.height(), 0) : QTransform();
    toDevice *= QTransform::fromScale(scale, scale);
    toDevice *= QTransform::fromTranslate((room.width() - scale * onPage.width()) / 2,
                                          (room.height() - scale * onPage.height()) / 2);
    return toDevice;
}

void paintNetSheets(QPagedPaintDevice& device, const NetLayout& net) {
    QPainter painter;
    if (!painter.begin(&device))
        throw std::runtime_error("Das Netz kann auf diesem Gerät nicht gedruckt werden.");
    const QSizeF page = net.pageMillimetres;
    for (int sheet = 0; sheet < net.sheetCount; ++sheet) {
        if (sheet > 0 && !device.newPage())
            throw std::runtime_error("Das Gerät nimmt keine weitere Seite an.");
        const QTransform toDevice = sheetOnPage(page, QSizeF(device.width(), device.height()));
        paintNetSheet(painter, net, sheet, toDevice);
    }
    painter.end();
}

std::vector<std::string> netFiles(const NetLayout& net, const std::string& path) {
    if (net.sheetCount <= 1 || isPdf(path) || isStandardOutput(path)) return {path};
    const std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        dot = path.size();
    std::vector<std::string> out;
    for (int sheet = 1; sheet <= net.sheetCount; ++sheet)
        out.push_back(path.substr(0, dot) + "-" + std::to_string(sheet) + path.substr(dot));
    return out;
}

void writeNet(const NetLayout& net, const std::string& path) {
    if (isStandardOutput(path) && net.sheetCount > 1)
        throw std::runtime_error(
            "Das Netz braucht " + std::to_string(net.sheetCount) +
            " Seiten; auf die Standardausgabe passt nur eine. Bitte eine Datei angeben.");
    if (isPdf(path)) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&buffer);
            const QSizeF page = net.pageMillimetres;
            const bool wide = page.width() > page.height();
            pdf.setPageLayout(QPageLayout(QPageSize(wide ? page.transposed() : page, QPageSize::Millimeter),
                                          wide ? QPageLayout::Landscape : QPageLayout::Portrait,
                                          QMarginsF()));
            pdf.setResolution(1200);
            pdf.setTitle(net.title);
            pdf.setCreator(QStringLiteral("Kesmora"));
            paintNetSheets(pdf, net);
        }
        writeFileAtomically(path, buffer.data());
        return;
    }
    // Every sheet is made before the first file is written, and the files appear together or not at
    // all: a sheet or a file that fails leaves none of them.
    const std::vector<std::string> files = netFiles(net, path);
    std::vector<std::pair<std::string, QByteArray>> sheets;
    for (int sheet = 0; sheet < net.sheetCount; ++sheet)
        sheets.emplace_back(files.at(static_cast<std::size_t>(sheet)), svgOfSheet(net, sheet));
    writeFilesAtomically(sheets);
}

} // namespace kesmora
