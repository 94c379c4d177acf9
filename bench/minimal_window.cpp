// The yardstick for Kesmora's start-up: a Qt Widgets program that shows nothing but an empty window
// of Kesmora's client size (1008 x 709) and closes on Escape, as Kesmora does.
// With --text the window shows one line of text as well: the fixed cost of Qt's text stack (font
// configuration, FreeType, HarfBuzz, the font files), which the empty window never pays and any
// window with a label does.
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
    window.show();
    return app.exec();
}
