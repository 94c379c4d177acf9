// An operation watched as it happens: the figures on the way from the solid an operation was
// applied to, to its result. Truncation, ambo, expansion and bevel cut the corners ever deeper
// (each new corner face grows from a point while the old faces move apart, keeping their
// directions); kis, join and ortho raise pyramids from the faces. The way is read off the result alone, from the order in which the
// operations lay out its faces and vertices (the old faces first, then those of the old vertices;
// the old vertices first, then the face centres, then the edge points), and is checked against it.
#pragma once

#include "geometryerror.h"
#include "point3d.h"
#include "polymesh.h"

#include <vector>

namespace kesmora {

class OperationTransition {
  public:
    // Whether the letter has a continuous way to show: t a k e j o b.
    static bool animates(char letter);

    // The way to `result`, which the operation `letter` made from a solid of `seedVertices`
    // vertices and `seedFaces` faces. Throws GeometryError when the letter has no such way or the
    // result is not laid out as that operation lays it out.
    OperationTransition(const PolyMesh& result, char letter, int seedVertices, int seedFaces);

    // The figure at position s from 0 (the solid, its new faces shrunk to points or lying flat)
    // to 1 (the result's shape: vertices where the result has them; truncation's neighbours that ambo
    // joins then coincide). Positions outside [0, 1] are taken as the nearer end.
    PolyMesh at(double s) const;
    // The same for the result as it is placed now (turned, zoomed, moved as a whole since the way
    // was made): `placed` holds the result's vertices in their order. Throws GeometryError when it
    // has another number of them.
    PolyMesh at(double s, const std::vector<Point3D>& placed) const;

  private:
    void growCorners(const PolyMesh& result, int keptFaces, int growingFaces);
    void raise(const PolyMesh& result, char letter, int seedVertices, int seedFaces);

    void chooseAnchors(const PolyMesh& result);

    std::vector<Point3D> from_;
    std::vector<Point3D> to_;
    std::vector<int> resultVertex_; // per point of the way: the result's vertex it ends on
    std::vector<std::vector<int>> faces_;
    // Four of the result's vertices that span space, and the inverse of the matrix of their
    // differences, to carry the starting points along when the result is turned or zoomed.
    int anchors_[4] = {0, 0, 0, 0};
    Point3D anchorsThen_[4];
    std::size_t vertexCount_ = 0;
    double inverse_[3][3] = {};
    bool carried_ = false;
};

// A smooth start and end for a position t in [0, 1]: slow at both ends, as objects move.
double easedPosition(double t);

} // namespace kesmora
