// The enclosed region of a self-piercing surface, from the arrangement of its face planes.
#include "enclosed.h"

#include "point3d.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <numeric>
#include <set>

namespace kesmora {

namespace {

bool validFaces(const PolyMesh& mesh) {
    for (const auto& face : mesh.faces)
        for (int v : face)
            if (v < 0 || static_cast<std::size_t>(v) >= mesh.vertices.size()) return false;
    return true;
}

// The signed solid angle of the triangle a, b, c seen from the origin (Van Oosterom and Strackee).
double triangleSolidAngle(const Point3D& a, const Point3D& b, const Point3D& c) {
    const double la = norm(a), lb = norm(b), lc = norm(c);
    const double numerator = dot(a, cross(b, c));
    const double denominator = la * lb * lc + dot(a, b) * lc + dot(a, c) * lb + dot(b, c) * la;
    return 2 * std::atan2(numerator, denominator);
}

// How many times the surface winds around a point (each closed part adds its own).
int windingAt(const PolyMesh& mesh, const Point3D& q) {
    double total = 0;
    for (const auto& face : mesh.faces) {
        const Point3D first = mesh.vertices[static_cast<std::size_t>(face[0])] - q;
        for (std::size_t k = 1; k + 1 < face.size(); ++k)
            total += triangleSolidAngle(first, mesh.vertices[static_cast<std::size_t>(face[k])] - q,
                                        mesh.vertices[static_cast<std::size_t>(face[k + 1])] - q);
    }
    return static_cast<int>(std::lround(total / (4 * std::numbers::pi)));
}

// How often a closed polygon in a plane winds around a point of that plane (normal `axis`).
int windingInPlane(const std::vector<Point3D>& ring, const Point3D& at, const Point3D& axis) {
    double turned = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const Point3D a = ring[i] - at, b = ring[(i + 1) % ring.size()] - at;
        turned += std::atan2(dot(axis, cross(a, b)), dot(a, b));
    }
    return static_cast<int>(std::lround(turned / (2 * std::numbers::pi)));
}

std::vector<Point3D> cornersOf(const PolyMesh& mesh, int face) {
    std::vector<Point3D> ring;
    for (int v : mesh.faces[static_cast<std::size_t>(face)])
        ring.push_back(mesh.vertices[static_cast<std::size_t>(v)]);
    return ring;
}

int parts(const PolyMesh& mesh) {
    std::vector<int> parent(mesh.vertices.size());
    std::iota(parent.begin(), parent.end(), 0);
    auto root = [&](int v) {
        while (parent[static_cast<std::size_t>(v)] != v)
            v = parent[static_cast<std::size_t>(v)];
        return v;
    };
    std::vector<bool> used(mesh.vertices.size());
    for (const auto& face : mesh.faces)
        for (int v : face) {
            used[static_cast<std::size_t>(v)] = true;
            parent[static_cast<std::size_t>(root(v))] = root(face[0]);
        }
    std::set<int> roots;
    for (std::size_t v = 0; v < mesh.vertices.size(); ++v)
        if (used[v]) roots.insert(root(static_cast<int>(v)));
    return static_cast<int>(roots.size());
}

constexpr double kSamePlane = 1e-5;

// A face's plane: unit normal and offset along it.
struct Plane {
    Point3D normal;
    double offset = 0;
};

using Polygon2 = std::vector<std::array<double, 2>>;

// The parts of a convex polygon on either side of the line a·s + b·t = c.
void splitBy(const Polygon2& polygon, double a, double b, double c, double tolerance, std::vector<Polygon2>& out) {
    std::vector<double> side;
    bool below = false, above = false;
    for (const auto& p : polygon) {
        side.push_back(a * p[0] + b * p[1] - c);
        below = below || side.back() < -tolerance;
        above = above || side.back() > tolerance;
    }
    if (!below || !above) {
        out.push_back(polygon);
        return;
    }
    Polygon2 low, high;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const std::size_t j = (i + 1) % polygon.size();
        if (side[i] <= 0) low.push_back(polygon[i]);
        if (side[i] >= 0) high.push_back(polygon[i]);
        if ((side[i] < 0 && side[j] > 0) || (side[i] > 0 && side[j] < 0)) {
            const double t = side[i] / (side[i] - side[j]);
            const std::array<double, 2> cut{polygon[i][0] + t * (polygon[j][0] - polygon[i][0]),
                                            polygon[i][1] + t * (polygon[j][1] - polygon[i][1])};
            low.push_back(cut);
            high.push_back(cut);
        }
    }
    if (low.size() >= 3) out.push_back(std::move(low));
    if (high.size() >= 3) out.push_back(std::move(high));
}

} // namespace

int faceWindings(const PolyMesh& mesh, int face) {
    if (face < 0 || face >= static_cast<int>(mesh.faces.size()) || !validFaces(mesh)) return 0;
    const Point3D axis = unit(areaNormal(mesh, face));
    if (norm(axis) == 0) return 0;
    return std::abs(windingInPlane(cornersOf(mesh, face), centroidOf(mesh, face), axis));
}

bool piercesItself(const PolyMesh& mesh) {
    if (!validFaces(mesh) || mesh.faces.empty()) return false;
    if (parts(mesh) > 1) return true;
    const int faces = static_cast<int>(mesh.faces.size());
    for (int f = 0; f < faces; ++f)
        if (faceWindings(mesh, f) > 1) return true;
    const double size = extent(mesh);
    const double near = 1e-9 * size;
    // Two faces in different planes pierce one another where the line of their planes runs
    // through the inside of both: probed between the points where it crosses their edges.
    std::vector<Point3D> normals;
    std::vector<std::vector<Point3D>> rings;
    for (int f = 0; f < faces; ++f) {
        normals.push_back(unit(areaNormal(mesh, f)));
        rings.push_back(cornersOf(mesh, f));
    }
    const auto onBoundary = [&](const std::vector<Point3D>& ring, const Point3D& q) {
        for (std::size_t k = 0; k < ring.size(); ++k) {
            const Point3D a = ring[k], b = ring[(k + 1) % ring.size()];
            const double t = std::clamp(dot(q - a, b - a) / std::max(dot(b - a, b - a), 1e-300), 0.0, 1.0);
            if (norm(a + t * (b - a) - q) <= near) return true;
        }
        return false;
    };
    for (int f = 0; f < faces; ++f)
        for (int g = f + 1; g < faces; ++g) {
            const Point3D nf = normals[static_cast<std::size_t>(f)], ng = normals[static_cast<std::size_t>(g)];
            const Point3D direction = cross(nf, ng);
            if (norm(nf) == 0 || norm(ng) == 0 || norm(direction) < 1e-9) continue;
            const Point3D d = unit(direction);
            const Point3D cf = centroidOf(mesh, f), cg = centroidOf(mesh, g);
            // A point of both planes: from cf along the plane of f towards the plane of g.
            const Point3D across = cross(d, nf);
            const double reach = dot(cg - cf, ng) / dot(across, ng);
            const Point3D base = cf + reach * across;
            std::vector<double> cuts;
            const auto crossings = [&](const std::vector<Point3D>& ring, const Point3D& planeNormal, const Point3D& planePoint) {
                for (std::size_t k = 0; k < ring.size(); ++k) {
                    const Point3D a = ring[k], b = ring[(k + 1) % ring.size()];
                    const double da = dot(a - planePoint, planeNormal), db = dot(b - planePoint, planeNormal);
                    if (std::fabs(da) <= near) cuts.push_back(dot(a - base, d));
                    if ((da < -near && db > near) || (da > near && db < -near))
                        cuts.push_back(dot(a + (da / (da - db)) * (b - a) - base, d));
                }
            };
            crossings(rings[static_cast<std::size_t>(f)], ng, cg);
            crossings(rings[static_cast<std::size_t>(g)], nf, cf);
            std::sort(cuts.begin(), cuts.end());
            for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
                if (cuts[k + 1] - cuts[k] <= 2 * near) continue;
                const Point3D q = base + ((cuts[k] + cuts[k + 1]) / 2) * d;
                if (onBoundary(rings[static_cast<std::size_t>(f)], q) || onBoundary(rings[static_cast<std::size_t>(g)], q))
                    continue;
                if (windingInPlane(rings[static_cast<std::size_t>(f)], q, nf) != 0 &&
                    windingInPlane(rings[static_cast<std::size_t>(g)], q, ng) != 0)
                    return true;
            }
        }
    return false;
}

EnclosedRegion enclosedRegion(const PolyMesh& mesh) {
    EnclosedRegion region;
    if (!validFaces(mesh) || mesh.faces.empty() || mesh.faces.size() > kMaxEnclosedFaces) return region;
    const double size = extent(mesh);
    if (!(size > 0)) return region;
    const Point3D centre = centroidOfPoints(mesh.vertices);

    // The distinct planes of the faces, about the centre, each with the faces in it. Planes apart
    // by no more than the rounding of seven-digit coordinates are one plane: kept apart, they
    // would cross in slivers of surface that are not there.
    std::vector<Plane> planes;
    std::vector<std::vector<int>> facesIn;
    for (int f = 0; f < static_cast<int>(mesh.faces.size()); ++f) {
        Point3D n = unit(areaNormal(mesh, f));
        if (norm(n) == 0) continue;
        // One sense for the normal of a plane, whatever side of the centre it passes.
        constexpr double clear = 1e-3;
        if (n.x < -clear || (std::fabs(n.x) <= clear && (n.y < -clear || (std::fabs(n.y) <= clear && n.z < 0))))
            n = -n;
        const double d = dot(centroidOf(mesh, f) - centre, n);
        std::size_t i = 0;
        while (i < planes.size() &&
               !(norm(planes[i].normal - n) < kSamePlane && std::fabs(planes[i].offset - d) < kSamePlane * size))
            ++i;
        if (i == planes.size()) {
            planes.push_back({n, d});
            facesIn.emplace_back();
        }
        facesIn[i].push_back(f);
    }

    // Each cell is probed against every face; beyond this many probes of a face the region is left
    // unmeasured rather than keep the user waiting (a few tenths of a second).
    constexpr std::size_t kFaceProbes = 2'000'000;
    std::size_t probes = 0;
    for (std::size_t i = 0; i < planes.size(); ++i) {
        const Point3D n = planes[i].normal;
        const Point3D origin = centre + planes[i].offset * n;
        // Each side of a cell is probed a step away from the plane: a step beyond the corners of
        // the plane's faces that lie off it by rounding.
        double off = 0;
        for (int f : facesIn[i])
            for (int corner : mesh.faces[static_cast<std::size_t>(f)])
                off = std::max(off, std::fabs(dot(mesh.vertices[static_cast<std::size_t>(corner)] - origin, n)));
        const double step = std::max(1e-7 * size, 20 * off);
        const Point3D u = unit(std::fabs(n.x) < 0.9 ? cross(n, Point3D{1, 0, 0}) : cross(n, Point3D{0, 1, 0}));
        const Point3D v = cross(n, u);
        // Start from a square around this plane's faces, cut by every other plane's line.
        double lo[2] = {INFINITY, INFINITY}, hi[2] = {-INFINITY, -INFINITY};
        for (int f : facesIn[i])
            for (int corner : mesh.faces[static_cast<std::size_t>(f)]) {
                const Point3D p = mesh.vertices[static_cast<std::size_t>(corner)] - origin;
                const double st[2] = {dot(p, u), dot(p, v)};
                for (int k = 0; k < 2; ++k) {
                    lo[k] = std::min(lo[k], st[k]);
                    hi[k] = std::max(hi[k], st[k]);
                }
            }
        const double margin = 0.01 * size;
        std::vector<Polygon2> cells = {{{lo[0] - margin, lo[1] - margin},
                                        {hi[0] + margin, lo[1] - margin},
                                        {hi[0] + margin, hi[1] + margin},
                                        {lo[0] - margin, hi[1] + margin}}};
        for (std::size_t j = 0; j < planes.size(); ++j) {
            if (j == i) continue;
            const Point3D m = planes[j].normal;
            const double a = dot(m, u), b = dot(m, v);
            if (std::hypot(a, b) < kSamePlane) continue; // parallel
            const double c = planes[j].offset - dot(m, origin - centre);
            std::vector<Polygon2> next;
            for (const Polygon2& cell : cells)
                splitBy(cell, a, b, c, 1e-12 * size, next);
            cells = std::move(next);
        }
        for (const Polygon2& cell : cells) {
            double area2 = 0, cs = 0, ct = 0;
            for (std::size_t k = 0; k < cell.size(); ++k) {
                const auto& p = cell[k];
                const auto& q = cell[(k + 1) % cell.size()];
                const double w = p[0] * q[1] - q[0] * p[1];
                area2 += w;
                cs += (p[0] + q[0]) * w;
                ct += (p[1] + q[1]) * w;
            }
            const double area = std::fabs(area2) / 2;
            if (area < 1e-14 * size * size) continue;
            const Point3D at = origin + (cs / (3 * area2)) * u + (ct / (3 * area2)) * v;
            probes += 2 * mesh.faces.size();
            if (probes > kFaceProbes) return EnclosedRegion{};
            const bool insideAbove = windingAt(mesh, at + step * n) != 0;
            const bool insideBelow = windingAt(mesh, at - step * n) != 0;
            if (insideAbove == insideBelow) continue;
            const Point3D outward = insideAbove ? -n : n;
            region.surface += area;
            region.volume += dot(at - centre, outward) * area / 3;
        }
    }
    region.measured = std::isfinite(region.volume) && std::isfinite(region.surface) && region.volume > 0;
    if (!region.measured) region = EnclosedRegion{};
    return region;
}

} // namespace kesmora
