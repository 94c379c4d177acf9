// The dispatch table and the dual recipes, by category and catalogue index.
#include "dispatch.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace kesmora {

namespace {

// Johnson solids whose dual pentagons are cut, and those whose dual quadrilaterals are not.
constexpr int kPentagonSplit[] = {10, 25, 32, 36, 50, 56, 57, 58, 72, 73, 74, 75, 76};
constexpr int kQuadExempt[] = {4, 10, 14, 32, 33, 36, 45, 46, 47, 48, 49, 50, 82, 83, 84, 85};

template <std::size_t N> bool contains(const int (&set)[N], int value) {
    return std::find(std::begin(set), std::end(set), value) != std::end(set);
}

// Pairs of body indices whose solids are each other's polar reciprocals.
constexpr std::pair<int, int> kPolyederPartners[] = {{0, 0},   {1, 2},   {3, 4},   {14, 32},
                                                     {25, 31}, {29, 61}, {37, 33}, {43, 60}};
constexpr std::pair<int, int> kArchimedeanPartners[] = {{0, 17}, {1, 20}, {2, 19}, {3, 18},  {4, 22},
                                                        {5, 23}, {6, 21}, {7, 24}, {8, 25}, {9, 14},
                                                        {10, 16}, {11, 13}, {12, 15}};

template <std::size_t N>
std::optional<int> partnerIn(const std::pair<int, int> (&pairs)[N], int bodyIndex) {
    for (const auto& [a, b] : pairs) {
        if (a == bodyIndex) return b;
        if (b == bodyIndex) return a;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> reciprocalPartner(Category category, int bodyIndex) {
    switch (category) {
    case Category::Polyeder:
        return partnerIn(kPolyederPartners, bodyIndex);
    case Category::Archimedean:
        return partnerIn(kArchimedeanPartners, bodyIndex);
    case Category::Johnson:
        break;
    }
    return std::nullopt;
}

std::optional<Dispatch> dispatchFor(Category category, int bodyIndex) {
    if (bodyIndex < 0) return std::nullopt;
    switch (category) {
    case Category::Polyeder:
        if (bodyIndex >= 70) return std::nullopt;
        if (bodyIndex == 5) return Dispatch{205, true};
        if (bodyIndex <= 12) return Dispatch{bodyIndex + 1, false};
        switch (bodyIndex) {
        case 13:
        case 21:
        case 22:
        case 23:
        case 24:
        case 26:
            return Dispatch{bodyIndex + 401, true};
        default:
            return Dispatch{bodyIndex + 401, false};
        }
    case Category::Archimedean:
        if (bodyIndex >= 26) return std::nullopt;
        return Dispatch{bodyIndex + 4001, false};
    case Category::Johnson:
        if (bodyIndex >= 111) return std::nullopt;
        if (bodyIndex + 18 < 89) return Dispatch{bodyIndex + 18, false};
        if (bodyIndex + 118 > 204) return Dispatch{bodyIndex + 218, false};
        return Dispatch{bodyIndex + 118, false};
    }
    return std::nullopt;
}

DualRecipe dualRecipeFor(Category category, int bodyIndex, std::string_view bodyName) {
    DualRecipe recipe;
    recipe.poleRescaling =
        bodyName.find("Antiprisma") != std::string_view::npos || (category == Category::Archimedean && bodyIndex < 13);
    recipe.cutPentagons = hasQuasiDual(category) && contains(kPentagonSplit, bodyIndex);
    // The extended trapezohedron is the one body outside the Johnson solids with a quasi-dual.
    recipe.cutQuadrilaterals =
        (hasQuasiDual(category) && !contains(kQuadExempt, bodyIndex)) ||
        (category == Category::Polyeder && bodyIndex == 44);
    return recipe;
}

} // namespace kesmora
