// The dialogs the window asks the user through: files, export, nets, printing, colours and
// messages. The window holds one Dialogs; tests give it one that answers from a script.
#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace kesmora {

enum class NetTabs; // export/netlayout.h

class Dialogs {
  public:
    // A file dialog's question: its title, the kinds of file ("PNG-Bild (*.png);;SVG-Grafik
    // (*.svg)"), and whether a file is saved or opened.
    struct FileRequest {
        QString caption;
        QString filters;
        bool save = true;
        QString suggestedName; // a file name offered when saving ("Kuboktaeder.png"), or empty
    };
    // "Exportieren…": which figure, which format (MeshFormat), where.
    // The figure stands in the body's own units unless `asShown` (turned and sized as on screen) or
    // a longest edge in millimetres is chosen.
    struct ExportChoice {
        bool dual = false;
        int format = 0;
        QString path;
        bool asShown = false;
        double edgeMillimetres = 0; // 0: the body's own units
    };
    // "Netz speichern…" and "Netz drucken…": which of the figures offered, the edge length in
    // millimetres (0: as large as a page takes) and, for saving, where.
    struct NetChoice {
        int figure = 0;
        int edgeMillimetres = 0;
        QString path;
        NetTabs tabs{}; // on one side of every glue edge
        bool fold = false; // "Netz falten": the chosen net shown folding up instead of written
    };

    // What a recipe typed so far comes to: whether it can be applied, and a German line saying
    // what it makes or what is wrong with it.
    struct RecipeVerdict {
        bool acceptable = false;
        QString text;
    };
    using RecipeCheck = std::function<RecipeVerdict(const QString&)>;

    virtual ~Dialogs() = default;
    // The path chosen, or an empty string on cancel.
    virtual QString chooseFile(const FileRequest& request) = 0;
    // The figure (the solid, or the dual called `dualName`), the format and the file; nothing on
    // cancel.
    virtual std::optional<ExportChoice> chooseExport(const QString& dualName, const QString& bodyName) = 0;
    // One of `figures`, the edge length and, when `save`, the file; nothing on cancel.
    virtual std::optional<NetChoice> chooseNet(bool save, const QStringList& figures, const QString& bodyName) = 0;
    // "Bild speichern…": the picture's size in pixels: as shown (`shown`), twice or four times that, or
    // a width and height of the user's (each 1 to 10 000); nothing on cancel.
    virtual std::optional<QSize> choosePictureSize(const QSize& shown) = 0;
    // Sets up the printer; false on cancel.
    virtual bool setUpPrinter(QPrinter& printer, const QString& title) = 0;
    // A colour, starting from `initial`, in a dialog titled `title` (what the colour paints); nothing
    // on cancel.
    virtual std::optional<QColor> chooseColour(const QColor& initial, const QString& title) = 0;
    // "Rezept eingeben…": a recipe, starting from `current`, checked by `check` as it is typed (only
    // an acceptable one can be confirmed); nothing on cancel.
    virtual std::optional<QString> askRecipe(const QString& current, const RecipeCheck& check) = 0;
    virtual void showError(const QString& text) = 0;
    virtual void showInformation(const QString& title, const QString& text) = 0;
};

// A file name made from a body's name and a suffix: the characters no file name may hold become
// "-" ("t · Hexaeder, Würfel" -> "t · Hexaeder, Würfel.png"); "Kesmora" for an empty name.
QString fileNameFor(const QString& bodyName, const QString& suffix);

// Qt's dialogs, over `parent`.
std::unique_ptr<Dialogs> qtDialogs(QWidget* parent);

// The export and net dialogs that Qt's dialogs show, asking `files` for the file.
std::optional<Dialogs::ExportChoice> runExportDialog(QWidget* parent, const QString& dualName, const QString& bodyName,
                                                     Dialogs& files);
// The picture size dialog that Qt's dialogs show.
std::optional<QSize> runPictureSizeDialog(QWidget* parent, const QSize& shown);
// The recipe dialog that Qt's dialogs show.
std::optional<QString> runRecipeDialog(QWidget* parent, const QString& current, const Dialogs::RecipeCheck& check);
std::optional<Dialogs::NetChoice> runNetDialog(QWidget* parent, bool save, const QStringList& figures, const QString& bodyName,
                                               Dialogs& files);

} // namespace kesmora
