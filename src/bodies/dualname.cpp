// Dual names by catalogue position.
#include "dualname.h"

#include "catalogue/catalogueerror.h"
#include "catalogue/selection.h"
#include "dispatch.h"

#include <optional>
#include <vector>

namespace kesmora {

int dualPartnerIndex(Category category, int bodyIndex) {
    // The catalogue's dual of a Platonic, Archimedean or Catalan solid is its partner; the
    // antiprisms' partners are reciprocal only about the midsphere.
    const bool platonic = category == Category::Polyeder && bodyIndex < 5;
    if (bodyIndex < 0 || !(category == Category::Archimedean || platonic)) return -1;
    return reciprocalPartner(category, bodyIndex).value_or(-1);
}

namespace {

// The name at a position of the category's section, or nothing when the section cannot say.
std::optional<std::string> nameAt(const CatalogueTables& tables, Category category, int position) {
    if (position < 0) return std::nullopt;
    std::vector<std::string> names;
    try {
        names = sectionNames(tables, category);
    } catch (const CatalogueError&) {
        return std::nullopt; // a damaged section still named the body that was built
    }
    if (position >= static_cast<int>(names.size()) || names[static_cast<std::size_t>(position)].empty())
        return std::nullopt;
    return names[static_cast<std::size_t>(position)];
}

// A prism's dual is the double pyramid over the same polygon: "sechsseitiges Prisma" gives
// "sechsseitige Doppelpyramide", as the catalogue names its own double pyramids.
std::optional<std::string> prismDualName(const std::string& name) {
    const std::string prism = " Prisma";
    if (name.size() <= prism.size() || name.compare(name.size() - prism.size(), prism.size(), prism) != 0)
        return std::nullopt;
    std::string polygon = name.substr(0, name.size() - prism.size());
    if (polygon.size() > 2 && polygon.compare(polygon.size() - 2, 2, "es") == 0)
        polygon.pop_back(); // the neuter adjective made feminine
    else if (polygon.back() != '.')
        return std::nullopt; // not an adjective of the polygon
    return polygon + " Doppelpyramide";
}

// The partner's name, or for a prism the name of its double pyramid.
std::optional<std::string> partnerName(const CatalogueTables& tables, Category category, int bodyIndex,
                                       std::optional<int> partner) {
    if (partner) return nameAt(tables, category, *partner);
    if (category != Category::Polyeder) return std::nullopt;
    const std::optional<std::string> name = nameAt(tables, category, bodyIndex);
    return name ? prismDualName(*name) : std::nullopt;
}

} // namespace

std::string dualNameFor(const CatalogueTables& tables, Category category, int bodyIndex, DualShape shown) {
    switch (shown) {
    case DualShape::QuasiDual:
        return dualShapeName(shown);
    case DualShape::Plain: {
        const int partner = dualPartnerIndex(category, bodyIndex);
        return partnerName(tables, category, bodyIndex, partner < 0 ? std::nullopt : std::optional<int>(partner))
            .value_or(dualShapeName(shown));
    }
    case DualShape::PolarReciprocal:
        break;
    }
    const std::optional<int> partner = reciprocalPartner(category, bodyIndex);
    const std::optional<std::string> name = partnerName(tables, category, bodyIndex, partner);
    return name ? *name + " (" + dualShapeName(shown) + ")" : std::string(dualShapeName(shown));
}

std::string dualNameFor(const CatalogueTables& tables, Category category, int bodyIndex) {
    return dualNameFor(tables, category, bodyIndex, catalogueDualShape(category));
}

std::string titleFor(const std::string& name, DualShape shown) {
    return name + " und " + dualShapeName(shown, DualWording::InTitle);
}

} // namespace kesmora
