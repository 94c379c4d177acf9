// Every file the program and the inspector write goes through here: it appears whole or not at all, and a
// failed write is reported with the file's name and the reason. "-" stands for standard output.
#pragma once

#include <QByteArray>

#include <functional>
#include <string>
#include <utility>
#include <vector>

class QImage;
class QPainter;
class QSvgGenerator;

namespace kesmora {

bool isStandardOutput(const std::string& path);

// Writes `bytes` to `path`: into a temporary file beside it that replaces the old file only once
// everything is written, so a full disk leaves the old file (or none) in place. Devices and pipes
// named as files are written directly, as they cannot be replaced. Throws std::runtime_error
// naming the file and the reason.
void writeFileAtomically(const std::string& path, const QByteArray& bytes);

// Writes several files that belong together (the sheets of a net) all or none: every one into its
// temporary file first, and only when all of them are written do they replace the old files.
// Throws std::runtime_error naming the file that failed and the reason.
void writeFilesAtomically(const std::vector<std::pair<std::string, QByteArray>>& files);

// Encodes the picture in `format` and writes it with writeFileAtomically.
void writeImage(const std::string& path, const QImage& image, const QByteArray& format);

// Lets `paint` draw into `generator` (already given size, view box and title), held in memory,
// and writes the SVG with writeFileAtomically.
void writeSvg(const std::string& path, QSvgGenerator& generator, const std::function<void(QPainter&)>& paint);

// Flushes standard output and throws std::runtime_error when anything written there was lost.
void checkStandardOutput();

} // namespace kesmora
