// The yardstick for Kesmora's start-up: a Qt Widgets program that shows nothing but an empty window
// of Kesmora's client size (1008 x 709) and closes on Escape, as Kesmora does.
#include <QApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("qt-minimal-window"));
    window.resize(1008, 709);
    QShortcut quit(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(&quit, &QShortcut::activated, &window, &QWidget::close);
    window.show();
    return app.exec();
}
