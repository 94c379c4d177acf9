// Pieces shared by the side-by-side and the interpenetration drawing.
#include "facedrawing.h"

#include "rendersettings.h"
#include "rotation.h"

#include <QBrush>
#include <QColor>
#include <QRect>

#include <algorithm>

namespace kesmora {

Figure solidFigure(const SolidModel& model) {
    return {model.vertices.data(), std::clamp(model.vertexCount, 0, kMaxVertices), model.faces.data(),
            model.faceRecords.data(), std::clamp(model.faceCount, 0, kMaxFaces)};
}

Figure dualFigure(const SolidModel& model) {
    return {model.dualVertices.data(), std::clamp(model.dualVertexCount, 0, kMaxVertices),
            model.dualFaces.data(), model.dualFaceRecords.data(),
            std::clamp(model.dualFaceCount, 0, kMaxFaces)};
}

int projectFace(const Figure& figure, int face, QPoint origin, PointBuffer& points) {
    if (face < 0 || face >= figure.faceCount) return 0;
    const FaceString& codes = figure.faces[face];
    const int n = std::min(static_cast<int>(codes.size()), static_cast<int>(points.size()));
    for (int i = 0; i < n; ++i) {
        const int v = vertexOfCode(codes[static_cast<std::size_t>(i)]);
        if (v < 0 || v >= figure.vertexCount) return 0;
        const Point3D& p = figure.vertices[v];
        points[static_cast<std::size_t>(i)] = QPoint(toScreen(origin.x(), p.x), toScreen(origin.y(), p.y));
    }
    return n;
}

QPen cosmeticPen(QRgb colour, Qt::PenStyle style) {
    QPen pen(QColor::fromRgb(colour), 1, style);
    pen.setCosmetic(true);
    return pen;
}

void setPenColour(QPainter& painter, QRgb colour) {
    QPen pen = painter.pen();
    pen.setColor(QColor::fromRgb(colour));
    painter.setPen(pen);
}

void setBrushColour(QPainter& painter, QRgb colour) {
    painter.setBrush(QBrush(QColor::fromRgb(colour)));
}

void clearBrush(QPainter& painter) {
    painter.setBrush(QBrush(painter.brush().color(), Qt::NoBrush));
}

void drawMarks(QPainter& painter, const QPoint* points, int n) {
    const QRgb remembered = painter.brush().color().rgb();
    setBrushColour(painter, kMarkColour);
    // With a 1-pixel pen Qt strokes an ellipse over width + 1 pixels, so a box 8 wide gives
    // the 9-pixel disc from X - 4 to X + 4.
    for (int i = 0; i < n; ++i)
        painter.drawEllipse(QRect(points[i].x() - 4, points[i].y() - 4, 8, 8));
    setBrushColour(painter, remembered);
}

} // namespace kesmora
