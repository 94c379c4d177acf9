// Leaving out faces that later faces paint over: the surface checks the build makes, and the
// picture, which must be the same pixel for pixel whether covered faces are drawn or left out.
// Every listed body is turned at random and drawn at several sizes, from a few pixels (where the
// rounding folds faces) to far beyond the image. KESMORA_OCCLUSION_ROUNDS multiplies the number of
// turns and KESMORA_OCCLUSION_SEED picks other ones, for longer runs by hand.
#include "bodies/build.h"
#include "catalogue/selection.h"
#include "geometry/shape.h"
#include "view/depthorder.h"
#include "view/occlusion.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

using namespace kesmora;

namespace {

int envInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v ? std::atoi(v) : fallback;
}

const CatalogueTables& shipped() {
    static const CatalogueTables t = LoadCatalogueTables(KESMORA_DATA_DIR);
    return t;
}

struct Body {
    std::string label;
    SolidModel model;
};

const std::vector<Body>& everyListedBody() {
    static const std::vector<Body> bodies = [] {
        std::vector<Body> all;
        for (Category category : kCategories)
            for (const std::string& name : fillBodyList(shipped(), category)) {
                Selection s;
                s.currentCategory = category;
                neuwert(s, shipped(), name);
                all.push_back({std::to_string(sectionNumber(category)) + " " + latin1ToUtf8(name), buildSolid(shipped(), s, name)});
            }
        return all;
    }();
    return bodies;
}

// A cube with unit half edges, faces in a consistent order unless told otherwise.
struct Mesh {
    std::vector<Point3D> vertices;
    std::vector<std::vector<int>> faces;
};

std::vector<int> face(std::initializer_list<int> corners) {
    return corners;
}

Mesh cube() {
    Mesh m;
    for (int i = 0; i < 8; ++i)
        m.vertices.push_back({i & 1 ? 1.0 : -1.0, i & 2 ? 1.0 : -1.0, i & 4 ? 1.0 : -1.0});
    m.faces = {face({0, 2, 3, 1}), face({4, 5, 7, 6}), face({0, 1, 5, 4}),
               face({2, 6, 7, 3}), face({0, 4, 6, 2}), face({1, 3, 7, 5})};
    return m;
}

SurfaceShape shapeOf(const Mesh& m) {
    CheckedTable<Point3D> vertices;
    for (const Point3D& p : m.vertices)
        vertices.push_back(p);
    FaceList faces;
    for (const std::vector<int>& f : m.faces)
        faces.push_back(f);
    return surfaceShape(vertices, faces);
}

std::vector<int> reversedFace(const std::vector<int>& f) {
    return {f.rbegin(), f.rend()};
}

} // namespace

TEST(SurfaceShape, ClosedSurfacesAroundTheCentroidAndTheFacesTurnedAgainstTheOthers) {
    const SurfaceShape plain = shapeOf(cube());
    ASSERT_TRUE(plain.starShaped);
    EXPECT_NEAR(plain.inradiusRatio, 1 / std::sqrt(3.0), 1e-12); // face distance 1, corner sqrt(3)
    for (int f = 0; f < 6; ++f)
        EXPECT_EQ(plain.reversed[static_cast<std::size_t>(f)], plain.reversed[0]) << f;

    // Faces given in the other order are still one surface; they are the ones marked.
    Mesh turned = cube();
    turned.faces[2] = reversedFace(turned.faces[2]);
    turned.faces[5] = reversedFace(turned.faces[5]);
    const SurfaceShape mixed = shapeOf(turned);
    ASSERT_TRUE(mixed.starShaped);
    for (int f = 0; f < 6; ++f)
        EXPECT_EQ(mixed.reversed[static_cast<std::size_t>(f)] != mixed.reversed[0], f == 2 || f == 5) << f;

    Mesh open = cube(); // a face missing
    open.faces.pop_back();
    EXPECT_FALSE(shapeOf(open).starShaped);

    Mesh bent = cube(); // one corner pushed inwards: three faces no longer flat
    bent.vertices[7] = {0.2, 0.2, 0.2};
    EXPECT_FALSE(shapeOf(bent).starShaped);

    // The top face replaced by four triangles meeting in a dent: not convex, but every ray from
    // the centroid still leaves through one point, unless the dent reaches past the centroid, or
    // leans over so far that some ray meets the surface three times.
    auto dented = [](Point3D apex) {
        Mesh m = cube();
        m.vertices.push_back(apex);
        m.faces[1] = face({4, 5, 8});
        m.faces.push_back(face({5, 7, 8}));
        m.faces.push_back(face({7, 6, 8}));
        m.faces.push_back(face({6, 4, 8}));
        return m;
    };
    EXPECT_TRUE(shapeOf(dented({0, 0, 0.8})).starShaped);
    EXPECT_FALSE(shapeOf(dented({0, 0, -0.5})).starShaped);   // the centroid outside the solid
    EXPECT_FALSE(shapeOf(dented({0.5, 0.5, -0.2})).starShaped); // inside, but not seen all round

    Mesh twice = cube(); // a corner named twice in one face
    twice.faces[0] = face({0, 2, 3, 2});
    EXPECT_FALSE(shapeOf(twice).starShaped);

    Mesh unloaded = cube(); // a corner that is not loaded
    unloaded.faces[0] = face({0, 2, 3, 8});
    EXPECT_FALSE(shapeOf(unloaded).starShaped);

    Mesh two = cube(); // two cubes side by side: V - E + F = 4
    for (int i = 0; i < 8; ++i)
        two.vertices.push_back({two.vertices[static_cast<std::size_t>(i)].x + 5, two.vertices[static_cast<std::size_t>(i)].y,
                                two.vertices[static_cast<std::size_t>(i)].z});
    for (int f = 0; f < 6; ++f) {
        std::vector<int> moved;
        for (int c : two.faces[static_cast<std::size_t>(f)])
            moved.push_back(c + 8);
        two.faces.push_back(moved);
    }
    EXPECT_FALSE(shapeOf(two).starShaped);

    // A double pyramid over a pentagram: closed, every face facing the centre from outside, but the
    // surface wraps twice round it.
    Mesh star;
    star.vertices = {{0, 0, 1}, {0, 0, -1}};
    for (int k = 0; k < 5; ++k)
        star.vertices.push_back({std::cos(2 * std::numbers::pi * k / 5), std::sin(2 * std::numbers::pi * k / 5), 0});
    const int order[] = {2, 4, 6, 3, 5};
    for (int i = 0; i < 5; ++i) {
        star.faces.push_back(face({0, order[i], order[(i + 1) % 5]}));
        star.faces.push_back(face({1, order[(i + 1) % 5], order[i]}));
    }
    EXPECT_FALSE(shapeOf(star).starShaped);
    Mesh pyramid = star; // the same over the pentagon wraps once
    for (int i = 0; i < 5; ++i) {
        pyramid.faces[static_cast<std::size_t>(2 * i)] = face({0, 2 + i, 2 + (i + 1) % 5});
        pyramid.faces[static_cast<std::size_t>(2 * i + 1)] = face({1, 2 + (i + 1) % 5, 2 + i});
    }
    EXPECT_TRUE(shapeOf(pyramid).starShaped);

    Mesh twisted = cube(); // two faces sharing an edge running the same way: not orientable alike
    twisted.faces.push_back(face({0, 2, 3, 1}));
    EXPECT_FALSE(shapeOf(twisted).starShaped);
}

TEST(SurfaceShape, EveryListedSolidAndMostDualsWrapOnceRoundTheirCentroid) {
    int duals = 0;
    for (const Body& b : everyListedBody()) {
        EXPECT_TRUE(b.model.solid.shape.starShaped) << b.label;
        duals += b.model.dual.shape.starShaped;
        if (b.label.rfind("2 ", 0) == 0) {
            EXPECT_TRUE(b.model.dual.shape.starShaped) << b.label;
        }
    }
    // A few duals of the other simple solids keep faces that are not flat.
    EXPECT_GE(duals, 140);
}

TEST(CoveredFaces, TheFarSideOfARoundBodyIsLeftOutAndNothingOfAFlatOne) {
    const auto& bodies = everyListedBody();
    auto find = [&](const std::string& label) -> const SolidModel& {
        for (const Body& b : bodies)
            if (b.label == label) return b.model;
        ADD_FAILURE() << label;
        return bodies.front().model;
    };
    for (const char* label : {"2 Ikosidodekaederstumpf", "2 Disdyakistriacontaeder"}) {
        SolidModel m = find(label);
        rechnen(m, 20, 30, 40);
        DrawnFigure solid = solidFigure(m);
        ScreenVertices screen;
        projectVertices(solid, {300, 300}, screen);
        DepthList list;
        const int n = buildDepthList(solid.records, list);
        orderBySelection(list, n);
        CoveredFaces covered{};
        const int marked = findCoveredFaces(solid, list, n, {300, 300}, covered);
        EXPECT_GE(marked, 5) << label;
        EXPECT_LT(marked, n / 2) << label; // never the near side
        // Only a prefix of the drawing order can be left out.
        int last = -1;
        for (int j = 0; j < n; ++j)
            if (covered[static_cast<std::size_t>(j)]) last = j;
        EXPECT_LT(last, n / 2 + 1) << label;
    }
    // A model without the build's surface check is drawn face by face.
    SolidModel unchecked = find("2 Ikosidodekaederstumpf");
    unchecked.solid.shape = SurfaceShape{};
    DrawnFigure solid = solidFigure(unchecked);
    ScreenVertices screen;
    projectVertices(solid, {300, 300}, screen);
    DepthList list;
    const int n = buildDepthList(solid.records, list);
    CoveredFaces covered{};
    EXPECT_EQ(findCoveredFaces(solid, list, n, {300, 300}, covered), 0);
}

namespace {

constexpr int kFoldedFace = 2;

// The turn of a projected face as the test sees it: the sign of its area, 0 for a flat one, or
// kFoldedFace for one that turns both ways (the rounding or a push folded it).
int turnOf(const DrawnFigure& f, int face, QRect& box) {
    const FaceView codes = f.faces[face];
    const int n = codes.size();
    std::int64_t area = 0;
    int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
    bool positive = false, negative = false;
    for (int i = 0; i < n; ++i) {
        const QPoint a = f.screen[codes[i]];
        const QPoint b = f.screen[codes[(i + 1) % n]];
        const QPoint c = f.screen[codes[(i + 2) % n]];
        area += static_cast<std::int64_t>(a.x()) * b.y() - static_cast<std::int64_t>(b.x()) * a.y();
        const std::int64_t cross = static_cast<std::int64_t>(b.x() - a.x()) * (c.y() - b.y()) -
                                   static_cast<std::int64_t>(b.y() - a.y()) * (c.x() - b.x());
        positive |= cross > 0;
        negative |= cross < 0;
        left = std::min(left, a.x());
        right = std::max(right, a.x());
        top = std::min(top, a.y());
        bottom = std::max(bottom, a.y());
    }
    box = QRect(QPoint(left, top), QPoint(right, bottom));
    if (positive && negative) return kFoldedFace;
    const int sign = (area > 0) - (area < 0);
    return f.shape.reversed[static_cast<std::size_t>(face)] ? -sign : sign;
}

} // namespace

TEST(CoveredFaces, OnlyFacesBeforeEveryFaceTurningTheOtherWayAndAwayFromFoldedFaces) {
    // Drawing orders shuffled and vertices pushed about until faces fold: whatever is marked must
    // come before every face turning the other way, turn like the faces it is covered by, and keep
    // its pixels away from every face that is no longer convex.
    std::mt19937 random(5);
    int marked = 0, foldedSeen = 0;
    for (const char* label : {"2 Ikosidodekaederstumpf", "2 Rhombenikosidodekaeder", "0 Hexaeder, W\xc3\xbcrfel"}) {
        const Body* body = nullptr;
        for (const Body& b : everyListedBody())
            if (b.label == label) body = &b;
        ASSERT_NE(body, nullptr) << label;
        for (int round = 0; round < 200; ++round) {
            SolidModel m = body->model;
            rechnen(m, 360.0 * (random() % 1000) / 1000, 360.0 * (random() % 1000) / 1000, 7.0 * round);
            DrawnFigure f = solidFigure(m);
            ScreenVertices screen;
            projectVertices(f, {400, 300}, screen);
            for (int k = 0; k < round % 4; ++k) // fold a few faces
                screen[random() % static_cast<unsigned>(f.vertices.size())] +=
                    QPoint(static_cast<int>(random() % 41) - 20, static_cast<int>(random() % 41) - 20);
            DepthList list;
            const int n = buildDepthList(f.records, list);
            orderBySelection(list, n);
            if (round % 3 == 1) std::shuffle(list.begin(), list.begin() + n, random);
            if (round % 3 == 2) std::swap(list[0], list[static_cast<std::size_t>(n - 1)]);
            CoveredFaces covered{};
            const int count = findCoveredFaces(f, list, n, {400, 300}, covered);
            marked += count;
            std::vector<int> turns(static_cast<std::size_t>(n));
            std::vector<QRect> boxes(static_cast<std::size_t>(n));
            for (int j = 0; j < n; ++j)
                turns[static_cast<std::size_t>(j)] =
                    turnOf(f, list[static_cast<std::size_t>(j)].face, boxes[static_cast<std::size_t>(j)]);
            for (int j = 0; j < n; ++j) {
                if (turns[static_cast<std::size_t>(j)] == kFoldedFace) ++foldedSeen;
                if (!covered[static_cast<std::size_t>(j)]) continue;
                const int turn = turns[static_cast<std::size_t>(j)];
                ASSERT_TRUE(turn == 1 || turn == -1) << label << " round " << round;
                for (int i = 0; i < j; ++i)
                    ASSERT_NE(turns[static_cast<std::size_t>(i)], -turn) << label << " round " << round;
                const QRect reach = boxes[static_cast<std::size_t>(j)].adjusted(-3, -3, 3, 3);
                for (int i = 0; i < n; ++i) {
                    if (turns[static_cast<std::size_t>(i)] != kFoldedFace) continue;
                    ASSERT_FALSE(reach.intersects(boxes[static_cast<std::size_t>(i)]))
                        << label << " round " << round << " face at " << j << " near a folded face at " << i;
                }
            }
        }
    }
    EXPECT_GT(marked, 1000);
    EXPECT_GT(foldedSeen, 50);
}

TEST(CoveredFaces, LeavingThemOutChangesNoPixelOfAnyBodyInAnyTurnOrSize) {
    const int rounds = std::max(1, envInt("KESMORA_OCCLUSION_ROUNDS", 1));
    std::mt19937 random(static_cast<unsigned>(envInt("KESMORA_OCCLUSION_SEED", 0)) * 7919u + 11u);
    std::uniform_real_distribution<double> angle(0.0, 360.0);
    const QSize size(360, 200);
    // Zoom steps from the fitted size: tiny (faces fold when rounded), small, as built, and so
    // large that the figure reaches far beyond the image.
    const int zooms[] = {-30, -14, 0, 12};
    const DrawMode modes[] = {DrawMode::HiddenEdges, DrawMode::ColouredFaces, DrawMode::MultiColouredFaces,
                              DrawMode::Interpenetration2, DrawMode::Interpenetration3};
    long frames = 0;
    long differing = 0;
    for (const Body& b : everyListedBody()) {
        for (int zoomSteps : zooms) {
            SolidModel m = b.model;
            for (int i = 0; i < std::abs(zoomSteps); ++i)
                zoom(m, zoomSteps < 0 ? ZoomCommand::Reduce : ZoomCommand::Enlarge);
            for (int turn = 0; turn < 2 * rounds; ++turn) {
                rechnen(m, angle(random), angle(random), angle(random));
                for (DrawMode mode : modes) {
                    RenderSettings settings;
                    settings.mode = mode;
                    QImage left, all;
                    SceneRenderer().renderScene(left, size, m, settings);
                    settings.leaveOutCovered = false;
                    SceneRenderer().renderScene(all, size, m, settings);
                    ++frames;
                    if (left != all) {
                        ++differing;
                        ADD_FAILURE() << b.label << " zoom " << zoomSteps << " mode " << static_cast<int>(mode);
                    }
                }
            }
        }
    }
    EXPECT_EQ(differing, 0) << "of " << frames << " frames";
}
