// "Ansicht › Vollbild" (F11): the drawing alone across the whole screen, drawn at the screen's own
// size. The menu bar, the title and the control strip give way; the keys of the menus go on working,
// the digits 1 to 7 choose the drawing mode and + and − zoom, as the mouse wheel does. F11 or Escape
// leave it; Escape closes the program only outside full screen.
#include "mainwindow.h"

#include "controlstrip.h"
#include "paintbox.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

namespace kesmora {

void TMainForm::createFullScreenItem(QMenu* view) {
    fullScreenAction = view->addAction(QStringLiteral("Vollbild"));
    fullScreenAction->setObjectName("fullScreenAction");
    fullScreenAction->setCheckable(true);
    fullScreenAction->setShortcut(QKeySequence(Qt::Key_F11));
    fullScreenAction->setShortcutContext(Qt::ApplicationShortcut);
    fullScreenAction->setToolTip(QString::fromUtf8("Nur die Zeichnung, über den ganzen Bildschirm (F11; "
                                                   "F11 oder Esc beendet das Vollbild)"));
    // Held by the window too, so that its keys work while the menu bar is hidden.
    addAction(fullScreenAction);
    connect(fullScreenAction, &QAction::triggered, this, [this] { guarded([&] { fullScreenC(); }); });

    // The drawing modes by their numbers, and the zoom, for full screen, where their controls are
    // hidden.
    for (const DrawMode mode : kDrawModes) {
        auto* key = new QAction(this);
        key->setObjectName(QStringLiteral("modeKey%1").arg(static_cast<int>(mode)));
        key->setShortcut(QKeySequence(Qt::Key_0 + static_cast<int>(mode)));
        key->setEnabled(false);
        addAction(key);
        connect(key, &QAction::triggered, this, [this, mode] {
            guarded([&] {
                if (mode == DrawMode::Interpenetration3 && !offersInterpenetration3(session_.category())) return;
                strip_->checkMode(mode);
                render_.mode = mode;
                zeichnen();
            });
        });
    }
    const std::pair<const char*, std::pair<ZoomCommand, QList<QKeySequence>>> zoomKeys[] = {
        {"zoomInKey", {ZoomCommand::Enlarge, {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)}}},
        {"zoomOutKey", {ZoomCommand::Reduce, {QKeySequence(Qt::Key_Minus)}}}};
    for (const auto& [name, zoomKey] : zoomKeys) {
        auto* key = new QAction(this);
        key->setObjectName(QString::fromLatin1(name));
        key->setShortcuts(zoomKey.second);
        key->setEnabled(false);
        addAction(key);
        connect(key, &QAction::triggered, this, [this, command = zoomKey.first] { guarded([&] { S8C(command); }); });
    }
}

void TMainForm::fullScreenC() {
    const bool on = !fullScreen_;
    fullScreen_ = on;
    fullScreenAction->setChecked(on);
    // Escape leaves full screen there, and only there closes the program.
    M1->setShortcut(on ? QKeySequence() : QKeySequence(Qt::Key_Escape));
    fullScreenAction->setShortcuts(on ? QList<QKeySequence>{QKeySequence(Qt::Key_F11), QKeySequence(Qt::Key_Escape)}
                                      : QList<QKeySequence>{QKeySequence(Qt::Key_F11)});
    for (QAction* key : findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QString name = key->objectName();
        if (name.startsWith(QLatin1String("modeKey")) || name.startsWith(QLatin1String("zoom"))) key->setEnabled(on);
    }
    if (on) {
        // The menus' items lend their keys to the window while the menu bar is hidden.
        for (QMenu* menu : menuBar()->findChildren<QMenu*>())
            for (QAction* item : menu->actions())
                if (!item->shortcut().isEmpty() && !actions().contains(item)) {
                    addAction(item);
                    borrowedForFullScreen_.append(item);
                }
        maximisedBeforeFullScreen_ = windowState() & Qt::WindowMaximized;
        geometryBeforeFullScreen_ = geometry();
        menuBar()->hide();
        setMinimumSize(0, 0);
        layoutClientArea();
        showFullScreen();
        // Also where no window manager makes a full-screen window as large as its screen.
        if (const QScreen* s = screen()) setGeometry(s->geometry());
    } else {
        for (QAction* item : borrowedForFullScreen_)
            removeAction(item);
        borrowedForFullScreen_.clear();
        menuBar()->show();
        layoutClientArea();
        if (maximisedBeforeFullScreen_) {
            showMaximized();
        } else {
            showNormal();
            if (geometryBeforeFullScreen_.isValid()) setGeometry(geometryBeforeFullScreen_);
        }
        if (fitsScreen_) setMinimumSize(normalSize_);
    }
}

} // namespace kesmora
