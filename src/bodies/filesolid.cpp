// The build of a solid from a polyhedron file: checks, orientation, the dual around each vertex.
#include "filesolid.h"

#include "build.h"

#include "catalogue/latin1.h"

#include "geometry/closepairs.h"
#include "geometry/degenerate.h"
#include "geometry/edgemap.h"
#include "geometry/facemeasures.h"
#include "geometry/geometryerror.h"
#include "geometry/orientation.h"
#include "geometry/placement.h"
#include "geometry/point3d.h"
#include "geometry/shape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kesmora {

namespace {

using Faces = std::vector<std::vector<int>>;

class FileSolidBuilder {
  public:
    FileSolidBuilder(const PolyhedronFile& file, DualKind dualKind, const PolyMesh* givenDual = nullptr,
                     bool tilt = true)
        : file_(file), dualKind_(dualKind), givenDual_(givenDual), tilt_(tilt) {}

    SolidModel build() {
        checkCounts();
        placeVertices();
        checkCoincidentVertices();
        checkFaces();
        checkVolume();
        faces_ = file_.faces;
        orientOutward();
        const std::vector<std::vector<int>> rings = facesAroundVertices();

        SolidModel m;
        m.scale = 1.0;
        m.solid.vertices.reserve(static_cast<int>(points_.size()));
        for (const Point3D& p : points_)
            m.solid.vertices.push_back(p);
        m.solid.faces.reserve(static_cast<int>(faces_.size()), static_cast<int>(3 * faces_.size()));
        m.solid.faceRecords.reserve(static_cast<int>(faces_.size()));
        for (const std::vector<int>& face : faces_)
            m.solid.addFace(face);
        if (givenDual_) {
            takeGivenDual(m);
            return placed(std::move(m));
        }
        // The reciprocal first where it is asked for: the dual from the face centroids, with its
        // cut faces, has limits of its own that must not refuse a body whose reciprocal is shown.
        const std::string refusal =
            dualKind_ == DualKind::PolarReciprocal ? takeReciprocalDual(m, file_.name) : std::string();
        if (m.dualInfo.kind == DualKind::Catalogue) {
            for (const FaceRecord& r : m.solid.faceRecords)
                m.dual.vertices.push_back(r.centroid);
            buildDualFaces(m, rings);
            m.dualInfo.shape = DualShape::Plain;
            m.dualInfo.refusal = refusal;
            if (!refusal.empty()) m.dualInfo.otherDual = "aus den Flächenmitten";
        }
        return placed(std::move(m));
    }

  private:
    SolidModel placed(SolidModel m) const {
        keepOwnCoordinates(m);
        if (!givenByOperations()) {
            // A file's body keeps the coordinates it was read with, and its dual stands beside it
            // in the same frame.
            m.own.solid = file_.vertices;
            for (Point3D& p : m.own.dual)
                p = p * radius_ * largest_ + middle_;
            m.own.fromFile = true;
        }
        if (tilt_) kippen(m);
        einpassen(m);
        markSurfaceShapes(m);
        return m;
    }

    // The dual given with the solid, placed as the solid is: a vertex for each of the solid's faces
    // and a face for each of its vertices, in their order. Given with a solid in canonical form, it
    // is both the dual and the polar reciprocal about the sphere the edges touch.
    void takeGivenDual(SolidModel& m) const {
        const PolyMesh& dual = *givenDual_;
        if (dual.vertices.size() != file_.faces.size() || dual.faces.size() != file_.vertices.size())
            fail(0, "Der duale Körper passt nicht zum Körper");
        for (const Point3D& p : dual.vertices)
            m.dual.vertices.push_back(placedPoint(p));
        for (const std::vector<int>& face : dual.faces) {
            for (int v : face)
                if (v < 0 || static_cast<std::size_t>(v) >= dual.vertices.size())
                    fail(0, "Eine Fläche des dualen Körpers nennt eine Ecke, die es nicht gibt");
            m.dual.addFace(face);
        }
        m.dualInfo.kind = dualKind_;
        m.dualInfo.shape = dualKind_ == DualKind::PolarReciprocal ? DualShape::PolarReciprocal : DualShape::Plain;
    }

    // A body made by operations is placed as its seed was shown; a file's body is tilted.
    bool givenByOperations() const { return !tilt_; }

    Point3D placedPoint(const Point3D& p) const { return (p - middle_) / largest_ / radius_; }

    [[noreturn]] void fail(int line, const std::string& what) const {
        throw PolyhedronFileError(file_.name, line, what);
    }
    std::string vertexName(int v) const { return std::to_string(v + file_.firstNumber); }
    int vertexLine(int v) const {
        return static_cast<std::size_t>(v) < file_.vertexLines.size()
                   ? file_.vertexLines[static_cast<std::size_t>(v)]
                   : 0;
    }
    int faceLine(int f) const {
        return static_cast<std::size_t>(f) < file_.faceLines.size()
                   ? file_.faceLines[static_cast<std::size_t>(f)]
                   : 0;
    }

    void checkCounts() const {
        const auto vertexCount = file_.vertices.size();
        const auto faceCount = file_.faces.size();
        if (vertexCount > static_cast<std::size_t>(kMaxFileVertices))
            fail(0, "Die Datei hat " + std::to_string(vertexCount) +
                        " Ecken; das Programm zeichnet höchstens " + std::to_string(kMaxFileVertices));
        if (faceCount > static_cast<std::size_t>(kMaxFileFaces))
            fail(0, "Die Datei hat " + std::to_string(faceCount) +
                        " Flächen; das Programm zeichnet höchstens " + std::to_string(kMaxFileFaces));
        if (vertexCount < 4 || faceCount < 4)
            fail(0, "Ein Körper hat mindestens vier Ecken und vier Flächen; die Datei hat " +
                        std::to_string(vertexCount) + " Ecken und " + std::to_string(faceCount) + " Flächen");
        for (std::size_t f = 0; f < faceCount; ++f) {
            if (file_.faces[f].size() < 3)
                fail(faceLine(static_cast<int>(f)), "Eine Fläche braucht mindestens drei Ecken");
            for (int v : file_.faces[f])
                if (v < 0 || static_cast<std::size_t>(v) >= vertexCount)
                    fail(faceLine(static_cast<int>(f)), "Die Fläche nennt eine Ecke, die es nicht gibt");
        }
    }

    // The middle of the body's extent goes to the origin, about which the view turns. The body is
    // scaled so that its vertices lie at most 1 from their centroid: every tolerance below is then
    // relative to the body's size, the same however the body is turned in its file, and neither
    // huge nor tiny coordinates overflow later.
    void placeVertices() {
        Point3D low = file_.vertices.front(), high = low;
        for (const Point3D& p : file_.vertices) {
            low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
            high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
        }
        const Point3D middle = 0.5 * low + 0.5 * high; // halves first: the sum could overflow
        double largest = 0;
        middle_ = middle;
        for (const Point3D& p : file_.vertices) {
            const Point3D q = p - middle;
            points_.push_back(q);
            largest = std::max({largest, std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
        }
        if (!(largest > 0) || !std::isfinite(largest))
            fail(0, "Alle Ecken liegen auf einem Punkt; das ist kein Körper");
        for (Point3D& p : points_)
            p = p / largest; // first within 1, so that the radius below cannot overflow
        const double radius = radiusAboutCentroid(points_);
        for (Point3D& p : points_)
            p = p / radius;
        largest_ = largest;
        radius_ = radius;
    }

    // A body whose vertices all lie in one plane encloses nothing: it would be drawn as a flat
    // polygon and measured with a volume of 0. A thin body is a body and is kept.
    void checkVolume() const {
        if (allInOnePlane(points_, kDegenerateTolerance))
            fail(0, "Alle Ecken liegen in einer Ebene; der Körper ist flach und hat kein Volumen");
    }

    // The first pair (i < j, by j and then by i) of vertices on one point. The vertices are swept in
    // the order of their x, so that only those within the tolerance in x are compared.
    void checkCoincidentVertices() const {
        const std::size_t n = points_.size();
        std::size_t firstI = n, firstJ = n;
        forEachClosePair(points_, kDegenerateTolerance, [&](std::size_t i, std::size_t j) {
            if (j < firstJ || (j == firstJ && i < firstI)) firstI = i, firstJ = j;
        });
        if (firstJ == n) return;
        const int i = static_cast<int>(firstI), j = static_cast<int>(firstJ);
        // A body made by operations has no lines to name.
        const std::string lines = vertexLine(j) > 0 ? " (Zeilen " + std::to_string(vertexLine(i)) + " und " +
                                                          std::to_string(vertexLine(j)) + ")"
                                                    : std::string();
        fail(vertexLine(j), "Die Ecken " + vertexName(i) + " und " + vertexName(j) + lines +
                                " liegen auf demselben Punkt");
    }

    void checkFaces() const {
        for (std::size_t f = 0; f < file_.faces.size(); ++f) {
            const std::vector<int>& face = file_.faces[f];
            const int line = faceLine(static_cast<int>(f));
            for (std::size_t i = 0; i < face.size(); ++i)
                for (std::size_t j = i + 1; j < face.size(); ++j)
                    if (face[i] == face[j])
                        fail(line, "Die Fläche nennt die Ecke " + vertexName(face[i]) + " zweimal");
            const auto corner = [&](int k) {
                return points_[static_cast<std::size_t>(face[static_cast<std::size_t>(k)])];
            };
            if (allOnOneLine(static_cast<int>(face.size()), corner, kDegenerateTolerance))
                fail(line, "Die Ecken der Fläche liegen alle auf einer Geraden; die Fläche hat keinen "
                           "Flächeninhalt");
        }
    }

    // Every edge between exactly two faces, one piece, faces that can be turned alike; then they
    // are turned alike, and all of them once more if that encloses a negative volume.
    void orientOutward() {
        const EdgeMap map = edgeMap(faces_);
        std::vector<bool> used(points_.size(), false);
        for (const MeshEdge& e : map.edges) {
            const int line = faceLine(e.sides[0].face);
            const std::string edge = "Die Kante von Ecke " + vertexName(e.a) + " zu Ecke " + vertexName(e.b);
            if (e.uses == 1)
                fail(line,
                     edge + " gehört nur zu einer Fläche; die Oberfläche des Körpers ist nicht geschlossen");
            if (e.uses > 2)
                fail(line, edge + " gehört zu " + std::to_string(e.uses) +
                               " Flächen; an einer Kante treffen sich genau zwei");
            used[static_cast<std::size_t>(e.a)] = used[static_cast<std::size_t>(e.b)] = true;
        }
        for (std::size_t v = 0; v < used.size(); ++v)
            if (!used[v])
                fail(vertexLine(static_cast<int>(v)),
                     "Die Ecke " + vertexName(static_cast<int>(v)) + " liegt auf keiner Fläche");

        const std::size_t faceCount = faces_.size();
        std::vector<signed char> flip(faceCount);
        std::vector<int> piece(faceCount), queue(faceCount);
        const int pieces = orientAlike(static_cast<int>(faceCount), map.firstSide, map.edgeOfSide, map.edges,
                                       flip, piece, queue);
        if (pieces < 0)
            fail(0,
                 "Die Flächen lassen sich nicht einheitlich ausrichten; die Oberfläche hat keine Innen- und "
                 "Außenseite");
        if (pieces > 1)
            fail(0, givenByOperations()
                        ? "Der Körper besteht aus " + std::to_string(pieces) +
                              " getrennten Teilen; die Operationen wirken auf einen Körper aus einem Stück"
                        : "Die Datei enthält " + std::to_string(pieces) +
                              " getrennte Körper; das Programm zeigt einen Körper und sein Dual");
        for (std::size_t f = 0; f < faceCount; ++f)
            if (flip[f] == 1) std::reverse(faces_[f].begin(), faces_[f].end());
        double volume = 0;
        for (const std::vector<int>& face : faces_) {
            const Point3D& a = points_[static_cast<std::size_t>(face[0])];
            for (std::size_t k = 1; k + 1 < face.size(); ++k)
                volume += dot(a, cross(points_[static_cast<std::size_t>(face[k])],
                                       points_[static_cast<std::size_t>(face[k + 1])]));
        }
        if (volume < 0)
            for (std::vector<int>& face : faces_)
                std::reverse(face.begin(), face.end());
    }

    // For each vertex the faces round it, turning the way the faces do (counter-clockwise seen
    // from outside), starting with the lowest: from a face, across the edge that comes into the
    // vertex, to the face on its other side.
    std::vector<std::vector<int>> facesAroundVertices() const {
        std::map<std::pair<int, int>, int> faceOfSide; // directed edge -> the face running along it
        for (std::size_t f = 0; f < faces_.size(); ++f) {
            const std::vector<int>& face = faces_[f];
            for (std::size_t k = 0; k < face.size(); ++k)
                faceOfSide[{face[k], face[(k + 1) % face.size()]}] = static_cast<int>(f);
        }
        // Every vertex lies on a face by now, and no face names a vertex twice.
        const std::vector<std::vector<int>> facesAt = facesAtVertices(faces_, static_cast<int>(points_.size()));
        std::vector<int> faceCountAt(points_.size()), lowestFaceAt(points_.size());
        for (std::size_t v = 0; v < points_.size(); ++v) {
            faceCountAt[v] = static_cast<int>(facesAt[v].size());
            lowestFaceAt[v] = facesAt[v].front();
        }
        const auto before = [&](int f, int v) {
            const std::vector<int>& face = faces_[static_cast<std::size_t>(f)];
            const auto at = static_cast<std::size_t>(std::find(face.begin(), face.end(), v) - face.begin());
            return face[(at + face.size() - 1) % face.size()];
        };
        std::vector<std::vector<int>> rings(points_.size());
        for (std::size_t v = 0; v < points_.size(); ++v) {
            const int vertex = static_cast<int>(v);
            std::vector<int>& ring = rings[v];
            int f = lowestFaceAt[v];
            do {
                ring.push_back(f);
                f = faceOfSide.at({vertex, before(f, vertex)}); // oriented alike, so it exists
            } while (f != lowestFaceAt[v] && static_cast<int>(ring.size()) <= faceCountAt[v]);
            if (static_cast<int>(ring.size()) != faceCountAt[v])
                fail(vertexLine(vertex), "Die Flächen an der Ecke " + vertexName(vertex) +
                                             " schließen sich nicht zu einem einzigen Kranz; dort berühren "
                                             "sich zwei Teile der Oberfläche");
            if (ring.size() < 3)
                fail(vertexLine(vertex),
                     "Die Ecke " + vertexName(vertex) +
                         " liegt auf nur zwei Flächen; jede Ecke eines Körpers liegt auf "
                         "mindestens drei, sonst hätte das duale Polyeder eine Fläche mit "
                         "weniger als drei Ecken");
        }
        return rings;
    }

    static double distance2(const SolidModel& m, int a, int b) {
        const Point3D d = m.dual.vertices[a] - m.dual.vertices[b];
        return dot(d, d);
    }

    static bool flat(const SolidModel& m, const std::vector<int>& face, double tolerance) {
        const std::size_t n = face.size();
        const Point3D normal = newellNormal(m.dual.vertices, face);
        Point3D centre;
        for (std::size_t i = 0; i < n; ++i)
            centre = centre + m.dual.vertices[face[i]] / static_cast<double>(n);
        const double length = norm(normal);
        if (!(length > 0)) return false;
        for (const int c : face)
            if (std::fabs(dot(normal, m.dual.vertices[c] - centre)) > tolerance * length) return false;
        return true;
    }

    // Dual face v goes round vertex v. One that is not flat would be drawn as a surface that is
    // not there (and ordered by a centroid that lies off it), so it is cut into triangles: each
    // time the corner whose neighbours lie closest together is cut off, so that a quadrilateral is
    // cut along its shorter diagonal. The first triangle keeps the face's place, the others follow
    // the faces of the vertices. A cut never runs along an edge the dual has already, nor along
    // another face's cut: faces that meet in two corners not joined by an edge (a star body's)
    // would otherwise both be cut from one to the other, and the dual's surface would no longer
    // close, an edge on four faces. Where every corner left would cut along such a line, the rest
    // of the face stays whole.
    void buildDualFaces(SolidModel& m, const std::vector<std::vector<int>>& rings) const {
        const double tolerance = kFlatDualFaceTolerance * radiusAboutCentroid(m.dual.vertices);
        const auto key = [](int a, int b) {
            return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(std::min(a, b))) << 32) |
                   static_cast<std::uint32_t>(std::max(a, b));
        };
        std::unordered_set<std::uint64_t> lines; // the dual's edges and the cuts made so far
        for (const std::vector<int>& ring : rings)
            for (std::size_t i = 0; i < ring.size(); ++i)
                lines.insert(key(ring[i], ring[(i + 1) % ring.size()]));
        std::vector<std::vector<int>> added;
        for (const std::vector<int>& ring : rings) {
            std::vector<int> face = ring;
            if (face.size() > 3 && !flat(m, face, tolerance)) {
                std::vector<std::vector<int>> triangles;
                while (face.size() > 3) {
                    const std::size_t n = face.size();
                    std::size_t best = n;
                    double shortest = 0;
                    for (std::size_t i = 0; i < n; ++i) {
                        const int a = face[(i + n - 1) % n], b = face[(i + 1) % n];
                        if (lines.count(key(a, b)) != 0) continue;
                        const double d = distance2(m, a, b);
                        if (best == n || d < shortest) shortest = d, best = i;
                    }
                    if (best == n) break;
                    lines.insert(key(face[(best + n - 1) % n], face[(best + 1) % n]));
                    triangles.push_back({face[(best + n - 1) % n], face[best], face[(best + 1) % n]});
                    face.erase(face.begin() + static_cast<std::ptrdiff_t>(best));
                }
                triangles.push_back(face);
                face = triangles.front();
                added.insert(added.end(), triangles.begin() + 1, triangles.end());
            }
            m.dual.addFace(face);
        }
        for (const std::vector<int>& face : added)
            m.dual.addFace(face);
    }

    const PolyhedronFile& file_;
    DualKind dualKind_;
    const PolyMesh* givenDual_;
    bool tilt_;
    Point3D middle_;
    double largest_ = 1, radius_ = 1;
    std::vector<Point3D> points_;
    Faces faces_;
};

} // namespace

SolidModel buildFileSolid(const PolyhedronFile& file, DualKind dual) {
    return FileSolidBuilder(file, dual).build();
}

SolidModel buildMadeSolid(const PolyMesh& solid, const PolyMesh* dual, const std::string& name, DualKind dualKind) {
    PolyhedronFile asFile;
    asFile.vertices = solid.vertices;
    asFile.faces = solid.faces;
    asFile.name = name;
    try {
        return FileSolidBuilder(asFile, dualKind, dual, false).build();
    } catch (const PolyhedronFileError& e) {
        // Said of the result, not of a file.
        throw GeometryError("„" + name + "“ lässt sich nicht zeigen: " + e.reason());
    }
}

std::string fileTitle(const std::string& fileName, DualShape shown) {
    return fileName + " und " + latin1ToUtf8(dualShapeName(shown, DualWording::InTitle));
}

} // namespace kesmora
