// Which part of the dual belongs to which part of the solid, under the mouse: a face of one figure
// and the vertex of the other that is its pole (the dual's vertex f stands for the solid's face f,
// the dual's face v for the solid's vertex v), a vertex and its face, an edge and the edge that
// crosses it. Found on the picture as drawn, and drawn over it.
#pragma once

#include "geometry/solidmodel.h"
#include "rendersettings.h"

#include <QLine>
#include <QPoint>
#include <QPolygon>
#include <QSize>

#include <vector>

class QPainter;

namespace kesmora {

// Where the renderer puts each figure's centre in a drawing area of this size and mode.
struct FigureOrigins {
    QPoint solid;
    QPoint dual;
};
FigureOrigins figureOrigins(QSize paintBoxSize, DrawMode mode);

// A part of a figure under the mouse.
struct PickedPart {
    enum class Kind { None, Face, Vertex, Edge };
    Kind kind = Kind::None;
    bool dual = false; // the part belongs to the dual
    int index = -1;    // the face or vertex
    int a = -1, b = -1; // the edge's ends
    bool operator==(const PickedPart&) const = default;
};

// The frontmost face under `point` (of either figure where both are drawn), and on it the vertex
// within `nearVertex` pixels or else the edge within `nearEdge` pixels, if any.
PickedPart pickPart(const SolidModel& model, QSize paintBoxSize, DrawMode mode, QPoint point, int nearVertex = 6,
                    int nearEdge = 4);

// What to draw over the picture for a part: the part itself and its partner in the other figure.
struct Highlight {
    std::vector<QPolygon> faces;
    std::vector<QPoint> vertices;
    std::vector<QLine> edges;
    bool empty() const { return faces.empty() && vertices.empty() && edges.empty(); }
    // The pixels the drawing can touch.
    QRect bounds() const;
};

// The highlight of a part and its partner, where the models tables have the partner (a quasi-dual's
// cut faces beyond the solid's vertices have none).
Highlight highlightOf(const SolidModel& model, QSize paintBoxSize, DrawMode mode, const PickedPart& part);

// Draws the highlight: faces tinted with a strong outline, vertices as dots, edges as thick lines.
void drawHighlight(QPainter& painter, const Highlight& highlight);

} // namespace kesmora
