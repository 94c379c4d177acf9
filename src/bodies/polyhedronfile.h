// Polyhedra from the user's own files: OFF and OBJ text read into vertices and faces, with every
// fault named by the file and, where it has one, the line.
#pragma once

#include "geometry/polymesh.h"
#include "geometry/solidmodel.h"

#include <QByteArray>
#include <QString>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kesmora {

// A polyhedron file that cannot be read or shown. The message is German and ends with the file's
// name and the line, as the catalogue's messages do.
class PolyhedronFileError : public std::runtime_error {
  public:
    PolyhedronFileError(const std::string& file, int line, const std::string& what);
    const std::string& file() const { return file_; }
    int line() const { return line_; } // 1-based, 0 when the fault is not tied to a line
    // The fault itself, without the file and the line.
    const std::string& reason() const { return reason_; }

  private:
    std::string file_;
    int line_;
    std::string reason_;
};

// The most faces a file may have: a geodesic sphere of 81 920 triangles opens, turns and draws.
inline constexpr int kMaxFileFaces = 100000;
// The most vertices: a closed surface whose vertices each lie on three faces or more has fewer than
// twice as many vertices as faces.
inline constexpr int kMaxFileVertices = 2 * kMaxFileFaces;
// Room for a file of that many faces, even with normals, texture coordinates and long comments, and
// small enough to be read and checked at once.
inline constexpr long long kMaxPolyhedronFileBytes = 32LL * 1024 * 1024;

// A polyhedron as its file gives it: the mesh (vertex numbers from 0, faces in the file's order),
// no geometry checked yet beyond finite coordinates.
struct PolyhedronFile : PolyMesh {
    std::string name;    // the file's name without its folder, UTF-8, shown escaped where it is not
    int firstNumber = 0; // how the file counts its vertices (OFF from 0, OBJ from 1), for messages
    std::vector<int> vertexLines; // the line each vertex was read from
    std::vector<int> faceLines;
};

// Reads OFF (recognised by its "OFF" header) or else OBJ from the bytes of a file called `name`.
// Numbers are read with a decimal point whatever the locale. Throws PolyhedronFileError.
PolyhedronFile parsePolyhedronText(std::string_view text, const std::string& name);

// Reads the file at `path` (the bytes of its name as the system has them, which need not be
// UTF-8), refusing what is not a regular file or is larger than kMaxPolyhedronFileBytes before
// reading it. The name in the result and in messages is escapedForDisplay. Throws
// PolyhedronFileError.
PolyhedronFile readPolyhedronFile(const QByteArray& path);
// The same for a path as Qt gives it (a file dialog, a drop), in the file system's encoding.
PolyhedronFile readPolyhedronFile(const QString& path);

} // namespace kesmora
