// Putting a finished solid into the form the catalogue stores: the coordinate format, the display
// orientation of categories 2 and 3, and the face order and face rotation that the program's dual
// construction and its block lookup need.
#pragma once

#include "geom.h"

#include <string>
#include <vector>

namespace gen {

// A coordinate as the CoordTable holds it: plain decimal notation (never an exponent), at most
// 12 significant digits and at most 12 decimals, trailing zeros dropped, "-0" written "0".
std::string formatCoordinate(double v);
// "x y z", single spaces.
std::string formatVertex(Point3D v);
// The value the program reads back from formatCoordinate's text.
double parseCoordinate(const std::string& text);
// A vertex as the program will see it after writing and reading the table.
Point3D roundTrip(Point3D v);

// A face as a FaceString: vertex i is the single byte 48 + i (raw, ISO 8859-1 style, never UTF-8).
std::string faceString(const std::vector<int>& face);

// True if the line reads like a block header, ^\[[0-9]+\]$.
bool looksLikeHeader(const std::string& line);

// The solid vertices whose dual faces break the dual-boundary property (boundary order of the dual
// construction, before any cutting): for
// every dual face of four or more characters, consecutive characters (and last and first) must
// name solid faces sharing an edge. Checked with kesmora::dualbilden on the coordinates as they
// are stored (roundTrip) and the faces in their current order. The cutting steps 6 and 7 are not
// run here (category 3 and "erweitertes Trapezoeder" are checked on the uncut step-5 faces).
// Empty result: the property holds.
std::vector<int> dualBoundaryFailures(const Polyhedron& p, int category, int bodyIndex,
                                      const std::string& name);

// Step (a) of prepareForCatalogue alone: the bodies excluded.txt hides keep their face order, so
// their blocks do not depend on how the dual construction orders a dual face.
void avoidHeaderLines(Polyhedron& p, const std::string& name);

// Makes the solid ready for the tables, keeping its geometry and vertex numbering:
// (a) rotates any face whose line would read like a block header (^\[[0-9]+\]$) so it no longer
//     does (a rotation keeps the boundary order and the sense);
// (b) if the dual-boundary property fails, reorders the faces (deterministically) until it holds.
//     The nearest-neighbour chain of step 5 starts at the lowest face index, so face order matters.
// Throws std::runtime_error if no order is found. Call it last, after orientForDisplay and any
// renumbering. Faces listed in `pinned` (indices into p.faces) keep their position.
void prepareForCatalogue(Polyhedron& p, int category, int bodyIndex, const std::string& name,
                         const std::vector<int>& pinned = {});

// The storage orientation of categories 2 and 3, which the program draws as stored: the solid is turned so
// that topAxis (a direction from the origin, the "top" of the body) points to +Z of a standard frame, then
// (X, Y, Z) -> (X, -Z, Y), tilted by 20 degrees toward the viewer and turned by 15 degrees about the
// vertical. The body must already be centred. The turn that takes topAxis to +Z is the smallest one (about
// the axis topAxis x Z); give `frontAxis` (a direction perpendicular to topAxis, optional) to choose which
// side faces the viewer (-z after the mapping, before the tilt and turn): frontAxis is first sent to -Y of
// the standard frame.
void orientForDisplay(Polyhedron& p, Point3D topAxis);
void orientForDisplay(Polyhedron& p, Point3D topAxis, Point3D frontAxis);

} // namespace gen
