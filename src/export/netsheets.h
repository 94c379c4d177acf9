// The planned net on its sheets: pieces placed across the pages, and the glue numbers in the faces.
#pragma once

#include "netlayout.h"
#include "netpacking.h"
#include "netplanner.h"

#include <QSizeF>

#include <climits>

namespace kesmora::nets {

// Packs the pieces, turned freely, tabs and all, a cutting gap apart, onto as few sheets as they go
// on (export/netpacking.h): the largest first, each where it lies lowest on the first sheet with room.
// Fills the layout's sheet and piece counts, faces and tabs; `area` is the room for pieces on a
// sheet. The packing stops trying other orders once the pieces take no more than `enough` sheets;
// where they need more than `limit`, it gives up (export/netpacking.h) and the layout is not to be
// used. `cell` is the packing grid's cell in millimetres; `memo` keeps the pieces drawn into
// cells for the other plans of the same net.
void placeOnSheets(const Plan& p, NetLayout& out, QSizeF area, int enough = 1, int limit = INT_MAX,
                   double cell = 1, PackMemo* memo = nullptr);

// The glue number inside the face along side k: as large as the face leaves room for, upright
// when the side is at the bottom.
// Where the partner side is on another sheet, the label names it, and is made small enough for that.
NetLabel labelFor(const Polygon& face, int f, int k, int number, int partnerSheet = -1);

} // namespace kesmora::nets
