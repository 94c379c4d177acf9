// The solid or its dual written out for other programs: OFF and OBJ keep the polygons, STL
// triangulates; SVG and PNG hold the picture of the drawing area.
#pragma once

#include "catalogue/tables.h"
#include "mesh.h"
#include "options.h"

#include <ostream>
#include <string>
#include <vector>

namespace kesmora::inspect {

void writeOff(const Mesh& mesh, std::ostream& out);
void writeObj(const Mesh& mesh, const std::string& title, std::ostream& out);
// Each face as a fan of triangles from its first vertex. Binary STL is little-endian with 32-bit
// floats, as every reader expects; its header never starts with "solid", which would make readers
// take it for ASCII.
void writeStlBinary(const Mesh& mesh, const std::string& title, std::ostream& out);
void writeStlAscii(const Mesh& mesh, const std::string& title, std::ostream& out);

// kesmora-inspect export CATEGORY NAME [--dual] --format F [--mode N] [--size WxH] [--marks] -o FILE
Options exportOptions();
int exportCommand(const CatalogueTables& tables, const CommandLine& line);

} // namespace kesmora::inspect
