// "Ansicht › Zuordnung zeigen": with the mouse over a face of the solid, that face and the dual's
// vertex that stands for it are highlighted; over a vertex, its dual face; over an edge, the dual
// edge that crosses it; and the same from the dual. The highlight is drawn over the picture, so it
// costs no build and leaves the saved pictures as they are.
#include "mainwindow.h"

#include "paintbox.h"

#include <QAction>
#include <QMenu>

namespace kesmora {

void TMainForm::createCorrespondenceItem(QMenu* view) {
    correspondenceAction = view->addAction(QStringLiteral("Zuordnung zeigen"));
    correspondenceAction->setObjectName("correspondenceAction");
    correspondenceAction->setCheckable(true);
    correspondenceAction->setToolTip(QString::fromUtf8(
        "Zeigt unter der Maus, was zusammengehört: zu einer Fläche des Körpers die Ecke des Duals, zu "
        "einer Ecke die Fläche, zu einer Kante die Kante, die sie kreuzt – und umgekehrt"));
    PB1->overlay = [this](QPainter& painter) {
        if (!highlight_.empty()) drawHighlight(painter, highlight_);
    };
    connect(correspondenceAction, &QAction::toggled, this, [this](bool on) {
        PB1->setMouseTracking(on);
        picked_ = {};
        PB1->showScene(updateHighlight());
    });
    connect(PB1, &PaintBox::mouseLeft, this, [this] {
        if (picked_.kind == PickedPart::Kind::None) return;
        picked_ = {};
        PB1->showScene(updateHighlight());
    });
}

void TMainForm::pickUnderMouse(int x, int y) {
    const PickedPart part = pickPart(*drawn_, PB1->size(), render_.mode, QPoint(x, y));
    if (part == picked_) return;
    picked_ = part;
    PB1->showScene(updateHighlight());
}

QRect TMainForm::updateHighlight() {
    const QRect before = highlight_.bounds();
    highlight_ = picked_.kind == PickedPart::Kind::None ? Highlight{}
                                                         : highlightOf(*drawn_, PB1->size(), render_.mode, picked_);
    return before | highlight_.bounds();
}

} // namespace kesmora
