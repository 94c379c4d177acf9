// Body lists and the take-over of a selected body.
#include "section_category.h"
#include "bodies/dualname.h"
#include "catalogue/catalogueerror.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"

#include <gtest/gtest.h>

#include <algorithm>
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
Selection select(int category, const char* name) {
    Selection s;
    s.currentCategory = sectionCategory(category);
    neuwert(s, shipped(), utf8ToLatin1(name));
    return s;
}
} // namespace

TEST(BodyList, CountsAndFirstEntries) {
    const auto c0 = fillBodyList(shipped(), Category::Polyeder);
    const auto c2 = fillBodyList(shipped(), Category::Archimedean);
    const auto c3 = fillBodyList(shipped(), Category::Johnson);
    EXPECT_EQ(c0.size(), 46u);
    EXPECT_EQ(c2.size(), 25u);
    EXPECT_EQ(c3.size(), 77u);
    EXPECT_EQ(c0[0], "achtseitiges Antiprisma");
    EXPECT_EQ(c0[17], utf8ToLatin1("Hexaeder, Würfel"));
    EXPECT_EQ(c2[0], "Cubus simus (abgeschr.Hexaeder)");
    EXPECT_EQ(c3[0], "Johnson Polyeder 06");
}

TEST(BodyList, ExcludedNamesNeverAppearWhateverTheirCase) {
    const auto c0 = fillBodyList(shipped(), Category::Polyeder);
    for (const char* name : {"Tetraederstern", "Kepler-Stern", "Mengerwürfel", "quadratische Pyramide"})
        EXPECT_EQ(std::count(c0.begin(), c0.end(), utf8ToLatin1(name)), 0) << name;
    const auto c3 = fillBodyList(shipped(), Category::Johnson);
    EXPECT_EQ(std::count(c3.begin(), c3.end(), "Johnson Polyeder 22"), 0);
    const auto c2 = fillBodyList(shipped(), Category::Archimedean);
    EXPECT_EQ(std::count(c2.begin(), c2.end(), "Dodecaedron simum (abgeschr.Dodekaeder)"), 0);
}

TEST(BodyList, HiddenBodiesOnRequestInTheSameOrder) {
    // Every body of each section: 68, 26 and 92, the hidden ones sorted in among the others.
    const std::size_t all[] = {68, 26, 92};
    std::size_t hidden = 0;
    for (Category category : kCategories) {
        const auto listed = fillBodyList(shipped(), category);
        const auto every = fillBodyList(shipped(), category, HiddenBodies::Shown);
        EXPECT_EQ(every.size(), all[itemOfCategory(category)]) << category;
        EXPECT_TRUE(std::is_sorted(every.begin(), every.end(), bodyListLess)) << category;
        // The listed ones keep their order; the others are exactly the excluded names.
        std::vector<std::string> kept;
        for (const std::string& name : every) {
            if (isExcluded(shipped(), name))
                ++hidden;
            else
                kept.push_back(name);
        }
        EXPECT_EQ(kept, listed) << category;
        auto names = categoryNames(shipped(), category, HiddenBodies::Shown);
        std::sort(names.begin(), names.end());
        auto sorted = every;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(names, sorted) << category;
    }
    EXPECT_EQ(hidden, 38u);
    const auto c3 = fillBodyList(shipped(), Category::Johnson, HiddenBodies::Shown);
    EXPECT_EQ(c3[0], "Johnson Polyeder 01");
    EXPECT_EQ(std::count(c3.begin(), c3.end(), "Johnson Polyeder 22"), 1);
    const auto c2 = fillBodyList(shipped(), Category::Archimedean, HiddenBodies::Shown);
    EXPECT_EQ(std::count(c2.begin(), c2.end(), "Dodecaedron simum (abgeschr.Dodekaeder)"), 1);
    // Taking a hidden body over finds its place among all names of its section.
    EXPECT_EQ(select(2, "Dodecaedron simum (abgeschr.Dodekaeder)").bodyIndex, 5);
}

TEST(BodyList, SortOrder) {
    // Pairs in list order, many of them the other way round in byte order: blanks and punctuation
    // before digits before letters, case ignored, umlauts as their base letters, hyphens ignored.
    const std::pair<const char*, const char*> ordered[] = {
        {"dreiseit.regelm. Prisma", "dreiseitiges Prisma"},
        {"zehnseitiges Fass + 2 Kuppeln", "zehnseitiges Fass + Kuppel"},
        {"Symmetrie-C1-Polyeder", "Symmetrie-Ci-Polyeder"},
        {"a~", "a0"}, // '~' is punctuation, though its code lies above the letters'
        {"a b", "a1"},
        {"a:", "a0"},
        {"a9", "aa"},
        {"quader", "Quadrat"},
        {"achtseitiges", "Bcht"},
        {"fünf", "fuo"}, // ü sorts as u, not after z
        {"Dürer", "dz"},
        {"Äb", "Ac"},
        {"Ölberg", "Opal"},
        {"ab", "a-c"}, // hyphens ignored
        {"Keplersa", "Kepler-Sb"},
    };
    for (const auto& [first, second] : ordered) {
        EXPECT_TRUE(bodyListLess(utf8ToLatin1(first), utf8ToLatin1(second))) << first << " < " << second;
        EXPECT_FALSE(bodyListLess(utf8ToLatin1(second), utf8ToLatin1(first))) << second << " > " << first;
    }

    // The list of category 0 as the window shows it.
    const char* expected[] = {"achtseitiges Antiprisma",
                              "achtseitiges Prisma",
                              "Assoziaeder",
                              "Campanus-Sphäre",
                              "dreiseit.regelm. Prisma",
                              "dreiseitiges Prisma",
                              "Dürer-Polyeder",
                              "elfseitiges Antiprisma",
                              "elfseitiges Prisma",
                              "erweitertes Rhombendodekaeder",
                              "erweitertes Trapezoeder",
                              "fünfseitige Doppelpyramide",
                              "fünfseitiger Stumpf",
                              "fünfseitiges Antiprisma",
                              "fünfseitiges Prisma",
                              "fünfseitiges Trapezoeder",
                              "hamiltonfreies Polyeder",
                              "Hexaeder, Würfel",
                              "Ikosaeder",
                              "Ikosioktaeder",
                              "neunseitiges Antiprisma",
                              "neunseitiges Prisma",
                              "Oktaeder",
                              "Pentagondodekaeder",
                              "Prisma und Pyramide",
                              "Quader",
                              "quadratisches Antiprisma",
                              "quadratisches Prisma",
                              "quadratisches Trapezoeder",
                              "Rhombenhexaeder",
                              "Rhombenikosaeder",
                              "sechsseitige Doppelpyramide",
                              "sechsseitiges Antiprisma",
                              "sechsseitiges Prisma",
                              "siebenseitiges Antiprisma",
                              "siebenseitiges Prisma",
                              "Symmetrie-C1-Polyeder",
                              "Symmetrie-Ci-Polyeder",
                              "Tetraeder",
                              "zehnseitiges Antiprisma",
                              "zehnseitiges Fass",
                              "zehnseitiges Fass + 2 Kuppeln",
                              "zehnseitiges Fass + Kuppel",
                              "zehnseitiges Prisma",
                              "zwölfseitiges Antiprisma",
                              "zwölfseitiges Prisma"};
    std::vector<std::string> list;
    for (const char* name : expected)
        list.push_back(utf8ToLatin1(name));
    EXPECT_EQ(fillBodyList(shipped(), Category::Polyeder), list);
}

TEST(Neuwert, IndexAndParameters) {
    Selection s = select(0, "Hexaeder, Würfel");
    EXPECT_EQ(s.bodyIndex, 1);
    EXPECT_EQ(s.bodyParams, (std::array<double, 4>{1, -2.5, 1.5, -2}));
    s = select(0, "Oktaeder");
    EXPECT_EQ(s.bodyIndex, 2);
    s = select(0, "Campanus-Sphäre");
    EXPECT_EQ(s.bodyIndex, 67);
    s = select(2, "Kuboktaeder");
    EXPECT_EQ(s.bodyIndex, 0);
    s = select(3, "Johnson Polyeder 06");
    EXPECT_EQ(s.bodyIndex, 28);
    EXPECT_EQ(s.bodyParams, (std::array<double, 4>{1, -2.5, 1.5, -2}));
}

TEST(Neuwert, ParametersPersistFromTheLastRecordWithABlock) {
    Selection s;
    neuwert(s, shipped(), "Quader");
    EXPECT_EQ(s.bodyIndex, 5);
    EXPECT_EQ(s.bodyParams, (std::array<double, 4>{2, 1, 4, -2}));
    neuwert(s, shipped(), "siebenseitiges Prisma"); // record "[28" has no parameter block
    EXPECT_EQ(s.bodyIndex, 28);
    EXPECT_EQ(s.bodyParams, (std::array<double, 4>{2, 1, 4, -2}));
    s.currentCategory = Category::Archimedean;
    neuwert(s, shipped(), "Rhombendodekaeder"); // section 2's record has no parameter block either
    EXPECT_EQ(s.bodyParams, (std::array<double, 4>{2, 1, 4, -2}));
    s.currentCategory = Category::Polyeder;
    neuwert(s, shipped(), utf8ToLatin1("sechsseitiges Prisma")); // "0,5" with a comma
    EXPECT_EQ(s.bodyParams[2], 0.5);
    neuwert(s, shipped(), utf8ToLatin1("fünfseitiges Antiprisma")); // "1.5" with a point
    EXPECT_EQ(s.bodyParams[2], 1.5);
}

TEST(Neuwert, Titles) {
    EXPECT_EQ(titleFor("Oktaeder", catalogueDualShape(Category::Polyeder)), utf8ToLatin1("Oktaeder und dualer Körper"));
    EXPECT_EQ(titleFor("Kuboktaeder", catalogueDualShape(Category::Archimedean)), utf8ToLatin1("Kuboktaeder und dualer Körper"));
    EXPECT_EQ(titleFor("Johnson Polyeder 06", catalogueDualShape(Category::Johnson)),
              "Johnson Polyeder 06 und quasiduales Polyeder");
    EXPECT_EQ(titleFor("Johnson Polyeder 06", DualShape::PolarReciprocal),
              utf8ToLatin1("Johnson Polyeder 06 und polar reziproker Körper"));
}

TEST(Categories, ItemMapping) {
    // The items show the catalogue's sections 0, 2 and 3; section 1 is never offered.
    EXPECT_EQ(sectionNumber(categoryOfItem(0)), 0);
    EXPECT_EQ(sectionNumber(categoryOfItem(1)), 2);
    EXPECT_EQ(sectionNumber(categoryOfItem(2)), 3);
    EXPECT_FALSE(categoryOfSection(1));
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(itemOfCategory(categoryOfItem(item)), item);
    // Only the "Polyeder" tilt and have a record each; only the Johnson solids have quasi-duals and
    // no "Durchdringung 3".
    EXPECT_TRUE(tilts(Category::Polyeder));
    EXPECT_FALSE(tilts(Category::Archimedean) || tilts(Category::Johnson));
    EXPECT_TRUE(hasQuasiDual(Category::Johnson));
    EXPECT_FALSE(hasQuasiDual(Category::Polyeder) || hasQuasiDual(Category::Archimedean));
    EXPECT_FALSE(offersInterpenetration3(Category::Johnson));
    EXPECT_TRUE(hasRecordPerBody(Category::Polyeder));
    EXPECT_FALSE(hasRecordPerBody(Category::Archimedean) || hasRecordPerBody(Category::Johnson));
}

TEST(DamagedCatalogue, ClearErrorsInsteadOfReadingPastTheEnd) {
    auto tables = [](const std::string& cat) { return tablesFromContents("[#]\n", "[#]\n", "Torus\n", cat); };
    Selection s;
    // No "[" line after the section header.
    EXPECT_THROW(fillBodyList(tables("{0\nTetraeder\n[0\n1\n[#]\n"), Category::Polyeder), CatalogueError);
    // No end line: the names would run into the next section.
    EXPECT_THROW(fillBodyList(tables("{0\n[\nTetraeder\n{2\n[\nX\n[0\n[#]\n"), Category::Polyeder), CatalogueError);
    // No record and no end line: the file simply ends.
    EXPECT_THROW(neuwert(s, tables("{0\n[\nTetraeder\n"), "Tetraeder"), CatalogueError);
    // No records at all: the parameters stay.
    s.bodyParams = {7, 7, 7, 7};
    neuwert(s, tables("{0\n[\nTetraeder\n[#]\n"), "Tetraeder");
    EXPECT_EQ(s.bodyParams[0], 7);
    // A parameter value that is not a number names the file and line.
    try {
        neuwert(s, tables("{0\n[\nTetraeder\n[0\n1\n#2\n5\nKante a\nx\nb\n1\nc\n1\nd\n1\n[#]\n"),
                "Tetraeder");
        FAIL();
    } catch (const CatalogueError& e) {
        EXPECT_EQ(e.file(), "catalogue.txt");
        EXPECT_EQ(e.line(), 9);
    }
    // A missing section.
    s.currentCategory = Category::Johnson;
    EXPECT_THROW(neuwert(s, tables("{0\n[\nTetraeder\n[#]\n"), "Tetraeder"), CatalogueError);
}
