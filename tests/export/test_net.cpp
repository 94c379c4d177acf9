// kesmora-inspect net: each net is read back from its SVG and checked as someone with scissors
// would: the pieces it names, no face or tab lying on another, every face there in its colour and
// shape, all on the page.
#include "inspector_process.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numeric>
#include <string>
#include <vector>

namespace {

const QString kTabFill = "#e6e6e6";

// The colours of "farbige Flächen" as the window starts, by number of corners.
QString faceFill(int corners) {
    static const std::map<int, QString> colours{{3, "#ffff00"}, {4, "#ffff80"}, {5, "#ff2020"},
                                                {6, "#00ffff"}, {8, "#ff00ff"}, {10, "#0000ff"},
                                                {12, "#40c040"}};
    const auto it = colours.find(corners);
    return it == colours.end() ? QString("#80ff80") : it->second;
}

struct Piece {
    QPolygonF corners; // not closed: the first corner is not repeated
    QString fill;
};

struct Sheet {
    QRectF page;
    std::vector<Piece> faces, tabs;
    QString text; // everything written on the sheet
};

QPolygonF parsePath(const QString& d) {
    QPolygonF p;
    for (QString word : d.split(' ', Qt::SkipEmptyParts)) {
        if (word.startsWith('M') || word.startsWith('L')) word.remove(0, 1);
        const QStringList xy = word.split(',');
        if (xy.size() == 2) p << QPointF(xy[0].toDouble(), xy[1].toDouble());
    }
    if (p.size() > 1 && p.front() == p.back()) p.removeLast();
    return p;
}

Sheet readSheet(const std::string& path) {
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    QXmlStreamReader xml(&file);
    Sheet s;
    std::vector<QString> fills;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            if (xml.name() == u"svg") {
                const QStringList box = a.value("viewBox").toString().split(' ');
                if (box.size() == 4)
                    s.page =
                        QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble());
            } else if (xml.name() == u"g") {
                fills.push_back(a.hasAttribute("fill") ? a.value("fill").toString()
                                                       : (fills.empty() ? QString() : fills.back()));
            } else if (xml.name() == u"path" && !fills.empty() && fills.back() != "none") {
                const Piece piece{parsePath(a.value("d").toString()), fills.back()};
                (piece.fill == kTabFill ? s.tabs : s.faces).push_back(piece);
            }
        } else if (xml.isEndElement() && xml.name() == u"g") {
            fills.pop_back();
        } else if (xml.isCharacters()) {
            s.text += xml.text().toString() + QLatin1Char(' ');
        }
    }
    EXPECT_FALSE(xml.hasError()) << path << ": " << xml.errorString().toStdString();
    return s;
}

double area(const QPolygonF& p) {
    double twice = 0;
    for (qsizetype i = 0; i < p.size(); ++i)
        twice += p[i].x() * p[(i + 1) % p.size()].y() - p[(i + 1) % p.size()].x() * p[i].y();
    return std::fabs(twice) / 2;
}

// Area two pieces have in common, by Qt's own path clipping rather than the inspector's test.
double commonArea(const QPolygonF& a, const QPolygonF& b) {
    if (!a.boundingRect().intersects(b.boundingRect())) return 0;
    QPainterPath pa, pb;
    pa.addPolygon(a);
    pa.closeSubpath();
    pb.addPolygon(b);
    pb.closeSubpath();
    double sum = 0;
    for (const QPolygonF& p : pa.intersected(pb).toFillPolygons())
        sum += area(p);
    return sum;
}

double perimeter(const QPolygonF& p) {
    double sum = 0;
    for (qsizetype i = 0; i < p.size(); ++i)
        sum += std::hypot(p[(i + 1) % p.size()].x() - p[i].x(), p[(i + 1) % p.size()].y() - p[i].y());
    return sum;
}

bool near(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y()) < 0.2;
}

// Pieces joined along a whole side (a fold) belong together; the net must be one piece.
int pieceCount(const std::vector<Piece>& faces) {
    std::vector<int> group(faces.size());
    std::iota(group.begin(), group.end(), 0);
    auto root = [&](int i) {
        while (group[i] != i)
            i = group[i] = group[group[i]];
        return i;
    };
    for (std::size_t i = 0; i < faces.size(); ++i)
        for (std::size_t j = i + 1; j < faces.size(); ++j) {
            const QPolygonF& a = faces[i].corners;
            const QPolygonF& b = faces[j].corners;
            if (!a.boundingRect().adjusted(-1, -1, 1, 1).intersects(b.boundingRect())) continue;
            bool shared = false;
            for (qsizetype k = 0; k < a.size() && !shared; ++k)
                for (qsizetype m = 0; m < b.size() && !shared; ++m)
                    shared = near(a[k], b[(m + 1) % b.size()]) && near(a[(k + 1) % a.size()], b[m]);
            if (shared) group[root(static_cast<int>(i))] = root(static_cast<int>(j));
        }
    int pieces = 0;
    for (std::size_t i = 0; i < faces.size(); ++i)
        pieces += root(static_cast<int>(i)) == static_cast<int>(i);
    return pieces;
}

// Common checks for every net: as many pieces on the page as its hints name ("Das Netz besteht
// aus 3 Teilen."), one where they name none; no overlaps (0.01 mm² allowed for the rounding of the
// written coordinates), faces coloured by their number of corners. Nets whose corners are nearly
// flat come in pieces: in one, a cut ends in a slit too narrow for a tab.
void expectCleanNet(const Sheet& s, const std::string& what) {
    ASSERT_FALSE(s.faces.empty()) << what;
    const QRegularExpressionMatch named =
        QRegularExpression(QStringLiteral("aus (\\d+) Teilen")).match(s.text);
    EXPECT_EQ(pieceCount(s.faces), named.hasMatch() ? named.captured(1).toInt() : 1) << what;
    const double allowed = 1.0; // in the sheet's units of 0.1 mm
    for (std::size_t i = 0; i < s.faces.size(); ++i) {
        EXPECT_EQ(s.faces[i].fill, faceFill(static_cast<int>(s.faces[i].corners.size())))
            << what << " face " << i;
        for (const QPointF& p : s.faces[i].corners)
            EXPECT_TRUE(s.page.contains(p)) << what << " face " << i << " leaves the page";
        for (std::size_t j = i + 1; j < s.faces.size(); ++j)
            EXPECT_LT(commonArea(s.faces[i].corners, s.faces[j].corners), allowed)
                << what << ": faces " << i << " and " << j << " overlap";
    }
    for (std::size_t t = 0; t < s.tabs.size(); ++t) {
        EXPECT_EQ(s.tabs[t].corners.size(), 4) << what;
        for (const QPointF& p : s.tabs[t].corners)
            EXPECT_TRUE(s.page.contains(p)) << what << " tab " << t << " leaves the page";
        for (const Piece& f : s.faces)
            EXPECT_LT(commonArea(s.tabs[t].corners, f.corners), allowed)
                << what << ": tab " << t << " on a face";
        for (std::size_t u = t + 1; u < s.tabs.size(); ++u)
            EXPECT_LT(commonArea(s.tabs[t].corners, s.tabs[u].corners), allowed)
                << what << ": tabs " << t << " and " << u << " overlap";
    }
}

std::vector<double> sorted(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v;
}

// The faces of the model, as perimeters, to compare with the net's up to one scale.
std::vector<double> modelPerimeters(const QJsonArray& vertices, const QJsonArray& faces) {
    std::vector<double> out;
    for (const auto& f : faces) {
        const QJsonArray face = f.toArray();
        double sum = 0;
        for (qsizetype i = 0; i < face.size(); ++i) {
            const QJsonArray a = vertices[face[i].toInt()].toArray();
            const QJsonArray b = vertices[face[(i + 1) % face.size()].toInt()].toArray();
            sum += std::hypot(a[0].toDouble() - b[0].toDouble(), a[1].toDouble() - b[1].toDouble(),
                              a[2].toDouble() - b[2].toDouble());
        }
        out.push_back(sum);
    }
    return out;
}

void expectSameShapes(const Sheet& s, const QJsonArray& vertices, const QJsonArray& faces,
                      const std::string& what) {
    ASSERT_EQ(s.faces.size(), static_cast<std::size_t>(faces.size())) << what;
    std::vector<double> net, model = sorted(modelPerimeters(vertices, faces));
    for (const Piece& p : s.faces)
        net.push_back(perimeter(p.corners));
    net = sorted(net);
    const double scale =
        std::accumulate(net.begin(), net.end(), 0.0) / std::accumulate(model.begin(), model.end(), 0.0);
    for (std::size_t i = 0; i < net.size(); ++i)
        EXPECT_NEAR(net[i], scale * model[i], 1e-3 * net[i] + 0.1) << what << " face perimeter " << i;
}

std::string temp(const std::string& name) {
    return scratchFile(name).toStdString();
}

} // namespace

TEST(Net, EveryListedSolidUnfoldsIntoCleanPieces) {
    const auto models = everyModel();
    ASSERT_EQ(models.size(), 148u);
    const std::string svg = temp("solid.svg");
    for (const QJsonObject& o : models) {
        const std::string what = o["name"].toString().toStdString();
        const InspectorResult r = inspect({"net", QString::number(o["category"].toInt()),
                                           o["name"].toString(), "-o", QString::fromStdString(svg)});
        ASSERT_EQ(r.exitCode, 0) << what << ": " << r.err.toStdString();
        const Sheet s = readSheet(svg);
        EXPECT_EQ(s.page, QRectF(0, 0, 2100, 2970)) << "an A4 page in tenths of a millimetre";
        expectSameShapes(s, o["vertices"].toArray(), o["faces"].toArray(), what);
        expectCleanNet(s, what);
    }
}

TEST(Net, ReciprocalsOfTheArchimedeanAndCatalanSolids) {
    const auto models = everyModel();
    const std::string svg = temp("reciprocal.svg");
    int count = 0;
    for (const QJsonObject& o : models) {
        if (o["category"].toInt() != 2) continue;
        ++count;
        const std::string what = o["name"].toString().toStdString() + " (reciprocal)";
        const InspectorResult r =
            inspect({"net", "2", o["name"].toString(), "--reciprocal", "-o", QString::fromStdString(svg)});
        ASSERT_EQ(r.exitCode, 0) << what << ": " << r.err.toStdString();
        const Sheet s = readSheet(svg);
        // One face per vertex of the solid, with as many corners as faces meet there.
        std::map<int, int> degree;
        for (const auto& f : o["faces"].toArray())
            for (const auto& v : f.toArray())
                ++degree[v.toInt()];
        std::vector<int> expected, seen;
        for (const auto& [vertex, d] : degree)
            expected.push_back(d);
        for (const Piece& p : s.faces)
            seen.push_back(static_cast<int>(p.corners.size()));
        std::sort(expected.begin(), expected.end());
        std::sort(seen.begin(), seen.end());
        EXPECT_EQ(seen, expected) << what;
        expectCleanNet(s, what);
        // The Archimedean solids have all vertices alike, so their reciprocals (the Catalan solids)
        // have all faces alike.
        if (o["bodyIndex"].toInt() <= 12) {
            std::vector<double> perimeters;
            for (const Piece& p : s.faces)
                perimeters.push_back(perimeter(p.corners));
            const auto [least, most] = std::minmax_element(perimeters.begin(), perimeters.end());
            EXPECT_NEAR(*least / *most, 1.0, 1e-3) << what;
        }
    }
    EXPECT_EQ(count, 25);
}

TEST(Net, DualsUnfoldWhereTheirFacesAreFlat) {
    const std::string svg = temp("dual.svg");
    // The octahedron's dual is a cube: six squares.
    ASSERT_EQ(inspect({"net", "0", "Oktaeder", "--dual", "-o", QString::fromStdString(svg)}).exitCode, 0);
    Sheet s = readSheet(svg);
    ASSERT_EQ(s.faces.size(), 6u);
    for (const Piece& p : s.faces)
        EXPECT_EQ(p.corners.size(), 4);
    expectCleanNet(s, "Oktaeder (dual)");
    // A quasi-dual cut into triangles everywhere is flat and unfolds, though not convex.
    ASSERT_EQ(
        inspect({"net", "3", "Johnson Polyeder 06", "--dual", "-o", QString::fromStdString(svg)}).exitCode,
        0);
    s = readSheet(svg);
    EXPECT_EQ(s.faces.size(), 30u);
    expectCleanNet(s, "Johnson Polyeder 06 (quasi-dual)");
    // J90's quasi-dual keeps warped quadrilaterals: refused, with the way out named.
    const InspectorResult r =
        inspect({"net", "3", "Johnson Polyeder 90", "--dual", "-o", QString::fromStdString(svg)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("verzogene Flächen")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("--reciprocal")) << r.err.toStdString();
    ASSERT_EQ(inspect({"net", "3", "Johnson Polyeder 90", "--reciprocal", "-o", QString::fromStdString(svg)})
                  .exitCode,
              0);
    expectCleanNet(readSheet(svg), "Johnson Polyeder 90 (reciprocal)");
}

TEST(Net, PageSizeAndUsage) {
    const std::string svg = temp("page.svg");
    ASSERT_EQ(
        inspect({"net", "0", "Ikosaeder", "--page", "297x210", "-o", QString::fromStdString(svg)}).exitCode,
        0);
    const Sheet s = readSheet(svg);
    EXPECT_EQ(s.page, QRectF(0, 0, 2970, 2100));
    expectCleanNet(s, "Ikosaeder on A4 landscape");
    EXPECT_EQ(inspect({"net", "0", "Ikosaeder"}).exitCode, 2);
    EXPECT_EQ(
        inspect({"net", "0", "Ikosaeder", "--page", "10x10", "-o", QString::fromStdString(svg)}).exitCode, 2);
}

namespace {

// Reading SVG back draws text, which needs the fonts of an application.
void makeApplication() {
    static int argc = 1;
    static char name[] = "test_net";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

QByteArray fileBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The sheet as a printer would see it, read back by Qt's SVG renderer; its share of coloured
// (neither white nor grey) pixels.
double colouredShare(const std::string& svg, const std::string& picture) {
    QSvgRenderer renderer(QString::fromStdString(svg));
    EXPECT_TRUE(renderer.isValid()) << svg;
    QImage image(840, 1188, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    if (!picture.empty()) {
        EXPECT_TRUE(image.save(QString::fromStdString(picture))) << picture;
    }
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            coloured += c.red() != c.green() || c.green() != c.blue();
        }
    return static_cast<double>(coloured) / (image.width() * image.height());
}

} // namespace

// At 40 mm a truncated icosidodecahedron takes several A4 sheets: one SVG per sheet, or one PDF
// with a page per sheet, each sheet with its German texts and no piece on another.
TEST(Net, RealSizeOverSeveralSheetsAsSvgAndPdf) {
    makeApplication();
    const std::string base = temp("big");
    const InspectorResult r = inspect(
        {"net", "2", "Ikosidodekaederstumpf", "--edge", "40", "-o", QString::fromStdString(base + ".svg")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(std::filesystem::exists(base + ".svg"));
    int sheets = 0;
    while (std::filesystem::exists(base + "-" + std::to_string(sheets + 1) + ".svg"))
        ++sheets;
    ASSERT_GT(sheets, 1);
    std::size_t faces = 0;
    for (int k = 1; k <= sheets; ++k) {
        const std::string file = base + "-" + std::to_string(k) + ".svg";
        const Sheet s = readSheet(file);
        EXPECT_EQ(s.page, QRectF(0, 0, 2100, 2970));
        faces += s.faces.size();
        std::vector<QPolygonF> shapes;
        for (const Piece& p : s.faces) {
            shapes.push_back(p.corners);
            // 40 mm sides: 400 units of a tenth of a millimetre, written to 0.01 units or so.
            for (qsizetype i = 0; i < p.corners.size(); ++i) {
                const QPointF d = p.corners[(i + 1) % p.corners.size()] - p.corners[i];
                EXPECT_NEAR(std::hypot(d.x(), d.y()), 400, 0.1) << file;
            }
        }
        for (const Piece& p : s.tabs)
            shapes.push_back(p.corners);
        for (std::size_t i = 0; i < shapes.size(); ++i)
            for (std::size_t j = i + 1; j < shapes.size(); ++j)
                EXPECT_LT(commonArea(shapes[i], shapes[j]), 1.0) << file << ": shapes " << i << " and " << j;
        const QString text = QString::fromUtf8(fileBytes(file));
        EXPECT_TRUE(text.contains(QStringLiteral("Ikosidodekaederstumpf – Netz"))) << file;
        EXPECT_TRUE(text.contains(QStringLiteral("Entlang der durchgezogenen Linien ausschneiden, an den "
                                                 "gestrichelten falten, die grauen Laschen kleben.")))
            << file;
        EXPECT_TRUE(text.contains(QStringLiteral("Seite %1 von %2").arg(k).arg(sheets))) << file;
        EXPECT_GT(colouredShare(file, {}), 0.05) << file;
    }
    EXPECT_EQ(faces, 62u);

    const InspectorResult pdf = inspect(
        {"net", "2", "Ikosidodekaederstumpf", "--edge", "40", "-o", QString::fromStdString(base + ".pdf")});
    ASSERT_EQ(pdf.exitCode, 0) << pdf.err.toStdString();
    const QByteArray bytes = fileBytes(base + ".pdf");
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(bytes.count("/Type /Page\n"), sheets);

    // Standard output takes one sheet only.
    const InspectorResult piped = inspect({"net", "2", "Ikosidodekaederstumpf", "--edge", "40", "-o", "-"});
    EXPECT_EQ(piped.exitCode, 1);
    EXPECT_TRUE(QString::fromUtf8(piped.err).contains(QStringLiteral("Standardausgabe")))
        << piped.err.toStdString();
}

// Three nets as they come out of the files; with KESMORA_NET_PICTURES=DIR they are kept there
// as pictures to look at.
TEST(Net, SheetsReadBackAsPictures) {
    makeApplication();
    const char* keep = std::getenv("KESMORA_NET_PICTURES");
    const std::vector<std::pair<QString, QString>> bodies{
        {"0", "Ikosaeder"}, {"2", "Rhombenkuboktaeder"}, {"3", "Johnson Polyeder 41"}};
    for (const auto& [category, name] : bodies) {
        const std::string svg = temp("picture.svg");
        const InspectorResult r = inspect({"net", category, name, "-o", QString::fromStdString(svg)});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const std::string picture =
            keep ? std::string(keep) + "/" + QString(name).replace(' ', '-').toStdString() + ".png"
                 : std::string();
        EXPECT_GT(colouredShare(svg, picture), 0.1) << name.toStdString();
    }
}
