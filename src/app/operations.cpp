// The window's menu "Operationen": solids made from the solid on screen by Conway's operators,
// a recipe typed whole, taking the last operation back, the body they started from, and the
// canonical form. The operations run off the window's thread; the body on screen keeps turning.
#include "mainwindow.h"

#include "backgroundbuild.h"
#include "geometry/recipe.h"
#include "geometry/shape.h"
#include "geometry/transition.h"
#include "morphwindow.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include <exception>
#include <string>

namespace kesmora {

namespace {

QString german(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// How long an operation takes to happen on screen.
constexpr double kTransitionMilliseconds = 1000;

} // namespace

void TMainForm::createOperationsMenu() {
    background_ = new BackgroundBuild(this);
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Operationen"));
    menu->setObjectName("operationsMenu");
    for (const OperatorInfo& op : operatorList()) {
        const std::string letter(1, op.letter);
        QAction* action = menu->addAction(QString::fromUtf8(op.name) + QStringLiteral(" (") +
                                          QString::fromLatin1(letter.c_str()) + QStringLiteral(")"));
        action->setObjectName(QStringLiteral("operation_") + QString::fromLatin1(letter.c_str()));
        connect(action, &QAction::triggered, this, [this, letter] { guarded([&] { applyOperation(letter); }); });
    }
    menu->addSeparator();
    recipeAction = menu->addAction(QString::fromUtf8("Rezept eingeben…"));
    recipeAction->setObjectName("recipeAction");
    undoAction = menu->addAction(QString::fromUtf8("Rückgängig"));
    undoAction->setObjectName("undoAction");
    undoAction->setShortcut(QKeySequence::Undo);
    undoAction->setShortcutContext(Qt::ApplicationShortcut);
    seedAction = menu->addAction(QString::fromUtf8("Zum Ausgangskörper"));
    seedAction->setObjectName("seedAction");
    menu->addSeparator();
    canonicalAction = menu->addAction(QStringLiteral("Kanonische Form"));
    canonicalAction->setObjectName("canonicalAction");
    canonicalAction->setCheckable(true);
    canonicalAction->setChecked(true);
    connect(recipeAction, &QAction::triggered, this, [this] { guarded([&] { enterRecipe(); }); });
    connect(undoAction, &QAction::triggered, this, [this] { guarded([&] { undoOperation(); }); });
    connect(seedAction, &QAction::triggered, this, [this] { guarded([&] { backToSeed(); }); });
    connect(canonicalAction, &QAction::triggered, this, [this] { guarded([&] { canonicalC(); }); });
    connect(menu, &QMenu::aboutToShow, this, [this] { updateOperationActions(); });
    updateOperationActions();
}

QString TMainForm::shownRecipe() const {
    const BodySource* shown = session_.shown();
    return shown ? german(shown->recipe) : QString();
}

QString TMainForm::withShownRecipe(const QString& title) const {
    const QString recipe = shownRecipe();
    return recipe.isEmpty() ? title : recipe + QString::fromUtf8(" · ") + title;
}

bool TMainForm::operationRunning() const {
    return background_ && background_->running();
}

void TMainForm::waitForOperation() {
    if (background_) background_->wait();
}

void TMainForm::updateOperationActions() {
    if (!undoAction) return;
    const bool hasRecipe = !shownRecipe().isEmpty();
    undoAction->setEnabled(hasRecipe);
    seedAction->setEnabled(hasRecipe);
}

void TMainForm::applyOperation(const std::string& letter) {
    const char first = letter.empty() ? 0 : letter.front();
    runOperations(session_.withOperation(letter), OperationTransition::animates(first) ? first : 0);
}

void TMainForm::createTransitionItem(QMenu* settings) {
    animateTransitions = settings->addAction(QString::fromUtf8("Übergänge animieren"));
    animateTransitions->setObjectName("animateTransitions");
    animateTransitions->setCheckable(true);
    // Qt gives no desktop setting for reduced motion on the platforms this is built for; the item
    // is the user's say.
    animateTransitions->setChecked(true);
    animateTransitions->setToolTip(QString::fromUtf8(
        "Zeigt die Operationen t, a, k, e, j, o und b in etwa einer Sekunde als Bewegung: Ecken werden "
        "immer tiefer abgeschnitten, Pyramiden wachsen aus den Flächen"));
    transitionTimer_ = new QTimer(this);
    transitionTimer_->setObjectName("transitionTimer");
    transitionTimer_->setTimerType(Qt::PreciseTimer);
    transitionTimer_->setInterval(16);
    connect(transitionTimer_, &QTimer::timeout, this, [this] { guarded([&] { zeichnen(); }); });
    connect(animateTransitions, &QAction::toggled, this, [this](bool on) {
        if (on || !transition_) return;
        endTransition();
        guarded([&] { zeichnen(); });
    });
}

void TMainForm::startTransition(char letter, int seedVertices, int seedFaces) {
    endTransition();
    if (!animateTransitions || !animateTransitions->isChecked() || (morphWindow_ && morphWindow_->isVisible())) return;
    const BodySource* shown = session_.shown();
    if (!shown) return;
    // Each frame of the way builds its figure on the window's thread: large results appear at once.
    constexpr int kMostAnimatedFaces = 5000;
    if (model_.solid.faces.size() > kMostAnimatedFaces) return;
    try {
        transition_.emplace(
            RunningTransition{OperationTransition(meshOf(model_.solid), letter, seedVertices, seedFaces), *shown, {}});
    } catch (const GeometryError&) {
        return; // a result not laid out as the operation lays it out is shown at once
    }
    transition_->clock.start();
    transitionTimer_->start();
}

void TMainForm::endTransition() {
    transition_.reset();
    if (transitionTimer_) transitionTimer_->stop();
}

const SolidModel* TMainForm::transitionFrame() {
    if (!transition_) return nullptr;
    const double t = static_cast<double>(transition_->clock.elapsed()) / kTransitionMilliseconds;
    const BodySource* shown = session_.shown();
    if (t >= 1 || !shown || !shown->sameAs(transition_->result)) {
        endTransition(); // the last picture is the result itself
        return nullptr;
    }
    try {
        // Carried along with the result as it turns and zooms.
        std::vector<Point3D> placed;
        placed.reserve(static_cast<std::size_t>(model_.solid.vertices.size()));
        for (const Point3D& p : model_.solid.vertices)
            placed.push_back(p);
        transitionShown_.dual = model_.dual;
        transitionShown_.dualInfo = model_.dualInfo;
        transitionShown_.scale = model_.scale;
        replaceSolid(transitionShown_, transition_->way.at(easedPosition(t), placed));
        return &transitionShown_;
    } catch (const std::exception&) {
        endTransition();
        return nullptr;
    }
}

void TMainForm::undoOperation() {
    if (session_.recipe().empty()) return;
    runOperations(session_.withoutLastOperation());
}

void TMainForm::backToSeed() {
    if (session_.recipe().empty()) return;
    runOperations(session_.withRecipe({}));
}

void TMainForm::canonicalC() {
    const BodySource source = session_.withCanonical(canonicalAction->isChecked());
    // Without operations on screen the choice waits for the first one.
    if (source.recipe.empty()) {
        session_.choose(source);
        return;
    }
    try {
        if (runOperations(source)) return;
    } catch (...) {
        canonicalAction->setChecked(session_.canonical());
        throw;
    }
    // Other operations are being applied: the item says what they will show.
    canonicalAction->setChecked(session_.canonical());
}

Dialogs::RecipeVerdict TMainForm::checkRecipe(const QString& recipe) const {
    try {
        const std::vector<Operation> operations = parseRecipe(recipe.toStdString());
        const MeshCounts counts = predictCounts(session_.seedCounts(), operations);
        if (const std::string refusal = sizeRefusal(counts); !refusal.empty()) return {false, german(refusal)};
        if (operations.empty()) return {true, QString::fromUtf8("Ohne Operationen: der Ausgangskörper")};
        const QString bound = counts.exact ? QString() : QString::fromUtf8("höchstens ");
        return {true, QString::fromUtf8("Ergibt %1%2 Ecken, %3 Kanten und %4 Flächen")
                          .arg(bound)
                          .arg(counts.vertices)
                          .arg(counts.edges)
                          .arg(counts.faces)};
    } catch (const std::exception& e) {
        return {false, german(e.what())};
    }
}

void TMainForm::enterRecipe() {
    const std::optional<QString> recipe =
        dialogs_->askRecipe(german(session_.recipe()), [this](const QString& r) { return checkRecipe(r); });
    if (!recipe) return;
    runOperations(session_.withRecipe(recipe->toStdString()));
}

bool TMainForm::runOperations(BodySource source, char animated) {
    if (operationRunning()) return false; // one at a time; the menu waits behind the progress dialog
    // Known from the counts before anything is built.
    if (!source.recipe.empty()) {
        const std::string refusal =
            sizeRefusal(predictCounts(session_.seedCounts(), parseRecipe(source.recipe)));
        if (!refusal.empty()) throw ResultTooLarge(refusal);
    }
    const DualKind dual = session_.dualKind();
    const int seedVertices = model_.solid.vertices.size(), seedFaces = model_.solid.faces.size();
    const QString label = source.recipe.empty()
                              ? QString::fromUtf8("Der Ausgangskörper wird gebaut …")
                              : QString::fromUtf8("Rezept %1 wird angewandt …").arg(german(source.recipe));
    return background_->start(session_.sharedTables(), source, dual, session_.madeFor(source), label,
                       [this, source, dual, animated, seedVertices, seedFaces](BackgroundBuild::Outcome outcome) {
                           guarded([&] {
                               // A body chosen meanwhile, or another dual, has taken the place of the
                               // one the operations were applied to.
                               if (session_.chosen().seed().sameAs(source.seed()) == false ||
                                   session_.dualKind() != dual)
                                   return;
                               if (!outcome.error.empty()) {
                                   reportError(outcome.error);
                                   return;
                               }
                               session_.adopt(source, dual, std::move(outcome.body));
                               buildModel(); // the model kept, titled and measured
                               if (animated) startTransition(animated, seedVertices, seedFaces);
                               zeichnen();
                               updateOperationActions();
                               if (const std::string note = session_.operationNote(); !note.empty())
                                   dialogs_->showInformation(QStringLiteral("Kanonische Form"), german(note));
                           });
                       });
}

} // namespace kesmora
