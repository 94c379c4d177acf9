// The inspector's checks on where its output goes, before any work is done.
#include "output.h"

#include "options.h"

#include <QFileInfo>
#include <QImageWriter>

#include <unistd.h>

namespace kesmora::inspect {

void refuseBinaryOnTerminal(const std::string& path) {
    if (isStandardOutput(path) && isatty(STDOUT_FILENO))
        throw Usage("binäre Ausgabe wird nicht auf ein Terminal geschrieben; bitte die Standardausgabe umleiten "
                    "oder -o DATEI angeben");
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
    throw Usage("Bilder werden nicht als ." + suffix.toStdString() + " geschrieben; die Endung von -o wählt eines von " +
                known);
}

} // namespace kesmora::inspect
