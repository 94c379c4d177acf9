// The solid or its dual as a plain polygon mesh.
#include "mesh.h"

#include "stats.h"

#include "geometry/point3d.h"

#include <algorithm>
#include <cmath>

namespace kesmora {

namespace {

// Centred on the centroid of its vertices, the mesh scaled so that `length` (in the mesh's units
// before) becomes `to`.
void centreAndScale(Mesh& mesh, double length, double to) {
    if (mesh.vertices.empty()) return;
    const Point3D centre = centroidOfPoints(mesh.vertices);
    const double factor = length > 0 && std::isfinite(length) ? to / length : 1.0;
    for (Point3D& p : mesh.vertices)
        p = (p - centre) * factor;
}

} // namespace

Mesh solidMesh(const SolidModel& model) {
    return meshOf(model.solid);
}

Mesh dualMesh(const SolidModel& model) {
    return meshOf(model.dual);
}

namespace {

// The figure in its own coordinates, or as shown where it has none; whether it had them.
bool takeOwnCoordinates(const SolidModel& model, bool dual, Mesh& mesh) {
    mesh = dual ? dualMesh(model) : solidMesh(model);
    const std::vector<Point3D>& own = dual ? model.own.dual : model.own.solid;
    if (own.empty() || own.size() != mesh.vertices.size()) return false;
    mesh.vertices = own;
    return true;
}

} // namespace

Mesh meshInModelUnits(const SolidModel& model, bool dual) {
    Mesh mesh;
    if (takeOwnCoordinates(model, dual, mesh) && model.own.fromFile) return mesh;
    centreAndScale(mesh, lengthUnit(mesh).length, 1.0);
    return mesh;
}

Mesh meshInPropertyUnits(const SolidModel& model, bool dual) {
    Mesh mesh;
    takeOwnCoordinates(model, dual, mesh);
    centreAndScale(mesh, lengthUnit(mesh).length, 1.0);
    return mesh;
}

Mesh placedMesh(const SolidModel& model, bool dual, const FilePlacement& placement) {
    if (placement.asShown) return dual ? dualMesh(model) : solidMesh(model);
    Mesh mesh = meshInModelUnits(model, dual);
    if (placement.longestEdge > 0) centreAndScale(mesh, longestEdgeOf(mesh), placement.longestEdge);
    return mesh;
}

} // namespace kesmora
