// Laying a net out for the model builder: the checks a body's faces must pass, then the plan of
// scale, pieces and tabs (netplanner.h), its place on the sheets (netsheets.h), and the glue
// numbers, folds and hints.
#include "netlayout.h"

#include "netplane.h"
#include "netplanner.h"
#include "netsheets.h"

#include "geometry/edgemap.h"
#include "geometry/reciprocal.h"

#include <QRectF>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace kesmora {

using nets::kFooter;
using nets::kHeader;
using nets::kMargin;
using nets::kShortestEdge;
using nets::kTabMax;
using nets::labelFor;
using nets::placeOnSheets;
using nets::Plan;
using nets::Planner;

namespace {

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
} // namespace

bool readsAsAnotherUpsideDown(int number) {
    if (number < 0) return false;
    const QString digits = QString::number(number);
    QString turned;
    for (auto it = digits.crbegin(); it != digits.crend(); ++it) {
        const char c = it->toLatin1();
        if (c == '6')
            turned += QLatin1Char('9');
        else if (c == '9')
            turned += QLatin1Char('6');
        else if (c == '0' || c == '1' || c == '8')
            turned += QLatin1Char(c);
        else
            return false;
    }
    // Upside down "01" is no number anyone writes; "69" stays "69".
    return !turned.startsWith(QLatin1Char('0')) && turned != digits;
}

QString labelText(const NetLabel& label) {
    const QString number = QString::number(label.number);
    if (label.partnerSheet < 0) return number;
    if (label.compact) return number + QStringLiteral("→%1").arg(label.partnerSheet + 1);
    return number + QStringLiteral(" → S. %1").arg(label.partnerSheet + 1);
}

QString scaleLine(double longestEdge) {
    const double tenths = std::round(longestEdge * 10) / 10;
    QString length = QString::number(tenths, 'f', tenths == std::round(tenths) ? 0 : 1);
    length.replace(QLatin1Char('.'), QLatin1Char(','));
    return QStringLiteral("Längste Kante %1 mm").arg(length);
}

void checkNetFaces(const NetRequest& request) {
    checkFaces(request);
}

int sheetsAtLeast(const NetLayout& net) {
    std::vector<Polygon> faces;
    for (const NetFace& f : net.faces)
        faces.push_back(f.corners);
    return nets::sheetsAtLeast(faces, QSizeF(net.header.width(), net.footer.top() - net.header.bottom()));
}

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

namespace {

// The net on `wanted` sheets where a length is asked for and that many suffice; with 0, within
// the bound below.
NetLayout layoutOn(const NetRequest& r, int wanted) {
    checkFaces(r);
    const QSizeF page = r.pageMillimetres;
    const QSizeF area(page.width() - 2 * kMargin, page.height() - 2 * kMargin - kHeader - kFooter);
    const QSizeF room(area.width() - 2 * kTabMax, area.height() - 2 * kTabMax);
    const QString what = QStringLiteral("„") + described(r) + QStringLiteral("“");
    if (room.width() <= 0 || room.height() <= 0)
        throw NetError(NetError::Kind::TooLarge, QStringLiteral("Die Seite ist zu klein für ein Netz."));
    const Planner planner(r.mesh, r.edgeMillimetres, room, r.tabs);
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
    std::optional<NetLayout> placed; // the plan's sheets, where already packed
    // At a length asked for, compact pieces as large as the page takes, packed densely.
    // Pieces as large as the page leave room beside them that nothing else fills: smaller ones are
    // tried too, grown round or filling their hull, and the plan on the fewest sheets is kept, of
    // those the one in the fewest pieces. Within 1.75 times the pages the faces alone would fill
    // (the header, the tabs and the gaps between pieces take the rest), the search stops.
    if (r.edgeMillimetres > 0) {
        double faceArea = 0;
        for (const Polygon& p : flatFaces(r.mesh))
            faceArea += nets::polygonArea(p);
        const double perUnit = r.edgeMillimetres / planner.longest();
        // The measure is the page less 10 mm on every side (190 × 277 mm on A4), not the room
        // left below the header.
        const double pageArea = (page.width() - 20) * (page.height() - 20);
        std::vector<Polygon> onPaper = flatFaces(r.mesh);
        for (Polygon& p : onPaper)
            for (QPointF& q : p)
                q *= perUnit;
        // Where faces too large to share a sheet need more, no search finds fewer.
        const int enough =
            std::max(static_cast<int>(std::ceil(1.75 * faceArea * perUnit * perUnit / pageArea - 1e-9)),
                     nets::sheetsAtLeast(onPaper, area));
        int bestSheets = 0;
        // The plans below share many pieces: each is drawn into cells once.
        nets::PackMemo memo;
        const int target = wanted > 0 ? wanted : std::max(enough, 1);
        auto keep = [&](std::optional<Plan>& trial, NetLayout& sheets) {
            if (!plan || sheets.sheetCount < bestSheets ||
                (sheets.sheetCount == bestSheets && trial->pieces < plan->pieces)) {
                plan = std::move(trial), bestSheets = sheets.sheetCount;
                placed = std::move(sheets);
            }
        };
        // The sheets each way of growing pieces took on the first grid; on the finer one, only
        // those that came as close as the best are tried again.
        struct Growing {
            double share;
            Planner::Growth growth;
            int sheets = INT_MAX;
        };
        std::vector<Growing> ways;
        for (const double share : {1.0, 0.7, 0.5, 0.4, 0.3, 0.2, 0.15, 0.1, 0.0})
            for (const Planner::Growth growth : {Planner::Growth::Round, Planner::Growth::Filling})
                ways.push_back({share, growth});
        // On a grid of `cell` millimetres.
        auto search = [&](double cell, bool again) {
            std::vector<std::vector<int>> tried; // per plan tried, each face's fold to its parent
            int triedAgain = 0;
            for (Growing& way : ways) {
                if (again && (way.sheets > bestSheets || ++triedAgain > 4)) continue;
                Net compact = planner.compactPieces(way.share, way.growth);
                std::optional<Plan> trial = planner.planInPieces(compact, 1);
                if (!trial) continue;
                // Pieces made before, of the same faces and folds, pack no differently.
                std::vector<int> folds = trial->net.parent;
                for (std::size_t f = 0; f < folds.size(); ++f)
                    if (folds[f] >= 0 &&
                        trial->pieceOf[f] != trial->pieceOf[static_cast<std::size_t>(folds[f])])
                        folds[f] = -1;
                if (std::find(tried.begin(), tried.end(), folds) != tried.end()) continue;
                tried.push_back(std::move(folds));
                NetLayout sheets;
                // Only a packing on no more sheets than the best is of use.
                placeOnSheets(*trial, sheets, area, target, plan ? bestSheets : INT_MAX, cell, &memo);
                way.sheets = sheets.sheetCount;
                keep(trial, sheets);
                if (bestSheets <= target) return;
            }
            // What is left for the last sheet may fit the room the sheets before leave: its pieces
            // are halved, again and again down to single faces, and packed with the rest, the
            // largest first.
            std::optional<Plan> current = plan;
            std::optional<NetLayout> currentSheets = placed;
            for (int round = 0; round < (again ? 6 : 12) && current && bestSheets > target; ++round) {
                Net net = current->net;
                bool cut = false;
                for (int piece = 0; piece < current->pieces; ++piece) {
                    const int last = currentSheets->sheetCount - 1;
                    const bool onLast =
                        std::any_of(currentSheets->faces.begin(), currentSheets->faces.end(),
                                    [&](const NetFace& f) { return f.piece == piece && f.sheet == last; });
                    if (onLast) cut = Planner::halve(net, *current, piece) || cut;
                }
                if (!cut) break;
                std::optional<Plan> trial = planner.planInPieces(net, 1);
                if (!trial) break;
                NetLayout sheets;
                placeOnSheets(*trial, sheets, area, target, INT_MAX, cell, &memo);
                current = trial;
                currentSheets = sheets;
                if (sheets.sheetCount < bestSheets) keep(trial, sheets);
            }
        };
        // Millimetre cells first; where those leave the net over the bound, half-millimetre cells,
        // which waste less room between pieces.
        search(1, false);
        if (bestSheets > target) search(0.5, true);
        // Fewer pieces on as many sheets: two pieces joined along a glue edge, the smallest pairs
        // first, as long as they lie on nothing of each other and the sheets do not grow; six
        // joins are tried at most, each packed anew.
        constexpr int kJoinsTried = 6;
        const EdgeMap& map = planner.map();
        for (int tries = 0; plan && placed && tries < kJoinsTried && plan->pieces > bestSheets;) {
            std::vector<int> size(static_cast<std::size_t>(plan->pieces), 0);
            for (const int piece : plan->pieceOf)
                ++size.at(static_cast<std::size_t>(piece));
            std::vector<std::pair<int, int>> glued; // joined size, edge
            std::vector<std::pair<int, int>> pairs;
            for (std::size_t e = 0; e < map.edges.size(); ++e) {
                int a = plan->pieceOf[map.edges[e].sides[0].face],
                    b = plan->pieceOf[map.edges[e].sides[1].face];
                if (a == b) continue;
                if (a > b) std::swap(a, b);
                if (std::find(pairs.begin(), pairs.end(), std::pair{a, b}) != pairs.end()) continue;
                pairs.push_back({a, b});
                glued.push_back({size[a] + size[b], static_cast<int>(e)});
            }
            std::stable_sort(glued.begin(), glued.end(),
                             [](const auto& u, const auto& v) { return u.first < v.first; });
            bool joined = false;
            for (const auto& [faces, e] : glued) {
                if (tries >= kJoinsTried) break;
                Net net = plan->net;
                if (!planner.join(net, *plan, e)) continue;
                ++tries;
                std::optional<Plan> trial = planner.planInPieces(net, 1);
                if (!trial || trial->pieces >= plan->pieces) continue;
                NetLayout sheets;
                placeOnSheets(*trial, sheets, area, target, bestSheets, 1, &memo);
                if (sheets.sheetCount > bestSheets) continue;
                plan = std::move(trial), placed = std::move(sheets);
                joined = true;
                break;
            }
            if (!joined) break;
        }
    }
    // Nets without narrow slits first; where none has a tab for every glue edge, one with them,
    // of the trees turned down for a slit alone (those without room for a tab stay without).
    std::vector<bool> slitOnly;
    for (bool refuseSlits : {true, false}) {
        if (plan) break;
        std::size_t tree = 0;
        unfold(r.mesh, [&](const Net& net) {
            const std::size_t t = tree++;
            if (!refuseSlits && (t >= slitOnly.size() || !slitOnly[t])) return false;
            bool slit = false;
            plan = planner.plan(net, refuseSlits, &slit);
            if (refuseSlits) slitOnly.push_back(slit);
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
        // As large as one page takes, the net cut where its tabs need it comes in many pieces:
        // compact pieces packed densely often fit the page in fewer, and larger. The longest edge
        // an eighth above the cut net's is tried, then its own.
        if (plan && r.edgeMillimetres <= 0) {
            const double edge = planner.scaleOf(*plan) * planner.longest();
            for (const double larger : {1.12, 1.0}) {
                NetRequest sized = r;
                sized.edgeMillimetres = edge * larger;
                try {
                    NetLayout net = layoutOn(sized, 1);
                    if (net.sheetCount == 1 && net.pieceCount <= plan->pieces) return net;
                } catch (const NetError&) {
                    // Too small for tabs at that length: the cut net stays.
                }
            }
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
    if (placed) {
        out.sheetCount = placed->sheetCount;
        out.pieceCount = placed->pieceCount;
        out.faces = std::move(placed->faces);
        out.tabs = std::move(placed->tabs);
    } else {
        placeOnSheets(*plan, out, area);
    }
    out.longestEdge = out.millimetresPerUnit * planner.longest();

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
        for (int k : {0, 1}) {
            const FaceSide& s = m.sides[k];
            const int partner = out.faces[m.sides[1 - k].face].sheet;
            out.sideNumbers[s.face][s.index] = number;
            out.labels.push_back(labelFor(out.faces[s.face].corners, s.face, s.index, number,
                                          partner != out.faces[s.face].sheet ? partner : -1));
        }
    }
    out.hints.push_back(
        QStringLiteral("Entlang der durchgezogenen Linien ausschneiden, an den gestrichelten falten, ") +
        (r.tabs == NetTabs::BothSides ? QStringLiteral("die beiden grauen Laschen einer Kante aufeinanderkleben.")
                                      : QStringLiteral("die grauen Laschen kleben.")));
    QString numbers = QStringLiteral("Kanten mit gleicher Nummer werden aneinandergeklebt");
    if (out.sheetCount > 1) numbers += QStringLiteral(" („17 → S. 3“: das Gegenstück liegt auf Seite 3)");
    out.hints.push_back(numbers + QStringLiteral("."));
    QStringList more;
    if (std::any_of(out.labels.begin(), out.labels.end(), [](const NetLabel& l) { return l.underlined; }))
        more << QStringLiteral("Unterstrichene Nummern: Strich unten.");
    if (out.pieceCount > 1) more << QStringLiteral("Das Netz besteht aus %1 Teilen.").arg(out.pieceCount);
    if (!out.valleys.empty()) more << QStringLiteral("Die blauen strichpunktierten Linien nach innen falten.");
    if (!more.isEmpty()) out.hints.push_back(more.join(QLatin1Char(' ')));
    return out;
}
} // namespace

NetLayout layoutNet(const NetRequest& r) {
    return layoutOn(r, 0);
}

} // namespace kesmora
