// The main window: its layout, menus and wiring, its events, and the handlers of the view.
#include "mainwindow.h"

#include "foldstate.h"
#include "morphwindow.h"

#include "bodies/build.h"
#include "bodies/dualname.h"
#include "bodies/filesolid.h"
#include "bodies/polyhedronfile.h"
#include "buttonpictures.h"
#include "controlstrip.h"
#include "helpwindow.h"
#include "modelegend.h"
#include "paintbox.h"
#include "panels.h"
#include "propertieswindow.h"
#include "tooltips.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <cstdlib>
#include <exception>
#include <initializer_list>

namespace kesmora {

namespace {

constexpr int kTitleHeight = 27;

// The first local file among what is dragged, or an empty string.
QString draggedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

} // namespace

TMainForm::TMainForm(const std::filesystem::path& dataDir, QWidget* parent)
    : QMainWindow(parent), session_(std::make_shared<const CatalogueTables>(LoadCatalogueTables(dataDir))),
      dialogs_(qtDialogs(this)),
      files_([this] { return shownForFiles(); }, [this]() -> Dialogs& { return *dialogs_; }) {
    // Window creation, in order: the scene image, the tables, the category, the lists, the mode, the
    // initial body, the turn steps, readyFlag, and a category click that only stops the timer.
    sceneBitmap_ = QImage(1, 1, QImage::Format_RGB32);

    setWindowTitle(QStringLiteral("Kesmora"));
    setFont(pixelFont(12));
    createControls();
    createMenu();
    wire();
    setAcceptDrops(true); // polyhedron files

    // Once every control exists: the legend of the modes in the title bar (P1 owns it) and the
    // tool tips.
    new ModeLegend(P1, *strip_);
    addToolTips(*this);

    fillBodyList();
    strip_->checkMode(DrawMode::Interpenetration2);
    render_.mode = DrawMode::Interpenetration2;
    if (strip_->bodyCount() > 17) strip_->chooseBodyRow(17);
    animation_ = AnimationState{};
    readyFlag_ = true;
    R1C();

    // A fixed client area of 1008 x 709 below the menu bar, centred on the screen.
    const int menuHeight = menuBar()->sizeHint().height();
    normalSize_ = QSize(kClientWidth, kClientHeight + menuHeight);
    setMinimumSize(normalSize_);
    resize(normalSize_);
    if (const QScreen* s = screen()) placeOnScreen(s->availableGeometry());
    setUpRememberedSettings();
}

WindowPlacement windowPlacement(const QRect& available, const QSize& windowSize,
                                const QMargins& frameMargins) {
    const QSize frame = windowSize.grownBy(frameMargins);
    if (frame.width() > available.width() || frame.height() > available.height()) return {true, {}};
    return {false, available.center() - QRect(QPoint(0, 0), windowSize).center()};
}

void TMainForm::placeOnScreen(const QRect& available, const QMargins& frameMargins) {
    const WindowPlacement p = windowPlacement(available, normalSize_, frameMargins);
    fitsScreen_ = !p.maximised;
    if (fitsScreen_) {
        if (!isVisible()) move(p.topLeft);
        return;
    }
    // Too small a screen for the fixed size: the window takes the free area and may be sized
    // freely; the drawing area gives way and the control strip scrolls.
    setMinimumSize(0, 0);
    if (isVisible())
        showMaximized();
    else
        setWindowState(windowState() | Qt::WindowMaximized);
}

TMainForm::~TMainForm() = default; // the tables and images go with the window

void TMainForm::createControls() {
    client_ = new QWidget(this);
    client_->setObjectName("client");
    client_->setAutoFillBackground(true);
    QPalette pal = client_->palette();
    pal.setColor(QPalette::Window, QColor(kPanelColour));
    client_->setPalette(pal);
    client_->installEventFilter(this); // relayout on resize
    setCentralWidget(client_);

    P1 = panel(client_, kPanelColour, "P1");
    P1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    P1->setLineWidth(1);
    P1Caption = new QLabel(P1);
    P1Caption->setObjectName("P1Caption");
    P1Caption->setAlignment(Qt::AlignCenter);
    P1Caption->setFont(pixelFont(16, true, true));
    P1Caption->setStyleSheet(QStringLiteral("color: #000080;"));
    // No accessible name of its own: a screen reader then reads the title's text, the body's name.
    P1Caption->setAccessibleDescription(QStringLiteral("Titel"));

    S8 = imageButton(P1, "S8", enlargePicture(), QString::fromUtf8("Vergrößern"));
    S1 = imageButton(P1, "S1", resetPicture(), QStringLiteral("Grundeinstellung"));
    S9 = imageButton(P1, "S9", reducePicture(), QStringLiteral("Verkleinern"));
    S8->setGeometry(11, 2, 23, 24);
    S1->setGeometry(34, 2, 23, 24);
    S9->setGeometry(57, 2, 23, 24);

    P6 = panel(client_, kPanelColour, "P6");
    P10 = panel(P6, qRgb(255, 255, 255), "P10");
    P21 = panel(P10, qRgb(255, 255, 255), "P21");
    PB1 = new PaintBox(P21);
    PB1->setObjectName("PB1");
    PB1->scene = &sceneBitmap_;
    PB1->setAccessibleName(QString::fromUtf8("Zeichenfläche"));
    // The strip sits in a scroll area that shows a scroll bar only when the window is narrower
    // than the controls; otherwise the strip looks exactly as without it.
    stripScroll = new QScrollArea(P6);
    stripScroll->setObjectName("stripScroll");
    stripScroll->setFrameShape(QFrame::NoFrame);
    stripScroll->setWidgetResizable(false);
    stripScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    stripScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    strip_ = new ControlStrip(render_.polygonColours);
    stripScroll->setWidget(strip_);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setTimerType(Qt::PreciseTimer);
}

void TMainForm::createMenu() {
    createFileMenu();
    M1 = menuBar()->addAction(QStringLiteral("Beenden"));
    M1->setObjectName("M1");
    M1->setShortcut(QKeySequence(Qt::Key_Escape));
    M1->setShortcutContext(Qt::ApplicationShortcut);
    QMenu* M13 = menuBar()->addMenu(QStringLiteral("Einstellungen"));
    M13->setObjectName("M13");
    // The same word as the button D2; checked while the body turns.
    M2 = M13->addAction(QStringLiteral("Rotation"));
    M2->setObjectName("M2");
    M2->setCheckable(true);
    M2->setShortcut(QKeySequence(Qt::Key_F2));
    M2->setShortcutContext(Qt::ApplicationShortcut);
    createTransitionItem(M13); // the other movement the program shows
    M13->addSeparator();
    M15 = M13->addAction(QString::fromUtf8("Vergrößern"));
    M15->setObjectName("M15");
    M16 = M13->addAction(QStringLiteral("Verkleinern"));
    M16->setObjectName("M16");
    M17 = M13->addAction(QStringLiteral("Grundeinstellung"));
    M17->setObjectName("M17");
    M13->addSeparator();
    showHidden = M13->addAction(QString::fromUtf8("ausgeblendete Körper zeigen"));
    showHidden->setObjectName("showHidden");
    showHidden->setCheckable(true);
    M18 = M13->addAction(QStringLiteral("Dual als polare Reziproke"));
    M18->setObjectName("M18");
    M18->setCheckable(true);
    M18->setChecked(false);
    // "M" is never shown: the action belongs to the window, not to a menu, so its Enter shortcut
    // works while nothing displays it.
    M5 = new QAction(QStringLiteral("M"), this);
    M5->setObjectName("M5");
    M5->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    M5->setShortcutContext(Qt::ApplicationShortcut);
    addAction(M5);
    createViewMenu();
    createOperationsMenu();
    createHelpMenu();
}

void TMainForm::createViewMenu() {
    properties_ = new PropertiesWindow(this);
    QMenu* view = menuBar()->addMenu(QStringLiteral("Ansicht"));
    view->setObjectName("viewMenu");
    propertiesAction = view->addAction(QStringLiteral("Eigenschaften"));
    propertiesAction->setObjectName("propertiesAction");
    propertiesAction->setCheckable(true);
    propertiesAction->setShortcut(QKeySequence(Qt::Key_F3));
    // F3 also hides the window while it has the focus.
    propertiesAction->setShortcutContext(Qt::ApplicationShortcut);
    connect(propertiesAction, &QAction::toggled, properties_, &QWidget::setVisible);
    connect(properties_, &PropertiesWindow::visibilityChanged, propertiesAction, &QAction::setChecked);
    createMorphItem(view);
    createFoldItem(view);
    createCorrespondenceItem(view);
    createFullScreenItem(view);
}

void TMainForm::wire() {
    connect(M1, &QAction::triggered, this, [this] { guarded([&] { S13C(); }); });
    connect(M5, &QAction::triggered, this, [this] { guarded([&] { x2C(); }); });
    connect(M2, &QAction::triggered, this, [this] { guarded([&] { B2C(); }); });
    connect(showHidden, &QAction::triggered, this, [this] { guarded([&] { showHiddenC(); }); });
    connect(M18, &QAction::triggered, this, [this] { guarded([&] { M18C(); }); });
    connect(strip_, &ControlStrip::animationClicked, this, [this] { guarded([&] { B2C(); }); });
    connect(strip_, &ControlStrip::drawClicked, this, [this] { guarded([&] { B1C(); }); });
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([&] { Timer1Timer(); }); });
    const std::pair<QObject*, ZoomCommand> zooms[] = {{S8, ZoomCommand::Enlarge}, {M15, ZoomCommand::Enlarge},
                                                      {S9, ZoomCommand::Reduce},  {M16, ZoomCommand::Reduce},
                                                      {S1, ZoomCommand::Reset},   {M17, ZoomCommand::Reset}};
    for (const auto& [sender, command] : zooms) {
        auto run = [this, command = command] { guarded([&] { S8C(command); }); };
        if (auto* b = qobject_cast<QToolButton*>(sender))
            connect(b, &QToolButton::clicked, this, run);
        else
            connect(static_cast<QAction*>(sender), &QAction::triggered, this, run);
    }
    connect(strip_, &ControlStrip::speedChanged, this,
            [this](SpeedEdit edit, int value) { guarded([&] { T3C(edit, value); }); });
    connect(strip_, &ControlStrip::colourClicked, this, [this](int slot) { guarded([&] { S12C(slot); }); });
    connect(strip_, &ControlStrip::marksClicked, this, [this] { guarded([&] { CB1C(); }); });
    // The drawing mode buttons RB1 .. rb7: the scene drawn again in the mode clicked.
    connect(strip_, &ControlStrip::modeClicked, this, [this](DrawMode mode) {
        guarded([&] {
            render_.mode = mode;
            zeichnen();
        });
    });
    connect(strip_, &ControlStrip::categoryClicked, this, [this] { guarded([&] { R1C(); }); });

    // A click in the list, or moving the selection with the keyboard, takes the body over. A
    // mouse press that changes the row is left to the click that follows it. A key's row change
    // is taken over once the list has finished with the key: a body that cannot be built puts the
    // row back, and the list would select the row the key led to again afterwards.
    connect(strip_, &ControlStrip::bodyClicked, this, [this] { guarded([&] { LB1C(); }); });
    connect(strip_, &ControlStrip::bodyRowChanged, this, [this] {
        if (QApplication::mouseButtons() != Qt::NoButton || listChangePending_) return;
        listChangePending_ = true;
        QTimer::singleShot(0, this, [this] {
            listChangePending_ = false;
            guarded([&] { LB1C(); });
        });
    });

    PB1->onSystemPaint = [this] { return buildForSystemPaint(); };
    connect(PB1, &PaintBox::mousePressed, this,
            [this](Qt::MouseButton b, int x, int y) { guarded([&] { PB1MD(b, x, y); }); });
    connect(PB1, &PaintBox::mouseMoved, this, [this](int x, int y) { guarded([&] { PB1MM(x, y); }); });
    connect(PB1, &PaintBox::mouseReleased, this, [this] { guarded([&] { PB1MU(); }); });
    // The mouse wheel over the drawing area: a notch away enlarges, a notch back reduces, exactly
    // as "Vergrößern" and "Verkleinern" do.
    connect(PB1, &PaintBox::wheelTurned, this, [this](int notches) {
        const ZoomCommand command = notches > 0 ? ZoomCommand::Enlarge : ZoomCommand::Reduce;
        for (int i = 0; i < std::abs(notches); ++i)
            guarded([&] { S8C(command); });
    });
}

void TMainForm::reportError(const std::string& message) {
    dialogs_->showError(QString::fromUtf8(message.c_str()));
}

void TMainForm::reportNotice(const std::string& message) {
    dialogs_->showInformation(QStringLiteral("Dual als polare Reziproke"), QString::fromUtf8(message.c_str()));
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) { // the first show takes over the chosen body
        shownOnce_ = true;
        guarded([&] { neuwert(); });
        restoreRememberedSettings();
        // The frame's size is known only once the window is on screen; a frame that then does
        // not fit still maximises.
        QTimer::singleShot(0, this, [this] {
            const QScreen* s = screen();
            if (s && fitsScreen_ && windowHandle())
                placeOnScreen(s->availableGeometry(), windowHandle()->frameMargins());
        });
    }
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // A fixed border: only maximising (or full screen) changes the size. A screen too small for
    // that size leaves the border free.
    if (fitsScreen_ && !fullScreen_ && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) &&
        isVisible()) {
        const QSize fixed = normalSize_;
        if (size() != fixed)
            QTimer::singleShot(0, this, [this, fixed] {
                if (fitsScreen_ && !fullScreen_ && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
                    resize(fixed);
            });
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) layoutClientArea();
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::layoutClientArea() {
    const int w = client_->width(), h = client_->height();
    // In full screen the drawing area is all there is.
    P1->setVisible(!fullScreen_);
    stripScroll->setVisible(!fullScreen_);
    if (fullScreen_) {
        for (QWidget* area : std::initializer_list<QWidget*>{P6, P10, P21, PB1})
            area->setGeometry(0, 0, w, h);
        return;
    }
    P1->setGeometry(0, 0, w, kTitleHeight);
    P1Caption->setGeometry(90, 1, std::max(0, w - 180), kTitleHeight - 2);
    P6->setGeometry(0, kTitleHeight, w, h - kTitleHeight);
    const bool scrolls = w < ControlStrip::kControlsWidth;
    stripScroll->setHorizontalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int stripHeight =
        ControlStrip::kHeight + (scrolls ? stripScroll->horizontalScrollBar()->sizeHint().height() : 0);
    const int drawingHeight = std::max(0, h - kTitleHeight - stripHeight);
    P10->setGeometry(0, 0, w, drawingHeight);
    P21->setGeometry(0, 0, w, drawingHeight);
    PB1->setGeometry(0, 0, w, drawingHeight);
    stripScroll->setGeometry(0, drawingHeight, w, stripHeight);
    // placed by the scroll area
    strip_->resize(std::max(w, ControlStrip::kControlsWidth), ControlStrip::kHeight);
    strip_->P8Resize();
}

void TMainForm::applyAnimationControls(const AnimationControls& controls) {
    strip_->setAnimationCaption(controls.running);
    M2->setChecked(controls.running);
    if (controls.timerInterval == 0)
        Timer1->stop();
    else
        Timer1->start(controls.timerInterval);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!draggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QString path = draggedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // Opened once the drop has ended, so that a message box does not keep the dragging program
    // waiting.
    QTimer::singleShot(0, this, [this, path] { openFile(path); });
}

SceneParts TMainForm::renderOnly() {
    drawn_ = &shownModel();
    return renderer_.renderSceneParts(sceneBitmap_, PB1->size(), *drawn_, render_);
}

void TMainForm::zeichnen() {
    const SceneParts changed = renderOnly();
    for (const QRect& part : changed)
        PB1->showScene(part);
    PB1->showScene(updateHighlight());
}

void TMainForm::x2C() {
    B1C();
}

void TMainForm::S13C() {
    close();
}

void TMainForm::B2C() {
    applyAnimationControls(toggleAnimation(animation_));
}

void TMainForm::Timer1Timer() {
    animationTick(animation_, model_);
    zeichnen();
}

void TMainForm::T3C(SpeedEdit edit, int value) {
    if (setSpeed(animation_, edit, value, readyFlag_)) zeichnen();
}

void TMainForm::S8C(ZoomCommand command) {
    zoom(model_, command);
    zeichnen();
}

void TMainForm::CB1C() {
    render_.markPoints = strip_->marksPoints();
    zeichnen();
}

void TMainForm::S12C(int slot) {
    if (slot < 0 || slot >= static_cast<int>(render_.polygonColours.size())) return;
    // The dialog starts at the colour the button changes.
    const std::optional<QColor> chosen =
        dialogs_->chooseColour(render_.polygonColours[static_cast<std::size_t>(slot)], colourSlotName(slot));
    if (!chosen) return;
    render_.polygonColours[static_cast<std::size_t>(slot)] = *chosen;
    strip_->setColourPicture(slot, *chosen);
    B1C();
}

void TMainForm::PB1MD(Qt::MouseButton button, int x, int y) {
    const MouseButton b = button == Qt::LeftButton     ? MouseButton::Left
                          : button == Qt::RightButton  ? MouseButton::Right
                          : button == Qt::MiddleButton ? MouseButton::Middle
                                                       : MouseButton::Other;
    if (beginDrag(animation_, b, x, y)) PB1->setCursor(Qt::SizeAllCursor);
}

void TMainForm::PB1MM(int x, int y) {
    if (dragTo(animation_, model_, x, y))
        zeichnen();
    else if (correspondenceAction && correspondenceAction->isChecked())
        pickUnderMouse(x, y);
}

void TMainForm::PB1MU() {
    endDrag(animation_);
    PB1->unsetCursor();
}

void TMainForm::createFileMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Datei"));
    menu->setObjectName("fileMenu");
    const auto item = [&](QAction*& action, const char* name, const char* text, QKeySequence key) {
        action = menu->addAction(QString::fromUtf8(text));
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) action->setShortcut(key);
    };
    item(openAction, "openAction", "Öffnen…", QKeySequence(Qt::CTRL | Qt::Key_O));
    menu->addSeparator();
    item(savePictureAction, "savePictureAction", "Bild speichern…", QKeySequence(Qt::CTRL | Qt::Key_S));
    item(exportAction, "exportAction", "Exportieren…", QKeySequence(Qt::CTRL | Qt::Key_E));
    item(saveNetAction, "saveNetAction", "Netz speichern…", {});
    menu->addSeparator();
    item(printNetAction, "printNetAction", "Netz drucken…", QKeySequence(Qt::CTRL | Qt::Key_P));
    item(printPictureAction, "printPictureAction", "Bild drucken…", {});
    connect(openAction, &QAction::triggered, this, [this] { guarded([&] { openFromDialog(); }); });
    connect(savePictureAction, &QAction::triggered, this, [this] { guarded([&] { files_.savePicture(); }); });
    connect(exportAction, &QAction::triggered, this, [this] { guarded([&] { files_.exportFigure(); }); });
    connect(saveNetAction, &QAction::triggered, this, [this] { guarded([&] { files_.saveNet(); }); });
    files_.foldRequested = [this](const Dialogs::NetChoice& choice) {
        foldNet(choice);
        if (foldWindow_->isVisible())
            zeichnen();
        else
            foldAction->setChecked(true);
    };
    connect(printNetAction, &QAction::triggered, this, [this] { guarded([&] { files_.printNet(); }); });
    connect(printPictureAction, &QAction::triggered, this, [this] { guarded([&] { files_.printPicture(); }); });
    connect(menu, &QMenu::aboutToShow, this, [this] { updateNetActions(); });
}

void TMainForm::updateNetActions() {
    QString refusal;
    try {
        refusal = files_.netRefusal();
    } catch (const std::exception& e) {
        refusal = QString::fromUtf8(e.what());
    }
    for (QAction* a : {saveNetAction, printNetAction}) {
        if (!a->property("usualTip").isValid()) a->setProperty("usualTip", a->toolTip());
        a->setEnabled(refusal.isEmpty());
        a->setToolTip(refusal.isEmpty() ? a->property("usualTip").toString()
                                        : QStringLiteral("Kein Netz: ") + refusal);
    }
}

void TMainForm::createHelpMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Hilfe"));
    menu->setObjectName("helpMenu");
    // "Einführung" (F1, in every window of the program): the help window, made when first asked
    // for; the properties window's "Hilfe", and F1 while that window is active, open it at the page
    // on the properties.
    auto* introduction = menu->addAction(QString::fromUtf8("Einführung"));
    introduction->setObjectName("introductionAction");
    introduction->setShortcut(QKeySequence(Qt::Key_F1));
    introduction->setShortcutContext(Qt::ApplicationShortcut);
    const auto showHelp = [this](const QString& section) {
        auto* help = findChild<HelpWindow*>(QStringLiteral("helpWindow"), Qt::FindDirectChildrenOnly);
        if (!help) help = new HelpWindow(this, &session_.tables());
        help->showSection(section);
    };
    connect(introduction, &QAction::triggered, this, [this, showHelp] {
        showHelp(properties_->isActiveWindow() ? QStringLiteral("eigenschaften") : QStringLiteral("einfuehrung"));
    });
    connect(properties_, &PropertiesWindow::helpRequested, this,
            [showHelp] { showHelp(QStringLiteral("eigenschaften")); });
    shortcutsAction = menu->addAction(QString::fromUtf8("Tastenkürzel"));
    shortcutsAction->setObjectName("shortcutsAction");
    aboutAction = menu->addAction(QString::fromUtf8("Über Kesmora"));
    aboutAction->setObjectName("aboutAction");
    connect(shortcutsAction, &QAction::triggered, this, [this] { guarded([&] { files_.showShortcuts(); }); });
    connect(aboutAction, &QAction::triggered, this, [this] { guarded([&] { files_.showAbout(); }); });
}

FileCommands::Shown TMainForm::shownForFiles() const {
    return {model_, render_, sceneBitmap_, P1Caption->text(), shownBodyName()};
}

QString TMainForm::shownBodyName() const {
    if (session_.openedFile()) return withShownRecipe(openedFileName());
    return shown_ ? withShownRecipe(shown_->name) : QStringLiteral("Kesmora");
}

void TMainForm::openFromDialog() {
    openFile(dialogs_->chooseFile({QString::fromUtf8("Polyederdatei öffnen"),
                                   QStringLiteral("Polyederdateien (*.off *.obj *.OFF *.OBJ);;OFF (*.off *.OFF);;"
                                                  "OBJ (*.obj *.OBJ);;Alle Dateien (*)"),
                                   false, QString()}));
}

} // namespace kesmora
