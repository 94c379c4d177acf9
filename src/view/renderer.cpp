// Draws the whole scene, solid and dual in the selected mode, into the off-screen image.
#include "renderer.h"

#include "depthorder.h"
#include "directdraw.h"
#include "facedrawing.h"
#include "interpenetration.h"
#include "occlusion.h"
#include "opencanvas.h"
#include "rotation.h"

#include <QLine>
#include <QPaintDevice>
#include <QRect>

#include <algorithm>
#include <vector>
#include <climits>

namespace kesmora {

namespace {

// What stroking costs, in pixels whitened for the same time: a segment's set-up and each pixel
// along it (measured on the cube's and the truncated icosidodecahedron's edge pictures).
constexpr qint64 kSegmentAgainstWhitened = 600;
constexpr qint64 kStrokedAgainstWhitened = 6;
constexpr int kLogRetryFrames = 16;

// Every face outlined in face order; edges shared by two faces are simply drawn twice.
void drawEdges(QPainter& canvas, const PixelTarget& pixels, PaintTools& tools, const DrawnFigure& figure,
               QPoint origin, bool markPoints, FrameBuffers& buffers) {
    PointBuffer& points = buffers.points;
    std::vector<QLine>& lines = buffers.lines;
    for (int face = 0; face < figure.faces.size(); ++face) {
        const int n = projectFace(figure, face, origin, points);
        if (lines.size() < points.size()) lines.resize(points.size());
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
            tools.drawMarks(canvas, &to, 1);
        }
    }
}

// Faces painted farthest first; nothing is culled, so nearer faces simply cover farther ones.
void paintFaces(QPainter& canvas, const PixelTarget& pixels, PaintTools& tools, const DrawnFigure& figure,
                QPoint origin, const RenderSettings& settings, FrameBuffers& buffers) {
    DepthList& list = buffers.solidList;
    const int count = buildDepthList(figure.records, list);
    orderBySelection(list, count);
    // Only filled faces cover anything; marks are drawn with each face and are not part of what
    // later fills are known to cover; and only in pixels (not in a vector picture) is a covered
    // face gone without a trace.
    CoveredFaces& covered = buffers.covered;
    if (settings.leaveOutCovered && settings.lineWidth <= 1 && !settings.markPoints &&
        settings.mode != DrawMode::Interpenetration && pixels)
        findCoveredFaces(figure, list, count, origin, covered);
    else
        covered.clear(count);
    PointBuffer& points = buffers.points;
    for (int j = 0; j < count; ++j) {
        if (covered[j]) continue;
        const DepthEntry& entry = list[j];
        const int n = projectFace(figure, entry.face, origin, points);
        if (n == 0) continue;
        switch (settings.mode) {
        case DrawMode::Interpenetration:
            tools.clearBrush(canvas);
            break;
        case DrawMode::MultiColouredFaces:
            tools.setBrushColour(canvas, facePaletteColour(entry.colour));
            break;
        case DrawMode::ColouredFaces:
            tools.setBrushColour(canvas,
                                 settings.polygonColour(figure.faces[entry.face].size()));
            break;
        default: // hidden edges: the white brush of the cleared frame
            break;
        }
        drawPolygonExact(canvas, pixels, points.data(), n);
        if (settings.markPoints) tools.drawMarks(canvas, points.data(), n);
    }
}

void drawFigure(QPainter& canvas, const PixelTarget& pixels, PaintTools& tools, const DrawnFigure& figure,
                QPoint origin, const RenderSettings& settings, FrameBuffers& buffers) {
    if (settings.mode == DrawMode::EdgeModel)
        drawEdges(canvas, pixels, tools, figure, origin, settings.markPoints, buffers);
    else
        paintFaces(canvas, pixels, tools, figure, origin, settings, buffers);
}

// Box of every pixel a figure can touch: its loaded vertices (projected), whichever faces use them,
// plus what an outline (a pixel) or a mark (4 pixels and its outline) reaches beyond.
QRect figureInk(const DrawnFigure& figure, bool markPoints, int lineWidth) {
    if (figure.faces.empty() || figure.vertices.empty() || !figure.screen) return {};
    int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
    for (int i = 0; i < figure.vertices.size(); ++i) {
        const int x = figure.screen[i].x();
        const int y = figure.screen[i].y();
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    const int margin = (markPoints ? 7 : 3) * lineWidth;
    return QRect(QPoint(left - margin, top - margin), QPoint(right + margin, bottom + margin));
}

} // namespace

void SceneParts::add(const QRect& r) {
    if (r.isEmpty()) return;
    for (int i = 0; i < count; ++i)
        if (parts[i].intersects(r)) {
            // Joined boxes may now reach the other one: then everything is one box.
            parts[i] |= r;
            if (count == 2 && parts[0].intersects(parts[1])) {
                parts[0] |= parts[1];
                count = 1;
            }
            return;
        }
    if (count < 2) {
        parts[count++] = r;
        return;
    }
    parts[0] |= parts[1] | r;
    count = 1;
}

SceneRenderer::FigureBoxes SceneRenderer::drawScene(QPainter& canvas, QSize paintBoxSize, const SolidModel& model,
                                                    const RenderSettings& settings, const FigureBoxes* whiten,
                                                    const StrokeLog* erase, StrokeLog* log, bool keptOpen) {
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    tools_.setLineWidth(settings.lineWidth);
    const bool leaveOutCovered = settings.leaveOutCovered && tools_.lineWidth() == 1;
    tools_.setBrushColour(canvas, kBackgroundColour);
    canvas.setPen(tools_.cosmeticPen(kPenColour));
    // The frame is a white rectangle whose black border lies just outside the image: all that shows
    // is white, so a plain fill gives the same pixels at the cost of a memory fill.
    const QPaintDevice* device = canvas.device();
    const int imageWidth = device ? device->width() : paintBoxSize.width();
    const int imageHeight = device ? device->height() : paintBoxSize.height();
    const QRect image(0, 0, imageWidth, imageHeight);
    if (!whiten) canvas.fillRect(image, QColor::fromRgb(kBackgroundColour));
    const bool clipIsImage = clipToImage(canvas, image, keptOpen);
    // Faces and edges go straight into the image's scanlines where that gives Qt's very pixels.
    PixelTarget pixels = directTarget(canvas, clipIsImage);
    if (whiten) {
        // Each figure's box once; where they overlap, as one box.
        SceneParts cleared;
        cleared.add(whiten->solid & image);
        cleared.add(whiten->dual & image);
        qint64 area = 0;
        for (const QRect& part : cleared)
            area += qint64{part.width()} * part.height();
        // Where only strokes were drawn, all of them logged, stroking them again in white leaves
        // the image white as well: cheaper where the lines are few for their boxes.
        if (erase && pixels)
            erasePaid_ = erase->segments * kSegmentAgainstWhitened + erase->length * kStrokedAgainstWhitened < area;
        if (erase && pixels && erasePaid_) {
            eraseStrokes(pixels, *erase, kBackgroundColour);
        } else {
            for (const QRect& part : cleared)
                canvas.fillRect(part, QColor::fromRgb(kBackgroundColour));
        }
    }
    if (log) {
        log->clear();
        // Marks and the layers of the interpenetration are drawn otherwise.
        if (pixels && !settings.markPoints && settings.mode != DrawMode::Interpenetration2 &&
            settings.mode != DrawMode::Interpenetration3)
            pixels.log = log;
        else
            log->complete = false;
    }

    const int w = paintBoxSize.width();
    const int h = paintBoxSize.height();
    DrawnFigure solid = solidFigure(model);
    DrawnFigure dual = dualFigure(model);
    const bool sideBySide = settings.mode == DrawMode::EdgeModel || settings.mode == DrawMode::HiddenEdges ||
                            settings.mode == DrawMode::ColouredFaces ||
                            settings.mode == DrawMode::MultiColouredFaces;
    const QPoint solidOrigin = sideBySide ? QPoint(w / 4, h / 2) : QPoint(w / 2, h / 2);
    const QPoint dualOrigin = sideBySide ? QPoint(3 * (w / 4), h / 2) : QPoint(w / 2, h / 2);
    buffers_.fit(model);
    projectVertices(solid, solidOrigin, buffers_.solidScreen);
    projectVertices(dual, dualOrigin, buffers_.dualScreen);
    switch (settings.mode) {
    case DrawMode::EdgeModel:
    case DrawMode::HiddenEdges:
    case DrawMode::ColouredFaces:
    case DrawMode::MultiColouredFaces:
        drawFigure(canvas, pixels, tools_, solid, solidOrigin, settings, buffers_);
        drawFigure(canvas, pixels, tools_, dual, dualOrigin, settings, buffers_);
        break;
    case DrawMode::Interpenetration:
        drawFigure(canvas, pixels, tools_, solid, solidOrigin, settings, buffers_);
        tools_.setPenColour(canvas, kDualOutlineColour);
        drawFigure(canvas, pixels, tools_, dual, dualOrigin, settings, buffers_);
        break;
    case DrawMode::Interpenetration2:
        drawInterpenetration(canvas, pixels, paintBoxSize, solidOrigin, solid, dual,
                             InterpenetrationStyle::Outlines, settings.markPoints, leaveOutCovered,
                             tools_, layers_, buffers_);
        break;
    case DrawMode::Interpenetration3:
        drawInterpenetration(canvas, pixels, paintBoxSize, solidOrigin, solid, dual,
                             InterpenetrationStyle::Tinted, settings.markPoints, leaveOutCovered,
                             tools_, layers_, buffers_);
        break;
    }
    return {figureInk(solid, settings.markPoints, tools_.lineWidth()) & image,
            figureInk(dual, settings.markPoints, tools_.lineWidth()) & image};
}

void SceneRenderer::zeichnenx(QPainter& canvas, QSize paintBoxSize, const SolidModel& model,
                              const RenderSettings& settings) {
    drawScene(canvas, paintBoxSize, model, settings, nullptr, nullptr, nullptr, false);
}

QRect SceneRenderer::renderScene(QImage& sceneBitmap, QSize size, const SolidModel& model,
                                 const RenderSettings& settings) {
    return renderSceneParts(sceneBitmap, size, model, settings).bounds();
}

SceneParts SceneRenderer::renderSceneParts(QImage& sceneBitmap, QSize size, const SolidModel& model,
                                           const RenderSettings& settings) {
    OpenCanvas& canvas = sceneCanvas_;
    const auto whole = [&] {
        SceneParts all;
        all.add(QRect(QPoint(0, 0), size));
        return all;
    };
    if (size.isEmpty()) {
        if (canvas.shows(sceneBitmap)) canvas.release();
        sceneBitmap = QImage();
        lastScene_.valid = false;
        return {};
    }
    const bool fits = sceneBitmap.size() == size && sceneBitmap.format() == QImage::Format_RGB32;
    if (fits && !canvas.shows(sceneBitmap)) {
        // An image of the caller's own keeps its pixels; it is drawn with a painter of its own.
        QPainter painter(&sceneBitmap);
        drawScene(painter, size, model, settings, nullptr, nullptr, nullptr, false);
        return whole();
    }
    // The image made here is one the canvas shows, so later redraws reuse its open painter; only
    // what the last redraw drew on it needs whitening, unless the caller has written to it since.
    if (!fits) {
        sceneBitmap = canvas.reset(size);
        lastScene_.valid = false;
    }
    const bool known =
        lastScene_.valid && lastScene_.size == size && lastScene_.cacheKey == sceneBitmap.cacheKey();
    std::swap(strokesBefore_, strokesNow_);
    // A log that did not pay for itself is kept again only every so many frames, to notice when the
    // picture has become light enough.
    StrokeLog* log = &strokesNow_;
    if (!erasePaid_ && ++framesWithoutLog_ % kLogRetryFrames != 0) {
        strokesNow_.clear();
        strokesNow_.complete = false;
        log = nullptr;
    }
    const FigureBoxes dirty =
        drawScene(canvas.painter(), size, model, settings, known ? &lastScene_.dirty : nullptr,
                  known && strokesBefore_.complete ? &strokesBefore_ : nullptr, log, true);
    strokesBefore_.reserveLike(strokesNow_);
    // Outside the boxes the last redraw drew in and those this one drew in, the image stayed white.
    SceneParts changed;
    if (known) {
        changed.add(lastScene_.dirty.solid | dirty.solid);
        changed.add(lastScene_.dirty.dual | dirty.dual);
    } else {
        changed = whole();
    }
    lastScene_ = {sceneBitmap.cacheKey(), size, dirty, true};
    return changed;
}

} // namespace kesmora
