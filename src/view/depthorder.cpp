// Depth lists of a figure's faces and the two far-to-near orders the drawing modes paint them in.
#include "depthorder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kesmora {

int buildDepthList(const FixedTable<FaceRecord, kMaxFaces>& records, DepthList& list) {
    const int n = records.size();
    for (int k = 0; k < n; ++k)
        list[k] = {records[k].centroid.z, records[k].colour, k};
    return n;
}

namespace {

// The depths side by side, so that two of them are compared at a time; kept in step with the list.
using Depths = std::array<double, kMaxFaces + 1>;

// First q in [from, n) with d[q] > value, or n.
int firstDeeper(const double* d, int from, int n, double value) {
#if defined(__SSE2__)
    const __m128d v = _mm_set1_pd(value);
    for (; from + 2 <= n; from += 2) {
        const int mask = _mm_movemask_pd(_mm_cmpgt_pd(_mm_loadu_pd(d + from), v));
        if (mask) return from + ((mask & 1) ? 0 : 1);
    }
#endif
    for (; from < n; ++from)
        if (d[from] > value) return from;
    return n;
}

// Both orders put the deepest first; they differ only in where they leave entries of equal depth
// (and NaN, which compares as nothing does). With all depths distinct and none NaN there is just one
// such order, which a plain sort finds in n log n instead of n^2 steps. Returns false, leaving the
// list as it was, when two depths are equal or one is NaN.
bool sortedIfDistinct(DepthList& list, int n) {
    DepthList sorted;
    for (int i = 0; i < n; ++i) {
        if (std::isnan(list[static_cast<std::size_t>(i)].depth)) return false;
        sorted[static_cast<std::size_t>(i)] = list[static_cast<std::size_t>(i)];
    }
    std::sort(sorted.begin(), sorted.begin() + n,
              [](const DepthEntry& a, const DepthEntry& b) { return a.depth > b.depth; });
    for (int i = 1; i < n; ++i)
        if (sorted[static_cast<std::size_t>(i)].depth == sorted[static_cast<std::size_t>(i - 1)].depth)
            return false;
    std::copy(sorted.begin(), sorted.begin() + n, list.begin());
    return true;
}

void swapEntries(DepthList& list, Depths& d, int a, int b) {
    std::swap(list[static_cast<std::size_t>(a)], list[static_cast<std::size_t>(b)]);
    std::swap(d[static_cast<std::size_t>(a)], d[static_cast<std::size_t>(b)]);
}

} // namespace

void orderBySelection(DepthList& list, int n) {
    n = std::clamp(n, 0, kMaxFaces);
    if (sortedIfDistinct(list, n)) return;
    Depths d;
    for (int i = 0; i < n; ++i)
        d[static_cast<std::size_t>(i)] = list[static_cast<std::size_t>(i)].depth;
    // The plain scan moves to the next entry deeper than the one it holds; jumping there directly,
    // two comparisons at a time, makes the same moves.
    for (int j = 0; j < n; ++j) {
        int p = j;
        for (int q = firstDeeper(d.data(), j + 1, n, d[static_cast<std::size_t>(p)]); q < n;
             q = firstDeeper(d.data(), q + 1, n, d[static_cast<std::size_t>(p)]))
            p = q;
        swapEntries(list, d, j, p);
    }
}

void orderByExchange(DepthList& list, int n) {
    n = std::clamp(n, 0, kMaxFaces);
    if (sortedIfDistinct(list, n)) return;
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (list[i].depth < list[j].depth) std::swap(list[i], list[j]);
        }
    }
}

} // namespace kesmora
