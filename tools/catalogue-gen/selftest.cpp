// catalogue-gen --self-test: checks of the generator's own helpers that the data files alone do not
// exercise (number format, face bytes, header avoidance, face reordering for the dual-boundary
// property, display orientation, the snub dodecahedron). Run by tests/tools/test_catalogue_gen.cpp.
#include "selftest.h"

#include "bodies.h"
#include "layout.h"
#include "uniform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

namespace gen {

namespace {

struct Checker {
    std::ostream& out;
    int failures = 0;
    void check(bool ok, const std::string& what) {
        if (!ok) {
            ++failures;
            out << "FAIL: " << what << '\n';
        }
    }
};

// Faces as a set of cycles normalised to their smallest vertex (the order of the faces and the
// starting vertex of each do not matter, the cyclic order and sense do).
std::multiset<std::vector<int>> cycles(const Polyhedron& p) {
    std::multiset<std::vector<int>> s;
    for (auto f : p.faces) {
        std::rotate(f.begin(), std::min_element(f.begin(), f.end()), f.end());
        s.insert(f);
    }
    return s;
}

// Portable pseudo-random numbers: mt19937 output is fixed by the standard, distributions are not.
double uniform(std::mt19937& rng, double lo, double hi) {
    return lo + (hi - lo) * (rng() / 4294967296.0);
}

void numberFormat(Checker& c) {
    const std::map<double, std::string> cases{{0.0, "0"},
                                              {1.5, "1.5"},
                                              {-2.0, "-2"},
                                              {1e-17, "0"},
                                              {-1e-17, "0"},
                                              {0.1, "0.1"},
                                              {1.0 / 3, "0.333333333333"},
                                              {-1234.5678901234567, "-1234.56789012"},
                                              {0.000123456789012345, "0.000123456789"},
                                              {1e20, "100000000000000000000"},
                                              {2.0 / 3 * 100, "66.6666666667"}};
    for (const auto& [v, text] : cases)
        c.check(formatCoordinate(v) == text, "formatCoordinate " + text + " got " + formatCoordinate(v));
    c.check(formatCoordinate(-0.0) == "0", "formatCoordinate -0");
    c.check(formatVertex({1, -0.5, 0}) == "1 -0.5 0", "formatVertex");
    const double v = 0.8506508083520399;
    c.check(std::abs(roundTrip({v, v, v}).x - v) < 1e-12, "roundTrip precision");
}

void faceBytes(Checker& c) {
    const std::string s = faceString({0, 10, 16, 85, 112, 119});
    c.check(s.size() == 6, "faceString length");
    c.check(static_cast<unsigned char>(s[3]) == 0x85 && static_cast<unsigned char>(s[4]) == 0xA0 &&
                static_cast<unsigned char>(s[5]) == 167,
            "faceString raw bytes");
    c.check(s.substr(0, 3) == "0:@", "faceString codes");
    c.check(looksLikeHeader("[3]") && looksLikeHeader("[123]") && !looksLikeHeader("[]") &&
                !looksLikeHeader("[3]4") && !looksLikeHeader("[-1]") && !looksLikeHeader("3]["),
            "looksLikeHeader");
}

// A triangle on vertices 43, d, 45 written starting at 43 reads "[d]": prepareForCatalogue turns it.
void headerAvoidance(Checker& c) {
    Polyhedron p = convexHull(rhombicosidodecahedronPoints());
    // Renumber so that the first triangle becomes 43, 3, 45 (counter-clockwise from outside).
    std::vector<int> tri;
    for (const auto& f : p.faces)
        if (f.size() == 3) {
            tri = f;
            break;
        }
    const int n = static_cast<int>(p.vertices.size());
    std::vector<int> newIndex(n, -1);
    const int wanted[3] = {43, 3, 45};
    for (int k = 0; k < 3; ++k)
        newIndex[tri[k]] = wanted[k];
    int next = 0;
    for (int i = 0; i < n; ++i) {
        if (newIndex[i] >= 0) continue;
        while (next == 43 || next == 3 || next == 45)
            ++next;
        newIndex[i] = next++;
    }
    Polyhedron q;
    q.vertices.resize(n);
    for (int i = 0; i < n; ++i)
        q.vertices[newIndex[i]] = p.vertices[i];
    for (const auto& f : p.faces) {
        std::vector<int> g;
        for (int i : f)
            g.push_back(newIndex[i]);
        if (g.size() == 3 && g[0] == 3) std::rotate(g.begin(), g.begin() + 2, g.end()); // start at 43
        q.faces.push_back(g);
    }
    bool had = false;
    for (const auto& f : q.faces)
        had = had || looksLikeHeader(faceString(f));
    c.check(had, "header test set-up");
    const auto before = cycles(q);
    prepareForCatalogue(q, 2, 2, "Rhombenikosidodekaeder");
    bool has = false;
    for (const auto& f : q.faces)
        has = has || looksLikeHeader(faceString(f));
    c.check(!has, "prepareForCatalogue leaves a header-like face line");
    c.check(cycles(q) == before, "prepareForCatalogue changed the faces themselves");
}

// Random convex solids whose hull face order breaks the dual-boundary property: the reordering
// must repair those it can and leave the faces unchanged where it cannot.
void faceReordering(Checker& c) {
    std::mt19937 rng(7);
    int repaired = 0, impossible = 0;
    for (int attempt = 0; attempt < 400 && (repaired < 5 || impossible < 2); ++attempt) {
        const int n = 8 + attempt % 20;
        std::vector<Point3D> pts;
        while (static_cast<int>(pts.size()) < n) {
            Point3D v{uniform(rng, -1, 1), uniform(rng, -1, 1), uniform(rng, -1, 1)};
            const double r = norm(v);
            if (r < 0.2 || r > 1) continue;
            v = v / r;
            v.z *= 0.3 + 0.3 * (attempt % 5);
            pts.push_back(v);
        }
        Polyhedron p = convexHullOfExtremePoints(pts);
        translate(p, -vertexCentroid(p));
        if (dualBoundaryFailures(p, 2, 20, "Test").empty()) continue;
        const auto before = cycles(p);
        const auto original = p.faces;
        try {
            prepareForCatalogue(p, 2, 20, "Test");
            ++repaired;
            c.check(dualBoundaryFailures(p, 2, 20, "Test").empty(), "reordering did not repair");
            c.check(cycles(p) == before, "reordering changed the faces themselves");
        } catch (const std::runtime_error&) {
            ++impossible;
            c.check(p.faces == original, "failed reordering left the faces changed");
        }
    }
    c.out << "face reordering: " << repaired << " solids repaired, " << impossible << " unrepairable\n";
    c.check(repaired >= 5, "fewer than 5 repaired solids: " + std::to_string(repaired));
    c.check(impossible >= 1, "no unrepairable solid met");
}

void orientation(Checker& c) {
    Polyhedron p;
    p.vertices = {{0, 0, 1}, {1, 0, 0}, {0, 2, 0}};
    orientForDisplay(p, {0, 0, 1});
    const double a = 20 * std::numbers::pi / 180, b = 15 * std::numbers::pi / 180;
    const Point3D top = p.vertices[0];
    c.check(std::abs(top.x + std::sin(a) * std::sin(b)) < 1e-15 && std::abs(top.y + std::cos(a)) < 1e-15 &&
                std::abs(top.z + std::sin(a) * std::cos(b)) < 1e-15,
            "orientForDisplay: the top points up and toward the viewer");
    Polyhedron q;
    q.vertices = {{1, 1, 1}};
    orientForDisplay(q, {1, 1, 1});
    c.check(std::abs(q.vertices[0].x + std::sqrt(3.0) * std::sin(a) * std::sin(b)) < 1e-14 &&
                std::abs(q.vertices[0].y + std::sqrt(3.0) * std::cos(a)) < 1e-14,
            "orientForDisplay: any top axis");
    Polyhedron r;
    r.vertices = {{0, 0, 1}, {1, 0, 0}};
    orientForDisplay(r, {0, 0, 1}, {1, 0, 0}); // front (+X) turned to face the viewer
    const Point3D front = r.vertices[1];
    c.check(std::abs(front.x + std::sin(b) * std::cos(a)) < 1e-14 &&
                std::abs(front.y - std::sin(a)) < 1e-14 && front.z < 0,
            "orientForDisplay: front axis toward the viewer");
}

void uniformSolids(Checker& c) {
    const Polyhedron sd = convexHull(snubDodecahedronPoints());
    std::map<std::size_t, int> sizes;
    for (const auto& f : sd.faces)
        ++sizes[f.size()];
    c.check(sd.vertices.size() == 60 && sizes[3] == 80 && sizes[5] == 12 && sd.faces.size() == 92,
            "snub dodecahedron faces");
    double lo = 1e9, hi = 0;
    for (const auto& f : sd.faces)
        for (std::size_t k = 0; k < f.size(); ++k) {
            const double l = norm(sd.vertices[f[k]] - sd.vertices[f[(k + 1) % f.size()]]);
            lo = std::min(lo, l), hi = std::max(hi, l);
        }
    c.check(hi - lo < 1e-13 && std::abs(lo - 1) < 1e-13, "snub dodecahedron unit edges");
    const double xi = snubDodecahedronXi();
    c.check(std::abs(xi * xi * xi - 2 * xi - std::numbers::phi) < 1e-14, "xi root");
    const double t = tribonacciConstant();
    c.check(std::abs(t * t * t - t * t - t - 1) < 1e-14, "tribonacci root");
    // Heights of the uniform antiprisms with unit edge.
    const std::map<int, double> h{{4, 0.8409}, {5, 0.8507}, {6, 0.8556}, {12, 0.8635}};
    for (const auto& [n, height] : h) {
        const auto pts = antiprismPoints(n);
        c.check(std::abs(2 * pts.front().z - height) < 1e-4, "antiprism height " + std::to_string(n));
    }
    bool found = false;
    for (const auto& f : convexHull(dodecahedronPoints()).faces)
        found = found || faceString(f) == "468@C";
    c.check(found, "dodecahedron numbering gives 468@C");
}

void dispatch(Checker& c) {
    c.check(blockIdOf(0, 0) == 1 && blockIdOf(0, 4) == 5 && blockIdOf(0, 5) == 205 &&
                blockIdOf(0, 14) == 415 && blockIdOf(0, 67) == 468,
            "block ids category 0");
    c.check(blockIdOf(2, 0) == 4001 && blockIdOf(2, 25) == 4026, "block ids category 2");
    c.check(blockIdOf(3, 70) == 88 && blockIdOf(3, 71) == 189 && blockIdOf(3, 86) == 204 &&
                blockIdOf(3, 87) == 305 && blockIdOf(3, 91) == 309,
            "block ids category 3");
    c.check(johnsonIndexOf(87) == 0 && johnsonIndexOf(54) == 1 && johnsonIndexOf(67) == 91 &&
                johnsonIndexOf(93) == -1,
            "Johnson indices");
}

} // namespace

int runSelfTest(std::ostream& out) {
    Checker c{out};
    try {
        numberFormat(c);
        faceBytes(c);
        headerAvoidance(c);
        faceReordering(c);
        orientation(c);
        uniformSolids(c);
        dispatch(c);
    } catch (const std::exception& e) {
        c.check(false, std::string("exception: ") + e.what());
    }
    out << (c.failures ? "self-test failed\n" : "self-test passed\n");
    return c.failures ? 1 : 0;
}

} // namespace gen
