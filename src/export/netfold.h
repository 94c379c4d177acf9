// A net folding up into its solid: the pieces of the net laid out for paper, flat, and each face
// turned about its fold to its neighbour until the solid is closed. What model builders look at
// before they cut.
#pragma once

#include "mesh.h"
#include "netlayout.h"

#include <vector>

namespace kesmora {

class NetFolding {
  public:
    // The folds of `layout` (the sides numbered 0) on `mesh`, the mesh it was laid out from. Throws
    // NetError when a fold of the layout is no edge of the mesh.
    NetFolding(const Mesh& mesh, const NetLayout& layout);

    // The figure at position u from 0 (the net flat, each piece in the plane of its first face, the
    // first piece facing the viewer, who looks along z) to 1 (folded: every face where the mesh has
    // it), for the mesh's faces as they stand now (the
    // same mesh turned, moved or zoomed as a whole): a polygon per face with corners of its own, in
    // the mesh's face order, scaled about the centre so that it is as large as the mesh. Throws
    // NetError when `now` has other faces.
    Mesh at(double u, const Mesh& now) const;

    int pieceCount() const { return pieceCount_; }

  private:
    std::vector<int> order_;              // the faces, each after the face it folds to
    std::vector<int> parent_;             // per face: the face it folds to, or -1 for a piece's first
    std::vector<std::pair<int, int>> hinge_; // per face: the two vertices of its fold, in its order
    std::vector<std::vector<int>> faces_; // the mesh's faces, as the layout read them (outward)
    int pieceCount_ = 0;
};

} // namespace kesmora
