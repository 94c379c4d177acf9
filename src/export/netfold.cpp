#include "netfold.h"

#include "geometry/facemeasures.h"
#include "geometry/point3d.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <map>
#include <utility>

namespace kesmora {

namespace {

std::size_t slot(int i) {
    return static_cast<std::size_t>(i);
}

NetError foldError(const char* what) {
    return NetError(NetError::Kind::NoNet, QString::fromUtf8(what));
}

// A turn and a shift: x -> m x + t.
struct Motion {
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    Point3D t;

    Point3D operator()(const Point3D& x) const {
        return Point3D{m[0][0] * x.x + m[0][1] * x.y + m[0][2] * x.z + t.x,
                       m[1][0] * x.x + m[1][1] * x.y + m[1][2] * x.z + t.y,
                       m[2][0] * x.x + m[2][1] * x.y + m[2][2] * x.z + t.z};
    }
};

// The turn by `angle` about the line through `p` in the unit direction `a`, after `outer`.
Motion foldedAbout(const Motion& outer, const Point3D& p, const Point3D& a, double angle) {
    const double c = std::cos(angle), s = std::sin(angle), k = 1 - c;
    const double r[3][3] = {{c + a.x * a.x * k, a.x * a.y * k - a.z * s, a.x * a.z * k + a.y * s},
                            {a.y * a.x * k + a.z * s, c + a.y * a.y * k, a.y * a.z * k - a.x * s},
                            {a.z * a.x * k - a.y * s, a.z * a.y * k + a.x * s, c + a.z * a.z * k}};
    Motion result;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double sum = 0;
            for (int l = 0; l < 3; ++l)
                sum += outer.m[i][l] * r[l][j];
            result.m[i][j] = sum;
        }
    // x -> outer(p + r (x - p)) = outer.m r x + outer.m (p - r p) + outer.t
    const Point3D rp{r[0][0] * p.x + r[0][1] * p.y + r[0][2] * p.z, r[1][0] * p.x + r[1][1] * p.y + r[1][2] * p.z,
                     r[2][0] * p.x + r[2][1] * p.y + r[2][2] * p.z};
    Motion shiftOnly = outer;
    result.t = shiftOnly(p - rp);
    return result;
}

Point3D unitNormal(const std::vector<Point3D>& points, const std::vector<int>& face) {
    return unit(newellNormal(points, face));
}

} // namespace

NetFolding::NetFolding(const Mesh& mesh, const NetLayout& layout) : faces_(mesh.faces) {
    const std::size_t faceCount = mesh.faces.size();
    if (layout.faces.size() != faceCount || layout.sideNumbers.size() != faceCount)
        throw foldError("Das Netz gehört nicht zu diesem Körper");
    for (const std::vector<int>& face : mesh.faces)
        for (int v : face)
            if (v < 0 || slot(v) >= mesh.vertices.size()) throw foldError("Das Netz gehört nicht zu diesem Körper");
    // The face on the other side of each directed side.
    std::map<std::pair<int, int>, int> faceOnSide;
    for (std::size_t f = 0; f < faceCount; ++f) {
        const std::vector<int>& face = mesh.faces[f];
        for (std::size_t k = 0; k < face.size(); ++k)
            faceOnSide[{face[k], face[(k + 1) % face.size()]}] = static_cast<int>(f);
    }
    // Faces joined by the folds, piece by piece, each face after the one it folds to.
    parent_.assign(faceCount, -1);
    hinge_.assign(faceCount, {0, 0});
    std::vector<bool> placed(faceCount, false);
    for (std::size_t first = 0; first < faceCount; ++first) {
        if (placed[first]) continue;
        ++pieceCount_;
        placed[first] = true;
        std::size_t next = order_.size();
        order_.push_back(static_cast<int>(first));
        for (; next < order_.size(); ++next) {
            const int f = order_[next];
            const std::vector<int>& face = mesh.faces[slot(f)];
            const std::vector<int>& numbers = layout.sideNumbers[slot(f)];
            if (numbers.size() != face.size()) throw foldError("Das Netz gehört nicht zu diesem Körper");
            for (std::size_t k = 0; k < face.size(); ++k) {
                if (numbers[k] != 0) continue; // a glue edge, not a fold
                const int a = face[k], b = face[(k + 1) % face.size()];
                const auto across = faceOnSide.find({b, a});
                if (across == faceOnSide.end()) throw foldError("Eine Faltkante des Netzes ist keine Kante des Körpers");
                const int g = across->second;
                if (placed[slot(g)]) continue;
                placed[slot(g)] = true;
                parent_[slot(g)] = f;
                hinge_[slot(g)] = {b, a}; // as g runs along it
                order_.push_back(g);
            }
        }
    }
}

Mesh NetFolding::at(double u, const Mesh& now) const {
    u = std::clamp(std::isfinite(u) ? u : 1.0, 0.0, 1.0);
    std::size_t vertexCount = 0;
    for (const std::vector<int>& face : faces_)
        for (int v : face)
            vertexCount = std::max(vertexCount, slot(v) + 1);
    if (now.vertices.size() < vertexCount || now.faces.size() != faces_.size())
        throw foldError("Der Körper hat andere Flächen als das Netz");
    const std::vector<Point3D>& points = now.vertices;

    std::vector<Motion> motion(faces_.size());
    for (int f : order_) {
        const int p = parent_[slot(f)];
        if (p < 0) continue;
        const Point3D from = points[slot(hinge_[slot(f)].first)];
        const Point3D axis = unit(points[slot(hinge_[slot(f)].second)] - from);
        const Point3D nf = unitNormal(points, faces_[slot(f)]), np = unitNormal(points, faces_[slot(p)]);
        // The turn about the fold that lays the face into its neighbour's plane, beside it.
        const double flat = std::atan2(dot(axis, cross(nf, np)), dot(nf, np));
        motion[slot(f)] = foldedAbout(motion[slot(p)], from, axis, (1 - u) * flat);
    }

    Mesh figure;
    Point3D centre, figureCentre;
    std::size_t corners = 0;
    for (std::size_t f = 0; f < faces_.size(); ++f) {
        std::vector<int> face;
        for (int v : faces_[f]) {
            face.push_back(static_cast<int>(figure.vertices.size()));
            figure.vertices.push_back(motion[f](points[slot(v)]));
            centre = centre + points[slot(v)];
            figureCentre = figureCentre + figure.vertices.back();
            ++corners;
        }
        figure.faces.push_back(std::move(face));
    }
    // As large as the solid at most, about the same centre: the flat net is wider than the solid.
    if (corners == 0) return figure;
    centre = centre / static_cast<double>(corners);
    figureCentre = figureCentre / static_cast<double>(corners);
    // Turned towards the viewer as it opens: the first piece's plane faces the screen when flat,
    // and the turn dwindles to none as the net closes.
    if (!order_.empty() && u < 1) {
        const Point3D n = unitNormal(points, faces_[slot(order_.front())]);
        const Point3D towards{0, 0, n.z >= 0 ? 1.0 : -1.0};
        const Point3D axis = cross(n, towards);
        const double length = norm(axis);
        if (length > 1e-12) {
            const double angle = (1 - u) * std::atan2(length, dot(n, towards));
            const Motion turn = foldedAbout(Motion{}, figureCentre, axis / length, angle);
            for (Point3D& x : figure.vertices)
                x = turn(x);
        }
    }
    double reach = 0, figureReach = 0;
    std::size_t k = 0;
    for (std::size_t f = 0; f < faces_.size(); ++f)
        for (int v : faces_[f]) {
            reach = std::max(reach, norm(points[slot(v)] - centre));
            figureReach = std::max(figureReach, norm(figure.vertices[k++] - figureCentre));
        }
    const double scale = figureReach > reach && figureReach > 0 ? reach / figureReach : 1.0;
    for (Point3D& x : figure.vertices)
        x = centre + scale * (x - figureCentre);
    return figure;
}

} // namespace kesmora
