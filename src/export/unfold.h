// Nets to print, cut out and glue, first half: the faces of a solid unfolded into the plane without
// overlaps. Tabs, numbers, pieces and sheets are export/netlayout.h.
#pragma once

#include "mesh.h"

#include <QPointF>

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kesmora {

using Polygon = std::vector<QPointF>;

inline double cross2(const QPointF& a, const QPointF& b) {
    return a.x() * b.y() - a.y() * b.x();
}
inline double dot2(const QPointF& a, const QPointF& b) {
    return a.x() * b.x() + a.y() * b.y();
}
inline double length2(const QPointF& a) {
    return std::sqrt(dot2(a, a));
}

// Each face in its own plane, turned so that it reads counter-clockwise from outside.
std::vector<Polygon> flatFaces(const Mesh& mesh);
bool isConvex(const Polygon& p, double tolerance);
// The signed angle a walk round the polygon turns through: ±2π for a simple polygon, ±4π for a
// pentagram, which goes round its centre twice.
double totalTurning(const Polygon& p);
// A star polygon (a pentagram face) goes round its centre more than once.
bool windsMoreThanOnce(const Polygon& p);

// Whether two convex polygons share more than their boundaries: on every separating-axis
// candidate their shadows overlap by more than `tolerance`.
bool convexPolygonsOverlap(const Polygon& a, const Polygon& b, double tolerance);

struct Net {
    std::vector<Polygon> faces;  // per mesh face, corners in the face's boundary order
    std::vector<int> parent;     // the face it is folded to, -1 for the root of each piece
    std::vector<int> parentSide; // the side of this face (from corner k to k + 1) on that fold
    std::string tree;            // which spanning tree gave it, for the record
};

// Unfolds a closed mesh with flat convex faces turned outward: tries steepest-edge cut trees over
// many directions, then breadth-first and depth-first face trees from every face, and keeps the
// first whose faces do not overlap and that `accept` (when given) takes. Empty when none works.
// Faces folded together share their fold side exactly, corner for corner.
std::optional<Net> unfold(const Mesh& mesh, const std::function<bool(const Net&)>& accept = {});

// The search's spanning tree number `tree` (0 is the first unfold() tries), laid out and cut, from
// its root outward, wherever a face would lie on one already placed: the net then comes in pieces,
// each without overlaps, each with a root of its own. For solids none of whose nets unfold() takes.
// Empty when the mesh is open or has no such tree.
std::optional<Net> unfoldInPieces(const Mesh& mesh, int tree = 0);

} // namespace kesmora
