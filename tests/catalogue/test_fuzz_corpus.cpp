// The catalogue fuzzer's seeds and every input it ever found a fault with, run through the same
// entry function without fuzzing, so that the faults stay fixed.
#include "fuzz_entry.h"

#include <gtest/gtest.h>

#include "fuzz_inputs.h"
#include "tempdir.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace kesmora;
namespace fs = std::filesystem;

using kesmora::test::readAll;

using kesmora::test::fuzzInputName;
using kesmora::test::fuzzInputs;

namespace {

class FuzzInput : public testing::TestWithParam<fs::path> {};

TEST_P(FuzzInput, RunsWithoutAFault) {
    try {
        fuzz::exercise(readAll(GetParam()));
    } catch (const std::exception& e) {
        FAIL() << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, FuzzInput, testing::ValuesIn(fuzzInputs("corpus")), fuzzInputName);
INSTANTIATE_TEST_SUITE_P(Regressions, FuzzInput, testing::ValuesIn(fuzzInputs("regressions")), fuzzInputName);

// The seeds are worth something only if they reach the build: the whole catalogue builds every
// body it offers, and each small seed builds some.
TEST(FuzzSeeds, WholeCatalogueBuildsEveryOfferedBody) {
    const fuzz::Outcome o =
        fuzz::exercise(readAll(fs::path(KESMORA_SOURCE_DIR) / "fuzz/corpus/whole-catalogue"));
    EXPECT_EQ(o.sections, 3);
    EXPECT_EQ(o.offered, 46 + 25 + 77);
    EXPECT_EQ(o.built - o.hiddenBuilt, o.offered);
    EXPECT_EQ(o.hiddenOffered, 38); // reached as with "ausgeblendete Körper zeigen"
    for (const fs::path& seed : fuzzInputs("corpus"))
        EXPECT_GT(fuzz::exercise(readAll(seed)).built, 0) << seed;
}

// Once the data holds the hidden bodies' blocks: the shipped tables build every hidden body too.
TEST(FuzzSeeds, ShippedCatalogueBuildsEveryHiddenBody) {
    const fs::path data(KESMORA_DATA_DIR);
    const fuzz::Outcome o =
        fuzz::exercise(fuzz::joinTables(readAll(data / "coordinates.txt"), readAll(data / "faces.txt"),
                                        readAll(data / "excluded.txt"), readAll(data / "catalogue.txt")));
    EXPECT_EQ(o.offered, 46 + 25 + 77);
    EXPECT_EQ(o.hiddenOffered, 38);
    EXPECT_EQ(o.built, o.offered + o.hiddenOffered);
    EXPECT_EQ(o.hiddenBuilt, o.hiddenOffered);
}

// With excluded.txt emptied the fuzzer reaches the 38 hidden bodies too, and every one builds.
TEST(FuzzSeeds, NothingHiddenBuildsAll186Bodies) {
    const fuzz::Outcome o =
        fuzz::exercise(readAll(fs::path(KESMORA_SOURCE_DIR) / "fuzz/corpus/whole-catalogue-nothing-hidden"));
    EXPECT_EQ(o.offered, 68 + 26 + 92);
    EXPECT_EQ(o.built, o.offered);
}

TEST(FuzzSeeds, SeparatorSplitsTheFourTables) {
    const std::string coords = "[1]\n4\n0 0 1.732051\n1.632993 0 -0.5773503\n-0.8164966 1.414214 -0.5773503\n"
                               "-0.8164966 -1.414214 -0.5773503\n[#]\n";
    const std::string faces = "[1]\n4\n012\n013\n123\n023\n[#]\n";
    const std::string catalogue = "{0\n[\nTetraeder\nWeg\n[0\n1\n[#]\n";
    fuzz::Outcome o = fuzz::exercise(fuzz::joinTables(coords, faces, "weg\n", catalogue));
    EXPECT_EQ(o.offered, 1); // "Weg" is excluded whatever its case
    EXPECT_EQ(o.hiddenOffered, 1);
    EXPECT_EQ(o.built, 1);
    // Without the catalogue nothing is offered; without faces the body is refused.
    EXPECT_EQ(fuzz::exercise(fuzz::joinTables(coords, faces, "", "")).sections, 0);
    o = fuzz::exercise(fuzz::joinTables(coords, "", "", catalogue));
    EXPECT_EQ(o.refused, 2);
}

// The checks that turn a broken model into a finding do fire.
TEST(FuzzChecks, ModelFaultsAreNamed) {
    SolidModel m;
    m.solid.vertices.resize(3);
    m.solid.faces.push_back({0, 1, 2});
    m.solid.faceRecords.resize(1);
    m.dual.vertices.resize(1);
    EXPECT_EQ(fuzz::modelFault(m), "");
    m.solid.faces.replace(0, {0, 1, 3});
    EXPECT_NE(fuzz::modelFault(m).find("face 0 names vertex 3"), std::string::npos);
    m.solid.faces.replace(0, {0, 1, 2});
    m.dual.faces.resize(1);
    EXPECT_EQ(fuzz::modelFault(m), "dual face records out of step with the faces");
    m.dual.faceRecords.resize(1);
    m.dual.faces.replace(0, {1});
    EXPECT_NE(fuzz::modelFault(m).find("dual face"), std::string::npos);
    m.dual.faces.replace(0, {0});
    m.solid.vertices[2].y = NAN;
    EXPECT_NE(fuzz::modelFault(m).find("vertex 2 not finite"), std::string::npos);
    m.solid.vertices[2].y = 0;
    m.solid.faceRecords.resize(0);
    EXPECT_EQ(fuzz::modelFault(m), "face records out of step with the faces");
}

// Faces of fewer than three different corners, as a face line "000" once gave the dual.
TEST(FuzzChecks, FacesOfFewerThanThreeCornersAreFaults) {
    SolidModel m;
    for (Figure* figure : m.figures()) {
        figure->vertices.resize(3);
        figure->faces.push_back({0, 1, 2});
        figure->faceRecords.resize(1);
    }
    EXPECT_EQ(fuzz::modelFault(m), "");
    m.dual.faces.replace(0, {0, 1});
    EXPECT_EQ(fuzz::modelFault(m), "dual face 0 has fewer than three different corners");
    m.dual.faces.replace(0, {0, 1, 2});
    m.solid.faces.replace(0, {0, 1, 1, 0});
    EXPECT_EQ(fuzz::modelFault(m), "face 0 has fewer than three different corners");
}

// Tables in a form the program does not read end the run with their message, like the start.
TEST(FuzzSeeds, TablesInAnotherFormAreRefusedAtTheStart) {
    const std::string whole = readAll(fs::path(KESMORA_SOURCE_DIR) / "fuzz/corpus/whole-catalogue");
    for (const std::string& input : {"\xEF\xBB\xBF" + whole, std::string("[1]\r4\r0 0 1\r") + whole}) {
        const fuzz::Outcome o = fuzz::exercise(input);
        EXPECT_EQ(o.sections, 0);
        EXPECT_EQ(o.offered, 0);
    }
}

} // namespace
