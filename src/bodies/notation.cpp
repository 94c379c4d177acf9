// The catalogue's bodies in Conway's notation.
#include "notation.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace kesmora {

namespace {

struct Entry {
    int index;
    const char* notation;
};

constexpr Entry kPolyeder[] = {
    {0, "T"},   {1, "C"},   {2, "O"},   {3, "I"},   {4, "D"},                                     // Platonic
    {7, "Y3"},  {6, "Y4"},  {8, "Y5"},  {9, "Y6"},  {65, "Y8"},                                   // pyramids
    {21, "P3"}, {34, "P3"}, {22, "P4"}, {13, "P5"}, {24, "P6"},  {28, "P7"}, {30, "P8"},          // prisms
    {40, "P9"}, {42, "P10"}, {53, "P11"}, {56, "P12"},
    {25, "A4"}, {14, "A5"}, {37, "A6"}, {29, "A7"}, {35, "A8"},  {41, "A9"}, {43, "A10"},         // antiprisms
    {52, "A11"}, {54, "A12"},
    {31, "dA4"}, {32, "dA5"}, {33, "dA6"}, {61, "dA7"}, {60, "dA10"},                             // trapezohedra
    {39, "dP5"}, {26, "dP6"},                                                                     // bipyramids
};

constexpr Entry kArchimedean[] = {
    {0, "aC"},  {1, "aD"},  {2, "eD"},  {3, "eC"},  {4, "sC"},  {5, "sD"},  {6, "tI"},
    {7, "bD"},  {8, "bC"},  {9, "tC"},  {10, "tO"}, {11, "tT"}, {12, "tD"}, // Archimedean
    {13, "kT"}, {14, "kO"}, {15, "kI"}, {16, "kC"}, {17, "jC"}, {18, "oC"}, {19, "oD"},
    {20, "jD"}, {21, "kD"}, {22, "gC"}, {23, "gD"}, {24, "mD"}, {25, "mC"}, // Catalan
};

// Each solid and its dual where both have letters of their own.
constexpr std::pair<const char*, const char*> kDualPairs[] = {
    {"T", "T"},   {"C", "O"},   {"D", "I"},   {"aC", "jC"}, {"aD", "jD"}, {"eC", "oC"}, {"eD", "oD"},
    {"sC", "gC"}, {"sD", "gD"}, {"tT", "kT"}, {"tC", "kO"}, {"tO", "kC"}, {"tD", "kI"}, {"tI", "kD"},
    {"bC", "mC"}, {"bD", "mD"},
};

template <std::size_t N> std::string find(const Entry (&table)[N], int index) {
    const auto it = std::find_if(std::begin(table), std::end(table), [&](const Entry& e) { return e.index == index; });
    return it == std::end(table) ? std::string() : std::string(it->notation);
}

} // namespace

std::string conwayNotation(Category category, int bodyIndex) {
    switch (category) {
    case Category::Polyeder:
        return find(kPolyeder, bodyIndex);
    case Category::Archimedean:
        return find(kArchimedean, bodyIndex);
    case Category::Johnson:
        break;
    }
    return {};
}

std::string dualNotation(const std::string& notation) {
    if (notation.empty()) return {};
    for (const auto& [a, b] : kDualPairs) {
        if (notation == a) return b;
        if (notation == b) return a;
    }
    if (notation.front() == 'Y') return notation; // a pyramid is its own dual
    if (notation.front() == 'd') return notation.substr(1);
    return "d" + notation;
}

} // namespace kesmora
