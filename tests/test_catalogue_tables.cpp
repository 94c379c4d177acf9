// Reading the catalogue tables: line splitting, look-ups, block reading and number conversion.
#include "catalogue/catalogueerror.h"
#include "catalogue/tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kesmora;

TEST(TableReading, KeepsEveryByteAndSplitsAtLineFeedsOnly) {
    const std::string face = std::string("01") + '\x85' + '\xA0' + "2";
    const auto lines = splitLines("[7]\r\n1\n" + face + "\r\n[#]\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "[7]");
    EXPECT_EQ(lines[2], face);
    EXPECT_EQ(lines[2].size(), 5u);
    EXPECT_EQ(lines[3], "[#]");
}

TEST(TableReading, MissingFileNamesTheFile) {
    try {
        readTableFile(std::filesystem::temp_directory_path() / "kesmora-no-such-dir" / "faces.txt");
        FAIL() << "no error for a missing file";
    } catch (const CatalogueError& e) {
        EXPECT_EQ(e.file(), "faces.txt");
        EXPECT_NE(std::string(e.what()).find("kesmora-no-such-dir"), std::string::npos);
    }
}

TEST(TableReading, ShippedCatalogueFilesLoad) {
    const Table cat = readTableFile(std::filesystem::path(KESMORA_DATA_DIR) / "catalogue.txt");
    EXPECT_EQ(cat.lines.size(), 847u);
    const Table ex = readTableFile(std::filesystem::path(KESMORA_DATA_DIR) / "excluded.txt");
    EXPECT_EQ(ex.lines.size(), 40u);
    for (const auto& l : cat.lines)
        EXPECT_FALSE(l.empty());
}

TEST(FindLineTest, CaseInsensitiveFirstMatch) {
    Table t{"excluded.txt", {"Torus", "tetraederstern", "Tetraederstern", "K\xC4SE"}};
    EXPECT_EQ(FindLine(t, "TETRAEDERSTERN"), 1);
    EXPECT_EQ(FindLine(t, "tetraederstern"), 1);
    EXPECT_EQ(FindLine(t, "k\xE4se"), 3); // Latin-1 umlauts fold too
    EXPECT_EQ(FindLine(t, "Tetraeder"), -1);
}

TEST(Numbers, CommaAndPoint) {
    EXPECT_EQ(ParseNumber("0,5"), 0.5);
    EXPECT_EQ(ParseNumber("0.5"), 0.5);
    EXPECT_EQ(ParseNumber("-2,5"), -2.5);
    EXPECT_EQ(ParseNumber("  +1.5e1"), 15.0);
    EXPECT_EQ(CommaToPoint("1,2,3"), "1.2.3");
    EXPECT_FALSE(ParseNumber("abc"));
    EXPECT_FALSE(ParseNumber("1.5 "));
    EXPECT_FALSE(ParseNumber(""));
    EXPECT_FALSE(ParseNumber("nan"));
    EXPECT_FALSE(ParseNumber("inf"));
    EXPECT_FALSE(ParseNumber("1e999"));
}

TEST(Numbers, CoordinateLines) {
    Point3D p = ParseCoordinateLine("0 0 1.732051");
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_DOUBLE_EQ(p.z, 1.732051);
    p = ParseCoordinateLine("-0.8164966 1.414214 -0.5773503");
    EXPECT_DOUBLE_EQ(p.x, -0.8164966);
    EXPECT_DOUBLE_EQ(p.y, 1.414214);
    EXPECT_DOUBLE_EQ(p.z, -0.5773503);
    // A decimal comma is not a number in a coordinate line; only that field becomes 0.
    p = ParseCoordinateLine("1,5 2 3");
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 2.0);
    EXPECT_EQ(p.z, 3.0);
    // Fewer than two spaces: the middle field is empty, the last one takes the rest.
    p = ParseCoordinateLine("4 5");
    EXPECT_EQ(p.x, 4.0);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_EQ(p.z, 5.0);
    // A trailing blank spoils z; nan and inf are not numbers.
    p = ParseCoordinateLine("1 2 3 ");
    EXPECT_EQ(p.z, 0.0);
    p = ParseCoordinateLine("nan inf 1e308");
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.y, 0.0);
    EXPECT_EQ(p.z, 1e308);
}

namespace {
CatalogueTables facesOnly(const std::string& faces) {
    return tablesFromContents("[#]\n", faces, "", "{0\n[\n[#]\n");
}
} // namespace

TEST(Blocks, HeadersAreFoundAmongBlockStartsOnly) {
    // Vertices 43, 2, 0, 45 spell "[20]" inside block 1; the real block [20] comes later.
    const auto t = facesOnly("[1]\n2\n012\n[20]\n[20]\n1\n345\n[#]\n");
    const BlockView b = readBlock(t.faceTable, t.faceIndex, 20);
    EXPECT_EQ(b.count, 1);
    EXPECT_EQ(b.line(0), "345");
    EXPECT_EQ(b.fileLine(0), 7);
    EXPECT_EQ(readBlock(t.faceTable, t.faceIndex, 1).line(1), "[20]");
}

TEST(Blocks, HeaderOneDoesNotMatchTen) {
    const auto t = facesOnly("[10]\n1\n012\n[1]\n1\n013\n[#]\n");
    EXPECT_EQ(readBlock(t.faceTable, t.faceIndex, 1).line(0), "013");
    EXPECT_EQ(readBlock(t.faceTable, t.faceIndex, 10).line(0), "012");
}

TEST(Blocks, DamageIsReportedWithFileBlockAndLine) {
    struct Case {
        const char* faces;
        int id;
        int line;
    };
    const Case cases[] = {
        {"[1]\nvier\n012\n[#]\n", 1, 2},                // count not an integer
        {"[1]\n-1\n012\n[#]\n", 1, 2},                  // negative
        {"[1]\n0\n[2]\n1\n012\n[#]\n", 1, 2},           // zero
        {"[1]\n5\n012\n013\n", 1, 2},                   // runs past the end
        {"[1]\n3\n012\n[2]\n1\n013\n[#]\n", 1, 2},      // runs into the next block
        {"[1]\n1\n012\n013\n[2]\n1\n013\n[#]\n", 1, 2}, // too small: no header after it
        {"[1]\n1\n012\n[#]\n", 7, 0},                   // not there
        {"", 1, 0},                                     // empty table
    };
    for (const Case& c : cases) {
        const auto t = facesOnly(c.faces);
        try {
            readBlock(t.faceTable, t.faceIndex, c.id);
            ADD_FAILURE() << "no error for " << c.faces;
        } catch (const CatalogueError& e) {
            EXPECT_EQ(e.file(), "faces.txt") << c.faces;
            EXPECT_EQ(e.block(), "[" + std::to_string(c.id) + "]") << c.faces;
            EXPECT_EQ(e.line(), c.line) << c.faces;
        }
    }
}

TEST(Blocks, DamagedBlockDoesNotHideLaterBlocks) {
    const auto t = facesOnly("[1]\nx\n012\n[2]\n1\n013\n\n[3]\n1\n123\n[#]\n");
    EXPECT_THROW(readBlock(t.faceTable, t.faceIndex, 1), CatalogueError);
    EXPECT_EQ(readBlock(t.faceTable, t.faceIndex, 2).line(0), "013");
    EXPECT_EQ(readBlock(t.faceTable, t.faceIndex, 3).line(0), "123"); // past the blank line
}

// The body lists look excluded names up in a set made once; it must answer as FindLine does for
// every byte: ASCII and Latin-1 capitals fold, the multiplication sign and everything else do not.
TEST(FindLineTest, ExcludedSetAnswersAsFindLine) {
    std::string catalogue, excluded;
    for (int b = 1; b < 256; ++b) {
        if (b == '\n' || b == '\r') continue;
        const char c = static_cast<char>(b);
        catalogue += std::string("name ") + c + "\n";
        if (b < 0x80 && b % 3 == 0) excluded += std::string("NAME ") + c + "\n";
    }
    excluded += "NAME \xC4\nNAME \xD7\nNAME \xDF\nname \xDE\n";
    const CatalogueTables t = tablesFromContents("", "", excluded, catalogue);
    int hits = 0;
    for (const std::string& line : t.catalogueTable.lines) {
        EXPECT_EQ(isExcluded(t, line), FindLine(t.excludedNames, line) >= 0) << line;
        hits += isExcluded(t, line);
    }
    EXPECT_EQ(hits, 42 + 9 + 8 + 2 + 1 + 1 + 2); // letters fold both ways
    EXPECT_TRUE(isExcluded(t, "name b") && isExcluded(t, "name B")); // from "NAME B"
    EXPECT_TRUE(isExcluded(t, "name \xE4") && isExcluded(t, "name \xC4"));
    EXPECT_TRUE(isExcluded(t, "name \xD7"));
    EXPECT_FALSE(isExcluded(t, "name \xF7")); // the multiplication sign is no capital of division
    EXPECT_FALSE(isExcluded(t, "name \xFF")); // nor sharp s of y with diaeresis
    EXPECT_TRUE(isExcluded(t, "name \xFE"));
}
