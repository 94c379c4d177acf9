// The dispatch table and the dual recipes, by category and catalogue index.
#include "dispatch.h"

#include <algorithm>
#include <iterator>

namespace kesmora {

namespace {

// Johnson solids whose dual pentagons are cut, and those whose dual quadrilaterals are not.
constexpr int kPentagonSplit[] = {10, 25, 32, 36, 50, 56, 57, 58, 72, 73, 74, 75, 76};
constexpr int kQuadExempt[] = {4, 10, 14, 32, 33, 36, 45, 46, 47, 48, 49, 50, 82, 83, 84, 85};

template <std::size_t N> bool contains(const int (&set)[N], int value) {
    return std::find(std::begin(set), std::end(set), value) != std::end(set);
}

} // namespace

std::optional<Dispatch> dispatchFor(int category, int bodyIndex) {
    if (bodyIndex < 0) return std::nullopt;
    switch (category) {
    case 0:
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
    case 2:
        if (bodyIndex >= 26) return std::nullopt;
        return Dispatch{bodyIndex + 4001, false};
    case 3:
        if (bodyIndex >= 111) return std::nullopt;
        if (bodyIndex + 18 < 89) return Dispatch{bodyIndex + 18, false};
        if (bodyIndex + 118 > 204) return Dispatch{bodyIndex + 218, false};
        return Dispatch{bodyIndex + 118, false};
    default:
        return std::nullopt;
    }
}

DualRecipe dualRecipeFor(int category, int bodyIndex, std::string_view bodyName) {
    DualRecipe recipe;
    recipe.poleRescaling =
        bodyName.find("Antiprisma") != std::string_view::npos || (category == 2 && bodyIndex < 13);
    recipe.cutPentagons = category == 3 && contains(kPentagonSplit, bodyIndex);
    // The extended trapezohedron is the one body outside the Johnson solids with a quasi-dual.
    recipe.cutQuadrilaterals =
        (category == 3 && !contains(kQuadExempt, bodyIndex)) || (category == 0 && bodyIndex == 44);
    return recipe;
}

} // namespace kesmora
