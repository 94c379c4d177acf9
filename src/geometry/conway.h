// Operations that make solids from solids: dual, ambo, truncate, kis, gyro, chamfer and the
// letters composed of them, each defined on the solid's vertices, edge points and face points
// over one structure of directed face sides.
#pragma once

#include "geometryerror.h"
#include "polymesh.h"

#include <vector>

namespace kesmora {

// A surface the operations cannot work on: open, with an edge on more than two faces, without two
// sides, or with faces of fewer than three corners. The text is German and says why.
class OperationRefused : public GeometryError {
  public:
    using GeometryError::GeometryError;
};

// The surface as directed face sides ("darts"): side k of face f runs from its corner k to corner
// k + 1; the sides of face f are numbered firstDart[f] .. firstDart[f + 1] - 1 in boundary order.
// Faces run counter-clockwise seen from outside, so the sides leaving a vertex, taken as
// h, twin(prev(h)), …, turn counter-clockwise around it too.
struct Darts {
    std::vector<int> from;      // per dart: its first vertex
    std::vector<int> face;      // per dart: its face
    std::vector<int> next;      // per dart: the following side of its face
    std::vector<int> prev;      // per dart: the preceding side of its face
    std::vector<int> twin;      // per dart: the side of the neighbouring face on the same edge
    std::vector<int> edge;      // per dart: its edge number
    std::vector<int> firstDart; // per face, and one past the last
    std::vector<int> outOf;     // per vertex: one dart leaving it
    std::vector<int> edgeDart;  // per edge: one of its darts
    int vertexCount() const { return static_cast<int>(outOf.size()); }
    int faceCount() const { return static_cast<int>(firstDart.size()) - 1; }
    int edgeCount() const { return static_cast<int>(edgeDart.size()); }
    int dartCount() const { return static_cast<int>(from.size()); }
    int to(int h) const { return from[next[h]]; }
    // The next dart leaving the same vertex, counter-clockwise seen from outside.
    int turn(int h) const { return twin[prev[h]]; }
};

// The darts of a closed surface whose faces are oriented alike. Throws OperationRefused for an
// open surface, an edge on more than two faces or run the same way by both, a vertex on no face or
// where two cones of faces meet, and a face of fewer than three corners.
Darts dartsOf(const PolyMesh& mesh);

// A copy of the mesh with its faces turned outward (orientOutward) and checked as dartsOf checks.
// Throws OperationRefused.
PolyMesh preparedSeed(const PolyMesh& mesh);

// One operation, as a letter and, for kis and truncate, the only face or vertex degree it acts on
// (0: every one).
struct Operation {
    char letter = 'd';
    int degree = 0;
};

// The letters built directly on the darts: d a t k g c p w, and k and t restricted to a degree.
// The other letters are compositions of these (see recipe.h).
bool isDirectLetter(char letter);

// One direct operation on a surface whose faces are oriented alike, with its vertices placed by
// the plain construction: t cuts each edge at its thirds, k raises each pyramid so that its side
// edges are as long as the face's mean edge (a little where the face is too wide for that), a puts
// the edge midpoints, g and p divide edges at their thirds, c pulls faces a third of the way in,
// d takes the face planes' poles about a sphere around the body where it bends outward at every
// edge, the face centres otherwise. With `towardsCanonical` the result is a start for the canonical
// form of a body already in it: k puts each apex on the face's normal through the origin where the
// lines to the face's corners touch the unit sphere on average (a low apex where there is none). The
// result's faces run counter-clockwise seen from outside again. Throws OperationRefused (and
// std::invalid_argument for a letter that is not direct).
PolyMesh applyDirect(const PolyMesh& mesh, const Operation& op, bool towardsCanonical = false);

// The dual's topology without placing anything: vertex f for face f, face v through the faces
// around vertex v, counter-clockwise seen from outside. Shared by the plain and the canonical dual.
struct Topology {
    int vertexCount = 0;
    std::vector<std::vector<int>> faces;
};
Topology dualTopology(const Darts& darts);

// Direct constructions of the composed letters j (a quadrilateral per edge between two vertices
// and two raised face centres) and e (shrunken faces, a face per vertex, a quadrilateral per edge),
// made independently of their compositions dad and aa, for checking the two against each other.
// Plain placement; the faces must be oriented alike (preparedSeed). Throws as applyDirect.
PolyMesh applyComposedDirectly(const PolyMesh& mesh, char letter);

} // namespace kesmora
