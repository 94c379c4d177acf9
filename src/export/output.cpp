// Writing files whole or not at all.
#include "output.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <system_error>

namespace kesmora {

namespace {

[[noreturn]] void cannotWrite(const std::string& path, const QString& reason) {
    const std::string what = isStandardOutput(path) ? std::string("die Standardausgabe") : "\u201e" + path + "\u201c";
    throw std::runtime_error(what + " lässt sich nicht schreiben: " + reason.toStdString());
}

QString errnoText(int error) {
    return QString::fromStdString(std::generic_category().message(error));
}

void writeStandardOutput(const QByteArray& bytes) {
    std::cout.flush();
    errno = 0;
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    const bool written = std::fwrite(bytes.constData(), 1, size, stdout) == size;
    if (!written || std::fflush(stdout) != 0 || std::ferror(stdout))
        cannotWrite("-", errnoText(errno != 0 ? errno : EIO));
}

// QFile reports a write that stops part-way (the disk filled up after the first block) as complete
// and drops the reason, so the bytes go to its descriptor directly, where every short write is seen.
// Returns 0 or the errno of the failed write.
int writeAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    std::size_t left = static_cast<std::size_t>(bytes.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

// Character devices and pipes: there is no file to replace, and a rename would put a plain file in
// the device's place.
void writeDirectly(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) cannotWrite(path, file.errorString());
    if (const int error = writeAll(file.handle(), bytes)) cannotWrite(path, errnoText(error));
}

} // namespace

bool isStandardOutput(const std::string& path) {
    return path == "-";
}

void writeFileAtomically(const std::string& path, const QByteArray& bytes) {
    writeFilesAtomically({{path, bytes}});
}

void writeFilesAtomically(const std::vector<std::pair<std::string, QByteArray>>& files) {
    if (files.size() == 1 && isStandardOutput(files.front().first)) {
        writeStandardOutput(files.front().second);
        return;
    }
    // First every file into its temporary beside it; only when all are on the disk do they take
    // their places, so a failure on the way leaves none of them.
    std::vector<std::unique_ptr<QSaveFile>> pending;
    std::vector<bool> existed;
    const auto cancelAll = [&] {
        for (auto& file : pending)
            if (file) file->cancelWriting();
        pending.clear(); // the temporaries go with their QSaveFile
    };
    for (const auto& [path, bytes] : files) {
        const QString name = QString::fromStdString(path);
        const QFileInfo info(name);
        existed.push_back(info.exists());
        if (isStandardOutput(path) || (info.exists() && !info.isFile() && !info.isDir())) {
            pending.push_back(nullptr); // written directly once the files are in place
            continue;
        }
        if (info.isDir()) {
            cancelAll();
            cannotWrite(path, QString::fromUtf8("es ist ein Ordner"));
        }
        auto file = std::make_unique<QSaveFile>(name);
        if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            const QString reason = file->errorString();
            cancelAll();
            cannotWrite(path, reason);
        }
        int error = writeAll(file->handle(), bytes);
        // On the disk before it takes the old file's place, or a crash could leave an empty file there.
        if (error == 0 && ::fsync(file->handle()) != 0) error = errno;
        pending.push_back(std::move(file));
        if (error != 0) {
            cancelAll();
            cannotWrite(path, errnoText(error));
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i].first;
        if (!pending[i]) {
            if (isStandardOutput(path))
                writeStandardOutput(files[i].second);
            else
                writeDirectly(path, files[i].second);
            continue;
        }
        if (!pending[i]->commit()) {
            const QString reason = pending[i]->errorString();
            // The files put in place before are taken back where there was none before them.
            for (std::size_t k = 0; k < i; ++k)
                if (pending[k] && !existed[k]) QFile::remove(QString::fromStdString(files[k].first));
            for (std::size_t k = i + 1; k < files.size(); ++k)
                if (pending[k]) pending[k]->cancelWriting();
            cannotWrite(path, reason);
        }
    }
}

void writeImage(const std::string& path, const QImage& image, const QByteArray& format) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) cannotWrite(path, writer.errorString());
    writeFileAtomically(path, buffer.data());
}

void writeSvg(const std::string& path, QSvgGenerator& generator,
              const std::function<void(QPainter&)>& paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    generator.setOutputDevice(&buffer);
    QPainter painter;
    if (!painter.begin(&generator)) cannotWrite(path, QString::fromUtf8("das SVG ließ sich nicht beginnen"));
    paint(painter);
    painter.end();
    writeFileAtomically(path, buffer.data());
}

void checkStandardOutput() {
    errno = 0;
    std::cout.flush(); // flushes stdout too
    std::fflush(stdout);
    if (std::cout && !std::ferror(stdout)) return;
    // When an earlier write failed, stdio has dropped that part and with it the reason.
    if (errno != 0) cannotWrite("-", errnoText(errno));
    cannotWrite("-", QString::fromUtf8("ein Teil der Ausgabe ging verloren"));
}

} // namespace kesmora
