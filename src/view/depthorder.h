// Depth lists of a figure's faces and the two far-to-near orders the drawing modes paint them in.
// Depth is the z of a face's centroid; larger z is farther from the viewer.
#pragma once

#include "geometry/solidmodel.h"

#include <array>
#include <cstdint>

namespace kesmora {

struct DepthEntry {
    double depth = 0.0;
    std::int32_t colour = 0; // the face record's colour number
    int face = 0;            // index into the figure's face table
};

// Sized to the face table, so every face the model can hold has its entry.
using DepthList = std::array<DepthEntry, kMaxFaces>;

// One entry per face in face order; returns the number of entries.
int buildDepthList(const FixedTable<FaceRecord, kMaxFaces>& records, DepthList& list);

// The order of the side-by-side modes: position j receives the first of the largest depths among
// positions j .. n-1, exchanged with what stood at j. Equal depths keep the earlier position first
// only as far as the exchanges leave them in place.
void orderBySelection(DepthList& list, int n);

// The order of the interpenetration modes: for each i < j the entries are exchanged when
// depth[i] < depth[j]; entries of equal depth are never exchanged with each other.
void orderByExchange(DepthList& list, int n);

} // namespace kesmora
