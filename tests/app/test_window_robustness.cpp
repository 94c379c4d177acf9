// A body that cannot be built, chosen by a click, a key or a category change: the message comes,
// the solid on screen stays, and every control goes on naming that solid.
#include "fakedialogs.h"
#include "section_category.h"
#include "app/mainwindow.h"
#include "app/paintbox.h"
#include "bodies/build.h"
#include "catalogue/catalogueerror.h"
#include "catalogue/selection.h"
#include "catalogue/tables.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "stripcontrols.h"
#include "tempdir.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

using namespace kesmora;
namespace fs = std::filesystem;

using kesmora::test::copyShippedData;
using kesmora::test::TempDir;

using kesmora::test::readAll;

namespace {


// The catalogue with `edit` applied to the text of one file.
fs::path damagedData(const TempDir& root, const char* file, const std::function<void(std::string&)>& edit) {
    const fs::path dir = root.path() / "data";
    copyShippedData(dir);
    std::string text = readAll(dir / file);
    edit(text);
    std::ofstream(dir / file, std::ios::binary | std::ios::trunc) << text;
    return dir;
}

// Breaks the count line of a face block, so that every body built from it fails.
void breakFaceBlock(std::string& faces, int blockId) {
    const std::string header = "[" + std::to_string(blockId) + "]\n";
    const auto at = faces.find(header);
    ASSERT_NE(at, std::string::npos) << header;
    const auto countEnd = faces.find('\n', at + header.size());
    faces.replace(at + header.size(), countEnd - (at + header.size()), "sechs");
}

int faceBlockOf(int category, const char* latin1Name) {
    const CatalogueTables tables = LoadCatalogueTables(KESMORA_DATA_DIR);
    Selection s;
    s.currentCategory = sectionCategory(category);
    neuwert(s, tables, latin1Name);
    return dispatchFor(sectionCategory(category), s.bodyIndex)->blockId;
}

std::unique_ptr<TMainForm> openWindow(const fs::path& dataDir, std::vector<QString>& messages) {
    auto w = std::make_unique<TMainForm>(dataDir);
    kesmora::fakeDialogs(*w).onError = [&messages](const QString& m) { messages.push_back(m); };
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    QTest::qWait(20); // a failed first paint reports after the paint
    return w;
}

void clickBody(TMainForm& w, const QString& name) {
    const auto items = controls::LB1(w)->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    controls::LB1(w)->scrollToItem(items.first());
    QTest::mouseClick(controls::LB1(w)->viewport(), Qt::LeftButton, {},
                      controls::LB1(w)->visualItemRect(items.first()).center());
    QApplication::processEvents();
}

// What the controls say about the chosen body.
struct Named {
    int category;
    QString caption;
    int row;
    QString entry;
    Selection selection;
    int listLength;
    QStringList selectedEntries;
};

QStringList selectedTexts(const TMainForm& w) {
    QStringList texts;
    for (const QListWidgetItem* i : controls::LB1(w)->selectedItems())
        texts << i->text();
    return texts;
}

Named namedBy(const TMainForm& w) {
    return {controls::R1Group(w)->checkedId(),
            controls::P1Caption(w)->text(),
            controls::LB1(w)->currentRow(),
            controls::LB1(w)->currentItem() ? controls::LB1(w)->currentItem()->text() : QString(),
            w.selection(),
            controls::LB1(w)->count(),
            selectedTexts(w)};
}

void expectSameNaming(const Named& a, const Named& b) {
    EXPECT_EQ(a.category, b.category);
    EXPECT_EQ(a.caption, b.caption);
    EXPECT_EQ(a.row, b.row);
    EXPECT_EQ(a.entry, b.entry);
    EXPECT_EQ(a.listLength, b.listLength);
    EXPECT_EQ(a.selectedEntries, b.selectedEntries);
    EXPECT_EQ(a.selection.currentCategory, b.selection.currentCategory);
    EXPECT_EQ(a.selection.bodyIndex, b.selection.bodyIndex);
    EXPECT_EQ(a.selection.bodyParams, b.selection.bodyParams);
}

struct BrokenBody {
    const char* name;
    const char* file;
    const char* body; // UTF-8, category 0
    std::function<void(std::string&)> damage;
};

void PrintTo(const BrokenBody& b, std::ostream* os) {
    *os << b.name;
}

class FailedChoice : public testing::TestWithParam<BrokenBody> {};

// A click on a broken body, the arrow key onto it, then Enter, F2 and a good body.
TEST_P(FailedChoice, LeavesTheControlsWithTheShownBody) {
    const BrokenBody& broken = GetParam();
    const TempDir root(std::string("failed-choice-") + broken.name);
    const fs::path dir = damagedData(root, broken.file, broken.damage);
    std::vector<QString> messages;
    auto w = openWindow(dir, messages);
    ASSERT_TRUE(messages.empty()) << messages.front().toStdString();

    // The entry above the broken one is shown first, so that the arrow key leads onto it.
    const QString brokenName = QString::fromUtf8(broken.body);
    const int brokenRow =
        controls::LB1(*w)->row(controls::LB1(*w)->findItems(brokenName, Qt::MatchExactly).value(0));
    ASSERT_GT(brokenRow, 0);
    clickBody(*w, controls::LB1(*w)->item(brokenRow - 1)->text());
    ASSERT_TRUE(messages.empty()) << messages.front().toStdString();
    const Named shown = namedBy(*w);
    const SolidModel shownModel = w->model();
    const int builds = w->buildCount();

    clickBody(*w, brokenName);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QString::fromLatin1(broken.file))) << messages[0].toStdString();
    EXPECT_EQ(w->model().solid.vertices.size(), shownModel.solid.vertices.size());
    EXPECT_EQ(w->buildCount(), builds);
    expectSameNaming(namedBy(*w), shown);

    controls::LB1(*w)->setFocus();
    QTest::keyClick(controls::LB1(*w), Qt::Key_Down);
    QApplication::processEvents();
    ASSERT_EQ(messages.size(), 2u);
    expectSameNaming(namedBy(*w), shown);

    // Enter builds the shown body again, not the broken one; F2 turns it under its own name.
    QTest::keyClick(w.get(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(messages.size(), 2u) << messages.back().toStdString();
    EXPECT_EQ(w->buildCount(), builds + 1);
    EXPECT_EQ(w->model().solid.vertices.size(), shownModel.solid.vertices.size());
    expectSameNaming(namedBy(*w), shown);
    QTest::keyClick(w.get(), Qt::Key_F2);
    EXPECT_TRUE(controls::Timer1(*w)->isActive());
    QTest::qWait(40);
    QTest::keyClick(w.get(), Qt::Key_F2);
    expectSameNaming(namedBy(*w), shown);

    // A good body afterwards is taken over and built as usual.
    clickBody(*w, QString::fromUtf8("Hexaeder, Würfel"));
    EXPECT_EQ(messages.size(), 2u) << messages.back().toStdString();
    EXPECT_EQ(w->model().solid.vertices.size(), 8);
    EXPECT_EQ(controls::P1Caption(*w)->text(), QString::fromUtf8("Hexaeder, Würfel und dualer Körper"));
    EXPECT_EQ(controls::LB1(*w)->currentItem()->text(), QString::fromUtf8("Hexaeder, Würfel"));
    EXPECT_EQ(w->selection().bodyIndex, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Window, FailedChoice,
    testing::Values(
        // The build fails: the octahedron's faces are damaged.
        BrokenBody{"FaceBlock", kFaceFile, "Oktaeder",
                   [](std::string& faces) { breakFaceBlock(faces, faceBlockOf(0, "Oktaeder")); }},
        // Taking the body over fails: a parameter of the cuboid is no number.
        BrokenBody{"Parameter", kCatalogueFile, "Quader",
                   [](std::string& catalogue) {
                       const auto at = catalogue.find("\n[5\n");
                       ASSERT_NE(at, std::string::npos);
                       std::size_t line = at + 1;
                       for (int i = 0; i < 5; ++i)
                           line = catalogue.find('\n', line) + 1;
                       catalogue.replace(line, catalogue.find('\n', line) - line, "zwei");
                   }}),
    [](const testing::TestParamInfo<BrokenBody>& info) { return std::string(info.param.name); });

// A category click takes its first entry over without building it; when that build then fails
// (on Enter, or on the next paint the system asks for), the other category's controls go back too.
TEST(FailedChoice, AfterACategoryChangeGoesBackToTheShownCategory) {
    const TempDir root("failed-category");
    const fs::path dir = damagedData(root, kFaceFile, [](std::string& faces) {
        breakFaceBlock(faces, faceBlockOf(3, "Johnson Polyeder 06"));
    });
    for (const bool byEnter : {true, false}) {
        std::vector<QString> messages;
        auto w = openWindow(dir, messages);
        ASSERT_TRUE(messages.empty()) << messages.front().toStdString();
        const Named shown = namedBy(*w);
        EXPECT_EQ(shown.caption, QString::fromUtf8("Hexaeder, Würfel und dualer Körper"));
        controls::R1Group(*w)->button(2)->click(); // "Johnson Polyeder"
        QApplication::processEvents();
        ASSERT_EQ(controls::P1Caption(*w)->text(), "Johnson Polyeder 06 und quasiduales Polyeder");
        EXPECT_FALSE(controls::modeButtons(*w)[6]->isVisible());
        if (byEnter) {
            QTest::keyClick(w.get(), Qt::Key_Return);
        } else {
            controls::PB1(*w)->update();
        }
        QTest::qWait(30);
        ASSERT_EQ(messages.size(), 1u) << (byEnter ? "Enter" : "paint");
        EXPECT_TRUE(messages[0].contains(QString::fromLatin1(kFaceFile))) << messages[0].toStdString();
        EXPECT_EQ(w->model().solid.vertices.size(), 8);
        expectSameNaming(namedBy(*w), shown);
        EXPECT_TRUE(controls::R1Group(*w)->button(0)->isChecked());
        EXPECT_TRUE(controls::modeButtons(*w)[6]->isVisible());

        // The category can be chosen again, and a body of it that is whole builds.
        controls::R1Group(*w)->button(2)->click();
        QApplication::processEvents();
        clickBody(*w, "Johnson Polyeder 07");
        EXPECT_EQ(messages.size(), 1u) << messages.back().toStdString();
        EXPECT_EQ(w->selection().currentCategory, Category::Johnson);
        EXPECT_EQ(controls::P1Caption(*w)->text(), "Johnson Polyeder 07 und quasiduales Polyeder");
        EXPECT_NE(w->model().solid.vertices.size(), 8);
    }
}

} // namespace
