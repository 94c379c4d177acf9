// The properties window: a grid of selectable labels filled from the export layer's rows.
#include "propertieswindow.h"

#include "johnsonnames.h"
#include "panels.h"

#include "export/properties.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QHideEvent>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace kesmora {

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 520;
constexpr int kMinWidth = 320;
constexpr int kMinHeight = 300;
// Beyond this width a label wraps instead of widening its column.
constexpr int kMaxLabelWidth = 150;

QString utf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The widths of the widest line and of the widest word of `text` in `label`'s font: a column
// narrower than a line wraps it at its blanks, but must hold every word.
struct TextWidths {
    int line = 0;
    int word = 0;
};
TextWidths textWidths(const QLabel& label, const QString& text) {
    const QFontMetrics metrics(label.font());
    TextWidths widths;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widths.line = std::max(widths.line, metrics.horizontalAdvance(line));
        for (const QString& word : line.split(QLatin1Char(' ')))
            widths.word = std::max(widths.word, metrics.horizontalAdvance(word));
    }
    return widths;
}

// The width a column needs for these widths when its lines wrap beyond `limit`.
int columnWidth(const TextWidths& widths, int limit) {
    // A pixel to spare: a label whose text exactly fills it may still wrap its last letter.
    return std::max(std::min(widths.line, limit), widths.word) + 2;
}

// What a row means, for its tool tip; rows not named here have none.
struct RowTip {
    const char* label;
    const char* tip;
};
constexpr RowTip kRowTips[] = {
    {"Ecken", "Anzahl der Ecken (E); beim dualen Körper so viele, wie der Körper Flächen hat"},
    {"Kanten", "Anzahl der Kanten (K); beim dualen Körper ebenso viele"},
    {"Flächen", "Anzahl der Flächen (F); beim dualen Körper so viele, wie der Körper Ecken hat"},
    {"Flächenarten", "Wie viele Flächen welcher Eckenzahl"},
    {"Eckenkonfigurationen", "Die Eckenzahlen der Flächen rund um eine Ecke, der Reihe nach: 3.4.3.4 heißt "
                             "Dreieck, Viereck, Dreieck, Viereck"},
    {"E \u2212 K + F", "Eulerscher Polyedersatz: für jedes Polyeder ohne Loch gleich 2"},
    {"Symmetriegruppe", "Alle Drehungen und Spiegelungen, die den Körper in sich überführen (Schreibweise nach "
                        "Schoenflies), und ihre Anzahl"},
    {"Chiral", "Ob der Körper von seinem Spiegelbild verschieden ist"},
    {"Schläfli-Symbol", "{p,q}: Flächen mit p Ecken, q an jeder Ecke (nur regelmäßige Körper)"},
    {"Flächenwinkel", "Der Winkel zwischen zwei Flächen an einer Kante, innen gemessen"},
    {"Flächenwinkel je Kantenart", "Der Flächenwinkel für jede Art von Kante, benannt nach den Eckenzahlen der "
                                   "beiden Flächen"},
    {"Raumwinkel an den Ecken", "Wie viel vom Raum um eine Ecke der Körper einnimmt, in Steradiant (der ganze "
                                "Raum: 4π ≈ 12,566 sr)"},
    {"Umkugelradius", "Radius der Kugel durch alle Ecken, wo es sie gibt"},
    {"Kantenkugelradius", "Radius der Kugel, die alle Kanten berührt, wo es sie gibt"},
    {"Inkugelradius", "Radius der Kugel, die alle Flächen berührt, wo es sie gibt"},
    {"Konvex", "Ob die Verbindungsstrecke zweier Punkte des Körpers immer ganz in ihm liegt"},
};

QString rowTip(const QString& label) {
    for (const RowTip& t : kRowTips)
        if (label == QString::fromUtf8(t.label)) return QString::fromUtf8(t.tip);
    return {};
}

QLabel* valueCell(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Selectable with mouse and keyboard, so a teacher can copy a figure; Tab reaches each value.
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    return label;
}

} // namespace

PropertiesWindow::PropertiesWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Tool) {
    setObjectName("propertiesWindow");
    setWindowTitle(QStringLiteral("Eigenschaften"));
    setAccessibleName(QStringLiteral("Eigenschaften"));
    setFont(pixelFont(12));

    auto* grid = new QWidget;
    grid->setObjectName("propertiesGrid");
    auto* gridLayout = new QGridLayout(grid);
    gridLayout_ = gridLayout;
    gridLayout->setContentsMargins(6, 6, 6, 6);
    gridLayout->setHorizontalSpacing(12);
    gridLayout->setVerticalSpacing(6);
    // The rows' labels do not depend on the figures.
    const std::vector<PropertyRow> rows = propertyRows({}, {}, FigureProperties{}, FigureProperties{});
    for (std::size_t r = 0; r < rows.size(); ++r) {
        auto* label = new QLabel(utf8(rows[r].label), grid);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        QLabel* solid = valueCell(grid);
        QLabel* dual = valueCell(grid);
        const QString tip = rowTip(label->text());
        label->setToolTip(tip);
        if (r == 0) { // the names head the two columns
            solid->setFont(bold);
            dual->setFont(bold);
        }
        // The standard name of a Johnson solid takes the grid's row under the names.
        const int row = static_cast<int>(r) + (r > 0 ? 1 : 0);
        gridLayout->addWidget(label, row, 0);
        gridLayout->addWidget(solid, row, 1);
        gridLayout->addWidget(dual, row, 2);
        rowLabels_.push_back(label);
        solidValues_.push_back(solid);
        dualValues_.push_back(dual);
    }
    gridLayout->setColumnStretch(1, 1);
    gridLayout->setColumnStretch(2, 1);
    johnsonLabel_ = new QLabel(QString::fromUtf8("Johnson-Körper"), grid);
    johnsonLabel_->setFont(rowLabels_.empty() ? font() : rowLabels_.front()->font());
    johnsonLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    johnsonLabel_->setToolTip(QString::fromUtf8("Nummer und Name des Johnson-Körpers nach Norman Johnson"));
    johnsonValue_ = valueCell(grid);
    johnsonValue_->setObjectName("johnsonName");
    gridLayout->addWidget(johnsonLabel_, 1, 0);
    gridLayout->addWidget(johnsonValue_, 1, 1);
    johnsonLabel_->hide();
    johnsonValue_->hide();
    gridLayout->setRowStretch(static_cast<int>(rows.size()) + 1, 1);

    auto* scroll = new QScrollArea;
    scroll_ = scroll;
    scroll->setObjectName("propertiesScroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // The columns keep the width their texts need; a window made narrower than that scrolls
    // sideways, and the rows scroll downward.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setWidget(grid);

    copyButton_ = new QPushButton(QStringLiteral("Kopieren"));
    copyButton_->setObjectName("propertiesCopy");
    copyButton_->setToolTip(QStringLiteral("Alle Eigenschaften als Tabelle in die Zwischenablage"));
    copyButton_->setAccessibleName(QStringLiteral("Alle Eigenschaften kopieren"));
    connect(copyButton_, &QPushButton::clicked, this, &PropertiesWindow::copyAll);
    helpButton_ = new QPushButton(QStringLiteral("Hilfe"));
    helpButton_->setObjectName("propertiesHelp");
    helpButton_->setToolTip(QString::fromUtf8("Erklärt, was die einzelnen Eigenschaften bedeuten (F1)"));
    connect(helpButton_, &QPushButton::clicked, this, &PropertiesWindow::helpRequested);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(helpButton_);
    buttons->addStretch(1);
    buttons->addWidget(copyButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    setMinimumSize(kMinWidth, kMinHeight);
    resize(kWidth, kHeight);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(kRefreshDelayMs);
    connect(refreshTimer_, &QTimer::timeout, this, &PropertiesWindow::catchUp);
}

void PropertiesWindow::catchUp() {
    if (stale_ && isVisible()) refresh();
}

void PropertiesWindow::showBody(const SolidModel& model, const QString& solidName, const QString& dualName,
                                const std::string& solidNotation, const std::string& dualNotation) {
    solidNotation_ = solidNotation;
    dualNotation_ = dualNotation;
    model_ = &model;
    solidName_ = solidName;
    dualName_ = dualName;
    stale_ = true;
    if (isVisible() && !refreshTimer_->isActive()) refreshTimer_->start();
}

namespace {

// Up to this many faces of solid and dual together the values are measured at once (a few
// milliseconds); beyond, beside the window's thread.
constexpr int kMeasuredAtOnce = 3000;

std::vector<PropertyRow> measuredRows(const SolidModel& model, const std::string& solidName,
                                      const std::string& dualName, const std::string& solidNotation,
                                      const std::string& dualNotation) {
    return measuredPropertyRows(model, solidName, dualName, solidNotation, dualNotation);
}

} // namespace

void PropertiesWindow::refresh() {
    stale_ = false;
    if (!model_) return;
    ++refreshCount_;
    const std::string solidName = solidName_.toStdString(), dualName = dualName_.toStdString();
    if (model_->solid.faces.size() + model_->dual.faces.size() <= kMeasuredAtOnce) {
        showRows(measuredRows(*model_, solidName, dualName, solidNotation_, dualNotation_));
        return;
    }
    // A large body (a result of operations, a big file) is measured beside the window's thread, on a
    // copy: the window keeps turning meanwhile, and the cells say that the values are coming.
    for (QLabel* cell : solidValues_)
        cell->setText(QString::fromUtf8("wird berechnet …"));
    for (QLabel* cell : dualValues_)
        cell->setText(QString::fromUtf8("wird berechnet …"));
    if (!measuring_) {
        measuring_ = new QFutureWatcher<std::vector<PropertyRow>>(this);
        connect(measuring_, &QFutureWatcher<std::vector<PropertyRow>>::finished, this, [this] {
            if (measuringFor_ == refreshCount_) showRows(measuring_->result());
        });
    }
    measuringFor_ = refreshCount_;
    measuring_->setFuture(QtConcurrent::run([model = *model_, solidName, dualName, solidNotation = solidNotation_,
                                             dualNotation = dualNotation_] {
        return measuredRows(model, solidName, dualName, solidNotation, dualNotation);
    }));
}

void PropertiesWindow::showRows(const std::vector<PropertyRow>& rows) {
    for (std::size_t r = 0; r < rows.size() && r < rowLabels_.size(); ++r) {
        const QString label = utf8(rows[r].label);
        const std::pair<QLabel*, const std::string*> cells[] = {{solidValues_[r], &rows[r].solid},
                                                                 {dualValues_[r], &rows[r].dual}};
        for (const auto& [cell, value] : cells) {
            const QString text = utf8(*value);
            if (cell->text() == text) continue;
            cell->setText(text);
            // What a screen reader says: the property, whose it is, and the value.
            cell->setAccessibleName(label + (cell == solidValues_[r] ? QStringLiteral(" (Körper): ")
                                                                     : QStringLiteral(" (Dual): ")) +
                                    text);
        }
    }
    // A Johnson solid of the catalogue by its standard name, beside the catalogue's entry.
    const QString johnson = johnsonStandardName(johnsonNumber(solidName_));
    johnsonValue_->setText(johnson);
    johnsonValue_->setAccessibleName(QString::fromUtf8("Johnson-Körper: ") + johnson);
    johnsonLabel_->setVisible(!johnson.isEmpty());
    johnsonValue_->setVisible(!johnson.isEmpty());
    fitColumns();
    growToColumns();
}

void PropertiesWindow::fitColumns() {
    int label = 0, solid = 0, dual = 0;
    for (std::size_t r = 0; r < rowLabels_.size(); ++r) {
        label = std::max(label, columnWidth(textWidths(*rowLabels_[r], rowLabels_[r]->text()), kMaxLabelWidth));
        solid = std::max(solid, columnWidth(textWidths(*solidValues_[r], solidValues_[r]->text()), kMaxValueWidth));
        dual = std::max(dual, columnWidth(textWidths(*dualValues_[r], dualValues_[r]->text()), kMaxValueWidth));
    }
    if (johnsonValue_->isVisibleTo(this)) {
        label = std::max(label, columnWidth(textWidths(*johnsonLabel_, johnsonLabel_->text()), kMaxLabelWidth));
        solid = std::max(solid, columnWidth(textWidths(*johnsonValue_, johnsonValue_->text()), kMaxValueWidth));
    }
    gridLayout_->setColumnMinimumWidth(0, label);
    gridLayout_->setColumnMinimumWidth(1, solid);
    gridLayout_->setColumnMinimumWidth(2, dual);
    gridLayout_->invalidate();
}

int PropertiesWindow::neededWidth() const {
    const QMargins outer = layout()->contentsMargins();
    const QWidget* grid = scroll_->widget();
    // Room for the vertical scroll bar, which the rows need on all but tall screens.
    return grid->minimumSizeHint().width() + scroll_->verticalScrollBar()->sizeHint().width() +
           2 * scroll_->frameWidth() + outer.left() + outer.right();
}

void PropertiesWindow::growToColumns() {
    if (!isVisible()) return;
    const int needed = neededWidth();
    if (width() >= needed) return;
    const QScreen* s = screen();
    if (!s) return;
    const QRect available = s->availableGeometry();
    const int border = frameGeometry().width() - width();
    const int w = std::min(needed, available.width() - border);
    if (w <= width()) return;
    // A window standing left of its main window grows to the left, so that it covers no more of it.
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    const bool growLeft = main && frameGeometry().center().x() < main->frameGeometry().center().x();
    QRect frame = frameGeometry();
    if (growLeft)
        frame.setLeft(frame.right() + 1 - w - border);
    else
        frame.setWidth(w + border);
    frame.moveLeft(std::clamp(frame.left(), available.left(), std::max(available.left(), available.right() + 1 - frame.width())));
    resize(w, height());
    move(frame.topLeft());
}

QLabel* PropertiesWindow::valueLabel(int row, bool dual) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return (dual ? dualValues_ : solidValues_)[static_cast<std::size_t>(row)];
}

QString PropertiesWindow::johnsonName() const {
    return johnsonValue_->isVisibleTo(this) ? johnsonValue_->text() : QString();
}

QString PropertiesWindow::tableText() const {
    QString text;
    for (std::size_t r = 0; r < rowLabels_.size(); ++r)
        text += rowLabels_[r]->text() + '\t' + solidValues_[r]->text() + '\t' + dualValues_[r]->text() + '\n';
    // The standard name of a Johnson solid last, so that the rows keep their lines.
    if (!johnsonValue_->text().isEmpty())
        text += johnsonLabel_->text() + '\t' + johnsonValue_->text() + QStringLiteral("\t\n");
    return text;
}

void PropertiesWindow::copyAll() {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(tableText());
}

ToolWindowPlacement toolWindowPlacement(const QRect& available, const QRect& mainFrame, const QSize& wanted) {
    const int w = std::min(wanted.width(), available.width());
    const int h = std::min(std::max(wanted.height(), mainFrame.height()), available.height());
    const int rightRoom = available.right() - mainFrame.right();
    const int leftRoom = mainFrame.left() - available.left();
    QPoint mainTopLeft = mainFrame.topLeft();
    int x = 0;
    if (rightRoom >= w) {
        x = mainFrame.right() + 1;
    } else if (leftRoom >= w) {
        x = mainFrame.left() - w;
    } else if (rightRoom >= leftRoom) {
        // At the screen's right edge; the main window moves left as far as makes room, at most to
        // the screen's left edge, so that what is still covered is as little as can be.
        x = available.right() + 1 - w;
        mainTopLeft.setX(mainFrame.left() - std::min(std::max(leftRoom, 0), w - rightRoom));
    } else {
        x = available.left();
        mainTopLeft.setX(mainFrame.left() + std::min(std::max(rightRoom, 0), w - leftRoom));
    }
    const int y = std::clamp(mainFrame.top(), available.top(), std::max(available.top(), available.bottom() + 1 - h));
    return {QRect(x, y, w, h), mainTopLeft};
}

void PropertiesWindow::placeBeside(QWidget& window) {
    fitColumns();
    const QRect frame = window.frameGeometry();
    const QScreen* screen = window.screen();
    const QRect available = screen ? screen->availableGeometry() : frame.adjusted(-kWidth, 0, kWidth, 0);
    // This window's frame is not known before it is shown; the main window's is the best guess.
    const QSize border = frame.size() - window.size();
    const QSize wanted(std::max(neededWidth(), kMinWidth) + border.width(), kMinHeight + border.height());
    const bool mayMoveMain = !(window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    const ToolWindowPlacement p =
        toolWindowPlacement(available, mayMoveMain ? frame : QRect(available.topLeft(), available.size()), wanted);
    if (mayMoveMain && p.mainTopLeft != frame.topLeft()) window.move(p.mainTopLeft);
    resize(p.frame.size() - border);
    move(p.frame.topLeft());
}

void PropertiesWindow::placeAt(QPoint frameTopLeft, QSize size) {
    placed_ = true;
    resize(size.expandedTo(minimumSize()));
    move(frameTopLeft);
}

void PropertiesWindow::showEvent(QShowEvent* event) {
    // The figures first: the first placing takes the width they need.
    if (stale_) refresh();
    if (!placed_) {
        placed_ = true;
        if (parentWidget()) placeBeside(*parentWidget()->window());
    }
    QWidget::showEvent(event);
    // The system hides and shows a tool window with its main window (minimised and restored);
    // that is no choice of the user's.
    if (!event->spontaneous()) emit visibilityChanged(true);
}

void PropertiesWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) emit visibilityChanged(false);
}

} // namespace kesmora
