// The polyhedron-file fuzzer's seeds and every input it ever found a fault with, run through the
// same entry function without fuzzing, so that the faults stay fixed.
#include "file_entry.h"
#include "fuzz_entry.h"

#include <gtest/gtest.h>

#include "tempdir.h"

#include <algorithm>
#include <filesystem>

using namespace kesmora;
namespace fs = std::filesystem;

using kesmora::test::readAll;

namespace {

std::vector<fs::path> inputs(const char* folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(KESMORA_SOURCE_DIR) / "fuzz" / folder))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string fileName(const testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.filename().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

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

INSTANTIATE_TEST_SUITE_P(Corpus, FileFuzzInput, testing::ValuesIn(inputs("file-corpus")), fileName);
INSTANTIATE_TEST_SUITE_P(Regressions, FileFuzzInput, testing::ValuesIn(inputs("file-regressions")), fileName);

// Every body of the catalogue and its dual are among the seeds, as OFF and as OBJ.
TEST(FileFuzzSeeds, EveryCatalogueFigureIsASeed) {
    int figures = 0, off = 0, damaged = 0;
    for (const fs::path& seed : inputs("file-corpus")) {
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
