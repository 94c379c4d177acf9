// The tool window of the way from the solid to its dual.
#include "morphwindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace kesmora {

namespace {

constexpr int kSteps = 1000;    // slider positions from the solid to the dual
constexpr int kTickMs = 40;     // the player's tick
constexpr int kStepPerTick = 20; // there and back (2 × 1000 steps) in 100 ticks: 4 s

} // namespace

WayTexts morphTexts() {
    return {QStringLiteral("morph"),
            QString::fromUtf8("Übergang zum Dual"),
            QString::fromUtf8("Körper"),
            QStringLiteral("Dual"),
            QString::fromUtf8("Stellung zwischen Körper und Dual"),
            QString::fromUtf8("Links der Körper, in der Mitte die Form, in der sich seine Kanten und die des Duals "
                              "kreuzen, rechts das Dual; dazwischen schneiden die Flächen des Duals die Ecken des "
                              "Körpers ab und umgekehrt"),
            QString::fromUtf8("Den Übergang vom Körper zum Dual und zurück abspielen"),
            QString::fromUtf8("Ecken, Kanten und Flächen der gezeigten Figur")};
}

WayTexts foldTexts() {
    return {QStringLiteral("fold"),
            QStringLiteral("Netz falten"),
            QStringLiteral("flach"),
            QStringLiteral("gefaltet"),
            QString::fromUtf8("Stellung zwischen flachem Netz und gefaltetem Körper"),
            QString::fromUtf8("Links das Netz flach, wie es gedruckt wird (jedes Teil in seiner Ebene), rechts "
                              "zum Körper gefaltet; dazwischen dreht sich jede Fläche um ihre Faltkante"),
            QString::fromUtf8("Das Netz zum Körper falten und wieder aufklappen"),
            QString::fromUtf8("Die Teile des Netzes, wie es gedruckt wird")};
}

MorphWindow::MorphWindow(QWidget* parent, const WayTexts& texts) : QWidget(parent, Qt::Tool) {
    setObjectName(texts.name + QStringLiteral("Window"));
    setWindowTitle(texts.title);
    auto* layout = new QVBoxLayout(this);
    auto* ends = new QHBoxLayout;
    ends->addWidget(new QLabel(texts.start, this));
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(texts.name + QStringLiteral("Slider"));
    slider_->setRange(0, kSteps);
    slider_->setPageStep(kSteps / 8);
    slider_->setMinimumWidth(260);
    slider_->setAccessibleName(texts.sliderName);
    slider_->setToolTip(texts.sliderTip);
    ends->addWidget(slider_, 1);
    ends->addWidget(new QLabel(texts.end, this));
    layout->addLayout(ends);
    auto* row = new QHBoxLayout;
    playButton_ = new QPushButton(QStringLiteral("Abspielen"), this);
    playButton_->setObjectName(texts.name + QStringLiteral("Play"));
    playButton_->setToolTip(texts.playTip);
    row->addWidget(playButton_);
    counts_ = new QLabel(this);
    counts_->setObjectName(texts.name + QStringLiteral("Counts"));
    counts_->setToolTip(texts.countsTip);
    row->addWidget(counts_, 1);
    layout->addLayout(row);

    timer_ = new QTimer(this);
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, &MorphWindow::step);
    connect(playButton_, &QPushButton::clicked, this, &MorphWindow::play);
    connect(slider_, &QSlider::valueChanged, this, [this](int value) { emit positionChanged(double(value) / kSteps); });
}

double MorphWindow::position() const {
    return double(slider_->value()) / kSteps;
}

void MorphWindow::setPosition(double t) {
    slider_->setValue(static_cast<int>(std::lround(t * kSteps)));
}

bool MorphWindow::playing() const {
    return timer_->isActive();
}

void MorphWindow::showCounts(long long vertices, long long edges, long long faces) {
    counts_->setText(QString::fromUtf8("%1 Ecken, %2 Kanten, %3 Flächen").arg(vertices).arg(edges).arg(faces));
}

void MorphWindow::showReason(const QString& reason) {
    counts_->setText(reason);
}

void MorphWindow::play() {
    if (timer_->isActive()) {
        timer_->stop();
        playButton_->setText(QStringLiteral("Abspielen"));
        return;
    }
    // From where it stands towards the dual, then back to the solid.
    direction_ = slider_->value() >= kSteps ? -1 : 1;
    playButton_->setText(QStringLiteral("Anhalten"));
    timer_->start();
}

void MorphWindow::step() {
    int value = slider_->value() + direction_ * kStepPerTick;
    if (value >= kSteps) value = kSteps, direction_ = -1;
    if (value <= 0 && direction_ < 0) {
        value = 0;
        timer_->stop();
        playButton_->setText(QStringLiteral("Abspielen"));
    }
    slider_->setValue(value);
}

void MorphWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void MorphWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_->stop();
    playButton_->setText(QStringLiteral("Abspielen"));
    emit visibilityChanged(false);
}

} // namespace kesmora
