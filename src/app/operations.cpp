// The window's menu "Operationen": solids made from the solid on screen by Conway's operators,
// a recipe typed whole, taking the last operation back, the body they started from, and the
// canonical form. The operations run off the window's thread; the body on screen keeps turning.
#include "mainwindow.h"

#include "backgroundbuild.h"
#include "geometry/recipe.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <exception>
#include <string>

namespace kesmora {

namespace {

QString german(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

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
    runOperations(session_.withOperation(letter));
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

bool TMainForm::runOperations(BodySource source) {
    if (operationRunning()) return false; // one at a time; the menu waits behind the progress dialog
    // Known from the counts before anything is built.
    if (!source.recipe.empty()) {
        const std::string refusal =
            sizeRefusal(predictCounts(session_.seedCounts(), parseRecipe(source.recipe)));
        if (!refusal.empty()) throw ResultTooLarge(refusal);
    }
    const DualKind dual = session_.dualKind();
    const QString label = source.recipe.empty()
                              ? QString::fromUtf8("Der Ausgangskörper wird gebaut …")
                              : QString::fromUtf8("Rezept %1 wird angewandt …").arg(german(source.recipe));
    return background_->start(session_.sharedTables(), source, dual, session_.madeFor(source), label,
                       [this, source, dual](BackgroundBuild::Outcome outcome) {
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
                               zeichnen();
                               updateOperationActions();
                               if (const std::string note = session_.operationNote(); !note.empty())
                                   dialogs_->showInformation(QStringLiteral("Kanonische Form"), german(note));
                           });
                       });
}

} // namespace kesmora
