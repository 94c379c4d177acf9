// Caps, rings and face look-up for the Johnson constructions, and the least-squares solver for the
// solids that no cut-and-paste construction gives.
#include "johnson_parts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace gen {

double polygonCircumradius(int n) {
    return 0.5 / std::sin(std::numbers::pi / n);
}

std::vector<Point3D> regularRing(int n, double z, double phase) {
    return plainRing(n, polygonCircumradius(n), phase, z);
}

Point3D centroidOf(const std::vector<Point3D>& points) {
    Point3D sum;
    for (const Point3D& p : points)
        sum = sum + p;
    return sum / static_cast<double>(points.size());
}

Point3D edgeDirection(const std::vector<Point3D>& ring, int k) {
    const int n = static_cast<int>(ring.size());
    const Point3D mid = 0.5 * (ring[k % n] + ring[(k + 1) % n]);
    return normalized(mid - centroidOf(ring));
}

namespace {

// The component of v perpendicular to the unit vector n, normalised.
Point3D inPlane(Point3D v, Point3D n) {
    return normalized(v - dot(v, n) * n);
}

// Index of the edge whose midpoint direction is nearest `towards`.
int nearestEdge(const CapBase& base, Point3D towards) {
    const Point3D t = inPlane(towards, base.outward);
    int best = 0;
    double bestDot = -2;
    for (int k = 0; k < static_cast<int>(base.corners.size()); ++k) {
        const double d = dot(edgeDirection(base.corners, k), t);
        if (d > bestDot + 1e-9) {
            bestDot = d;
            best = k;
        }
    }
    return best;
}

// Height above the base plane at which a point at `radial` (in the plane, relative to the base
// centre) lies at unit distance from the base corner `corner`.
double unitHeight(Point3D centre, Point3D radial, Point3D corner) {
    const Point3D d = corner - (centre + radial);
    const double h2 = 1 - dot(d, d);
    if (h2 <= 0) throw std::runtime_error("cap does not fit its base");
    return std::sqrt(h2);
}

} // namespace

std::vector<Point3D> pyramidApex(const CapBase& base) {
    const Point3D c = centroidOf(base.corners);
    return {c + unitHeight(c, {}, base.corners[0]) * base.outward};
}

std::vector<Point3D> prismLid(const CapBase& base) {
    std::vector<Point3D> lid;
    for (const Point3D& p : base.corners)
        lid.push_back(p + base.outward);
    return lid;
}

std::vector<Point3D> antiprismLid(const CapBase& base) {
    const Point3D c = centroidOf(base.corners);
    const double r = norm(base.corners[0] - c);
    const double h = unitHeight(c, r * edgeDirection(base.corners, 0), base.corners[0]);
    std::vector<Point3D> lid;
    for (int k = 0; k < static_cast<int>(base.corners.size()); ++k)
        lid.push_back(c + r * edgeDirection(base.corners, k) + h * base.outward);
    return lid;
}

std::vector<Point3D> cupolaTop(const CapBase& base, Point3D triangleSide) {
    const int n = static_cast<int>(base.corners.size());
    if (n % 2 != 0) throw std::runtime_error("cupola needs an even base");
    const Point3D c = centroidOf(base.corners);
    const double r = polygonCircumradius(n / 2);
    const int first = nearestEdge(base, triangleSide);
    std::vector<Point3D> top;
    for (int k = first; k < first + n; k += 2) {
        const Point3D radial = r * edgeDirection(base.corners, k);
        top.push_back(c + radial + unitHeight(c, radial, base.corners[k % n]) * base.outward);
    }
    return top;
}

std::vector<Point3D> rotundaTop(const CapBase& base, Point3D pentagonSide) {
    if (base.corners.size() != 10) throw std::runtime_error("rotunda needs a decagon");
    // Half an icosidodecahedron: over the decagon of circumradius φ the top pentagon lies at
    // radius R5 and height φ·R5, the middle ring at radius φ·R5 and height R5.
    const double r5 = polygonCircumradius(5), phi = std::numbers::phi;
    const Point3D c = centroidOf(base.corners);
    const int first = nearestEdge(base, pentagonSide);
    std::vector<Point3D> top;
    for (int k = first; k < first + 10; k += 2)
        top.push_back(c + r5 * edgeDirection(base.corners, k) + phi * r5 * base.outward);
    for (int k = first + 1; k < first + 10; k += 2)
        top.push_back(c + phi * r5 * edgeDirection(base.corners, k) + r5 * base.outward);
    return top;
}

std::vector<HullFace> hullFaces(const std::vector<Point3D>& points) {
    const Polyhedron hull = convexHull(points);
    std::vector<HullFace> faces;
    for (const auto& f : hull.faces) {
        HullFace h;
        h.corners = f;
        Point3D area; // Newell's normal: robust for any planar polygon
        std::vector<Point3D> pts;
        for (std::size_t k = 0; k < f.size(); ++k) {
            area = area + cross(points[f[k]], points[f[(k + 1) % f.size()]]);
            pts.push_back(points[f[k]]);
        }
        h.normal = normalized(area);
        h.centre = centroidOf(pts);
        faces.push_back(h);
    }
    return faces;
}

CapBase capBaseOf(const std::vector<Point3D>& points, const HullFace& face) {
    CapBase base;
    for (int i : face.corners)
        base.corners.push_back(points[i]);
    base.outward = face.normal;
    return base;
}

const HullFace& findFace(const std::vector<HullFace>& faces, int size,
                         const std::vector<NormalAngle>& angles) {
    for (const HullFace& f : faces) {
        if (static_cast<int>(f.corners.size()) != size) continue;
        bool fits = true;
        for (const NormalAngle& a : angles)
            if (std::abs(dot(f.normal, normalized(a.direction)) - a.cosine) > 1e-6) fits = false;
        if (fits) return f;
    }
    throw std::runtime_error("no face in the asked position");
}

std::vector<int> neighbourSizes(const std::vector<HullFace>& faces, const HullFace& face) {
    std::map<std::pair<int, int>, int> sizeAcross; // directed edge -> size of the face it borders
    for (const HullFace& f : faces)
        for (std::size_t k = 0; k < f.corners.size(); ++k)
            sizeAcross[{f.corners[k], f.corners[(k + 1) % f.corners.size()]}] =
                static_cast<int>(f.corners.size());
    std::vector<int> sizes;
    for (std::size_t k = 0; k < face.corners.size(); ++k) {
        // The neighbour runs along the same edge in the opposite sense.
        const auto it = sizeAcross.find({face.corners[(k + 1) % face.corners.size()], face.corners[k]});
        if (it == sizeAcross.end()) throw std::runtime_error("open edge on a hull");
        sizes.push_back(it->second);
    }
    return sizes;
}

namespace {

// Solves the symmetric positive definite system a·x = b (Gaussian elimination with pivoting).
std::vector<double> solveLinear(std::vector<std::vector<double>> a, std::vector<double> b) {
    const std::size_t n = b.size();
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t r = col + 1; r < n; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
        if (std::abs(a[pivot][col]) < 1e-300) throw std::runtime_error("singular least-squares system");
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (std::size_t r = col + 1; r < n; ++r) {
            const double f = a[r][col] / a[col][col];
            for (std::size_t k = col; k < n; ++k)
                a[r][k] -= f * a[col][k];
            b[r] -= f * b[col];
        }
    }
    std::vector<double> x(n);
    for (std::size_t i = n; i-- > 0;) {
        double s = b[i];
        for (std::size_t k = i + 1; k < n; ++k)
            s -= a[i][k] * x[k];
        x[i] = s / a[i][i];
    }
    return x;
}

double sumOfSquares(const std::vector<double>& r) {
    double s = 0;
    for (double v : r)
        s += v * v;
    return s;
}

double largest(const std::vector<double>& r) {
    double m = 0;
    for (double v : r)
        m = std::max(m, std::abs(v));
    return m;
}

} // namespace

std::vector<double>
solveLeastSquares(const std::function<std::vector<double>(const std::vector<double>&)>& residuals,
                  std::vector<double> x, double tolerance) {
    const std::size_t n = x.size();
    std::vector<double> r = residuals(x);
    for (int iteration = 0; iteration < 200 && largest(r) > 1e-15; ++iteration) {
        // Central differences: their error is far below the residuals' rounding near the root,
        // and the root itself does not depend on the Jacobian's accuracy.
        std::vector<std::vector<double>> jac(r.size(), std::vector<double>(n));
        for (std::size_t j = 0; j < n; ++j) {
            const double h = 1e-6 * std::max(1.0, std::abs(x[j]));
            std::vector<double> up = x, down = x;
            up[j] += h;
            down[j] -= h;
            const std::vector<double> ru = residuals(up), rd = residuals(down);
            for (std::size_t i = 0; i < r.size(); ++i)
                jac[i][j] = (ru[i] - rd[i]) / (2 * h);
        }
        std::vector<std::vector<double>> normal(n, std::vector<double>(n, 0.0));
        std::vector<double> rhs(n, 0.0);
        for (std::size_t i = 0; i < r.size(); ++i)
            for (std::size_t j = 0; j < n; ++j) {
                rhs[j] -= jac[i][j] * r[i];
                for (std::size_t k = 0; k < n; ++k)
                    normal[j][k] += jac[i][j] * jac[i][k];
            }
        const std::vector<double> step = solveLinear(normal, rhs);
        double t = 1;
        std::vector<double> next;
        std::vector<double> rn;
        for (int halving = 0; halving < 40; ++halving, t /= 2) {
            next = x;
            for (std::size_t j = 0; j < n; ++j)
                next[j] += t * step[j];
            rn = residuals(next);
            if (sumOfSquares(rn) < sumOfSquares(r)) break;
        }
        if (!(sumOfSquares(rn) < sumOfSquares(r))) break; // no further progress possible
        x = next;
        r = rn;
    }
    if (largest(r) > tolerance) throw std::runtime_error("least-squares solve did not converge");
    return x;
}

} // namespace gen
