// Reading the catalogue tables: line splitting, look-ups, block reading and number conversion.
#include "catalogue/catalogueerror.h"
#include "catalogue/latin1.h"
#include "catalogue/tables.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <algorithm>
#include <vector>

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

// Records "[26" and "[27" of category 0 as the catalogue format quotes them, and the labels and
// number lines of every parameter block among those the format allows.
TEST(TableReading, ShippedRecordsAndParameterLabels) {
    const Table cat = readTableFile(std::filesystem::path(KESMORA_DATA_DIR) / "catalogue.txt");
    const auto& l = cat.lines;
    const auto at = [&](const std::string& line) {
        return std::find(l.begin(), l.end(), line) - l.begin();
    };
    const std::size_t r27 = static_cast<std::size_t>(at("[27"));
    ASSERT_LT(r27 + 12, l.size());
    const std::vector<std::string> expected{"[27",     "10111000", "[26",       "11111000", "#2",
                                            "53",      "Kante a",  "1",         "H\xF6he h", "2",
                                            "K",       "0,5",      "y1 =",      "-2",       "[25"};
    EXPECT_EQ(std::vector<std::string>(l.begin() + static_cast<long>(r27),
                                       l.begin() + static_cast<long>(r27 + expected.size())),
              expected);
    const std::set<std::string> labels{"Kante a", "H\xF6he h", "K",       "x1 =",        "x2 =",
                                       "y1 =",    "Kante b",   "Kante c", "kl. Kante c", "H\xF6he",
                                       "W\xFCrfelkante", "Kantenl\xE4nge a"};
    const std::set<std::string> numbers{"53", "29", "76", "27", "100", "0"};
    int blocks = 0;
    for (std::size_t i = 0; i + 9 < l.size(); ++i) {
        if (l[i] != "#2") continue;
        ++blocks;
        EXPECT_TRUE(numbers.count(l[i + 1])) << "line " << i + 2 << ": " << l[i + 1];
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_TRUE(labels.count(l[i + 2 + 2 * k]))
                << "line " << i + 3 + 2 * k << ": " << l[i + 2 + 2 * k];
    }
    EXPECT_GT(blocks, 30);
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
    CoordinateTriple p = ParseCoordinateLine("0 0 1.732051");
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

// A German desktop's locale reads "1.5" as 1 and "0,5" as 0 through strtod; the tables' numbers
// are the same under every locale.
TEST(Numbers, TheSameUnderTheGermanLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "de_DE.UTF-8 is not installed (scripts/setup.sh generates it)";
    const auto parsed = ParseNumber("0,5");
    const auto point = ParseNumber("-2.75e1");
    const auto plain = convertNumber("+1.414214");
    const auto comma = convertNumber("1,5");
    const CoordinateTriple p = ParseCoordinateLine("0 0 1.732051");
    const CoordinateTriple q = ParseCoordinateLine("-0.8164966 1.414214 -0.5773503");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(parsed, 0.5);
    EXPECT_EQ(point, -27.5);
    EXPECT_EQ(plain, 1.414214);
    EXPECT_FALSE(comma); // a comma is a decimal point only for ParseNumber
    EXPECT_EQ(p.z, 1.732051);
    EXPECT_EQ(q.x, -0.8164966);
    EXPECT_EQ(q.y, 1.414214);
    EXPECT_EQ(q.z, -0.5773503);
}

// Subnormal numbers are numbers; what lies below them is zero, what lies beyond the largest double
// is refused.
TEST(Numbers, TinyAndHugeAtTheEndsOfTheDoubleRange) {
    const auto tiny = convertNumber("1e-320");
    ASSERT_TRUE(tiny);
    EXPECT_GT(*tiny, 0.0);
    EXPECT_NEAR(*tiny / 1e-320, 1.0, 1e-3);
    EXPECT_EQ(convertNumber("-4.9e-324"), -std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(convertNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
    for (const char* zero : {"1e-400", "2.4e-324", "100000e-329", "0.0001e-321", "1e-99999999999999999999"}) {
        const auto v = convertNumber(zero);
        ASSERT_TRUE(v) << zero;
        EXPECT_EQ(*v, 0.0) << zero;
        EXPECT_FALSE(std::signbit(*v)) << zero;
    }
    const auto negativeZero = convertNumber("-1e-400");
    ASSERT_TRUE(negativeZero);
    EXPECT_TRUE(std::signbit(*negativeZero));
    for (const char* huge : {"1e400", "1.8e308", "1000e306", "0.01e311", "-1e99999999999999999999"})
        EXPECT_FALSE(convertNumber(huge)) << huge;
    EXPECT_EQ(convertNumber("0.001e311"), 1e308);
    EXPECT_EQ(convertNumber("0e99999"), 0.0);
    // The grammar stays as strict as it was.
    for (const char* bad : {"0x10", "1e", ".", "-", "1.5f", "1..5", "--1", "1e+-2", " 1 ", "\t1"})
        EXPECT_FALSE(convertNumber(bad)) << bad;
    EXPECT_EQ(convertNumber(" .5"), 0.5);
    EXPECT_EQ(convertNumber("5."), 5.0);
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

namespace {
// The error a table of the given contents gives when loaded, empty when it loads.
struct LoadError {
    std::string file;
    int line = 0;
    std::string what;
};
LoadError loadError(const std::string& coords, const std::string& faces, const std::string& excluded,
                    const std::string& catalogue) {
    try {
        tablesFromContents(coords, faces, excluded, catalogue);
        return {};
    } catch (const CatalogueError& e) {
        return {e.file(), e.line(), e.what()};
    }
}
} // namespace

TEST(TableReading, FilesInAnotherEncodingOrWithOtherLineEndsAreNamed) {
    const std::string coords = "[1]\n1\n0 0 1\n[#]\n";
    const std::string faces = "[1]\n1\n012\n[#]\n";
    const std::string catalogue = "{0\n[\nTetraeder\nHexaeder, W\xFC"
                                  "rfel\n[0\n1\n[#]\n";
    auto withCatalogue = [&](const std::string& c) { return loadError(coords, faces, "", c); };
    auto withExcluded = [&](const std::string& e) { return loadError(coords, faces, e, catalogue); };

    // Latin-1 as shipped, and ASCII, load; so do CR LF line ends.
    EXPECT_EQ(withCatalogue(catalogue).what, "");
    EXPECT_EQ(withExcluded("Torus\nsechs W\xFC"
                           "rfel\n")
                  .what,
              "");
    EXPECT_EQ(withCatalogue("{0\r\n[\r\nTetraeder\r\n[#]\r\n").what, "");
    // Face lines are vertex codes: bytes that happen to spell UTF-8 ("ü", "€") are not text.
    EXPECT_EQ(loadError(coords, "[1]\n2\n0\xC3\xBC\n\xE2\x82\xAC\n[#]\n", "", catalogue).what, "");
    // A Latin-1 name next to bytes that look like UTF-8 is Latin-1 ("Ã¼" is two letters).
    EXPECT_EQ(withExcluded("\xC3\xBC\nW\xFC"
                           "rfel\n")
                  .what,
              "");
    // Overlong forms and surrogates are not UTF-8 either.
    EXPECT_EQ(withExcluded("\xC0\xBC\n").what, "");
    EXPECT_EQ(withExcluded("\xED\xA0\x80\n").what, "");

    LoadError e = withCatalogue("{0\n[\nTetraeder\nHexaeder, W\xC3\xBCrfel\n[#]\n");
    EXPECT_EQ(e.file, "catalogue.txt");
    EXPECT_EQ(e.line, 4);
    EXPECT_NE(e.what.find("ist UTF-8-kodiert, erwartet wird ISO 8859-1"), std::string::npos) << e.what;
    e = withExcluded("Torus\n\xF0\x9F\x98\x80\n");
    EXPECT_EQ(e.file, "excluded.txt");
    EXPECT_EQ(e.line, 2);
    EXPECT_NE(e.what.find("UTF-8"), std::string::npos) << e.what;

    for (const std::string mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
        e = loadError(mark + coords, faces, "", catalogue);
        EXPECT_EQ(e.file, "coordinates.txt");
        EXPECT_EQ(e.line, 1);
        EXPECT_NE(e.what.find("beginnt mit einer Byte-Order-Mark"), std::string::npos) << e.what;
    }
    e = loadError(coords, "\xEF\xBB\xBF" + faces, "", catalogue);
    EXPECT_EQ(e.file, "faces.txt");

    e = loadError(coords, "[1]\r1\r012\r[#]\r", "", catalogue);
    EXPECT_EQ(e.file, "faces.txt");
    EXPECT_EQ(e.line, 0);
    EXPECT_NE(e.what.find("hat nur CR als Zeilenende"), std::string::npos) << e.what;
    e = withExcluded("Torus\nWeg\rNoch einer\r");
    EXPECT_EQ(e.file, "excluded.txt");
    EXPECT_EQ(e.line, 2);
    EXPECT_NE(e.what.find("CR ohne folgendes LF"), std::string::npos) << e.what;
}

TEST(Blocks, ABlockTwiceIsReportedWithBothLinesWhenRead) {
    const auto t = facesOnly("[1]\n1\n012\n[2]\n1\n012\n[1]\n1\n013\n[#]\n");
    EXPECT_EQ(readBlock(t.faceTable, t.faceIndex, 2).line(0), "012"); // the others still read
    try {
        readBlock(t.faceTable, t.faceIndex, 1);
        FAIL() << "no error for block [1] twice";
    } catch (const CatalogueError& e) {
        EXPECT_EQ(e.file(), "faces.txt");
        EXPECT_EQ(e.block(), "[1]");
        EXPECT_EQ(e.line(), 7);
        EXPECT_NE(std::string(e.what()).find("kommt zweimal vor, in Zeile 1 und in Zeile 7"),
                  std::string::npos)
            << e.what();
    }
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

// Names and words of unknown encoding, as files and the file system give them: well-formed UTF-8
// stays, every control character and every byte that is no UTF-8 is shown as \xNN, so nothing is
// lost and nothing acts on a terminal; a word that is no UTF-8 is read as Latin-1.
TEST(Text, NamesShownEscapedAndWordsReadAsLatin1WhereTheyAreNoUtf8) {
    using kesmora::escapedForDisplay;
    using kesmora::utf8OrLatin1;
    EXPECT_EQ(escapedForDisplay("Würfel 🎲.off"), "Würfel 🎲.off");
    EXPECT_EQ(escapedForDisplay("a\x1B[31m\tb\x7F"), "a\\x1B[31m\\x09b\\x7F");
    EXPECT_EQ(escapedForDisplay("\xC2\x85|\xC2\xA0"), "\\xC2\\x85|\xC2\xA0"); // C1 NEL escaped, NBSP kept
    EXPECT_EQ(escapedForDisplay("w\xFCrfel"), "w\\xFCrfel");
    EXPECT_EQ(escapedForDisplay("\xC0\xAF"), "\\xC0\\xAF");          // overlong slash
    EXPECT_EQ(escapedForDisplay("\xED\xA0\x80"), "\\xED\\xA0\\x80"); // a surrogate
    EXPECT_EQ(escapedForDisplay("ab\xE2\x82"), "ab\\xE2\\x82");      // cut off at the end
    EXPECT_EQ(escapedForDisplay(std::string("a\0b", 3)), "a\\x00b");
    EXPECT_EQ(escapedForDisplay(""), "");

    EXPECT_EQ(utf8OrLatin1("Würfel"), "Würfel");
    EXPECT_EQ(utf8OrLatin1("W\xFCrfel"), "Würfel");
    // One stray byte makes the whole word Latin-1, its UTF-8-looking pairs included.
    EXPECT_EQ(utf8OrLatin1("\xC3\xA4\xFF"), "Ã¤ÿ");
}
