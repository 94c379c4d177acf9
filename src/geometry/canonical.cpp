// The canonical form by relaxation: each step pushes every edge line towards the unit sphere,
// moves the touching points' centroid to the origin and pulls every vertex towards its faces'
// planes, each correction averaged over the edges or faces at a vertex.
#include "canonical.h"

#include "conway.h"
#include "edgemap.h"
#include "point3d.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace kesmora {

namespace {

std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// The edges and the per-vertex counts the steps average over, found once.
struct Incidence {
    std::vector<std::pair<int, int>> edges;
    std::vector<std::pair<int, int>> edgeFaces; // the two faces on each edge
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
    for (const auto& face : mesh.faces)
        for (int v : face)
            ++faces[at(v)];
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
void boost(PolyMesh& mesh, const Point3D& velocity) {
    const double speed = norm(velocity);
    if (!(speed > 0)) return;
    const Point3D u = velocity / speed;
    const double gamma = 1 / std::sqrt(1 - speed * speed);
    for (Point3D& x : mesh.vertices) {
        const double w = gamma * (1 - dot(velocity, x));
        x = (x + ((gamma - 1) * dot(x, u)) * u - gamma * velocity) / w;
    }
}

Point3D touchingCentroid(const PolyMesh& mesh, const Incidence& in) {
    Point3D sum;
    for (const auto& [a, b] : in.edges)
        sum = sum + nearestOnLine(mesh.vertices[at(a)], mesh.vertices[at(b)]);
    return in.edges.empty() ? Point3D{} : sum / static_cast<double>(in.edges.size());
}

void canonicalStep(PolyMesh& mesh, const Incidence& in, std::vector<Point3D>& pull) {
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
    // Slow enough that no vertex reaches the plane the boost sends to infinity (x . v = 1).
    Point3D velocity = 1.5 * touchingCentroid(mesh, in);
    double reach = 0;
    for (const Point3D& x : mesh.vertices)
        reach = std::max(reach, dot(x, velocity));
    const double speed = norm(velocity);
    double scale = speed > 0.3 ? 0.3 / speed : 1.0;
    if (reach * scale > 0.5) scale = 0.5 / reach;
    boost(mesh, scale * velocity);
}

// Anderson's acceleration of the fixed-point iteration x <- G(x): the next x is the combination
// of the last few G values whose combined changes G(x) - x come nearest to zero. The steps
// converge only linearly, slowly where faces are many; this takes them there in a fraction of
// the steps. When a step's change grows far beyond the best seen, the history is dropped and the
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

// The mesh moved to its vertices' centroid and scaled so that its edge lines lie at mean distance 1
// from there: where the canonical form is to be found.
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
    (void)dartsOf(mesh); // refuses what the steps cannot walk
    const Incidence in = incidenceOf(mesh);
    CanonicalResult result;
    result.mesh = normalised(mesh, in);
    std::vector<Point3D> pull(mesh.vertices.size());
    const double first = residualOf(result.mesh, in);
    result.residual = first;
    const int checkEvery = 16;
    double lastCheck = first;
    Accelerator accelerator(6);
    double reported = 0;
    PolyMesh stepped = result.mesh;
    while (result.residual >= options.tolerance && result.steps < options.maxSteps) {
        // Far from the canonical form the combinations can lead astray; near it they speed up.
        const bool accelerate = result.residual < 1e-2;
        for (int i = 0; i < checkEvery; ++i) {
            if (!accelerate) {
                canonicalStep(result.mesh, in, pull);
                continue;
            }
            stepped.vertices = result.mesh.vertices;
            canonicalStep(stepped, in, pull);
            accelerator.next(result.mesh.vertices, stepped.vertices);
        }
        result.steps += checkEvery;
        result.residual = residualOf(result.mesh, in);
        // A body running away or collapsing has no canonical form to find.
        if (!std::isfinite(result.residual) || extent(result.mesh) > 1e6) break;
        // Nor does one whose misses stop shrinking.
        if (result.steps % 2048 == 0) {
            if (result.residual > 0.5 * lastCheck) break;
            lastCheck = result.residual;
        }
        if (options.progress && result.steps % (checkEvery * 8) == 0) {
            const double byResidual = first > options.tolerance && result.residual < first
                                          ? std::log(first / result.residual) / std::log(first / options.tolerance)
                                          : 0.0;
            const double bySteps = static_cast<double>(result.steps) / options.maxSteps;
            // Never less than told before, though the misses may grow for a while.
            reported = std::clamp(std::max({reported, byResidual, bySteps}), 0.0, 1.0);
            if (!options.progress(reported)) {
                result.cancelled = true;
                break;
            }
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
