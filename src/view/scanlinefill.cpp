// The even-odd fill, pixel for pixel as Qt's raster engine scan-converts a polygon.
//
// The arithmetic is the raster engine's own, step for step, because its rounding is what decides
// which pixels an edge lights: each row is sampled at its centre and a 16.16 fixed-point x steps
// along the edge.
#include "scanlinefill.h"

#include "pixelwrites_p.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kesmora {

namespace {

using directdraw::DirectPixels;
using directdraw::IndexPixels;

constexpr int kMaxFillPoints = 256; // the edge tables below; a longer face goes to the painter

// One non-horizontal edge of the fill: rows top .. bottom - 1, x in 16.16 fixed point at the centre
// of row `top` plus half a pixel, so that the integer part is the first pixel right of the edge.
// No initialisers: the edge tables live on the stack of each fill, and only the entries a fill
// writes are read.
struct FillEdge {
    int top;
    int bottom;
    std::int64_t x;
    std::int64_t slope; // change of x per row
};

FillEdge makeFillEdge(QPoint a, QPoint b) {
    if (a.y() > b.y()) std::swap(a, b);
    FillEdge e{};
    e.top = a.y();
    e.bottom = b.y();
    if (b.x() != a.x()) {
        // The slope goes through double exactly as Qt computes it; truncation, not rounding.
        const double slope = static_cast<double>(b.x() - a.x()) / static_cast<double>(b.y() - a.y());
        e.slope = static_cast<std::int64_t>(slope * 65536.0);
    }
    // Sampled half a row below the vertex: the 16.16 product of slope and one half, rounded down.
    e.x = static_cast<std::int64_t>(a.x()) * 65536 + 32768 + ((e.slope * 32768) >> 16);
    return e;
}

// The edges met walking from vertex `start` in direction `step` while y does not decrease.
int chainEdges(const QPoint* points, int n, int start, int step,
               std::array<FillEdge, kMaxFillPoints>& edges) {
    int count = 0;
    int i = start;
    for (int k = 0; k < n && count < static_cast<int>(edges.size()); ++k) {
        const int j = (i + step + n) % n;
        if (points[j].y() < points[i].y()) break;
        if (points[j].y() > points[i].y())
            edges[static_cast<std::size_t>(count++)] = makeFillEdge(points[i], points[j]);
        i = j;
    }
    return count;
}

// Pixel column where a span starts or ends, from an edge's 16.16 x, clamped to the image as Qt
// clips edges against the left and right side of its clip.
int spanColumn(std::int64_t x, int width) {
    return static_cast<int>(std::clamp<std::int64_t>(x >> 16, 0, width));
}

struct FillRows {
    const FillEdge* left;
    int leftCount;
    const FillEdge* right;
    int rightCount;
    int width;
    int first;
    int last;
};

template <class Sink> void fillRows(const FillRows& f, const Sink& sink) {
    const int width = f.width;
    int l = 0, r = 0;
    int y = f.first;
    while (y <= f.last) {
        // The rows up to the next corner on either side share one pair of edges.
        while (l < f.leftCount && y >= f.left[l].bottom)
            ++l;
        while (r < f.rightCount && y >= f.right[r].bottom)
            ++r;
        if (l == f.leftCount || r == f.rightCount) break; // cannot happen for an accepted polygon
        const FillEdge& a = f.left[l];
        const FillEdge& b = f.right[r];
        const int stop = std::min({a.bottom, b.bottom, f.last + 1});
        // Stepping by the slope gives the very sums Qt's scan converter adds up row by row.
        std::int64_t xa = a.x + static_cast<std::int64_t>(y - a.top) * a.slope;
        std::int64_t xb = b.x + static_cast<std::int64_t>(y - b.top) * b.slope;
        for (; y < stop; ++y, xa += a.slope, xb += b.slope) {
            const int ca = spanColumn(xa, width);
            const int cb = spanColumn(xb, width);
            sink.span(y, std::min(ca, cb), std::max(ca, cb));
        }
    }
}

#if KESMORA_AVX2_SPANS
// The same with everything inlined and compiled for AVX2, chosen at run time: the fill of a heavy
// frame is bound by its stores.
template <class Sink>
__attribute__((target("avx2"), flatten)) void fillRowsWide(const FillRows& f, const Sink& sink) {
    fillRows(f, sink);
}
#endif

// The even-odd fill of a polygon fillsExactly accepts, through a sink.
template <class Sink> void fillThrough(const Sink& sink, int width, int height, const QPoint* points, int n) {
    if (n < 2) return;
    int topVertex = 0;
    int minY = points[0].y(), maxY = minY;
    for (int i = 1; i < n; ++i) {
        if (points[i].y() < minY) {
            minY = points[i].y();
            topVertex = i;
        }
        maxY = std::max(maxY, points[i].y());
    }
    FillRows rows;
    rows.first = std::max(0, minY);
    rows.last = std::min(height - 1, maxY - 1);
    if (rows.first > rows.last) return;

    std::array<FillEdge, kMaxFillPoints> left, right;
    rows.left = left.data();
    rows.leftCount = chainEdges(points, n, topVertex, -1, left);
    rows.right = right.data();
    rows.rightCount = chainEdges(points, n, topVertex, 1, right);
    rows.width = width;
#if KESMORA_AVX2_SPANS
    if (directdraw::hasAvx2()) {
        fillRowsWide(rows, sink);
        return;
    }
#endif
    fillRows(rows, sink);
}

} // namespace

bool fillsExactly(const QPoint* points, int n) {
    if (n < 2 || n > kMaxFillPoints) return false;
    for (int i = 0; i < n; ++i)
        if (!directdraw::withinLimit(points[i])) return false;
    // Every row centre lies between vertex rows, so a polygon whose y goes up once and down once
    // around the outline crosses each row exactly twice (or not at all).
    int firstSign = 0, sign = 0, changes = 0;
    for (int i = 0; i < n; ++i) {
        const int dy = points[(i + 1) % n].y() - points[i].y();
        const int s = (dy > 0) - (dy < 0);
        if (s == 0) continue;
        if (firstSign == 0) firstSign = s;
        if (sign != 0 && s != sign) ++changes;
        sign = s;
    }
    if (sign != 0 && sign != firstSign) ++changes;
    return changes <= 2;
}

void fillPolygon(const PixelTarget& target, const QPoint* points, int n, QRgb colour) {
    fillThrough(DirectPixels{target.bits, target.stride, directdraw::opaque(colour)}, target.width,
                target.height, points, n);
}

void fillPolygon(const IndexTarget& target, const QPoint* points, int n, std::uint8_t index) {
    fillThrough(IndexPixels{target.bits, target.stride, index}, target.width, target.height, points, n);
}

} // namespace kesmora
