// "Ansicht › Übergang zum Dual": while its tool window is open, the solid is drawn as the figure on
// the way to its dual at the window's position, turned, zoomed, marked and coloured as the solid
// would be; the dual stays as it is.
#include "mainwindow.h"

#include "geometry/morph.h"
#include "morphwindow.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QVariant>

#include <exception>

namespace kesmora {

namespace {

const char* kMorphExplained = "Zeigt, wie der Körper in sein Dual übergeht: die Flächen der polaren Reziproken "
                              "schneiden seine Ecken immer tiefer ab";

} // namespace

void TMainForm::createMorphItem(QMenu* view) {
    morphWindow_ = new MorphWindow(this);
    morphAction = view->addAction(QString::fromUtf8("Übergang zum Dual"));
    morphAction->setObjectName("morphAction");
    morphAction->setCheckable(true);
    morphAction->setShortcut(QKeySequence(Qt::Key_F4));
    morphAction->setShortcutContext(Qt::ApplicationShortcut);
    morphAction->setToolTip(QString::fromUtf8(kMorphExplained));
    connect(morphAction, &QAction::toggled, this, [this](bool on) {
        guarded([&] {
            if (on) {
                updateMorphAction();
                if (!morphAction->isEnabled()) {
                    morphAction->setChecked(false);
                    reportError(morphAction->toolTip().toStdString());
                    return;
                }
            }
            if (on && foldWindow_ && foldWindow_->isVisible()) foldWindow_->hide(); // one way at a time
            if (on && !morphWindow_->property("placed").toBool()) {
                // The first time in the drawing area's top right corner, which the bodies, drawn in
                // the middle, leave free; after that where the user put it.
                morphWindow_->adjustSize();
                const QRect area(mapToGlobal(QPoint(0, 0)), size());
                morphWindow_->move(area.right() - morphWindow_->frameGeometry().width() - 16, area.top() + 64);
                morphWindow_->setProperty("placed", true);
            }
            morphWindow_->setVisible(on);
        });
    });
    connect(morphWindow_, &MorphWindow::visibilityChanged, this, [this](bool visible) {
        morphAction->setChecked(visible);
        guarded([&] { zeichnen(); });
    });
    connect(morphWindow_, &MorphWindow::positionChanged, this, [this] { guarded([&] { zeichnen(); }); });
    connect(view, &QMenu::aboutToShow, this, [this] { updateMorphAction(); });
}

void TMainForm::updateMorphAction() {
    if (morphWindow_->isVisible()) return; // open: it says itself where the solid has no way
    const std::string refusal = morphRefusal(meshOf(model_.solid));
    morphAction->setEnabled(refusal.empty());
    morphAction->setToolTip(refusal.empty() ? QString::fromUtf8(kMorphExplained)
                                            : QString::fromUtf8("Nicht für diesen Körper: ") +
                                                  QString::fromUtf8(refusal.c_str()));
}

const SolidModel& TMainForm::shownModel() {
    if (const SolidModel* frame = transitionFrame()) return *frame;
    if (const SolidModel* frame = foldFrame()) return *frame;
    if (!morphWindow_ || !morphWindow_->isVisible()) return model_;
    try {
        // Built from the solid as it stands now, so it turns and zooms with it.
        morphShown_.dual = model_.dual;
        morphShown_.dualInfo = model_.dualInfo;
        // The solid as it stands, with its own coordinates, from which the figure takes its own.
        morphShown_.solid = model_.solid;
        morphShown_.own = model_.own;
        morphShown_.scale = model_.scale;
        showMorph(morphShown_, DualMorph(meshOf(model_.solid)), morphWindow_->position());
        const Figure& figure = morphShown_.solid;
        long long sides = 0;
        for (const FaceView face : figure.faces)
            sides += face.size();
        morphWindow_->showCounts(figure.vertices.size(), sides / 2, figure.faces.size());
        return morphShown_;
    } catch (const std::exception& e) {
        morphWindow_->showReason(QString::fromUtf8("Nicht für diesen Körper: ") + QString::fromUtf8(e.what()));
        return model_;
    }
}

} // namespace kesmora
