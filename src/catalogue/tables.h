// The four catalogue tables: loading them from the data files, whole-line look-ups, block reading
// and the number conversions used on their lines.
#pragma once

#include "latin1.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kesmora {

// A table is a list of single-byte lines (Windows-1252), split at line feeds only.
struct Table {
    std::string fileName; // for messages, e.g. "faces.txt"
    std::vector<std::string> lines;
};

// Where a block starts, found by walking the table block by block, so that a content line that
// happens to read like a header is never taken for one.
struct BlockEntry {
    int headerLine = -1;
    int count = 0;
    std::string error;      // set when the block's count line is broken
    int duplicateLine = -1; // header line of a second sound block with the same header
};

struct BlockIndex {
    std::unordered_map<std::string, BlockEntry> byHeader; // key: lower-cased header text
};

struct CatalogueTables {
    Table coordTable;
    Table faceTable;
    Table excludedNames;
    Table catalogueTable;
    BlockIndex coordIndex;
    BlockIndex faceIndex;
    // The names of excludedNames that occur as lines of catalogueTable, case-folded: made in one
    // pass, so that a long excluded.txt does not cost a scan per listed name.
    std::unordered_set<std::string> excludedInCatalogue;
};

inline constexpr const char* kCoordFile = "coordinates.txt";
inline constexpr const char* kFaceFile = "faces.txt";
inline constexpr const char* kExcludedFile = "excluded.txt";
inline constexpr const char* kCatalogueFile = "catalogue.txt";

// Splits file contents into lines: at line feeds only, a carriage return before a line feed is
// dropped, every other byte (0x85 and 0xA0 included) is kept.
std::vector<std::string> splitLines(std::string_view bytes);

// Reads one table file; throws CatalogueError when it is missing or unreadable, or when it starts
// with a byte-order mark, ends its lines with CR alone, or (names tables) is UTF-8-encoded.
Table readTableFile(const std::filesystem::path& path);

// Builds the block index of a coordinate or face table.
BlockIndex indexBlocks(const Table& table);

// Loads the four tables from a data folder and indexes the two block tables.
CatalogueTables LoadCatalogueTables(const std::filesystem::path& dataDir);

// Builds tables from in-memory contents (tests, fuzzing), with the checks of readTableFile.
CatalogueTables tablesFromContents(std::string_view coords, std::string_view faces, std::string_view excluded,
                                   std::string_view catalogue);

// Case-insensitive equality of single-byte texts (ASCII and Latin-1 letters).
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// Index of the first line equal to text under case-insensitive comparison, or -1.
int FindLine(const Table& table, std::string_view text);

// The lines of `excluded` equal (as FindLine compares) to a line of `catalogue`, case-folded.
std::unordered_set<std::string> excludedCatalogueLines(const Table& excluded, const Table& catalogue);

// For a line of the catalogue table: FindLine(tables.excludedNames, line) >= 0, from the set.
bool isExcluded(const CatalogueTables& tables, std::string_view catalogueLine);

std::string CommaToPoint(std::string_view text);

// Strict conversion: optional leading spaces, sign, digits, optional fraction and exponent; the
// whole text must be used and the result finite. ParseNumber replaces commas first.
std::optional<double> convertNumber(std::string_view text);
std::optional<double> ParseNumber(std::string_view text);

// The three numbers of a coordinate line, as the table holds them; the build makes points of them.
struct CoordinateTriple {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// "x y z": fields split at the first two spaces; a field that does not convert gives 0.
CoordinateTriple ParseCoordinateLine(std::string_view line);

// The content lines of block "[id]" of a coordinate or face table, with their line numbers.
// Throws CatalogueError when the block is missing or its count line is broken.
struct BlockView {
    const Table* table = nullptr;
    int firstLine = 0; // index of the first content line
    int count = 0;
    const std::string& line(int i) const { return table->lines[static_cast<std::size_t>(firstLine + i)]; }
    int fileLine(int i) const { return firstLine + i + 1; }
};
BlockView readBlock(const Table& table, const BlockIndex& index, int id);

} // namespace kesmora
