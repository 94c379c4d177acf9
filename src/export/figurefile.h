// What the window and the inspector hand out as files: the solid or its dual as a mesh file, and
// the picture of the drawing area. Both write whole or not at all (export/output.h).
#pragma once

#include "geometry/solidmodel.h"
#include "mesh.h"
#include "view/rendersettings.h"

#include <QByteArray>
#include <QSize>

#include <string>

namespace kesmora {

enum class MeshFormat { Off, Obj, Stl, StlAscii };

// The figure's caption inside a file (UTF-8): the body's name, for the dual with the name of its
// shape ("Oktaeder, dualer Körper", "Johnson Polyeder 06, Quasi-Dual").
std::string figureTitle(const std::string& bodyName, bool dual, DualShape shape);

// Writes the solid (or the dual) with its faces turned outward, placed as `placement` asks: in the
// body's own units unless the view's placement or a longest edge in millimetres is asked for. Throws std::runtime_error with a
// German message when the faces do not form a closed two-sided surface, or when writing fails.
void writeFigureFile(const SolidModel& model, bool dual, MeshFormat format, const std::string& title,
                     const std::string& file, const FilePlacement& placement = {});
// The bytes writeFigureFile writes, with the same refusals.
std::string figureFileBytes(const SolidModel& model, bool dual, MeshFormat format, const std::string& title,
                            const FilePlacement& placement = {});

// The picture of the drawing area as `settings` draws `model`, `size` pixels: an SVG that stays
// vector when `svg`, otherwise a raster picture in `rasterFormat` (as QImageWriter names it).
// "Durchdringung 3" combines pixels and has no vector form: refused with a German message.
void writeScenePicture(const SolidModel& model, const RenderSettings& settings, QSize size, const std::string& title,
                       const std::string& file, bool svg, const QByteArray& rasterFormat = "png");

} // namespace kesmora
