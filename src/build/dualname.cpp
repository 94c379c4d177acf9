// Dual names by catalogue position.
#include "dualname.h"

#include "catalogue/catalogueerror.h"
#include "catalogue/selection.h"

#include <iterator>

namespace kesmora {

namespace {

// "Polyeder" 0 to 4: tetrahedron, cube, octahedron, icosahedron, dodecahedron.
constexpr int kPlatonicPartner[] = {0, 2, 1, 4, 3};

// "Archimedische Körper" 0 to 12 and the Catalan solid at 13 to 25 that is each one's dual.
constexpr int kArchimedeanPartner[] = {17, 20, 19, 18, 22, 23, 21, 24, 25, 14, 16, 13, 15};
constexpr int kArchimedeanCount = static_cast<int>(std::size(kArchimedeanPartner));

} // namespace

int dualPartnerIndex(int category, int bodyIndex) {
    if (bodyIndex < 0) return -1;
    if (category == 0 && bodyIndex < static_cast<int>(std::size(kPlatonicPartner)))
        return kPlatonicPartner[bodyIndex];
    if (category == 2) {
        if (bodyIndex < kArchimedeanCount) return kArchimedeanPartner[bodyIndex];
        for (int i = 0; i < kArchimedeanCount; ++i)
            if (kArchimedeanPartner[i] == bodyIndex) return i;
    }
    return -1;
}

std::string dualNameFor(const CatalogueTables& tables, int category, int bodyIndex) {
    if (category == 3) return kQuasiDualName;
    const int partner = dualPartnerIndex(category, bodyIndex);
    if (partner < 0) return kPlainDualName;
    std::vector<std::string> names;
    try {
        names = sectionNames(tables, category);
    } catch (const CatalogueError&) {
        return kPlainDualName; // a damaged section still named the body that was built
    }
    if (partner >= static_cast<int>(names.size()) || names[static_cast<std::size_t>(partner)].empty())
        return kPlainDualName;
    return names[static_cast<std::size_t>(partner)];
}

} // namespace kesmora
