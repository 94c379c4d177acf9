// The plain building blocks of the window and its control strip: coloured panels, the pixel-sized
// Verdana font and the flat picture buttons.
#pragma once

#include <QFont>
#include <QIcon>
#include <QRgb>
#include <QString>

class QFrame;
class QToolButton;
class QWidget;

namespace kesmora {

inline constexpr QRgb kPanelColour = qRgb(240, 240, 240);

// A frame filled with `colour`, named `name`.
QFrame* panel(QWidget* parent, QRgb colour, const char* name);

QFont pixelFont(int pixels, bool bold = false, bool italic = false);

// A flat tool button showing a picture, named `name`, with `tip` as tool tip and accessible name;
// it takes no focus, as the picture buttons never did.
QToolButton* imageButton(QWidget* parent, const char* name, const QIcon& icon, const QString& tip);

} // namespace kesmora
