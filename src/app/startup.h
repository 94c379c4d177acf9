// The start of the program up to the event loop, apart from main() so that it runs without a
// blocking message box: the window on the catalogue found, or the message that says why there is
// none.
#pragma once

#include "mainwindow.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QCoreApplication;

#include <filesystem>
#include <memory>
#include <optional>

class QWidget;

namespace kesmora {

struct StartOutcome {
    std::unique_ptr<TMainForm> window; // not yet shown; empty when the start failed
    QString message;                   // for the message box when there is no window
    int exitStatus = 0;
};

// Finds the catalogue next to executableDir (or takes the folder given with --data) and opens the
// window on it. Never throws: every failure, including any the file system raises, becomes a
// message and exit status 1.
StartOutcome startProgram(const std::filesystem::path& executableDir,
                          const std::optional<std::filesystem::path>& dataDir = std::nullopt);

// The window's command line: kesmora [--data DIR] [FILE], --help, --version.
struct CommandLineRequest {
    std::optional<std::filesystem::path> dataDir;
    QByteArray file;    // a polyhedron file to open once the window is up, as the system names it
                        // (its bytes need not be UTF-8); empty for none
    QString text;       // help or version text to print instead of starting; or the error
    int exitStatus = 0; // for text: 0 after --help or --version, 2 after a command line in error
    bool start = true;  // false: print text and end with exitStatus
};
// `native` are the same arguments as the system's bytes (argv): the file's name is taken from
// there, since a name that is no UTF-8 cannot be found again from its QString.
CommandLineRequest parseCommandLine(const QStringList& arguments, const QList<QByteArray>& native = {});

// Opens the file named on the command line once the event loop runs, so that a message about it
// comes with the window on screen.
void openWhenShown(TMainForm& window, const QByteArray& file);

// For measuring the start-up: once `widget` has painted for the first time, writes the wall-clock
// time in nanoseconds since 1970 (one line) to `path`, whole or not at all. Used when the
// environment names a file in KESMORA_FIRST_PICTURE_FILE (bench/startup.sh).
void reportFirstPaint(QWidget& widget, const QString& path);

// Whether the arguments only ask for text (--help, --version), which needs no display.
bool asksOnlyForText(int argc, char* argv[]);

// Qt's own dialogs (file, colour, print, message boxes) speak German like the program, whatever the
// desktop's language. False when the translations are not installed.
bool installGermanQtTranslations(QCoreApplication& app);

// The message for a catalogue found nowhere: every folder looked in and what is wrong there.
QString catalogueNotFoundMessage(const std::filesystem::path& executableDir);

} // namespace kesmora
