// Pieces shared by the side-by-side and the interpenetration drawing.
#include "facedrawing.h"

#include "rendersettings.h"
#include "rotation.h"

#include <QBrush>
#include <QColor>
#include <QRect>
#include <QRegion>

#include <algorithm>

namespace kesmora {

DrawnFigure solidFigure(const SolidModel& model) {
    return DrawnFigure(model.solid);
}

DrawnFigure dualFigure(const SolidModel& model) {
    return DrawnFigure(model.dual);
}

void projectVertices(DrawnFigure& figure, QPoint origin, ScreenVertices& storage) {
    if (storage.size() < static_cast<std::size_t>(figure.vertices.size()))
        storage.resize(static_cast<std::size_t>(figure.vertices.size()));
    for (int v = 0; v < figure.vertices.size(); ++v) {
        const Point3D& p = figure.vertices[v];
        storage[static_cast<std::size_t>(v)] = QPoint(toScreen(origin.x(), p.x), toScreen(origin.y(), p.y));
    }
    figure.screen = storage.data();
    figure.screenOrigin = origin;
}

int projectFace(const DrawnFigure& figure, int face, QPoint origin, PointBuffer& points) {
    if (face < 0 || face >= figure.faces.size()) return 0;
    const FaceView corners = figure.faces[face];
    const int n = corners.size();
    if (points.size() < static_cast<std::size_t>(n)) points.resize(static_cast<std::size_t>(n));
    const bool projected = figure.screen && figure.screenOrigin == origin;
    for (int i = 0; i < n; ++i) {
        const int v = corners[i];
        if (v < 0 || v >= figure.vertices.size()) return 0;
        if (projected) {
            points[static_cast<std::size_t>(i)] = figure.screen[v];
            continue;
        }
        const Point3D& p = figure.vertices[v];
        points[static_cast<std::size_t>(i)] = QPoint(toScreen(origin.x(), p.x), toScreen(origin.y(), p.y));
    }
    return n;
}

const QPen& PaintTools::cosmeticPen(QRgb colour, Qt::PenStyle style) {
    return pens_.get(colour, style, [&] {
        QPen pen(QColor::fromRgb(colour), lineWidth_, style);
        pen.setCosmetic(true);
        return pen;
    });
}

const QBrush& PaintTools::brush(QRgb colour, Qt::BrushStyle style) {
    return brushes_.get(colour, style, [&] { return QBrush(QColor::fromRgb(colour), style); });
}

void PaintTools::setLineWidth(int width) {
    width = std::clamp(width, 1, 100);
    if (width == lineWidth_) return;
    lineWidth_ = width;
    pens_.clear();
}

void PaintTools::setPenColour(QPainter& painter, QRgb colour) {
    painter.setPen(cosmeticPen(colour, painter.pen().style()));
}

void PaintTools::setBrushColour(QPainter& painter, QRgb colour) {
    painter.setBrush(brush(colour));
}

void PaintTools::clearBrush(QPainter& painter) {
    painter.setBrush(brush(painter.brush().color().rgb(), Qt::NoBrush));
}

void PaintTools::drawMarks(QPainter& painter, const QPoint* points, int n) {
    const QRgb remembered = painter.brush().color().rgb();
    setBrushColour(painter, kMarkColour);
    // With a 1-pixel pen Qt strokes an ellipse over width + 1 pixels, so a box 8 wide gives
    // the 9-pixel disc from X - 4 to X + 4.
    // Wider, the disc and its outline grow alike.
    const int r = 4 * lineWidth_;
    for (int i = 0; i < n; ++i)
        painter.drawEllipse(QRect(points[i].x() - r, points[i].y() - r, 2 * r, 2 * r));
    setBrushColour(painter, remembered);
}

bool clipToImage(QPainter& painter, QRect imageRect, bool keptOpen) {
    if (painter.hasClipping() && painter.clipBoundingRect() == QRectF(imageRect))
        return keptOpen || painter.clipRegion() == QRegion(imageRect);
    painter.setClipRect(imageRect);
    return true;
}

QRect inkBounds(const QPoint* points, int n, bool markPoints, int lineWidth) {
    if (n <= 0) return {};
    int left = points[0].x(), right = left, top = points[0].y(), bottom = top;
    for (int i = 1; i < n; ++i) {
        left = std::min(left, points[i].x());
        right = std::max(right, points[i].x());
        top = std::min(top, points[i].y());
        bottom = std::max(bottom, points[i].y());
    }
    // A mark reaches 4 pixels beyond its vertex; a line's end pixel at most 1. The margin is
    // generous because pixels outside the box are taken to be untouched.
    const int margin = (markPoints ? 7 : 3) * std::max(1, lineWidth);
    return QRect(QPoint(left - margin, top - margin), QPoint(right + margin, bottom + margin));
}

} // namespace kesmora
