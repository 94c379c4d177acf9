#include "modelegend.h"

#include "controlstrip.h"
#include "panels.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QRadioButton>

#include <array>

namespace kesmora {

namespace {

constexpr int kSwatch = 14;   // side of a colour sample
constexpr int kGap = 6;       // between a sample and its word, and after the word
constexpr int kLeft = 92;     // right of the zoom buttons, which end at 80

// The mode buttons by their layout names, in the order of the modes' numbers.
constexpr std::array<const char*, 7> kModeButtons{"RB1", "RB2", "RB3", "RB4", "RB5", "Rb6", "rb7"};

bool sideBySide(DrawMode mode) {
    return mode == DrawMode::EdgeModel || mode == DrawMode::HiddenEdges || mode == DrawMode::ColouredFaces ||
           mode == DrawMode::MultiColouredFaces;
}

// How a figure is drawn in a mode where both stand in one another: outline and fill (none when
// transparent), and a dotted outline for the far half.
struct Sample {
    QColor outline;
    QColor fill;
};

Sample solidSample(DrawMode mode) {
    switch (mode) {
    case DrawMode::Interpenetration:
        return {QColor(kPenColour), QColor()};
    case DrawMode::Interpenetration3:
        return {QColor(kSolidOutlineColour), QColor(kTintColour)};
    default:
        return {QColor(kSolidOutlineColour), QColor()};
    }
}

Sample dualSample(DrawMode mode) {
    if (mode == DrawMode::Interpenetration) return {QColor(kDualOutlineColour), QColor()};
    return {QColor(kDualOutlineColour), QColor(kDualFillColour)};
}

QString solidWord() {
    return QString::fromUtf8("Körper");
}

QString dualWord() {
    return QStringLiteral("Dual");
}

} // namespace

ModeLegend::ModeLegend(QWidget* titleBar, const ControlStrip& strip) : QWidget(titleBar) {
    setObjectName("modeLegend");
    setFont(pixelFont(12));
    for (std::size_t i = 0; i < kModeButtons.size(); ++i) {
        auto* button = strip.findChild<QRadioButton*>(QString::fromLatin1(kModeButtons[i]));
        if (!button) continue;
        const DrawMode mode = kDrawModes[i];
        if (button->isChecked()) mode_ = mode;
        // Checked by a click or by the program (a category without the mode): either way.
        connect(button, &QRadioButton::toggled, this, [this, mode](bool on) {
            if (on) showMode(mode);
        });
    }
    titleBar->installEventFilter(this);
    showMode(mode_);
}

void ModeLegend::showMode(DrawMode mode) {
    mode_ = mode;
    setAccessibleName(QStringLiteral("Legende: ") + text());
    setToolTip(sideBySide(mode)
                   ? QString::fromUtf8("In dieser Darstellung steht der Körper links, sein dualer Körper rechts.")
                   : QString::fromUtf8("Körper und dualer Körper stehen ineinander; die Farben zeigen, "
                                       "welche Kanten und Flächen zu welchem gehören."));
    place();
    update();
}

QString ModeLegend::text() const {
    if (sideBySide(mode_)) return QString::fromUtf8("links Körper, rechts Dual");
    return solidWord() + QStringLiteral(", ") + dualWord();
}

void ModeLegend::place() {
    const QFontMetrics metrics(font());
    int w = 0;
    if (sideBySide(mode_))
        w = metrics.horizontalAdvance(text());
    else
        w = 2 * (kSwatch + kGap) + metrics.horizontalAdvance(solidWord()) + kGap + metrics.horizontalAdvance(dualWord());
    const int h = std::max(kSwatch, metrics.height()) + 2;
    const QWidget* bar = parentWidget();
    resize(w + 2, h);
    if (bar) move(kLeft, (bar->height() - h) / 2);
}

bool ModeLegend::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) place();
    return QWidget::eventFilter(watched, event);
}

void ModeLegend::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(font());
    p.setPen(QColor(0, 0, 0x80));
    const QRect all = rect();
    if (sideBySide(mode_)) {
        p.drawText(all, Qt::AlignVCenter | Qt::AlignLeft, text());
        return;
    }
    const QFontMetrics metrics(font());
    int x = 1;
    const int top = (height() - kSwatch) / 2;
    const auto item = [&](const Sample& sample, const QString& word) {
        p.setBrush(sample.fill.isValid() ? QBrush(sample.fill) : QBrush(Qt::NoBrush));
        p.setPen(QPen(sample.outline, 2));
        p.drawRect(QRect(x + 1, top + 1, kSwatch - 2, kSwatch - 2));
        x += kSwatch + kGap;
        p.setPen(QColor(0, 0, 0x80));
        p.drawText(QRect(x, 0, metrics.horizontalAdvance(word) + 1, height()), Qt::AlignVCenter | Qt::AlignLeft, word);
        x += metrics.horizontalAdvance(word) + kGap;
    };
    item(solidSample(mode_), solidWord());
    item(dualSample(mode_), dualWord());
}

} // namespace kesmora
