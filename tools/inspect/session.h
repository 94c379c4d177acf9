// The inspector's view of the program: the tables, the body lists, and a body selected and built
// the way the window does it.
#pragma once

#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "geometry/solidmodel.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kesmora::inspect {

struct ListedBody {
    int category = 0;
    int position = 0; // in the sorted body list
    int bodyIndex = 0;
    int blockId = 0;
    std::string name; // Latin-1, as in the tables
};

// Every body the lists offer (with the hidden ones when they are shown): categories 0, 2, 3 in
// that order, each in body-list order.
std::vector<ListedBody> listedBodies(const CatalogueTables& tables,
                                     HiddenBodies hidden = HiddenBodies::LeftOut);

// The selection after start-up, "ausgeblendete Körper zeigen" when the hidden bodies are shown, a
// click on the category and a click on the body; throws std::runtime_error for an unknown category
// or name.
Selection selectAsTheWindowDoes(const CatalogueTables& tables, int category, const std::string& name,
                                HiddenBodies hidden = HiddenBodies::LeftOut);

struct BuiltBody {
    Selection selection;
    std::string name;
    SolidModel model;
};
// With HiddenBodies::Shown a hidden body is found as the window finds it with "ausgeblendete Körper
// zeigen" on. With DualKind::PolarReciprocal the dual is the solid's polar reciprocal, as with the window's
// "Dual als polare Reziproke"; a body without one throws std::runtime_error with the window's message.
BuiltBody buildAsTheWindowDoes(const CatalogueTables& tables, int category, const std::string& name,
                               HiddenBodies hidden = HiddenBodies::LeftOut,
                               DualKind dual = DualKind::Catalogue);

// Finds the data folder next to the executable (or the installed one) unless one is given.
std::filesystem::path dataDirFor(const std::string& argv0, const std::string& given);

} // namespace kesmora::inspect
