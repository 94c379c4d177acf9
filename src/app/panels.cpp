#include "panels.h"

#include <QColor>
#include <QFrame>
#include <QPalette>
#include <QToolButton>

namespace kesmora {

QFrame* panel(QWidget* parent, QRgb colour, const char* name) {
    auto* f = new QFrame(parent);
    f->setObjectName(name);
    f->setAutoFillBackground(true);
    QPalette pal = f->palette();
    pal.setColor(QPalette::Window, QColor(colour));
    f->setPalette(pal);
    return f;
}

QFont pixelFont(int pixels, bool bold, bool italic) {
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QToolButton* imageButton(QWidget* parent, const char* name, const QIcon& icon, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setIcon(icon);
    b->setIconSize(QSize(20, 20));
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace kesmora
