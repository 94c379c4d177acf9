// The build: the selected body's vertices (from the coordinate table or the generators), its faces
// with centroids and colour numbers, its dual, the tilt of the "Polyeder" and the fit to the view.
#pragma once

#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "dispatch.h"
#include "vertexcodes.h"
#include "geometry/solidmodel.h"

#include <array>
#include <string>

namespace kesmora {

void punkteladen(SolidModel& model, const CatalogueTables& tables, int id);
// Reads face block `id` (the body index plus the dispatch offset plus one).
void flaechenladen(SolidModel& model, const CatalogueTables& tables, int id);
// The seven bodies without stored coordinates, from their parameters.
void erzeugen(SolidModel& model, int bodyIndex, const std::array<double, 4>& bodyParams);

// No catalogue solid comes near this; beyond it turning and zooming could overflow.
inline constexpr double kLargestCoordinate = 1e100;

// Runs the whole build for the selected body into a fresh model and returns it; the caller takes
// it over only when it is complete. Throws CatalogueError or GeometryError with a message for the
// user that names the file and block (and line, where there is one) the failure came from.
// With DualKind::PolarReciprocal the dual is the solid's polar reciprocal; a body that has none
// keeps the catalogue's dual, and the model's dualInfo says why (a message that names the body).
SolidModel buildSolid(const CatalogueTables& tables, const Selection& selection, const std::string& name,
                      DualKind dual = DualKind::Catalogue);

// How far out, relative to the body's own size (both from the vertices' centroid), the reciprocal
// shown with it may reach. Fitted to the view together, a body next to a reciprocal much larger
// than itself would shrink to a speck; a thin body's broad faces, close to the centre, have their
// poles far out. Every body of the catalogue stays well within it.
inline constexpr double kFarthestPole = 20;

// Makes the polar reciprocal of the model's solid its dual. Where the body has none, the model is
// left as it was and the reason for the user is returned ("<bodyName> hat keine polare Reziproke:
// …."); empty on success.
std::string takeReciprocalDual(SolidModel& model, const std::string& bodyName);

// The refusal of the reciprocal as the window tells it, with the dual it shows instead ("…
// Gezeigt wird der duale Körper des Katalogs."); empty where nothing was refused.
std::string refusalShown(const DualInfo& info);

} // namespace kesmora
