// Matching names as they are typed.
#include "namematch.h"

#include "latin1.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace kesmora {

namespace {

// The code points of a UTF-8 text; a byte that starts no well-formed sequence stands for itself.
std::vector<char32_t> codePoints(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto byte = static_cast<unsigned char>(s[i]);
        const std::size_t n = byte < 0x80 ? 1 : utf8SequenceAt(s, i);
        if (n <= 1) {
            out.push_back(byte);
            ++i;
            continue;
        }
        char32_t c = byte & (n == 2 ? 0x1f : n == 3 ? 0x0f : 0x07);
        for (std::size_t k = 1; k < n; ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3f);
        out.push_back(c);
        i += n;
    }
    return out;
}

// A letter of Latin-1 written in plain lower-case ASCII, or nothing for a character that is not
// a letter or digit.
std::string folded(char32_t c) {
    if (c >= 'A' && c <= 'Z') return std::string(1, static_cast<char>(c - 'A' + 'a'));
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return std::string(1, static_cast<char>(c));
    switch (c) {
    case U'ä': case U'Ä': case U'æ': case U'Æ': return "ae";
    case U'ö': case U'Ö': case U'ø': case U'Ø': return "oe";
    case U'ü': case U'Ü': return "ue";
    case U'ß': return "ss";
    case U'à': case U'á': case U'â': case U'ã': case U'å': case U'À': case U'Á': case U'Â': case U'Ã': case U'Å':
        return "a";
    case U'ç': case U'Ç': return "c";
    case U'è': case U'é': case U'ê': case U'ë': case U'È': case U'É': case U'Ê': case U'Ë': return "e";
    case U'ì': case U'í': case U'î': case U'ï': case U'Ì': case U'Í': case U'Î': case U'Ï': return "i";
    case U'ñ': case U'Ñ': return "n";
    case U'ò': case U'ó': case U'ô': case U'õ': case U'Ò': case U'Ó': case U'Ô': case U'Õ': return "o";
    case U'ù': case U'ú': case U'û': case U'Ù': case U'Ú': case U'Û': return "u";
    case U'ý': case U'ÿ': case U'Ý': return "y";
    default: break;
    }
    return {};
}

// The parts of a name given in several: those between commas and those in brackets
// ("Dodecaedron simum (abgeschr.Dodekaeder)" has "Dodecaedron simum" and "abgeschr.Dodekaeder").
std::vector<std::string> partsOf(const std::string& utf8) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : utf8) {
        if (c == ',' || c == '(' || c == ')' || c == ';') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    std::vector<std::string> keys;
    for (const std::string& p : parts)
        if (std::string key = typedNameKey(p); !key.empty()) keys.push_back(std::move(key));
    return keys;
}

// The number of letters to insert, remove or change to make `a` into `b`.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::string typedNameKey(std::string_view utf8) {
    std::string key;
    bool gap = false;
    for (char32_t c : codePoints(utf8)) {
        const std::string letters = folded(c);
        if (letters.empty()) {
            gap = true;
            continue;
        }
        if (gap && !key.empty()) key += ' ';
        gap = false;
        // A number without its leading zeros: "Johnson Polyeder 6" is number 06.
        const bool digit = letters[0] >= '0' && letters[0] <= '9';
        const bool numberStarts = key.empty() || !(key.back() >= '0' && key.back() <= '9');
        const bool leadingZero = key.size() >= 1 && key.back() == '0' &&
                                 (key.size() == 1 || !(key[key.size() - 2] >= '0' && key[key.size() - 2] <= '9'));
        if (digit && !numberStarts && leadingZero) key.pop_back();
        key += letters;
    }
    return key;
}

NameMatch matchBodyName(const std::vector<std::string>& names, std::string_view typed) {
    NameMatch match;
    for (const std::string& name : names)
        if (name == utf8ToLatin1(typed) && latin1ToUtf8(name) == typed) match.found.push_back(name);
    if (!match.found.empty()) return match;

    const std::string key = typedNameKey(typed);
    if (key.empty()) return match;
    std::vector<std::string> whole, parts;
    for (const std::string& name : names) {
        const std::string utf8 = latin1ToUtf8(name);
        if (typedNameKey(utf8) == key) whole.push_back(name);
        const std::vector<std::string> keys = partsOf(utf8);
        if (keys.size() > 1 && std::find(keys.begin(), keys.end(), key) != keys.end()) parts.push_back(name);
    }
    match.found = !whole.empty() ? whole : parts;
    if (!match.found.empty()) return match;

    // The nearest names, by the letters changed against the whole name or its nearest part; only
    // those close enough to be a slip of the fingers. After them the names that hold what was
    // typed ("Dodekaeder" in "Pentagondodekaeder").
    const std::size_t slip = std::max<std::size_t>(2, key.size() / 3);
    std::vector<std::pair<std::size_t, std::string>> near;
    for (const std::string& name : names) {
        const std::string utf8 = latin1ToUtf8(name);
        const std::string whole = typedNameKey(utf8);
        std::size_t best = editDistance(key, whole);
        for (const std::string& part : partsOf(utf8))
            best = std::min(best, editDistance(key, part));
        if (best <= slip) near.emplace_back(best, name);
        else if (key.size() >= 3 && whole.find(key) != std::string::npos)
            near.emplace_back(slip + 1 + whole.size() - key.size(), name);
    }
    std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 0; i < near.size() && i < 3; ++i)
        match.suggestions.push_back(near[i].second);
    return match;
}

std::string categoryName(Category category) {
    switch (category) {
    case Category::Polyeder:
        return "Polyeder";
    case Category::Archimedean:
        return "Archimedische Körper";
    case Category::Johnson:
        return "Johnson Polyeder";
    }
    return {};
}

std::optional<Category> matchCategory(std::string_view typed) {
    for (Category c : kCategories)
        if (typed == std::to_string(sectionNumber(c))) return c;
    const std::string key = typedNameKey(typed);
    if (key.empty()) return std::nullopt;
    std::optional<Category> found;
    int count = 0;
    for (Category c : kCategories) {
        const std::string name = typedNameKey(categoryName(c));
        if (name == key) return c;
        // The start of the name, whole words or the first of them cut short.
        if (name.compare(0, key.size(), key) == 0) found = c, ++count;
    }
    return count == 1 ? found : std::nullopt;
}

} // namespace kesmora
