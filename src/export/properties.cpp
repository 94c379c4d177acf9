// The properties of a solid and its dual in German words.
#include "properties.h"

#include "mesh.h"

#include "catalogue/numbertext.h"

#include <algorithm>
#include <cmath>

namespace kesmora {

namespace {

const char* const kPolygonNames[] = {"Dreieck", "Viereck", "Fünfeck", "Sechseck", "Siebeneck",
                                     "Achteck", "Neuneck", "Zehneck", "Elfeck",   "Zwölfeck"};

std::string polygonName(int corners, int count) {
    const std::string singular = corners >= 3 && corners <= 12 ? kPolygonNames[corners - 3]
                                                               : std::to_string(corners) + "-Eck";
    return count == 1 ? singular : singular + "e";
}

// A space that a line never breaks at, so that "30 × 3.5.3.5" and "60 Kanten" stay whole when the
// window wraps a long value.
constexpr const char* kFixedSpace = "\u00a0";

std::string counted(int count, const char* singular, const char* plural) {
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

std::string countedFixed(int count, const char* singular, const char* plural) {
    return std::to_string(count) + kFixedSpace + (count == 1 ? singular : plural);
}

std::string yesNo(bool b) {
    return b ? "ja" : "nein";
}

std::string configurationText(const std::vector<VertexConfiguration>& configurations,
                              const std::map<int, std::string>& cornerNames = {}) {
    std::string s;
    for (const VertexConfiguration& c : configurations) {
        std::string sizes;
        for (int size : c.faceSizes) {
            const auto named = cornerNames.find(size);
            sizes += (sizes.empty() ? "" : ".") + (named != cornerNames.end() ? named->second : std::to_string(size));
        }
        s += (s.empty() ? "" : ", ") + std::to_string(c.count) + kFixedSpace + "\u00d7" + kFixedSpace + sizes;
    }
    return s.empty() ? "\u2013" : s;
}

std::string edgeLengthText(const Stats& s) {
    if (s.edgeLengths.empty() || s.shortestEdge <= 0) return "\u2013";
    std::string text;
    for (const LengthGroup& g : s.edgeLengths)
        text += (text.empty() ? "" : ", ") + germanNumber(g.length / s.edgeLengths.front().length, 4) + " (" +
                countedFixed(g.count, "Kante", "Kanten") + ")";
    return text;
}

std::string dihedralText(const Stats& s) {
    std::string text;
    for (const DihedralGroup& g : s.dihedrals)
        text += (text.empty() ? "" : ", ") + germanNumber(g.degrees, 2) + "\u00b0 (" +
                countedFixed(g.count, "Kante", "Kanten") + ")";
    return text.empty() ? "\u2013" : text;
}

// Area or volume for edge length 1 when all edges are equal, else for a longest edge of 1.
struct Unit {
    double length = 0;
    std::string note;
};

Unit unitOf(const Stats& s) {
    if (s.edgeLengths.size() == 1) return {s.edgeLengths.front().length, "Kantenlänge 1"};
    return {s.longestEdge, "längste Kante 1"};
}

// A body whose faces pierce one another shows the surface and volume of the region it encloses,
// or, where that could not be measured, says what the sums over its faces are.
std::string areaText(const Stats& s) {
    const Unit unit = unitOf(s);
    if (unit.length <= 0) return "\u2013";
    if (s.piercesItself && s.enclosedMeasured)
        return germanNumber(s.enclosedSurface / (unit.length * unit.length), 4) + " (" + unit.note +
               "; äußere Hülle)";
    if (s.piercesItself)
        return germanNumber(s.surfaceArea / (unit.length * unit.length), 4) + " (" + unit.note +
               "; Summe der Flächeninhalte, Überlappungen mehrfach)";
    return germanNumber(s.surfaceArea / (unit.length * unit.length), 4) + " (" + unit.note + ")";
}

std::string volumeText(const Stats& s) {
    const Unit unit = unitOf(s);
    if (unit.length <= 0) return "\u2013";
    if (!s.closed) return "\u2013 (Oberfläche nicht geschlossen)";
    if (!s.oriented) return "\u2013 (Oberfläche ohne Innen und Außen)";
    const double cube = unit.length * unit.length * unit.length;
    if (s.piercesItself && s.enclosedMeasured)
        return germanNumber(s.enclosedVolume / cube, 4) + " (" + unit.note + "; umschlossener Raum)";
    if (s.piercesItself)
        return germanNumber(s.volume / cube, 4) + " (" + unit.note + "; Überlappungen mehrfach gezählt)";
    return germanNumber(s.volume / cube, 4) + " (" + unit.note + ")";
}

// The sums over the faces of a body that pierces itself, beside its enclosed region.
std::string faceSumText(const Stats& s) {
    const Unit unit = unitOf(s);
    if (unit.length <= 0 || !s.piercesItself) return "\u2013";
    return germanNumber(s.surfaceArea / (unit.length * unit.length), 4) + " (Flächen durchdringen einander)";
}

const char* starName(int corners) {
    switch (corners) {
    case 5: return "Pentagramm";
    case 7: return "Heptagramm";
    case 8: return "Oktagramm";
    case 9: return "Enneagramm";
    case 10: return "Dekagramm";
    case 12: return "Dodekagramm";
    default: return nullptr;
    }
}

// "12 Pentagramme", "5 Vierecke, 2 Pentagramme": star faces by their own names.
std::string faceKindsWithStars(const Stats& s) {
    bool stars = false;
    for (const auto& [kind, count] : s.faceKinds)
        stars = stars || kind.second >= 2;
    if (!stars) return faceKindsText(s.faceTypes);
    std::string text;
    for (const auto& [kind, count] : s.faceKinds) {
        const auto [corners, windings] = kind;
        std::string name;
        if (windings < 2) name = faceKindsText({{corners, count}});
        else if (const char* star = starName(corners); star != nullptr)
            name = std::to_string(count) + " " + star + (count == 1 ? "" : "e");
        else
            name = std::to_string(count) + " Sternpolygon" + (count == 1 ? " " : "e ") + "{" + std::to_string(corners) +
                   "/" + std::to_string(windings) + "}";
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

// Corner counts as written in a vertex configuration: "5/2" where every face of five corners is
// a pentagram.
std::map<int, std::string> cornerNames(const Stats& s) {
    std::map<int, std::string> names;
    std::map<int, int> windingsOf;
    for (const auto& [kind, count] : s.faceKinds) {
        const auto [corners, windings] = kind;
        const auto [at, fresh] = windingsOf.try_emplace(corners, windings);
        if (!fresh && at->second != windings) at->second = -1;
    }
    for (const auto& [corners, windings] : windingsOf)
        names[corners] = std::to_string(corners) + (windings >= 2 ? "/" + std::to_string(windings) : "");
    return names;
}

std::string planarText(const FigureProperties& p) {
    const Stats& s = p.stats;
    std::string text = yesNo(s.planar && s.degenerateFaces == 0);
    std::string why;
    if (!s.planar) why = counted(s.nonPlanarFaces, "Fläche", "Flächen") + " nicht eben";
    if (s.degenerateFaces > 0)
        why += (why.empty() ? "" : ", ") + counted(s.degenerateFaces, "Fläche", "Flächen") + " ohne Inhalt";
    if (!why.empty()) text += " (" + why + ")";
    if (p.cutFaces > 0) {
        std::string into = faceKindsText(p.cutPieces);
        if (const std::size_t last = into.rfind(", "); last != std::string::npos) into.replace(last, 2, " und ");
        text += "; " + counted(p.cutFaces, "Fläche", "Flächen") + " in " + into + " geteilt";
    }
    return text;
}

// "5/12·(3 + √5) ≈ 2,1817", or the decimals alone where no closed form is recognised.
std::string exactAndDecimal(const std::string& exact, double value, int decimals) {
    const std::string decimal = germanNumber(value, decimals);
    return exact.empty() ? decimal : exact + " \u2248 " + decimal;
}

std::string symmetryText(const Stats& s) {
    if (s.symmetryGroup.empty()) return "\u2013";
    return s.symmetryGroup + ", Ordnung " + std::to_string(s.symmetryOrder);
}

std::string chiralText(const Stats& s) {
    if (s.symmetryGroup.empty()) return "\u2013";
    return s.chiral ? "ja (nicht deckungsgleich mit seinem Spiegelbild)" : "nein";
}

std::string radiusText(const RadiusFigure& r) {
    if (!r.measured) return "\u2013";
    if (r.exists) return exactAndDecimal(r.exact, r.least, 4);
    return "\u2013 (Abstände " + germanNumber(r.least, 4) + " bis " + germanNumber(r.most, 4) + ")";
}

std::string edgeClassText(const Stats& s) {
    std::string text;
    for (const DihedralClassFigure& d : s.dihedralClasses) {
        const std::string angle = germanNumber(d.degrees, 2) + "\u00b0";
        text += (text.empty() ? "" : "; ") + std::to_string(d.smallerFace) + "\u2013" +
                std::to_string(d.largerFace) + ": " + (d.exact.empty() ? angle : d.exact + " \u2248 " + angle) +
                " (" + countedFixed(d.count, "Kante", "Kanten") + ")";
    }
    return text.empty() ? "\u2013" : text;
}

std::string solidAngleText(const Stats& s) {
    std::string text;
    for (const SolidAngleFigure& a : s.solidAngles) {
        std::string sizes;
        for (int size : a.configuration)
            sizes += (sizes.empty() ? "" : ".") + std::to_string(size);
        text += (text.empty() ? "" : "; ") + sizes + ": " + germanNumber(a.steradians, 4) + kFixedSpace + "sr (" +
                countedFixed(a.count, "Ecke", "Ecken") + ")";
    }
    return text.empty() ? "\u2013" : text;
}

FigureProperties propertiesOf(Mesh mesh) {
    FigureProperties p;
    p.stats = measure(std::move(mesh));
    return p;
}

} // namespace

std::string germanNumber(double value, int decimals) {
    std::string text = formatFixed(value, decimals);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    for (char& ch : text)
        if (ch == '.') ch = ',';
    return text;
}

std::string faceKindsText(const std::map<int, int>& facesByCorners) {
    std::string s;
    for (const auto& [corners, count] : facesByCorners)
        s += (s.empty() ? "" : ", ") + std::to_string(count) + " " + polygonName(corners, count);
    return s.empty() ? "\u2013" : s;
}

FigureProperties solidProperties(const SolidModel& model) {
    return propertiesOf(solidMesh(model));
}

FigureProperties dualProperties(const SolidModel& model) {
    FigureProperties p = propertiesOf(dualMesh(model));
    const Figure& solid = model.solid;
    const Figure& dual = model.dual;
    std::vector<int> facesAt(static_cast<std::size_t>(solid.vertices.size()), 0);
    for (const FaceView face : solid.faces)
        for (const int v : face)
            if (v >= 0 && v < solid.vertices.size()) ++facesAt[static_cast<std::size_t>(v)];
    const int ownFaces = std::min(solid.vertices.size(), dual.faces.size());
    for (int v = 0; v < ownFaces; ++v) {
        const int corners = dual.faces[v].size();
        if (corners >= facesAt[static_cast<std::size_t>(v)]) continue;
        ++p.cutFaces;
        ++p.cutPieces[corners];
    }
    // The pieces cut off are added after the faces of the solid's vertices.
    for (int f = ownFaces; f < dual.faces.size(); ++f)
        ++p.cutPieces[dual.faces[f].size()];
    if (p.cutFaces == 0) p.cutPieces.clear();
    return p;
}

std::vector<PropertyRow> measuredPropertyRows(const SolidModel& model, const std::string& solidName,
                                              const std::string& dualName, const std::string& solidNotation,
                                              const std::string& dualNotation) {
    FigureProperties solid = solidProperties(model), dual = dualProperties(model);
    solid.conway = solidNotation;
    dual.conway = dualNotation;
    return propertyRows(solidName, dualName, solid, dual);
}

std::vector<PropertyRow> propertyRows(const std::string& solidName, const std::string& dualName,
                                      const FigureProperties& solid, const FigureProperties& dual) {
    std::vector<PropertyRow> rows;
    auto add = [&](std::string label, auto text) {
        rows.push_back({std::move(label), text(solid), text(dual)});
    };
    rows.push_back({"Name", solidName, dualName});
    add("Ecken", [](const FigureProperties& p) { return std::to_string(p.stats.vertices); });
    add("Kanten", [](const FigureProperties& p) { return std::to_string(p.stats.edges); });
    add("Flächen", [](const FigureProperties& p) { return std::to_string(p.stats.faces); });
    add("Flächenarten", [](const FigureProperties& p) { return faceKindsWithStars(p.stats); });
    add("Eckenkonfigurationen", [](const FigureProperties& p) {
        return configurationText(p.stats.vertexConfigurations, cornerNames(p.stats));
    });
    add("E \u2212 K + F", [](const FigureProperties& p) {
        const Stats& s = p.stats;
        return std::to_string(s.vertices) + " \u2212 " + std::to_string(s.edges) + " + " + std::to_string(s.faces) +
               " = " + std::to_string(s.euler);
    });
    add("Symmetriegruppe", [](const FigureProperties& p) { return symmetryText(p.stats); });
    add("Chiral", [](const FigureProperties& p) { return chiralText(p.stats); });
    add("Schläfli-Symbol", [](const FigureProperties& p) {
        return p.stats.schlaefli.empty() ? std::string("\u2013") : p.stats.schlaefli;
    });
    add("Conway-Notation", [](const FigureProperties& p) {
        return p.conway.empty() ? std::string("\u2013") : p.conway;
    });
    add("Kantenlängen (kürzeste = 1)", [](const FigureProperties& p) { return edgeLengthText(p.stats); });
    add("Flächenwinkel", [](const FigureProperties& p) { return dihedralText(p.stats); });
    add("Flächenwinkel je Kantenart", [](const FigureProperties& p) { return edgeClassText(p.stats); });
    add("Raumwinkel an den Ecken", [](const FigureProperties& p) { return solidAngleText(p.stats); });
    add("Oberfläche", [](const FigureProperties& p) { return areaText(p.stats); });
    add("Volumen", [](const FigureProperties& p) { return volumeText(p.stats); });
    add("Summe der Flächeninhalte", [](const FigureProperties& p) { return faceSumText(p.stats); });
    add("Längen und Flächen bezogen auf", [](const FigureProperties& p) {
        const Stats& s = p.stats;
        if (s.unit <= 0) return std::string("\u2013");
        return std::string(s.unitIsEdge ? "Kantenlänge 1" : "längste Kante 1");
    });
    add("Oberfläche genau", [](const FigureProperties& p) {
        const Stats& s = p.stats;
        return s.unit <= 0 ? std::string("\u2013") : exactAndDecimal(s.surfaceExact, s.surfaceInUnits, 4);
    });
    add("Volumen genau", [](const FigureProperties& p) {
        const Stats& s = p.stats;
        if (s.unit <= 0 || !s.closed || !s.oriented) return std::string("\u2013");
        return exactAndDecimal(s.volumeExact, s.volumeInUnits, 4);
    });
    add("Umkugelradius", [](const FigureProperties& p) { return radiusText(p.stats.circumradius); });
    add("Kantenkugelradius", [](const FigureProperties& p) { return radiusText(p.stats.midradius); });
    add("Inkugelradius", [](const FigureProperties& p) { return radiusText(p.stats.inradius); });
    add("Konvex", [](const FigureProperties& p) { return yesNo(p.stats.convex); });
    add("Alle Flächen eben", [](const FigureProperties& p) { return planarText(p); });
    return rows;
}

} // namespace kesmora
