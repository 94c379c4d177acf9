// The fuzzer's work on one input: the tables it spells, every body they offer, built and drawn.
#include "fuzz_entry.h"

#include "build/build.h"
#include "catalogue/catalogueerror.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "geometry/geometryerror.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kesmora::fuzz {

namespace {

bool finite(const Point3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

std::string faceFault(const FaceString* faces, int count, int vertexCount, const char* what) {
    for (int f = 0; f < count; ++f)
        for (char ch : faces[f]) {
            const int v = vertexOfCode(ch);
            if (v < 0 || v >= vertexCount)
                return std::string(what) + " " + std::to_string(f) + " names vertex " + std::to_string(v) +
                       " of " + std::to_string(vertexCount);
        }
    return {};
}

// Every face needs three different corners; the build refuses face lines that name fewer, and a
// dual face comes from the faces around one vertex, so it needs three of those.
std::string cornerFault(const FaceString* faces, int count, const char* what) {
    for (int f = 0; f < count; ++f) {
        std::string corners = faces[f];
        std::sort(corners.begin(), corners.end());
        if (std::unique(corners.begin(), corners.end()) - corners.begin() < 3)
            return std::string(what) + " " + std::to_string(f) + " has fewer than three different corners";
    }
    return {};
}

// Draws the model as the window would, in a mode that changes from body to body.
void draw(SceneRenderer& renderer, const SolidModel& model, int turn, QImage& image) {
    RenderSettings settings;
    settings.mode = kDrawModes[static_cast<std::size_t>(turn % 7)];
    settings.markPoints = (turn / 7) % 2 == 1;
    renderer.renderScene(image, QSize(96, 64), model, settings);
}

} // namespace

std::string joinTables(std::string_view coords, std::string_view faces, std::string_view excluded,
                       std::string_view catalogue) {
    std::string s(coords);
    for (std::string_view part : {faces, excluded, catalogue}) {
        s += kSeparator;
        s += part;
    }
    return s;
}

std::string modelFault(const SolidModel& m) {
    if (m.vertexCount < 0 || m.vertexCount > kMaxVertices) return "vertex count out of the table";
    if (m.faceCount < 0 || m.faceCount > kMaxFaces) return "face count out of the table";
    if (m.dualVertexCount < 0 || m.dualVertexCount > kMaxVertices)
        return "dual vertex count out of the table";
    if (m.dualFaceCount < 0 || m.dualFaceCount > kMaxFaces) return "dual face count out of the table";
    if (std::string f = faceFault(m.faces.data(), m.faceCount, m.vertexCount, "face"); !f.empty()) return f;
    if (std::string f = faceFault(m.dualFaces.data(), m.dualFaceCount, m.dualVertexCount, "dual face");
        !f.empty())
        return f;
    for (int i = 0; i < m.vertexCount; ++i)
        if (!finite(m.vertices[i])) return "vertex " + std::to_string(i) + " not finite";
    for (int i = 0; i < m.dualVertexCount; ++i)
        if (!finite(m.dualVertices[i])) return "dual vertex " + std::to_string(i) + " not finite";
    for (int i = 0; i < m.faceCount; ++i)
        if (!finite(m.faceRecords[i].centroid)) return "centroid " + std::to_string(i) + " not finite";
    for (int i = 0; i < m.dualFaceCount; ++i)
        if (!finite(m.dualFaceRecords[i].centroid))
            return "dual centroid " + std::to_string(i) + " not finite";
    if (!std::isfinite(m.scale) || m.scale <= 0) return "scale not a positive number";
    if (std::string f = cornerFault(m.faces.data(), m.faceCount, "face"); !f.empty()) return f;
    if (std::string f = cornerFault(m.dualFaces.data(), m.dualFaceCount, "dual face"); !f.empty()) return f;
    return {};
}

Outcome exercise(std::string_view input) {
    std::string_view parts[4];
    for (int i = 0; i < 3; ++i) {
        const std::size_t at = input.find(kSeparator);
        if (at == std::string_view::npos) {
            parts[i] = input;
            input = {};
            break;
        }
        parts[i] = input.substr(0, at);
        input.remove_prefix(at + kSeparator.size());
    }
    if (!input.empty()) parts[3] = input;

    Outcome outcome;
    CatalogueTables tables;
    try {
        tables = tablesFromContents(parts[0], parts[1], parts[2], parts[3]);
    } catch (const CatalogueError& e) {
        // A file the program does not read at all (a byte-order mark, CR-only line ends, UTF-8
        // names): the window does not open, with this message.
        if (e.file().empty()) throw Fault(std::string("message without a file: ") + e.what());
        return outcome;
    }
    SceneRenderer renderer;
    QImage image;
    Selection selection; // parameters carry over from body to body, as in the window
    for (int category : {0, 2, 3}) {
        std::vector<std::string> names;
        try {
            names = fillBodyList(tables, category);
        } catch (const CatalogueError& e) {
            if (e.file().empty()) throw Fault(std::string("message without a file: ") + e.what());
            continue;
        }
        ++outcome.sections;
        selection.currentCategory = category;
        int tried = 0;
        for (const std::string& name : names) {
            if (++tried > kMaxBodiesPerCategory) break;
            ++outcome.offered;
            SolidModel model;
            try {
                neuwert(selection, tables, name);
                model = buildSolid(tables, selection, name);
            } catch (const CatalogueError& e) {
                if (e.file().empty()) throw Fault(std::string("message without a file: ") + e.what());
                ++outcome.refused;
                continue;
            } catch (const GeometryError&) {
                ++outcome.refused;
                continue;
            }
            if (std::string f = modelFault(model); !f.empty())
                throw Fault("after the build of " + name + ": " + f);
            draw(renderer, model, outcome.built, image);
            rechnen(model, 13, -7, 29);
            zoom(model, ZoomCommand::Enlarge);
            zoom(model, ZoomCommand::Reset);
            if (std::string f = modelFault(model); !f.empty())
                throw Fault("after turning " + name + ": " + f);
            draw(renderer, model, outcome.built + 3, image);
            ++outcome.built;
        }
    }
    return outcome;
}

} // namespace kesmora::fuzz
