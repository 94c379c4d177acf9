// Catalogue tables: reading, indexing and number conversion.
#include "tables.h"

#include "catalogueerror.h"
#include "latin1.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kesmora {

namespace {

unsigned char foldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32); // Latin-1 capitals
    return c;
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(foldCase(static_cast<unsigned char>(c)));
    return out;
}

bool looksLikeHeader(const std::string& line) {
    if (line.size() < 3 || line.front() != '[' || line.back() != ']') return false;
    std::size_t i = 1;
    if (line[i] == '-') ++i;
    if (i >= line.size() - 1) return false;
    for (; i < line.size() - 1; ++i)
        if (line[i] < '0' || line[i] > '9') return false;
    return true;
}

// A decimal integer, optionally signed, nothing else.
std::optional<long long> parseCount(const std::string& s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    if (i == s.size() || s.size() - i > 9) return std::nullopt;
    for (std::size_t k = i; k < s.size(); ++k)
        if (s[k] < '0' || s[k] > '9') return std::nullopt;
    return std::stoll(s);
}

bool isBlockBoundary(const Table& t, int line) {
    const int n = static_cast<int>(t.lines.size());
    if (line >= n) return true;
    const std::string& s = t.lines[static_cast<std::size_t>(line)];
    return s.empty() || s == "[#]" || looksLikeHeader(s);
}

int lineAt(std::string_view bytes, std::size_t at) {
    return static_cast<int>(
               std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at), '\n')) +
           1;
}

// Files saved by another editor or on another system read as nonsense without complaint: a
// byte-order mark glues itself to the first header, CR-only line ends make one long line, and a
// UTF-8 name never matches its Latin-1 spelling. Each would end in a missing block or a missing
// name far from its cause, so the file itself is named. Face lines are raw bytes (vertex codes up to
// 0xFF), so only the names tables are tested for UTF-8.
void checkTextForm(std::string_view bytes, const std::string& fileName, const std::string& shown) {
    struct Mark {
        std::string_view bytes;
        const char* encoding;
    };
    static constexpr Mark kMarks[] = {{"\xEF\xBB\xBF", "UTF-8"},
                                      {{"\x00\x00\xFE\xFF", 4}, "UTF-32"},
                                      {{"\xFF\xFE\x00\x00", 4}, "UTF-32"},
                                      {"\xFE\xFF", "UTF-16"},
                                      {"\xFF\xFE", "UTF-16"}};
    for (const Mark& mark : kMarks)
        if (bytes.substr(0, mark.bytes.size()) == mark.bytes)
            throw CatalogueError(fileName, "", 1,
                                 "Die Katalogdatei " + shown + " beginnt mit einer Byte-Order-Mark (" +
                                     mark.encoding +
                                     "); erwartet wird ISO 8859-1 ohne Byte-Order-Mark. Bitte die Datei "
                                     "ohne Byte-Order-Mark speichern");

    const std::size_t loneCr = [&] {
        for (std::size_t i = bytes.find('\r'); i != std::string_view::npos; i = bytes.find('\r', i + 1))
            if (i + 1 == bytes.size() || bytes[i + 1] != '\n') return i;
        return std::string_view::npos;
    }();
    if (loneCr != std::string_view::npos) {
        if (bytes.find('\n') == std::string_view::npos)
            throw CatalogueError(fileName, "", 0,
                                 "Die Katalogdatei " + shown +
                                     " hat nur CR als Zeilenende; erwartet werden LF oder CR LF. Bitte die "
                                     "Datei mit LF- oder CR-LF-Zeilenenden speichern");
        throw CatalogueError(fileName, "", lineAt(bytes, loneCr),
                             "Die Katalogdatei " + shown +
                                 " enthält ein CR ohne folgendes LF; Zeilen enden mit LF oder CR LF");
    }

    if (fileName != kCatalogueFile && fileName != kExcludedFile) return;
    std::size_t firstSequence = std::string_view::npos;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) continue;
        const std::size_t length = utf8SequenceAt(bytes, i);
        if (length == 0) return; // not UTF-8: a Latin-1 letter such as 0xFC for "ü"
        if (firstSequence == std::string_view::npos) firstSequence = i;
        i += length - 1;
    }
    if (firstSequence != std::string_view::npos)
        throw CatalogueError(fileName, "", lineAt(bytes, firstSequence),
                             "Die Katalogdatei " + shown +
                                 " ist UTF-8-kodiert, erwartet wird ISO 8859-1 (Latin-1). Bitte die Datei "
                                 "in ISO 8859-1 speichern");
}

Table tableOf(const std::string& fileName, const std::string& shown, std::string_view bytes) {
    checkTextForm(bytes, fileName, shown);
    return Table{fileName, splitLines(bytes)};
}

} // namespace

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!last && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

Table readTableFile(const std::filesystem::path& path) {
    // A folder in place of the file opens without complaint and reads as empty, which would pass
    // for an empty table; only a plain file is a table.
    std::error_code ec;
    std::ifstream in;
    if (std::filesystem::is_regular_file(path, ec)) in.open(path, std::ios::binary);
    if (!in.is_open())
        throw CatalogueError(path.filename().string(), "", 0,
                             "Die Katalogdatei " + path.string() + " fehlt oder kann nicht gelesen werden");
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        throw CatalogueError(path.filename().string(), "", 0,
                             "Die Katalogdatei " + path.string() + " kann nicht gelesen werden");
    return tableOf(path.filename().string(), path.string(), buffer.str());
}

BlockIndex indexBlocks(const Table& t) {
    BlockIndex index;
    const int n = static_cast<int>(t.lines.size());
    int p = 0;
    // The first block of a header is the one read; a second sound block of the same header is
    // remembered so that reading the block reports both instead of silently using one. A second
    // header inside a broken block may be a face line that reads like one, so it is not counted.
    auto remember = [&](const std::string& header, BlockEntry entry) {
        const auto [it, added] = index.byHeader.emplace(lowered(header), entry);
        if (!added && entry.error.empty() && it->second.duplicateLine < 0)
            it->second.duplicateLine = entry.headerLine;
    };
    while (p < n) {
        const std::string& line = t.lines[static_cast<std::size_t>(p)];
        if (line.empty()) {
            ++p;
            continue;
        }
        if (line == "[#]") break;
        if (!looksLikeHeader(line)) { // lost track after damage: look for the next header
            ++p;
            continue;
        }
        BlockEntry entry{p, 0, {}};
        const std::string where = "Zeile " + std::to_string(p + 2);
        const auto count = p + 1 < n ? parseCount(t.lines[static_cast<std::size_t>(p + 1)]) : std::nullopt;
        if (!count) {
            entry.error = "Die Anzahlzeile des Blocks ist keine ganze Zahl";
        } else if (*count <= 0) {
            entry.error = "Die Anzahl des Blocks muss größer als 0 sein";
        } else if (p + 2 + *count > n) {
            entry.error = "Der Block reicht über das Ende der Datei hinaus";
        } else if (!isBlockBoundary(t, p + 2 + static_cast<int>(*count))) {
            entry.error = "Die Anzahl passt nicht zum Block: nach " + std::to_string(*count) +
                          " Zeilen folgt kein neuer Block";
        }
        if (entry.error.empty()) {
            entry.count = static_cast<int>(*count);
            remember(line, entry);
            p += 2 + entry.count;
        } else {
            remember(line, entry);
            p += 1;
        }
    }
    return index;
}

CatalogueTables LoadCatalogueTables(const std::filesystem::path& dataDir) {
    CatalogueTables t;
    t.coordTable = readTableFile(dataDir / kCoordFile);
    t.faceTable = readTableFile(dataDir / kFaceFile);
    t.excludedNames = readTableFile(dataDir / kExcludedFile);
    t.catalogueTable = readTableFile(dataDir / kCatalogueFile);
    t.coordIndex = indexBlocks(t.coordTable);
    t.faceIndex = indexBlocks(t.faceTable);
    t.excludedInCatalogue = excludedCatalogueLines(t.excludedNames, t.catalogueTable);
    return t;
}

CatalogueTables tablesFromContents(std::string_view coords, std::string_view faces, std::string_view excluded,
                                   std::string_view catalogue) {
    CatalogueTables t;
    t.coordTable = tableOf(kCoordFile, kCoordFile, coords);
    t.faceTable = tableOf(kFaceFile, kFaceFile, faces);
    t.excludedNames = tableOf(kExcludedFile, kExcludedFile, excluded);
    t.catalogueTable = tableOf(kCatalogueFile, kCatalogueFile, catalogue);
    t.coordIndex = indexBlocks(t.coordTable);
    t.faceIndex = indexBlocks(t.faceTable);
    t.excludedInCatalogue = excludedCatalogueLines(t.excludedNames, t.catalogueTable);
    return t;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(static_cast<unsigned char>(a[i])) != foldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

int FindLine(const Table& table, std::string_view text) {
    for (std::size_t i = 0; i < table.lines.size(); ++i)
        if (equalsIgnoreCase(table.lines[i], text)) return static_cast<int>(i);
    return -1;
}

std::unordered_set<std::string> excludedCatalogueLines(const Table& excluded, const Table& catalogue) {
    // Folding is per byte and keeps the length, so equal folded texts are exactly the pairs
    // equalsIgnoreCase accepts. Only the catalogue's lines can ever be asked for; the set of
    // them is small, and a huge excluded.txt is read through once without being copied.
    std::unordered_set<std::string> wanted;
    for (const std::string& line : catalogue.lines)
        wanted.insert(lowered(line));
    std::unordered_set<std::string> found;
    std::string folded;
    for (const std::string& line : excluded.lines) {
        folded.assign(line);
        for (char& c : folded)
            c = static_cast<char>(foldCase(static_cast<unsigned char>(c)));
        if (wanted.count(folded) != 0) found.insert(folded);
    }
    return found;
}

bool isExcluded(const CatalogueTables& tables, std::string_view catalogueLine) {
    return tables.excludedInCatalogue.count(lowered(catalogueLine)) != 0;
}

std::string CommaToPoint(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c == ',') c = '.';
    return s;
}

namespace {

// For a number that does not fit a double (its text already follows the grammar): whether it is
// too small rather than too large, judged by the decimal exponent of its first non-zero digit.
bool belowDoubleRange(std::string_view s) {
    if (s.front() == '-') s.remove_prefix(1);
    const std::size_t e = std::min(s.find_first_of("eE"), s.size());
    const std::string_view mantissa = s.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::string_view whole = mantissa.substr(0, point);
    const std::string_view fraction = mantissa.substr(std::min(point + 1, mantissa.size()));
    long long magnitude = 0;
    if (const std::size_t first = whole.find_first_not_of('0'); first != std::string_view::npos)
        magnitude = static_cast<long long>(whole.size() - first) - 1;
    else
        magnitude = -static_cast<long long>(std::min(fraction.find_first_not_of('0'), fraction.size())) - 1;
    long long exponent = 0;
    std::string_view digits = s.substr(std::min(e + 1, s.size()));
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
    for (char c : digits)
        exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL); // far beyond any double
    return magnitude + (negative ? -exponent : exponent) < 0;
}

} // namespace

std::optional<double> convertNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    const std::size_t start = i;
    auto digits = [&] {
        const std::size_t from = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        return i > from;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool any = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        any = digits() || any;
    }
    if (!any) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (!digits()) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    // from_chars reads the C grammar whatever the locale; strtod would follow LC_NUMERIC, which the
    // Qt application object takes from the environment, and read "1.5" as 1 on a German desktop.
    // from_chars takes no plus sign.
    std::size_t from = start;
    if (s[from] == '+') ++from;
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data() + from, s.data() + s.size(), value);
    if (end != s.data() + s.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Beyond the largest double is refused; below the smallest subnormal is zero, as strtod
        // has it.
        if (!belowDoubleRange(s.substr(from))) return std::nullopt;
        value = s[from] == '-' ? -0.0 : 0.0;
    } else if (ec != std::errc{} || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseNumber(std::string_view text) {
    return convertNumber(CommaToPoint(text));
}

CoordinateTriple ParseCoordinateLine(std::string_view line) {
    const std::size_t first = line.find(' ');
    std::string_view x, y, z = line; // no space at all: the last field takes the whole line
    if (first != std::string_view::npos) {
        x = line.substr(0, first);
        const std::size_t second = line.find(' ', first + 1);
        if (second != std::string_view::npos) {
            y = line.substr(first + 1, second - first - 1);
            z = line.substr(second + 1);
        } else {
            z = line.substr(first + 1); // fewer than two spaces: the middle field is empty
        }
    }
    return {convertNumber(x).value_or(0.0), convertNumber(y).value_or(0.0), convertNumber(z).value_or(0.0)};
}

BlockView readBlock(const Table& table, const BlockIndex& index, int id) {
    const std::string header = "[" + std::to_string(id) + "]";
    const auto it = index.byHeader.find(header);
    if (it == index.byHeader.end())
        throw CatalogueError(table.fileName, header, 0, "Der Block " + header + " wurde nicht gefunden");
    const BlockEntry& e = it->second;
    if (e.duplicateLine >= 0)
        throw CatalogueError(table.fileName, header, e.duplicateLine + 1,
                             "Der Block " + header + " kommt zweimal vor, in Zeile " +
                                 std::to_string(e.headerLine + 1) + " und in Zeile " +
                                 std::to_string(e.duplicateLine + 1));
    if (!e.error.empty()) throw CatalogueError(table.fileName, header, e.headerLine + 2, e.error);
    return BlockView{&table, e.headerLine + 2, e.count};
}

} // namespace kesmora
