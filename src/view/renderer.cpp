// Draws the whole scene, solid and dual in the selected mode, into the off-screen image.
#include "renderer.h"

#include "depthorder.h"
#include "facedrawing.h"
#include "interpenetration.h"

#include <QPaintDevice>
#include <QRect>

namespace kesmora {

namespace {

// Every face outlined in face order; edges shared by two faces are simply drawn twice.
void drawEdges(QPainter& canvas, const Figure& figure, QPoint origin, bool markPoints) {
    PointBuffer points;
    for (int face = 0; face < figure.faceCount; ++face) {
        const int n = projectFace(figure, face, origin, points);
        for (int i = 1; i <= n; ++i) {
            const QPoint& to = points[static_cast<std::size_t>(i % n)];
            canvas.drawLine(points[static_cast<std::size_t>(i - 1)], to);
            // Marked right after the line that ends there, so later lines may cross earlier marks.
            if (markPoints) drawMarks(canvas, &to, 1);
        }
    }
}

// Faces painted farthest first; nothing is culled, so nearer faces simply cover farther ones.
void paintFaces(QPainter& canvas, const Figure& figure, QPoint origin, const RenderSettings& settings) {
    DepthList list;
    const int count = buildDepthList(figure.records, figure.faceCount, list);
    orderBySelection(list, count);
    PointBuffer points;
    for (int j = 0; j < count; ++j) {
        const DepthEntry& entry = list[static_cast<std::size_t>(j)];
        const int n = projectFace(figure, entry.face, origin, points);
        if (n == 0) continue;
        switch (settings.mode) {
        case DrawMode::Interpenetration:
            clearBrush(canvas);
            break;
        case DrawMode::MultiColouredFaces:
            setBrushColour(canvas, facePaletteColour(entry.colour));
            break;
        case DrawMode::ColouredFaces:
            setBrushColour(canvas, settings.polygonColour(static_cast<int>(figure.faces[entry.face].size())));
            break;
        default: // hidden edges: the white brush of the cleared frame
            break;
        }
        canvas.drawPolygon(points.data(), n);
        if (settings.markPoints) drawMarks(canvas, points.data(), n);
    }
}

void drawFigure(QPainter& canvas, const Figure& figure, QPoint origin, const RenderSettings& settings) {
    if (settings.mode == DrawMode::EdgeModel)
        drawEdges(canvas, figure, origin, settings.markPoints);
    else
        paintFaces(canvas, figure, origin, settings);
}

} // namespace

void zeichnenx(QPainter& canvas, QSize paintBoxSize, const SolidModel& model, const RenderSettings& settings,
               QImage* overlayCache) {
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    setBrushColour(canvas, kBackgroundColour);
    canvas.setPen(cosmeticPen(kPenColour));
    // The border of this rectangle lies just outside the image, so only its white fill shows.
    const QPaintDevice* device = canvas.device();
    const int imageWidth = device ? device->width() : paintBoxSize.width();
    const int imageHeight = device ? device->height() : paintBoxSize.height();
    canvas.drawRect(QRect(-1, -1, imageWidth + 1, imageHeight + 1));

    const int w = paintBoxSize.width();
    const int h = paintBoxSize.height();
    const Figure solid = solidFigure(model);
    const Figure dual = dualFigure(model);
    switch (settings.mode) {
    case DrawMode::EdgeModel:
    case DrawMode::HiddenEdges:
    case DrawMode::ColouredFaces:
    case DrawMode::MultiColouredFaces:
        drawFigure(canvas, solid, QPoint(w / 4, h / 2), settings);
        drawFigure(canvas, dual, QPoint(3 * (w / 4), h / 2), settings);
        break;
    case DrawMode::Interpenetration:
        drawFigure(canvas, solid, QPoint(w / 2, h / 2), settings);
        setPenColour(canvas, kDualOutlineColour);
        drawFigure(canvas, dual, QPoint(w / 2, h / 2), settings);
        break;
    case DrawMode::Interpenetration2:
        drawInterpenetration(canvas, paintBoxSize, QPoint(w / 2, h / 2), model,
                             InterpenetrationStyle::Outlines, settings.markPoints, overlayCache);
        break;
    case DrawMode::Interpenetration3:
        drawInterpenetration(canvas, paintBoxSize, QPoint(w / 2, h / 2), model, InterpenetrationStyle::Tinted,
                             settings.markPoints, overlayCache);
        break;
    }
}

void renderScene(QImage& sceneBitmap, QSize size, const SolidModel& model, const RenderSettings& settings,
                 QImage* overlayCache) {
    if (size.isEmpty()) {
        sceneBitmap = QImage();
        return;
    }
    if (sceneBitmap.size() != size || sceneBitmap.format() != QImage::Format_RGB32)
        sceneBitmap = QImage(size, QImage::Format_RGB32);
    QPainter canvas(&sceneBitmap);
    zeichnenx(canvas, size, model, settings, overlayCache);
}

} // namespace kesmora
