// Plane geometry on the paper of a net.
#include "netplane.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace kesmora::nets {

QRectF boundsOf(const std::vector<QPointF>& points) {
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    for (const QPointF& q : points) {
        x0 = std::min(x0, q.x()), x1 = std::max(x1, q.x());
        y0 = std::min(y0, q.y()), y1 = std::max(y1, q.y());
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

QPointF turn(const QPointF& p, double radians) {
    const double cs = std::cos(radians), sn = std::sin(radians);
    return {cs * p.x() - sn * p.y(), sn * p.x() + cs * p.y()};
}

QSizeF turnedSize(const std::vector<QPointF>& points, double radians) {
    const double cs = std::cos(radians), sn = std::sin(radians);
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    for (const QPointF& p : points) {
        const double x = cs * p.x() - sn * p.y(), y = sn * p.x() + cs * p.y();
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    return points.empty() ? QSizeF() : QSizeF(x1 - x0, y1 - y0);
}

std::vector<QPointF> hullOf(std::vector<QPointF> points) {
    std::sort(points.begin(), points.end(),
              [](const QPointF& a, const QPointF& b) { return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y()); });
    if (points.size() < 3) return points;
    std::vector<QPointF> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross2(hull[k - 1] - hull[k - 2], points[i] - hull[k - 2]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross2(hull[k - 1] - hull[k - 2], points[i - 1] - hull[k - 2]) <= 0)
            --k;
        hull[k++] = points[i - 1];
    }
    hull.resize(k - 1);
    return hull;
}



bool fitsIn(const QSizeF& s, const QSizeF& room) {
    return s.width() <= room.width() && s.height() <= room.height();
}

int fittingTurn(const std::vector<QPointF>& all, const QSizeF& room) {
    const std::vector<QPointF> points = hullOf(all);
    for (int k = 0; k < kTurns; ++k)
        if (fitsIn(turnedSize(points, k * 2 * kDegree), room)) return k;
    return -1;
}

double fittingScale(const std::vector<QPointF>& all, const QSizeF& room) {
    const std::vector<QPointF> points = hullOf(all);
    double best = 0;
    for (int k = 0; k < kTurns; ++k) {
        const QSizeF s = turnedSize(points, k * 2 * kDegree);
        best = std::max(best, std::min(room.width() / s.width(), room.height() / s.height()));
    }
    return best;
}

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF d = b - a;
    const double t = std::clamp(dot2(p - a, d) / dot2(d, d), 0.0, 1.0);
    return length2(p - (a + t * d));
}

double depthOver(const Polygon& poly, std::size_t k) {
    const QPointF a = poly[k], b = poly[(k + 1) % poly.size()];
    const QPointF d = (b - a) / length2(b - a);
    double least = INFINITY;
    for (std::size_t i = 0; i < poly.size(); ++i)
        if (i != k && i != (k + 1) % poly.size()) least = std::min(least, std::fabs(cross2(d, poly[i] - a)));
    return least;
}

double cornerAngle(const Polygon& poly, std::size_t k) {
    const std::size_t n = poly.size();
    const QPointF u = poly[(k + n - 1) % n] - poly[k], v = poly[(k + 1) % n] - poly[k];
    return std::atan2(std::fabs(cross2(u, v)), dot2(u, v));
}

QPointF centroid2(const Polygon& p) {
    QPointF c;
    for (const QPointF& q : p)
        c += q;
    return c / static_cast<double>(p.size());
}

double polygonArea(const Polygon& p) {
    double twice = 0;
    for (std::size_t i = 0; i < p.size(); ++i)
        twice += cross2(p[i], p[(i + 1) % p.size()]);
    return std::fabs(twice) / 2;
}

QRectF boundsOf(const Polygon& p, double grow) {
    return boundsOf(std::vector<QPointF>(p.begin(), p.end())).adjusted(-grow, -grow, grow, grow);
}

int sheetsAtLeast(const std::vector<Polygon>& faces, QSizeF area) {
    std::vector<double> radii;
    for (const Polygon& f : faces) {
        const QPointF c = centroid2(f);
        double r = INFINITY;
        for (std::size_t k = 0; k < f.size(); ++k) {
            const QPointF a = f[k], d = f[(k + 1) % f.size()] - a;
            if (const double len = length2(d); len > 0) r = std::min(r, std::fabs(cross2(d, c - a)) / len);
        }
        radii.push_back(r);
    }
    std::sort(radii.begin(), radii.end(), std::greater<>());
    // The k largest discs share no sheet pairwise when the two smallest of them do not.
    int alone = radii.empty() ? 0 : 1;
    for (std::size_t k = 1; k < radii.size(); ++k) {
        const double s = radii[k - 1] + radii[k];
        if (std::hypot(std::max(0.0, area.width() - s), std::max(0.0, area.height() - s)) >= s) break;
        alone = static_cast<int>(k) + 1;
    }
    return alone;
}

} // namespace kesmora::nets
