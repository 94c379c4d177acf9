// Body selection from the catalogue table.
#include "selection.h"

#include "catalogueerror.h"

#include <algorithm>

namespace kesmora {

namespace {

// A sort key of (class, character) pairs: 0 blanks and punctuation, 1 digits, 2 letters.
std::vector<std::pair<int, int>> sortKey(const std::string& s) {
    std::vector<std::pair<int, int>> key;
    for (unsigned char c : s) {
        if (c == '-') continue;
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
        switch (c) {
        case 0xE4:
        case 0xC4:
            c = 'a';
            break; // ä Ä
        case 0xF6:
        case 0xD6:
            c = 'o';
            break; // ö Ö
        case 0xFC:
        case 0xDC:
            c = 'u';
            break; // ü Ü
        case 0xDF:
            key.push_back({2, 's'});
            c = 's';
            break; // ß
        default:
            break;
        }
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'a' && c <= 'z') || c >= 0xC0;
        key.push_back({letter ? 2 : digit ? 1 : 0, c});
    }
    return key;
}

int sectionLine(const CatalogueTables& tables, Category category) {
    const std::string header = sectionHeader(category);
    const int at = FindLine(tables.catalogueTable, header);
    if (at < 0)
        throw CatalogueError(kCatalogueFile, header, 0, "Der Abschnitt " + header + " fehlt im Katalog");
    return at;
}

const std::string& lineAt(const CatalogueTables& tables, int i, const std::string& section) {
    const auto& lines = tables.catalogueTable.lines;
    if (i < 0 || i >= static_cast<int>(lines.size()))
        throw CatalogueError(kCatalogueFile, section, static_cast<int>(lines.size()),
                             "Der Abschnitt " + section + " endet nicht mit \"[#]\"");
    return lines[static_cast<std::size_t>(i)];
}

bool startsRecord(const std::string& line) {
    return !line.empty() && line[0] == '[';
}

// The first name line of a section, after its "{n" header and the "[" line.
int firstNameLine(const CatalogueTables& tables, Category category, const std::string& section) {
    const int start = sectionLine(tables, category);
    if (lineAt(tables, start + 1, section) != "[")
        throw CatalogueError(kCatalogueFile, section, start + 2,
                             "Nach dem Abschnittskopf " + section + " fehlt die Zeile \"[\"");
    return start + 2;
}

// A section that runs into the next one has lost its end line.
void checkNotNextSection(const std::string& line, const std::string& section, int i) {
    if (!line.empty() && line[0] == '{')
        throw CatalogueError(kCatalogueFile, section, i + 1,
                             "Der Abschnitt " + section + " endet nicht mit \"[#]\"");
}

} // namespace

std::string sectionHeader(Category category) {
    return "{" + std::to_string(sectionNumber(category));
}

bool bodyListLess(const std::string& a, const std::string& b) {
    const auto ka = sortKey(a), kb = sortKey(b);
    if (ka != kb) return ka < kb;
    return a < b;
}

std::vector<std::string> sectionNames(const CatalogueTables& tables, Category category) {
    const std::string section = sectionHeader(category);
    std::vector<std::string> names;
    for (int i = firstNameLine(tables, category, section);; ++i) {
        const std::string& line = lineAt(tables, i, section);
        checkNotNextSection(line, section, i);
        if (startsRecord(line)) break;
        names.push_back(line);
    }
    return names;
}

std::vector<std::string> categoryNames(const CatalogueTables& tables, Category category, HiddenBodies hidden) {
    std::vector<std::string> names;
    for (std::string& line : sectionNames(tables, category))
        if (!line.empty() && (hidden == HiddenBodies::Shown || !isExcluded(tables, line)))
            names.push_back(std::move(line));
    return names;
}

std::vector<std::string> fillBodyList(const CatalogueTables& tables, Category category, HiddenBodies hidden) {
    std::vector<std::string> names = categoryNames(tables, category, hidden);
    std::stable_sort(names.begin(), names.end(), bodyListLess);
    return names;
}

void neuwert(Selection& sel, const CatalogueTables& tables, const std::string& name) {
    const std::string section = sectionHeader(sel.currentCategory);
    const int first = firstNameLine(tables, sel.currentCategory, section);

    // The body's position among the section's names, excluded names counted too.
    int index = 0;
    for (int i = first;; ++i, ++index) {
        const std::string& line = lineAt(tables, i, section);
        checkNotNextSection(line, section, i);
        if (startsRecord(line))
            throw CatalogueError(kCatalogueFile, section, i + 1,
                                 "Der Körper \"" + latin1ToUtf8(name) + "\" fehlt im Abschnitt");
        if (line == name) break;
    }
    sel.bodyIndex = index;

    // Its record: where the section has none per body, its one record "[0" serves all.
    const std::string key = "[" + std::to_string(hasRecordPerBody(sel.currentCategory) ? index : 0);
    int i = first - 1;
    for (;;) {
        const std::string& line = lineAt(tables, i, section);
        checkNotNextSection(line, section, i);
        if (line == key) break;
        if (line == "[#]") return; // no record: the parameters stay as they were
        ++i;
    }
    ++i; // the flag line is not interpreted
    for (++i;;) {
        const std::string& line = lineAt(tables, i, section);
        checkNotNextSection(line, section, i);
        if (startsRecord(line)) return;
        if (line == "#2") {
            std::array<double, 4> values{};
            for (int k = 0; k < 4; ++k) {
                const int at = i + 3 + 2 * k;
                const std::string& value = lineAt(tables, at, section);
                const auto number = ParseNumber(value);
                if (!number)
                    throw CatalogueError(kCatalogueFile, key, at + 1,
                                         "Der Parameterwert \"" + latin1ToUtf8(value) + "\" ist keine Zahl");
                values[static_cast<std::size_t>(k)] = *number;
            }
            sel.bodyParams = values;
            i += 10;
            continue;
        }
        ++i;
    }
}

} // namespace kesmora
