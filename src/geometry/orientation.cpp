// Orienting a mesh's faces alike, without memory of its own.
#include "orientation.h"

namespace kesmora {

int orientAlike(int faceCount, std::span<const int> firstSide, std::span<const int> edgeOfSide,
                std::span<const MeshEdge> edges, std::span<signed char> flip, std::span<int> piece,
                std::span<int> queue) {
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    for (int f = 0; f < faceCount; ++f)
        flip[at(f)] = -1;
    int pieces = 0;
    for (int start = 0; start < faceCount; ++start) {
        if (flip[at(start)] >= 0) continue;
        int queued = 0;
        queue[at(queued++)] = start;
        flip[at(start)] = 0;
        piece[at(start)] = pieces;
        for (int q = 0; q < queued; ++q) {
            const int f = queue[at(q)];
            for (int s = firstSide[at(f)]; s < firstSide[at(f) + 1]; ++s) {
                const MeshEdge& e = edges[at(edgeOfSide[at(s)])];
                if (e.uses != 2) continue;
                const int other = e.other(f);
                const int want = flip[at(f)] ^ (e.forward[0] == e.forward[1] ? 1 : 0);
                signed char& known = flip[at(other)];
                if (known == -1) {
                    known = static_cast<signed char>(want);
                    piece[at(other)] = pieces;
                    queue[at(queued++)] = other;
                } else if (known != want) {
                    return -1;
                }
            }
        }
        ++pieces;
    }
    return pieces;
}

} // namespace kesmora
