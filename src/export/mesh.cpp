// The solid or its dual as a plain polygon mesh.
#include "mesh.h"

namespace kesmora {

namespace {

Mesh meshOf(const Figure& figure) {
    Mesh m;
    m.vertices.assign(figure.vertices.begin(), figure.vertices.end());
    m.faces.reserve(static_cast<std::size_t>(figure.faces.size()));
    for (const FaceView face : figure.faces)
        m.faces.push_back(face.toVector());
    return m;
}

} // namespace

Mesh solidMesh(const SolidModel& model) {
    return meshOf(model.solid);
}

Mesh dualMesh(const SolidModel& model) {
    return meshOf(model.dual);
}

} // namespace kesmora
