// A long animation on the heaviest bodies: turns accumulate in the stored coordinates with nothing
// renormalised, so rounding must not let the figure grow, shrink or break down over a long run.
//   KESMORA_SOAK_TICKS=1000000 ./test_soak   a longer run
#include "section_category.h"
#include "bodies/build.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "view/animation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

using namespace kesmora;

namespace {

long ticksToRun() {
    const char* v = std::getenv("KESMORA_SOAK_TICKS");
    return v && *v ? std::strtol(v, nullptr, 10) : 100000;
}

const CatalogueTables& tables() {
    static const CatalogueTables t = LoadCatalogueTables(KESMORA_DATA_DIR);
    return t;
}

SolidModel build(int category, const char* latin1Name) {
    Selection sel;
    sel.currentCategory = sectionCategory(category);
    neuwert(sel, tables(), latin1Name);
    return buildSolid(tables(), sel, latin1Name);
}

double largestDistance(const Point3D* points, int count) {
    double r = 0;
    for (int i = 0; i < count; ++i)
        r = std::max(
            r, std::sqrt(points[i].x * points[i].x + points[i].y * points[i].y + points[i].z * points[i].z));
    return r;
}

bool allFinite(const SolidModel& m) {
    auto ok = [](const Point3D& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); };
    for (int i = 0; i < m.solid.vertices.size(); ++i)
        if (!ok(m.solid.vertices[i])) return false;
    for (int i = 0; i < m.solid.faces.size(); ++i)
        if (!ok(m.solid.faceRecords[i].centroid)) return false;
    for (int i = 0; i < m.dual.vertices.size(); ++i)
        if (!ok(m.dual.vertices[i])) return false;
    for (int i = 0; i < m.dual.faces.size(); ++i)
        if (!ok(m.dual.faceRecords[i].centroid)) return false;
    return true;
}

struct Soak {
    const char* name; // for the test's name
    int category;
    const char* body; // Latin-1, as in the tables
    double stepXY, stepYZ, stepXZ;
};

void PrintTo(const Soak& s, std::ostream* os) {
    *os << s.name;
}

class LongAnimation : public testing::TestWithParam<Soak> {};

TEST_P(LongAnimation, StaysFiniteAndKeepsItsSize) {
    const Soak& s = GetParam();
    SolidModel m = build(s.category, s.body);
    AnimationState state;
    state.stepXY = s.stepXY;
    state.stepYZ = s.stepYZ;
    state.stepXZ = s.stepXZ;
    const double solid0 = largestDistance(m.solid.vertices.begin(), m.solid.vertices.size());
    const double dual0 = largestDistance(m.dual.vertices.begin(), m.dual.vertices.size());
    ASSERT_GT(solid0, 0);

    const long ticks = ticksToRun();
    double worst = 0;
    for (long t = 1; t <= ticks; ++t) {
        animationTick(state, m);
        if (t % 1000 == 0 || t == ticks) {
            ASSERT_TRUE(allFinite(m)) << "after tick " << t;
            const double drift = std::max(
                std::fabs(largestDistance(m.solid.vertices.begin(), m.solid.vertices.size()) / solid0 - 1),
                std::fabs(largestDistance(m.dual.vertices.begin(), m.dual.vertices.size()) / dual0 - 1));
            worst = std::max(worst, drift);
            ASSERT_LE(drift, 1e-6) << "after tick " << t;
        }
    }
    std::cout << s.name << ": " << ticks << " ticks, largest relative drift of the largest vertex distance "
              << worst << '\n';
}

const Soak kSoaks[] = {
    {"Ikosidodekaederstumpf", 2, "Ikosidodekaederstumpf", 0, 0, 0.5},
    {"Disdyakistriacontaeder", 2, "Disdyakistriacontaeder", 0, 0, 0.5},
    {"CampanusSphaere", 0, "Campanus-Sph\xE4re", 0, 0, 0.5},
    // All three planes at once, with the spin edits at 3, -5 and 15.
    {"IkosidodekaederstumpfCombined", 2, "Ikosidodekaederstumpf", 0.75, -1.25, 3.75},
    {"DisdyakistriacontaederCombined", 2, "Disdyakistriacontaeder", 0.75, -1.25, 3.75},
    {"CampanusSphaereCombined", 0, "Campanus-Sph\xE4re", 0.75, -1.25, 3.75},
};

INSTANTIATE_TEST_SUITE_P(Heaviest, LongAnimation, testing::ValuesIn(kSoaks),
                         [](const testing::TestParamInfo<Soak>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
