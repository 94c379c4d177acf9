// Depth lists of a figure's faces and the two far-to-near orders the drawing modes paint them in.
// Depth is the z of a face's centroid; larger z is farther from the viewer.
#pragma once

#include "geometry/solidmodel.h"

#include <cstdint>
#include <vector>

namespace kesmora {

struct DepthEntry {
    double depth = 0.0;
    std::int32_t colour = 0; // the face record's colour number
    int face = 0;            // index into the figure's face table
};

// One entry per face, with the room the orders work in. The list keeps its storage between frames:
// once it has held a figure's faces, filling and ordering it again allocates nothing.
class DepthList {
  public:
    int size() const { return count_; }
    // Entries beyond the old count come back as fresh entries.
    void resize(int n);
    // Room for n entries, so that filling the list with that many allocates nothing.
    void reserve(int n);
    DepthEntry& operator[](int i) {
        tablecheck::index("DepthList", i, static_cast<std::size_t>(count_));
        return entries_[static_cast<std::size_t>(i)];
    }
    const DepthEntry& operator[](int i) const {
        tablecheck::index("DepthList", i, static_cast<std::size_t>(count_));
        return entries_[static_cast<std::size_t>(i)];
    }

    DepthEntry* begin() { return entries_.data(); }
    DepthEntry* end() { return entries_.data() + count_; }
    const DepthEntry* begin() const { return entries_.data(); }
    const DepthEntry* end() const { return entries_.data() + count_; }

  private:
    friend void orderBySelection(DepthList& list, int n);
    friend void orderByExchange(DepthList& list, int n);
    std::vector<DepthEntry> entries_;
    std::vector<DepthEntry> sorted_; // room for the shortcut of both orders
    std::vector<double> depths_;     // the depths side by side, one more than the entries
    std::vector<int> order_;         // positions, for the order of long lists
    int count_ = 0;
};

// One entry per face in face order; returns the number of entries.
int buildDepthList(const CheckedTable<FaceRecord>& records, DepthList& list);

// Beyond this many faces the two orders below leave entries of equal depth in their order in the
// list (a stable sort) instead of where the scans would leave them: the scans take n^2 steps where
// depths are equal, and no body of the catalogue comes near it.
inline constexpr int kLargestScannedOrder = 1024;

// The order of the side-by-side modes: position j receives the first of the largest depths among
// positions j .. n-1, exchanged with what stood at j. Equal depths keep the earlier position first
// only as far as the exchanges leave them in place.
void orderBySelection(DepthList& list, int n);

// The order of the interpenetration modes: for each i < j the entries are exchanged when
// depth[i] < depth[j]; entries of equal depth are never exchanged with each other.
void orderByExchange(DepthList& list, int n);

} // namespace kesmora
