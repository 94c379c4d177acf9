// A figure's faces and their records filled together.
#include "solidmodel.h"

#include "facemeasures.h"

namespace kesmora {

namespace {

FaceRecord recordOf(const Figure& figure, int face) {
    return FaceRecord{faceCentroid(figure.vertices, figure.faces[face]), face % 23 + 1};
}

} // namespace

void Figure::addFace(std::span<const int> corners) {
    faces.push_back(corners);
    try {
        faceRecords.push_back(recordOf(*this, faces.size() - 1));
    } catch (...) {
        faces.resize(faces.size() - 1); // a corner that is not loaded: the tables stay in step
        throw;
    }
}

void Figure::fillRecords() {
    faceRecords.resize(faces.size());
    for (int f = 0; f < faces.size(); ++f)
        faceRecords[f] = recordOf(*this, f);
}

} // namespace kesmora
