// The inspector's checks on where its output goes, before any work is done.
#include "output.h"

#include "options.h"

#include <QFileInfo>
#include <QImageWriter>

#include <unistd.h>

namespace kesmora::inspect {

void refuseBinaryOnTerminal(const std::string& path) {
    if (isStandardOutput(path) && isatty(STDOUT_FILENO))
        throw Usage("binary output is not written to a terminal; redirect standard output or give -o FILE");
}

QByteArray imageFormatFor(const std::string& path) {
    if (isStandardOutput(path)) return "png";
    const QByteArray suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower().toUtf8();
    if (suffix.isEmpty()) return "png";
    const QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    if (formats.contains(suffix)) return suffix;
    std::string known;
    for (const QByteArray& f : formats)
        known += (known.empty() ? "" : ", ") + f.toStdString();
    throw Usage("pictures are not written as ." + suffix.toStdString() + "; the suffix of -o picks one of " +
                known);
}

} // namespace kesmora::inspect
