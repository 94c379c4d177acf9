// Nets on paper: the sheets of a laid-out net painted on any paged device (a printer, a PDF) or
// written as PDF or SVG files. The layout itself is export/netlayout.h.
#pragma once

#include "netlayout.h"

#include <QTransform>

#include <string>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace kesmora {

// Paints one sheet; `toDevice` maps the sheet's millimetres to the painter's coordinates.
void paintNetSheet(QPainter& painter, const NetLayout& net, int sheet, const QTransform& toDevice);

// Maps a sheet of the given size in millimetres onto a page `room` device units large: as large as
// fits, centred, turned a quarter where sheet and page lie different ways.
QTransform sheetOnPage(QSizeF sheetMillimetres, QSizeF room);

// One page per sheet, each fitted to the device's page (turned where the sheet lies the other way).
// Throws std::runtime_error with a German message when the device cannot be painted on.
void paintNetSheets(QPagedPaintDevice& device, const NetLayout& net);

// The files writeNet writes for `path`: the path itself for a PDF or a single sheet, otherwise
// one SVG per sheet named with -1, -2, … before the suffix.
std::vector<std::string> netFiles(const NetLayout& net, const std::string& path);

// Writes the net as PDF (path ending in .pdf, one page per sheet) or SVG, each file whole or not
// at all. "-" (standard output) takes a single sheet of SVG.
void writeNet(const NetLayout& net, const std::string& path);

} // namespace kesmora
