// The body session: what is chosen and what is shown, and the one build that makes the finished
// model of either kind of body, a catalogue body or a polyhedron file. The window and the inspector
// drive the same session; it knows no widget.
#pragma once

#include "bodies/polyhedronfile.h"
#include "catalogue/category.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "geometry/recipe.h"
#include "geometry/solidmodel.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kesmora {

// Where a body comes from: a catalogue body as its selection and name (Latin-1) named it, or the
// polyhedron file read.
struct BodySource {
    Selection selection;
    std::string name;
    std::shared_ptr<const PolyhedronFile> file; // set for a file's body
    // The operations applied to that body, as a recipe read right to left ("tk": t applied to k of
    // the body); empty for the body itself. With `canonical` every result is put into canonical
    // form; without, the operations place it plainly.
    std::string recipe;
    bool canonical = true;

    // The same body, built the same way: the same file read, or the same catalogue body with the
    // same parameters, and the same operations.
    bool sameAs(const BodySource& other) const;
    // The same body the operations start from.
    bool sameSeedAs(const BodySource& other) const;
    // The source without its operations.
    BodySource seed() const;
};

// A body built: the model, and for a result of operations what they made and why its form is not
// canonical where it is not.
struct FinishedBody {
    SolidModel model;
    std::shared_ptr<const RecipeResult> made; // null without operations
    MeshCounts seedCounts;                    // of the solid the operations started from (with made)
    bool cancelled = false;                   // the progress asked to stop: model is empty
};

// The build of a body, from its source to the model on screen: the solid (from the catalogue's
// blocks or generators, or from the file), the operations of its recipe (each result built and
// checked as a file's body, its dual the canonical reciprocal or as for a file), its dual (the
// catalogue's recipe, the dual from the face centroids, or the polar reciprocal), the tilt, the fit
// and the surface shape. `made`, when given, is what the same operations made on the same seed
// before, and is not made again. Throws with a message for the user when the body cannot be built.
FinishedBody finishModel(const CatalogueTables& tables, const BodySource& source, DualKind dual,
                         const ProgressCallback& progress = {},
                         std::shared_ptr<const RecipeResult> made = nullptr);

// A title or name with the operations that made the body before it: "tk · Hexaeder, Würfel und
// dualer Körper"; the title as it is without operations.
std::string titledWithRecipe(const std::string& recipe, const std::string& title);

class BodySession {
  public:
    explicit BodySession(std::shared_ptr<const CatalogueTables> tables);

    const CatalogueTables& tables() const { return *tables_; }
    std::shared_ptr<const CatalogueTables> sharedTables() const { return tables_; }

    // The body chosen: its category, index and parameters, and its name (empty while none is
    // chosen). While a file is open they stay those of the catalogue body chosen before it.
    const Selection& selection() const { return chosen_.selection; }
    Category category() const { return chosen_.selection.currentCategory; }
    const std::string& chosenName() const { return chosen_.name; }
    // The polyhedron file chosen, or null while a catalogue body is.
    const PolyhedronFile* openedFile() const { return chosen_.file.get(); }

    // Whether the lists show the bodies the catalogue hides.
    HiddenBodies hidden() const { return hidden_; }
    void setHidden(HiddenBodies hidden) { hidden_ = hidden; }
    // The body list of the chosen category, in its shown order.
    std::vector<std::string> bodyList() const;
    // The body the program starts with: entry 17 of the first category's list, the cube; empty
    // when the list is shorter.
    std::string startBody() const;

    // Another category: nothing chosen in it yet, index 0, no file; the body list is returned.
    std::vector<std::string> chooseCategory(Category category);
    // Takes over the named body of the chosen category (neuwert): its index and, where its record
    // has them, its parameters. Ends an opened file. Throws CatalogueError as neuwert does.
    void chooseBody(const std::string& name);
    // A file read, chosen in place of the catalogue body; null ends the file.
    void chooseFile(std::shared_ptr<const PolyhedronFile> file);

    // The dual asked for: the catalogue's or the polar reciprocal.
    DualKind dualKind() const { return dualKind_; }
    void setDualKind(DualKind kind) { dualKind_ = kind; }
    // The dual the chosen body is to show, before it is built.
    DualShape askedDualShape() const;

    // Builds the file read and, when that succeeds, chooses and shows it; otherwise nothing changes
    // and the exception passes on.
    const SolidModel& buildFile(std::shared_ptr<const PolyhedronFile> file);

    // The operations chosen on the chosen body, as a recipe; choosing a body, a file or a category
    // starts again without operations.
    const std::string& recipe() const { return chosen_.recipe; }
    bool canonical() const { return chosen_.canonical; }
    // The chosen body with other operations, checked: throws RecipeError for a recipe that cannot
    // be read (one whose result would have too many faces is refused by its build, before anything
    // is built). Nothing changes; `choose` takes it.
    BodySource withRecipe(const std::string& recipe) const;
    // The chosen body with one operation more (applied last, so written first).
    BodySource withOperation(const std::string& operation) const { return withRecipe(operation + chosen_.recipe); }
    // Without the operation applied last; the same when there is none.
    BodySource withoutLastOperation() const;
    BodySource withCanonical(bool canonical) const;
    // Chooses a source made by the functions above (the same body with other operations).
    void choose(BodySource source) { chosen_ = std::move(source); }
    // The chosen source and the dual asked for, for a build run elsewhere (off the window's thread).
    const BodySource& chosen() const { return chosen_; }
    // Whether build() would build (rather than return the model kept).
    bool needsBuild() const;
    // What the operations of the shown body made from the same seed, to build it again without
    // them when only the dual changes; null when there is nothing to reuse for the chosen source.
    std::shared_ptr<const RecipeResult> madeFor(const BodySource& source) const;
    // Takes a body built elsewhere from `source` with `dual` as the body shown and chosen.
    const SolidModel& adopt(const BodySource& source, DualKind dual, FinishedBody finished);
    // Why the result on screen is not in canonical form though that was asked; empty otherwise.
    std::string operationNote() const;
    // The counts of the solid that the operations of the body on screen start from (its own
    // without operations), from which those of any recipe on it are known before it is built.
    MeshCounts seedCounts() const;
    // Conway's notation of the body on screen or of its dual: the catalogue body's (bodies/notation.h)
    // with the operations before it ("tkC"); for a file's body the recipe and the file's name; ""
    // where there is none.
    std::string shownNotation(bool dual) const;
    // Whether the result on screen is in canonical form.
    bool shownCanonical() const { return made_ && made_->canonical; }

    // The build: the finished model of the chosen body with the dual asked for. A body built before
    // in the same way is not built again: its finished model is returned as it was kept. What
    // fails is not kept, and the choice goes back to the body shown (the exception passes on).
    const SolidModel& build();

    // The body whose finished model is kept, and that model; null before the first build.
    const BodySource* shown() const { return shown_ ? &*shown_ : nullptr; }
    const SolidModel& finishedModel() const { return finished_; }
    // Puts the choice back to the body shown (nothing when none has been built).
    void backToShown();
    // The refusal of the polar reciprocal for the shown body, as the window says it ("… Gezeigt
    // wird …"); empty where none was refused.
    std::string refusal() const;
    // The same, but once: empty when it is the refusal said last (a repaint builds the same body
    // again and says nothing new).
    std::string refusalNotSaid();
    // Every build the user asks for says the refusal again.
    std::string refusalToSay();

  private:
    std::shared_ptr<const CatalogueTables> tables_;
    BodySource chosen_;
    HiddenBodies hidden_ = HiddenBodies::LeftOut;
    DualKind dualKind_ = DualKind::Catalogue;
    std::optional<BodySource> shown_;
    DualKind shownDual_ = DualKind::Catalogue;
    SolidModel finished_;
    std::shared_ptr<const RecipeResult> made_;
    MeshCounts seedCounts_;
    std::string lastRefusal_;
};

} // namespace kesmora
