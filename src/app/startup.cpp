// Program start: finding the catalogue and opening the window.
#include "startup.h"

#include "firstpaint.h"

#include "catalogue/datadir.h"
#include "catalogue/tables.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <QTranslator>

#include <exception>
#include <cstring>
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

StartOutcome startProgram(const std::filesystem::path& executableDir,
                          const std::optional<std::filesystem::path>& givenDataDir) {
    StartOutcome out;
    try {
        // A folder given by the user is taken as it is; a missing file there is named by the load.
        const auto dataDir = givenDataDir ? givenDataDir : findDataDir(executableDir);
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

namespace kesmora {

namespace {

// Where among the arguments the one file stands: after "--", or the first that is neither an
// option nor the value of --data.
qsizetype fileArgument(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--")) return i + 1 < arguments.size() ? i + 1 : -1;
        if (a == QLatin1String("--data")) {
            ++i;
            continue;
        }
        if (a.startsWith(QLatin1Char('-')) && a.size() > 1) continue;
        return i;
    }
    return -1;
}

} // namespace

CommandLineRequest parseCommandLine(const QStringList& arguments, const QList<QByteArray>& native) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QString::fromUtf8("Kesmora zeigt Polyeder und ihre dualen Körper. DATEI ist eine Polyederdatei "
                          "(OFF oder OBJ), die gleich beim Start geöffnet wird."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QString::fromUtf8("Zeigt diese Hilfe."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QString::fromUtf8("Zeigt die Versionsnummer."));
    const QCommandLineOption data(QStringLiteral("data"),
                                  QString::fromUtf8("Liest den Katalog aus VERZEICHNIS statt aus dem "
                                                    "installierten."),
                                  QStringLiteral("VERZEICHNIS"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(data);
    parser.addPositionalArgument(QStringLiteral("DATEI"), QString::fromUtf8("Polyederdatei zum Öffnen."),
                                 QStringLiteral("[DATEI]"));
    CommandLineRequest out;
    const auto refuse = [&](const QString& why) {
        out.start = false;
        out.exitStatus = 2;
        out.text = why + QLatin1Char('\n') + parser.helpText();
        return out;
    };
    if (!parser.parse(arguments)) return refuse(parser.errorText());
    if (parser.isSet(help)) {
        out.start = false;
        out.text = parser.helpText();
        return out;
    }
    if (parser.isSet(version)) {
        out.start = false;
        out.text = QCoreApplication::applicationName() + QLatin1Char(' ') +
                   QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return out;
    }
    if (parser.positionalArguments().size() > 1)
        return refuse(QString::fromUtf8("Es kann nur eine Datei geöffnet werden."));
    if (parser.isSet(data)) out.dataDir = std::filesystem::path(parser.value(data).toStdString());
    if (!parser.positionalArguments().isEmpty()) {
        const QString file = parser.positionalArguments().front();
        out.file = QFile::encodeName(file);
        // The system's own bytes where they are the same argument; decoding may have replaced bytes
        // that are no UTF-8.
        const qsizetype at = fileArgument(arguments);
        if (native.size() == arguments.size() && at >= 0 && arguments[at] == file &&
            QString::fromLocal8Bit(native[at]) == file)
            out.file = native[at];
    }
    return out;
}

void openWhenShown(TMainForm& window, const QByteArray& file) {
    if (file.isEmpty()) return;
    QTimer::singleShot(0, &window, [&window, file] { window.openFile(file); });
}

void reportFirstPaint(QWidget& widget, const QString& path) {
    new FirstPaintReport(widget, path);
}

bool asksOnlyForText(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) return false;
        for (const char* option : {"-h", "--help", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0) return true;
    }
    return false;
}

bool installGermanQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace kesmora
