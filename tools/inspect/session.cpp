// Selecting and building bodies as the window does.
#include "session.h"

#include "bodies/build.h"
#include "bodies/dualname.h"
#include "bodies/filesolid.h"
#include "bodies/polyhedronfile.h"
#include "catalogue/datadir.h"
#include "catalogue/latin1.h"
#include "catalogue/namematch.h"
#include "geometry/morph.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kesmora::inspect {

std::vector<ListedBody> listedBodies(const CatalogueTables& tables, HiddenBodies hidden) {
    std::vector<ListedBody> out;
    for (Category category : kCategories) {
        const auto names = fillBodyList(tables, category, hidden);
        for (std::size_t i = 0; i < names.size(); ++i) {
            Selection s;
            s.currentCategory = category;
            neuwert(s, tables, names[i]);
            const auto d = dispatchFor(category, s.bodyIndex);
            out.push_back({category, static_cast<int>(i), s.bodyIndex, d ? d->blockId : 0, names[i]});
        }
    }
    return out;
}

namespace {

// "„A“, „B“ oder „C“"
std::string quotedNames(const std::vector<std::string>& latin1Names) {
    std::string text;
    for (std::size_t i = 0; i < latin1Names.size(); ++i)
        text += std::string(i == 0 ? "" : i + 1 == latin1Names.size() ? " oder " : ", ") + "\u201e" +
                latin1ToUtf8(latin1Names[i]) + "\u201c";
    return text;
}

} // namespace

std::string findBodyName(const CatalogueTables& tables, Category category, const std::string& typed,
                         HiddenBodies hidden) {
    const std::string where = "Kategorie " + std::to_string(sectionNumber(category)) + " (" +
                              categoryName(category) + ")";
    // Whatever was typed is shown safely: no control character reaches the terminal.
    const std::string shown = "\u201e" + escapedForDisplay(typed) + "\u201c";
    const NameMatch match = matchBodyName(fillBodyList(tables, category, hidden), typed);
    if (match.found.size() == 1) return match.found.front();
    if (match.found.size() > 1) {
        const std::size_t offered = std::min<std::size_t>(3, match.found.size());
        const std::vector<std::string> some(match.found.begin(),
                                            match.found.begin() + static_cast<std::ptrdiff_t>(offered));
        throw NotFound(shown + " passt auf " + std::to_string(match.found.size()) + " Körper der " + where +
                       ". Meinten Sie " + quotedNames(some) + "?");
    }
    if (hidden == HiddenBodies::LeftOut) {
        const NameMatch all = matchBodyName(fillBodyList(tables, category, HiddenBodies::Shown), typed);
        if (!all.found.empty())
            throw NotFound(shown + " ist in der " + where + " ausgeblendet; --hidden zeigt die ausgeblendeten Körper.");
    }
    throw NotFound("Kein Körper " + shown + " in der Liste der " + where + "." +
                   (match.suggestions.empty() ? "" : " Meinten Sie " + quotedNames(match.suggestions) + "?"));
}

BodySession chooseAsTheWindowDoes(std::shared_ptr<const CatalogueTables> tables, int section,
                                  const std::string& typed, HiddenBodies hidden) {
    const std::optional<Category> category = categoryOfSection(section);
    if (!category)
        throw std::runtime_error("Unbekannte Kategorie " + std::to_string(section) + " (0, 2 oder 3)");
    BodySession session(std::move(tables));
    // The start takes over the cube of the first category, from the list without the hidden
    // bodies; showing them keeps the cube chosen.
    const std::string start = session.startBody();
    if (!start.empty()) session.chooseBody(start);
    session.setHidden(hidden);
    // A click on another category takes over its first entry.
    std::vector<std::string> list = session.bodyList();
    if (*category != session.category()) {
        list = session.chooseCategory(*category);
        if (!list.empty()) session.chooseBody(list.front());
    }
    session.chooseBody(findBodyName(session.tables(), *category, typed, hidden));
    return session;
}

namespace {

// The operations applied to the body chosen, as the window applies them.
void buildWithOperations(BodySession& session, const Operations& operations, BuiltBody& b) {
    if (!operations.recipe.empty()) {
        BodySource source = session.withRecipe(operations.recipe);
        source.canonical = operations.canonical;
        session.choose(std::move(source));
    }
    b.model = session.build();
    b.recipe = session.recipe();
    b.note = session.operationNote();
    b.notation = session.shownNotation(false);
    b.dualNotation = session.shownNotation(true);
}

} // namespace

BuiltBody buildAsTheWindowDoes(std::shared_ptr<const CatalogueTables> tables, int section, const std::string& name,
                               HiddenBodies hidden, DualKind dual, const Operations& operations) {
    BodySession session = chooseAsTheWindowDoes(std::move(tables), section, name, hidden);
    session.setDualKind(dual);
    BuiltBody b;
    buildWithOperations(session, operations, b);
    b.selection = session.selection();
    b.name = session.chosenName();
    // Only a catalogue body without operations has a partner in the catalogue, as in the window.
    b.dualName = latin1ToUtf8(
        operations.recipe.empty()
            ? dualNameFor(session.tables(), b.selection.currentCategory, b.selection.bodyIndex, b.model.dualInfo.shape)
            : dualShapeName(b.model.dualInfo.shape));
    // Asked for the reciprocal, the inspector shows nothing else in its place.
    if (b.model.dualInfo.reciprocalRefused()) throw std::runtime_error(b.model.dualInfo.refusal);
    return b;
}

BuiltBody buildFileAsTheWindowDoes(const std::string& path, DualKind dual, const Operations& operations) {
    auto file = std::make_shared<const PolyhedronFile>(
        readPolyhedronFile(QByteArray(path.data(), static_cast<qsizetype>(path.size()))));
    // A file needs no catalogue: the session's tables stay empty.
    BodySession session(std::make_shared<const CatalogueTables>());
    session.setDualKind(dual);
    BuiltBody b;
    b.name = file->name;
    b.fromFile = true;
    b.model = session.buildFile(std::move(file));
    if (!operations.recipe.empty()) buildWithOperations(session, operations, b);
    b.dualName = latin1ToUtf8(dualShapeName(b.model.dualInfo.shape));
    if (b.model.dualInfo.reciprocalRefused()) throw std::runtime_error(b.model.dualInfo.refusal);
    return b;
}

std::string BuiltBody::shownName() const {
    return titledWithRecipe(recipe, fromFile ? name : latin1ToUtf8(name));
}

std::string BuiltBody::title() const {
    if (fromFile) return titledWithRecipe(recipe, fileTitle(name, model.dualInfo.shape));
    return titledWithRecipe(recipe, latin1ToUtf8(titleFor(name, model.dualInfo.shape)));
}

std::filesystem::path dataDirFor(const std::string& argv0, const std::string& given) {
    if (!given.empty()) return given;
    // The error_code overloads throughout: a folder the file system refuses is a catalogue not
    // found, not an exception from the standard library.
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec) exe = std::filesystem::absolute(argv0, ec);
    if (ec) exe = argv0;
    if (const auto dir = findDataDir(exe.parent_path())) return *dir;
    std::string tried;
    for (const auto& c : dataDirCandidates(exe.parent_path()))
        tried += " " + c.string();
    throw std::runtime_error("Katalogdateien nicht gefunden; gesucht in:" + tried +
                             " (oder --data VERZEICHNIS angeben)");
}

Catalogue::Catalogue(std::string argv0, std::string dataDir)
    : argv0_(std::move(argv0)), dataDir_(std::move(dataDir)) {}

std::shared_ptr<const CatalogueTables> Catalogue::shared() {
    if (!tables_) tables_ = std::make_shared<const CatalogueTables>(LoadCatalogueTables(dataDirFor(argv0_, dataDir_)));
    return tables_;
}

BuiltBody buildNamedBody(Catalogue& catalogue, const CommandLine& line, HiddenBodies hidden, DualKind dual) {
    const Operations operations{line.text("--op"), !line.given("--plain")};
    if (line.given("--hidden")) hidden = HiddenBodies::Shown;
    // The morph shows the way to the polar reciprocal, so that is the dual shown with it.
    const bool morph = line.given("--morph");
    if (morph) dual = DualKind::PolarReciprocal;
    BuiltBody body = line.given("--file")
                         ? buildFileAsTheWindowDoes(line.text("--file"), dual, operations)
                         : buildAsTheWindowDoes(catalogue.shared(), sectionNumber(categoryOf(line)),
                                                line.text("NAME"), hidden, dual, operations);
    if (morph) {
        const DualMorph way(meshOf(body.model.solid));
        showMorph(body.model, way, morphPosition(line));
    }
    return body;
}

} // namespace kesmora::inspect
