// Choosing a body: categories, the sorted body list, and taking over the selected body's index
// and parameters from the catalogue.
#pragma once

#include "category.h"
#include "tables.h"

#include <array>
#include <string>
#include <vector>

namespace kesmora {

struct Selection {
    Category currentCategory = Category::Polyeder;
    int bodyIndex = 0;
    std::array<double, 4> bodyParams{}; // a, b, c, d of the last record that had a parameter block
};

// The order of the body list: case ignored, umlauts as their base letters, hyphens ignored,
// blanks and punctuation before digits, digits before letters.
bool bodyListLess(const std::string& a, const std::string& b);

// Whether the lists leave out the bodies the excluded names hide, or show every body of a section.
enum class HiddenBodies { LeftOut, Shown };

// The names of a category's section, in catalogue order, without the excluded ones unless they
// are asked for.
std::vector<std::string> categoryNames(const CatalogueTables& tables, Category category,
                                       HiddenBodies hidden = HiddenBodies::LeftOut);

// All names of a category's section in catalogue order, excluded ones too: position i is the body
// with bodyIndex i.
std::vector<std::string> sectionNames(const CatalogueTables& tables, Category category);

// The same names in the order the body list shows them.
std::vector<std::string> fillBodyList(const CatalogueTables& tables, Category category,
                                      HiddenBodies hidden = HiddenBodies::LeftOut);

// Takes over the named body of the current category: bodyIndex and, when its record has a
// parameter block, bodyParams. Throws CatalogueError when the section or the name is missing or
// a parameter value is not a number.
void neuwert(Selection& selection, const CatalogueTables& tables, const std::string& name);

} // namespace kesmora
