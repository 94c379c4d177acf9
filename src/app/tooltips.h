// The tool tips of the main window's controls, found by their layout names.
#pragma once

class QWidget;

namespace kesmora {

// Gives every control of `window` (the main window with its control strip and menus) its German
// tool tip; a control the window does not have is left out.
void addToolTips(QWidget& window);

} // namespace kesmora
