// Running the built kesmora-inspect from a test: its exit status and output, scratch file names,
// and the models of every listed body.
#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

struct InspectorResult {
    int exitCode = -1;
    QByteArray out, err;
};

inline InspectorResult inspect(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KESMORA_BINARY_DIR "/kesmora-inspect"), args);
    EXPECT_TRUE(p.waitForFinished(120000)) << args.join(' ').toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// The scratch files of one test process, in a folder of its own that goes when the process ends:
// test runs may share the temporary folder.
struct ScratchFolder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kesmora-test-" + std::to_string(getpid()));
    ScratchFolder() { std::filesystem::create_directories(path); }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

// A file in the scratch folder, named for the test that writes it.
inline QString scratchFile(const std::string& name) {
    static const ScratchFolder folder;
    return QString::fromStdString((folder.path / ("kesmora-test-" + name)).string());
}

// `model --all`: one JSON object per listed body, in list order.
inline std::vector<QJsonObject> everyModel() {
    const InspectorResult r = inspect({"model", "--all"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    std::vector<QJsonObject> out;
    for (const QByteArray& line : r.out.trimmed().split('\n'))
        out.push_back(QJsonDocument::fromJson(line).object());
    return out;
}
