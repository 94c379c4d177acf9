// The stats command: a body's solid or dual measured and printed as text or JSON.
#include "stats.h"

#include "export/stats.h"
#include "session.h"

#include <QJsonDocument>

#include <iostream>

namespace kesmora::inspect {

namespace {

// The dual's shape in the words of the "figure" field.
const char* figureWord(DualShape shape) {
    switch (shape) {
    case DualShape::QuasiDual:
        return "quasi-dual";
    case DualShape::PolarReciprocal:
        return "polar reciprocal";
    case DualShape::Plain:
        break;
    }
    return "dual";
}

} // namespace

Options statsOptions() {
    return bodyCommand("stats").flag("--dual").flag("--reciprocal").flag("--json").check(
        [](const CommandLine& line) {
            if (line.given("--reciprocal") && !line.given("--dual"))
                throw Usage("--reciprocal chooses the dual: give --dual with it");
        });
}

int statsCommand(Catalogue& catalogue, const CommandLine& line) {
    const bool dual = line.given("--dual"), json = line.given("--json");
    const bool reciprocal = line.given("--reciprocal");
    const BuiltBody body = buildNamedBody(catalogue, line, HiddenBodies::LeftOut,
                                          reciprocal ? DualKind::PolarReciprocal : DualKind::Catalogue);
    const int category = sectionNumber(body.selection.currentCategory);
    const Stats s = measure(dual ? dualMesh(body.model) : solidMesh(body.model));
    const std::string which = dual ? figureWord(body.model.dualInfo.shape) : "solid";
    if (json) {
        QJsonObject o = statsJson(s);
        o["name"] = QString::fromStdString(body.shownName());
        if (!body.fromFile) o["category"] = category;
        o["figure"] = QString::fromStdString(which);
        if (const std::string& notation = dual ? body.dualNotation : body.notation; !notation.empty())
            o["conway"] = QString::fromStdString(notation);
        std::cout << QJsonDocument(o).toJson(QJsonDocument::Indented).toStdString();
        return 0;
    }
    const std::string from = body.fromFile ? "file" : "category " + std::to_string(category);
    std::cout << statsText(s, body.shownName() + ", " + which + " (" + from + ")");
    if (const std::string& notation = dual ? body.dualNotation : body.notation; !notation.empty())
        std::cout << "conway        " << notation << "\n";
    return 0;
}

} // namespace kesmora::inspect
