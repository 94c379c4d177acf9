// The measures of one face and of a set of points that every layer shares: the face's centroid and
// Newell's normal, and the largest coordinate. Written for any vertex table that is indexed by int
// (CheckedTable, std::vector) and any face that is a sequence of vertex indices (FaceView, std::vector).
#pragma once

#include "point3d.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace kesmora {

// The sum of the face's corners, corner by corner in boundary order, and their number.
struct CornerSum {
    Point3D sum;
    std::size_t count = 0;
};
template <typename Points, typename Face> CornerSum faceCornerSum(const Points& vertices, const Face& face) {
    CornerSum out;
    for (const int v : face) {
        out.sum = out.sum + vertices[v];
        ++out.count;
    }
    return out;
}

// The mean of the face's corners: their sum divided by their number. The origin for a face
// without corners.
template <typename Points, typename Face> Point3D faceCentroid(const Points& vertices, const Face& face) {
    const auto [sum, count] = faceCornerSum(vertices, face);
    return count > 0 ? sum / static_cast<double>(count) : sum;
}

// The same mean as the sum multiplied by the reciprocal of the number, which can differ from the
// quotient in the last bit: the exports, measurements, nets and the polar reciprocal were made with
// it, and their files keep it.
template <typename Points, typename Face> Point3D faceCentroidScaled(const Points& vertices, const Face& face) {
    const auto [sum, count] = faceCornerSum(vertices, face);
    return (1.0 / static_cast<double>(count)) * sum;
}

// Newell's normal of a face, summed side by side from its first corner: its length is twice the
// area of a planar face, and it is well defined for star polygons and slightly warped faces too.
template <typename Points, typename Face> Point3D newellNormal(const Points& vertices, const Face& face) {
    Point3D n;
    const int count = static_cast<int>(face.size());
    for (int i = 0; i < count; ++i) {
        const Point3D& a = vertices[face[i]];
        const Point3D& b = vertices[face[(i + 1) % count]];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

// The same vector summed as the cross products of the corners side by side, which rounds
// differently: the exports, measurements and nets were made with it, and their files keep it.
template <typename Points, typename Face> Point3D faceAreaVector(const Points& vertices, const Face& face) {
    Point3D n;
    const int count = static_cast<int>(face.size());
    for (int i = 0; i < count; ++i)
        n = n + cross(vertices[face[i]], vertices[face[(i + 1) % count]]);
    return n;
}

// For each vertex below vertexCount, the faces that name it, in ascending order, each face once.
// A face naming a vertex outside the range throws std::out_of_range.
template <typename Faces> std::vector<std::vector<int>> facesAtVertices(const Faces& faces, int vertexCount) {
    std::vector<std::vector<int>> at(static_cast<std::size_t>(std::max(vertexCount, 0)));
    int f = 0;
    for (const auto& face : faces) {
        for (const int v : face) {
            std::vector<int>& list = at.at(static_cast<std::size_t>(v));
            if (list.empty() || list.back() != f) list.push_back(f);
        }
        ++f;
    }
    return at;
}

// The largest absolute value of any coordinate of the points; 0 for none. NaN is passed over.
template <typename Points> double largestCoordinate(const Points& points) {
    double largest = 0;
    for (const Point3D& p : points)
        largest = std::max({largest, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    return largest;
}

} // namespace kesmora
