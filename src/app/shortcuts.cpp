#include "shortcuts.h"

namespace kesmora {

QString shortcutTableHtml() {
    // Two columns, so that the table stays readable in a message box about 500 pixels wide: the
    // keys with where they work under them, and what they do.
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\">"
                                  "<tr><th align=\"left\">Taste oder Maus</th><th align=\"left\">Wirkung</th></tr>");
    for (const ShortcutEntry& e : kShortcuts) {
        html += QStringLiteral("<tr><td><b>") + QString::fromUtf8(e.keys).toHtmlEscaped() + QStringLiteral("</b>");
        if (e.where[0] != '\0')
            html += QStringLiteral("<br><small>") + QString::fromUtf8(e.where).toHtmlEscaped() + QStringLiteral("</small>");
        html += QStringLiteral("</td><td>") + QString::fromUtf8(e.effect).toHtmlEscaped() + QStringLiteral("</td></tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace kesmora
