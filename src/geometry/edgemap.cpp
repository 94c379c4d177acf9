// A mesh's edges on the heap, numbered in the order of their ends.
#include "edgemap.h"

#include <algorithm>
#include <numeric>

namespace kesmora {

EdgeMap edgeMap(const std::vector<std::vector<int>>& faces) {
    EdgeMap map;
    map.firstSide.push_back(0);
    for (const auto& face : faces)
        map.firstSide.push_back(map.firstSide.back() + static_cast<int>(face.size()));
    const std::size_t sides = static_cast<std::size_t>(map.firstSide.back());
    std::vector<MeshEdge> found(sides);
    map.edgeOfSide.resize(sides);
    MapEdgeIndex index;
    const int count = mapEdges(
        static_cast<int>(faces.size()), [&](int f) { return static_cast<int>(faces[f].size()); },
        [&](int f, int k) { return faces[f][k]; }, index, std::span<MeshEdge>(found),
        std::span<int>(map.edgeOfSide));
    found.resize(static_cast<std::size_t>(count));
    // Numbered by their ends, so that whatever walks the edges does so in an order that does not
    // depend on the order of the faces.
    std::vector<int> order(found.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int i, int j) {
        return std::pair(found[i].a, found[i].b) < std::pair(found[j].a, found[j].b);
    });
    std::vector<int> number(found.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        number[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
        map.edges.push_back(found[static_cast<std::size_t>(order[i])]);
    }
    for (int& e : map.edgeOfSide)
        e = number[static_cast<std::size_t>(e)];
    return map;
}

} // namespace kesmora
