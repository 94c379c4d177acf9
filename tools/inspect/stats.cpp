// The stats command: a body's solid or dual measured as the properties window measures it, printed
// as its rows or as JSON.
#include "stats.h"

#include "catalogue/latin1.h"
#include "export/properties.h"
#include "export/stats.h"
#include "session.h"

#include <QJsonArray>
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
                throw Usage("--reciprocal wählt den dualen Körper: bitte --dual dazu angeben");
        });
}

int statsCommand(Catalogue& catalogue, const CommandLine& line) {
    const bool dual = line.given("--dual"), json = line.given("--json");
    const bool reciprocal = line.given("--reciprocal");
    const BuiltBody body = buildNamedBody(catalogue, line, HiddenBodies::LeftOut,
                                          reciprocal ? DualKind::PolarReciprocal : DualKind::Catalogue);
    const int category = sectionNumber(body.selection.currentCategory);
    // The rows of the properties window, and the figures behind them in its units.
    const std::vector<PropertyRow> rows =
        measuredPropertyRows(body.model, body.shownName(), body.dualName, body.notation, body.dualNotation);
    const Stats s = measure(meshInPropertyUnits(body.model, dual));
    if (json) {
        QJsonObject o = statsJson(s);
        o["name"] = QString::fromStdString(body.shownName());
        o["dualName"] = QString::fromStdString(body.dualName);
        if (!body.fromFile) o["category"] = category;
        o["figure"] = QString::fromStdString(dual ? figureWord(body.model.dualInfo.shape) : "solid");
        if (const std::string& notation = dual ? body.dualNotation : body.notation; !notation.empty())
            o["conway"] = QString::fromStdString(notation);
        QJsonArray properties;
        for (const PropertyRow& row : rows)
            properties.append(QJsonObject{{"label", QString::fromStdString(row.label)},
                                          {"value", QString::fromStdString(dual ? row.dual : row.solid)}});
        o["properties"] = properties;
        std::cout << QJsonDocument(o).toJson(QJsonDocument::Indented).toStdString();
        return 0;
    }
    const std::string which = dual ? latin1ToUtf8(dualShapeName(body.model.dualInfo.shape)) : "Körper";
    const std::string from = body.fromFile ? "Datei" : "Kategorie " + std::to_string(category);
    std::cout << body.shownName() << ", " << which << " (" << from << ")\n";
    for (const PropertyRow& row : rows)
        std::cout << row.label << ": " << (dual ? row.dual : row.solid) << "\n";
    return 0;
}

} // namespace kesmora::inspect
