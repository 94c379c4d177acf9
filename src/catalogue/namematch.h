// Finding a body or a category by a name as a person types it: letter case ignored, "ue" for "ü"
// (and "ae", "oe", "ss" for "ä", "ö", "ß"), blanks and punctuation as one blank, and one part of a
// name given in several ("Würfel" for "Hexaeder, Würfel"). The window's search could ask here too.
#pragma once

#include "category.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesmora {

// The form in which typed and listed names are compared (UTF-8 in, ASCII where the name is
// German): lower case, umlauts and "ß" written out, other accented Latin letters as their base
// letter, every run of blanks and punctuation one blank, none at either end.
std::string typedNameKey(std::string_view utf8);

struct NameMatch {
    // The names found (as listed, Latin-1), by the closest way of matching that finds any: the
    // name itself, the name as typed, a part of the name. One: the body meant; several: it is not
    // clear which.
    std::vector<std::string> found;
    // Where none is found: up to three listed names closest to what was typed, closest first.
    std::vector<std::string> suggestions;
};

// `names` Latin-1 as the catalogue lists them, `typed` UTF-8.
NameMatch matchBodyName(const std::vector<std::string>& names, std::string_view typed);

// The category's name as the window shows it (UTF-8): "Polyeder", "Archimedische Körper",
// "Johnson Polyeder".
std::string categoryName(Category category);

// The category typed: its section number (0, 2, 3), its name, or the start of its name
// ("Johnson", "archimedisch"), as long as that names one category.
std::optional<Category> matchCategory(std::string_view typed);

} // namespace kesmora
