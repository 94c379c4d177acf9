// JSON form of a model: vertex indices instead of vertex characters.
#include "modeljson.h"

#include "catalogue/selection.h"

#include <QJsonArray>
#include <QString>

namespace kesmora::inspect {

namespace {

QJsonArray points(const Point3D* p, int count) {
    QJsonArray a;
    for (int i = 0; i < count; ++i)
        a.append(QJsonArray{p[i].x, p[i].y, p[i].z});
    return a;
}

QJsonArray faces(const FaceString* f, int count) {
    QJsonArray a;
    for (int i = 0; i < count; ++i) {
        QJsonArray face;
        for (char ch : f[i])
            face.append(vertexOfCode(ch));
        a.append(face);
    }
    return a;
}

QJsonArray records(const FaceRecord* r, int count) {
    QJsonArray a;
    for (int i = 0; i < count; ++i)
        a.append(QJsonArray{r[i].centroid.x, r[i].centroid.y, r[i].centroid.z, r[i].colour});
    return a;
}

QString text(const std::string& latin1) {
    return QString::fromLatin1(latin1.data(), static_cast<qsizetype>(latin1.size()));
}

} // namespace

QJsonObject modelToJson(const BuiltBody& b) {
    const SolidModel& m = b.model;
    const auto& p = b.selection.bodyParams;
    QJsonObject o;
    o["category"] = b.selection.currentCategory;
    o["bodyIndex"] = b.selection.bodyIndex;
    o["name"] = text(b.name);
    o["title"] = text(titleFor(b.name, b.selection.currentCategory));
    o["bodyParams"] = QJsonArray{p[0], p[1], p[2], p[3]};
    o["scale"] = m.scale;
    o["vertices"] = points(m.vertices.data(), m.vertexCount);
    o["faces"] = faces(m.faces.data(), m.faceCount);
    o["faceRecords"] = records(m.faceRecords.data(), m.faceCount);
    o["dualVertices"] = points(m.dualVertices.data(), m.dualVertexCount);
    o["dualFaces"] = faces(m.dualFaces.data(), m.dualFaceCount);
    o["dualFaceRecords"] = records(m.dualFaceRecords.data(), m.dualFaceCount);
    return o;
}

} // namespace kesmora::inspect
