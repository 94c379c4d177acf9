// The categories the window offers, each the number of its catalogue section, and what belonging
// to one means for a body. Nothing else tests a category's number.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace kesmora {

// "Polyeder", "Archimedische Körper" (with the Catalan solids) and "Johnson Polyeder". The
// catalogue's sections 1, 4 and 7 are never offered.
enum class Category { Polyeder = 0, Archimedean = 2, Johnson = 3 };

// Every category in the order the radio group shows them.
inline constexpr std::array<Category, 3> kCategories{Category::Polyeder, Category::Archimedean,
                                                     Category::Johnson};

// The number of the catalogue section "{n" that holds the category's names and records.
constexpr int sectionNumber(Category category) {
    return static_cast<int>(category);
}
std::string sectionHeader(Category category); // "{0"

// The category of a section number, or nothing for a section that is not offered.
constexpr std::optional<Category> categoryOfSection(int section) {
    for (Category c : kCategories)
        if (sectionNumber(c) == section) return c;
    return std::nullopt;
}

// The category shown at an item of the radio group "Körpertyp" (0 .. 2), and back.
constexpr Category categoryOfItem(int item) {
    return item <= 0 ? Category::Polyeder : item == 1 ? Category::Archimedean : Category::Johnson;
}
constexpr int itemOfCategory(Category category) {
    for (std::size_t i = 0; i < kCategories.size(); ++i)
        if (kCategories[i] == category) return static_cast<int>(i);
    return 0;
}

// Its bodies are turned by the fixed tilt when built; the others keep their stored orientation.
constexpr bool tilts(Category category) {
    return category == Category::Polyeder;
}
// Its bodies' duals are quasi-duals, non-planar faces cut into smaller ones.
constexpr bool hasQuasiDual(Category category) {
    return category == Category::Johnson;
}
// Whether the mode "Durchdringung 3" is offered while the category is shown.
constexpr bool offersInterpenetration3(Category category) {
    return category != Category::Johnson;
}
// Its section has a record for each body ("[" index); the others one record "[0" for all.
constexpr bool hasRecordPerBody(Category category) {
    return category == Category::Polyeder;
}

} // namespace kesmora
