// Counting and measuring a mesh.
#include "stats.h"

#include "catalogue/numbertext.h"
#include "geometry/degenerate.h"

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

} // namespace

Stats measure(Mesh mesh) {
    Stats s;
    s.oriented = orientOutward(mesh);
    const auto edges = edgeMap(mesh.faces).edges;
    s.vertices = static_cast<int>(mesh.vertices.size());
    s.edges = static_cast<int>(edges.size());
    s.faces = static_cast<int>(mesh.faces.size());
    s.euler = s.vertices - s.edges + s.faces;
    for (const auto& f : mesh.faces)
        ++s.faceTypes[static_cast<int>(f.size())];
    s.closed = isClosed(mesh);

    const double size = extent(mesh);
    const double tolerance = 1e-6 * size;
    // A face without area has no plane and no normal: it takes no part in planarity and angles, and
    // a body with one is not convex (the catalogue refuses such faces, other models may hold them).
    std::vector<bool> degenerate;
    std::vector<Point3D> normals, centres;
    for (int f = 0; f < s.faces; ++f) {
        degenerate.push_back(isDegenerate(mesh, f, kDegenerateTolerance * size));
        normals.push_back(unit(areaNormal(mesh, f)));
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

    struct Angle {
        double degrees;
        std::string types;
    };
    std::vector<Angle> angles;
    s.shortestEdge = edges.empty() ? 0 : INFINITY;
    for (const MeshEdge& e : edges) {
        const double length = norm(mesh.vertices[e.b] - mesh.vertices[e.a]);
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
    return o;
}

} // namespace kesmora
