// The yardstick for Kesmora's start-up: a Qt Widgets program that shows nothing but an empty window
// of Kesmora's client size (1008 x 709) and closes on Escape, as Kesmora does.
// With --text the window shows one line of text as well: the fixed cost of Qt's text stack (font
// configuration, FreeType, HarfBuzz, the font files), which the empty window never pays and any
// window with a label does.
// With KESMORA_FIRST_PICTURE_FILE set it reports its first paint as Kesmora does (bench/startup.sh):
// the wall-clock nanoseconds once the window's first paint event has been handled.
#include <QApplication>
#include <QEvent>
#include <QSaveFile>
#include <QTimer>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QWidget>

#include <chrono>
#include <cstring>

namespace {

class FirstPaintReport : public QObject {
  public:
    FirstPaintReport(QWidget& widget, const QString& path) : QObject(&widget), path_(path) {
        widget.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                    .count();
                QSaveFile file(path_);
                if (file.open(QIODevice::WriteOnly)) {
                    file.write(QByteArray::number(static_cast<qint64>(ns)) + '\n');
                    file.commit();
                }
            });
        }
        return false;
    }

  private:
    QString path_;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QWidget window;
    window.setWindowTitle(QStringLiteral("qt-minimal-window"));
    window.resize(1008, 709);
    if (text) (new QLabel(QString::fromUtf8("Archimedische Körper"), &window))->move(20, 20);
    QShortcut quit(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(&quit, &QShortcut::activated, &window, &QWidget::close);
    const QString firstPictureFile = qEnvironmentVariable("KESMORA_FIRST_PICTURE_FILE");
    if (!firstPictureFile.isEmpty()) new FirstPaintReport(window, firstPictureFile);
    window.show();
    return app.exec();
}
