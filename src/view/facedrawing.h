// Pieces shared by the side-by-side and the interpenetration drawing: a figure's tables, the
// projection of one face into a reused point buffer, vertex marks and the 1-pixel pen.
#pragma once

#include "geometry/solidmodel.h"

#include <QBrush>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>

#include <array>
#include <cstddef>
#include <vector>

namespace kesmora {

// The solid or the dual as one frame draws it: the figure's tables, and the pixels of its vertices
// once projectVertices has worked them out.
struct DrawnFigure {
    explicit DrawnFigure(const Figure& figure)
        : vertices(figure.vertices), faces(figure.faces), records(figure.faceRecords), shape(figure.shape) {}

    const CheckedTable<Point3D>& vertices;
    const FaceList& faces;
    const CheckedTable<FaceRecord>& records;
    // Closed round its centroid, and which faces turn against the others (geometry/shape.h).
    const SurfaceShape& shape;
    // The vertices' pixels around `screenOrigin`, when projectVertices has worked them out: each
    // vertex belongs to several faces, and a frame projects each one once.
    const QPoint* screen = nullptr;
    QPoint screenOrigin;
};

// Buffers a renderer keeps from frame to frame; they grow with the largest figure drawn and never
// shrink, so that redrawing a figure allocates nothing.
using ScreenVertices = std::vector<QPoint>;

// Projects every loaded vertex to pixels around `origin` into `storage` (grown to the figure's
// vertices where it is shorter) and lets the figure use them; `storage` must outlive the figure's
// use.
void projectVertices(DrawnFigure& figure, QPoint origin, ScreenVertices& storage);

DrawnFigure solidFigure(const SolidModel& model);
DrawnFigure dualFigure(const SolidModel& model);

// The corners of one face on the screen.
using PointBuffer = std::vector<QPoint>;

// Projects face `face` of the figure to pixels around `origin` (the buffer grown to the face where
// it is shorter). Returns the number of points, or 0 when the face is empty or names a vertex that is
// not loaded: such a face is not drawn at all rather than drawn with a corner missing.
int projectFace(const DrawnFigure& figure, int face, QPoint origin, PointBuffer& points);

// Pens and brushes keyed by colour and style. Only a few pens and a few dozen brushes are ever in
// use (outline colours, palette, polygon colours, marks); when a table is full its oldest entry
// makes room, so a user cycling through colours costs an allocation, never a wrong tool.
template <typename Tool, typename Style, std::size_t N> class ToolTable {
  public:
    template <typename Make> const Tool& get(QRgb colour, Style style, Make make) {
        for (std::size_t i = 0; i < used_; ++i) {
            if (entries_[i].colour == colour && entries_[i].style == style) return entries_[i].tool;
        }
        Entry& e = used_ < N ? entries_[used_++] : entries_[next_++ % N];
        e = {colour, style, make()};
        return e.tool;
    }

    // Forgets every tool made.
    void clear() {
        entries_ = {};
        used_ = 0;
        next_ = 0;
    }

  private:
    struct Entry {
        QRgb colour = 0;
        Style style{};
        Tool tool;
    };
    std::array<Entry, N> entries_{};
    std::size_t used_ = 0;
    std::size_t next_ = 0;
};

// The pens and brushes of one renderer. Pens and brushes are made once per colour and style and
// reused afterwards: building a QPen or a solid QBrush allocates, and a redraw sets them for every
// face. Setting the one already set costs a compare.
class PaintTools {
  public:
    // A cosmetic pen: exactly lineWidth() pixels wide whatever transform the painter carries.
    const QPen& cosmeticPen(QRgb colour, Qt::PenStyle style = Qt::SolidLine);
    // The width of the pens and the marks, 1 to 100 pixels (the marks grow with it); the pens made
    // so far are made anew when it changes.
    void setLineWidth(int width);
    int lineWidth() const { return lineWidth_; }
    const QBrush& brush(QRgb colour, Qt::BrushStyle style = Qt::SolidPattern);

    // Keeps the pen's style and width and changes only its colour.
    void setPenColour(QPainter& painter, QRgb colour);

    // Sets the brush colour and makes the brush solid; only clearBrush gives a brush without fill.
    void setBrushColour(QPainter& painter, QRgb colour);

    // Clears the brush and keeps its colour for a later mark to restore.
    void clearBrush(QPainter& painter);

    // A vertex mark: a disc of 9 pixels diameter (times the line width) centred on the vertex, filled
    // (255, 255, 0) and outlined with the current pen; the brush colour is set back afterwards (which
    // leaves it solid).
    void drawMarks(QPainter& painter, const QPoint* points, int n);

  private:
    ToolTable<QPen, Qt::PenStyle, 16> pens_;
    ToolTable<QBrush, Qt::BrushStyle, 64> brushes_;
    int lineWidth_ = 1;
};

// Clips the painter to the whole image unless it is clipped so already. The clip removes no pixel,
// but with it Qt strokes 1-pixel lines by writing pixels directly instead of through its span
// functions (several times faster); setting a clip allocates, hence the check. Returns whether the
// clip is known to be exactly the image rectangle, as the direct drawing (directdraw.h) needs.
// `keptOpen` says the painter is one a renderer keeps open and only it sets clips on (opencanvas.h):
// a clip with the image's bounds is then the one set here earlier; on any other painter it is
// compared as a region (which allocates, but such a painter is new).
bool clipToImage(QPainter& painter, QRect imageRect, bool keptOpen);

// Box of the pixels a face's outline and marks can touch, for the overlay of "Durchdringung 3",
// with lines and marks lineWidth pixels wide.
QRect inkBounds(const QPoint* points, int n, bool markPoints, int lineWidth = 1);

} // namespace kesmora
