// The morph from a solid to its dual: one figure of the heaviest catalogue body (the truncated
// icosidodecahedron, 62 faces, whose half-spaces with those of its reciprocal's 120 faces are 182),
// and of the cube, at a quarter of the way and at the rectified form.
#include "bodies/build.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "geometry/morph.h"
#include "geometry/reciprocal.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace kesmora;

namespace {

PolyMesh catalogueSolid(Category category, const std::string& latin1Name) {
    static const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    Selection s;
    s.currentCategory = category;
    neuwert(s, tables, latin1Name);
    return solidSurface(buildSolid(tables, s, latin1Name));
}

void morphBench(benchmark::State& state, Category category, std::string name, double t) {
    const PolyMesh solid = catalogueSolid(category, name);
    std::size_t faces = 0;
    for (auto _ : state) {
        // As the window does each frame: the way from the solid as it stands, and the figure on it.
        const DualMorph morph(solid);
        const PolyMesh figure = morph.at(t);
        faces = figure.faces.size();
        benchmark::DoNotOptimize(figure.vertices.data());
    }
    state.counters["faces"] = static_cast<double>(faces);
}

} // namespace

BENCHMARK_CAPTURE(morphBench, truncatedIcosidodecahedron / 0.25, Category::Archimedean,
                  "Ikosidodekaederstumpf", 0.25)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(morphBench, truncatedIcosidodecahedron / 0.5, Category::Archimedean, "Ikosidodekaederstumpf",
                  0.5)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(morphBench, cube / 0.25, Category::Polyeder, "Hexaeder, W\xfcrfel", 0.25)
    ->Unit(benchmark::kMicrosecond);
