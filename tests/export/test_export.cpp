// kesmora-inspect export: every listed solid and dual read back from OFF and OBJ must be a closed
// surface with its faces turned outward; STL, SVG and PNG read back as what they claim to be.
#include "export/mesh.h"
#include "geometry/point3d.h"
#include "inspector_process.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ReadMesh = kesmora::Mesh;
using kesmora::Point3D;

ReadMesh readOff(const std::string& path) {
    std::ifstream in(path);
    std::string magic;
    std::size_t v = 0, f = 0, e = 0;
    in >> magic >> v >> f >> e;
    EXPECT_EQ(magic, "OFF");
    ReadMesh m;
    for (std::size_t i = 0; i < v && in; ++i) {
        Point3D p{};
        in >> p.x >> p.y >> p.z;
        m.vertices.push_back(p);
    }
    for (std::size_t i = 0; i < f && in; ++i) {
        std::size_t n = 0;
        in >> n;
        std::vector<int> face(n);
        for (int& k : face)
            in >> k;
        m.faces.push_back(face);
    }
    EXPECT_TRUE(static_cast<bool>(in)) << path;
    return m;
}

ReadMesh readObj(const std::string& path) {
    std::ifstream in(path);
    ReadMesh m;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string tag;
        words >> tag;
        if (tag == "v") {
            Point3D p{};
            words >> p.x >> p.y >> p.z;
            m.vertices.push_back(p);
        } else if (tag == "f") {
            std::vector<int> face;
            int k = 0;
            while (words >> k)
                face.push_back(k - 1);
            m.faces.push_back(face);
        }
    }
    return m;
}

// Closed: every edge on exactly two faces. Oriented: each direction of an edge used exactly once,
// and the enclosed volume positive, so that the normals point out.
void expectClosedAndOutward(const ReadMesh& m, const std::string& what) {
    std::map<std::pair<int, int>, int> directed;
    for (const auto& f : m.faces) {
        ASSERT_GE(f.size(), 3u) << what;
        for (std::size_t i = 0; i < f.size(); ++i) {
            const int a = f[i], b = f[(i + 1) % f.size()];
            ASSERT_TRUE(a >= 0 && a < static_cast<int>(m.vertices.size())) << what;
            ++directed[{a, b}];
        }
    }
    for (const auto& [edge, count] : directed) {
        EXPECT_EQ(count, 1) << what << ": edge " << edge.first << "-" << edge.second << " used " << count
                            << " times in one direction";
        EXPECT_EQ(directed.count({edge.second, edge.first}), 1u)
            << what << ": edge " << edge.first << "-" << edge.second << " lies on one face only";
    }
    EXPECT_GT(kesmora::signedVolume(m), 0) << what << ": faces turned inward";
}

// Same vertices in the same places, and each face on the same corners as in the model (its sense
// may have been turned).
void expectSameAsModel(const ReadMesh& m, const QJsonArray& vertices, const QJsonArray& faces,
                       const std::string& what) {
    ASSERT_EQ(m.vertices.size(), static_cast<std::size_t>(vertices.size())) << what;
    ASSERT_EQ(m.faces.size(), static_cast<std::size_t>(faces.size())) << what;
    for (std::size_t i = 0; i < m.vertices.size(); ++i)
        EXPECT_NEAR(m.vertices[i].x, vertices[static_cast<qsizetype>(i)][0].toDouble(), 1e-7) << what;
    for (std::size_t f = 0; f < m.faces.size(); ++f) {
        std::vector<int> read = m.faces[f], model;
        for (const auto& v : faces[static_cast<qsizetype>(f)].toArray())
            model.push_back(v.toInt());
        std::sort(read.begin(), read.end());
        std::sort(model.begin(), model.end());
        EXPECT_EQ(read, model) << what << " face " << f;
    }
}

std::string temp(const std::string& name) {
    return scratchFile(name).toStdString();
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TEST(Export, EveryListedSolidAndDualReadsBackClosedAndOutward) {
    const auto models = everyModel();
    ASSERT_EQ(models.size(), 148u);
    const std::string off = temp("body.off"), obj = temp("body.obj");
    for (const QJsonObject& o : models) {
        const QString category = QString::number(o["category"].toInt());
        const QString name = o["name"].toString();
        for (bool dual : {false, true}) {
            const std::string what = name.toStdString() + (dual ? " (dual)" : "");
            // As shown: the vertices of the model as the view holds them.
            QStringList args{"export", category, name, "--format", "off", "-o", q(off), "--as-shown"};
            if (dual) args << "--dual";
            InspectorResult r = inspect(args);
            ASSERT_EQ(r.exitCode, 0) << what << ": " << r.err.toStdString();
            const ReadMesh fromOff = readOff(off);
            expectClosedAndOutward(fromOff, what + " OFF");
            expectSameAsModel(fromOff, o[dual ? "dualVertices" : "vertices"].toArray(),
                              o[dual ? "dualFaces" : "faces"].toArray(), what + " OFF");

            args[4] = "obj";
            args[6] = q(obj);
            r = inspect(args);
            ASSERT_EQ(r.exitCode, 0) << what << ": " << r.err.toStdString();
            const ReadMesh fromObj = readObj(obj);
            expectClosedAndOutward(fromObj, what + " OBJ");
            EXPECT_EQ(fromObj.faces, fromOff.faces) << what;
        }
    }
}

TEST(Export, StlTrianglesCloseUpLikeThePolygons) {
    const std::string stl = temp("body.stl"), off = temp("stl.off"), ascii = temp("body-ascii.stl");
    for (const char* name : {"Pentagondodekaeder", "Campanus-Sph\u00e4re", "erweitertes Trapezoeder"}) {
        for (bool dual : {false, true}) {
            QStringList args{"export", "0", QString::fromUtf8(name), "--format", "stl", "-o", q(stl)};
            if (dual) args << "--dual";
            ASSERT_EQ(inspect(args).exitCode, 0) << name;
            args[4] = "off";
            args[6] = q(off);
            ASSERT_EQ(inspect(args).exitCode, 0) << name;
            const ReadMesh polygons = readOff(off);
            std::size_t expected = 0;
            for (const auto& f : polygons.faces)
                expected += f.size() - 2;

            QFile file(q(stl));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            ASSERT_GE(bytes.size(), 84);
            EXPECT_FALSE(bytes.startsWith("solid")) << "a binary STL must not look like ASCII";
            QDataStream in(bytes.mid(80));
            in.setByteOrder(QDataStream::LittleEndian);
            in.setFloatingPointPrecision(QDataStream::SinglePrecision);
            quint32 count = 0;
            in >> count;
            ASSERT_EQ(count, expected) << name;
            ASSERT_EQ(bytes.size(), 84 + 50 * static_cast<qsizetype>(count));
            // Triangles share corners only through equal coordinates; match them on a coarse grid.
            ReadMesh tri;
            std::map<std::array<long, 3>, int> index;
            auto corner = [&](float x, float y, float z) {
                const std::array<long, 3> key{std::lround(x * 1000.0), std::lround(y * 1000.0),
                                              std::lround(z * 1000.0)};
                auto [it, fresh] = index.try_emplace(key, static_cast<int>(tri.vertices.size()));
                if (fresh) tri.vertices.push_back({x, y, z});
                return it->second;
            };
            for (quint32 t = 0; t < count; ++t) {
                float v[12];
                for (float& c : v)
                    in >> c;
                quint16 attributes;
                in >> attributes;
                const std::vector<int> face{corner(v[3], v[4], v[5]), corner(v[6], v[7], v[8]),
                                            corner(v[9], v[10], v[11])};
                tri.faces.push_back(face);
                // The stored normal agrees with the corners' turn.
                const Point3D n = cross(tri.vertices[face[1]] - tri.vertices[face[0]],
                                        tri.vertices[face[2]] - tri.vertices[face[0]]);
                EXPECT_GT(dot(n, Point3D{v[0], v[1], v[2]}), 0) << name << " triangle " << t;
            }
            EXPECT_EQ(tri.vertices.size(), polygons.vertices.size()) << name;
            expectClosedAndOutward(tri, std::string(name) + " STL");
            EXPECT_NEAR(kesmora::signedVolume(tri), kesmora::signedVolume(polygons),
                        1e-4 * kesmora::signedVolume(polygons))
                << name;
        }
    }
    ASSERT_EQ(inspect({"export", "0", "Oktaeder", "--format", "stl-ascii", "-o", q(ascii)}).exitCode, 0);
    QFile file(q(ascii));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.startsWith("solid Oktaeder\n"));
    EXPECT_EQ(text.count("facet normal"), 8);
    EXPECT_EQ(text.count("vertex "), 24);
    EXPECT_TRUE(text.trimmed().endsWith("endsolid Oktaeder"));
}

namespace {

struct SvgContent {
    QString viewBox, width, title;
    std::map<QString, int> pathsByFill; // paths inside groups of that fill
    bool hasImage = false;
};

SvgContent readSvg(const std::string& path) {
    QFile file(q(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    SvgContent c;
    std::vector<QString> fills;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto attributes = xml.attributes();
            if (xml.name() == u"svg") {
                c.viewBox = attributes.value("viewBox").toString();
                c.width = attributes.value("width").toString();
            } else if (xml.name() == u"title") {
                c.title = xml.readElementText();
                continue;
            } else if (xml.name() == u"g") {
                fills.push_back(attributes.hasAttribute("fill") ? attributes.value("fill").toString()
                                                                : (fills.empty() ? QString() : fills.back()));
            } else if (xml.name() == u"path" || xml.name() == u"polygon") {
                ++c.pathsByFill[fills.empty() ? QString() : fills.back()];
            } else if (xml.name() == u"image") {
                c.hasImage = true;
            }
        } else if (xml.isEndElement() && xml.name() == u"g") {
            fills.pop_back();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return c;
}

} // namespace

TEST(Export, SvgStaysVectorAndShowsTheFacesInTheirColours) {
    const std::string svg = temp("cube.svg");
    ASSERT_EQ(
        inspect({"export", "0", "Hexaeder, W\u00fcrfel", "--format", "svg", "--mode", "3", "-o", q(svg)})
            .exitCode,
        0);
    SvgContent c = readSvg(svg);
    EXPECT_EQ(c.viewBox, "0 0 1008 534");
    EXPECT_EQ(c.title, QString::fromUtf8("Hexaeder, W\u00fcrfel"));
    EXPECT_FALSE(c.hasImage);
    // "farbige Flächen": the cube's six squares in the colour of four corners, the octahedron's eight
    // triangles in that of three.
    EXPECT_EQ(c.pathsByFill["#ffff80"], 6);
    EXPECT_EQ(c.pathsByFill["#ffff00"], 8);

    ASSERT_EQ(inspect({"export", "2", "Ikosidodekaederstumpf", "--format", "svg", "--mode", "2", "--size",
                       "600x400", "-o", q(svg)})
                  .exitCode,
              0);
    c = readSvg(svg);
    EXPECT_EQ(c.viewBox, "0 0 600 400");
    EXPECT_EQ(c.pathsByFill["#ffffff"], 62 + 120); // white faces of solid and dual, nothing culled

    // Modes that cannot be vector graphics, and picture options that do not apply, are refused.
    InspectorResult r = inspect({"export", "0", "Oktaeder", "--format", "svg", "--mode", "7", "-o", q(svg)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("png"));
    r = inspect({"export", "0", "Oktaeder", "--dual", "--format", "svg", "-o", q(svg)});
    EXPECT_EQ(r.exitCode, 2);
    r = inspect({"export", "0", "Oktaeder", "--format", "ply", "-o", q(svg)});
    EXPECT_EQ(r.exitCode, 2);
    r = inspect({"export", "0", "Oktaeder", "--format", "off"});
    EXPECT_EQ(r.exitCode, 2);
}

TEST(Export, PngIsThePictureRenderDraws) {
    const std::string exported = temp("exported.png"), rendered = temp("rendered.png");
    for (const char* mode : {"4", "7"}) {
        ASSERT_EQ(inspect({"export", "3", "Johnson Polyeder 23", "--format", "png", "--mode", mode, "--size",
                           "500x300", "-o", q(exported)})
                      .exitCode,
                  0);
        ASSERT_EQ(inspect({"render", "3", "Johnson Polyeder 23", "--mode", mode, "--size", "500x300", "-o",
                           q(rendered)})
                      .exitCode,
                  0);
        const QImage a(q(exported)), b(q(rendered));
        ASSERT_EQ(a.size(), QSize(500, 300));
        EXPECT_EQ(a, b) << "mode " << mode;
    }
}

TEST(Export, InTheBodysOwnUnitsUnlessAskedOtherwise) {
    const std::string off = temp("units.off");
    const auto longestAndShortest = [](const ReadMesh& m) {
        double longest = 0, shortest = INFINITY;
        for (const auto& f : m.faces)
            for (std::size_t i = 0; i < f.size(); ++i) {
                const Point3D d = m.vertices[static_cast<std::size_t>(f[i])] -
                                  m.vertices[static_cast<std::size_t>(f[(i + 1) % f.size()])];
                longest = std::max(longest, kesmora::norm(d));
                shortest = std::min(shortest, kesmora::norm(d));
            }
        return std::pair{longest, shortest};
    };
    // The icosahedron of edge 1 about its centre; its dual of edge 1 too.
    for (bool dual : {false, true}) {
        QStringList args{"export", "0", "ikosaeder", "--format", "off", "-o", q(off)};
        if (dual) args << "--dual";
        const InspectorResult r = inspect(args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const ReadMesh m = readOff(off);
        const auto [longest, shortest] = longestAndShortest(m);
        EXPECT_NEAR(longest, 1, 1e-9) << dual;
        EXPECT_NEAR(shortest, 1, 1e-6) << dual;
        EXPECT_LE(kesmora::norm(kesmora::centroidOfPoints(m.vertices)), 1e-12);
    }
    // For the printer: the longest edge in millimetres.
    ASSERT_EQ(inspect({"export", "2", "Pyramidentetraeder", "--format", "off", "--edge", "37.5", "-o", q(off)}).exitCode,
              0);
    EXPECT_NEAR(longestAndShortest(readOff(off)).first, 37.5, 1e-9);
    // Refused: both placements at once, a length that is none, a placement for a picture.
    for (const QStringList& args :
         {QStringList{"export", "0", "Oktaeder", "--format", "off", "--edge", "10", "--as-shown", "-o", q(off)},
          QStringList{"export", "0", "Oktaeder", "--format", "off", "--edge", "0", "-o", q(off)},
          QStringList{"export", "0", "Oktaeder", "--format", "off", "--edge", "1,5", "-o", q(off)},
          QStringList{"export", "0", "Oktaeder", "--format", "png", "--as-shown", "-o", q(off)}}) {
        const InspectorResult r = inspect(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("kesmora-inspect: --")) << r.err.toStdString();
    }
    std::filesystem::remove(off);
}
