// What the window remembers from one run to the next (settings.h): its switches, the properties
// window and the places of both; "Einstellungen › Einstellungen zurücksetzen" forgets them.
#include "mainwindow.h"

#include "propertieswindow.h"
#include "settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

namespace kesmora {

namespace {

QString switchKey(const char* name) {
    return QStringLiteral("switches/") + QString::fromLatin1(name);
}

// The window's frame, when it lies whole on the free area of the screen it starts on.
bool fitsOnItsScreen(const QRect& frame) {
    const QScreen* screen = QGuiApplication::screenAt(frame.topLeft());
    return screen && screen->availableGeometry().contains(frame);
}

} // namespace

void TMainForm::setUpRememberedSettings() {
    QMenu* settingsMenu = menuBar()->findChild<QMenu*>(QStringLiteral("M13"));
    if (settingsMenu) {
        settingsMenu->addSeparator();
        resetSettingsAction = settingsMenu->addAction(QString::fromUtf8("Einstellungen zurücksetzen"));
        resetSettingsAction->setObjectName("resetSettingsAction");
        resetSettingsAction->setToolTip(
            QString::fromUtf8("Vergisst die gemerkten Schalter, Fensterplätze, Ordner und Dialogwahlen; "
                              "die Schalter gehen auf ihre Anfangswerte zurück"));
        connect(resetSettingsAction, &QAction::triggered, this, [this] { guarded([&] { forgetSettingsC(); }); });
    }
    // A switch is remembered as soon as it changes, also when a handler puts it back.
    for (const char* name : kRememberedSwitches) {
        QAction* action = findChild<QAction*>(QString::fromLatin1(name));
        if (!action || !action->isCheckable()) continue;
        action->setProperty("startChecked", action->isChecked());
        connect(action, &QAction::toggled, this, [name](bool on) { rememberSetting(switchKey(name), on); });
    }
    // The main window where it was, when that place still lies on a screen; a window too large for
    // its screen stays maximised.
    if (fitsScreen_) {
        const std::optional<QRect> place = rememberedPlace(QStringLiteral("window/place"));
        if (place && fitsOnItsScreen(*place)) move(place->topLeft());
    }
    if (const std::optional<QRect> place = rememberedPlace(QStringLiteral("properties/place")))
        properties_->placeAt(place->topLeft(), place->size());
}

void TMainForm::restoreRememberedSettings() {
    // Each switch as if clicked, so that its handler brings the lists, the dual and the operations
    // in line with it.
    for (const char* name : kRememberedSwitches) {
        QAction* action = findChild<QAction*>(QString::fromLatin1(name));
        if (!action || !action->isCheckable()) continue;
        const std::optional<bool> on = rememberedBool(switchKey(name));
        if (on && *on != action->isChecked()) guarded([&] { action->trigger(); });
    }
    // The properties window once the main window is on screen, so that it stays above it.
    if (rememberedBool(QStringLiteral("properties/open")).value_or(false))
        QTimer::singleShot(0, this, [this] { propertiesAction->setChecked(true); });
}

void TMainForm::rememberPlaces() {
    if (settingsForgotten_) return;
    // The place of the window at its normal size; a maximised or full-screen one keeps the last.
    if (fitsScreen_ && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        rememberPlace(QStringLiteral("window/place"), frameGeometry());
    rememberSetting(QStringLiteral("properties/open"), properties_->isVisible());
    if (properties_->isVisible()) rememberPlace(QStringLiteral("properties/place"), QRect(properties_->pos(), properties_->size()));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    rememberPlaces();
    QMainWindow::closeEvent(event);
}

void TMainForm::forgetSettingsC() {
    for (const char* name : kRememberedSwitches) {
        QAction* action = findChild<QAction*>(QString::fromLatin1(name));
        if (!action || !action->isCheckable()) continue;
        const QVariant start = action->property("startChecked");
        if (start.isValid() && start.toBool() != action->isChecked()) guarded([&] { action->trigger(); });
    }
    // Forgotten after the switches went back, which remembered them once more.
    forgetSettings();
    settingsForgotten_ = true;
}

} // namespace kesmora
