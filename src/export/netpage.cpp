// Laying an unfolded net out on a page with glue tabs, fold and cut lines, and writing it as SVG.
#include "netpage.h"

#include "export/output.h"
#include "geometry/edgemap.h"
#include "view/rendersettings.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace kesmora {

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
        const bool fold = (net.parent[e.sides[1].face] == e.sides[0].face &&
                           net.parentSide[e.sides[1].face] == e.sides[1].index) ||
                          (net.parent[e.sides[0].face] == e.sides[1].face &&
                           net.parentSide[e.sides[0].face] == e.sides[0].index);
        if (fold) {
            const Point3D normal = areaNormal(mesh, e.sides[0].face);
            const bool inward = dot(centroidOf(mesh, e.sides[1].face) - centroidOf(mesh, e.sides[0].face),
                                    normal) > 1e-9 * extent(mesh) * norm(normal);
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
                const FaceSide& bare =
                    s.face == e.sides[0].face && s.index == e.sides[0].index ? e.sides[1] : e.sides[0];
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

void writeNetPage(const Mesh& mesh, const Net& net, QSizeF pageMillimetres, const std::string& title,
                  const std::string& file) {
    const QSizeF page(pageMillimetres.width() * kUnit, pageMillimetres.height() * kUnit);
    writeNetSvg(place(mesh, net, page), mesh, page, title, net.tree, file);
}

} // namespace kesmora
