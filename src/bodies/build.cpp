// The build of a solid and its dual.
#include "build.h"

#include "catalogue/catalogueerror.h"
#include "dualname.h"
#include "geometry/degenerate.h"
#include "geometry/dual.h"
#include "geometry/facemeasures.h"
#include "geometry/geometryerror.h"
#include "geometry/placement.h"
#include "geometry/point3d.h"
#include "geometry/reciprocal.h"
#include "geometry/shape.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace kesmora {

namespace {

bool finite(const Point3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

double largestCoordinate(const SolidModel& m) {
    return kesmora::largestCoordinate(m.solid.vertices);
}

// A solid whose coordinates are all tiny (down to subnormal numbers such as 1e-320) is still a
// solid, and the picture is fitted to the window anyway; but the dual's squares would vanish and
// the fit's factor overflow. Such a block is enlarged by a power of two first, which is exact and
// leaves the fitted picture as it would be.
void enlargeTinySolid(SolidModel& m) {
    constexpr double kTiny = 1e-100; // its square is still a normal number
    const double largest = largestCoordinate(m);
    if (!(largest > 0) || largest >= kTiny) return;
    const int exponent = -std::ilogb(largest); // brings the largest into [1, 2)
    for (Point3D& p : m.solid.vertices)
        p = {std::ldexp(p.x, exponent), std::ldexp(p.y, exponent), std::ldexp(p.z, exponent)};
}

// How close two corners may come before they count as one point, from the loaded vertices; a
// negative value where the body is too large to be measured so (the build refuses it for its size).
double degenerateTolerance(const SolidModel& m) {
    const double largest = largestCoordinate(m);
    if (!(largest <= kLargestCoordinate)) return -1;
    return kDegenerateTolerance * largest;
}

// For each loaded vertex, the piece of the body it belongs to: vertices that faces of the block
// join, directly or through other faces, form one piece. A compound (two tetrahedra, five cubes)
// has one piece per component, and its components may meet in a point, each with its own vertex
// there; within one piece two vertices on one point are damage. Empty when the face block cannot
// be read: then the whole body counts as one piece, and reading the faces reports the damage.
std::vector<int> piecesOfVertices(const SolidModel& m, const CatalogueTables& tables, int id) {
    const int n = m.solid.vertices.size();
    std::vector<int> parent(static_cast<std::size_t>(n));
    auto up = [&](int v) -> int& { return parent[static_cast<std::size_t>(v)]; };
    for (int i = 0; i < n; ++i)
        up(i) = i;
    auto root = [&](int v) {
        while (up(v) != v)
            v = up(v) = up(up(v));
        return v;
    };
    try {
        const BlockView block = readBlock(tables.faceTable, tables.faceIndex, id);
        for (int i = 0; i < block.count; ++i) {
            int first = -1;
            for (char ch : block.line(i)) {
                const int v = vertexOfCode(ch);
                if (v < 0 || v >= n) continue; // reported when the faces are read
                if (first < 0)
                    first = v;
                else
                    up(root(v)) = root(first);
            }
        }
    } catch (const CatalogueError&) {
        return {};
    }
    std::vector<int> piece(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        piece[static_cast<std::size_t>(i)] = root(i);
    return piece;
}

// The first two vertices of one piece (all one piece where `piece` is empty) that lie on one
// point, or none.
std::optional<std::pair<int, int>> coincidentVertices(const SolidModel& m,
                                                       const std::vector<int>& piece = {}) {
    const double tolerance = degenerateTolerance(m);
    if (tolerance < 0) return std::nullopt;
    for (int j = 1; j < m.solid.vertices.size(); ++j)
        for (int i = 0; i < j; ++i)
            if ((piece.empty() || piece[static_cast<std::size_t>(i)] == piece[static_cast<std::size_t>(j)]) &&
                norm(m.solid.vertices[j] - m.solid.vertices[i]) <= tolerance)
                return std::pair{i, j};
    return std::nullopt;
}

// The vertex's code as the face line shows it, left out where it is an invisible control byte.
std::string codeText(int vertex) {
    const unsigned char code = static_cast<unsigned char>(codeOfVertex(vertex));
    if (code >= 0x7F && code <= 0xA0) return "";
    return " (Zeichen „" + latin1ToUtf8(std::string(1, static_cast<char>(code))) + "“)";
}

} // namespace

void punkteladen(SolidModel& m, const CatalogueTables& tables, int id) {
    const BlockView block = readBlock(tables.coordTable, tables.coordIndex, id);
    if (block.count > kMaxVertices)
        throw CatalogueError(kCoordFile, "[" + std::to_string(id) + "]", block.firstLine,
                             "Der Block hat mehr als " + std::to_string(kMaxVertices) + " Ecken");
    m.solid.vertices.resize(block.count);
    for (int i = 0; i < block.count; ++i) {
        const CoordinateTriple c = ParseCoordinateLine(block.line(i));
        m.solid.vertices[i] = Point3D{c.x, c.y, c.z};
    }
}

void flaechenladen(SolidModel& m, const CatalogueTables& tables, int id) {
    const std::string header = "[" + std::to_string(id) + "]";
    const BlockView block = readBlock(tables.faceTable, tables.faceIndex, id);
    if (block.count > kMaxFaces)
        throw CatalogueError(kFaceFile, header, block.firstLine,
                             "Der Block hat mehr als " + std::to_string(kMaxFaces) + " Flächen");
    const double tolerance = degenerateTolerance(m);
    m.solid.faces.clear();
    m.solid.faceRecords.clear();
    m.solid.faceRecords.reserve(block.count);
    std::vector<int> corners;
    for (int i = 0; i < block.count; ++i) {
        const std::string& line = block.line(i);
        if (line.size() < 3)
            throw CatalogueError(kFaceFile, header, block.fileLine(i),
                                 "Eine Fläche braucht mindestens drei Ecken");
        // Every byte must name a loaded vertex, so there are no leading blanks or control bytes to
        // skip (bytes 0x7F-0x9F are vertices 79-111, not control characters).
        std::array<int, kMaxVertices> namedAt;
        namedAt.fill(-1);
        for (std::size_t k = 0; k < line.size(); ++k) {
            const int v = vertexOfCode(line[k]);
            if (v < 0 || v >= m.solid.vertices.size())
                throw CatalogueError(kFaceFile, header, block.fileLine(i),
                                     "Das Zeichen an Stelle " + std::to_string(k + 1) +
                                         " nennt keine geladene Ecke");
            // A corner named twice would give the face a side of no length and its dual a face
            // with fewer corners than it seems to have.
            if (namedAt[v] >= 0)
                throw CatalogueError(kFaceFile, header, block.fileLine(i),
                                     "Die Fläche nennt die Ecke " + std::to_string(v) + codeText(v) +
                                         " zweimal, an Stelle " + std::to_string(namedAt[v] + 1) +
                                         " und an Stelle " + std::to_string(k + 1));
            namedAt[v] = static_cast<int>(k);
        }
        const auto corner = [&](int k) {
            return m.solid.vertices[vertexOfCode(line[static_cast<std::size_t>(k)])];
        };
        if (tolerance >= 0 && allOnOneLine(static_cast<int>(line.size()), corner, tolerance))
            throw CatalogueError(kFaceFile, header, block.fileLine(i),
                                 "Die Ecken der Fläche liegen alle auf einer Geraden; die Fläche hat keinen "
                                 "Flächeninhalt");
        corners.clear();
        for (const char code : line)
            corners.push_back(vertexOfCode(code));
        m.solid.addFace(corners);
    }
}

void erzeugen(SolidModel& m, int bodyIndex, const std::array<double, 4>& params) {
    double a = params[0], b = params[1], c = params[2], d = params[3];
    double M = a;
    for (double v : {b, c, d})
        if (v > M) M = v;
    if (!(M > 0) || !std::isfinite(M))
        throw GeometryError("Die Parameter des Körpers ergeben keine gültige Größe (größter Wert " +
                            std::to_string(M) + ")");
    a /= M;
    b /= M;
    c /= M;
    d /= M;

    m.solid.vertices.clear();
    auto put = [&](double x, double y, double z) { m.solid.vertices.push_back(Point3D{x, y, z}); };
    // Patterns in a plane: Rect and Hex in x-y, Sq and Pent in x-z.
    auto rectAtZ = [&](double u, double v, double z) {
        put(-u, v, z), put(u, v, z), put(u, -v, z), put(-u, -v, z);
    };
    auto sqAtY = [&](double s, double y) { put(-s, y, s), put(s, y, s), put(s, y, -s), put(-s, y, -s); };
    auto hexAtZ = [&](double rho, double z) {
        const double k = 0.8660254037844;
        put(-rho, 0, z), put(-rho / 2, -k * rho, z), put(rho / 2, -k * rho, z);
        put(rho, 0, z), put(rho / 2, k * rho, z), put(-rho / 2, k * rho, z);
    };
    auto pentAtY = [&](double s, double y) {
        const double h = 1.61803398875 * s;
        const double r = std::sqrt(h * h - (s / 2) * (s / 2)) / 2;
        const double q = std::sqrt(s * s - (h / 2) * (h / 2)) - r;
        put(-r, y, 0), put(q, y, h / 2), put(r, y, s / 2), put(r, y, -s / 2), put(q, y, -h / 2);
    };

    switch (bodyIndex) {
    case 5:
        rectAtZ(a, b, -c), rectAtZ(a, b, c);
        break;
    case 13: {
        const double a1 = 1.5 * a, b1 = 1.5 * b / 2;
        pentAtY(a1, b1), pentAtY(a1, -b1);
        break;
    }
    case 21:
        for (double z : {-b, b})
            put(-a, -0.577 * a, z), put(a, -0.577 * a, z), put(0, 1.1547 * a, z);
        break;
    case 22:
        sqAtY(a, b), sqAtY(a, -b);
        break;
    case 23:
        pentAtY(a, b / 2), pentAtY(c, -b / 2);
        break;
    case 24:
        hexAtZ(a, -b / 2), hexAtZ(a, b / 2);
        break;
    case 26:
        hexAtZ(2 * a, 0);
        put(0, 0, b), put(0, 0, -b);
        break;
    default:
        throw GeometryError("Für diesen Körper gibt es keinen Generator");
    }
    (void)d; // the fourth parameter only takes part in the normalisation
}

std::string takeReciprocalDual(SolidModel& m, const std::string& bodyName) {
    try {
        SolidModel reciprocal = m;
        reciprocalDual(reciprocal);
        // Poles of planes that pass close to the centre lie far out; beyond what the view can
        // turn, the body is refused for its size, so the reciprocal gives way instead.
        for (const Point3D& p : reciprocal.dual.vertices)
            if (!finite(p) || std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}) > kLargestCoordinate)
                throw ReciprocalRefused("Die Pole seiner Flächen lägen zu weit draußen");
        const double size = radiusAboutCentroid(m.solid.vertices);
        const Point3D centre = centroidOfPoints(m.solid.vertices);
        for (int f = 0; f < reciprocal.dual.vertices.size(); ++f)
            if (!(norm(reciprocal.dual.vertices[f] - centre) <= kFarthestPole * size))
                throw ReciprocalRefused("Der Pol seiner Fläche " + std::to_string(f + 1) + " läge mehr als " +
                                        std::to_string(static_cast<int>(kFarthestPole)) +
                                        "-mal so weit draußen wie seine Ecken; dafür ist der Körper zu flach");
        m = std::move(reciprocal);
        return {};
    } catch (const ReciprocalRefused& e) {
        return bodyName + " hat keine polare Reziproke: " + e.what() + ".";
    }
}

std::string refusalShown(const DualInfo& info) {
    if (!info.reciprocalRefused()) return {};
    return info.refusal + " Gezeigt wird der duale Körper " + info.otherDual + ".";
}

SolidModel buildSolid(const CatalogueTables& tables, const Selection& sel, const std::string& name,
                      DualKind dualKind) {
    SolidModel m;
    m.scale = 1.0;
    const auto dispatch = dispatchFor(sel.currentCategory, sel.bodyIndex);
    if (!dispatch)
        throw GeometryError("Für den Körper " + latin1ToUtf8(name) + " (Kategorie " +
                            std::to_string(sectionNumber(sel.currentCategory)) + ", Index " + std::to_string(sel.bodyIndex) +
                            ") gibt es keine Daten");
    // A failure of the geometry names the data it came from, so the user knows what to repair: the
    // body's record for generated bodies, else its coordinate block.
    const std::string header = "[" + std::to_string(dispatch->blockId) + "]";
    auto located = [&](const std::string& file, const std::string& block, int line, const std::string& what) {
        return GeometryError(CatalogueError(file, block, line, what).what());
    };
    const std::string record = "[" + std::to_string(hasRecordPerBody(sel.currentCategory) ? sel.bodyIndex : 0);
    BlockView coords;
    if (dispatch->generated) {
        try {
            erzeugen(m, sel.bodyIndex, sel.bodyParams);
        } catch (const GeometryError& e) {
            throw located(kCatalogueFile, record, 0, e.what());
        }
        if (coincidentVertices(m))
            throw located(kCatalogueFile, record, 0,
                          "Die Parameter des Körpers " + latin1ToUtf8(name) +
                              " lassen Ecken zusammenfallen; seine Flächen hätten keinen Flächeninhalt");
    } else {
        punkteladen(m, tables, dispatch->blockId);
        enlargeTinySolid(m);
        coords = readBlock(tables.coordTable, tables.coordIndex, dispatch->blockId);
        // Each vertex becomes a dual face, and the dual's face table holds kMaxFaces.
        if (m.solid.vertices.size() > kMaxFaces)
            throw CatalogueError(kCoordFile, header, coords.firstLine,
                                 "Der Block hat mehr als " + std::to_string(kMaxFaces) +
                                     " Ecken; so viele Flächen fasst das duale Polyeder nicht");
        if (const auto pair = coincidentVertices(m, piecesOfVertices(m, tables, dispatch->blockId)))
            throw CatalogueError(
                kCoordFile, header, coords.fileLine(pair->second),
                "Die Ecken " + std::to_string(pair->first) + " und " + std::to_string(pair->second) +
                    " (Zeilen " + std::to_string(coords.fileLine(pair->first)) + " und " +
                    std::to_string(coords.fileLine(pair->second)) + ") liegen auf demselben Punkt");
    }
    flaechenladen(m, tables, dispatch->blockId);
    const std::string refusal =
        dualKind == DualKind::PolarReciprocal ? takeReciprocalDual(m, latin1ToUtf8(name)) : "";
    if (m.dualInfo.kind == DualKind::Catalogue) {
        try {
            dualbilden(m, dualRecipeFor(sel.currentCategory, sel.bodyIndex, name));
        } catch (const GeometryError& e) {
            throw located(kFaceFile, header, 0, e.what());
        }
        m.dualInfo.shape = catalogueDualShape(sel.currentCategory);
        m.dualInfo.refusal = refusal;
        if (!refusal.empty()) m.dualInfo.otherDual = "des Katalogs";
    }
    keepOwnCoordinates(m);
    if (tilts(sel.currentCategory)) kippen(m);

    // Coordinates far beyond any solid's would overflow when the view turns or resets the zoom
    // (the reset multiplies by 120 model units' worth of pixels), so such a body is refused here.
    double largest = 0;
    int largestVertex = 0;
    bool ok = true;
    forEachPoint(m, [&](Point3D& p) {
        ok = ok && finite(p);
        for (double v : {p.x, p.y, p.z})
            largest = std::max(largest, std::fabs(v));
    });
    auto size = [](const Point3D& p) { return std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}); };
    for (int i = 1; i < m.solid.vertices.size(); ++i)
        if (!(size(m.solid.vertices[i]) <= size(m.solid.vertices[largestVertex]))) largestVertex = i;
    if (ok && largest <= kLargestCoordinate) {
        einpassen(m);
        forEachPoint(m, [&](Point3D& p) { ok = ok && finite(p); });
    }
    if (!ok || largest > kLargestCoordinate) {
        const std::string what = "Die Koordinaten des Körpers " + latin1ToUtf8(name) +
                                 " sind zu groß oder ungültig; er kann nicht gezeichnet werden";
        if (dispatch->generated) throw located(kCatalogueFile, record, 0, what);
        throw located(kCoordFile, header, coords.fileLine(largestVertex), what);
    }
    markSurfaceShapes(m);
    return m;
}

} // namespace kesmora
