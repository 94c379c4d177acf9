// Turning and zooming the model in place, and the mapping of model coordinates to screen pixels.
// Orientation and size live only in the table coordinates; there is no matrix to keep.
#pragma once

#include "geometry/solidmodel.h"

namespace kesmora {

// Turns vertices, face centroids, dual vertices and dual face centroids in place by three plane
// turns in the order x-y (alpha), y-z (beta), x-z (gamma); angles in degrees. With y pointing down
// and z into the screen, a positive alpha turns +x toward +y (clockwise on screen) and a positive
// beta turns +y away from the viewer (toward +z).
void rechnen(SolidModel& model, double alphaDeg, double betaDeg, double gammaDeg);

enum class ZoomCommand {
    Enlarge, // "Vergrößern"
    Reduce,  // "Verkleinern"
    Reset,   // "Grundeinstellung": back to 120 pixels per model unit, orientation kept
};

inline constexpr double kEnlargeFactor = 1.1;
inline constexpr double kReduceFactor = 0.9090909090909091; // the double nearest 1 / 1.1

// The factor a zoom command multiplies by at the given scale.
double zoomFactor(ZoomCommand command, double scale);

// Multiplies scale and both vertex tables (never the centroids) by the command's factor.
// A zoom that would leave scale zero, infinite or NaN (for instance a reset while scale is 0,
// where the coordinates can no longer be recovered) is ignored and returns false.
bool zoom(SolidModel& model, ZoomCommand command);

// Screen pixel of a model coordinate relative to an origin: origin + the coordinate rounded to
// the nearest integer, halves to the even neighbour (std::nearbyint in the default rounding mode,
// which the program never changes). NaN maps to the origin, and coordinates beyond
// kScreenCoordinateLimit are clamped so the conversion to int stays defined after endless zooming.
inline constexpr int kScreenCoordinateLimit = 1 << 20;
int toScreen(int origin, double coordinate);

} // namespace kesmora
