// Depth lists of a figure's faces and the two far-to-near orders the drawing modes paint them in.
#include "depthorder.h"

#include <algorithm>
#include <cmath>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kesmora {

void DepthList::reserve(int n) {
    const auto size = static_cast<std::size_t>(std::max(n, 0));
    if (entries_.size() < size) {
        entries_.resize(size);
        sorted_.resize(size);
        depths_.resize(size + 1);
        order_.resize(size);
    }
}

void DepthList::resize(int n) {
    n = std::max(n, 0);
    reserve(n);
    for (int k = count_; k < n; ++k)
        entries_[static_cast<std::size_t>(k)] = DepthEntry{};
    count_ = n;
}

int buildDepthList(const CheckedTable<FaceRecord>& records, DepthList& list) {
    const int n = records.size();
    list.resize(n);
    for (int k = 0; k < n; ++k)
        list[k] = {records[k].centroid.z, records[k].colour, k};
    return n;
}

namespace {

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
// A function object rather than a function pointer, so that the sort inlines the comparison.
struct DeeperFirst {
    bool operator()(const DepthEntry& a, const DepthEntry& b) const { return a.depth > b.depth; }
};

bool sortedIfDistinct(std::vector<DepthEntry>& entries, std::vector<DepthEntry>& sorted, int n) {
    const auto end = static_cast<std::ptrdiff_t>(n);
    for (int i = 0; i < n; ++i)
        if (std::isnan(entries[static_cast<std::size_t>(i)].depth)) return false;
    std::copy(entries.begin(), entries.begin() + end, sorted.begin());
    std::sort(sorted.begin(), sorted.begin() + end, DeeperFirst{});
    for (int i = 1; i < n; ++i)
        if (sorted[static_cast<std::size_t>(i)].depth == sorted[static_cast<std::size_t>(i - 1)].depth)
            return false;
    std::copy(sorted.begin(), sorted.begin() + end, entries.begin());
    return true;
}

// The order of a long list: deepest first, equal depths in list order, NaN last. Sorted by
// position as the tie-break, which needs no buffer of the sort's own.
void sortStably(std::vector<DepthEntry>& entries, std::vector<DepthEntry>& sorted, std::vector<int>& order,
                int n) {
    const auto end = static_cast<std::ptrdiff_t>(n);
    for (int i = 0; i < n; ++i)
        order[static_cast<std::size_t>(i)] = i;
    std::sort(order.begin(), order.begin() + end, [&](int a, int b) {
        const double da = entries[static_cast<std::size_t>(a)].depth;
        const double db = entries[static_cast<std::size_t>(b)].depth;
        if (std::isnan(da) || std::isnan(db)) return !std::isnan(da) || (std::isnan(db) && a < b);
        return da > db || (da == db && a < b);
    });
    for (int i = 0; i < n; ++i)
        sorted[static_cast<std::size_t>(i)] = entries[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
    std::copy(sorted.begin(), sorted.begin() + end, entries.begin());
}

} // namespace

void orderBySelection(DepthList& list, int n) {
    n = std::clamp(n, 0, list.size());
    std::vector<DepthEntry>& entries = list.entries_;
    if (n > kLargestScannedOrder) return sortStably(entries, list.sorted_, list.order_, n);
    if (sortedIfDistinct(entries, list.sorted_, n)) return;
    std::vector<double>& d = list.depths_;
    for (int i = 0; i < n; ++i)
        d[static_cast<std::size_t>(i)] = entries[static_cast<std::size_t>(i)].depth;
    // The plain scan moves to the next entry deeper than the one it holds; jumping there directly,
    // two comparisons at a time, makes the same moves.
    for (int j = 0; j < n; ++j) {
        int p = j;
        for (int q = firstDeeper(d.data(), j + 1, n, d[static_cast<std::size_t>(p)]); q < n;
             q = firstDeeper(d.data(), q + 1, n, d[static_cast<std::size_t>(p)]))
            p = q;
        std::swap(entries[static_cast<std::size_t>(j)], entries[static_cast<std::size_t>(p)]);
        std::swap(d[static_cast<std::size_t>(j)], d[static_cast<std::size_t>(p)]);
    }
}

void orderByExchange(DepthList& list, int n) {
    n = std::clamp(n, 0, list.size());
    std::vector<DepthEntry>& entries = list.entries_;
    if (n > kLargestScannedOrder) return sortStably(entries, list.sorted_, list.order_, n);
    if (sortedIfDistinct(entries, list.sorted_, n)) return;
    for (std::size_t i = 0; i + 1 < static_cast<std::size_t>(n); ++i) {
        for (std::size_t j = i + 1; j < static_cast<std::size_t>(n); ++j) {
            if (entries[i].depth < entries[j].depth) std::swap(entries[i], entries[j]);
        }
    }
}

} // namespace kesmora
