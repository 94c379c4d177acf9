// Operations on the body on screen: the session's recipe (kept, reused when only the dual changes,
// dropped when another body is chosen), and the window's menu "Operationen" with its title, undo,
// recipe dialog, refusals and the canonical form, applied off the window's thread.
#include "fakedialogs.h"
#include "openwindow.h"
#include "stripcontrols.h"

#include "app/mainwindow.h"
#include "app/propertieswindow.h"
#include "catalogue/latin1.h"
#include "bodies/notation.h"
#include "session/bodysession.h"

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

using namespace kesmora;
using kesmora::test::openWindow;

namespace {

std::shared_ptr<const CatalogueTables> shipped() {
    static const auto t = std::make_shared<const CatalogueTables>(LoadCatalogueTables(KESMORA_DATA_DIR));
    return t;
}

BodySession cubeSession() {
    BodySession session(shipped());
    session.chooseBody(session.startBody());
    session.build();
    return session;
}

// Every edge of the model's solid, as its length relative to the longest.
std::vector<double> edgeLengths(const Figure& f) {
    std::vector<double> lengths;
    for (const FaceView face : f.faces)
        for (int k = 0; k < face.size(); ++k) {
            const Point3D d = f.vertices[face[k]] - f.vertices[face[(k + 1) % face.size()]];
            lengths.push_back(norm(d));
        }
    return lengths;
}

} // namespace

TEST(SessionOperations, ARecipeIsBuiltOnTheBodyAndDroppedWhenAnotherIsChosen) {
    BodySession session = cubeSession();
    const std::string cube = session.chosenName();
    session.choose(session.withOperation("t"));
    const SolidModel& t = session.build();
    EXPECT_EQ(t.solid.vertices.size(), 24);
    EXPECT_EQ(t.solid.faces.size(), 14);
    // The canonical truncated cube is the Archimedean one: every edge alike.
    const std::vector<double> lengths = edgeLengths(t.solid);
    const auto [low, high] = std::minmax_element(lengths.begin(), lengths.end());
    EXPECT_NEAR(*low / *high, 1.0, 1e-8);
    // Its dual is the canonical reciprocal: a vertex for each face, a face for each vertex.
    EXPECT_EQ(t.dual.vertices.size(), 14);
    EXPECT_EQ(t.dual.faces.size(), 24);
    EXPECT_EQ(t.dualInfo.shape, DualShape::Plain);
    EXPECT_TRUE(session.shownCanonical());
    EXPECT_EQ(session.seedCounts().faces, 6);

    // Another operation is written before the first; taking it back leaves the first.
    session.choose(session.withOperation("k"));
    EXPECT_EQ(session.recipe(), "kt");
    EXPECT_EQ(session.build().solid.faces.size(), 2 * 36); // kis: a triangle on each side of a face
    session.choose(session.withOperation("k5"));
    EXPECT_EQ(session.withoutLastOperation().recipe, "kt");
    session.choose(session.withoutLastOperation());
    session.choose(session.withoutLastOperation());
    EXPECT_EQ(session.recipe(), "t");
    EXPECT_EQ(session.build().solid.vertices.size(), 24);
    EXPECT_THROW(session.withRecipe("tq"), RecipeError);

    // Only the dual changes: the operations are not applied again.
    const auto made = session.madeFor(session.chosen());
    ASSERT_NE(made, nullptr);
    session.setDualKind(DualKind::PolarReciprocal);
    EXPECT_EQ(session.build().dualInfo.shape, DualShape::PolarReciprocal);
    EXPECT_EQ(session.madeFor(session.chosen()), made);

    // A body chosen starts again without operations.
    session.chooseBody(cube);
    EXPECT_EQ(session.recipe(), "");
    EXPECT_EQ(session.build().solid.vertices.size(), 8);
}

TEST(SessionOperations, ConwaysNotationOfTheBodyOnScreenAndItsDual) {
    BodySession session = cubeSession();
    EXPECT_EQ(session.shownNotation(false), "C");
    EXPECT_EQ(session.shownNotation(true), "O");
    session.choose(session.withRecipe("t"));
    session.build();
    EXPECT_EQ(session.shownNotation(false), "tC");
    EXPECT_EQ(session.shownNotation(true), "kO"); // the Catalan dual by its own letters
    session.choose(session.withRecipe("kt"));
    session.build();
    EXPECT_EQ(session.shownNotation(true), "dktC");
    // Each Archimedean solid's dual is its Catalan partner in the catalogue, and both notations agree.
    session.chooseCategory(Category::Archimedean);
    for (const std::string& name : session.bodyList()) {
        session.chooseBody(name);
        session.build();
        const std::string solid = session.shownNotation(false), dual = session.shownNotation(true);
        ASSERT_FALSE(solid.empty()) << latin1ToUtf8(name);
        EXPECT_EQ(dualNotation(dual), solid) << latin1ToUtf8(name);
        // Archimedean solids are t, a, e, s, b of a Platonic solid; the Catalan ones k, j, o, g, m.
        EXPECT_NE(std::string("taesbkjogm").find(solid.front()), std::string::npos) << solid;
        EXPECT_NE(std::string(solid.front() == 't' || solid.front() == 'a' || solid.front() == 'e' ||
                                      solid.front() == 's' || solid.front() == 'b'
                                  ? "kjogm"
                                  : "taesb")
                      .find(dual.front()),
                  std::string::npos)
            << solid << " / " << dual;
    }
}

TEST(SessionOperations, ThePlainConstructionAndAFailedBuildKeepTheBodyOnScreen) {
    BodySession session = cubeSession();
    BodySource plain = session.withRecipe("t");
    plain.canonical = false;
    session.choose(plain);
    const SolidModel& t = session.build();
    EXPECT_FALSE(session.shownCanonical());
    // Cut at a third of each edge: the triangles' edges are √2 times the octagons' others, not
    // the Archimedean solid's equal edges.
    const std::vector<double> lengths = edgeLengths(t.solid);
    const auto [low, high] = std::minmax_element(lengths.begin(), lengths.end());
    EXPECT_NEAR(*low / *high, std::sqrt(0.5), 1e-9);
    EXPECT_EQ(t.dual.faces.size(), 24); // the dual from the face centroids

    // A result with more faces than the program builds is refused before anything is built; the
    // body on screen stays.
    session.choose(session.withRecipe("tttttttttt"));
    EXPECT_THROW(session.build(), ResultTooLarge);
    EXPECT_EQ(session.recipe(), "t");
    EXPECT_EQ(session.finishedModel().solid.vertices.size(), 24);

    // A compound falls apart under the operations: said of the result, not of a file.
    session.setHidden(HiddenBodies::Shown);
    session.chooseBody(utf8ToLatin1("fünf Würfel"));
    session.build();
    session.choose(session.withRecipe("t"));
    try {
        session.build();
        ADD_FAILURE() << "the compound's truncation was built";
    } catch (const GeometryError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("5 getrennten Teilen"), std::string::npos) << what;
        EXPECT_EQ(what.find("Datei"), std::string::npos) << what;
    }
    EXPECT_EQ(session.recipe(), "");
    EXPECT_EQ(session.finishedModel().solid.faces.size(), 30);
}

namespace {

QAction* action(TMainForm& w, const char* name) {
    auto* a = w.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
}

void trigger(TMainForm& w, const char* name) {
    action(w, name)->trigger();
    w.waitForOperation();
    QApplication::processEvents();
}

} // namespace

TEST(WindowOperations, OperationsUndoAndTheSeedChangeTitleModelAndProperties) {
    auto w = openWindow();
    FakeDialogs& dialogs = fakeDialogs(*w);
    QStringList errors;
    dialogs.onError = [&](const QString& text) { errors << text; };
    const QString cubeTitle = w->shownCaption();
    ASSERT_EQ(cubeTitle, QString::fromUtf8("Hexaeder, Würfel und dualer Körper"));

    ASSERT_NE(controls::LB1(*w)->currentItem(), nullptr);
    EXPECT_TRUE(controls::LB1(*w)->currentItem()->isSelected());
    trigger(*w, "operation_t");
    EXPECT_EQ(w->shownCaption(), QString::fromUtf8("t · Hexaeder, Würfel und dualer Körper"));
    EXPECT_EQ(controls::P1Caption(*w)->text(), w->shownCaption());
    // The result is not the list's body: no row looks chosen, though the cube stays the current one.
    EXPECT_TRUE(controls::LB1(*w)->selectedItems().isEmpty());
    EXPECT_EQ(controls::LB1(*w)->currentItem()->text(), QString::fromUtf8("Hexaeder, Würfel"));
    EXPECT_EQ(w->model().solid.vertices.size(), 24);
    trigger(*w, "operation_a");
    EXPECT_EQ(w->shownRecipe(), "at");
    // The properties window measures the result under its name, with its notation.
    action(*w, "propertiesAction")->trigger();
    PropertiesWindow* p = w->propertiesWindow();
    p->catchUp();
    const auto row = [&](const char* label, bool dual) {
        const QStringList lines = p->tableText().split('\n');
        for (int r = 0; r < p->rowCount() && r < lines.size(); ++r)
            if (lines[r].section('\t', 0, 0) == QString::fromUtf8(label)) return p->valueLabel(r, dual)->text();
        return QString();
    };
    EXPECT_EQ(row("Name", false), QString::fromUtf8("at · Hexaeder, Würfel"));
    EXPECT_EQ(row("Conway-Notation", false), "atC");
    EXPECT_EQ(row("Ecken", false), "36");
    EXPECT_EQ(row("Flächen", true), "36"); // a face of the dual for each vertex
    action(*w, "propertiesAction")->trigger();
    EXPECT_EQ(w->model().solid.vertices.size(), 36); // a vertex on each edge of the truncated cube
    EXPECT_EQ(w->model().solid.faces.size(), 24 + 14);
    // The properties and the picture are those of the result.
    EXPECT_FALSE(w->sceneBitmap().isNull());

    // Enter takes the result back to its start, it does not undo it.
    const Point3D start = w->model().solid.vertices[0];
    QTest::keyClick(w.get(), Qt::Key_Right);
    QTest::keyClick(w.get(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(w->shownRecipe(), "at");
    EXPECT_DOUBLE_EQ(w->model().solid.vertices[0].x, start.x);

    trigger(*w, "undoAction");
    EXPECT_EQ(w->shownRecipe(), "t");
    EXPECT_EQ(w->model().solid.vertices.size(), 24);
    EXPECT_TRUE(controls::LB1(*w)->selectedItems().isEmpty());
    trigger(*w, "seedAction");
    EXPECT_EQ(w->shownCaption(), cubeTitle);
    EXPECT_TRUE(controls::LB1(*w)->currentItem()->isSelected());
    EXPECT_EQ(w->model().solid.vertices.size(), 8);
    EXPECT_FALSE(action(*w, "undoAction")->isEnabled());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST(WindowOperations, TheRecipeDialogChecksAsItIsTypedAndATooLargeResultIsRefused) {
    auto w = openWindow();
    FakeDialogs& dialogs = fakeDialogs(*w);
    QStringList errors;
    dialogs.onError = [&](const QString& text) { errors << text; };
    Dialogs::RecipeVerdict bad, large, good;
    dialogs.recipeAsker = [&](const QString&, const Dialogs::RecipeCheck& check) -> std::optional<QString> {
        bad = check(QStringLiteral("tx"));
        large = check(QStringLiteral("tttttttttt"));
        good = check(QStringLiteral("kt"));
        return QStringLiteral("kt");
    };
    trigger(*w, "recipeAction");
    EXPECT_FALSE(bad.acceptable);
    EXPECT_TRUE(bad.text.contains(QStringLiteral("x"))) << bad.text.toStdString();
    EXPECT_FALSE(large.acceptable);
    EXPECT_TRUE(good.acceptable);
    EXPECT_TRUE(good.text.contains(QString::fromUtf8("38 Ecken, 108 Kanten und 72 Flächen"))) << good.text.toStdString();
    EXPECT_EQ(w->shownRecipe(), "kt");
    EXPECT_EQ(w->model().solid.faces.size(), 72);

    // Eight truncations more would pass the limit: said at once, nothing changes.
    dialogs.recipeAsker = [](const QString&, const Dialogs::RecipeCheck&) -> std::optional<QString> {
        return QStringLiteral("ttttttttkt");
    };
    trigger(*w, "recipeAction");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.front().contains(QString::fromUtf8("Flächen"))) << errors.front().toStdString();
    EXPECT_EQ(w->shownRecipe(), "kt");

    // A body chosen in the list starts again without operations.
    QListWidget* list = controls::LB1(*w);
    const auto items = list->findItems(QStringLiteral("Ikosaeder"), Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty());
    list->setCurrentItem(items.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
    QApplication::processEvents();
    EXPECT_EQ(w->shownRecipe(), "");
    EXPECT_EQ(w->model().solid.vertices.size(), 12);
}

TEST(WindowOperations, RandomOperationsAndUndoKeepAClosedBodyOnScreen) {
    auto w = openWindow();
    FakeDialogs& dialogs = fakeDialogs(*w);
    QStringList errors;
    dialogs.onError = [&](const QString& text) { errors << text; };
    dialogs.onInformation = [](const QString&, const QString&) {};
    QRandomGenerator random(20261208);
    const char* letters[] = {"operation_t", "operation_a", "operation_d", "operation_k", "operation_j",
                             "operation_g", "operation_c", "operation_z", "undoAction", "undoAction"};
    for (int step = 0; step < 24; ++step) {
        // Small bodies only: beyond a few operations the menu goes back to the seed.
        if (w->model().solid.faces.size() > 400) trigger(*w, "seedAction");
        trigger(*w, letters[random.bounded(static_cast<int>(std::size(letters)))]);
        const Figure& solid = w->model().solid;
        const long long v = solid.vertices.size(), f = solid.faces.size();
        long long sides = 0;
        for (const FaceView face : solid.faces)
            sides += face.size();
        EXPECT_EQ(v - sides / 2 + f, 2) << w->shownRecipe().toStdString();
        EXPECT_TRUE(w->shownCaption().startsWith(w->shownRecipe())) << w->shownCaption().toStdString();
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST(WindowOperations, AnOperationHappensOnScreenAndEndsOnTheResultAsShownWithoutIt) {
    auto shown = openWindow();
    auto plain = openWindow();
    QAction* animate = action(*shown, "animateTransitions");
    ASSERT_TRUE(animate->isChecked());
    action(*plain, "animateTransitions")->setChecked(false);

    // Enter builds the body on screen again and draws it, where it started.
    const auto draw = [](TMainForm& w) {
        QTest::keyClick(&w, Qt::Key_Return);
        QApplication::processEvents();
    };
    const auto waitForTheEnd = [](TMainForm& w) {
        QElapsedTimer clock;
        clock.start();
        while (w.transitionRunning() && clock.elapsed() < 10000)
            QTest::qWait(20);
    };
    for (const char* op : {"operation_t", "operation_k", "operation_e"}) {
        SCOPED_TRACE(op);
        trigger(*shown, op);
        trigger(*plain, op);
        EXPECT_FALSE(plain->transitionRunning());
        ASSERT_TRUE(shown->transitionRunning());
        // On the way the picture is another than the result's; the model is the result already.
        draw(*shown);
        const QImage onTheWay = shown->sceneBitmap().copy();
        draw(*plain);
        EXPECT_NE(onTheWay, plain->sceneBitmap());
        EXPECT_EQ(shown->model().solid.vertices.size(), plain->model().solid.vertices.size());
        waitForTheEnd(*shown);
        EXPECT_FALSE(shown->transitionRunning());
        draw(*shown);
        EXPECT_EQ(shown->sceneBitmap(), plain->sceneBitmap());
        EXPECT_EQ(shown->shownCaption(), plain->shownCaption());
    }
    // An operator without a way appears at once; turning the item off ends a way being shown.
    trigger(*shown, "operation_g");
    EXPECT_FALSE(shown->transitionRunning());
    trigger(*shown, "seedAction");
    EXPECT_FALSE(shown->transitionRunning());
    trigger(*shown, "operation_a");
    EXPECT_TRUE(shown->transitionRunning());
    animate->setChecked(false);
    EXPECT_FALSE(shown->transitionRunning());
    // Another body chosen meanwhile ends it too.
    animate->setChecked(true);
    trigger(*shown, "operation_j");
    ASSERT_TRUE(shown->transitionRunning());
    trigger(*shown, "seedAction");
    draw(*shown);
    EXPECT_FALSE(shown->transitionRunning());
    EXPECT_EQ(shown->model().solid.vertices.size(), 8);
}
