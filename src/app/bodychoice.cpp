// The window's choice of a body and its builds: the category and the body list, taking over a body,
// building it through the body session, opening a file, and going back to the body on screen when
// a choice fails.
#include "mainwindow.h"

#include "bodies/dualname.h"
#include "bodies/filesolid.h"
#include "bodies/polyhedronfile.h"
#include "controlstrip.h"
#include "paintbox.h"
#include "propertieswindow.h"

#include <QFile>
#include <QLabel>
#include <QTimer>

#include <exception>

namespace kesmora {

namespace {

QString fromTable(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
std::string toTable(const QString& s) {
    return s.toLatin1().toStdString();
}

} // namespace

void TMainForm::showPropertiesOfShownBody() {
    const BodySource* source = session_.shown();
    if (!shown_ || !source) return;
    // Something else than the list's body on screen: no row looks chosen.
    strip_->showChosenRow(!source->file && source->recipe.empty());
    // A file's body, and a body made by operations, have no partner in the catalogue.
    if (source->file || !source->recipe.empty()) {
        properties_->showBody(model_, shownBodyName(), fromTable(dualShapeName(model_.dualInfo.shape)),
                              session_.shownNotation(false), session_.shownNotation(true));
        return;
    }
    // Only Platonic, Archimedean and Catalan solids look their dual's name up in the catalogue.
    properties_->showBody(model_, shown_->name,
                          fromTable(dualNameFor(session_.tables(), source->selection.currentCategory,
                                                source->selection.bodyIndex, model_.dualInfo.shape)),
                          session_.shownNotation(false), session_.shownNotation(true));
}

void TMainForm::fillBodyList() {
    // Filling the list from code is no click. It is emptied first: a category whose list cannot be
    // made leaves none.
    strip_->setBodyNames({});
    chosenWithoutRow_.clear();
    QStringList names;
    for (const std::string& name : session_.bodyList())
        names.append(fromTable(name));
    strip_->setBodyNames(names);
}

void TMainForm::chooseBody(const QString& name) {
    strip_->chooseBodyNamed(name);
    chosenWithoutRow_ = strip_->currentBodyName().isNull() ? name : QString();
}

QString TMainForm::chosenBodyName() const {
    const QString current = strip_->currentBodyName();
    return current.isNull() ? chosenWithoutRow_ : current;
}

void TMainForm::showHiddenC() {
    // The chosen body stays chosen, and on screen: only the list changes.
    const QString chosen = chosenBodyName();
    session_.setHidden(showHidden->isChecked() ? HiddenBodies::Shown : HiddenBodies::LeftOut);
    fillBodyList();
    if (!chosen.isNull()) chooseBody(chosen);
}

bool TMainForm::showModesOf(Category category) {
    if (!strip_->offerModesOf(category)) return false;
    render_.mode = DrawMode::Interpenetration2;
    return true;
}

void TMainForm::R1C() {
    applyAnimationControls(stopAnimation(animation_));
    const Category category = categoryOfItem(strip_->categoryItem());
    if (category == session_.category()) return;
    if (showModesOf(category)) zeichnen();
    keepingShownBody([&] {
        // A category chosen names its first body, no longer the opened file's.
        session_.chooseCategory(category);
        fillBodyList();
        if (strip_->bodyCount() > 0) strip_->chooseBodyRow(0);
        neuwert();
    });
}

void TMainForm::LB1C() {
    applyAnimationControls(stopAnimation(animation_));
    chosenWithoutRow_.clear(); // the list's row is the choice now
    keepingShownBody([&] {
        session_.chooseFile(nullptr);
        neuwert();
        B1C();
    });
}

void TMainForm::neuwert() {
    if (session_.openedFile()) return; // the title names the opened file, whatever row the list shows
    const QString current = chosenBodyName();
    if (current.isNull()) return;
    const std::string name = toTable(current);
    // The dual asked for; the build puts the one it made in its place.
    P1Caption->setText(fromTable(titleFor(name, session_.askedDualShape())));
    session_.chooseBody(name);
}

void TMainForm::buildModel() {
    if (session_.openedFile()) {
        // The figure read, not the file, which may have changed since.
        model_ = session_.build();
        ++buildCount_;
        P1Caption->setText(openedFileTitle());
        if (shown_) shown_->caption = P1Caption->text();
        showPropertiesOfShownBody();
        return;
    }
    const QString name = chosenBodyName();
    if (name.isNull()) return;
    keepingShownBody([&] { model_ = session_.build(); }); // a build that fails is not kept
    ++buildCount_;
    // The title names the dual built: a body without a polar reciprocal shows the catalogue's.
    P1Caption->setText(withShownRecipe(fromTable(titleFor(toTable(name), model_.dualInfo.shape))));
    shown_ = ShownBody{P1Caption->text(), name};
    showPropertiesOfShownBody();
}

template <typename F> void TMainForm::keepingShownBody(F&& step) {
    try {
        step();
    } catch (...) {
        backToShownBody();
        throw;
    }
}

void TMainForm::backToShownBody() {
    // Nothing built yet: the title keeps naming the body the message is about.
    if (!shown_ || !session_.shown()) return;
    const ShownBody shown = *shown_;
    const Category shownCategory = session_.shown()->selection.currentCategory;
    // The session may have gone back already (a build that failed); the controls have not.
    const bool otherCategory = categoryOfItem(strip_->categoryItem()) != shownCategory;
    session_.backToShown();
    if (otherCategory) {
        // Checked from code, not clicked: no category change runs.
        strip_->checkCategoryItem(itemOfCategory(shownCategory));
        if (showModesOf(shownCategory)) // redrawn after the handler or paint that failed
            QTimer::singleShot(0, this, [this] { guarded([&] { zeichnen(); }); });
        try {
            fillBodyList(); // listed before, from the same tables
        } catch (const std::exception&) {
            strip_->clearBodies();
        }
    }
    chooseBody(shown.name); // a row set from code is no click: nothing is built
    P1Caption->setText(shown.caption);
}

bool TMainForm::openFile(const QString& path) {
    if (path.isEmpty()) return false; // no file chosen
    return openFile(QFile::encodeName(path));
}

bool TMainForm::openFile(const QByteArray& path) {
    if (path.isEmpty()) return false;
    try {
        // Chosen and shown only when it is built.
        session_.buildFile(std::make_shared<const PolyhedronFile>(readPolyhedronFile(path)));
    } catch (const std::exception& e) {
        reportError(e.what());
        return false;
    }
    // Called from the event loop (the command line's file, a drop), so nothing may leave here.
    bool taken = false;
    guarded([&] {
        applyAnimationControls(stopAnimation(animation_)); // as when a body is chosen
        endTransition();
        model_ = session_.finishedModel();
        ++buildCount_;
        taken = true;
        P1Caption->setText(openedFileTitle());
        shown_ = ShownBody{P1Caption->text(), strip_->currentBodyName()};
        showPropertiesOfShownBody();
    });
    if (!taken) return false;
    guarded([&] { zeichnen(); });
    if (const std::string refusal = session_.refusalToSay(); !refusal.empty()) reportNotice(refusal);
    return true;
}

QString TMainForm::openedFileTitle() const {
    const PolyhedronFile* file = session_.openedFile();
    return file ? withShownRecipe(QString::fromStdString(fileTitle(file->name, model_.dualInfo.shape))) : QString();
}

QString TMainForm::openedFileName() const {
    const PolyhedronFile* file = session_.openedFile();
    return file ? QString::fromUtf8(file->name.c_str()) : QString();
}

void TMainForm::B1C() {
    buildModel();
    zeichnen();
    // Every build the user asks for says so when the body has no reciprocal.
    if (const std::string refusal = session_.refusalToSay(); !refusal.empty()) reportNotice(refusal);
}

void TMainForm::M18C() {
    const DualKind before = session_.dualKind();
    session_.setDualKind(M18->isChecked() ? DualKind::PolarReciprocal : DualKind::Catalogue);
    try {
        neuwert();
        B1C();
    } catch (...) {
        // An opened file whose other dual cannot be built (too many faces once cut) keeps the dual
        // it shows, and the menu item says which.
        session_.setDualKind(before);
        M18->setChecked(before == DualKind::PolarReciprocal);
        neuwert();
        throw;
    }
}

QRect TMainForm::buildForSystemPaint() {
    // A paint request from the system rebuilds; an error is reported after the paint, once per
    // body, and the previous solid is drawn meanwhile. Nothing may leave a paint event: it would
    // pass through Qt's painting on its way out.
    try {
        buildModel();
        lastPaintError_.clear();
        if (const std::string refusal = session_.refusalNotSaid(); !refusal.empty())
            QTimer::singleShot(0, this, [this, refusal] { reportNotice(refusal); });
    } catch (const std::exception& e) {
        sayOnceAfterPaint(lastPaintError_, e.what());
    }
    // A picture that cannot be drawn is said once, not after every paint.
    try {
        const QRect changed = renderOnly().bounds();
        lastRenderError_.clear();
        return changed;
    } catch (const std::exception& e) {
        sayOnceAfterPaint(lastRenderError_, e.what());
        return {};
    }
}

void TMainForm::sayOnceAfterPaint(std::string& last, const std::string& message) {
    if (message == last) return;
    last = message;
    if (!message.empty()) QTimer::singleShot(0, this, [this, message] { reportError(message); });
}

} // namespace kesmora
