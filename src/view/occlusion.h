// Faces a far-to-near redraw may leave out because faces drawn after them paint over every pixel
// they would touch: leaving them out gives the very same picture at a fraction of the stores.
#pragma once

#include "depthorder.h"
#include "facedrawing.h"

#include <QPoint>

#include <QLine>
#include <QRect>

#include <vector>

namespace kesmora {

// By position in the drawing order, with the room the search works in. Kept from frame to frame:
// once it has served a figure, marking that figure's faces again allocates nothing.
class CoveredFaces {
  public:
    bool operator[](int j) const {
        tablecheck::index("CoveredFaces", j, marks_.size());
        return marks_[static_cast<std::size_t>(j)];
    }
    // n positions, none marked.
    void clear(int n);
    // Room for the faces of a figure of n faces.
    void reserve(int n);

  private:
    friend int findCoveredFaces(const DrawnFigure& figure, const DepthList& list, int count, QPoint origin,
                                CoveredFaces& covered);
    std::vector<bool> marks_;
    std::vector<signed char> turns_;
    std::vector<QRect> boxes_;
    std::vector<QRect> folded_;
};

// Marks the positions of list[0 .. count) whose face, filled and outlined, is painted over
// completely by the fills of the faces after it, and returns how many. Only for a figure whose
// surface wraps once round its centroid (SurfaceShape; every convex solid does), whose vertices
// projectVertices has placed around `origin`; otherwise nothing is marked. `covered` is cleared to
// `count` positions first.
//
// Why it is exact: orient the faces alike and count, for a pixel, the faces whose fill covers it,
// each with the sign of its turn on the screen. The fills follow one rule for the edge two faces
// share, so on a closed surface these counts cancel: a pixel covered by a face turning one way is
// also covered by a face turning the other way. So a face drawn before every face that turns the
// other way is painted over by later fills wherever it fills. Its outline strays at most a few
// pixels from it, and every pixel that far inside the disc the ball about the centroid projects
// to (the ball lies inside the solid; rounding to pixels moves the faces by less than a pixel) is
// covered by some face, and so by a face turning the other way, which comes later. A face the
// rounding has folded fills by another rule than its turn says; no face is left out near one.
int findCoveredFaces(const DrawnFigure& figure, const DepthList& list, int count, QPoint origin,
                     CoveredFaces& covered);

// Everything a frame draws through besides the canvas, kept by the renderer: the vertices' pixels,
// the corners of one face, the depth lists and the covered faces. fit grows them to a model when it
// is handed to the renderer, so that no frame of it allocates.
struct FrameBuffers {
    ScreenVertices solidScreen;
    ScreenVertices dualScreen;
    PointBuffer points;
    std::vector<QLine> lines;
    DepthList solidList;
    DepthList dualList;
    CoveredFaces covered;

    void fit(const SolidModel& model);
};

} // namespace kesmora
