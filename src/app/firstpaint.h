// For measuring the start-up: once a widget has painted for the first time, the wall-clock time in
// nanoseconds since 1970 is written (one line) to a file, whole or not at all. The program and the
// minimal window of the start-up benchmark (bench/startup.sh) report the same moment this way.
// Header only, so that the benchmark's window needs nothing of the program but this.
#pragma once

#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <QSaveFile>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <chrono>

namespace kesmora {

// Lets the first paint event through, then writes once the event loop has finished it; owned by
// the widget.
class FirstPaintReport : public QObject {
  public:
    FirstPaintReport(QWidget& widget, const QString& path) : QObject(&widget), path_(path) {
        widget.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { write(); });
        }
        return false;
    }

  private:
    void write() {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
        QSaveFile file(path_);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(QByteArray::number(static_cast<qint64>(ns)) + '\n');
            file.commit();
        }
    }
    QString path_;
};

} // namespace kesmora
