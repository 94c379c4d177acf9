// Placing a planned net on its sheets, and the glue numbers in its faces.
#include "netsheets.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kesmora::nets {

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
} // namespace kesmora::nets
