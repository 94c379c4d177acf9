// The polar reciprocal of a solid, face for vertex and vertex for face.
#include "reciprocal.h"

#include "geometry/polar.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace kesmora {

Mesh polarReciprocal(const Mesh& solid) {
    const std::size_t faces = solid.faces.size();
    std::vector<Point3D> normals, centres;
    for (std::size_t f = 0; f < faces; ++f) {
        normals.push_back(unit(areaNormal(solid, static_cast<int>(f))));
        centres.push_back(centroidOf(solid, static_cast<int>(f)));
    }
    auto insideBy = [&](const Point3D& c) {
        double least = INFINITY;
        for (std::size_t f = 0; f < faces; ++f)
            least = std::min(least, dot(normals[f], centres[f] - c));
        return least;
    };
    Point3D centre{};
    if (insideBy(centre) < 0.05 * extent(solid)) {
        for (const Point3D& p : solid.vertices)
            centre = centre + p;
        centre = (1.0 / static_cast<double>(solid.vertices.size())) * centre;
    }
    if (insideBy(centre) <= 0) throw std::runtime_error("the centre of the solid does not lie inside it");
    // A sphere of about the solid's size keeps the reciprocal about as large as the solid.
    double radius2 = 0;
    for (const Point3D& p : solid.vertices)
        radius2 += dot(p - centre, p - centre);
    radius2 /= static_cast<double>(solid.vertices.size());

    Mesh r;
    for (std::size_t f = 0; f < faces; ++f)
        r.vertices.push_back(centre + poleOfPlane(normals[f], dot(normals[f], centres[f] - centre), radius2));
    // Around each vertex v: from a face where v is followed by w, on to the face where w comes
    // before v, and so on until the ring closes.
    for (int v = 0; v < static_cast<int>(solid.vertices.size()); ++v) {
        std::map<int, int> faceAfter; // predecessor of v -> face
        std::map<int, int> successor; // face -> successor of v
        for (int f = 0; f < static_cast<int>(faces); ++f) {
            const auto& face = solid.faces[f];
            const auto at = std::find(face.begin(), face.end(), v);
            if (at == face.end()) continue;
            const std::size_t k = static_cast<std::size_t>(at - face.begin());
            faceAfter[face[(k + face.size() - 1) % face.size()]] = f;
            successor[f] = face[(k + 1) % face.size()];
        }
        if (successor.empty()) continue;
        std::vector<int> ring{successor.begin()->first};
        while (ring.size() <= successor.size()) {
            const auto next = faceAfter.find(successor[ring.back()]);
            if (next == faceAfter.end()) throw std::runtime_error("the solid is not closed around a vertex");
            if (next->second == ring.front()) break;
            ring.push_back(next->second);
        }
        r.faces.push_back(ring);
    }
    return r;
}

} // namespace kesmora
