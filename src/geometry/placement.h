// Putting a built solid and its dual in place: the tilt of the "Polyeder" and the fit to the view.
#pragma once

#include "solidmodel.h"

namespace kesmora {

// Every point of the model: both vertex tables and both sets of face centroids.
template <typename F> void forEachPoint(SolidModel& m, F f) {
    for (Figure* figure : m.figures()) {
        for (Point3D& p : figure->vertices)
            f(p);
        for (FaceRecord& r : figure->faceRecords)
            f(r.centroid);
    }
}

// Keeps the vertex tables as they stand, before the tilt and the fit, as the model's own coordinates.
void keepOwnCoordinates(SolidModel& model);

// Turns points back by the tilt of kippen.
void untilt(std::vector<Point3D>& points);

// Turns every point by -30 degrees about z, then by -30 degrees about x, so that a body stored
// face-on is seen at a slant.
void kippen(SolidModel& model);

// Scales both vertex tables so that the largest coordinate of either becomes 200 and sets the
// model's scale to the factor; a model without any extent keeps its scale.
void einpassen(SolidModel& model);

} // namespace kesmora
