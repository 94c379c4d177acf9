// The symmetry group of a polygon mesh, found from its geometry: every isometry about the vertices'
// centroid that maps the vertices onto vertices and the faces onto faces, and the group's name in
// Schoenflies notation read off its elements.
#pragma once

#include "polymesh.h"

#include <array>
#include <string>
#include <vector>

namespace kesmora {

// A 3 x 3 orthogonal matrix, rows first.
using Matrix3 = std::array<double, 9>;

Point3D applied(const Matrix3& m, const Point3D& p);

struct SymmetryGroup {
    std::string name = "C1"; // Schoenflies: "Oh", "C4v", "D5d", "S4", "Ci", "Cs", "C1" ...
    int order = 1;
    bool chiral = true;          // no mirror, inversion or rotoreflection among the elements
    std::vector<Matrix3> elements; // the identity first
    bool found = false;          // false when the mesh has no two vertices off one line through the centre
};

// Vertex positions match within `relativeTolerance` times the mesh's extent.
SymmetryGroup symmetryGroup(const PolyMesh& mesh, double relativeTolerance = 1e-6);

// The name and chirality of a group given by its elements (the identity included).
SymmetryGroup classifySymmetry(std::vector<Matrix3> elements);

} // namespace kesmora
