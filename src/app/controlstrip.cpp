#include "controlstrip.h"

#include "buttonpictures.h"
#include "panels.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <iterator>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>
#include <vector>

namespace kesmora {

namespace {

// Button D2 names what a press does next: start the turning, or stop it.
QString animationCaption(bool running) {
    return running ? QStringLiteral("Abbruch") : QStringLiteral("Rotation");
}

constexpr const char* kColourButtonNames[7] = {"S12", "S25", "S3", "S4", "S5", "S6", "S7"};
constexpr const char* kColourSlotNames[7] = {"Farbe der Dreiecke", "Farbe der Vierecke", "Farbe der Fünfecke",
                                             "Farbe der Sechsecke", "Farbe der Achtecke", "Farbe der Zehnecke",
                                             "Farbe der Zwölfecke"};
constexpr const char* kModeNames[7] = {"RB1", "RB2", "RB3", "RB4", "RB5", "Rb6", "rb7"};

} // namespace

ControlStrip::ControlStrip(const std::array<QColor, 7>& colours) {
    setObjectName("P8");
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(kPanelColour));
    setPalette(pal);

    P3 = panel(this, kPanelColour, "P3");
    P3->setGeometry(0, 0, 1, kHeight);
    P20 = panel(this, kPanelColour, "P20");

    const char* labels[3] = {"x-Drehwinkel", "y-Drehwinkel", "z-Drehwinkel"};
    const char* spinNames[3] = {"t3", "t4", "t5"};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(QString::fromLatin1(labels[i]), P20);
        l->setGeometry(30, 14 + 30 * i, 92, 24);
        auto* s = new QSpinBox(P20);
        s->setObjectName(spinNames[i]);
        s->setRange(-15, 15);
        s->setSingleStep(1);
        s->setFrame(false);
        s->findChild<QLineEdit*>()->setReadOnly(true); // stepped only, never typed
        s->setGeometry(125, 14 + 30 * i, 54, 24);
        QPalette spinPalette = s->palette();
        spinPalette.setColor(QPalette::Base, QColor(kPanelColour));
        s->setPalette(spinPalette);
        s->setAccessibleName(QString::fromLatin1(labels[i]));
        l->setBuddy(s);
        turnSteps_[static_cast<std::size_t>(i)] = s;
    }
    turnSteps_[2]->setValue(2);

    for (std::size_t i = 0; i < 7; ++i) {
        QToolButton* b = imageButton(P20, kColourButtonNames[i],
                                     colourButtonPicture(kPolygonColourVertexCounts[i], colours[i]),
                                     colourSlotName(static_cast<int>(i)));
        b->setGeometry(24 + 24 * static_cast<int>(i), 108, 24, 24);
        b->setIconSize(QSize(22, 22));
        colourButtons_[i] = b;
    }

    D1 = new QPushButton(QStringLiteral("Darstellung"), P20);
    D1->setObjectName("D1");
    D1->setGeometry(224, 19, 110, 25);
    D2 = new QPushButton(animationCaption(false), P20);
    D2->setObjectName("D2");
    D2->setGeometry(224, 48, 110, 25);
    CB1 = new QCheckBox(QStringLiteral("Punkte markieren"), P20);
    CB1->setObjectName("CB1");
    CB1->setGeometry(216, 90, 146, 17);

    auto* modes = new QButtonGroup(this);
    for (int i = 0; i < 7; ++i) {
        const std::string_view caption = drawModeCaption(kDrawModes[static_cast<std::size_t>(i)]);
        auto* b =
            new QRadioButton(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), P20);
        b->setObjectName(kModeNames[i]);
        b->setGeometry(368, 16 + 16 * i, 160, 16);
        modes->addButton(b, i + 1);
        modeButtons_[static_cast<std::size_t>(i)] = b;
    }

    R1 = new QGroupBox(QString::fromUtf8("Körpertyp"), P20);
    R1->setObjectName("R1");
    R1->setGeometry(536, 12, 177, 101);
    R1Group = new QButtonGroup(this);
    R1Group->setObjectName("R1Group");
    // The three categories offered, items 0 to 2 (kCategories).
    const char* items[3] = {"Polyeder", "Archimedische Körper", "Johnson Polyeder"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(items[i]), R1);
        radio->setGeometry(10, 22 + 24 * i, 160, 20);
        R1Group->addButton(radio, i);
        if (i == 0) radio->setChecked(true);
    }

    LB1 = new QListWidget(P20);
    LB1->setObjectName("LB1");
    LB1->setGeometry(728, 16, 241, 116);
    LB1->setUniformItemSizes(true);
    LB1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LB1->setStyleSheet(
        QStringLiteral("QListWidget { background: white; } QListWidget::item { height: 14px; }"));
    LB1->setAccessibleName(QString::fromUtf8("Körper"));

    connect(D1, &QPushButton::clicked, this, &ControlStrip::drawClicked);
    connect(D2, &QPushButton::clicked, this, &ControlStrip::animationClicked);
    const SpeedEdit edits[3] = {SpeedEdit::XY, SpeedEdit::YZ, SpeedEdit::XZ};
    for (std::size_t i = 0; i < 3; ++i)
        connect(turnSteps_[i], &QSpinBox::valueChanged, this,
                [this, edit = edits[i]](int value) { emit speedChanged(edit, value); });
    for (int i = 0; i < 7; ++i)
        connect(colourButtons_[static_cast<std::size_t>(i)], &QToolButton::clicked, this,
                [this, i] { emit colourClicked(i); });
    connect(CB1, &QCheckBox::clicked, this, &ControlStrip::marksClicked);
    connect(modes, &QButtonGroup::idClicked, this,
            [this](int id) { emit modeClicked(static_cast<DrawMode>(id)); });
    connect(R1Group, &QButtonGroup::idClicked, this, &ControlStrip::categoryClicked);
    connect(LB1, &QListWidget::itemClicked, this, &ControlStrip::bodyClicked);
    connect(LB1, &QListWidget::currentRowChanged, this, &ControlStrip::bodyRowChanged);
}

// The strip's resize (P8Resize)
void ControlStrip::P8Resize() {
    const int spacer = (width() - kControlsWidth) / 2; // truncates toward zero
    P3->setGeometry(0, 0, spacer, kHeight);
    P20->setGeometry(std::max(0, spacer), 0, width() - std::max(0, spacer), kHeight);
}

void ControlStrip::setBodyNames(const QStringList& names) {
    const QSignalBlocker block(LB1);
    LB1->clear();
    LB1->addItems(names);
}

void ControlStrip::clearBodies() {
    LB1->clear();
}

int ControlStrip::bodyCount() const {
    return LB1->count();
}

QString ControlStrip::currentBodyName() const {
    const QListWidgetItem* item = LB1->currentItem();
    return item ? item->text() : QString();
}

void ControlStrip::chooseBodyRow(int row) {
    const QSignalBlocker block(LB1);
    LB1->setCurrentRow(row);
}

void ControlStrip::chooseBodyNamed(const QString& name) {
    const QSignalBlocker block(LB1);
    const auto items = LB1->findItems(name, Qt::MatchExactly);
    LB1->setCurrentRow(items.isEmpty() ? -1 : LB1->row(items.first()));
}

int ControlStrip::categoryItem() const {
    return R1Group->checkedId();
}

void ControlStrip::checkCategoryItem(int item) {
    if (QAbstractButton* radio = R1Group->button(item)) radio->setChecked(true);
}

void ControlStrip::checkMode(DrawMode mode) {
    modeButtons_[static_cast<std::size_t>(mode) - 1]->setChecked(true);
}

bool ControlStrip::offerModesOf(Category category) {
    QRadioButton* interpenetration3 = modeButtons_[6];
    interpenetration3->setVisible(offersInterpenetration3(category));
    if (!offersInterpenetration3(category) && interpenetration3->isChecked()) {
        checkMode(DrawMode::Interpenetration2);
        return true;
    }
    return false;
}

void ControlStrip::setAnimationCaption(bool running) {
    D2->setText(animationCaption(running));
}

void ControlStrip::setColourPicture(int slot, const QColor& colour) {
    const auto i = static_cast<std::size_t>(slot);
    colourButtons_[i]->setIcon(colourButtonPicture(kPolygonColourVertexCounts[i], colour));
}

bool ControlStrip::marksPoints() const {
    return CB1->isChecked();
}

void ControlStrip::showChosenRow(bool shown) {
    QListWidgetItem* item = LB1->currentItem();
    const QSignalBlocker block(LB1);
    if (!shown)
        LB1->clearSelection();
    else if (item)
        item->setSelected(true);
}

QString colourSlotName(int slot) {
    if (slot < 0 || slot >= static_cast<int>(std::size(kColourSlotNames))) return QStringLiteral("Farbe");
    return QString::fromUtf8(kColourSlotNames[slot]);
}

} // namespace kesmora
