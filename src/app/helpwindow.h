// The help window ("Hilfe › Einführung", F1): pages of German text shipped inside the program,
// shown in a text browser, with pictures the program draws of its own bodies when a page first
// shows them.
#pragma once

#include "catalogue/tables.h"
#include "geometry/solidmodel.h"
#include "view/rendersettings.h"

#include <QImage>
#include <QString>
#include <QTextBrowser>
#include <QWidget>

#include <map>

class QPushButton;

namespace kesmora {

// One picture of the help: a body of the catalogue drawn in a mode, turned from its start
// orientation by the given angles (degrees, as the turn steps count them).
struct HelpPicture {
    const char* name;     // as the pages name it: <img src="bild:NAME">
    int categoryItem;     // 0 .. 2, as the radio group "Körpertyp" counts
    const char* body;     // the name in the body list (UTF-8)
    DrawMode mode;
    int width, height;
    double turnXY, turnYZ, turnXZ;
    bool markPoints;
    DualKind dual = DualKind::Catalogue;
};

// The pages' pictures.
const std::vector<HelpPicture>& helpPictures();

// The text browser that draws the "bild:" pictures on demand and keeps them.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
  public:
    // `tables` must outlive the browser (the main window's own); without them the pages show no
    // pictures.
    HelpBrowser(const CatalogueTables* tables, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;
    // The picture named, drawn once; a null image for a name that no picture has or a body that
    // cannot be built.
    QImage picture(const QString& name);

  private:
    const CatalogueTables* tables_;
    std::map<QString, QImage> pictures_;
};

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    // A window of its own, owned by `owner` (the main window, or a dialog that is to stay usable
    // beside it); hidden until a page is asked for. See HelpBrowser for `tables`.
    HelpWindow(QWidget* owner, const CatalogueTables* tables);

    // Shows the window at the page of `section` ("einfuehrung", "dual", "darstellungen",
    // "kategorien", "euler", "eigenschaften", "netz", "bedienung"), with an optional "#anchor".
    void showSection(const QString& section);
    HelpBrowser* browser() const { return browser_; }
    // The pages, in the order of the contents.
    static QStringList sections();

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    HelpBrowser* browser_ = nullptr;
    QPushButton *back_ = nullptr, *forward_ = nullptr, *home_ = nullptr;
    bool placed_ = false;
};

} // namespace kesmora
