// Every body of the shipped catalogue, listed or hidden, built by its category's section number
// and UTF-8 name, for tests that go through all of them.
#pragma once

#include "section_category.h"

#include "bodies/build.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"

#include <string>

namespace kesmora::testing {

// The shipped tables with nothing excluded: the 148 listed bodies and the 38 hidden ones.
inline const CatalogueTables& everything() {
    static const CatalogueTables t = [] {
        CatalogueTables all = LoadCatalogueTables(KESMORA_DATA_DIR);
        all.excludedNames.lines.clear();
        all.excludedInCatalogue.clear();
        return all;
    }();
    return t;
}

inline SolidModel build(int category, const std::string& utf8Name) {
    Selection s;
    s.currentCategory = sectionCategory(category);
    const std::string name = utf8ToLatin1(utf8Name);
    neuwert(s, everything(), name);
    return buildSolid(everything(), s, name);
}

} // namespace kesmora::testing
