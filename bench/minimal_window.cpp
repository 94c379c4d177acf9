// The yardstick for Kesmora's start-up: a Qt Widgets program that shows nothing but an empty window
// of Kesmora's client size (1008 x 709) and closes on Escape, as Kesmora does.
// With --text the window shows one line of text as well: the fixed cost of Qt's text stack (font
// configuration, FreeType, HarfBuzz, the font files), which the empty window never pays and any
// window with a label does.
// With KESMORA_FIRST_PICTURE_FILE set it reports its first paint as Kesmora does (bench/startup.sh):
// the wall-clock nanoseconds once the window's first paint event has been handled.
#include "app/firstpaint.h"

#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QWidget>

#include <cstring>

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
    if (!firstPictureFile.isEmpty()) new kesmora::FirstPaintReport(window, firstPictureFile);
    window.show();
    return app.exec();
}
