// Nets to print, cut out and glue: the faces of a solid unfolded into the plane without overlaps,
// with glue tabs, coloured as in "farbige Flächen"; and the polar reciprocal for duals that the
// quasi-dual's cut faces cannot give.
#pragma once

#include "catalogue/tables.h"
#include "mesh.h"
#include "options.h"

#include <QPointF>

#include <optional>
#include <string>
#include <vector>

namespace kesmora::inspect {

using Polygon = std::vector<QPointF>;

// Whether two convex polygons share more than their boundaries: on every separating-axis
// candidate their shadows overlap by more than `tolerance`.
bool convexPolygonsOverlap(const Polygon& a, const Polygon& b, double tolerance);

// The reciprocal with respect to a sphere about the centre (the origin where it lies well inside
// the solid, otherwise the vertex centroid): face plane n.x = d gives the vertex n/d, each vertex a
// face. Needs a closed solid with flat faces, turned outward. Vertex f belongs to face f, face v to
// vertex v.
Mesh polarReciprocal(const Mesh& solid);

struct Net {
    std::vector<Polygon> faces;  // per mesh face, corners in the face's boundary order
    std::vector<int> parent;     // the face it is folded to, -1 for the root
    std::vector<int> parentSide; // the side of this face (from corner k to k + 1) on that fold
    std::string tree;            // which spanning tree gave it, for the record
};

// Unfolds a closed mesh with flat convex faces turned outward: tries steepest-edge cut trees over
// many directions, then breadth-first and depth-first face trees from every face, and keeps the
// first whose faces do not overlap. Empty when none works.
std::optional<Net> unfold(const Mesh& mesh);

// kesmora-inspect net CATEGORY NAME [--dual | --reciprocal] [--page WxH] -o FILE.svg
Options netOptions();
int netCommand(const CatalogueTables& tables, const CommandLine& line);

} // namespace kesmora::inspect
