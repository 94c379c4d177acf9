// Pieces shared by the side-by-side and the interpenetration drawing: a figure's tables, the
// projection of one face into a fixed point buffer, vertex marks and the 1-pixel pen.
#pragma once

#include "geometry/solidmodel.h"

#include <QPainter>
#include <QPen>
#include <QPoint>

#include <array>

namespace kesmora {

// The solid or the dual: which tables to read and how many entries of them are valid.
struct Figure {
    const Point3D* vertices = nullptr;
    int vertexCount = 0; // clamped to the vertex table
    const FaceString* faces = nullptr;
    const FaceRecord* records = nullptr;
    int faceCount = 0; // clamped to the face table
};

Figure solidFigure(const SolidModel& model);
Figure dualFigure(const SolidModel& model);

// Sized to the face table's capacity; a face cannot name more distinct vertices than a byte codes.
using PointBuffer = std::array<QPoint, kMaxFaces>;

// Projects face `face` of the figure to pixels around `origin`. Returns the number of points, or 0
// when the face is empty or names a vertex that is not loaded: such a face is not drawn at all
// rather than drawn with a corner missing. Faces longer than the buffer keep their first points.
int projectFace(const Figure& figure, int face, QPoint origin, PointBuffer& points);

// A cosmetic pen: exactly one pixel wide whatever transform the painter carries.
QPen cosmeticPen(QRgb colour, Qt::PenStyle style = Qt::SolidLine);

// Keeps the pen's style and width and changes only its colour.
void setPenColour(QPainter& painter, QRgb colour);

// Sets the brush colour and makes the brush solid; only clearBrush gives a brush without fill.
void setBrushColour(QPainter& painter, QRgb colour);

// Clears the brush and keeps its colour for a later mark to restore.
void clearBrush(QPainter& painter);

// A vertex mark: a disc of 9 pixels diameter centred on the vertex, filled (255, 255, 0) and
// outlined with the current pen; the brush colour is set back afterwards (which leaves it solid).
void drawMarks(QPainter& painter, const QPoint* points, int n);

} // namespace kesmora
