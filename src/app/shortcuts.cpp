#include "shortcuts.h"

namespace kesmora {

QString shortcutTableHtml() {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">"
                                  "<tr><th align=\"left\">Taste oder Maus</th><th align=\"left\">wo</th>"
                                  "<th align=\"left\">Wirkung</th></tr>");
    for (const ShortcutEntry& e : kShortcuts)
        html += QStringLiteral("<tr><td><b>") + QString::fromUtf8(e.keys).toHtmlEscaped() +
                QStringLiteral("</b></td><td>") + QString::fromUtf8(e.where).toHtmlEscaped() +
                QStringLiteral("</td><td>") + QString::fromUtf8(e.effect).toHtmlEscaped() +
                QStringLiteral("</td></tr>");
    return html + QStringLiteral("</table>");
}

} // namespace kesmora
