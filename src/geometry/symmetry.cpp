// Finding a mesh's symmetries and naming their group.
#include "symmetry.h"

#include "point3d.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>

namespace kesmora {

Point3D applied(const Matrix3& m, const Point3D& p) {
    return {m[0] * p.x + m[1] * p.y + m[2] * p.z, m[3] * p.x + m[4] * p.y + m[5] * p.z,
            m[6] * p.x + m[7] * p.y + m[8] * p.z};
}

namespace {

constexpr double kMatrixTolerance = 1e-6;

double determinant(const Matrix3& m) {
    return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
           m[2] * (m[3] * m[7] - m[4] * m[6]);
}

Matrix3 negated(const Matrix3& m) {
    Matrix3 r{};
    for (std::size_t i = 0; i < 9; ++i)
        r[i] = -m[i];
    return r;
}

bool isIdentity(const Matrix3& m) {
    for (std::size_t i = 0; i < 9; ++i)
        if (std::fabs(m[i] - (i % 4 == 0 ? 1.0 : 0.0)) > kMatrixTolerance) return false;
    return true;
}

// The orthonormal frame of two directions that are not on one line: the first, the second made
// square to it, and their cross product (or its opposite).
std::array<Point3D, 3> frameOf(const Point3D& a, const Point3D& b, bool mirrored) {
    const Point3D e1 = unit(a);
    const Point3D e2 = unit(b - dot(b, e1) * e1);
    const Point3D e3 = cross(e1, e2);
    return {e1, e2, mirrored ? -e3 : e3};
}

// The matrix taking frame `from` to frame `to`.
Matrix3 between(const std::array<Point3D, 3>& from, const std::array<Point3D, 3>& to) {
    Matrix3 m{};
    for (std::size_t i = 0; i < 3; ++i) {
        const Point3D& f = to[i];
        const Point3D& e = from[i];
        const double fr[3] = {f.x, f.y, f.z}, ec[3] = {e.x, e.y, e.z};
        for (std::size_t r = 0; r < 3; ++r)
            for (std::size_t c = 0; c < 3; ++c)
                m[r * 3 + c] += fr[r] * ec[c];
    }
    return m;
}

// A proper rotation's axis (unit) and angle in [0, pi]; the angle is 0 for the identity.
struct Turn {
    Point3D axis;
    double angle = 0;
};

Turn turnOf(const Matrix3& r) {
    const double cosine = std::clamp((r[0] + r[4] + r[8] - 1) / 2, -1.0, 1.0);
    Turn t;
    t.angle = std::acos(cosine);
    const Point3D twiceSine{r[7] - r[5], r[2] - r[6], r[3] - r[1]};
    if (norm(twiceSine) > 1e-4) {
        t.axis = unit(twiceSine);
        return t;
    }
    // A half turn (or none): R + I has the axis in each of its columns, times twice its component.
    const Point3D columns[3] = {{r[0] + 1, r[3], r[6]}, {r[1], r[4] + 1, r[7]}, {r[2], r[5], r[8] + 1}};
    const Point3D* best = &columns[0];
    for (const Point3D& c : columns)
        if (norm(c) > norm(*best)) best = &c;
    t.axis = unit(*best);
    return t;
}

// A direction without its sense: the first clearly non-zero component made positive.
Point3D lineOf(Point3D d) {
    const double first = std::fabs(d.x) > 1e-6 ? d.x : std::fabs(d.y) > 1e-6 ? d.y : d.z;
    return first < 0 ? -d : d;
}

bool sameLine(const Point3D& a, const Point3D& b) {
    return norm(cross(a, b)) < 1e-5;
}

struct Axis {
    Point3D direction;
    int turns = 0; // rotations other than the identity about it
    int order() const { return turns + 1; }
};

} // namespace

SymmetryGroup classifySymmetry(std::vector<Matrix3> elements) {
    SymmetryGroup g;
    g.elements = std::move(elements);
    g.order = static_cast<int>(g.elements.size());
    g.found = true;
    std::vector<Axis> axes;
    std::vector<Point3D> mirrorNormals;
    bool inversion = false, improper = false;
    for (const Matrix3& m : g.elements) {
        const bool proper = determinant(m) > 0;
        if (proper) {
            if (isIdentity(m)) continue;
            const Point3D direction = lineOf(turnOf(m).axis);
            auto at = std::find_if(axes.begin(), axes.end(),
                                   [&](const Axis& a) { return sameLine(a.direction, direction); });
            if (at == axes.end()) axes.push_back({direction, 1});
            else ++at->turns;
            continue;
        }
        improper = true;
        const Matrix3 r = negated(m);
        if (isIdentity(r)) {
            inversion = true;
            continue;
        }
        const Turn t = turnOf(r);
        if (std::fabs(t.angle - std::numbers::pi) < 1e-5) mirrorNormals.push_back(lineOf(t.axis));
    }
    g.chiral = !improper;
    const int rotations = g.order / (improper ? 2 : 1);
    int highAxes = 0, principalOrder = 1;
    const Axis* principal = nullptr;
    for (const Axis& a : axes) {
        if (a.order() >= 3) ++highAxes;
        if (a.order() > principalOrder) {
            principalOrder = a.order();
            principal = &a;
        }
    }
    const auto hasMirrorAcross = [&](const Point3D& axis) {
        return std::any_of(mirrorNormals.begin(), mirrorNormals.end(),
                           [&](const Point3D& n) { return sameLine(n, axis); });
    };
    if (highAxes >= 2) {
        const std::string base = principalOrder >= 5 ? "I" : principalOrder == 4 ? "O" : "T";
        if (!improper) g.name = base;
        else if (inversion) g.name = base + "h";
        else g.name = base + "d";
        return g;
    }
    const int n = principalOrder;
    const std::string count = std::to_string(n);
    if (rotations == 2 * n && n >= 2) {
        // Dihedral: n half-turn axes square to the principal one. With three half-turn axes (D2),
        // any of them will do as the principal one for the mirror across it.
        bool across = principal != nullptr && hasMirrorAcross(principal->direction);
        if (n == 2) across = mirrorNormals.size() == 3;
        if (!improper) g.name = "D" + count;
        else if (across) g.name = "D" + count + "h";
        else g.name = "D" + count + "d";
        return g;
    }
    if (n == 1) {
        if (!improper) g.name = "C1";
        else if (inversion) g.name = "Ci";
        else g.name = "Cs";
        return g;
    }
    if (!improper) g.name = "C" + count;
    else if (principal != nullptr && hasMirrorAcross(principal->direction)) g.name = "C" + count + "h";
    else if (!mirrorNormals.empty()) g.name = "C" + count + "v";
    else g.name = "S" + std::to_string(2 * n);
    return g;
}

namespace {

// Points sorted by x, so that those within the tolerance of a point are found among the few whose x
// is, not among all.
class PointIndex {
  public:
    PointIndex(const std::vector<Point3D>& points, double tolerance, const std::vector<int>& which = {})
        : points_(points), tolerance_(tolerance) {
        if (which.empty()) {
            for (int i = 0; i < static_cast<int>(points.size()); ++i)
                byX_.push_back({points[static_cast<std::size_t>(i)].x, i});
        } else {
            for (int i : which)
                byX_.push_back({points[static_cast<std::size_t>(i)].x, i});
        }
        std::sort(byX_.begin(), byX_.end());
    }

    // The lowest-numbered point within the tolerance of q that `allowed` accepts, or -1.
    template <typename Allowed> int firstNear(const Point3D& q, Allowed allowed) const {
        int best = -1;
        auto it = std::lower_bound(byX_.begin(), byX_.end(), std::pair<double, int>{q.x - tolerance_, -1});
        for (; it != byX_.end() && it->first <= q.x + tolerance_; ++it) {
            const int j = it->second;
            if ((best >= 0 && j > best) || !allowed(j)) continue;
            const Point3D d = q - points_[static_cast<std::size_t>(j)];
            if (std::fabs(d.y) <= tolerance_ && std::fabs(d.z) <= tolerance_ && norm(d) <= tolerance_) best = j;
        }
        return best;
    }

  private:
    const std::vector<Point3D>& points_;
    double tolerance_;
    std::vector<std::pair<double, int>> byX_;
};

} // namespace

SymmetryGroup symmetryGroup(const PolyMesh& mesh, double relativeTolerance) {
    const Matrix3 identity{1, 0, 0, 0, 1, 0, 0, 0, 1};
    SymmetryGroup none;
    none.elements = {identity};
    const std::size_t count = mesh.vertices.size();
    const Point3D centre = centroidOfPoints(mesh.vertices);
    std::vector<Point3D> p;
    p.reserve(count);
    double size = 0;
    for (const Point3D& v : mesh.vertices) {
        p.push_back(v - centre);
        size = std::max(size, norm(p.back()));
    }
    if (!(size > 0)) return none;
    const double tolerance = relativeTolerance * size;

    // Vertices on one point (the corners that touching parts of a compound keep each) are one
    // place: each vertex is named by the first vertex at its place.
    std::vector<int> place(count);
    std::vector<int> places;
    const PointIndex all(p, tolerance);
    for (std::size_t i = 0; i < count; ++i) {
        // The first vertex at this point, found among those sorted by x.
        const int first = all.firstNear(p[i], [&](int j) { return j <= static_cast<int>(i); });
        place[i] = first < static_cast<int>(i) ? place[static_cast<std::size_t>(first)] : static_cast<int>(i);
        if (place[i] == static_cast<int>(i)) places.push_back(place[i]);
    }
    const PointIndex placed(p, tolerance, places);

    // Faces by their corners' places as a set, and the edges along their boundaries.
    std::set<std::vector<int>> faceSet;
    std::vector<std::pair<int, int>> edges;
    for (const auto& face : mesh.faces) {
        bool valid = true;
        for (int v : face)
            valid = valid && v >= 0 && static_cast<std::size_t>(v) < count;
        if (!valid) return none;
        std::vector<int> corners;
        for (int v : face)
            corners.push_back(place[static_cast<std::size_t>(v)]);
        const std::vector<int> boundary = corners;
        std::sort(corners.begin(), corners.end());
        faceSet.insert(corners);
        for (std::size_t k = 0; k < boundary.size(); ++k) {
            const int a = boundary[k], b = boundary[(k + 1) % boundary.size()];
            if (a != b) {
                edges.push_back({a, b});
                edges.push_back({b, a});
            }
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    // The reference: the edge whose ends are farthest from one line through the centre. Where
    // every edge runs through the centre (a dual whose corners sit there), any two vertices will
    // do, and every pair of vertices is a candidate image.
    int refA = -1, refB = -1;
    double spread = 0;
    const auto chooseReference = [&] {
        for (const auto& [a, b] : edges) {
            const double s = norm(cross(p[static_cast<std::size_t>(a)], p[static_cast<std::size_t>(b)]));
            if (s > spread) {
                spread = s;
                refA = a;
                refB = b;
            }
        }
    };
    chooseReference();
    if (refA < 0 || spread < 1e-3 * size * size) {
        edges.clear();
        for (int a : places)
            for (int b : places)
                if (a != b) edges.push_back({a, b});
        spread = 0;
        chooseReference();
    }
    if (refA < 0 || spread < 1e-3 * size * size) return none;
    const Point3D& pa = p[static_cast<std::size_t>(refA)];
    const Point3D& pb = p[static_cast<std::size_t>(refB)];
    const auto reference = frameOf(pa, pb, false);

    std::vector<Matrix3> found;
    std::vector<int> image(count);
    std::vector<int> mapped;
    for (const auto& [a, b] : edges) {
        const Point3D& qa = p[static_cast<std::size_t>(a)];
        const Point3D& qb = p[static_cast<std::size_t>(b)];
        if (std::fabs(norm(qa) - norm(pa)) > tolerance || std::fabs(norm(qb) - norm(pb)) > tolerance ||
            std::fabs(norm(qa - qb) - norm(pa - pb)) > tolerance)
            continue;
        for (bool mirrored : {false, true}) {
            const Matrix3 m = between(reference, frameOf(qa, qb, mirrored));
            bool ok = true;
            for (int i : places) {
                const int match =
                    placed.firstNear(applied(m, p[static_cast<std::size_t>(i)]), [](int) { return true; });
                image[static_cast<std::size_t>(i)] = match;
                if (match < 0) {
                    ok = false;
                    break;
                }
            }
            for (auto face = mesh.faces.begin(); face != mesh.faces.end() && ok; ++face) {
                mapped.clear();
                for (int v : *face)
                    mapped.push_back(image[static_cast<std::size_t>(place[static_cast<std::size_t>(v)])]);
                std::sort(mapped.begin(), mapped.end());
                ok = faceSet.count(mapped) > 0;
            }
            if (ok) found.push_back(m);
        }
    }
    // The identity is always among them; put it first.
    const auto self = std::find_if(found.begin(), found.end(), isIdentity);
    if (self == found.end()) return none;
    std::iter_swap(found.begin(), self);
    return classifySymmetry(std::move(found));
}

} // namespace kesmora
