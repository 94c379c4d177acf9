// "Ansicht › Netz falten": while its tool window is open, the drawing area shows the net of the
// solid as it is printed (as large as one page takes) flat and folding up into the solid, turned,
// zoomed, marked and coloured as the solid would be; the dual stays as it is.
#include "mainwindow.h"

#include "foldstate.h"

#include "export/mesh.h"
#include "export/netfold.h"
#include "export/netlayout.h"
#include "filecommands.h"
#include "geometry/shape.h"
#include "morphwindow.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QVariant>

#include <algorithm>
#include <exception>
#include <memory>

namespace kesmora {

void TMainForm::createFoldItem(QMenu* view) {
    foldWindow_ = new MorphWindow(this, foldTexts());
    foldAction = view->addAction(QStringLiteral("Netz falten"));
    foldAction->setObjectName("foldAction");
    foldAction->setCheckable(true);
    foldAction->setShortcut(QKeySequence(Qt::Key_F6));
    foldAction->setShortcutContext(Qt::ApplicationShortcut);
    foldAction->setToolTip(QString::fromUtf8(
        "Zeigt das Netz des Körpers, wie es gedruckt wird, flach und wie es sich zum Körper faltet (F6)"));
    connect(foldAction, &QAction::toggled, this, [this](bool on) {
        guarded([&] {
            if (on) {
                try {
                    // Chosen in the net dialog just now, or the solid's net.
                    const BodySource* shown = session_.shown();
                    if (!folding_ || !shown || !shown->sameAs(folding_->body)) foldNet();
                } catch (...) {
                    foldAction->setChecked(false);
                    throw;
                }
                if (morphWindow_->isVisible()) morphWindow_->hide(); // one way at a time
                if (!foldWindow_->property("placed").toBool()) {
                    foldWindow_->adjustSize();
                    const QRect area(mapToGlobal(QPoint(0, 0)), size());
                    foldWindow_->move(area.right() - foldWindow_->frameGeometry().width() - 16, area.top() + 64);
                    foldWindow_->setProperty("placed", true);
                }
            }
            foldWindow_->setVisible(on);
        });
    });
    connect(foldWindow_, &MorphWindow::visibilityChanged, this, [this](bool visible) {
        foldAction->setChecked(visible);
        if (!visible) folding_.reset();
        guarded([&] { zeichnen(); });
    });
    connect(foldWindow_, &MorphWindow::positionChanged, this, [this] { guarded([&] { zeichnen(); }); });
}

void TMainForm::foldNet(const Dialogs::NetChoice& choice) {
    const BodySource* shown = session_.shown();
    if (!shown) throw NetError(NetError::Kind::NoNet, QString::fromUtf8("Es wird noch kein Körper gezeigt"));
    // The net is laid out on the window's thread: only as many faces as that takes at once.
    constexpr int kMostFaces = 600;
    const int faces = std::max(model_.solid.faces.size(), model_.dual.faces.size());
    if (faces > kMostFaces)
        throw NetError(NetError::Kind::TooLarge,
                       QString::fromUtf8("Der Körper hat %1 Flächen; gefaltet werden Netze mit höchstens %2 Flächen")
                           .arg(faces)
                           .arg(kMostFaces));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        const NetRequest request = FileCommands::netRequestFor(model_, shownBodyName(), choice);
        const bool ofDual = request.side != NetSide::Solid;
        // The polar reciprocal folds where it is drawn, in the dual's place.
        if (request.side == NetSide::Reciprocal && model_.dualInfo.kind != DualKind::PolarReciprocal)
            throw NetError(NetError::Kind::NoNet,
                           QString::fromUtf8("Das Netz der polaren Reziproke lässt sich falten, wenn sie gezeigt wird "
                                             "(Einstellungen › Dual als polare Reziproke)"));
        const NetLayout layout = layoutNet(request);
        folding_ = std::make_unique<ShownFolding>(
            ShownFolding{NetFolding(request.mesh, layout), *shown, layout.pieceCount, choice, ofDual});
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
    const int pieces = folding_->pieces;
    foldWindow_->showReason(pieces == 1 ? QStringLiteral("Das Netz ist ein Teil")
                                        : QStringLiteral("Das Netz hat %1 Teile").arg(pieces));
}

const SolidModel* TMainForm::foldFrame() {
    if (!foldWindow_ || !foldWindow_->isVisible()) return nullptr;
    try {
        // Another body on screen has a net of its own.
        const BodySource* shown = session_.shown();
        if (!folding_ || !shown || !shown->sameAs(folding_->body)) foldNet(folding_ ? folding_->choice : Dialogs::NetChoice{});
        foldShown_.dualInfo = model_.dualInfo;
        foldShown_.scale = model_.scale;
        // Folded from the figure as it stands now, so it turns and zooms with it.
        if (folding_->ofDual) {
            foldShown_.solid = model_.solid;
            replaceDual(foldShown_, folding_->folding.at(foldWindow_->position(), dualMesh(model_)));
        } else {
            foldShown_.dual = model_.dual;
            replaceSolid(foldShown_, folding_->folding.at(foldWindow_->position(), solidMesh(model_)));
        }
        return &foldShown_;
    } catch (const std::exception& e) {
        folding_.reset();
        foldWindow_->showReason(QString::fromUtf8("Kein Netz für diesen Körper: ") + QString::fromUtf8(e.what()));
        return nullptr;
    }
}

} // namespace kesmora
