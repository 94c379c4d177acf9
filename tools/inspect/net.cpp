// Unfolding a solid into a printable net with glue tabs, and the polar reciprocal of a solid.
#include "net.h"

#include "options.h"
#include "output.h"
#include "session.h"
#include "catalogue/latin1.h"
#include "view/rendersettings.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <queue>

namespace kesmora::inspect {

namespace {

double cross2(const QPointF& a, const QPointF& b) {
    return a.x() * b.y() - a.y() * b.x();
}
double dot2(const QPointF& a, const QPointF& b) {
    return a.x() * b.x() + a.y() * b.y();
}
double length2(const QPointF& a) {
    return std::sqrt(dot2(a, a));
}

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

bool isConvex(const Polygon& p, double tolerance) {
    for (std::size_t i = 0; i < p.size(); ++i) {
        const QPointF& a = p[i];
        const QPointF& b = p[(i + 1) % p.size()];
        const QPointF& c = p[(i + 2) % p.size()];
        if (cross2(b - a, c - b) < -tolerance * length2(b - a)) return false;
    }
    return true;
}

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
std::optional<Tree> faceTree(const EdgeMap& map, const std::vector<bool>& mayFold, int root, bool depthFirst, std::string name) {
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
std::optional<Tree> steepestEdgeTree(const Mesh& mesh, const EdgeMap& map, const Point3D& c, std::string name) {
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

Mesh polarReciprocal(const Mesh& solid) {
    const std::size_t faces = solid.faces.size();
    std::vector<Point3D> normals, centres;
    for (std::size_t f = 0; f < faces; ++f) {
        normals.push_back(unit(areaNormal(solid, static_cast<int>(f))));
        centres.push_back(centroidOf(solid, static_cast<int>(f)));
    }
    auto insideBy = [&](const Point3D& c) {
        double least = INFINITY;
        for (std::size_t f = 0; f < faces; ++f)
            least = std::min(least, dot(normals[f], centres[f] - c));
        return least;
    };
    Point3D centre{};
    if (insideBy(centre) < 0.05 * extent(solid)) {
        for (const Point3D& p : solid.vertices)
            centre = centre + p;
        centre = (1.0 / static_cast<double>(solid.vertices.size())) * centre;
    }
    if (insideBy(centre) <= 0) throw std::runtime_error("the centre of the solid does not lie inside it");
    // A sphere of about the solid's size keeps the reciprocal about as large as the solid.
    double radius2 = 0;
    for (const Point3D& p : solid.vertices)
        radius2 += dot(p - centre, p - centre);
    radius2 /= static_cast<double>(solid.vertices.size());

    Mesh r;
    for (std::size_t f = 0; f < faces; ++f)
        r.vertices.push_back(centre + (radius2 / dot(normals[f], centres[f] - centre)) * normals[f]);
    // Around each vertex v: from a face where v is followed by w, on to the face where w comes
    // before v, and so on until the ring closes.
    for (int v = 0; v < static_cast<int>(solid.vertices.size()); ++v) {
        std::map<int, int> faceAfter; // predecessor of v -> face
        std::map<int, int> successor; // face -> successor of v
        for (int f = 0; f < static_cast<int>(faces); ++f) {
            const auto& face = solid.faces[f];
            const auto at = std::find(face.begin(), face.end(), v);
            if (at == face.end()) continue;
            const std::size_t k = static_cast<std::size_t>(at - face.begin());
            faceAfter[face[(k + face.size() - 1) % face.size()]] = f;
            successor[f] = face[(k + 1) % face.size()];
        }
        if (successor.empty()) continue;
        std::vector<int> ring{successor.begin()->first};
        while (ring.size() <= successor.size()) {
            const auto next = faceAfter.find(successor[ring.back()]);
            if (next == faceAfter.end()) throw std::runtime_error("the solid is not closed around a vertex");
            if (next->second == ring.front()) break;
            ring.push_back(next->second);
        }
        r.faces.push_back(ring);
    }
    return r;
}

std::optional<Net> unfold(const Mesh& mesh) {
    const EdgeMap map = edgeMap(mesh.faces);
    const std::vector<MeshEdge>& edges = map.edges;
    for (const MeshEdge& e : edges)
        if (e.sides[1].face < 0) return std::nullopt;
    const auto flat = flatFaces(mesh);
    double longest = 0;
    for (const MeshEdge& e : edges)
        longest = std::max(longest, norm(mesh.vertices[e.b] - mesh.vertices[e.a]));
    const double tolerance = 1e-6 * longest;

    auto attempt = [&](const std::optional<Tree>& tree) -> std::optional<Net> {
        if (!tree) return std::nullopt;
        Net net = layOut(mesh, flat, *tree);
        if (anyOverlap(net.faces, tolerance)) return std::nullopt;
        return net;
    };
    const auto dirs = directions(200);
    for (std::size_t i = 0; i < dirs.size(); ++i)
        if (auto net =
                attempt(steepestEdgeTree(mesh, map, dirs[i], "steepest edge " + std::to_string(i))))
            return net;
    const std::vector<bool> all(edges.size(), true);
    for (bool depthFirst : {false, true})
        for (int root = 0; root < static_cast<int>(mesh.faces.size()); ++root)
            if (auto net =
                    attempt(faceTree(map, all, root, depthFirst,
                                     (depthFirst ? "depth first from face " : "breadth first from face ") +
                                         std::to_string(root))))
                return net;
    return std::nullopt;
}

namespace {

// Page layout in tenths of a millimetre, so that the SVG's own units stay whole numbers.
constexpr double kUnit = 10;           // units per mm
constexpr double kMargin = 10 * kUnit; // around everything, tabs included
constexpr double kCaption = 8 * kUnit; // room for the title line above the net
constexpr double kTabMax = 6 * kUnit;

struct Placed {
    std::vector<Polygon> faces;
    std::vector<Polygon> tabs;
    std::vector<std::pair<QPointF, QPointF>> cuts, folds;
    std::vector<std::pair<QPointF, QPointF>> valleys; // folds the other way, where the surface bends in
};

// Turns and scales the net to fill the page, and mirrors it for the page's downward y axis so
// that, printed side out, it folds into the solid and not into its mirror image.
std::vector<Polygon> fitToPage(const Net& net, QSizeF page) {
    const QSizeF room(page.width() - 2 * kMargin, page.height() - 2 * kMargin - kCaption);
    double bestScale = 0, bestTurn = 0;
    for (int degrees = 0; degrees < 180; ++degrees) {
        const double t = degrees * std::numbers::pi / 180, cs = std::cos(t), sn = std::sin(t);
        double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
        for (const Polygon& p : net.faces)
            for (const QPointF& q : p) {
                const double x = cs * q.x() - sn * q.y(), y = sn * q.x() + cs * q.y();
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
        const double scale = std::min(room.width() / (x1 - x0), room.height() / (y1 - y0));
        if (scale > bestScale * (1 + 1e-9)) bestScale = scale, bestTurn = t;
    }
    const double cs = std::cos(bestTurn), sn = std::sin(bestTurn);
    std::vector<Polygon> out;
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    for (const Polygon& p : net.faces) {
        Polygon q;
        for (const QPointF& c : p) {
            const QPointF r(bestScale * (cs * c.x() - sn * c.y()), -bestScale * (sn * c.x() + cs * c.y()));
            x0 = std::min(x0, r.x()), x1 = std::max(x1, r.x()), y0 = std::min(y0, r.y()),
            y1 = std::max(y1, r.y());
            q.push_back(r);
        }
        out.push_back(std::move(q));
    }
    const QPointF shift(kMargin + (room.width() - (x1 - x0)) / 2 - x0,
                        kMargin + kCaption + (room.height() - (y1 - y0)) / 2 - y0);
    for (Polygon& p : out)
        for (QPointF& c : p)
            c += shift;
    return out;
}

// A trapezoid on side p->q of a face, on the side away from `inside`, with 45-degree ends.
Polygon tabOn(const QPointF& p, const QPointF& q, const QPointF& inside, double height) {
    const QPointF d = (q - p) / length2(q - p);
    QPointF out(-d.y(), d.x());
    if (dot2(out, inside - p) > 0) out = -out;
    return {p, q, q + height * (out - d), p + height * (out + d)};
}

QPointF centroid2(const Polygon& p) {
    QPointF c;
    for (const QPointF& q : p)
        c += q;
    return c / static_cast<double>(p.size());
}

Placed place(const Mesh& mesh, const Net& net, QSizeF page) {
    Placed out;
    out.faces = fitToPage(net, page);
    const auto edges = edgeMap(mesh.faces).edges;
    auto corner = [&](const FaceSide& s, int step) {
        const Polygon& p = out.faces[s.face];
        return p[(s.index + step) % p.size()];
    };
    std::vector<std::pair<FaceSide, double>> wanted; // cut sides still to get a tab, with its height
    for (const MeshEdge& e : edges) {
        const bool fold =
            (net.parent[e.sides[1].face] == e.sides[0].face && net.parentSide[e.sides[1].face] == e.sides[1].index) ||
            (net.parent[e.sides[0].face] == e.sides[1].face && net.parentSide[e.sides[0].face] == e.sides[0].index);
        if (fold) {
            const Point3D normal = areaNormal(mesh, e.sides[0].face);
            const bool inward = dot(centroidOf(mesh, e.sides[1].face) - centroidOf(mesh, e.sides[0].face), normal) >
                                1e-9 * extent(mesh) * norm(normal);
            (inward ? out.valleys : out.folds).push_back({corner(e.sides[0], 0), corner(e.sides[0], 1)});
            continue;
        }
        const double length = length2(corner(e.sides[0], 1) - corner(e.sides[0], 0));
        const double height = std::min(kTabMax, 0.3 * length);
        // Full height on either side, then half height on either side, else no tab.
        bool done = false;
        for (double h : {height, height / 2}) {
            for (const FaceSide& s : {e.sides[0], e.sides[1]}) {
                const Polygon tab = tabOn(corner(s, 0), corner(s, 1), centroid2(out.faces[s.face]), h);
                bool free = true;
                for (const Polygon& f : out.faces)
                    free = free && !convexPolygonsOverlap(tab, f, 1e-3);
                for (const Polygon& t : out.tabs)
                    free = free && !convexPolygonsOverlap(tab, t, 1e-3);
                if (!free) continue;
                out.tabs.push_back(tab);
                out.folds.push_back({tab[0], tab[1]});
                out.cuts.push_back({tab[1], tab[2]});
                out.cuts.push_back({tab[2], tab[3]});
                out.cuts.push_back({tab[3], tab[0]});
                const FaceSide& bare = s.face == e.sides[0].face && s.index == e.sides[0].index ? e.sides[1] : e.sides[0];
                out.cuts.push_back({corner(bare, 0), corner(bare, 1)});
                done = true;
                break;
            }
            if (done) break;
        }
        if (!done) {
            out.cuts.push_back({corner(e.sides[0], 0), corner(e.sides[0], 1)});
            out.cuts.push_back({corner(e.sides[1], 0), corner(e.sides[1], 1)});
        }
    }
    return out;
}

void writeNetSvg(const Placed& net, const Mesh& mesh, QSizeF page, const std::string& title,
                 const std::string& tree, const std::string& file) {
    QSvgGenerator svg;
    svg.setSize(page.toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), page));
    svg.setResolution(qRound(25.4 * kUnit)); // so that the page comes out in millimetres
    svg.setTitle(QString::fromStdString(title));
    svg.setDescription(QStringLiteral("Kesmora net, faces folded along a spanning tree: ") +
                       QString::fromStdString(tree));
    writeSvg(file, svg, [&](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, true);

        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(230, 230, 230));
        for (const Polygon& tab : net.tabs)
            painter.drawPolygon(tab.data(), static_cast<int>(tab.size()));
        const RenderSettings colours;
        for (std::size_t f = 0; f < net.faces.size(); ++f) {
            painter.setBrush(QColor::fromRgb(colours.polygonColour(static_cast<int>(mesh.faces[f].size()))));
            painter.drawPolygon(net.faces[f].data(), static_cast<int>(net.faces[f].size()));
        }
        painter.setBrush(Qt::NoBrush);
        QPen cut(Qt::black, 0.3 * kUnit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(cut);
        for (const auto& [a, b] : net.cuts)
            painter.drawLine(a, b);
        QPen fold(QColor(64, 64, 64), 0.2 * kUnit, Qt::CustomDashLine, Qt::FlatCap);
        fold.setDashPattern({8, 6});
        painter.setPen(fold);
        for (const auto& [a, b] : net.folds)
            painter.drawLine(a, b);
        QPen valley(QColor(0, 0, 192), 0.2 * kUnit, Qt::CustomDashLine, Qt::FlatCap);
        valley.setDashPattern({8, 4, 1, 4});
        painter.setPen(valley);
        for (const auto& [a, b] : net.valleys)
            painter.drawLine(a, b);

        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(qRound(3.5 * kUnit));
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(kMargin, kMargin, page.width() - 2 * kMargin, kCaption),
                         Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(title));
        font.setPixelSize(qRound(2.5 * kUnit));
        painter.setFont(font);
        QString hint =
            QStringLiteral("Cut along the solid lines, fold along the dashed ones, glue the grey tabs.");
        if (!net.valleys.empty()) hint += QStringLiteral(" Fold the blue dash-dotted lines the other way.");
        painter.drawText(QRectF(kMargin, kMargin + 4.5 * kUnit, page.width() - 2 * kMargin, kCaption),
                         Qt::AlignLeft | Qt::AlignTop, hint);
    });
}

} // namespace

Options netOptions() {
    return bodyCommand("net")
        .flag("--dual")
        .flag("--reciprocal")
        .exclusive("--dual", "--reciprocal")
        .size("--page", 50, 10000, "millimetres")
        .text("-o", "FILE.svg")
        .required();
}

int netCommand(const CatalogueTables& tables, const CommandLine& line) {
    const int category = line.number("CATEGORY", 0);
    const std::string name = utf8ToLatin1(line.text("NAME"));
    const bool dual = line.given("--dual"), reciprocal = line.given("--reciprocal");
    const Size pageSize = line.size("--page", {210, 297});
    const double pageWidth = pageSize.width, pageHeight = pageSize.height;
    const std::string out = line.text("-o");
    const BuiltBody body = buildAsTheWindowDoes(tables, category, name);
    const std::string shown = latin1ToUtf8(name);

    Mesh solid = solidMesh(body.model);
    if (!orientOutward(solid) || !isClosed(solid))
        throw std::runtime_error("the faces of " + shown + " do not close up into a solid");
    Mesh mesh;
    std::string title;
    if (reciprocal) {
        mesh = polarReciprocal(solid);
        if (!orientOutward(mesh))
            throw std::runtime_error("the reciprocal of " + shown + " does not close up");
        title = shown + ": polar reciprocal";
    } else if (dual) {
        mesh = dualMesh(body.model);
        if (!orientOutward(mesh) || !isClosed(mesh))
            throw std::runtime_error("the dual of " + shown + " does not close up into a solid");
        title = shown + (category == 3 ? ": quasi-dual" : ": dual");
    } else {
        mesh = solid;
        title = shown;
    }
    int warped = 0;
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f)
        if (flatness(mesh, f) > 1e-6 * extent(mesh)) ++warped;
    if (warped > 0)
        throw std::runtime_error(
            title + " has " + std::to_string(warped) + " warped faces, which no sheet of paper folds into" +
            (dual ? "; --reciprocal gives the polar reciprocal, whose faces are flat" : ""));
    for (const Polygon& p : flatFaces(mesh))
        if (!isConvex(p, 1e-9 * extent(mesh)))
            throw std::runtime_error(title +
                                     " has a face that is not convex; nets are made of convex faces only");

    const auto net = unfold(mesh);
    if (!net)
        throw std::runtime_error("no spanning tree of the faces of " + title + " unfolds without overlaps");
    const QSizeF page(pageWidth * kUnit, pageHeight * kUnit);
    writeNetSvg(place(mesh, *net, page), mesh, page, title + " \u2013 net", net->tree, out);
    return 0;
}

} // namespace kesmora::inspect
