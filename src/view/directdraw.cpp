// Faces and edges written straight into 32-bit scanlines, pixel for pixel as Qt's raster engine.
//
// The arithmetic below is the raster engine's own, step for step, because its rounding is what
// decides which pixels an edge lights: the fill samples each row at its centre and steps a 16.16
// fixed-point x along the edge; the cosmetic stroker works in 26.6 and 16.16 fixed point, decides per
// segment whether to step in x or in y, removes a pixel two segments would both draw and inserts one
// where a corner would leave a gap, and runs a dash pattern in 1/64 pixel across the segments.
#include "directdraw.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPaintDevice>
#include <QPen>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define KESMORA_AVX2_SPANS 1
#else
#define KESMORA_AVX2_SPANS 0
#endif

namespace kesmora {

namespace {

std::uint32_t opaque(QRgb colour) {
    return colour | 0xFF000000u;
}

// ---- fill ----

constexpr int kMaxFillPoints = 256; // the edge tables below; a face has at most kMaxFaces corners

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

// Pixels p[0 .. length) set to one value. Faces are a few dozen pixels wide, so what counts is few
// branches per row: whole 8-pixel stores, overlapping where the width is not a multiple of 8. Written with
// GCC vector types, so that inside fillRowsWide the stores are AVX2 ones and elsewhere SSE2.
using Lanes8 = std::uint32_t __attribute__((vector_size(32)));
using Lanes4 = std::uint32_t __attribute__((vector_size(16)));

inline void storeRun(std::uint32_t* p, int length, std::uint32_t value) {
    std::uint32_t* const end = p + length;
    if (length >= 16) {
        const Lanes8 v = Lanes8{} + value;
        if (length <= 32) {
            // the common face width: four stores, no loop to mispredict
            std::memcpy(p, &v, sizeof v);
            std::memcpy(p + 8, &v, sizeof v);
            std::memcpy(end - 16, &v, sizeof v);
            std::memcpy(end - 8, &v, sizeof v);
            return;
        }
        for (std::uint32_t* q = p; q < end - 8; q += 8)
            std::memcpy(q, &v, sizeof v);
        std::memcpy(end - 8, &v, sizeof v);
        return;
    }
    if (length >= 8) {
        const Lanes8 v = Lanes8{} + value;
        std::memcpy(p, &v, sizeof v);
        std::memcpy(end - 8, &v, sizeof v);
        return;
    }
    if (length >= 4) {
        const Lanes4 v = Lanes4{} + value;
        std::memcpy(p, &v, sizeof v);
        std::memcpy(end - 4, &v, sizeof v);
        return;
    }
    for (int i = 0; i < length; ++i)
        p[i] = value;
}

// Pixels written straight away, in painting order.
struct DirectPixels {
    std::uint32_t* bits;
    qsizetype stride;
    std::uint32_t colour;

    void span(int y, int from, int to) const { storeRun(bits + y * stride + from, to - from, colour); }
    void pixel(int x, int y) const { bits[y * stride + x] = colour; }
};

// Bytes p[0 .. length) set to one value, as storeRun does it for pixels; a library memset call
// per row of a face costs more than the row.
inline void storeBytes(std::uint8_t* p, int length, std::uint8_t value) {
    using Bytes16 = std::uint8_t __attribute__((vector_size(16)));
    using Bytes32 = std::uint8_t __attribute__((vector_size(32)));
    std::uint8_t* const end = p + length;
    if (length >= 16) {
        if (length <= 32) {
            const Bytes16 v = Bytes16{} + value;
            std::memcpy(p, &v, sizeof v);
            std::memcpy(end - 16, &v, sizeof v);
            return;
        }
        const Bytes32 v = Bytes32{} + value;
        for (std::uint8_t* q = p; q < end - 32; q += 32)
            std::memcpy(q, &v, sizeof v);
        std::memcpy(end - 32, &v, sizeof v);
        return;
    }
    if (length >= 8) {
        const std::uint64_t v = 0x0101010101010101u * value;
        std::memcpy(p, &v, sizeof v);
        std::memcpy(end - 8, &v, sizeof v);
        return;
    }
    if (length >= 4) {
        const std::uint32_t v = 0x01010101u * value;
        std::memcpy(p, &v, sizeof v);
        std::memcpy(end - 4, &v, sizeof v);
        return;
    }
    for (int i = 0; i < length; ++i)
        p[i] = value;
}

// Colour indices of a one-byte layer, written straight away in painting order.
struct IndexPixels {
    std::uint8_t* bits;
    qsizetype stride;
    std::uint8_t colour;

    void span(int y, int from, int to) const { storeBytes(bits + y * stride + from, to - from, colour); }
    void pixel(int x, int y) const { bits[y * stride + x] = colour; }
};

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

std::atomic<bool> wideAllowed{true};

bool hasAvx2() {
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return avx2 && wideAllowed.load(std::memory_order_relaxed);
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
    if (hasAvx2()) {
        fillRowsWide(rows, sink);
        return;
    }
#endif
    fillRows(rows, sink);
}

bool withinLimit(QPoint p) {
    return std::abs(p.x()) <= kDirectCoordinateLimit && std::abs(p.y()) <= kDirectCoordinateLimit;
}

// ---- cosmetic stroke ----

enum Direction {
    NoDirection = 0,
    TopToBottom = 0x1,
    BottomToTop = 0x2,
    LeftToRight = 0x4,
    RightToLeft = 0x8,
    VerticalMask = 0x3,
    HorizontalMask = 0xc,
};

enum Caps { NoCaps = 0, CapBegin = 0x1, CapEnd = 0x2 };

// Positions along the minor axis are 16.16 fixed point in 64 bits; the major axis is 26.6 in int.
using Fixed16 = std::int64_t;

int toF26Dot6(double v) {
    return static_cast<int>(v * 64.);
}

Fixed16 fixedDiv16(int x, int y) {
    return static_cast<Fixed16>(x) * 65536 / y;
}

int swapCaps(int caps) {
    return ((caps & CapBegin) << 1) | ((caps & CapEnd) >> 1);
}

// Half a pixel more at a capped end; the minor position moves back by half a step with the start.
void capAdjust(int caps, int& from, int& to, Fixed16& minor, Fixed16 step) {
    if (caps & CapBegin) {
        from -= 32;
        minor -= step >> 1;
    }
    if (caps & CapEnd) to += 32;
}

// Qt::DotLine of a 1-pixel pen: one pixel on, two off, 3 pixels in 1/64 pixel.
constexpr int kDotPatternLength = 192;

struct Pixel {
    int x;
    int y;
};

constexpr int kNoPixel = INT_MIN;

template <class Sink> class Stroker {
  public:
    Stroker(const Sink& sink, int width, int height)
        : sink_(sink), width_(width), height_(height), xmax_(width + 1), ymax_(height + 1) {}

    template <bool Dotted> void closedPolygon(const QPoint* points, int n);
    void line(QPoint a, QPoint b);

  private:
    // Which pixels of a segment the dot pattern (one pixel on, two off) draws. Qt keeps the pattern
    // position in 1/64 pixel across the segments; as every segment here starts and ends on whole
    // pixels, that position always lies half a pixel into a pattern pixel, so it comes down to a
    // phase 0..2. A segment drawn backwards runs the pattern from its far end, so that the dots stay
    // where the forward direction would put them.
    struct Dots {
        static constexpr int every = 3;
        int first; // index of the first pixel drawn

        Dots(Stroker& s, bool reverse, int start, int stop) {
            const int pixels = (stop - start) / 64;     // may be 0 or negative after corner handling
            const int position = s.patternOffset_ / 64; // pattern pixels run so far, modulo 3
            const int phase = reverse ? mod3(1 - position - pixels) : mod3(position);
            first = mod3(-phase);
            s.patternOffset_ = (s.patternOffset_ + (stop - start)) % kDotPatternLength;
        }
        static int mod3(int v) { return ((v % 3) + 3) % 3; }
    };

    struct Solid {
        static constexpr int every = 1;
        static constexpr int first = 0;
        Solid(Stroker&, bool, int, int) {}
    };

    void pixel(int x, int y) {
        if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
        sink_.pixel(x, y);
    }

    // The pixels of a segment: `count` steps along the major axis from `major`, the minor position
    // in 16.16 moving by `step`, of which the pattern draws every `every`-th from `first`. Runs
    // that stay inside the image skip the per-pixel clip; the image fields are read into locals
    // because the pixel stores could alias them.
    template <bool Steep, class Pattern>
    void run(const Pattern& pattern, int major, int count, Fixed16 minor, Fixed16 step) {
        constexpr int every = Pattern::every;
        const int minorFirst = static_cast<int>(minor >> 16);
        const int minorLast = static_cast<int>((minor + (count - 1) * step) >> 16);
        const int majorLimit = Steep ? height_ : width_;
        const int minorLimit = Steep ? width_ : height_;
        const bool inside = major >= 0 && major + count <= majorLimit &&
                            std::min(minorFirst, minorLast) >= 0 &&
                            std::max(minorFirst, minorLast) < minorLimit;
        const int first = pattern.first;
        minor += first * step;
        major += first;
        if (!inside) {
            for (int i = first; i < count; i += every, major += every, minor += every * step) {
                if (Steep)
                    pixel(static_cast<int>(minor >> 16), major);
                else
                    pixel(major, static_cast<int>(minor >> 16));
            }
            return;
        }
        auto* const bits = sink_.bits;
        const qsizetype stride = sink_.stride;
        const auto colour = sink_.colour;
        if (Steep) {
            auto* row = bits + static_cast<qsizetype>(major) * stride;
            for (int i = first; i < count; i += every, row += every * stride, minor += every * step)
                row[minor >> 16] = colour;
        } else {
            auto* column = bits + major;
            for (int i = first; i < count; i += every, column += every, minor += every * step)
                column[(minor >> 16) * stride] = colour;
        }
    }

    // The corner against the previous segment's last pixel, for steep and flat segments alike, in
    // the segment's own axes: pixels `from` .. `to` along the major axis, the minor position
    // `minor` (16.16) at `from` moving by `step`, `lastMinor` the minor coordinate of the end pixel.
    void joinCorner(int dir, bool swapped, bool axisAligned, Pixel first, int& from, int& to, Fixed16& minor,
                    Fixed16 step, int& lastMinor) {
        if (lastPixel_.x > kNoPixel) {
            if (first.x == lastPixel_.x && first.y == lastPixel_.y) {
                // the previous segment drew this pixel already
                if (swapped) {
                    --to;
                } else {
                    ++from;
                    minor += step;
                }
            } else if (lastDir_ != dir &&
                       (((axisAligned && lastAxisAligned_) && lastPixel_.x != first.x && lastPixel_.y != first.y) ||
                        (std::abs(lastPixel_.x - first.x) > 1 || std::abs(lastPixel_.y - first.y) > 1))) {
                // a gap at the corner: one pixel more
                if (swapped) {
                    ++to;
                } else {
                    --from;
                    minor -= step;
                }
            } else if (lastDir_ == dir &&
                       (std::abs(lastPixel_.x - first.x) <= 1 && std::abs(lastPixel_.y - first.y) > 1)) {
                // continuing the same way across a skipped row: sample half a step later
                minor += step >> 1;
                lastMinor = static_cast<int>((swapped ? minor : minor + (to - from - 1) * step) >> 16);
            }
        }
        lastDir_ = dir;
        lastAxisAligned_ = axisAligned;
    }

    bool clipLine(double& x1, double& y1, double& x2, double& y2);
    void calculateLastPoint(double rx1, double ry1, double rx2, double ry2);
    template <class Dash> bool segment(double rx1, double ry1, double rx2, double ry2, int caps);

    Sink sink_;
    int width_;
    int height_;
    // Segments are cut at one pixel beyond the image on every side, as Qt cuts them, so that the
    // rounding of the part left over is the same.
    double xmin_ = -1;
    double xmax_;
    double ymin_ = -1;
    double ymax_;

    Pixel lastPixel_{kNoPixel, kNoPixel};
    int lastDir_ = NoDirection;
    bool lastAxisAligned_ = false;
    int patternOffset_ = 0;
};

// True when the whole segment lies outside; otherwise cuts it to the bounds. A cut end forgets the
// last pixel, so the next segment does no corner correction against it.
template <class Sink> bool Stroker<Sink>::clipLine(double& x1, double& y1, double& x2, double& y2) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return true;
    if (x1 < xmin_) {
        if (x2 <= xmin_) goto clipped;
        y1 += (y2 - y1) / (x2 - x1) * (xmin_ - x1);
        x1 = xmin_;
    } else if (x1 > xmax_) {
        if (x2 >= xmax_) goto clipped;
        y1 += (y2 - y1) / (x2 - x1) * (xmax_ - x1);
        x1 = xmax_;
    }
    if (x2 < xmin_) {
        lastPixel_.x = kNoPixel;
        y2 += (y2 - y1) / (x2 - x1) * (xmin_ - x2);
        x2 = xmin_;
    } else if (x2 > xmax_) {
        lastPixel_.x = kNoPixel;
        y2 += (y2 - y1) / (x2 - x1) * (xmax_ - x2);
        x2 = xmax_;
    }

    if (y1 < ymin_) {
        if (y2 <= ymin_) goto clipped;
        x1 += (x2 - x1) / (y2 - y1) * (ymin_ - y1);
        y1 = ymin_;
    } else if (y1 > ymax_) {
        if (y2 >= ymax_) goto clipped;
        x1 += (x2 - x1) / (y2 - y1) * (ymax_ - y1);
        y1 = ymax_;
    }
    if (y2 < ymin_) {
        lastPixel_.x = kNoPixel;
        x2 += (x2 - x1) / (y2 - y1) * (ymin_ - y2);
        y2 = ymin_;
    } else if (y2 > ymax_) {
        lastPixel_.x = kNoPixel;
        x2 += (x2 - x1) / (y2 - y1) * (ymax_ - y2);
        y2 = ymax_;
    }
    return false;

clipped:
    lastPixel_.x = kNoPixel;
    return true;
}

// Direction and last pixel of the closing segment, so that the first segment of a closed outline
// can correct its corner against it.
template <class Sink> void Stroker<Sink>::calculateLastPoint(double rx1, double ry1, double rx2, double ry2) {
    lastPixel_ = {kNoPixel, kNoPixel};
    if (clipLine(rx1, ry1, rx2, ry2)) return;

    int x1 = toF26Dot6(rx1);
    int y1 = toF26Dot6(ry1);
    int x2 = toF26Dot6(rx2);
    int y2 = toF26Dot6(ry2);
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);

    if (dx < dy) {
        bool swapped = false;
        if (y1 > y2) {
            swapped = true;
            std::swap(y1, y2);
            std::swap(x1, x2);
        }
        const Fixed16 xinc = fixedDiv16(x2 - x1, y2 - y1);
        Fixed16 x = static_cast<Fixed16>(x1) * 1024;
        const int y = (y1 + 32) >> 6;
        const int ys = (y2 + 32) >> 6;
        const int round = xinc > 0 ? 32 : 0;
        if (y != ys) {
            x += (y * 64 + round - y1) * xinc >> 6;
            if (swapped) {
                lastPixel_ = {static_cast<int>(x >> 16), y};
                lastDir_ = BottomToTop;
            } else {
                lastPixel_ = {static_cast<int>((x + (ys - y - 1) * xinc) >> 16), ys - 1};
                lastDir_ = TopToBottom;
            }
            lastAxisAligned_ = std::abs(xinc) < (1 << 14);
        }
    } else {
        if (!dx) return;
        bool swapped = false;
        if (x1 > x2) {
            swapped = true;
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const Fixed16 yinc = fixedDiv16(y2 - y1, x2 - x1);
        Fixed16 y = static_cast<Fixed16>(y1) * 1024;
        const int x = (x1 + 32) >> 6;
        const int xs = (x2 + 32) >> 6;
        const int round = yinc > 0 ? 32 : 0;
        if (x != xs) {
            y += (x * 64 + round - x1) * yinc >> 6;
            if (swapped) {
                lastPixel_ = {x, static_cast<int>(y >> 16)};
                lastDir_ = RightToLeft;
            } else {
                lastPixel_ = {xs - 1, static_cast<int>((y + (xs - x - 1) * yinc) >> 16)};
                lastDir_ = LeftToRight;
            }
            lastAxisAligned_ = std::abs(yinc) < (1 << 14);
        }
    }
}

// One segment, stepping along its longer axis; returns whether the next segment starts at this
// one's end (always, for integer ends). The corner handling against the previous segment's last
// pixel is the reason a polygon cannot be drawn as separate lines.
template <class Sink>
template <class Dash>
bool Stroker<Sink>::segment(double rx1, double ry1, double rx2, double ry2, int caps) {
    bool didDraw = std::abs(rx2 - rx1) + std::abs(ry2 - ry1) >= 1.0;
    if (clipLine(rx1, ry1, rx2, ry2)) return true;

    int x1 = toF26Dot6(rx1);
    int y1 = toF26Dot6(ry1);
    int x2 = toF26Dot6(rx2);
    int y2 = toF26Dot6(ry2);
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    Pixel last = lastPixel_;

    if (dx < dy) {
        // Steep: one pixel per row.
        int dir = TopToBottom;
        bool swapped = false;
        if (y1 > y2) {
            swapped = true;
            std::swap(y1, y2);
            std::swap(x1, x2);
            caps = swapCaps(caps);
            dir = BottomToTop;
        }
        const Fixed16 xinc = fixedDiv16(x2 - x1, y2 - y1);
        Fixed16 x = static_cast<Fixed16>(x1) * 1024;
        // Turning back on itself: the corner pixel is drawn as if the end were capped.
        if ((lastDir_ ^ VerticalMask) == dir) caps |= swapped ? CapEnd : CapBegin;
        capAdjust(caps, y1, y2, x, xinc);

        int y = (y1 + 32) >> 6;
        int ys = (y2 + 32) >> 6;
        const int round = xinc > 0 ? 32 : 0;
        // A cap must not move the start off the row the previous segment ended on.
        if ((caps & CapBegin) && lastPixel_.y == y + 1) ++y;

        if (y != ys) {
            x += (y * 64 + round - y1) * xinc >> 6;
            Pixel first{static_cast<int>(x >> 16), y};
            last = {static_cast<int>((x + (ys - y - 1) * xinc) >> 16), ys - 1};
            if (swapped) std::swap(first, last);

            joinCorner(dir, swapped, std::abs(xinc) < (1 << 14), first, y, ys, x, xinc, last.x);

            const Dash pattern(*this, swapped, y * 64, ys * 64);
            // at least one pixel, even where the corner handling left none
            run<true>(pattern, y, std::max(ys - y, 1), x, xinc);
            didDraw = true;
        }
    } else {
        // Flat: one pixel per column.
        if (!dx) return true;
        int dir = LeftToRight;
        bool swapped = false;
        if (x1 > x2) {
            swapped = true;
            std::swap(x1, x2);
            std::swap(y1, y2);
            caps = swapCaps(caps);
            dir = RightToLeft;
        }
        const Fixed16 yinc = fixedDiv16(y2 - y1, x2 - x1);
        Fixed16 y = static_cast<Fixed16>(y1) * 1024;
        if ((lastDir_ ^ HorizontalMask) == dir) caps |= swapped ? CapEnd : CapBegin;
        capAdjust(caps, x1, x2, y, yinc);

        int x = (x1 + 32) >> 6;
        int xs = (x2 + 32) >> 6;
        const int round = yinc > 0 ? 32 : 0;
        if ((caps & CapBegin) && lastPixel_.x == x + 1) ++x;

        if (x != xs) {
            y += (x * 64 + round - x1) * yinc >> 6;
            Pixel first{x, static_cast<int>(y >> 16)};
            last = {xs - 1, static_cast<int>((y + (xs - x - 1) * yinc) >> 16)};
            if (swapped) std::swap(first, last);

            joinCorner(dir, swapped, std::abs(yinc) < (1 << 14), first, x, xs, y, yinc, last.y);

            const Dash pattern(*this, swapped, x * 64, xs * 64);
            run<false>(pattern, x, std::max(xs - x, 1), y, yinc);
            didDraw = true;
        }
    }
    lastPixel_ = last;
    return didDraw;
}

template <class Sink> template <bool Dotted> void Stroker<Sink>::closedPolygon(const QPoint* points, int n) {
    using Dash = std::conditional_t<Dotted, Dots, Solid>;
    patternOffset_ = 0;
    lastPixel_ = {kNoPixel, kNoPixel};
    double px = points[0].x();
    double py = points[0].y();
    // The corner at the start is corrected against the closing segment; an outline that repeats
    // its first point at the end closes with the segment before that.
    const QPoint closingFrom = (points[n - 1] == points[0] && n > 2) ? points[n - 2] : points[n - 1];
    calculateLastPoint(closingFrom.x(), closingFrom.y(), px, py);
    for (int i = 1; i < n; ++i) {
        const double x2 = points[i].x();
        const double y2 = points[i].y();
        const bool moveOn = segment<Dash>(px, py, x2, y2, NoCaps);
        // A segment that drew nothing leaves its start as the next one's, except at the ends.
        if (moveOn || i == 1 || i == n - 1) {
            px = x2;
            py = y2;
        }
    }
    segment<Dash>(px, py, points[0].x(), points[0].y(), NoCaps);
}

template <class Sink> void Stroker<Sink>::line(QPoint a, QPoint b) {
    if (a == b) {
        pixel(a.x(), a.y());
        return;
    }
    patternOffset_ = 0;
    lastPixel_ = {kNoPixel, kNoPixel};
    segment<Solid>(a.x(), a.y(), b.x(), b.y(), CapBegin | CapEnd);
}

// ---- painter state ----

enum class Use { Nothing, Direct, Painter };

bool opaqueRgb(const QColor& c) {
    return c.spec() == QColor::Rgb && c.alpha() == 255;
}

Use brushUse(const QBrush& brush, QRgb& colour) {
    if (brush.style() == Qt::NoBrush) return Use::Nothing;
    if (brush.style() != Qt::SolidPattern || !opaqueRgb(brush.color())) return Use::Painter;
    colour = brush.color().rgb();
    return Use::Direct;
}

// A 1-pixel cosmetic pen in one opaque colour, solid or (when allowed) dotted from its start.
Use penUse(const QPen& pen, bool dotsAllowed, QRgb& colour, bool& dotted) {
    if (pen.style() == Qt::NoPen) return Use::Nothing;
    dotted = pen.style() == Qt::DotLine;
    if (!(pen.style() == Qt::SolidLine || (dotted && dotsAllowed))) return Use::Painter;
    if (!pen.isCosmetic() || !(pen.widthF() == 1.0 || pen.widthF() == 0.0)) return Use::Painter;
    if (dotted && pen.dashOffset() != 0.0) return Use::Painter;
    if (pen.brush().style() != Qt::SolidPattern || !opaqueRgb(pen.color())) return Use::Painter;
    colour = pen.color().rgb();
    return Use::Direct;
}

} // namespace

void allowWideStores(bool allowed) {
#if KESMORA_AVX2_SPANS
    wideAllowed.store(allowed, std::memory_order_relaxed);
#else
    (void)allowed;
#endif
}

PixelTarget directTarget(QPainter& painter, bool clipIsImage) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image || !painter.isActive()) return {};
    auto* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 || image->devicePixelRatio() != 1.0) return {};
    if (image->width() > kDirectCoordinateLimit || image->height() > kDirectCoordinateLimit) return {};
    if (painter.testRenderHint(QPainter::Antialiasing) || painter.opacity() != 1.0) return {};
    if (painter.compositionMode() != QPainter::CompositionMode_SourceOver) return {};
    if (!painter.combinedTransform().isIdentity()) return {};
    if (painter.hasClipping() && !clipIsImage) return {};
    // bits() would detach a shared image from the painter's pixels; the painter holds the device.
    PixelTarget target;
    target.bits = reinterpret_cast<std::uint32_t*>(image->bits());
    target.stride = image->bytesPerLine() / 4;
    target.width = image->width();
    target.height = image->height();
    return target;
}

bool fillsExactly(const QPoint* points, int n) {
    if (n < 2 || n > kMaxFillPoints) return false;
    for (int i = 0; i < n; ++i)
        if (!withinLimit(points[i])) return false;
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
    fillThrough(DirectPixels{target.bits, target.stride, opaque(colour)}, target.width, target.height, points,
                n);
}

bool strokesExactly(const QPoint* points, int n) {
    for (int i = 0; i < n; ++i)
        if (!withinLimit(points[i])) return false;
    return true;
}

void strokePolygon(const PixelTarget& target, const QPoint* points, int n, QRgb colour, bool dotted) {
    if (n < 2) return;
    Stroker stroker(DirectPixels{target.bits, target.stride, opaque(colour)}, target.width, target.height);
    if (dotted)
        stroker.closedPolygon<true>(points, n);
    else
        stroker.closedPolygon<false>(points, n);
}

void strokeLines(const PixelTarget& target, const QLine* lines, int n, QRgb colour) {
    // One stroker for all lines, as Qt keeps one per call: a line's direction carries over.
    Stroker stroker(DirectPixels{target.bits, target.stride, opaque(colour)}, target.width, target.height);
    for (int i = 0; i < n; ++i)
        stroker.line(lines[i].p1(), lines[i].p2());
}

void fillPolygon(const IndexTarget& target, const QPoint* points, int n, std::uint8_t index) {
    fillThrough(IndexPixels{target.bits, target.stride, index}, target.width, target.height, points, n);
}

void strokePolygon(const IndexTarget& target, const QPoint* points, int n, std::uint8_t index, bool dotted) {
    if (n < 2) return;
    Stroker stroker(IndexPixels{target.bits, target.stride, index}, target.width, target.height);
    if (dotted)
        stroker.closedPolygon<true>(points, n);
    else
        stroker.closedPolygon<false>(points, n);
}

namespace {

// Per pixel: the colour the layer byte names (all bits set for 0) ANDed in, the byte cleared.
void andPixels(std::uint32_t* to, std::uint8_t* from, int x, int end, const std::uint32_t* colours) {
    for (; x < end; ++x) {
        to[x] &= from[x] ? colours[from[x]] : ~std::uint32_t{0};
        from[x] = 0;
    }
}

void andRows(const PixelTarget& scene, const IndexTarget& layer, QRect box, const std::uint32_t* colours,
             int) {
    for (int y = box.top(); y <= box.bottom(); ++y) {
        std::uint32_t* to = scene.bits + static_cast<qsizetype>(y) * scene.stride;
        std::uint8_t* from = layer.bits + static_cast<qsizetype>(y) * layer.stride;
        int x = box.left();
        // whole runs of white skipped eight bytes at a time
        for (; x + 8 <= box.right() + 1; x += 8) {
            std::uint64_t bytes;
            std::memcpy(&bytes, from + x, sizeof bytes);
            if (bytes != 0) andPixels(to, from, x, x + 8, colours);
        }
        andPixels(to, from, x, box.right() + 1, colours);
    }
}

#if KESMORA_AVX2_SPANS
// Eight pixels per step: the bytes widened to lanes, each lane's colour chosen by comparison.
// Eight pixels: the low eight index bytes widened to lanes, each lane's colour chosen by comparison.
__attribute__((target("avx2"))) inline void andEight(std::uint32_t* to, __m128i bytes, const __m256i* colour,
                                                     const __m256i* index, int colourCount) {
    const __m256i lanes = _mm256_cvtepu8_epi32(bytes);
    __m256i mask = _mm256_set1_epi32(-1);
    for (int c = 1; c < colourCount; ++c)
        mask = _mm256_blendv_epi8(mask, colour[c], _mm256_cmpeq_epi32(lanes, index[c]));
    auto* p = reinterpret_cast<__m256i*>(to);
    _mm256_storeu_si256(p, _mm256_and_si256(_mm256_loadu_si256(p), mask));
}

__attribute__((target("avx2"))) void andRowsWide(const PixelTarget& scene, const IndexTarget& layer,
                                                 QRect box, const std::uint32_t* colours, int colourCount) {
    // The colours and their indices as lanes once, not per step (the near half has two).
    constexpr int kHeld = 4;
    if (colourCount > kHeld) {
        andRows(scene, layer, box, colours, colourCount);
        return;
    }
    __m256i colour[kHeld], index[kHeld];
    for (int c = 1; c < colourCount; ++c) {
        colour[c] = _mm256_set1_epi32(static_cast<int>(colours[c]));
        index[c] = _mm256_set1_epi32(c);
    }
    for (int y = box.top(); y <= box.bottom(); ++y) {
        std::uint32_t* to = scene.bits + static_cast<qsizetype>(y) * scene.stride;
        std::uint8_t* from = layer.bits + static_cast<qsizetype>(y) * layer.stride;
        int x = box.left();
        for (; x + 16 <= box.right() + 1; x += 16) {
            auto* q = reinterpret_cast<__m128i*>(from + x);
            const __m128i bytes = _mm_loadu_si128(q);
            if (_mm_testz_si128(bytes, bytes)) continue; // white: nothing to AND, nothing to clear
            andEight(to + x, bytes, colour, index, colourCount);
            andEight(to + x + 8, _mm_srli_si128(bytes, 8), colour, index, colourCount);
            _mm_storeu_si128(q, _mm_setzero_si128());
        }
        andPixels(to, from, x, box.right() + 1, colours);
    }
}
#endif

} // namespace

void andLayer(const PixelTarget& scene, const IndexTarget& layer, QRect box, const std::uint32_t* colours,
              int colourCount) {
    box &= QRect(0, 0, std::min(scene.width, layer.width), std::min(scene.height, layer.height));
    if (box.isEmpty()) return;
#if KESMORA_AVX2_SPANS
    if (hasAvx2()) {
        andRowsWide(scene, layer, box, colours, colourCount);
        return;
    }
#endif
    andRows(scene, layer, box, colours, colourCount);
}

void drawPolygonExact(QPainter& painter, const PixelTarget& target, const QPoint* points, int n) {
    if (n < 2) return; // QPainter draws nothing either
    if (target) {
        QRgb fillColour = 0, penColour = 0;
        bool dotted = false;
        const Use fill = brushUse(painter.brush(), fillColour);
        const Use pen = penUse(painter.pen(), true, penColour, dotted);
        const bool fillOk = fill == Use::Nothing || (fill == Use::Direct && fillsExactly(points, n));
        const bool penOk = pen == Use::Nothing || (pen == Use::Direct && strokesExactly(points, n));
        if (fillOk && penOk) {
            if (fill == Use::Direct) fillPolygon(target, points, n, fillColour);
            if (pen == Use::Direct) strokePolygon(target, points, n, penColour, dotted);
            return;
        }
        if (pen == Use::Direct && penOk) {
            // Qt fills this one (folded, say); its fill does not depend on the pen, and the outline
            // is still written here: for a dotted pen Qt would set up its dash pattern, which
            // allocates, in the middle of an animation frame.
            static const QPen noPen(Qt::NoPen);
            const QPen kept = painter.pen();
            painter.setPen(noPen);
            painter.drawPolygon(points, n);
            painter.setPen(kept);
            strokePolygon(target, points, n, penColour, dotted);
            return;
        }
    }
    painter.drawPolygon(points, n);
}

void drawLinesExact(QPainter& painter, const PixelTarget& target, const QLine* lines, int n) {
    if (target) {
        QRgb colour = 0;
        bool dotted = false;
        const Use pen = penUse(painter.pen(), false, colour, dotted);
        bool inRange = painter.pen().capStyle() != Qt::FlatCap;
        for (int i = 0; i < n && inRange; ++i)
            inRange = withinLimit(lines[i].p1()) && withinLimit(lines[i].p2());
        if (pen == Use::Nothing) return;
        if (pen == Use::Direct && inRange) {
            strokeLines(target, lines, n, colour);
            return;
        }
    }
    painter.drawLines(lines, n);
}

} // namespace kesmora
