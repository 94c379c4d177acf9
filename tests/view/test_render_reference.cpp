// Pixel-exact comparison of the renderer against stored pictures of catalogue bodies in every mode,
// so that work on the drawing code cannot change a single pixel unnoticed.
//
// tests/reference holds, per body, a snapshot of the built model (<body>.model, doubles written
// exactly) and one PNG per mode and mark setting. The snapshot keeps the pictures independent of
// later edits to the data files. KESMORA_UPDATE_REFERENCE=1 rebuilds the snapshots from the data
// files and rewrites all pictures from the current renderer; without it nothing is ever written
// into the source tree.
#include "section_category.h"
#include "bodies/build.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace kesmora;

namespace {

struct Body {
    const char* file; // file name stem in tests/reference
    int category;     // catalogue section
    const char* name; // as in the catalogue (Latin-1)
    double turn[3];   // one rechnen turn after the build, so faces lie at uneven depths
};

const Body kBodies[] = {
    {"hexaeder", 0, "Hexaeder, W\xFCrfel", {17, 29, 41}},
    {"oktaeder", 0, "Oktaeder", {-23, 11, 7}},
    {"ikosaeder", 0, "Ikosaeder", {5, -37, 13}},
    {"ikosidodekaederstumpf", 2, "Ikosidodekaederstumpf", {31, 19, -3}},
};

const QSize kSize(1008, 534); // the drawing area of the window at its fixed size

std::filesystem::path referenceDir() {
    return std::filesystem::path(KESMORA_SOURCE_DIR) / "tests" / "reference";
}

bool updating() {
    const char* v = std::getenv("KESMORA_UPDATE_REFERENCE");
    return v && std::string(v) == "1";
}

// ---- model snapshot: counts, hex-float coordinates and vertex indices, read back bit for bit ----

// What printf's "%a" writes in the C locale; printf itself would write a decimal comma under a
// German locale, and strtod would stop reading at the point.
std::string hex(double v) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::hex).ptr;
    return (std::signbit(v) ? "-0x" : "0x") + std::string(buf, end);
}

double fromHex(const std::string& text) {
    std::string_view s = text;
    const bool negative = !s.empty() && s.front() == '-';
    if (negative) s.remove_prefix(1);
    if (s.substr(0, 2) != "0x") throw std::runtime_error("not a hex float: " + text);
    s.remove_prefix(2);
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::hex);
    if (ec != std::errc{} || end != s.data() + s.size()) throw std::runtime_error("not a hex float: " + text);
    return negative ? -v : v;
}

void writeFigure(std::ostream& out, const Figure& figure) {
    out << "vertices " << figure.vertices.size() << '\n';
    for (const Point3D& p : figure.vertices)
        out << hex(p.x) << ' ' << hex(p.y) << ' ' << hex(p.z) << '\n';
    out << "faces " << figure.faces.size() << '\n';
    for (int f = 0; f < figure.faces.size(); ++f) {
        const Point3D& c = figure.faceRecords[f].centroid;
        out << hex(c.x) << ' ' << hex(c.y) << ' ' << hex(c.z) << ' ' << figure.faceRecords[f].colour << ' '
            << figure.faces[f].size();
        for (const int v : figure.faces[f])
            out << ' ' << v;
        out << '\n';
    }
}

void writeSnapshot(const std::filesystem::path& path, const SolidModel& m) {
    std::ofstream out(path);
    out << "scale " << hex(m.scale) << '\n';
    for (const Figure* figure : m.figures())
        writeFigure(out, *figure);
}

class Reader {
  public:
    explicit Reader(std::istream& in) : in_(in) {}
    double number() { return fromHex(word()); }
    int integer() { return std::stoi(word()); }
    void expect(const std::string& keyword) {
        const std::string w = word();
        if (w != keyword) throw std::runtime_error("expected '" + keyword + "', found '" + w + "'");
    }

  private:
    std::string word() {
        std::string w;
        if (!(in_ >> w)) throw std::runtime_error("snapshot ends early");
        return w;
    }
    std::istream& in_;
};

void readFigure(Reader& r, Figure& figure) {
    r.expect("vertices");
    const int vertexCount = r.integer();
    if (vertexCount < 0 || vertexCount > 100000) throw std::runtime_error("vertex count");
    figure.vertices.resize(vertexCount);
    for (Point3D& p : figure.vertices)
        p = {r.number(), r.number(), r.number()};
    r.expect("faces");
    const int faceCount = r.integer();
    if (faceCount < 0 || faceCount > 100000) throw std::runtime_error("face count");
    figure.faces.clear();
    figure.faceRecords.resize(faceCount);
    for (int f = 0; f < faceCount; ++f) {
        figure.faceRecords[f].centroid = {r.number(), r.number(), r.number()};
        figure.faceRecords[f].colour = r.integer();
        const int n = r.integer();
        std::vector<int> corners;
        for (int k = 0; k < n; ++k)
            corners.push_back(r.integer());
        figure.faces.push_back(corners);
    }
}

SolidModel readSnapshot(const std::filesystem::path& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path.string());
    Reader r(in);
    SolidModel m;
    r.expect("scale");
    m.scale = r.number();
    for (Figure* figure : m.figures())
        readFigure(r, *figure);
    return m;
}

SolidModel buildFromData(const Body& body) {
    static const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    Selection selection;
    selection.currentCategory = sectionCategory(body.category);
    neuwert(selection, tables, body.name);
    SolidModel m = buildSolid(tables, selection, body.name);
    rechnen(m, body.turn[0], body.turn[1], body.turn[2]);
    return m;
}

// ---- pictures ----

std::string pictureName(const Body& body, DrawMode mode, bool marks) {
    return std::string(body.file) + "-mode" + std::to_string(static_cast<int>(mode)) +
           (marks ? "-marks" : "") + ".png";
}

// Empty when equal; otherwise how many pixels differ and where the first one is.
std::string difference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return "size " + std::to_string(actual.width()) + "x" + std::to_string(actual.height()) +
               " instead of " + std::to_string(expected.width()) + "x" + std::to_string(expected.height());
    long differing = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            if ((a[x] & 0xFFFFFFu) == (e[x] & 0xFFFFFFu)) continue;
            if (differing++ == 0) first = QPoint(x, y);
        }
    }
    if (differing == 0) return {};
    return std::to_string(differing) + " pixels differ, the first at (" + std::to_string(first.x()) + ", " +
           std::to_string(first.y()) + ")";
}

// Keeps a failing picture in the build tree for a look; the source tree is never touched.
void keepFailure(const QImage& image, const std::string& name) {
    const QString dir = QString::fromUtf8(KESMORA_BINARY_DIR) + QStringLiteral("/reference-failures");
    QDir().mkpath(dir);
    image.save(dir + QLatin1Char('/') + QString::fromStdString(name));
}

class RenderReference : public ::testing::TestWithParam<Body> {
  protected:
    void SetUp() override {
        const Body& body = GetParam();
        const auto snapshot = referenceDir() / (std::string(body.file) + ".model");
        if (updating()) {
            std::filesystem::create_directories(referenceDir());
            writeSnapshot(snapshot, buildFromData(body));
        }
        ASSERT_TRUE(std::filesystem::exists(snapshot))
            << snapshot << " is missing; run this test once with KESMORA_UPDATE_REFERENCE=1 to create it";
        model = readSnapshot(snapshot);
    }

    QImage expected(const std::string& name, const QImage& current) const {
        const auto path = referenceDir() / name;
        if (updating()) current.save(QString::fromStdString(path.string()));
        QImage image(QString::fromStdString(path.string()));
        return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
    }

    SolidModel model;
};

} // namespace

TEST_P(RenderReference, SnapshotIsExactAndTheBodyIsDrawn) {
    // The snapshot reproduces the model bit for bit, or every picture below would be in doubt.
    const auto path = referenceDir() / (std::string(GetParam().file) + ".model");
    const auto copy =
        std::filesystem::temp_directory_path() / ("kesmora-" + std::string(GetParam().file) + ".model");
    writeSnapshot(copy, model);
    std::ifstream a(path), b(copy);
    std::stringstream sa, sb;
    sa << a.rdbuf();
    sb << b.rdbuf();
    EXPECT_EQ(sa.str(), sb.str());
    EXPECT_GT(model.solid.faces.size(), 0);
    EXPECT_GT(model.dual.faces.size(), 0);
}

TEST_P(RenderReference, EveryModeMatchesItsPicture) {
    // Drawn twice: into fresh images by a fresh renderer each, and into one reused scene image by one
    // renderer, as the window draws its ticks; both must give the stored pixels.
    SceneRenderer renderer;
    QImage reused;
    for (bool marks : {false, true}) {
        for (DrawMode mode : kDrawModes) {
            RenderSettings settings;
            settings.mode = mode;
            settings.markPoints = marks;
            QImage fresh;
            SceneRenderer().renderScene(fresh, kSize, model, settings);
            renderer.renderScene(reused, kSize, model, settings);

            const std::string name = pictureName(GetParam(), mode, marks);
            const QImage reference = expected(name, fresh);
            ASSERT_FALSE(reference.isNull())
                << name << " is missing; run this test with KESMORA_UPDATE_REFERENCE=1 to create it";
            const std::string freshDiff = difference(fresh, reference);
            const std::string reusedDiff = difference(reused, reference);
            EXPECT_EQ(freshDiff, "") << name << " (fresh image)";
            EXPECT_EQ(reusedDiff, "") << name << " (reused image and overlay)";
            if (!freshDiff.empty()) keepFailure(fresh, name);
            if (!reusedDiff.empty()) keepFailure(reused, "reused-" + name);
        }
    }
}

TEST_P(RenderReference, SmallerImageAfterALargerOneIsTheSameAsFresh) {
    // Shrinking and growing the scene image (a maximised window restored) leaves nothing of the
    // earlier picture behind, in the overlay as little as in the scene.
    SceneRenderer renderer;
    QImage reused;
    for (QSize size : {QSize(1920, 1080), QSize(640, 360), QSize(1008, 534)}) {
        for (DrawMode mode : kDrawModes) {
            RenderSettings settings;
            settings.mode = mode;
            settings.markPoints = true;
            QImage fresh;
            SceneRenderer().renderScene(fresh, size, model, settings);
            renderer.renderScene(reused, size, model, settings);
            EXPECT_EQ(difference(reused, fresh), "") << drawModeCaption(mode) << " at " << size.width();
        }
    }
}

namespace {

// One picture sequence as one renderer draws it: a body turning a little between frames, the mode
// and the marks changing, the screen updated with just the part each redraw reports.
struct Sequence {
    SolidModel model;
    QSize size;
    int modeOffset = 0;
    SceneRenderer renderer;
    QImage scene;
    QImage screen;
    int partial = 0; // redraws that reported less than the whole image

    // Draws frame `frame`; returns the settings it used.
    RenderSettings step(int frame) {
        RenderSettings settings;
        settings.mode = kDrawModes[static_cast<std::size_t>((frame / 2 + modeOffset) % 7)];
        settings.markPoints = (frame / 14 + modeOffset) % 2 == 1;
        rechnen(model, 0.0, 0.0, 3.0);
        const QRect changed = renderer.renderScene(scene, size, model, settings);
        if (changed != QRect(QPoint(0, 0), size)) ++partial;
        if (screen.size() != size) {
            screen = QImage(size, QImage::Format_RGB32);
            screen.fill(Qt::black);
        }
        QPainter painter(&screen);
        painter.drawImage(changed.topLeft(), scene, changed);
        return settings;
    }

    QImage fresh(const RenderSettings& settings) const {
        QImage image;
        SceneRenderer().renderScene(image, size, model, settings);
        return image;
    }
};

constexpr int kSequenceFrames = 28; // every mode twice, with and without marks
constexpr int kThreadFrames = 10 * kSequenceFrames;

std::unique_ptr<Sequence> sequence(const Body& body, QSize size, int modeOffset) {
    auto s = std::make_unique<Sequence>();
    s->model = readSnapshot(referenceDir() / (std::string(body.file) + ".model"));
    s->size = size;
    s->modeOffset = modeOffset;
    return s;
}

} // namespace

TEST(RendererState, TwoRenderersByTurnsDrawWhatEachDrawsAlone) {
    // The window's renderer and an inspector call's, say: each keeps its own canvas, layers and
    // record of its last picture, so neither disturbs the other, and each still redraws only what
    // changed since its own last picture.
    const auto a = sequence(kBodies[3], QSize(1008, 534), 0);
    const auto b = sequence(kBodies[2], QSize(640, 360), 3);
    for (int frame = 0; frame < kSequenceFrames; ++frame) {
        for (Sequence* s : {a.get(), b.get()}) {
            const QImage expected = s->fresh(s->step(frame));
            ASSERT_EQ(s->scene, expected) << "frame " << frame << " at " << s->size.width();
            ASSERT_EQ(s->screen, expected) << "frame " << frame << " at " << s->size.width();
        }
    }
    EXPECT_GT(a->partial, kSequenceFrames / 2);
    EXPECT_GT(b->partial, kSequenceFrames / 2);
}

TEST(RendererState, RenderersInTwoThreadsAtOnceDrawWhatEachDrawsAlone) {
    // Renderers share nothing, so two threads may draw at the same time, each with renderers of
    // its own; enough frames that the threads overlap many times.
    const std::unique_ptr<Sequence> sequences[] = {sequence(kBodies[3], QSize(1008, 534), 0),
                                                   sequence(kBodies[0], QSize(500, 300), 5)};
    int wrong[] = {0, 0};
    {
        std::vector<std::thread> threads;
        for (int i = 0; i < 2; ++i)
            threads.emplace_back([&sequences, &wrong, i] {
                Sequence& s = *sequences[i];
                for (int frame = 0; frame < kThreadFrames; ++frame) {
                    const QImage expected = s.fresh(s.step(frame));
                    if (s.scene != expected || s.screen != expected) ++wrong[i];
                }
            });
        for (std::thread& t : threads)
            t.join();
    }
    EXPECT_EQ(wrong[0], 0);
    EXPECT_EQ(wrong[1], 0);
}

INSTANTIATE_TEST_SUITE_P(Bodies, RenderReference, ::testing::ValuesIn(kBodies),
                         [](const ::testing::TestParamInfo<Body>& info) {
                             return std::string(info.param.file);
                         });
