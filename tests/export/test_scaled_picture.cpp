// A picture saved larger than the screen: the same scene, enlarged as a whole. At four times the
// size every line and mark is four times as wide, the colours are the screen's, and nothing the
// screen shows is cut off; as shown, the picture is the screen's pixel for pixel.
#include "section_category.h"
#include "bodies/build.h"
#include "catalogue/latin1.h"
#include "catalogue/selection.h"
#include "export/scaledpicture.h"
#include "tempdir.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include <gtest/gtest.h>

#include <QImage>

#include <map>
#include <string>

using namespace kesmora;

namespace {

const QSize kShown(1008, 534);

SolidModel built(int category, const char* utf8Name) {
    static const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    Selection s;
    s.currentCategory = sectionCategory(category);
    const std::string name = utf8ToLatin1(utf8Name);
    neuwert(s, tables, name);
    SolidModel m = buildSolid(tables, s, name);
    rechnen(m, 17, 11, 5); // turned off the axes, so that no edge lies on a pixel row
    return m;
}

QImage picture(const SolidModel& model, const RenderSettings& settings, QSize size) {
    const ScaledScene scene = scaledScene(model, settings, kShown, size);
    SceneRenderer renderer;
    QImage image;
    renderer.renderScene(image, size, scene.model, scene.settings);
    return image.copy();
}

// Pixels of each colour.
std::map<QRgb, long> colourCounts(const QImage& image) {
    std::map<QRgb, long> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    return counts;
}

QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu) box |= QRect(x, y, 1, 1);
    return box;
}

// The widest run of one colour along a row, over all rows (a vertical line's width).
int widestRun(const QImage& image, QRgb colour) {
    int widest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = (image.pixel(x, y) | 0xFF000000u) == (colour | 0xFF000000u) ? run + 1 : 0;
            widest = std::max(widest, run);
        }
    }
    return widest;
}

} // namespace

TEST(ScaledPicture, FourTimesAsLargeShowsTheSameSceneWithLinesAndMarksFourTimesAsWide) {
    const SolidModel cube = built(0, "Hexaeder, Würfel");
    const SolidModel icosahedron = built(0, "Ikosaeder");
    struct Case {
        const SolidModel* model;
        DrawMode mode;
        bool marks;
    };
    for (const Case& c : {Case{&cube, DrawMode::EdgeModel, false}, Case{&icosahedron, DrawMode::EdgeModel, true},
                          Case{&icosahedron, DrawMode::ColouredFaces, false},
                          Case{&cube, DrawMode::Interpenetration2, true},
                          Case{&icosahedron, DrawMode::Interpenetration3, false}}) {
        SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(c.mode) << (c.marks ? " with marks" : ""));
        RenderSettings settings;
        settings.mode = c.mode;
        settings.markPoints = c.marks;
        const QImage screen = picture(*c.model, settings, kShown);
        const QImage large = picture(*c.model, settings, kShown * 4);
        ASSERT_EQ(large.size(), kShown * 4);

        // The same colours, each covering about 16 times the pixels: lines four times as long and
        // four times as wide, faces 16 times the area.
        const std::map<QRgb, long> small = colourCounts(screen), big = colourCounts(large);
        for (const auto& [colour, count] : small) {
            if ((colour & 0xFFFFFFu) == 0xFFFFFFu || count < 50) continue;
            ASSERT_TRUE(big.count(colour)) << std::hex << colour;
            const double ratio = static_cast<double>(big.at(colour)) / count;
            EXPECT_GT(ratio, 16 * 0.8) << std::hex << colour;
            EXPECT_LT(ratio, 16 * 1.25) << std::hex << colour;
        }
        for (const auto& [colour, count] : big) {
            if (count < 16 * 50) continue;
            EXPECT_TRUE(small.count(colour)) << "a colour the screen lacks: " << std::hex << colour;
        }

        // Nothing cut off: the ink lies where the screen's does, four times as far out, with the
        // margin of the wider lines and marks, well inside the picture.
        const QRect s = inkBox(screen), b = inkBox(large);
        ASSERT_FALSE(s.isEmpty());
        const int slack = c.marks ? 4 * 6 : 4 * 2;
        EXPECT_NEAR(b.left(), 4 * s.left(), slack);
        EXPECT_NEAR(b.top(), 4 * s.top(), slack);
        EXPECT_NEAR(b.right(), 4 * s.right() + 3, slack);
        EXPECT_NEAR(b.bottom(), 4 * s.bottom() + 3, slack);
        EXPECT_TRUE(large.rect().adjusted(1, 1, -1, -1).contains(b));
    }
    // (A line's width shows in its colour's count above: 16 times the pixels where a line one pixel
    // wide would have 4 times.) A mark is 9 pixels across on screen, 36 in the picture.
    RenderSettings edges;
    edges.mode = DrawMode::EdgeModel;
    edges.markPoints = true;
    EXPECT_EQ(widestRun(picture(cube, edges, kShown), qRgb(255, 255, 0)), 7);  // inside the outline
    EXPECT_NEAR(widestRun(picture(cube, edges, kShown * 4), qRgb(255, 255, 0)), 4 * 8 - 4, 2);
}

TEST(ScaledPicture, AsShownItIsTheScreensPictureAndAnyOtherSizeFitsWhole) {
    const SolidModel cube = built(0, "Hexaeder, Würfel");
    for (DrawMode mode : kDrawModes) {
        RenderSettings settings;
        settings.mode = mode;
        SceneRenderer renderer;
        QImage screen;
        renderer.renderScene(screen, kShown, cube, settings);
        EXPECT_EQ(picture(cube, settings, kShown), screen) << static_cast<int>(mode);
    }
    // Wider and higher than the screen's proportions: the smaller ratio, nothing cut off.
    EXPECT_DOUBLE_EQ(pictureFactor(kShown, QSize(4032, 600)), 600.0 / 534);
    EXPECT_DOUBLE_EQ(pictureFactor(kShown, QSize(1008 / 2, 5000)), 0.5);
    EXPECT_DOUBLE_EQ(pictureFactor(kShown, QSize()), 1.0);
    RenderSettings settings;
    settings.mode = DrawMode::ColouredFaces;
    for (const QSize size : {QSize(4032, 600), QSize(500, 3000), QSize(200, 100)}) {
        const QImage image = picture(cube, settings, size);
        const QRect ink = inkBox(image);
        EXPECT_TRUE(image.rect().adjusted(1, 1, -1, -1).contains(ink)) << size.width() << "x" << size.height();
    }
    // Sizes beyond 10 000 pixels, or empty, are refused before anything is written.
    const kesmora::test::TempDir dir("scaled-picture");
    const std::string file = (dir.path() / "zu-gross.png").string();
    EXPECT_THROW(writeScaledScenePicture(cube, settings, kShown, QSize(10001, 10), "Hexaeder", file, false),
                 std::runtime_error);
    EXPECT_THROW(writeScaledScenePicture(cube, settings, kShown, QSize(0, 10), "Hexaeder", file, false),
                 std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(file));
    writeScaledScenePicture(cube, settings, kShown, QSize(2016, 1068), "Hexaeder", file, false);
    EXPECT_EQ(QImage(QString::fromStdString(file)).size(), QSize(2016, 1068));
}
