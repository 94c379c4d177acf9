// An operation watched as it happens: for every operation with a way to show, on regular and
// irregular solids, in canonical form and without, the way starts at the solid (its new faces
// points or flat) and ends exactly on the result the window shows; a result that another operation
// made is refused rather than shown wrongly.
#include "catalogue/latin1.h"
#include "geometry/polymesh.h"
#include "geometry/transition.h"
#include "session/bodysession.h"

#include "modelchecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace kesmora;
using kesmora::testing::distanceSignature;

namespace {

std::shared_ptr<const CatalogueTables> shipped() {
    static const auto t = std::make_shared<const CatalogueTables>(LoadCatalogueTables(KESMORA_DATA_DIR));
    return t;
}

struct Step {
    PolyMesh before; // the solid shown before the operation
    PolyMesh after;  // the result shown after it
};

// The solid on screen before and after applying `letter` (with `degree`) to the recipe `recipe` on a
// catalogue body, as the window's session builds both.
Step stepOf(Category category, const std::string& utf8Name, const std::string& recipe, const std::string& letter,
            bool canonical = true) {
    BodySession session(shipped());
    session.chooseCategory(category);
    session.chooseBody(utf8ToLatin1(utf8Name));
    session.choose(session.withCanonical(canonical));
    session.choose(session.withRecipe(recipe));
    Step step;
    step.before = meshOf(session.build().solid);
    session.choose(session.withOperation(letter));
    step.after = meshOf(session.build().solid);
    return step;
}

double extentOf(const PolyMesh& m) {
    return extent(m);
}

// The figure's points merged where they coincide to `tolerance`: their number, and each face as the
// cycle of merged points with repeats dropped.
std::pair<int, std::vector<std::vector<int>>> merged(const PolyMesh& m, double tolerance) {
    std::vector<int> index(m.vertices.size(), -1);
    std::vector<Point3D> kept;
    for (std::size_t v = 0; v < m.vertices.size(); ++v) {
        for (std::size_t k = 0; k < kept.size() && index[v] < 0; ++k)
            if (norm(kept[k] - m.vertices[v]) <= tolerance) index[v] = static_cast<int>(k);
        if (index[v] < 0) {
            index[v] = static_cast<int>(kept.size());
            kept.push_back(m.vertices[v]);
        }
    }
    std::vector<std::vector<int>> faces;
    for (const std::vector<int>& face : m.faces) {
        std::vector<int> out;
        for (int v : face)
            if (out.empty() || out.back() != index[static_cast<std::size_t>(v)]) out.push_back(index[static_cast<std::size_t>(v)]);
        while (out.size() > 1 && out.front() == out.back())
            out.pop_back();
        faces.push_back(out);
    }
    return {static_cast<int>(kept.size()), faces};
}

std::vector<Point3D> distinctPoints(const PolyMesh& m, double tolerance) {
    std::vector<Point3D> kept;
    for (const Point3D& p : m.vertices)
        if (std::none_of(kept.begin(), kept.end(), [&](const Point3D& q) { return norm(p - q) <= tolerance; }))
            kept.push_back(p);
    return kept;
}

using Case = std::tuple<Category, std::string, std::string, std::string, bool>;

} // namespace

TEST(OperationTransition, StartsAtTheSolidAndEndsExactlyOnTheResult) {
    const std::vector<Case> cases = {
        {Category::Polyeder, "Hexaeder, Würfel", "", "t", true},
        {Category::Polyeder, "Hexaeder, Würfel", "", "a", true},
        {Category::Polyeder, "Hexaeder, Würfel", "", "k", true},
        {Category::Polyeder, "Hexaeder, Würfel", "", "e", true},
        {Category::Polyeder, "Hexaeder, Würfel", "", "j", true},
        {Category::Polyeder, "Hexaeder, Würfel", "", "o", true},
        {Category::Polyeder, "Hexaeder, Würfel", "", "b", true},
        {Category::Polyeder, "Ikosaeder", "", "t", true},
        {Category::Polyeder, "Ikosaeder", "", "a", true},
        {Category::Polyeder, "Ikosaeder", "", "b", true},
        {Category::Polyeder, "Tetraeder", "", "k", true},
        {Category::Polyeder, "Tetraeder", "", "o", true},
        // After another operation, restricted to one degree, on irregular solids, and without the
        // canonical form.
        {Category::Polyeder, "Hexaeder, Würfel", "k", "t", true},
        {Category::Polyeder, "Ikosaeder", "t", "k5", true},
        {Category::Polyeder, "Hexaeder, Würfel", "k", "t4", true},
        {Category::Johnson, "Johnson Polyeder 07", "", "t", true},
        {Category::Johnson, "Johnson Polyeder 07", "", "e", true},
        {Category::Johnson, "Johnson Polyeder 07", "", "j", true},
        {Category::Polyeder, "Pentagondodekaeder", "", "a", false},
        {Category::Polyeder, "Pentagondodekaeder", "", "o", false},
        {Category::Polyeder, "Pentagondodekaeder", "", "k", false},
    };
    for (const auto& [category, name, recipe, letter, canonical] : cases) {
        SCOPED_TRACE(name + " " + letter + recipe + (canonical ? " kanonisch" : " ohne kanonische Form"));
        const Step step = stepOf(category, name, recipe, letter, canonical);
        const int seedVertices = static_cast<int>(step.before.vertices.size());
        const int seedFaces = static_cast<int>(step.before.faces.size());
        std::unique_ptr<OperationTransition> made;
        ASSERT_NO_THROW(made = std::make_unique<OperationTransition>(step.after, letter.front(), seedVertices, seedFaces));
        const OperationTransition& way = *made;
        const double size = extentOf(step.after);

        // The end: every point is the result's vertex exactly, every face the result's face.
        const PolyMesh end = way.at(1);
        const auto [endCount, endFaces] = merged(end, 0);
        ASSERT_EQ(endCount, static_cast<int>(step.after.vertices.size()));
        std::map<std::tuple<double, double, double>, int> resultIndex;
        for (std::size_t v = 0; v < step.after.vertices.size(); ++v)
            resultIndex[{step.after.vertices[v].x, step.after.vertices[v].y, step.after.vertices[v].z}] =
                static_cast<int>(v);
        ASSERT_EQ(end.faces.size(), step.after.faces.size());
        for (std::size_t f = 0; f < end.faces.size(); ++f) {
            std::vector<int> corners;
            for (int v : end.faces[f]) {
                const Point3D& p = end.vertices[static_cast<std::size_t>(v)];
                const auto found = resultIndex.find({p.x, p.y, p.z});
                ASSERT_NE(found, resultIndex.end());
                if (corners.empty() || corners.back() != found->second) corners.push_back(found->second);
            }
            while (corners.size() > 1 && corners.front() == corners.back())
                corners.pop_back();
            EXPECT_EQ(corners, step.after.faces[f]) << "Fläche " << f;
        }

        // On the way: closed, oriented like the result, with a positive volume.
        for (double s : {0.05, 0.3, 0.7, 0.95}) {
            const PolyMesh figure = way.at(s);
            EXPECT_TRUE(isClosed(figure)) << "s = " << s;
            EXPECT_GT(signedVolume(figure), 0) << "s = " << s;
        }

        // The start: the solid before the operation. Growing corners start as the corner points
        // of the old faces' planes, one per old vertex; raised points lie in the old faces.
        const PolyMesh start = way.at(0);
        const char op = letter.front();
        if (op == 't' || op == 'a' || op == 'e' || op == 'b') {
            const std::vector<Point3D> corners = distinctPoints(start, 1e-9 * size);
            if (letter.size() == 1) {
                EXPECT_EQ(static_cast<int>(corners.size()), seedVertices);
            }
            // Regular solids keep their shape in canonical form: the corners are the old solid's.
            if (canonical && recipe.empty() && category == Category::Polyeder) {
                const std::vector<double> a = distanceSignature(corners), b = distanceSignature(step.before.vertices);
                ASSERT_EQ(a.size(), b.size());
                for (std::size_t i = 0; i < a.size(); ++i)
                    EXPECT_NEAR(a[i], b[i], 1e-9);
            }
        } else {
            // Each face of the old solid is a flat fan of faces at the start (join's faces, one per
            // old edge, are folded along it).
            if (op != 'j' && canonical && category == Category::Polyeder && recipe.empty()) {
                for (std::size_t f = 0; f < start.faces.size(); ++f)
                    EXPECT_LT(flatness(start, static_cast<int>(f)), 1e-9 * size);
            }
            const auto [count, faces] = merged(start, 1e-9 * size);
            EXPECT_EQ(count, static_cast<int>(start.vertices.size())); // nothing collapses
        }
    }
}

TEST(OperationTransition, RefusesAResultThatAnotherOperationMadeOrALetterWithoutAWay) {
    const Step kis = stepOf(Category::Polyeder, "Hexaeder, Würfel", "", "k");
    const int v = static_cast<int>(kis.before.vertices.size()), f = static_cast<int>(kis.before.faces.size());
    EXPECT_NO_THROW(OperationTransition(kis.after, 'k', v, f));
    // Read as a truncation, the kis's triangles after the old faces would touch along edges.
    EXPECT_THROW(OperationTransition(kis.after, 't', v, f), GeometryError);
    EXPECT_THROW(OperationTransition(kis.after, 'o', v, f), GeometryError);
    EXPECT_THROW(OperationTransition(kis.after, 'j', v, f), GeometryError);
    EXPECT_THROW(OperationTransition(kis.after, 'g', v, f), GeometryError);
    EXPECT_THROW(OperationTransition(kis.after, 'k', v + 1, f), GeometryError);
    EXPECT_FALSE(OperationTransition::animates('d'));
    EXPECT_FALSE(OperationTransition::animates('s'));

    // Positions outside the way are its ends.
    const OperationTransition way(kis.after, 'k', v, f);
    const auto samePoints = [](const PolyMesh& a, const PolyMesh& b) {
        if (a.vertices.size() != b.vertices.size()) return false;
        for (std::size_t i = 0; i < a.vertices.size(); ++i)
            if (norm(a.vertices[i] - b.vertices[i]) != 0) return false;
        return true;
    };
    EXPECT_TRUE(samePoints(way.at(-3), way.at(0)));
    EXPECT_TRUE(samePoints(way.at(7), way.at(1)));
    // Turned, zoomed and moved as the window turns the result, the way turns with it.
    const auto moved = [](const Point3D& p) {
        const Point3D q = turnedAbout(p, unit(Point3D{1, 2, 3}), 0.7);
        return Point3D{1.5 * q.x + 4, 1.5 * q.y - 2, 1.5 * q.z + 0.5};
    };
    std::vector<Point3D> placed;
    for (const Point3D& p : kis.after.vertices)
        placed.push_back(moved(p));
    for (double s : {0.0, 0.4, 1.0}) {
        const PolyMesh there = way.at(s), here = way.at(s, placed);
        ASSERT_EQ(there.vertices.size(), here.vertices.size());
        for (std::size_t i = 0; i < here.vertices.size(); ++i)
            EXPECT_LT(norm(here.vertices[i] - moved(there.vertices[i])), 1e-9) << "s = " << s;
    }
    placed.pop_back();
    EXPECT_THROW(way.at(0.5, placed), GeometryError);
    // The eased position keeps the ends and the middle.
    EXPECT_EQ(easedPosition(0), 0);
    EXPECT_EQ(easedPosition(1), 1);
    EXPECT_EQ(easedPosition(0.5), 0.5);
    EXPECT_LT(easedPosition(0.1), 0.1);
}
