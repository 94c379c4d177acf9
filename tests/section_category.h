// Test tables name categories by their catalogue section, as the data files do.
#pragma once

#include "catalogue/category.h"

#include <ostream>
#include <stdexcept>
#include <string>

namespace kesmora {

inline Category sectionCategory(int section) {
    const auto category = categoryOfSection(section);
    if (!category) throw std::invalid_argument("no category for section " + std::to_string(section));
    return *category;
}

// Messages name a category by its section number.
inline std::ostream& operator<<(std::ostream& out, Category category) {
    return out << sectionNumber(category);
}

} // namespace kesmora
