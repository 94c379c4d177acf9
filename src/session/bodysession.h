// The body session: what is chosen and what is shown, and the one build that makes the finished
// model of either kind of body, a catalogue body or a polyhedron file. The window and the inspector
// drive the same session; it knows no widget.
#pragma once

#include "bodies/polyhedronfile.h"
#include "catalogue/category.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
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

    // The same body, built the same way: the same file read, or the same catalogue body with the
    // same parameters.
    bool sameAs(const BodySource& other) const;
};

// The build of a body, from its source to the model on screen: the solid (from the catalogue's
// blocks or generators, or from the file), its dual (the catalogue's recipe, the dual from the face
// centroids, or the polar reciprocal), the tilt, the fit and the surface shape. Throws with a
// message for the user when the body cannot be built.
SolidModel finishModel(const CatalogueTables& tables, const BodySource& source, DualKind dual);

class BodySession {
  public:
    explicit BodySession(std::shared_ptr<const CatalogueTables> tables);

    const CatalogueTables& tables() const { return *tables_; }

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
    std::string lastRefusal_;
};

} // namespace kesmora
