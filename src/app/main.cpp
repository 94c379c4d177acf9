// Program start: the command line, the application, the main window, the event loop.
#include "paintbox.h"
#include "startup.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <exception>
#include <memory>

#ifndef KESMORA_VERSION
#define KESMORA_VERSION "0"
#endif

int main(int argc, char* argv[]) {
    // --help and --version only print: they need no display, so they get no window system.
    const bool textOnly = kesmora::asksOnlyForText(argc, argv);
    std::unique_ptr<QCoreApplication> app(textOnly ? new QCoreApplication(argc, argv) : new QApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("kesmora"));
    // The settings file's folder and name (settings.h): Kesmora/Kesmora.ini in the user's
    // configuration folder.
    QCoreApplication::setOrganizationName(QStringLiteral("Kesmora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESMORA_VERSION));
    kesmora::installGermanQtTranslations(*app);

    // argv as the application left it, one to one with arguments().
    QList<QByteArray> native;
    for (int i = 0; i < argc; ++i)
        native.append(QByteArray(argv[i]));
    const kesmora::CommandLineRequest request = kesmora::parseCommandLine(QCoreApplication::arguments(), native);
    if (!request.start) {
        const QByteArray text = request.text.toLocal8Bit();
        std::fputs(text.constData(), request.exitStatus == 0 ? stdout : stderr);
        return request.exitStatus;
    }
    QApplication::setApplicationName(QStringLiteral("Kesmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kesmora"));

    try {
        kesmora::StartOutcome start =
            kesmora::startProgram(QApplication::applicationDirPath().toStdString(), request.dataDir);
        if (!start.window) {
            QMessageBox::critical(nullptr, QStringLiteral("Kesmora"), start.message);
            return start.exitStatus;
        }
        const QString firstPictureFile = qEnvironmentVariable("KESMORA_FIRST_PICTURE_FILE");
        if (!firstPictureFile.isEmpty())
            if (auto* picture = start.window->findChild<kesmora::PaintBox*>())
                kesmora::reportFirstPaint(*picture, firstPictureFile);
        start.window->show();
        kesmora::openWhenShown(*start.window, request.file);
        return app->exec();
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
