// The polyhedron-file fuzzer's seeds and every input it ever found a fault with, run through the
// same entry function without fuzzing, so that the faults stay fixed.
#include "file_entry.h"
#include "fuzz_entry.h"

#include <gtest/gtest.h>

#include "fuzz_inputs.h"
#include "tempdir.h"

#include <algorithm>
#include <filesystem>

using namespace kesmora;
namespace fs = std::filesystem;

using kesmora::test::readAll;

using kesmora::test::fuzzInputName;
using kesmora::test::fuzzInputs;

namespace {

// Every input runs without a fault; the seeds also go as far as their names say, so that they are
// worth something to the fuzzer: an exported catalogue figure ("body-") builds with both duals,
// writes and reads back, a form of file the reader takes ("case-") builds, and a damaged file
// ("damaged-") is refused with a message.
class FileFuzzInput : public testing::TestWithParam<fs::path> {};

TEST_P(FileFuzzInput, RunsWithoutAFault) {
    fuzz::FileOutcome o;
    try {
        o = fuzz::exerciseFile(readAll(GetParam()));
    } catch (const std::exception& e) {
        FAIL() << e.what();
    }
    const std::string name = GetParam().filename().string();
    if (name.rfind("damaged-", 0) == 0) {
        EXPECT_EQ(o.built, 0);
    }
    if (name.rfind("case-", 0) == 0) {
        EXPECT_EQ(o.built, 2);
    }
    if (name.rfind("body-", 0) == 0) {
        EXPECT_EQ(o.built, 2);
        EXPECT_EQ(o.readAgain, 2 * 2 * 2); // two builds, solid and dual, OFF and OBJ
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, FileFuzzInput, testing::ValuesIn(fuzzInputs("file-corpus")), fuzzInputName);
INSTANTIATE_TEST_SUITE_P(Regressions, FileFuzzInput, testing::ValuesIn(fuzzInputs("file-regressions")), fuzzInputName);

// Every body of the catalogue and its dual are among the seeds, as OFF and as OBJ.
TEST(FileFuzzSeeds, EveryCatalogueFigureIsASeed) {
    int figures = 0, off = 0, damaged = 0;
    for (const fs::path& seed : fuzzInputs("file-corpus")) {
        const std::string name = seed.filename().string();
        if (name.rfind("body-", 0) == 0 || name.rfind("refused-", 0) == 0) {
            ++figures;
            off += seed.extension() == ".off";
        }
        damaged += name.rfind("damaged-", 0) == 0;
    }
    EXPECT_EQ(figures, 2 * 186);
    EXPECT_EQ(off, 186);
    EXPECT_GT(damaged, 10);
}

} // namespace
