// The solid and its dual as the program holds them: two figures of growable tables that the build
// fills and the view turns and zooms in place.
#pragma once

#include "dualshape.h"
#include "table.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace kesmora {

struct Point3D {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// A face's centroid and its colour number ((position mod 23) + 1).
struct FaceRecord {
    Point3D centroid;
    std::int32_t colour = 0;
};

// Screen pixels per model unit that fitting a solid to the picture and "Grundeinstellung" give.
inline constexpr double kResetScale = 120.0;

// Whether a figure's faces close up into one surface that every ray from the vertices' centroid
// meets once (geometry/shape.h), and which faces' boundary order runs against the orientation the
// others share (the face tables keep the order they were given).
struct SurfaceShape {
    bool starShaped = false;
    std::vector<bool> reversed; // one entry per face where starShaped
    // The radius of the ball about the vertices' centroid that lies inside every face's plane, over
    // the distance of vertex 0 from that centroid: turning and zooming leave the ratio as it is.
    double inradiusRatio = 0;
};

// One polyhedron as the program draws it: its vertices, its faces as vertex indices, each face's
// centroid and colour, and the shape of its surface. The face table and the records run in step:
// addFace fills both, and fillRecords makes the records anew after faces were changed.
struct Figure {
    CheckedTable<Point3D> vertices;
    FaceList faces;
    CheckedTable<FaceRecord> faceRecords;
    // Set by the build (shape.h). Turning and zooming keep it; the renderer relies on it only to
    // leave out faces that later faces paint over entirely.
    SurfaceShape shape;

    // Appends a face through the given vertices (which must be loaded) and its record: the mean of
    // its corners, and the colour (position mod 23) + 1.
    void addFace(std::span<const int> corners);
    void addFace(std::initializer_list<int> corners) {
        addFace(std::span<const int>(corners.begin(), corners.size()));
    }
    // One record for every face, as addFace makes it.
    void fillRecords();
};

// Which dual a model holds: the catalogue's construction (centroids, pole rescaling, the
// quasi-dual's cuts) or the polar reciprocal (geometry/reciprocal.h).
enum class DualKind { Catalogue, PolarReciprocal };

// What the build made of the dual, for whoever names it to the user.
struct DualInfo {
    DualKind kind = DualKind::Catalogue;
    // What the dual the model holds is, which names it wherever it is shown or written: the polar
    // reciprocal only where it was built, a refused one leaves the catalogue's plain or quasi-dual.
    DualShape shape = DualShape::Plain;
    // For the reciprocal: whether it was taken about the midsphere (every edge touching it) or about
    // the sphere through the mean distance of the edge midpoints.
    bool midsphere = false;
    // Why the reciprocal was asked for and refused (German, for the user: "<Körper> hat keine polare
    // Reziproke: <Grund>."); the model then holds the other dual, which `otherDual` names ("des
    // Katalogs", "aus den Flächenmitten"). Both empty otherwise.
    std::string refusal;
    std::string otherDual;
    bool reciprocalRefused() const { return !refusal.empty(); }
};

// The vertices of both figures in the body's own coordinates, before the tilt, the fit to the view
// and any turn: the catalogue's, those of the operations' result, or those of the file read. Index
// for index with the figures' vertex tables; a figure replaced after the build has them only where
// its maker takes them back (the morph's figure does), else its table here is empty.
struct OwnCoordinates {
    std::vector<Point3D> solid, dual;
    // The solid's are the file's coordinates as read, and the dual's stand in the file's frame.
    bool fromFile = false;
};

struct SolidModel {
    Figure solid;
    Figure dual;
    DualInfo dualInfo;
    OwnCoordinates own;

    // Screen pixels per model unit; the vertex tables stand multiplied by it.
    double scale = kResetScale;

    // Both figures, the solid first, for the steps that treat them alike.
    std::array<Figure*, 2> figures() { return {&solid, &dual}; }
    std::array<const Figure*, 2> figures() const { return {&solid, &dual}; }
};

} // namespace kesmora
