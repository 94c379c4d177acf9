// Laying a net out for the model builder: scale, pieces that fit the page, tabs, glue numbers and
// the sheets the pieces go on.
#include "netlayout.h"

#include "geometry/edgemap.h"
#include "geometry/reciprocal.h"

#include <QRectF>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <numeric>

namespace kesmora {

namespace {

// Millimetres on the sheet.
constexpr double kMargin = 8; // printers leave the border of the page white
constexpr double kHeader = 17;
constexpr double kFooter = 6;
constexpr double kTabMax = 6;
constexpr double kGap = 4;      // between pieces on a sheet
constexpr double kMinTab = 0.3; // a tab less deep than this cannot be glued
constexpr int kShortestEdge = 3;
constexpr int kTurns = 90; // page turns tried, 2 degrees apart

constexpr double kDegree = std::numbers::pi / 180;

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
    std::vector<QPointF> t;
    t.reserve(points.size());
    for (const QPointF& p : points)
        t.push_back(turn(p, radians));
    return boundsOf(t).size();
}

bool fitsIn(const QSizeF& s, const QSizeF& room) {
    return s.width() <= room.width() && s.height() <= room.height();
}

// The first page turn at which the points fit the room, or -1.
int fittingTurn(const std::vector<QPointF>& points, const QSizeF& room) {
    for (int k = 0; k < kTurns; ++k)
        if (fitsIn(turnedSize(points, k * 2 * kDegree), room)) return k;
    return -1;
}

// The largest scale at which the points, turned the best way, fit the room.
double fittingScale(const std::vector<QPointF>& points, const QSizeF& room) {
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

// Distance of the polygon's corners other than those of side k from the line of that side.
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

QRectF boundsOf(const Polygon& p, double grow) {
    return boundsOf(std::vector<QPointF>(p.begin(), p.end())).adjusted(-grow, -grow, grow, grow);
}

struct Tab {
    FaceSide side;
    Polygon corners;
};

// Everything about one net before it goes on the sheets, in millimetres, mirrored for the page.
struct Plan {
    Net net;
    std::vector<Polygon> faces;
    std::vector<int> pieceOf;
    int pieces = 1;
    std::vector<bool> fold; // per edge
    std::vector<Tab> tabs;
};

class Planner {
  public:
    Planner(const Mesh& mesh, double edgeMillimetres, QSizeF room)
        : mesh_(mesh), map_(edgeMap(mesh.faces)), flat_(flatFaces(mesh)), edge_(edgeMillimetres),
          room_(room) {
        for (const MeshEdge& e : map_.edges) {
            longest_ = std::max(longest_, norm(mesh.vertices[e.b] - mesh.vertices[e.a]));
            shortest_ = std::min(shortest_, norm(mesh.vertices[e.b] - mesh.vertices[e.a]));
        }
    }

    double longest() const { return longest_; }
    double shortest() const { return shortest_; }
    const EdgeMap& map() const { return map_; }

    // Whether every face, alone, fits the page at the asked size.
    bool facesFit() const {
        if (edge_ <= 0) return true;
        for (const Polygon& p : flat_) {
            std::vector<QPointF> points;
            for (const QPointF& q : p)
                points.push_back(q * (edge_ / longest_));
            if (fittingTurn(points, room_) < 0) return false;
        }
        return true;
    }

    std::optional<Plan> plan(const Net& net, bool refuseSlits) const {
        Plan p = laidOut(net, 1);
        if (refuseSlits && slitIn(p)) return std::nullopt;
        if (!placeTabs(p)) return std::nullopt;
        return p;
    }

    // The net cut into more pieces until each has room for its tabs and none has a slit: each time
    // the two faces in the way of each other go to different pieces, at worst down to single faces.
    // The cuts stay in `net`. Without a length asked for, the scale is `shrink` times the one at
    // which the whole net fits the page.
    std::optional<Plan> planInPieces(Net& net, double shrink) const {
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

    // The plan's scale: millimetres per unit of the mesh.
    double scaleOf(const Plan& p) const {
        const auto& f = mesh_.faces[0];
        return length2(p.faces[0][1] - p.faces[0][0]) / norm(mesh_.vertices[f[1]] - mesh_.vertices[f[0]]);
    }

  private:
    Plan laidOut(const Net& net, double shrink) const {
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
    static bool separate(Net& net, const Plan& p, int a, int b) {
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
        std::vector<std::vector<int>> children(n);
        for (std::size_t f = 0; f < n; ++f)
            if (net.parent[f] >= 0 && p.pieceOf[net.parent[f]] == p.pieceOf[f])
                children[net.parent[f]].push_back(static_cast<int>(f));
        auto sizeBelow = [&](int top) {
            std::vector<int> branch{top};
            for (std::size_t i = 0; i < branch.size(); ++i)
                branch.insert(branch.end(), children[branch[i]].begin(), children[branch[i]].end());
            return static_cast<int>(branch.size());
        };
        const int pieceSize = static_cast<int>(std::count(p.pieceOf.begin(), p.pieceOf.end(), p.pieceOf[a]));
        int best = -1, bestSmaller = -1;
        for (int f : way) {
            const int below = sizeBelow(f);
            if (const int smaller = std::min(below, pieceSize - below); smaller > bestSmaller)
                best = f, bestSmaller = smaller;
        }
        if (best < 0) return false;
        net.parent[best] = -1;
        net.parentSide[best] = -1;
        return true;
    }

    std::vector<QPointF> cornersOf(const Plan& p, const std::vector<int>& faces) const {
        std::vector<QPointF> out;
        for (int f : faces)
            out.insert(out.end(), p.faces[f].begin(), p.faces[f].end());
        return out;
    }

    // Cuts folds until every piece fits the page: each time the largest branch that fits on its
    // own becomes a piece of its own.
    void split(Plan& p) const {
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
    std::optional<std::pair<int, int>> slitIn(const Plan& p) const {
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
    std::optional<Polygon> tabShape(const Plan& p, FaceSide s, FaceSide t, double share, double leanA,
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
        double h = share * std::min({kTabMax, 0.3 * len, 0.5 * depthOver(partner, t.index)});
        h = std::min(h, 0.85 * len / inset); // the tab keeps a top side of some length
        if (!(h > kMinTab)) return std::nullopt;
        return Polygon{a, b, b + h * out - h / std::tan(atB) * d, a + h * out + h / std::tan(atA) * d};
    }

    // One tab on every glue edge, on the side where it lies on nothing else of its piece. Where one
    // does not fit, `apart` (when given) gets a face that tab would go on and a face in its way, or
    // -1 and -1 when no tab fits even alone.
    bool placeTabs(Plan& p, std::pair<int, int>* apart = nullptr) const {
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
        for (std::size_t e = 0; e < map_.edges.size(); ++e) {
            if (p.fold[e]) continue;
            const MeshEdge& m = map_.edges[e];
            std::optional<Tab> found;
            for (double share : {1.0, 0.6})
                for (const auto& [leanA, leanB] : leans)
                    for (int k : {0, 1}) {
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
        return true;
    }

    // For a glue edge without room for a tab: the face whose tab would lie on the fewest faces of
    // its piece, and the face of the first thing in that tab's way; -1 and -1 when no tab fits on
    // the edge even where nothing is in the way.
    template <class InTheWay>
    std::pair<int, int> inTheWayOf(const Plan& p, const MeshEdge& m,
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

    const Mesh& mesh_;
    EdgeMap map_;
    std::vector<Polygon> flat_;
    double edge_;
    QSizeF room_;
    double longest_ = 0;
    double shortest_ = INFINITY;
};

// The glue number inside the face along side k: as large as the face leaves room for, upright
// when the side is at the bottom.
NetLabel labelFor(const Polygon& face, int f, int k, int number) {
    const QPointF a = face[k], b = face[(k + 1) % face.size()];
    const double len = length2(b - a);
    const QPointF d = (b - a) / len;
    QPointF in(-d.y(), d.x());
    if (dot2(in, centroid2(face) - a) < 0) in = -in;
    const double digits = number < 10 ? 1 : number < 100 ? 2 : 3;
    const double height = std::min(
        {3.5, 0.3 * len, 0.35 * depthOver(face, static_cast<std::size_t>(k)), 0.5 * len / (0.6 * digits)});
    NetLabel label;
    label.face = f;
    label.side = k;
    label.number = number;
    label.height = height;
    label.at = (a + b) / 2 + 0.8 * height * in;
    label.degrees = std::atan2(in.x(), -in.y()) / kDegree;
    return label;
}

QString described(const NetRequest& r) {
    if (r.side == NetSide::Solid) return r.bodyName;
    return r.bodyName + QStringLiteral(", ") + QString::fromLatin1(dualShapeName(r.dualShape));
}

// Number of pieces the faces join the vertices into: one for a solid, one per part of a compound.
int separateParts(const Mesh& mesh) {
    std::vector<int> parent(mesh.vertices.size());
    for (std::size_t i = 0; i < parent.size(); ++i)
        parent[i] = static_cast<int>(i);
    auto root = [&](int v) {
        while (parent[static_cast<std::size_t>(v)] != v)
            v = parent[static_cast<std::size_t>(v)];
        return v;
    };
    int count = static_cast<int>(parent.size());
    for (const auto& face : mesh.faces)
        for (std::size_t k = 1; k < face.size(); ++k) {
            const int a = root(face[0]), b = root(face[k]);
            if (a != b) parent[static_cast<std::size_t>(b)] = a, --count;
        }
    return count;
}

void checkFaces(const NetRequest& r) {
    const Mesh& mesh = r.mesh;
    const QString what = QStringLiteral("„") + described(r) + QStringLiteral("“");
    if (mesh.faces.size() < 4 || !isClosed(mesh))
        throw NetError(NetError::Kind::NotClosed, what + QStringLiteral(": Die Flächen schließen sich "
                                                                        "nicht zu einem Körper."));
    int warped = 0;
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f)
        if (flatness(mesh, f) > 1e-6 * extent(mesh)) ++warped;
    if (warped > 0)
        throw NetError(NetError::Kind::Warped,
                       what + QStringLiteral(" hat %1 verzogene Flächen, die sich aus keinem Blatt Papier "
                                             "falten lassen.")
                                  .arg(warped));
    for (const Polygon& p : flatFaces(mesh))
        if (!isConvex(p, 1e-9 * extent(mesh)))
            throw NetError(NetError::Kind::NotConvex,
                           what + (windsMoreThanOnce(p)
                                       ? QString::fromUtf8(" hat Sternflächen, die sich selbst schneiden")
                                       : QString::fromUtf8(" hat eine nicht konvexe Fläche")) +
                               QString::fromUtf8("; Netze entstehen nur aus konvexen Flächen."));
}

// Puts each piece, turned to take the least room, on shelves across the sheets: the tallest first,
// each on the first sheet with room for it, beside the others on its last shelf or on a new one.
void placeOnSheets(const Plan& p, NetLayout& out, QSizeF area) {
    struct Way {
        double radians;
        QRectF box;
    };
    struct Placing {
        int piece;
        std::vector<Way> ways; // the turn of least area first, then the same a quarter further
    };
    std::vector<std::vector<QPointF>> points(p.pieces);
    for (std::size_t f = 0; f < p.faces.size(); ++f)
        points[p.pieceOf[f]].insert(points[p.pieceOf[f]].end(), p.faces[f].begin(), p.faces[f].end());
    for (const Tab& t : p.tabs)
        points[p.pieceOf[t.side.face]].insert(points[p.pieceOf[t.side.face]].end(), t.corners.begin(),
                                              t.corners.end());
    auto wayAt = [&](int piece, double radians) {
        std::vector<QPointF> turned;
        for (const QPointF& q : points[piece])
            turned.push_back(turn(q, radians));
        return Way{radians, boundsOf(turned)};
    };
    std::vector<Placing> placings;
    for (int piece = 0; piece < p.pieces; ++piece) {
        double best = 0, bestArea = INFINITY;
        for (int k = 0; k < kTurns; ++k) {
            const double radians = k * 2 * kDegree;
            const QSizeF s = turnedSize(points[piece], radians);
            if (!fitsIn(s, area)) continue;
            // Lying wide rather than tall lets the shelves take more pieces side by side.
            const double cost = s.width() * s.height() * (s.width() >= s.height() ? 1 : 1.05);
            if (cost < bestArea * (1 - 1e-9)) bestArea = cost, best = radians;
        }
        Placing placing{piece, {wayAt(piece, best)}};
        const Way quarter = wayAt(piece, best + 90 * kDegree);
        if (fitsIn(quarter.box.size(), area)) placing.ways.push_back(quarter);
        placings.push_back(std::move(placing));
    }
    std::stable_sort(placings.begin(), placings.end(), [](const Placing& a, const Placing& b) {
        return a.ways[0].box.height() > b.ways[0].box.height();
    });
    struct Sheet {
        double x = 0, y = 0, shelf = 0;
    };
    std::vector<Sheet> sheets;
    const QPointF origin(kMargin, kMargin + kHeader);
    std::vector<int> sheetOf(p.pieces);
    std::vector<QPointF> shift(p.pieces);
    std::vector<double> turnOf(p.pieces);
    for (const Placing& pl : placings) {
        bool placed = false;
        for (std::size_t k = 0; k <= sheets.size() && !placed; ++k) {
            if (k == sheets.size()) sheets.emplace_back();
            Sheet& sh = sheets[k];
            for (const Way& way : pl.ways) {
                const QSizeF s = way.box.size();
                QPointF at;
                if (sh.x + s.width() <= area.width() && sh.y + s.height() <= area.height())
                    at = QPointF(sh.x, sh.y);
                else if (sh.y + sh.shelf + kGap + s.height() <= area.height() && s.width() <= area.width())
                    sh.y += sh.shelf + kGap, sh.x = 0, sh.shelf = 0, at = QPointF(0, sh.y);
                else
                    continue;
                sh.x = at.x() + s.width() + kGap;
                sh.shelf = std::max(sh.shelf, s.height());
                if (p.pieces == 1)
                    at += QPointF((area.width() - s.width()) / 2, (area.height() - s.height()) / 2);
                sheetOf[pl.piece] = static_cast<int>(k);
                shift[pl.piece] = origin + at - way.box.topLeft();
                turnOf[pl.piece] = way.radians;
                placed = true;
                break;
            }
        }
    }
    const int sheet = static_cast<int>(sheets.size()) - 1;
    out.sheetCount = sheet + 1;
    out.pieceCount = p.pieces;
    auto moved = [&](int piece, const QPointF& q) { return turn(q, turnOf[piece]) + shift[piece]; };
    for (std::size_t f = 0; f < p.faces.size(); ++f) {
        const int piece = p.pieceOf[f];
        NetFace face{sheetOf[piece], piece, {}};
        for (const QPointF& q : p.faces[f])
            face.corners.push_back(moved(piece, q));
        out.faces.push_back(std::move(face));
    }
    for (const Tab& t : p.tabs) {
        const int piece = p.pieceOf[t.side.face];
        NetTab tab{t.side.face, t.side.index, {}};
        for (const QPointF& q : t.corners)
            tab.corners.push_back(moved(piece, q));
        out.tabs.push_back(std::move(tab));
    }
}

} // namespace

QString pageLine(int sheet, int sheetCount) {
    return QStringLiteral("Seite %1 von %2").arg(sheet + 1).arg(sheetCount);
}

NetRequest netRequest(const SolidModel& model, const QString& bodyName, NetSide side) {
    NetRequest r;
    r.bodyName = bodyName;
    r.side = side;
    r.dualShape = side == NetSide::Reciprocal ? DualShape::PolarReciprocal : model.dualInfo.shape;
    const QString what = QStringLiteral("„") + described(r) + QStringLiteral("“");
    const NetError open(NetError::Kind::NotClosed,
                        what + QStringLiteral(": Die Flächen schließen sich nicht zu einem Körper."));
    Mesh solid = solidMesh(model);
    if (const int parts = separateParts(solid); parts > 1)
        throw NetError(NetError::Kind::NoNet,
                       what + QString::fromUtf8(" hat kein Netz: Er besteht aus %1 getrennten Körpern, und ein "
                                                "Blatt Papier faltet sich nur zu einem.")
                                  .arg(parts));
    if (isClosed(solid) && !orientOutward(solid))
        throw NetError(NetError::Kind::NoNet,
                       what + QString::fromUtf8(" hat kein Netz: Seine Flächen bilden eine einseitige Oberfläche "
                                                "ohne Außenseite."));
    if (!orientOutward(solid) || !isClosed(solid)) throw open;
    switch (side) {
    case NetSide::Solid:
        r.mesh = std::move(solid);
        break;
    case NetSide::Dual:
        r.mesh = dualMesh(model);
        if (!orientOutward(r.mesh) || !isClosed(r.mesh)) throw open;
        break;
    case NetSide::Reciprocal:
        // A model built with the reciprocal as its dual holds it already; otherwise it is made here.
        if (model.dualInfo.kind == DualKind::PolarReciprocal) {
            r.mesh = dualMesh(model);
        } else {
            try {
                PolyMesh reciprocal = polarReciprocal(PolyMesh{solid.vertices, solid.faces});
                r.mesh = Mesh{std::move(reciprocal.vertices), std::move(reciprocal.faces)};
            } catch (const ReciprocalRefused& e) {
                throw NetError(NetError::Kind::NoNet, what + QStringLiteral(": ") + QString::fromUtf8(e.what()));
            }
        }
        if (!orientOutward(r.mesh) || !isClosed(r.mesh)) throw open;
        break;
    }
    return r;
}

NetLayout layoutNet(const NetRequest& r) {
    checkFaces(r);
    const QSizeF page = r.pageMillimetres;
    const QSizeF area(page.width() - 2 * kMargin, page.height() - 2 * kMargin - kHeader - kFooter);
    const QSizeF room(area.width() - 2 * kTabMax, area.height() - 2 * kTabMax);
    const QString what = QStringLiteral("„") + described(r) + QStringLiteral("“");
    if (room.width() <= 0 || room.height() <= 0)
        throw NetError(NetError::Kind::TooLarge, QStringLiteral("Die Seite ist zu klein für ein Netz."));
    const Planner planner(r.mesh, r.edgeMillimetres, room);
    if (!planner.facesFit())
        throw NetError(NetError::Kind::TooLarge,
                       what +
                           QStringLiteral(": Bei dieser Kantenlänge passt eine Fläche nicht auf die Seite."));

    // Below this no tab can be glued, and no number read.
    if (r.edgeMillimetres > 0 &&
        r.edgeMillimetres * planner.shortest() / planner.longest() < kShortestEdge * (1 - 1e-9))
        throw NetError(NetError::Kind::TooSmall,
                       what + QStringLiteral(": Bei dieser Kantenlänge sind die kürzesten Kanten kürzer als "
                                             "%1 mm, zu kurz für Laschen.")
                                  .arg(kShortestEdge));

    std::optional<Plan> plan;
    // Nets without narrow slits first; where none has a tab for every glue edge, one with them.
    for (bool refuseSlits : {true, false}) {
        unfold(r.mesh, [&](const Net& net) {
            plan = planner.plan(net, refuseSlits);
            return plan.has_value();
        });
        if (plan) break;
    }
    // Where no net in one piece has room for a tab on every glue edge, more pieces. On solids whose
    // corners are almost flat, every cut opens no more than a sliver where it ends, too narrow for
    // a tab on a short edge. Without a length asked for, the pieces shrink until they share one
    // sheet, as long as the edges keep room for tabs.
    if (!plan) {
        std::optional<Net> net = unfold(r.mesh);
        if (!net) net = unfoldInPieces(r.mesh);
        for (double shrink = 1; net; shrink *= 0.9) {
            plan = planner.planInPieces(*net, shrink);
            if (!plan || r.edgeMillimetres > 0) break;
            NetLayout trial;
            placeOnSheets(*plan, trial, area);
            if (trial.sheetCount == 1 || 0.9 * planner.scaleOf(*plan) * planner.shortest() < kShortestEdge)
                break;
        }
    }
    if (!plan)
        throw NetError(NetError::Kind::NoNet,
                       what + QStringLiteral(": Es wurde kein Netz gefunden, das sich ohne Überlappungen "
                                             "ausschneiden und kleben lässt."));

    NetLayout out;
    out.title = described(r) + QStringLiteral(" – Netz");
    out.pageMillimetres = page;
    out.header = QRectF(kMargin, kMargin, area.width(), kHeader);
    out.footer = QRectF(kMargin, page.height() - kMargin - kFooter, area.width(), kFooter);
    out.tree = plan->net.tree;
    out.millimetresPerUnit =
        r.edgeMillimetres > 0 ? r.edgeMillimetres / planner.longest() : planner.scaleOf(*plan);
    placeOnSheets(*plan, out, area);

    // Glue numbers in the order the edges come, folds and valleys where faces stay joined.
    out.sideNumbers.resize(r.mesh.faces.size());
    for (std::size_t f = 0; f < r.mesh.faces.size(); ++f)
        out.sideNumbers[f].assign(r.mesh.faces[f].size(), 0);
    int number = 0;
    const EdgeMap& map = planner.map();
    for (std::size_t e = 0; e < map.edges.size(); ++e) {
        const MeshEdge& m = map.edges[e];
        const int f = m.sides[0].face, g = m.sides[1].face;
        if (plan->fold[e]) {
            const Point3D normal = areaNormal(r.mesh, f);
            const bool inward = dot(centroidOf(r.mesh, g) - centroidOf(r.mesh, f), normal) >
                                1e-9 * extent(r.mesh) * norm(normal);
            const Polygon& c = out.faces[f].corners;
            const NetLine line{out.faces[f].sheet, c[m.sides[0].index], c[(m.sides[0].index + 1) % c.size()]};
            (inward ? out.valleys : out.folds).push_back(line);
            continue;
        }
        ++number;
        for (const FaceSide& s : m.sides) {
            out.sideNumbers[s.face][s.index] = number;
            out.labels.push_back(labelFor(out.faces[s.face].corners, s.face, s.index, number));
        }
    }
    out.hints.push_back(QStringLiteral("Entlang der durchgezogenen Linien ausschneiden, an den gestrichelten "
                                       "falten, die grauen Laschen kleben."));
    QString numbers = QStringLiteral("Kanten mit gleicher Nummer werden aneinandergeklebt.");
    if (out.pieceCount > 1) numbers += QStringLiteral(" Das Netz besteht aus %1 Teilen.").arg(out.pieceCount);
    if (!out.valleys.empty())
        numbers += QStringLiteral(" Die blauen strichpunktierten Linien nach innen falten.");
    out.hints.push_back(numbers);
    return out;
}

} // namespace kesmora
