// Program start: the application, the main window, the event loop.
#include "catalogue/datadir.h"
#include "catalogue/tables.h"
#include "mainwindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kesmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kesmora"));

    const std::filesystem::path exeDir = QApplication::applicationDirPath().toStdString();
    const auto dataDir = kesmora::findDataDir(exeDir);
    if (!dataDir) {
        QStringList places;
        for (const auto& p : kesmora::dataDirCandidates(exeDir)) {
            QStringList missing;
            for (const char* file :
                 {kesmora::kCatalogueFile, kesmora::kExcludedFile, kesmora::kCoordFile, kesmora::kFaceFile})
                if (!std::filesystem::is_regular_file(p / file)) missing << QString::fromLatin1(file);
            places << QString::fromStdString(p.string()) + QString::fromUtf8(" (fehlt: ") +
                          missing.join(QStringLiteral(", ")) + QStringLiteral(")");
        }
        QMessageBox::critical(
            nullptr, QStringLiteral("Kesmora"),
            QString::fromUtf8("Die Katalogdateien (catalogue.txt, excluded.txt, coordinates.txt, "
                              "faces.txt) wurden nicht gefunden. Gesucht in:\n") +
                places.join(QStringLiteral("\n")));
        return 1;
    }
    try {
        kesmora::TMainForm window(*dataDir);
        window.show();
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Kesmora"), QString::fromUtf8(e.what()));
        return 1;
    }
}
