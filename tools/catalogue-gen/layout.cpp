// Storage form of a solid: number format, display orientation, header-safe face lines and a face
// order for which the program's dual construction keeps every dual face in boundary order.
#include "layout.h"

#include "bodies.h"
#include "bodies/dispatch.h"
#include "bodies/vertexcodes.h"
#include "catalogue/numbertext.h"
#include "catalogue/tables.h"
#include "geometry/dual.h"
#include "geometry/edgemap.h"
#include "geometry/solidmodel.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <random>
#include <set>
#include <stdexcept>
#include <utility>

namespace gen {

std::string formatCoordinate(double v) {
    if (!std::isfinite(v)) throw std::runtime_error("formatCoordinate: not a finite number");
    const double a = std::abs(v);
    int decimals = 12;
    if (a >= 1) {
        const int intDigits = static_cast<int>(std::floor(std::log10(a))) + 1;
        decimals = std::clamp(12 - intDigits, 0, 12);
    }
    std::string s = kesmora::formatFixed(v, decimals);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string formatVertex(Point3D v) {
    return formatCoordinate(v.x) + " " + formatCoordinate(v.y) + " " + formatCoordinate(v.z);
}

double parseCoordinate(const std::string& text) {
    // Read back as the program reads its coordinates.
    return kesmora::convertNumber(text).value_or(0.0);
}

Point3D roundTrip(Point3D v) {
    return {parseCoordinate(formatCoordinate(v.x)), parseCoordinate(formatCoordinate(v.y)),
            parseCoordinate(formatCoordinate(v.z))};
}

std::string faceString(const std::vector<int>& face) {
    std::string s;
    for (int i : face) {
        if (i < 0 || i >= kesmora::kMaxNameable)
            throw std::runtime_error("faceString: vertex index out of the byte range");
        s.push_back(kesmora::codeOfVertex(i));
    }
    return s;
}

bool looksLikeHeader(const std::string& line) {
    if (line.size() < 3 || line.front() != '[' || line.back() != ']') return false;
    for (std::size_t i = 1; i + 1 < line.size(); ++i)
        if (line[i] < '0' || line[i] > '9') return false;
    return true;
}

namespace {

// The body's dual recipe for steps 1 to 5 only: its pole rescaling, without the cutting steps.
kesmora::DualRecipe uncutRecipe(int category, int bodyIndex, const std::string& name) {
    kesmora::DualRecipe recipe = kesmora::dualRecipeFor(offeredCategory(category), bodyIndex, name);
    recipe.cutPentagons = false;
    recipe.cutQuadrilaterals = false;
    // The stored face order is to give the boundary by distances alone.
    recipe.walkAroundVertices = false;
    return recipe;
}

// Pairs of faces that share an edge.
std::set<std::pair<int, int>> adjacentFaces(const Polyhedron& p) {
    std::set<std::pair<int, int>> adjacent;
    for (const kesmora::MeshEdge& e : kesmora::edgeMap(p.faces).edges)
        if (e.uses == 2) {
            adjacent.insert({e.sides[0].face, e.sides[1].face});
            adjacent.insert({e.sides[1].face, e.sides[0].face});
        }
    return adjacent;
}

} // namespace

namespace {

// The program's model of the solid as the catalogue will store it (coordinates rounded as written),
// with the dual built but not cut.
std::unique_ptr<kesmora::SolidModel> uncutDual(const Polyhedron& p, int category, int bodyIndex,
                                               const std::string& name) {
    auto m = std::make_unique<kesmora::SolidModel>();
    for (const Point3D& v : p.vertices)
        m->solid.vertices.push_back(roundTrip(v));
    for (const auto& face : p.faces) {
        m->solid.faces.push_back(face);
        m->solid.faceRecords.push_back({});
    }
    kesmora::dualbilden(*m, uncutRecipe(category, bodyIndex, name));
    return m;
}

} // namespace

std::vector<int> dualBoundaryFailures(const Polyhedron& p, int category, int bodyIndex,
                                      const std::string& name) {
    const int v = static_cast<int>(p.vertices.size());
    const int f = static_cast<int>(p.faces.size());
    if (v > kesmora::kMaxFaces || f > kesmora::kMaxFaces)
        throw std::runtime_error("dualBoundaryFailures: solid too large for the dual tables");
    const auto m = uncutDual(p, category, bodyIndex, name);

    const auto adjacent = adjacentFaces(p);
    std::vector<int> failures;
    for (int i = 0; i < v; ++i) {
        const kesmora::FaceView s = m->dual.faces[i];
        if (s.size() < 4) continue;
        for (int k = 0; k < s.size(); ++k) {
            const int a = s[k];
            const int b = s[(k + 1) % s.size()];
            if (!adjacent.count({a, b})) {
                failures.push_back(i);
                break;
            }
        }
    }
    return failures;
}

namespace {

void applyOrder(Polyhedron& p, const std::vector<int>& order, const std::vector<std::vector<int>>& original) {
    for (std::size_t i = 0; i < order.size(); ++i)
        p.faces[i] = original[order[i]];
}

} // namespace

namespace {

// Face orders from start constraints. The dual vertices do not depend on the face order, only
// their names do; for a vertex of five or more faces the nearest-neighbour chain depends on which
// of its faces comes first (and, on exact ties only, on the order of the others). So: find for
// every such vertex the faces that work as the chain's start, choose one per vertex such that the
// "comes before" relation stays acyclic, and sort topologically (stable: lowest original index
// first). Impossible: some vertex has no working start (or a four-face vertex fails, which no
// order changes); NotFound: the choices conflict or the search budget ran out.
enum class StartSearch { Found, Impossible, NotFound };
StartSearch orderFromStarts(const Polyhedron& p, int category, int bodyIndex, const std::string& name,
                            std::vector<int>& order) {
    const int nv = static_cast<int>(p.vertices.size());
    const int nf = static_cast<int>(p.faces.size());
    const auto m = uncutDual(p, category, bodyIndex, name);
    const auto adjacent = adjacentFaces(p);

    std::vector<std::vector<int>> around(nv);
    for (int f = 0; f < nf; ++f)
        for (int v : p.faces[f])
            around[v].push_back(f);

    struct Constraint {
        std::vector<int> faces;
        std::vector<int> goodStarts;
    };
    std::vector<Constraint> constraints;
    for (int v = 0; v < nv; ++v) {
        const std::vector<int>& fs = around[v];
        if (fs.size() < 4) continue;
        if (fs.size() == 4) { // the tour of step 5 does not depend on the order
            const kesmora::FaceView d = m->dual.faces[v];
            for (int k = 0; k < d.size(); ++k)
                if (!adjacent.count({d[k], d[(k + 1) % d.size()]}))
                    return StartSearch::Impossible;
            continue;
        }
        Constraint c;
        c.faces = fs;
        for (int start : fs) {
            std::vector<int> rest;
            for (int f : fs)
                if (f != start) rest.push_back(f);
            std::vector<int> chain{start};
            while (rest.size() > 1) {
                double best = 1e16;
                std::size_t at = 0;
                for (std::size_t i = 0; i < rest.size(); ++i) {
                    const double d = kesmora::abstand2(*m, chain.back(), rest[i]);
                    if (d < best) best = d, at = i;
                }
                chain.push_back(rest[at]);
                rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(at));
            }
            chain.push_back(rest.front());
            bool ok = true;
            for (std::size_t k = 0; k < chain.size() && ok; ++k)
                ok = adjacent.count({chain[k], chain[(k + 1) % chain.size()]}) > 0;
            if (ok) c.goodStarts.push_back(start);
        }
        if (c.goodStarts.empty()) return StartSearch::Impossible;
        if (c.goodStarts.size() < fs.size()) constraints.push_back(c);
    }
    std::stable_sort(constraints.begin(), constraints.end(), [](const Constraint& a, const Constraint& b) {
        return a.goodStarts.size() < b.goodStarts.size();
    });

    // Backtracking over the choice of starts; edges start -> other faces of the vertex.
    std::vector<std::vector<int>> before(nf); // before[a]: faces that must come after a
    auto acyclic = [&]() {
        std::vector<int> state(nf, 0);
        std::vector<std::pair<int, std::size_t>> stack;
        for (int s0 = 0; s0 < nf; ++s0) {
            if (state[s0]) continue;
            stack.push_back({s0, 0});
            state[s0] = 1;
            while (!stack.empty()) {
                auto& [node, next] = stack.back();
                if (next < before[node].size()) {
                    const int to = before[node][next++];
                    if (state[to] == 1) return false;
                    if (state[to] == 0) {
                        state[to] = 1;
                        stack.push_back({to, 0});
                    }
                } else {
                    state[node] = 2;
                    stack.pop_back();
                }
            }
        }
        return true;
    };
    long budget = 200000;
    std::function<bool(std::size_t)> choose = [&](std::size_t k) -> bool {
        if (k == constraints.size()) return true;
        if (--budget < 0) return false;
        const Constraint& c = constraints[k];
        for (int start : c.goodStarts) {
            for (int f : c.faces)
                if (f != start) before[start].push_back(f);
            if (acyclic() && choose(k + 1)) return true;
            before[start].resize(before[start].size() - (c.faces.size() - 1));
        }
        return false;
    };
    if (!choose(0)) return StartSearch::NotFound;

    // Topological order, lowest original index first among the ready faces.
    std::vector<int> indegree(nf, 0);
    for (int a = 0; a < nf; ++a)
        for (int b : before[a])
            ++indegree[b];
    std::set<int> ready;
    for (int a = 0; a < nf; ++a)
        if (indegree[a] == 0) ready.insert(a);
    order.clear();
    while (!ready.empty()) {
        const int a = *ready.begin();
        ready.erase(ready.begin());
        order.push_back(a);
        for (int b : before[a])
            if (--indegree[b] == 0) ready.insert(b);
    }
    return static_cast<int>(order.size()) == nf ? StartSearch::Found : StartSearch::NotFound;
}

} // namespace

void avoidHeaderLines(Polyhedron& p, const std::string& name) {
    for (auto& face : p.faces) {
        if (face.size() < 3) throw std::runtime_error(name + ": face with fewer than 3 vertices");
        for (std::size_t turn = 0; turn < face.size() && looksLikeHeader(faceString(face)); ++turn)
            std::rotate(face.begin(), face.begin() + 1, face.end());
        if (looksLikeHeader(faceString(face))) throw std::runtime_error(name + ": header-like face line");
    }
}

void prepareForCatalogue(Polyhedron& p, int category, int bodyIndex, const std::string& name,
                         const std::vector<int>& pinned) {
    // (a) No face line may read like a block header.
    avoidHeaderLines(p, name);

    // (b) The dual-boundary property, by reordering the faces.
    if (dualBoundaryFailures(p, category, bodyIndex, name).empty()) return;

    const int f = static_cast<int>(p.faces.size());
    const std::vector<std::vector<int>> original = p.faces;
    std::vector<bool> isPinned(f, false);
    for (int i : pinned)
        isPinned.at(i) = true;
    std::vector<int> order(f);
    for (int i = 0; i < f; ++i)
        order[i] = i;

    std::vector<int> byStarts;
    const StartSearch search = orderFromStarts(p, category, bodyIndex, name, byStarts);
    if (search == StartSearch::Found && pinned.empty()) {
        applyOrder(p, byStarts, original);
        if (dualBoundaryFailures(p, category, bodyIndex, name).empty()) return;
        p.faces = original;
    }
    // Only exact distance ties can make an "impossible" solid work in another order; give the
    // local search below a single try then, and the restarts otherwise.
    const int restarts = search == StartSearch::Impossible ? 0 : 300;

    auto score = [&](const std::vector<int>& o) {
        applyOrder(p, o, original);
        return static_cast<int>(dualBoundaryFailures(p, category, bodyIndex, name).size());
    };
    // Faces around each vertex, by their original index.
    std::vector<std::vector<int>> around(p.vertices.size());
    for (int i = 0; i < f; ++i)
        for (int vtx : original[i])
            around[vtx].push_back(i);

    // Greedy: swap the positions of two faces around a failing vertex while that lowers the
    // number of failing vertices.
    auto improve = [&](std::vector<int>& o) {
        int best = score(o);
        bool progress = true;
        while (best > 0 && progress) {
            progress = false;
            applyOrder(p, o, original);
            const std::vector<int> failing = dualBoundaryFailures(p, category, bodyIndex, name);
            std::vector<int> position(f);
            for (int i = 0; i < f; ++i)
                position[o[i]] = i;
            for (int vtx : failing) {
                const auto& fs = around[vtx];
                for (std::size_t i = 0; i < fs.size() && !progress; ++i)
                    for (std::size_t j = i + 1; j < fs.size() && !progress; ++j) {
                        const int a = position[fs[i]], b = position[fs[j]];
                        if (isPinned[a] || isPinned[b]) continue;
                        std::swap(o[a], o[b]);
                        const int s = score(o);
                        if (s < best) {
                            best = s;
                            progress = true;
                        } else {
                            std::swap(o[a], o[b]);
                        }
                    }
                if (progress) break;
            }
        }
        return best;
    };

    if (improve(order) == 0) {
        applyOrder(p, order, original);
        return;
    }
    // Deterministic restarts: shuffle the free faces (own Fisher-Yates on mt19937, whose output is
    // fixed by the standard) and improve again.
    std::mt19937 rng(20240601u);
    std::vector<int> free;
    for (int i = 0; i < f; ++i)
        if (!isPinned[i]) free.push_back(i);
    for (int attempt = 0; attempt < restarts; ++attempt) {
        std::vector<int> o(f);
        for (int i = 0; i < f; ++i)
            o[i] = i;
        std::vector<int> values = free;
        for (std::size_t i = values.size(); i > 1; --i)
            std::swap(values[i - 1], values[rng() % i]);
        for (std::size_t k = 0; k < free.size(); ++k)
            o[free[k]] = values[k];
        if (improve(o) == 0) {
            applyOrder(p, o, original);
            return;
        }
    }
    p.faces = original;
    throw std::runtime_error(name + ": no face order keeps the dual faces in boundary order");
}

void orientForDisplay(Polyhedron& p, Point3D topAxis) {
    orientForDisplay(p, topAxis, Point3D{});
}

void orientForDisplay(Polyhedron& p, Point3D topAxis, Point3D frontAxis) {
    const Point3D t = normalized(topAxis);
    const Point3D zAxis{0, 0, 1};
    // 1. topAxis onto +Z by the smallest turn.
    Point3D axis = cross(t, zAxis);
    const double sinA = norm(axis);
    const double cosA = dot(t, zAxis);
    auto toZ = [&](Point3D v) {
        if (sinA < 1e-15) return cosA > 0 ? v : Point3D{v.x, -v.y, -v.z}; // already on ±Z
        return kesmora::turnedAbout(v, axis / sinA, std::atan2(sinA, cosA));
    };
    for (Point3D& v : p.vertices)
        v = toZ(v);
    // 2. Optionally the front direction onto -Y (about Z).
    if (norm(frontAxis) > 0) {
        const Point3D fr = toZ(frontAxis);
        const double az = std::atan2(fr.y, fr.x);
        const double turn = -std::numbers::pi / 2 - az;
        for (Point3D& v : p.vertices)
            v = kesmora::turnedAbout(v, zAxis, turn);
    }
    // 3. (X, Y, Z) -> (X, -Z, Y); tilt by 20 degrees; turn by 15 degrees about the vertical.
    const double al = 20 * std::numbers::pi / 180, be = 15 * std::numbers::pi / 180;
    const double ca = std::cos(al), sa = std::sin(al), cb = std::cos(be), sb = std::sin(be);
    for (Point3D& v : p.vertices) {
        const double x = v.x, y = -v.z, z = v.y;
        const double y1 = y * ca - z * sa, z1 = y * sa + z * ca;
        const double x2 = x * cb + z1 * sb, z2 = -x * sb + z1 * cb;
        v = {x2, y1, z2};
    }
}

} // namespace gen
