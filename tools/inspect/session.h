// The inspector's view of the program: the tables, the body lists, and a body chosen and built
// through the body session the window drives.
#pragma once

#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "geometry/solidmodel.h"
#include "options.h"
#include "session/bodysession.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kesmora::inspect {

struct ListedBody {
    Category category = Category::Polyeder;
    int position = 0; // in the sorted body list
    int bodyIndex = 0;
    int blockId = 0;
    std::string name; // Latin-1, as in the tables
};

// Every body the lists offer (with the hidden ones when they are shown): the categories in the
// order of kCategories, each in body-list order.
std::vector<ListedBody> listedBodies(const CatalogueTables& tables,
                                     HiddenBodies hidden = HiddenBodies::LeftOut);

// A session that has gone through what the window's user does: the start, "ausgeblendete Körper
// zeigen" when the hidden bodies are shown, a click on the category (section 0, 2 or 3) and a click
// on the body, so that the parameters a body without its own keeps are the same. `typed` is a
// name in UTF-8 as findBodyName takes it. Throws std::runtime_error for an unknown category and
// NotFound for a name not found.
BodySession chooseAsTheWindowDoes(std::shared_ptr<const CatalogueTables> tables, int section,
                                  const std::string& typed, HiddenBodies hidden = HiddenBodies::LeftOut);

// The listed name (Latin-1) of the body typed (UTF-8) as a person types it (catalogue/namematch.h).
// Throws NotFound, with up to three suggestions, for a name that finds none or several, and for a
// hidden body while the hidden ones are left out.
std::string findBodyName(const CatalogueTables& tables, Category category, const std::string& typed,
                         HiddenBodies hidden);

// The operations of --op and --plain.
struct Operations {
    std::string recipe; // empty: none
    bool canonical = true;
};

struct BuiltBody {
    Selection selection; // a catalogue body's; a file's body has none
    std::string name;    // Latin-1, as in the tables; a file's shown name in UTF-8
    SolidModel model;
    bool fromFile = false;
    std::string recipe; // the operations applied to the body, if any
    std::string note;   // why a result is not in canonical form, where it is not
    std::string notation, dualNotation; // Conway's, where the body has one
    std::string dualName; // the dual's name as the properties window shows it, UTF-8

    // The name for titles and output, in UTF-8.
    std::string shownName() const;
    // The title over the picture, in UTF-8, as the window shows it.
    std::string title() const;
};
// `name` in UTF-8, found by findBodyName (a listed name as it is). With HiddenBodies::Shown a
// hidden body is found as the window finds it with "ausgeblendete Körper
// zeigen" on. With DualKind::PolarReciprocal the dual is the solid's polar reciprocal, as with the window's
// "Dual als polare Reziproke"; a body without one throws std::runtime_error with the window's message.
BuiltBody buildAsTheWindowDoes(std::shared_ptr<const CatalogueTables> tables, int section, const std::string& name,
                               HiddenBodies hidden = HiddenBodies::LeftOut,
                               DualKind dual = DualKind::Catalogue, const Operations& operations = {});

// Builds the polyhedron file at `path` (the bytes of its name as given) as the window opens it.
// Throws PolyhedronFileError for a file that cannot be read or built, and std::runtime_error with
// the reason when the polar reciprocal is asked for and the body has none.
BuiltBody buildFileAsTheWindowDoes(const std::string& path, DualKind dual = DualKind::Catalogue,
                                   const Operations& operations = {});

// Finds the data folder next to the executable (or the installed one) unless one is given.
std::filesystem::path dataDirFor(const std::string& argv0, const std::string& given);

// The catalogue, read when a command first asks for it: a command about a file reads none.
class Catalogue {
  public:
    Catalogue(std::string argv0, std::string dataDir);
    const CatalogueTables& tables() { return *shared(); }
    std::shared_ptr<const CatalogueTables> shared();

  private:
    std::string argv0_, dataDir_;
    std::shared_ptr<const CatalogueTables> tables_;
};

// The body a command line of bodyCommand() names: CATEGORY NAME built from the catalogue, or the
// file of --file, with the operations of --op (in canonical form unless --plain).
BuiltBody buildNamedBody(Catalogue& catalogue, const CommandLine& line, HiddenBodies hidden, DualKind dual);

} // namespace kesmora::inspect
