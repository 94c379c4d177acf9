// The body session.
#include "bodysession.h"

#include "bodies/build.h"
#include "bodies/dualname.h"
#include "bodies/filesolid.h"
#include "bodies/notation.h"
#include "catalogue/latin1.h"
#include "geometry/placement.h"

#include <utility>

namespace kesmora {

bool BodySource::sameSeedAs(const BodySource& other) const {
    if (file || other.file) return file == other.file;
    return selection.currentCategory == other.selection.currentCategory &&
           selection.bodyIndex == other.selection.bodyIndex && selection.bodyParams == other.selection.bodyParams &&
           name == other.name;
}

bool BodySource::sameAs(const BodySource& other) const {
    if (!sameSeedAs(other) || recipe != other.recipe) return false;
    return recipe.empty() || canonical == other.canonical;
}

BodySource BodySource::seed() const {
    BodySource s = *this;
    s.recipe.clear();
    return s;
}

std::string titledWithRecipe(const std::string& recipe, const std::string& title) {
    return recipe.empty() ? title : recipe + " · " + title;
}

namespace {

// The name a result of operations goes by in messages: the recipe and the body it was made from.
std::string madeName(const BodySource& source) {
    const std::string seed = source.file ? source.file->name : latin1ToUtf8(source.name);
    return titledWithRecipe(source.recipe, seed);
}

} // namespace

FinishedBody finishModel(const CatalogueTables& tables, const BodySource& source, DualKind dual,
                         const ProgressCallback& progress, std::shared_ptr<const RecipeResult> made) {
    FinishedBody finished;
    if (source.recipe.empty()) {
        finished.model = source.file ? buildFileSolid(*source.file, dual)
                                     : buildSolid(tables, source.selection, source.name, dual);
        return finished;
    }
    if (!made) {
        // The operations start from the body as it is shown without them: its solid, turned and
        // placed as on screen.
        const PolyMesh seed = meshOf(finishModel(tables, source.seed(), DualKind::Catalogue).model.solid);
        finished.seedCounts = countsOf(seed);
        RecipeOptions options;
        options.canonical = source.canonical;
        options.progress = progress;
        auto result = std::make_shared<RecipeResult>(applyRecipe(seed, source.recipe, options));
        if (result->cancelled) {
            finished.cancelled = true;
            return finished;
        }
        made = std::move(result);
    }
    const PolyMesh reciprocal = made->canonical ? canonicalDual(made->mesh) : PolyMesh{};
    finished.model = buildMadeSolid(made->mesh, made->canonical ? &reciprocal : nullptr, madeName(source), dual);
    // The operations worked on the seed as it was shown, tilted where the seed was: their result's
    // own coordinates are those turned back.
    if (source.file || tilts(source.selection.currentCategory)) {
        untilt(finished.model.own.solid);
        untilt(finished.model.own.dual);
    }
    finished.made = std::move(made);
    return finished;
}

BodySession::BodySession(std::shared_ptr<const CatalogueTables> tables) : tables_(std::move(tables)) {}

std::vector<std::string> BodySession::bodyList() const {
    return fillBodyList(*tables_, chosen_.selection.currentCategory, hidden_);
}

std::string BodySession::startBody() const {
    const std::vector<std::string> list = fillBodyList(*tables_, kCategories.front());
    return list.size() > 17 ? list[17] : std::string();
}

std::vector<std::string> BodySession::chooseCategory(Category category) {
    chosen_.file.reset();
    chosen_.recipe.clear();
    chosen_.name.clear();
    chosen_.selection.currentCategory = category;
    chosen_.selection.bodyIndex = 0;
    return bodyList();
}

void BodySession::chooseBody(const std::string& name) {
    chosen_.file.reset();
    chosen_.recipe.clear();
    chosen_.name = name;
    neuwert(chosen_.selection, *tables_, name);
}

void BodySession::chooseFile(std::shared_ptr<const PolyhedronFile> file) {
    chosen_.file = std::move(file);
    chosen_.recipe.clear();
}

BodySource BodySession::withRecipe(const std::string& recipe) const {
    parseRecipe(recipe); // throws for a recipe that cannot be read
    BodySource source = chosen_;
    source.recipe = recipe;
    return source;
}

BodySource BodySession::withoutLastOperation() const {
    // The operation applied last is written first: its letter and the degree that may follow it.
    BodySource source = chosen_;
    std::string& r = source.recipe;
    if (r.empty()) return source;
    std::size_t end = 1;
    while (end < r.size() && r[end] >= '0' && r[end] <= '9')
        ++end;
    r.erase(0, end);
    return source;
}

BodySource BodySession::withCanonical(bool canonical) const {
    BodySource source = chosen_;
    source.canonical = canonical;
    return source;
}

bool BodySession::needsBuild() const {
    return !(shown_ && shownDual_ == dualKind_ && chosen_.sameAs(*shown_));
}

std::shared_ptr<const RecipeResult> BodySession::madeFor(const BodySource& source) const {
    if (!made_ || !shown_ || !source.sameAs(*shown_)) return nullptr;
    return made_;
}

const SolidModel& BodySession::adopt(const BodySource& source, DualKind dual, FinishedBody finished) {
    finished_ = std::move(finished.model);
    // Reused operations keep the counts of the seed they were made from.
    if (finished.made && finished.made != made_) seedCounts_ = finished.seedCounts;
    made_ = std::move(finished.made);
    chosen_ = source;
    shown_ = source;
    shownDual_ = dual;
    dualKind_ = dual;
    return finished_;
}

std::string BodySession::shownNotation(bool dual) const {
    if (!shown_) return {};
    if (shown_->file) {
        if (shown_->recipe.empty()) return {};
        const std::string made = titledWithRecipe(shown_->recipe, shown_->file->name);
        return dual ? "d" + made : made;
    }
    const std::string seed = conwayNotation(shown_->selection.currentCategory, shown_->selection.bodyIndex);
    if (seed.empty()) return {};
    const std::string solid = shown_->recipe + seed;
    return dual ? dualNotation(solid) : solid;
}

MeshCounts BodySession::seedCounts() const {
    // Counted when asked (a recipe being typed), not on every build of the body list.
    return made_ ? seedCounts_ : countsOf(meshOf(finished_.solid));
}

std::string BodySession::operationNote() const {
    return made_ ? made_->note : std::string();
}

DualShape BodySession::askedDualShape() const {
    if (dualKind_ == DualKind::PolarReciprocal) return DualShape::PolarReciprocal;
    return chosen_.file ? DualShape::Plain : catalogueDualShape(chosen_.selection.currentCategory);
}

const SolidModel& BodySession::build() {
    // The tables are read once, so the same body built the same way gives the same model.
    if (!needsBuild()) return finished_;
    FinishedBody built;
    try {
        built = finishModel(*tables_, chosen_, dualKind_, {}, madeFor(chosen_));
    } catch (...) {
        backToShown();
        throw;
    }
    return adopt(BodySource(chosen_), dualKind_, std::move(built));
}

const SolidModel& BodySession::buildFile(std::shared_ptr<const PolyhedronFile> file) {
    BodySource source = chosen_;
    source.file = std::move(file);
    source.recipe.clear();
    FinishedBody built = finishModel(*tables_, source, dualKind_);
    return adopt(source, dualKind_, std::move(built));
}

void BodySession::backToShown() {
    if (!shown_) return;
    chosen_ = *shown_;
}

std::string BodySession::refusal() const {
    return shown_ ? refusalShown(finished_.dualInfo) : std::string();
}

std::string BodySession::refusalNotSaid() {
    const std::string r = refusal();
    if (r == lastRefusal_) return {};
    lastRefusal_ = r;
    return r;
}

std::string BodySession::refusalToSay() {
    lastRefusal_ = refusal();
    return lastRefusal_;
}

} // namespace kesmora
