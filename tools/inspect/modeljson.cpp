// JSON form of a model.
#include "modeljson.h"

#include "bodies/dualname.h"
#include "catalogue/selection.h"

#include <QJsonArray>
#include <QString>

#include <array>

namespace kesmora::inspect {

namespace {

QJsonArray points(const CheckedTable<Point3D>& table) {
    QJsonArray a;
    for (const Point3D& p : table)
        a.append(QJsonArray{p.x, p.y, p.z});
    return a;
}

QJsonArray faces(const FaceList& table) {
    QJsonArray a;
    for (const FaceView corners : table) {
        QJsonArray face;
        for (const int v : corners)
            face.append(v);
        a.append(face);
    }
    return a;
}

QJsonArray records(const CheckedTable<FaceRecord>& table) {
    QJsonArray a;
    for (const FaceRecord& r : table)
        a.append(QJsonArray{r.centroid.x, r.centroid.y, r.centroid.z, r.colour});
    return a;
}

// The field names of a figure's tables in the model dump; the dual's carry the "dual" prefix.
struct FigureKeys {
    const char* vertices;
    const char* faces;
    const char* faceRecords;
};

} // namespace

QJsonObject modelToJson(const BuiltBody& b) {
    const SolidModel& m = b.model;
    const auto& p = b.selection.bodyParams;
    QJsonObject o;
    // A file's body has no place in the catalogue and no parameters.
    if (!b.fromFile) {
        o["category"] = sectionNumber(b.selection.currentCategory);
        o["bodyIndex"] = b.selection.bodyIndex;
    }
    o["name"] = QString::fromStdString(b.shownName());
    o["title"] = QString::fromStdString(b.title());
    if (m.dualInfo.shape == DualShape::PolarReciprocal) {
        o["dual"] = QStringLiteral("polar reciprocal");
        o["midsphere"] = m.dualInfo.midsphere;
    }
    if (!b.fromFile) o["bodyParams"] = QJsonArray{p[0], p[1], p[2], p[3]};
    o["scale"] = m.scale;
    static constexpr std::array<FigureKeys, 2> kKeys{
        {{"vertices", "faces", "faceRecords"}, {"dualVertices", "dualFaces", "dualFaceRecords"}}};
    const auto figures = m.figures();
    for (std::size_t i = 0; i < figures.size(); ++i) {
        o[kKeys[i].vertices] = points(figures[i]->vertices);
        o[kKeys[i].faces] = faces(figures[i]->faces);
        o[kKeys[i].faceRecords] = records(figures[i]->faceRecords);
    }
    return o;
}

} // namespace kesmora::inspect
