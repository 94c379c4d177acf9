// The commands of the "Datei" menu that write what the window shows (pictures, meshes, nets, and
// their print-outs) and the texts of the "Hilfe" menu. They ask the window what it shows when they
// run and the user through its dialogs; opening a file, which changes the body, is the window's.
#pragma once

#include "dialogs.h"
#include "geometry/solidmodel.h"
#include "view/rendersettings.h"

#include <QImage>
#include <QString>

#include <functional>
#include <optional>

class QPrinter;

namespace kesmora {

struct NetRequest;

class FileCommands {
  public:
    // What the window shows at the moment.
    struct Shown {
        const SolidModel& model;
        const RenderSettings& render;
        const QImage& picture; // the drawing area as shown
        QString title;         // the title over it
        QString bodyName;      // the name the body goes by in files and on paper
    };
    FileCommands(std::function<Shown()> shown, std::function<Dialogs&()> dialogs);

    // "Bild speichern…": the drawing area as shown, or larger as a whole (lines and marks too), PNG or
    // (modes 1 to 6) SVG.
    void savePicture();
    // "Exportieren…": the solid or the dual as OFF, OBJ or STL.
    void exportFigure();
    // "Bild drucken…": the drawing area as shown, fitted to the page.
    void printPicture();
    // "Netz speichern…" (SVG or PDF) and "Netz drucken…", laid out by the inspector's net code.
    void saveNet();
    void printNet();
    // Why no figure the net dialog offers for the body shown has a net (German), or an empty text
    // where one has.
    QString netRefusal() const;
    // "Tastenkürzel" and "Über Kesmora".
    void showShortcuts();
    void showAbout();

    // "Netz falten" in the net dialog: the window shows the chosen net folding up.
    std::function<void(const Dialogs::NetChoice&)> foldRequested;
    // The request for the net chosen in the dialog on the model shown. Throws for a figure the
    // model has not or a negative edge length.
    static NetRequest netRequestFor(const SolidModel& model, const QString& name, const Dialogs::NetChoice& choice);

  private:
    std::optional<Dialogs::NetChoice> chooseNet(bool save, const SolidModel& model);
    bool setUpPrinter(QPrinter& printer, const QString& title);

    std::function<Shown()> shown_;
    std::function<Dialogs&()> dialogs_;
};

} // namespace kesmora
