// Pixel tests of the scene renderer: frame, figure placement, face colours, marks, painting order,
// the two interpenetration modes and faces that name what is not there, on small hand-built models.
// The scene image kept between redraws: test_open_painter.cpp.
#include "scene_models.h"
#include "view/depthorder.h"
#include "view/renderer.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace kesmora;
using namespace kesmora::testing;

namespace {

constexpr int kCatalogueFaces = 201; // the most faces a body of the catalogue has

std::string rgb(int r, int g, int b) {
    return "(" + std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b) + ")";
}
std::string at(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return rgb(c.red(), c.green(), c.blue());
}
const std::string kWhite = rgb(255, 255, 255);
const std::string kYellow = rgb(255, 255, 0);
const std::string kRed = rgb(255, 0, 0);
const std::string kBlue = rgb(0, 0, 255);
const std::string kBlack = rgb(0, 0, 0);
const std::string kPaleGreen = rgb(160, 255, 160);

std::vector<int> faceOrder(const std::vector<double>& depths, bool selection) {
    CheckedTable<FaceRecord> records;
    for (double d : depths)
        records.push_back({{0, 0, d}, 1});
    DepthList list;
    const int n = buildDepthList(records, list);
    selection ? orderBySelection(list, n) : orderByExchange(list, n);
    std::vector<int> faces;
    for (int i = 0; i < n; ++i)
        faces.push_back(list[i].face);
    return faces;
}

} // namespace

TEST(Frame, EmptyModelIsPlainWhiteInEveryModeAndTheImageIsReused) {
    const SolidModel empty;
    for (DrawMode mode : kDrawModes) {
        RenderSettings settings;
        settings.mode = mode;
        settings.markPoints = true;
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::red);
        const uchar* bits = image.constBits();
        SceneRenderer().renderScene(image, {40, 30}, empty, settings);
        EXPECT_EQ(image.constBits(), bits) << drawModeCaption(mode);
        EXPECT_TRUE(allWhite(image)) << drawModeCaption(mode);
    }
    SceneRenderer renderer;
    QImage image;
    renderer.renderScene(image, {31, 17}, empty, RenderSettings{});
    EXPECT_EQ(image.size(), QSize(31, 17));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    renderer.renderScene(image, {0, 17}, empty, RenderSettings{});
    EXPECT_TRUE(image.isNull());
}

TEST(Placement, SideBySideAtQuarterAndThreeQuartersOfTheWidth) {
    SolidModel m;
    addFace(m.solid, rect(-20, -20, 20, 20), 0);
    addFace(m.dual, rect(-10, -10, 10, 10), 0);
    // 403 wide: W div 4 = 100 and 3 (W div 4) = 300, where 3 W / 4 would give 302.
    for (DrawMode mode : {DrawMode::EdgeModel, DrawMode::HiddenEdges, DrawMode::ColouredFaces,
                          DrawMode::MultiColouredFaces}) {
        const QImage image = render(m, mode, {403, 201});
        EXPECT_EQ(inkBox(image, 0, 201), QRect(QPoint(80, 80), QPoint(120, 120))) << drawModeCaption(mode);
        EXPECT_EQ(inkBox(image, 201, 403), QRect(QPoint(290, 90), QPoint(310, 110))) << drawModeCaption(mode);
    }
    const QImage coloured = render(m, DrawMode::ColouredFaces, {403, 201});
    EXPECT_EQ(at(coloured, 100, 100), rgb(255, 255, 128));
    EXPECT_EQ(at(coloured, 80, 100), kBlack);
    EXPECT_EQ(at(render(m, DrawMode::HiddenEdges, {403, 201}), 100, 100), kWhite);
    EXPECT_EQ(at(render(m, DrawMode::EdgeModel, {403, 201}), 100, 100), kWhite);
}

TEST(Placement, DurchdringungDrawsBothAtTheCentreInBlackAndBlueOutlines) {
    SolidModel m;
    addFace(m.solid, rect(-40, -40, 40, 40), 0);
    addFace(m.dual, rect(-10, -10, 10, 10), 0);
    const QImage image = render(m, DrawMode::Interpenetration, {401, 200});
    EXPECT_EQ(inkBox(image, 0, 401), QRect(QPoint(160, 60), QPoint(240, 140)));
    EXPECT_EQ(at(image, 160, 100), kBlack);
    EXPECT_EQ(at(image, 190, 100), kBlue);
    EXPECT_EQ(at(image, 175, 100), kWhite);
    EXPECT_EQ(at(image, 200, 100), kWhite);
}

TEST(FaceColours, BunteFlaechenFollowTheColourNumbers) {
    SolidModel m;
    for (int k = 0; k < 24; ++k) {
        const double x = -42 + (k % 6) * 14, y = -28 + (k / 6) * 14;
        addFace(m.solid, rect(x - 4, y - 4, x + 4, y + 4), 0);
    }
    addFace(m.dual, rect(-5, -5, 5, 5), 0);
    m.dual.faceRecords[0].colour = 13;
    const QImage image = render(m, DrawMode::MultiColouredFaces);
    auto centre = [&](int k) { return at(image, 100 - 42 + (k % 6) * 14, 100 - 28 + (k / 6) * 14); };
    EXPECT_EQ(centre(0), rgb(0, 0, 128));
    EXPECT_EQ(centre(1), rgb(255, 0, 0));
    EXPECT_EQ(centre(22), rgb(204, 255, 255));
    EXPECT_EQ(centre(23), rgb(0, 0, 128));
    EXPECT_EQ(at(image, 300, 100), rgb(0, 255, 255));
}

TEST(FaceColours, FarbigeFlaechenFollowTheVertexCount) {
    SolidModel m;
    for (int n : {3, 4, 7, 12})
        addFace(m.solid, regular(n, -60 + 35 * (m.solid.faces.size()), 0, 14), 0);
    RenderSettings settings;
    settings.mode = DrawMode::ColouredFaces;
    SceneRenderer renderer;
    QImage image;
    renderer.renderScene(image, {400, 200}, m, settings);
    EXPECT_EQ(at(image, 40, 100), rgb(255, 255, 0));
    EXPECT_EQ(at(image, 75, 100), rgb(255, 255, 128));
    EXPECT_EQ(at(image, 110, 100), rgb(128, 255, 128));
    EXPECT_EQ(at(image, 145, 100), rgb(64, 192, 64));

    // The user's colours replace the ones they belong to; a seven-sided face keeps its fixed colour.
    settings.polygonColours.fill(QColor(10, 20, 30));
    settings.polygonColours[1] = QColor(1, 2, 3);
    renderer.renderScene(image, {400, 200}, m, settings);
    EXPECT_EQ(at(image, 40, 100), rgb(10, 20, 30));
    EXPECT_EQ(at(image, 75, 100), rgb(1, 2, 3));
    EXPECT_EQ(at(image, 110, 100), rgb(128, 255, 128));
}

TEST(Marks, NinePixelYellowDiscsOutlinedWithThePen) {
    SolidModel m;
    addFace(m.solid, {{0, 0}}, 0); // a lone vertex shows the bare mark
    const QImage image = render(m, DrawMode::EdgeModel, {400, 200}, true);
    const int cx = 100, cy = 100;
    EXPECT_EQ(inkBox(image, 0, 400), QRect(cx - 4, cy - 4, 9, 9));
    EXPECT_EQ(at(image, cx, cy), kYellow);
    EXPECT_EQ(at(image, cx + 2, cy - 2), kYellow);
    for (auto [x, y] : {std::pair{cx - 4, cy}, {cx + 4, cy}, {cx, cy - 4}, {cx, cy + 4}})
        EXPECT_EQ(at(image, x, y), kBlack) << x << "," << y;
    EXPECT_EQ(at(image, cx - 4, cy - 4), kWhite); // a disc, not a square

    // In the dual of "Durchdringung " the marks take the blue pen; marks restore the brush, so
    // a face painted after a marked face is still unfilled.
    SolidModel two;
    addFace(two.dual, rect(-30, -30, 0, 0), 1);
    addFace(two.dual, rect(10, 10, 40, 40), 0);
    const QImage outlines = render(two, DrawMode::Interpenetration, {400, 200}, true);
    EXPECT_EQ(at(outlines, 170, 100 - 30), kYellow);
    EXPECT_EQ(at(outlines, 170 - 4, 100 - 30), kBlue);
    EXPECT_EQ(at(outlines, 225, 125), kWhite);

    // Every vertex of every face is marked in the edge model, each right after the line ending
    // there: vertex 0 is marked last, the other two are crossed by the line leaving them.
    SolidModel tri;
    addFace(tri.solid, {{-30, 20}, {30, 20}, {0, -30}}, 0);
    const QImage marked = render(tri, DrawMode::EdgeModel, {400, 200}, true);
    EXPECT_EQ(at(marked, 70, 120), kYellow);
    EXPECT_EQ(at(marked, 130, 120), kBlack);
    EXPECT_EQ(at(marked, 100, 70), kBlack);
    for (auto [x, y] : {std::pair{70 - 4, 120}, {130 + 4, 120}, {100, 70 - 4}})
        EXPECT_EQ(at(marked, x, y), kBlack);
    for (auto [x, y] : {std::pair{70 + 2, 120 + 2}, {130 - 2, 120 + 2}, {100 + 1, 70 - 2}})
        EXPECT_EQ(at(marked, x, y), kYellow) << x << "," << y;
    EXPECT_EQ(at(render(tri, DrawMode::EdgeModel), 72, 122), kWhite);
}

TEST(PaintingOrder, TheTwoSortRulesAndTheirTies) {
    using V = std::vector<int>;
    EXPECT_EQ(faceOrder({1, 3, 2}, true), (V{1, 2, 0}));
    EXPECT_EQ(faceOrder({4, 4, 4}, true), (V{0, 1, 2}));
    EXPECT_EQ(faceOrder({4, 4, 4}, false), (V{0, 1, 2}));
    // The two rules part where a single exchange and a run of exchanges move the tied faces differently.
    EXPECT_EQ(faceOrder({0, 1, 1, 2}, true), (V{3, 1, 2, 0}));
    EXPECT_EQ(faceOrder({0, 1, 1, 2}, false), (V{3, 2, 1, 0}));
    EXPECT_TRUE(faceOrder({}, true).empty());
}

TEST(PaintingOrder, LongListsAreSortedDeepestFirstWithTiesInListOrderAndNaNLast) {
    // Beyond the scanned length both orders sort: equal depths keep their order in the list, and
    // entries without a depth come last, also in list order.
    const int n = kLargestScannedOrder + 500;
    const double values[] = {2.0, -1.0, 0.5, std::nan(""), 0.5, 3.0, -1.0};
    for (const bool selection : {true, false}) {
        DepthList list;
        list.resize(n);
        for (int i = 0; i < n; ++i)
            list[i] = {values[i % 7], i % 23 + 1, i};
        selection ? orderBySelection(list, n) : orderByExchange(list, n);
        for (int i = 1; i < n; ++i) {
            const DepthEntry& a = list[i - 1];
            const DepthEntry& b = list[i];
            if (std::isnan(a.depth)) {
                ASSERT_TRUE(std::isnan(b.depth)) << i;
                ASSERT_LT(a.face, b.face) << i;
            } else if (!std::isnan(b.depth)) {
                ASSERT_GE(a.depth, b.depth) << i;
                if (a.depth == b.depth) {
                    ASSERT_LT(a.face, b.face) << i;
                }
            }
        }
        EXPECT_EQ(list[0].depth, 3.0);
        EXPECT_TRUE(std::isnan(list[n - 1].depth));
    }
}

TEST(PaintingOrder, BothOrdersAreThePlainScansForDistinctDepthsTiesSignedZerosAndNaN) {
    // The orders are worked out by shortcuts (a plain sort where all depths differ, jumps to the
    // next deeper face); on lists with and without ties, -0 beside +0 and NaN they must give the
    // very order of the plain scans the renderer was written with.
    std::mt19937 rng(11);
    const double values[] = {-1.5, -0.0, 0.0, 0.25, 0.25, 2.0, std::nan("")};
    for (int round = 0; round < 4000; ++round) {
        const int n = std::uniform_int_distribution<int>(0, kCatalogueFaces)(rng);
        const bool tied = round % 2 == 0;
        DepthList selection, exchange, plainSelection, plainExchange;
        for (DepthList* list : {&selection, &exchange, &plainSelection, &plainExchange})
            list->resize(n);
        for (int i = 0; i < n; ++i) {
            const double d = tied && rng() % 3 == 0 ? values[rng() % 7]
                                                    : std::uniform_real_distribution<double>(-3, 3)(rng);
            const DepthEntry e{d, i % 23 + 1, i};
            selection[static_cast<std::size_t>(i)] = exchange[static_cast<std::size_t>(i)] = e;
            plainSelection[static_cast<std::size_t>(i)] = plainExchange[static_cast<std::size_t>(i)] = e;
        }
        orderBySelection(selection, n);
        orderByExchange(exchange, n);
        for (int j = 0; j < n; ++j) {
            int p = j;
            for (int q = j + 1; q < n; ++q)
                if (plainSelection[static_cast<std::size_t>(q)].depth >
                    plainSelection[static_cast<std::size_t>(p)].depth)
                    p = q;
            std::swap(plainSelection[static_cast<std::size_t>(j)],
                      plainSelection[static_cast<std::size_t>(p)]);
        }
        for (int i = 0; i + 1 < n; ++i)
            for (int j = i + 1; j < n; ++j)
                if (plainExchange[static_cast<std::size_t>(i)].depth <
                    plainExchange[static_cast<std::size_t>(j)].depth)
                    std::swap(plainExchange[static_cast<std::size_t>(i)],
                              plainExchange[static_cast<std::size_t>(j)]);
        for (int i = 0; i < n; ++i) {
            ASSERT_EQ(selection[static_cast<std::size_t>(i)].face,
                      plainSelection[static_cast<std::size_t>(i)].face)
                << "selection, round " << round << " at " << i;
            ASSERT_EQ(exchange[static_cast<std::size_t>(i)].face,
                      plainExchange[static_cast<std::size_t>(i)].face)
                << "exchange, round " << round << " at " << i;
        }
    }
}

TEST(PaintingOrder, NearerFacesCoverFartherOnesAndTiesPaintTheFirstPositionFirst) {
    for (bool nearFirst : {true, false}) {
        SolidModel m;
        const double a = nearFirst ? -5 : 5;
        addFace(m.solid, rect(-30, -30, 10, 10), a);  // colour 1, navy
        addFace(m.solid, rect(-10, -10, 30, 30), -a); // colour 2, red
        const QImage image = render(m, DrawMode::MultiColouredFaces);
        EXPECT_EQ(at(image, 100, 100), nearFirst ? rgb(0, 0, 128) : kRed);
    }
    SolidModel tie;
    addFace(tie.solid, rect(-30, -30, 10, 10), 2);
    addFace(tie.solid, rect(-10, -10, 30, 30), 2);
    EXPECT_EQ(at(render(tie, DrawMode::MultiColouredFaces), 100, 100), kRed);

    // Depths 0, 1, 1, 2: the side-by-side rule paints face 2 over face 1, the interpenetration
    // rule face 1 over face 2. Face 1's right edge runs through face 2.
    SolidModel order;
    addFace(order.solid, rect(60, 60, 70, 70), 0);
    addFace(order.solid, rect(-30, -20, 0, 20), 1);
    addFace(order.solid, rect(-10, -10, 20, 10), 1);
    addFace(order.solid, rect(60, -70, 70, -60), 2);
    EXPECT_EQ(at(render(order, DrawMode::HiddenEdges), 100, 100), kWhite);
    const QImage tinted = render(order, DrawMode::Interpenetration3);
    int red = 0;
    for (int y = 95; y <= 105; ++y)
        red += at(tinted, 200, y) == kRed;
    EXPECT_GT(red, 0);
}

TEST(Interpenetration, Durchdringung2OutlinesTheSolidAroundTheOpaqueDual) {
    SolidModel m;
    addFace(m.solid, rect(-60, -30, -10, 30), 1); // far
    addFace(m.solid, rect(10, -30, 60, 30), -1);  // near
    addFace(m.dual, rect(-30, -20, 30, 20), 0);
    const QImage image = render(m, DrawMode::Interpenetration2);
    const int ox = 200, oy = 100;
    EXPECT_EQ(at(image, ox, oy), kYellow);
    EXPECT_EQ(at(image, ox - 30, oy), kBlue);
    EXPECT_EQ(at(image, ox + 30, oy), kBlue);   // inside the near face, which has no fill
    EXPECT_EQ(at(image, ox - 60, oy), kRed);    // far edge outside the dual
    EXPECT_EQ(at(image, ox - 10, oy), kYellow); // far edge hidden by the dual
    EXPECT_EQ(at(image, ox + 10, oy), kRed);    // near edge over the dual
    EXPECT_EQ(at(image, ox - 50, oy), kWhite);  // the solid is never filled
    EXPECT_EQ(at(image, ox + 50, oy), kWhite);
}

TEST(Interpenetration, DepthZeroBelongsToTheFarHalf) {
    // The solid face reaches out of the dual: its right edge shows either way, its left edge
    // only when the face is drawn after the dual.
    for (double depth : {0.0, -1e-9}) {
        SolidModel m;
        addFace(m.solid, rect(-10, -10, 50, 10), depth);
        addFace(m.dual, rect(-30, -30, 30, 30), 5);
        for (DrawMode mode : {DrawMode::Interpenetration2, DrawMode::Interpenetration3}) {
            const QImage image = render(m, mode);
            EXPECT_EQ(at(image, 190, 100), depth == 0 ? kYellow : kRed)
                << depth << " " << drawModeCaption(mode);
            int red = 0; // a far edge may be dotted
            for (int y = 95; y <= 105; ++y)
                red += at(image, 250, y) == kRed;
            EXPECT_GT(red, 0) << depth << " " << drawModeCaption(mode);
        }
    }
}

TEST(Interpenetration, Durchdringung3TintsTheNearHalfByBitwiseAnd) {
    SolidModel m;
    addFace(m.solid, rect(-60, -30, -10, 30), 1);
    addFace(m.solid, rect(10, -30, 60, 30), -1);
    addFace(m.dual, rect(-30, -20, 30, 20), 0);
    const QImage image = render(m, DrawMode::Interpenetration3);
    const int ox = 200, oy = 100;
    EXPECT_EQ(at(image, ox - 50, oy), kPaleGreen); // far face filled
    EXPECT_EQ(at(image, ox - 20, oy), kYellow);    // dual over the far face
    EXPECT_EQ(at(image, ox, oy), kYellow);         // white overlay leaves the dual as it is
    EXPECT_EQ(at(image, ox - 30, oy), kBlue);
    EXPECT_EQ(at(image, ox + 50, oy), kPaleGreen); // near face over white
    EXPECT_EQ(at(image, ox + 20, oy), rgb(160, 255, 0));
    EXPECT_EQ(at(image, ox + 10, oy), kRed);           // red edge ANDed with yellow
    EXPECT_EQ(at(image, ox + 30, oy), rgb(0, 0, 160)); // blue dual edge seen through the tint
    EXPECT_EQ(at(image, ox + 10, oy - 25), kRed);      // red edge over white
    EXPECT_EQ(at(image, ox, oy + 60), kWhite);

    // The far outlines are dotted: along the far face's left edge some pixels are red, some not.
    int red = 0, other = 0;
    for (int y = oy - 25; y <= oy + 25; ++y)
        (at(image, ox - 60, y) == kRed ? red : other) += 1;
    EXPECT_GT(red, 5);
    EXPECT_GT(other, 5);
    // The near outline is solid.
    for (int y = oy - 29; y <= oy - 21; ++y)
        EXPECT_EQ(at(image, ox + 60, y), kRed) << y;
}

TEST(Interpenetration, ReusedOverlayGivesTheSamePicture) {
    SolidModel m;
    addFace(m.solid, regular(5, 0, 0, 50), -1);
    addFace(m.solid, regular(6, 10, 5, 45), 2);
    addFace(m.dual, regular(3, 0, 0, 40), 0);
    RenderSettings settings;
    settings.mode = DrawMode::Interpenetration3;
    settings.markPoints = true;
    SceneRenderer renderer;
    QImage cached, fresh;
    for (QSize size : {QSize(300, 200), QSize(300, 200), QSize(250, 150)}) {
        renderer.renderScene(cached, size, m, settings);
        SceneRenderer().renderScene(fresh, size, m, settings);
        EXPECT_EQ(cached, fresh);
        EXPECT_FALSE(allWhite(cached));
    }
}

TEST(Robustness, FacesNamingUnloadedVerticesAndWildCountsAreNotRead) {
    SolidModel m;
    addFace(m.solid, rect(-20, -20, 20, 20), 0);
    addFace(m.solid, rect(-5, -5, 5, 5), 0);
    m.solid.faces.writable(0)[2] = m.solid.vertices.size(); // one past the loaded vertices
    m.solid.faces.replace(1, {4, 5, 6, 7, -1});               // below the lowest vertex
    addFace(m.dual, rect(-20, -20, 20, 20), 0);
    m.dual.faces.replace(0, std::span<const int>());
    for (DrawMode mode : kDrawModes)
        EXPECT_TRUE(allWhite(render(m, mode, {400, 200}, true))) << drawModeCaption(mode);

    SolidModel wild;
    addFace(wild.solid, rect(-20, -20, 20, 20), 0);
    wild.solid.faces.resize(kCatalogueFaces);
    wild.solid.faceRecords.resize(kCatalogueFaces);
    wild.solid.faces.replace(kCatalogueFaces - 1, std::vector<int>(300, 0)); // longer than any fill's table
    // Negative counts cannot be set: the tables refuse them and stay as they were.
    EXPECT_THROW(wild.dual.faces.resize(-5), std::out_of_range);
    EXPECT_THROW(wild.dual.vertices.resize(-5), std::out_of_range);
    EXPECT_EQ(wild.solid.faces.size(), kCatalogueFaces);
    EXPECT_TRUE(wild.dual.vertices.empty());
    wild.solid.faceRecords[0].colour = -7;
    for (DrawMode mode : kDrawModes) {
        const QImage image = render(wild, mode);
        EXPECT_FALSE(allWhite(image)) << drawModeCaption(mode);
    }
}
