// The solid or its dual written out for other programs: OFF and OBJ keep the polygons, STL
// triangulates.
#pragma once

#include "mesh.h"

#include <ostream>
#include <string>

namespace kesmora {

void writeOff(const Mesh& mesh, std::ostream& out);
void writeObj(const Mesh& mesh, const std::string& title, std::ostream& out);
// Each face as a fan of triangles from its first vertex. Binary STL is little-endian with 32-bit
// floats, as every reader expects; its header never starts with "solid", which would make readers
// take it for ASCII.
void writeStlBinary(const Mesh& mesh, const std::string& title, std::ostream& out);
void writeStlAscii(const Mesh& mesh, const std::string& title, std::ostream& out);

} // namespace kesmora
