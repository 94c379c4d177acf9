// The solid or its dual as a plain polygon mesh.
#include "mesh.h"

namespace kesmora {

namespace {

Mesh meshOf(const Figure& figure) {
    Mesh m;
    m.vertices.assign(figure.vertices.begin(), figure.vertices.end());
    for (const FaceString& codes : figure.faces) {
        std::vector<int> face;
        for (char ch : codes)
            face.push_back(vertexOfCode(ch));
        m.faces.push_back(std::move(face));
    }
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
