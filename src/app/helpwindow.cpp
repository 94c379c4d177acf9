// The help window: its pages come from the program's resources (help/*.html); its pictures are
// drawn by the scene renderer from the catalogue, so they show exactly what the program shows.
#include "helpwindow.h"

#include "panels.h"
#include "shortcuts.h"

#include "catalogue/category.h"
#include "session/bodysession.h"
#include "view/renderer.h"
#include "view/rotation.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QKeyEvent>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>
#include <memory>

namespace kesmora {

namespace {

// Where the page on operating the program takes the table of keys.
QString shortcutMarker() {
    return QStringLiteral("<!-- Tastenkürzel -->");
}
constexpr int kWidth = 760;
constexpr int kReductions = 7;
constexpr int kHeight = 720;

QString resourcePage(const QString& section) {
    return QStringLiteral("qrc:/help/") + section + QStringLiteral(".html");
}

} // namespace

const std::vector<HelpPicture>& helpPictures() {
    static const std::vector<HelpPicture> pictures = {
        // The cube and its dual, the octahedron, in each of the seven modes.
        {"wuerfel-1", 0, "Hexaeder, Würfel", DrawMode::EdgeModel, 480, 240, 0, 0, 0, false},
        {"wuerfel-2", 0, "Hexaeder, Würfel", DrawMode::HiddenEdges, 480, 240, 0, 0, 0, false},
        {"wuerfel-3", 0, "Hexaeder, Würfel", DrawMode::ColouredFaces, 480, 240, 0, 0, 0, false},
        {"wuerfel-4", 0, "Hexaeder, Würfel", DrawMode::MultiColouredFaces, 480, 240, 0, 0, 0, false},
        {"wuerfel-5", 0, "Hexaeder, Würfel", DrawMode::Interpenetration, 260, 240, 0, 0, 0, false},
        {"wuerfel-6", 0, "Hexaeder, Würfel", DrawMode::Interpenetration2, 260, 240, 0, 0, 0, false},
        {"wuerfel-7", 0, "Hexaeder, Würfel", DrawMode::Interpenetration3, 260, 240, 0, 0, 0, false},
        // Duality: the dodecahedron and the icosahedron, the self-dual tetrahedron, vertices marked.
        {"dodekaeder-1", 0, "Pentagondodekaeder", DrawMode::EdgeModel, 480, 240, 0, 0, 0, true},
        {"tetraeder-5", 0, "Tetraeder", DrawMode::Interpenetration, 260, 240, 20, 30, 0, false},
        {"tetraeder-reziprok-6", 0, "Tetraeder", DrawMode::Interpenetration2, 260, 240, 20, 30, 0, false,
         DualKind::PolarReciprocal},
        // The categories: an Archimedean solid with its Catalan dual, a Johnson solid with its
        // quasi-dual, a prism.
        {"kuboktaeder-3", 1, "Kuboktaeder", DrawMode::ColouredFaces, 480, 240, 0, 0, 0, false},
        {"johnson-3", 2, "Johnson Polyeder 18", DrawMode::ColouredFaces, 480, 240, 0, 0, 0, false},
        {"ikosidodekaeder-6", 1, "Ikosidodekaeder", DrawMode::Interpenetration2, 260, 240, 0, 0, 0, false},
    };
    return pictures;
}

HelpBrowser::HelpBrowser(const CatalogueTables* tables, QWidget* parent) : QTextBrowser(parent), tables_(tables) {
    setObjectName("helpBrowser");
    setOpenExternalLinks(false);
    setOpenLinks(true);
    setSearchPaths({QStringLiteral(":/help")});
}

QImage HelpBrowser::picture(const QString& name) {
    if (const auto found = pictures_.find(name); found != pictures_.end()) return found->second;
    QImage image;
    for (const HelpPicture& p : helpPictures()) {
        if (!tables_ || name != QLatin1String(p.name)) continue;
        try {
            // A session of its own on the window's tables, which outlive it: the window's choice
            // and its body on screen stay as they are.
            BodySession session(std::shared_ptr<const CatalogueTables>(std::shared_ptr<const CatalogueTables>(), tables_));
            session.chooseCategory(categoryOfItem(p.categoryItem));
            session.chooseBody(QString::fromUtf8(p.body).toLatin1().toStdString());
            session.setDualKind(p.dual);
            SolidModel model = session.build();
            if (p.turnXY != 0 || p.turnYZ != 0 || p.turnXZ != 0) rechnen(model, p.turnXY, p.turnYZ, p.turnXZ);
            // The build fits a body to the drawing area; a picture in the text is about half as
            // large, as "Verkleinern" seven times makes it.
            for (int i = 0; i < kReductions; ++i)
                zoom(model, ZoomCommand::Reduce);
            RenderSettings settings;
            settings.mode = p.mode;
            settings.markPoints = p.markPoints;
            SceneRenderer renderer;
            QImage drawn;
            renderer.renderScene(drawn, QSize(p.width, p.height), model, settings);
            image = drawn.copy();
        } catch (const std::exception&) {
            image = QImage(); // a page without that picture is still readable
        }
        break;
    }
    pictures_[name] = image;
    return image;
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource && name.scheme() == QLatin1String("bild")) {
        const QImage image = picture(name.path());
        if (!image.isNull()) return image;
    }
    QVariant loaded = QTextBrowser::loadResource(type, name);
    // The page on operating the program lists the keys from the same table as "Tastenkürzel".
    if (type == QTextDocument::HtmlResource && loaded.isValid()) {
        QString html = loaded.typeId() == QMetaType::QString ? loaded.toString() : QString::fromUtf8(loaded.toByteArray());
        if (html.contains(shortcutMarker())) {
            html.replace(shortcutMarker(), shortcutTableHtml());
            return html;
        }
    }
    return loaded;
}

QStringList HelpWindow::sections() {
    return {QStringLiteral("einfuehrung"), QStringLiteral("dual"),   QStringLiteral("darstellungen"),
            QStringLiteral("kategorien"),  QStringLiteral("euler"),  QStringLiteral("eigenschaften"),
            QStringLiteral("netz"),        QStringLiteral("bedienung")};
}

HelpWindow::HelpWindow(QWidget* owner, const CatalogueTables* tables) : QWidget(owner, Qt::Window) {
    setObjectName("helpWindow");
    setWindowTitle(QString::fromUtf8("Kesmora – Hilfe"));
    setAccessibleName(QStringLiteral("Hilfe"));

    browser_ = new HelpBrowser(tables, this);
    QFont text = browser_->font();
    text.setPixelSize(14);
    browser_->setFont(text);

    back_ = new QPushButton(QString::fromUtf8("◀ Zurück"));
    back_->setObjectName("helpBack");
    back_->setToolTip(QString::fromUtf8("Zur vorher gelesenen Seite (Alt+Links)"));
    back_->setShortcut(QKeySequence(QKeySequence::Back));
    forward_ = new QPushButton(QString::fromUtf8("Vor ▶"));
    forward_->setObjectName("helpForward");
    forward_->setToolTip(QString::fromUtf8("Zur Seite, von der Sie zurückgegangen sind (Alt+Rechts)"));
    forward_->setShortcut(QKeySequence(QKeySequence::Forward));
    home_ = new QPushButton(QStringLiteral("Inhalt"));
    home_->setObjectName("helpHome");
    home_->setToolTip(QString::fromUtf8("Zur Einführung mit dem Inhaltsverzeichnis"));
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(home_, &QPushButton::clicked, this, [this] { showSection(QStringLiteral("einfuehrung")); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    // The page's title is the window's.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QString::fromUtf8("Kesmora – Hilfe")
                                       : QString::fromUtf8("Kesmora – Hilfe: ") + title);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    resize(kWidth, kHeight);
}

bool HelpWindow::event(QEvent* event) {
    // Escape closes the help; it is no shortcut here, so it does not end the program, whose
    // "Beenden" answers Escape everywhere else.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpWindow::showSection(const QString& section) {
    const QString page = section.section('#', 0, 0);
    const QString anchor = section.section('#', 1);
    QUrl url(resourcePage(sections().contains(page) ? page : QStringLiteral("einfuehrung")));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    browser_->setSource(url);
    if (!placed_) {
        placed_ = true;
        // On the screen of the main window, as large as fits there.
        if (const QScreen* s = parentWidget() ? parentWidget()->screen() : screen()) {
            const QRect available = s->availableGeometry();
            resize(std::min(kWidth, available.width()), std::min(kHeight, available.height()));
            move(available.center() - rect().center());
        }
    }
    show();
    raise();
    activateWindow();
}

} // namespace kesmora
