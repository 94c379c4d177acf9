// The radii about the centre.
#include "spheres.h"

#include "edgemap.h"
#include "point3d.h"

#include <algorithm>
#include <cmath>

namespace kesmora {

namespace {

void take(RadiusRange& r, double distance) {
    if (!std::isfinite(distance)) return;
    if (!r.measured) {
        r.least = r.most = distance;
        r.measured = true;
        return;
    }
    r.least = std::min(r.least, distance);
    r.most = std::max(r.most, distance);
}

void settle(RadiusRange& r, double tolerance) {
    r.exists = r.measured && r.most - r.least <= tolerance * r.most;
}

bool validCorners(const PolyMesh& mesh, const std::vector<int>& face) {
    return std::all_of(face.begin(), face.end(), [&](int v) {
        return v >= 0 && static_cast<std::size_t>(v) < mesh.vertices.size();
    });
}

} // namespace

Spheres spheresOf(const PolyMesh& mesh, double relativeTolerance) {
    Spheres s;
    s.centre = centroidOfPoints(mesh.vertices);
    for (const Point3D& v : mesh.vertices)
        take(s.circumradius, norm(v - s.centre));
    bool valid = true;
    for (const auto& face : mesh.faces)
        valid = valid && validCorners(mesh, face);
    if (valid) {
        for (const MeshEdge& e : edgeMap(mesh.faces).edges) {
            const Point3D a = mesh.vertices[static_cast<std::size_t>(e.a)];
            const Point3D along = mesh.vertices[static_cast<std::size_t>(e.b)] - a;
            if (norm(along) > 0) take(s.midradius, norm(cross(s.centre - a, along)) / norm(along));
        }
        for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
            const Point3D n = unit(areaNormal(mesh, f));
            if (norm(n) > 0) take(s.inradius, std::fabs(dot(s.centre - centroidOf(mesh, f), n)));
        }
    }
    settle(s.circumradius, relativeTolerance);
    settle(s.midradius, relativeTolerance);
    settle(s.inradius, relativeTolerance);
    return s;
}

} // namespace kesmora
