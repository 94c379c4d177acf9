// Contact sheets of rendered pictures, for the gallery.
#include "sheet.h"

#include "options.h"
#include "output.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <stdexcept>

namespace kesmora::inspect {

Options sheetOptions() {
    return Options("sheet")
        .text("--title", "TEXT")
        .whole("--columns", 1, 100)
        .size("--tile", 1, 10000)
        .text("-o", "AUS.png")
        .required()
        .groups({"BILD", "TEXT"}, true);
}

int sheetCommand(const CommandLine& line) {
    const std::string title = line.text("--title"), out = line.text("-o");
    const int columns = line.number("--columns", 4);
    const auto [tileWidth, tileHeight] = line.size("--tile", {336, 178});
    const auto& items = line.groups();
    const QByteArray format = imageFormatFor(out);
    refuseBinaryOnTerminal(out);

    QFont captionFont(QStringLiteral("DejaVu Sans"));
    captionFont.setPixelSize(13);
    QFont titleFont(captionFont);
    titleFont.setPixelSize(22);
    titleFont.setBold(true);
    const int gap = 8;
    const int captionHeight = QFontMetrics(captionFont).height() + 4;
    const int titleHeight = title.empty() ? 0 : QFontMetrics(titleFont).height() + 2 * gap;
    const int count = static_cast<int>(items.size());
    const int rows = (count + columns - 1) / columns;
    const int cellWidth = tileWidth + gap, cellHeight = tileHeight + captionHeight + gap;
    QImage sheet(gap + columns * cellWidth, titleHeight + gap + rows * cellHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);

    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::black);
    if (!title.empty()) {
        painter.setFont(titleFont);
        painter.drawText(QRect(gap, gap, sheet.width() - 2 * gap, titleHeight - gap),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(title));
    }
    painter.setFont(captionFont);
    for (int k = 0; k < count; ++k) {
        const QImage picture(QString::fromStdString(items[k][0]));
        if (picture.isNull()) throw std::runtime_error(items[k][0] + " lässt sich nicht als Bild lesen");
        const QRect cell(gap + (k % columns) * cellWidth, titleHeight + gap + (k / columns) * cellHeight,
                         tileWidth, tileHeight);
        const QImage small = picture.scaled(cell.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(cell.x() + (tileWidth - small.width()) / 2,
                          cell.y() + (tileHeight - small.height()) / 2, small);
        painter.setPen(QColor(200, 200, 200));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        const QRect below(cell.x(), cell.bottom() + 1, tileWidth, captionHeight);
        const QString caption =
            QFontMetrics(captionFont)
                .elidedText(QString::fromStdString(items[k][1]), Qt::ElideRight, tileWidth);
        painter.drawText(below, Qt::AlignHCenter | Qt::AlignVCenter, caption);
    }
    painter.end();
    // The pictures are flat colours; a palette keeps the committed files small.
    const QImage indexed =
        sheet.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    writeImage(out, indexed, format);
    return 0;
}

} // namespace kesmora::inspect
