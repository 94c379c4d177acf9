// Program start: the application, the main window, the event loop.
#include "startup.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kesmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kesmora"));

    try {
        kesmora::StartOutcome start = kesmora::startProgram(QApplication::applicationDirPath().toStdString());
        if (!start.window) {
            QMessageBox::critical(nullptr, QStringLiteral("Kesmora"), start.message);
            return start.exitStatus;
        }
        start.window->show();
        return app.exec();
    } catch (const std::exception& e) {
        // The last resort: whatever got past the handlers ends with a message, never an abort.
        QMessageBox::critical(nullptr, QStringLiteral("Kesmora"), QString::fromUtf8(e.what()));
        return 1;
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Kesmora"),
                              QString::fromUtf8("Unerwarteter Fehler; das Programm wird beendet."));
        return 1;
    }
}
