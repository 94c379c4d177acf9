// Packing pieces of a net on sheets: a grid of cells per sheet (a millimetre, or finer), each piece
// drawn into one at every turn tried, and the lowest place where its cells meet none already taken.
#include "netpacking.h"

#include "netplane.h"

#include <QRectF>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <numeric>
#include <optional>

namespace kesmora::nets {

namespace {

constexpr int kEvenTurns = 24;

// A sheet's cells, a bit each, row by row.
class SheetCells {
  public:
    SheetCells(int columns, int rows)
        : columns_(columns), rows_(rows), words_((columns + 63) / 64),
          bits_(static_cast<std::size_t>(words_) * static_cast<std::size_t>(rows), 0),
          freeRun_(static_cast<std::size_t>(rows), columns) {}

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    long taken() const { return taken_; }

    // The longest run of free cells in the row; none off the grid.
    int freeRun(int row) const {
        return row < 0 || row >= rows_ ? 0 : freeRun_[static_cast<std::size_t>(row)];
    }

    // The last taken cell from column a to column b (both included) of the row, -1 when none is;
    // a row or column off the grid counts as taken, at b.
    int lastTakenIn(int row, int a, int b) const {
        if (row < 0 || row >= rows_ || a < 0 || b >= columns_ || a > b) return b;
        const std::uint64_t* r = &bits_[static_cast<std::size_t>(row) * static_cast<std::size_t>(words_)];
        const int wa = a / 64, wb = b / 64;
        for (int w = wb; w >= wa; --w) {
            std::uint64_t m = ~std::uint64_t{0};
            if (w == wa) m &= ~std::uint64_t{0} << (a % 64);
            if (w == wb && b % 64 != 63) m &= (std::uint64_t{1} << (b % 64 + 1)) - 1;
            if (const std::uint64_t hit = r[w] & m) return w * 64 + 63 - std::countl_zero(hit);
        }
        return -1;
    }
    void take(int row, int a, int b) {
        if (row < 0 || row >= rows_) return;
        a = std::max(a, 0), b = std::min(b, columns_ - 1);
        std::uint64_t* r = &bits_[static_cast<std::size_t>(row) * static_cast<std::size_t>(words_)];
        for (int w = a / 64; w <= b / 64 && a <= b; ++w) {
            std::uint64_t m = ~std::uint64_t{0};
            if (w == a / 64) m &= ~std::uint64_t{0} << (a % 64);
            if (w == b / 64 && b % 64 != 63) m &= (std::uint64_t{1} << (b % 64 + 1)) - 1;
            taken_ += std::popcount(m & ~r[w]);
            r[w] |= m;
        }
        // The longest free run: free bits across words, the columns past the last one taken.
        int run = 0, longest = 0;
        for (int w = 0; w < words_; ++w) {
            std::uint64_t taken = r[w];
            if (const int inWord = columns_ - w * 64; inWord < 64) taken |= ~std::uint64_t{0} << inWord;
            if (taken == 0) {
                run += 64;
                longest = std::max(longest, run);
                continue;
            }
            longest = std::max(longest, run + std::countr_zero(taken));
            int inside = 0;
            for (std::uint64_t free = ~taken; free; free &= free << 1)
                ++inside;
            longest = std::max(longest, inside);
            run = std::countl_zero(taken);
        }
        freeRun_[static_cast<std::size_t>(row)] = longest;
    }

  private:
    int columns_, rows_, words_;
    std::vector<std::uint64_t> bits_;
    std::vector<int> freeRun_;
    long taken_ = 0;
};

// A piece at one turn: its cells as runs per row, from the corner of its grid, which lies `pad`
// up and left of the top left of its true bounds.
struct TurnedPiece {
    double radians = 0;
    QRectF bounds; // of the turned outlines
    struct Run {
        int row, a, b;
    };
    std::vector<Run> runs;       // row by row, left to right
    std::vector<int> rowOrder;   // the fullest rows first: a place taken shows there soonest
    std::vector<int> runsAt;     // per row in rowOrder: its first run
    std::vector<int> longestRun; // per row in rowOrder: the longest run of that row
    long cells = 0;
};

double signedArea(const Polygon& p) {
    double twice = 0;
    for (std::size_t i = 0; i < p.size(); ++i)
        twice += cross2(p[i], p[(i + 1) % p.size()]);
    return twice / 2;
}

// The cells a convex polygon grown by `grow` may touch, added to `rows` as runs of columns
// of a grid whose corner is at `corner`. Each side's half-plane is moved out by `grow` and a cell
// is marked when it reaches into all of them: never fewer cells than the grown polygon covers.
void mark(const Polygon& poly, double grow, QPointF corner, int columns, int rowCount, double cell,
          std::vector<TurnedPiece::Run>& runs) {
    if (poly.size() < 3) return;
    const double orientation = signedArea(poly) >= 0 ? 1 : -1;
    struct Side {
        QPointF normal;
        double limit;
    };
    std::vector<Side> sides;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const QPointF d = poly[(i + 1) % poly.size()] - poly[i];
        const double len = length2(d);
        if (len == 0) continue;
        // Outward for a counter-clockwise polygon in y-up terms: (d.y, -d.x) times orientation.
        const QPointF n = QPointF(d.y(), -d.x()) * (orientation / len);
        sides.push_back({n, dot2(n, poly[i]) + grow});
    }
    const QRectF box = boundsOf(poly, grow);
    const int r0 = std::max(0, static_cast<int>(std::floor((box.top() - corner.y()) / cell)));
    const int r1 = std::min(rowCount - 1, static_cast<int>(std::floor((box.bottom() - corner.y()) / cell)));
    for (int r = r0; r <= r1; ++r) {
        const double y0 = corner.y() + r * cell, y1 = y0 + cell;
        double lo = box.left() - cell, hi = box.right();
        bool empty = false;
        for (const Side& s : sides) {
            const double rest = s.limit - s.normal.y() * (s.normal.y() > 0 ? y0 : y1);
            if (std::fabs(s.normal.x()) < 1e-12) {
                if (rest < 0) empty = true;
            } else if (s.normal.x() > 0) {
                hi = std::min(hi, rest / s.normal.x());
            } else {
                lo = std::max(lo, rest / s.normal.x() - cell);
            }
        }
        if (empty || lo > hi) continue;
        const int c0 = std::max(0, static_cast<int>(std::ceil((lo - corner.x()) / cell)));
        const int c1 = std::min(columns - 1, static_cast<int>(std::floor((hi - corner.x()) / cell)));
        if (c0 <= c1) runs.push_back({r, c0, c1});
    }
}

// The piece turned, or nothing where it does not fit the area at that turn. `hull` holds the
// corners of the piece's convex hull, which decide its bounds at any turn.
std::optional<TurnedPiece> turned(const PackPiece& piece, const std::vector<QPointF>& hull, double radians,
                                  double pad, double grow, QSizeF area, double cell) {
    if (!fitsIn(turnedSize(hull, radians), area)) return std::nullopt;
    TurnedPiece t;
    t.radians = radians;
    std::vector<QPointF> turnedHull;
    for (const QPointF& c : hull)
        turnedHull.push_back(turn(c, radians));
    t.bounds = boundsOf(turnedHull);
    const QPointF corner = t.bounds.topLeft() - QPointF(pad, pad);
    const int columns = static_cast<int>(std::ceil((t.bounds.width() + 2 * pad) / cell)) + 1;
    const int rowCount = static_cast<int>(std::ceil((t.bounds.height() + 2 * pad) / cell)) + 1;
    std::vector<TurnedPiece::Run> runs;
    const double cs = std::cos(radians), sn = std::sin(radians);
    Polygon q;
    for (const Polygon& p : piece.outlines) {
        q.clear();
        for (const QPointF& c : p)
            q.push_back({cs * c.x() - sn * c.y(), sn * c.x() + cs * c.y()});
        mark(q, grow, corner, columns, rowCount, cell, runs);
    }
    // Runs gathered row by row (a row holds few), and those that meet or overlap become one.
    std::vector<int> startOf(static_cast<std::size_t>(rowCount) + 1, 0);
    for (const TurnedPiece::Run& run : runs)
        ++startOf[static_cast<std::size_t>(run.row) + 1];
    for (std::size_t r = 1; r < startOf.size(); ++r)
        startOf[r] += startOf[r - 1];
    std::vector<TurnedPiece::Run> byRow(runs.size());
    {
        std::vector<int> next(startOf.begin(), startOf.end() - 1);
        for (const TurnedPiece::Run& run : runs)
            byRow[static_cast<std::size_t>(next[static_cast<std::size_t>(run.row)]++)] = run;
    }
    t.runs.reserve(byRow.size());
    for (int r = 0; r < rowCount; ++r) {
        const auto from = byRow.begin() + startOf[static_cast<std::size_t>(r)];
        const auto to = byRow.begin() + startOf[static_cast<std::size_t>(r) + 1];
        std::sort(from, to, [](const TurnedPiece::Run& u, const TurnedPiece::Run& v) { return u.a < v.a; });
        for (auto it = from; it != to; ++it) {
            if (!t.runs.empty() && t.runs.back().row == r && it->a <= t.runs.back().b + 1)
                t.runs.back().b = std::max(t.runs.back().b, it->b);
            else
                t.runs.push_back(*it);
        }
    }
    struct Row {
        int row, first, filled, longest;
    };
    std::vector<Row> rows;
    for (std::size_t i = 0; i < t.runs.size(); ++i) {
        const TurnedPiece::Run& run = t.runs[i];
        if (rows.empty() || rows.back().row != run.row) rows.push_back({run.row, static_cast<int>(i), 0, 0});
        rows.back().filled += run.b - run.a + 1;
        rows.back().longest = std::max(rows.back().longest, run.b - run.a + 1);
        t.cells += run.b - run.a + 1;
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& u, const Row& v) { return u.filled > v.filled; });
    for (const Row& r : rows) {
        t.rowOrder.push_back(r.row);
        t.runsAt.push_back(r.first);
        t.longestRun.push_back(r.longest);
    }
    return t;
}

// Whether every row of the piece finds a free run as long as its own longest one, with the
// piece's grid corner in row y: where one does not, no column will do.
bool rowsHaveRoom(const SheetCells& sheet, const TurnedPiece& t, int y) {
    for (std::size_t i = 0; i < t.rowOrder.size(); ++i)
        if (sheet.freeRun(y + t.rowOrder[i]) < t.longestRun[i]) return false;
    return true;
}

// -1 where the piece fits with its grid's corner on cell x, y; otherwise the next column at which
// the taken cell found in its way is no longer under the same run.
int blockedAt(const SheetCells& sheet, const TurnedPiece& t, int x, int y) {
    for (std::size_t i = 0; i < t.rowOrder.size(); ++i) {
        const int r = t.rowOrder[i];
        for (std::size_t k = static_cast<std::size_t>(t.runsAt[i]); k < t.runs.size() && t.runs[k].row == r;
             ++k) {
            const int a = t.runs[k].a, b = t.runs[k].b;
            if (const int hit = sheet.lastTakenIn(y + r, x + a, x + b); hit >= 0)
                return std::max(x + 1, hit - a + 1);
        }
    }
    return -1;
}

void takeAt(SheetCells& sheet, const TurnedPiece& t, int x, int y) {
    for (const TurnedPiece::Run& run : t.runs)
        sheet.take(y + run.row, x + run.a, x + run.b);
}

// The turns tried for a piece: evenly spread, and those that lay a side of its hull along the
// page, best first, with their quarter turns.
std::vector<double> turnsFor(const std::vector<QPointF>& hull) {
    std::vector<std::pair<double, double>> aligned; // bounding area, turn
    for (std::size_t i = 0; i < hull.size(); ++i) {
        const QPointF d = hull[(i + 1) % hull.size()] - hull[i];
        if (length2(d) < 1e-9) continue;
        const double radians = -std::atan2(d.y(), d.x());
        const QSizeF s = turnedSize(hull, radians);
        aligned.push_back({s.width() * s.height(), radians});
    }
    std::sort(aligned.begin(), aligned.end());
    std::vector<double> out;
    for (std::size_t i = 0; i < aligned.size() && out.size() < 4; ++i) {
        const bool known = std::any_of(out.begin(), out.end(), [&](double r) {
            return std::fabs(std::remainder(r - aligned[i].second, std::numbers::pi / 2)) < 1e-6;
        });
        if (known) continue;
        for (int q = 0; q < 4; ++q)
            out.push_back(aligned[i].second + q * std::numbers::pi / 2);
    }
    for (int k = 0; k < kEvenTurns; ++k)
        out.push_back(k * 2 * std::numbers::pi / kEvenTurns);
    return out;
}

// A piece's outlines and the packing's measures, as the key under which its turns are kept.
std::vector<double> keyOf(const PackPiece& piece, QSizeF area, double pad, double grow, double cell) {
    std::vector<double> key{area.width(), area.height(), pad, grow, cell};
    for (const Polygon& p : piece.outlines) {
        key.push_back(static_cast<double>(p.size()));
        for (const QPointF& q : p)
            key.insert(key.end(), {q.x(), q.y()});
    }
    return key;
}

// The piece at each turn it fits the area at.
std::vector<TurnedPiece> turnsOf(const PackPiece& piece, QSizeF area, double pad, double grow, double cell) {
    std::vector<TurnedPiece> ways;
    std::vector<QPointF> all;
    for (const Polygon& p : piece.outlines)
        all.insert(all.end(), p.begin(), p.end());
    const std::vector<QPointF> hull = hullOf(std::move(all));
    for (double radians : turnsFor(hull)) {
        if (std::optional<TurnedPiece> t = turned(piece, hull, radians, pad, grow, area, cell))
            ways.push_back(std::move(*t));
    }
    // A piece as large as the page may fit at a turn between those: every degree is tried.
    for (int degree = 0; degree < 360 && ways.empty(); ++degree)
        if (std::optional<TurnedPiece> t =
                turned(piece, hull, degree * std::numbers::pi / 180, pad, grow, area, cell))
            ways.push_back(std::move(*t));
    return ways;
}

} // namespace

struct PackMemo::Store {
    std::map<std::vector<double>, std::vector<TurnedPiece>> turns;
};

PackMemo::PackMemo() : store_(std::make_unique<Store>()) {}
PackMemo::~PackMemo() = default;

// Packs the pieces in the order given, each on the first sheet with room, where it lies lowest.
// Given up once more than `limit` sheets are needed: the count is then limit + 1, and not every
// piece has its place.
std::vector<PackPlace> packInOrder(const std::vector<PackPiece>& pieces,
                                   const std::vector<const std::vector<TurnedPiece>*>& turnsOfPiece,
                                   const std::vector<std::size_t>& order, QSizeF area, int columns, int rows,
                                   double cell, int limit, int& sheetCount) {
    std::vector<PackPlace> out(pieces.size());
    std::vector<SheetCells> sheets;
    for (std::size_t i : order) {
        if (static_cast<int>(sheets.size()) > limit) break;
        const std::vector<TurnedPiece>& ways = *turnsOfPiece[i];
        if (ways.empty()) {
            // Wider or taller than the area at every turn tried: alone on a sheet, at its top left.
            std::vector<QPointF> all;
            for (const Polygon& p : pieces[i].outlines)
                all.insert(all.end(), p.begin(), p.end());
            const QRectF box = boundsOf(all);
            out[i] = {static_cast<int>(sheets.size()), 0, -box.topLeft()};
            sheets.emplace_back(columns, rows);
            for (int r = 0; r < rows; ++r)
                sheets.back().take(r, 0, columns - 1);
            continue;
        }
        long leastCells = ways.front().cells;
        for (const TurnedPiece& t : ways)
            leastCells = std::min(leastCells, t.cells);
        bool placed = false;
        for (std::size_t s = 0; s <= sheets.size() && !placed; ++s) {
            if (s == sheets.size()) sheets.emplace_back(columns, rows);
            SheetCells& sheet = sheets[s];
            if (static_cast<long>(columns) * rows - sheet.taken() < leastCells) continue;
            // The lowest bottom edge, then the leftmost.
            double bestBottom = INFINITY;
            int bestX = 0, bestY = 0;
            const TurnedPiece* best = nullptr;
            for (const TurnedPiece& t : ways) {
                const int lastX = static_cast<int>(std::floor((area.width() - t.bounds.width()) / cell));
                const int lastY = static_cast<int>(std::floor((area.height() - t.bounds.height()) / cell));
                for (int y = 0; y <= lastY; ++y) {
                    const double bottom = y * cell + t.bounds.height();
                    if (bottom >= bestBottom - 1e-9) break;
                    if (!rowsHaveRoom(sheet, t, y)) continue;
                    bool found = false;
                    for (int x = 0; x <= lastX;) {
                        const int next = blockedAt(sheet, t, x, y);
                        if (next < 0) {
                            bestBottom = bottom, bestX = x, bestY = y, best = &t, found = true;
                            break;
                        }
                        x = next;
                    }
                    if (found) break;
                }
            }
            if (!best) continue;
            takeAt(sheet, *best, bestX, bestY);
            // Cell (x, y) of the piece's grid lies on cell (x, y) of the sheet's, whose corner is
            // `pad` up and left of the area's: the turned bounds' top left goes to x, y cells.
            out[i] = {static_cast<int>(s), best->radians,
                      QPointF(bestX * cell, bestY * cell) - best->bounds.topLeft()};
            placed = true;
        }
    }
    sheetCount = std::min(static_cast<int>(sheets.size()), limit == INT_MAX ? INT_MAX : limit + 1);
    return out;
}

// Packs the pieces in each of the orders, sheet row by sheet row; each after the first is given up
// once it needs as many sheets as the best before it.
std::vector<PackPlace> packInRows(const std::vector<PackPiece>& pieces, QSizeF area, double gap, double cell,
                                  int& sheetCount, int enough, int limit, PackMemo* memo) {
    const double grow = gap / 2;
    const double pad = grow + cell;
    const int columns = static_cast<int>(std::ceil((area.width() + 2 * pad) / cell)) + 2;
    const int rows = static_cast<int>(std::ceil((area.height() + 2 * pad) / cell)) + 2;
    // Without a memo, the turns are kept here; with one, in the memo, which keeps them in place.
    std::vector<std::vector<TurnedPiece>> drawn(memo ? 0 : pieces.size());
    std::vector<const std::vector<TurnedPiece>*> ways(pieces.size());
    std::vector<double> faceArea(pieces.size(), 0);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (memo) {
            std::vector<double> key = keyOf(pieces[i], area, pad, grow, cell);
            auto& known = memo->store().turns;
            auto it = known.find(key);
            if (it == known.end())
                it = known.emplace(std::move(key), turnsOf(pieces[i], area, pad, grow, cell)).first;
            ways[i] = &it->second;
        } else {
            drawn[i] = turnsOf(pieces[i], area, pad, grow, cell);
            ways[i] = &drawn[i];
        }
        for (const Polygon& p : pieces[i].outlines)
            faceArea[i] += std::fabs(signedArea(p));
    }
    // Largest first, by the faces' area, by the cells taken with tabs and gap, and by the longest
    // side at the narrowest turn; the order that takes the fewest sheets wins.
    std::vector<double> cells(pieces.size(), 0), longest(pieces.size(), 0);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        double narrowest = INFINITY;
        for (const TurnedPiece& t : *ways[i]) {
            cells[i] = cells[i] == 0 ? static_cast<double>(t.cells)
                                     : std::min(cells[i], static_cast<double>(t.cells));
            if (std::min(t.bounds.width(), t.bounds.height()) < narrowest)
                narrowest = std::min(t.bounds.width(), t.bounds.height()),
                longest[i] = std::max(t.bounds.width(), t.bounds.height());
        }
    }
    std::vector<PackPlace> best;
    sheetCount = 0;
    std::vector<std::vector<std::size_t>> orders; // those packed already, which would pack the same
    for (const std::vector<double>* key : {&faceArea, &cells, &longest}) {
        std::vector<std::size_t> order(pieces.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return (*key)[a] > (*key)[b]; });
        if (std::find(orders.begin(), orders.end(), order) != orders.end()) continue;
        orders.push_back(order);
        int sheets = 0;
        const int within = best.empty() ? limit : std::min(limit, sheetCount - 1);
        std::vector<PackPlace> places =
            packInOrder(pieces, ways, order, area, columns, rows, cell, within, sheets);
        if (best.empty() || sheets < sheetCount) best = std::move(places), sheetCount = sheets;
        if (sheetCount <= enough || sheetCount > limit) break;
    }
    return best;
}

std::vector<PackPlace> packPieces(const std::vector<PackPiece>& pieces, QSizeF area, double gap,
                                  int& sheetCount, int enough, int limit, double cell, PackMemo* memo) {
    // Each piece is packed from its first corner: the same piece anywhere in the plan is then drawn
    // into the same cells, and known again. Its place is moved back by that corner at the end.
    std::vector<QPointF> from(pieces.size());
    std::vector<PackPiece> moved = pieces;
    for (std::size_t i = 0; i < moved.size(); ++i) {
        for (const Polygon& p : moved[i].outlines)
            if (!p.empty()) {
                from[i] = p.front();
                break;
            }
        for (Polygon& p : moved[i].outlines)
            for (QPointF& q : p)
                q -= from[i];
    }
    auto movedBack = [&](std::vector<PackPlace> places) {
        for (std::size_t i = 0; i < places.size() && i < from.size(); ++i)
            places[i].shift -= turn(from[i], places[i].radians);
        return places;
    };
    std::vector<PackPlace> best = packInRows(moved, area, gap, cell, sheetCount, enough, limit, memo);
    if (sheetCount <= enough || sheetCount > limit) return movedBack(std::move(best));
    // Sheet column by sheet column: the pieces mirrored across the diagonal, packed in rows on the
    // sheet mirrored the same way, and mirrored back, which turns each the other way round.
    std::vector<PackPiece> mirrored = moved;
    for (PackPiece& piece : mirrored)
        for (Polygon& p : piece.outlines)
            for (QPointF& q : p)
                q = QPointF(q.y(), q.x());
    int sheets = 0;
    std::vector<PackPlace> places =
        packInRows(mirrored, area.transposed(), gap, cell, sheets, enough, sheetCount - 1, memo);
    if (sheets < sheetCount) {
        for (PackPlace& place : places)
            place = {place.sheet, -place.radians, QPointF(place.shift.y(), place.shift.x())};
        best = std::move(places), sheetCount = sheets;
    }
    return movedBack(std::move(best));
}

} // namespace kesmora::nets
