// The cosmetic stroker, pixel for pixel as Qt's raster engine strokes a 1-pixel pen.
//
// The arithmetic is the raster engine's own, step for step, because its rounding is what decides
// which pixels a segment lights: it works in 26.6 and 16.16 fixed point, steps each segment along
// its longer axis, removes a pixel two segments would both draw and inserts one where a corner
// would leave a gap, and runs a dash pattern in 1/64 pixel across the segments. Steep and flat
// segments take the same steps with the axes swapped (SegmentAxes).
#include "cosmeticstroker.h"

#include "pixelwrites_p.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <type_traits>
#include <utility>

namespace kesmora {

namespace {

using directdraw::DirectPixels;
using directdraw::IndexPixels;

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
// The axes of a segment that steps along y (steep, one pixel per row) or along x (flat, one pixel
// per column): its major axis is the one it steps along, its minor axis the other.
template <bool Steep> struct SegmentAxes {
    static constexpr int forward = Steep ? TopToBottom : LeftToRight;
    static constexpr int backward = Steep ? BottomToTop : RightToLeft;
    static constexpr int reversal = Steep ? VerticalMask : HorizontalMask; // dir ^ reversal: turned back

    static Pixel at(int major, int minor) { return Steep ? Pixel{minor, major} : Pixel{major, minor}; }
    static int& majorOf(Pixel& p) { return Steep ? p.y : p.x; }
    static int& minorOf(Pixel& p) { return Steep ? p.x : p.y; }
};

// A segment in its own axes, turned to run forward along the major axis: `from` .. `to` in 26.6,
// the minor position at `from` in 16.16 moving by `step` per major pixel.
struct OrientedSegment {
    int from;
    int to;
    Fixed16 minor;
    Fixed16 step;
    bool swapped; // drawn backwards

    OrientedSegment(int majorFrom, int minorFrom, int majorTo, int minorTo) : swapped(majorFrom > majorTo) {
        if (swapped) {
            std::swap(majorFrom, majorTo);
            std::swap(minorFrom, minorTo);
        }
        from = majorFrom;
        to = majorTo;
        step = fixedDiv16(minorTo - minorFrom, majorTo - majorFrom);
        minor = static_cast<Fixed16>(minorFrom) * 1024;
    }

    // The minor position moved on to the centre of major pixel `first`, rounded towards the step.
    void startAt(int first) {
        const int round = step > 0 ? 32 : 0;
        minor += (first * 64 + round - from) * step >> 6;
    }
    bool axisAligned() const { return std::abs(step) < (1 << 14); }
};

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
                       (((axisAligned && lastAxisAligned_) && lastPixel_.x != first.x &&
                         lastPixel_.y != first.y) ||
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
    template <bool Steep> void lastPointAlong(int majorFrom, int minorFrom, int majorTo, int minorTo);
    template <class Dash> bool segment(double rx1, double ry1, double rx2, double ry2, int caps);
    template <bool Steep, class Dash>
    bool segmentAlong(int majorFrom, int minorFrom, int majorTo, int minorTo, int caps);

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

// The segment's ends in 26.6 fixed point, handed to `along` in the segment's own axes: the longer
// one first (y for a steep segment, told by std::true_type). False for a segment of no length.
template <class Along> bool inOwnAxes(double rx1, double ry1, double rx2, double ry2, Along&& along) {
    const int x1 = toF26Dot6(rx1);
    const int y1 = toF26Dot6(ry1);
    const int x2 = toF26Dot6(rx2);
    const int y2 = toF26Dot6(ry2);
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    if (dx < dy)
        along(std::true_type{}, y1, x1, y2, x2);
    else if (dx)
        along(std::false_type{}, x1, y1, x2, y2);
    else
        return false;
    return true;
}

// Cuts a segment to lo..hi along coordinate a (b is the other coordinate, moved along): true when
// the whole segment lies outside; endCut tells that the far end was moved.
inline bool clipAlong(double& a1, double& b1, double& a2, double& b2, double lo, double hi, bool& endCut) {
    if (a1 < lo) {
        if (a2 <= lo) return true;
        b1 += (b2 - b1) / (a2 - a1) * (lo - a1);
        a1 = lo;
    } else if (a1 > hi) {
        if (a2 >= hi) return true;
        b1 += (b2 - b1) / (a2 - a1) * (hi - a1);
        a1 = hi;
    }
    if (a2 < lo) {
        endCut = true;
        b2 += (b2 - b1) / (a2 - a1) * (lo - a2);
        a2 = lo;
    } else if (a2 > hi) {
        endCut = true;
        b2 += (b2 - b1) / (a2 - a1) * (hi - a2);
        a2 = hi;
    }
    return false;
}

// True when the whole segment lies outside; otherwise cuts it to the bounds, first across x, then
// across y, as Qt does. A cut end forgets the last pixel, so the next segment does no corner
// correction against it.
template <class Sink> bool Stroker<Sink>::clipLine(double& x1, double& y1, double& x2, double& y2) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return true;
    bool endCut = false;
    const bool outside =
        clipAlong(x1, y1, x2, y2, xmin_, xmax_, endCut) || clipAlong(y1, x1, y2, x2, ymin_, ymax_, endCut);
    if (outside || endCut) lastPixel_.x = kNoPixel;
    return outside;
}

// Direction and last pixel of the closing segment, so that the first segment of a closed outline
// can correct its corner against it.
template <class Sink> void Stroker<Sink>::calculateLastPoint(double rx1, double ry1, double rx2, double ry2) {
    lastPixel_ = {kNoPixel, kNoPixel};
    if (clipLine(rx1, ry1, rx2, ry2)) return;

    inOwnAxes(rx1, ry1, rx2, ry2, [&](auto steep, int majorFrom, int minorFrom, int majorTo, int minorTo) {
        lastPointAlong<decltype(steep)::value>(majorFrom, minorFrom, majorTo, minorTo);
    });
}

template <class Sink>
template <bool Steep>
void Stroker<Sink>::lastPointAlong(int majorFrom, int minorFrom, int majorTo, int minorTo) {
    using Axes = SegmentAxes<Steep>;
    OrientedSegment s(majorFrom, minorFrom, majorTo, minorTo);
    const int first = (s.from + 32) >> 6;
    const int stop = (s.to + 32) >> 6;
    if (first == stop) return;
    s.startAt(first);
    if (s.swapped) {
        lastPixel_ = Axes::at(first, static_cast<int>(s.minor >> 16));
        lastDir_ = Axes::backward;
    } else {
        lastPixel_ = Axes::at(stop - 1, static_cast<int>((s.minor + (stop - first - 1) * s.step) >> 16));
        lastDir_ = Axes::forward;
    }
    lastAxisAligned_ = s.axisAligned();
}

// One segment, stepping along its longer axis; returns whether the next segment starts at this
// one's end (always, for integer ends). The corner handling against the previous segment's last
// pixel is the reason a polygon cannot be drawn as separate lines.
template <class Sink>
template <class Dash>
bool Stroker<Sink>::segment(double rx1, double ry1, double rx2, double ry2, int caps) {
    const bool longEnough = std::abs(rx2 - rx1) + std::abs(ry2 - ry1) >= 1.0;
    if (clipLine(rx1, ry1, rx2, ry2)) return true;

    bool drew = false;
    const bool hasLength =
        inOwnAxes(rx1, ry1, rx2, ry2, [&](auto steep, int majorFrom, int minorFrom, int majorTo, int minorTo) {
            drew = this->template segmentAlong<decltype(steep)::value, Dash>(majorFrom, minorFrom, majorTo,
                                                                             minorTo, caps);
        });
    if (!hasLength) return true;
    return longEnough || drew;
}

// A segment in its own axes (segment above picks them); returns whether it drew.
template <class Sink>
template <bool Steep, class Dash>
bool Stroker<Sink>::segmentAlong(int majorFrom, int minorFrom, int majorTo, int minorTo, int caps) {
    using Axes = SegmentAxes<Steep>;
    OrientedSegment s(majorFrom, minorFrom, majorTo, minorTo);
    const int dir = s.swapped ? Axes::backward : Axes::forward;
    if (s.swapped) caps = swapCaps(caps);
    // Turning back on itself: the corner pixel is drawn as if the end were capped.
    if ((lastDir_ ^ Axes::reversal) == dir) caps |= s.swapped ? CapEnd : CapBegin;
    capAdjust(caps, s.from, s.to, s.minor, s.step);

    int first = (s.from + 32) >> 6;
    int stop = (s.to + 32) >> 6;
    // A cap must not move the start off the row (column) the previous segment ended on.
    if ((caps & CapBegin) && Axes::majorOf(lastPixel_) == first + 1) ++first;
    if (first == stop) return false;

    s.startAt(first);
    Pixel begin = Axes::at(first, static_cast<int>(s.minor >> 16));
    Pixel last = Axes::at(stop - 1, static_cast<int>((s.minor + (stop - first - 1) * s.step) >> 16));
    if (s.swapped) std::swap(begin, last);

    joinCorner(dir, s.swapped, s.axisAligned(), begin, first, stop, s.minor, s.step, Axes::minorOf(last));

    const Dash pattern(*this, s.swapped, first * 64, stop * 64);
    // at least one pixel, even where the corner handling left none
    run<Steep>(pattern, first, std::max(stop - first, 1), s.minor, s.step);
    lastPixel_ = last;
    return true;
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

} // namespace

bool strokesExactly(const QPoint* points, int n) {
    for (int i = 0; i < n; ++i)
        if (!directdraw::withinLimit(points[i])) return false;
    return true;
}

void strokePolygon(const PixelTarget& target, const QPoint* points, int n, QRgb colour, bool dotted) {
    if (n < 2) return;
    Stroker stroker(DirectPixels{target.bits, target.stride, directdraw::opaque(colour)}, target.width,
                    target.height);
    if (dotted)
        stroker.closedPolygon<true>(points, n);
    else
        stroker.closedPolygon<false>(points, n);
}

void strokePolygon(const IndexTarget& target, const QPoint* points, int n, std::uint8_t index, bool dotted) {
    if (n < 2) return;
    Stroker stroker(IndexPixels{target.bits, target.stride, index}, target.width, target.height);
    if (dotted)
        stroker.closedPolygon<true>(points, n);
    else
        stroker.closedPolygon<false>(points, n);
}

void strokeLines(const PixelTarget& target, const QLine* lines, int n, QRgb colour) {
    // One stroker for all lines, as Qt keeps one per call: a line's direction carries over.
    Stroker stroker(DirectPixels{target.bits, target.stride, directdraw::opaque(colour)}, target.width,
                    target.height);
    for (int i = 0; i < n; ++i)
        stroker.line(lines[i].p1(), lines[i].p2());
}

} // namespace kesmora
