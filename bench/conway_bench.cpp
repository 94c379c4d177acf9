// Operations on solids: recipes on a catalogue body with and without the canonical form, on a
// catalogue-sized result and on one of about 10 000 faces.
#include "bodies/build.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "geometry/recipe.h"
#include "geometry/reciprocal.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace kesmora;

namespace {

// A Platonic solid from the catalogue (0 to 4: tetrahedron, cube, octahedron, icosahedron,
// dodecahedron) as a mesh.
PolyMesh platonic(int index) {
    static const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    for (const std::string& name : fillBodyList(tables, Category::Polyeder)) {
        Selection s;
        s.currentCategory = Category::Polyeder;
        neuwert(s, tables, name);
        if (s.bodyIndex != index) continue;
        return solidSurface(buildSolid(tables, s, name));
    }
    return {};
}

void recipeBench(benchmark::State& state, std::string recipe, int seed, bool canonical) {
    const PolyMesh mesh = platonic(seed);
    RecipeOptions options;
    options.canonical = canonical;
    std::size_t faces = 0;
    bool reached = true;
    for (auto _ : state) {
        const RecipeResult r = applyRecipe(mesh, recipe, options);
        faces = r.mesh.faces.size();
        reached = reached && (!canonical || r.canonical);
        benchmark::DoNotOptimize(r.mesh.vertices.data());
    }
    state.counters["faces"] = static_cast<double>(faces);
    if (canonical) state.counters["reached"] = reached ? 1 : 0;
}

const int kIcosahedron = 3, kCube = 1;

} // namespace

BENCHMARK_CAPTURE(recipeBench, bI/canonical, std::string("b"), kIcosahedron, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(recipeBench, bI/plain, std::string("b"), kIcosahedron, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(recipeBench, tC/canonical, std::string("t"), kCube, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(recipeBench, sD/canonical, std::string("s"), 4, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(recipeBench, tktI/canonical, std::string("tkt"), kIcosahedron, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(recipeBench, tktktI/canonical, std::string("tktkt"), kIcosahedron, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
// 9720 faces.
BENCHMARK_CAPTURE(recipeBench, ktktbI/plain, std::string("ktktb"), kIcosahedron, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(recipeBench, ktktbI/canonical, std::string("ktktb"), kIcosahedron, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
// 4 862 faces on 9 720 vertices: three truncations, the last two on canonical forms of thousands of faces.
BENCHMARK_CAPTURE(recipeBench, tkttbI/canonical, std::string("tkttb"), kIcosahedron, true)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
