// Draws the whole scene, solid and dual in the selected mode, into the off-screen image.
#include "renderer.h"

#include "depthorder.h"
#include "directdraw.h"
#include "facedrawing.h"
#include "interpenetration.h"
#include "opencanvas.h"

#include <QLine>
#include <QPaintDevice>
#include <QRect>

#include <array>

namespace kesmora {

namespace {

// Every face outlined in face order; edges shared by two faces are simply drawn twice.
void drawEdges(QPainter& canvas, const PixelTarget& pixels, const Figure& figure, QPoint origin,
               bool markPoints) {
    PointBuffer points;
    std::array<QLine, kMaxFaces> lines;
    for (int face = 0; face < figure.faceCount; ++face) {
        const int n = projectFace(figure, face, origin, points);
        if (!markPoints) {
            // One call per face: the painter strokes each line exactly as a single drawLine would.
            for (int i = 1; i <= n; ++i)
                lines[static_cast<std::size_t>(i - 1)] =
                    QLine(points[static_cast<std::size_t>(i - 1)], points[static_cast<std::size_t>(i % n)]);
            drawLinesExact(canvas, pixels, lines.data(), n);
            continue;
        }
        for (int i = 1; i <= n; ++i) {
            const QPoint& to = points[static_cast<std::size_t>(i % n)];
            const QLine line(points[static_cast<std::size_t>(i - 1)], to);
            drawLinesExact(canvas, pixels, &line, 1);
            // Marked right after the line that ends there, so later lines may cross earlier marks.
            drawMarks(canvas, &to, 1);
        }
    }
}

// Faces painted farthest first; nothing is culled, so nearer faces simply cover farther ones.
void paintFaces(QPainter& canvas, const PixelTarget& pixels, const Figure& figure, QPoint origin,
                const RenderSettings& settings) {
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
        drawPolygonExact(canvas, pixels, points.data(), n);
        if (settings.markPoints) drawMarks(canvas, points.data(), n);
    }
}

void drawFigure(QPainter& canvas, const PixelTarget& pixels, const Figure& figure, QPoint origin,
                const RenderSettings& settings) {
    if (settings.mode == DrawMode::EdgeModel)
        drawEdges(canvas, pixels, figure, origin, settings.markPoints);
    else
        paintFaces(canvas, pixels, figure, origin, settings);
}

} // namespace

void zeichnenx(QPainter& canvas, QSize paintBoxSize, const SolidModel& model, const RenderSettings& settings,
               QImage* overlayCache) {
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    setBrushColour(canvas, kBackgroundColour);
    canvas.setPen(cosmeticPen(kPenColour));
    // The frame is a white rectangle whose black border lies just outside the image: all that shows
    // is white, so a plain fill gives the same pixels at the cost of a memory fill.
    const QPaintDevice* device = canvas.device();
    const int imageWidth = device ? device->width() : paintBoxSize.width();
    const int imageHeight = device ? device->height() : paintBoxSize.height();
    canvas.fillRect(QRect(0, 0, imageWidth, imageHeight), QColor::fromRgb(kBackgroundColour));
    const bool clipIsImage = clipToImage(canvas, QRect(0, 0, imageWidth, imageHeight));
    // Faces and edges go straight into the image's scanlines where that gives Qt's very pixels.
    const PixelTarget pixels = directTarget(canvas, clipIsImage);

    const int w = paintBoxSize.width();
    const int h = paintBoxSize.height();
    const Figure solid = solidFigure(model);
    const Figure dual = dualFigure(model);
    switch (settings.mode) {
    case DrawMode::EdgeModel:
    case DrawMode::HiddenEdges:
    case DrawMode::ColouredFaces:
    case DrawMode::MultiColouredFaces:
        drawFigure(canvas, pixels, solid, QPoint(w / 4, h / 2), settings);
        drawFigure(canvas, pixels, dual, QPoint(3 * (w / 4), h / 2), settings);
        break;
    case DrawMode::Interpenetration:
        drawFigure(canvas, pixels, solid, QPoint(w / 2, h / 2), settings);
        setPenColour(canvas, kDualOutlineColour);
        drawFigure(canvas, pixels, dual, QPoint(w / 2, h / 2), settings);
        break;
    case DrawMode::Interpenetration2:
        drawInterpenetration(canvas, pixels, paintBoxSize, QPoint(w / 2, h / 2), model,
                             InterpenetrationStyle::Outlines, settings.markPoints, overlayCache);
        break;
    case DrawMode::Interpenetration3:
        drawInterpenetration(canvas, pixels, paintBoxSize, QPoint(w / 2, h / 2), model,
                             InterpenetrationStyle::Tinted, settings.markPoints, overlayCache);
        break;
    }
}

void renderScene(QImage& sceneBitmap, QSize size, const SolidModel& model, const RenderSettings& settings,
                 QImage* overlayCache) {
    OpenCanvas& canvas = sceneCanvas();
    if (size.isEmpty()) {
        if (canvas.shows(sceneBitmap)) canvas.release();
        sceneBitmap = QImage();
        return;
    }
    const bool fits = sceneBitmap.size() == size && sceneBitmap.format() == QImage::Format_RGB32;
    if (fits && !canvas.shows(sceneBitmap)) {
        // An image of the caller's own keeps its pixels; it is drawn with a painter of its own.
        QPainter painter(&sceneBitmap);
        zeichnenx(painter, size, model, settings, overlayCache);
        return;
    }
    // The image made here is one the canvas shows, so later redraws reuse its open painter.
    if (!fits) sceneBitmap = canvas.reset(size);
    zeichnenx(canvas.painter(), size, model, settings, overlayCache);
}

} // namespace kesmora
