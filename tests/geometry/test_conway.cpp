// Operations on solids: the counts and surfaces of every operation on solids of every kind, the
// compositions against the direct constructions, the canonical forms against the catalogue's
// Archimedean and Catalan solids, and recipes read, refused and cancelled.
#include "bodies/build.h"
#include "bodies/polyhedronfile.h"
#include "catalogue/selection.h"
#include "geometry/canonical.h"
#include "geometry/conway.h"
#include "geometry/point3d.h"
#include "geometry/recipe.h"
#include "geometry/reciprocal.h"

#include "section_category.h"
#include "modelchecks.h"
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

const CatalogueTables& shipped() {
    static const CatalogueTables t = LoadCatalogueTables(KESMORA_DATA_DIR);
    return t;
}

// The name at a body index of a category's section, hidden bodies included.
std::string nameAt(int category, int bodyIndex) {
    for (const std::string& name : fillBodyList(shipped(), sectionCategory(category))) {
        Selection s;
        s.currentCategory = sectionCategory(category);
        neuwert(s, shipped(), name);
        if (s.bodyIndex == bodyIndex) return name;
    }
    std::vector<std::string> names;
    const std::string section = "{" + std::to_string(category);
    const auto& lines = shipped().catalogueTable.lines;
    auto at = std::find(lines.begin(), lines.end(), section);
    for (at += 2; at != lines.end() && !at->empty() && at->front() != '['; ++at)
        names.push_back(*at);
    return names.at(static_cast<std::size_t>(bodyIndex));
}

PolyMesh catalogueBody(int category, int bodyIndex) {
    Selection s;
    s.currentCategory = sectionCategory(category);
    s.bodyIndex = bodyIndex;
    return solidSurface(buildSolid(shipped(), s, nameAt(category, bodyIndex), DualKind::Catalogue));
}

PolyMesh fromOff(const std::string& text) {
    const PolyhedronFile file = parsePolyhedronText(text, "k.off");
    return PolyMesh{file.vertices, file.faces};
}

// An L-shaped prism: non-convex, with two non-convex hexagons.
const char* const kLPrism = "OFF\n12 8 0\n"
                            "0 0 0\n2 0 0\n2 1 0\n1 1 0\n1 2 0\n0 2 0\n"
                            "0 0 1\n2 0 1\n2 1 1\n1 1 1\n1 2 1\n0 2 1\n"
                            "6 5 4 3 2 1 0\n6 6 7 8 9 10 11\n"
                            "4 0 1 7 6\n4 1 2 8 7\n4 2 3 9 8\n4 3 4 10 9\n4 4 5 11 10\n4 5 0 6 11\n";

// A square frame: a ring of four blocks, a surface with a hole (V - E + F = 0), which has no
// canonical form.
std::string frameOff() {
    std::string s = "OFF\n16 16 0\n";
    // Whole numbers only: the text must read the same in every locale.
    const int outer[4][2] = {{-2, -2}, {2, -2}, {2, 2}, {-2, 2}};
    for (int z = 0; z < 2; ++z)
        for (int r = 0; r < 2; ++r)
            for (const auto& p : outer)
                s += std::to_string(r ? p[0] / 2 : p[0]) + " " + std::to_string(r ? p[1] / 2 : p[1]) + " " +
                     std::to_string(z) + "\n";
    // Vertex (z, ring, k) is z * 8 + ring * 4 + k.
    auto v = [](int z, int ring, int k) { return std::to_string(z * 8 + ring * 4 + (k % 4)); };
    for (int k = 0; k < 4; ++k) {
        s += "4 " + v(1, 0, k) + " " + v(1, 0, k + 1) + " " + v(1, 1, k + 1) + " " + v(1, 1, k) + "\n"; // top
        s += "4 " + v(0, 0, k) + " " + v(0, 1, k) + " " + v(0, 1, k + 1) + " " + v(0, 0, k + 1) + "\n"; // bottom
        s += "4 " + v(0, 0, k) + " " + v(0, 0, k + 1) + " " + v(1, 0, k + 1) + " " + v(1, 0, k) + "\n"; // outside
        s += "4 " + v(0, 1, k) + " " + v(1, 1, k) + " " + v(1, 1, k + 1) + " " + v(0, 1, k + 1) + "\n"; // inside
    }
    return s;
}

struct Seed {
    std::string name;
    PolyMesh mesh;
};

std::vector<Seed> seeds() {
    return {{"T", catalogueBody(0, 0)},         {"C", catalogueBody(0, 1)}, {"O", catalogueBody(0, 2)},
            {"I", catalogueBody(0, 3)},         {"D", catalogueBody(0, 4)}, {"J54", catalogueBody(3, 1)},
            {"P7", catalogueBody(0, 28)},       {"L", fromOff(kLPrism)},    {"frame", fromOff(frameOff())}};
}

struct Counts {
    long long v, e, f;
    bool operator==(const Counts&) const = default;
};

// The counts of the operators' table.
Counts expectedCounts(char letter, Counts c) {
    const long long V = c.v, E = c.e, F = c.f;
    switch (letter) {
    case 'd': return {F, E, V};
    case 'a': return {E, 2 * E, V + F};
    case 't': return {2 * E, 3 * E, V + F};
    case 'k': return {V + F, 3 * E, 2 * E};
    case 'j': return {V + F, 2 * E, E};
    case 'e': return {2 * E, 4 * E, V + E + F};
    case 'o': return {V + E + F, 4 * E, 2 * E};
    case 'g': return {V + 2 * E + F, 5 * E, 2 * E};
    case 's': return {2 * E, 5 * E, V + 2 * E + F};
    case 'b': return {4 * E, 6 * E, V + E + F};
    case 'm': return {V + E + F, 6 * E, 4 * E};
    case 'c': return {V + 2 * E, 4 * E, F + E};
    case 'n': return {V + F, 3 * E, 2 * E};
    case 'z': return {2 * E, 3 * E, V + F};
    case 'p': return {V + 2 * E, 5 * E, F + 2 * E};
    case 'w': return {V + 4 * E, 7 * E, F + 2 * E};
    default: ADD_FAILURE() << "no counts for " << letter; return {};
    }
}

std::set<std::pair<int, int>> edgesOf(const PolyMesh& m) {
    std::set<std::pair<int, int>> edges;
    for (const auto& f : m.faces)
        for (std::size_t k = 0; k < f.size(); ++k)
            edges.insert(std::minmax(f[k], f[(k + 1) % f.size()]));
    return edges;
}

Counts countsOfMesh(const PolyMesh& m) {
    return {static_cast<long long>(m.vertices.size()), static_cast<long long>(edgesOf(m).size()),
            static_cast<long long>(m.faces.size())};
}

// Closed, each edge run once each way (so on two faces, oriented alike), every vertex on a face,
// no face with a repeated corner, and outward: positive volume.
void expectSoundSurface(const PolyMesh& m, const std::string& what) {
    std::map<std::pair<int, int>, int> runs;
    std::vector<int> used(m.vertices.size());
    for (const auto& f : m.faces) {
        EXPECT_GE(f.size(), 3u) << what;
        EXPECT_EQ(std::set<int>(f.begin(), f.end()).size(), f.size()) << what;
        for (std::size_t k = 0; k < f.size(); ++k) {
            ASSERT_GE(f[k], 0) << what;
            ASSERT_LT(f[k], static_cast<int>(m.vertices.size())) << what;
            ++used[static_cast<std::size_t>(f[k])];
            ++runs[{f[k], f[(k + 1) % f.size()]}];
        }
    }
    for (const auto& [run, n] : runs) {
        EXPECT_EQ(n, 1) << what << ": edge " << run.first << "-" << run.second << " run " << n << " times";
        EXPECT_EQ(runs.count({run.second, run.first}), 1u) << what << ": edge on one face only";
    }
    EXPECT_EQ(std::count(used.begin(), used.end(), 0), 0) << what;
    for (const Point3D& p : m.vertices)
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << what;
    EXPECT_GT(signedVolume(m), 0) << what;
}

using kesmora::testing::distanceSignature;

// The largest difference of the two signatures, or infinity when the numbers of points differ.
double incongruence(const PolyMesh& a, const PolyMesh& b) {
    if (a.vertices.size() != b.vertices.size()) return INFINITY;
    const auto x = distanceSignature(a.vertices), y = distanceSignature(b.vertices);
    double worst = 0;
    for (std::size_t i = 0; i < x.size(); ++i)
        worst = std::max(worst, std::fabs(x[i] - y[i]));
    return worst;
}

std::multiset<std::size_t> faceSizes(const PolyMesh& m) {
    std::multiset<std::size_t> s;
    for (const auto& f : m.faces)
        s.insert(f.size());
    return s;
}

std::multiset<int> vertexDegrees(const PolyMesh& m) {
    std::vector<int> degree(m.vertices.size());
    for (const auto& f : m.faces)
        for (int v : f)
            ++degree[static_cast<std::size_t>(v)];
    return {degree.begin(), degree.end()};
}

PolyMesh plain(const PolyMesh& seed, const std::string& recipe) {
    RecipeOptions o;
    o.canonical = false;
    return applyRecipe(seed, recipe, o).mesh;
}

PolyMesh canonical(const PolyMesh& seed, const std::string& recipe) {
    const RecipeResult r = applyRecipe(seed, recipe);
    EXPECT_TRUE(r.canonical) << recipe << ": " << r.note;
    return r.mesh;
}

PolyMesh canonicalOf(const PolyMesh& mesh) {
    const CanonicalResult r = canonicalForm(mesh);
    EXPECT_TRUE(r.converged) << r.steps << " steps, residual " << r.residual;
    return r.mesh;
}

// Largest miss of an edge line from touching the unit sphere.
double worstTangency(const PolyMesh& m) {
    double worst = 0;
    for (const auto& [a, b] : edgesOf(m)) {
        const Point3D p = m.vertices[static_cast<std::size_t>(a)], q = m.vertices[static_cast<std::size_t>(b)];
        const Point3D d = q - p;
        worst = std::max(worst, std::fabs(norm(p - (dot(p, d) / dot(d, d)) * d) - 1));
    }
    return worst;
}

} // namespace

TEST(Conway, EveryOperationGivesTheTableCountsAndASoundSurface) {
    for (const Seed& seed : seeds()) {
        const Counts c = countsOfMesh(seed.mesh);
        for (const OperatorInfo& op : operatorList()) {
            const std::string what = std::string(1, op.letter) + seed.name;
            const PolyMesh m = plain(seed.mesh, std::string(1, op.letter));
            const Counts got = countsOfMesh(m);
            EXPECT_EQ(got, expectedCounts(op.letter, c)) << what;
            EXPECT_EQ(got.v - got.e + got.f, c.v - c.e + c.f) << what;
            const MeshCounts predicted = predictCounts(countsOf(seed.mesh), parseRecipe(std::string(1, op.letter)));
            EXPECT_EQ((Counts{predicted.vertices, predicted.edges, predicted.faces}), got) << what;
            expectSoundSurface(m, what);
        }
    }
}

TEST(Conway, RecipesAndRestrictedOperationsAreCountedBeforeBuilding) {
    // Two letters, the restricted kis and truncation, and their mixtures: the prediction from the
    // counts alone (degrees and face sizes carried along) against the result.
    const char* const recipes[] = {"tk", "dak", "k4", "k5", "k3", "t3", "t4", "t5", "k6t", "t3k4",
                                   "k4t3", "k3a", "t4j", "gt4", "ck5", "pw", "k6k4", "t6t4"};
    for (const Seed& seed : seeds()) {
        for (const char* recipe : recipes) {
            const std::string what = std::string(recipe) + seed.name;
            const PolyMesh m = plain(seed.mesh, recipe);
            const MeshCounts got = countsOf(m);
            const MeshCounts predicted = predictCounts(countsOf(seed.mesh), parseRecipe(recipe));
            EXPECT_GE(predicted.faces, got.faces) << what;
            if (predicted.exact) {
                EXPECT_EQ(predicted.vertices, got.vertices) << what;
                EXPECT_EQ(predicted.edges, static_cast<long long>(edgesOf(m).size())) << what;
                EXPECT_EQ(predicted.faces, got.faces) << what;
                if (predicted.degreesKnown) {
                    EXPECT_EQ(predicted.vertexDegrees, got.vertexDegrees) << what;
                }
                if (predicted.sizesKnown) {
                    EXPECT_EQ(predicted.faceSizes, got.faceSizes) << what;
                }
            }
            expectSoundSurface(m, what);
        }
    }
    // k4 on the cube is k; on the tetrahedron it does nothing; t3 on the octahedron likewise.
    const PolyMesh cube = catalogueBody(0, 1), tetra = catalogueBody(0, 0), octa = catalogueBody(0, 2);
    EXPECT_EQ(countsOfMesh(plain(cube, "k4")), countsOfMesh(plain(cube, "k")));
    EXPECT_EQ(countsOfMesh(plain(tetra, "k4")), countsOfMesh(tetra));
    EXPECT_EQ(countsOfMesh(plain(octa, "t3")), countsOfMesh(octa));
    // t4 on the octahedron cuts all six corners.
    EXPECT_EQ(countsOfMesh(plain(octa, "t4")), countsOfMesh(plain(octa, "t")));
}

TEST(Conway, CompositionsAgreeWithTheDirectConstructions) {
    for (const Seed& seed : seeds()) {
        if (seed.name == "frame") continue; // no canonical form to compare
        const std::string s = seed.name;
        struct Case {
            std::string what;
            PolyMesh a, b;
        };
        const PolyMesh prepared = preparedSeed(seed.mesh);
        const PolyMesh jDirect = applyComposedDirectly(prepared, 'j');
        const std::vector<Case> cases = {
            {"t = dkd", canonicalOf(applyDirect(canonical(seed.mesh, ""), {'t', 0})), canonical(seed.mesh, "dkd")},
            {"j = dad", canonicalOf(jDirect), canonical(seed.mesh, "dad")},
            {"e = aa", canonicalOf(applyComposedDirectly(prepared, 'e')), canonical(seed.mesh, "aa")},
            {"o = jj", canonicalOf(applyComposedDirectly(jDirect, 'j')), canonical(seed.mesh, "o")},
            {"b = ta", canonicalOf(applyDirect(canonical(seed.mesh, "a"), {'t', 0})), canonical(seed.mesh, "b")},
            {"m = kj", canonical(jDirect, "k"), canonical(seed.mesh, "m")},
            {"s = dgd", canonical(seed.mesh, "s"), canonical(canonicalDual(canonical(seed.mesh, "gd")), "")},
        };
        for (const Case& c : cases) {
            EXPECT_EQ(faceSizes(c.a), faceSizes(c.b)) << c.what << " on " << s;
            EXPECT_EQ(vertexDegrees(c.a), vertexDegrees(c.b)) << c.what << " on " << s;
            EXPECT_EQ(edgesOf(c.a).size(), edgesOf(c.b).size()) << c.what << " on " << s;
            EXPECT_LT(incongruence(c.a, c.b), 1e-8) << c.what << " on " << s;
        }
        // The direct constructions also give sound surfaces as built.
        expectSoundSurface(jDirect, "j direct on " + s);
        expectSoundSurface(applyComposedDirectly(prepared, 'e'), "e direct on " + s);
    }
}

TEST(Conway, DualOfDualGivesBackTheCanonicalSeed) {
    for (const Seed& seed : seeds()) {
        if (seed.name == "frame") continue;
        const PolyMesh once = canonical(seed.mesh, ""), twice = canonical(seed.mesh, "dd");
        ASSERT_EQ(once.vertices.size(), twice.vertices.size()) << seed.name;
        for (std::size_t v = 0; v < once.vertices.size(); ++v)
            EXPECT_LT(norm(once.vertices[v] - twice.vertices[v]), 1e-9) << seed.name;
        // The same faces, each perhaps starting at another corner.
        auto rotated = [](std::vector<int> f) {
            std::rotate(f.begin(), std::min_element(f.begin(), f.end()), f.end());
            return f;
        };
        std::multiset<std::vector<int>> a, b;
        for (const auto& f : once.faces)
            a.insert(rotated(f));
        for (const auto& f : twice.faces)
            b.insert(rotated(f));
        EXPECT_EQ(a, b) << seed.name;
        // The canonical dual is the polar reciprocal: each vertex times its face's plane is 1.
        const PolyMesh dual = canonicalDual(once);
        for (std::size_t v = 0; v < once.vertices.size(); ++v)
            for (int f : dual.faces[v])
                EXPECT_NEAR(dot(once.vertices[v], dual.vertices[static_cast<std::size_t>(f)]), 1, 1e-9) << seed.name;
    }
}

TEST(Conway, CanonicalFormsOnThePlatonicSolidsAreTheArchimedeanAndCatalanSolids) {
    struct Case {
        const char* recipe;
        int seed;                 // in category 0: T C O I D = 0 1 2 3 4
        int category, bodyIndex; // the catalogue's solid
    };
    const Case cases[] = {
        {"a", 1, 2, 0},   {"a", 2, 2, 0},   {"a", 4, 2, 1},   {"a", 3, 2, 1},   {"a", 0, 0, 2},
        {"t", 0, 2, 11},  {"t", 1, 2, 9},   {"t", 2, 2, 10},  {"t", 4, 2, 12},  {"t", 3, 2, 6},
        {"e", 1, 2, 3},   {"e", 4, 2, 2},   {"b", 1, 2, 8},   {"b", 4, 2, 7},   {"s", 1, 2, 4},
        {"s", 4, 2, 5},   {"k", 0, 2, 13},  {"k", 1, 2, 16},  {"k", 2, 2, 14},  {"k", 4, 2, 21},
        {"k", 3, 2, 15},  {"j", 1, 2, 17},  {"j", 4, 2, 20},  {"o", 1, 2, 18},  {"o", 4, 2, 19},
        {"g", 1, 2, 22},  {"g", 4, 2, 23},  {"m", 1, 2, 25},  {"m", 4, 2, 24},
    };
    const char* const platonic = "TCOID";
    for (const Case& c : cases) {
        const std::string what = std::string(c.recipe) + platonic[c.seed];
        const RecipeResult r = applyRecipe(catalogueBody(0, c.seed), c.recipe);
        ASSERT_TRUE(r.canonical) << what << ": " << r.note;
        EXPECT_TRUE(r.note.empty()) << what;
        const PolyMesh expected = catalogueBody(c.category, c.bodyIndex);
        EXPECT_EQ(faceSizes(r.mesh), faceSizes(expected)) << what;
        // The catalogue's coordinates carry about seven digits.
        EXPECT_LT(incongruence(r.mesh, expected), 1e-6) << what;
        EXPECT_LT(worstTangency(r.mesh), 1e-9) << what;
        EXPECT_LT(canonicalResidual(r.mesh), 1e-9) << what;
    }
    // The dual of the canonical truncated cube is the canonical kis octahedron, point for point.
    const PolyMesh dualOfTC = canonicalDual(canonical(catalogueBody(0, 1), "t"));
    EXPECT_LT(incongruence(dualOfTC, canonical(catalogueBody(0, 2), "k")), 1e-8);
}

TEST(Conway, EveryCanonicalResultTouchesTheUnitSphereAlongItsEdges) {
    for (const Seed& seed : seeds()) {
        if (seed.name == "frame") continue;
        for (const OperatorInfo& op : operatorList()) {
            const std::string what = std::string(1, op.letter) + seed.name;
            const RecipeResult r = applyRecipe(seed.mesh, std::string(1, op.letter));
            ASSERT_TRUE(r.canonical) << what << ": " << r.note;
            EXPECT_LT(worstTangency(r.mesh), 1e-9) << what;
            EXPECT_LT(canonicalResidual(r.mesh), 1e-9) << what;
            expectSoundSurface(r.mesh, what);
            EXPECT_EQ(countsOfMesh(r.mesh), expectedCounts(op.letter, countsOfMesh(seed.mesh))) << what;
        }
    }
}

TEST(Conway, LargeResultsReachTheirCanonicalFormAndCanBeCancelledOnTheWay) {
    const PolyMesh icosahedron = catalogueBody(0, 3);
    // ktktbI: 9 720 faces.
    const RecipeResult r = applyRecipe(icosahedron, "ktktb");
    ASSERT_TRUE(r.canonical) << r.note;
    ASSERT_EQ(r.mesh.faces.size(), 9720u);
    EXPECT_LT(worstTangency(r.mesh), 1e-9);
    EXPECT_LT(canonicalResidual(r.mesh), 1e-9);
    expectSoundSurface(r.mesh, "ktktbI");

    // Its last step alone, cancelled at the third report: no report after that, not canonical.
    const PolyMesh kissed = applyDirect(canonical(icosahedron, "tktb"), {'k', 0}, true);
    int calls = 0;
    CanonicalOptions o;
    o.progress = [&](double) { return ++calls < 3; };
    const CanonicalResult cancelled = canonicalForm(kissed, o);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.converged);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(cancelled.mesh.faces.size(), kissed.faces.size());
    EXPECT_TRUE(canonicalForm(kissed).converged);
}

TEST(Conway, ASurfaceWithoutCanonicalFormIsShownAsBuiltWithANote) {
    const PolyMesh frame = fromOff(frameOff());
    for (const char* recipe : {"", "t", "k"}) {
        const RecipeResult r = applyRecipe(frame, recipe);
        EXPECT_FALSE(r.canonical) << recipe;
        EXPECT_NE(r.note.find("kanonische Form"), std::string::npos) << recipe;
        const PolyMesh built = plain(frame, recipe);
        EXPECT_EQ(countsOfMesh(r.mesh), countsOfMesh(built)) << recipe;
        expectSoundSurface(r.mesh, recipe);
        // Planarised, not moved far: within a tenth of the body's size of the plain construction.
        double moved = 0, worstFlat = 0;
        for (std::size_t v = 0; v < built.vertices.size(); ++v)
            moved = std::max(moved, norm(r.mesh.vertices[v] - built.vertices[v]));
        for (int f = 0; f < static_cast<int>(r.mesh.faces.size()); ++f)
            worstFlat = std::max(worstFlat, flatness(r.mesh, f));
        EXPECT_LT(moved, 0.1 * extent(built)) << recipe;
        EXPECT_LT(worstFlat, 1e-6 * extent(built)) << recipe;
    }
}

TEST(Recipe, ReadsRightToLeftAndNamesWhatItCannotRead) {
    const auto ops = parseRecipe("tk5d");
    ASSERT_EQ(ops.size(), 3u);
    EXPECT_EQ(ops[0].letter, 'd');
    EXPECT_EQ(ops[1].letter, 'k');
    EXPECT_EQ(ops[1].degree, 5);
    EXPECT_EQ(ops[2].letter, 't');
    EXPECT_EQ(ops[2].degree, 0);
    EXPECT_TRUE(parseRecipe("").empty());
    EXPECT_EQ(parseRecipe("t12")[0].degree, 12);

    struct Bad {
        const char* recipe;
        int position;
        const char* character;
    };
    const Bad bad[] = {{"tx", 2, "x"}, {"T", 1, "T"}, {"aä", 2, "ä"}, {"t k", 2, " "}, {"a3", 2, "3"},
                       {"5k", 1, "5"}, {"k2", 2, "2"}, {"dk1", 3, "1"}, {"dd!", 3, "!"}};
    for (const Bad& b : bad) {
        try {
            parseRecipe(b.recipe);
            ADD_FAILURE() << b.recipe << " was read";
        } catch (const RecipeError& e) {
            EXPECT_EQ(e.position(), b.position) << b.recipe;
            EXPECT_EQ(e.character(), b.character) << b.recipe;
            const std::string text = e.what();
            EXPECT_NE(text.find("Stelle " + std::to_string(b.position)), std::string::npos) << text;
            if (std::string(b.character) != " ") {
                EXPECT_NE(text.find(std::string("»") + b.character + "«"), std::string::npos) << text;
            }
        }
    }
    // A bad recipe is refused before the seed is looked at.
    EXPECT_THROW(applyRecipe(PolyMesh{}, "q"), RecipeError);
}

TEST(Recipe, RefusesAResultTooLargeNamingItsCount) {
    const PolyMesh icosahedron = catalogueBody(0, 3);
    // tkttI: (V, E, F) = (1620, 2430, 812), counted before building.
    const MeshCounts tktt = predictCounts(countsOf(icosahedron), parseRecipe("tktt"));
    EXPECT_EQ(tktt.vertices, 1620);
    EXPECT_EQ(tktt.edges, 2430);
    EXPECT_EQ(tktt.faces, 812);
    EXPECT_TRUE(sizeRefusal(tktt).empty());
    // Each k makes 2E triangles and triples the edges: 30 edges, then 90, 270, …
    const MeshCounts seven = predictCounts(countsOf(icosahedron), parseRecipe("kkkkkkk"));
    EXPECT_EQ(seven.faces, 2 * 30 * 729);
    EXPECT_TRUE(sizeRefusal(seven).empty());
    const MeshCounts eight = predictCounts(countsOf(icosahedron), parseRecipe("kkkkkkkk"));
    EXPECT_EQ(eight.faces, 2 * 30 * 2187);
    try {
        applyRecipe(icosahedron, "kkkkkkkk");
        ADD_FAILURE() << "built";
    } catch (const ResultTooLarge& e) {
        EXPECT_NE(std::string(e.what()).find("131 220 Flächen"), std::string::npos) << e.what();
    }
}

TEST(Recipe, ReportsProgressAndCanBeCancelled) {
    const PolyMesh icosahedron = catalogueBody(0, 3);
    std::vector<double> shares;
    RecipeOptions o;
    o.progress = [&](double share) {
        shares.push_back(share);
        return true;
    };
    const RecipeResult done = applyRecipe(icosahedron, "tk", o);
    EXPECT_TRUE(done.canonical);
    ASSERT_FALSE(shares.empty());
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_GE(shares.front(), 0);
    EXPECT_LE(shares.back(), 1);

    // Cancelled at the second report: no report after that, and the seed comes back.
    int calls = 0;
    o.progress = [&](double) { return ++calls < 2; };
    const RecipeResult cancelled = applyRecipe(icosahedron, "tk", o);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_FALSE(cancelled.canonical);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(cancelled.mesh.faces.size(), icosahedron.faces.size());
}

TEST(Conway, RefusesSurfacesTheOperationsCannotWorkOn) {
    PolyMesh open = catalogueBody(0, 1);
    open.faces.pop_back();
    EXPECT_THROW(applyRecipe(open, "t"), OperationRefused);
    PolyMesh tiny = catalogueBody(0, 0);
    tiny.faces[0].resize(2);
    EXPECT_THROW(applyRecipe(tiny, "k"), OperationRefused);
    // Two tetrahedra sharing one corner: the faces around it form two cones.
    PolyMesh bowtie = catalogueBody(0, 0);
    const std::size_t n = bowtie.vertices.size();
    for (std::size_t v = 0; v < n; ++v)
        bowtie.vertices.push_back(v == 0 ? bowtie.vertices[0] : 2.0 * bowtie.vertices[0] - bowtie.vertices[v]);
    const std::size_t faces = bowtie.faces.size();
    for (std::size_t f = 0; f < faces; ++f) {
        std::vector<int> face;
        for (int v : bowtie.faces[f])
            face.push_back(v == 0 ? 0 : v + static_cast<int>(n));
        bowtie.faces.push_back(face);
    }
    EXPECT_THROW(applyRecipe(bowtie, "a"), OperationRefused);
    // A face naming a vertex that does not exist, handed straight to the canonical form.
    PolyMesh stray = preparedSeed(catalogueBody(0, 1));
    stray.faces[2][1] = 99;
    EXPECT_THROW(canonicalForm(stray), OperationRefused);
    EXPECT_THROW(canonicalDual(stray), OperationRefused);
    EXPECT_THROW(applyDirect(stray, {'t', 0}), OperationRefused);
}
