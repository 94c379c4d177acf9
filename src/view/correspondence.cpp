// Picking a part of a figure on the picture, and its partner in the other figure.
#include "correspondence.h"

#include "rotation.h"

#include <QPainter>

#include <cmath>
#include <limits>

namespace kesmora {

namespace {

bool sideBySide(DrawMode mode) {
    return mode == DrawMode::EdgeModel || mode == DrawMode::HiddenEdges || mode == DrawMode::ColouredFaces ||
           mode == DrawMode::MultiColouredFaces;
}

QPoint screenOf(const Figure& figure, int vertex, QPoint origin) {
    const Point3D& p = figure.vertices[vertex];
    return {toScreen(origin.x(), p.x), toScreen(origin.y(), p.y)};
}

QPolygon faceOnScreen(const Figure& figure, int face, QPoint origin) {
    QPolygon polygon;
    for (int v : figure.faces[face])
        polygon << screenOf(figure, v, origin);
    return polygon;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double length2 = QPointF::dotProduct(d, d);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, d) / length2, 0.0, 1.0) : 0.0;
    const QPointF q = a + t * d - p;
    return std::sqrt(QPointF::dotProduct(q, q));
}

// The faces on both sides of the edge a–b.
std::pair<int, int> facesBeside(const Figure& figure, int a, int b) {
    int first = -1, second = -1;
    for (int f = 0; f < figure.faces.size(); ++f) {
        const FaceView face = figure.faces[f];
        for (int k = 0; k < face.size(); ++k) {
            const int u = face[k], w = face[(k + 1) % face.size()];
            if ((u == a && w == b) || (u == b && w == a)) {
                (first < 0 ? first : second) = f;
                break;
            }
        }
        if (second >= 0) break;
    }
    return {first, second};
}

} // namespace

FigureOrigins figureOrigins(QSize size, DrawMode mode) {
    const int w = size.width(), h = size.height();
    if (sideBySide(mode)) return {QPoint(w / 4, h / 2), QPoint(3 * (w / 4), h / 2)};
    return {QPoint(w / 2, h / 2), QPoint(w / 2, h / 2)};
}

PickedPart pickPart(const SolidModel& model, QSize size, DrawMode mode, QPoint point, int nearVertex, int nearEdge) {
    const FigureOrigins origins = figureOrigins(size, mode);
    PickedPart best;
    double nearest = std::numeric_limits<double>::infinity();
    for (const bool dual : {false, true}) {
        const Figure& figure = dual ? model.dual : model.solid;
        const QPoint origin = dual ? origins.dual : origins.solid;
        for (int f = 0; f < figure.faces.size(); ++f) {
            const QPolygon polygon = faceOnScreen(figure, f, origin);
            if (!polygon.containsPoint(point, Qt::OddEvenFill)) continue;
            // The face nearest the viewer (z points into the screen) at its centre.
            const double depth = figure.faceRecords[f].centroid.z;
            if (depth < nearest) {
                nearest = depth;
                best = PickedPart{PickedPart::Kind::Face, dual, f, -1, -1};
            }
        }
    }
    if (best.kind == PickedPart::Kind::None) return best;
    const Figure& figure = best.dual ? model.dual : model.solid;
    const QPoint origin = best.dual ? origins.dual : origins.solid;
    const FaceView face = figure.faces[best.index];
    for (int k = 0; k < face.size(); ++k) {
        const QPoint p = screenOf(figure, face[k], origin);
        if ((p - point).manhattanLength() <= nearVertex) return PickedPart{PickedPart::Kind::Vertex, best.dual, face[k], -1, -1};
    }
    for (int k = 0; k < face.size(); ++k) {
        const int a = face[k], b = face[(k + 1) % face.size()];
        if (distanceToSegment(point, screenOf(figure, a, origin), screenOf(figure, b, origin)) <= nearEdge)
            return PickedPart{PickedPart::Kind::Edge, best.dual, -1, a, b};
    }
    return best;
}

QRect Highlight::bounds() const {
    QRect r;
    for (const QPolygon& p : faces)
        r |= p.boundingRect();
    for (const QPoint& p : vertices)
        r |= QRect(p, p);
    for (const QLine& l : edges)
        r |= QRect(l.p1(), l.p2()).normalized();
    return r.isNull() ? r : r.adjusted(-8, -8, 8, 8); // the outline's and the dots' width
}

Highlight highlightOf(const SolidModel& model, QSize size, DrawMode mode, const PickedPart& part) {
    Highlight h;
    if (part.kind == PickedPart::Kind::None) return h;
    const FigureOrigins origins = figureOrigins(size, mode);
    const Figure& own = part.dual ? model.dual : model.solid;
    const Figure& other = part.dual ? model.solid : model.dual;
    const QPoint ownOrigin = part.dual ? origins.dual : origins.solid;
    const QPoint otherOrigin = part.dual ? origins.solid : origins.dual;
    switch (part.kind) {
    case PickedPart::Kind::Face:
        if (part.index < 0 || part.index >= own.faces.size()) return {};
        h.faces.push_back(faceOnScreen(own, part.index, ownOrigin));
        if (part.index < other.vertices.size()) h.vertices.push_back(screenOf(other, part.index, otherOrigin));
        break;
    case PickedPart::Kind::Vertex:
        if (part.index < 0 || part.index >= own.vertices.size()) return {};
        h.vertices.push_back(screenOf(own, part.index, ownOrigin));
        if (part.index < other.faces.size()) h.faces.push_back(faceOnScreen(other, part.index, otherOrigin));
        break;
    case PickedPart::Kind::Edge: {
        if (part.a < 0 || part.b < 0 || part.a >= own.vertices.size() || part.b >= own.vertices.size()) return {};
        h.edges.emplace_back(screenOf(own, part.a, ownOrigin), screenOf(own, part.b, ownOrigin));
        // The edge of the other figure between the vertices that stand for the faces beside it.
        const auto [f, g] = facesBeside(own, part.a, part.b);
        if (f >= 0 && g >= 0 && f < other.vertices.size() && g < other.vertices.size())
            h.edges.emplace_back(screenOf(other, f, otherOrigin), screenOf(other, g, otherOrigin));
        break;
    }
    case PickedPart::Kind::None:
        break;
    }
    return h;
}

void drawHighlight(QPainter& painter, const Highlight& h) {
    const QColor strong(255, 120, 0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(strong, 3));
    QColor tint = strong;
    tint.setAlpha(90);
    painter.setBrush(tint);
    for (const QPolygon& p : h.faces)
        painter.drawPolygon(p);
    for (const QLine& l : h.edges)
        painter.drawLine(l);
    painter.setBrush(strong);
    painter.setPen(QPen(Qt::black, 1));
    for (const QPoint& p : h.vertices)
        painter.drawEllipse(QPointF(p), 5, 5);
    painter.restore();
}

} // namespace kesmora
