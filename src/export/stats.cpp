// Counting and measuring a mesh.
#include "stats.h"

#include "catalogue/numbertext.h"
#include "geometry/degenerate.h"
#include "geometry/angles.h"
#include "geometry/edgemap.h"
#include "geometry/enclosed.h"
#include "geometry/exactvalue.h"
#include "geometry/schlaefli.h"
#include "geometry/spheres.h"
#include "geometry/symmetry.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kesmora {

namespace {

// Fewer than three corners, a corner named twice, or all corners on one line or one point.
bool isDegenerate(const Mesh& mesh, int f, double tolerance) {
    const std::vector<int>& face = mesh.faces[f];
    for (std::size_t i = 0; i < face.size(); ++i)
        if (std::find(face.begin() + static_cast<std::ptrdiff_t>(i) + 1, face.end(), face[i]) != face.end())
            return true;
    return allOnOneLine(
        static_cast<int>(face.size()),
        [&](int k) { return mesh.vertices[face[static_cast<std::size_t>(k)]]; }, tolerance);
}

double roundTo2(double v) {
    return std::round(v * 100) / 100;
}

std::string fixed(double v, int decimals) {
    return formatFixed(v, decimals);
}

std::string faceTypesText(const std::map<int, int>& types) {
    std::string s;
    for (const auto& [size, count] : types)
        s += (s.empty() ? "" : ", ") + std::to_string(count) + "\u00d7" + std::to_string(size);
    return s;
}

// Corner counts of the faces at a vertex in their order around it, found by stepping from face to
// face across the edges at the vertex; ascending when they do not close into one fan.
std::vector<int> configurationAt(const Mesh& mesh, const std::vector<FaceCorner>& corners) {
    std::vector<int> sizes;
    for (const FaceCorner& c : corners)
        sizes.push_back(static_cast<int>(mesh.faces[c.face].size()));
    std::vector<bool> used(corners.size());
    std::vector<int> around;
    std::size_t at = 0;
    int leaveBy = corners.empty() ? -1 : corners[0].after;
    while (!corners.empty()) {
        used[at] = true;
        around.push_back(sizes[at]);
        std::size_t next = corners.size();
        for (std::size_t i = 0; i < corners.size() && next == corners.size(); ++i)
            if (!used[i] && (corners[i].before == leaveBy || corners[i].after == leaveBy)) next = i;
        if (next == corners.size()) break;
        leaveBy = corners[next].before == leaveBy ? corners[next].after : corners[next].before;
        at = next;
    }
    const bool closedFan = around.size() == corners.size() && corners.size() >= 3 &&
                           (corners[0].before == leaveBy);
    if (!closedFan) {
        std::sort(sizes.begin(), sizes.end());
        return sizes;
    }
    return smallestCycle(around);
}

bool configurationLess(const std::vector<int>& a, const std::vector<int>& b) {
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

void measureVertexConfigurations(const Mesh& mesh, Stats& s) {
    const std::vector<std::vector<FaceCorner>> corners = cornersAtVertices(mesh);
    std::map<std::vector<int>, int, decltype(&configurationLess)> counts(&configurationLess);
    for (const auto& at : corners)
        if (!at.empty()) ++counts[configurationAt(mesh, at)];
    for (const auto& [sizes, count] : counts)
        s.vertexConfigurations.push_back({sizes, count});
}

void groupEdgeLengths(std::vector<double> lengths, Stats& s) {
    std::sort(lengths.begin(), lengths.end());
    double groupStart = 0, sum = 0;
    for (double length : lengths) {
        if (s.edgeLengths.empty() || length - groupStart > kLengthGroupTolerance * length) {
            s.edgeLengths.push_back({});
            groupStart = length;
            sum = 0;
        }
        LengthGroup& g = s.edgeLengths.back();
        sum += length;
        ++g.count;
        g.length = sum / g.count;
    }
}

// The edge length where all edges are one length, else the longest edge.
LengthUnit unitOfLengths(const Stats& s) {
    if (s.edgeLengths.size() == 1) return {s.edgeLengths.front().length, true};
    return {s.longestEdge, false};
}

std::vector<double> edgeLengthsOf(const Mesh& mesh) {
    std::vector<double> lengths;
    const auto missing = [&](int v) { return v < 0 || static_cast<std::size_t>(v) >= mesh.vertices.size(); };
    for (const MeshEdge& e : edgeMap(mesh.faces).edges)
        if (!missing(e.a) && !missing(e.b)) lengths.push_back(norm(mesh.vertices[e.b] - mesh.vertices[e.a]));
    return lengths;
}

RadiusFigure radiusFigure(const RadiusRange& r, double unit) {
    RadiusFigure f;
    f.measured = r.measured;
    f.exists = r.exists;
    f.least = r.least / unit;
    f.most = r.most / unit;
    if (f.exists) f.exact = exactText(f.least);
    return f;
}

// Symmetry, sphere radii, angles by class and closed forms, in the unit of the figure.
void measureShape(const Mesh& mesh, Stats& s) {
    const SymmetryGroup group = symmetryGroup(mesh);
    if (group.found) {
        s.symmetryGroup = group.name;
        s.symmetryOrder = group.order;
        s.chiral = group.chiral;
        s.schlaefli = schlaefliSymbol(mesh, group);
    }
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f)
        ++s.faceKinds[{static_cast<int>(mesh.faces[static_cast<std::size_t>(f)].size()), faceWindings(mesh, f)}];
    if (s.closed && s.oriented && !s.convex) {
        s.piercesItself = piercesItself(mesh);
        if (s.piercesItself) {
            const EnclosedRegion region = enclosedRegion(mesh);
            s.enclosedMeasured = region.measured;
            s.enclosedSurface = region.surface;
            s.enclosedVolume = region.volume;
        }
    }
    const LengthUnit unit = unitOfLengths(s);
    s.unitIsEdge = unit.isEdge;
    s.unit = unit.length;
    if (!(s.unit > 0) || !std::isfinite(s.unit)) {
        s.unit = 0;
        return;
    }
    const double surface = s.enclosedMeasured ? s.enclosedSurface : s.surfaceArea;
    const double volume = s.enclosedMeasured ? s.enclosedVolume : s.volume;
    s.surfaceInUnits = surface / (s.unit * s.unit);
    s.surfaceExact = exactText(s.surfaceInUnits);
    if (s.closed && s.oriented) {
        s.volumeInUnits = volume / (s.unit * s.unit * s.unit);
        s.volumeExact = exactText(s.volumeInUnits);
    }
    const Spheres spheres = spheresOf(mesh);
    s.circumradius = radiusFigure(spheres.circumradius, s.unit);
    s.midradius = radiusFigure(spheres.midradius, s.unit);
    s.inradius = radiusFigure(spheres.inradius, s.unit);
    const AngleClasses angles = angleClasses(mesh);
    for (const DihedralClass& d : angles.dihedrals)
        s.dihedralClasses.push_back(
            {d.smallerFace, d.largerFace, d.degrees, d.count, exactAngleText(d.degrees)});
    for (const SolidAngleClass& a : angles.solidAngles)
        s.solidAngles.push_back({a.configuration, a.steradians, a.count});
}

// "2.1817 = 5/12·(3 + √5)", or the decimals alone.
std::string withExact(double value, const std::string& exact) {
    return fixed(value, 4) + (exact.empty() ? "" : " = " + exact);
}

std::string radiusText(const RadiusFigure& r) {
    if (!r.measured) return "none\n";
    if (r.exists) return withExact(r.least, r.exact) + "\n";
    return "none (" + fixed(r.least, 4) + " to " + fixed(r.most, 4) + ")\n";
}

std::string configurationName(const std::vector<int>& sizes) {
    std::string text;
    for (int size : sizes)
        text += (text.empty() ? "" : ".") + std::to_string(size);
    return text;
}

std::string shapeText(const Stats& s) {
    std::string out;
    if (s.symmetryGroup.empty()) out += "symmetry      none found (vertices on one line)\n";
    else
        out += "symmetry      " + s.symmetryGroup + " (order " + std::to_string(s.symmetryOrder) + "), " +
               (s.chiral ? "chiral" : "not chiral") + "\n";
    if (!s.schlaefli.empty()) out += "schlaefli     " + s.schlaefli + "\n";
    if (s.unit <= 0) return out;
    out += std::string("unit          ") + (s.unitIsEdge ? "edge length 1" : "longest edge 1") + "\n";
    out += "surface       " + withExact(s.surfaceInUnits, s.surfaceExact) + "\n";
    if (s.closed && s.oriented) out += "volume        " + withExact(s.volumeInUnits, s.volumeExact) + "\n";
    if (s.piercesItself) {
        const double u2 = s.unit * s.unit;
        out += "self-piercing yes: " +
               std::string(s.enclosedMeasured ? "surface and volume of the enclosed region; "
                                              : "enclosed region not measured; ") +
               "faces' areas add up to " + fixed(s.surfaceArea / u2, 4) + ", signed volume " +
               fixed(s.volume / (u2 * s.unit), 4) + "\n";
    }
    out += "circumradius  " + radiusText(s.circumradius);
    out += "midradius     " + radiusText(s.midradius);
    out += "inradius      " + radiusText(s.inradius);
    bool first = true;
    for (const DihedralClassFigure& d : s.dihedralClasses) {
        out += std::string(first ? "edge classes  " : "              ") + std::to_string(d.smallerFace) + "-" +
               std::to_string(d.largerFace) + ": " + fixed(d.degrees, 2) + "\u00b0 \u00d7" +
               std::to_string(d.count) + (d.exact.empty() ? "" : " = " + d.exact) + "\n";
        first = false;
    }
    first = true;
    for (const SolidAngleFigure& a : s.solidAngles) {
        out += std::string(first ? "solid angles  " : "              ") + configurationName(a.configuration) +
               ": " + fixed(a.steradians, 4) + " sr \u00d7" + std::to_string(a.count) + "\n";
        first = false;
    }
    return out;
}

QJsonObject radiusJson(const RadiusFigure& r) {
    QJsonObject o{{"exists", r.exists}};
    if (!r.measured) return o;
    if (r.exists) {
        o["value"] = r.least;
        if (!r.exact.empty()) o["exact"] = QString::fromStdString(r.exact);
    } else {
        o["min"] = r.least;
        o["max"] = r.most;
    }
    return o;
}

void addShapeJson(const Stats& s, QJsonObject& o) {
    QJsonObject symmetry{{"found", !s.symmetryGroup.empty()}};
    if (!s.symmetryGroup.empty()) {
        symmetry["group"] = QString::fromStdString(s.symmetryGroup);
        symmetry["order"] = s.symmetryOrder;
        symmetry["chiral"] = s.chiral;
    }
    o["symmetry"] = symmetry;
    if (!s.schlaefli.empty()) o["schlaefli"] = QString::fromStdString(s.schlaefli);
    o["piercesItself"] = s.piercesItself;
    o["enclosedMeasured"] = s.enclosedMeasured;
    if (s.unit <= 0) return;
    QJsonObject scaled{{"unit", s.unitIsEdge ? "edgeLength" : "longestEdge"}, {"unitLength", s.unit}};
    scaled["surfaceArea"] = s.surfaceInUnits;
    if (s.piercesItself) {
        scaled["faceAreaSum"] = s.surfaceArea / (s.unit * s.unit);
        scaled["signedVolume"] = s.volume / (s.unit * s.unit * s.unit);
    }
    if (!s.surfaceExact.empty()) scaled["surfaceAreaExact"] = QString::fromStdString(s.surfaceExact);
    if (s.closed && s.oriented) {
        scaled["volume"] = s.volumeInUnits;
        if (!s.volumeExact.empty()) scaled["volumeExact"] = QString::fromStdString(s.volumeExact);
    }
    scaled["circumradius"] = radiusJson(s.circumradius);
    scaled["midradius"] = radiusJson(s.midradius);
    scaled["inradius"] = radiusJson(s.inradius);
    o["inUnits"] = scaled;
    QJsonArray classes;
    for (const DihedralClassFigure& d : s.dihedralClasses) {
        QJsonObject c{{"faces", QString::fromStdString(std::to_string(d.smallerFace) + "-" +
                                                       std::to_string(d.largerFace))},
                      {"degrees", d.degrees},
                      {"count", d.count}};
        if (!d.exact.empty()) c["exact"] = QString::fromStdString(d.exact);
        classes.append(c);
    }
    o["edgeClasses"] = classes;
    QJsonArray corners;
    for (const SolidAngleFigure& a : s.solidAngles)
        corners.append(QJsonObject{{"configuration", QString::fromStdString(configurationName(a.configuration))},
                                   {"steradians", a.steradians},
                                   {"count", a.count}});
    o["solidAngles"] = corners;
}

} // namespace

LengthUnit lengthUnit(const Mesh& mesh) {
    Stats s;
    std::vector<double> lengths = edgeLengthsOf(mesh);
    for (double length : lengths)
        s.longestEdge = std::max(s.longestEdge, length);
    groupEdgeLengths(std::move(lengths), s);
    LengthUnit unit = unitOfLengths(s);
    if (!(unit.length > 0) || !std::isfinite(unit.length)) unit.length = 0;
    return unit;
}

double longestEdgeOf(const Mesh& mesh) {
    double longest = 0;
    for (double length : edgeLengthsOf(mesh))
        longest = std::max(longest, length);
    return longest;
}

Stats measure(Mesh mesh) {
    Stats s;
    // A face that names a vertex the mesh does not have leaves nothing to measure but the counts.
    const auto cornerMissing = [&](int v) { return v < 0 || static_cast<std::size_t>(v) >= mesh.vertices.size(); };
    for (const auto& f : mesh.faces)
        if (std::any_of(f.begin(), f.end(), cornerMissing)) {
            s.vertices = static_cast<int>(mesh.vertices.size());
            s.faces = static_cast<int>(mesh.faces.size());
            for (const auto& face : mesh.faces)
                ++s.faceTypes[static_cast<int>(face.size())];
            return s;
        }
    s.oriented = orientOutward(mesh);
    const auto edges = edgeMap(mesh.faces).edges;
    s.vertices = static_cast<int>(mesh.vertices.size());
    s.edges = static_cast<int>(edges.size());
    s.faces = static_cast<int>(mesh.faces.size());
    s.euler = s.vertices - s.edges + s.faces;
    for (const auto& f : mesh.faces)
        ++s.faceTypes[static_cast<int>(f.size())];
    // Turning faces outward keeps every edge and its sides: the edges above tell.
    s.closed = std::all_of(edges.begin(), edges.end(), [](const MeshEdge& e) { return e.uses == 2; });

    const double size = extent(mesh);
    const double tolerance = 1e-6 * size;
    // A face without area has no plane and no normal: it takes no part in planarity and angles, and
    // a body with one is not convex (the catalogue refuses such faces, other models may hold them).
    std::vector<bool> degenerate;
    std::vector<Point3D> normals, centres;
    for (int f = 0; f < s.faces; ++f) {
        degenerate.push_back(isDegenerate(mesh, f, kDegenerateTolerance * size));
        const Point3D areaVector = areaNormal(mesh, f);
        s.surfaceArea += norm(areaVector) / 2;
        normals.push_back(unit(areaVector));
        centres.push_back(centroidOf(mesh, f));
        if (degenerate.back()) {
            ++s.degenerateFaces;
            continue;
        }
        const double off = flatness(mesh, f);
        s.worstFlatness = std::max(s.worstFlatness, size > 0 ? off / size : 0.0);
        if (off > tolerance) ++s.nonPlanarFaces;
    }
    s.planar = s.nonPlanarFaces == 0;

    // Convex: every vertex on the inner side of every face plane (coplanar neighbours allowed).
    bool inside = s.closed && s.oriented && s.planar && s.degenerateFaces == 0;
    for (int f = 0; f < s.faces && inside; ++f)
        for (const Point3D& p : mesh.vertices)
            inside = inside && dot(p - centres[f], normals[f]) <= tolerance;
    s.convex = inside;

    if (s.closed && s.oriented) s.volume = signedVolume(mesh);
    measureVertexConfigurations(mesh, s);

    struct Angle {
        double degrees;
        std::string types;
    };
    std::vector<Angle> angles;
    std::vector<double> lengths;
    s.shortestEdge = edges.empty() ? 0 : INFINITY;
    for (const MeshEdge& e : edges) {
        const double length = norm(mesh.vertices[e.b] - mesh.vertices[e.a]);
        lengths.push_back(length);
        s.shortestEdge = std::min(s.shortestEdge, length);
        s.longestEdge = std::max(s.longestEdge, length);
        if (e.uses != 2 || !s.oriented) continue;
        const int f = e.sides[0].face, g = e.sides[1].face;
        if (degenerate[f] || degenerate[g]) continue;
        const double between = std::acos(std::clamp(dot(normals[f], normals[g]), -1.0, 1.0));
        // Folded outward (convex at this edge) when g's centre lies below f's plane.
        const bool convexHere = dot(centres[g] - centres[f], normals[f]) <= 0;
        const double interior = convexHere ? std::numbers::pi - between : std::numbers::pi + between;
        const int a = static_cast<int>(mesh.faces[f].size()), b = static_cast<int>(mesh.faces[g].size());
        angles.push_back({interior * 180 / std::numbers::pi,
                          std::to_string(std::min(a, b)) + "-" + std::to_string(std::max(a, b))});
    }
    std::sort(angles.begin(), angles.end(),
              [](const Angle& x, const Angle& y) { return x.degrees < y.degrees; });
    double groupStart = 0, sum = 0;
    for (const Angle& angle : angles) {
        if (s.dihedrals.empty() || angle.degrees - groupStart > kAngleGroupTolerance) {
            s.dihedrals.push_back({});
            groupStart = angle.degrees;
            sum = 0;
        }
        DihedralGroup& g = s.dihedrals.back();
        sum += angle.degrees;
        ++g.count;
        g.degrees = sum / g.count;
        if (std::find(g.faceTypes.begin(), g.faceTypes.end(), angle.types) == g.faceTypes.end())
            g.faceTypes.push_back(angle.types);
    }
    for (DihedralGroup& g : s.dihedrals)
        std::sort(g.faceTypes.begin(), g.faceTypes.end());
    groupEdgeLengths(std::move(lengths), s);
    measureShape(mesh, s);
    return s;
}

std::string statsText(const Stats& s, const std::string& title) {
    auto yesNo = [](bool b) { return std::string(b ? "yes" : "no"); };
    std::string out = title + "\n";
    out += "vertices      " + std::to_string(s.vertices) + "\n";
    out += "edges         " + std::to_string(s.edges) + "\n";
    out += "faces         " + std::to_string(s.faces) + " (" + faceTypesText(s.faceTypes) + ")\n";
    out += "Euler         V - E + F = " + std::to_string(s.euler) + "\n";
    out += "edge lengths  " + fixed(s.shortestEdge, 4) + " to " + fixed(s.longestEdge, 4);
    if (s.shortestEdge > 0) out += " (ratio " + fixed(s.longestEdge / s.shortestEdge, 4) + ")";
    out += "\n";
    bool first = true;
    for (const DihedralGroup& g : s.dihedrals) {
        std::string types;
        for (const auto& t : g.faceTypes)
            types += (types.empty() ? "" : ", ") + t;
        out += std::string(first ? "dihedral      " : "              ") + fixed(g.degrees, 2) +
               "\u00b0 \u00d7" + std::to_string(g.count) + " (faces " + types + ")\n";
        first = false;
    }
    if (first) out += "dihedral      none\n";
    out +=
        "closed        " + yesNo(s.closed) + (s.oriented ? "" : " (faces cannot be turned outward)") + "\n";
    out += "convex        " + yesNo(s.convex) + "\n";
    out += "planar faces  " + yesNo(s.planar);
    if (!s.planar)
        out += " (" + std::to_string(s.nonPlanarFaces) + " warped, up to " + fixed(s.worstFlatness * 100, 4) +
               " % of the largest coordinate)";
    out += "\n";
    if (s.degenerateFaces > 0)
        out += "degenerate    " + std::to_string(s.degenerateFaces) +
               " faces without area (corners on one line or one point, or named twice)\n";
    out += shapeText(s);
    return out;
}

QJsonObject statsJson(const Stats& s) {
    QJsonObject o;
    o["vertices"] = s.vertices;
    o["edges"] = s.edges;
    o["faces"] = s.faces;
    QJsonArray types;
    for (const auto& [size, count] : s.faceTypes)
        types.append(QJsonObject{{"vertices", size}, {"count", count}});
    o["faceTypes"] = types;
    o["euler"] = s.euler;
    o["edgeLength"] = QJsonObject{{"min", s.shortestEdge}, {"max", s.longestEdge}};
    QJsonArray dihedrals;
    for (const DihedralGroup& g : s.dihedrals) {
        QJsonArray pairs;
        for (const auto& t : g.faceTypes)
            pairs.append(QString::fromStdString(t));
        dihedrals.append(
            QJsonObject{{"degrees", roundTo2(g.degrees)}, {"count", g.count}, {"faceTypes", pairs}});
    }
    o["dihedralAngles"] = dihedrals;
    o["closed"] = s.closed;
    o["oriented"] = s.oriented;
    o["convex"] = s.convex;
    o["planar"] = s.planar;
    o["nonPlanarFaces"] = s.nonPlanarFaces;
    o["worstFlatness"] = s.worstFlatness;
    o["degenerateFaces"] = s.degenerateFaces;
    addShapeJson(s, o);
    return o;
}

} // namespace kesmora
