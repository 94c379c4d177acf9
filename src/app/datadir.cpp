// Locating the catalogue files.
#include "datadir.h"

#include "catalogue/tables.h"

#include <QDir>
#include <QFileInfo>

namespace kesmora {

QStringList dataDirCandidates(const QString& executableDir) {
    const QDir dir(executableDir);
    return {QDir::cleanPath(dir.filePath(QStringLiteral("data"))),
            QDir::cleanPath(dir.filePath(QStringLiteral("../share/kesmora")))};
}

std::optional<QString> findDataDir(const QString& executableDir) {
    for (const QString& candidate : dataDirCandidates(executableDir)) {
        bool all = true;
        for (const char* file : {kCoordFile, kFaceFile, kExcludedFile, kCatalogueFile})
            all = all && QFileInfo(QDir(candidate).filePath(QString::fromLatin1(file))).isFile();
        if (all) return candidate;
    }
    return std::nullopt;
}

} // namespace kesmora
