// Names found as a person types them, in the shipped body lists, and categories by their names.
#include "section_category.h"
#include "catalogue/latin1.h"
#include "catalogue/namematch.h"
#include "catalogue/selection.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kesmora;

namespace {

const CatalogueTables& shipped() {
    static const CatalogueTables t = [] {
        CatalogueTables c;
        c.catalogueTable = readTableFile(std::filesystem::path(KESMORA_DATA_DIR) / kCatalogueFile);
        c.excludedNames = readTableFile(std::filesystem::path(KESMORA_DATA_DIR) / kExcludedFile);
        c.excludedInCatalogue = excludedCatalogueLines(c.excludedNames, c.catalogueTable);
        return c;
    }();
    return t;
}

std::vector<std::string> utf8(const std::vector<std::string>& latin1) {
    std::vector<std::string> out;
    for (const std::string& s : latin1)
        out.push_back(latin1ToUtf8(s));
    return out;
}

struct Typed {
    int category;
    const char* typed;
    std::vector<std::string> found;       // UTF-8
    std::vector<std::string> suggestions; // UTF-8; checked where given
};

} // namespace

TEST(NameMatch, TypedNamesFindTheBodyMeantOrSuggestTheNearest) {
    const std::vector<Typed> table{
        // The name as listed, and in other letter case.
        {0, "Oktaeder", {"Oktaeder"}, {}},
        {0, "oktaeder", {"Oktaeder"}, {}},
        {0, "OKTAEDER", {"Oktaeder"}, {}},
        {0, "Hexaeder, Würfel", {"Hexaeder, Würfel"}, {}},
        {0, "hexaeder,würfel", {"Hexaeder, Würfel"}, {}},
        // "ue" for "ü", a part of a comma name, both at once.
        {0, "Hexaeder, Wuerfel", {"Hexaeder, Würfel"}, {}},
        {0, "Würfel", {"Hexaeder, Würfel"}, {}},
        {0, "wuerfel", {"Hexaeder, Würfel"}, {}},
        {0, "WÜRFEL", {"Hexaeder, Würfel"}, {}},
        {0, "Hexaeder", {"Hexaeder, Würfel"}, {}},
        {2, "pyramidenwuerfel", {"Pyramidenwürfel"}, {}},
        {0, "fuenfseitige doppelpyramide", {"fünfseitige Doppelpyramide"}, {}},
        // Blanks and punctuation as one blank; a number without its leading zero.
        {3, "johnson-polyeder 06", {"Johnson Polyeder 06"}, {}},
        {3, "Johnson Polyeder 6", {"Johnson Polyeder 06"}, {}},
        {3, "  johnson   polyeder  54 ", {"Johnson Polyeder 54"}, {}},
        // Not found: the nearest names, at most three, or none where nothing is near.
        {0, "Ikosaedr", {}, {"Ikosaeder"}},
        {0, "Oktaedre", {}, {"Oktaeder"}},
        {0, "Pyramide", {}, {"Prisma und Pyramide", "fünfseitige Doppelpyramide", "sechsseitige Doppelpyramide"}},
        {2, "Dodekaeder", {}, {"Ikosidodekaeder", "Dodekaederstumpf", "Rhombendodekaeder"}},
        {0, "Zylinder", {}, {}},
        {0, "", {}, {}},
        {0, "--", {}, {}},
        // A body of another category is not found in this one; those holding its name are offered.
        {2, "Oktaeder", {}, {"Kuboktaeder", "Oktaederstumpf", "Kuboktaederstumpf"}},
    };
    for (const Typed& t : table) {
        const NameMatch m = matchBodyName(fillBodyList(shipped(), sectionCategory(t.category)), t.typed);
        EXPECT_EQ(utf8(m.found), t.found) << t.category << " " << t.typed;
        if (t.found.empty()) {
            EXPECT_EQ(utf8(m.suggestions), t.suggestions) << t.category << " " << t.typed;
            EXPECT_LE(m.suggestions.size(), 3u) << t.typed;
        }
    }
}

TEST(NameMatch, EveryListedNameFindsItselfAlone) {
    for (Category c : kCategories)
        for (HiddenBodies hidden : {HiddenBodies::LeftOut, HiddenBodies::Shown}) {
            const std::vector<std::string> names = fillBodyList(shipped(), c, hidden);
            for (const std::string& name : names) {
                const NameMatch exact = matchBodyName(names, latin1ToUtf8(name));
                ASSERT_EQ(exact.found.size(), 1u) << latin1ToUtf8(name);
                EXPECT_EQ(exact.found.front(), name);
                // Typed in lower case with the umlauts written out, it still finds only itself.
                const NameMatch typed = matchBodyName(names, typedNameKey(latin1ToUtf8(name)));
                EXPECT_EQ(typed.found, std::vector<std::string>{name}) << latin1ToUtf8(name);
            }
        }
}

TEST(NameMatch, CategoriesByNumberNameAndTheStartOfTheName) {
    const std::vector<std::pair<const char*, std::optional<Category>>> table{
        {"0", Category::Polyeder},
        {"2", Category::Archimedean},
        {"3", Category::Johnson},
        {"Polyeder", Category::Polyeder},
        {"polyeder", Category::Polyeder},
        {"Archimedische Körper", Category::Archimedean},
        {"archimedische koerper", Category::Archimedean},
        {"Archimedisch", Category::Archimedean},
        {"Johnson", Category::Johnson},
        {"Johnson Polyeder", Category::Johnson},
        {"JOHNSON-POLYEDER", Category::Johnson},
        {"1", std::nullopt},
        {"02", std::nullopt},
        {"4", std::nullopt},
        {"", std::nullopt},
        {"Catalan", std::nullopt},
        {"Polyeder Johnson", std::nullopt},
    };
    for (const auto& [typed, category] : table)
        EXPECT_EQ(matchCategory(typed), category) << typed;
    for (Category c : kCategories)
        EXPECT_EQ(matchCategory(categoryName(c)), c);
}
