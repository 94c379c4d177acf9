// Program start: the application, the main window, the event loop.
#include "catalogue/catalogueerror.h"
#include "datadir.h"
#include "mainwindow.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kesmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kesmora"));

    const QString exeDir = QApplication::applicationDirPath();
    const auto dataDir = kesmora::findDataDir(exeDir);
    if (!dataDir) {
        QMessageBox::critical(
            nullptr, QStringLiteral("Kesmora"),
            QString::fromUtf8("Die Katalogdateien (catalogue.txt, excluded.txt, coordinates.txt, "
                              "faces.txt) wurden nicht gefunden. Gesucht in:\n") +
                kesmora::dataDirCandidates(exeDir).join(QStringLiteral("\n")));
        return 1;
    }
    try {
        kesmora::TMainForm window(dataDir->toStdString());
        window.show();
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Kesmora"), QString::fromUtf8(e.what()));
        return 1;
    }
}
