// The paper a net is laid out on: its measures in millimetres, the page turns tried, and the plane
// geometry of points, sides and corners on it.
#pragma once

#include "unfold.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <cstddef>
#include <numbers>
#include <vector>

namespace kesmora::nets {

// Millimetres on the sheet.
constexpr double kMargin = 8; // printers leave the border of the page white
constexpr double kHeader = 17;
constexpr double kFooter = 6;
constexpr double kTabMax = 6;
constexpr double kGap = 2;      // the cutting gap between pieces on a sheet
constexpr double kMinTab = 0.3; // a tab less deep than this cannot be glued
constexpr int kShortestEdge = 3;
constexpr int kTurns = 90; // page turns tried, 2 degrees apart

constexpr double kDegree = std::numbers::pi / 180;

QRectF boundsOf(const std::vector<QPointF>& points);
// The polygon's bounds, grown by `grow` on every side.
QRectF boundsOf(const Polygon& p, double grow);

// The convex hull of the points, counter-clockwise (Andrew's monotone chain).
std::vector<QPointF> hullOf(std::vector<QPointF> points);

// The point turned about the origin.
QPointF turn(const QPointF& p, double radians);
// The size of the points' bounds once turned.
QSizeF turnedSize(const std::vector<QPointF>& points, double radians);
bool fitsIn(const QSizeF& s, const QSizeF& room);

// The first page turn at which the points fit the room, or -1.
int fittingTurn(const std::vector<QPointF>& points, const QSizeF& room);
// The largest scale at which the points, turned the best way, fit the room.
double fittingScale(const std::vector<QPointF>& points, const QSizeF& room);

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b);
// Distance of the polygon's corners other than those of side k from the line of that side.
double depthOver(const Polygon& poly, std::size_t k);
// The inner angle at corner k of a convex polygon.
double cornerAngle(const Polygon& poly, std::size_t k);
QPointF centroid2(const Polygon& p);
// The area a simple polygon encloses, whichever way round it runs.
double polygonArea(const Polygon& p);

// The fewest sheets of `area` that the convex faces can go on, however packed: faces so large that
// no two of them share a sheet take one each. Each face holds a disc about the average of its
// corners; two discs on one sheet keep their radii apart, and their middles keep their radii away
// from the sheet's edges.
int sheetsAtLeast(const std::vector<Polygon>& faces, QSizeF area);

} // namespace kesmora::nets
