// Packing the pieces of a net onto as few sheets as they go on: each piece, turned to any angle,
// is drawn into a grid of cells (a millimetre, or finer), grown by half the cutting gap, and put where it
// lies lowest on the first sheet that has room for it.
#pragma once

#include "unfold.h"

#include <QPointF>
#include <QSizeF>

#include <climits>
#include <memory>
#include <vector>

namespace kesmora::nets {

// A piece to pack: the convex outlines it is made of (faces and tabs), in any position.
struct PackPiece {
    std::vector<Polygon> outlines;
};

// Where a piece went: its sheet, and the turn and shift that take its outlines there (turned
// about the origin first, then shifted), in the coordinates of the area, which start at 0, 0.
struct PackPlace {
    int sheet = 0;
    double radians = 0;
    QPointF shift;
};

// The pieces already drawn into cells at every turn, kept for the packings of one net: the plans
// tried for a net share many pieces, which are drawn once. A piece is known again only where its
// outlines, the area, the gap and the cells are exactly the same, so it packs exactly as before.
class PackMemo {
  public:
    PackMemo();
    ~PackMemo();
    PackMemo(const PackMemo&) = delete;
    PackMemo& operator=(const PackMemo&) = delete;

    struct Store;
    Store& store() { return *store_; }

  private:
    std::unique_ptr<Store> store_;
};

// Packs the pieces into sheets of `area`, pieces at least `gap` apart. Each piece must fit the
// area alone at one of the turns tried; one that does not is put alone on a sheet at its turn of
// least width. Several orders are tried, the pieces largest first by one measure or another, and
// the one on the fewest sheets is kept; the search stops at `enough` sheets. A packing that needs
// more than `limit` sheets is given up as soon as it does: `sheets` is then limit + 1, and the
// places are not all set. `cell` is the side of the grid's cells in millimetres: finer cells
// waste less room between pieces and take longer. With a `memo`, pieces drawn for an earlier
// packing are taken from it, and those drawn now are kept there.
std::vector<PackPlace> packPieces(const std::vector<PackPiece>& pieces, QSizeF area, double gap, int& sheets,
                                  int enough = 1, int limit = INT_MAX, double cell = 1,
                                  PackMemo* memo = nullptr);

} // namespace kesmora::nets
