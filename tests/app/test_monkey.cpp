// A user who clicks everything: the real window, headless, driven by a seeded random sequence of
// clicks, keys, drags, resizes and colour choices while the animation timer runs. After every
// event the model and the controls must still agree with each other.
//   KESMORA_MONKEY_EVENTS=50000 KESMORA_MONKEY_SEED=7 ./test_monkey   a longer run
#include "fakedialogs.h"
#include "app/mainwindow.h"
#include "app/morphwindow.h"
#include "app/paintbox.h"
#include "bodies/build.h"
#include "bodies/dualname.h"
#include "bodies/polyhedronfile.h"
#include "stripcontrols.h"

#include <QAbstractButton>
#include <QAction>
#include <QMouseEvent>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>

using namespace kesmora;

namespace {

long envNumber(const char* name, long fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

bool finite(const Point3D& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// What every later step relies on; empty when all holds.
std::string modelFault(const SolidModel& m) {
    std::ostringstream out;
    // The tables grow, but no body the window builds (a catalogue body, or a result of operations
    // on one) is larger than a file may be; each solid face becomes a dual vertex.
    if (m.solid.vertices.size() > kMaxFileVertices) out << "vertices " << m.solid.vertices.size() << "; ";
    if (m.dual.vertices.size() != m.solid.faces.size())
        out << "dual vertices " << m.dual.vertices.size() << "; ";
    for (const Figure* figure : m.figures())
        if (figure->faceRecords.size() != figure->faces.size())
            out << "records " << figure->faceRecords.size() << "; ";
    if (!out.str().empty()) return out.str();
    const auto figures = m.figures();
    for (std::size_t k = 0; k < figures.size(); ++k) {
        const Figure& figure = *figures[k];
        const char* prefix = k == 0 ? "" : "dual ";
        for (int f = 0; f < figure.faces.size(); ++f)
            for (const int v : figure.faces[f])
                if (v < 0 || v >= figure.vertices.size())
                    out << prefix << "face " << f << "; ";
        for (int i = 0; i < figure.vertices.size(); ++i)
            if (!finite(figure.vertices[i])) out << prefix << "vertex " << i << "; ";
        for (int i = 0; i < figure.faceRecords.size(); ++i)
            if (!finite(figure.faceRecords[i].centroid)) out << prefix << "centroid " << i << "; ";
    }
    if (!(m.scale > 0) || !std::isfinite(m.scale)) out << "scale " << m.scale << "; ";
    return out.str();
}

// The controls agree with the state behind them.
std::string controlFault(const TMainForm& w) {
    std::ostringstream out;
    const bool running = controls::Timer1(w)->isActive();
    if (running != w.animation().running()) out << "timer and animation state differ; ";
    if (controls::D2(w)->text() != (running ? "Abbruch" : "Rotation"))
        out << "D2 shows " << controls::D2(w)->text().toStdString() << "; ";
    // No row is chosen only while a hidden body, left out of the list again, stays on screen.
    // A result of operations is titled with its recipe before the body's title; a body chosen but not
    // yet built is titled without.
    const QString recipePrefix = w.shownRecipe().isEmpty() ? QString() : w.shownRecipe() + QString::fromUtf8(" · ");
    if (controls::LB1(w)->count() > 0 && !controls::LB1(w)->currentItem()) {
        QString name = controls::P1Caption(w)->text();
        if (name.startsWith(recipePrefix)) name.remove(0, recipePrefix.size());
        for (const char* suffix : {" und dualer Körper", " und quasiduales Polyeder"})
            if (name.endsWith(QString::fromUtf8(suffix))) name.chop(QString::fromUtf8(suffix).size());
        if (controls::menuItem(w, "showHidden")->isChecked() || !controls::LB1(w)->findItems(name, Qt::MatchExactly).isEmpty())
            out << "no body selected; ";
    }
    if (const QListWidgetItem* item = controls::LB1(w)->currentItem();
        item && !controls::P1Caption(w)->text().startsWith(item->text()) &&
        !controls::P1Caption(w)->text().startsWith(recipePrefix + item->text()))
        out << "title " << controls::P1Caption(w)->text().toStdString() << " for " << item->text().toStdString() << "; ";
    // The menu item, the title and the dual shown agree. Two hidden bodies have no reciprocal: they
    // show the catalogue's dual, titled as such, and say why.
    const bool reciprocal = controls::menuItem(w, "M18")->isChecked();
    const bool refused = w.model().dualInfo.reciprocalRefused();
    const bool titledReciprocal = controls::P1Caption(w)->text().endsWith(QString::fromUtf8(" und polar reziproker Körper"));
    const bool titleOfShownBody = controls::P1Caption(w)->text() == w.shownCaption();
    if (refused && titleOfShownBody ? titledReciprocal : titledReciprocal != reciprocal)
        out << "title " << controls::P1Caption(w)->text().toStdString() << " with the reciprocal item " << reciprocal
            << "; ";
    if (refused ? !reciprocal || w.model().dualInfo.kind != DualKind::Catalogue
                : (w.model().dualInfo.kind == DualKind::PolarReciprocal) != reciprocal)
        out << "the dual shown is not the one chosen; ";
    if (w.selection().currentCategory != categoryOfItem(controls::R1Group(w)->checkedId()))
        out << "category differs; ";
    if (controls::modeButtons(w)[6]->isVisible() == (controls::R1Group(w)->checkedId() == 2))
        out << "rb7 shown in the wrong category; ";
    int checked = 0;
    for (QRadioButton* b : controls::modeButtons(w))
        checked += b->isChecked();
    if (checked != 1) out << checked << " modes checked; ";
    if (static_cast<int>(w.renderSettings().mode) - 1 < 0 ||
        !controls::modeButtons(w)[static_cast<std::size_t>(w.renderSettings().mode) - 1]->isChecked())
        out << "drawn mode is not the checked one; ";
    return out.str();
}

// The titles of the hidden bodies, and the messages the build gives for any of them that fails (none
// should: the data holds every block).
struct HiddenBodyFacts {
    std::set<QString> titles;
    std::set<std::string> messages;
};
HiddenBodyFacts hiddenBodyFacts() {
    const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    HiddenBodyFacts facts;
    for (Category category : kCategories)
        for (const std::string& name : fillBodyList(tables, category, HiddenBodies::Shown)) {
            if (!isExcluded(tables, name)) continue;
            facts.titles.insert(QString::fromLatin1(titleFor(name, catalogueDualShape(category)).c_str()));
            Selection s;
            s.currentCategory = category;
            try {
                neuwert(s, tables, name);
                buildSolid(tables, s, name);
            } catch (const std::exception& e) {
                facts.messages.insert(e.what());
            }
        }
    return facts;
}

class Monkey {
  public:
    Monkey(TMainForm& w, unsigned seed) : w_(w), rng_(seed) {
        // Confirms about two choices in three, with a random colour.
        kesmora::fakeDialogs(w_).colourChooser = [this](QColor) -> std::optional<QColor> {
            ++counts_["colour dialog"];
            if (pick(3) == 0) return std::nullopt;
            return QColor(pick(256), pick(256), pick(256));
        };
        kesmora::fakeDialogs(w_).onError = [this](const QString& m) { messages_.push_back(m.toStdString()); };
        // A result not brought into canonical form says so.
        kesmora::fakeDialogs(w_).onInformation = [this](const QString&, const QString& m) {
            operationMessages_.push_back(m.toStdString());
        };
    }

    // One random user action; returns its name.
    const char* step() {
        switch (pick(26)) {
        case 0:
            click(controls::D1(w_));
            return "Darstellung";
        case 1:
            click(controls::D2(w_));
            return "Rotation";
        case 2:
            QTest::keyClick(&w_, Qt::Key_F2);
            return "F2";
        case 3:
            QTest::keyClick(focus(), pick(2) ? Qt::Key_Return : Qt::Key_Enter);
            return "Enter";
        case 4: {
            QRadioButton* b = controls::modeButtons(w_)[static_cast<std::size_t>(pick(7))];
            if (b->isVisible()) click(b, QPoint(6, b->height() / 2));
            return "mode";
        }
        case 5:
            click(controls::CB1(w_), QPoint(6, controls::CB1(w_)->height() / 2));
            return "marks";
        case 6: {
            QAbstractButton* b = controls::R1Group(w_)->button(pick(3));
            click(b, QPoint(6, b->height() / 2));
            return "category";
        }
        case 7:
        case 8: {
            if (controls::LB1(w_)->count() == 0) return "list click";
            QListWidgetItem* item = controls::LB1(w_)->item(pick(controls::LB1(w_)->count()));
            controls::LB1(w_)->scrollToItem(item);
            click(controls::LB1(w_)->viewport(), controls::LB1(w_)->visualItemRect(item).center());
            return "list click";
        }
        case 9: {
            controls::LB1(w_)->setFocus();
            const Qt::Key keys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_Down,
                                    Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
            QTest::keyClick(controls::LB1(w_), keys[pick(6)]);
            return "list key";
        }
        case 10: {
            QSpinBox* spins[] = {controls::t3(w_), controls::t4(w_), controls::t5(w_)};
            QSpinBox* s = spins[pick(3)];
            s->setFocus();
            QTest::keyClick(s, pick(2) ? Qt::Key_Up : Qt::Key_Down);
            return "spin";
        }
        case 11: {
            QToolButton* zooms[] = {controls::S8(w_), controls::S9(w_), controls::S1(w_)};
            click(zooms[pick(3)]);
            return "zoom button";
        }
        case 12: {
            QAction* zooms[] = {controls::menuItem(w_, "M15"), controls::menuItem(w_, "M16"), controls::menuItem(w_, "M17")};
            zooms[pick(3)]->trigger();
            return "zoom menu";
        }
        case 13:
        case 14:
            drag();
            return "drag";
        case 15:
            click(controls::colourButtons(w_)[static_cast<std::size_t>(pick(7))]);
            return "colour";
        case 16:
            if (w_.isMaximized())
                w_.showNormal();
            else
                w_.showMaximized();
            return "maximise";
        case 17:
            w_.resize(600 + pick(1400), 400 + pick(800)); // the fixed border puts it back
            return "resize";
        case 18:
            controls::menuItem(w_, "M2")->trigger();
            return "Animation menu";
        case 19:
            controls::menuItem(w_, "showHidden")->trigger();
            return "hidden bodies";
        case 20:
            controls::menuItem(w_, "M18")->trigger();
            return "reciprocal menu";
        case 21: {
            // Operations stay few, so that their results stay small: past two, one is taken back.
            static const char* const letters[] = {"operation_t", "operation_a", "operation_d", "operation_k",
                                                  "operation_j"};
            if (pick(6) == 0) {
                controls::menuItem(w_, "animateTransitions")->trigger();
                return "transitions";
            }
            const bool back = w_.shownRecipe().size() >= 2 || pick(4) == 0;
            // A hidden compound or star body may refuse an operation; that is a message, not a fault.
            const std::size_t before = messages_.size();
            controls::menuItem(w_, back ? "undoAction" : letters[pick(5)])->trigger();
            w_.waitForOperation();
            QApplication::processEvents();
            for (std::size_t k = before; k < messages_.size(); ++k)
                operationMessages_.push_back(messages_[k]);
            messages_.resize(before);
            return back ? "undo" : "operation";
        }
        case 22:
            if (pick(4) == 0) {
                // The folding net: its window and its slider, or the item again.
                if (w_.foldWindow()->isVisible() && pick(2) == 0)
                    w_.foldWindow()->setPosition(pick(101) / 100.0);
                else
                    controls::menuItem(w_, "foldAction")->trigger();
                return "fold";
            }
            if (w_.morphWindow()->isVisible() && pick(3) != 0)
                w_.morphWindow()->setPosition(pick(101) / 100.0);
            else
                controls::menuItem(w_, "morphAction")->trigger();
            return "morph";
        case 23: {
            QWidget* pb = controls::PB1(w_);
            if (pick(3) == 0) {
                controls::menuItem(w_, "correspondenceAction")->trigger();
            } else {
                const QPointF at(pick(std::max(1, pb->width())), pick(std::max(1, pb->height())));
                QMouseEvent move(QEvent::MouseMove, at, pb->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                                 Qt::NoModifier);
                QApplication::sendEvent(pb, &move);
            }
            return "correspondence";
        }
        default:
            QTest::qWait(pick(25)); // the timer ticks meanwhile
            return "wait";
        }
    }

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    const std::vector<std::string>& messages() const { return messages_; }
    const std::vector<std::string>& operationMessages() const { return operationMessages_; }
    std::map<std::string, int>& counts() { return counts_; }

  private:
    QWidget* focus() {
        QWidget* f = QApplication::focusWidget();
        return f ? f : &w_;
    }

    void click(QWidget* widget, QPoint at = QPoint()) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
    }

    void drag() {
        QWidget* pb = controls::PB1(w_);
        const Qt::MouseButton button = pick(5) == 0 ? Qt::RightButton : Qt::LeftButton;
        QPoint p(pick(std::max(1, pb->width())), pick(std::max(1, pb->height())));
        QTest::mousePress(pb, button, {}, p);
        for (int i = pick(8); i > 0; --i) {
            p += QPoint(pick(41) - 20, pick(41) - 20);
            QTest::mouseMove(pb, p);
        }
        QTest::mouseRelease(pb, button, {}, p);
    }

    TMainForm& w_;
    std::mt19937 rng_;
    std::vector<std::string> messages_;
    std::vector<std::string> operationMessages_;
    std::map<std::string, int> counts_;
};

TEST(Monkey, ThousandsOfRandomEventsKeepModelAndControlsWhole) {
    const long events = envNumber("KESMORA_MONKEY_EVENTS", 1500);
    const unsigned seed = static_cast<unsigned>(envNumber("KESMORA_MONKEY_SEED", 20240611));
    const HiddenBodyFacts hidden = hiddenBodyFacts();
    int hiddenChosen = 0;
    auto w = std::make_unique<TMainForm>(KESMORA_DATA_DIR);
    Monkey monkey(*w, seed);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));

    const auto start = std::chrono::steady_clock::now();
    const int buildsBefore = w->buildCount();
    int ticks = 0;
    QObject::connect(controls::Timer1(*w), &QTimer::timeout, [&] { ++ticks; });
    for (long i = 0; i < events; ++i) {
        const char* what = monkey.step();
        ++monkey.counts()[what];
        QApplication::processEvents();
        const std::string fault = modelFault(w->model()) + controlFault(*w);
        ASSERT_EQ(fault, "") << "after event " << i << " (" << what << "), seed " << seed;
        hiddenChosen += hidden.titles.count(controls::P1Caption(*w)->text()) > 0;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::ostringstream summary;
    summary << events << " events in " << seconds << " s, " << w->buildCount() - buildsBefore << " builds, "
            << ticks << " timer ticks, " << monkey.messages().size() << " messages, " << hiddenChosen
            << " events with a hidden body chosen, " << monkey.operationMessages().size()
            << " messages of operations;";
    for (const auto& [what, n] : monkey.counts())
        summary << ' ' << what << ' ' << n;
    std::cout << summary.str() << '\n';
    // The shipped catalogue builds every body, hidden or not, so a message means a handler failed;
    // only the two hidden bodies without a polar reciprocal say so when it is chosen.
    for (const std::string& m : hidden.messages)
        ADD_FAILURE() << "a hidden body does not build: " << m;
    for (const std::string& m : monkey.messages())
        if (m.find(" hat keine polare Reziproke: ") == std::string::npos) ADD_FAILURE() << m;
    EXPECT_GT(w->buildCount(), buildsBefore);
    EXPECT_GT(ticks, 0) << "the animation never ran";
    EXPECT_GT(hiddenChosen, 0) << "no hidden body was ever chosen";

    // Escape still closes the window, whatever state the monkey left it in.
    QTest::keyClick(w.get(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
}

} // namespace
