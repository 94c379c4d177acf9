// Selecting and building bodies as the window does.
#include "session.h"

#include "bodies/build.h"
#include "bodies/dualname.h"
#include "bodies/filesolid.h"
#include "bodies/polyhedronfile.h"
#include "catalogue/datadir.h"
#include "catalogue/latin1.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kesmora::inspect {

std::vector<ListedBody> listedBodies(const CatalogueTables& tables, HiddenBodies hidden) {
    std::vector<ListedBody> out;
    for (int category : {0, 2, 3}) {
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

Selection selectAsTheWindowDoes(const CatalogueTables& tables, int category, const std::string& name,
                                HiddenBodies hidden) {
    if (category != 0 && category != 2 && category != 3)
        throw std::runtime_error("unknown category " + std::to_string(category) + " (use 0, 2 or 3)");
    Selection s;
    // Start-up shows the cube of category 0, from the list without the hidden bodies; showing
    // them keeps the cube chosen.
    const auto startList = fillBodyList(tables, 0);
    if (startList.size() > 17) neuwert(s, tables, startList[17]);
    // A click on another category takes over its first entry.
    const auto list = fillBodyList(tables, category, hidden);
    if (category != 0) {
        s.currentCategory = category;
        if (!list.empty()) neuwert(s, tables, list.front());
    }
    bool listed = false;
    for (const auto& n : list)
        listed = listed || n == name;
    if (!listed) {
        const auto every = fillBodyList(tables, category, HiddenBodies::Shown);
        const bool isHidden = std::find(every.begin(), every.end(), name) != every.end();
        throw std::runtime_error("no body \"" + latin1ToUtf8(name) + "\" in the list of category " +
                                 std::to_string(category) +
                                 (isHidden ? " (it is hidden; --hidden shows the hidden bodies)" : ""));
    }
    neuwert(s, tables, name);
    return s;
}

BuiltBody buildAsTheWindowDoes(const CatalogueTables& tables, int category, const std::string& name,
                               HiddenBodies hidden, DualKind dual) {
    BuiltBody b;
    b.selection = selectAsTheWindowDoes(tables, category, name, hidden);
    b.name = name;
    b.model = buildSolid(tables, b.selection, name, dual);
    // Asked for the reciprocal, the inspector shows nothing else in its place.
    if (b.model.dualInfo.reciprocalRefused()) throw std::runtime_error(b.model.dualInfo.refusal);
    return b;
}

BuiltBody buildFileAsTheWindowDoes(const std::string& path, DualKind dual) {
    const PolyhedronFile file =
        readPolyhedronFile(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
    BuiltBody b;
    b.name = file.name;
    b.fromFile = true;
    b.model = buildFileSolid(file, dual);
    if (b.model.dualInfo.reciprocalRefused()) throw std::runtime_error(b.model.dualInfo.refusal);
    return b;
}

std::string BuiltBody::shownName() const {
    return fromFile ? name : latin1ToUtf8(name);
}

std::string BuiltBody::title() const {
    if (fromFile) return fileTitle(name, model.dualInfo.shape);
    return latin1ToUtf8(titleFor(name, model.dualInfo.shape));
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
    throw std::runtime_error("catalogue files not found; looked in:" + tried + " (or give --data DIR)");
}

Catalogue::Catalogue(std::string argv0, std::string dataDir)
    : argv0_(std::move(argv0)), dataDir_(std::move(dataDir)) {}

const CatalogueTables& Catalogue::tables() {
    if (!tables_) tables_ = LoadCatalogueTables(dataDirFor(argv0_, dataDir_));
    return *tables_;
}

BuiltBody buildNamedBody(Catalogue& catalogue, const CommandLine& line, HiddenBodies hidden, DualKind dual) {
    if (line.given("--file")) return buildFileAsTheWindowDoes(line.text("--file"), dual);
    return buildAsTheWindowDoes(catalogue.tables(), line.number("CATEGORY", 0),
                                utf8ToLatin1(line.text("NAME")), hidden, dual);
}

} // namespace kesmora::inspect
