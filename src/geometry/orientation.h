// Orienting a mesh's faces alike through the edges they share.
#pragma once

#include "edgemap.h"

#include <span>

namespace kesmora {

// Walks each connected piece breadth first from its lowest face, across every edge with two
// faces: a neighbour keeps its turn when the two run along the shared edge in opposite directions,
// and is reversed when they run alike. Sets flip[f] (1: reverse face f) and piece[f] (pieces
// numbered from 0 in the order of their lowest faces) and returns the number of pieces, or -1
// when some piece has no two sides. Edges with one face are borders; edges with more than two
// the caller refuses first. firstSide and edgeOfSide are as in EdgeMap; queue is scratch space of
// faceCount places, so that the caller decides where the memory comes from.
int orientAlike(int faceCount, std::span<const int> firstSide, std::span<const int> edgeOfSide,
                std::span<const MeshEdge> edges, std::span<signed char> flip, std::span<int> piece,
                std::span<int> queue);

} // namespace kesmora
