// Dihedral and solid angles by class.
#include "angles.h"

#include "edgemap.h"
#include "point3d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kesmora {

AngleClasses angleClasses(PolyMesh mesh) {
    AngleClasses out;
    const std::size_t count = mesh.vertices.size();
    for (const auto& face : mesh.faces)
        for (int v : face)
            if (v < 0 || static_cast<std::size_t>(v) >= count) return out;
    if (!isClosed(mesh) || !orientOutward(mesh)) return out;
    const int faces = static_cast<int>(mesh.faces.size());
    std::vector<Point3D> normals, centres;
    for (int f = 0; f < faces; ++f) {
        normals.push_back(unit(areaNormal(mesh, f)));
        centres.push_back(centroidOf(mesh, f));
    }

    // Interior angle at every edge, in radians; NaN where a face has no plane.
    const EdgeMap map = edgeMap(mesh.faces);
    std::vector<double> interior(map.edges.size(), std::nan(""));
    std::vector<std::vector<int>> edgesAt(count);
    struct Measured {
        int smaller, larger;
        double degrees;
    };
    std::vector<Measured> measured;
    for (std::size_t i = 0; i < map.edges.size(); ++i) {
        const MeshEdge& e = map.edges[i];
        edgesAt[static_cast<std::size_t>(e.a)].push_back(static_cast<int>(i));
        edgesAt[static_cast<std::size_t>(e.b)].push_back(static_cast<int>(i));
        const int f = e.sides[0].face, g = e.sides[1].face;
        if (norm(normals[f]) == 0 || norm(normals[g]) == 0) continue;
        const double between = std::acos(std::clamp(dot(normals[f], normals[g]), -1.0, 1.0));
        const bool outward = dot(centres[g] - centres[f], normals[f]) <= 0;
        interior[i] = outward ? std::numbers::pi - between : std::numbers::pi + between;
        const int a = static_cast<int>(mesh.faces[f].size()), b = static_cast<int>(mesh.faces[g].size());
        measured.push_back({std::min(a, b), std::max(a, b), interior[i] * 180 / std::numbers::pi});
    }
    std::sort(measured.begin(), measured.end(), [](const Measured& x, const Measured& y) {
        if (x.smaller != y.smaller) return x.smaller < y.smaller;
        if (x.larger != y.larger) return x.larger < y.larger;
        return x.degrees < y.degrees;
    });
    double first = 0, sum = 0;
    for (const Measured& m : measured) {
        DihedralClass* last = out.dihedrals.empty() ? nullptr : &out.dihedrals.back();
        if (last == nullptr || last->smallerFace != m.smaller || last->largerFace != m.larger ||
            m.degrees - first > kAngleClassTolerance) {
            out.dihedrals.push_back({m.smaller, m.larger, 0, 0});
            first = m.degrees;
            sum = 0;
        }
        DihedralClass& c = out.dihedrals.back();
        sum += m.degrees;
        ++c.count;
        c.degrees = sum / c.count;
    }

    // Solid angles: a polyhedral cone of k faces whose interior dihedral angles add up to S
    // covers S − (k − 2)π of the unit sphere (its section is a spherical polygon with those
    // angles), for cones that fold inward at some edges too.
    const std::vector<std::vector<FaceCorner>> corners = cornersAtVertices(mesh);
    struct Vertex {
        std::vector<int> configuration;
        double steradians;
    };
    std::vector<Vertex> vertices;
    for (std::size_t v = 0; v < count; ++v) {
        const auto& at = corners[v];
        if (at.size() < 3) continue;
        // Around the vertex: the face across the edge to `before` has that neighbour as `after`.
        std::vector<int> sizes;
        std::vector<bool> used(at.size());
        std::size_t here = 0;
        for (std::size_t step = 0; step < at.size(); ++step) {
            used[here] = true;
            sizes.push_back(static_cast<int>(mesh.faces[static_cast<std::size_t>(at[here].face)].size()));
            std::size_t next = at.size();
            for (std::size_t i = 0; i < at.size() && next == at.size(); ++i)
                if (!used[i] && at[i].after == at[here].before) next = i;
            if (next == at.size()) break;
            here = next;
        }
        if (sizes.size() != at.size() || at[here].before != at[0].after) continue;
        double angleSum = 0;
        for (int e : edgesAt[v])
            angleSum += interior[static_cast<std::size_t>(e)];
        const double omega = angleSum - static_cast<double>(edgesAt[v].size() - 2) * std::numbers::pi;
        if (std::isfinite(omega)) vertices.push_back({smallestCycle(sizes), omega});
    }
    std::sort(vertices.begin(), vertices.end(), [](const Vertex& x, const Vertex& y) {
        if (x.configuration.size() != y.configuration.size())
            return x.configuration.size() < y.configuration.size();
        if (x.configuration != y.configuration) return x.configuration < y.configuration;
        return x.steradians < y.steradians;
    });
    first = sum = 0;
    for (const Vertex& v : vertices) {
        SolidAngleClass* last = out.solidAngles.empty() ? nullptr : &out.solidAngles.back();
        if (last == nullptr || last->configuration != v.configuration ||
            v.steradians - first > kAngleClassTolerance * std::numbers::pi / 180) {
            out.solidAngles.push_back({v.configuration, 0, 0});
            first = v.steradians;
            sum = 0;
        }
        SolidAngleClass& c = out.solidAngles.back();
        sum += v.steradians;
        ++c.count;
        c.steradians = sum / c.count;
    }
    out.measured = true;
    return out;
}

} // namespace kesmora
