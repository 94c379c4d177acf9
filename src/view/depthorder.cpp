// Depth lists of a figure's faces and the two far-to-near orders the drawing modes paint them in.
#include "depthorder.h"

#include <algorithm>
#include <utility>

namespace kesmora {

int buildDepthList(const FaceRecord* records, int faceCount, DepthList& list) {
    const int n = std::clamp(faceCount, 0, kMaxFaces);
    for (int k = 0; k < n; ++k)
        list[k] = {records[k].centroid.z, records[k].colour, k};
    return n;
}

void orderBySelection(DepthList& list, int n) {
    n = std::clamp(n, 0, kMaxFaces);
    for (int j = 0; j < n; ++j) {
        int p = j;
        for (int q = j + 1; q < n; ++q) {
            if (list[q].depth > list[p].depth) p = q;
        }
        std::swap(list[j], list[p]);
    }
}

void orderByExchange(DepthList& list, int n) {
    n = std::clamp(n, 0, kMaxFaces);
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (list[i].depth < list[j].depth) std::swap(list[i], list[j]);
        }
    }
}

} // namespace kesmora
