// Turning, zooming, the screen mapping, and the animation and drag state of the view.
#include "geometry/point3d.h"
#include "view/animation.h"
#include "view/rotation.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

using namespace kesmora;

namespace {

constexpr double kTol = 1e-12;

void expectNear(const Point3D& p, double x, double y, double z, double tol = kTol) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

void expectSame(const Point3D& a, const Point3D& b) {
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(a.z, b.z);
}

// One point in each of the four tables.
SolidModel onePointEach(const Point3D& p) {
    SolidModel m;
    for (Figure* figure : m.figures()) {
        figure->vertices.push_back(p);
        figure->faces.push_back(std::span<const int>());
        figure->faceRecords.push_back({p, 1});
    }
    return m;
}

using Matrix = std::array<std::array<double, 3>, 3>;

// The turn by `degrees` in the plane of axes u and v that takes +u toward +v.
Matrix planeTurn(int u, int v, double degrees) {
    const double r = degrees * std::numbers::pi / 180;
    Matrix m{};
    for (int i = 0; i < 3; ++i)
        m[i][i] = 1;
    m[u][u] = m[v][v] = std::cos(r);
    m[v][u] = std::sin(r);
    m[u][v] = -std::sin(r);
    return m;
}

Matrix product(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                m[i][j] += a[i][k] * b[k][j];
    return m;
}

Point3D apply(const Matrix& m, const Point3D& p) {
    const double c[3] = {p.x, p.y, p.z};
    double r[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            r[i] += m[i][k] * c[k];
    return {r[0], r[1], r[2]};
}

double length(const Point3D& p) {
    return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
}

// Points with no coordinate zero, different in each of the four tables.
SolidModel generalPoints() {
    SolidModel m;
    const Point3D points[] = {{1.5, -2.25, 0.75},   {-3, 4, -5}, {0.2, 0.7, -1.9},   {123.4, -56.7, 89.1},
                              {-0.01, -0.02, 0.03}, {7, 7, 7},   {-2.5, 1.25, 3.75}, {60.5, 80.25, -45.5}};
    for (const Point3D& p : points) {
        m.solid.vertices.push_back(p);
        m.solid.faceRecords.push_back({{p.y, p.z, p.x}, 1});
        m.dual.vertices.push_back({-p.z, p.x, 2 * p.y});
        m.dual.faceRecords.push_back({{p.x * 0.5, -p.y, p.z + 1}, 1});
    }
    return m;
}

} // namespace

TEST(Rechnen, SignConventionsOfTheThreePlanes) {
    SolidModel m = onePointEach({1, 0, 0});
    rechnen(m, 90, 0, 0); // +x toward +y: clockwise on a screen whose y points down
    expectNear(m.solid.vertices[0], 0, 1, 0);

    m = onePointEach({0, 1, 0});
    rechnen(m, 0, 90, 0); // +y (below the origin) away from the viewer
    expectNear(m.solid.vertices[0], 0, 0, 1);

    m = onePointEach({1, 0, 0});
    rechnen(m, 0, 0, 90);
    expectNear(m.solid.vertices[0], 0, 0, 1);
}

TEST(Rechnen, TurnsAllFourTablesAndOnlyTheCountedEntries) {
    SolidModel m = onePointEach({1, 2, 3});
    rechnen(m, 10, 20, 30);
    expectSame(m.solid.faceRecords[0].centroid, m.solid.vertices[0]);
    expectSame(m.dual.vertices[0], m.solid.vertices[0]);
    expectSame(m.dual.faceRecords[0].centroid, m.solid.vertices[0]);
    EXPECT_GT(std::abs(m.solid.vertices[0].x - 1), 0.1);

    // Emptied tables stay empty: what stood in them is not turned back into view.
    SolidModel empty = onePointEach({1, 2, 3});
    for (Figure* figure : empty.figures()) {
        figure->vertices.clear();
        figure->faces.clear();
        figure->faceRecords.clear();
    }
    rechnen(empty, 10, 20, 30);
    for (const Figure* figure : empty.figures()) {
        EXPECT_TRUE(figure->vertices.empty());
        EXPECT_TRUE(figure->faceRecords.empty());
    }
    empty.solid.vertices.resize(1);
    expectSame(empty.solid.vertices[0], {0, 0, 0});
}

TEST(Rechnen, ComposesTheTurnsInOrderXyYzXz) {
    // x-y before y-z: +x goes to +y, then away from the viewer. The other order would leave it at +y.
    SolidModel m = onePointEach({1, 0, 0});
    rechnen(m, 90, 90, 0);
    expectNear(m.solid.vertices[0], 0, 0, 1);

    // One call equals the three single-plane calls in order, bit for bit.
    SolidModel once = onePointEach({0.3, -1.7, 2.9});
    SolidModel stepwise = once;
    rechnen(once, 17, -41, 73);
    rechnen(stepwise, 17, 0, 0);
    rechnen(stepwise, 0, -41, 0);
    rechnen(stepwise, 0, 0, 73);
    expectSame(once.solid.vertices[0], stepwise.solid.vertices[0]);

    SolidModel reversed = onePointEach({0.3, -1.7, 2.9});
    rechnen(reversed, 0, 0, 73);
    rechnen(reversed, 0, -41, 0);
    rechnen(reversed, 17, 0, 0);
    EXPECT_GT(std::abs(reversed.solid.vertices[0].x - once.solid.vertices[0].x), 1e-3);
}

// Each plane alone and all three together, on points with every coordinate non-zero, against the
// rotation matrix of the turns: x-y by alpha (+x toward +y), then y-z by beta (+y toward +z), then
// x-z by gamma (+x toward +z). A wrong sign of any sine moves these points; lengths stay.
TEST(Rechnen, TurnsGeneralPointsAsTheRotationMatrixDoes) {
    const std::array<double, 3> turns[] = {{17, 0, 0},    {-63, 0, 0},     {135, 0, 0},     {0, 29, 0},
                                           {0, -100, 0},  {0, 0, 41},      {0, 0, -152},    {0, 0, 250},
                                           {17, -41, 73}, {200, 33, -120}, {-5.5, 89.75, 1}};
    for (const auto& [alpha, beta, gamma] : turns) {
        const Matrix turn =
            product(planeTurn(0, 2, gamma), product(planeTurn(1, 2, beta), planeTurn(0, 1, alpha)));
        const SolidModel before = generalPoints();
        SolidModel after = before;
        rechnen(after, alpha, beta, gamma);
        auto check = [&](const Point3D& from, const Point3D& to, const char* table, int i) {
            SCOPED_TRACE(::testing::Message()
                         << table << " " << i << ", turns " << alpha << " " << beta << " " << gamma);
            const Point3D expected = apply(turn, from);
            const double tol = 1e-13 * length(from);
            expectNear(to, expected.x, expected.y, expected.z, tol);
            EXPECT_NEAR(length(to), length(from), tol);
        };
        for (int i = 0; i < before.solid.vertices.size(); ++i) {
            check(before.solid.vertices[i], after.solid.vertices[i], "vertex", i);
            check(before.solid.faceRecords[i].centroid, after.solid.faceRecords[i].centroid, "centroid", i);
            check(before.dual.vertices[i], after.dual.vertices[i], "dual vertex", i);
            check(before.dual.faceRecords[i].centroid, after.dual.faceRecords[i].centroid, "dual centroid",
                  i);
        }
    }
}

// Turns accumulate in the stored coordinates without renormalising: a thousand small steps of the
// animation keep every length and the distances between points.
TEST(Rechnen, ManyStepsKeepLengthsAndDistances) {
    const SolidModel before = generalPoints();
    SolidModel after = before;
    for (int step = 0; step < 1000; ++step)
        rechnen(after, 3.75, -0.75, 0.5);
    for (int i = 0; i < before.solid.vertices.size(); ++i) {
        const Point3D& p = before.solid.vertices[i];
        EXPECT_NEAR(length(after.solid.vertices[i]), length(p), 1e-11 * length(p)) << i;
        EXPECT_NEAR(length(after.dual.faceRecords[i].centroid), length(before.dual.faceRecords[i].centroid),
                    1e-11 * length(before.dual.faceRecords[i].centroid))
            << i;
        const int j = (i + 1) % before.solid.vertices.size();
        const Point3D d0 = before.solid.vertices[j] - p,
                      d1 = after.solid.vertices[j] - after.solid.vertices[i];
        EXPECT_NEAR(length(d1), length(d0), 1e-11 * length(d0)) << i;
    }
}

TEST(Rechnen, TurnsLargeTablesToTheLastEntry) {
    SolidModel big;
    constexpr int kVertices = 100000, kFaces = 150000;
    for (Figure* figure : big.figures()) {
        figure->vertices.resize(kVertices);
        figure->faces.resize(kFaces);
        figure->faceRecords.resize(kFaces);
    }
    big.solid.vertices[kVertices - 1] = {1, 0, 0};
    big.solid.faceRecords[kFaces - 1].centroid = {1, 0, 0};
    rechnen(big, 90, 0, 0);
    expectNear(big.solid.vertices[kVertices - 1], 0, 1, 0);
    expectNear(big.solid.faceRecords[kFaces - 1].centroid, 0, 1, 0);
}

TEST(Zoom, ScalesVertexTablesButNotCentroids) {
    SolidModel m = onePointEach({10, -20, 30});
    m.scale = 50;
    ASSERT_TRUE(zoom(m, ZoomCommand::Enlarge));
    EXPECT_DOUBLE_EQ(m.scale, 55);
    expectNear(m.solid.vertices[0], 11, -22, 33);
    expectNear(m.dual.vertices[0], 11, -22, 33);
    expectSame(m.solid.faceRecords[0].centroid, {10, -20, 30});
    expectSame(m.dual.faceRecords[0].centroid, {10, -20, 30});
    EXPECT_EQ(m.solid.vertices.size(), 1); // zooming adds no entries

    ASSERT_TRUE(zoom(m, ZoomCommand::Reduce));
    EXPECT_NEAR(m.scale, 50, 1e-12);
    expectNear(m.solid.vertices[0], 10, -20, 30, 1e-12);
}

TEST(Zoom, GrundeinstellungGivesScale120AndKeepsOrientation) {
    SolidModel m = onePointEach({100, 0, -50});
    m.scale = 200.0 / 1.5;
    ASSERT_TRUE(zoom(m, ZoomCommand::Reset));
    EXPECT_DOUBLE_EQ(m.scale, kResetScale);
    expectNear(m.solid.vertices[0], 100 * 120 / (200.0 / 1.5), 0, -50 * 120 / (200.0 / 1.5), 1e-9);

    // With the tables collapsed by a scale of 0 there is nothing to restore, and no NaN may appear.
    SolidModel zero = onePointEach({0, 0, 0});
    zero.scale = 0;
    EXPECT_FALSE(zoom(zero, ZoomCommand::Reset));
    EXPECT_EQ(zero.scale, 0);
    EXPECT_FALSE(std::isnan(zero.solid.vertices[0].x));

    SolidModel huge = onePointEach({1, 1, 1});
    huge.scale = std::numeric_limits<double>::max();
    EXPECT_FALSE(zoom(huge, ZoomCommand::Enlarge));
    EXPECT_EQ(huge.scale, std::numeric_limits<double>::max());
    EXPECT_TRUE(zoom(huge, ZoomCommand::Reset));
    EXPECT_DOUBLE_EQ(huge.scale, kResetScale);
}

TEST(ScreenMapping, RoundsHalvesToEvenAndClampsTheUnrepresentable) {
    EXPECT_EQ(toScreen(100, 0.5), 100);
    EXPECT_EQ(toScreen(100, 1.5), 102);
    EXPECT_EQ(toScreen(100, 2.5), 102);
    EXPECT_EQ(toScreen(100, -0.5), 100);
    EXPECT_EQ(toScreen(100, -1.5), 98);
    EXPECT_EQ(toScreen(100, 2.4999), 102);
    EXPECT_EQ(toScreen(100, -2.6), 97);
    EXPECT_EQ(toScreen(7, std::nan("")), 7);
    EXPECT_EQ(toScreen(0, 1e300), kScreenCoordinateLimit);
    EXPECT_EQ(toScreen(0, -std::numeric_limits<double>::infinity()), -kScreenCoordinateLimit);
}

TEST(Animation, StartStopStateIntervalAndStartingSpeed) {
    AnimationState a;
    EXPECT_FALSE(animationControls(a).running);
    EXPECT_EQ(animationControls(a).timerInterval, 0);

    AnimationControls c = toggleAnimation(a);
    EXPECT_TRUE(c.running);
    EXPECT_EQ(c.timerInterval, 10);
    EXPECT_EQ(a.stepXZ, 0.5); // t5 starts at 2: half a degree per tick, not the 0.25 default
    c = toggleAnimation(a);
    EXPECT_FALSE(c.running);
    EXPECT_EQ(c.timerInterval, 0);

    // All three edits at 0: the start gives a slow x-z spin the edit t5 does not show.
    EXPECT_TRUE(setSpeed(a, SpeedEdit::XZ, 0, true));
    EXPECT_EQ(a.stepXZ, 0);
    toggleAnimation(a);
    EXPECT_EQ(a.stepXZ, 0.25);
    EXPECT_FALSE(stopAnimation(a).running);
    EXPECT_FALSE(a.running());

    // A non-zero speed elsewhere leaves x-z at rest.
    a.stepXZ = 0;
    setSpeed(a, SpeedEdit::XY, 4, true);
    toggleAnimation(a);
    EXPECT_EQ(a.stepXY, 1.0);
    EXPECT_EQ(a.stepXZ, 0);
}

TEST(Animation, SpeedEditsSetSpeedsOnlyAndTicksTurn) {
    AnimationState a;
    SolidModel m = onePointEach({1, 0, 0});
    EXPECT_FALSE(setSpeed(a, SpeedEdit::YZ, -3, false)); // not ready yet: no redraw
    EXPECT_EQ(a.stepYZ, -0.75);
    EXPECT_TRUE(setSpeed(a, SpeedEdit::XY, 15, true));
    EXPECT_EQ(a.stepXY, 3.75);
    expectSame(m.solid.vertices[0], {1, 0, 0});

    SolidModel expected = m;
    rechnen(expected, 3.75, -0.75, 0.5);
    animationTick(a, m);
    expectSame(m.solid.vertices[0], expected.solid.vertices[0]);
    expectSame(m.dual.faceRecords[0].centroid, expected.dual.faceRecords[0].centroid);
}

TEST(Drag, LeftButtonTurnsOneDegreePerPixelUntilRelease) {
    AnimationState a;
    SolidModel m = onePointEach({1, 0, 0});
    EXPECT_FALSE(beginDrag(a, MouseButton::Right, 50, 50));
    EXPECT_FALSE(a.dragging);
    EXPECT_FALSE(dragTo(a, m, 40, 50));
    expectSame(m.solid.vertices[0], {1, 0, 0});

    ASSERT_TRUE(beginDrag(a, MouseButton::Left, 50, 50));
    EXPECT_FALSE(dragTo(a, m, 50, 50)); // same position: nothing
    expectSame(m.solid.vertices[0], {1, 0, 0});

    // Ten pixels to the left: ten degrees clockwise in the screen plane.
    ASSERT_TRUE(dragTo(a, m, 40, 50));
    const double r = 10 * std::numbers::pi / 180;
    expectNear(m.solid.vertices[0], std::cos(r), std::sin(r), 0);
    EXPECT_EQ(a.lastX, 40);

    // Ten pixels up: ten degrees in the y-z plane.
    SolidModel up = onePointEach({0, 1, 0});
    AnimationState b;
    beginDrag(b, MouseButton::Left, 0, 20);
    ASSERT_TRUE(dragTo(b, up, 0, 10));
    expectNear(up.solid.vertices[0], 0, std::cos(r), std::sin(r));

    endDrag(a);
    EXPECT_FALSE(a.dragging);
    EXPECT_EQ(a.lastX, 0);
    EXPECT_EQ(a.lastY, 0);
    const Point3D before = m.solid.vertices[0];
    EXPECT_FALSE(dragTo(a, m, 5, 5));
    expectSame(m.solid.vertices[0], before);
}
