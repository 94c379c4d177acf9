// The edges of a polygon mesh and the face sides on each: the one map that the surface check,
// the inspector's meshes and nets and the catalogue generator build their neighbourhoods from.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <utility>
#include <vector>

namespace kesmora {

// Side k of a face runs from its corner k to corner k + 1.
struct FaceSide {
    int face = -1;
    int index = -1;
};

// An undirected edge (a < b), the first two face sides met on it, whether each of them runs from
// a to b, and how many sides lie on it in all (a closed surface has two on every edge).
struct MeshEdge {
    int a = 0;
    int b = 0;
    std::array<FaceSide, 2> sides{};
    std::array<bool, 2> forward{};
    int uses = 0;
    int other(int face) const { return sides[0].face == face ? sides[1].face : sides[0].face; }
};

// Edge numbers by their ends for a mesh of a known size, `edges` edges at most on vertices numbered
// below `vertices`: open addressing in one table, at most half full, keyed by lower * (vertices + 1)
// + higher. The surface check makes one per figure and build, so that a large figure's check stays
// linear.
class SizedEdgeIndex {
  public:
    SizedEdgeIndex(std::size_t edges, int vertices) : stride_(static_cast<std::int64_t>(vertices) + 1) {
        std::size_t room = 16;
        while (room < 2 * edges + 2) // at most half full
            room *= 2;
        slots_.assign(room, Slot{-1, -1});
    }
    int& find(int a, int b) {
        const std::int64_t key = static_cast<std::int64_t>(a) * stride_ + b;
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = (static_cast<std::size_t>(key) * 0x9E3779B97F4A7C15ull >> 20) & mask;
        while (slots_[i].key != -1 && slots_[i].key != key)
            i = (i + 1) & mask;
        slots_[i].key = key;
        return slots_[i].edge;
    }

  private:
    struct Slot {
        std::int64_t key;
        int edge;
    };
    std::int64_t stride_;
    std::vector<Slot> slots_;
};

// The same on the heap, for meshes of any size.
class MapEdgeIndex {
  public:
    int& find(int a, int b) { return edges_.try_emplace({a, b}, -1).first->second; }

  private:
    std::map<std::pair<int, int>, int> edges_;
};

// Walks every face side in face order: fills `edges` in the order their first side is met and
// `edgeOfSide` (side k of face f at firstSide(f) + k) with each side's edge. sizeOf(f) is a face's
// number of corners, vertexAt(f, k) its corner k. Returns the number of edges, or -1 when they or
// the sides do not fit the spans.
template <class Index, class SizeOf, class VertexAt>
int mapEdges(int faceCount, SizeOf sizeOf, VertexAt vertexAt, Index& index, std::span<MeshEdge> edges,
             std::span<int> edgeOfSide) {
    int edgeCount = 0;
    std::size_t side = 0;
    for (int f = 0; f < faceCount; ++f) {
        const int n = sizeOf(f);
        for (int k = 0; k < n; ++k) {
            const int from = vertexAt(f, k);
            const int to = vertexAt(f, (k + 1) % n);
            const int a = from < to ? from : to;
            const int b = from < to ? to : from;
            int& slot = index.find(a, b);
            if (slot < 0) {
                if (edgeCount == static_cast<int>(edges.size())) return -1;
                slot = edgeCount;
                edges[static_cast<std::size_t>(edgeCount++)] = MeshEdge{a, b, {}, {}, 0};
            }
            MeshEdge& e = edges[static_cast<std::size_t>(slot)];
            if (e.uses < 2) {
                e.sides[static_cast<std::size_t>(e.uses)] = {f, k};
                e.forward[static_cast<std::size_t>(e.uses)] = from < to;
            }
            ++e.uses;
            if (side == edgeOfSide.size()) return -1;
            edgeOfSide[side++] = slot;
        }
    }
    return edgeCount;
}

// A mesh's edges on the heap, sorted by their ends.
struct EdgeMap {
    std::vector<MeshEdge> edges;
    std::vector<int> firstSide;  // per face, and one past the last: where its sides start
    std::vector<int> edgeOfSide; // per face side in face order: its edge
    std::span<const int> sidesOf(int face) const {
        return std::span<const int>(edgeOfSide)
            .subspan(static_cast<std::size_t>(firstSide[face]),
                     static_cast<std::size_t>(firstSide[face + 1] - firstSide[face]));
    }
};

// The edge map of faces given as vertex numbers in boundary order.
EdgeMap edgeMap(const std::vector<std::vector<int>>& faces);

} // namespace kesmora
