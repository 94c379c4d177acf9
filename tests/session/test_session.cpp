// The body session: a build kept and given again, a failed choice taken back, the dual asked for,
// a file in place of a catalogue body, and each refusal said once.
#include "bodies/build.h"
#include "bodies/polyhedronfile.h"
#include "catalogue/catalogueerror.h"
#include "catalogue/latin1.h"
#include "session/bodysession.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kesmora;

namespace {

// Section 0 with a tetrahedron (block 1) and a body whose coordinate block has no count (block 2).
std::shared_ptr<const CatalogueTables> smallCatalogue() {
    return std::make_shared<const CatalogueTables>(tablesFromContents(
        "[1]\n4\n0 0 1.732051\n1.632993 0 -0.5773503\n-0.8164966 1.414214 -0.5773503\n"
        "-0.8164966 -1.414214 -0.5773503\n[2]\nacht\n[#]\n",
        "[1]\n4\n012\n013\n123\n023\n[2]\n1\n012\n[#]\n", "",
        "{0\n[\nTetraeder\nKaputt\n[0\n10111000\n[1\n10111000\n[#]\n"));
}

std::shared_ptr<const CatalogueTables> shipped() {
    static const auto t = std::make_shared<const CatalogueTables>(LoadCatalogueTables(KESMORA_DATA_DIR));
    return t;
}

bool samePoints(const Figure& a, const Figure& b) {
    if (a.vertices.size() != b.vertices.size()) return false;
    for (int i = 0; i < a.vertices.size(); ++i)
        if (a.vertices[i].x != b.vertices[i].x || a.vertices[i].y != b.vertices[i].y ||
            a.vertices[i].z != b.vertices[i].z)
            return false;
    return true;
}

TEST(BodySession, BuildsTheChosenBodyAsTheBuildDoesAndGoesBackWhenAChoiceFails) {
    BodySession session(smallCatalogue());
    session.chooseBody("Tetraeder");
    const SolidModel first = session.build();
    EXPECT_TRUE(samePoints(first.solid, buildSolid(session.tables(), session.selection(), "Tetraeder").solid));
    ASSERT_NE(session.shown(), nullptr);
    EXPECT_EQ(session.shown()->name, "Tetraeder");

    // The body whose block is damaged: the build fails, nothing of it is kept, and the choice is
    // the tetrahedron's again, so the next build gives it as before.
    session.chooseBody("Kaputt");
    EXPECT_EQ(session.selection().bodyIndex, 1);
    EXPECT_THROW(session.build(), CatalogueError);
    EXPECT_EQ(session.chosenName(), "Tetraeder");
    EXPECT_EQ(session.selection().bodyIndex, 0);
    EXPECT_TRUE(samePoints(session.finishedModel().solid, first.solid));
    EXPECT_TRUE(samePoints(session.build().solid, first.solid));
}

TEST(BodySession, TheDualAskedForIsBuiltAndNotTakenFromTheKeptModel) {
    BodySession session(shipped());
    session.chooseBody(session.startBody());
    EXPECT_EQ(latin1ToUtf8(session.chosenName()), "Hexaeder, Würfel");
    EXPECT_EQ(session.build().dualInfo.shape, DualShape::Plain);
    session.setDualKind(DualKind::PolarReciprocal);
    EXPECT_EQ(session.askedDualShape(), DualShape::PolarReciprocal);
    EXPECT_EQ(session.build().dualInfo.shape, DualShape::PolarReciprocal);
    session.setDualKind(DualKind::Catalogue);
    EXPECT_EQ(session.build().dualInfo.shape, DualShape::Plain);

    // Another category: its list, and a Johnson solid's quasi-dual.
    const auto list = session.chooseCategory(Category::Johnson);
    ASSERT_FALSE(list.empty());
    EXPECT_TRUE(session.chosenName().empty());
    session.chooseBody(list.front());
    EXPECT_EQ(session.askedDualShape(), DualShape::QuasiDual);
    EXPECT_EQ(session.build().dualInfo.shape, DualShape::QuasiDual);
    EXPECT_EQ(session.shown()->selection.currentCategory, Category::Johnson);
}

TEST(BodySession, AFileTakesThePlaceOfTheBodyOnlyWhenItBuilds) {
    BodySession session(shipped());
    session.chooseBody(session.startBody());
    session.build();

    // One triangle is no closed surface: nothing changes.
    auto open = std::make_shared<PolyhedronFile>();
    open->name = "dreieck.off";
    open->vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    open->faces = {{0, 1, 2}};
    open->vertexLines = {2, 3, 4};
    open->faceLines = {5};
    EXPECT_ANY_THROW(session.buildFile(open));
    EXPECT_EQ(session.openedFile(), nullptr);
    EXPECT_EQ(session.shown()->file, nullptr);
    EXPECT_EQ(session.finishedModel().solid.vertices.size(), 8);

    auto tetrahedron = std::make_shared<PolyhedronFile>();
    tetrahedron->name = "tetraeder.off";
    tetrahedron->vertices = {{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
    tetrahedron->faces = {{0, 1, 2}, {0, 3, 1}, {0, 2, 3}, {1, 3, 2}};
    tetrahedron->vertexLines = {3, 4, 5, 6};
    tetrahedron->faceLines = {7, 8, 9, 10};
    EXPECT_EQ(session.buildFile(tetrahedron).solid.vertices.size(), 4);
    ASSERT_NE(session.openedFile(), nullptr);
    EXPECT_EQ(session.openedFile()->name, "tetraeder.off");
    EXPECT_EQ(session.build().solid.vertices.size(), 4); // the file's body is built again

    // A body chosen in the list ends the file.
    session.chooseBody(session.startBody());
    EXPECT_EQ(session.openedFile(), nullptr);
    EXPECT_EQ(session.build().solid.vertices.size(), 8);
}

TEST(BodySession, ARefusalIsSaidOnceToARepaintAndAgainToEveryBuildAsked) {
    BodySession session(shipped());
    session.setHidden(HiddenBodies::Shown);
    session.setDualKind(DualKind::PolarReciprocal);
    session.chooseBody(utf8ToLatin1("Tetrahemihexaeder"));
    EXPECT_EQ(session.build().dualInfo.shape, DualShape::Plain); // the catalogue's dual instead
    const std::string said = session.refusalNotSaid();
    EXPECT_NE(said.find("keine polare Reziproke"), std::string::npos) << said;
    EXPECT_TRUE(session.refusalNotSaid().empty());
    EXPECT_EQ(session.refusalToSay(), said);

    // A body that has its reciprocal says nothing, and the refusal is new again afterwards.
    session.chooseBody(session.startBody());
    session.build();
    EXPECT_TRUE(session.refusalNotSaid().empty());
    session.chooseBody(utf8ToLatin1("Tetrahemihexaeder"));
    session.build();
    EXPECT_EQ(session.refusalNotSaid(), said);
}

} // namespace
