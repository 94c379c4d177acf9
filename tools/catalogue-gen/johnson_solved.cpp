// The Johnson solids solved from their unit-edge equations.
#include "johnson_solved.h"

#include "johnson_parts.h"
#include "uniform.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>

namespace gen {

// ---- Solids without a cut-and-paste construction -----------------------------------------------

// Residuals |Pa - Pb|^2 - 1 for the listed edges of the points made from the parameters.
static std::vector<double> edgeResiduals(const std::vector<Point3D>& p, const EdgeList& edges) {
    std::vector<double> r;
    for (const auto& [a, b] : edges) {
        const Point3D d = p[a] - p[b];
        r.push_back(dot(d, d) - 1);
    }
    return r;
}

// Snub disphenoid, S4 axis along z.
std::vector<Point3D> snubDisphenoidPoints(const std::vector<double>& x) {
    const double a = x[0], b = x[1], c = x[2];
    return {{0.5, 0, a}, {-0.5, 0, a}, {0, b, c},    {0, -b, c},
            {b, 0, -c},  {-b, 0, -c},  {0, 0.5, -a}, {0, -0.5, -a}};
}

// Snub square antiprism, D4d about z: top square, two rings, bottom square.
std::vector<Point3D> snubSquareAntiprismPoints(const std::vector<double>& x) {
    const double h1 = x[0], p = x[1], h2 = x[2], q = x[3], r = std::sqrt(0.5);
    return {{r, 0, h1},    {0, r, h1},     {-r, 0, h1},     {0, -r, h1},   {p, p, h2},   {-p, p, h2},
            {-p, -p, h2},  {p, -p, h2},    {q, 0, -h2},     {0, q, -h2},   {-q, 0, -h2}, {0, -q, -h2},
            {.5, .5, -h1}, {-.5, .5, -h1}, {-.5, -.5, -h1}, {.5, -.5, -h1}};
}

// Hebesphenomegacorona, C2v with the twofold axis along z.
std::vector<Point3D> hebesphenomegacoronaPoints(const std::vector<double>& x) {
    const double zB = x[0], yA = x[1], zA = x[2], zC = x[3], xD = x[4], zD = x[5], xE = x[6], zE = x[7];
    return {{.5, .5, zB},  {-.5, .5, zB},  {-.5, -.5, zB}, {.5, -.5, zB}, {.5, yA, zA},
            {-.5, yA, zA}, {-.5, -yA, zA}, {.5, -yA, zA},  {0, .5, zC},   {0, -.5, zC},
            {xD, 0, zD},   {-xD, 0, zD},   {xE, 0, zE},    {-xE, 0, zE}};
}

// Disphenocingulum, D2d with the S4 axis along z.
std::vector<Point3D> disphenocingulumPoints(const std::vector<double>& x) {
    const double h1 = x[0], t = x[1], h2 = x[2], u = x[3], h3 = x[4];
    return {{.5, 0, h1},   {-.5, 0, h1}, {0, .5, -h1}, {0, -.5, -h1}, {.5, t, h2},    {-.5, t, h2},
            {-.5, -t, h2}, {.5, -t, h2}, {t, .5, -h2}, {-t, .5, -h2}, {-t, -.5, -h2}, {t, -.5, -h2},
            {u, 0, h3},    {-u, 0, h3},  {0, u, -h3},  {0, -u, -h3}};
}

Construction solved(const std::function<std::vector<Point3D>(const std::vector<double>&)>& shape,
                    const EdgeList& edges, std::vector<double> start, bool centreHeight) {
    auto residuals = [&](const std::vector<double>& x) {
        const std::vector<Point3D> p = shape(x);
        std::vector<double> r = edgeResiduals(p, edges);
        if (centreHeight) r.push_back(centroidOf(p).z); // the one free translation
        return r;
    };
    return {shape(solveLeastSquares(residuals, std::move(start))), Point3D{0, 0, 1}};
}

// Triangular hebesphenorotunda, C3v about z: the hexagon at z = 0 (corners at 60k degrees), the
// top triangle, around it three pentagons and three triangles, the squares on alternate hexagon
// edges. Parameters: top height; radius, half angle and height of the ring of six; radius and
// height of the three corners where a pentagon meets three triangles.
static std::vector<Point3D> hebesphenorotundaPoints(const std::vector<double>& x) {
    const double z1 = x[0], r2 = x[1], delta = x[2], z2 = x[3], rF = x[4], zF = x[5];
    const double deg = std::numbers::pi / 180, r1 = 1 / std::sqrt(3.0);
    auto at = [](double r, double a, double z) { return Point3D{r * std::cos(a), r * std::sin(a), z}; };
    std::vector<Point3D> p;
    for (int k = 0; k < 3; ++k)
        p.push_back(at(r1, (90 + 120 * k) * deg, z1)); // 0..2
    for (int k = 0; k < 3; ++k) {                      // 3..8
        p.push_back(at(r2, (90 + 120 * k) * deg - delta, z2));
        p.push_back(at(r2, (90 + 120 * k) * deg + delta, z2));
    }
    for (int k = 0; k < 3; ++k)
        p.push_back(at(rF, (30 + 120 * k) * deg, zF)); // 9..11
    for (int k = 0; k < 6; ++k)
        p.push_back(at(1, 60 * k * deg, 0)); // 12..17
    return p;
}

Construction hebesphenorotunda() {
    // One representative per edge orbit, plus the pentagon's diagonals, which make it regular.
    auto residuals = [](const std::vector<double>& x) {
        const std::vector<Point3D> p = hebesphenorotundaPoints(x);
        auto d2 = [&](int a, int b) { return dot(p[a] - p[b], p[a] - p[b]); };
        const double phi2 = std::numbers::phi * std::numbers::phi;
        // p[0] top corner at 90°, p[4] ring corner at 90°+δ, p[5] at 210°-δ, p[6] at 210°+δ,
        // p[3] at 90°-δ, p[10] pentagon-triangle corner at 150°, p[9] at 30°; hexagon p[12 + k]
        // at 60k degrees.
        return std::vector<double>{d2(0, 4) - 1,    d2(3, 4) - 1,    d2(4, 10) - 1,
                                   d2(4, 14) - 1,   d2(9, 13) - 1,   d2(0, 10) - phi2,
                                   d2(0, 5) - phi2, d2(4, 5) - phi2, d2(3, 9) - 1};
    };
    const std::vector<double> x = solveLeastSquares(residuals, {1.7, 0.9, 0.6, 0.85, 1.0, 0.75});
    return {hebesphenorotundaPoints(x), Point3D{0, 0, 1}};
}

// Bilunabirotunda, D2h: each lune is a square (at y = ±φ/2) between two triangles; pairs of
// pentagons meet along the edges at x = 0, z = ±φ²/2.
Construction bilunabirotunda() {
    const double phi = std::numbers::phi, half = 0.5;
    Construction c;
    for (double sz : {1.0, -1.0})
        for (double sy : {1.0, -1.0})
            c.points.push_back({0, sy * half, sz * phi * phi / 2});
    for (double sx : {1.0, -1.0})
        for (double sy : {1.0, -1.0})
            for (double sz : {1.0, -1.0})
                c.points.push_back({sx * half, sy * phi / 2, sz * half});
    c.points.push_back({phi / 2, 0, 0});
    c.points.push_back({-phi / 2, 0, 0});
    c.top = Point3D{0, 0, 1};
    return c;
}

Construction gyrobifastigium() {
    const double h = std::sqrt(3.0) / 2;
    return {{{.5, .5, 0},
             {-.5, .5, 0},
             {-.5, -.5, 0},
             {.5, -.5, 0},
             {.5, 0, h},
             {-.5, 0, h},
             {0, .5, -h},
             {0, -.5, -h}},
            Point3D{0, 0, 1}};
}

// Sphenocorona, C2v with the twofold axis along z: the two squares (A, B) share the edge A+A-
// on top; C± are the apexes of the triangles beside the squares, D± the bottom edge.
static std::vector<Point3D> sphenocoronaPoints(const std::vector<double>& x) {
    const double zA = x[0], xB = x[1], zB = x[2], yC = x[3], zC = x[4], zD = x[5];
    return {{0, .5, zA},    {0, -.5, zA}, {xB, .5, zB}, {xB, -.5, zB}, {-xB, .5, zB},
            {-xB, -.5, zB}, {0, yC, zC},  {0, -yC, zC}, {.5, 0, zD},   {-.5, 0, zD}};
}

std::vector<Point3D> sphenocorona() {
    // Edge orbits A-B, A-C, B-C, B-D, C-D; start from the closed form's root k = 0.85273.
    return solved(sphenocoronaPoints, {{0, 2}, {0, 6}, {2, 6}, {2, 8}, {6, 8}},
                  {0.52, 0.85, 0, 0.79, -0.43, -0.79}, true)
        .points;
}

// Sphenomegacorona, C2v: the squares and the bottom edge D+D- as in the sphenocorona; the
// triangles beside the squares meet in C± = (0, ±yC, zC), and E± = (0, ±yE, zE) lie between C±
// and the bottom edge.
static std::vector<Point3D> sphenomegacoronaPoints(const std::vector<double>& x) {
    const double zA = x[0], xB = x[1], zB = x[2], yC = x[3], zC = x[4], zD = x[5], yE = x[6], zE = x[7];
    return {{0, .5, zA}, {0, -.5, zA}, {xB, .5, zB}, {xB, -.5, zB}, {-xB, .5, zB}, {-xB, -.5, zB},
            {0, yC, zC}, {0, -yC, zC}, {.5, 0, zD},  {-.5, 0, zD},  {0, yE, zE},   {0, -yE, zE}};
}

// True if the points' hull has the given face sizes and only unit edges.
static bool unitEdgedHull(const std::vector<Point3D>& p, const std::map<int, int>& faceSizes) {
    std::map<int, int> sizes;
    for (const HullFace& f : hullFaces(p)) {
        ++sizes[static_cast<int>(f.corners.size())];
        for (std::size_t k = 0; k < f.corners.size(); ++k)
            if (std::abs(norm(p[f.corners[k]] - p[f.corners[(k + 1) % f.corners.size()]]) - 1) > 1e-9)
                return false;
    }
    return sizes == faceSizes;
}

std::vector<Point3D> sphenomegacorona() {
    // Edge orbits A-B, A-C, B-C, C-E, B-E, B-D, D-E. The start decides which root the solver
    // finds; starts from a fixed sequence are tried until one gives the convex solid.
    const EdgeList edges{{0, 2}, {0, 6}, {2, 6}, {6, 10}, {2, 10}, {2, 8}, {8, 10}};
    std::mt19937 rng(88u);
    auto uniform = [&](double lo, double hi) { return lo + (hi - lo) * (rng() / 4294967296.0); };
    for (int attempt = 0; attempt < 3000; ++attempt) {
        const std::vector<double> start{uniform(0.4, 1.2), uniform(0.3, 1),    uniform(-0.3, 0.3),
                                        uniform(0.5, 1.3), uniform(-0.5, 0.6), uniform(-1.2, -0.4),
                                        uniform(0.4, 1.2), uniform(-1, 0)};
        try {
            const std::vector<Point3D> p = solved(sphenomegacoronaPoints, edges, start, true).points;
            if (unitEdgedHull(p, {{3, 16}, {4, 2}})) return p;
        } catch (const std::runtime_error&) {
        }
    }
    throw std::runtime_error("J88: no start leads to the sphenomegacorona");
}

Construction augmentedSphenocorona() {
    Construction c{sphenocorona(), Point3D{0, 0, 1}};
    for (const HullFace& f : hullFaces(c.points))
        if (f.corners.size() == 4) {
            append(c.points, pyramidApex(capBaseOf(c.points, f)));
            c.top = f.normal;
            return c;
        }
    throw std::runtime_error("J87: the sphenocorona has no square");
}

} // namespace gen
