// The fuzzer's work on one input: the tables it spells, every body they offer, built and drawn.
#include "fuzz_entry.h"

#include "bodies/build.h"
#include "catalogue/catalogueerror.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "geometry/geometryerror.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace kesmora::fuzz {

namespace {

bool finite(const Point3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

std::string faceFault(const Figure& figure, const std::string& what) {
    const int vertexCount = figure.vertices.size();
    for (int f = 0; f < figure.faces.size(); ++f)
        for (const int v : figure.faces[f]) {
            if (v < 0 || v >= vertexCount)
                return what + " " + std::to_string(f) + " names vertex " + std::to_string(v) + " of " +
                       std::to_string(vertexCount);
        }
    return {};
}

// Every face needs three different corners; the build refuses face lines that name fewer, and a
// dual face comes from the faces around one vertex, so it needs three of those.
std::string cornerFault(const Figure& figure, const std::string& what) {
    for (int f = 0; f < figure.faces.size(); ++f) {
        std::vector<int> corners = figure.faces[f].toVector();
        std::sort(corners.begin(), corners.end());
        if (std::unique(corners.begin(), corners.end()) - corners.begin() < 3)
            return what + " " + std::to_string(f) + " has fewer than three different corners";
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
    // How the findings name the figure: the solid's tables plainly, the dual's with a prefix.
    static constexpr std::array<const char*, 2> kPrefix{"", "dual "};
    const auto figures = m.figures();
    for (std::size_t k = 0; k < figures.size(); ++k)
        if (figures[k]->faceRecords.size() != figures[k]->faces.size())
            return std::string(kPrefix[k]) + "face records out of step with the faces";
    for (std::size_t k = 0; k < figures.size(); ++k)
        if (std::string f = faceFault(*figures[k], std::string(kPrefix[k]) + "face"); !f.empty()) return f;
    for (std::size_t k = 0; k < figures.size(); ++k)
        for (int i = 0; i < figures[k]->vertices.size(); ++i)
            if (!finite(figures[k]->vertices[i]))
                return std::string(kPrefix[k]) + "vertex " + std::to_string(i) + " not finite";
    for (std::size_t k = 0; k < figures.size(); ++k)
        for (int i = 0; i < figures[k]->faceRecords.size(); ++i)
            if (!finite(figures[k]->faceRecords[i].centroid))
                return std::string(kPrefix[k]) + "centroid " + std::to_string(i) + " not finite";
    if (!std::isfinite(m.scale) || m.scale <= 0) return "scale not a positive number";
    for (std::size_t k = 0; k < figures.size(); ++k)
        if (std::string f = cornerFault(*figures[k], std::string(kPrefix[k]) + "face"); !f.empty()) return f;
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
    for (Category category : kCategories) {
        std::vector<std::string> names;
        try {
            names = fillBodyList(tables, category, HiddenBodies::Shown);
        } catch (const CatalogueError& e) {
            if (e.file().empty()) throw Fault(std::string("message without a file: ") + e.what());
            continue;
        }
        ++outcome.sections;
        selection.currentCategory = category;
        int tried = 0;
        for (const std::string& name : names) {
            if (++tried > kMaxBodiesPerCategory) break;
            const bool hidden = isExcluded(tables, name);
            ++(hidden ? outcome.hiddenOffered : outcome.offered);
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
            // The same body with the polar reciprocal as its dual: where the catalogue's dual
            // builds, the reciprocal builds or is refused with the catalogue's dual kept.
            SolidModel reciprocal;
            try {
                reciprocal = buildSolid(tables, selection, name, DualKind::PolarReciprocal);
            } catch (const std::exception& e) {
                throw Fault("the reciprocal of " + name + " fails where its dual builds: " + e.what());
            }
            if (reciprocal.dualInfo.kind == DualKind::Catalogue && !reciprocal.dualInfo.reciprocalRefused())
                throw Fault("the reciprocal of " + name + " neither built nor refused");
            if (std::string f = modelFault(reciprocal); !f.empty())
                throw Fault("after the reciprocal of " + name + ": " + f);
            draw(renderer, reciprocal, outcome.built + 5, image);
            ++outcome.built;
            outcome.hiddenBuilt += hidden;
        }
    }
    return outcome;
}

} // namespace kesmora::fuzz
