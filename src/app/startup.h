// The start of the program up to the event loop, apart from main() so that it runs without a
// blocking message box: the window on the catalogue found, or the message that says why there is
// none.
#pragma once

#include "mainwindow.h"

#include <QString>

#include <filesystem>
#include <memory>

namespace kesmora {

struct StartOutcome {
    std::unique_ptr<TMainForm> window; // not yet shown; empty when the start failed
    QString message;                   // for the message box when there is no window
    int exitStatus = 0;
};

// Finds the catalogue next to executableDir and opens the window on it. Never throws: every
// failure, including any the file system raises, becomes a message and exit status 1.
StartOutcome startProgram(const std::filesystem::path& executableDir);

// The message for a catalogue found nowhere: every folder looked in and what is wrong there.
QString catalogueNotFoundMessage(const std::filesystem::path& executableDir);

} // namespace kesmora
