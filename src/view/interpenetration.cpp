// "Durchdringung 2" and "Durchdringung 3": far half of the solid, opaque dual, near half on top.
#include "interpenetration.h"

#include "depthorder.h"
#include "facedrawing.h"
#include "occlusion.h"
#include "opencanvas.h"
#include "rendersettings.h"

#include <array>
#include <cstring>
#include <vector>

namespace kesmora {

namespace {

// Returns the box of the pixels the face can have touched (empty when it is not drawn).
QRect drawSolidFace(QPainter& canvas, const PixelTarget& pixels, PaintTools& tools, const DrawnFigure& solid,
                    int face, QPoint origin, InterpenetrationStyle style, Qt::PenStyle penStyle,
                    bool markPoints, PointBuffer& points) {
    const int n = projectFace(solid, face, origin, points);
    if (n == 0) return {};
    if (style == InterpenetrationStyle::Tinted)
        tools.setBrushColour(canvas, kTintColour);
    else
        tools.clearBrush(canvas);
    canvas.setPen(tools.cosmeticPen(kSolidOutlineColour, penStyle));
    drawPolygonExact(canvas, pixels, points.data(), n);
    if (markPoints) tools.drawMarks(canvas, points.data(), n);
    return inkBounds(points.data(), n, markPoints, tools.lineWidth());
}

void drawDualFace(QPainter& canvas, const PixelTarget& pixels, PaintTools& tools, const DrawnFigure& dual,
                  int face, QPoint origin, bool markPoints, PointBuffer& points) {
    const int n = projectFace(dual, face, origin, points);
    if (n == 0) return;
    tools.setBrushColour(canvas, kDualFillColour);
    canvas.setPen(tools.cosmeticPen(kDualOutlineColour));
    drawPolygonExact(canvas, pixels, points.data(), n);
    if (markPoints) tools.drawMarks(canvas, points.data(), n);
}

int orderedDepths(const DrawnFigure& figure, DepthList& list) {
    const int n = buildDepthList(figure.records, list);
    orderByExchange(list, n);
    return n;
}

// The bitwise AND of the overlay into a 32-bit scene image, pixel by pixel within `box`. Qt's raster
// operation gives the same pixels but hands a large blend to its thread pool, allocating each time.
// Returns false when the scene is not an untransformed RGB32 image, which Qt then combines.
bool andDirectly(QPainter& scene, const QImage& overlay, QRect box) {
    QPaintDevice* device = scene.device();
    if (!device || device->devType() != QInternal::Image || !scene.transform().isIdentity()) return false;
    auto* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 || overlay.format() != QImage::Format_RGB32) return false;
    box &= image->rect();
    const int width = box.width();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        auto* to = reinterpret_cast<QRgb*>(image->scanLine(y)) + box.left();
        const auto* from = reinterpret_cast<const QRgb*>(overlay.constScanLine(y)) + box.left();
        for (int x = 0; x < width; ++x)
            to[x] &= from[x];
    }
    return true;
}

// The near half of "Durchdringung 3" drawn into the index layer (directdraw.h: 0 white, 1 the tint,
// 2 the red outline) and ANDed into the scene, when its
// faces can all be drawn directly (without marks, which the painter draws); otherwise nothing is
// changed and false returned. The scene is the layer's size.
bool andNearHalfByIndex(const PixelTarget& scene, InterpenetrationLayers& layers, const DrawnFigure& solid,
                        const DepthList& list, int n, QPoint origin, PointBuffer& points) {
    const QSize size(scene.width, scene.height);
    if (layers.indexSize != size) {
        layers.indexBytes.assign(
            static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()), 0);
        layers.indexSize = size;
    }
    const IndexTarget layer{layers.indexBytes.data(), size.width(), size.width(), size.height()};
    const QRect whole(QPoint(0, 0), size);
    QRect ink;
    for (int i = 0; i < n; ++i) {
        if (list[i].depth >= 0) continue;
        const int count = projectFace(solid, list[i].face, origin, points);
        if (count < 2) continue; // not drawn (a single corner only marked, and marks go elsewhere)
        if (!fillsExactly(points.data(), count) || !strokesExactly(points.data(), count)) {
            // Back to white what is drawn so far; the painter's layer takes over.
            for (int y = (ink & whole).top(); y <= (ink & whole).bottom(); ++y)
                std::memset(layer.bits + static_cast<qsizetype>(y) * layer.stride + (ink & whole).left(), 0,
                            static_cast<std::size_t>((ink & whole).width()));
            return false;
        }
        // Filled with the tint and outlined in solid red, as drawSolidFace sets the painter.
        fillPolygon(layer, points.data(), count, 1);
        strokePolygon(layer, points.data(), count, 2, false);
        ink |= inkBounds(points.data(), count, false);
    }
    const std::array<std::uint32_t, 3> colours{0, kTintColour | 0xFF000000u,
                                               kSolidOutlineColour | 0xFF000000u};
    andLayer(scene, layer, ink & whole, colours.data(), static_cast<int>(colours.size()));
    return true;
}

} // namespace

void drawInterpenetration(QPainter& scene, const PixelTarget& scenePixels, QSize paintBoxSize, QPoint origin,
                          const DrawnFigure& solid, const DrawnFigure& dual, InterpenetrationStyle style,
                          bool markPoints, bool leaveOutCovered, PaintTools& tools,
                          InterpenetrationLayers& layers, FrameBuffers& buffers) {
    const bool tinted = style == InterpenetrationStyle::Tinted;
    DepthList& solidList = buffers.solidList;
    DepthList& dualList = buffers.dualList;
    PointBuffer& points = buffers.points;

    // One order of the solid serves its far half and its near half.
    const int ns = orderedDepths(solid, solidList);
    // "Durchdringung 3" draws the far outlines dotted.
    const Qt::PenStyle farPen = tinted ? Qt::DotLine : Qt::SolidLine;
    for (int i = 0; i < ns; ++i) {
        // Depth exactly 0 counts as far: drawn before the dual and never again after it.
        if (solidList[i].depth >= 0)
            drawSolidFace(scene, scenePixels, tools, solid, solidList[i].face, origin, style, farPen,
                          markPoints, points);
    }
    scene.setPen(tools.cosmeticPen(scene.pen().color().rgb()));

    // The whole dual, far to near, with no depth test against the solid.
    const int nd = orderedDepths(dual, dualList);
    CoveredFaces& covered = buffers.covered;
    if (leaveOutCovered && !markPoints && scenePixels)
        findCoveredFaces(dual, dualList, nd, origin, covered);
    else
        covered.clear(nd);
    for (int i = 0; i < nd; ++i)
        if (!covered[i])
            drawDualFace(scene, scenePixels, tools, dual, dualList[i].face, origin, markPoints, points);

    if (!tinted) {
        for (int i = 0; i < ns; ++i) {
            if (solidList[i].depth < 0)
                drawSolidFace(scene, scenePixels, tools, solid, solidList[i].face, origin, style,
                              Qt::SolidLine, markPoints, points);
        }
        return;
    }

    // The near half goes onto a white layer that is ANDed into the scene: white leaves a pixel as it
    // is, so the dual shows through the near faces, tinted pale green and edged in red. Only the box
    // the near faces touched can differ from white, so only that box is combined.
    if (paintBoxSize.isEmpty()) return;
    if (scenePixels && !markPoints && tools.lineWidth() == 1 &&
        paintBoxSize == QSize(scenePixels.width, scenePixels.height) &&
        andNearHalfByIndex(scenePixels, layers, solid, solidList, ns, origin, points))
        return;
    // The overlay canvas's painter stays open, so this allocates only when the size changes.
    OpenCanvas& canvas = layers.overlayCanvas;
    bool clean = false; // white outside layers.overlayDirty
    if (layers.overlay.size() != paintBoxSize || !canvas.shows(layers.overlay))
        layers.overlay = canvas.reset(paintBoxSize);
    else
        clean = layers.overlay.cacheKey() == layers.overlayKey;
    const QImage& overlay = layers.overlay;
    QPainter& layer = canvas.painter();
    layer.setRenderHint(QPainter::Antialiasing, false);
    const PixelTarget layerPixels = directTarget(layer, clipToImage(layer, overlay.rect(), true));
    layer.fillRect(clean ? layers.overlayDirty : overlay.rect(), QColor::fromRgb(kBackgroundColour));
    layer.setPen(tools.cosmeticPen(kPenColour));
    QRect ink;
    for (int i = 0; i < ns; ++i) {
        if (solidList[i].depth < 0)
            ink |= drawSolidFace(layer, layerPixels, tools, solid, solidList[i].face, origin, style,
                                 Qt::SolidLine, markPoints, points);
    }
    ink &= overlay.rect();
    layers.overlayKey = overlay.cacheKey();
    layers.overlayDirty = ink;
    if (ink.isEmpty()) return;
    if (andDirectly(scene, overlay, ink)) return;
    scene.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    scene.drawImage(ink.topLeft(), overlay, ink);
    scene.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

} // namespace kesmora
