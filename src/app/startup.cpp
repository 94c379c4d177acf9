// Program start: finding the catalogue and opening the window.
#include "startup.h"

#include "catalogue/datadir.h"
#include "catalogue/tables.h"

#include <QStringList>

#include <exception>
#include <map>

namespace kesmora {

QString catalogueNotFoundMessage(const std::filesystem::path& executableDir) {
    QStringList places;
    for (const auto& dir : dataDirCandidates(executableDir)) {
        // One group per kind of trouble, in a fixed order, each naming its files.
        std::map<DataFileState, QStringList> byState;
        for (const char* file : {kCatalogueFile, kExcludedFile, kCoordFile, kFaceFile}) {
            const DataFileState state = dataFileState(dir / file);
            if (state != DataFileState::Present) byState[state] << QString::fromLatin1(file);
        }
        QStringList problems;
        for (const auto& [state, files] : byState)
            problems << QString::fromUtf8(describeDataFileState(state).c_str()) + QStringLiteral(": ") +
                            files.join(QStringLiteral(", "));
        places << QString::fromStdString(dir.string()) + QStringLiteral(" (") +
                      problems.join(QStringLiteral("; ")) + QStringLiteral(")");
    }
    return QString::fromUtf8("Die Katalogdateien (catalogue.txt, excluded.txt, coordinates.txt, "
                             "faces.txt) wurden nicht gefunden. Gesucht in:\n") +
           places.join(QStringLiteral("\n"));
}

StartOutcome startProgram(const std::filesystem::path& executableDir) {
    StartOutcome out;
    try {
        const auto dataDir = findDataDir(executableDir);
        if (!dataDir) {
            out.message = catalogueNotFoundMessage(executableDir);
            out.exitStatus = 1;
            return out;
        }
        out.window = std::make_unique<TMainForm>(*dataDir);
    } catch (const std::exception& e) {
        // A damaged or unreadable catalogue file, or the file system refusing a look-up.
        out.window.reset();
        out.message = QString::fromUtf8(e.what());
        out.exitStatus = 1;
    }
    return out;
}

} // namespace kesmora
