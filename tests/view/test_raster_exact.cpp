// The renderer's own scanline drawing (view/directdraw.h) against QPainter, pixel for pixel.
//
// Thousands of random polygons and lines with integer corners -- convex ones of every size, tiny
// and degenerate ones, folded edge-on faces, non-convex outlines, ones reaching over and far beyond
// the image border -- are drawn by QPainter as the renderer sets it up (no antialiasing, clipped to
// the image, cosmetic 1-pixel pens, solid brushes) and by the direct code into two copies of an
// image full of random pixels; all 32 bits of every pixel must agree. KESMORA_RASTER_ROUNDS
// multiplies the number of random cases and KESMORA_RASTER_SEED picks other ones, for longer runs
// by hand.
#include "view/directdraw.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

int envInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v ? std::atoi(v) : fallback;
}

int rounds() {
    return std::max(1, envInt("KESMORA_RASTER_ROUNDS", 1));
}

std::uint32_t seedFor(std::uint32_t group) {
    return static_cast<std::uint32_t>(envInt("KESMORA_RASTER_SEED", 0)) * 7919u + group;
}

using Polygon = std::vector<QPoint>;

std::string describe(const Polygon& p) {
    std::ostringstream out;
    for (const QPoint& q : p)
        out << '(' << q.x() << ',' << q.y() << ')';
    return out.str();
}

// Two copies of the same random picture: QPainter draws into `expected`, the direct code into
// `actual`. The random background shows any pixel written that should not be.
class TwinImages {
  public:
    TwinImages(QSize size, std::mt19937& rng)
        : expected_(size, QImage::Format_RGB32), actual_(size, QImage::Format_RGB32) {
        std::uniform_int_distribution<std::uint32_t> any;
        for (int y = 0; y < size.height(); ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(expected_.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                line[x] = any(rng) | 0xFF000000u;
        }
        actual_ = expected_.copy();
    }

    QImage& expected() { return expected_; }
    QImage& actual() { return actual_; }

    // Empty when equal, else the count of differing pixels and the first of them.
    std::string difference() const {
        long count = 0;
        QPoint first;
        for (int y = 0; y < expected_.height(); ++y) {
            const auto* e = reinterpret_cast<const std::uint32_t*>(expected_.constScanLine(y));
            const auto* a = reinterpret_cast<const std::uint32_t*>(actual_.constScanLine(y));
            if (std::memcmp(e, a, static_cast<std::size_t>(expected_.width()) * 4) == 0) continue;
            for (int x = 0; x < expected_.width(); ++x)
                if (e[x] != a[x] && count++ == 0) first = QPoint(x, y);
        }
        if (count == 0) return {};
        std::ostringstream out;
        out << count << " pixels differ, first at (" << first.x() << ',' << first.y() << ")";
        return out.str();
    }

    // After a failure the copies are made equal again, so one fault is reported once.
    void resync() { actual_ = expected_.copy(); }

  private:
    QImage expected_;
    QImage actual_;
};

// A painter set up as the renderer sets up its canvas.
void prepare(QPainter& p, const QImage& image) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(image.rect());
}

QPen cosmetic(QRgb colour, Qt::PenStyle style) {
    QPen pen(QColor::fromRgb(colour), 1, style);
    pen.setCosmetic(true);
    return pen;
}

QRgb randomColour(std::mt19937& rng) {
    return std::uniform_int_distribution<std::uint32_t>(0, 0xFFFFFF)(rng) | 0xFF000000u;
}

int uniform(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// Convex hull of integer points (monotone chain), counter-clockwise or clockwise at random, starting
// at a random corner; collinear points dropped.
Polygon convexHull(std::vector<QPoint> pts, std::mt19937& rng) {
    std::sort(pts.begin(), pts.end(),
              [](QPoint a, QPoint b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); });
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    if (pts.size() < 3) return pts;
    auto cross = [](QPoint o, QPoint a, QPoint b) {
        return static_cast<long long>(a.x() - o.x()) * (b.y() - o.y()) -
               static_cast<long long>(a.y() - o.y()) * (b.x() - o.x());
    };
    Polygon hull(2 * pts.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0)
            --k;
        hull[k++] = pts[i];
    }
    for (std::size_t i = pts.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], pts[i - 1]) <= 0)
            --k;
        hull[k++] = pts[i - 1];
    }
    hull.resize(k - 1);
    if (rng() & 1) std::reverse(hull.begin(), hull.end());
    std::rotate(hull.begin(), hull.begin() + uniform(rng, 0, static_cast<int>(hull.size()) - 1), hull.end());
    return hull;
}

// A centre somewhere in or around the image, now and then far beyond it.
QPoint randomCentre(std::mt19937& rng, QSize size) {
    const int pick = uniform(rng, 0, 9);
    if (pick < 6) return {uniform(rng, 0, size.width() - 1), uniform(rng, 0, size.height() - 1)};
    if (pick < 9) return {uniform(rng, -40, size.width() + 40), uniform(rng, -40, size.height() + 40)};
    return {uniform(rng, -3000, 3000), uniform(rng, -3000, 3000)};
}

int randomRadius(std::mt19937& rng) {
    switch (uniform(rng, 0, 5)) {
    case 0:
        return uniform(rng, 0, 2);
    case 1:
        return uniform(rng, 1, 8);
    case 2:
        return uniform(rng, 5, 40);
    case 3:
        return uniform(rng, 30, 200);
    case 4:
        return uniform(rng, 100, 1500);
    default:
        return uniform(rng, 1000, 16000);
    }
}

// Corners of a face as the renderer makes them: a regular polygon turned in space, projected and
// rounded; seen nearly edge-on its corners can fold over or coincide.
Polygon projectedRegular(std::mt19937& rng, QSize size) {
    const int n = uniform(rng, 3, 12);
    const double r = randomRadius(rng) + std::uniform_real_distribution<double>(0, 1)(rng);
    std::uniform_real_distribution<double> angle(0, 6.283185307179586);
    const double a = angle(rng), b = angle(rng), c = angle(rng);
    const QPoint centre = randomCentre(rng, size);
    Polygon p;
    for (int i = 0; i < n; ++i) {
        const double t = 6.283185307179586 * i / n;
        double x = r * std::cos(t), y = r * std::sin(t), z = 0;
        double x1 = x * std::cos(a) - y * std::sin(a), y1 = x * std::sin(a) + y * std::cos(a);
        double y2 = y1 * std::cos(b) - z * std::sin(b), z2 = y1 * std::sin(b) + z * std::cos(b);
        double x3 = x1 * std::cos(c) - z2 * std::sin(c);
        p.emplace_back(centre.x() + static_cast<int>(std::nearbyint(x3)),
                       centre.y() + static_cast<int>(std::nearbyint(y2)));
    }
    return p;
}

// A face seen square on that lies parallel to the axes: QPainter's raster engine takes a polygon
// that runs clockwise from the top left corner of such a rectangle (four corners, or five with
// the first repeated) by a path of its own; other starting corners go the usual way.
Polygon axisRectangle(std::mt19937& rng, QSize size) {
    const QPoint topLeft = randomCentre(rng, size);
    const QPoint bottomRight = topLeft + QPoint(uniform(rng, 1, randomRadius(rng) + 1), uniform(rng, 1, randomRadius(rng) + 1));
    Polygon p{topLeft, {bottomRight.x(), topLeft.y()}, bottomRight, {topLeft.x(), bottomRight.y()}};
    std::rotate(p.begin(), p.begin() + (uniform(rng, 0, 2) == 0 ? uniform(rng, 1, 3) : 0), p.end());
    if (rng() & 1) p.push_back(p.front());
    return p;
}

Polygon randomConvex(std::mt19937& rng, QSize size) {
    if (uniform(rng, 0, 7) == 0) return axisRectangle(rng, size);
    if (uniform(rng, 0, 2) == 0) return projectedRegular(rng, size);
    const QPoint centre = randomCentre(rng, size);
    const int rx = randomRadius(rng), ry = uniform(rng, 0, 3) == 0 ? uniform(rng, 0, 2) : randomRadius(rng);
    std::vector<QPoint> pts;
    const int count = uniform(rng, 3, 14);
    for (int i = 0; i < count; ++i)
        pts.emplace_back(centre.x() + uniform(rng, -rx, rx), centre.y() + uniform(rng, -ry, ry));
    return convexHull(pts, rng);
}

// Anything at all: random corners, repeated corners, a polygon folded back on a line.
Polygon randomAny(std::mt19937& rng, QSize size) {
    const QPoint centre = randomCentre(rng, size);
    const int r = randomRadius(rng);
    const int n = uniform(rng, 2, 9);
    Polygon p;
    switch (uniform(rng, 0, 3)) {
    case 0: // random
        for (int i = 0; i < n; ++i)
            p.emplace_back(centre.x() + uniform(rng, -r, r), centre.y() + uniform(rng, -r, r));
        break;
    case 1: { // on one line, back and forth
        const int dx = uniform(rng, -7, 7), dy = uniform(rng, -7, 7);
        for (int i = 0; i < n; ++i) {
            const int t = uniform(rng, -r, r) / 7;
            p.emplace_back(centre.x() + t * dx, centre.y() + t * dy);
        }
        break;
    }
    case 2: // a convex one with corners repeated
        p = randomConvex(rng, size);
        for (int i = 0, m = static_cast<int>(p.size()); i < m && !p.empty(); ++i)
            if (uniform(rng, 0, 3) == 0)
                p.insert(p.begin() + uniform(rng, 0, static_cast<int>(p.size()) - 1),
                         p[static_cast<std::size_t>(uniform(rng, 0, static_cast<int>(p.size()) - 1))]);
        break;
    default: // all in one point or two
        p.assign(static_cast<std::size_t>(n), centre);
        if (rng() & 1) p.back() += QPoint(uniform(rng, -2, 2), uniform(rng, -2, 2));
        break;
    }
    return p;
}

const QSize kSizes[] = {{97, 61}, {160, 120}, {33, 17}, {1, 1}, {256, 9}, {400, 300}};

} // namespace

TEST(RasterExact, ConvexFacesAreFilledAndOutlinedLikeQPainter) {
    // Fill and solid outline together, as the coloured modes draw a face; then the fill alone and
    // the outline alone with the other switched off. Half of the image sizes with the plain
    // stores instead of the wide ones the processor may have.
    const int cases = 2500 * rounds();
    int direct = 0;
    bool wide = true;
    for (QSize size : kSizes) {
        wide = !wide;
        allowWideStores(wide);
        std::mt19937 rng(seedFor(1) + static_cast<std::uint32_t>(size.width()));
        TwinImages twins(size, rng);
        for (int i = 0; i < cases; ++i) {
            const Polygon poly = randomConvex(rng, size);
            const int n = static_cast<int>(poly.size());
            const QRgb fill = randomColour(rng), line = randomColour(rng);
            const int variant = uniform(rng, 0, 2); // 0 both, 1 fill only, 2 outline only
            {
                QPainter p(&twins.expected());
                prepare(p, twins.expected());
                p.setPen(variant == 1 ? QPen(Qt::NoPen) : cosmetic(line, Qt::SolidLine));
                p.setBrush(variant == 2 ? QBrush(Qt::NoBrush) : QBrush(QColor::fromRgb(fill)));
                p.drawPolygon(poly.data(), n);
            }
            const bool fills = fillsExactly(poly.data(), n);
            const bool inRange = strokesExactly(poly.data(), n);
            // Every convex polygon within the limits must take the direct path, or nothing is sped up;
            // that includes the axis-parallel rectangle, which QPainter draws by a path of its own.
            const bool withinLimits = std::all_of(poly.begin(), poly.end(), [](QPoint q) {
                return std::abs(q.x()) <= kDirectCoordinateLimit && std::abs(q.y()) <= kDirectCoordinateLimit;
            });
            if (n >= 2 && withinLimits) {
                ASSERT_TRUE(fills) << describe(poly);
                ASSERT_TRUE(inRange) << describe(poly);
            }
            if ((variant == 2 || fills) && inRange && n >= 2) {
                ++direct;
                QPainter p(&twins.actual());
                prepare(p, twins.actual());
                const PixelTarget target = directTarget(p, true);
                ASSERT_TRUE(target);
                if (variant != 2) fillPolygon(target, poly.data(), n, fill);
                if (variant != 1) strokePolygon(target, poly.data(), n, line, false);
            } else {
                QPainter p(&twins.actual());
                prepare(p, twins.actual());
                p.setPen(variant == 1 ? QPen(Qt::NoPen) : cosmetic(line, Qt::SolidLine));
                p.setBrush(variant == 2 ? QBrush(Qt::NoBrush) : QBrush(QColor::fromRgb(fill)));
                p.drawPolygon(poly.data(), n);
            }
            const std::string diff = twins.difference();
            if (!diff.empty()) {
                ADD_FAILURE() << diff << " at " << size.width() << 'x' << size.height() << " variant "
                              << variant << ": " << describe(poly);
                twins.resync();
            }
        }
    }
    allowWideStores(true);
    EXPECT_GT(direct, cases * 4); // most cases are really compared, not left to QPainter
}

TEST(RasterExact, LongSteepEdgesKeepQPaintersRoundingToTheLastRow) {
    // The fill steps x by a truncated 16.16 slope from a start rounded down; only over hundreds of
    // rows does that land exactly on a pixel border now and then (a few edges in ten thousand), so
    // tall narrow triangles are drawn here by the thousand, each compared on its own.
    const int cases = 12000 * rounds();
    const QSize size(32, 1500);
    std::mt19937 rng(seedFor(6));
    TwinImages twins(size, rng);
    for (int i = 0; i < cases; ++i) {
        Polygon poly;
        for (int k = 0; k < 3; ++k)
            poly.emplace_back(uniform(rng, -8, size.width() + 8), uniform(rng, 0, size.height()));
        const QRgb fill = randomColour(rng);
        ASSERT_TRUE(fillsExactly(poly.data(), 3));
        {
            QPainter p(&twins.expected());
            prepare(p, twins.expected());
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(fill));
            p.drawPolygon(poly.data(), 3);
        }
        {
            QPainter p(&twins.actual());
            prepare(p, twins.actual());
            fillPolygon(directTarget(p, true), poly.data(), 3, fill);
        }
        const std::string diff = twins.difference();
        if (!diff.empty()) {
            ADD_FAILURE() << diff << ": " << describe(poly);
            twins.resync();
        }
    }
}

TEST(RasterExact, FoldedAndNonConvexPolygonsAreFilledExactlyOrLeftToQPainter) {
    // Whatever fillsExactly accepts must come out exactly; what it refuses QPainter draws anyway.
    const int cases = 3000 * rounds();
    int accepted = 0, refused = 0;
    for (QSize size : kSizes) {
        std::mt19937 rng(seedFor(2) + static_cast<std::uint32_t>(size.height()));
        TwinImages twins(size, rng);
        for (int i = 0; i < cases; ++i) {
            const Polygon poly = randomAny(rng, size);
            const int n = static_cast<int>(poly.size());
            if (!fillsExactly(poly.data(), n)) {
                ++refused;
                continue;
            }
            ++accepted;
            const QRgb fill = randomColour(rng);
            {
                QPainter p(&twins.expected());
                prepare(p, twins.expected());
                p.setPen(Qt::NoPen);
                p.setBrush(QColor::fromRgb(fill));
                p.drawPolygon(poly.data(), n);
            }
            {
                QPainter p(&twins.actual());
                prepare(p, twins.actual());
                fillPolygon(directTarget(p, true), poly.data(), n, fill);
            }
            const std::string diff = twins.difference();
            if (!diff.empty()) {
                ADD_FAILURE() << diff << " at " << size.width() << 'x' << size.height() << ": "
                              << describe(poly);
                twins.resync();
            }
        }
    }
    EXPECT_GT(accepted, cases);
    EXPECT_GT(refused, cases / 10); // the generator really makes polygons the fill must refuse
}

TEST(RasterExact, OutlinesOfAnyPolygonSolidAndDottedLikeQPainter) {
    // The closed outline with corner corrections between all segments, including the closing one,
    // and the dot pattern running on from segment to segment.
    const int cases = 3000 * rounds();
    for (QSize size : kSizes) {
        std::mt19937 rng(seedFor(3) + static_cast<std::uint32_t>(size.width() * 3 + size.height()));
        TwinImages twins(size, rng);
        for (int i = 0; i < cases; ++i) {
            const Polygon poly = (rng() & 1) ? randomAny(rng, size) : randomConvex(rng, size);
            const int n = static_cast<int>(poly.size());
            if (n < 2 || !strokesExactly(poly.data(), n)) continue;
            const bool dotted = rng() & 1;
            const QRgb colour = randomColour(rng);
            {
                QPainter p(&twins.expected());
                prepare(p, twins.expected());
                p.setPen(cosmetic(colour, dotted ? Qt::DotLine : Qt::SolidLine));
                p.setBrush(Qt::NoBrush);
                p.drawPolygon(poly.data(), n);
            }
            {
                QPainter p(&twins.actual());
                prepare(p, twins.actual());
                strokePolygon(directTarget(p, true), poly.data(), n, colour, dotted);
            }
            const std::string diff = twins.difference();
            if (!diff.empty()) {
                ADD_FAILURE() << diff << (dotted ? " dotted" : " solid") << " at " << size.width() << 'x'
                              << size.height() << ": " << describe(poly);
                twins.resync();
            }
        }
    }
}

TEST(RasterExact, LinesWithSquareCapsLikeQPainter) {
    // Batches of lines in one drawLines call, as the edge model draws a face: every direction,
    // points, lines along and across the border.
    const int cases = 4000 * rounds();
    for (QSize size : kSizes) {
        std::mt19937 rng(seedFor(4) + static_cast<std::uint32_t>(size.width()));
        TwinImages twins(size, rng);
        for (int i = 0; i < cases; ++i) {
            std::vector<QLine> lines;
            const int n = uniform(rng, 1, 6);
            for (int k = 0; k < n; ++k) {
                const QPoint a = randomCentre(rng, size);
                const int r = uniform(rng, 0, 3) == 0 ? uniform(rng, 0, 2) : randomRadius(rng) % 400;
                lines.emplace_back(a, a + QPoint(uniform(rng, -r, r), uniform(rng, -r, r)));
            }
            const QRgb colour = randomColour(rng);
            {
                QPainter p(&twins.expected());
                prepare(p, twins.expected());
                p.setPen(cosmetic(colour, Qt::SolidLine));
                p.drawLines(lines.data(), n);
            }
            {
                QPainter p(&twins.actual());
                prepare(p, twins.actual());
                strokeLines(directTarget(p, true), lines.data(), n, colour);
            }
            const std::string diff = twins.difference();
            if (!diff.empty()) {
                std::ostringstream l;
                for (const QLine& line : lines)
                    l << '(' << line.x1() << ',' << line.y1() << ")-(" << line.x2() << ',' << line.y2()
                      << ") ";
                ADD_FAILURE() << diff << " at " << size.width() << 'x' << size.height() << ": " << l.str();
                twins.resync();
            }
        }
    }
}

TEST(RasterExact, IndexLayerAndedInEqualsAWhiteLayerPaintedAndAnded) {
    // The near half of "Durchdringung 3": faces filled with one colour and outlined with another,
    // painted in order by QPainter onto a white layer that is then ANDed into the picture, against
    // the same faces drawn as colour indices and ANDed in by andLayer, which must also leave its
    // layer all 0 again. Wide and plain stores alike.
    const std::uint32_t tint = 0xFFA0FFA0u, red = 0xFFFF0000u;
    const std::array<std::uint32_t, 3> colours{0, tint, red};
    for (bool wide : {true, false}) {
        allowWideStores(wide);
        for (QSize size : {QSize(97, 61), QSize(160, 120), QSize(35, 300)}) {
            std::mt19937 rng(seedFor(8) + static_cast<std::uint32_t>(size.width()) + wide);
            TwinImages twins(size, rng);
            QImage white(size, QImage::Format_RGB32);
            std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.width() * size.height()), 0);
            const IndexTarget layer{bytes.data(), size.width(), size.width(), size.height()};
            for (int k = 0; k < 300 * rounds(); ++k) {
                std::vector<Polygon> faces;
                for (int i = uniform(rng, 1, 30); i > 0; --i) {
                    Polygon poly = randomConvex(rng, size);
                    if (poly.size() >= 2 && fillsExactly(poly.data(), static_cast<int>(poly.size())) &&
                        strokesExactly(poly.data(), static_cast<int>(poly.size())))
                        faces.push_back(poly);
                }
                white.fill(Qt::white);
                {
                    QPainter p(&white);
                    prepare(p, white);
                    p.setPen(cosmetic(red, Qt::SolidLine));
                    p.setBrush(QColor::fromRgb(tint));
                    for (const Polygon& f : faces)
                        p.drawPolygon(f.data(), static_cast<int>(f.size()));
                }
                for (int y = 0; y < size.height(); ++y) {
                    auto* to = reinterpret_cast<std::uint32_t*>(twins.expected().scanLine(y));
                    const auto* from = reinterpret_cast<const std::uint32_t*>(white.constScanLine(y));
                    for (int x = 0; x < size.width(); ++x)
                        to[x] &= from[x];
                }
                QRect box;
                for (const Polygon& f : faces) {
                    fillPolygon(layer, f.data(), static_cast<int>(f.size()), 1);
                    strokePolygon(layer, f.data(), static_cast<int>(f.size()), 2, false);
                    for (const QPoint& q : f)
                        box |= QRect(q - QPoint(2, 2), q + QPoint(2, 2));
                }
                {
                    QPainter p(&twins.actual());
                    andLayer(directTarget(p, false), layer, box, colours.data(),
                             static_cast<int>(colours.size()));
                }
                const std::string diff = twins.difference();
                if (!diff.empty()) {
                    ADD_FAILURE() << diff << " with " << faces.size() << " faces at " << size.width() << 'x'
                                  << size.height() << (wide ? " (wide)" : " (plain)");
                    twins.resync();
                }
                ASSERT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }));
            }
        }
    }
    allowWideStores(true);
}

TEST(RasterExact, DrawCallsFollowThePainterAndFallBackWhereTheyMust) {
    // drawPolygonExact and drawLinesExact read pen and brush from the painter; pens, brushes,
    // painters and polygons they cannot take (dashes, wide or translucent pens, patterns, a turned
    // painter, a rectangle, a point) must still come out as QPainter draws them.
    std::mt19937 rng(seedFor(5));
    const QSize size(120, 90);
    TwinImages twins(size, rng);
    const QRgb red = qRgb(255, 0, 0);
    std::vector<QPen> pens{cosmetic(red, Qt::SolidLine),    cosmetic(red, Qt::DotLine),
                           cosmetic(red, Qt::DashLine),     QPen(QColor(0, 0, 255), 3),
                           QPen(QColor(0, 0, 255, 128), 1), QPen(Qt::NoPen)};
    pens.back().setCosmetic(true);
    QPen offsetDots = cosmetic(red, Qt::DotLine);
    offsetDots.setDashOffset(1);
    pens.push_back(offsetDots);
    QPen flat = cosmetic(red, Qt::SolidLine);
    flat.setCapStyle(Qt::FlatCap);
    pens.push_back(flat);
    const std::vector<QBrush> brushes{QBrush(Qt::NoBrush), QBrush(QColor(0, 200, 0)),
                                      QBrush(QColor(0, 200, 0, 100)),
                                      QBrush(QColor(9, 9, 9), Qt::Dense4Pattern)};
    const std::vector<Polygon> polygons{{{10, 10}, {60, 20}, {30, 70}},
                                        {{20, 15}, {90, 15}, {90, 60}, {20, 60}},
                                        {{20, 15}, {90, 15}, {90, 60}, {20, 60}, {20, 15}},
                                        {{5, 5}},
                                        {{5, 5}, {40, 50}},
                                        {{10, 10}, {80, 10}, {20, 20}, {80, 80}, {10, 80}}};
    for (int turned = 0; turned < 2; ++turned) {
        for (const QPen& pen : pens) {
            for (const QBrush& brush : brushes) {
                for (const Polygon& poly : polygons) {
                    const int n = static_cast<int>(poly.size());
                    std::vector<QLine> lines;
                    for (int i = 0; i + 1 < n; ++i)
                        lines.emplace_back(poly[static_cast<std::size_t>(i)],
                                           poly[static_cast<std::size_t>(i + 1)]);
                    for (QImage* image : {&twins.expected(), &twins.actual()}) {
                        QPainter p(image);
                        prepare(p, *image);
                        if (turned) p.rotate(10);
                        p.setPen(pen);
                        p.setBrush(brush);
                        if (image == &twins.expected()) {
                            p.drawPolygon(poly.data(), n);
                            p.drawLines(lines.data(), static_cast<int>(lines.size()));
                        } else {
                            const PixelTarget target = directTarget(p, true);
                            EXPECT_EQ(static_cast<bool>(target), turned == 0);
                            drawPolygonExact(p, target, poly.data(), n);
                            drawLinesExact(p, target, lines.data(), static_cast<int>(lines.size()));
                        }
                    }
                    const std::string diff = twins.difference();
                    EXPECT_EQ(diff, "")
                        << "pen style " << pen.style() << " width " << pen.widthF() << ", brush style "
                        << brush.style() << ", turned " << turned << ": " << describe(poly);
                    if (!diff.empty()) twins.resync();
                }
            }
        }
    }
}

TEST(RasterExact, OnlyPlainRgb32ImagesAreWrittenDirectly) {
    QImage rgb(40, 30, QImage::Format_RGB32);
    QImage argb(40, 30, QImage::Format_ARGB32_Premultiplied);
    QImage hidpi(40, 30, QImage::Format_RGB32);
    hidpi.setDevicePixelRatio(2);
    {
        QPainter p(&rgb);
        EXPECT_TRUE(directTarget(p, false)); // no clip at all
        p.setClipRect(QRect(0, 0, 10, 10));
        EXPECT_FALSE(directTarget(p, false));
        EXPECT_TRUE(directTarget(p, true));
        p.setRenderHint(QPainter::Antialiasing, true);
        EXPECT_FALSE(directTarget(p, true));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setOpacity(0.5);
        EXPECT_FALSE(directTarget(p, true));
        p.setOpacity(1);
        p.setCompositionMode(QPainter::CompositionMode_Xor);
        EXPECT_FALSE(directTarget(p, true));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.translate(1, 0);
        EXPECT_FALSE(directTarget(p, true));
        p.resetTransform();
        const PixelTarget t = directTarget(p, true);
        ASSERT_TRUE(t);
        EXPECT_EQ(t.width, 40);
        EXPECT_EQ(t.height, 30);
        EXPECT_EQ(t.stride, rgb.bytesPerLine() / 4);
    }
    QPainter a(&argb);
    EXPECT_FALSE(directTarget(a, true));
    QPainter h(&hidpi);
    EXPECT_FALSE(directTarget(h, true));
}
