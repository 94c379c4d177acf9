// The canonical form: a few sweeps of relaxation bring the mesh near it, a damped Gauss-Newton
// solver on the misses of tangency and planarity (with the faces' poles as unknowns beside the
// vertices) takes it the rest of the way, and boosts keep the touching points centred. Where the
// solver stalls, the relaxation with Anderson's acceleration carries on.
#include "canonical.h"

#include "conway.h"
#include "edgemap.h"
#include "point3d.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cmath>
#include <utility>
#include <vector>

namespace kesmora {

namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// The edges, the faces' corners and the per-vertex face counts, found once.
struct Incidence {
    std::vector<std::pair<int, int>> edges;
    std::vector<std::pair<int, int>> edgeFaces; // the two faces on each edge
    std::vector<std::pair<int, int>> corners; // face and vertex, for each corner of each face
    std::vector<double> perEdge; // per vertex: 1 / its number of edges
    std::vector<double> perFace; // per vertex: 1 / its number of faces
};

Incidence incidenceOf(const PolyMesh& mesh) {
    Incidence in;
    for (const MeshEdge& e : edgeMap(mesh.faces).edges) {
        in.edges.emplace_back(e.a, e.b);
        in.edgeFaces.emplace_back(e.sides[0].face, e.sides[1].face);
    }
    std::vector<int> edges(mesh.vertices.size()), faces(mesh.vertices.size());
    for (const auto& [a, b] : in.edges) {
        ++edges[at(a)];
        ++edges[at(b)];
    }
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f)
        for (int v : mesh.faces[at(f)]) {
            ++faces[at(v)];
            in.corners.emplace_back(f, v);
        }
    for (std::size_t v = 0; v < mesh.vertices.size(); ++v) {
        in.perEdge.push_back(edges[v] > 0 ? 1.0 / edges[v] : 0.0);
        in.perFace.push_back(faces[v] > 0 ? 1.0 / faces[v] : 0.0);
    }
    return in;
}

// The point of the line through a and b nearest to the origin.
Point3D nearestOnLine(const Point3D& a, const Point3D& b) {
    const Point3D d = b - a;
    const double dd = dot(d, d);
    return dd > 0 ? a - (dot(a, d) / dd) * d : a;
}

double residualOf(const PolyMesh& mesh, const Incidence& in) {
    double worst = 0;
    Point3D sum;
    for (const auto& [a, b] : in.edges) {
        const Point3D t = nearestOnLine(mesh.vertices[at(a)], mesh.vertices[at(b)]);
        sum = sum + t;
        worst = std::max(worst, std::fabs(norm(t) - 1));
    }
    if (!in.edges.empty()) worst = std::max(worst, norm(sum / static_cast<double>(in.edges.size())));
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f)
        worst = std::max(worst, flatness(mesh, f));
    return std::isfinite(worst) ? worst : INFINITY;
}

// Pulls every vertex towards the planes of its faces (each through the face's centroid across its
// Newell normal), by the mean of the pulls.
void planarityStep(PolyMesh& mesh, const Incidence& in, std::vector<Point3D>& pull) {
    std::fill(pull.begin(), pull.end(), Point3D{});
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
        const Point3D n = unit(areaNormal(mesh, f));
        const Point3D c = centroidOf(mesh, f);
        for (int v : mesh.faces[at(f)])
            pull[at(v)] = pull[at(v)] + dot(c - mesh.vertices[at(v)], n) * n;
    }
    for (std::size_t v = 0; v < mesh.vertices.size(); ++v)
        mesh.vertices[v] = mesh.vertices[v] + in.perFace[v] * pull[v];
}

// Moves the touching points' centroid towards the origin without spoiling what is done: a
// projective map that keeps the unit sphere (a Lorentz boost on homogeneous coordinates) takes
// lines to lines, planes to planes and a line touching the sphere to one touching it. Points of
// the sphere move away from the direction of `velocity` (|velocity| < 1), their centroid by about
// two thirds of it.
void boost(std::vector<Point3D>& points, const Point3D& velocity) {
    const double speed = norm(velocity);
    if (!(speed > 0)) return;
    const Point3D u = velocity / speed;
    const double gamma = 1 / std::sqrt(1 - speed * speed);
    for (Point3D& x : points) {
        const double w = gamma * (1 - dot(velocity, x));
        x = (x + ((gamma - 1) * dot(x, u)) * u - gamma * velocity) / w;
    }
}

Point3D touchingCentroid(const std::vector<Point3D>& points, const Incidence& in) {
    Point3D sum;
    for (const auto& [a, b] : in.edges)
        sum = sum + nearestOnLine(points[at(a)], points[at(b)]);
    return in.edges.empty() ? Point3D{} : sum / static_cast<double>(in.edges.size());
}

// Boosts the points (vertices and the faces' poles alike: the pole of a plane's image is the image
// of its pole) until the touching points' centroid lies within `tolerance` of the origin, each
// boost slow enough that no point reaches the plane it sends to infinity.
void recentre(std::vector<Point3D>& points, const Incidence& in, double tolerance) {
    for (int round = 0; round < 40; ++round) {
        const Point3D centroid = touchingCentroid(points, in);
        if (!(norm(centroid) > tolerance)) return;
        const Point3D velocity = 1.5 * centroid;
        double reach = 0;
        for (const Point3D& x : points)
            reach = std::max(reach, dot(x, velocity));
        const double speed = norm(velocity);
        double scale = speed > 0.3 ? 0.3 / speed : 1.0;
        if (reach * scale > 0.5) scale = 0.5 / reach;
        boost(points, scale * velocity);
    }
}

// One sweep of relaxation: every edge line pushed towards the unit sphere and every vertex pulled
// towards its faces' planes, each correction averaged over the edges or faces at a vertex, then
// the touching points' centroid boosted towards the origin. Slow to converge, but it stays with
// the shape it started from, where the solver below may find a surface folded over itself.
void relaxationStep(PolyMesh& mesh, const Incidence& in, std::vector<Point3D>& pull) {
    std::fill(pull.begin(), pull.end(), Point3D{});
    for (const auto& [a, b] : in.edges) {
        const Point3D t = nearestOnLine(mesh.vertices[at(a)], mesh.vertices[at(b)]);
        const double r = norm(t);
        if (!(r > 0)) continue;
        const Point3D push = ((1 - r) / r) * t;
        pull[at(a)] = pull[at(a)] + push;
        pull[at(b)] = pull[at(b)] + push;
    }
    for (std::size_t v = 0; v < mesh.vertices.size(); ++v)
        mesh.vertices[v] = mesh.vertices[v] + in.perEdge[v] * pull[v];
    planarityStep(mesh, in, pull);
    Point3D velocity = 1.5 * touchingCentroid(mesh.vertices, in);
    double reach = 0;
    for (const Point3D& x : mesh.vertices)
        reach = std::max(reach, dot(x, velocity));
    const double speed = norm(velocity);
    double scale = speed > 0.3 ? 0.3 / speed : 1.0;
    if (reach * scale > 0.5) scale = 0.5 / reach;
    boost(mesh.vertices, scale * velocity);
}

// Anderson's acceleration of the fixed-point iteration x <- G(x): the next x is the combination
// of the last few G values whose combined changes G(x) - x come nearest to zero. When a step's change grows far beyond the best seen, the history is dropped and the
// plain step taken.
class Accelerator {
  public:
    explicit Accelerator(std::size_t depth) : depth_(depth) {}

    // x holds the current point on entry and the next one on return; g is G(x).
    void next(std::vector<Point3D>& x, const std::vector<Point3D>& g) {
        const std::size_t n = x.size();
        std::vector<Point3D> f(n);
        double size = 0;
        for (std::size_t i = 0; i < n; ++i) {
            f[i] = g[i] - x[i];
            size += dot(f[i], f[i]);
        }
        if (!prevF_.empty() && size > 2 * lastSize_) {
            // The combination overshot: back to the plain step from the last point, afresh.
            x = prevG_;
            dF_.clear();
            dG_.clear();
            prevF_.clear();
            lastSize_ = INFINITY;
            return;
        }
        lastSize_ = size;
        best_ = prevF_.empty() ? size : std::min(best_, size);
        if (!prevF_.empty()) {
            std::vector<Point3D> df(n), dg(n);
            for (std::size_t i = 0; i < n; ++i) {
                df[i] = f[i] - prevF_[i];
                dg[i] = g[i] - prevG_[i];
            }
            dF_.push_back(std::move(df));
            dG_.push_back(std::move(dg));
            if (dF_.size() > depth_) {
                dF_.erase(dF_.begin());
                dG_.erase(dG_.begin());
            }
        }
        prevF_ = f;
        prevG_ = g;
        x = g;
        const std::size_t k = dF_.size();
        if (k == 0) return;
        // The normal equations (dF^T dF + lambda) gamma = dF^T f, solved by elimination.
        std::vector<std::vector<double>> a(k, std::vector<double>(k + 1));
        double trace = 0;
        for (std::size_t r = 0; r < k; ++r) {
            for (std::size_t c = r; c < k; ++c) {
                double sum = 0;
                for (std::size_t i = 0; i < n; ++i)
                    sum += dot(dF_[r][i], dF_[c][i]);
                a[r][c] = a[c][r] = sum;
            }
            double rhs = 0;
            for (std::size_t i = 0; i < n; ++i)
                rhs += dot(dF_[r][i], f[i]);
            a[r][k] = rhs;
            trace += a[r][r];
        }
        if (!(trace > 0)) return;
        for (std::size_t r = 0; r < k; ++r)
            a[r][r] += 1e-10 * trace / static_cast<double>(k);
        for (std::size_t c = 0; c < k; ++c) {
            std::size_t pivot = c;
            for (std::size_t r = c + 1; r < k; ++r)
                if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
            std::swap(a[c], a[pivot]);
            if (!(std::fabs(a[c][c]) > 0)) return;
            for (std::size_t r = 0; r < k; ++r) {
                if (r == c) continue;
                const double factor = a[r][c] / a[c][c];
                for (std::size_t j = c; j <= k; ++j)
                    a[r][j] -= factor * a[c][j];
            }
        }
        for (std::size_t c = 0; c < k; ++c) {
            const double gamma = a[c][k] / a[c][c];
            if (!std::isfinite(gamma)) return;
            for (std::size_t i = 0; i < n; ++i)
                x[i] = x[i] - gamma * dG_[c][i];
        }
    }

  private:
    std::size_t depth_;
    std::vector<std::vector<Point3D>> dF_, dG_;
    std::vector<Point3D> prevF_, prevG_;
    double best_ = 0;
    double lastSize_ = INFINITY;
};

// A symmetric 3 x 3 matrix: xx, yy, zz, xy, xz, yz.
struct Block {
    std::array<double, 6> m{};
    void addOuter(const Point3D& g) {
        m[0] += g.x * g.x;
        m[1] += g.y * g.y;
        m[2] += g.z * g.z;
        m[3] += g.x * g.y;
        m[4] += g.x * g.z;
        m[5] += g.y * g.z;
    }
    double trace() const { return m[0] + m[1] + m[2]; }
};

// The inverse of a block plus damping on its diagonal, applied to vectors; a plain scaling where
// the block is nearly singular.
struct InverseBlock {
    std::array<double, 6> m{};
    explicit InverseBlock(const Block& b = {}, double damping = 0) {
        const double xx = b.m[0] + damping, yy = b.m[1] + damping, zz = b.m[2] + damping;
        const double xy = b.m[3], xz = b.m[4], yz = b.m[5];
        const double cxx = yy * zz - yz * yz, cxy = xz * yz - xy * zz, cxz = xy * yz - xz * yy;
        const double det = xx * cxx + xy * cxy + xz * cxz;
        const double scale = std::max(xx + yy + zz, 1e-300);
        if (std::fabs(det) > 1e-12 * scale * scale * scale) {
            m = {cxx / det, (xx * zz - xz * xz) / det, (xx * yy - xy * xy) / det,
                 cxy / det, cxz / det,                 (xy * xz - xx * yz) / det};
        } else {
            const double d = 3 / scale;
            m = {d, d, d, 0, 0, 0};
        }
    }
    Point3D operator*(const Point3D& v) const {
        return {m[0] * v.x + m[3] * v.y + m[4] * v.z, m[3] * v.x + m[1] * v.y + m[5] * v.z,
                m[4] * v.x + m[5] * v.y + m[2] * v.z};
    }
};

double dotAll(const std::vector<Point3D>& a, const std::vector<Point3D>& b) {
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        sum += dot(a[i], b[i]);
    return sum;
}

// The least-squares problem whose zero is the canonical form up to centring. The unknowns are the
// vertices followed by one pole per face (the face's plane is {x : pole . x = 1}); the misses are
// each edge line's distance from the origin less 1 and, for each corner of each face,
// pole . vertex - 1. A boost (see `boost`) changes neither kind of zero, so centring is left to it.
class TangencyProblem {
  public:
    TangencyProblem(const Incidence& in, std::size_t vertexCount) : in_(in), vertexCount_(vertexCount) {}

    double cost(const std::vector<Point3D>& z) const {
        double sum = 0;
        for (const auto& [a, b] : in_.edges) {
            const double miss = lineDistance(z[at(a)], z[at(b)]) - 1;
            sum += miss * miss;
        }
        for (const auto& [f, v] : in_.corners) {
            const double miss = dot(z[pole(f)], z[at(v)]) - 1;
            sum += miss * miss;
        }
        return std::isfinite(sum) ? sum : INFINITY;
    }

    // Takes the misses and the edge rows' gradients at z.
    void linearise(const std::vector<Point3D>& z) {
        z_ = &z;
        const std::size_t edges = in_.edges.size();
        tangencyMiss_.assign(edges, 0);
        gradA_.assign(edges, {});
        gradB_.assign(edges, {});
        for (std::size_t e = 0; e < edges; ++e) {
            const Point3D& a = z[at(in_.edges[e].first)];
            const Point3D& b = z[at(in_.edges[e].second)];
            const Point3D c = cross(a, b), d = b - a;
            const double lc = norm(c), ld = norm(d);
            if (!(ld > 0)) continue;
            tangencyMiss_[e] = lc / ld - 1;
            if (!(lc > 0)) continue;
            const Point3D cu = c / lc, du = d / ld;
            // The distance is |a x b| / |b - a|.
            gradA_[e] = cross(b, cu) / ld + (lc / (ld * ld)) * du;
            gradB_[e] = cross(cu, a) / ld - (lc / (ld * ld)) * du;
        }
    }

    // g = J^T r at the linearised point.
    void gradient(std::vector<Point3D>& g) const {
        g.assign(z_->size(), {});
        scatter(tangencyMiss_, planarityMisses(), g);
    }

    // out = (J^T J + damping) v.
    void normalTimes(const std::vector<Point3D>& v, double damping, std::vector<Point3D>& out) const {
        std::vector<double> tangency(in_.edges.size()), planarity(in_.corners.size());
        for (std::size_t e = 0; e < in_.edges.size(); ++e)
            tangency[e] = dot(gradA_[e], v[at(in_.edges[e].first)]) + dot(gradB_[e], v[at(in_.edges[e].second)]);
        const std::vector<Point3D>& z = *z_;
        for (std::size_t k = 0; k < in_.corners.size(); ++k) {
            const auto [f, u] = in_.corners[k];
            planarity[k] = dot(z[pole(f)], v[at(u)]) + dot(z[at(u)], v[pole(f)]);
        }
        out.assign(v.size(), {});
        scatter(tangency, planarity, out);
        for (std::size_t i = 0; i < v.size(); ++i)
            out[i] = out[i] + damping * v[i];
    }

    // The 3 x 3 diagonal blocks of J^T J.
    std::vector<Block> diagonalBlocks() const {
        std::vector<Block> blocks(z_->size());
        for (std::size_t e = 0; e < in_.edges.size(); ++e) {
            blocks[at(in_.edges[e].first)].addOuter(gradA_[e]);
            blocks[at(in_.edges[e].second)].addOuter(gradB_[e]);
        }
        const std::vector<Point3D>& z = *z_;
        for (const auto& [f, v] : in_.corners) {
            blocks[at(v)].addOuter(z[pole(f)]);
            blocks[pole(f)].addOuter(z[at(v)]);
        }
        return blocks;
    }

    std::size_t pole(int face) const { return vertexCount_ + at(face); }

  private:
    static double lineDistance(const Point3D& a, const Point3D& b) {
        const double ld = norm(b - a);
        return ld > 0 ? norm(cross(a, b)) / ld : norm(a);
    }

    std::vector<double> planarityMisses() const {
        std::vector<double> misses(in_.corners.size());
        const std::vector<Point3D>& z = *z_;
        for (std::size_t k = 0; k < in_.corners.size(); ++k)
            misses[k] = dot(z[pole(in_.corners[k].first)], z[at(in_.corners[k].second)]) - 1;
        return misses;
    }

    // out += J^T (tangency rows, planarity rows).
    void scatter(const std::vector<double>& tangency, const std::vector<double>& planarity,
                 std::vector<Point3D>& out) const {
        for (std::size_t e = 0; e < in_.edges.size(); ++e) {
            Point3D& a = out[at(in_.edges[e].first)];
            Point3D& b = out[at(in_.edges[e].second)];
            a = a + tangency[e] * gradA_[e];
            b = b + tangency[e] * gradB_[e];
        }
        const std::vector<Point3D>& z = *z_;
        for (std::size_t k = 0; k < in_.corners.size(); ++k) {
            const auto [f, v] = in_.corners[k];
            out[at(v)] = out[at(v)] + planarity[k] * z[pole(f)];
            out[pole(f)] = out[pole(f)] + planarity[k] * z[at(v)];
        }
    }

    const Incidence& in_;
    std::size_t vertexCount_;
    const std::vector<Point3D>* z_ = nullptr;
    std::vector<double> tangencyMiss_;
    std::vector<Point3D> gradA_, gradB_;
};

// The poles of the faces' best-fitting planes (through the centroid across the Newell normal);
// a plane passing the origin on its outer side, or through it, gets the pole of the plane at unit
// distance, for the solver to sort out or fail on.
std::vector<Point3D> fittedPoles(const PolyMesh& mesh) {
    std::vector<Point3D> poles;
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
        const Point3D n = unit(areaNormal(mesh, f));
        const double h = dot(centroidOf(mesh, f), n);
        poles.push_back(h > 1e-3 ? n / h : n);
    }
    return poles;
}
// The mesh moved to its vertices' centroid and scaled so that its edge lines lie at mean distance 1
// from there: where the canonical form is to be found.
// How far a solver step may move a vertex, as a share of its shortest edge.
constexpr double kStepReach = 0.25;
// The misses below which the relaxation hands over to the solver.
constexpr double kNear = 1e-3;

PolyMesh normalised(const PolyMesh& mesh, const Incidence& in) {
    PolyMesh out = mesh;
    const Point3D centre = centroidOfPoints(mesh.vertices);
    for (Point3D& p : out.vertices)
        p = p - centre;
    double mean = 0;
    for (const auto& [a, b] : in.edges)
        mean += norm(nearestOnLine(out.vertices[at(a)], out.vertices[at(b)]));
    if (!in.edges.empty()) mean /= static_cast<double>(in.edges.size());
    if (mean > 0)
        for (Point3D& p : out.vertices)
            p = p / mean;
    return out;
}

// Whether the mesh bends outward at every edge, with every face plane passing the origin on its
// inner side: what tells a canonical form from a surface that met the conditions by folding over
// itself (a ring of faces can lay itself flat on the sphere).
bool bendsOutward(const PolyMesh& mesh, const Incidence& in) {
    const int faces = static_cast<int>(mesh.faces.size());
    std::vector<Point3D> normal(at(faces)), centre(at(faces));
    for (int f = 0; f < faces; ++f) {
        normal[at(f)] = unit(areaNormal(mesh, f));
        centre[at(f)] = centroidOf(mesh, f);
        if (!(dot(normal[at(f)], centre[at(f)]) > 1e-6)) return false;
    }
    for (const auto& [f, g] : in.edgeFaces) {
        if (f < 0 || g < 0) return false;
        for (const auto& [from, to] : {std::pair{f, g}, std::pair{g, f}})
            for (int v : mesh.faces[at(to)])
                if (dot(mesh.vertices[at(v)] - centre[at(from)], normal[at(from)]) > 1e-8) return false;
    }
    return true;
}

double worstFlatness(const PolyMesh& mesh) {
    double worst = 0;
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f)
        worst = std::max(worst, flatness(mesh, f));
    return std::isfinite(worst) ? worst : INFINITY;
}

// The mesh with its faces pulled towards planarity alone, kept where that helped and left its
// size; the mesh as given otherwise.
PolyMesh planarisedWith(const PolyMesh& mesh, const Incidence& in) {
    const double before = worstFlatness(mesh);
    const double size = extent(mesh);
    if (!(before > 1e-12 * size)) return mesh;
    PolyMesh out = mesh;
    std::vector<Point3D> pull(out.vertices.size());
    for (int step = 0; step < 2000; ++step) {
        planarityStep(out, in, pull);
        if (step % 50 == 49 && worstFlatness(out) < 1e-10 * size) break;
    }
    const double after = worstFlatness(out);
    const double grown = extent(out) / size;
    if (after < before && grown > 0.5 && grown < 2) return out;
    return mesh;
}

} // namespace

double canonicalResidual(const PolyMesh& mesh) {
    (void)dartsOf(mesh);
    return residualOf(mesh, incidenceOf(mesh));
}


CanonicalResult canonicalForm(const PolyMesh& mesh, const CanonicalOptions& options) {
    (void)dartsOf(mesh); // refuses what the solver cannot walk
    const Incidence in = incidenceOf(mesh);
    const std::size_t vertexCount = mesh.vertices.size();
    CanonicalResult result;
    result.mesh = normalised(mesh, in);
    const double first = residualOf(result.mesh, in);
    result.residual = first;

    double reported = 0;
    auto report = [&]() {
        if (!options.progress) return true;
        const double byResidual = first > options.tolerance && result.residual < first
                                      ? std::log(first / result.residual) / std::log(first / options.tolerance)
                                      : 0.0;
        const double bySteps = static_cast<double>(result.steps) / std::max(options.maxSteps, 1);
        // Never less than told before, though the misses may grow for a while.
        reported = std::clamp(std::max({reported, byResidual, bySteps}), 0.0, 1.0);
        if (options.progress(reported)) return true;
        result.cancelled = true;
        return false;
    };

    // Relaxation first, into the neighbourhood of the canonical form of the shape given.
    bool runaway = false;
    {
        std::vector<Point3D> pull(vertexCount);
        double lastCheck = result.residual;
        while (result.residual >= kNear && result.steps < options.maxSteps) {
            relaxationStep(result.mesh, in, pull);
            ++result.steps;
            if (result.steps % 16 != 0) continue;
            result.residual = residualOf(result.mesh, in);
            // A body running away or collapsing has no canonical form to find.
            runaway = !std::isfinite(result.residual) || extent(result.mesh) > 1e6;
            if (runaway || (result.steps % 128 == 0 && !report())) break;
            // Misses that stop shrinking are left to the solver.
            if (result.steps % 2048 == 0) {
                if (result.residual > 0.5 * lastCheck) break;
                lastCheck = result.residual;
            }
        }
    }

    // Damped Gauss-Newton (Levenberg-Marquardt) on the misses of tangency and planarity, each step
    // solved by conjugate gradients preconditioned with the 3 x 3 blocks of the normal matrix;
    // after each step a boost centres the touching points. A step counts one product with the
    // normal matrix, a pass over every edge and corner like one sweep of a relaxation.
    std::vector<Point3D> z = result.mesh.vertices;
    recentre(z, in, 0.01 * options.tolerance);
    {
        PolyMesh centred = result.mesh;
        centred.vertices = z;
        const std::vector<Point3D> poles = fittedPoles(centred);
        z.insert(z.end(), poles.begin(), poles.end());
    }
    TangencyProblem problem(in, vertexCount);
    double cost = problem.cost(z);
    double relative = 1e-3; // damping relative to the normal matrix's mean diagonal
    std::vector<Point3D> g, step(z.size()), r(z.size()), pz(z.size()), p(z.size()), q(z.size());
    std::vector<InverseBlock> preconditioner(z.size());
    const int reportEvery = 64;
    int sinceReport = 0;
    double bestResidual = result.residual;
    int sinceBetter = 0;
    auto residualNow = [&]() {
        std::copy(z.begin(), z.begin() + static_cast<std::ptrdiff_t>(vertexCount), result.mesh.vertices.begin());
        return residualOf(result.mesh, in);
    };
    result.residual = residualNow();
    while (!runaway && result.residual >= options.tolerance && result.steps < options.maxSteps &&
           !result.cancelled) {
        if (!report()) break;
        problem.linearise(z);
        problem.gradient(g);
        const std::vector<Block> blocks = problem.diagonalBlocks();
        double meanDiagonal = 0;
        for (const Block& b : blocks)
            meanDiagonal += b.trace();
        meanDiagonal /= 3.0 * static_cast<double>(std::max<std::size_t>(blocks.size(), 1));
        if (!(meanDiagonal > 0) || !std::isfinite(meanDiagonal)) break;
        // Solve more exactly as the misses shrink, so that the steps converge about quadratically,
        // but no more exactly than the tolerance needs.
        const double forcing =
            std::clamp(std::max(result.residual, 0.1 * options.tolerance / result.residual), 1e-10, 0.1);
        bool accepted = false;
        while (!accepted && result.steps < options.maxSteps && !result.cancelled) {
            const double damping = relative * meanDiagonal;
            for (std::size_t i = 0; i < z.size(); ++i)
                preconditioner[i] = InverseBlock(blocks[i], damping);
            std::fill(step.begin(), step.end(), Point3D{});
            for (std::size_t i = 0; i < z.size(); ++i)
                r[i] = -g[i];
            const double target = forcing * std::sqrt(dotAll(r, r));
            for (std::size_t i = 0; i < z.size(); ++i)
                pz[i] = preconditioner[i] * r[i];
            p = pz;
            double rz = dotAll(r, pz);
            while (result.steps < options.maxSteps) {
                problem.normalTimes(p, damping, q);
                ++result.steps;
                const double pq = dotAll(p, q);
                if (!(pq > 0)) break;
                const double alpha = rz / pq;
                for (std::size_t i = 0; i < z.size(); ++i) {
                    step[i] = step[i] + alpha * p[i];
                    r[i] = r[i] - alpha * q[i];
                }
                if (!(std::sqrt(dotAll(r, r)) > target)) break;
                if (++sinceReport >= reportEvery) {
                    sinceReport = 0;
                    if (!report()) break;
                }
                for (std::size_t i = 0; i < z.size(); ++i)
                    pz[i] = preconditioner[i] * r[i];
                const double rzNext = dotAll(r, pz);
                const double beta = rzNext / rz;
                rz = rzNext;
                for (std::size_t i = 0; i < z.size(); ++i)
                    p[i] = pz[i] + beta * p[i];
            }
            if (result.cancelled) break;
            // No vertex moves further than a share of its shortest edge in one step: longer steps
            // can fold the surface over onto another solution of the equations.
            double shorten = 1;
            for (std::size_t e = 0; e < in.edges.size(); ++e) {
                const std::size_t a = at(in.edges[e].first), b = at(in.edges[e].second);
                const double reach = kStepReach * norm(z[a] - z[b]);
                const double move = std::max(norm(step[a]), norm(step[b]));
                if (move * shorten > reach) shorten = reach / move;
            }
            std::vector<Point3D> tried = z;
            for (std::size_t i = 0; i < z.size(); ++i)
                tried[i] = tried[i] + shorten * step[i];
            const double triedCost = problem.cost(tried);
            if (triedCost < cost) {
                z = std::move(tried);
                recentre(z, in, 0.01 * options.tolerance);
                cost = problem.cost(z);
                relative = std::max(relative / 4, 1e-12);
                accepted = true;
            } else {
                relative *= 8;
                // No step downhill however short: stuck away from any canonical form.
                if (relative > 1e6) break;
            }
        }
        if (!accepted) break;
        result.residual = residualNow();
        // A body running away or collapsing has no canonical form to find; nor does one whose
        // misses stop shrinking.
        if (!std::isfinite(result.residual) || extent(result.mesh) > 1e6) break;
        if (result.residual < 0.5 * bestResidual) {
            bestResidual = result.residual;
            sinceBetter = 0;
        } else if (++sinceBetter > 8) {
            break;
        }
    }
    // Where the solver stalls (near a form whose equations are nearly dependent), the relaxation
    // with Anderson's acceleration goes on from where it got to, as far as the step limit allows.
    if (!result.cancelled && std::isfinite(result.residual) && result.residual >= options.tolerance &&
        result.residual < kNear) {
        std::vector<Point3D> pull(vertexCount);
        Accelerator accelerator(6);
        PolyMesh stepped = result.mesh;
        double lastCheck = result.residual;
        int sinceCheck = 0;
        while (result.residual >= options.tolerance && result.steps < options.maxSteps) {
            for (int i = 0; i < 16; ++i) {
                stepped.vertices = result.mesh.vertices;
                relaxationStep(stepped, in, pull);
                accelerator.next(result.mesh.vertices, stepped.vertices);
            }
            result.steps += 16;
            sinceCheck += 16;
            result.residual = residualOf(result.mesh, in);
            if (!std::isfinite(result.residual) || extent(result.mesh) > 1e6) break;
            if (sinceCheck >= 2048) {
                if (result.residual > 0.5 * lastCheck) break;
                lastCheck = result.residual;
                sinceCheck = 0;
            }
            if (result.steps % 128 == 0 && !report()) break;
        }
    }
    result.converged =
        !result.cancelled && result.residual < options.tolerance && bendsOutward(result.mesh, in);
    if (!result.converged) result.mesh = planarisedWith(mesh, in);
    return result;
}

PolyMesh planarised(const PolyMesh& mesh) {
    (void)dartsOf(mesh);
    return planarisedWith(mesh, incidenceOf(mesh));
}

PolyMesh canonicalDual(const PolyMesh& mesh) {
    // The surface is walked (and refused where it cannot be) before any face is measured: a face
    // may name a vertex the mesh does not have.
    const auto darts = dartsOf(mesh);
    PolyMesh out;
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
        const Point3D n = unit(areaNormal(mesh, f));
        out.vertices.push_back(n / dot(centroidOf(mesh, f), n));
    }
    out.faces = dualTopology(darts).faces;
    return out;
}

} // namespace kesmora
