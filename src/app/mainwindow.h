// The main window: the title bar, the drawing area and the control strip (controlstrip.h) in the
// fixed layout, the menu and shortcuts, and the wiring of every control to its handler. State
// lives in a few plain structs owned here.
#pragma once

#include "catalogue/selection.h"
#include "dialogs.h"
#include "filecommands.h"
#include "catalogue/tables.h"
#include "geometry/solidmodel.h"
#include "geometry/transition.h"
#include "session/bodysession.h"
#include "view/animation.h"
#include "view/correspondence.h"
#include "view/renderer.h"
#include "view/rendersettings.h"
#include "view/rotation.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QMainWindow>
#include <QMargins>
#include <QRect>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QPrinter;
class QFrame;
class QLabel;
class QScrollArea;
class QTimer;
class QToolButton;
class QWidget;

namespace kesmora {

class BackgroundBuild;
class MorphWindow;
class ControlStrip;
class PaintBox;
struct PolyhedronFile;
class PropertiesWindow;

inline constexpr int kClientWidth = 1008;
inline constexpr int kClientHeight = 709;

// Where the window goes on a screen whose free area is `available`: centred at its normal size
// when its frame fits there, else maximised to that area (a netbook's 1024 x 600, say).
struct WindowPlacement {
    bool maximised = false;
    QPoint topLeft; // of the window at its normal size, when not maximised
};
WindowPlacement windowPlacement(const QRect& available, const QSize& windowSize,
                                const QMargins& frameMargins);

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    // Creates the window: loads the tables from dataDir; throws CatalogueError when a
    // file is missing or unreadable.
    explicit TMainForm(const std::filesystem::path& dataDir, QWidget* parent = nullptr);
    ~TMainForm() override;

    // The dialogs the window asks through; tests give it ones that answer from a script.
    Dialogs& dialogs() { return *dialogs_; }
    void setDialogs(std::unique_ptr<Dialogs> dialogs) { dialogs_ = std::move(dialogs); }
    using FileRequest = Dialogs::FileRequest;
    using ExportChoice = Dialogs::ExportChoice;
    using NetChoice = Dialogs::NetChoice;

    // Read access for tests and the inspector-like checks.
    const SolidModel& model() const { return model_; }
    const Selection& selection() const { return session_.selection(); }
    const AnimationState& animation() const { return animation_; }
    const RenderSettings& renderSettings() const { return render_; }
    const QImage& sceneBitmap() const { return sceneBitmap_; }
    // The title of the body whose solid is on screen (empty before the first build).
    QString shownCaption() const { return shown_ ? shown_->caption : QString(); }
    bool readyFlag() const { return readyFlag_; }
    // Whether the window at its normal size fits the free area of its screen.
    bool fitsScreen() const { return fitsScreen_; }

    // Places the window on a screen with that free area (see windowPlacement); the constructor
    // does this for the window's own screen, and the first show again once the frame is known.
    void placeOnScreen(const QRect& available, const QMargins& frameMargins = {});
    int buildCount() const { return buildCount_; }

    PropertiesWindow* propertiesWindow() const { return properties_; }
    MorphWindow* morphWindow() const { return morphWindow_; }
    MorphWindow* foldWindow() const { return foldWindow_; }

    // The operations applied to the body on screen, as a recipe (empty for the body itself).
    QString shownRecipe() const;
    // Whether operations are being applied off the window's thread.
    bool operationRunning() const;
    // Waits until the operations being applied are on screen (or have failed); for tests and the
    // window's close.
    void waitForOperation();
    // Whether an operation is being shown as it happens (for about a second after its result came).
    bool transitionRunning() const { return transition_.has_value(); }

    // Reads the polyhedron file (OFF or OBJ) at `path`, builds it with its dual and shows it in
    // place of the body on screen, titled "<file name> und dualer Körper"; from then on every
    // build (Enter, "Darstellung", a colour, a repaint) builds it again from what was read, until
    // a body is chosen in the list or another category. A file that cannot be read or built is
    // reported through the dialogs and changes nothing; an empty path (no file chosen) is no
    // error and changes nothing either. Returns whether the body was shown.
    bool openFile(const QString& path);
    // The same for a path as the system's bytes (the command line), which need not be UTF-8.
    bool openFile(const QByteArray& path);
    // The file whose body is on screen, empty while a catalogue body is.
    QString openedFileName() const;
    // "<file name> und dualer Körper", or "… und polar reziproker Körper" while that is the dual
    // built.
    QString openedFileTitle() const;

    // Whether "Vollbild" shows the drawing alone across the whole screen.
    bool drawingFullScreen() const { return fullScreen_; }

  protected:
    void showEvent(QShowEvent* event) override;
    // Remembers the windows' places for the next start (settings.h).
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A polyhedron file dropped onto the window is opened.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The controls are found by their object names (their layout names), as the control strip's are.
    // Controls by their layout names; those of the control strip below the drawing area belong to
    // the strip (controlstrip.h).
    QLabel* P1Caption = nullptr;
    // Holds the control strip P8; scrolls it sideways when the window is narrower than the controls.
    QScrollArea* stripScroll = nullptr;
    QFrame *P1 = nullptr, *P6 = nullptr, *P10 = nullptr, *P21 = nullptr;
    QToolButton *S8 = nullptr, *S1 = nullptr, *S9 = nullptr;
    PaintBox* PB1 = nullptr;
    QTimer* Timer1 = nullptr;
    QAction *M1 = nullptr, *M2 = nullptr, *M5 = nullptr, *M15 = nullptr, *M16 = nullptr, *M17 = nullptr;
    // Menu "Datei" and "Hilfe".
    QAction *openAction = nullptr, *savePictureAction = nullptr, *exportAction = nullptr,
            *saveNetAction = nullptr, *printNetAction = nullptr, *printPictureAction = nullptr;
    QAction *shortcutsAction = nullptr, *aboutAction = nullptr;
    // "ausgeblendete Körper zeigen" (checkable, off at start).
    QAction* showHidden = nullptr;
    // Menu "Ansicht", item "Eigenschaften" (F3): shows and hides the properties window.
    QAction* propertiesAction = nullptr;
    // Menu "Ansicht", item "Übergang zum Dual" (F4): shows and hides the morph's tool window.
    QAction* morphAction = nullptr;
    // Menu "Ansicht", item "Zuordnung zeigen" (checkable, off at start): the part of the dual that
    // belongs to the part of the solid under the mouse, and the other way round.
    QAction* correspondenceAction = nullptr;
    // Menu "Ansicht", item "Netz falten" (F6): the net flat and folding up, in the drawing area.
    QAction* foldAction = nullptr;
    // "Dual als polare Reziproke" (checkable, off at start).
    QAction* M18 = nullptr;
    // "Übergänge animieren" (checkable, on at start): operations shown as they happen.
    QAction* animateTransitions = nullptr;
    // Menu "Operationen": "Rezept eingeben…", "Rückgängig" (Ctrl+Z), "Zum Ausgangskörper" and
    // "Kanonische Form" (checkable, on at start); the operators' own items come before them.
    QAction *recipeAction = nullptr, *undoAction = nullptr, *seedAction = nullptr, *canonicalAction = nullptr;
    // Menu "Einstellungen", item "Einstellungen zurücksetzen": forgets everything remembered.
    QAction* resetSettingsAction = nullptr;
    // Menu "Ansicht", item "Vollbild" (F11, and Escape while it is on): the drawing alone across the
    // whole screen.
    QAction* fullScreenAction = nullptr;

    // Handlers, named after the controls they serve.
    // "Darstellung" button (D1): builds the chosen body and draws it.
    void B1C();
    // "Rotation" / "Abbruch" button (D2) and menu item "Animation" (M2, F2).
    void B2C();
    // Category group "Körpertyp" (R1).
    void R1C();
    // Body list (LB1): a click, or a row moved by key.
    void LB1C();
    // Body list (LB1): the title and the selection for its current row.
    void neuwert();
    // Turn steps "x-", "y-" and "z-Drehwinkel" (t3, t4, t5).
    void T3C(SpeedEdit edit, int value);
    // Zoom buttons S8, S9, S1 and menu items "Vergrößern", "Verkleinern", "Grundeinstellung"
    // (M15, M16, M17).
    void S8C(ZoomCommand command);
    // Colour buttons S12, S25, S3 .. S7.
    void S12C(int slot);
    // "Punkte markieren" check box (CB1).
    void CB1C();
    // Menu item "ausgeblendete Körper zeigen": the lists with or without the hidden bodies.
    void showHiddenC();
    // Menu item "Dual als polare Reziproke" (M18): the title, and a build with the chosen dual.
    void M18C();
    // Menu item "Beenden" (M1, Esc).
    void S13C();
    // Enter (M5).
    void x2C();
    // The turning timer (Timer1).
    void Timer1Timer();
    // Drawing area (PB1): mouse press, move and release.
    void PB1MD(Qt::MouseButton button, int x, int y);
    void PB1MM(int x, int y);
    void PB1MU();
    // Draws the model into the drawing area (PB1).
    void zeichnen();
    // The name the shown body goes by in files and on paper.
    QString shownBodyName() const;
    // "Öffnen…": a polyhedron file chosen in the file dialog.
    void openFromDialog();
    // Menu "Operationen": an operator's item applies it to the body on screen.
    void applyOperation(const std::string& letter);
    // "Rezept eingeben…": a whole recipe, applied to the body the operations started from.
    void enterRecipe();
    // "Rückgängig": the operation applied last is taken back.
    void undoOperation();
    // "Zum Ausgangskörper": the body without operations.
    void backToSeed();
    // "Kanonische Form": the operations on screen again, with or without it.
    void canonicalC();
    // Builds the chosen body with other operations, off the window's thread; once built it is
    // shown in place of the body on screen. A recipe whose result would be too large is refused
    // at once. False when other operations are still being applied (nothing starts).
    // `animated`: the letter of a single operation applied to the body on screen, shown as it
    // happens when it has a way to show and "Übergänge animieren" is on; 0 shows the result at once.
    bool runOperations(BodySource source, char animated = 0);
    // The operation's way from the solid on screen (of so many vertices and faces) to the result
    // now in the working model, started; nothing happens where the result has no such way.
    void startTransition(char letter, int seedVertices, int seedFaces);
    void endTransition();
    // "Einstellungen › Übergänge animieren" and the timer that draws the operation's way.
    void createTransitionItem(QMenu* settings);
    // The model with the operation's way in place of the solid while it is shown; null otherwise
    // (also once its time is up).
    const SolidModel* transitionFrame();
    // What a recipe typed in the recipe dialog comes to on the body on screen.
    Dialogs::RecipeVerdict checkRecipe(const QString& recipe) const;
    // The operations' items enabled as the body on screen allows.
    void updateOperationActions();
    // The title with the operations of the body on screen before it ("tk · …").
    QString withShownRecipe(const QString& title) const;


    void createControls();
    void createMenu();
    void createFileMenu();
    void createHelpMenu();
    void createViewMenu();
    void createOperationsMenu();
    void createMorphItem(QMenu* view);
    void createCorrespondenceItem(QMenu* view);
    void createFoldItem(QMenu* view);
    // The net of the figure on screen the choice names (the solid's unless the net dialog chose
    // otherwise), laid out as for printing; throws NetError where it has none.
    void foldNet(const Dialogs::NetChoice& choice = {});
    // The model with the folding net in place of its solid while "Netz falten" is open; null
    // otherwise (and where the solid has no net: the tool window says why).
    const SolidModel* foldFrame();
    void createFullScreenItem(QMenu* view);
    // "Vollbild": on and off.
    void fullScreenC();
    // The remembered settings (settings.h): the reset item and the switches remembered as they
    // change, once every item exists; the switches and the properties window as remembered, on the
    // first show; the places when the window closes.
    void setUpRememberedSettings();
    void restoreRememberedSettings();
    void rememberPlaces();
    // "Einstellungen zurücksetzen": the switches back to their start values, and nothing remembered.
    void forgetSettingsC();
    // The mouse over the drawing area while "Zuordnung zeigen" is on: the part under it picked.
    void pickUnderMouse(int x, int y);
    // The highlight of the picked part on the model as drawn now; returns the pixels it and the
    // previous one cover, to be shown again.
    QRect updateHighlight();
    // "Übergang zum Dual" enabled where the solid on screen has the way to its dual; its tooltip
    // says why not where it has none.
    void updateMorphAction();
    // The net items, off with the reason as their tip where the body shown has no net.
    void updateNetActions();
    // The model drawn: the operation being shown as it happens, else the working model, or while
    // the morph's tool window is open the working model with the morph figure in place of its
    // solid.
    const SolidModel& shownModel();
    // Hands the body on screen to the properties window, which measures it only while shown; the
    // list shows its row as chosen only while the body on screen is the list's.
    void showPropertiesOfShownBody();
    void wire();
    void layoutClientArea();
    void fillBodyList();
    // Chooses the named body in the list; a body the list does not offer (a hidden one after the
    // hidden bodies were left out again) stays chosen without a row until the next choice.
    void chooseBody(const QString& name);
    // The body chosen: the list's row, or the body kept without one.
    QString chosenBodyName() const;
    // Shows or hides the modes the category offers; true when that changed the chosen mode.
    bool showModesOf(Category category);
    ControlStrip* strip_ = nullptr; // P8
    // Puts the category, the list's row, the title and the selection back to the body whose solid
    // is on screen, without a click or a build: a body chosen but not built must not stay named.
    void backToShownBody();
    // Runs a step of choosing a body; when it fails, the controls go back to the shown body.
    template <typename F> void keepingShownBody(F&& step);
    void applyAnimationControls(const AnimationControls& controls);
    // Runs a handler; an error ends the handler and is shown in a message box.
    template <typename F> void guarded(F&& handler) {
        try {
            handler();
        } catch (const std::exception& e) {
            reportError(e.what());
        }
    }
    void reportError(const std::string& message);
    // A notice that is no error (the dual shown in place of a polar reciprocal the body has none
    // of), with the information icon.
    void reportNotice(const std::string& message);
    // The build: the chosen body's finished model into the working model (built once, then copied).
    void buildModel();
    SceneParts renderOnly(); // returns the parts of the scene image that changed
    QRect buildForSystemPaint();
    // Reports `message` once the paint is over, unless it is what `last` holds (then said before)
    // or empty; `last` takes it.
    void sayOnceAfterPaint(std::string& last, const std::string& message);

    // The body whose solid is shown, as the controls named it when it was built; the session
    // keeps its source and finished model.
    struct ShownBody {
        QString caption;
        QString name; // its entry in the list
    };

    // What is chosen and shown, and the finished model; model_ is the working copy that turns.
    BodySession session_;
    QString chosenWithoutRow_; // see chooseBody
    SolidModel model_;
    std::optional<ShownBody> shown_;
    AnimationState animation_;
    RenderSettings render_;
    SceneRenderer renderer_;
    QImage sceneBitmap_;
    bool readyFlag_ = false;
    bool shownOnce_ = false;
    bool fitsScreen_ = true;
    bool listChangePending_ = false; // a row change by key waits for the list to finish
    QSize normalSize_;               // the size the fixed border keeps
    int buildCount_ = 0;
    std::string lastPaintError_;
    std::string lastRenderError_; // the drawing's, as lastPaintError_ is the build's
    std::unique_ptr<Dialogs> dialogs_;
    // The "Datei" commands that write what is shown, and the "Hilfe" texts.
    FileCommands files_;
    FileCommands::Shown shownForFiles() const;
    QWidget* client_ = nullptr;
    PropertiesWindow* properties_ = nullptr;
    BackgroundBuild* background_ = nullptr;
    MorphWindow* morphWindow_ = nullptr;
    SolidModel morphShown_; // the model drawn while the morph is shown
    // An operation shown as it happens: its way, the time since the result came, the model drawn.
    struct RunningTransition {
        OperationTransition way;
        BodySource result; // the body it ends on; another body on screen ends it
        QElapsedTimer clock;
    };
    std::optional<RunningTransition> transition_;
    QTimer* transitionTimer_ = nullptr;
    SolidModel transitionShown_;
    // "Ansicht › Netz falten": its tool window, the net of the body it was made for, the model drawn.
    MorphWindow* foldWindow_ = nullptr;
    struct ShownFolding; // foldstate.h
    std::unique_ptr<ShownFolding> folding_;
    SolidModel foldShown_;
    const SolidModel* drawn_ = &model_; // the model the last picture shows (model_ or morphShown_)
    PickedPart picked_;     // under the mouse while "Zuordnung zeigen" is on
    Highlight highlight_;   // drawn over the picture
    bool fullScreen_ = false;
    bool maximisedBeforeFullScreen_ = false;
    QRect geometryBeforeFullScreen_;
    // The menus' items whose keys work in full screen because the window holds them meanwhile.
    QList<QAction*> borrowedForFullScreen_;
    bool settingsForgotten_ = false; // the places are not remembered again on this close
};

} // namespace kesmora
