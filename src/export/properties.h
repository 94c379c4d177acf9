// The figures of a solid and its dual as the properties window shows them: the measurements of
// stats.h, how many dual faces were cut, and all of it in German words, one row per property.
#pragma once

#include "stats.h"

#include "geometry/solidmodel.h"

#include <map>
#include <string>
#include <vector>

namespace kesmora {

struct FigureProperties {
    Stats stats;
    // Faces of the dual that were cut into smaller ones (a quasi-dual), and the pieces they became,
    // by corner count. A dual face belongs to the solid vertex of the same number; it was cut when
    // it has fewer corners than faces meet at that vertex.
    int cutFaces = 0;
    std::map<int, int> cutPieces;
    // Conway's notation where the caller knows it ("tC"), else "".
    std::string conway;
};

FigureProperties solidProperties(const SolidModel& model);
FigureProperties dualProperties(const SolidModel& model);

// One line of the window: a German label and the values for the solid and the dual (UTF-8).
struct PropertyRow {
    std::string label;
    std::string solid;
    std::string dual;
};

// The rows in the order the window shows them, the names first.
std::vector<PropertyRow> propertyRows(const std::string& solidName, const std::string& dualName,
                                      const FigureProperties& solid, const FigureProperties& dual);

// The rows of a model's solid and dual, both measured, with Conway's notations where known: what
// the properties window shows, wherever it is measured.
std::vector<PropertyRow> measuredPropertyRows(const SolidModel& model, const std::string& solidName,
                                              const std::string& dualName, const std::string& solidNotation,
                                              const std::string& dualNotation);

// A German decimal number (comma, no grouping) with at most `decimals` places, trailing zeros
// dropped: 1.41421 -> "1,4142", 2.0 -> "2". The same under every locale.
std::string germanNumber(double value, int decimals);

// "20 Dreiecke, 12 Fünfecke".
std::string faceKindsText(const std::map<int, int>& facesByCorners);

} // namespace kesmora
