// Unfolding a solid into the plane: a spanning tree of its faces whose faces, laid out side by
// side, do not overlap.
#include "unfold.h"

#include "geometry/edgemap.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <queue>

namespace kesmora {

// Each face in its own plane, turned so that it reads counter-clockwise from outside.
std::vector<Polygon> flatFaces(const Mesh& mesh) {
    std::vector<Polygon> out;
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
        const auto& face = mesh.faces[f];
        const Point3D origin = mesh.vertices[face[0]];
        const Point3D x = unit(mesh.vertices[face[1]] - origin);
        const Point3D y = cross(unit(areaNormal(mesh, f)), x);
        Polygon p;
        for (int v : face)
            p.push_back({dot(mesh.vertices[v] - origin, x), dot(mesh.vertices[v] - origin, y)});
        out.push_back(std::move(p));
    }
    return out;
}

double totalTurning(const Polygon& p) {
    double turning = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const QPointF u = p[(i + 1) % p.size()] - p[i], w = p[(i + 2) % p.size()] - p[(i + 1) % p.size()];
        turning += std::atan2(cross2(u, w), dot2(u, w));
    }
    return turning;
}

bool windsMoreThanOnce(const Polygon& p) {
    return std::abs(totalTurning(p)) > 3 * std::numbers::pi;
}

bool isConvex(const Polygon& p, double tolerance) {
    for (std::size_t i = 0; i < p.size(); ++i) {
        const QPointF& a = p[i];
        const QPointF& b = p[(i + 1) % p.size()];
        const QPointF& c = p[(i + 2) % p.size()];
        if (cross2(b - a, c - b) < -tolerance * length2(b - a)) return false;
    }
    // Turning the same way at every corner is not enough: a pentagram does that too, but goes
    // round twice. A convex polygon turns through one full revolution.
    return totalTurning(p) < 3 * std::numbers::pi;
}

namespace {

QRectF bounds(const Polygon& p) {
    double x0 = p[0].x(), x1 = x0, y0 = p[0].y(), y1 = y0;
    for (const QPointF& q : p) {
        x0 = std::min(x0, q.x()), x1 = std::max(x1, q.x());
        y0 = std::min(y0, q.y()), y1 = std::max(y1, q.y());
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

struct Tree {
    std::vector<int> parent, parentSide;
    std::string name;
};

const FaceSide& otherSide(const MeshEdge& e, int face) {
    return e.sides[0].face == face ? e.sides[1] : e.sides[0];
}

// A spanning tree of the faces over the edges allowed to fold, breadth first or depth first from
// `root`; empty when the allowed edges leave some face unreached.
std::optional<Tree> faceTree(const EdgeMap& map, const std::vector<bool>& mayFold, int root, bool depthFirst,
                             std::string name) {
    const std::size_t n = map.firstSide.size() - 1;
    Tree t{std::vector<int>(n, -2), std::vector<int>(n, -1), std::move(name)};
    t.parent[root] = -1;
    std::size_t reached = 1;
    std::vector<int> pending{
        root}; // a stack for depth first, a queue (read from the front) for breadth first
    std::size_t front = 0;
    while (front < pending.size()) {
        const int f = depthFirst ? pending.back() : pending[front];
        bool grew = false;
        for (int e : map.sidesOf(f)) {
            const FaceSide& s = otherSide(map.edges[e], f);
            if (!mayFold[e] || t.parent[s.face] != -2) continue;
            t.parent[s.face] = f;
            t.parentSide[s.face] = s.index;
            pending.push_back(s.face);
            ++reached;
            grew = true;
            if (depthFirst) break; // go deeper at once; f is looked at again when its branch is done
        }
        if (!depthFirst)
            ++front;
        else if (!grew)
            pending.pop_back();
        if (depthFirst && pending.empty()) break;
    }
    if (reached != n) return std::nullopt;
    return t;
}

// Cuts, for every vertex but the highest in direction c, its steepest edge upward; the edges left
// uncut fold the faces together.
std::optional<Tree> steepestEdgeTree(const Mesh& mesh, const EdgeMap& map, const Point3D& c,
                                     std::string name) {
    const std::vector<MeshEdge>& edges = map.edges;
    const std::size_t n = mesh.vertices.size();
    std::vector<int> best(n, -1);
    std::vector<double> steepest(n, -INFINITY);
    for (int e = 0; e < static_cast<int>(edges.size()); ++e) {
        const Point3D d = mesh.vertices[edges[e].b] - mesh.vertices[edges[e].a];
        const double slope = dot(c, d) / norm(d);
        if (slope > steepest[edges[e].a]) steepest[edges[e].a] = slope, best[edges[e].a] = e;
        if (-slope > steepest[edges[e].b]) steepest[edges[e].b] = -slope, best[edges[e].b] = e;
    }
    std::vector<bool> mayFold(edges.size(), true);
    for (std::size_t v = 0; v < n; ++v)
        if (best[v] >= 0 && steepest[v] > 0) mayFold[best[v]] = false;
    return faceTree(map, mayFold, 0, false, std::move(name));
}

Net layOut(const Mesh& mesh, const std::vector<Polygon>& flat, const Tree& t) {
    const std::size_t n = mesh.faces.size();
    Net net{std::vector<Polygon>(n), t.parent, t.parentSide, t.name};
    std::vector<std::vector<int>> children(n);
    int root = 0;
    for (std::size_t f = 0; f < n; ++f) {
        if (t.parent[f] < 0)
            root = static_cast<int>(f);
        else
            children[t.parent[f]].push_back(static_cast<int>(f));
    }
    net.faces[root] = flat[root];
    std::queue<int> todo;
    todo.push(root);
    while (!todo.empty()) {
        const int f = todo.front();
        todo.pop();
        for (int g : children[f]) {
            const auto& gf = mesh.faces[g];
            const int j = t.parentSide[g];
            const int gj = gf[j], gj1 = gf[(j + 1) % gf.size()];
            // The parent runs through the shared edge the other way: from gj1 to gj.
            const auto& ff = mesh.faces[f];
            int i = 0;
            while (!(ff[i] == gj1 && ff[(i + 1) % ff.size()] == gj))
                ++i;
            const QPointF P = net.faces[f][i], Q = net.faces[f][(i + 1) % ff.size()];
            const QPointF A = flat[g][j], B = flat[g][(j + 1) % gf.size()];
            const double turn = std::atan2((P - Q).y(), (P - Q).x()) - std::atan2((B - A).y(), (B - A).x());
            const double cs = std::cos(turn), sn = std::sin(turn);
            Polygon placed;
            for (const QPointF& p : flat[g]) {
                const QPointF r = p - A;
                placed.push_back(Q + QPointF(cs * r.x() - sn * r.y(), sn * r.x() + cs * r.y()));
            }
            // The turn leaves the far end of the fold a rounding error off its parent's corner;
            // a slit that thin would still show in print.
            placed[j] = Q;
            placed[(j + 1) % gf.size()] = P;
            net.faces[g] = std::move(placed);
            todo.push(g);
        }
    }
    return net;
}

bool anyOverlap(const std::vector<Polygon>& faces, double tolerance) {
    std::vector<QRectF> boxes;
    for (const Polygon& p : faces)
        boxes.push_back(bounds(p));
    for (std::size_t i = 0; i < faces.size(); ++i)
        for (std::size_t j = i + 1; j < faces.size(); ++j) {
            const QRectF& a = boxes[i];
            const QRectF& b = boxes[j];
            if (a.right() < b.left() + tolerance || b.right() < a.left() + tolerance ||
                a.bottom() < b.top() + tolerance || b.bottom() < a.top() + tolerance)
                continue;
            if (convexPolygonsOverlap(faces[i], faces[j], tolerance)) return true;
        }
    return false;
}

// Directions spread evenly over the sphere (a Fibonacci lattice), after the three axes both ways.
std::vector<Point3D> directions(int count) {
    std::vector<Point3D> out{{0, 0, 1}, {0, 0, -1}, {0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}};
    const double golden = std::numbers::pi * (3 - std::sqrt(5.0));
    for (int i = 0; i < count; ++i) {
        const double z = 1 - 2 * (i + 0.5) / count;
        const double r = std::sqrt(1 - z * z);
        // Turned off the lattice's own axis so that no direction is level with a face of the
        // axis-aligned solids, which would make "steepest" a tie.
        out.push_back(unit(Point3D{r * std::cos(golden * i) + 0.0123, r * std::sin(golden * i) + 0.0071, z}));
    }
    return out;
}

} // namespace

bool convexPolygonsOverlap(const Polygon& a, const Polygon& b, double tolerance) {
    for (const Polygon* p : {&a, &b}) {
        for (std::size_t i = 0; i < p->size(); ++i) {
            const QPointF d = (*p)[(i + 1) % p->size()] - (*p)[i];
            const double len = length2(d);
            if (len == 0) continue;
            const QPointF axis(-d.y() / len, d.x() / len);
            double a0 = INFINITY, a1 = -INFINITY, b0 = INFINITY, b1 = -INFINITY;
            for (const QPointF& q : a)
                a0 = std::min(a0, dot2(q, axis)), a1 = std::max(a1, dot2(q, axis));
            for (const QPointF& q : b)
                b0 = std::min(b0, dot2(q, axis)), b1 = std::max(b1, dot2(q, axis));
            if (std::min(a1, b1) - std::max(a0, b0) <= tolerance) return false;
        }
    }
    return true;
}

namespace {

// The spanning trees the search tries, in its order: steepest-edge cut trees over many directions,
// then breadth-first and depth-first face trees from every face.
class Candidates {
  public:
    explicit Candidates(const Mesh& mesh)
        : mesh_(mesh), map_(edgeMap(mesh.faces)), dirs_(directions(200)), all_(map_.edges.size(), true),
          flat_(flatFaces(mesh)) {
        double longest = 0;
        for (const MeshEdge& e : map_.edges)
            longest = std::max(longest, norm(mesh.vertices[e.b] - mesh.vertices[e.a]));
        tolerance_ = 1e-6 * longest;
    }

    bool closed() const {
        return std::all_of(map_.edges.begin(), map_.edges.end(),
                           [](const MeshEdge& e) { return e.sides[1].face >= 0; });
    }
    int count() const { return static_cast<int>(dirs_.size() + 2 * mesh_.faces.size()); }
    double tolerance() const { return tolerance_; }

    std::optional<Tree> tree(int index) const {
        if (index < 0 || index >= count()) return std::nullopt;
        const auto i = static_cast<std::size_t>(index);
        if (i < dirs_.size())
            return steepestEdgeTree(mesh_, map_, dirs_[i], "steepest edge " + std::to_string(i));
        const std::size_t j = i - dirs_.size();
        const bool depthFirst = j >= mesh_.faces.size();
        const int root = static_cast<int>(depthFirst ? j - mesh_.faces.size() : j);
        return faceTree(map_, all_, root, depthFirst,
                        (depthFirst ? "depth first from face " : "breadth first from face ") +
                            std::to_string(root));
    }

    Net laidOut(const Tree& t) const { return layOut(mesh_, flat_, t); }

  private:
    const Mesh& mesh_;
    EdgeMap map_;
    std::vector<Point3D> dirs_;
    std::vector<bool> all_;
    std::vector<Polygon> flat_;
    double tolerance_ = 0;
};

// Cuts the net, breadth first from its root, wherever a face would lie on a face already in its
// parent's piece: that face starts a piece of its own, which its branch follows.
void cutWhereOverlapping(Net& net, double tolerance) {
    const std::size_t n = net.faces.size();
    std::vector<std::vector<int>> children(n);
    std::vector<int> order;
    for (std::size_t f = 0; f < n; ++f) {
        if (net.parent[f] < 0)
            order.push_back(static_cast<int>(f));
        else
            children[static_cast<std::size_t>(net.parent[f])].push_back(static_cast<int>(f));
    }
    std::vector<int> pieceOf(n, -1);
    std::vector<std::vector<int>> members;
    std::vector<QRectF> boxes;
    for (const Polygon& p : net.faces)
        boxes.push_back(bounds(p));
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto g = static_cast<std::size_t>(order[i]);
        for (int c : children[g])
            order.push_back(c);
        if (net.parent[g] >= 0) {
            std::vector<int>& piece = members[static_cast<std::size_t>(pieceOf[net.parent[g]])];
            const bool overlaps = std::any_of(piece.begin(), piece.end(), [&](int h) {
                const QRectF& a = boxes[g];
                const QRectF& b = boxes[static_cast<std::size_t>(h)];
                return !(a.right() < b.left() + tolerance || b.right() < a.left() + tolerance ||
                         a.bottom() < b.top() + tolerance || b.bottom() < a.top() + tolerance) &&
                       convexPolygonsOverlap(net.faces[g], net.faces[static_cast<std::size_t>(h)], tolerance);
            });
            if (!overlaps) {
                pieceOf[g] = pieceOf[net.parent[g]];
                piece.push_back(static_cast<int>(g));
                continue;
            }
            net.parent[g] = -1;
            net.parentSide[g] = -1;
        }
        pieceOf[g] = static_cast<int>(members.size());
        members.push_back({static_cast<int>(g)});
    }
}

} // namespace

std::optional<Net> unfold(const Mesh& mesh, const std::function<bool(const Net&)>& accept) {
    const Candidates candidates(mesh);
    if (!candidates.closed()) return std::nullopt;
    for (int i = 0; i < candidates.count(); ++i) {
        const std::optional<Tree> tree = candidates.tree(i);
        if (!tree) continue;
        Net net = candidates.laidOut(*tree);
        if (anyOverlap(net.faces, candidates.tolerance())) continue;
        if (accept && !accept(net)) continue;
        return net;
    }
    return std::nullopt;
}

std::optional<Net> unfoldInPieces(const Mesh& mesh, int tree) {
    const Candidates candidates(mesh);
    if (!candidates.closed()) return std::nullopt;
    const std::optional<Tree> t = candidates.tree(tree);
    if (!t) return std::nullopt;
    Net net = candidates.laidOut(*t);
    cutWhereOverlapping(net, candidates.tolerance());
    return net;
}

} // namespace kesmora
