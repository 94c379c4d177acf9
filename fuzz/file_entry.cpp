// The polyhedron-file fuzzer's work on one input: read, built with both duals, measured, written
// and read again.
#include "file_entry.h"

#include "fuzz_entry.h"

#include "bodies/filesolid.h"
#include "bodies/polyhedronfile.h"
#include "export/figurefile.h"
#include "export/mesh.h"
#include "export/properties.h"
#include "export/stats.h"
#include "geometry/edgemap.h"
#include "geometry/geometryerror.h"

#include <array>
#include <cmath>
#include <string>
#include <utility>

namespace kesmora::fuzz {

namespace {

// The file's name in messages: what the reader will take the text for.
std::string nameFor(std::string_view input) {
    std::size_t start = input.find_first_not_of(" \t\r\n");
    if (input.substr(start == std::string_view::npos ? input.size() : start, 3) == "\xEF\xBB\xBF") start += 3;
    const std::size_t end = input.find_first_of(" \t\r\n", start == std::string_view::npos ? input.size() : start);
    const std::string_view first = start < input.size() ? input.substr(start, end - start) : std::string_view();
    return first.size() >= 3 && first.substr(first.size() - 3) == "OFF" ? "fuzz.off" : "fuzz.obj";
}

void expectMessage(const std::exception& e, const std::string& where) {
    if (std::string(e.what()).empty()) throw Fault(where + ": an error without a message");
}

// The figure's counts as its mesh has them: vertices, edges, faces.
std::array<std::size_t, 3> counts(const PolyMesh& mesh) {
    return {mesh.vertices.size(), edgeMap(mesh.faces).edges.size(), mesh.faces.size()};
}

std::string countText(const std::array<std::size_t, 3>& c) {
    return std::to_string(c[0]) + " vertices, " + std::to_string(c[1]) + " edges, " + std::to_string(c[2]) +
           " faces";
}

void measureFigure(const FigureProperties& p, const std::array<std::size_t, 3>& c, const std::string& what) {
    const Stats& s = p.stats;
    if (static_cast<std::size_t>(s.vertices) != c[0] || static_cast<std::size_t>(s.edges) != c[1] ||
        static_cast<std::size_t>(s.faces) != c[2])
        throw Fault("the measurements of the " + what + " count other than its mesh: " + countText(c));
    (void)statsText(s, what);
    (void)statsJson(s);
}

// Writes one figure in every format; the OFF and OBJ must read back with the figure's counts, and
// the solid's must build again into a solid of the same counts.
void writeAndReadAgain(const SolidModel& model, bool dual, FileOutcome& outcome) {
    const std::array<std::size_t, 3> expected = counts(dual ? dualMesh(model) : solidMesh(model));
    const std::string title = figureTitle("fuzz", dual, model.dualInfo.shape);
    const std::string what = dual ? "dual" : "solid";
    for (const auto& [format, name] : {std::pair{MeshFormat::Off, "fuzz.off"}, std::pair{MeshFormat::Obj, "fuzz.obj"},
                                       std::pair{MeshFormat::Stl, "fuzz.stl"}, std::pair{MeshFormat::StlAscii, "fuzz.stl"}}) {
        std::string bytes;
        try {
            bytes = figureFileBytes(model, dual, format, title);
        } catch (const std::exception& e) {
            // A built file's solid is closed and two-sided, and so is its dual.
            throw Fault("the " + what + " is not written as " + name + ": " + e.what());
        }
        ++outcome.written;
        if (format == MeshFormat::Stl) {
            std::size_t triangles = 0;
            for (const auto& face : (dual ? dualMesh(model) : solidMesh(model)).faces)
                triangles += face.size() - 2;
            if (bytes.size() != 84 + 50 * triangles)
                throw Fault("the binary STL of the " + what + " has " + std::to_string(bytes.size()) + " bytes");
        }
        if (format != MeshFormat::Off && format != MeshFormat::Obj) continue;
        PolyhedronFile again;
        try {
            again = parsePolyhedronText(bytes, name);
        } catch (const PolyhedronFileError& e) {
            throw Fault("the " + what + " written as " + name + " does not read again: " + e.what());
        }
        if (counts(again) != expected)
            throw Fault("the " + what + " written as " + name + " reads again with " + countText(counts(again)) +
                        " instead of " + countText(expected));
        if (!dual) {
            try {
                const SolidModel rebuilt = buildFileSolid(again);
                if (counts(solidMesh(rebuilt)) != expected)
                    throw Fault("the solid written as " + std::string(name) + " builds again with other counts");
            } catch (const PolyhedronFileError& e) {
                throw Fault("the solid written as " + std::string(name) + " does not open again: " + e.what());
            }
        }
        ++outcome.readAgain;
    }
}

} // namespace

FileOutcome exerciseFile(std::string_view input) {
    FileOutcome outcome;
    const std::string name = nameFor(input);
    PolyhedronFile file;
    try {
        file = parsePolyhedronText(input, name);
    } catch (const PolyhedronFileError& e) {
        expectMessage(e, "reading");
        if (e.file() != name) throw Fault("a reading error names the file " + e.file());
        return outcome;
    }
    outcome.read = true;
    for (const auto& face : file.faces)
        for (int v : face)
            if (v < 0 || static_cast<std::size_t>(v) >= file.vertices.size())
                throw Fault("the file read names vertex " + std::to_string(v) + " of " +
                            std::to_string(file.vertices.size()));
    if (file.vertexLines.size() != file.vertices.size() || file.faceLines.size() != file.faces.size())
        throw Fault("the lines read are out of step with the vertices and faces");

    bool catalogueBuilt = false;
    for (const DualKind kind : {DualKind::Catalogue, DualKind::PolarReciprocal}) {
        SolidModel model;
        try {
            model = buildFileSolid(file, kind);
        } catch (const PolyhedronFileError& e) {
            expectMessage(e, "the build");
            if (catalogueBuilt) throw Fault(std::string("the build with the reciprocal refuses what built: ") + e.what());
            continue;
        } catch (const GeometryError& e) {
            expectMessage(e, "the build");
            if (catalogueBuilt) throw Fault(std::string("the build with the reciprocal fails: ") + e.what());
            continue;
        }
        if (kind == DualKind::PolarReciprocal && !catalogueBuilt)
            throw Fault("the build with the reciprocal takes what the plain build refused");
        catalogueBuilt = true;
        ++outcome.built;
        if (std::string f = modelFault(model); !f.empty()) throw Fault("after the build: " + f);
        const auto solidCounts = counts(solidMesh(model));
        if (solidCounts[0] != file.vertices.size() || solidCounts[2] != file.faces.size())
            throw Fault("the built solid has " + countText(solidCounts) + " for a file of " +
                        std::to_string(file.vertices.size()) + " vertices and " + std::to_string(file.faces.size()) +
                        " faces");
        if (kind == DualKind::PolarReciprocal) {
            if (model.dualInfo.kind == DualKind::PolarReciprocal) ++outcome.reciprocals;
            else if (!model.dualInfo.reciprocalRefused())
                throw Fault("the reciprocal neither built nor refused");
        }
        measureFigure(solidProperties(model), solidCounts, "solid");
        measureFigure(dualProperties(model), counts(dualMesh(model)), "dual");
        writeAndReadAgain(model, false, outcome);
        writeAndReadAgain(model, true, outcome);
    }
    return outcome;
}

} // namespace kesmora::fuzz
