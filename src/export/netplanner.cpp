// Planning a net for the paper: its scale, the pieces that fit the page, slits and glue tabs.
#include "netplanner.h"

#include <QRectF>

#include <algorithm>
#include <climits>
#include <cmath>
#include <tuple>

namespace kesmora::nets {

namespace {

// Cuts the fold from one of `candidates` to its parent where the two parts of its piece of
// `pieceSize` faces come out nearest in size: the face's branch (it and every face of the piece
// that folds to it, directly or not) and the rest. False when there is no candidate.
bool cutMostEvenly(Net& net, const Plan& p, const std::vector<int>& candidates, int pieceSize) {
    const std::size_t n = net.faces.size();
    std::vector<std::vector<int>> children(n);
    for (std::size_t f = 0; f < n; ++f)
        if (net.parent[f] >= 0 && p.pieceOf[net.parent[f]] == p.pieceOf[f])
            children[net.parent[f]].push_back(static_cast<int>(f));
    int best = -1, bestSmaller = -1;
    for (int f : candidates) {
        std::vector<int> branch{f};
        for (std::size_t i = 0; i < branch.size(); ++i)
            branch.insert(branch.end(), children[branch[i]].begin(), children[branch[i]].end());
        const int below = static_cast<int>(branch.size());
        if (const int smaller = std::min(below, pieceSize - below); smaller > bestSmaller)
            best = f, bestSmaller = smaller;
    }
    if (best < 0) return false;
    net.parent[best] = -1;
    net.parentSide[best] = -1;
    return true;
}

} // namespace

Planner::Planner(const Mesh& mesh, double edgeMillimetres, QSizeF room, NetTabs tabs)
    : mesh_(mesh), map_(edgeMap(mesh.faces)), flat_(flatFaces(mesh)), edge_(edgeMillimetres), room_(room),
      tabs_(tabs) {
    for (const MeshEdge& e : map_.edges) {
        longest_ = std::max(longest_, norm(mesh.vertices[e.b] - mesh.vertices[e.a]));
        shortest_ = std::min(shortest_, norm(mesh.vertices[e.b] - mesh.vertices[e.a]));
    }
}

bool Planner::facesFit() const {
    if (edge_ <= 0) return true;
    for (const Polygon& p : flat_) {
        std::vector<QPointF> points;
        for (const QPointF& q : p)
            points.push_back(q * (edge_ / longest_));
        if (fittingTurn(points, room_) < 0) return false;
    }
    return true;
}

std::optional<Plan> Planner::plan(const Net& net, bool refuseSlits, bool* slit) const {
    Plan p = laidOut(net, 1);
    if (slit) *slit = false;
    // Tabs first: on nearly flat solids they fail on every tree, and sooner than the slits are found.
    if (!placeTabs(p)) return std::nullopt;
    if (refuseSlits && slitIn(p)) {
        if (slit) *slit = true;
        return std::nullopt;
    }
    return p;
}

std::optional<Plan> Planner::planInPieces(Net& net, double shrink) const {
    for (std::size_t cuts = 0; cuts <= net.faces.size(); ++cuts) {
        Plan p = laidOut(net, shrink);
        std::optional<std::pair<int, int>> apart = slitIn(p);
        if (!apart) {
            std::pair<int, int> trouble{-1, -1};
            if (placeTabs(p, &trouble)) return p;
            apart = trouble;
        }
        if (!separate(net, p, apart->first, apart->second)) return std::nullopt;
    }
    return std::nullopt;
}

namespace {

// Face g placed across its side j onto the placed face f, whose side runs the other way: the two
// share the fold's corners exactly.
Polygon placedAcross(const Mesh& mesh, const std::vector<Polygon>& flat, const Polygon& onF, int f, int g, int j) {
    const auto& gf = mesh.faces[g];
    const auto& ff = mesh.faces[f];
    const int gj = gf[j], gj1 = gf[(j + 1) % gf.size()];
    std::size_t i = 0;
    while (i < ff.size() && !(ff[i] == gj1 && ff[(i + 1) % ff.size()] == gj))
        ++i;
    if (i == ff.size()) return {};
    const QPointF P = onF[i], Q = onF[(i + 1) % ff.size()];
    const QPointF A = flat[g][j], B = flat[g][(j + 1) % gf.size()];
    const double angle = std::atan2((P - Q).y(), (P - Q).x()) - std::atan2((B - A).y(), (B - A).x());
    Polygon placed;
    for (const QPointF& p : flat[g])
        placed.push_back(Q + turn(p - A, angle));
    placed[j] = Q;
    placed[(j + 1) % gf.size()] = P;
    return placed;
}

} // namespace

Net Planner::compactPieces(double share, Growth growth) const {
    const double largest = share * room_.width() * room_.height();
    const int n = static_cast<int>(mesh_.faces.size());
    const double scale = edge_ > 0 ? edge_ / longest_ : 1;
    const double tolerance = 1e-6 * longest_;
    Net net{std::vector<Polygon>(n), std::vector<int>(n, -1), std::vector<int>(n, -1), "compact pieces"};
    std::vector<int> pieceOf(n, -1);
    std::vector<double> area(n);
    for (int f = 0; f < n; ++f)
        area[f] = polygonArea(flat_[f]);
    auto freeAround = [&](int f) {
        int count = 0;
        for (int e : map_.sidesOf(f))
            count += pieceOf[map_.edges[e].other(f)] < 0;
        return count;
    };
    // Whether g, placed, keeps clear of the piece's faces other than its parent f: no overlap, and
    // no corner nearer another face's side than a tab is wide, unless the two share that vertex.
    auto clear = [&](const std::vector<int>& members, int f, int g, const Polygon& placed) {
        const QRectF box = boundsOf(placed, kTabMax / scale);
        for (int h : members) {
            const Polygon& other = net.faces[h];
            if (!box.intersects(boundsOf(other, 0))) continue;
            if (convexPolygonsOverlap(placed, other, tolerance)) return false;
            if (h == f) continue;
            for (auto [a, b, pa, pb] : {std::tuple{g, h, &placed, &other}, std::tuple{h, g, &other, &placed}}) {
                const auto& va = mesh_.faces[a];
                const auto& vb = mesh_.faces[b];
                for (std::size_t k = 0; k < va.size(); ++k)
                    for (std::size_t m = 0; m < vb.size(); ++m) {
                        if (vb[m] == va[k] || vb[(m + 1) % vb.size()] == va[k]) continue;
                        const QPointF from = (*pb)[m], to = (*pb)[(m + 1) % vb.size()];
                        const double room = std::min(kTabMax, 0.3 * scale * length2(to - from));
                        if (scale * distanceToSegment((*pa)[k], from, to) < room) return false;
                    }
            }
        }
        return true;
    };
    for (int piece = 0;; ++piece) {
        int seed = -1;
        for (int f = 0; f < n; ++f)
            if (pieceOf[f] < 0 &&
                (seed < 0 || freeAround(f) < freeAround(seed) ||
                 (freeAround(f) == freeAround(seed) && area[f] > area[seed] * (1 + 1e-9))))
                seed = f;
        if (seed < 0) break;
        pieceOf[seed] = piece;
        net.faces[seed] = flat_[seed];
        std::vector<int> members{seed};
        std::vector<QPointF> corners(flat_[seed].begin(), flat_[seed].end());
        QPointF weighted = centroid2(flat_[seed]) * area[seed];
        double total = area[seed];
        for (;;) {
            struct Candidate {
                double cost;
                int f, g, side;
                Polygon placed;
            };
            std::vector<Candidate> candidates;
            const QPointF middle = weighted / total;
            for (int f : members)
                for (int e : map_.sidesOf(f)) {
                    const MeshEdge& m = map_.edges[e];
                    const FaceSide& s = m.sides[0].face == f ? m.sides[1] : m.sides[0];
                    if (s.face < 0 || pieceOf[s.face] >= 0) continue;
                    Polygon placed = placedAcross(mesh_, flat_, net.faces[f], f, s.face, s.index);
                    if (placed.empty()) continue;
                    double cost = length2(centroid2(placed) - middle);
                    if (growth == Growth::Filling) {
                        std::vector<QPointF> points = corners;
                        points.insert(points.end(), placed.begin(), placed.end());
                        cost = polygonArea(hullOf(std::move(points))) - total - area[s.face];
                    }
                    candidates.push_back({cost, f, s.face, s.index, std::move(placed)});
                }
            std::stable_sort(candidates.begin(), candidates.end(),
                             [](const Candidate& a, const Candidate& b) { return a.cost < b.cost; });
            bool grew = false;
            for (Candidate& c : candidates) {
                std::vector<QPointF> points = corners;
                points.insert(points.end(), c.placed.begin(), c.placed.end());
                points = hullOf(std::move(points));
                for (QPointF& q : points)
                    q *= scale;
                if (polygonArea(points) > largest || fittingTurn(points, room_) < 0 || !clear(members, c.f, c.g, c.placed)) continue;
                pieceOf[c.g] = piece;
                net.parent[c.g] = c.f;
                net.parentSide[c.g] = c.side;
                corners.insert(corners.end(), c.placed.begin(), c.placed.end());
                corners = hullOf(std::move(corners));
                weighted += centroid2(c.placed) * area[c.g];
                total += area[c.g];
                net.faces[c.g] = std::move(c.placed);
                members.push_back(c.g);
                grew = true;
                break;
            }
            if (!grew) break;
        }
    }
    return net;
}

double Planner::scaleOf(const Plan& p) const {
    const auto& f = mesh_.faces[0];
    return length2(p.faces[0][1] - p.faces[0][0]) / norm(mesh_.vertices[f[1]] - mesh_.vertices[f[0]]);
}

Plan Planner::laidOut(const Net& net, double shrink) const {
    Plan p{net, {}, {}, 1, {}, {}};
    std::vector<QPointF> all;
    for (const Polygon& f : net.faces)
        all.insert(all.end(), f.begin(), f.end());
    const double scale = edge_ > 0 ? edge_ / longest_ : fittingScale(all, room_) * (1 - 1e-9) * shrink;
    // y turns downward on the page: mirrored here, the printed side folds into the solid and
    // not into its mirror image.
    for (const Polygon& f : net.faces) {
        Polygon q;
        for (const QPointF& c : f)
            q.push_back(QPointF(scale * c.x(), -scale * c.y()));
        p.faces.push_back(std::move(q));
    }
    split(p);
    p.fold.assign(map_.edges.size(), false);
    for (std::size_t e = 0; e < map_.edges.size(); ++e) {
        const MeshEdge& m = map_.edges[e];
        for (int k : {0, 1}) {
            const FaceSide s = m.sides[k], o = m.sides[1 - k];
            if (net.parent[s.face] == o.face && net.parentSide[s.face] == s.index &&
                p.pieceOf[s.face] == p.pieceOf[o.face])
                p.fold[e] = true;
        }
    }
    return p;
}

// Cuts the fold on the way from face a to face b within their piece that leaves the two parts
// nearest in size; false when there is none, as for a face in its own way.
bool Planner::separate(Net& net, const Plan& p, int a, int b) {
    const std::size_t n = net.faces.size();
    if (a < 0 || b < 0 || a == b || static_cast<std::size_t>(std::max(a, b)) >= n ||
        p.pieceOf[a] != p.pieceOf[b])
        return false;
    std::vector<bool> aboveA(n, false);
    for (int f = a; f >= 0; f = net.parent[f])
        aboveA[f] = true;
    int meet = b;
    while (meet >= 0 && !aboveA[meet])
        meet = net.parent[meet];
    if (meet < 0) return false;
    std::vector<int> way; // the faces whose fold to their parent lies on the way
    for (int f : {a, b})
        for (; f != meet; f = net.parent[f])
            way.push_back(f);
    const int pieceSize = static_cast<int>(std::count(p.pieceOf.begin(), p.pieceOf.end(), p.pieceOf[a]));
    return cutMostEvenly(net, p, way, pieceSize);
}

bool Planner::halve(Net& net, const Plan& p, int piece) {
    const int n = static_cast<int>(net.faces.size());
    std::vector<int> folds; // the faces of the piece that fold to a face of it
    for (int f = 0; f < n; ++f)
        if (p.pieceOf[f] == piece && net.parent[f] >= 0 && p.pieceOf[net.parent[f]] == piece) folds.push_back(f);
    const int size = static_cast<int>(std::count(p.pieceOf.begin(), p.pieceOf.end(), piece));
    return cutMostEvenly(net, p, folds, size);
}

bool Planner::join(Net& net, const Plan& p, int e) const {
    if (e < 0 || static_cast<std::size_t>(e) >= map_.edges.size()) return false;
    const MeshEdge& m = map_.edges[static_cast<std::size_t>(e)];
    const int f = m.sides[0].face, g = m.sides[1].face;
    const int i = m.sides[0].index, j = m.sides[1].index;
    if (f < 0 || g < 0 || p.pieceOf[f] == p.pieceOf[g]) return false;
    // Each piece its own tree: a fold the plan cut stays cut.
    for (std::size_t h = 0; h < net.faces.size(); ++h)
        if (net.parent[h] >= 0 && p.pieceOf[net.parent[h]] != p.pieceOf[h])
            net.parent[h] = -1, net.parentSide[h] = -1;
    const Polygon& onF = net.faces[f];
    const Polygon& onG = net.faces[g];
    const std::size_t nf = onF.size(), ng = onG.size();
    // The side runs the other way in g: its corner j lies on f's corner i + 1.
    const QPointF P = onF[(i + 1) % nf], Q = onF[i];
    const QPointF A = onG[j], B = onG[(j + 1) % ng];
    const double angle = std::atan2((Q - P).y(), (Q - P).x()) - std::atan2((B - A).y(), (B - A).x());
    const QPointF movedA = P + turn(A - A, angle), movedB = P + turn(B - A, angle);
    std::vector<int> moving;
    for (std::size_t h = 0; h < net.faces.size(); ++h)
        if (p.pieceOf[h] == p.pieceOf[g]) moving.push_back(static_cast<int>(h));
    std::vector<Polygon> moved;
    for (int h : moving) {
        Polygon q;
        for (const QPointF& c : net.faces[h]) {
            QPointF to = P + turn(c - A, angle);
            // The corners on the joined side land exactly on f's, wherever they are shared.
            if (to == movedA) to = P;
            if (to == movedB) to = Q;
            q.push_back(to);
        }
        moved.push_back(std::move(q));
    }
    const double tolerance = 1e-6 * longest_;
    for (std::size_t h = 0; h < net.faces.size(); ++h) {
        if (p.pieceOf[h] != p.pieceOf[f]) continue;
        const QRectF box = boundsOf(net.faces[h], 0);
        for (const Polygon& q : moved)
            if (box.intersects(boundsOf(q, 0)) && convexPolygonsOverlap(q, net.faces[h], tolerance))
                return false;
    }
    for (std::size_t k = 0; k < moving.size(); ++k)
        net.faces[moving[k]] = std::move(moved[k]);
    // g's piece hangs from g now: the folds on the way from g up to its root turn round.
    std::vector<int> way{g};
    while (net.parent[way.back()] >= 0 && p.pieceOf[net.parent[way.back()]] == p.pieceOf[g])
        way.push_back(net.parent[way.back()]);
    for (std::size_t k = way.size() - 1; k > 0; --k) {
        const int child = way[k - 1], up = way[k];
        const auto& c = mesh_.faces[child];
        const int s = net.parentSide[child];
        const int u = c[s], w = c[(s + 1) % c.size()];
        const auto& faceUp = mesh_.faces[up];
        int side = -1;
        for (std::size_t t = 0; t < faceUp.size(); ++t)
            if (faceUp[t] == w && faceUp[(t + 1) % faceUp.size()] == u) side = static_cast<int>(t);
        if (side < 0) return false; // cannot happen on a closed mesh turned outward
        net.parent[up] = child;
        net.parentSide[up] = side;
    }
    net.parent[g] = f;
    net.parentSide[g] = j;
    return true;
}

std::vector<QPointF> Planner::cornersOf(const Plan& p, const std::vector<int>& faces) const {
    std::vector<QPointF> out;
    for (int f : faces)
        out.insert(out.end(), p.faces[f].begin(), p.faces[f].end());
    return out;
}

// Cuts folds until every piece fits the page: each time the largest branch that fits on its
// own becomes a piece of its own.
void Planner::split(Plan& p) const {
    const int n = static_cast<int>(p.faces.size());
    p.pieceOf.assign(n, 0);
    p.pieces = static_cast<int>(
        std::count_if(p.net.parent.begin(), p.net.parent.end(), [](int f) { return f < 0; }));
    if (edge_ <= 0 && p.pieces == 1) return;
    std::vector<std::vector<int>> children(n);
    std::vector<int> roots;
    for (int f = 0; f < n; ++f)
        (p.net.parent[f] < 0 ? roots : children[p.net.parent[f]]).push_back(f);
    // A net already in pieces: one per root.
    for (int piece = 0; piece < p.pieces; ++piece) {
        std::vector<int> branch{roots[piece]};
        for (std::size_t i = 0; i < branch.size(); ++i) {
            p.pieceOf[branch[i]] = piece;
            branch.insert(branch.end(), children[branch[i]].begin(), children[branch[i]].end());
        }
    }
    if (edge_ <= 0) return;
    auto branch = [&](int top) {
        std::vector<int> out{top};
        for (std::size_t i = 0; i < out.size(); ++i)
            for (int c : children[out[i]])
                if (p.pieceOf[c] == p.pieceOf[top]) out.push_back(c);
        return out;
    };
    for (std::size_t r = 0; r < roots.size(); ++r) {
        while (fittingTurn(cornersOf(p, branch(roots[r])), room_) < 0) {
            std::vector<std::vector<int>> branches;
            for (int f : branch(roots[r]))
                if (f != roots[r]) branches.push_back(branch(f));
            std::stable_sort(branches.begin(), branches.end(),
                             [](const auto& a, const auto& b) { return a.size() > b.size(); });
            bool cut = false;
            for (const auto& b : branches) {
                if (fittingTurn(cornersOf(p, b), room_) < 0) continue;
                for (int f : b)
                    p.pieceOf[f] = p.pieces;
                ++p.pieces;
                roots.push_back(b.front());
                cut = true;
                break;
            }
            if (!cut) break; // cannot happen once every face fits alone
        }
    }
}

// Two faces of a piece whose arms come closer than a tab is wide, if any. Where a cut runs, the
// two faces on either side of it open a wedge, from nothing at its end to wider and wider along
// it: the corners of one vertex, or a corner beside a side of the same vertex, may come that
// close.
std::optional<std::pair<int, int>> Planner::slitIn(const Plan& p) const {
    const int n = static_cast<int>(p.faces.size());
    std::vector<QRectF> boxes;
    for (const Polygon& f : p.faces)
        boxes.push_back(boundsOf(f, kTabMax));
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            if (p.pieceOf[i] != p.pieceOf[j] || !boxes[i].intersects(boxes[j])) continue;
            if (p.net.parent[i] == j || p.net.parent[j] == i) continue;
            for (auto [a, b] : {std::pair{i, j}, std::pair{j, i}}) {
                const auto& va = mesh_.faces[a];
                const auto& vb = mesh_.faces[b];
                const Polygon& pb = p.faces[b];
                for (std::size_t k = 0; k < va.size(); ++k)
                    for (std::size_t m = 0; m < vb.size(); ++m) {
                        if (vb[m] == va[k] || vb[(m + 1) % vb.size()] == va[k]) continue;
                        const QPointF from = pb[m], to = pb[(m + 1) % pb.size()];
                        // As wide as a full tab on that side, so that one fits there.
                        const double room = std::min(kTabMax, 0.3 * length2(to - from));
                        if (distanceToSegment(p.faces[a][k], from, to) < room) return std::pair{i, j};
                    }
            }
        }
    return std::nullopt;
}

// A trapezoid on face side s, glued under the partner face t: its ends lean in no further
// than `leanA` and `leanB` and the partner's corners allow, and it is no deeper than half the
// partner, so that it lies inside the partner once glued. Where the two faces of a cut edge
// meet at a sharp corner of the net, only a slim tab with a steep end fits between them.
std::optional<Polygon> Planner::tabShape(const Plan& p, FaceSide s, FaceSide t, double share, double leanA,
                                         double leanB) const {
    const Polygon& own = p.faces[s.face];
    const Polygon& partner = p.faces[t.face];
    const std::size_t n = own.size(), m = partner.size();
    const QPointF a = own[s.index], b = own[(s.index + 1) % n];
    const double len = length2(b - a);
    const QPointF d = (b - a) / len;
    QPointF out(-d.y(), d.x());
    if (dot2(out, centroid2(own) - a) > 0) out = -out;
    // The partner runs through the edge the other way: its corner t.index + 1 is our a.
    const double atA = std::min(leanA, 0.8 * cornerAngle(partner, (t.index + 1) % m));
    const double atB = std::min(leanB, 0.8 * cornerAngle(partner, t.index));
    const double inset = 1 / std::tan(atA) + 1 / std::tan(atB);
    const double normal = std::min({kTabMax, 0.3 * len, 0.5 * depthOver(partner, t.index)});
    double h = share * normal;
    h = std::min(h, 0.85 * len / inset); // the tab keeps a top side of some length
    // A sliver cannot be glued: no tab keeps less than half the width the edge would have. Where
    // neither side of an edge has room for more, the net is cut elsewhere.
    if (!(h > kMinTab) || h < 0.5 * normal * (1 - 1e-9)) return std::nullopt;
    return Polygon{a, b, b + h * out - h / std::tan(atB) * d, a + h * out + h / std::tan(atA) * d};
}

// One tab on every glue edge, on the side where it lies on nothing else of its piece. Where one
// does not fit, `apart` (when given) gets a face that tab would go on and a face in its way, or
// -1 and -1 when no tab fits even alone.
bool Planner::placeTabs(Plan& p, std::pair<int, int>* apart) const {
    std::vector<QRectF> faceBoxes;
    for (const Polygon& f : p.faces)
        faceBoxes.push_back(boundsOf(f, 0));
    std::vector<std::vector<int>> facesOfPiece(p.pieces);
    for (std::size_t f = 0; f < p.faces.size(); ++f)
        facesOfPiece[p.pieceOf[f]].push_back(static_cast<int>(f));
    struct Placed {
        Polygon corners;
        QRectF box;
        int face;
    };
    std::vector<std::vector<Placed>> tabsOfPiece(p.pieces);
    // The first face of the piece the tab would lie on, or that of a tab it would lie on; -1
    // when it lies on nothing.
    auto inTheWay = [&](const Polygon& tab, int piece) {
        const QRectF box = boundsOf(tab, 0);
        for (int f : facesOfPiece[piece])
            if (box.intersects(faceBoxes[f]) && convexPolygonsOverlap(tab, p.faces[f], 1e-3)) return f;
        for (const Placed& other : tabsOfPiece[piece])
            if (box.intersects(other.box) && convexPolygonsOverlap(tab, other.corners, 1e-3))
                return other.face;
        return -1;
    };
    auto isFree = [&](const Polygon& tab, int piece) { return inTheWay(tab, piece) < 0; };
    // Ends leaning in less and less; the pairs in the order of their steeper end.
    static const std::vector<std::pair<double, double>> leans = [] {
        const double steps[] = {43, 28, 18, 11, 7, 4.5, 3, 2};
        std::vector<std::pair<double, double>> out;
        for (double x : steps)
            for (double y : steps)
                out.push_back({x * kDegree, y * kDegree});
        std::stable_sort(out.begin(), out.end(), [](const auto& u, const auto& v) {
            return std::min(u.first, u.second) > std::min(v.first, v.second);
        });
        return out;
    }();
    int glueEdges = 0;
    for (std::size_t e = 0; e < map_.edges.size(); ++e) {
        if (p.fold[e]) continue;
        const MeshEdge& m = map_.edges[e];
        // The sides a tab may go on, in the order tried; with tabs on both sides, each in turn.
        const int first = tabs_ == NetTabs::Alternating ? glueEdges % 2 : 0;
        ++glueEdges;
        std::vector<std::vector<int>> rounds{{first, 1 - first}};
        if (tabs_ == NetTabs::BothSides) rounds = {{0}, {1}};
        for (const std::vector<int>& sides : rounds) {
            std::optional<Tab> found;
            for (double share : {1.0, 0.6})
                for (const auto& [leanA, leanB] : leans)
                    for (int k : sides) {
                        if (found) break;
                        const auto tab = tabShape(p, m.sides[k], m.sides[1 - k], share, leanA, leanB);
                        if (tab && isFree(*tab, p.pieceOf[m.sides[k].face])) found = Tab{m.sides[k], *tab};
                    }
            if (!found) {
                if (apart) *apart = inTheWayOf(p, m, leans, inTheWay);
                return false;
            }
            const int piece = p.pieceOf[found->side.face];
            tabsOfPiece[piece].push_back({found->corners, boundsOf(found->corners, 0), found->side.face});
            p.tabs.push_back(std::move(*found));
        }
    }
    return true;
}

// For a glue edge without room for a tab: the face whose tab would lie on the fewest faces of
// its piece, and the face of the first thing in that tab's way; -1 and -1 when no tab fits on
// the edge even where nothing is in the way.
template <class InTheWay>
std::pair<int, int> Planner::inTheWayOf(const Plan& p, const MeshEdge& m,
                                        const std::vector<std::pair<double, double>>& leans,
                                        const InTheWay& inTheWay) const {
    std::pair<int, int> best{-1, -1};
    int fewest = INT_MAX;
    for (double share : {1.0, 0.6})
        for (const auto& [leanA, leanB] : leans)
            for (int k : {0, 1}) {
                const auto tab = tabShape(p, m.sides[k], m.sides[1 - k], share, leanA, leanB);
                if (!tab) continue;
                const int face = m.sides[k].face;
                const int piece = p.pieceOf[face];
                int count = 0;
                const QRectF box = boundsOf(*tab, 0);
                for (std::size_t f = 0; f < p.faces.size(); ++f)
                    if (p.pieceOf[f] == piece && box.intersects(boundsOf(p.faces[f], 0)) &&
                        convexPolygonsOverlap(*tab, p.faces[f], 1e-3))
                        ++count;
                const int first = inTheWay(*tab, piece);
                count = std::max(count, 1); // lying on tabs alone counts as on one face
                if (count < fewest) fewest = count, best = {face, first};
            }
    return best;
}

} // namespace kesmora::nets
