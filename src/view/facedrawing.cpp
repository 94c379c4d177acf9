// Pieces shared by the side-by-side and the interpenetration drawing.
#include "facedrawing.h"

#include "opencanvas.h"
#include "rendersettings.h"
#include "rotation.h"

#include <QBrush>
#include <QColor>
#include <QRect>
#include <QRegion>

#include <algorithm>

namespace kesmora {

namespace {

Figure figureOf(const std::array<Point3D, kMaxVertices>& vertices, int vertexCount,
                const std::array<FaceString, kMaxFaces>& faces, const std::array<FaceRecord, kMaxFaces>& records,
                int faceCount, const SurfaceShape& shape) {
    Figure f;
    f.vertices = vertices.data();
    f.vertexCount = std::clamp(vertexCount, 0, kMaxVertices);
    f.faces = faces.data();
    f.records = records.data();
    f.faceCount = std::clamp(faceCount, 0, kMaxFaces);
    f.shape = &shape;
    return f;
}

} // namespace

Figure solidFigure(const SolidModel& model) {
    return figureOf(model.vertices, model.vertexCount, model.faces, model.faceRecords, model.faceCount, model.shape);
}

Figure dualFigure(const SolidModel& model) {
    return figureOf(model.dualVertices, model.dualVertexCount, model.dualFaces, model.dualFaceRecords,
                    model.dualFaceCount, model.dualShape);
}

void projectVertices(Figure& figure, QPoint origin, ScreenVertices& storage) {
    for (int v = 0; v < figure.vertexCount; ++v) {
        const Point3D& p = figure.vertices[v];
        storage[static_cast<std::size_t>(v)] = QPoint(toScreen(origin.x(), p.x), toScreen(origin.y(), p.y));
    }
    figure.screen = storage.data();
    figure.screenOrigin = origin;
}

int projectFace(const Figure& figure, int face, QPoint origin, PointBuffer& points) {
    if (face < 0 || face >= figure.faceCount) return 0;
    const FaceString& codes = figure.faces[face];
    const int n = std::min(static_cast<int>(codes.size()), static_cast<int>(points.size()));
    const bool projected = figure.screen && figure.screenOrigin == origin;
    for (int i = 0; i < n; ++i) {
        const int v = vertexOfCode(codes[static_cast<std::size_t>(i)]);
        if (v < 0 || v >= figure.vertexCount) return 0;
        if (projected) {
            points[static_cast<std::size_t>(i)] = figure.screen[v];
            continue;
        }
        const Point3D& p = figure.vertices[v];
        points[static_cast<std::size_t>(i)] = QPoint(toScreen(origin.x(), p.x), toScreen(origin.y(), p.y));
    }
    return n;
}

namespace {

// Pens and brushes keyed by colour and style. Only a few pens and a few dozen brushes are ever in
// use (outline colours, palette, polygon colours, marks); when the table is full the oldest entry
// makes room, so a user cycling through colours costs an allocation, never a wrong tool.
template <typename Tool, typename Style, std::size_t N> class ToolTable {
  public:
    template <typename Make> const Tool& get(QRgb colour, Style style, Make make) {
        for (std::size_t i = 0; i < used_; ++i) {
            if (entries_[i].colour == colour && entries_[i].style == style) return entries_[i].tool;
        }
        Entry& e = used_ < N ? entries_[used_++] : entries_[next_++ % N];
        e = {colour, style, make()};
        return e.tool;
    }

  private:
    struct Entry {
        QRgb colour = 0;
        Style style{};
        Tool tool;
    };
    std::array<Entry, N> entries_{};
    std::size_t used_ = 0;
    std::size_t next_ = 0;
};

} // namespace

const QPen& cosmeticPen(QRgb colour, Qt::PenStyle style) {
    static ToolTable<QPen, Qt::PenStyle, 16> pens;
    return pens.get(colour, style, [&] {
        QPen pen(QColor::fromRgb(colour), 1, style);
        pen.setCosmetic(true);
        return pen;
    });
}

const QBrush& sharedBrush(QRgb colour, Qt::BrushStyle style) {
    static ToolTable<QBrush, Qt::BrushStyle, 64> brushes;
    return brushes.get(colour, style, [&] { return QBrush(QColor::fromRgb(colour), style); });
}

void setPenColour(QPainter& painter, QRgb colour) {
    painter.setPen(cosmeticPen(colour, painter.pen().style()));
}

void setBrushColour(QPainter& painter, QRgb colour) {
    painter.setBrush(sharedBrush(colour));
}

void clearBrush(QPainter& painter) {
    painter.setBrush(sharedBrush(painter.brush().color().rgb(), Qt::NoBrush));
}

bool clipToImage(QPainter& painter, QRect imageRect) {
    if (painter.hasClipping() && painter.clipBoundingRect() == QRectF(imageRect))
        return isCanvasPainter(painter) || painter.clipRegion() == QRegion(imageRect);
    painter.setClipRect(imageRect);
    return true;
}

QRect inkBounds(const QPoint* points, int n, bool markPoints) {
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
    const int margin = markPoints ? 7 : 3;
    return QRect(QPoint(left - margin, top - margin), QPoint(right + margin, bottom + margin));
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
