// The catalogue generator (tools/catalogue-gen): it regenerates the committed data files byte for
// byte, deterministically, and refuses a wrong command line.
#include <gtest/gtest.h>

#include "tempdir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

using kesmora::test::readAll;

namespace {

namespace fs = std::filesystem;

const fs::path kGenerator = fs::path(KESMORA_BINARY_DIR) / "tools" / "catalogue-gen";

// A fresh empty folder below the system temporary folder, removed again at the end of the test.
struct TempDir : kesmora::test::TempDir {
    explicit TempDir(const std::string& tag)
        : kesmora::test::TempDir("catalogue-gen-" + tag + "-" +
                                    ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
};

int run(const std::string& args) {
    const std::string command = "\"" + kGenerator.string() + "\"" + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    if (status == -1) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int generateInto(const fs::path& dir) {
    return run(" \"" + dir.string() + "\"");
}

// Index of the first differing byte, for a readable failure message.
std::string firstDifference(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    const std::size_t lineStart = a.rfind('\n', i == 0 ? 0 : i - 1);
    const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
    return "first difference at byte " + std::to_string(i) + ", line starting \"" + a.substr(from, 60) +
           "\" vs \"" + b.substr(from, 60) + "\"";
}

TEST(CatalogueGen, GeneratorIsBuilt) {
    ASSERT_TRUE(fs::exists(kGenerator)) << "build the target catalogue-gen first: " << kGenerator;
}

TEST(CatalogueGen, RegeneratesTheCommittedFilesByteForByte) {
    ASSERT_TRUE(fs::exists(kGenerator)) << kGenerator;
    TempDir out("regen");
    ASSERT_EQ(generateInto(out.path()), 0);
    for (const char* name : {"coordinates.txt", "faces.txt"}) {
        const std::string generated = readAll(out.path() / name);
        const std::string committed = readAll(fs::path(KESMORA_SOURCE_DIR) / "data" / name);
        ASSERT_FALSE(generated.empty()) << name;
        EXPECT_EQ(generated.size(), committed.size()) << name;
        EXPECT_TRUE(generated == committed)
            << name << " differs from the generator's output (rerun catalogue-gen data): "
            << firstDifference(generated, committed);
    }
}

TEST(CatalogueGen, OutputIsDeterministic) {
    ASSERT_TRUE(fs::exists(kGenerator)) << kGenerator;
    TempDir a("a"), b("b");
    ASSERT_EQ(generateInto(a.path()), 0);
    ASSERT_EQ(generateInto(b.path()), 0);
    for (const char* name : {"coordinates.txt", "faces.txt"})
        EXPECT_TRUE(readAll(a.path() / name) == readAll(b.path() / name)) << name;
}

TEST(CatalogueGen, OverwritesExistingFiles) {
    ASSERT_TRUE(fs::exists(kGenerator)) << kGenerator;
    TempDir out("overwrite");
    {
        std::ofstream(out.path() / "coordinates.txt") << "stale\n";
        std::ofstream(out.path() / "faces.txt") << "stale content that is longer than nothing\n";
    }
    ASSERT_EQ(generateInto(out.path()), 0);
    for (const char* name : {"coordinates.txt", "faces.txt"}) {
        const std::string s = readAll(out.path() / name);
        EXPECT_EQ(s.rfind("[1]\n", 0), 0u) << name;
        EXPECT_EQ(s.substr(s.size() - 4), "[#]\n") << name;
    }
}

// The generator's own checks of its helpers: number format, raw face bytes, header avoidance, face
// reordering for the dual-boundary property, display orientation, snub dodecahedron, block ids.
TEST(CatalogueGen, SelfTestPasses) {
    ASSERT_TRUE(fs::exists(kGenerator)) << kGenerator;
    EXPECT_EQ(run(" --self-test"), 0) << "run catalogue-gen --self-test for details";
}

TEST(CatalogueGen, RefusesAWrongCommandLine) {
    ASSERT_TRUE(fs::exists(kGenerator)) << kGenerator;
    EXPECT_NE(run(""), 0);
    EXPECT_NE(run(" a b"), 0);
    EXPECT_NE(run(" /nonexistent-kesmora-folder/sub"), 0);
}

} // namespace
