// The body session.
#include "bodysession.h"

#include "bodies/build.h"
#include "bodies/dualname.h"
#include "bodies/filesolid.h"

#include <utility>

namespace kesmora {

bool BodySource::sameAs(const BodySource& other) const {
    if (file || other.file) return file == other.file;
    return selection.currentCategory == other.selection.currentCategory &&
           selection.bodyIndex == other.selection.bodyIndex && selection.bodyParams == other.selection.bodyParams &&
           name == other.name;
}

SolidModel finishModel(const CatalogueTables& tables, const BodySource& source, DualKind dual) {
    if (source.file) return buildFileSolid(*source.file, dual);
    return buildSolid(tables, source.selection, source.name, dual);
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
    chosen_.name.clear();
    chosen_.selection.currentCategory = category;
    chosen_.selection.bodyIndex = 0;
    return bodyList();
}

void BodySession::chooseBody(const std::string& name) {
    chosen_.file.reset();
    chosen_.name = name;
    neuwert(chosen_.selection, *tables_, name);
}

void BodySession::chooseFile(std::shared_ptr<const PolyhedronFile> file) {
    chosen_.file = std::move(file);
}

DualShape BodySession::askedDualShape() const {
    if (dualKind_ == DualKind::PolarReciprocal) return DualShape::PolarReciprocal;
    return chosen_.file ? DualShape::Plain : catalogueDualShape(chosen_.selection.currentCategory);
}

const SolidModel& BodySession::build() {
    // The tables are read once, so the same body built the same way gives the same model.
    if (shown_ && shownDual_ == dualKind_ && chosen_.sameAs(*shown_)) return finished_;
    try {
        SolidModel built = finishModel(*tables_, chosen_, dualKind_);
        finished_ = std::move(built);
    } catch (...) {
        backToShown();
        throw;
    }
    shown_ = chosen_;
    shownDual_ = dualKind_;
    return finished_;
}

const SolidModel& BodySession::buildFile(std::shared_ptr<const PolyhedronFile> file) {
    BodySource source = chosen_;
    source.file = std::move(file);
    finished_ = finishModel(*tables_, source, dualKind_);
    chosen_ = source;
    shown_ = std::move(source);
    shownDual_ = dualKind_;
    return finished_;
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
