// Placing a planned net on its sheets, and the glue numbers in its faces.
#include "netsheets.h"

#include "netpacking.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kesmora::nets {

NetLabel labelFor(const Polygon& face, int f, int k, int number, int partnerSheet) {
    const QPointF a = face[k], b = face[(k + 1) % face.size()];
    const double len = length2(b - a);
    const QPointF d = (b - a) / len;
    QPointF in(-d.y(), d.x());
    if (dot2(in, centroid2(face) - a) < 0) in = -in;
    NetLabel label;
    label.face = f;
    label.side = k;
    label.number = number;
    label.underlined = readsAsAnotherUpsideDown(number);
    label.partnerSheet = partnerSheet;
    // The height the side and the face leave for a text of that many characters.
    auto heightFor = [&](const NetLabel& l) {
        const double characters = static_cast<double>(labelText(l).size());
        return std::min({3.5, 0.3 * len, 0.35 * depthOver(face, static_cast<std::size_t>(k)),
                         0.5 * len / (0.6 * characters)});
    };
    label.height = heightFor(label);
    if (partnerSheet >= 0 && label.height < 1.5) {
        label.compact = true;
        label.height = heightFor(label);
    }
    label.at = (a + b) / 2 + 0.8 * label.height * in;
    label.degrees = std::atan2(in.x(), -in.y()) / kDegree;
    return label;
}

void placeOnSheets(const Plan& p, NetLayout& out, QSizeF area, int enough, int limit, double cell,
                   PackMemo* memo) {
    std::vector<PackPiece> pieces(static_cast<std::size_t>(p.pieces));
    for (std::size_t f = 0; f < p.faces.size(); ++f)
        pieces.at(static_cast<std::size_t>(p.pieceOf[f])).outlines.push_back(p.faces[f]);
    for (const Tab& t : p.tabs)
        pieces.at(static_cast<std::size_t>(p.pieceOf[t.side.face])).outlines.push_back(t.corners);
    int sheetCount = 0;
    const std::vector<PackPlace> places =
        packPieces(pieces, area, kGap, sheetCount, enough, limit, cell, memo);
    const QPointF origin(kMargin, kMargin + kHeader);
    std::vector<int> sheetOf(places.size());
    std::vector<QPointF> shift(places.size());
    std::vector<double> turnOf(places.size());
    for (std::size_t i = 0; i < places.size(); ++i) {
        sheetOf[i] = places[i].sheet;
        shift[i] = origin + places[i].shift;
        turnOf[i] = places[i].radians;
    }
    // A net in one piece stands in the middle of its sheet.
    if (places.size() == 1) {
        std::vector<QPointF> all;
        for (const Polygon& o : pieces[0].outlines)
            for (const QPointF& q : o)
                all.push_back(turn(q, turnOf[0]) + shift[0]);
        const QRectF box = boundsOf(all);
        shift[0] += QPointF(origin.x() + (area.width() - box.width()) / 2 - box.left(),
                            origin.y() + (area.height() - box.height()) / 2 - box.top());
    }
    out.sheetCount = sheetCount;
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
