// The properties window: a grid of selectable labels filled from the export layer's rows.
#include "propertieswindow.h"

#include "panels.h"

#include "export/properties.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QHideEvent>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace kesmora {

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 520;
constexpr int kMinWidth = 420;
constexpr int kMinHeight = 300;

QString utf8(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
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
    gridLayout->setHorizontalSpacing(14);
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
        if (r == 0) { // the names head the two columns
            solid->setFont(bold);
            dual->setFont(bold);
        }
        const int row = static_cast<int>(r);
        gridLayout->addWidget(label, row, 0);
        gridLayout->addWidget(solid, row, 1);
        gridLayout->addWidget(dual, row, 2);
        rowLabels_.push_back(label);
        solidValues_.push_back(solid);
        dualValues_.push_back(dual);
    }
    gridLayout->setColumnStretch(1, 1);
    gridLayout->setColumnStretch(2, 1);
    gridLayout->setRowStretch(static_cast<int>(rows.size()), 1);

    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    // Long values wrap; the rows grow downward and only they scroll.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(grid);

    copyButton_ = new QPushButton(QStringLiteral("Kopieren"));
    copyButton_->setObjectName("propertiesCopy");
    copyButton_->setToolTip(QStringLiteral("Alle Eigenschaften als Tabelle in die Zwischenablage"));
    copyButton_->setAccessibleName(QStringLiteral("Alle Eigenschaften kopieren"));
    connect(copyButton_, &QPushButton::clicked, this, &PropertiesWindow::copyAll);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copyButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
    resize(kWidth, kHeight);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(kRefreshDelayMs);
    connect(refreshTimer_, &QTimer::timeout, this, &PropertiesWindow::catchUp);
}

void PropertiesWindow::catchUp() {
    if (stale_ && isVisible()) refresh();
}

void PropertiesWindow::showBody(const SolidModel& model, const QString& solidName, const QString& dualName) {
    model_ = &model;
    solidName_ = solidName;
    dualName_ = dualName;
    stale_ = true;
    if (isVisible() && !refreshTimer_->isActive()) refreshTimer_->start();
}

void PropertiesWindow::refresh() {
    stale_ = false;
    if (!model_) return;
    ++refreshCount_;
    const std::vector<PropertyRow> rows =
        propertyRows(solidName_.toStdString(), dualName_.toStdString(), solidProperties(*model_),
                     dualProperties(*model_));
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
}

QLabel* PropertiesWindow::valueLabel(int row, bool dual) const {
    if (row < 0 || row >= rowCount()) return nullptr;
    return (dual ? dualValues_ : solidValues_)[static_cast<std::size_t>(row)];
}

QString PropertiesWindow::tableText() const {
    QString text;
    for (std::size_t r = 0; r < rowLabels_.size(); ++r)
        text += rowLabels_[r]->text() + '\t' + solidValues_[r]->text() + '\t' + dualValues_[r]->text() + '\n';
    return text;
}

void PropertiesWindow::copyAll() {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(tableText());
}

void PropertiesWindow::placeBeside(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QScreen* screen = window.screen();
    const QRect available = screen ? screen->availableGeometry() : frame.adjusted(-kWidth, 0, kWidth, 0);
    // This window's frame is not known before it is shown; the main window's is the best guess.
    const int border = frame.width() - window.width();
    // The side with more room, as wide as that room allows; on a screen too narrow for that it
    // overlaps the main window's edge rather than getting too narrow to read.
    const int rightRoom = available.right() - frame.right(), leftRoom = frame.left() - available.left();
    const bool right = rightRoom >= leftRoom;
    const int w = std::clamp(std::max(rightRoom, leftRoom) - border, kMinWidth, kWidth);
    resize(w, std::max(window.height(), kMinHeight));
    int x = right ? frame.right() + 1 : frame.left() - w - border;
    x = std::clamp(x, available.left(), std::max(available.left(), available.right() + 1 - w - border));
    const int y = std::clamp(frame.top(), available.top(), std::max(available.top(), available.bottom() - height()));
    move(x, y);
}

void PropertiesWindow::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        if (parentWidget()) placeBeside(*parentWidget()->window());
    }
    QWidget::showEvent(event);
    if (stale_) refresh();
    // The system hides and shows a tool window with its main window (minimised and restored);
    // that is no choice of the user's.
    if (!event->spontaneous()) emit visibilityChanged(true);
}

void PropertiesWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) emit visibilityChanged(false);
}

} // namespace kesmora
